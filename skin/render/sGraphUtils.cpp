#include "skin/render/sGraphUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "skin/data/sSkinModel.h"

namespace {

inline uint8_t ClampByte(double v) {
  return static_cast<uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

TsRect Bounds(const Bitmap32& b) { return TsRect{0, 0, b.Width(), b.Height()}; }

}  // namespace

bool TacFast32::Attach(Bitmap32& bmp) {
  if (bmp.Empty() || bmp.Width() < 2 || bmp.Height() < 2) return false;
  Start = reinterpret_cast<uint8_t*>(bmp.Row(0));
  Delta = bmp.RowDelta();
  Width = bmp.Width();
  Height = bmp.Height();
  return true;
}

bool TacFastSum32::Attach(Bitmap32& dst, const Bitmap32& src) {
  if (src.Empty() || src.Width() < 2 || src.Height() < 2) return false;
  if (!Dst.Attach(dst)) return false;
  SrcStart = reinterpret_cast<const uint8_t*>(src.Row(0));
  SrcDelta = src.RowDelta();
  SrcWidth = src.Width();
  SrcHeight = src.Height();
  return true;
}

Bitmap32 CreateBmp32(int w, int h) { return Bitmap32(w, h); }

void FillRect32(Bitmap32& bmp, const TsRect& r, TColor c) {
  TacFast32 f;
  if (!f.Attach(bmp)) return;
  const TsRect cr = IntersectRect(r, Bounds(bmp));
  if (IsRectEmpty(cr)) return;
  // One row of the colour, copied into every row: whole rows move at memcpy speed.
  const std::vector<Pixel32> line(static_cast<std::size_t>(cr.Width()), ColorToPixel(c));
  const std::size_t bytes = line.size() * sizeof(Pixel32);
  for (int y = cr.Top; y < cr.Bottom; ++y) std::memcpy(f.Row(y) + cr.Left, line.data(), bytes);
}

void FillFrame32(Bitmap32& bmp, const TsRect& r, int wl, int wt, int wr, int wb, TColor c) {
  FillRect32(bmp, TsRect{r.Left, r.Top, r.Right, r.Top + wt}, c);
  FillRect32(bmp, TsRect{r.Left, r.Top + wt, r.Left + wl, r.Bottom}, c);
  FillRect32(bmp, TsRect{r.Left + wl, r.Bottom - wb, r.Right, r.Bottom}, c);
  FillRect32(bmp, TsRect{r.Right - wr, r.Top + wt, r.Right, r.Bottom - wb}, c);
}

void GrayBitmap(Bitmap32& bmp) {
  TacFast32 f;
  if (!f.Attach(bmp)) return;
  for (int y = 0; y < f.Height; ++y) {
    Pixel32* row = f.Row(y);
    for (int x = 0; x < f.Width; ++x) {
      const auto v = static_cast<uint8_t>((row[x].B + row[x].G + row[x].R) / 3);
      row[x].B = row[x].G = row[x].R = v;
    }
  }
}

TColor MixColors(TColor c1, TColor c2, double k) {
  const auto u1 = static_cast<uint32_t>(c1), u2 = static_cast<uint32_t>(c2);
  uint32_t out = u1 & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const double v = k * ((u1 >> shift) & 0xFF) + (1.0 - k) * ((u2 >> shift) & 0xFF);
    out |= uint32_t{ClampByte(v)} << shift;
  }
  return static_cast<TColor>(out);
}

void DrawFocusDots(Bitmap32& bmp, const TsRect& r, TsSysColorFn sysColor) {
  const int w = r.Width(), h = r.Height();
  if (w <= 0 || h <= 0) return;
  const TsRect clip = IntersectRect(r, Bounds(bmp));
  const Pixel32 black = ColorToPixel(0);
  const Pixel32 face = ColorToPixel(ColorToRGB(static_cast<TColor>(0xFF00000Fu), sysColor));  // COLOR_BTNFACE
  auto put = [&](int x, int y, Pixel32 p) {
    if (x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom) bmp.At(x, y) = p;
  };
  const int right = r.Right - 1, bottom = r.Bottom - 1;
  // Rows first, then columns: where they meet, the column's pixel is the one that stays.
  for (int i = 0; i <= w / 3; ++i) {
    const int x = r.Left + 3 * i;
    put(x, r.Top, black);
    put(x, bottom, black);
    put(x - 1, r.Top, face);
    put(x - 1, bottom, face);
  }
  for (int j = 0; j <= h / 3; ++j) {
    const int y = r.Top + 3 * j;
    put(r.Left, y, black);
    put(right, y, black);
    put(r.Left, y - 1, face);
    put(right, y - 1, face);
  }
}

