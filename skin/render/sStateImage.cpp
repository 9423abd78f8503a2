#include "skin/render/sStateImage.h"

#include <algorithm>

#include "skin/data/sSkinModel.h"
#include "skin/render/sAlphaGraph.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sKeyedCopy.h"

namespace {

// Copies cell pixels (src rectangle sr, exclusive) to (x, y) of the target: key pixels are
// skipped; masked images mix through their mask, paler when dimmed.
void StateImageRule(Bitmap32& dst, int32_t x, int32_t y, const Bitmap32& src, TsRect sr, const TsMaskData& image,
                    bool dimmed) {
  const bool masked = image.MaskType > 0;
  const int32_t maskDy = masked ? image.R.Height() / 2 : 0;
  int32_t w = std::min({sr.Width(), dst.Width() - x, src.Width() - sr.Left});
  int32_t h = std::min({sr.Height(), dst.Height() - y, src.Height() - sr.Top});
  if (masked) h = maskDy > 0 ? std::min(h, src.Height() - maskDy - sr.Top) : 0;
  if (w <= 0 || h <= 0 || x < 0 || y < 0 || sr.Left < 0 || sr.Top < 0) return;
  for (int32_t row = 0; row < h; ++row) {
    const Pixel32* s = src.Row(sr.Top + row) + sr.Left;
    Pixel32* d = dst.Row(y + row) + x;
    if (!masked) {
      for (int32_t c = 0; c < w; ++c)
        if (!IsKeyPixel(s[c])) d[c] = s[c];
      continue;
    }
    const Pixel32* m = src.Row(sr.Top + row + maskDy) + sr.Left;
    for (int32_t c = 0; c < w; ++c) {
      if (IsKeyPixel(s[c]) || m[c].R == 255) continue;
      const auto mix = [&](uint8_t dv, uint8_t sv, uint8_t mv) {
        const int32_t mm = dimmed ? std::min(mv + 100, 255) : mv;
        return static_cast<uint8_t>(std::clamp(((dv - sv) * mm + sv * 256) >> 8, 0, 255));
      };
      Pixel32& o = d[c];
      o.B = mix(o.B, s[c].B, m[c].B);
      o.G = mix(o.G, s[c].G, m[c].G);
      o.R = mix(o.R, s[c].R, m[c].R);
      o.A = static_cast<uint8_t>(o.A + (255 - m[c].R) * (255 - o.A) / 255);
    }
  }
}

}  // namespace

void PaintStateImage(Bitmap32& target, TsPoint pt, int state, const BackgroundSource& bg, const TsMaskData& image,
                     int mode) {
  if (target.Empty() || image.ImageCount <= 0) return;
  const int32_t w = image.CellWidth(), h = image.CellHeight();
  if (w <= 0 || h <= 0) return;
  const int32_t cell = std::clamp(state, 0, image.ImageCount - 1);
  TsRect sr{image.R.Left + w * cell, image.R.Top, image.R.Left + w * (cell + 1), image.R.Top + h};
  // Cut off what would land left of or above the target.
  if (pt.X < 0) {
    sr.Left -= pt.X;
    pt.X = 0;
  }
  if (pt.Y < 0) {
    sr.Top -= pt.Y;
    pt.Y = 0;
  }
  if (IsRectEmpty(sr)) return;

  if (!image.Bmp.Empty()) {
    // A picture of its own that does not hold its rectangle has nothing to draw.
    if (image.Bmp.Width() >= image.R.Right && image.Bmp.Height() >= image.R.Bottom)
      StateImageRule(target, pt.X, pt.Y, image.Bmp, sr, image, mode != 1);
    return;
  }
  if (!image.Manager || image.Manager->MasterBitmap.Empty()) return;
  const Bitmap32& master = image.Manager->MasterBitmap;
  if (image.MaskType > 0) {
    StateImageRule(target, pt.X, pt.Y, master, sr, image, mode != 1);
  } else if (mode == 1) {
    CopyKeyedRect(target, master, pt.X, pt.Y, true, bg, clFuchsia, TsRect{sr.Left, sr.Top, sr.Right - 1, sr.Bottom - 1});
  } else {
    BlendKeyedRect(target, pt.X, pt.Y, clFuchsia, 0.5, TsRect{sr.Left, sr.Top, sr.Right - 1, sr.Bottom - 1}, master);
  }
}

