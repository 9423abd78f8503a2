// A radio button painted from the skin: section RADIOBUTTON, glyphs RADIOUNCHECKED and
// RADIOCHECKED of GLOBALINFO. Checking one unchecks the radio buttons beside it.
#pragma once

#include "skin/controls/sCheckControl.h"

class TsRadioButton : public TsCheckControl<TRadioButton> {
 public:
  explicit TsRadioButton(TComponent* AOwner);
  FRAMEWORK_CLASS(TsRadioButton)

 protected:
  int CheckValue() const override { return Checked() ? 1 : 0; }
  void AdoptCheck(int value) override { SetChecked(value != 0); }
  int32_t SkinGlyphIndex(const TsSkinModel& model) const override;
  void Activate() override { SetChecked(true); }
  void ShowCheckChange() override { Changed(evMouseUp, true); }
  void SkinRefreshed() override;
};
