#include "framework/Controls.h"

#include "framework/Forms.h"

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <mutex>

namespace {

const char kControlProp[] = "KestamorControl";
thread_local TWinControl* g_creating = nullptr;

// Base window procedures of the classes we registered, by class name.
std::mutex& ClassMutex() {
  static auto* m = new std::mutex;
  return *m;
}
std::map<std::string, WNDPROC>& ClassBaseProcs() {
  static auto* procs = new std::map<std::string, WNDPROC>;
  return *procs;
}

bool IsWindowed(const TControl* c) { return dynamic_cast<const TWinControl*>(c) != nullptr; }

}  // namespace

TMessageAdmission MessageAdmission = nullptr;

namespace {
thread_local int ownWorkDepth = 0;
}  // namespace

TOwnWork::TOwnWork() { ++ownWorkDepth; }
TOwnWork::~TOwnWork() { --ownWorkDepth; }
bool TOwnWork::Active() { return ownWorkDepth > 0; }

LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Registers the window class a control asks for (once per name) and gives back the
// procedure its unhandled messages go to.
static WNDPROC RegisterFrameworkClass(const TCreateParams& params) {
  std::lock_guard<std::mutex> lock(ClassMutex());
  auto& procs = ClassBaseProcs();
  auto it = procs.find(params.WinClassName);
  if (it != procs.end()) return it->second;
  WNDCLASSA wc{};
  WNDPROC base = DefWindowProcA;
  if (!params.BaseClassName.empty()) {
    if (!GetClassInfoA(nullptr, params.BaseClassName.c_str(), &wc) &&
        !GetClassInfoA(GetModuleHandleA(nullptr), params.BaseClassName.c_str(), &wc))
      throw EInvalidOperation("Window class " + params.BaseClassName + " not found");
    base = wc.lpfnWndProc;
    wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  } else {
    wc.style = params.ClassStyle;
    wc.hCursor = params.Cursor ? params.Cursor : LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;  // the control erases with its own colour
  }
  wc.lpfnWndProc = FrameworkWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = params.WinClassName.c_str();
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) RaiseLastOSError();
  procs[params.WinClassName] = base;
  return base;
}

LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* control = static_cast<TWinControl*>(GetPropA(wnd, kControlProp));
  if (!control) {
    control = g_creating;
    if (!control) {
      // A window of one of our classes that no control made: behave like the base class.
      char name[256] = {};
      GetClassNameA(wnd, name, sizeof name);
      WNDPROC base = DefWindowProcA;
      {
        std::lock_guard<std::mutex> lock(ClassMutex());
        auto it = ClassBaseProcs().find(name);
        if (it != ClassBaseProcs().end()) base = it->second;
      }
      return CallWindowProcA(base, wnd, msg, wParam, lParam);
    }
    g_creating = nullptr;
    control->handle_ = wnd;
    SetPropA(wnd, kControlProp, control);
  }
  if (MessageAdmission && !MessageAdmission(msg, wParam, lParam)) return 0;
  if (msg == CM_RELEASE) {
    // Posted by TForm::Release: free the form outside of any of its own handlers.
    if (auto* form = dynamic_cast<TForm*>(control)) form->Free();
    return 0;
  }
  TMessage m{msg, wParam, lParam, 0};
  try {
    if (control->WindowProc) {
      // A handler may put the previous WindowProc back while this message runs through it.
      const TWndMethod proc = control->WindowProc;
      proc(m);
    } else {
      control->WndProc(m);
    }
  } catch (...) {
    if (Application) Application->HandleException(control);
  }
  if (msg == WM_NCDESTROY) {
    RemovePropA(wnd, kControlProp);
    if (control->handle_ == wnd) control->handle_ = nullptr;
  }
  return m.Result;
}

// ---------------------------------------------------------------- TSizeConstraints

void TSizeConstraints::Apply(int& width, int& height) const {
  if (MaxWidth > 0 && width > MaxWidth) width = MaxWidth;
  if (MaxHeight > 0 && height > MaxHeight) height = MaxHeight;
  if (MinWidth > 0 && width < MinWidth) width = MinWidth;
  if (MinHeight > 0 && height < MinHeight) height = MinHeight;
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_.OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  Destroying();
  if (Application) Application->ControlDestroyed(this);
  if (parent_) parent_->RemoveControl(this);
}

