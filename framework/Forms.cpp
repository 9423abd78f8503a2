#include "framework/Forms.h"

#include <commctrl.h>

#include <algorithm>

// Both live until the process ends: windows and threads may still refer to them while
// static objects are being destroyed, and Windows reclaims everything at exit anyway.
TScreen* Screen = new TScreen;
TApplication* Application = new TApplication;

// ---------------------------------------------------------------- TScreen

TForm* TScreen::ActiveForm() const {
  HWND active = GetActiveWindow();
  for (TForm* f : forms_)
    if (f->HandleAllocated() && f->Handle() == active) return f;
  return nullptr;
}

RECT TScreen::WorkArea() const {
  RECT r{0, 0, Width(), Height()};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

// ---------------------------------------------------------------- TForm

TForm::TForm(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  BeginLoading();
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetVisible(false);
  SetParentColor(false);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
  if (Screen) Screen->forms_.push_back(this);
}

void TForm::BeforeDestruction() {
  if (!destroyingForm_) {
    destroyingForm_ = true;
    Destroying();
    if (OnDestroy) {
      try {
        OnDestroy(this);
      } catch (...) {
        if (Application) Application->HandleException(this);
      }
    }
    if (HandleAllocated() && IsWindowVisible(handle_)) ShowWindow(handle_, SW_HIDE);
  }
  TScrollingWinControl::BeforeDestruction();
}

TForm::~TForm() {
  TForm::BeforeDestruction();
  DestroyComponents();
  DestroyChildren();
  DestroyHandle();
  canvas_.SetHandle(nullptr);
  if (Screen) {
    auto& forms = Screen->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  }
  if (Application && Application->mainForm_ == this) Application->mainForm_ = nullptr;
}

void TForm::AfterConstruction() {
  if (constructed_) return;
  constructed_ = true;
  EndLoading();
  DoCreate();
}

void TForm::Loaded() { TScrollingWinControl::Loaded(); }

void TForm::DoCreate() {
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TForm::CreateParams(TCreateParams& p) {
  TScrollingWinControl::CreateParams(p);
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  p.ExStyle = WS_EX_CONTROLPARENT;
  if (!Enabled()) p.Style |= WS_DISABLED;
  bool canMinMax = false;
  switch (borderStyle_) {
    case TFormBorderStyle::bsNone:
      p.Style |= WS_POPUP;
      break;
    case TFormBorderStyle::bsSingle:
      p.Style |= WS_CAPTION;
      canMinMax = true;
      break;
    case TFormBorderStyle::bsSizeable:
      p.Style |= WS_CAPTION | WS_THICKFRAME;
      canMinMax = true;
      break;
    case TFormBorderStyle::bsDialog:
      p.Style |= WS_POPUP | WS_CAPTION;
      p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case TFormBorderStyle::bsToolWindow:
      p.Style |= WS_CAPTION;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case TFormBorderStyle::bsSizeToolWin:
      p.Style |= WS_CAPTION | WS_THICKFRAME;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (borderStyle_ != TFormBorderStyle::bsNone && (borderIcons_ & biSystemMenu)) {
    p.Style |= WS_SYSMENU;
    if (canMinMax) {
      if (borderIcons_ & biMinimize) p.Style |= WS_MINIMIZEBOX;
      if (borderIcons_ & biMaximize) p.Style |= WS_MAXIMIZEBOX;
    }
    if ((borderIcons_ & biHelp) && !(p.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) p.ExStyle |= WS_EX_CONTEXTHELP;
  }
  if (formStyle_ == TFormStyle::fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
  TForm* main = Application ? Application->MainForm() : nullptr;
  if (!main || main == this) {
    p.ExStyle |= WS_EX_APPWINDOW;
    p.WndParent = nullptr;
    // The taskbar minimizes and restores the window whose button it is only when the window
    // has a minimize box; a tool window's caption never shows one.
    if (p.ExStyle & WS_EX_TOOLWINDOW) p.Style |= WS_MINIMIZEBOX;
  } else {
    // Secondary forms stay above the form that was active (or the main form).
    HWND owner = GetActiveWindow();
    TWinControl* ownerControl = FindControl(owner);
    if (!ownerControl || ownerControl == this) owner = main->HandleAllocated() ? main->Handle() : nullptr;
    p.WndParent = owner;
  }
  if (clientWidth_ >= 0 && clientHeight_ >= 0) {
    RECT r{0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    p.Width = r.right - r.left;
    p.Height = r.bottom - r.top;
  }
  if (CreateParamsFilter) CreateParamsFilter(p);
}

void TForm::CreateHandleDone() {
  UpdateBoundsFromWindow();
  FitClientSize();
  ApplyIcon();
}

void TForm::FitClientSize() {
  if (!handle_ || clientWidth_ < 0 || clientHeight_ < 0) return;
  RECT c;
  GetClientRect(handle_, &c);
  const int dw = clientWidth_ - c.right;
  const int dh = clientHeight_ - c.bottom;
  if (dw != 0 || dh != 0) SetBounds(left_, top_, width_ + dw, height_ + dh);
}

void TForm::ApplyIcon() {
  if (!handle_) return;
  HICON icon = icon_.Handle();
  if (!icon) icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
  SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

int TForm::ClientWidth() const {
  if (HandleAllocated()) return TScrollingWinControl::ClientWidth();
  if (clientWidth_ >= 0) return clientWidth_;
  TCreateParams p;
  const_cast<TForm*>(this)->CreateParams(p);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
  return width_ - (r.right - r.left);
}

int TForm::ClientHeight() const {
  if (HandleAllocated()) return TScrollingWinControl::ClientHeight();
  if (clientHeight_ >= 0) return clientHeight_;
  TCreateParams p;
  const_cast<TForm*>(this)->CreateParams(p);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
  return height_ - (r.bottom - r.top);
}

void TForm::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  if (HandleAllocated()) {
    FitClientSize();
    return;
  }
  TCreateParams p;
  CreateParams(p);
  SetBounds(left_, top_, p.Width, p.Height);
}

void TForm::UpdateWindowStyle() {
  if (!HandleAllocated()) {
    if (clientWidth_ >= 0) SetClientSize(clientWidth_, clientHeight_);
    return;
  }
  TCreateParams p;
  CreateParams(p);
  const LONG_PTR keep = GetWindowLongPtrA(handle_, GWL_STYLE) & (WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  SetWindowLongPtrA(handle_, GWL_STYLE, static_cast<LONG_PTR>(p.Style) | keep);
  SetWindowLongPtrA(handle_, GWL_EXSTYLE, static_cast<LONG_PTR>(p.ExStyle));
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  FitClientSize();
}

void TForm::SetBorderStyle(TFormBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  UpdateWindowStyle();
}

void TForm::SetBorderIcons(TBorderIcons v) {
  if (v == borderIcons_) return;
  borderIcons_ = v;
  UpdateWindowStyle();
}

void TForm::SetFormStyle(TFormStyle v) {
  if (v == formStyle_) return;
  formStyle_ = v;
  if (HandleAllocated())
    SetWindowPos(handle_, v == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::ApplyPosition() {
  if (positioned_) return;
  positioned_ = true;
  int x = left_, y = top_;
  TForm* main = Application ? Application->MainForm() : nullptr;
  switch (position_) {
    case TPosition::poDesigned:
      return;
    case TPosition::poMainFormCenter:
      if (main && main != this && main->HandleAllocated()) {
        x = main->Left() + (main->Width() - width_) / 2;
        y = main->Top() + (main->Height() - height_) / 2;
        break;
      }
      [[fallthrough]];
    case TPosition::poDesktopCenter:
    case TPosition::poScreenCenter:
      x = (Screen->Width() - width_) / 2;
      y = (Screen->Height() - height_) / 2;
      break;
  }
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  SetBounds(x, y, width_, height_);
}

void TForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) {
    if (control && showing_ && control->HandleAllocated() && !control->Focused()) ::SetFocus(control->Handle());
    return;
  }
  if (control && (!ContainsControl(control) || !control->CanFocus()))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  activeControl_ = control;
  if (control && showing_) ::SetFocus(control->Handle());
}

void TForm::SetWindowFocus() {
  if (!HandleAllocated()) return;
  TWinControl* target = activeControl_;
  if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true, true, false);
  if (target) {
    activeControl_ = target;
    ::SetFocus(target->Handle());
  } else {
    activeControl_ = nullptr;  // nothing on view takes the focus: keys go to no control
    ::SetFocus(handle_);
  }
}

void TForm::ShowingChanged() {
  const bool show = Visible();
  if (show == showing_) return;
  HandleNeeded();
  if (show) {
    ApplyPosition();
    showing_ = true;
    if (OnShow) OnShow(this);
    ShowWindow(handle_, SW_SHOWNORMAL);
    if (formStyle_ == TFormStyle::fsStayOnTop)
      SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (GetActiveWindow() == handle_) SetWindowFocus();
  } else {
    if (OnHide) OnHide(this);
    showing_ = false;
    ShowWindow(handle_, SW_HIDE);
  }
}

bool TForm::CloseQuery() {
  bool can = true;
  if (OnCloseQuery) OnCloseQuery(this, can);
  return can;
}

void TForm::Close() {
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == TCloseAction::caHide) {
    Hide();
  } else if (action == TCloseAction::caMinimize) {
    if (HandleAllocated()) ShowWindow(handle_, SW_MINIMIZE);
  } else {
    Release();
  }
}

void TForm::Release() {
  if (HandleAllocated())
    PostMessageA(handle_, CM_RELEASE, 0, 0);
  else
    Free();
}

namespace {

struct ModalDisabled {
  HWND self;
  std::vector<HWND> disabled;
};

BOOL CALLBACK DisableForModal(HWND w, LPARAM lp) {
  auto* c = reinterpret_cast<ModalDisabled*>(lp);
  if (w != c->self && IsWindowVisible(w) && IsWindowEnabled(w)) {
    EnableWindow(w, FALSE);
    c->disabled.push_back(w);
  }
  return TRUE;
}

}  // namespace

int TForm::ShowModal() {
  AfterConstruction();
  if (modal_ || showing_ || !Enabled()) throw EInvalidOperation("Cannot make a visible window modal");
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  modal_ = true;
  HWND activeBefore = GetActiveWindow();
  HandleNeeded();
  // Every other window of this thread is disabled while the form is modal.
  ModalDisabled collect{handle_, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableForModal, reinterpret_cast<LPARAM>(&collect));
  auto restore = [&] {
    for (HWND w : collect.disabled)
      if (IsWindow(w)) EnableWindow(w, TRUE);
    collect.disabled.clear();
  };
  modalResult_ = mrNone;
  try {
    Show();
    if (HandleAllocated()) SetForegroundWindow(handle_);
    do {
      Application->HandleMessage();
      if (Application->Terminated()) {
        modalResult_ = mrCancel;
      } else if (modalResult_ != mrNone) {
        // Closing a modal form asks CloseQuery and OnClose like any other close.
        TCloseAction action = TCloseAction::caNone;
        if (CloseQuery()) {
          action = TCloseAction::caHide;
          if (OnClose) OnClose(this, action);
        }
        if (action == TCloseAction::caNone) modalResult_ = mrNone;
        if (action == TCloseAction::caFree) Release();
      }
    } while (modalResult_ == mrNone);
  } catch (...) {
    restore();
    modal_ = false;
    Hide();
    throw;
  }
  // Enable the others before hiding, so that activation goes back to them.
  restore();
  Hide();
  modal_ = false;
  if (activeBefore && IsWindow(activeBefore)) SetActiveWindow(activeBefore);
  return modalResult_;
}

void TForm::PaintWindow(HDC dc) {
  if (!OnPaint) return;
  TCanvasPaintScope scope(canvas_, dc, Font(), Color());
  OnPaint(this);
}

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_VISIBLECHANGED:
      // Only showing completes construction: the constructor's own hide must not.
      if (m.WParam) {
        AfterConstruction();
        // The window exists before anyone hears that it is about to show.
        HandleNeeded();
      }
      Perform(CM_SHOWINGCHANGED, 0, 0);
      return;
    case CM_SHOWINGCHANGED:
      ShowingChanged();
      return;
    case CM_FOCUSCHANGED: {
      auto* c = reinterpret_cast<TWinControl*>(m.LParam);
      if (c && ContainsControl(c)) activeControl_ = c;
      // Every button learns whether it is the default button now.
      std::vector<TWinControl*> all;
      GetTabOrderList(all);
      for (TWinControl* w : all)
        if (w->IsPushButton()) w->Perform(CM_FOCUSCHANGED, 0, m.LParam);
      return;
    }
    case CM_DIALOGKEY: {
      const int key = static_cast<int>(m.WParam);
      const bool shift = GetKeyState(VK_SHIFT) < 0;
      const bool ctrl = GetKeyState(VK_CONTROL) < 0;
      const bool alt = GetKeyState(VK_MENU) < 0;
      if (ctrl || alt) break;
      switch (key) {
        case VK_TAB:
          SelectNext(activeControl_, !shift, true);
          m.Result = 1;
          return;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
          if (activeControl_ && activeControl_->Parent() && activeControl_->CanFocus()) {
            activeControl_->Parent()->SelectNext(activeControl_, key == VK_RIGHT || key == VK_DOWN, false);
            // Arrow keys pick the radio button they move to.
            activeControl_->ArrowKeyReached();
            m.Result = 1;
          }
          return;
        case VK_RETURN:
        case VK_ESCAPE: {
          TWinControl* target = nullptr;
          // A control that has been hidden or disabled since it took the focus acts no more.
          if (key == VK_RETURN && activeControl_ && activeControl_->CanFocus() && activeControl_->IsPushButton())
            target = activeControl_;
          if (!target) {
            std::vector<TWinControl*> all;
            GetTabOrderList(all);
            for (TWinControl* c : all) {
              if ((key == VK_RETURN ? c->IsDefaultButton() : c->IsCancelButton()) && c->CanFocus()) {
                target = c;
                break;
              }
            }
          }
          if (target) {
            target->Click();
            m.Result = 1;
          }
          return;
        }
        default:
          break;
      }
      break;
    }
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE) {
        if (!HIWORD(m.WParam)) SetWindowFocus();
        if (OnActivate) OnActivate(this);
        m.Result = 0;
        return;
      }
      TScrollingWinControl::WndProc(m);
      if (OnDeactivate) OnDeactivate(this);
      return;
    case WM_CLOSE:
      Close();
      m.Result = 0;
      return;
    case WM_SHOWWINDOW:
      TScrollingWinControl::WndProc(m);
      return;
    default:
      break;
  }
  TScrollingWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TApplication

TApplication::TApplication() : TComponent(nullptr), mainThreadId_(GetCurrentThreadId()) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TApplication";
  RegisterClassA(&wc);
  handle_ = CreateWindowExA(0, "TApplication", "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU, 0, 0, 0, 0,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TApplication::~TApplication() {
  DestroyComponents();
  if (handle_) DestroyWindow(handle_);
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == CM_SYNCHRONIZE) {
    // The hand-off wraps its own exceptions; nothing may escape into Windows.
    auto* call = reinterpret_cast<std::function<void()>*>(lParam);
    if (call) {
      TOwnWork own;
      try {
        (*call)();
      } catch (...) {
      }
    }
    return 0;
  }
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES |
                                           ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
}

void TApplication::FormCreated(TForm* form) {
  if (!mainForm_) {
    form->HandleNeeded();
    mainForm_ = form;
  }
}

void TApplication::Run() {
  terminated_ = false;
  if (!mainForm_) return;
  try {
    mainForm_->Show();
  } catch (...) {
    HandleException(this);
  }
  while (!terminated_) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Terminate() {
  if (GetCurrentThreadId() == mainThreadId_)
    PostQuitMessage(0);
  else
    PostThreadMessageA(mainThreadId_, WM_QUIT, 0, 0);
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const WPARAM key = msg.wParam;
  const bool arrow = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
  // Copy keys are offered to the form as well: a message dialog copies its text, every
  // other form leaves them to the focused control.
  const bool copy = (key == 'C' || key == VK_INSERT) && GetKeyState(VK_CONTROL) < 0;
  if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && !arrow && !copy) return false;
  TWinControl* control = nullptr;
  for (HWND h = msg.hwnd; h && !control; h = GetParent(h)) {
    control = TWinControl::FindControl(h);
    if (!(GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD)) break;
  }
  if (!control) return false;
  const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
  if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  if (key == VK_TAB && (code & DLGC_WANTTAB)) return false;
  if (arrow && (code & DLGC_WANTARROWS)) return false;
  TForm* form = GetParentForm(control);
  if (!form) return false;
  return form->Perform(CM_DIALOGKEY, key, msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (!IsKeyMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) WaitMessage();
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

std::string TApplication::ExeName() const {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string TApplication::TitleFromExeName(const std::string& exeName) {
  std::string name = exeName;
  const size_t slash = name.rfind('\\');
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.find('.');
  if (dot != std::string::npos) name.erase(dot);
  if (name.empty()) return name;
  // The first character (one or two bytes in a multi-byte code page) keeps its case.
  const char* first = name.c_str();
  const char* next = CharNextA(first);
  const size_t skip = static_cast<size_t>(next - first);
  if (skip < name.size()) CharLowerBuffA(name.data() + skip, static_cast<DWORD>(name.size() - skip));
  return name;
}

std::string TApplication::Title() const { return titleSet_ ? title_ : TitleFromExeName(ExeName()); }

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  HWND owner = GetActiveWindow();
  if (!owner && mainForm_ && mainForm_->HandleAllocated()) owner = mainForm_->Handle();
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::ShowException(const std::exception& e) {
  // The message exactly as thrown: callers and tests compare it with the quoted texts.
  MessageBox(e.what(), Title(), MB_OK | MB_ICONERROR);
}

void TApplication::HandleException(TObject* sender) {
  std::exception_ptr error = std::current_exception();
  if (!error) return;
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    if (OnException)
      OnException(sender, e);
    else
      ShowException(e);
  } catch (...) {
    const std::runtime_error unknown("Unknown exception");
    if (OnException)
      OnException(sender, unknown);
    else
      ShowException(unknown);
  }
}

void TApplication::SetMouseControl(TControl* control) {
  if (control == mouseControl_) return;
  TControl* old = mouseControl_;
  mouseControl_ = control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  // The leave handler may have changed things; enter only if still current.
  if (control && mouseControl_ == control) control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
}

void TApplication::MouseLeftWindow(TWinControl* control) {
  if (!mouseControl_) return;
  if (mouseControl_ != control && mouseControl_->Parent() != control) return;
  POINT pt;
  GetCursorPos(&pt);
  HWND under = WindowFromPoint(pt);
  if (under && under == control->handle_) return;  // still inside
  TControl* now = nullptr;
  for (HWND h = under; h && !now; h = GetParent(h)) {
    if (TWinControl* w = TWinControl::FindControl(h)) {
      POINT local = pt;
      ::ScreenToClient(w->handle_, &local);
      TControl* child = w->ControlAtPos(local, false);
      now = child ? child : w;
    }
    if (!(GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD)) break;
  }
  SetMouseControl(now);
}

void TApplication::ControlDestroyed(TControl* control) {
  if (mouseControl_ == control) mouseControl_ = nullptr;
}
