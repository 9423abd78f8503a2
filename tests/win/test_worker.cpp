// The installation steps against Wine's real peers: the worker's directory failure, Program
// Manager over DDE, the shell link, the private-profile file.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "WizardTest.h"
#include "framework/ComObj.h"
#include "framework/Dialogs.h"
#include "installer/Unit1.h"

namespace fs = std::filesystem;

namespace {

std::string SpecialFolder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
  return path;
}

void WriteFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

// A fresh directory below the temporary folder, removed afterwards.
class TempDir {
 public:
  explicit TempDir(const std::string& name) : path_(fs::temp_directory_path() / name) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  // As the installer keeps it: ending in "\".
  std::string dir() const { return path_.string() + "\\"; }

 private:
  fs::path path_;
};

class Worker : public WizardTest {
 protected:
  // The worker reports to the window it finds as the program's wizard.
  void SetUp() override {
    WizardTest::SetUp();
    Form1 = form;
  }

  // Licence accepted, path page shown with `path` in the path edit, Install pressed.
  void InstallInto(const std::string& path) {
    ProgramFilesDirOverride reg;
    reg.SetString("C:\\Program Files");
    Click(form->sRadioButton1);
    Click(form->sButton_next2);
    form->sDirectoryEdit1->SetText(path);
    Click(form->sButton_next3);
  }
};

// Answers the first message dialog with the given caption from another thread and keeps what
// it showed.
struct MessageFormSeen {
  std::string text;
  bool hasIcon = true;
  int buttons = 0;
};

MessageFormSeen AnswerMessageForm(const std::string& caption, int timeoutMs) {
  MessageFormSeen seen;
  const DWORD end = GetTickCount() + timeoutMs;
  while (GetTickCount() < end) {
    HWND wnd = FindWindowA("TMessageForm", caption.c_str());
    auto* dialog = wnd ? dynamic_cast<TMessageForm*>(TWinControl::FindControl(wnd)) : nullptr;
    if (dialog && IsWindowVisible(wnd)) {
      seen.text = dialog->Message->Caption();
      seen.hasIcon = dialog->FindComponent("Image") != nullptr;
      TButton* ok = nullptr;
      for (int i = 0; i < dialog->ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TButton*>(dialog->Components(i))) {
          ++seen.buttons;
          ok = b;
        }
      if (ok) PostMessageA(ok->Handle(), BM_CLICK, 0, 0);
      return seen;
    }
    Sleep(20);
  }
  return seen;
}

TEST_F(Worker, AFolderThatCannotBeMadeSendsTheUserBackToThePath) {
  TempDir temp("kestamor-blocked");
  // A file where the install folder should go: no directory can be made there.
  WriteFile(temp.path() / "Kestamor", "in the way");
  MessageFormSeen seen;
  std::thread answer([&] { seen = AnswerMessageForm(Application->Title(), 20000); });
  InstallInto(temp.dir() + "Kestamor");
  EXPECT_TRUE(PumpUntil([&] { return FrontPage() == form->sPanel_3_install; }, 20000));
  answer.join();
  EXPECT_EQ(seen.text,
            "It is impossible to create a working directory of the program on the specified path. Select other "
            "path for program installation.");
  EXPECT_FALSE(seen.hasIcon);
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == form->sDirectoryEdit1->Handle(); }, 2000));
  EXPECT_EQ(SendMessageA(form->sProgressBar3->Handle(), PBM_GETPOS, 0, 0), 10);
  EXPECT_FALSE(IsWindowEnabled(form->sButton_4_finish->Handle()));
}

TEST_F(Worker, AnEmptyPathIsNeverCreated) {
  MessageFormSeen seen;
  std::thread answer([&] { seen = AnswerMessageForm(Application->Title(), 20000); });
  InstallInto("");
  EXPECT_TRUE(PumpUntil([&] { return FrontPage() == form->sPanel_3_install; }, 20000));
  answer.join();
  EXPECT_NE(seen.text.find("impossible to create a working directory"), std::string::npos);
}

