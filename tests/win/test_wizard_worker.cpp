// The installation steps against Wine's real peers: the worker's failures and what the user
// is told of them, Program Manager over DDE, the shell link, the private-profile file.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "WizardTest.h"
#include "framework/ComObj.h"
#include "framework/Dialogs.h"
#include "installer/FileError_win.h"
#include "installer/InstallTransaction_win.h"
#include "installer/PayloadLayout.h"
#include "installer/Unit1.h"
#include "installer/unpack_thread_unit.h"
#include "skin/render/sProgressLayout.h"

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

// Eight small records standing in for the product, in a payload file of their own.
struct TestPayload {
  std::array<std::string, PayloadLayout::RecordCount> contents;
  std::string file;
};

TestPayload MakePayload(const fs::path& dir) {
  TestPayload p;
  std::string bytes;
  for (size_t i = 0; i < p.contents.size(); ++i) {
    std::string& content = p.contents[i];
    for (size_t n = 0; n < 3000 + 700 * i; ++n) content += static_cast<char>('a' + (n * 7 + i) % 26);
    uLongf size = compressBound(static_cast<uLong>(content.size()));
    std::string z(size, '\0');
    compress2(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(content.data()),
              static_cast<uLong>(content.size()), 9);
    z.resize(size);
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(size >> shift & 0xFF);
    bytes += z;
  }
  p.file = (dir / "payload.bin").string();
  WriteFile(p.file, bytes);
  return p;
}

std::string ProgramsFolder() { return SpecialFolder(CSIDL_PROGRAMS); }
std::string DesktopLink() { return SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\Kestamor.lnk"; }

// A shown top-level window of another process with one of these captions.
HWND ShellWindow(const std::vector<std::string>& captions) {
  struct Query {
    const std::vector<std::string>& captions;
    HWND found = nullptr;
  } q{captions};
  EnumWindows(
      [](HWND wnd, LPARAM param) -> BOOL {
        auto* q = reinterpret_cast<Query*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        if (pid == GetCurrentProcessId() || !IsWindowVisible(wnd)) return TRUE;
        char text[256] = {};
        GetWindowTextA(wnd, text, sizeof text);
        if (std::find(q->captions.begin(), q->captions.end(), text) == q->captions.end()) return TRUE;
        q->found = wnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&q));
  return q.found;
}

// Closes the window Wine's shell opens on a group it made (from its own process, when it gets
// to it), and the group itself if it is left. A window whose group was removed again shows the
// desktop folder instead. Either would lie over the wizard in later tests.
void RemoveProgramGroup(const std::string& group, bool wasRemoved = false) {
  std::vector<std::string> captions{group};
  if (wasRemoved) captions.push_back("Desktop");
  HWND shown = nullptr;
  for (int found = 0; PumpUntil([&] { return (shown = ShellWindow(captions)) != nullptr; }, found ? 1000 : 5000);
       ++found)
    PostMessageA(shown, WM_CLOSE, 0, 0), PumpUntil([&] { return !IsWindow(shown); }, 2000);
  fs::remove_all(fs::path(ProgramsFolder()) / group);
}

// Every file below `root` with its bytes: what "as it was" means on disk.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    files[fs::relative(entry.path(), root).string()] = entry.is_directory() ? "<dir>" : ReadWholeFile(entry.path());
  return files;
}

class Worker : public WizardTest {
 protected:
  // The worker reports to the window it finds as the program's wizard.
  void SetUp() override {
    WizardTest::SetUp();
    Form1 = form;
  }

  // Licence accepted, path page shown with `path` in the path edit, Install pressed.
  void InstallInto(const std::string& path, const std::string& group = "Kestamor", bool pump = true,
                   bool desktopIcon = false) {
    ProgramFilesDirOverride reg;
    reg.SetString("C:\\Program Files");
    Click(form->sRadioButton1);
    Click(form->sButton_next2);
    form->sDirectoryEdit1->SetText(path);
    form->sEdit1->SetText(group);
    form->sCheckBox1->SetChecked(desktopIcon);
    if (pump)
      Click(form->sButton_next3);
    else
      SendMessageA(form->sButton_next3->Handle(), BM_CLICK, 0, 0);
  }

