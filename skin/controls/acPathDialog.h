// The folder dialog of the directory edit: a resizable skinned window with a tree of the
// shell's folders and OK, Cancel and Create buttons. OK and Create are enabled exactly while
// the selected item is an existing folder; Create makes "New folderN" in it and opens the new
// folder's name for editing.
#pragma once

#include <string>

#include "framework/Forms.h"
#include "skin/controls/acAlphaImageList.h"
#include "skin/controls/acFormSkin.h"
#include "skin/controls/acSizeGrip.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sShellTreeView.h"

class TPathDialogForm : public TForm {
 public:
  explicit TPathDialogForm(TComponent* AOwner);
  FRAMEWORK_CLASS(TPathDialogForm)

  TComponent* sSkinProvider1;  // the skin provider (see acFormSkin.h)
  TsShellTreeView* sShellTreeView1;
  TsBitBtn* sBitBtn1;  // OK
  TsBitBtn* sBitBtn2;  // Cancel
  TsBitBtn* sBitBtn3;  // Create
  TsLabel* sLabel1;    // "Root :", for root-folder buttons this program does not show
  TsAlphaImageList* ImageList1;
  TsSizeGrip* Grip;

  // The captions from the program's string table, as read at start-up.
  void ApplyTexts();
  // The controls keep their distances to the edges as the window is resized.
  void AnchorControls();

  void sShellTreeView1Change(TObject* Sender);
  void sBitBtn1Click(TObject* Sender);
  void sBitBtn2Click(TObject* Sender);
  void sBitBtn3Click(TObject* Sender);

 protected:
  void WndProc(TMessage& message) override;
};

// The name Create gives a new folder inside `folder`: the folder with a trailing "\" and
// "New folder" with the first number (1, 2, ...) that names no existing directory.
std::string NewFolderName(const std::string& folder);
// The path names an existing directory.
bool DirectoryExists(const std::string& path);
