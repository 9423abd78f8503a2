// Minimizing and restoring the main form with a picture: the form turns invisible while a
// picture of it flies, shrinking and fading, to the application's taskbar button (or the
// taskbar's inner edge), and flies back before the real window is shown again.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/Graphics.h"
#include "skin/frame/acFormEffects.h"
#include "skin/render/acMinFlight.h"

// The system's own minimize animation is off while this lives (left alone while desktop
// composition is on), so that it does not play over the picture's flight.
class TacSystemAnimationOff {
 public:
  TacSystemAnimationOff();
  ~TacSystemAnimationOff();
  TacSystemAnimationOff(const TacSystemAnimationOff&) = delete;
  TacSystemAnimationOff& operator=(const TacSystemAnimationOff&) = delete;

 private:
  bool restore_ = false;
  int previous_ = 0;
};

// The screen rectangle of `app`'s button on a taskbar window that keeps its buttons in a
// toolbar (read through the taskbar's process); false when there is no such button.
bool acFindTaskbarButton(HWND tray, HWND app, RECT& button);

// The taskbar's window, or nullptr.
HWND acTaskbarWindow();

// Where `app`'s picture flies from a start centre: its taskbar button when desktop
// composition is off and the button is found, else the middle of the taskbar's inner edge,
// else (no taskbar) the screen's origin.
TsRect acMinimizeTarget(HWND app, TsPoint startCentre);

// The provider's form timer while the minimize animations are used: the form's picture, the
// flight, and the animation window that shows it, ticking every 15 ms in the GUI thread.
class TacMinTimer {
 public:
  // What the form does when its picture has flown out, and when it has flown back (the latter
  // may free this timer's window).
  struct Landings {
    std::function<void()> Arrived;
    std::function<void()> Returned;
  };
  TacMinTimer(HWND form, Landings landings);
  ~TacMinTimer();
  TacMinTimer(const TacMinTimer&) = delete;
  TacMinTimer& operator=(const TacMinTimer&) = delete;

  // A new minimize: the flight set up from the form's rectangle, a fresh animation window.
  void Init(unsigned time);
  // Takes the form's picture (while it is on screen) and shows it in the animation window
  // over the form, so that the form may vanish behind it.
  void TakePicture();
  void Start();
  void Stop();
  bool Running() const { return running_; }

  TacMinFlight& Flight() { return flight_; }
  const TacMinFlight& Flight() const { return flight_; }
  HWND AnimationWindow() const { return window_ ? window_->Handle() : nullptr; }
  // Shows the whole picture where the flight began.
  void ShowFinalPicture();
  void FreeWindow() { window_.reset(); running_ = false; }

 private:
  static VOID CALLBACK TimerProc(HWND wnd, UINT, UINT_PTR, DWORD);
  void Tick();

  Landings landings_;
  HWND form_;
  HWND tray_ = nullptr;  // the taskbar the picture flies under, found when a flight is set up
  TacMinFlight flight_;
  TBitmap picture_, work_;
  std::unique_ptr<TacEffectWindow> window_;
  bool running_ = false;
  bool ticking_ = false;
};
