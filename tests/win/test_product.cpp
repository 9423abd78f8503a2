// The demo product's programs on a real shell: the uninstaller takes away an
// installation made the way the installer makes one (files, record, desktop
// link through the shell link object, program group through Program Manager
// DDE), and the product's window shows the identifier appended to its file.
#include <windows.h>
#include <ddeml.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "product/ProductRules.h"

namespace {

const std::string kStaged = KESTAMOR_BINARY_DIR "/product/files/";
const char* const kFiles[] = {"kestamor.exe",       "help.chm",        "uninstall.exe",      "kestamor.ini",
                              "sounds\\endgame.wav", "sounds\\free.wav", "sounds\\newnews.wav", "sounds\\wingame.wav"};
const char* const kDirs[] = {"Data", "Data\\b", "Data\\e", "Data\\h", "Data\\s",
                             "Data\\t", "Data\\u", "Data\\w", "sounds"};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WaitFor(const std::function<bool()>& condition, int ms = 15000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(50);
  }
  return true;
}

void RemoveTree(const std::string& path) {
  std::string from = path;
  from.push_back('\0');  // the shell takes a double-NUL-terminated list
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationA(&op);
}

std::string ProgramsFolder() {
  char path[MAX_PATH];
  return SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}

// Sends Program Manager commands the way a shell client does; true when accepted.
bool ProgmanExecute(const std::string& commands) {
  DWORD instance = 0;
  if (DdeInitializeA(&instance, [](UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) -> HDDEDATA {
        return nullptr;
      }, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
    return false;
  HSZ progman = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
  HCONV conversation = DdeConnect(instance, progman, progman, nullptr);
  bool ok = false;
  if (conversation != nullptr) {
    std::string data = commands;
    data.push_back('\0');
    DWORD result = 0;
    ok = DdeClientTransaction(reinterpret_cast<LPBYTE>(data.data()), static_cast<DWORD>(data.size()), conversation,
                              nullptr, CF_TEXT, XTYP_EXECUTE, 10000, &result) != nullptr;
    DdeDisconnect(conversation);
  }
  DdeFreeStringHandle(instance, progman);
  DdeUninitialize(instance);
  return ok;
}

bool MakeShellLink(const std::string& link, const std::string& target) {
  CoInitialize(nullptr);
  IShellLinkA* shellLink = nullptr;
  bool saved = false;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&shellLink)))) {
    shellLink->SetPath(target.c_str());
    shellLink->SetDescription("Click here to start Kestamor");
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      const std::wstring wide(link.begin(), link.end());
      saved = SUCCEEDED(file->Save(wide.c_str(), TRUE));
      file->Release();
    }
    shellLink->Release();
  }
  CoUninitialize();
  return saved;
}

// Runs a program and returns its exit code (-1 when it could not start or hung).
int Run(const std::string& program, const std::string& arguments, const std::string& directory) {
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                      &startup, &process))
    return -1;
  CloseHandle(process.hThread);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

// A product installation in a folder of its own, made as the installer makes
// one, torn down again at the end of the test whatever the uninstaller left.
class Installation {
 public:
  explicit Installation(const std::string& group) : group_(group) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    root_ = std::string(temp) + "kestamor-product-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter) + "\\";
    dir_ = root_ + "Kestamor\\";
    desktop_ = root_ + "Desktop\\";
    CreateDirectoryA(root_.c_str(), nullptr);
    CreateDirectoryA(dir_.c_str(), nullptr);
    CreateDirectoryA(desktop_.c_str(), nullptr);
    for (const char* d : kDirs) CreateDirectoryA((dir_ + d).c_str(), nullptr);
    for (const char* f : kFiles) {
      std::string from = kStaged + f;
      for (char& c : from)
        if (c == '\\') c = '/';
      copied_ &= CopyFileA(from.c_str(), (dir_ + f).c_str(), FALSE) != 0;
    }
  }
  ~Installation() {
    if (IsRemovableGroupName(group_) && Exists(GroupFolder())) RemoveTree(GroupFolder());
    RemoveTree(root_.substr(0, root_.size() - 1));
  }
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  const std::string& Dir() const { return dir_; }
  std::string Link() const { return desktop_ + "Kestamor.lnk"; }
  std::string GroupFolder() const { return ProgramsFolder() + "\\" + group_; }
  bool Copied() const { return copied_; }

  // uninstall.ini with the four keys in the installer's order.
  void WriteRecord(const std::string& exePath, bool icon) const {
    const std::string ini = dir_ + "uninstall.ini";
    WritePrivateProfileStringA("main_section", "u_path", exePath.c_str(), ini.c_str());
    WritePrivateProfileStringA("main_section", "u_group", group_.c_str(), ini.c_str());
    WritePrivateProfileStringA("main_section", "u_ico", icon ? "1" : "0", ini.c_str());
    WritePrivateProfileStringA("main_section", "u_ico_path", icon ? Link().c_str() : "...", ini.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
  }
  void WriteRecord(bool icon) const { WriteRecord(dir_ + "kestamor.exe", icon); }

  bool MakeGroup() const {
    std::string commands = "[CreateGroup(\"" + group_ + "\",0)]\r\n";
    for (const char* item : {"kestamor.exe\",\"Kestamor Start", "help.chm\",\"Kestamor Help",
                             "uninstall.exe\",\"Kestamor Uninstall"})
      commands += "[AddItem(\"" + dir_ + item + "\")]\r\n";
    if (!ProgmanExecute(commands) || !Exists(GroupFolder())) return false;
    // The shell opens a window on a new group; left open it would lie over later tests' windows.
    HWND shown = nullptr;
    if (WaitFor([&] { return (shown = FindWindowA(nullptr, group_.c_str())) != nullptr; }, 5000))
      PostMessageA(shown, WM_CLOSE, 0, 0);
    return true;
  }

  int Uninstall(const std::string& arguments = "/quiet") const {
    return Run(dir_ + "uninstall.exe", arguments, root_);
  }

  std::vector<std::string> Remaining() const {
    std::vector<std::string> left;
    for (const char* f : kFiles)
      if (Exists(dir_ + f)) left.push_back(f);
    for (const char* d : kDirs)
      if (Exists(dir_ + d)) left.push_back(d);
    if (Exists(dir_ + "uninstall.ini")) left.push_back("uninstall.ini");
    return left;
  }

 private:
  std::string group_;
  std::string root_, dir_, desktop_;
  bool copied_ = true;
};

