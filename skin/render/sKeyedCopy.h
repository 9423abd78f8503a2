// Copies that lay skin images over a background: by key colour (key pixels show the
// background or are left alone) and by alpha mask (the image's lower half says how much of
// the destination stays). The border and state-image painters are built on these.
#pragma once

#include <cstdint>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"
#include "skin/render/sBackgroundSource.h"

// Copies the inclusive source rectangle (clipped to `src`) to (x, y) of `dst`; pixels landing
// outside `dst` are skipped. Key pixels: with cornerFlag and a ready background bitmap they
// take the background pixel behind them (left alone when `dst` is that bitmap, or when the
// position lies outside it); without a ready background they become FillColor; otherwise
// they are left alone. cornerFlag with a ready bitmap makes every written pixel opaque.
void CopyKeyedRect(Bitmap32& dst, const Bitmap32& src, int32_t x, int32_t y, bool cornerFlag,
                   const BackgroundSource& bg, TColor key, TsRect srcRect);

// Mixes the source rectangle into the destination rectangle (both exclusive; the smaller
// size, clipped to both bitmaps) through `image`'s mask: d' = ((d - s) * m + s * 256) >> 8 per
// channel, m taken (R height / 2) rows below the source pixel. An image without a mask mixes
// with m = 0, a plain copy. Key pixels follow the same background rules as CopyKeyedRect.
void CopyMaskedRect(TsRect dstRect, TsRect srcRect, Bitmap32& dst, const TsMaskData& image, bool cornerFlag,
                    const BackgroundSource& bg, const Bitmap32& src);

// The mask mix of one channel; m = 0 gives s, m = 255 keeps nearly all of d.
inline uint8_t MaskMix(uint8_t d, uint8_t s, uint8_t m) {
  return static_cast<uint8_t>(((static_cast<int32_t>(d) - s) * m + static_cast<int32_t>(s) * 256) >> 8);
}
