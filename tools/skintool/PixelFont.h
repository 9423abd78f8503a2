// A 5 x 7 pixel font for the labels of the tool's pictures: upper case, digits and the few
// signs section names use. Other characters advance like a space.
#pragma once

#include <string_view>

#include "image/Bitmap32.h"

// Draws `text` with its top-left corner at (x, y), each font pixel `scale` pixels square;
// pixels outside the bitmap are skipped. Returns the x after the last character.
int DrawPixelText(Bitmap32& bmp, int x, int y, std::string_view text, Pixel32 colour, int scale = 1);
inline constexpr int kPixelFontAdvance = 6;  // font pixels per character
