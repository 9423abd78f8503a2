#include "skin/render/acMinFlight.h"

#include <algorithm>
#include <cmath>

namespace {

// To the nearest integer, ties to even (the default rounding mode).
int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

TsPoint CentreOf(const TsRect& r) { return TsPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

}  // namespace

TacTaskbarEdge acTaskbarEdge(const TsRect& taskbar) {
  if (taskbar.Top != 0) return taskbar.Left >= -4 && taskbar.Left <= 0 ? TacTaskbarEdge::Bottom : TacTaskbarEdge::Right;
  if (taskbar.Left != 0) return TacTaskbarEdge::Right;
  return taskbar.Right - taskbar.Left > taskbar.Bottom - taskbar.Top ? TacTaskbarEdge::Top : TacTaskbarEdge::Left;
}

TsRect acTaskbarEdgeTarget(const TsRect& taskbar, TsPoint startCentre) {
  TsPoint p;
  switch (acTaskbarEdge(taskbar)) {
    case TacTaskbarEdge::Left: p = {taskbar.Right, startCentre.Y}; break;
    case TacTaskbarEdge::Right: p = {taskbar.Left, startCentre.Y}; break;
    case TacTaskbarEdge::Top: p = {startCentre.X, taskbar.Bottom}; break;
    case TacTaskbarEdge::Bottom: p = {startCentre.X, taskbar.Top}; break;
  }
  return TsRect{p.X, p.Y, p.X, p.Y};
}

void TacMinFlight::Init(unsigned time, int startAlpha, const TsRect& window,
                        const std::function<TsRect(TsPoint)>& target) {
  stepCount_ = std::max(static_cast<int>(time / kInterval), 1);
  startAlpha_ = startAlpha;
  restoreAlpha_ = startAlpha;
  if (!started_) {
    started_ = true;
    alpha_ = startAlpha;
  }
  if (alpha_ == 0 && Minimized) {
    l_ = target_.Left;
    t_ = target_.Top;
    r_ = target_.Right;
    b_ = target_.Bottom;
  }
  if (alpha_ >= startAlpha_) {
    start_ = window;
    startCentre_ = CentreOf(start_);
    target_ = target ? target(startCentre_) : TsRect{};
    targetCentre_ = CentreOf(target_);
    const double n = stepCount_;
    dx_ = (targetCentre_.X - startCentre_.X) / n;
    dy_ = (targetCentre_.Y - startCentre_.Y) / n;
    dw_ = ((start_.Right - start_.Left) - (target_.Right - target_.Left)) / (2 * n);
    dh_ = ((start_.Bottom - start_.Top) - (target_.Bottom - target_.Top)) / (2 * n);
    l_ = start_.Left;
    t_ = start_.Top;
    r_ = start_.Right;
    b_ = start_.Bottom;
  }
  alphaStep_ = static_cast<double>(startAlpha_) / std::max(1, stepCount_ - 1);
}

TacFlightFrame TacMinFlight::Step() {
  if (!Minimized) {
    l_ += dx_ + dw_;
    r_ += dx_ - dw_;
    t_ += dy_ + dh_;
    b_ += dy_ - dh_;
    alpha_ = Round(std::max(0.0, alpha_ - alphaStep_));
    if (alpha_ > 0) return Frame(static_cast<int>(alpha_));
    Minimized = true;
    TacFlightFrame arrived;
    arrived.What = TacFlightFrame::Arrived;
    return arrived;
  }
  l_ -= dx_ + dw_;
  r_ -= dx_ - dw_;
  t_ -= dy_ + dh_;
  b_ -= dy_ - dh_;
  alpha_ = Round(std::min(255.0, alpha_ + alphaStep_));
  if (alpha_ < startAlpha_) return Frame(static_cast<int>(alpha_));
  Minimized = false;
  TacFlightFrame done;
  done.What = TacFlightFrame::Returned;
  done.Alpha = restoreAlpha_;
  done.Width = start_.Right - start_.Left;
  done.Height = start_.Bottom - start_.Top;
  done.At = TsPoint{start_.Left, start_.Top};
  return done;
}

TacFlightFrame TacMinFlight::Frame(int alpha) const {
  const int workW = start_.Right - start_.Left, workH = start_.Bottom - start_.Top;
  const double w = std::max(r_ - l_, 0.0), h = std::max(b_ - t_, 0.0);
  TacFlightFrame f;
  f.Alpha = alpha;
  f.Width = Round(w);
  f.Height = Round(h);
  f.OffsetX = (workW - f.Width) / 2;
  f.OffsetY = (workH - f.Height) / 2;
  // The picture's centre follows the flying rectangle's centre.
  f.At = TsPoint{Round(w / 2 + l_) - workW / 2, Round(h / 2 + t_) - workH / 2};
  return f;
}
