#include "skin/controls/acSizeGrip.h"

#include "skin/data/sSkinManager_win.h"
#include "skin/render/sStateImage.h"

namespace {

const TsMaskData* GripImage() {
  TsSkinManager* manager = DefaultManager();
  if (!manager || !manager->SkinActive()) return nullptr;
  const TsSkinModel& model = manager->Model();
  const int32_t i = model.FindImage("GLOBALINFO", "GRIPIMAGE");
  if (i < 0 || i >= static_cast<int32_t>(model.Images.size())) return nullptr;
  return &model.Images[static_cast<size_t>(i)];
}

}  // namespace

TsSizeGrip::TsSizeGrip(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() & ~static_cast<uint32_t>(csCaptureMouse | csClickEvents));
}

void TsSizeGrip::SetParent(TWinControl* parent) {
  TGraphicControl::SetParent(parent);
  Place();
}

void TsSizeGrip::Place() {
  if (!Parent()) return;
  const TsMaskData* image = GripImage();
  const int w = image ? image->CellWidth() : GetSystemMetrics(SM_CXVSCROLL);
  const int h = image ? image->CellHeight() : GetSystemMetrics(SM_CYHSCROLL);
  SetAnchors(akLeft | akTop);
  SetBounds(Parent()->ClientWidth() - w, Parent()->ClientHeight() - h, w, h);
  SetAnchors(akRight | akBottom);
}

bool TsSizeGrip::Contains(POINT p) const {
  const RECT r = BoundsRect();
  return Visible() && PtInRect(&r, p);
}

void TsSizeGrip::Paint() {
  const TsMaskData* image = GripImage();
  if (!image || Width() <= 0 || Height() <= 0) return;
  HDC dc = Canvas().Handle();
  // What the form painted here is the background the grip's key pixels show.
  TBitmap shot(Width(), Height(), true);
  BitBlt(shot.Canvas().Handle(), 0, 0, Width(), Height(), dc, 0, 0, SRCCOPY);
  Bitmap32 view = shot.View();
  Bitmap32 under(view.Width(), view.Height());  // copies of a view would share its pixels
  for (int y = 0; y < view.Height(); ++y)
    for (int x = 0; x < view.Width(); ++x) under.At(x, y) = view.At(x, y);
  PaintStateImage(view, TsPoint{0, 0}, 0, MakeBgInfo(&under, 0, 0), *image, 1);
  BitBlt(dc, 0, 0, Width(), Height(), shot.Canvas().Handle(), 0, 0, SRCCOPY);
}
