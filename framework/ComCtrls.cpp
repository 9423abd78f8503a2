#include "framework/ComCtrls.h"

#include <commctrl.h>

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& p) {
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)initialised;
  TWinControl::CreateParams(p);
  CreateSubClass(p, PROGRESS_CLASSA);
  if (orientation_ == TProgressBarOrientation::pbVertical) p.Style |= PBS_VERTICAL;
  if (smooth_) p.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateHandleDone() {
  SendMessageA(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetRange(int min, int max) {
  if (max < min) max = min;
  min_ = min;
  max_ = max;
  if (position_ < min_) position_ = min_;
  if (position_ > max_) position_ = max_;
  if (HandleAllocated()) CreateHandleDone();
}

void TProgressBar::SetPosition(int v) {
  if (v < min_) v = min_;
  if (v > max_) v = max_;
  if (v == position_) return;
  position_ = v;
  if (HandleAllocated()) SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(v), 0);
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  if (HandleAllocated()) RecreateWnd();
}

void TProgressBar::SetSmooth(bool v) {
  if (v == smooth_) return;
  smooth_ = v;
  if (HandleAllocated()) RecreateWnd();
}

void TProgressBar::SetBorderWidth(int v) {
  if (v < 0) v = 0;
  if (v == borderWidth_) return;
  borderWidth_ = v;
  Invalidate();
}
