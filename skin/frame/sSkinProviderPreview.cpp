// Skin preview mode: the program shows the skins a skin editor sends it.
#include <span>

#include "skin/data/acPreviewRecord.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/frame/sSkinProvider.h"

namespace {

constexpr int kEditorSearches = 101;

}  // namespace

bool PreviewRequested(const std::vector<std::string>& args) { return args.size() > 1 && args[1] == kPreviewSwitch; }

TacPreviewState& acPreview() { return acEngine().Part<TacPreviewState>(); }

void TacPreviewState::CheckCommandLine() {
  if (Checked) return;
  Checked = true;
  Mode = Mode || PreviewRequested(CommandLineArgs());
}

HWND acPreviewWindow() { return acPreview().Window; }

void TsSkinProvider::BecomePreviewWindow() {
  TForm* main = Application ? Application->MainForm() : nullptr;
  if ((main && main != form_) || !form_->HandleAllocated()) return;
  TacPreviewState& preview = acPreview();
  preview.Window = form_->Handle();
  preview.Mode = false;
  for (int i = 0; i < kEditorSearches; ++i) {
    const HWND editor = FindWindowA(nullptr, kSkinEditorTitle);
    if (!editor) break;
    if (SendMessageA(editor, kMsgSkinEditor, 3, reinterpret_cast<LPARAM>(preview.Window)) == 1) break;
  }
}

void TsSkinProvider::PreviewMessage(TMessage& m) {
  switch (m.WParam) {
    case 1:
      form_->Close();
      m.Result = 0;
      return;
    case 4:
      m.Result = 1;
      return;
    default:
      formProc_(m);
      return;
  }
}

bool TsSkinProvider::PreviewCopyData(TMessage& m) {
  if (!form_->HandleAllocated() || form_->Handle() != acPreview().Window || acPreview().Copying) return false;
  formProc_(m);
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(m.LParam);
  TsSkinManager* manager = skinData_->Manager();
  // Editors mark the record by the message's wParam or by the copy's kind: either will do.
  const bool marked = copy && (m.WParam == kPreviewCopyKind || copy->dwData == kPreviewCopyKind);
  if (m.Result != 0 || !copy || !marked || !copy->lpData || !manager) return true;
  const TacFlagScope copying(acPreview().Copying);
  const std::span<const uint8_t> data(static_cast<const uint8_t*>(copy->lpData), copy->cbData);
  if (manager->LoadPreviewRecord(data)) m.Result = 1;
  return true;
}