  // The worker reads `payload` instead of the test program's own file.
  void UsePayload(const TestPayload& payload) {
    Installer.PayloadFile = payload.file;
    Installer.PayloadOffset = 0;
  }

  int Position() { return static_cast<int>(SendMessageA(form->sProgressBar3->Handle(), PBM_GETPOS, 0, 0)); }

  // An undone installation: the bar where it stopped, the status saying so, Finish disabled,
  // and the window free to close.
  void ExpectStoppedAt(int position) {
    EXPECT_EQ(Position(), position);
    EXPECT_EQ(form->sLabel_status->Caption(), "Installation stopped.");
    EXPECT_EQ(FrontPage(), form->sPanel_4_finish);
    EXPECT_FALSE(IsWindowEnabled(form->sButton_4_finish->Handle()));
    EXPECT_FALSE(form->sLabel19->Visible());
    EXPECT_FALSE(form->Installing());
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
  }
};

// What a message dialog showed: its text, whether it had an icon, its buttons' names.
struct MessageFormSeen {
  std::string text;
  bool hasIcon = true;
  std::string buttons;
};

// The shown message dialog with that caption. (FindWindow would stop at a dialog just closed
// and not yet destroyed, and never see the next one; the search sends no message to the UI
// thread, which may be waiting for this one.)
HWND VisibleMessageForm(const std::string& caption, const std::set<HWND>& skip = {}) {
  HWND wnd = nullptr;
  while ((wnd = FindWindowExA(nullptr, wnd, "TMessageForm", caption.c_str())) &&
         (!IsWindowVisible(wnd) || skip.count(wnd))) {
  }
  return wnd;
}

// A picture of a message dialog, taken from the answering thread. A dialog still coming up
// (shown from its finished picture) may have nothing to photograph yet: then there is none.
void ShootMessage(HWND dialog, const char* name) {
  try {
    SaveWindowScreenshot(dialog, name);
  } catch (const std::exception&) {
  }
}

// Waits on another thread for a message dialog with the given caption, keeps what it showed,
// runs `before` and presses the button of that name; returns once the dialog is gone.
MessageFormSeen AnswerMessageForm(const std::string& caption, int timeoutMs, const std::string& press = "OK",
                                  const std::function<void()>& before = {},
                                  const std::atomic<bool>* stop = nullptr) {
  // A dialog already answered can still be on its way out; it is never answered twice.
  static std::set<HWND> answered;
  MessageFormSeen seen;
  const DWORD end = GetTickCount() + timeoutMs;
  while (GetTickCount() < end && !(stop && *stop)) {
    HWND wnd = VisibleMessageForm(caption, answered);
    auto* dialog = wnd ? dynamic_cast<TMessageForm*>(TWinControl::FindControl(wnd)) : nullptr;
    if (dialog) {
      seen.text = dialog->Message->Caption();
      seen.hasIcon = dialog->FindComponent("Image") != nullptr;
      TButton* target = nullptr;
      for (int i = 0; i < dialog->ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TButton*>(dialog->Components(i))) {
          seen.buttons += (seen.buttons.empty() ? "" : " ") + b->Name();
          if (b->Name() == press) target = b;
        }
      if (before) before();
      answered.insert(wnd);
      if (target) PostMessageA(target->Handle(), BM_CLICK, 0, 0);
      while (IsWindow(wnd) && IsWindowVisible(wnd) && GetTickCount() < end) Sleep(20);
      return seen;
    }
    Sleep(20);
  }
  return seen;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

constexpr char kNothingChanged[] = "Kestamor was not installed; nothing was changed.";
constexpr char kEarlierKept[] = "The installation was stopped; the earlier Kestamor is as it was.";

TEST_F(Worker, AFolderThatCannotBeMadeSendsTheUserBackToThePath) {
  TempDir temp("kestamor-blocked");
  // A file where the install folder should go: no directory can be made there.
  WriteFile(temp.path() / "Kestamor", "in the way");
  MessageFormSeen seen;
  std::thread answer([&] { seen = AnswerMessageForm(Application->Title(), 60000); });
  InstallInto(temp.dir() + "Kestamor");
  EXPECT_TRUE(PumpUntil([&] { return FrontPage() == form->sPanel_3_install; }, 20000));
  answer.join();
  EXPECT_EQ(seen.text,
            "It is impossible to create a working directory of the program on the specified path. Select other "
            "path for program installation.");
  EXPECT_FALSE(seen.hasIcon);
  EXPECT_EQ(seen.buttons, "OK");
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == form->sDirectoryEdit1->Handle(); }, 2000));
  EXPECT_EQ(SendMessageA(form->sProgressBar3->Handle(), PBM_GETPOS, 0, 0), 10);
  EXPECT_FALSE(IsWindowEnabled(form->sButton_4_finish->Handle()));
}

