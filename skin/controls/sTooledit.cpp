#include "skin/controls/sTooledit.h"

#include <memory>

#include "skin/controls/acPathDialog.h"

TsFileDirEdit::TsFileDirEdit(TComponent* AOwner) : TsCustomComboEdit(AOwner) {}

TsDirectoryEdit::TsDirectoryEdit(TComponent* AOwner) : TsFileDirEdit(AOwner) {
  SetMaxLength(255);
  Button()->SetGlyph(&DefaultGlyphs(), dgFolder, kGlyphCell);
}

namespace {
struct FormFree {
  void operator()(TForm* form) const { form->Free(); }
};
}  // namespace

void TsDirectoryEdit::ButtonClick() {
  if (ReadOnly()) return;
  TsFileDirEdit::ButtonClick();
  std::string folder = Text();
  bool action = true;
  if (OnBeforeDialog) OnBeforeDialog(this, folder, action);
  if (!action) return;
  if (folder.empty()) folder = InitialDir();
  if (!DirectoryExists(folder))
    folder.clear();
  else if (!noChangeDir_)
    SetCurrentDirectoryA(folder.c_str());

  // Freed however the dialog ends, also when the tree cannot find the start folder.
  std::unique_ptr<TPathDialogForm, FormFree> dialog(NewForm<TPathDialogForm>(Application));
  dialog->ApplyTexts();
  dialog->sBitBtn3->SetVisible((dialogOptions_ & sdAllowCreate) != 0);
  dialog->sLabel1->SetVisible(false);
  dialog->AnchorControls();
  dialog->sShellTreeView1->BoundLabel()->SetCaption(dialogText_);
  dialog->sShellTreeView1->SetRoot(root_);
  if (!folder.empty()) dialog->sShellTreeView1->SetPath(folder);

  bool chosen = false;
  if (dialog->ShowModal() == mrOk) {
    const std::string path = dialog->sShellTreeView1->Path();
    if (!path.empty() && DirectoryExists(path)) {
      SetInitialDir(path);
      SetText(path);
      folder = path;
      chosen = true;
    }
  }
  dialog.reset();
  if (OnAfterDialog) OnAfterDialog(this, folder, chosen);
}
