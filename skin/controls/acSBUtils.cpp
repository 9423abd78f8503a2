#include "skin/controls/acSBUtils.h"

#include "skin/data/sSkinManager_win.h"

namespace {

// Visual styles would draw the window's parts themselves; the handler draws them from the
// skin. uxtheme is optional (looked up by name).
void SwitchOffVisualStyles(HWND wnd) {
  using IsThemeActiveFn = BOOL(WINAPI*)();
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static HMODULE lib = LoadLibraryA("uxtheme.dll");
  if (!lib) return;
  static auto isActive = reinterpret_cast<IsThemeActiveFn>(reinterpret_cast<void*>(GetProcAddress(lib, "IsThemeActive")));
  static auto setTheme = reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(GetProcAddress(lib, "SetWindowTheme")));
  if (isActive && setTheme && isActive()) setTheme(wnd, L" ", L" ");
}

}  // namespace

// The procedure of a plain window a handler subclassed.
LRESULT CALLBACK HandlerThunk(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TacMainWnd* h = TacMainWnd::Of(wnd);
  if (!h) return DefWindowProcA(wnd, msg, wParam, lParam);
  if (!SkinMessageAdmitted(msg, wParam, lParam)) return 0;
  TMessage m{msg, wParam, lParam, 0};
  h->WndProc(m);
  return m.Result;
}

TacMainWnd::TacMainWnd() : alive_(std::make_shared<bool>(true)) {}

TacMainWnd::~TacMainWnd() {
  Detach();
  *alive_ = false;
}

TacMainWnd* TacMainWnd::Of(HWND wnd) { return wnd ? static_cast<TacMainWnd*>(GetPropA(wnd, kHandlerProp)) : nullptr; }

void TacMainWnd::Create(HWND wnd, bool repaintFrame, const std::string& section, TsSkinManager* manager,
                        TsCommonData* binding) {
  if (!wnd || !IsWindow(wnd) || Of(wnd)) return;
  wnd_ = wnd;
  control_ = TWinControl::FindControl(wnd);
  if (section != "DIALOG") SwitchOffVisualStyles(wnd);
  if (!binding) {
    ownBinding_ = std::make_unique<TsCommonData>(nullptr, 0);
    binding = ownBinding_.get();
  }
  binding_ = binding;
  manager_ = manager ? manager : binding->Manager();
  if (!section.empty() && binding->SkinSection() != section)
    binding->SetSkinSection(section);
  else if (binding->SkinSection().empty())
    binding->SetDefaultSection();
  SaveLook();
  coloursApplied_ = false;
  DialogMode = false;  // no skinned standard dialog is open while controls attach
  const int len = GetWindowTextLengthW(wnd);
  WindowText.assign(static_cast<size_t>(len > 0 ? len : 0), L'\0');
  if (len > 0) GetWindowTextW(wnd, WindowText.data(), len + 1);
  CreateParts(repaintFrame);

  SetPropA(wnd, kHandlerProp, this);
  if (control_) {
    savedControlProc_ = control_->WindowProc;
    control_->WindowProc = [this](TMessage& m) { WndProc(m); };
    control_->SetControlStyle(control_->ControlStyle() | csOpaque);
  } else {
    savedWndProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC));
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HandlerThunk));
  }
  detached_ = false;
  if (repaintFrame)
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TacMainWnd::Detach() {
  if (detached_) return;
  detached_ = true;
  HWND wnd = wnd_;
  if (control_) {
    control_->WindowProc = savedControlProc_;
    savedControlProc_ = nullptr;
  } else if (savedWndProc_ && IsWindow(wnd)) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC)) == &HandlerThunk)
      SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedWndProc_));
  }
  savedWndProc_ = nullptr;
  if (IsWindow(wnd) && GetPropA(wnd, kHandlerProp) == this) RemovePropA(wnd, kHandlerProp);
  RestoreLook();
  FreeParts();
  if (IsWindow(wnd) && IsWindowVisible(wnd))
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool TacMainWnd::PassOn(TMessage& m) {
  const std::shared_ptr<bool> alive = alive_;
  if (savedControlProc_) {
    TWndMethod proc = savedControlProc_;  // the handler may go while the control handles it
    proc(m);
  } else if (savedWndProc_) {
    m.Result = CallWindowProcA(savedWndProc_, wnd_, m.Msg, m.WParam, m.LParam);
  } else {
    m.Result = 0;
  }
  return *alive;
}

