// The wizard's path edit and its folder dialog, driven from the X side: the dialog's window,
// minimum size and controls after a resize, Create and the rename of the folder it made, OK
// and Cancel, and the path edit refusing every direct change of its text.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "WizardTest.h"
#include "image/PngWrite.h"
#include "skin/controls/acPathDialog.h"
#include "skin/data/sConst.h"
#include "skin/frame/sSkinProvider.h"

namespace {

std::string ScreenPoint(POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

RECT WindowRectOf(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  return r;
}

// A folder of the test's own under the temporary folder, emptied before and after.
class ScratchFolder {
 public:
  ScratchFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "kestamor-folder-test";
    Clear();
    CreateDirectoryA(path_.c_str(), nullptr);
    // The shell gives the folder's path as it is spelt on disk.
    char full[MAX_PATH] = {};
    GetLongPathNameA(path_.c_str(), full, MAX_PATH);
    path_ = full;
  }
  ~ScratchFolder() { Clear(); }
  const std::string& Path() const { return path_; }
  std::string Sub(const std::string& name) const { return path_ + "\\" + name; }
  void Make(const std::string& name) const { CreateDirectoryA(Sub(name).c_str(), nullptr); }

 private:
  void Clear() const {
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((path_ + "\\*").c_str(), &f);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::string n = f.cFileName;
        if (n != "." && n != "..") RemoveDirectoryA(Sub(n).c_str());
      } while (FindNextFileA(h, &f));
      FindClose(h);
    }
    RemoveDirectoryA(path_.c_str());
  }
  std::string path_;
};

// Runs `body` on the folder dialog from inside its modal loop, once it shows; the dialog is
// cancelled afterwards if the body left it open.
std::function<void(TPathDialogForm&)>* g_body = nullptr;
UINT_PTR g_timer = 0;
void CALLBACK RunBody(HWND, UINT, UINT_PTR, DWORD) {
  TPathDialogForm* dialog = nullptr;
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* d = dynamic_cast<TPathDialogForm*>(Screen->Forms(i)); d && d->IsModal() && d->Showing()) dialog = d;
  if (!dialog || !g_body) return;
  KillTimer(nullptr, g_timer);
  auto* body = g_body;
  g_body = nullptr;
  Pump();
  (*body)(*dialog);
  if (dialog->IsModal() && dialog->ModalResult() == mrNone) dialog->SetModalResult(mrCancel);
}

class FolderWizard : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    SetForegroundWindow(form->Handle());
    edit = form->sDirectoryEdit1;
    edit->OnChange = [this](TObject* s) {
      ++changes;
      form->sDirectoryEdit1Change(s);
    };
    ASSERT_TRUE(XInput("mousemove 1000 740")) << "no input bridge from the X side";
  }
  void TearDown() override {
    XInput("mouseup 1");
    WizardTest::TearDown();
  }

  // Opens the dialog through the edit's button click (or `open`) and runs body on it.
  void WithDialog(std::function<void(TPathDialogForm&)> body, std::function<void()> open = {}) {
    g_body = &body;
    g_timer = SetTimer(nullptr, 0, 30, RunBody);
    if (open)
      open();
    else
      edit->ButtonClick();
    KillTimer(nullptr, g_timer);
    EXPECT_EQ(g_body, nullptr) << "the dialog never showed";
    g_body = nullptr;
    Pump();
  }
  bool ClickOn(TControl* c) { return XMouseToCentre(c) && XInput("click 1"); }

  TsDirectoryEdit* edit = nullptr;
  int changes = 0;
};

