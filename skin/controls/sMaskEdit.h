// The skinned edit the edits with buttons build on: section "EDIT", the blended disabled look,
// and a change event that loading a form never fires (every later change of the text does,
// one made by program code too).
#pragma once

#include "skin/controls/sEdit.h"

class TsMaskEdit : public TsEdit {
 public:
  explicit TsMaskEdit(TComponent* AOwner) : TsEdit(AOwner) {}
  FRAMEWORK_CLASS(TsMaskEdit)
};