TEST_F(Worker, AnEmptyPathIsNeverCreated) {
  MessageFormSeen seen;
  std::thread answer([&] { seen = AnswerMessageForm(Application->Title(), 60000); });
  InstallInto("");
  EXPECT_TRUE(PumpUntil([&] { return FrontPage() == form->sPanel_3_install; }, 20000));
  answer.join();
  EXPECT_NE(seen.text.find("impossible to create a working directory"), std::string::npos);
}

// A file the system refuses is told with its path and the system's reason, and Retry writes it
// again from its start once the cause is gone. An uninstall record that cannot be written
// offers Retry and Cancel too; Cancel then undoes the whole installation, the group it made
// included, and says so. (A folder stands in the target's place: Wine run as root ignores the
// read-only attribute, while a folder is refused on every system.)
TEST_F(Worker, ARefusedFileCanBeRetriedAndACancelledRecordUndoesTheInstallation) {
  TempDir temp("kestamor-refused");
  const TestPayload payload = MakePayload(temp.path());
  UsePayload(payload);
  const fs::path installed = temp.path() / "Kestamor";
  const std::string dir = temp.dir() + "Kestamor\\";
  fs::create_directories(installed / "help.chm");
  // Held open without sharing: the profile functions cannot write it.
  UniqueKernelHandle held(CreateFileA((dir + "uninstall.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held.get() != INVALID_HANDLE_VALUE);

  const std::string group = "Kestamor Refused Test";
  RemoveProgramGroup(group);
  MessageFormSeen refused, record, outcome;
  std::atomic<bool> answered{false};
  const std::string title = Application->Title();
  auto shoot = [&](const char* name) { ShootMessage(VisibleMessageForm(title), name); };
  std::thread answer([&] {
    refused = AnswerMessageForm(title, 60000, "Retry", [&] {
      shoot("worker-refused-file");
      fs::remove(installed / "help.chm");
    });
    record = AnswerMessageForm(title, 60000, "Cancel", [&] { shoot("worker-uninstall-record"); });
    outcome = AnswerMessageForm(title, 60000, "OK", [&] { shoot("worker-stopped-earlier"); });
    answered = true;
  });
  InstallInto(dir, group);
  EXPECT_TRUE(PumpUntil([&] { return answered.load(); }, 150000));
  answer.join();
  Pump();

  EXPECT_TRUE(Contains(refused.text, dir + "help.chm")) << refused.text;
  EXPECT_TRUE(Contains(refused.text, SystemErrorText(ERROR_ACCESS_DENIED))) << refused.text;
  EXPECT_EQ(refused.buttons, "Retry Cancel");
  EXPECT_FALSE(refused.hasIcon);
  EXPECT_TRUE(Contains(record.text, dir + "uninstall.ini")) << record.text;
  EXPECT_TRUE(Contains(record.text, SystemErrorText(ERROR_SHARING_VIOLATION))) << record.text;
  EXPECT_EQ(record.buttons, "Retry Cancel");
  // The record stood there before the run, so an earlier installation is what is kept.
  EXPECT_EQ(outcome.text, kEarlierKept);
  EXPECT_EQ(outcome.buttons, "OK");

  held.reset();
  EXPECT_EQ(Snapshot(installed), (std::map<std::string, std::string>{{"uninstall.ini", ""}}));
  EXPECT_FALSE(fs::exists(fs::path(ProgramsFolder()) / group)) << "the group this run made is left";
  ExpectStoppedAt(95);
  RemoveProgramGroup(group, true);
}

// Cancel on a file in use while installing over a working installation: every file the run
// had replaced is back byte for byte, nothing new is left, and no kept copy remains.
TEST_F(Worker, CancelOnAReinstallPutsTheEarlierInstallationBack) {
  TempDir temp("kestamor-reinstall");
  const TestPayload payload = MakePayload(temp.path());
  UsePayload(payload);
  const fs::path installed = temp.path() / "Kestamor";
  for (const char* sub : kInstallDirectories) fs::create_directories(installed / sub);
  for (size_t i = 0; i < PayloadLayout::RecordCount; ++i)
    WriteFile(installed / PayloadLayout::Targets[i], "earlier " + std::string(PayloadLayout::Targets[i]));
  WriteFile(installed / "uninstall.ini", "[main_section]\r\nu_group=Earlier\r\n");
  const auto before = Snapshot(installed);
  // The earlier product still plays this sound: it must not be moved out of its way.
  const std::string inUse = (installed / "sounds" / "newnews.wav").string();
  UniqueKernelHandle held(
      CreateFileA(inUse.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held.get() != INVALID_HANDLE_VALUE);

  MessageFormSeen seen, outcome;
  std::atomic<bool> answered{false};
  std::thread answer([&] {
    seen = AnswerMessageForm(Application->Title(), 60000, "Cancel");
    outcome = AnswerMessageForm(Application->Title(), 60000);
    answered = true;
  });
  InstallInto(temp.dir() + "Kestamor");
  EXPECT_TRUE(PumpUntil([&] { return answered.load(); }, 150000));
  answer.join();
  Pump();
  EXPECT_TRUE(Contains(seen.text, "This file is in use and cannot be replaced")) << seen.text;
  EXPECT_TRUE(Contains(seen.text, inUse)) << seen.text;
  EXPECT_EQ(outcome.text, kEarlierKept);
  held.reset();
  EXPECT_EQ(Snapshot(installed), before);
  ExpectStoppedAt(75);
}

// A damaged record on a fresh install: the message, then everything made is gone again,
// the install folder included.
TEST_F(Worker, ADamagedRecordOnAFreshInstallLeavesNoFolder) {
  TempDir temp("kestamor-damaged");
  const TestPayload payload = MakePayload(temp.path());
  std::string bytes = ReadWholeFile(payload.file);
  // Garbles record 5's zlib stream past its header: records 1-4 are written first.
  size_t at = 0;
  for (size_t i = 0; i < 4; ++i) {
    uint32_t length = 0;
    std::memcpy(&length, bytes.data() + at, 4);  // little-endian, as the machine
    at += 4 + length;
  }
  for (size_t i = at + 10; i < at + 40; ++i) bytes[i] = static_cast<char>(0xA5);
  WriteFile(payload.file, bytes);
  UsePayload(payload);
  const fs::path installed = temp.path() / "Fresh" / "Kestamor";

  MessageFormSeen damaged, outcome;
  std::atomic<bool> answered{false};
  std::thread answer([&] {
    damaged = AnswerMessageForm(Application->Title(), 60000);
    outcome = AnswerMessageForm(Application->Title(), 60000, "OK",
                                [&] { ShootMessage(VisibleMessageForm(Application->Title()), "worker-stopped-fresh"); });
    answered = true;
  });
  InstallInto(installed.string());
  EXPECT_TRUE(PumpUntil([&] { return answered.load(); }, 150000));
  answer.join();
  Pump();
  EXPECT_TRUE(Contains(damaged.text, "The installer file is damaged: sounds\\endgame.wav")) << damaged.text;
  EXPECT_EQ(outcome.text, kNothingChanged);
  EXPECT_FALSE(fs::exists(temp.path() / "Fresh"));
  ExpectStoppedAt(60);
  SaveWindowScreenshot(form->Handle(), "worker-stopped-page");
}

// Closing the window mid-install asks first: No goes on, Yes undoes the installation (the
// group and the desktop link it made included) and then the window goes.
TEST_F(Worker, ClosingMidInstallAsksAndYesUndoesEverything) {
  TempDir temp("kestamor-close");
  UsePayload(MakePayload(temp.path()));
  const std::string group = "Kestamor Close Test";
  RemoveProgramGroup(group);
  DeleteFileA(DesktopLink().c_str());
  const fs::path installed = temp.path() / "Kestamor";
  const std::string title = Application->Title();
  auto closeAndAnswer = [&](const char* answerWith, const char* shot) {
    MessageFormSeen seen;
    std::thread answer([&] {
      seen = AnswerMessageForm(title, 60000, answerWith,
                               [&] { if (shot) ShootMessage(VisibleMessageForm(title), shot); });
    });
    form->Close();
    answer.join();
    return seen;
  };

  InstallInto(installed.string(), group, true, true);
  ASSERT_TRUE(PumpUntil([&] { return Position() == 90; }, 30000));
  const MessageFormSeen no = closeAndAnswer("No", "worker-close-question");
  EXPECT_EQ(no.text, "Stop the installation?");
  EXPECT_EQ(no.buttons, "Yes No");
  EXPECT_TRUE(form->Visible());
  // The group and the link are made, the record not yet: the pause after the link.
  ASSERT_TRUE(PumpUntil([&] { return Position() == 95; }, 30000));
  EXPECT_TRUE(fs::exists(DesktopLink()));
  closeAndAnswer("Yes", nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !form->Visible(); }, 30000)) << "the window stays after the undo";
  EXPECT_FALSE(fs::exists(installed));
  EXPECT_FALSE(fs::exists(DesktopLink()));
  EXPECT_TRUE(PumpUntil([&] { return !fs::exists(fs::path(ProgramsFolder()) / group); }, 5000));
  EXPECT_EQ(form->sLabel_status->Caption(), "Installation stopped.");
  RemoveProgramGroup(group, true);
}

// The user's window went while the worker ran (the program is ending): the failure that follows
// tells nobody, and what the worker had made is undone.
TEST_F(Worker, AWorkerWhoseWindowHasGoneUndoesSilently) {
  TempDir temp("kestamor-gone");
  UsePayload(MakePayload(temp.path()));
  fs::create_directories(temp.path() / "Kestamor" / "kestamor.exe");
  std::atomic<bool> stop{false};
  MessageFormSeen seen;
  std::thread answer([&] { seen = AnswerMessageForm(Application->Title(), 60000, "Cancel", {}, &stop); });
  InstallInto(temp.dir() + "Kestamor", "Kestamor", false);
  HANDLE thread = nullptr;
  DuplicateHandle(GetCurrentProcess(), Installer.Worker->Handle(), GetCurrentProcess(), &thread, SYNCHRONIZE, FALSE,
                  0);
  UniqueKernelHandle worker(thread);
  // The window goes the moment the worker's "Unpack files..." hand-off returns, once the folders
  // are made. One call that takes sent messages can run the next hand-off too (the failure's
  // question), so the window is ended from a hook right after that hand-off, not after the call.
  static TForm1** formToEnd;
  static fs::path aFolder;
  static bool foldersMade;
  formToEnd = &form;
  aFolder = temp.path() / "Kestamor" / "Data" / "b";
  foldersMade = false;
  HOOKPROC afterHandOff = [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == CM_SYNCHRONIZE && *formToEnd &&
        SendMessageA((*formToEnd)->sProgressBar3->Handle(), PBM_GETPOS, 0, 0) == 20) {
      foldersMade = fs::exists(aFolder);
      delete *formToEnd;
      *formToEnd = nullptr;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  };
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, afterHandOff, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  // Runs sent messages alone (nothing posted).
  for (int i = 0; i < 2000 && form; ++i) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    Sleep(5);
  }
  UnhookWindowsHookEx(hook);
  ASSERT_EQ(form, nullptr) << "the worker never reached \"Unpack files...\"";
  EXPECT_TRUE(foldersMade);
  EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(worker.get(), 0) == WAIT_OBJECT_0; }, 20000));
  stop = true;
  answer.join();
  EXPECT_EQ(seen.text, "");
  EXPECT_FALSE(fs::exists(temp.path() / "Kestamor" / "Data"));
  EXPECT_TRUE(fs::exists(temp.path() / "Kestamor" / "kestamor.exe"));  // not the run's: stays
}