void CopyRect32(Bitmap32& dst, int x, int y, const Bitmap32& src, const TsRect& srcRect) {
  if (dst.Empty() || src.Empty()) return;
  // Source pixels that exist, then those whose destination exists.
  TsRect s = IntersectRect(srcRect, Bounds(src));
  if (IsRectEmpty(s)) return;
  const int dx = x - srcRect.Left, dy = y - srcRect.Top;  // source -> destination offset
  s = IntersectRect(s, OffsetRect(Bounds(dst), -dx, -dy));
  if (IsRectEmpty(s)) return;
  const std::size_t bytes = static_cast<std::size_t>(s.Width()) * 4;
  for (int sy = s.Top; sy < s.Bottom; ++sy)
    std::memmove(dst.Row(sy + dy) + s.Left + dx, src.Row(sy) + s.Left, bytes);
}

namespace {
// GDI's nearest-neighbour mapping of destination index i (0..d-1) to a source index
// (0..s-1), one axis at a time. Enlarging samples the source at the destination pixel's
// centre, ties going to the lower pixel; shrinking keeps the pixel half a source step before
// the end of each destination pixel's span, so the last source pixel always survives.
int64_t StretchSource(int64_t i, int64_t s, int64_t d) {
  return d >= s ? (2 * i * s + s - 1) / (2 * d) : (2 * i * s + 2 * s - d) / (2 * d);
}
}  // namespace

void StretchRect32(Bitmap32& dst, const TsRect& dstRect, const Bitmap32& src, const TsRect& srcRect) {
  if (dst.Empty() || src.Empty()) return;
  const int64_t dw = dstRect.Width(), dh = dstRect.Height();
  const int64_t sw = srcRect.Width(), sh = srcRect.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const TsRect clip = IntersectRect(dstRect, Bounds(dst));
  if (IsRectEmpty(clip)) return;
  // Source column for each destination column of the clipped area; -1 where it lies outside src.
  std::vector<int> cols(static_cast<std::size_t>(clip.Width()));
  for (int x = clip.Left; x < clip.Right; ++x) {
    const int64_t sx = srcRect.Left + StretchSource(x - dstRect.Left, sw, dw);
    cols[static_cast<std::size_t>(x - clip.Left)] = sx >= 0 && sx < src.Width() ? static_cast<int>(sx) : -1;
  }
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    const int64_t sy = srcRect.Top + StretchSource(y - dstRect.Top, sh, dh);
    if (sy < 0 || sy >= src.Height()) continue;
    const Pixel32* in = src.Row(static_cast<int>(sy));
    Pixel32* out = dst.Row(y) + clip.Left;
    for (std::size_t i = 0; i < cols.size(); ++i)
      if (cols[i] >= 0) out[i] = in[cols[i]];
  }
}

namespace {

// Tiles `tile` of src over `area` of dst, the tile grid anchored at `origin`; only the part
// of area inside dst is painted.
void TileArea(Bitmap32& dst, const TsRect& area, TsPoint origin, const Bitmap32& src, const TsRect& tile) {
  const int tw = tile.Width(), th = tile.Height();
  if (tw <= 0 || th <= 0) return;
  const TsRect a = IntersectRect(area, Bounds(dst));
  if (IsRectEmpty(a)) return;
  // First grid cell touching the area (floor division: the origin may lie right of or below it).
  auto floorDiv = [](int64_t n, int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); };
  const int64_t x0 = origin.X + floorDiv(int64_t{a.Left} - origin.X, tw) * tw;
  const int64_t y0 = origin.Y + floorDiv(int64_t{a.Top} - origin.Y, th) * th;
  for (int64_t ty = y0; ty < a.Bottom; ty += th) {
    for (int64_t tx = x0; tx < a.Right; tx += tw) {
      const TsRect cell{static_cast<int32_t>(tx), static_cast<int32_t>(ty), static_cast<int32_t>(tx + tw),
                        static_cast<int32_t>(ty + th)};
      const TsRect part = IntersectRect(cell, a);
      if (IsRectEmpty(part)) continue;
      const TsRect from{tile.Left + (part.Left - cell.Left), tile.Top + (part.Top - cell.Top),
                        tile.Left + (part.Right - cell.Left), tile.Top + (part.Bottom - cell.Top)};
      CopyRect32(dst, part.Left, part.Top, src, from);
    }
  }
}

