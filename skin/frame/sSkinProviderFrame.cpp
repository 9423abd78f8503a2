// The form as the host of its skinned frame: its sizes, caption, title buttons and system
// menu as the frame sees them, and the title bar's hit codes.
#include <algorithm>

#include "skin/data/sSkinManager_win.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/render/acGlow_win.h"

namespace {

// Read once: the caption heights do not change while the program runs.
int CaptionMetric(bool tool) {
  static const int normal = GetSystemMetrics(SM_CYCAPTION);
  static const int small = GetSystemMetrics(SM_CYSMCAPTION);
  return tool ? small : normal;
}

bool BigFrame(TFormBorderStyle bs) { return bs == TFormBorderStyle::bsSingle || bs == TFormBorderStyle::bsSizeable; }

}  // namespace

TsFrameMetrics TsSkinProvider::Metrics() const {
  TsFrameMetrics m;
  if (!form_->HandleAllocated()) return m;
  const HWND wnd = form_->Handle();
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
  if (style & WS_THICKFRAME)
    m.SideBorder = GetSystemMetrics(SM_CXFRAME);
  else if (style & WS_BORDER)
    m.SideBorder = GetSystemMetrics(SM_CXDLGFRAME);
  const TFormBorderStyle bs = form_->BorderStyle();
  const bool minimized = IsIconic(wnd) != FALSE;
  if ((bs != TFormBorderStyle::bsNone && (style & WS_CAPTION) == WS_CAPTION) || minimized) {
    const bool tool = bs == TFormBorderStyle::bsToolWindow || bs == TFormBorderStyle::bsSizeToolWin;
    m.CaptionHeight = CaptionMetric(tool && !minimized);
  }
  return m;
}

POINT TsSkinProvider::ClientOrigin() const {
  if (!form_->HandleAllocated()) return POINT{0, 0};
  RECT r{}, c{};
  GetWindowRect(form_->Handle(), &r);
  GetClientRect(form_->Handle(), &c);
  const LONG_PTR style = GetWindowLongPtrA(form_->Handle(), GWL_STYLE);
  const int bottom = (style & WS_BORDER) ? Metrics().SideBorder : 0;
  return POINT{(r.right - r.left - c.right) / 2, r.bottom - r.top - c.bottom - bottom};
}

int TsSkinProvider::State() const {
  const TsGeneralData* g = skinData_->Section();
  return g ? std::min(formActive_ ? 1 : 0, std::max(g->States - 1, 0)) : 0;
}

TColor TsSkinProvider::FormColor() const {
  const TsGeneralData* g = skinData_->Section();
  if (!g || skinData_->CustomColor()) return ColorToRGB(form_->Color());
  return formActive_ && g->States > 1 ? g->HotColor : g->Color;
}

// ---- What the frame asks ------------------------------------------------------------------

HWND TsSkinProvider::FrameWindow() const { return form_->HandleAllocated() ? form_->Handle() : nullptr; }

TacCaptionLook TsSkinProvider::CaptionLook() const {
  TacCaptionLook look;
  look.Fitted = true;
  look.Align = CaptionAlignment == TAlignment::taCenter        ? TsCaptionAlign::Centre
               : CaptionAlignment == TAlignment::taRightJustify ? TsCaptionAlign::Right
                                                                : TsCaptionAlign::Left;
  look.Enabled = form_->Enabled();
  look.Charset = form_->Font().Charset();
  return look;
}

bool TsSkinProvider::FrameZoomed() const { return form_->HandleAllocated() && IsZoomed(form_->Handle()); }

std::string TsSkinProvider::TitleSection() const { return TitleSkin.empty() ? std::string("FORMTITLE") : TitleSkin; }

bool TsSkinProvider::ButtonShown(TsTitleButton b) const {
  switch (b) {
    case tbClose: return sysMenu_ && sysMenu_->VisibleClose();
    case tbMaximize: return sysMenu_ && sysMenu_->VisibleMax();
    case tbMinimize: return sysMenu_ && sysMenu_->VisibleMin();
    case tbHelp: return (form_->BorderIcons() & biHelp) != 0;
  }
  return false;
}

bool TsSkinProvider::ButtonEnabled(int32_t hitCode) const {
  if (!sysMenu_ || !form_->HandleAllocated()) return true;
  if (hitCode == kHtMaxButton) return FrameZoomed() ? sysMenu_->EnabledRestore() : sysMenu_->EnabledMax();
  if (hitCode == kHtMinButton) return sysMenu_->EnabledMin();
  return true;
}

bool TsSkinProvider::ButtonPressable(int32_t hitCode) const {
  return !(hitCode == kHtMaxButton && sysMenu_ &&
           !(sysMenu_->EnabledMax() || (IsZoomed(form_->Handle()) && sysMenu_->EnabledRestore())));
}

bool TsSkinProvider::BigSetSpacing() const { return BigFrame(form_->BorderStyle()); }

bool TsSkinProvider::FrameCanPrepare() const {
  return form_->HandleAllocated() && !form_->HasState(csLoading | csReading) && IsSkinned();
}

bool TsSkinProvider::TitleAnimationsAllowed() const {
  return GlowingAllowed(skinData_->Manager()) && life_.TitleAnimationsAllowed() && !activating_;
}

std::optional<std::vector<TsSysMenuItem>> TsSkinProvider::SystemMenuItems() {
  if (!sysMenu_ || !form_->HandleAllocated()) return std::nullopt;
  sysMenu_->UpdateItems();
  return sysMenu_->Items();
}

void TsSkinProvider::FrameCacheMade() {
  SendToChildren(form_, SM_ALPHACMD, MakeSkinCommand(SkinCommand::ControlSkinState), 1);
}

void TsSkinProvider::ChooseButtonImages() {
  StopTitleAnimations();
  frame_.ResetButtons();
  if (!skinData_->Model() || !IsSkinned()) return;
  frame_.ChooseButtonImages(BigFrame(form_->BorderStyle()),
                            sysMenu_ && !sysMenu_->VisibleMax() && !sysMenu_->VisibleMin());
}

// ---- Hit codes ------------------------------------------------------------------------------

int32_t TsSkinProvider::HitTest(POINT screen) {
  if (!form_->HandleAllocated()) return kHtNowhere;
  RECT wr;
  GetWindowRect(form_->Handle(), &wr);
  const TsTitleLayout layout = TitleLayout();
  TsHitTestInput in;
  in.Point = TsPoint{screen.x - wr.left, screen.y - wr.top};
  in.WindowWidth = wr.right - wr.left;
  in.WindowHeight = wr.bottom - wr.top;
  in.Metrics = Metrics();
  in.Layout = &layout;
  const TsTitleLayoutInput li = frame_.LayoutInput();
  for (int b = 0; b < kSystemButtons; ++b) in.Shown[static_cast<size_t>(b)] = li.System[static_cast<size_t>(b)].Visible;
  if (sysMenu_) {
    in.EnabledMax = sysMenu_->EnabledMax();
    in.EnabledRestore = sysMenu_->EnabledRestore();
    in.EnabledMin = sysMenu_->EnabledMin();
  }
  in.Minimized = IsIconic(form_->Handle()) != FALSE;
  in.Maximized = IsZoomed(form_->Handle()) != FALSE;
  in.SizingFrame = (GetWindowLongPtrA(form_->Handle(), GWL_STYLE) & WS_THICKFRAME) != 0;
  const int32_t code = TitleHitTest(in);
  if (IsTitleButtonCode(code)) {
    frame_.MoveHot(code);
  } else if (code >= kHtLeft && code <= kHtBottomRight) {
    frame_.MoveHot(-1);
  }
  return code;
}
