#include "framework/acPNG_win.h"

#include <algorithm>
#include <cstring>

#include "framework/Handles.h"

namespace {

// A DIB section of the image's own format and palette (the rows have the same layout).
UniqueBitmapHandle MakeDib(const TDibImage& image) {
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Palette[256];
  } info{};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = image.Width();
  info.Header.biHeight = -image.Height();
  info.Header.biPlanes = 1;
  info.Header.biBitCount = static_cast<WORD>(image.BitsPerPixel());
  info.Header.biCompression = BI_RGB;
  if (image.Indexed()) {
    const size_t colours = std::min<size_t>(image.Palette().size(), size_t{1} << image.BitsPerPixel());
    for (size_t i = 0; i < colours; ++i) {
      const Pixel32 p = image.Palette()[i];
      info.Palette[i] = RGBQUAD{p.B, p.G, p.R, 0};
    }
    info.Header.biClrUsed = static_cast<DWORD>(colours ? colours : 1);
  }
  void* bits = nullptr;
  UniqueBitmapHandle dib(
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) return UniqueBitmapHandle();
  std::memcpy(bits, image.Bits().data(), image.Bits().size());
  return dib;
}

// Stretches (or copies) the bitmap held by source DC onto dest of dc in `mode`.
void StretchInMode(HDC dc, const RECT& dest, HDC source, int sw, int sh, int mode) {
  const int old = SetStretchBltMode(dc, mode);
  POINT oldOrg{};
  if (mode == HALFTONE) SetBrushOrgEx(dc, 0, 0, &oldOrg);  // HALFTONE wants the brush origin reset
  StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source, 0, 0, sw, sh, SRCCOPY);
  if (mode == HALFTONE) SetBrushOrgEx(dc, oldOrg.x, oldOrg.y, nullptr);
  SetStretchBltMode(dc, old);
}

void DrawOrdinary(HDC dc, const RECT& dest, const TDibImage& image) {
  UniqueBitmapHandle dib = MakeDib(image);
  UniqueDC source(CreateCompatibleDC(dc));
  if (!dib || !source) return;
  SelectedObject selected(source.get(), dib.get());
  if (const auto key = image.TransparentColor()) {
    TransparentBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.get(), 0, 0,
                   image.Width(), image.Height(), RGB(key->R, key->G, key->B));
    return;
  }
  StretchInMode(dc, dest, source.get(), image.Width(), image.Height(), COLORONCOLOR);
}

// The 32-bit image at w x h: colour channels stretched COLORONCOLOR, alpha HALFTONE, joined.
Bitmap32 Stretched(const TDibImage& image, int w, int h) {
  const RECT all{0, 0, w, h};
  TBitmap colour(w, h, true);
  {
    UniqueBitmapHandle dib = MakeDib(image);
    UniqueDC source(CreateCompatibleDC(nullptr));
    if (!dib || !source) return Bitmap32();
    SelectedObject selected(source.get(), dib.get());
    StretchInMode(colour.Canvas().Handle(), all, source.get(), image.Width(), image.Height(), COLORONCOLOR);
  }
  // The alpha as a grey picture, so that halftone smooths it like a colour.
  TBitmap alphaSource(image.Width(), image.Height(), true);
  Bitmap32 grey = alphaSource.View();
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* p = image.ScanLine(y);
    Pixel32* row = grey.Row(y);
    for (int x = 0; x < image.Width(); ++x) row[x] = Pixel32{p[4 * x + 3], p[4 * x + 3], p[4 * x + 3], 255};
  }
  TBitmap alpha(w, h, true);
  StretchInMode(alpha.Canvas().Handle(), all, alphaSource.Canvas().Handle(), image.Width(), image.Height(), HALFTONE);

  Bitmap32 out(w, h);
  const Bitmap32 c = colour.View(), a = alpha.View();
  for (int y = 0; y < h; ++y) {
    const Pixel32* cr = c.Row(y);
    const Pixel32* ar = a.Row(y);
    Pixel32* o = out.Row(y);
    for (int x = 0; x < w; ++x) o[x] = Pixel32{cr[x].B, cr[x].G, cr[x].R, ar[x].G};
  }
  return out;
}

}  // namespace

void DrawDibImage(TCanvas& canvas, const RECT& dest, const TDibImage& image) {
  const int w = dest.right - dest.left, h = dest.bottom - dest.top;
  HDC dc = canvas.Handle();
  if (image.Empty() || w <= 0 || h <= 0 || !dc) return;
  if (image.PixelFormat() != TPixelFormat::pf32bit) {
    DrawOrdinary(dc, dest, image);
    return;
  }
  const Bitmap32 picture = (w == image.Width() && h == image.Height()) ? image.ToBitmap32() : Stretched(image, w, h);
  if (picture.Empty()) return;
  TBitmap work(w, h, true);
  HDC workDc = work.Canvas().Handle();
  BitBlt(workDc, 0, 0, w, h, dc, dest.left, dest.top, SRCCOPY);
  Bitmap32 pixels = work.View();
  BlendStraightAlpha(pixels, picture);
  BitBlt(dc, dest.left, dest.top, w, h, workDc, 0, 0, SRCCOPY);
}

std::unique_ptr<TGraphic> CreatePNGPictureGraphic() { return std::make_unique<TPNGPictureGraphic>(); }
