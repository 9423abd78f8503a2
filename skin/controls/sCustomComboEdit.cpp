#include "skin/controls/sCustomComboEdit.h"

TsEditButton::TsEditButton(TComponent* AOwner) : TsSpeedButton(AOwner) {
  SkinData().SetSkinSection("SPEEDBUTTON_SMALL");
  SetBounds(0, 0, kWidth, 21);
}

TsCustomComboEdit::TsCustomComboEdit(TComponent* AOwner) : TsMaskEdit(AOwner) {
  button_ = new TsEditButton(this);
  button_->SetName("Button");
  button_->SetParent(this);
  button_->OnClick = [this](TObject*) { ButtonClick(); };
}

void TsCustomComboEdit::ButtonClick() {
  if (OnButtonClick) OnButtonClick(this);
}

void TsCustomComboEdit::CreateParams(TCreateParams& p) {
  TsMaskEdit::CreateParams(p);
  if (readOnly_ || !directInput_) p.Style |= ES_READONLY;
}

void TsCustomComboEdit::CreateHandleDone() {
  TsMaskEdit::CreateHandleDone();
  PlaceButton();
}

void TsCustomComboEdit::Resize() {
  TsMaskEdit::Resize();
  PlaceButton();
}

// The button fills the right end of the client area; the text stops short of it.
void TsCustomComboEdit::PlaceButton() {
  if (!button_) return;
  button_->SetVisible(showButton_);
  const int w = showButton_ ? TsEditButton::kWidth : 0;
  button_->SetBounds(ClientWidth() - TsEditButton::kWidth, 0, TsEditButton::kWidth, ClientHeight());
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, w));
}

void TsCustomComboEdit::SetShowButton(bool v) {
  showButton_ = v;
  PlaceButton();
}

// The window is read-only whenever the user may not change the text directly: that also
// shuts the platform's own ways in (its context menu, Shift+Insert) that send no message.
void TsCustomComboEdit::ApplyWindowReadOnly() {
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, (readOnly_ || !directInput_) ? TRUE : FALSE, 0);
}

void TsCustomComboEdit::SetDirectInput(bool v) {
  directInput_ = v;
  ApplyWindowReadOnly();
}

void TsCustomComboEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  ApplyWindowReadOnly();
}

bool TsCustomComboEdit::IsDirectInput(const TMessage& m) const {
  if (directInput_) return false;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  switch (m.Msg) {
    case WM_CHAR:
      // Ctrl+A and Ctrl+C still select and copy.
      return m.WParam != 0x01 && m.WParam != 0x03;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
      return true;
    case WM_KEYDOWN:
      // The platform edit pastes on Shift+Insert and cuts on Shift+Delete by itself.
      return m.WParam == VK_DELETE || m.WParam == VK_BACK || (m.WParam == VK_INSERT && shift) ||
             (ctrl && (m.WParam == 'V' || m.WParam == 'X'));
    default:
      return false;
  }
}

bool TsCustomComboEdit::IsClickKey(const TMessage& m) const {
  if (m.Msg != WM_KEYDOWN && m.Msg != WM_SYSKEYDOWN) return false;
  TShortCut pressed = static_cast<TShortCut>(m.WParam & 0xFF);
  if (GetKeyState(VK_SHIFT) < 0) pressed |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) pressed |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) pressed |= scAlt;
  return clickKey_ != 0 && pressed == clickKey_;
}

void TsCustomComboEdit::WndProc(TMessage& m) {
  if (IsClickKey(m)) {
    if (showButton_ && Enabled()) ButtonClick();
    m.Result = 0;
    return;
  }
  if (IsDirectInput(m)) {
    m.Result = 0;
    return;
  }
  TsMaskEdit::WndProc(m);
  if (m.Msg == CM_ENABLEDCHANGED && button_) button_->SetEnabled(Enabled());
  if (m.Msg == WM_SETFOCUS && autoSelect_) SelectAll();
}
