#include "skin/render/sAlphaGraph.h"

#include <algorithm>
#include <bit>
#include <array>
#include <cmath>
#include <cstring>

#include "skin/data/sSkinModel.h"
#include "skin/render/sGraphUtils.h"

namespace {

TsRect Bounds(const Bitmap32& b) { return TsRect{0, 0, b.Width(), b.Height()}; }

// Narrows src (a rectangle of the source) to the pixels that exist in the source and whose
// destination, (dstX, dstY) for src's top-left, exists in dst. Returns the destination
// offset (dst = src + offset) through dx, dy.
TsRect ClipPair(const TsRect& srcRect, int dstX, int dstY, const Bitmap32& src, const Bitmap32& dst, int& dx, int& dy) {
  dx = dstX - srcRect.Left;
  dy = dstY - srcRect.Top;
  const TsRect s = IntersectRect(srcRect, Bounds(src));
  return IntersectRect(s, OffsetRect(Bounds(dst), -dx, -dy));
}

// d = (d * a + s * b + 127) >> 8 for n bytes, from the last byte to the first, with b = 255 - a.
// A block of W bytes is read as W / 2 little-endian 16-bit lanes: the even bytes (low halves)
// and the odd bytes (high halves) are mixed apart in 16-bit arithmetic (the largest sum,
// 255 * 255 + 127, fits) and put back in place, with no widening or packing of bytes. Each
// block is read completely before it is written, so the right-to-left order holds block by block.
typedef uint16_t U16x8 __attribute__((vector_size(16)));
typedef uint16_t U16x16 __attribute__((vector_size(32)));

template <class U16xN>
inline void BlendBlocks(uint8_t* d, const uint8_t* s, int n, uint32_t a, uint32_t b) {
  static_assert(std::endian::native == std::endian::little, "bytes are taken as the halves of 16-bit lanes");
  constexpr int W = sizeof(U16xN);
  const U16xN va = U16xN{} + static_cast<uint16_t>(a);
  const U16xN vb = U16xN{} + static_cast<uint16_t>(b);
  const U16xN round = U16xN{} + uint16_t{127};
  const U16xN low = U16xN{} + uint16_t{0x00FF};
  const U16xN high = U16xN{} + uint16_t{0xFF00};
  int i = n;
  while (i >= W) {
    i -= W;
    U16xN dv, sv;
    std::memcpy(&dv, d + i, W);
    std::memcpy(&sv, s + i, W);
    const U16xN even = ((dv & low) * va + (sv & low) * vb + round) >> 8;
    const U16xN odd = ((dv >> 8) * va + (sv >> 8) * vb + round) & high;
    const U16xN out = even | odd;
    std::memcpy(d + i, &out, W);
  }
  while (i > 0) {
    --i;
    d[i] = static_cast<uint8_t>((d[i] * a + s[i] * b + 127) >> 8);
  }
}

#if defined(__x86_64__) || defined(__i386__)
// Twice the width where the processor has it; state fading blends whole caches every tick.
__attribute__((target("avx2"))) void BlendBytesWide(uint8_t* d, const uint8_t* s, int n, uint32_t a, uint32_t b) {
  BlendBlocks<U16x16>(d, s, n, a, b);
}
#endif

void BlendBytes(uint8_t* d, const uint8_t* s, int n, uint32_t a, uint32_t b) {
#if defined(__x86_64__) || defined(__i386__)
  static const bool wide = __builtin_cpu_supports("avx2");
  if (wide) return BlendBytesWide(d, s, n, a, b);
#endif
  BlendBlocks<U16x8>(d, s, n, a, b);
}

}  // namespace

