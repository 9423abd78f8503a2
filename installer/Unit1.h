// The wizard window: three stacked pages (licence, path, progress/finish) on a
// background picture, and the installer's process-wide state.
#pragma once

#include <windows.h>

#include "framework/ComCtrls.h"
#include "framework/DdeMan.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "installer/InstallSequence.h"
#include "installer/PayloadLayout.h"
#include "skin/controls/acProgressBar.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sRadioButton.h"
#include "skin/controls/sTooledit.h"
#include "skin/data/sSkinManager_win.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "installer/InstallRun.h"
#include "installer/unpack_thread_unit.h"

// Shared by the navigation handlers and the installation worker. Texts are
// 8-bit strings in the system code page.
struct InstallerState {
  int32_t PayloadOffset = 0;
  std::string PayloadFile;  // where the payload is read; empty: the installer's own file
  std::string InstallDirectory;  // ends in "\" once set
  // Set from the worker's result once an installation has completed.
  std::string ProgramGroupName;
  std::string MainExecutablePath;
  std::string DesktopShortcutPath;
  unpack_thread* Worker = nullptr;  // frees itself; not to be used once started
};
extern InstallerState Installer;

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* AOwner);
  ~TForm1() override;
  FRAMEWORK_CLASS(TForm1)

  TsSkinManager* sSkinManager1;
  TDdeClientConv* DdeClient;

  TImage* Image2;
  // Path page.
  TsPanel* sPanel_3_install;
  TsPanel* sPanel6;
  TsLabel* sLabel4;
  TsLabel* sLabel5;
  TsLabel* sLabel6;
  TsLabel* sLabel7;
  TsDirectoryEdit* sDirectoryEdit1;
  TsEdit* sEdit1;
  TsCheckBox* sCheckBox1;
  TsCheckBox* sCheckBox2;
  TsButton* sButton_cansel3;
  TsButton* sButton_next3;
  TsButton* sButton_prev3;
  // Progress and finish page.
  TsPanel* sPanel_4_finish;
  TsPanel* sPanel9;
  TsLabel* sLabel16;
  TsLabel* sLabel19;
  TsLabel* sLabel1;
  TsLabel* sLabel_status;
  TsProgressBar* sProgressBar3;
  TsCheckBox* sCheckBox4;
  TsButton* sButton_4_finish;
  // Licence page.
  TsPanel* sPanel_2_license;
  TsPanel* sPanel4;
  TsLabel* sLabel2;
  TsMemo* sMemo1;
  TsGroupBox* sGroupBox1;
  TsRadioButton* sRadioButton1;
  TsRadioButton* sRadioButton2;
  TsButton* sButton_cansel2;
  TsButton* sButton_next2;

  void FormCreate(TObject* Sender);
  void sRadioButton1Click(TObject* Sender);
  void sRadioButton2Click(TObject* Sender);
  void sButton_next2Click(TObject* Sender);
  void sButton_cansel2Click(TObject* Sender);
  void sDirectoryEdit1Change(TObject* Sender);
  void sButton_prev3Click(TObject* Sender);
  void sButton_next3Click(TObject* Sender);
  void sButton_cansel3Click(TObject* Sender);
  void sButton_4_finishClick(TObject* Sender);
  // While an installation runs, closing asks first; a stop is undone before the window goes.
  void FormCloseQuery(TObject* Sender, bool& CanClose);

  // The page in front; the others are disabled under it, so that nothing on them takes a key.
  TsPanel* CurrentPage() const { return currentPage_; }
  void ShowPage(TsPanel* page);
  // True from Install until the installation has completed or been undone.
  bool Installing() const { return run_ != nullptr; }

  // Steps of the installation. These run on the UI thread (the worker hands them over)...
  void ShowProgressStep(const ProgressStep& step);
  void ShowDirectoryFailure();
  // Tells why the installation cannot go on. With `offerRetry` the user may choose Retry
  // (true) or Cancel; otherwise OK.
  bool ShowInstallFailure(const std::string& text, bool offerRetry);
  void CreateProgramGroup(const std::string& group, const std::string& installDir);
  // Removes a group this installation made; true when it is gone.
  bool DeleteProgramGroup(const std::string& group);
  void FinishInstallation(const InstallResult& installed);
  // The installation was undone: `earlier` when an installation stood there before;
  // `notUndone` names what could not be put back.
  void ShowInstallStopped(bool earlier, const std::vector<std::string>& notUndone);
  // ...and these on the worker's thread, from what they are given.
  static constexpr const char* kDesktopLinkName = "Kestamor.lnk";
  // The desktop folder + the link's name (the bare name when the shell has no desktop folder).
  static std::string DesktopShortcutPath(HWND owner);
  static void CreateDesktopShortcut(const std::string& linkPath, const std::string& installDir);
  // Throws EFileError when the file cannot be written.
  static void WriteUninstallRecord(const std::string& file, const InstallResult& installed);

 private:
  void CreatePathPage();
  void CreateFinishPage();
  void CreateLicencePage();

  TsPanel* currentPage_ = nullptr;
  std::shared_ptr<InstallRun> run_;  // shared with the running worker
  bool closeWhenStopped_ = false;
};
extern TForm1* Form1;
