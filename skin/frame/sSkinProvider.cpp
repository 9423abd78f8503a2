// The provider's life and its window procedure: the skin commands, activation, caption
// changes, the client background and the title bar's mouse.
#include "skin/frame/sSkinProvider.h"

#include <windowsx.h>

#include "framework/Handles.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sFade_win.h"
#include "skin/render/sStyleSimply_win.h"

namespace {

constexpr UINT kMsgEditorIdle = 0xB04C;
constexpr UINT kMsgRegionQuery = 0xBC4D;
constexpr UINT kMsgTaskbarSysMenu = 0x0313;

bool IsRedrawCommand(uint16_t command) {
  return command == SkinCommand::NewSkin || command == SkinCommand::RemoveSkin || command == SkinCommand::RefreshSkin;
}

}  // namespace

TsSkinProvider* FindSkinProvider(TForm* form) {
  if (!form) return nullptr;
  const LRESULT p = form->Perform(SM_ALPHACMD, MakeSkinCommand(SkinCommand::GetProvider), 0);
  return dynamic_cast<TsSkinProvider*>(reinterpret_cast<TObject*>(p));
}

TsSkinProvider::TsSkinProvider(TComponent* AOwner, bool createdAtRunTime)
    : TComponent(AOwner), form_(dynamic_cast<TForm*>(AOwner)) {
  if (!form_) throw EAbort("TsSkinProvider component may be used with forms only!");
  acPreview().CheckCommandLine();
  if (TsSkinProvider* existing = FindSkinProvider(form_)) {
    if (existing->life_.Unprepared()) {
      existing->Free();  // made by the hook and never used: this one takes over
    } else {
      inert_ = true;
    }
  }
  skinData_ = std::make_unique<TsCommonData>(form_, ccSkinProvider);
  skinData_->SetSkinSection("FORM");
  if (inert_) return;
  if (createdAtRunTime) {
    life_ = TsFormLife(TsFormState::Unprepared);
    UseGlobalColor = false;
    MakeSkinMenu = false;
  }
  form_->SetDoubleBuffered(false);
  formProc_ = form_->WindowProc;
  form_->WindowProc = [this](TMessage& m) { ProviderWndProc(m); };
  form_->CreateParamsFilter = [this](TCreateParams& p) { FilterCreateParams(p); };
  if (!form_->HasState(csLoading | csReading)) {
    skinData_->UpdateIndexes();
    // A provider made at run time prepares the form once the window first asks for its frame.
    if (form_->HandleAllocated() && !life_.Unprepared()) {
      PrepareForm();
      RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
  }
}

TsSkinProvider::~TsSkinProvider() {
  *alive_ = false;
  if (inert_) return;
  StopTitleAnimations();
  adapter_.reset();
  DropMinimizeAnimation();
  if (form_->HandleAllocated()) KillTimer(form_->Handle(), kHotWatchTimer);
  form_->WindowProc = formProc_;
  form_->CreateParamsFilter = nullptr;
}

void TsSkinProvider::Loaded() {
  TComponent::Loaded();
  skinData_->UpdateIndexes();
}

bool TsSkinProvider::IsSkinned() const { return skinData_->IsSkinned(); }

bool TsSkinProvider::Showing() const {
  return form_->Showing() && form_->HandleAllocated() && IsWindowVisible(form_->Handle());
}

void TsSkinProvider::SetDrawNonClientArea(bool value) {
  if (value == drawNonClientArea_) return;
  drawNonClientArea_ = value;
  if (!form_->HandleAllocated()) return;
  if (value) {
    KeepSystemMenuOff();
  } else if (sysMenu_ && sysMenu_->HadSystemMenu) {
    SetWindowLongPtrA(form_->Handle(), GWL_STYLE, GetWindowLongPtrA(form_->Handle(), GWL_STYLE) | WS_SYSMENU);
  }
  frame_.MarkRegionChanged();
  skinData_->CacheStale = true;
  RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

// ---- Preparing and unpreparing the form ------------------------------------------------

void TsSkinProvider::FilterCreateParams(TCreateParams& p) {
  if (!(p.Style & WS_SYSMENU)) return;
  if (!sysMenu_) sysMenu_ = std::make_unique<TsSystemMenu>(form_);
  sysMenu_->HadSystemMenu = true;
  if (drawNonClientArea_ && IsSkinned()) p.Style &= ~static_cast<DWORD>(WS_SYSMENU);
}

// While the provider draws the frame Windows must draw no buttons or system menu of its
// own. The window's system menu is made first: the skinned menu takes its texts from it.
void TsSkinProvider::KeepSystemMenuOff() {
  if (!form_->HandleAllocated() || !drawNonClientArea_) return;
  const HWND wnd = form_->Handle();
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
  if (!sysMenu_) sysMenu_ = std::make_unique<TsSystemMenu>(form_);
  if (style & WS_SYSMENU) sysMenu_->HadSystemMenu = true;
  if (!sysMenu_->HadSystemMenu) return;
  // Windows makes a window's system menu only while the style has WS_SYSMENU.
  if (!GetSystemMenu(wnd, FALSE) && !(style & WS_SYSMENU)) {
    SetWindowLongPtrA(wnd, GWL_STYLE, style | WS_SYSMENU);
    GetSystemMenu(wnd, FALSE);
    SetWindowLongPtrA(wnd, GWL_STYLE, style);
  }
  if (style & WS_SYSMENU) SetWindowLongPtrA(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
}

void TsSkinProvider::PrepareForm() {
  skinData_->UpdateIndexes();
  if (!sysMenu_) sysMenu_ = std::make_unique<TsSystemMenu>(form_);
  if (IsSkinned()) KeepSystemMenuOff();
  ChooseButtonImages();
  frame_.MarkRegionChanged();
  skinData_->CacheStale = true;
  if (UseGlobalColor && !skinData_->CustomColor() && IsSkinned())
    if (TsSkinManager* m = skinData_->Manager()) form_->SetColor(m->GetGlobalColor());
  if (sysMenu_) sysMenu_->UpdateItems();
  AdaptControls();
}

void TsSkinProvider::AdaptControls(TWinControl* container) {
  if (!IsSkinned() || form_->HasState(csDestroying)) return;
  if (!adapter_) {
    adapter_ = std::make_unique<TacCtrlAdapter>(form_, skinData_->Manager());
    adapter_->OnSkinItem = [this](TControl* c, bool& allow, std::string& section) {
      if (OnSkinItem) OnSkinItem(c, allow, section);
    };
  }
  adapter_->Adapt(container);
}

void TsSkinProvider::InitRunTime() {
  if (life_.Apply(TsFormEvent::Prepare)) PrepareForm();
}

void TsSkinProvider::RemoveSkin() {
  ClearHot();
  StopTitleAnimations();
  adapter_.reset();
  DropMinimizeAnimation();
  skinData_->CacheStale = true;
  if (form_->HasState(csDestroying) || !form_->HandleAllocated()) return;
  const HWND wnd = form_->Handle();
  if (sysMenu_ && sysMenu_->HadSystemMenu)
    SetWindowLongPtrA(wnd, GWL_STYLE, GetWindowLongPtrA(wnd, GWL_STYLE) | WS_SYSMENU);
  SetWindowRgn(wnd, nullptr, FALSE);
  frame_.MarkRegionChanged();
  RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
  if (UseGlobalColor && !skinData_->CustomColor()) form_->SetColor(clBtnFace);
  // Standard labels the adapter recoloured get the system's text colour back.
  for (int i = 0; i < form_->ControlCount(); ++i)
    if (TControl* c = form_->Controls(i); c->ClassName() == "TLabel") c->Font().SetColor(clWindowText);
  if (skinData_->Cache()) skinData_->ReleaseCache();
}

void TsSkinProvider::SkinAgain() {
  StopTitleAnimations();
  skinData_->UpdateIndexes();
  KeepSystemMenuOff();
  ChooseButtonImages();
  skinData_->CacheStale = true;
  frame_.MarkRegionChanged();
  if (UseGlobalColor && !skinData_->CustomColor())
    if (TsSkinManager* m = skinData_->Manager()) form_->SetColor(m->GetGlobalColor());
  AdaptControls();
}

// ---- The window procedure -------------------------------------------------------------

void TsSkinProvider::ProviderWndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD && AlwaysAnsweredCommand(m)) return;
  if (m.Msg == kMsgSkinEditor) {
    PreviewMessage(m);
    return;
  }
  if (m.Msg == WM_COPYDATA && PreviewCopyData(m)) return;
  // The window is made while the form is being shown: the first notice a provider can see
  // of that is the window's own.
  if (m.Msg == WM_SHOWWINDOW && m.WParam && acPreview().Mode) BecomePreviewWindow();
  if (form_->HasState(csDestroying) || !IsSkinned()) {
    UnskinnedWndProc(m);
    return;
  }
  if (m.Msg == SM_ALPHACMD) {
    SkinCommand(m);
    return;
  }
  SkinnedWndProc(m);
}

bool TsSkinProvider::AlwaysAnsweredCommand(TMessage& m) {
  TsCommonData& sd = *skinData_;
  auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
  switch (m.WParamHi()) {
    case SkinCommand::NewSkin:
      if (manager == sd.Manager() && !sysMenu_) sysMenu_ = std::make_unique<TsSystemMenu>(form_);
      return false;
    case SkinCommand::RemoveSkin:
      if (manager && manager == sd.Manager()) {
        CommonSkinHandler(m, sd);
        SendToChildren(form_, m.Msg, m.WParam, m.LParam);
        RemoveSkin();
      } else {
        SendToChildren(form_, m.Msg, m.WParam, m.LParam);
      }
      return true;
    case SkinCommand::IsHandled:
      m.Result = 1;
      return true;
    case SkinCommand::GetProvider:
      m.Result = reinterpret_cast<LRESULT>(static_cast<TObject*>(this));
      return true;
    case SkinCommand::UpdatingOff:
      return true;
    case SkinCommand::GetBackgroundInfo: {
      auto* q = reinterpret_cast<ParentBgQuery*>(m.LParam);
      if (!q) return true;
      if (IsSkinned() && (sd.CacheStale || !frame_.CacheMatchesWindow()) && !sd.PaintingSuspended) PrepareFrameCache();
      sd.FillBgQuery(*q, State());
      if (q->AnswerKind == akBitmap) {
        const POINT origin = ClientOrigin();
        q->Offset.X += origin.x;
        q->Offset.Y += origin.y;
      }
      return true;
    }
    case SkinCommand::ControlSkinState:
      if (m.LParam == 1) return CommonSkinHandler(m, sd);
      m.Result = sd.StateFlags;
      return true;
    case SkinCommand::GetApplication:
      m.Result = reinterpret_cast<LRESULT>(Application);
      return true;
    case SkinCommand::ClientOrigin: {
      const POINT origin = ClientOrigin();
      m.Result = MAKELONG(origin.x, origin.y);
      return true;
    }
    default:
      return false;
  }
}

void TsSkinProvider::UnskinnedWndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD) {
    auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
    if (m.WParamHi() == SkinCommand::NewSkin && manager && manager == skinData_->Manager() &&
        !form_->HasState(csDestroying)) {
      CommonSkinHandler(m, *skinData_);
      SkinAgain();
      SendToChildren(form_, m.Msg, m.WParam, m.LParam);
      if (Showing())
        RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
      return;
    }
    CommonSkinHandler(m, *skinData_);
    if (IsRedrawCommand(m.WParamHi())) SendToChildren(form_, m.Msg, m.WParam, m.LParam);
    return;
  }
  formProc_(m);
}

