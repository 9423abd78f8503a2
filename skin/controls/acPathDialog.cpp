#include "skin/controls/acPathDialog.h"

#include <windowsx.h>

#include "resources/engine/acResources.h"
#include "skin/data/acntUtils.h"

namespace {

std::string LoadText(UINT id) {
  char text[256] = {};
  const int n = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, static_cast<size_t>(n > 0 ? n : 0));
}

struct PathDialogTexts {
  std::string Caption, Ok, Cancel, Create, Root;
};

// Read once, when the program starts.
const PathDialogTexts& Texts() {
  static const PathDialogTexts texts{LoadText(IDS_PATHDIALOG_CAPTION), LoadText(IDS_PATHDIALOG_OK),
                                     LoadText(IDS_PATHDIALOG_CANCEL), LoadText(IDS_PATHDIALOG_CREATE),
                                     LoadText(IDS_PATHDIALOG_ROOT)};
  return texts;
}
const bool g_textsLoaded = (Texts(), true);

TsBitBtn* DialogButton(TPathDialogForm* form, const char* name, int left, int tabOrder) {
  auto* b = new TsBitBtn(form);
  b->SetName(name);
  b->SetParent(form);
  b->SetBounds(left, 344, 75, 25);
  b->SkinData().SetSkinSection("BUTTON");
  b->SetShowFocus(false);
  b->SetTabOrder(tabOrder);
  return b;
}

}  // namespace

bool DirectoryExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return !path.empty() && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string NewFolderName(const std::string& folder) {
  const std::string base = WithTrailingPathDelimiter(folder) + "New folder";
  for (int n = 1;; ++n) {
    std::string name = base + std::to_string(n);
    if (!DirectoryExists(name)) return name;
  }
}

// Built as its form resource describes it; the directory edit sets the rest before showing it.
TPathDialogForm::TPathDialogForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("PathDialogForm");
  SetBorderStyle(TFormBorderStyle::bsSizeable);
  SetBorderIcons(biSystemMenu);
  SetPosition(TPosition::poScreenCenter);
  Font().SetName("Tahoma");
  Font().SetHeight(-11);
  SetBounds(0, 0, 350, 420);
  SetConstraints(TSizeConstraints{275, 250, 0, 0});

  sSkinProvider1 = acMakeFormSkin(*this, TacFormSkinRequest{"sSkinProvider1", "DIALOG", TAlignment::taCenter, false});

  sShellTreeView1 = new TsShellTreeView(this);
  sShellTreeView1->SetName("sShellTreeView1");
  sShellTreeView1->SetParent(this);
  sShellTreeView1->SetBounds(8, 20, 321, 319);
  sShellTreeView1->SetIndent(19);
  sShellTreeView1->SetShowRoot(false);
  sShellTreeView1->SetTabOrder(0);
  sShellTreeView1->OnChange = [this](TObject* s) { sShellTreeView1Change(s); };

  sBitBtn1 = DialogButton(this, "sBitBtn1", 173, 1);
  sBitBtn1->SetDefault(true);
  sBitBtn1->SetModalResult(mrOk);
  sBitBtn1->OnClick = [this](TObject* s) { sBitBtn1Click(s); };
  sBitBtn2 = DialogButton(this, "sBitBtn2", 250, 2);
  sBitBtn2->SetCancel(true);
  sBitBtn2->SetModalResult(mrCancel);
  sBitBtn2->OnClick = [this](TObject* s) { sBitBtn2Click(s); };
  sBitBtn3 = DialogButton(this, "sBitBtn3", 12, 3);
  sBitBtn3->SetEnabled(false);
  sBitBtn3->OnClick = [this](TObject* s) { sBitBtn3Click(s); };

  sLabel1 = new TsLabel(this);
  sLabel1->SetName("sLabel1");
  sLabel1->SetParent(this);
  sLabel1->SetBounds(8, 3, 3, 13);

  ImageList1 = new TsAlphaImageList(this);
  ImageList1->SetName("ImageList1");

  Grip = new TsSizeGrip(this);
  Grip->SetName("Grip");
  Grip->SetParent(this);
}

void TPathDialogForm::ApplyTexts() {
  const PathDialogTexts& t = Texts();
  SetCaption(t.Caption);
  sBitBtn1->SetCaption(t.Ok);
  sBitBtn2->SetCaption(t.Cancel);
  sBitBtn3->SetCaption(t.Create);
  sLabel1->SetCaption(t.Root);
}

void TPathDialogForm::AnchorControls() {
  sShellTreeView1->SetAnchors(akLeft | akTop | akRight | akBottom);
  sBitBtn1->SetAnchors(akRight | akBottom);
  sBitBtn2->SetAnchors(akRight | akBottom);
  sBitBtn3->SetAnchors(akLeft | akBottom);
}

void TPathDialogForm::sShellTreeView1Change(TObject*) {
  const bool folder = DirectoryExists(sShellTreeView1->Path());
  sBitBtn1->SetEnabled(folder);
  sBitBtn3->SetEnabled(folder);
}

void TPathDialogForm::sBitBtn1Click(TObject*) {
  if (sShellTreeView1->IsEditing()) {
    SetModalResult(mrNone);
    sShellTreeView1->EndEditing(false);
    sShellTreeView1->SetFocus();
  }
}

void TPathDialogForm::sBitBtn2Click(TObject*) {
  if (sShellTreeView1->IsEditing()) SetModalResult(mrNone);
}

void TPathDialogForm::sBitBtn3Click(TObject*) {
  TsShellTreeView* tree = sShellTreeView1;
  const std::string name = NewFolderName(tree->Path());
  CreateDirectoryA(name.c_str(), nullptr);
  if (!DirectoryExists(name)) {
    HWND owner = Application ? Application->Handle() : nullptr;
    MessageBoxA(owner, ("Directory " + name + " can`t be created!").c_str(), "Error", MB_OK | MB_ICONERROR);
    return;
  }
  HTREEITEM parent = tree->Selected();
  tree->RefreshItem(parent);
  HTREEITEM made = tree->FindChild(parent, name);
  if (!made) return;
  tree->Select(made);
  tree->SetFocus();
  tree->Expand(made);
  // The path is selected before the editor opens: selecting may scroll the tree, and the
  // editor must open where the item ends up.
  tree->SetPath(name);
  tree->EditLabel(made);
}

void TPathDialogForm::WndProc(TMessage& m) {
  TForm::WndProc(m);
  if (m.Msg == WM_NCHITTEST && m.Result == HTCLIENT && HandleAllocated()) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    ::ScreenToClient(Handle(), &p);
    if (Grip->Contains(p)) m.Result = HTBOTTOMRIGHT;
  }
}
