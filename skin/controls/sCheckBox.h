// A check box painted from the skin: section CHECKBOX, glyphs BOXUNCHECKED, BOXCHECKED and
// BOXGRAYED of GLOBALINFO.
#pragma once

#include "skin/controls/sCheckControl.h"

class TsCheckBox : public TsCheckControl<TCheckBox> {
 public:
  explicit TsCheckBox(TComponent* AOwner);
  FRAMEWORK_CLASS(TsCheckBox)

  // Image-list glyph indexes; without an image list the skin's images are drawn.
  int ImgChecked() const { return imgChecked_; }
  void SetImgChecked(int v) { imgChecked_ = v; }
  int ImgUnchecked() const { return imgUnchecked_; }
  void SetImgUnchecked(int v) { imgUnchecked_ = v; }

 protected:
  int CheckValue() const override { return static_cast<int>(State()); }
  void AdoptCheck(int value) override;
  int32_t SkinGlyphIndex(const TsSkinModel& model) const override;
  void Activate() override { Toggle(); }
  void ShowCheckChange() override { SkinData().RepaintOwner(); }

 private:
  int imgChecked_ = -1;
  int imgUnchecked_ = -1;
};