void TsSkinProvider::SkinCommand(TMessage& m) {
  TsCommonData& sd = *skinData_;
  auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
  const bool own = manager && manager == sd.Manager();
  switch (m.WParamHi()) {
    case SkinCommand::NewSkin:
      if (!own) return;
      CommonSkinHandler(m, sd);
      SkinAgain();
      SendToChildren(form_, m.Msg, m.WParam, m.LParam);
      if (Showing())
        RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
      return;
    case SkinCommand::RefreshSkin:
      if (!own) return;
      CommonSkinHandler(m, sd);
      SendToChildren(form_, m.Msg, m.WParam, m.LParam);
      frame_.MarkRegionChanged();
      if (Showing()) {
        sd.CacheStale = true;
        if (!acEngine().EffectRunning)
          RedrawWindow(form_->Handle(), nullptr, nullptr,
                       RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        sd.PaintingSuspended = false;
        if (sysMenu_) sysMenu_->UpdateItems();
      }
      return;
    case SkinCommand::ResumePainting:
      if (sd.PaintingSuspended) {
        sd.PaintingSuspended = false;
        if (form_->HandleAllocated()) RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      }
      return;
    case SkinCommand::SetUpdating:
      sd.PaintingSuspended = m.WParamLo() == 1;
      if (sd.IsPaintingSuspended()) sd.CacheStale = true;
      return;
    case SkinCommand::SetUrgentPainting:
      CommonSkinHandler(m, sd);
      if (sd.UrgentPaint) PrepareFrameCache();
      return;
    case SkinCommand::GetNeedsRepaint:
      m.Result = !acEngine().EffectRunning && sd.MustRepaint() && sd.PaintingSuspended;
      return;
    case SkinCommand::BackgroundChanged:
      sd.CacheStale = true;
      return;
    case SkinCommand::GetTransparency: {
      const TsGeneralData* g = sd.Section();
      m.Result = g && g->GradientPercent + g->ImagePercent > 0;
      return;
    }
    case SkinCommand::GetBackgroundColor:
    case SkinCommand::GetSkinIndex:
      CommonSkinHandler(m, sd);
      return;
    default:
      m.Result = 0;  // nothing else is a form's business
      return;
  }
}

// Calls the saved procedure while the window does not count as visible, so that Windows'
// default handling finds nothing to draw its caption on; the frame is repainted after.
void TsSkinProvider::CallWithoutFrameDrawing(TMessage& m) {
  const HWND wnd = form_->Handle();
  if (!IsWindowVisible(wnd)) {
    formProc_(m);
    return;
  }
  TMessage off{WM_SETREDRAW, FALSE, 0, 0};
  formProc_(off);
  formProc_(m);
  TMessage on{WM_SETREDRAW, TRUE, 0, 0};
  formProc_(on);
  // Switching redraw off dropped whatever waited to be painted.
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TsSkinProvider::SkinnedWndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCREATE:
    case WM_CREATE: return Created(m);
    case WM_PARENTNOTIFY: return ParentNotify(m);
    case WM_MOVE: return Moved(m);
    case CM_SHOWINGCHANGED: return ShowingChanged(m);
    case WM_CLOSE: return PrepareHide(m);
    case WM_WINDOWPOSCHANGED: return WindowPosChanged(m);
    case WM_GETMINMAXINFO: return MinMaxInfo(m);
    case WM_SIZE: return Sized(m);
    case WM_SETTEXT: return SetText(m);
    case WM_ERASEBKGND: return EraseBackground(m);
    case WM_PAINT: return Paint(m);
    case WM_PRINT: return Print(m);
    case WM_PRINTCLIENT: return;  // the client is printed through WM_PRINT
    case WM_SHOWWINDOW: return WindowShown(m);
    case WM_QUERYENDSESSION: return QueryEndSession(m);
    case WM_ENDSESSION: return EndSession(m);
    case WM_SETTINGCHANGE:
    case WM_STYLECHANGED: return LookChanged(m);
    case WM_NCHITTEST: return HitTestMessage(m);
    case WM_NCPAINT: return NcPaint(m);
    case WM_NCACTIVATE: return Activate(m);
    case WM_ENABLE:
    case CM_ENABLEDCHANGED: return EnabledChanged(m);
    case WM_SETICON: return IconChanged(m);
    case WM_NCLBUTTONDOWN: return NcButtonDown(m);
    case WM_NCLBUTTONUP: return NcButtonUp(m);
    case WM_NCLBUTTONDBLCLK: return NcDoubleClick(m);
    case WM_NCRBUTTONDOWN: return NcRightButtonDown(m);
    case WM_NCRBUTTONUP: return NcRightButtonUp(m);
    case kMsgTaskbarSysMenu: return TaskbarSystemMenu(m);
    case WM_SYSCOMMAND: return SysCommand(m);
    case WM_INITMENUPOPUP: return InitMenuPopup(m);
    case WM_ENTERIDLE:
    case kMsgEditorIdle:
    case kMsgRegionQuery:
      m.Result = 0;  // the skinned frame answers these itself
      return;
    case WM_MOUSEMOVE: return MouseMove(m);
    case WM_TIMER: return Timer(m);
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
    case CM_MOUSELEAVE: return MouseLeave(m);
    case CM_VISIBLECHANGED: return VisibleChanged(m);
    case CM_MENUCHANGED: return MenuChanged(m);
    default: return formProc_(m);
  }
}

