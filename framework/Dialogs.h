// The framework's message dialog: a modal form of class "TMessageForm" with an icon, the
// text in a label and push buttons of class "TButton". Ctrl+C (or Ctrl+Insert) puts the
// caption, the text and the buttons on the clipboard, as a Windows message box does, so that
// a user can pass a message on whole.
#pragma once

#include "framework/Forms.h"

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint16_t {
  mbYes = 0x1, mbNo = 0x2, mbOK = 0x4, mbCancel = 0x8, mbAbort = 0x10, mbRetry = 0x20,
  mbIgnore = 0x40, mbAll = 0x80, mbNoToAll = 0x100, mbYesToAll = 0x200, mbHelp = 0x400, mbClose = 0x800,
};
using TMsgDlgButtons = uint16_t;

class TMessageForm : public TForm {
 public:
  explicit TMessageForm(TComponent* AOwner);
  FRAMEWORK_CLASS(TMessageForm)
  TLabel* Message = nullptr;

  // What Ctrl+C copies: caption, text and button captions between dashed lines.
  std::string ClipboardText();

 protected:
  void WndProc(TMessage& message) override;
};

// Builds (does not show) the dialog; the caller owns it.
TMessageForm* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
// Shows the dialog modally and returns the modal result of the button pressed
// (mrCancel when closed otherwise).
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx = 0);
void ShowMessage(const std::string& text);
