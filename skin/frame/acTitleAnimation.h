// The hover and press animation of a title button: the button's state picture in a layered
// window of its own over the form, faded in and out by a 12 ms timer. The layered-window
// functions are looked up by name at start-up; without them there are no animations and the
// title bar draws the states itself.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/Graphics.h"
#include "skin/data/sMaskData.h"

using TUpdateLayeredWindow = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
// From user32 by name; null where the system has none.
extern TUpdateLayeredWindow acUpdateLayeredWindow;
extern TSetLayeredWindowAttributes acSetLayeredWindowAttributes;

class TacSBAnimation {
 public:
  static constexpr UINT kInterval = 12;
  static constexpr int kFadeSteps = 10;

  // `onLeave` runs when a fully shown hot picture finds the cursor off the button.
  TacSBAnimation(HWND form, std::function<void()> onLeave);
  ~TacSBAnimation();
  TacSBAnimation(const TacSBAnimation&) = delete;
  TacSBAnimation& operator=(const TacSBAnimation&) = delete;

  // Fades to `state` (1 hot: in over ten steps, 2 pressed: at once, 0: out over ten steps),
  // showing cell `state` of `image` at `rect` (window coordinates of the form).
  void ChangeState(int state, const TsMaskData& image, const TsRect& rect);
  // -1 once a fade-out has ended (the window is gone then).
  int State() const { return state_; }
  HWND Window() const { return wnd_; }

 private:
  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Tick();
  void MakePicture(const TsMaskData& image);
  bool MakeWindow();
  void Show(int alpha);
  void Stop();
  void Free();

  HWND form_;
  std::function<void()> onLeave_;
  HWND wnd_ = nullptr;
  TBitmap picture_;
  TsRect rect_;
  int state_ = -1;
  int step_ = 0;
  int lastAlpha_ = 0;
  int steps_ = kFadeSteps;
  bool fadingIn_ = false;
  bool timer_ = false;
  bool showFull_ = false;  // a pressed picture waits for the next tick
};
