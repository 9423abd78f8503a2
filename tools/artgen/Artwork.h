// The installer's background picture: the Kestamor identity drawn for the
// wizard window. The page panels hide its lower right part, so all detail
// lives in the top band and the left column.
#pragma once

#include "image/Bitmap32.h"

namespace artgen {

inline constexpr int kArtWidth = 480;
inline constexpr int kArtHeight = 422;
// The window shows the left 475 columns; the page panels cover everything
// right of and below this point.
inline constexpr int kCoveredLeft = 121;
inline constexpr int kCoveredTop = 100;

Bitmap32 RenderBackground();

}  // namespace artgen
