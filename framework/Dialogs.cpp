#include "framework/Dialogs.h"

#include "framework/ExtCtrls.h"
#include "framework/Handles.h"

#include <algorithm>
#include <cstring>
#include <memory>

TMessageForm::TMessageForm(TComponent* AOwner) : TForm(AOwner) {}

namespace {

// Puts 8-bit text on the clipboard; the system owns the memory once it took it.
void CopyTextToClipboard(HWND owner, const std::string& text) {
  if (!OpenClipboard(owner)) return;
  struct Close {
    ~Close() { CloseClipboard(); }
  } close;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!memory) return;
  if (void* p = GlobalLock(memory)) {
    std::memcpy(p, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (SetClipboardData(CF_TEXT, memory)) return;
  }
  GlobalFree(memory);
}

}  // namespace

std::string TMessageForm::ClipboardText() {
  const std::string line = "---------------------------\r\n";
  std::string buttons;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* b = dynamic_cast<TButton*>(Components(i))) {
      for (char c : b->Caption())
        if (c != '&') buttons += c;
      buttons += "   ";
    }
  std::string text = Message ? Message->Caption() : std::string();
  // The label breaks lines with LF alone; the clipboard's text wants CR LF.
  std::string crlf;
  for (char c : text) {
    if (c == '\n' && (crlf.empty() || crlf.back() != '\r')) crlf += '\r';
    crlf += c;
  }
  return line + Caption() + "\r\n" + line + crlf + "\r\n" + line + buttons + "\r\n" + line;
}

void TMessageForm::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGKEY && GetKeyState(VK_CONTROL) < 0 && (m.WParam == 'C' || m.WParam == VK_INSERT)) {
    CopyTextToClipboard(Handle(), ClipboardText());
    m.Result = 1;
    return;
  }
  TForm::WndProc(m);
}

namespace {

struct ButtonKind {
  TMsgDlgBtn button;
  const char* caption;
  const char* name;
  int result;
};

// Left to right as Windows' own message boxes put them: the way on first, Cancel after it.
constexpr ButtonKind kButtons[] = {
    {mbYes, "&Yes", "Yes", mrYes},           {mbNo, "&No", "No", mrNo},
    {mbOK, "OK", "OK", mrOk},                {mbAbort, "&Abort", "Abort", mrAbort},
    {mbRetry, "&Retry", "Retry", mrRetry},   {mbIgnore, "&Ignore", "Ignore", mrIgnore},
    {mbCancel, "Cancel", "Cancel", mrCancel}, {mbAll, "&All", "All", mrAll},
    {mbNoToAll, "N&o to All", "NoToAll", mrNoToAll}, {mbYesToAll, "Yes to &All", "YesToAll", mrYesToAll},
    {mbHelp, "&Help", "Help", mrNone},       {mbClose, "&Close", "Close", mrClose},
};

const char* CaptionFor(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning: return "Warning";
    case TMsgDlgType::mtError: return "Error";
    case TMsgDlgType::mtInformation: return "Information";
    case TMsgDlgType::mtConfirmation: return "Confirm";
    case TMsgDlgType::mtCustom: break;
  }
  return nullptr;
}

LPCSTR IconFor(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning: return IDI_EXCLAMATION;
    case TMsgDlgType::mtError: return IDI_HAND;
    case TMsgDlgType::mtInformation: return IDI_ASTERISK;
    case TMsgDlgType::mtConfirmation: return IDI_QUESTION;
    case TMsgDlgType::mtCustom: break;
  }
  return nullptr;
}

}  // namespace