// ---- Window life --------------------------------------------------------------------------

void TsSkinProvider::Created(TMessage& m) {
  formProc_(m);
  if (!life_.Unprepared()) PrepareForm();
}

void TsSkinProvider::ParentNotify(TMessage& m) {
  formProc_(m);
  if (LOWORD(m.WParam) == WM_CREATE) AdaptControls();
}

void TsSkinProvider::Moved(TMessage& m) {
  StopTitleAnimations();
  formProc_(m);
}

void TsSkinProvider::MinMaxInfo(TMessage& m) {
  // Maximized, the frame lies just outside the work area of the form's monitor.
  if (form_->BorderStyle() != TFormBorderStyle::bsNone && !form_->Parent() && form_->HandleAllocated() && m.LParam) {
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    MONITORINFO mi{sizeof mi};
    if (GetMonitorInfoA(MonitorFromWindow(form_->Handle(), MONITOR_DEFAULTTONEAREST), &mi)) {
      const int b = Metrics().SideBorder;
      info->ptMaxPosition = POINT{-b, -b};
      info->ptMaxSize = POINT{mi.rcWork.right - mi.rcWork.left + 2 * b, mi.rcWork.bottom - mi.rcWork.top + 2 * b};
    }
  }
  formProc_(m);
}

void TsSkinProvider::Sized(TMessage& m) {
  skinData_->CacheStale = true;
  formProc_(m);
  if (Showing() && !frame_.CacheMatchesWindow()) {
    frame_.MarkRegionChanged();
    SendMessageA(form_->Handle(), WM_NCPAINT, 1, 0);
  }
}

