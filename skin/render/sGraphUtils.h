// Pixel primitives on 32-bit bitmaps: colour/pixel conversion, scanline access, fills, grey,
// hue and saturation, focus dots, and the neutral forms of BitBlt SRCCOPY and StretchBlt
// COLORONCOLOR. Rectangles are right/bottom exclusive unless a routine says otherwise.
// Colours are TColor 0x00BBGGRR (skin/data/sMaskData.h); routines that take a colour use its
// three low bytes, so callers resolve system colours (ColorToRGB) first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/Bitmap32.h"
#include "skin/data/sColorShift.h"
#include "skin/data/sMaskData.h"
#include "skin/render/sGeometry.h"

// ---- Colours and pixels --------------------------------------------------------------

// The colour as a pixel: red and blue swap places; alpha as given.
inline Pixel32 ColorToPixel(TColor c, uint8_t alpha = 255) {
  const auto u = static_cast<uint32_t>(c);
  return Pixel32{static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u), alpha};
}
// The pixel's colour channels as a TColor (high byte 0).
inline TColor PixelToColor(Pixel32 p) {
  return static_cast<TColor>(uint32_t{p.R} | (uint32_t{p.G} << 8) | (uint32_t{p.B} << 16));
}

// ---- Scanline access -------------------------------------------------------------------

// One bitmap's start of row 0 and signed row delta: pixel (x, y) is Start + y * Delta + 4 * x.
// Attach refuses missing bitmaps and bitmaps narrower or lower than 2 pixels.
struct TacFast32 {
  uint8_t* Start = nullptr;
  std::ptrdiff_t Delta = 0;
  int Width = 0, Height = 0;

  bool Attach(Bitmap32& bmp);
  Pixel32* Row(int y) const { return reinterpret_cast<Pixel32*>(Start + Delta * y); }
  Pixel32& Pixel(int x, int y) const { return Row(y)[x]; }
};

// The same for a source and a destination bitmap at once; Attach fails when either is refused.
struct TacFastSum32 {
  TacFast32 Dst;
  const uint8_t* SrcStart = nullptr;
  std::ptrdiff_t SrcDelta = 0;
  int SrcWidth = 0, SrcHeight = 0;

  bool Attach(Bitmap32& dst, const Bitmap32& src);
  const Pixel32* SrcRow(int y) const { return reinterpret_cast<const Pixel32*>(SrcStart + SrcDelta * y); }
};

// ---- Creation and fills --------------------------------------------------------------

// A new owning 32-bit bitmap of w x h pixels, all zero (empty when either size is below 1).
Bitmap32 CreateBmp32(int w, int h);

// Writes the colour with alpha 255 into r. Bitmaps narrower or lower than 2 pixels are left
// alone; r is clipped to the bitmap so a careless caller cannot write outside it.
void FillRect32(Bitmap32& bmp, const TsRect& r, TColor c);

// The four strips of a frame inside r, each filled with FillRect32: top (full width, wt high),
// left (below the top strip, wl wide), bottom (right of the left strip, wb high), right
// (between the top and bottom strips, wr wide).
void FillFrame32(Bitmap32& bmp, const TsRect& r, int wl, int wt, int wr, int wb, TColor c);

// Every pixel's three colour channels become (b + g + r) div 3; alpha kept.
void GrayBitmap(Bitmap32& bmp);

// ShiftHue and ChangeSaturation (bitmap and colour forms) and the key-colour tests come from
// skin/data/sColorShift.h: the skin model applies them while it loads.

// Per channel rounded(k * c1 + (1 - k) * c2); the result has c1's high byte.
TColor MixColors(TColor c1, TColor c2, double k);

// The dotted focus frame around r (exclusive): black dots every third pixel along the top and
// bottom rows and the left and right columns, each with a COLOR_BTNFACE pixel just before it.
// Pixels outside the bitmap or outside r are not written. sysColor resolves COLOR_BTNFACE
// (nullptr: the classic table). Written pixels get alpha 255.
void DrawFocusDots(Bitmap32& bmp, const TsRect& r, TsSysColorFn sysColor = nullptr);

// ---- Blits ---------------------------------------------------------------------------

// BitBlt SRCCOPY: copies srcRect of src (exclusive) to (x, y) in dst, all four bytes. Clipped
// against both bitmaps: parts outside either are skipped, the rest keeps its place. dst and
// src may be the same bitmap only if the areas do not overlap.
void CopyRect32(Bitmap32& dst, int x, int y, const Bitmap32& src, const TsRect& srcRect);

// StretchBlt COLORONCOLOR with SRCCOPY: nearest-neighbour copy of srcRect (exclusive, sw x sh)
// onto dstRect (exclusive, dw x dh), mapping each axis as GDI does. Destination column i
// (0-based inside dstRect) takes source column srcRect.Left + f(i, sw, dw), rows likewise:
//   enlarging or equal (dw >= sw): f = (2 i sw + sw - 1) div (2 dw)  (pixel centres)
//   shrinking (dw < sw):           f = (2 i sw + 2 sw - dw) div (2 dw)
// e.g. 5 -> 8 columns: 0 0 1 2 2 3 4 4; 8 -> 5: 1 2 4 5 7. Both rectangles must have
// positive extents (no mirroring); destination pixels outside dst and pixels whose source
// lies outside src are skipped. All four bytes are copied.
void StretchRect32(Bitmap32& dst, const TsRect& dstRect, const Bitmap32& src, const TsRect& srcRect);

// ---- Textures ------------------------------------------------------------------------

// Paints a texture into rect (exclusive) of dst. With a pattern bitmap, the pattern is tiled
// over the whole rectangle from its top-left corner and rect becomes kNoRemainder. Otherwise
// the tile is image->R of the image's own bitmap or of its skin model's master bitmap, and
// mode places it (0 tile all, 1 stretch all, 2 tile a row along the top, 3 a column down the
// left, 4 stretch a row along the top, 5 stretch a column down the left, 6 tile a row along
// the bottom, 7 a column down the right, 10 whole tiles only); on return rect is what is left
// for the caller to fill (kNoRemainder when nothing is left). When nothing can be painted
// (no image, no bitmap, empty tile or rectangle, unknown mode) rect is left unchanged.
void PaintTexture(Bitmap32& dst, TsRect& rect, const Bitmap32* pattern, int mode, const TsMaskData* image);
