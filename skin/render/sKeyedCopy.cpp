#include "skin/render/sKeyedCopy.h"

#include <algorithm>

namespace {

// The background pixel behind destination (x, y), or null when there is none there.
const Pixel32* BgPixel(const BackgroundSource& bg, int32_t x, int32_t y) {
  if (!bg.Bmp) return nullptr;
  const int64_t px = static_cast<int64_t>(x) + bg.X, py = static_cast<int64_t>(y) + bg.Y;
  if (px < 0 || py < 0 || px >= bg.Bmp->Width() || py >= bg.Bmp->Height()) return nullptr;
  return &bg.Bmp->At(static_cast<int>(px), static_cast<int>(py));
}

void TakeColour(Pixel32& d, const Pixel32& from) {
  d.B = from.B;
  d.G = from.G;
  d.R = from.R;
}

}  // namespace

void CopyKeyedRect(Bitmap32& dst, const Bitmap32& src, int32_t x, int32_t y, bool cornerFlag,
                   const BackgroundSource& bg, TColor key, TsRect r) {
  if (dst.Empty() || src.Empty()) return;
  r.Left = std::max(r.Left, 0);
  r.Top = std::max(r.Top, 0);
  r.Right = std::min(r.Right, src.Width() - 1);
  r.Bottom = std::min(r.Bottom, src.Height() - 1);
  if (r.Right < r.Left || r.Bottom < r.Top) return;

  const Pixel32 k = ColorToPixel(key);
  const bool withBmp = bg.Ready && bg.Bmp;
  const bool intoParent = withBmp && SameBitmapMemory(dst, *bg.Bmp);
  const Pixel32 fill = ColorToPixel(bg.FillColor);
  for (int32_t sy = r.Top; sy <= r.Bottom; ++sy) {
    const int64_t dy = static_cast<int64_t>(y) + (sy - r.Top);
    if (dy < 0 || dy >= dst.Height()) continue;
    const Pixel32* s = src.Row(sy);
    Pixel32* d = dst.Row(static_cast<int>(dy));
    for (int32_t sx = r.Left; sx <= r.Right; ++sx) {
      const int64_t dx = static_cast<int64_t>(x) + (sx - r.Left);
      if (dx < 0 || dx >= dst.Width()) continue;
      const Pixel32 p = s[sx];
      Pixel32& out = d[dx];
      const bool isKey = MatchesKey(p, k);
      if (cornerFlag && withBmp) {
        if (!isKey) {
          out = p;
          out.A = 255;
        } else if (!intoParent) {
          if (const Pixel32* b = BgPixel(bg, static_cast<int32_t>(dx), static_cast<int32_t>(dy))) {
            TakeColour(out, *b);
            out.A = 255;
          }
        }
      } else if (bg.Ready) {
        if (!isKey) out = p;
      } else {
        out = isKey ? fill : p;
      }
    }
  }
}

void CopyMaskedRect(TsRect dr, TsRect sr, Bitmap32& dst, const TsMaskData& image, bool cornerFlag,
                    const BackgroundSource& bg, const Bitmap32& src) {
  if (dst.Empty() || src.Empty()) return;
  int32_t w = std::min(dr.Width(), sr.Width());
  int32_t h = std::min(dr.Height(), sr.Height());
  // Cut away what starts left of or above either bitmap.
  const int32_t cutX = std::max({0, -dr.Left, -sr.Left});
  const int32_t cutY = std::max({0, -dr.Top, -sr.Top});
  dr.Left += cutX;
  sr.Left += cutX;
  dr.Top += cutY;
  sr.Top += cutY;
  w = std::min({w - cutX, dst.Width() - dr.Left, src.Width() - sr.Left});
  h = std::min({h - cutY, dst.Height() - dr.Top, src.Height() - sr.Top});
  if (w <= 0 || h <= 0) return;

  const bool masked = image.MaskType > 0;
  const int32_t maskOffset = masked ? image.R.Height() / 2 : 0;
  const Pixel32 fill = ColorToPixel(bg.FillColor, static_cast<uint8_t>(static_cast<uint32_t>(bg.FillColor) >> 24));
  for (int32_t row = 0; row < h; ++row) {
    const int32_t sy = sr.Top + row, dy = dr.Top + row;
    const Pixel32* s = src.Row(sy);
    const Pixel32* m = masked ? src.Row(std::clamp(sy + maskOffset, 0, src.Height() - 1)) : nullptr;
    Pixel32* d = dst.Row(dy);
    for (int32_t col = 0; col < w; ++col) {
      const int32_t sx = sr.Left + col, dx = dr.Left + col;
      const Pixel32 p = s[sx];
      const Pixel32 mk = masked ? m[sx] : Pixel32{};
      Pixel32& out = d[dx];
      const bool isKey = IsKeyPixel(p);
      const auto mix = [&] {
        out.B = MaskMix(out.B, p.B, mk.B);
        out.G = MaskMix(out.G, p.G, mk.G);
        out.R = MaskMix(out.R, p.R, mk.R);
      };
      if (bg.Ready && cornerFlag) {
        if (isKey) {
          // A key pixel with nothing behind it stays as it is.
          const Pixel32* b = BgPixel(bg, dx, dy);
          if (!b) continue;
          TakeColour(out, *b);
        } else {
          mix();
        }
        out.A = 255;
      } else if (bg.Ready) {
        mix();
      } else if (isKey) {
        if (cornerFlag) out = fill;
      } else {
        mix();
      }
    }
  }
}