void TsSkinProvider::WindowShown(TMessage& m) {
  if (m.WParam) {
    life_.Apply(TsFormEvent::WindowShown);
    activating_ = false;
  }
  formProc_(m);
}

void TsSkinProvider::QueryEndSession(TMessage& m) {
  // The session may end once no control is left half-way through a fade.
  acFades().AnimationsOff = true;
  WaitForFades();
  formProc_(m);
}

void TsSkinProvider::EndSession(TMessage& m) {
  if (!m.WParam) acFades().AnimationsOff = false;  // the log-off was called off
  formProc_(m);
}

void TsSkinProvider::LookChanged(TMessage& m) {
  skinData_->CacheStale = true;
  frame_.MarkRegionChanged();
  formProc_(m);
}

void TsSkinProvider::VisibleChanged(TMessage& m) {
  if (m.WParam) InitRunTime();
  formProc_(m);
  if (m.WParam) AdaptControls();
  if (!m.WParam) {
    skinData_->ReleaseCache();
    StopTitleAnimations();
  }
}

void TsSkinProvider::MenuChanged(TMessage& m) {
  skinData_->CacheStale = true;
  formProc_(m);
}

// ---- Painting -----------------------------------------------------------------------------

void TsSkinProvider::Print(TMessage& m) {
  TsCommonData& sd = *skinData_;
  if (m.WParam && (m.LParam & PRF_NONCLIENT)) {
    if (sd.CacheStale || !frame_.CacheMatchesWindow()) PrepareFrameCache();
    PaintFrame(reinterpret_cast<HDC>(m.WParam));
  }
  if (m.WParam && (m.LParam & PRF_CLIENT)) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    const POINT origin = ClientOrigin();
    SavedDC saved(dc);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    IntersectClipRect(dc, 0, 0, form_->ClientWidth(), form_->ClientHeight());
    form_->Perform(WM_ERASEBKGND, m.WParam, static_cast<LPARAM>(m.WParam));
    form_->Perform(WM_PAINT, m.WParam, 0);
  }
  m.Result = 0;
}

