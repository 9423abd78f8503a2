// Edits that pick a file-system item through a dialog. TsDirectoryEdit is the install path's
// edit: its button opens the folder dialog, and the folder chosen with OK becomes its text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "skin/controls/sCustomComboEdit.h"

// What the folder dialog allows.
enum TSelectDirOpt : uint8_t { sdAllowCreate = 1, sdPerformCreate = 2, sdPrompt = 4 };
using TSelectDirOpts = uint8_t;

// Before the dialog: the start text may be changed, or the dialog called off.
using TBeforeDialogEvent = std::function<void(TObject* Sender, std::string& Name, bool& Action)>;
// After the dialog: the result, and whether it was accepted.
using TAfterDialogEvent = std::function<void(TObject* Sender, std::string& Name, bool& Action)>;

class TsFileDirEdit : public TsCustomComboEdit {
 public:
  explicit TsFileDirEdit(TComponent* AOwner);
  FRAMEWORK_CLASS(TsFileDirEdit)

  // The start folder while the edit is empty; the last folder chosen with OK.
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& v) { initialDir_ = v; }
  TBeforeDialogEvent OnBeforeDialog;
  TAfterDialogEvent OnAfterDialog;

 private:
  std::string initialDir_;
};

class TsDirectoryEdit : public TsFileDirEdit {
 public:
  explicit TsDirectoryEdit(TComponent* AOwner);
  FRAMEWORK_CLASS(TsDirectoryEdit)

  // The root of the dialog's tree ("rfDesktop", ...).
  const std::string& Root() const { return root_; }
  void SetRoot(const std::string& v) { root_ = v; }
  // The caption of the label above the dialog's tree.
  const std::string& DialogText() const { return dialogText_; }
  void SetDialogText(const std::string& v) { dialogText_ = v; }
  TSelectDirOpts DialogOptions() const { return dialogOptions_; }
  void SetDialogOptions(TSelectDirOpts v) { dialogOptions_ = v; }
  // False: opening the dialog makes the edit's folder the process's current directory.
  bool NoChangeDir() const { return noChangeDir_; }
  void SetNoChangeDir(bool v) { noChangeDir_ = v; }

  // Opens the folder dialog at the edit's folder; OK on an existing folder makes it the text.
  void ButtonClick() override;

 private:
  std::string root_ = "rfDesktop";
  std::string dialogText_;
  TSelectDirOpts dialogOptions_ = sdAllowCreate | sdPerformCreate | sdPrompt;
  bool noChangeDir_ = false;
};
