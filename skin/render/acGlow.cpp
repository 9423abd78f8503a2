#include "skin/render/acGlow.h"

#include <algorithm>

#include "skin/data/sSkinModel.h"
#include "skin/render/sBorderMask.h"
#include "skin/render/sGraphUtils.h"

namespace {

const Bitmap32* ImageSource(const TsMaskData& image) {
  if (!image.Bmp.Empty()) return &image.Bmp;
  return image.Manager && !image.Manager->MasterBitmap.Empty() ? &image.Manager->MasterBitmap : nullptr;
}

int32_t Side(int16_t own, int16_t borderMode) { return own > 0 ? own : std::max<int32_t>(borderMode, 0); }

// The first cell; an image count of 0 counts as 1.
TsRect FirstCell(const TsMaskData& image) {
  const int32_t w = image.R.Width() / std::max<int32_t>(image.ImageCount, 1);
  return TsRect{image.R.Left, image.R.Top, image.R.Left + w, image.R.Top + image.CellHeight()};
}

}  // namespace

void Premultiply(Bitmap32& bmp) {
  for (int y = 0; y < bmp.Height(); ++y) {
    Pixel32* row = bmp.Row(y);
    for (int x = 0; x < bmp.Width(); ++x) {
      Pixel32& p = row[x];
      if (p.A == 255) continue;
      auto mul = [a = p.A](uint8_t c) { return static_cast<uint8_t>((c * a + 127) / 255); };
      p = Pixel32{mul(p.B), mul(p.G), mul(p.R), p.A};
    }
  }
}

TsGlowSides GlowSides(const TsMaskData& image, int32_t targetWidth, int32_t targetHeight, int32_t margin) {
  TsGlowSides s{Side(image.WL, image.BorderMode), Side(image.WT, image.BorderMode), Side(image.WR, image.BorderMode),
                Side(image.WB, image.BorderMode), false};
  if (s.L || s.T || s.R || s.B) return s;
  // Nine pieces of widths taken from the cell itself would each be the whole picture (and
  // leave no middle to stretch): such an image is shown as it is instead.
  const TsRect cell = FirstCell(image);
  const int32_t dx = std::max(cell.Width() - targetWidth, 0), dy = std::max(cell.Height() - targetHeight, 0);
  return TsGlowSides{dx / 2 + margin, dy / 2 + margin, dx - dx / 2 + margin, dy - dy / 2 + margin, true};
}

TsGlowPlacement PlaceGlow(const TsRect& target, const TsRect& clip, int32_t margin, const TsGlowSides& s) {
  TsGlowPlacement p;
  const int32_t tw = target.Width(), th = target.Height();
  p.FullWidth = tw + s.L + s.R - 2 * margin;
  p.FullHeight = th + s.T + s.B - 2 * margin;
  if (p.FullWidth <= 0 || p.FullHeight <= 0) return p;
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  if (clip.Width() != tw || clip.Height() != th) {
    if (clip.Left != 0) left = s.L + clip.Left - margin;
    if (clip.Top != 0) top = s.T + clip.Top - margin;
    if (clip.Right != tw) right = left ? p.FullWidth - left - clip.Width() : tw + s.R - clip.Width() - margin;
    if (clip.Bottom != th) bottom = top ? p.FullHeight - top - clip.Height() : th + s.B - clip.Height() - margin;
  }
  // A margin wider than a side would make a cut negative: nothing is cut there.
  left = std::clamp(left, 0, p.FullWidth);
  top = std::clamp(top, 0, p.FullHeight);
  right = std::clamp(right, 0, p.FullWidth - left);
  bottom = std::clamp(bottom, 0, p.FullHeight - top);
  p.Kept = TsRect{left, top, p.FullWidth - right, p.FullHeight - bottom};
  if (IsRectEmpty(p.Kept)) p.Kept = TsRect{};
  const int32_t x = target.Left + margin - s.L + left, y = target.Top + margin - s.T + top;
  p.Window = TsRect{x, y, x + p.Kept.Width(), y + p.Kept.Height()};
  return p;
}

Bitmap32 GlowWindowPicture(const TsMaskData& image, const TsGlowSides& sides, const TsGlowPlacement& place) {
  const Bitmap32* src = ImageSource(image);
  if (!src || place.Empty()) return Bitmap32();
  Bitmap32 full(place.FullWidth, place.FullHeight);
  if (sides.Whole) {
    const TsRect cell = FirstCell(image);
    CopyRect32(full, (place.FullWidth - cell.Width()) / 2, (place.FullHeight - cell.Height()) / 2, *src, cell);
  } else {
    TsMaskData laid = image;
    laid.WL = static_cast<int16_t>(sides.L);
    laid.WT = static_cast<int16_t>(sides.T);
    laid.WR = static_cast<int16_t>(sides.R);
    laid.WB = static_cast<int16_t>(sides.B);
    PaintBorderMask(full, TsRect{0, 0, place.FullWidth, place.FullHeight}, laid, 0, false, BackgroundSource{});
  }
  Bitmap32 kept(place.Kept.Width(), place.Kept.Height());
  CopyRect32(kept, 0, 0, full, place.Kept);
  Premultiply(kept);
  return kept;
}

Bitmap32 GlowImagePicture(const TsMaskData& image) {
  const Bitmap32* src = ImageSource(image);
  const TsRect cell = FirstCell(image);
  if (!src || IsRectEmpty(cell)) return Bitmap32();
  Bitmap32 picture(cell.Width(), cell.Height());
  CopyRect32(picture, 0, 0, *src, cell);
  Premultiply(picture);
  return picture;
}

TsPoint GlowPictureOffset(int32_t margin, int32_t pictureWidth, int32_t pictureHeight, int32_t buttonWidth,
                          int32_t buttonHeight) {
  if (margin != 0) return TsPoint{-margin, -margin};
  return TsPoint{-(pictureWidth - buttonWidth) / 2, -(pictureHeight - buttonHeight) / 2};
}

TsRect WindowlessGlowClip(const TsRect& parentClip, const TsRect& control) {
  const int32_t w = control.Width(), h = control.Height();
  return TsRect{control.Left < 0 ? -control.Left : 0, control.Top < 0 ? -control.Top : 0,
                parentClip.Right < control.Right ? parentClip.Right - control.Left : w,
                parentClip.Bottom < control.Bottom ? parentClip.Bottom - control.Top : h};
}