void TsSkinProvider::NcPaint(TMessage& m) {
  if (!drawNonClientArea_) {
    formProc_(m);
    return;
  }
  if (life_.Unprepared()) InitRunTime();
  if (CanPaintFrame()) frame_.PaintNow();
  m.Result = 0;
}

void TsSkinProvider::EnabledChanged(TMessage& m) {
  formProc_(m);
  RepaintFrameNow();
}

void TsSkinProvider::IconChanged(TMessage& m) {
  CallWithoutFrameDrawing(m);
  RepaintFrameNow();
}

// ---- Mouse and menus ------------------------------------------------------------------------

void TsSkinProvider::NcRightButtonDown(TMessage& m) {
  if (drawNonClientArea_ && (m.WParam == HTCAPTION || m.WParam == HTSYSMENU)) return;
  formProc_(m);
}

void TsSkinProvider::TaskbarSystemMenu(TMessage&) {
  POINT p;
  GetCursorPos(&p);
  ShowSystemMenu(p.x, p.y);
}

void TsSkinProvider::InitMenuPopup(TMessage& m) {
  formProc_(m);
  if (HIWORD(m.LParam)) EnableMenuItem(reinterpret_cast<HMENU>(m.WParam), SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
}

void TsSkinProvider::MouseMove(TMessage& m) {
  formProc_(m);
  if (TsSkinManager* manager = skinData_->Manager()) manager->SetActiveControl(nullptr);
}

void TsSkinProvider::Timer(TMessage& m) {
  if (m.WParam == kHotWatchTimer) {
    frame_.WatchHot();
    return;
  }
  formProc_(m);
}

void TsSkinProvider::MouseLeave(TMessage& m) {
  ClearHot();
  if (m.Msg != WM_NCMOUSELEAVE)
    if (TsSkinManager* manager = skinData_->Manager()) manager->SetActiveControl(nullptr);
  formProc_(m);
}

bool TsSkinProvider::CanPaintFrame() const {
  const TsCommonData& sd = *skinData_;
  if (sd.StateFlags & sfUpdating) return false;
  return Showing() && !form_->HasState(csLoading | csReading | csDestroying) && sysMenu_;
}

// ---- Activation and caption changes ---------------------------------------------------

void TsSkinProvider::Activate(TMessage& m) {
  activating_ = true;
  formActive_ = m.WParam != 0;
  skinData_->CacheStale = true;
  skinData_->PaintingSuspended = false;
  if (Showing() && drawNonClientArea_) {
    // lParam -1 tells the default handling to leave the frame undrawn.
    TMessage quiet{m.Msg, m.WParam, static_cast<LPARAM>(-1), 0};
    formProc_(quiet);
    m.Result = quiet.Result;
    // A form standing invisible behind its flying picture is painted when it shows again.
    if (!minTimer_ || !minTimer_->Running()) SendMessageA(form_->Handle(), WM_NCPAINT, 1, 0);
  } else {
    formProc_(m);
  }
  activating_ = false;
}

void TsSkinProvider::SetText(TMessage& m) {
  if (!Showing() || !drawNonClientArea_) {
    skinData_->CacheStale = true;
    formProc_(m);
    return;
  }
  CallWithoutFrameDrawing(m);
  RepaintFrameNow();
}

void TsSkinProvider::RepaintFrameNow() { frame_.Repaint(); }

// ---- Client area ----------------------------------------------------------------------

void TsSkinProvider::EraseBackground(TMessage& m) {
  TsCommonData& sd = *skinData_;
  m.Result = 1;
  if (!Showing() && m.WParam != static_cast<WPARAM>(m.LParam)) {
    formProc_(m);
    return;
  }
  if ((sd.StateFlags & sfUpdating) || sd.PaintingSuspended) {
    m.Result = 0;
    return;
  }
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc) return;
  const RECT client{0, 0, form_->ClientWidth(), form_->ClientHeight()};
  if (m.WParam == static_cast<WPARAM>(m.LParam)) {
    // A copy: a buffered paint or another control asking for the form's picture.
    if (sd.MustRepaint()) {
      if (sd.CacheStale || !frame_.CacheMatchesWindow()) PrepareFrameCache();
      const POINT origin = ClientOrigin();
      if (sd.Cache())
        BitBlt(dc, 0, 0, client.right, client.bottom, sd.Cache()->Canvas().Handle(), origin.x, origin.y, SRCCOPY);
    } else {
      FillDcRect(dc, client, sd.GetBgColor(0));
    }
    return;
  }
  // A buffered form erases into its buffer only; a form that paints from the cache does so
  // in WM_PAINT.
  if (sd.MustRepaint() || form_->DoubleBuffered()) return;
  FillDcRect(dc, client, FormColor());
}