void TControl::BeforeDestruction() {
  TComponent::BeforeDestruction();
  if (Application) Application->ControlDestroyed(this);
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) {
    parent->InsertControl(this);
    if (parentFont_) ParentFontChanged();
    if (parentColor_) ParentColorChanged();
  }
  UpdateAnchorRules();
}

void TControl::SetAnchors(TAnchors value) {
  anchors_ = value;
  UpdateAnchorRules();
}

void TControl::SetConstraints(const TSizeConstraints& value) {
  constraints_ = value;
  SetBounds(left_, top_, width_, height_);
}

void TControl::UpdateAnchorRules() {
  if (parent_ && parent_->Anchoring()) return;
  if (anchors_ == (akLeft | akTop)) {  // nothing to follow: spares asking the parent its size
    anchorParent_ = SIZE{-1, -1};
    return;
  }
  anchorBounds_ = BoundsRect();
  anchorParent_ = parent_ ? SIZE{parent_->ClientWidth(), parent_->ClientHeight()} : SIZE{-1, -1};
}

void TControl::AnchorTo(int parentWidth, int parentHeight) {
  if (anchorParent_.cx < 0) return;
  const int dx = parentWidth - anchorParent_.cx, dy = parentHeight - anchorParent_.cy;
  const RECT& b = anchorBounds_;
  int left = b.left, top = b.top, width = b.right - b.left, height = b.bottom - b.top;
  if (anchors_ & akRight) {
    if (anchors_ & akLeft)
      width += dx;
    else
      left += dx;
  }
  if (anchors_ & akBottom) {
    if (anchors_ & akTop)
      height += dy;
    else
      top += dy;
  }
  SetBounds(left, top, width, height);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  constraints_.Apply(width, height);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  if (visible_) InvalidateOnParent(BoundsRect(), true);
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (visible_) InvalidateOnParent(BoundsRect(), !(controlStyle_ & csOpaque));
  UpdateAnchorRules();
  if (resized) Resize();
}

POINT TControl::ClientOrigin() const {
  POINT p{left_, top_};
  if (parent_) {
    const POINT o = parent_->ClientOrigin();
    p.x += o.x;
    p.y += o.y;
  }
  return p;
}

POINT TControl::ClientToScreen(POINT p) const {
  const POINT o = ClientOrigin();
  return POINT{p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) const {
  const POINT o = ClientOrigin();
  return POINT{p.x - o.x, p.y - o.y};
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

std::string TControl::Text() const { return text_; }

void TControl::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = value;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value) ParentFontChanged();
}

void TControl::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  if (!fontSync_) parentColor_ = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value) ParentColorChanged();
}

void TControl::FontChanged() {
  if (!fontSync_) parentFont_ = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  fontSync_ = true;
  try {
    font_.Assign(parent_->font_);
  } catch (...) {
    fontSync_ = false;
    throw;
  }
  fontSync_ = false;
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  fontSync_ = true;
  SetColor(parent_->color_);
  fontSync_ = false;
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (WindowProc) {
    const TWndMethod proc = WindowProc;  // see FrameworkWndProc
    proc(m);
  } else {
    WndProc(m);
  }
  return m.Result;
}

void TControl::InvalidateOnParent(const RECT& r, bool erase) {
  if (parent_ && parent_->HandleAllocated()) InvalidateRect(parent_->handle_, &r, erase ? TRUE : FALSE);
}

