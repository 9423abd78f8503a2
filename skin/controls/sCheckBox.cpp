#include "skin/controls/sCheckBox.h"

#include "skin/data/sSkinModel.h"

TsCheckBox::TsCheckBox(TComponent* AOwner) : TsCheckControl<TCheckBox>(AOwner, ccCheckBox) {}

void TsCheckBox::AdoptCheck(int value) {
  SetState(value == BST_CHECKED ? TCheckBoxState::cbChecked
           : value == BST_INDETERMINATE ? TCheckBoxState::cbGrayed
                                        : TCheckBoxState::cbUnchecked);
}

int32_t TsCheckBox::SkinGlyphIndex(const TsSkinModel& model) const {
  switch (State()) {
    case TCheckBoxState::cbChecked: return model.Cache.BoxChecked;
    case TCheckBoxState::cbGrayed: return model.Cache.BoxGrayed;
    default: return model.Cache.BoxUnchecked;
  }
}
