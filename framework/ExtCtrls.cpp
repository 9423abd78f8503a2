#include "framework/ExtCtrls.h"

#include "framework/Forms.h"

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
  SetParentColor(false);
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TBevelCut v) {
  if (v == bevelOuter_) return;
  bevelOuter_ = v;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut v) {
  if (v == bevelInner_) return;
  bevelInner_ = v;
  Invalidate();
}

void TPanel::SetBevelWidth(int v) {
  if (v < 1) v = 1;
  if (v == bevelWidth_) return;
  bevelWidth_ = v;
  Invalidate();
}

void TPanel::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  Invalidate();
}

void TPanel::Paint() {
  TCanvas& canvas = Canvas();
  RECT r = ClientRect();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(r);
  auto bevel = [&](TBevelCut cut) {
    if (cut == TBevelCut::bvNone) return;
    for (int i = 0; i < bevelWidth_; ++i) {
      DrawEdge(canvas.Handle(), &r, cut == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
      InflateRect(&r, -1, -1);
    }
  };
  bevel(bevelOuter_);
  bevel(bevelInner_);
  const std::string text = Caption();
  if (!text.empty()) {
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    flags |= alignment_ == TAlignment::taCenter ? DT_CENTER : alignment_ == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT;
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.DrawText(text, r, flags);
  }
}

void TPanel::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) Invalidate();
  TCustomControl::WndProc(m);
}

// ---------------------------------------------------------------- TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 105, 105);
  picture_.OnChange = [this](TObject*) { Invalidate(); };
}

void TImage::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  Invalidate();
}

void TImage::Paint() {
  if (picture_.Empty()) return;
  if (stretch_)
    Canvas().StretchDraw(ClientRect(), picture_);
  else
    Canvas().Draw(0, 0, picture_);
}

// ---------------------------------------------------------------- utility windows

namespace {

LRESULT CALLBACK UtilWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (!method || !*method) return DefWindowProcA(wnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    (*method)(m);
  } catch (...) {
    if (Application) Application->HandleException(nullptr);
  }
  return m.Result;
}

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = UtilWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TPUtilWindow";
    return RegisterClassA(&wc);
  }();
  (void)atom;
  HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, "TPUtilWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  if (!wnd) RaiseLastOSError();
  SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TWndMethod(std::move(method))));
  return wnd;
}

void DeallocateHWnd(HWND wnd) {
  if (!wnd) return;
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
  DestroyWindow(wnd);
  delete method;
}

// ---------------------------------------------------------------- TTimer

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  window_ = AllocateHWnd([this](TMessage& m) { TimerWndProc(m); });
}

TTimer::~TTimer() {
  if (window_) {
    KillTimer(window_, 1);
    DeallocateHWnd(window_);
  }
}

void TTimer::TimerWndProc(TMessage& m) {
  if (m.Msg == WM_TIMER) {
    if (enabled_ && OnTimer) OnTimer(this);
    return;
  }
  m.Result = DefWindowProcA(window_, m.Msg, m.WParam, m.LParam);
}

void TTimer::UpdateTimer() {
  if (!window_) return;
  KillTimer(window_, 1);
  if (enabled_ && interval_ > 0 && !HasState(csLoading)) SetTimer(window_, 1, interval_, nullptr);
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  UpdateTimer();
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}