// Every step of a complete installation as the page shows it: the bar's position and the status
// text in the installation's order, the blocks the bar shows at each position, and the pauses.
TEST_F(Worker, TheProgressPageShowsEveryStepOfACompleteInstall) {
  TempDir temp("kestamor-steps");
  const TestPayload payload = MakePayload(temp.path());
  UsePayload(payload);
  const std::string group = "Kestamor Steps Test";
  struct Seen {
    int position;
    std::string status;
    DWORD tick;
  };
  std::vector<Seen> steps;
  std::map<int, std::vector<TColor>> barRows;  // the bar's middle row on screen, by position
  HWND bar = form->sProgressBar3->Handle();
  const int width = form->sProgressBar3->Width(), middle = form->sProgressBar3->Height() / 2;
  MessageSpy barSpy(bar, {}, [&](UINT msg, WPARAM, LPARAM) {
    if (msg != WM_PAINT) return;
    const int position = static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0));
    std::vector<TColor> row;
    HDC dc = GetDC(bar);
    for (int x = 0; x < width; ++x) row.push_back(GetPixel(dc, x, middle));
    ReleaseDC(bar, dc);
    barRows[position] = row;
  });
  // The form repaints last in every step, when bar and status are both new.
  MessageSpy formSpy(form->Handle(), {}, [&](UINT msg, WPARAM, LPARAM) {
    if (msg != WM_PAINT) return;
    const int position = static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0));
    const std::string status = form->sLabel_status->Caption();
    if (position == 0 || (!steps.empty() && steps.back().position == position && steps.back().status == status))
      return;
    steps.push_back({position, status, GetTickCount()});
  });
  InstallInto(temp.dir() + "Kestamor", group);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(form->sButton_4_finish->Handle()) != FALSE; }, 60000));
  Pump();

  std::vector<ProgressStep> expected = {progress::kCreateDirectories, progress::kUnpackFiles};
  expected.insert(expected.end(), progress::kAfterRecord.begin(), progress::kAfterRecord.end());
  expected.insert(expected.end(), {progress::kCreateProgramGroup, progress::kCreateDesktopShortcut, progress::kCompleted});
  ASSERT_EQ(steps.size(), expected.size());
  std::vector<int> paused;
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(steps[i].position, expected[i].Position) << i;
    EXPECT_EQ(steps[i].status, expected[i].Status) << i;
    // A pause only ever makes a step last longer, so its lower bound is safe to check.
    if (i + 1 < steps.size() && steps[i + 1].tick - steps[i].tick >= kStepPauseMs - 20)
      paused.push_back(steps[i].position);
  }
  EXPECT_EQ(paused, (std::vector<int>{50, 60, 70, 75, 90, 95}));

  // The blocks: filled up to the position's count, the frame's own pixels after it.
  ASSERT_TRUE(barRows.count(100));
  ProgressBarState state;
  state.Width = width;
  state.Height = form->sProgressBar3->Height();
  state.Position = 100;
  const ProgressLayout full = LayoutProgressBar(state);
  const TColor filled = barRows[100][full.Blocks[0].Left + 3];
  for (const ProgressStep& step : expected) {
    ASSERT_TRUE(barRows.count(step.Position)) << step.Position;
    const std::vector<TColor>& row = barRows[step.Position];
    state.Position = step.Position;
    const int count = FilledProgressBlocks(state);
    for (int i = 0; i < full.Count; ++i) {
      const int centre = (full.Blocks[i].Left + full.Blocks[i].Right) / 2;
      EXPECT_EQ(row[centre] == filled, i < count) << "block " << i << " at " << step.Position << " %";
    }
  }
  // At 100 % the space after the last full block holds one more block.
  EXPECT_EQ(barRows[100][(full.Blocks.back().Left + full.Blocks.back().Right) / 2], filled);
  RemoveProgramGroup(group);
  Pump();
  SaveWindowScreenshot(form->Handle(), "worker-completed");
  // What a person sees at the bar is the bar: nothing of the covered path page shows through.
  RECT r;
  GetWindowRect(bar, &r);
  EXPECT_EQ(WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}), bar);
}

