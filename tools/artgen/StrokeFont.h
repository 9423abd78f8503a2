// A small geometric stroke font, so the artwork's lettering needs no font files.
// Glyphs are centre lines of round-capped strokes in font units: baseline at
// y = 0, y up, cap height 10, x-height 7, descenders to -3.
#pragma once

#include <string_view>
#include <vector>

#include "tools/artgen/Raster.h"

namespace artgen {

struct TextStyle {
  float capHeight = 10;   // pixels
  float weight = 1;       // stroke width in pixels
  float tracking = 0;     // extra pixels between letters
};

// Stroke centre lines of a text set at baseline-left origin, in pixels (y down).
// Characters the font lacks advance like a space.
std::vector<std::vector<Vec2>> LayoutText(std::string_view text, Vec2 origin, const TextStyle& style);

// Ink width of a text: from the left edge of the first stroke to the right edge of the last.
float MeasureText(std::string_view text, const TextStyle& style);

void DrawText(Mask& mask, std::string_view text, Vec2 origin, const TextStyle& style);

}  // namespace artgen