TMessageForm* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  constexpr int kMargin = 12, kSpacing = 12, kButtonHeight = 25, kButtonGap = 6, kIconSize = 32;
  auto form = std::make_unique<TMessageForm>(nullptr);
  form->SetBorderStyle(TFormBorderStyle::bsDialog);
  form->SetBorderIcons(biSystemMenu);
  form->SetPosition(TPosition::poScreenCenter);
  const char* caption = CaptionFor(type);
  form->SetCaption(caption ? caption : (Application ? Application->Title() : std::string()));

  // Text size: word-wrapped at half the screen width.
  RECT textRect{0, 0, std::max(Screen->Width() / 2, 200), 0};
  int buttonWidth = 75;
  {
    WindowDC screen(nullptr);
    TCanvas canvas(screen.get());
    canvas.Font().Assign(form->Font());
    canvas.DrawText(text.empty() ? std::string(" ") : text, textRect,
                    DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    for (const ButtonKind& k : kButtons)
      if (buttons & k.button) buttonWidth = std::max(buttonWidth, canvas.TextWidth(k.caption) + 16);
    canvas.SetHandle(nullptr);
  }
  const int textWidth = textRect.right - textRect.left;
  const int textHeight = textRect.bottom - textRect.top;

  int iconSpace = 0;
  if (LPCSTR iconId = IconFor(type)) {
    auto* image = new TImage(form.get());
    image->SetName("Image");
    image->SetParent(form.get());
    image->SetBounds(kMargin, kMargin, kIconSize, kIconSize);
    TBitmap& bmp = image->Picture();
    bmp.SetSize(kIconSize, kIconSize);
    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(form->Color());
    c.FillRect(Rect(0, 0, kIconSize, kIconSize));
    DrawIconEx(c.Handle(), 0, 0, LoadIconA(nullptr, iconId), kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    iconSpace = kIconSize + kSpacing;
  }

  int count = 0;
  for (const ButtonKind& k : kButtons)
    if (buttons & k.button) ++count;
  if (count == 0) {
    buttons = mbOK;
    count = 1;
  }
  const int buttonsWidth = count * buttonWidth + (count - 1) * kButtonGap;
  const int contentHeight = std::max(textHeight, iconSpace ? kIconSize : 0);
  const int clientWidth = std::max(iconSpace + textWidth, buttonsWidth) + 2 * kMargin;
  const int clientHeight = kMargin + contentHeight + kSpacing + kButtonHeight + kMargin;
  form->SetClientSize(clientWidth, clientHeight);

  auto* label = new TLabel(form.get());
  label->SetName("Message");
  label->SetParent(form.get());
  label->SetShowAccelChar(false);
  label->SetWordWrap(true);
  label->SetAutoSize(false);
  label->SetBounds(kMargin + iconSpace, kMargin, textWidth, textHeight);
  label->SetCaption(text);
  form->Message = label;

  const TMsgDlgBtn defaultButton = (buttons & mbOK) ? mbOK : (buttons & mbYes) ? mbYes : TMsgDlgBtn{};
  const TMsgDlgBtn cancelButton = (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo
                                : (buttons & mbOK) ? mbOK : TMsgDlgBtn{};
  int x = (clientWidth - buttonsWidth) / 2;
  const int y = kMargin + contentHeight + kSpacing;
  TButton* first = nullptr;
  TButton* focus = nullptr;
  for (const ButtonKind& k : kButtons) {
    if (!(buttons & k.button)) continue;
    auto* b = new TButton(form.get());
    b->SetName(k.name);
    b->SetParent(form.get());
    b->SetCaption(k.caption);
    b->SetModalResult(k.result);
    b->SetBounds(x, y, buttonWidth, kButtonHeight);
    if (k.button == defaultButton) {
      b->SetDefault(true);
      focus = b;
    }
    if (k.button == cancelButton) b->SetCancel(true);
    if (!first) first = b;
    x += buttonWidth + kButtonGap;
  }
  form->AfterConstruction();
  form->SetActiveControl(nullptr);
  if (TButton* b = focus ? focus : first) form->SetActiveControl(b);
  return form.release();
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  std::unique_ptr<TMessageForm> form(CreateMessageDialog(text, type, buttons));
  return form->ShowModal();
}

void ShowMessage(const std::string& text) { MessageDlg(text, TMsgDlgType::mtCustom, mbOK); }