void TsSkinProvider::Paint(TMessage& m) {
  TsCommonData& sd = *skinData_;
  if (!Showing() && !m.WParam) {
    formProc_(m);
    return;
  }
  if (!sd.MustRepaint()) {
    // Solid: the background was erased in the form's colour; the form paints its own.
    formProc_(m);
    return;
  }
  if (sd.CacheStale || !frame_.CacheMatchesWindow()) PrepareFrameCache();
  const POINT origin = ClientOrigin();
  const RECT client{0, 0, form_->ClientWidth(), form_->ClientHeight()};
  const RECT src{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
  auto paintInto = [&](HDC dc) {
    CopyCacheToDc(form_, sd, src, 0, 0, false, dc, client);
    form_->PaintControls(dc, nullptr);
  };
  if (m.WParam) {
    paintInto(reinterpret_cast<HDC>(m.WParam));
  } else {
    PaintDC pdc(form_->Handle());
    paintInto(pdc.get());
  }
  ResumeChildrenPainting(form_);
  if (form_->OnPaint && !acEngine().EffectRunning) form_->OnPaint(form_);
  m.Result = 0;
}

// ---- Title bar mouse ------------------------------------------------------------------

void TsSkinProvider::HitTestMessage(TMessage& m) {
  if (life_.Unprepared()) InitRunTime();
  if (Metrics().CaptionHeight == 0 || !drawNonClientArea_) {
    formProc_(m);
    return;
  }
  const int32_t code = HitTest(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
  if (code == kHtNowhere || code == kHtClient || code == kHtCaption || code == kHtMenu) {
    ClearHot();
    formProc_(m);
    return;
  }
  m.Result = code;
}

void TsSkinProvider::NcButtonDown(TMessage& m) {
  const auto code = static_cast<int32_t>(m.WParam);
  if (!drawNonClientArea_) {
    formProc_(m);
    return;
  }
  if (code == kHtMinButton || code == kHtMaxButton || code == kHtClose || code == kHtHelp) {
    frame_.Press(code);
    return;
  }
  if (code == HTMENU) {
    formProc_(m);
    return;
  }
  if (form_->HandleAllocated() && IsIconic(form_->Handle())) {
    SendMessageA(form_->Handle(), WM_SYSCOMMAND, 0xF012, 0);
    return;
  }
  ClearHot();
  formProc_(m);
}

void TsSkinProvider::NcButtonUp(TMessage& m) {
  const auto code = static_cast<int32_t>(m.WParam);
  if (!drawNonClientArea_) {
    formProc_(m);
    return;
  }
  const HWND wnd = form_->Handle();
  switch (code) {
    case kHtClose:
      if (frame_.Pressed()) {
        frame_.DropPress(kHtClose);
        const std::shared_ptr<bool> alive = alive_;
        SendMessageA(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (!*alive) return;
        StopTitleAnimations();
        if (IsWindow(wnd) && IsWindowVisible(wnd)) ClearHot();
      }
      return;
    case kHtHelp:
      if (frame_.Pressed()) {
        SendMessageA(wnd, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
        ClearHot();
        RepaintFrameNow();
      } else {
        ClearHot();
      }
      return;
    case kHtMinButton:
    case kHtMaxButton:
      if (!frame_.Pressed()) {
        ClearHot();
        formProc_(m);
        return;
      }
      ClearHot();
      if (code == kHtMinButton) {
        SendMessageA(wnd, WM_SYSCOMMAND, IsIconic(wnd) ? SC_RESTORE : SC_MINIMIZE, 0);
        skinData_->CacheStale = true;
        frame_.MarkRegionChanged();
      } else if (sysMenu_ && (sysMenu_->EnabledMax() || (IsZoomed(wnd) && sysMenu_->EnabledRestore()))) {
        SendMessageA(wnd, WM_SYSCOMMAND, IsZoomed(wnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
      }
      return;
    default:
      formProc_(m);
      return;
  }
}

void TsSkinProvider::NcDoubleClick(TMessage& m) {
  m.Result = 0;
  if (!drawNonClientArea_) {
    formProc_(m);
    return;
  }
  const HWND wnd = form_->Handle();
  if (m.WParam == HTCAPTION && sysMenu_) {
    const bool minimized = IsIconic(wnd) != FALSE;
    if ((sysMenu_->VisibleClose() && (sysMenu_->EnabledMax() || sysMenu_->EnabledRestore())) || minimized) {
      SendMessageA(wnd, WM_SYSCOMMAND, IsZoomed(wnd) || minimized ? SC_RESTORE : SC_MAXIMIZE, 0);
      sysMenu_->UpdateItems();
    }
  } else if (m.WParam == HTSYSMENU) {
    form_->Close();
  }
}

void TsSkinProvider::NcRightButtonUp(TMessage& m) {
  if (drawNonClientArea_ && (m.WParam == HTCAPTION || m.WParam == HTSYSMENU) && Metrics().SideBorder > 0) {
    ClearHot();
    ShowSystemMenu(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    return;
  }
  formProc_(m);
}

void TsSkinProvider::SysCommand(TMessage& m) {
  const UINT command = static_cast<UINT>(m.WParam & 0xFFF0);
  if (command == SC_KEYMENU && m.LParam == ' ' && drawNonClientArea_) {
    // The platform has no system menu to show while the frame is skinned.
    RECT r;
    GetWindowRect(form_->Handle(), &r);
    const TsFrameMetrics fm = Metrics();
    ShowSystemMenu(r.left + fm.SideBorder, r.top + fm.SideBorder);
    return;
  }
  const HWND wnd = form_->Handle();
  const bool iconic = form_->HandleAllocated() && IsIconic(wnd);
  // The main form flies its picture to the taskbar and back instead of the platform's
  // animation, which is switched off meanwhile.
  const bool flies = FlightWanted() && ((command == SC_MINIMIZE && !iconic && StartMinimizeAnimation()) ||
                                        ((command == SC_RESTORE || command == SC_MAXIMIZE) && iconic &&
                                         StartRestoreAnimation()));
  if (flies) {
    TacSystemAnimationOff off;
    formProc_(m);
  } else {
    formProc_(m);
  }
  if (command == SC_MINIMIZE) {
    if (skinData_->Cache()) skinData_->ReleaseCache();
  } else if (command == SC_MAXIMIZE || command == SC_RESTORE) {
    ClearHot();
    if (command == SC_RESTORE && form_->HandleAllocated()) {
      skinData_->CacheStale = true;
      frame_.MarkRegionChanged();
      RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
  }
}

void TsSkinProvider::ShowSystemMenu(int x, int y) { frame_.ShowSystemMenu(x, y); }