// Opened, the edit's folder becomes the current directory and the dialog is 350 x 420 in the
// screen's centre with the controls where its form puts them; dragged by its grip it stops at 275 x 250; made larger, the tree grows with it, OK and
// Cancel keep to the bottom right corner and Create to the bottom left. Cancel then changes
// nothing.
TEST_F(FolderWizard, DialogSizesAndAnchors) {
  edit->SetText("C:\\windows");
  changes = 0;
  SetCurrentDirectoryA("C:\\users");
  WithDialog([&](TPathDialogForm& d) {
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_STREQ(current, "C:\\windows") << "the edit's folder becomes the current directory";
    const RECT w = WindowRectOf(d.Handle());
    EXPECT_EQ(w.right - w.left, 350);
    EXPECT_EQ(w.bottom - w.top, 420);
    EXPECT_EQ(w.left, (GetSystemMetrics(SM_CXSCREEN) - 350) / 2);
    EXPECT_EQ(w.top, (GetSystemMetrics(SM_CYSCREEN) - 420) / 2);
    EXPECT_EQ(FindSkinProvider(&d), d.sSkinProvider1);
    EXPECT_EQ(d.Caption(), "Select directory");
    EXPECT_EQ(d.sBitBtn3->Caption(), "Create");
    EXPECT_EQ(WindowClass(d.sShellTreeView1->Handle()), "TsShellTreeView");
    auto expectAt = [](TControl* c, int l, int t, int wd, int h) {
      SCOPED_TRACE(c->Name());
      EXPECT_EQ(c->Left(), l);
      EXPECT_EQ(c->Top(), t);
      EXPECT_EQ(c->Width(), wd);
      EXPECT_EQ(c->Height(), h);
    };
    expectAt(d.sShellTreeView1, 8, 20, 321, 319);
    expectAt(d.sBitBtn1, 173, 344, 75, 25);
    expectAt(d.sBitBtn2, 250, 344, 75, 25);
    expectAt(d.sBitBtn3, 12, 344, 75, 25);
    EXPECT_EQ(d.sShellTreeView1->Path(), "C:\\windows");
    EXPECT_TRUE(d.sBitBtn1->Enabled() && IsWindowEnabled(d.sBitBtn1->Handle()));
    EXPECT_TRUE(d.sBitBtn3->Enabled() && IsWindowEnabled(d.sBitBtn3->Handle()));
    SaveWindowScreenshot(d.Handle(), "folder_dialog");

    const POINT grip = ScreenCentre(d.Grip);
    ASSERT_TRUE(XInput("mousemove " + ScreenPoint(grip) + " mousedown 1 sleep 0.2 mousemove " +
                       ScreenPoint(POINT{grip.x - 200, grip.y - 300}) + " sleep 0.2 mouseup 1"));
    Pump();
    const RECT small = WindowRectOf(d.Handle());
    EXPECT_EQ(small.right - small.left, 275);
    EXPECT_EQ(small.bottom - small.top, 250);

    const int dw = 120, dh = 90;
    SetWindowPos(d.Handle(), nullptr, 0, 0, 350 + dw, 420 + dh, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    expectAt(d.sShellTreeView1, 8, 20, 321 + dw, 319 + dh);
    expectAt(d.sBitBtn1, 173 + dw, 344 + dh, 75, 25);
    expectAt(d.sBitBtn2, 250 + dw, 344 + dh, 75, 25);
    expectAt(d.sBitBtn3, 12, 344 + dh, 75, 25);
    SaveWindowScreenshot(d.Handle(), "folder_dialog_larger");
    ASSERT_TRUE(ClickOn(d.sBitBtn2));
  });
  EXPECT_EQ(edit->Text(), "C:\\windows");
  EXPECT_EQ(edit->InitialDir(), "");
  EXPECT_EQ(changes, 0);
}

// An empty edit opens the dialog at the desktop, the current directory left alone; the
// computer has no path, so with it
// selected neither OK nor Create can be pressed, while a folder of the disk allows both.
TEST_F(FolderWizard, VirtualItemDisablesOkAndCreate) {
  edit->SetText("");
  SetCurrentDirectoryA("C:\\users");
  WithDialog([&](TPathDialogForm& d) {
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_STREQ(current, "C:\\users") << "an empty edit leaves the current directory alone";
    TsShellTreeView* tree = d.sShellTreeView1;
    HTREEITEM computer = nullptr;
    for (HTREEITEM c = tree->FirstChild(tree->Root()); c && !computer; c = tree->NextSibling(c)) {
      tree->Expand(c);
      for (HTREEITEM g = tree->FirstChild(c); g; g = tree->NextSibling(g))
        if (tree->ItemPath(g).rfind("C:\\", 0) == 0 && tree->ItemPath(c).empty()) computer = c;
    }
    ASSERT_NE(computer, nullptr) << "no item without a path holds drive C:";
    tree->Select(computer);
    Pump();
    EXPECT_EQ(tree->Path(), "");
    EXPECT_FALSE(d.sBitBtn1->Enabled());
    EXPECT_FALSE(d.sBitBtn3->Enabled());
    tree->SetPath("C:\\windows");
    Pump();
    EXPECT_TRUE(d.sBitBtn1->Enabled());
    EXPECT_TRUE(d.sBitBtn3->Enabled());
  });
  EXPECT_EQ(edit->Text(), "");
}

// With New folder1 and New folder2 present, Create makes New folder3 and opens its name for
// editing; OK while the name is being edited keeps the dialog open; the typed name renames the
// folder on disk; OK then writes its path (no trailing separator) into the edit, firing the
// change once.
TEST_F(FolderWizard, CreateRenameAndOk) {
  ScratchFolder scratch;
  scratch.Make("New folder1");
  scratch.Make("New folder2");
  edit->SetText(scratch.Path());
  changes = 0;
  WithDialog([&](TPathDialogForm& d) {
    TsShellTreeView* tree = d.sShellTreeView1;
    ASSERT_EQ(tree->Path(), scratch.Path());
    ASSERT_TRUE(ClickOn(d.sBitBtn3));
    EXPECT_TRUE(DirectoryExists(scratch.Sub("New folder3")));
    EXPECT_EQ(tree->Path(), scratch.Sub("New folder3"));
    ASSERT_TRUE(tree->IsEditing());
    SaveWindowScreenshot(d.Handle(), "folder_dialog_create");

    ASSERT_TRUE(XInput("key ctrl+a type Chosen"));
    // As the default button while the name is edited (a click of the mouse would take the
    // focus first, which ends the editing): the editing ends, the typed name stays, the
    // dialog stays open.
    d.sBitBtn1->Click();
    EXPECT_TRUE(d.IsModal());
    EXPECT_EQ(d.ModalResult(), mrNone);
    EXPECT_FALSE(tree->IsEditing());
    ASSERT_TRUE(PumpUntil([&] { return tree->Path() == scratch.Sub("Chosen"); }));
    EXPECT_TRUE(DirectoryExists(scratch.Sub("Chosen")));
    EXPECT_FALSE(DirectoryExists(scratch.Sub("New folder3")));
    ASSERT_TRUE(ClickOn(d.sBitBtn1));
  });
  EXPECT_EQ(edit->Text(), scratch.Sub("Chosen"));
  EXPECT_EQ(edit->InitialDir(), scratch.Sub("Chosen"));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Installer.InstallDirectory, scratch.Sub("Chosen") + "\\");
}

