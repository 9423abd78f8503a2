#include "skin/render/sBorderMask.h"

#include <algorithm>

#include "skin/data/sSkinModel.h"
#include "skin/render/sKeyedCopy.h"

namespace {

void FitPair(int32_t size, int32_t& a, int32_t& b) {
  if (size < a + b) {
    const int32_t d = (a + b - size) / 2;
    a -= d;
    b -= d;
    if (size % 2 != 0) b -= 1;
  }
  // Uneven sides can still overrun a tiny rectangle; the right (bottom) side gives way so
  // that no piece lands outside it.
  a = std::clamp(a, 0, std::max(size, 0));
  b = std::clamp(b, 0, std::max(size - a, 0));
}

// Calls blit(x, y, w, h) for whole tw x th tiles over dst from its top-left corner, with
// partial tiles at the right and bottom.
template <class Blit>
void TileOver(const TsRect& dst, int32_t tw, int32_t th, Blit blit) {
  if (tw <= 0 || th <= 0) return;
  for (int32_t y = dst.Top; y < dst.Bottom; y += th) {
    const int32_t h = std::min(th, dst.Bottom - y);
    for (int32_t x = dst.Left; x < dst.Right; x += tw) blit(x, y, std::min(tw, dst.Right - x), h);
  }
}

const Bitmap32* SourceBitmap(const TsMaskData& image) {
  if (!image.Bmp.Empty()) return &image.Bmp;
  if (!image.Manager || image.Manager->MasterBitmap.Empty()) return nullptr;
  return &image.Manager->MasterBitmap;
}

}  // namespace

TsBorderWidths FitBorderWidths(const TsMaskData& image, int32_t width, int32_t height) {
  TsBorderWidths w{image.WL, image.WT, image.WR, image.WB};
  FitPair(width, w.L, w.R);
  FitPair(height, w.T, w.B);
  return w;
}

bool BorderPieces(const TsMaskData& image, int state, const TsRect& rect, std::array<TsBorderPiece, 9>& pieces) {
  if (image.ImageCount <= 0) return false;
  const TsBorderWidths bw = FitBorderWidths(image, rect.Width(), rect.Height());
  const int32_t w = image.CellWidth(), h = image.CellHeight();
  const int32_t mw = w - bw.L - bw.R, mh = h - bw.T - bw.B;
  if (mw < 0 || mh < 0) return false;
  const int32_t cell = std::clamp(state, 0, image.ImageCount - 1);
  const int32_t sx = image.R.Left + w * cell, sy = image.R.Top;
  const int32_t l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  const int32_t mx = sx + bw.L + mw, by = sy + h - bw.B;  // source right column and bottom row starts
  using K = TsPieceKind;
  pieces = {{
      {K::Corner, {sx, sy, sx + bw.L, sy + bw.T}, {l, t, l + bw.L, t + bw.T}},
      {K::VertEdge, {sx, sy + bw.T, sx + bw.L, sy + bw.T + mh}, {l, t + bw.T, l + bw.L, b - bw.B}},
      {K::HorzEdge, {sx + bw.L, sy, mx, sy + bw.T}, {l + bw.L, t, r - bw.R, t + bw.T}},
      {K::Corner, {sx, by, sx + bw.L, sy + h}, {l, b - bw.B, l + bw.L, b}},
      {K::HorzEdge, {sx + bw.L, by, mx, sy + h}, {l + bw.L, b - bw.B, r - bw.R, b}},
      {K::Corner, {mx, by, mx + bw.R, sy + h}, {r - bw.R, b - bw.B, r, b}},
      {K::Corner, {mx, sy, mx + bw.R, sy + bw.T}, {r - bw.R, t, r, t + bw.T}},
      {K::VertEdge, {mx, sy + bw.T, mx + bw.R, sy + bw.T + mh}, {r - bw.R, t + bw.T, r, b - bw.B}},
      {K::Centre, {sx + bw.L, sy + bw.T, mx, sy + bw.T + mh}, {l + bw.L, t + bw.T, r - bw.R, b - bw.B}},
  }};
  return true;
}

