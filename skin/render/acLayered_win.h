// Layered windows of the skin engine (title-button animations, glows): the layered-window
// functions, looked up by name on first use (tests inject their own), the platform rule that
// switches glowing off, and the plain click-through windows that show a picture with
// per-pixel alpha.
#pragma once

#include <windows.h>

#include "framework/Graphics.h"

using TUpdateLayeredWindow = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// The engine's layered-window functions: from user32 by name (null where the system has none),
// and whether the platform switches glowing off (a 32-bit process on 64-bit Windows while
// desktop composition is off, where layered glows are not drawn properly).
struct TacLayeredFunctions {
  TacLayeredFunctions();
  TUpdateLayeredWindow Update;
  TSetLayeredWindowAttributes SetAttributes;
  bool GlowingOffForPlatform;
};
const TacLayeredFunctions& acLayered();

// Puts another UpdateLayeredWindow in the engine's place while it lives (tests record what the
// engine shows) and the one it replaced back afterwards.
class TacLayeredInjection {
 public:
  explicit TacLayeredInjection(TUpdateLayeredWindow update);
  ~TacLayeredInjection();
  TacLayeredInjection(const TacLayeredInjection&) = delete;
  TacLayeredInjection& operator=(const TacLayeredInjection&) = delete;
  // The function the injection replaced.
  TUpdateLayeredWindow Replaced() const { return replaced_; }

 private:
  TUpdateLayeredWindow replaced_;
};

// Whether desktop composition is on (dwmapi looked up by name; any failure counts as off).
bool acCompositionEnabled();

// Whether a process is a 32-bit one on 64-bit Windows (IsWow64Process looked up by name).
bool acIsWow64(HANDLE process);

// A hidden popup owned by `owner` that takes neither the mouse nor the focus
// (WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE, topmost on request).
// The class is registered on first use with `proc`, which must answer WM_NCHITTEST with
// HTTRANSPARENT. nullptr when the window cannot be made.
HWND CreateLayeredPopup(const char* className, WNDPROC proc, HWND owner, bool topmost);

// Where a picture shown over `wnd` goes in the z-order: the top of the topmost windows when
// `wnd` is one of them, else the top of the others.
HWND acTopPlaceOver(HWND wnd);

// Shows `picture` (premultiplied alpha) at `pos` on the screen with a constant alpha on top.
void UpdateLayeredPicture(HWND wnd, POINT pos, TBitmap& picture, int alpha);
