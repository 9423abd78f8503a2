// Common controls: progress bar.
#pragma once

#include "framework/Controls.h"

enum class TProgressBarOrientation { pbHorizontal, pbVertical };

// "TProgressBar" over the common-controls progress class.
class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* AOwner);
  FRAMEWORK_CLASS(TProgressBar)

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int v) { SetRange(v, max_); }
  void SetMax(int v) { SetRange(min_, v); }
  void SetRange(int min, int max);
  // Kept within Min..Max.
  void SetPosition(int v);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation v);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);
  // Space kept free inside the bar's edge.
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  TProgressBarOrientation orientation_ = TProgressBarOrientation::pbHorizontal;
  bool smooth_ = false;
  int borderWidth_ = 0;
};