void BlendColorRect(Bitmap32& bmp, const TsRect& r, int percent, TColor c) {
  TacFast32 f;
  if (!f.Attach(bmp)) return;
  const TsRect cr = IntersectRect(r, Bounds(bmp));
  if (IsRectEmpty(cr)) return;
  // Out-of-range percents would push channels past a byte; they mean "all of one side".
  const double e = std::clamp(percent, 0, 100) / 100.0;
  const Pixel32 cp = ColorToPixel(c);
  std::array<std::array<uint8_t, 256>, 3> table;  // blue, green, red
  const uint8_t channel[3] = {cp.B, cp.G, cp.R};
  for (int k = 0; k < 3; ++k)
    for (int d = 0; d < 256; ++d)
      table[k][static_cast<std::size_t>(d)] = static_cast<uint8_t>(std::nearbyint(e * d + (1.0 - e) * channel[k]));
  for (int y = cr.Top; y < cr.Bottom; ++y) {
    Pixel32* row = f.Row(y);
    for (int x = cr.Left; x < cr.Right; ++x) {
      Pixel32& p = row[x];
      p.B = table[0][p.B];
      p.G = table[1][p.G];
      p.R = table[2][p.R];
    }
  }
}

void BlendBitmapRect(Bitmap32& dst, const Bitmap32& src, int weight, TsPoint dstPt, const TsRect& srcRect) {
  TacFastSum32 f;
  if (!f.Attach(dst, src)) return;
  int dx, dy;
  const TsRect s = ClipPair(srcRect, dstPt.X, dstPt.Y, src, dst, dx, dy);
  if (IsRectEmpty(s)) return;
  const auto a = static_cast<uint32_t>(std::clamp(weight, 0, 255));
  const uint32_t b = 255 - a;
  const int n = s.Width() * 4;
  // Bottom row first and right to left: when a bitmap is blended with an area of itself
  // that lies below or right of the source, each source byte is read before it is written.
  for (int sy = s.Bottom - 1; sy >= s.Top; --sy)
    BlendBytes(reinterpret_cast<uint8_t*>(f.Dst.Row(sy + dy) + s.Left + dx),
               reinterpret_cast<const uint8_t*>(f.SrcRow(sy) + s.Left), n, a, b);
}

void BlendBitmaps(Bitmap32& dst, const Bitmap32& src, int weight) {
  if (dst.Width() != src.Width() || dst.Height() != src.Height()) return;
  BlendBitmapRect(dst, src, weight, TsPoint{0, 0}, Bounds(src));
}

void BlendKeyedRect(Bitmap32& dst, int x, int y, TColor key, double k, const TsRect& srcRect, const Bitmap32& src) {
  TacFastSum32 f;
  if (!f.Attach(dst, src)) return;
  // Inclusive rectangle: clipped to the source first; its clipped corner lands at (x, y).
  const TsRect inc = IntersectRect(TsRect{srcRect.Left, srcRect.Top, srcRect.Right + 1, srcRect.Bottom + 1},
                                   TsRect{0, 0, src.Width(), src.Height()});
  if (IsRectEmpty(inc)) return;
  int dx, dy;
  const TsRect s = ClipPair(inc, x, y, src, dst, dx, dy);
  if (IsRectEmpty(s)) return;
  const Pixel32 kp = ColorToPixel(key);
  auto mix = [k](uint8_t sv, uint8_t dv) {
    return static_cast<uint8_t>(std::clamp(std::nearbyint(sv - (sv - dv) * k), 0.0, 255.0));
  };
  for (int sy = s.Top; sy < s.Bottom; ++sy) {
    const Pixel32* in = f.SrcRow(sy);
    Pixel32* out = f.Dst.Row(sy + dy);
    for (int sx = s.Left; sx < s.Right; ++sx) {
      const Pixel32 sp = in[sx];
      if (sp.B == kp.B && sp.G == kp.G && sp.R == kp.R) continue;
      Pixel32& d = out[sx + dx];
      d.B = mix(sp.B, d.B);
      d.G = mix(sp.G, d.G);
      d.R = mix(sp.R, d.R);
    }
  }
}

