#include "skin/controls/sRadioButton.h"

#include "skin/data/sSkinModel.h"

TsRadioButton::TsRadioButton(TComponent* AOwner) : TsCheckControl<TRadioButton>(AOwner, ccRadioButton) {}

int32_t TsRadioButton::SkinGlyphIndex(const TsSkinModel& model) const {
  return Checked() ? model.Cache.RadioChecked : model.Cache.RadioUnchecked;
}

void TsRadioButton::SkinRefreshed() {
  // A resize repaints through the cache; a whole-window redraw of the class would flicker.
  if (!HandleAllocated()) return;
  const ULONG_PTR style = GetClassLongPtrA(Handle(), GCL_STYLE);
  SetClassLongPtrA(Handle(), GCL_STYLE, static_cast<LONG_PTR>(style & ~static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW)));
}