POINT TacMainWnd::PosInParent() const {
  RECT r;
  GetWindowRect(wnd_, &r);
  POINT p{r.left, r.top};
  if (HWND parent = GetParent(wnd_)) ScreenToClient(parent, &p);
  return p;
}

bool TacMainWnd::SkinCommand(TMessage& m) {
  TsSkinManager* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
  TsCommonData& sd = *binding_;
  switch (m.WParamHi()) {
    case SkinCommand::NewSkin:
      if (manager && manager == manager_) {
        sd.UpdateIndexes();
        sd.CacheStale = true;
        coloursApplied_ = false;
        if (IsWindowVisible(wnd_)) RedrawWindow(wnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
      }
      return false;  // the control answers too
    case SkinCommand::RemoveSkin:
      if (manager && manager == manager_) RestoreLook();
      return false;
    case SkinCommand::RefreshSkin:
      if (manager && manager == manager_) {
        sd.UpdateIndexes();
        sd.CacheStale = true;
        sd.PaintingSuspended = false;
        if (IsWindowVisible(wnd_)) InvalidateRect(wnd_, nullptr, TRUE);
      }
      return false;
    case SkinCommand::ResumePainting:
      sd.PaintingSuspended = false;
      RedrawWindow(wnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return true;
    case SkinCommand::IsHandled:
      m.Result = 1;
      return true;
    case SkinCommand::GetNeedsRepaint:
      m.Result = sd.CacheStale || sd.PaintingSuspended;
      return true;
    case SkinCommand::SetSection:
      if (m.LParam) sd.SetSkinSection(reinterpret_cast<const char*>(m.LParam));
      return true;
    case SkinCommand::GetTransparency:
      return control_ ? false : (m.Result = 0, true);
    case SkinCommand::GetBackgroundColor:
      m.Result = static_cast<LRESULT>(static_cast<uint32_t>(ColorToRGB(sd.GetBgColor(0, wnd_))));
      return !control_;
    case SkinCommand::GetBackgroundInfo:
      if (m.LParam) sd.FillBgQuery(*reinterpret_cast<ParentBgQuery*>(m.LParam), 0, wnd_);
      return true;
    case SkinCommand::SetPrintDC:
    case SkinCommand::GetApplication:
      return CommonSkinHandler(m, sd);
    default:
      return false;
  }
}

void TacMainWnd::WndProc(TMessage& m) {
  switch (m.Msg) {
    case SM_ALPHACMD:
      if (manager_ && manager_->Active() && SkinCommand(m)) return;
      PassOn(m);
      return;
    case WM_DESTROY:
    case WM_NCDESTROY:
      if (!PassOn(m)) return;
      if (m.Result == 0) Detach();
      return;
    case WM_SIZE:
      binding_->CacheStale = true;
      break;
    case WM_SETTEXT: {
      if (!PassOn(m)) return;
      const int len = GetWindowTextLengthW(wnd_);
      WindowText.assign(static_cast<size_t>(len > 0 ? len : 0), L'\0');
      if (len > 0) GetWindowTextW(wnd_, WindowText.data(), len + 1);
      return;
    }
    case WM_MOUSEMOVE:
      if (IsWindowEnabled(wnd_))
        if (TsSkinManager* dm = DefaultManager()) dm->SetActiveControl(wnd_);
      break;
    case WM_PRINT:
      m.Msg = WM_PAINT;
      break;
    case WM_UPDATEUISTATE:
      return;
    default:
      break;
  }
  PassOn(m);
}