// A file in the way of the new folder's name: the error names the folder, the dialog stays
// open with nothing selected anew.
TEST_F(FolderWizard, CreateReportsAFolderItCannotMake) {
  ScratchFolder scratch;
  HANDLE file = CreateFileA(scratch.Sub("New folder1").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  edit->SetText(scratch.Path());
  std::optional<std::string> text;
  WithDialog([&](TPathDialogForm& d) {
    MessageBoxWatcher box("Error");
    ASSERT_TRUE(ClickOn(d.sBitBtn3));
    text = box.Text();
    EXPECT_TRUE(d.IsModal());
    EXPECT_EQ(d.sShellTreeView1->Path(), scratch.Path());
    EXPECT_FALSE(d.sShellTreeView1->IsEditing());
  });
  DeleteFileA(scratch.Sub("New folder1").c_str());
  EXPECT_EQ(text.value_or("(no message)"), "Directory " + scratch.Sub("New folder1") + " can`t be created!");
  EXPECT_EQ(edit->Text(), scratch.Path());
}

// A drive root keeps its separator.
TEST_F(FolderWizard, DriveRootKeepsItsSeparator) {
  edit->SetText("C:\\windows");
  WithDialog([&](TPathDialogForm& d) {
    d.sShellTreeView1->SetPath("C:\\");
    Pump();
    ASSERT_TRUE(ClickOn(d.sBitBtn1));
  });
  EXPECT_EQ(edit->Text(), "C:\\");
  EXPECT_EQ(Installer.InstallDirectory, "C:\\");
}

// Typing, Ctrl+V, Shift+Insert, Delete and the context menu's Paste, all from the X side,
// leave the path edit's text as the installer set it; it can still be copied, and Alt+Down
// opens the dialog.
TEST_F(FolderWizard, PathEditRefusesDirectInput) {
  form->ShowPage(form->sPanel_3_install);
  edit->SetText("C:\\Program Files\\Kestamor");
  changes = 0;
  if (OpenClipboard(form->Handle())) {
    EmptyClipboard();
    const char pasted[] = "D:\\elsewhere";
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof pasted);
    memcpy(GlobalLock(mem), pasted, sizeof pasted);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
  }
  Pump();
  const POINT textArea = edit->ClientToScreen(POINT{20, edit->ClientHeight() / 2});
  ASSERT_TRUE(XInput("mousemove " + ScreenPoint(textArea) + " click 1"));
  ASSERT_EQ(GetFocus(), edit->Handle());
  SaveWindowScreenshot(form->Handle(), "folder_path_page");
  ASSERT_TRUE(XInput("key End type xyz"));
  ASSERT_TRUE(XInput("key ctrl+v"));
  ASSERT_TRUE(XInput("key shift+Insert"));
  ASSERT_TRUE(XInput("key BackSpace Delete shift+Delete ctrl+x"));
  {
    // The context menu opens, and "p" chooses its Paste.
    MenuWatcher menu(false);
    ASSERT_TRUE(XInput("click 3 sleep 0.5 key p sleep 0.3 key Escape"));
    const std::vector<std::string> items = menu.Items();
    EXPECT_NE(std::ranges::find(items, "Paste"), items.end()) << items.size() << " items";
  }
  EXPECT_EQ(edit->Text(), "C:\\Program Files\\Kestamor");
  EXPECT_EQ(changes, 0);
  // Selecting and copying the path still works.
  ASSERT_TRUE(XInput("key Home shift+End ctrl+c"));
  std::string copied;
  if (OpenClipboard(form->Handle())) {
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      copied = static_cast<const char*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
  }
  EXPECT_EQ(copied, "C:\\Program Files\\Kestamor");
  // Alt+Down is the button's key: it opens the dialog.
  bool opened = false;
  WithDialog([&](TPathDialogForm&) { opened = true; }, [] { XInput("key alt+Down"); });
  EXPECT_TRUE(opened);
}