void TControl::Invalidate() {
  if (visible_) InvalidateOnParent(BoundsRect(), !(controlStyle_ & csOpaque));
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

bool TControl::MoveInParentOrder(bool topmost) {
  if (!parent_) return false;
  auto& list = parent_->controls_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return false;
  list.erase(it);
  if (topmost)
    list.push_back(this);
  else
    list.insert(list.begin(), this);
  return true;
}

void TControl::SetZOrder(bool topmost) {
  if (MoveInParentOrder(topmost)) Invalidate();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::SetControlState(uint32_t flags, bool on) {
  if (on)
    controlState_ |= flags;
  else
    controlState_ &= ~flags;
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parentFont_) ParentFontChanged();
  if (parentColor_) ParentColorChanged();
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) {
        mouseInControl_ = true;
        MouseEnter();
      }
      return;
    case CM_MOUSELEAVE:
      if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) {
        mouseInControl_ = false;
        MouseLeave();
      }
      return;
    case CM_PARENTFONTCHANGED:
      ParentFontChanged();
      return;
    case CM_PARENTCOLORCHANGED:
      ParentColorChanged();
      return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    case CM_VISIBLECHANGED:
      if (!IsWindowed(this)) InvalidateOnParent(BoundsRect(), true);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetControlState(csLButtonDown, true);
      break;
    case WM_LBUTTONUP:
      if (controlState_ & csLButtonDown) {
        SetControlState(csLButtonDown, false);
        const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        const RECT r = ClientRect();
        if ((controlStyle_ & csClickEvents) && enabled_ && PtInRect(&r, p)) {
          Click();
          return;  // the handler may have freed this control
        }
      }
      break;
    default:
      break;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&) {}

// ---------------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() { canvas_.SetHandle(nullptr); }

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    TCanvasPaintScope scope(canvas_, reinterpret_cast<HDC>(m.WParam), Font(), Color());
    Paint();
    return;
  }
  TControl::WndProc(m);
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  brush_.SetColor(Color());
}

TWinControl::~TWinControl() {
  Destroying();
  DestroyComponents();
  DestroyChildren();
  DestroyHandle();
}

void TWinControl::BeforeDestruction() {
  Destroying();
  DestroyComponents();
  DestroyChildren();
  DestroyHandle();
  TControl::BeforeDestruction();
}

void TWinControl::DestroyChildren() {
  // Children that this control does not own (Delphi frees them with their parent too).
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    RemoveControl(c);
    c->Free();
  }
}

TWinControl* TWinControl::FindControl(HWND wnd) {
  if (!wnd) return nullptr;
  return static_cast<TWinControl*>(GetPropA(wnd, kControlProp));
}

TWinControl* TWinControl::CreatingControl() { return g_creating; }

HWND TWinControl::Handle() {
  if (!handle_) {
    if (parent_) parent_->HandleNeeded();  // creates ours with it
    if (!handle_) CreateHandle();
  }
  return handle_;
}

void TWinControl::CreateSubClass(TCreateParams& params, const char* baseClassName) {
  params.BaseClassName = baseClassName;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = StoredText();
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle() & csAcceptsControls) {
    p.Style |= WS_CLIPCHILDREN;
    p.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (Visible()) p.Style |= WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (tabStop_) p.Style |= WS_TABSTOP;
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  p.WndParent = Parent() ? Parent()->handle_ : nullptr;
  p.WinClassName = ClassName();
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  SetControlState(csCreating, true);
  try {
    CreateWnd();
  } catch (...) {
    SetControlState(csCreating, false);
    throw;
  }
  SetControlState(csCreating, false);
  UpdateWindowZOrder();
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->CreateHandle();
  CreateHandleDone();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent)
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  defWndProc_ = RegisterFrameworkClass(p);
  CreateWindowHandle(p);
  if (!handle_) RaiseLastOSError();
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  TWinControl* saved = g_creating;
  g_creating = this;
  HWND wnd = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                             p.Height, p.WndParent, nullptr, GetModuleHandleA(nullptr), p.Param);
  g_creating = saved == this ? nullptr : saved;
  if (wnd && !handle_) {
    // No message reached the window procedure during creation (should not happen).
    handle_ = wnd;
    SetPropA(wnd, kControlProp, this);
  }
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  SetStoredText(Text());
  HWND wnd = handle_;
  if (wnd) {
    DestroyWindow(wnd);
    if (handle_ == wnd) {  // the window was not ours to destroy (other thread): let go of it
      RemovePropA(wnd, kControlProp);
      handle_ = nullptr;
    }
  }
}

