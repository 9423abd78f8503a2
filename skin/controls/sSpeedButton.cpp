#include "skin/controls/sSpeedButton.h"

#include <windowsx.h>

#include <algorithm>

#include "skin/data/sSkinManager_win.h"
#include "skin/render/sGraphUtils_win.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sStyleSimply_win.h"

TsSpeedButton::TsSpeedButton(TComponent* AOwner)
    : TCustomControl(AOwner), skinData_(std::make_unique<TsCommonData>(this, ccSpeedButton)) {
  SetControlStyle((ControlStyle() | csOpaque) & ~static_cast<uint32_t>(csSetCaption));
  SetBounds(0, 0, 23, 22);
}

TsSpeedButton::~TsSpeedButton() { StopFade(fade_, *skinData_); }

void TsSpeedButton::Loaded() {
  TCustomControl::Loaded();
  skinData_->InitSkin();
}

void TsSpeedButton::SetGlyph(const TsAlphaImageList* images, int index, int cellWidth) {
  images_ = images;
  imageIndex_ = index;
  cellWidth_ = cellWidth;
  Invalidate();
}

int TsSpeedButton::CurrentState() const {
  if (pressed_) return 2;
  return skinData_->MouseOver && Enabled() ? 1 : 0;
}

void TsSpeedButton::PrepareCache() {
  TsCommonData& sd = *skinData_;
  sd.InitCache();
  if (!sd.Cache() || sd.Cache()->Empty()) return;
  Bitmap32 view = sd.CacheView();
  BackgroundSource bg;
  sd.GetOwnBgInfo(bg);
  const TsGeneralData* section = sd.Section();
  const int states = section ? std::max(1, section->States) : 1;
  const int state = std::min(CurrentState(), states - 1);
  if (sd.IsSkinned())
    PaintSection(sd.Binding(), bg, true, view, TsPoint{Left(), Top()}, TsRect{0, 0, Width(), Height()}, state);
  else
    FillRect32(view, TsRect{0, 0, Width(), Height()}, ColorToRGB(Color()));
  if (images_ && imageIndex_ >= 0) {
    const int cell = !Enabled() ? gcDisabled : pressed_ ? gcPressed : gcNormal;
    const int h = images_->Height();
    // Pressed, the glyph moves down and right by one pixel as the face sinks.
    const int shift = pressed_ ? 1 : 0;
    images_->DrawCell(view, (Width() - cellWidth_) / 2 + shift, (Height() - h) / 2 + shift, imageIndex_, cell,
                      cellWidth_);
  }
  if (!Enabled() && sd.IsSkinned()) PaintDisabledLookWin(view, dkBlended, Parent(), TsPoint{Left(), Top()}, bg);
  sd.CacheStale = false;
}

void TsSpeedButton::Paint() {
  // A running fade has the new face in the cache already and shows its frames itself.
  if (!fade_ || skinData_->CacheStale) PrepareCache();
  TsCommonData& sd = *skinData_;
  if (sd.Cache() && !sd.Cache()->Empty())
    BitBlt(Canvas().Handle(), 0, 0, Width(), Height(), sd.Cache()->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsSpeedButton::MouseEnter() {
  TsCommonData& sd = *skinData_;
  sd.MouseOver = true;
  if (Enabled() && !pressed_)
    ChangePaint(fade_, sd, false, 1, AnimationAllowed(evMouseEnter, aeGlobalDef, sd.SkinManager()));
  TCustomControl::MouseEnter();
}

void TsSpeedButton::MouseLeave() {
  TsCommonData& sd = *skinData_;
  sd.MouseOver = false;
  if (Enabled() && !pressed_)
    ChangePaint(fade_, sd, false, 2, AnimationAllowed(evMouseLeave, aeGlobalDef, sd.SkinManager()));
  TCustomControl::MouseLeave();
}

// A press shows at once.
void TsSpeedButton::PressChanged(bool pressed) {
  if (pressed == pressed_) return;
  pressed_ = pressed;
  StopFade(fade_, *skinData_);
  skinData_->CacheStale = true;
  Repaint();
}

void TsSpeedButton::SkinCommand(TMessage& m) {
  TsCommonData& sd = *skinData_;
  switch (m.WParamHi()) {
    case SkinCommand::IsHandled:
      m.Result = 1;
      return;
    case SkinCommand::PrepareCache:
      PrepareCache();
      return;
    case SkinCommand::PaintFadeFrame:
      m.Result = 0;  // the fade copies its frame to the window itself
      return;
    case SkinCommand::NewSkin:
    case SkinCommand::RemoveSkin:
    case SkinCommand::RefreshSkin:
      StopFade(fade_, sd);
      CommonSkinHandler(m, sd);
      sd.CacheStale = true;
      Invalidate();
      return;
    case SkinCommand::AnimationDone:
      StopFade(fade_, sd);
      return;
    default:
      CommonSkinHandler(m, sd);
  }
}

void TsSpeedButton::WndProc(TMessage& m) {
  TsCommonData& sd = *skinData_;
  switch (m.Msg) {
    case SM_ALPHACMD:
      SkinCommand(m);
      return;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Enabled()) break;
      held_ = true;
      SetCapture(Handle());
      PressChanged(true);
      m.Result = 0;
      return;
    case WM_MOUSEMOVE:
      if (held_) {
        const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        const RECT r = ClientRect();
        PressChanged(PtInRect(&r, p) != FALSE);
      }
      break;
    case WM_LBUTTONUP: {
      if (!held_) break;
      const bool click = pressed_;
      held_ = false;
      ReleaseCapture();
      PressChanged(false);
      if (click) Click();  // last: the click may open a modal dialog or free this button
      m.Result = 0;
      return;
    }
    case WM_CAPTURECHANGED:
      held_ = false;
      PressChanged(false);
      break;
    case CM_ENABLEDCHANGED:
      StopFade(fade_, sd);
      sd.CacheStale = true;
      TCustomControl::WndProc(m);
      Invalidate();
      return;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}
