// The dialogs' push button: a skinned button (section "BUTTON") of its own class name.
#pragma once

#include "skin/controls/sButton.h"

class TsBitBtn : public TsButton {
 public:
  explicit TsBitBtn(TComponent* AOwner) : TsButton(AOwner) { SetBounds(0, 0, 75, 25); }
  FRAMEWORK_CLASS(TsBitBtn)
};