void TWinControl::RecreateWnd() {
  if (handle_) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::UpdateWindowZOrder() {
  if (!handle_ || !Parent()) return;
  // Our window goes right below the nearest sibling above us that has a window.
  const auto& list = Parent()->controls_;
  auto it = std::find(list.begin(), list.end(), this);
  HWND after = HWND_TOP;
  if (it != list.end()) {
    for (auto j = it + 1; j != list.end(); ++j) {
      auto* w = dynamic_cast<TWinControl*>(*j);
      if (w && w->handle_) {
        after = w->handle_;
        break;
      }
    }
  }
  SetWindowPos(handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SetZOrder(bool topmost) {
  // A child not in its parent's list has no place to move to; a top-level window has only its handle.
  if (Parent() && !MoveInParentOrder(topmost)) return;
  if (handle_)
    SetWindowPos(handle_, topmost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  auto* w = dynamic_cast<TWinControl*>(control);
  if (w) tabList_.push_back(w);
  if (w && handle_ && !HasState(csDestroying)) w->CreateHandle();
  if (!IsWindowed(control) && control->Visible()) control->Invalidate();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  const bool destroying = HasState(csDestroying);
  if (!destroying) Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
  if (mouseCapture_ == control) {
    mouseCapture_ = nullptr;
    if (handle_ && GetCapture() == handle_) ReleaseCapture();
  }
  if (!IsWindowed(control) && control->Visible() && !destroying) control->Invalidate();
  controls_.erase(std::find(controls_.begin(), controls_.end(), control));
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    if (w->handle_) w->DestroyHandle();
    if (TForm* form = GetParentForm(this))
      if (form->ActiveControl() && w->ContainsControl(form->ActiveControl())) form->SetActiveControl(nullptr);
  }
  control->parent_ = nullptr;
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!allowWinControls && IsWindowed(c)) continue;
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
    const RECT r = c->BoundsRect();
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (value < 0) value = 0;
  if (value > static_cast<int>(list.size())) value = static_cast<int>(list.size());
  list.insert(list.begin() + value, this);
}

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrA(handle_, GWL_STYLE, style);
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  const int n = static_cast<int>(list.size());
  if (n == 0) return nullptr;
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (list[static_cast<size_t>(i)] == current) start = i;
  if (start < 0) start = forward ? n - 1 : 0;
  int i = start;
  do {
    i = forward ? (i + 1) % n : (i + n - 1) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c != current && (!checkTabStop || c->TakesTab()) && (!checkParent || c->Parent() == this) && c->CanFocus())
      return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* c = FindNextControl(current, forward, checkTabStop, !checkTabStop)) c->SetFocus();
}

TForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return const_cast<TForm*>(dynamic_cast<const TForm*>(c));
}