TsRect OrNoRemainder(const TsRect& r) { return IsRectEmpty(r) ? kNoRemainder : r; }

}  // namespace

void PaintTexture(Bitmap32& dst, TsRect& rect, const Bitmap32* pattern, int mode, const TsMaskData* image) {
  if (dst.Empty() || IsRectEmpty(rect)) return;
  const TsRect r = rect;
  const TsPoint topLeft{r.Left, r.Top};
  if (pattern) {
    if (pattern->Empty()) return;
    TileArea(dst, r, topLeft, *pattern, Bounds(*pattern));
    rect = kNoRemainder;
    return;
  }
  if (!image) return;
  const Bitmap32* src = !image->Bmp.Empty() ? &image->Bmp : image->Manager ? &image->Manager->MasterBitmap : nullptr;
  if (!src || src->Empty()) return;
  const TsRect tile = IntersectRect(image->R, Bounds(*src));
  const int tw = tile.Width(), th = tile.Height();
  if (tw <= 0 || th <= 0) return;
  switch (mode) {
    case 0:
      TileArea(dst, r, topLeft, *src, tile);
      rect = kNoRemainder;
      break;
    case 1:
      StretchRect32(dst, r, *src, tile);
      rect = kNoRemainder;
      break;
    case 2: {
      const int h = std::min(th, r.Height());
      TileArea(dst, TsRect{r.Left, r.Top, r.Right, r.Top + h}, topLeft, *src, tile);
      rect = OrNoRemainder(TsRect{r.Left, r.Top + h, r.Right, r.Bottom});
      break;
    }
    case 3: {
      const int w = std::min(tw, r.Width());
      TileArea(dst, TsRect{r.Left, r.Top, r.Left + w, r.Bottom}, topLeft, *src, tile);
      rect = OrNoRemainder(TsRect{r.Left + w, r.Top, r.Right, r.Bottom});
      break;
    }
    case 4: {
      // One source row per destination row: only the width is stretched.
      const int h = std::min(th, r.Height());
      StretchRect32(dst, TsRect{r.Left, r.Top, r.Right, r.Top + h}, *src,
                    TsRect{tile.Left, tile.Top, tile.Right, tile.Top + h});
      rect = OrNoRemainder(TsRect{r.Left, r.Top + h, r.Right, r.Bottom});
      break;
    }
    case 5: {
      const int w = std::min(tw, r.Width());
      StretchRect32(dst, TsRect{r.Left, r.Top, r.Left + w, r.Bottom}, *src,
                    TsRect{tile.Left, tile.Top, tile.Left + w, tile.Bottom});
      rect = OrNoRemainder(TsRect{r.Left + w, r.Top, r.Right, r.Bottom});
      break;
    }
    case 6: {
      // The row's tiles sit on the bottom edge; a rectangle lower than a tile shows its lower part.
      const int h = std::min(th, r.Height());
      TileArea(dst, TsRect{r.Left, r.Bottom - h, r.Right, r.Bottom}, TsPoint{r.Left, r.Bottom - th}, *src, tile);
      rect = OrNoRemainder(TsRect{r.Left, r.Top, r.Right, r.Bottom - h});
      break;
    }
    case 7: {
      const int w = std::min(tw, r.Width());
      TileArea(dst, TsRect{r.Right - w, r.Top, r.Right, r.Bottom}, TsPoint{r.Right - tw, r.Top}, *src, tile);
      rect = OrNoRemainder(TsRect{r.Left, r.Top, r.Right - w, r.Bottom});
      break;
    }
    case 10: {
      // Whole rows only; in each row whole tiles and one partial last column.
      const int rows = r.Height() / th;
      TileArea(dst, TsRect{r.Left, r.Top, r.Right, r.Top + rows * th}, topLeft, *src, tile);
      rect = kNoRemainder;
      break;
    }
    default:
      break;
  }
}