std::string Unique(const char* name) { return std::string(name) + " " + std::to_string(GetCurrentProcessId()); }

bool NoFinishingCopyLeft() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((std::string(temp) + "Kestamor-uninstall-*.exe").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  FindClose(search);
  return false;
}

}  // namespace

TEST(Uninstaller, RemovesTheWholeInstallationGroupLinkAndItself) {
  Installation install(Unique("Kestamor Test"));
  ASSERT_TRUE(install.Copied()) << "staged product files under " << kStaged;
  ASSERT_TRUE(install.MakeGroup()) << "Program Manager did not make " << install.GroupFolder();
  ASSERT_TRUE(MakeShellLink(install.Link(), install.Dir() + "kestamor.exe"));
  install.WriteRecord(true);

  EXPECT_EQ(install.Uninstall(), 0);
  // The uninstaller's own file and the folder go once it has ended.
  EXPECT_TRUE(WaitFor([&] { return !Exists(install.Dir()); })) << "left: " << testing::PrintToString(install.Remaining());
  EXPECT_FALSE(Exists(install.GroupFolder()));
  EXPECT_FALSE(Exists(install.Link()));
  EXPECT_TRUE(WaitFor(NoFinishingCopyLeft)) << "the temporary copy of the uninstaller stayed";
}

TEST(Uninstaller, KeepsTheUsersFilesAndTheFoldersHoldingThemAndLinksNotRecorded) {
  Installation install(Unique("Kestamor Keep"));
  ASSERT_TRUE(install.Copied());
  ASSERT_TRUE(install.MakeGroup());
  ASSERT_TRUE(MakeShellLink(install.Link(), install.Dir() + "kestamor.exe"));
  // u_ico "0": the link on the desktop is not the installer's and stays.
  install.WriteRecord(false);
  const std::string save = install.Dir() + "Data\\s\\slot1.sav";
  const std::string notes = install.Dir() + "notes.txt";
  std::ofstream(save) << "saved game";
  std::ofstream(notes) << "mine";

  EXPECT_EQ(install.Uninstall(), 0);
  EXPECT_TRUE(WaitFor([&] { return !Exists(install.Dir() + "uninstall.exe"); }));
  EXPECT_TRUE(WaitFor(NoFinishingCopyLeft));
  EXPECT_TRUE(Exists(save));
  EXPECT_TRUE(Exists(notes));
  EXPECT_EQ(install.Remaining(), (std::vector<std::string>{"Data", "Data\\s"}));
  EXPECT_FALSE(Exists(install.GroupFolder()));
  EXPECT_TRUE(Exists(install.Link()));
}

TEST(Uninstaller, RemovesNothingWithoutARecordOfThisInstallation) {
  Installation install(Unique("Kestamor Refuse"));
  ASSERT_TRUE(install.Copied());
  ASSERT_TRUE(install.MakeGroup());
  const std::vector<std::string> before = install.Remaining();

  EXPECT_EQ(install.Uninstall(), 2) << "no uninstall.ini";
  // A record naming another folder: its files are not this uninstaller's to delete.
  install.WriteRecord("C:\\Program Files\\Kestamor\\kestamor.exe", false);
  EXPECT_EQ(install.Uninstall(), 2) << "record of another folder";
  Sleep(500);  // a finishing copy, if one were wrongly started, would act now
  std::vector<std::string> expected = before;
  expected.push_back("uninstall.ini");
  EXPECT_EQ(install.Remaining(), expected);
  EXPECT_TRUE(Exists(install.GroupFolder()));
}