// Wine's Program Manager service reads commands only up to the first line break (its parser
// skips spaces, not CR LF), so of the five-line block it runs CreateGroup alone; Windows' shell
// runs all five. What Wine does is checked: the conversation reaches the service, which makes
// the group, and the link is closed again; the one-line removal an undo sends takes it away.
TEST_F(Worker, ProgramManagerMakesAndRemovesTheGroup) {
  const std::string group = "Kestamor Group Test";
  const fs::path folder = fs::path(ProgramsFolder()) / group;
  fs::remove_all(folder);
  TempDir installed("kestamor-group-targets");
  for (const char* file : {"kestamor.exe", "help.chm", "uninstall.exe"}) WriteFile(installed.path() / file, "x");
  form->CreateProgramGroup(group, installed.dir());
  // The execute is asynchronous: the service may finish after the conversation ended.
  EXPECT_TRUE(PumpUntil([&] { return fs::is_directory(folder); }, 10000)) << folder.string();
  EXPECT_EQ(form->DdeClient->Conv(), nullptr);
  EXPECT_EQ(form->DdeClient->DdeService(), "");
  EXPECT_TRUE(form->DeleteProgramGroup(group));
  EXPECT_FALSE(fs::exists(folder));
  // The service opened a window on the new group; close it so later tests see a clean desktop.
  RemoveProgramGroup(group, true);
}

