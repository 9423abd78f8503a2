// A skinned edit with a small flat button at its right end. The text area ends where the
// button begins. With DirectInput off the user cannot type, paste, cut or delete: the text
// changes only through the button or by program code. The button (or ClickKey) runs
// ButtonClick, which descendants give their meaning.
#pragma once

#include "skin/controls/sMaskEdit.h"
#include "skin/controls/sSpeedButton.h"

// The button inside an edit: section "SPEEDBUTTON_SMALL", 22 pixels wide, arrow cursor, no
// caption; enabled exactly when its edit is.
class TsEditButton : public TsSpeedButton {
 public:
  static constexpr int kWidth = 22;
  explicit TsEditButton(TComponent* AOwner);
  FRAMEWORK_CLASS(TsEditButton)
};

// Shortcut values: a virtual key plus these modifier bits.
enum : uint16_t { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
using TShortCut = uint16_t;

class TsCustomComboEdit : public TsMaskEdit {
 public:
  explicit TsCustomComboEdit(TComponent* AOwner);
  FRAMEWORK_CLASS(TsCustomComboEdit)

  TsEditButton* Button() const { return button_; }
  bool ShowButton() const { return showButton_; }
  void SetShowButton(bool v);
  bool DirectInput() const { return directInput_; }
  void SetDirectInput(bool v);
  // The combo edit's own read-only state (DirectInput aside): a read-only edit's button does
  // nothing.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  TShortCut ClickKey() const { return clickKey_; }
  void SetClickKey(TShortCut v) { clickKey_ = v; }
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }

  // What a click on the button does: the common part here fires OnButtonClick.
  virtual void ButtonClick();
  TNotifyEvent OnButtonClick;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;
  void Resize() override;

 private:
  void PlaceButton();
  void ApplyWindowReadOnly();
  // A message by which a user would change the text directly.
  bool IsDirectInput(const TMessage& m) const;
  bool IsClickKey(const TMessage& m) const;

  TsEditButton* button_ = nullptr;
  bool showButton_ = true;
  bool directInput_ = true;
  bool readOnly_ = false;
  bool autoSelect_ = true;
  TShortCut clickKey_ = scAlt | VK_DOWN;
};
