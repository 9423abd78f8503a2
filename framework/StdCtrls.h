// Standard controls: label, push button, check box, radio button, edit, memo, group box.
#pragma once

#include "framework/Controls.h"

#include <string>
#include <vector>

// A windowless text. AutoSize fits the control to its text (with WordWrap only the height).
class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* AOwner);
  FRAMEWORK_CLASS(TLabel)

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);

  // Fits the size to the text now (only when AutoSize is on).
  void AdjustBounds();

 protected:
  void WndProc(TMessage& message) override;
  void Paint() override;
  void Loaded() override;
  // Draws the caption into rect with DrawTextA flags (DT_CALCRECT measures only).
  virtual void DoDrawText(RECT& rect, UINT flags);
  UINT DrawTextFlags() const;

 private:
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool showAccelChar_ = true;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TTextLayout layout_ = TTextLayout::tlTop;
};

enum TModalResult : int {
  mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
  mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrClose = 8, mrHelp = 9,
  mrAll = 12, mrNoToAll = 13, mrYesToAll = 14,
};

// A push button of window class "TButton" (over "BUTTON"). A click sets the parent form's
// ModalResult to the button's (when not mrNone). Enter clicks the focused button or else
// the Default one; Escape clicks the Cancel one. The form's default button is the focused
// button, or the Default one while no button has the focus; each button hears of it through
// SetButtonStyle.
class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* AOwner);
  FRAMEWORK_CLASS(TButton)

  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }
  void Click() override;
  bool IsPushButton() const override { return true; }
  bool IsDefaultButton() const override { return default_; }
  bool IsCancelButton() const override { return cancel_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  // The button becomes (or stops being) the form's default button. A plain push button
  // switches its window style; an owner-drawn one keeps its style and shows it itself.
  virtual void SetButtonStyle(bool isDefault);

 private:
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = mrNone;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A check box ("TCheckBox" over "BUTTON"). A user's click toggles it; OnClick follows every
// change of State (not while the form is loading). With AllowGrayed a click cycles
// unchecked -> grayed -> checked -> unchecked.
class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* AOwner);
  FRAMEWORK_CLASS(TCheckBox)

  bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
  void SetChecked(bool v) { SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState v);
  TAlignment Alignment() const { return alignment_; }  // taRightJustify: text right of the box
  void SetAlignment(TAlignment v);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool v) { allowGrayed_ = v; }
  // The change a user's click makes. Skinned check boxes call it on release themselves and
  // keep Windows' own click away, so that a click toggles once.
  void Toggle();

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
  TAlignment alignment_ = TAlignment::taRightJustify;
  bool allowGrayed_ = false;
};

// A radio button ("TRadioButton" over "BUTTON"). Checking one first unchecks the radio
// buttons among its siblings, then fires its OnClick — only when it became checked.
// As usual for radio groups, only the checked button is a tab stop; arrow keys move
// between the buttons of a group and check the one they reach.
class TRadioButton : public TWinControl {
 public:
  explicit TRadioButton(TComponent* AOwner);
  FRAMEWORK_CLASS(TRadioButton)

  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  // As in the system's dialogs: Tab reaches the checked button of a group, or its first
  // button while none is checked (arrows then move between them).
  bool TakesTab() const override;
  void ArrowKeyReached() override { SetChecked(true); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  bool checked_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
};

// Common part of TEdit and TMemo ("EDIT" superclassed). OnChange fires on every change of
// the text, by the user or by SetText (not while the form is loading).
class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);
  FRAMEWORK_CLASS(TCustomEdit)

  int MaxLength() const { return maxLength_; }   // 0 = no limit; applies to typing only
  void SetMaxLength(int v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  void SetText(const std::string& value) override;
  void SelectAll();

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;
  virtual void Change();

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
  bool sawChange_ = false;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner);
  FRAMEWORK_CLASS(TEdit)
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit ("TMemo" over "EDIT"). Lines are separated by CR LF; a bare CR or LF
// given to SetText becomes CR LF.
class TMemo : public TCustomEdit {
 public:
  explicit TMemo(TComponent* AOwner);
  FRAMEWORK_CLASS(TMemo)

  void SetText(const std::string& value) override;
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool v) { wantTabs_ = v; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = true;
  bool wantTabs_ = false;
};

// A framed container with a caption in its top border, painted by itself ("TGroupBox").
class TGroupBox : public TCustomControl {
 public:
  explicit TGroupBox(TComponent* AOwner);
  FRAMEWORK_CLASS(TGroupBox)

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
};
