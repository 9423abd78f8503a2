// Blends between bitmaps and colours, and the masked texture painter. Weighted blends use
// integer arithmetic with a shift by 8; percentage blends and factors use reals rounded to
// nearest (ties to even). Rectangles are right/bottom exclusive unless a routine says otherwise.
#pragma once

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"
#include "skin/render/sGeometry.h"

// Each colour channel d of r (clipped to the bitmap) becomes rounded(e * d + (1 - e) * c) with
// e = percent / 100 and c the colour's channel; alpha untouched.
void BlendColorRect(Bitmap32& bmp, const TsRect& r, int percent, TColor c);

// Mixes srcRect of src into dst at dstPt: every byte, alpha too, becomes
// (d * A + s * (255 - A) + 127) >> 8, so A = 255 keeps almost all of the destination and
// A = 0 takes the source. Both areas are clipped against both bitmaps (a negative dstPt
// shifts the source rectangle); either bitmap narrower or lower than 2 pixels: nothing.
void BlendBitmapRect(Bitmap32& dst, const Bitmap32& src, int weight, TsPoint dstPt, const TsRect& srcRect);

// BlendBitmapRect over two whole bitmaps of the same size; different sizes: nothing.
void BlendBitmaps(Bitmap32& dst, const Bitmap32& src, int weight);

// For every pixel s of srcRect of src (INCLUSIVE right and bottom, clipped to src first) that is
// not the key colour, each colour channel of the destination pixel d at (x + column, y + row)
// (column and row counted from the clipped rectangle's corner)
// becomes rounded(s - (s - d) * k); destination positions outside dst are skipped and alpha
// is untouched. k = 0 copies the colour, k = 1 keeps the destination.
void BlendKeyedRect(Bitmap32& dst, int x, int y, TColor key, double k, const TsRect& srcRect, const Bitmap32& src);

// Mixes srcRect of src (exclusive) into dst at (x, y) through an alpha mask lying maskDy rows
// below each source pixel (limited to src's last row): each colour channel becomes
// ((d - s) * m + s * 256) >> 8 with m the same channel of the mask pixel, so m = 0 gives the
// source and m = 255 keeps almost all of the destination; alpha untouched. skipKey leaves
// the destination alone under key-coloured source pixels. Clipped against both bitmaps.
void MixMaskedRect(Bitmap32& dst, int x, int y, const Bitmap32& src, const TsRect& srcRect, int maskDy, bool skipKey);

// Paints a texture image with an alpha mask (MaskType above 0, lower half of R is the mask)
// into rect of dst. The tile is one cell wide (R width div ImageCount) and half R high, and
// each tile is mixed in with MixMaskedRect. What lies behind: bgBmp, where (bgX, bgY) is the
// parent pixel behind rect's top-left corner, or, with bgBmp null, the plain colour fillColor (0xFF00FF:
// none). Key pixels of a tile are mixed too when bgBmp is given and left alone otherwise.
// Mode 0 tiles the whole rectangle; mode 10 lays whole tiles only and fills the strip below
// the last whole row and the column right of the last whole column from bgBmp (copy) or
// with fillColor (when not none). Other modes, images without a mask, without cells or
// without a bitmap paint nothing.
void PaintMaskedTexture(Bitmap32& dst, const TsRect& rect, const Bitmap32* bgBmp, int bgX, int bgY,
                        TColor fillColor, int mode, const TsMaskData& image);
