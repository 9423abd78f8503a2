// The size grip of a sizeable form: the skin's GRIPIMAGE (of GLOBALINFO) drawn over the form's
// background in its bottom-right corner; the form answers HTBOTTOMRIGHT over it (Contains).
#pragma once

#include "framework/Controls.h"

class TsSizeGrip : public TGraphicControl {
 public:
  // Places itself in the parent's bottom-right corner, anchored there.
  explicit TsSizeGrip(TComponent* AOwner);
  FRAMEWORK_CLASS(TsSizeGrip)

  void SetParent(TWinControl* parent) override;
  // The point (parent's client coordinates) lies on the grip.
  bool Contains(POINT p) const;

 protected:
  void Paint() override;

 private:
  void Place();
};