// A start folder the tree cannot reach from its root: the error reaches the application, the
// dialog is freed and the edit keeps its text.
TEST_F(FolderWizard, AStartFolderOutsideTheTreeIsReportedAndChangesNothing) {
  form->ShowPage(form->sPanel_3_install);
  edit->SetRoot("C:\\users");
  edit->SetText("C:\\windows");
  changes = 0;
  std::string reported;
  Application->OnException = [&](TObject*, const std::exception& e) { reported = e.what(); };
  const int forms = Screen->FormCount();
  ::SetFocus(edit->Handle());
  Pump();
  ASSERT_TRUE(XInput("key alt+Down"));
  PumpUntil([&] { return !reported.empty(); }, 3000);
  Application->OnException = nullptr;
  edit->SetRoot("rfDesktop");
  EXPECT_EQ(reported, "Error Setting Path");
  EXPECT_EQ(Screen->FormCount(), forms);
  EXPECT_EQ(edit->Text(), "C:\\windows");
  EXPECT_EQ(changes, 0);
}

// The mouse over the browse button fades its hot face in, frame by frame, and out again; the
// screen then shows the hot face (more than the black of the edit and the glyph), and the
// plain one again once the mouse has left.
TEST_F(FolderWizard, BrowseButtonFadesUnderTheMouse) {
  form->ShowPage(form->sPanel_3_install);
  Pump();
  TsEditButton* button = edit->Button();
  int frames = 0;
  MessageSpy spy(button->Handle(), [&](UINT msg, WPARAM wp, LPARAM) {
    if (msg == SM_ALPHACMD && HIWORD(wp) == SkinCommand::PaintFadeFrame) ++frames;
  });
  auto darkPixels = [&] {
    const Bitmap32 shot = CaptureScreen(WindowRectOf(button->Handle()));
    int n = 0;
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width(); ++x) n += At(shot, x, y) == 0;
    return n;
  };
  const int plain = darkPixels();
  // The mouse over the button (then away) and its fade to the end.
  auto settled = [&](bool over) {
    return PumpUntil([&] {
      return button->SkinData().MouseOver == over && (!button->Fade() || !button->Fade()->Enabled());
    });
  };
  ASSERT_TRUE(XMouseToCentre(button));
  ASSERT_TRUE(settled(true));
  const int framesIn = frames;
  const int hot = darkPixels();
  SaveWindowScreenshot(form->Handle(), "folder_browse_hot");
  ASSERT_TRUE(XInput("mousemove 1000 740"));
  ASSERT_TRUE(settled(false));
  EXPECT_GT(framesIn, 3);
  EXPECT_GT(frames, framesIn + 3);
  EXPECT_LT(hot, plain / 2) << "the hot face covers the edit's black";
  EXPECT_EQ(darkPixels(), plain);
}