// The transaction on its own, against real files: what it replaced comes back byte for byte,
// what it made goes (folders newest first), a retried write is kept aside only once, and an
// edited file is restored from its copy.
TEST(InstallTransaction, ARollbackLeavesTheDiskAsItWas) {
  TempDir temp("kestamor-transaction");
  const fs::path existing = temp.path() / "Existing";
  fs::create_directories(existing);
  WriteFile(existing / "a.bin", std::string("earlier\0bytes", 13));
  WriteFile(existing / "record.ini", "[keep]\r\nk=1\r\n");
  const auto before = Snapshot(temp.path());
  {
    InstallTransaction transaction;
    ASSERT_TRUE(transaction.MakeDirectories((existing / "New" / "Deeper").string()));
    const std::string a = (existing / "a.bin").string();
    transaction.Replace(a);
    EXPECT_FALSE(fs::exists(a));
    WriteFile(a, "new");
    transaction.Replace(a);  // a retry: the run's own file is written over, not kept
    WriteFile(a, "newer");
    transaction.Replace((existing / "New" / "Deeper" / "b.bin").string());
    WriteFile(existing / "New" / "Deeper" / "b.bin", "made");
    const std::string record = (existing / "record.ini").string();
    transaction.KeepCopy(record);
    WritePrivateProfileStringA("main_section", "u_group", "Kestamor", record.c_str());
    EXPECT_EQ(transaction.Rollback(), std::vector<std::string>{});
  }
  EXPECT_EQ(Snapshot(temp.path()), before);
}