void MixMaskedRect(Bitmap32& dst, int x, int y, const Bitmap32& src, const TsRect& srcRect, int maskDy, bool skipKey) {
  if (dst.Empty() || src.Empty()) return;
  int dx, dy;
  const TsRect s = ClipPair(srcRect, x, y, src, dst, dx, dy);
  if (IsRectEmpty(s)) return;
  const int lastRow = src.Height() - 1;
  auto mix = [](int d, int sv, int m) { return static_cast<uint8_t>(((d - sv) * m + sv * 256) >> 8); };
  for (int sy = s.Top; sy < s.Bottom; ++sy) {
    const Pixel32* in = src.Row(sy);
    const Pixel32* mask = src.Row(std::clamp(sy + maskDy, 0, lastRow));
    Pixel32* out = dst.Row(sy + dy);
    for (int sx = s.Left; sx < s.Right; ++sx) {
      const Pixel32 sp = in[sx];
      if (skipKey && IsKeyPixel(sp)) continue;
      const Pixel32 m = mask[sx];
      Pixel32& d = out[sx + dx];
      d.B = mix(d.B, sp.B, m.B);
      d.G = mix(d.G, sp.G, m.G);
      d.R = mix(d.R, sp.R, m.R);
    }
  }
}

void PaintMaskedTexture(Bitmap32& dst, const TsRect& rect, const Bitmap32* bgBmp, int bgX, int bgY,
                        TColor fillColor, int mode, const TsMaskData& image) {
  if (mode != 0 && mode != 10) return;
  if (image.MaskType <= 0 || image.ImageCount <= 0 || dst.Empty() || IsRectEmpty(rect)) return;
  const Bitmap32* src = !image.Bmp.Empty() ? &image.Bmp : image.Manager ? &image.Manager->MasterBitmap : nullptr;
  if (!src || src->Empty()) return;
  const int tw = image.R.Width() / image.ImageCount;
  const int th = image.R.Height() / 2;
  if (tw <= 0 || th <= 0) return;
  const int maskDy = image.R.Height() / 2;
  const bool skipKey = bgBmp == nullptr;
  const TsRect visible = IntersectRect(rect, Bounds(dst));
  if (IsRectEmpty(visible)) return;

  // Tiles anchored at rect's top-left; with whole tiles only, the grid stops at the last
  // tile that fits completely.
  const int cols = mode == 10 ? rect.Width() / tw : (rect.Width() + tw - 1) / tw;
  const int rows = mode == 10 ? rect.Height() / th : (rect.Height() + th - 1) / th;
  const int firstRow = std::max(0, (visible.Top - rect.Top) / th);
  const int firstCol = std::max(0, (visible.Left - rect.Left) / tw);
  for (int j = firstRow; j < rows; ++j) {
    const int ty = rect.Top + j * th;
    if (ty >= visible.Bottom) break;
    for (int i = firstCol; i < cols; ++i) {
      const int tx = rect.Left + i * tw;
      if (tx >= visible.Right) break;
      const int w = std::min(tw, rect.Right - tx), h = std::min(th, rect.Bottom - ty);
      MixMaskedRect(dst, tx, ty, *src, TsRect{image.R.Left, image.R.Top, image.R.Left + w, image.R.Top + h}, maskDy,
                    skipKey);
    }
  }
  if (mode != 10) return;

  // What the whole tiles leave uncovered shows the background.
  const TsRect strips[2] = {
      TsRect{rect.Left, rect.Top + rows * th, rect.Right, rect.Bottom},                // below the last row
      TsRect{rect.Left + cols * tw, rect.Top, rect.Right, rect.Top + rows * th}};      // right of the last column
  for (const TsRect& strip : strips) {
    if (IsRectEmpty(strip)) continue;
    if (bgBmp) {
      const TsRect from = OffsetRect(strip, bgX - rect.Left, bgY - rect.Top);
      CopyRect32(dst, strip.Left, strip.Top, *bgBmp, from);
    } else if (!IsKeyColor(fillColor)) {
      FillRect32(dst, strip, fillColor);
    }
  }
}
