// The hover and press animation of a title button: the button's state picture in a layered
// window of its own over the form, faded in and out by a 12 ms timer. The layered-window
// functions are looked up by name at start-up; without them there are no animations and the
// title bar draws the states itself. A skin may give a button a glow: a larger picture around
// it that the animation shows instead of the hot one.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/Graphics.h"
#include "skin/data/sMaskData.h"
#include "skin/render/acLayered_win.h"
#include "skin/render/sGeometry.h"

// The glow a hot title button shows instead of its hot picture.
struct TacButtonGlow {
  const TsMaskData* Image = nullptr;  // none: the hot picture
  int32_t Margin = 0;
};

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
  // showing cell `state` of `image` at `rect` (window coordinates of the form), or for the
  // hot state the glow when one is given.
  void ChangeState(int state, const TsMaskData& image, const TsRect& rect, TacButtonGlow glow = {});
  // -1 once a fade-out has ended (the window is gone then).
  int State() const { return state_; }
  HWND Window() const { return wnd_; }

 private:
  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Tick();
  void MakePicture(const TsMaskData& image, TacButtonGlow glow);
  bool MakeWindow();
  void Show(int alpha);
  void Stop();
  void Free();

  HWND form_;
  std::function<void()> onLeave_;
  HWND wnd_ = nullptr;
  TBitmap picture_;
  TsRect rect_;
  TsPoint offset_;  // of the picture from the button's top-left (a glow is larger)
  int state_ = -1;
  int step_ = 0;
  int lastAlpha_ = 0;
  int steps_ = kFadeSteps;
  bool fadingIn_ = false;
  bool timer_ = false;
  bool showFull_ = false;  // a pressed picture waits for the next tick
};