TEST(InstallTransaction, ACommitDeletesOnlyTheKeptCopies) {
  TempDir temp("kestamor-commit");
  const std::string a = (temp.path() / "a.bin").string();
  WriteFile(a, "earlier");
  WriteFile(a + ".kestamor-old", "someone else's");  // a taken name: the kept copy takes another
  {
    InstallTransaction transaction;
    transaction.Replace(a);
    EXPECT_TRUE(fs::exists(a + ".kestamor-old2"));
    WriteFile(a, "new");
    transaction.Commit();
  }  // nothing is undone once committed
  EXPECT_EQ(Snapshot(temp.path()),
            (std::map<std::string, std::string>{{"a.bin", "new"}, {"a.bin.kestamor-old", "someone else's"}}));
}

// A file another program holds open stays where it is (a running program is never moved out
// of the way); a transaction left without a commit undoes itself; what cannot be undone is
// named.
TEST(InstallTransaction, AFileInUseStaysAndWhatCannotBeUndoneIsNamed) {
  TempDir temp("kestamor-in-use");
  const std::string used = (temp.path() / "used.exe").string();
  WriteFile(used, "running");
  UniqueKernelHandle held(
      CreateFileA(used.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held.get() != INVALID_HANDLE_VALUE);
  const fs::path made = temp.path() / "made";
  {
    InstallTransaction transaction;
    try {
      transaction.Replace(used);
      ADD_FAILURE() << "a file in use was moved";
    } catch (const EFileError& e) {
      EXPECT_TRUE(e.InUse()) << e.what();
      EXPECT_EQ(e.Path(), used);
    }
    ASSERT_TRUE(transaction.MakeDirectories(made.string()));
    transaction.Replace((made / "new.txt").string());
    WriteFile(made / "new.txt", "x");
  }
  EXPECT_FALSE(fs::exists(made));
  EXPECT_EQ(Snapshot(temp.path()), (std::map<std::string, std::string>{{"used.exe", "running"}}));

  InstallTransaction transaction;
  ASSERT_TRUE(transaction.MakeDirectories(made.string()));
  WriteFile(made / "foreign.txt", "not the installer's");
  EXPECT_EQ(transaction.Rollback(), std::vector<std::string>{made.string()});
  EXPECT_TRUE(fs::exists(made / "foreign.txt"));
}

TEST(DdeExecuteData, IsEveryLineWithCrLfAndOneCountedNul) {
  const std::string data = DdeExecuteData({"[A()]", "[B(\"x\")]"});
  EXPECT_EQ(data, std::string("[A()]\r\n[B(\"x\")]\r\n\0", 18));
  EXPECT_EQ(data.size(), 5u + 8u + 4u + 1u);
}

TEST(DesktopShortcut, PointsAtTheInstalledProgram) {
  const std::string expected = DesktopLink();
  EXPECT_EQ(TForm1::DesktopShortcutPath(nullptr), expected);
  WriteFile(expected, "an older file of that name");  // overwritten
  TForm1::CreateDesktopShortcut(expected, "C:\\Kestamor Link Test\\");

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
  InstallResult installed{temp.dir() + "kestamor.exe", "My Games", true, "C:\\users\\Public\\Desktop\\Kestamor.lnk"};
  TForm1::WriteUninstallRecord(temp.dir() + "uninstall.ini", installed);
  EXPECT_EQ(ReadWholeFile(temp.path() / "uninstall.ini"),
            "[main_section]\r\nu_path=" + temp.dir() + "kestamor.exe\r\nu_group=My Games\r\nu_ico=1\r\n"
            "u_ico_path=C:\\users\\Public\\Desktop\\Kestamor.lnk\r\n");
}

TEST(UninstallRecord, ASecondInstallReplacesKeysAndKeepsTheRest) {
  TempDir temp("kestamor-record2");
  WriteFile(temp.path() / "uninstall.ini",
            "[user]\r\nkeep=yes\r\n[main_section]\r\nu_group=Old\r\nextra=1\r\nu_ico=1\r\n");
  TForm1::WriteUninstallRecord(temp.dir() + "uninstall.ini", InstallResult{temp.dir() + "kestamor.exe", "Kestamor", false, ""});
  const std::string file = ReadWholeFile(temp.path() / "uninstall.ini");
  EXPECT_NE(file.find("[user]\r\nkeep=yes\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("u_group=Kestamor\r\nextra=1\r\nu_ico=0\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("u_ico_path=...\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("u_path=" + temp.dir() + "kestamor.exe\r\n"), std::string::npos) << file;
  EXPECT_EQ(file.find("u_ico_path=\r\n"), std::string::npos);
}

TEST(UninstallRecord, AFailedWriteIsAFileError) {
  try {
    TForm1::WriteUninstallRecord("Q:\\no such drive\\uninstall.ini", InstallResult{});
    ADD_FAILURE() << "no failure reported";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.Path(), "Q:\\no such drive\\uninstall.ini");
    EXPECT_EQ(e.FileAccess(), EFileError::Access::Write);
  }
}

}  // namespace