// Wine's Program Manager service reads commands only up to the first line break (its parser
// skips spaces, not CR LF), so of the five-line block it runs CreateGroup alone; Windows' shell
// runs all five. What Wine does is checked: the conversation reaches the service, which makes
// the group, and the link is closed again.
TEST_F(Worker, ProgramManagerMakesTheGroup) {
  const std::string group = "Kestamor Group Test";
  const fs::path folder = fs::path(SpecialFolder(CSIDL_PROGRAMS)) / group;
  fs::remove_all(folder);
  TempDir installed("kestamor-group-targets");
  for (const char* file : {"kestamor.exe", "help.chm", "uninstall.exe"}) WriteFile(installed.path() / file, "x");
  Installer.ProgramGroupName = group;
  Installer.InstallDirectory = installed.dir();
  form->CreateProgramGroup();
  // The execute is asynchronous: the service may finish after the conversation ended.
  EXPECT_TRUE(PumpUntil([&] { return fs::is_directory(folder); }, 10000)) << folder.string();
  EXPECT_EQ(form->DdeClient->Conv(), nullptr);
  EXPECT_EQ(form->DdeClient->DdeService(), "");
  // The service opened a window on the new group; close it so later tests see a clean desktop.
  HWND shown = nullptr;
  PumpUntil([&] { return (shown = FindWindowA(nullptr, group.c_str())) != nullptr; }, 5000);
  if (shown) PostMessageA(shown, WM_CLOSE, 0, 0);
  fs::remove_all(folder);
}

TEST(DdeExecuteData, IsEveryLineWithCrLfAndOneCountedNul) {
  const std::string data = DdeExecuteData({"[A()]", "[B(\"x\")]"});
  EXPECT_EQ(data, std::string("[A()]\r\n[B(\"x\")]\r\n\0", 18));
  EXPECT_EQ(data.size(), 5u + 8u + 4u + 1u);
}

TEST(DesktopShortcut, PointsAtTheInstalledProgram) {
  Installer = InstallerState{};
  Installer.InstallDirectory = "C:\\Kestamor Link Test\\";
  const std::string expected = SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\Kestamor.lnk";
  WriteFile(expected, "an older file of that name");  // overwritten
  TForm1::CreateDesktopShortcut(nullptr);
  EXPECT_EQ(Installer.DesktopShortcutPath, expected);

  ComInitScope com;
  ComRef<IShellLinkA> link;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out())));
  ComRef<IPersistFile> file;
  ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.out())));
  std::wstring wide(expected.begin(), expected.end());
  ASSERT_TRUE(SUCCEEDED(file->Load(wide.c_str(), STGM_READ)));
  char target[MAX_PATH] = {}, description[MAX_PATH] = {};
  link->GetPath(target, MAX_PATH, nullptr, 0);
  link->GetDescription(description, MAX_PATH);
  EXPECT_STREQ(target, "C:\\Kestamor Link Test\\kestamor.exe");
  EXPECT_STREQ(description, "Click here to start Kestamor");
  DeleteFileA(expected.c_str());
}

TEST(UninstallRecord, ANewFileHasExactlyFiveLines) {
  TempDir temp("kestamor-record");
  Installer = InstallerState{};
  Installer.InstallDirectory = temp.dir();
  Installer.MainExecutablePath = temp.dir() + "kestamor.exe";
  Installer.ProgramGroupName = "My Games";
  Installer.DesktopShortcutPath = "C:\\users\\Public\\Desktop\\Kestamor.lnk";
  TForm1::WriteUninstallRecord(true);
  EXPECT_EQ(ReadWholeFile(temp.path() / "uninstall.ini"),
            "[main_section]\r\nu_path=" + temp.dir() + "kestamor.exe\r\nu_group=My Games\r\nu_ico=1\r\n"
            "u_ico_path=C:\\users\\Public\\Desktop\\Kestamor.lnk\r\n");
}

TEST(UninstallRecord, ASecondInstallReplacesKeysAndKeepsTheRest) {
  TempDir temp("kestamor-record2");
  WriteFile(temp.path() / "uninstall.ini",
            "[user]\r\nkeep=yes\r\n[main_section]\r\nu_group=Old\r\nextra=1\r\nu_ico=1\r\n");
  Installer = InstallerState{};
  Installer.InstallDirectory = temp.dir();
  Installer.MainExecutablePath = temp.dir() + "kestamor.exe";
  Installer.ProgramGroupName = "Kestamor";
  TForm1::WriteUninstallRecord(false);
  const std::string file = ReadWholeFile(temp.path() / "uninstall.ini");
  EXPECT_NE(file.find("[user]\r\nkeep=yes\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("u_group=Kestamor\r\nextra=1\r\nu_ico=0\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("u_ico_path=...\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("u_path=" + temp.dir() + "kestamor.exe\r\n"), std::string::npos) << file;
  EXPECT_EQ(file.find("u_ico_path=\r\n"), std::string::npos);
}

TEST(UninstallRecord, AFailedWriteEndsTheRecord) {
  Installer = InstallerState{};
  Installer.InstallDirectory = "Q:\\no such drive\\";
  EXPECT_ANY_THROW(TForm1::WriteUninstallRecord(false));
}

}  // namespace
