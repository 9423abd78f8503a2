#include "installer/DirectoryEdit.h"

#include <windows.h>
#include <shlobj.h>

namespace {

constexpr int kButtonWidth = 21;

// Messages by which a user changes an edit's text directly.
bool IsDirectInput(const TMessage& m) {
  switch (m.Msg) {
    case WM_CHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
      return true;
    case WM_KEYDOWN:
      return m.WParam == VK_DELETE || m.WParam == VK_BACK;
    default:
      return false;
  }
}

class ItemIdList {
 public:
  explicit ItemIdList(PIDLIST_ABSOLUTE p) : p_(p) {}
  ~ItemIdList() {
    if (p_) CoTaskMemFree(p_);
  }
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  PIDLIST_ABSOLUTE get() const { return p_; }

 private:
  PIDLIST_ABSOLUTE p_;
};

}  // namespace

TDirectoryEdit::TDirectoryEdit(TComponent* AOwner) : TEdit(AOwner) {
  button_ = new TButton(this);
  button_->SetName("BrowseButton");
  button_->SetCaption("...");
  button_->SetTabStop(false);
  button_->SetParent(this);
  button_->OnClick = [this](TObject*) { Browse(); };
  PlaceButton();
}

void TDirectoryEdit::SetBounds(int left, int top, int width, int height) {
  TEdit::SetBounds(left, top, width, height);
  PlaceButton();
}

void TDirectoryEdit::PlaceButton() {
  if (!button_) return;
  const int h = ClientHeight() > 0 ? ClientHeight() : Height();
  button_->SetBounds(ClientWidth() - kButtonWidth, 0, kButtonWidth, h);
}

void TDirectoryEdit::CreateHandleDone() {
  TEdit::CreateHandleDone();
  PlaceButton();
  // Keep the text clear of the button.
  SendMessageA(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, kButtonWidth + 2));
}

void TDirectoryEdit::WndProc(TMessage& message) {
  if (!directInput_ && IsDirectInput(message)) {
    message.Result = 0;
    return;
  }
  TEdit::WndProc(message);
}

void TDirectoryEdit::Browse() {
  char display[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = HandleAllocated() ? GetAncestor(Handle(), GA_ROOT) : nullptr;
  info.pszDisplayName = display;
  info.lpszTitle = "Select a folder";
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  // "rfDesktop" (and anything we do not know) starts at the desktop, the namespace's root.
  ItemIdList picked(SHBrowseForFolderA(&info));
  if (!picked.get()) return;
  char path[MAX_PATH] = {};
  if (SHGetPathFromIDListA(picked.get(), path) && path[0]) SetText(path);
}
