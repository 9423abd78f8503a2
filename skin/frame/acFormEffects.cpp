#include "skin/frame/acFormEffects.h"

#include <algorithm>
#include <cmath>

#include "framework/Handles.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/acGlow_win.h"
#include "skin/render/acLayered_win.h"
#include "skin/render/sGraphUtils.h"

namespace {

constexpr const char* kClassName = "TacEffectWindow";

LRESULT CALLBACK EffectWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  return DefWindowProcA(w, msg, wp, lp);
}

void PrintInto(HWND wnd, HDC dc) {
  const bool skinned = HandlesSkinCommands(wnd);
  if (skinned) SendMessageA(wnd, SM_ALPHACMD, MakeSkinCommand(SkinCommand::SetPrintDC), reinterpret_cast<LPARAM>(dc));
  SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  if (skinned) SendMessageA(wnd, SM_ALPHACMD, MakeSkinCommand(SkinCommand::SetPrintDC), 0);
}

// The window's children, front to back as the system keeps them, painted back to front.
void PrintChildren(HWND parent, HDC dc, POINT parentOrigin) {
  HWND last = GetWindow(GetWindow(parent, GW_CHILD), GW_HWNDLAST);
  for (HWND child = last; child; child = GetWindow(child, GW_HWNDPREV)) {
    if (!(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r;
    GetWindowRect(child, &r);
    const POINT origin{r.left, r.top};
    {
      SavedDC saved(dc);
      SetViewportOrgEx(dc, origin.x - parentOrigin.x, origin.y - parentOrigin.y, nullptr);
      IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
      PrintInto(child, dc);
    }
    PrintChildren(child, dc, parentOrigin);  // places its children itself
  }
}

}  // namespace

void acSnapshotWindow(HWND wnd, TBitmap& picture) {
  RECT r;
  GetWindowRect(wnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  picture.SetSize(w, h);
  if (picture.Empty()) return;
  HDC dc = picture.Canvas().Handle();
  {
    SavedDC saved(dc);
    IntersectClipRect(dc, 0, 0, w, h);
    PrintInto(wnd, dc);
  }
  PrintChildren(wnd, dc, POINT{r.left, r.top});
  GdiFlush();
  Bitmap32 view = picture.View();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) view.At(x, y).A = 255;
}

void acFadeWindowTo(HWND wnd, int alpha) {
  SetWindowLongPtrA(wnd, GWL_EXSTYLE, GetWindowLongPtrA(wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  if (acLayered().SetAttributes) acLayered().SetAttributes(wnd, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void acRemoveLayered(HWND wnd) {
  SetWindowLongPtrA(wnd, GWL_EXSTYLE, GetWindowLongPtrA(wnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
}

TacEffectWindow::TacEffectWindow(HWND owner) {
  const bool topmost = owner && (GetWindowLongPtrA(owner, GWL_EXSTYLE) & WS_EX_TOPMOST);
  wnd_ = CreateLayeredPopup(kClassName, &EffectWndProc, owner, topmost);
}

TacEffectWindow::~TacEffectWindow() {
  if (wnd_) DestroyWindow(wnd_);
}

void TacEffectWindow::Show(TBitmap& picture, POINT at, int alpha) {
  if (!wnd_ || picture.Empty()) return;
  UpdateLayeredPicture(wnd_, at, picture, alpha);
  if (!IsWindowVisible(wnd_)) ShowWindow(wnd_, SW_SHOWNOACTIVATE);
}

// ---- The hide fade --------------------------------------------------------------------------

namespace {

constexpr UINT kStepInterval = 12;
constexpr UINT_PTR kFadeTimer = 1;

struct HideFade {
  std::unique_ptr<TacEffectWindow> Window;
  TBitmap Picture, Work;
  POINT At{0, 0};
  int Steps = 0, Index = 0, Mode = 0;
  double Alpha = 255, AlphaStep = 0;
  double L = 0, T = 0, R = 0, B = 0, DX = 0, DY = 0;  // the zoom rectangle and its inward move per step

  void Tick();
  void Free() {
    if (Window && Window->Handle()) KillTimer(Window->Handle(), kFadeTimer);
    Window.reset();
    Picture.SetSize(0, 0);
    Work.SetSize(0, 0);
  }
};

// One hide fade runs at a time in the process (an engine part).
HideFade& Fade() { return acEngine().Part<HideFade>(); }

VOID CALLBACK FadeTimerProc(HWND, UINT, UINT_PTR, DWORD) { Fade().Tick(); }

void HideFade::Tick() {
  if (!Window) return;
  if (Index > Steps) {
    Free();
    return;
  }
  Alpha = std::max(0.0, Alpha - AlphaStep);
  const int shown = static_cast<int>(std::nearbyint(Alpha));
  const int w = Picture.Width(), h = Picture.Height();
  Bitmap32 work = Work.View();
  const TsRect whole{0, 0, w, h};
  if (Mode == 1) {
    work.Fill(Pixel32{});
    if (L < 0 || T < 0) {
      CopyRect32(work, 0, 0, Picture.View(), whole);
    } else {
      const int l = static_cast<int>(L), t = static_cast<int>(T);
      StretchRect32(work, TsRect{l, t, l + static_cast<int>(R - L), t + static_cast<int>(B - T)}, Picture.View(), whole);
    }
  } else if (Index == 0) {
    CopyRect32(work, 0, 0, Picture.View(), whole);
  }
  Window->Show(Work, At, shown);
  L += DX;
  R -= DX;
  T += DY;
  B -= DY;
  ++Index;
}

}  // namespace

void acStartHideFade(std::unique_ptr<TacEffectWindow> window, TBitmap& picture, POINT at, unsigned time,
                     int mode) {
  HideFade& f = Fade();
  f.Free();
  const int steps = static_cast<int>(time / kStepInterval);
  if (steps == 0 || !window || !window->Handle() || picture.Empty()) return;  // nothing to show
  f.Window = std::move(window);
  const int w = picture.Width(), h = picture.Height();
  f.Picture.SetSize(w, h);
  BitBlt(f.Picture.Canvas().Handle(), 0, 0, w, h, picture.Canvas().Handle(), 0, 0, SRCCOPY);
  f.Work.SetSize(w, h);
  f.At = at;
  f.Steps = steps;
  f.Index = 0;
  f.Mode = mode;
  f.Alpha = 255;
  f.AlphaStep = 255.0 / steps;
  f.L = 0;
  f.T = 0;
  f.R = w;
  f.B = h;
  f.DX = static_cast<double>(w) / (steps * 8);
  f.DY = static_cast<double>(h) / (steps * 8);
  f.Window->Show(f.Picture, at, 255);
  SetWindowPos(f.Window->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetTimer(f.Window->Handle(), kFadeTimer, kStepInterval, &FadeTimerProc);
}

HWND acHideFadeWindow() { return Fade().Window ? Fade().Window->Handle() : nullptr; }

void acFinishHideFade() {
  HideFade& f = Fade();
  if (f.Window && f.Window->Handle()) KillTimer(f.Window->Handle(), kFadeTimer);
  while (f.Window) {
    f.Tick();
    Sleep(kStepInterval);
  }
}