TEST(Uninstaller, NeverSendsAGroupNameThatReachesBeyondTheGroup) {
  // Program Manager deletes Programs + "\" + name recursively: an empty name
  // would take the whole Programs folder with it.
  const std::string sentinel = Unique("Kestamor Sentinel");
  Installation other(sentinel);
  ASSERT_TRUE(other.MakeGroup());
  for (const char* group : {"", "..", " . ", "Sub\\.."}) {
    Installation install(group);
    ASSERT_TRUE(install.Copied());
    install.WriteRecord(false);
    // The rest is removed; a named group that is not removed is reported.
    EXPECT_EQ(install.Uninstall(), *group ? 1 : 0) << '"' << group << '"';
    EXPECT_TRUE(WaitFor([&] { return !Exists(install.Dir()); })) << '"' << group << '"';
    EXPECT_TRUE(Exists(other.GroupFolder())) << '"' << group << '"';
  }
  EXPECT_TRUE(WaitFor(NoFinishingCopyLeft));
}

namespace {

struct WindowSearch {
  DWORD processId;
  HWND found;
};

HWND FindProductWindow(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<WindowSearch*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char cls[64] = "";
        GetClassNameA(window, cls, sizeof cls);
        if (owner == s->processId && lstrcmpA(cls, "KestamorApp") == 0) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string Text(HWND window) {
  char text[256] = "";
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  return text;
}

// Starts a copy of kestamor.exe with the given bytes appended, reads its
// window title and identifier line, and closes it through its window.
struct Shown {
  std::string title, identifier;
  DWORD exitCode = 1;
};

Shown RunProduct(const std::string& appended) {
  Installation copy("");
  const std::string exe = copy.Dir() + "kestamor.exe";
  {
    std::ofstream out(exe, std::ios::binary | std::ios::app);
    out << appended;
  }
  Shown shown;
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    ADD_FAILURE() << "cannot start " << exe;
    return shown;
  }
  HWND window = nullptr;
  WaitFor([&] { return (window = FindProductWindow(process.dwProcessId)) != nullptr; }, 10000);
  if (window != nullptr) {
    shown.title = Text(window);
    shown.identifier = Text(GetDlgItem(window, 100));
    PostMessageA(window, WM_CLOSE, 0, 0);
  } else {
    ADD_FAILURE() << "no KestamorApp window";
    TerminateProcess(process.hProcess, 1);
  }
  WaitForSingleObject(process.hProcess, 10000);
  GetExitCodeProcess(process.hProcess, &shown.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return shown;
}

}  // namespace

TEST(ProductProgram, ShowsTheIdentifierAppendedToItsFile) {
  const Shown stamped = RunProduct("0F1E2D3C4B5A69788796A5B4C3D2E1F0");
  EXPECT_EQ(stamped.title, "Kestamor");
  EXPECT_EQ(stamped.identifier, "0F1E2D3C4B5A69788796A5B4C3D2E1F0");
  EXPECT_EQ(stamped.exitCode, 0u);
}

TEST(ProductProgram, SaysSoWhenItsFileCarriesNoIdentifier) {
  const std::string none = "This copy carries no instance identifier.";
  EXPECT_EQ(RunProduct("").identifier, none);
  // Lower-case digits are not what the installer writes.
  EXPECT_EQ(RunProduct("0f1e2d3c4b5a69788796a5b4c3d2e1f0").identifier, none);
}

namespace {

// Answers the uninstaller's message boxes from a second thread: presses the
// given button on each box and keeps the texts in the order they came.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(int button) : button_(button), thread_([this] { Watch(); }) {}
  ~BoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  std::vector<std::string> Texts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }

 private:
  void Watch() {
    while (!stop_) {
      HWND box = FindWindowA("#32770", "Kestamor Uninstall");
      if (box != nullptr && IsWindowVisible(box)) {
        {
          std::lock_guard<std::mutex> lock(mutex_);
          texts_.push_back(Text(GetDlgItem(box, 0xFFFF)));
        }
        HWND button = GetDlgItem(box, button_);
        if (button == nullptr) button = GetDlgItem(box, IDOK);
        SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        WaitFor([box] { return !IsWindow(box); }, 5000);
      }
      Sleep(50);
    }
  }

  int button_;
  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace

TEST(Uninstaller, AsksFirstAndReportsTheEndWhenNotQuiet) {
  Installation install(Unique("Kestamor Ask"));
  ASSERT_TRUE(install.Copied());
  install.WriteRecord(false);
  {
    BoxAnswerer no(IDNO);
    EXPECT_EQ(install.Uninstall(""), 3);
    EXPECT_EQ(no.Texts(), (std::vector<std::string>{"Remove Kestamor and all of its components?"}));
  }
  EXPECT_TRUE(Exists(install.Dir() + "kestamor.exe"));

  BoxAnswerer yes(IDYES);
  EXPECT_EQ(install.Uninstall(""), 0);
  EXPECT_TRUE(WaitFor([&] { return yes.Texts().size() == 2; }));
  EXPECT_EQ(yes.Texts(), (std::vector<std::string>{"Remove Kestamor and all of its components?",
                                                   "Kestamor has been removed."}));
  EXPECT_TRUE(WaitFor([&] { return !Exists(install.Dir()); }));
}
