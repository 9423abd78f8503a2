// The minimize flight: a picture of the main window shrinking and fading on its way to the
// taskbar in equal steps, and growing back from there on restore. Only the arithmetic lives
// here; the Win32 side moves the pictures.
#pragma once

#include <functional>

#include "skin/render/sGeometry.h"

// Which screen edge a taskbar window sits on, read from its rectangle.
enum class TacTaskbarEdge { Left, Top, Right, Bottom };
TacTaskbarEdge acTaskbarEdge(const TsRect& taskbar);

// The empty rectangle a picture flies to when the taskbar's own button is not known: the
// middle of the taskbar's inner edge, level with the picture's start centre.
TsRect acTaskbarEdgeTarget(const TsRect& taskbar, TsPoint startCentre);

// One tick's picture: drawn `Width` x `Height` at (`OffsetX`, `OffsetY`) into a work picture
// of the start size, which is shown at `At` with the constant alpha `Alpha`.
struct TacFlightFrame {
  enum Kind { Shown, Arrived, Returned } What = Shown;
  int Alpha = 0;
  int Width = 0, Height = 0;
  int OffsetX = 0, OffsetY = 0;
  TsPoint At;
};

class TacMinFlight {
 public:
  static constexpr unsigned kInterval = 15;  // ms between ticks

  // Every minimize start. `window` is the window's rectangle now; `target` gives the rectangle
  // to fly to from the start centre (asked only when a new flight begins). A picture already
  // on its way keeps its place and alpha.
  void Init(unsigned time, int startAlpha, const TsRect& window, const std::function<TsRect(TsPoint)>& target);

  // One tick: toward the taskbar while not minimized, else back.
  TacFlightFrame Step();

  bool Minimized = false;  // the picture has arrived; a restore sets it to fly back
  bool Started() const { return started_; }
  int StepCount() const { return stepCount_; }
  int StartAlpha() const { return startAlpha_; }
  int RestoreAlpha() const { return restoreAlpha_; }
  double CurrentAlpha() const { return alpha_; }
  bool InFlight() const { return alpha_ < startAlpha_; }
  const TsRect& StartRect() const { return start_; }
  const TsRect& TargetRect() const { return target_; }

 private:
  TacFlightFrame Frame(int alpha) const;

  bool started_ = false;
  int stepCount_ = 1, startAlpha_ = 255, restoreAlpha_ = 255;
  double alpha_ = 0, alphaStep_ = 0;
  TsRect start_, target_;
  TsPoint startCentre_, targetCentre_;
  double l_ = 0, t_ = 0, r_ = 0, b_ = 0;
  double dx_ = 0, dy_ = 0, dw_ = 0, dh_ = 0;
};
