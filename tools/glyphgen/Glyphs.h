// The skin engine's default glyphs for buttons inside edits: each a strip of three 16 x 16
// cells (normal, disabled, pressed) with straight alpha, drawn from vector shapes so that
// the same binary always draws the same bytes.
#pragma once

#include <string>

#include "image/Bitmap32.h"

namespace glyphgen {

inline constexpr int kCell = 16;
inline constexpr int kCells = 3;

// "SF" file, "SR" folder, "SD" date, "SE" ellipsis, "SC" calculator. Throws
// std::invalid_argument for another name.
Bitmap32 RenderGlyphStrip(const std::string& name);

}  // namespace glyphgen
