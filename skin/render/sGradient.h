// Gradients: vertical and horizontal bands (modes 0 and 1) and four Gouraud-shaded triangles
// through the centre (mode 2). ParseGradientData and TsGradArray live in skin/data/sMaskData.h.
#pragma once

#include <cstdint>
#include <vector>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"
#include "skin/render/sGeometry.h"

// Paints the gradient into rect (exclusive) of bmp, clipped to the bitmap; pixels get the
// colour's blue, green, red and alpha 255. The first piece's Mode chooses: 0 bands from top
// to bottom (the first band starts `offset` rows below the top), 1 bands from left to right,
// 2 four triangles through the centre. Empty rectangles, no pieces and other modes: nothing.
void PaintGradient(Bitmap32& bmp, const TsRect& rect, const TsGradArray& pieces, int offset = 0);

// The colours PaintGradient gives along its axis for modes 0 and 1: one pixel per row
// (mode 0; entry 0 is the clipped rectangle's top row) or per column (mode 1; entry 0 is
// its left column) of rect clipped to a bmpWidth x bmpHeight bitmap. Entries that no band
// reaches are all-zero (alpha 0); painted entries have alpha 255. Empty for other modes, no
// pieces or an empty clipped rectangle. Lets a caller mix a gradient with a texture in one pass.
std::vector<Pixel32> GradientLine(const TsGradArray& pieces, const TsRect& rect, int bmpWidth, int bmpHeight,
                                  int offset = 0);

// A triangle corner: position and 16-bit channels (byte value * 256), as GradientFill takes them.
struct TsTriVertex {
  int32_t X = 0, Y = 0;
  uint16_t Red = 0, Green = 0, Blue = 0, Alpha = 0;
};

// Fills one triangle with colours interpolated linearly between its corners, clipped to bmp,
// the way GDI's GradientFill paints triangles. Coverage: pixel (x, y) is painted when the
// point (x, y) lies inside the triangle or on a top or left edge (on each row, the pixels
// from the left edge's crossing, included, to the right edge's, excluded; rows from the top
// vertex's row, included, to the bottom vertex's, excluded), so triangles that share an
// edge paint each of its pixels once. Channels are interpolated at that point and stored as
// their high byte (truncated); alpha too.
void GradientFillTriangle(Bitmap32& bmp, const TsTriVertex& v0, const TsTriVertex& v1, const TsTriVertex& v2);