void RestoreCornerPixels(Bitmap32& cache, const TsMaskData& image, int state, const BackgroundSource& bg) {
  if (cache.Empty()) return;
  TsRect r = image.R;
  int32_t count = image.ImageCount, maskType = image.MaskType;
  const Bitmap32* src = nullptr;
  if (!image.Bmp.Empty()) {
    src = &image.Bmp;
    if (count == 0) {
      r = TsRect{0, 0, image.Bmp.Width(), image.Bmp.Height()};
      count = 3;
      maskType = 1;
    }
  } else if (image.Manager) {
    src = &image.Manager->MasterBitmap;
  }
  if (!src || src->Empty() || count <= 0) return;
  const int32_t w = r.Width() / count;
  const int32_t h = maskType == 0 ? r.Height() : maskType > 0 ? r.Height() / (maskType + 1) : 0;
  const int32_t mw = w - image.WL - image.WR;
  const int32_t sx = r.Left + w * std::clamp(state, 0, count - 1), sy = r.Top;
  const int32_t cw = cache.Width(), ch = cache.Height();

  struct Corner {
    int32_t srcX, srcY, w, h, dstX, dstY;
  };
  const Corner corners[] = {
      {0, 0, image.WL, image.WT, 0, 0},
      {0, h - image.WB, image.WL, image.WB, 0, ch - image.WB},
      {image.WL + mw, h - image.WB, image.WR, image.WB, cw - image.WR, ch - image.WB},
      {image.WL + mw, 0, image.WR, image.WT, cw - image.WR, 0},
  };
  const Pixel32 fill = ColorToPixel(bg.FillColor, 0);
  for (const Corner& c : corners) {
    for (int32_t j = 0; j < c.h; ++j) {
      const int32_t py = sy + c.srcY + j, y = c.dstY + j;
      if (py < 0 || py >= src->Height() || y < 0 || y >= ch) continue;
      for (int32_t i = 0; i < c.w; ++i) {
        const int32_t px = sx + c.srcX + i, x = c.dstX + i;
        if (px < 0 || px >= src->Width() || x < 0 || x >= cw || !IsKeyPixel(src->At(px, py))) continue;
        if (!bg.Ready) {
          cache.At(x, y) = fill;
          continue;
        }
        if (!bg.Bmp) continue;
        const int64_t bx = static_cast<int64_t>(bg.X) + x, by = static_cast<int64_t>(bg.Y) + y;
        if (bx < 0 || by < 0 || bx >= bg.Bmp->Width() || by >= bg.Bmp->Height()) continue;
        Pixel32 p = bg.Bmp->At(static_cast<int>(bx), static_cast<int>(by));
        p.A = 0;
        cache.At(x, y) = p;
      }
    }
  }
}

void PaintDisabledLook(Bitmap32& bmp, TsDisabledKind kind, TsPoint origin, const BackgroundSource& bg,
                       TColor parentColor) {
  if (bmp.Empty()) return;
  if (kind & dkGrayed) GrayBitmap(bmp);
  if (!(kind & dkBlended)) return;
  if (bg.Ready) {
    if (!bg.Bmp) return;
    const Bitmap32& parent = *bg.Bmp;
    // 0.6 p + 0.4 d rounded: (6p + 4d) is even, so it never ties and integers are exact.
    const auto mix = [](uint8_t p, uint8_t d) { return static_cast<uint8_t>((6 * p + 4 * d + 5) / 10); };
    for (int32_t y = 0; y < bmp.Height(); ++y) {
      const int64_t py = static_cast<int64_t>(bg.Y) + origin.Y + y;
      if (py < 0 || py >= parent.Height()) continue;
      Pixel32* d = bmp.Row(y);
      const Pixel32* prow = parent.Row(static_cast<int>(py));
      for (int32_t x = 0; x < bmp.Width(); ++x) {
        const int64_t px = static_cast<int64_t>(bg.X) + origin.X + x;
        if (px < 0 || px >= parent.Width()) continue;
        const Pixel32 p = prow[px];
        if (IsKeyPixel(p)) continue;
        d[x].B = mix(p.B, d[x].B);
        d[x].G = mix(p.G, d[x].G);
        d[x].R = mix(p.R, d[x].R);
      }
    }
    return;
  }
  const TColor c = IsKeyColor(bg.FillColor) ? parentColor : bg.FillColor;
  if (IsKeyColor(c)) return;
  BlendColorRect(bmp, TsRect{0, 0, bmp.Width(), bmp.Height()}, 50, c);
}