void TWinControl::SetFocus() {
  TForm* form = GetParentForm(this);
  if (form && form != this) {
    form->SetActiveControl(this);
  } else if (HandleNeeded(), handle_) {
    ::SetFocus(handle_);
  }
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  // The form's own visibility does not count: focus can be planned before it shows.
  TForm* form = GetParentForm(this);
  if (!form) return false;
  for (const TControl* c = this; c && c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetDoubleBuffered(bool value) {
  if (value == doubleBuffered_) return;
  doubleBuffered_ = value;
  Invalidate();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  Constraints().Apply(width, height);
  if (handle_) {
    if (left != left_ || top != top_ || width != width_ || height != height_)
      SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return;  // WM_WINDOWPOSCHANGED brings the new bounds back
  }
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  UpdateAnchorRules();
  if (resized) Resize();
}

void TWinControl::Resize() {
  const int w = ClientWidth(), h = ClientHeight();
  anchoring_ = true;
  try {
    for (TControl* c : std::vector<TControl*>(controls_)) c->AnchorTo(w, h);
  } catch (...) {
    anchoring_ = false;
    throw;
  }
  anchoring_ = false;
  TControl::Resize();
}

void TWinControl::UpdateBoundsFromWindow() {
  if (!handle_) return;
  RECT r;
  GetWindowRect(handle_, &r);
  if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) {
    HWND parent = GetParent(handle_);
    if (parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
}

int TWinControl::ClientWidth() const {
  if (!handle_) return width_;
  RECT r;
  GetClientRect(handle_, &r);
  return r.right;
}

int TWinControl::ClientHeight() const {
  if (!handle_) return height_;
  RECT r;
  GetClientRect(handle_, &r);
  return r.bottom;
}

POINT TWinControl::ClientOrigin() const {
  if (handle_) {
    POINT p{0, 0};
    ::ClientToScreen(handle_, &p);
    return p;
  }
  return TControl::ClientOrigin();
}

bool TWinControl::Showing() const {
  if (Parent()) return TControl::Showing();
  return Visible() && handle_ && IsWindowVisible(handle_);
}

std::string TWinControl::Text() const {
  if (!handle_) return StoredText();
  const int n = GetWindowTextLengthA(handle_);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(handle_, s.data(), n + 1);
  s.resize(static_cast<size_t>(got > 0 ? got : 0));
  return s;
}

void TWinControl::SetText(const std::string& value) {
  if (value == Text()) return;
  SetStoredText(value);
  if (handle_) SetWindowTextA(handle_, value.c_str());
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, (ControlStyle() & csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::Loaded() { TControl::Loaded(); }

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = controls_.begin();
  if (first) {
    it = std::find(controls_.begin(), controls_.end(), first);
    if (it == controls_.end()) it = controls_.begin();
  }
  const std::vector<TControl*> list(it, controls_.end());
  for (TControl* c : list) {
    if (IsWindowed(c) || !c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    SavedDC saved(dc);
    POINT org;
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.x + c->Left(), org.y + c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::FillBackground(HDC dc) {
  RECT r;
  GetClientRect(handle_, &r);
  ::FillRect(dc, &r, brush_.Handle());
}

void TWinControl::PaintHandler(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  PAINTSTRUCT ps{};
  const bool own = dc == nullptr;
  if (own) dc = BeginPaint(handle_, &ps);
  SetControlState(csPainting, true);
  try {
    {
      SavedDC saved(dc);
      PaintWindow(dc);
    }
    PaintControls(dc, nullptr);
  } catch (...) {
    SetControlState(csPainting, false);
    if (own) EndPaint(handle_, &ps);
    throw;
  }
  SetControlState(csPainting, false);
  if (own) EndPaint(handle_, &ps);
  m.Result = 0;
}

bool TWinControl::ReflectToChild(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      child = reinterpret_cast<HWND>(m.LParam);
      break;
    case WM_NOTIFY:
      if (m.LParam) child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      // Our child windows have id 0, so only the item type tells a control from a menu.
      if (m.LParam && reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->CtlType != ODT_MENU)
        child = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem;
      break;
    default:
      return false;
  }
  TWinControl* c = FindControl(child);
  if (!c || c == this) return false;
  m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  return true;
}

void TWinControl::HandleMouse(TMessage& m) {
  if (m.Msg == WM_MOUSEMOVE && handle_) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&tme);
  }
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = mouseCapture_ ? mouseCapture_ : ControlAtPos(p, false);
  if (m.Msg == WM_MOUSEMOVE && Application) {
    // A window holding the mouse hears of it outside itself too; the mouse is over none of
    // our controls there (a button pressed and dragged off it must see the mouse leave).
    RECT client;
    GetClientRect(handle_, &client);
    const bool away = GetCapture() == handle_ && !mouseCapture_ && !PtInRect(&client, p);
    Application->SetMouseControl(away ? nullptr : target ? target : this);
  }
  if (!target) {
    TControl::WndProc(m);
    return;
  }
  const bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK;
  if (down && (target->ControlStyle() & csCaptureMouse)) {
    mouseCapture_ = target;
    SetCapture(handle_);
  }
  const LPARAM lp = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
  const bool up = m.Msg == WM_LBUTTONUP;
  if (up && mouseCapture_) {
    mouseCapture_ = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
  }
  m.Result = target->Perform(m.Msg, m.WParam, lp);
}

void TWinControl::WndProc(TMessage& m) {
  const bool custom = defWndProc_ == DefWindowProcA || defWndProc_ == nullptr;
  switch (m.Msg) {
    case WM_PAINT:
      if (!custom) break;
      if (doubleBuffered_ && !m.WParam && handle_) {
        PaintDC pdc(handle_);
        RECT r;
        GetClientRect(handle_, &r);
        if (r.right > 0 && r.bottom > 0) {
          UniqueDC mem(CreateCompatibleDC(pdc.get()));
          UniqueBitmapHandle bmp(CreateCompatibleBitmap(pdc.get(), r.right, r.bottom));
          SelectedObject sel(mem.get(), bmp.get());
          Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem.get()), reinterpret_cast<LPARAM>(mem.get()));
          Perform(WM_PAINT, reinterpret_cast<WPARAM>(mem.get()), 0);
          BitBlt(pdc.get(), 0, 0, r.right, r.bottom, mem.get(), 0, 0, SRCCOPY);
        }
        m.Result = 0;
        return;
      }
      PaintHandler(m);
      return;
    case WM_PRINTCLIENT:
      if (!custom || !m.WParam) break;
      // Snapshots: erase and paint into the given DC as a buffered paint would.
      Perform(WM_ERASEBKGND, m.WParam, static_cast<LPARAM>(m.WParam));
      Perform(WM_PAINT, m.WParam, 0);
      m.Result = 0;
      return;
    case WM_ERASEBKGND:
      if (!custom) break;
      // A double-buffered control erases into its buffer (wParam == lParam) only.
      if (!(doubleBuffered_ && m.WParam != static_cast<WPARAM>(m.LParam)) && m.WParam)
        FillBackground(reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      if (ReflectToChild(m)) return;
      break;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSCROLLBAR: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, ToColorRef(Font().Color()));
      SetBkColor(dc, ToColorRef(Color()));
      m.Result = reinterpret_cast<LRESULT>(brush_.Handle());
      return;
    }
    case WM_SETFOCUS: {
      DefaultHandler(m);
      TForm* form = GetParentForm(this);
      if (form && form != this) form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
      return;
    }
    case WM_WINDOWPOSCHANGED: {
      const int oldW = width_, oldH = height_;
      DefaultHandler(m);
      UpdateBoundsFromWindow();
      UpdateAnchorRules();
      if (width_ != oldW || height_ != oldH) Resize();
      return;
    }
    case WM_GETMINMAXINFO: {
      DefaultHandler(m);
      auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
      const TSizeConstraints& c = Constraints();
      if (info && c.MinWidth > 0) info->ptMinTrackSize.x = c.MinWidth;
      if (info && c.MinHeight > 0) info->ptMinTrackSize.y = c.MinHeight;
      if (info && c.MaxWidth > 0) info->ptMaxTrackSize.x = c.MaxWidth;
      if (info && c.MaxHeight > 0) info->ptMaxTrackSize.y = c.MaxHeight;
      m.Result = 0;
      return;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      HandleMouse(m);
      return;
    case WM_MOUSELEAVE:
      DefaultHandler(m);
      if (Application) Application->MouseLeftWindow(this);
      return;
    case WM_CAPTURECHANGED:
      mouseCapture_ = nullptr;
      break;
    case WM_MOUSEWHEEL:
      if (Perform(CM_MOUSEWHEEL, m.WParam, m.LParam)) {
        m.Result = 0;
        return;
      }
      break;
    case CM_FONTCHANGED:
      if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTFONTCHANGED, 0, 0);
      Invalidate();
      return;
    case CM_COLORCHANGED:
      brush_.SetColor(Color());
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTCOLORCHANGED, 0, 0);
      Invalidate();
      return;
    case CM_ENABLEDCHANGED:
      if (handle_) EnableWindow(handle_, Enabled() ? TRUE : FALSE);
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      if (handle_ || (Parent() && Parent()->HandleAllocated())) Perform(CM_SHOWINGCHANGED, 0, 0);
      return;
    case CM_SHOWINGCHANGED:
      if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
      return;
    case CM_RECREATEWND: {
      if (!handle_) return;
      const bool focused = Focused();
      const bool topLevel = !Parent();
      const bool wasVisible = topLevel && IsWindowVisible(handle_);
      SetControlState(csRecreating, true);
      DestroyHandle();
      try {
        CreateHandle();
      } catch (...) {
        SetControlState(csRecreating, false);
        throw;
      }
      SetControlState(csRecreating, false);
      if (wasVisible) ShowWindow(handle_, SW_SHOWNA);
      if (focused && handle_) ::SetFocus(handle_);
      return;
    }
    default:
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) return;
  m.Result = CallWindowProcA(defWndProc_ ? defWndProc_ : DefWindowProcA, handle_, m.Msg, m.WParam, m.LParam);
}

// ---------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

TCustomControl::~TCustomControl() { canvas_.SetHandle(nullptr); }

void TCustomControl::PaintWindow(HDC dc) {
  TCanvasPaintScope scope(canvas_, dc, Font(), Color());
  Paint();
}