void PaintBorderMask(Bitmap32& target, const TsRect& rect, const TsMaskData& image, int state, bool updateCorners,
                     const BackgroundSource& bg) {
  if (state == 0 && (image.DrawMode & dmNotNormal)) return;
  if (rect.Width() < 2 || rect.Height() < 2 || !image.Manager || image.ImageCount <= 0 || target.Empty()) return;
  const Bitmap32* srcBmp = SourceBitmap(image);
  if (!srcBmp) return;
  std::array<TsBorderPiece, 9> pieces;
  if (!BorderPieces(image, state, rect, pieces)) return;
  const Bitmap32& src = *srcBmp;
  const bool paintCentre = (image.DrawMode & dmPaintCentre) != 0;

  if (image.MaskType <= 0) {
    const bool stretch = (image.DrawMode & dmStretch) != 0;
    for (const TsBorderPiece& p : pieces) {
      if (p.Kind == TsPieceKind::Centre && !paintCentre) continue;
      if (p.Kind == TsPieceKind::Corner) {
        CopyKeyedRect(target, src, p.Dst.Left, p.Dst.Top, updateCorners, bg, clFuchsia,
                      TsRect{p.Src.Left, p.Src.Top, p.Src.Right - 1, p.Src.Bottom - 1});
      } else if (stretch) {
        // A zero-sized middle piece leaves its strip as the background painted before.
        if (!IsRectEmpty(p.Src) && !IsRectEmpty(p.Dst)) StretchRect32(target, p.Dst, src, p.Src);
      } else {
        TileOver(p.Dst, p.Src.Width(), p.Src.Height(), [&](int32_t x, int32_t y, int32_t w, int32_t h) {
          CopyRect32(target, x, y, src, TsRect{p.Src.Left, p.Src.Top, p.Src.Left + w, p.Src.Top + h});
        });
      }
    }
    return;
  }

  const BackgroundSource none{};
  for (const TsBorderPiece& p : pieces) {
    if (p.Kind == TsPieceKind::Centre && !paintCentre) continue;
    if (p.Kind == TsPieceKind::Corner) {
      CopyMaskedRect(p.Dst, p.Src, target, image, updateCorners, bg, src);
    } else {
      TileOver(p.Dst, p.Src.Width(), p.Src.Height(), [&](int32_t x, int32_t y, int32_t w, int32_t h) {
        CopyMaskedRect(TsRect{x, y, x + w, y + h}, p.Src, target, image, false, none, src);
      });
    }
  }
}

void KeyColorRects(std::vector<TsRect>& list, int32_t width, const TsMaskData& image, bool bottom, int32_t yOffset) {
  const Bitmap32* srcBmp = SourceBitmap(image);
  if (!srcBmp || image.ImageCount <= 0) return;
  const Bitmap32& src = *srcBmp;
  const int32_t w = image.CellWidth(), h = image.CellHeight();
  const int32_t rows = bottom ? image.WB : image.WT;
  const int32_t top = bottom ? image.R.Top + h - image.WB : image.R.Top;
  const int32_t shift = width - w;

  // Key runs among cell columns [from, to) of one row, appended moved right by `dx`.
  const auto runs = [&](const Pixel32* row, int32_t from, int32_t to, int32_t dx, int32_t y) {
    from = std::max(from, 0);
    to = std::min(to, w);
    int32_t start = -1;
    for (int32_t c = from; c <= to; ++c) {
      const int32_t sx = image.R.Left + c;
      const bool key = c < to && sx >= 0 && sx < src.Width() && IsKeyPixel(row[sx]);
      if (key && start < 0) start = c;
      if (!key && start >= 0) {
        list.push_back(TsRect{start + dx, y, c + dx, y + 1});
        start = -1;
      }
    }
  };
  for (int32_t r = 0; r < rows; ++r) {
    const int32_t sy = top + r;
    if (sy < 0 || sy >= src.Height() || r >= h) continue;
    const Pixel32* row = src.Row(sy);
    runs(row, 0, image.WL, 0, yOffset + r);
    runs(row, w - image.WR, w, shift, yOffset + r);
  }
}

void CornerKeyRects(std::vector<TsRect>& list, const TsMaskData& image, int state, const TsRect& rect) {
  const Bitmap32* srcBmp = SourceBitmap(image);
  std::array<TsBorderPiece, 9> pieces;
  if (!srcBmp || !BorderPieces(image, state, rect, pieces)) return;
  const Bitmap32& src = *srcBmp;
  for (const TsBorderPiece& p : pieces) {
    if (p.Kind != TsPieceKind::Corner) continue;
    for (int32_t y = 0; y < p.Src.Height(); ++y) {
      const int32_t sy = p.Src.Top + y;
      if (sy < 0 || sy >= src.Height()) continue;
      const Pixel32* row = src.Row(sy);
      int32_t start = -1;
      for (int32_t x = 0; x <= p.Src.Width(); ++x) {
        const int32_t sx = p.Src.Left + x;
        const bool key = x < p.Src.Width() && sx >= 0 && sx < src.Width() && IsKeyPixel(row[sx]);
        if (key && start < 0) start = x;
        if (!key && start >= 0) {
          list.push_back(TsRect{p.Dst.Left + start, p.Dst.Top + y, p.Dst.Left + x, p.Dst.Top + y + 1});
          start = -1;
        }
      }
    }
  }
}
