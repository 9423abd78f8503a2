// Common controls: progress bar.
#pragma once

#include "framework/Controls.h"

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

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
};
