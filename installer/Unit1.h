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
#include <string>

class unpack_thread;

// Shared by the navigation handlers and the installation worker. Texts are
// 8-bit strings in the system code page.
struct InstallerState {
  int32_t PayloadOffset = 0;
  std::string PayloadFile;  // where the payload is read; empty: the installer's own file
  std::string InstallDirectory;  // ends in "\" once set
  std::string ProgramGroupName;
  std::string MainExecutablePath;
  std::string DesktopShortcutPath;
  unpack_thread* Worker = nullptr;  // frees itself
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

  // Steps of the installation. The first five run on the UI thread (the worker hands them
  // over); the last two on the worker's thread, using only the installer state.
  void ShowProgressStep(const ProgressStep& step);
  void ShowDirectoryFailure();
  // Tells why the installation stopped and leaves the page as it is. With `offerRetry` the
  // user may choose Retry (true) or Cancel; otherwise OK.
  bool ShowInstallFailure(const std::string& text, bool offerRetry);
  void CreateProgramGroup();
  void FinishInstallation();
  static void CreateDesktopShortcut(HWND owner);
  // Throws EFileError when the file cannot be written.
  static void WriteUninstallRecord(bool desktopIcon);

 private:
  void CreatePathPage();
  void CreateFinishPage();
  void CreateLicencePage();
};
extern TForm1* Form1;