// The mouse coming back while the button's face fades out: the fade that follows has no
// frames left to show, yet the hot face must end up on screen, not the blend the fade-out had
// reached. The enter and leave notices are the ones the form's mouse tracking sends; the real
// mouse stays away, so that the edit around the button repaints nothing meanwhile.
TEST_F(FolderWizard, TheBrowseButtonEndsHotWhenTheMouseComesBackDuringItsFadeOut) {
  form->ShowPage(form->sPanel_3_install);
  ASSERT_TRUE(XMouseTo(POINT{1000, 740}));
  Pump();
  TsEditButton* button = edit->Button();
  const RECT r = WindowRectOf(button->Handle());
  bool leaving = false;
  int leaveFrames = 0;
  // The fade-out is held at its eighth frame, a clear blend of the two faces.
  MessageSpy spy(button->Handle(), [&](UINT msg, WPARAM wp, LPARAM) {
    if (msg == SM_ALPHACMD && HIWORD(wp) == SkinCommand::PaintFadeFrame && leaving && ++leaveFrames == 8)
      button->Fade()->SetEnabled(false);
  });
  // Pixels apart by more than the rounding of a fade's last frame (which blends the new face at
  // weight 0 and so comes out one level darker).
  auto differing = [](const Bitmap32& a, const Bitmap32& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) {
        const Pixel32 p = a.At(x, y), q = b.At(x, y);
        n += std::abs(p.R - q.R) > 2 || std::abs(p.G - q.G) > 2 || std::abs(p.B - q.B) > 2;
      }
    return n;
  };
  auto settled = [&] { return PumpUntil([&] { return !button->Fade(); }) && (Pump(), true); };
  auto mouse = [&](UINT notice) { button->Perform(notice, 0, reinterpret_cast<LPARAM>(button)); };
  const Bitmap32 plain = CaptureScreen(r);
  mouse(CM_MOUSEENTER);
  ASSERT_TRUE(settled());
  const Bitmap32 hot = CaptureScreen(r);
  leaving = true;
  mouse(CM_MOUSELEAVE);
  ASSERT_TRUE(PumpUntil([&] { return leaveFrames >= 8; }));
  Pump();
  const Bitmap32 between = CaptureScreen(r);
  // The screen as it is (a screenshot of the window would repaint the button first).
  auto keep = [&](const char* name) {
    if (const char* dir = std::getenv("KESTAMOR_SCREENSHOTS"))
      SavePng(CaptureScreen(WindowRectOf(form->Handle())), std::string(dir) + "/" + name + ".png", false);
  };
  keep("folder_browse_fade_held");
  leaving = false;
  mouse(CM_MOUSEENTER);
  ASSERT_TRUE(settled());
  const Bitmap32 back = CaptureScreen(r);
  keep("folder_browse_back_hot");
  EXPECT_GT(differing(plain, hot), 20) << "the hot face is not the plain one";
  EXPECT_GT(differing(between, hot), 20) << "the held frame is a blend";
  EXPECT_GT(differing(between, plain), 20) << "the held frame is a blend";
  EXPECT_EQ(differing(back, hot), 0);
  mouse(CM_MOUSELEAVE);
  settled();
}

// Opening and closing the dialog fifty times leaves no window or drawing object behind.
TEST_F(FolderWizard, DialogLeavesNoObjects) {
  edit->SetText("C:\\windows");
  auto cancel = [](TPathDialogForm& d) { d.SetModalResult(mrCancel); };
  ExpectNoObjectsLeft(
      [&](int n) {
        for (int i = 0; i < n; ++i) WithDialog(cancel);
      },
      2, 50);
}

}  // namespace
