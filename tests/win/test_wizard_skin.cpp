// The wizard's containers and labels painted from the embedded skin, read back from the
// screen; the skin manager's loading rules and its announcements to the windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <utility>
#include <vector>

#include "WizardTest.h"
#include "framework/Dialogs.h"
#include "image/PngWrite.h"
#include "installer/Unit1.h"
#include "skin/controls/sPanel.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sStyleSimply_win.h"

namespace {

constexpr TColor kText = 9013657;    // the skin's font colour
constexpr TColor kFace = 2434349;    // FORM and PANEL colour
constexpr TColor kGlobal = 1907997;  // GLOBALINFO COLOR

class SkinnedWizard : public WizardTest {
 protected:
  void Screenshot(const char* name) { SaveWindowScreenshot(form->Handle(), name); }
  const TsSkinModel& Model() { return form->sSkinManager1->Model(); }
};

TEST_F(SkinnedWizard, InnerPanelsShowTheirBorderRingAroundTheSectionColour) {
  const Bitmap32 shot = Capture();
  Screenshot("skin-licence-page");
  const RECT r = InForm(form->sPanel4);
  const int w = r.right - r.left, h = r.bottom - r.top;
  // The ring the painters make of the PANEL section over the page's colour.
  const TsSectionBinding panel = BindSection(Model(), "PANEL");
  Bitmap32 expected(w, h);
  BackgroundSource behind;
  behind.FillColor = kFace;
  PaintSection(panel, behind, true, expected, TsPoint{0, 0}, TsRect{0, 0, w, h}, 0);
  int ringDiffers = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool ring = x < 3 || y < 3 || x >= w - 3 || y >= h - 3;
      if (ring && At(shot, r.left + x, r.top + y) != At(expected, x, y)) ++ringDiffers;
    }
  EXPECT_EQ(ringDiffers, 0);
  EXPECT_NE(At(expected, 1, h / 2), kFace);  // the ring is not just the face colour
  // Inside the ring, away from the memo and the labels: the section colour.
  EXPECT_EQ(At(shot, r.left + 3, r.top + h / 2), kFace);
  EXPECT_EQ(At(shot, r.left + w - 4, r.top + 25), kFace);
}

TEST_F(SkinnedWizard, GroupBoxFrameRunsThroughTheMiddleOfTheCaptionBand) {
  TsGroupBox* box = form->sGroupBox1;
  const int band = box->CaptionBandHeight();
  const Bitmap32 shot = Capture();
  const RECT r = InForm(box);
  // The band above the frame's top line shows the panel it stands on.
  for (int y = 0; y < band / 2; ++y) EXPECT_EQ(At(shot, r.left + box->Width() / 2, r.top + y), kFace) << y;
  // The top line: the GROUPBOX border image's first row, not the panel.
  EXPECT_NE(At(shot, r.left + box->Width() / 2, r.top + band / 2), kFace);

  box->SetCaption("Choice");
  const Bitmap32 captioned = Capture();
  Screenshot("skin-groupbox-caption");
  const RECT c = box->CaptionRect();
  EXPECT_EQ(c.left, 6);
  EXPECT_EQ(c.bottom, band);
  // The caption's patch interrupts the frame line and holds the text in the skin's colour.
  const std::set<TColor> inCaption =
      Colours(captioned, RECT{r.left + c.left, r.top + c.top, r.left + c.right, r.top + c.bottom});
  EXPECT_TRUE(inCaption.count(kText));
  EXPECT_EQ(At(captioned, r.left + c.left + 1, r.top + band / 2), kFace);
  box->SetCaption("");
}

TEST_F(SkinnedWizard, LabelsTakeTheSkinsTextColourAndDisabledOnesMixWithTheirParent) {
  for (TsPanel* page : {form->sPanel_2_license, form->sPanel_3_install, form->sPanel_4_finish}) {
    form->ShowPage(page);
    const Bitmap32 shot = Capture();
    for (int i = 0; i < form->ComponentCount(); ++i) {
      auto* label = dynamic_cast<TsLabel*>(form->Components(i));
      if (!label || !label->Visible() || !page->ContainsControl(label)) continue;
      const std::set<TColor> colours = Colours(shot, InForm(label));
      EXPECT_TRUE(colours.count(kText)) << label->Name();
      EXPECT_TRUE(colours.count(kFace)) << label->Name();
    }
  }
  form->ShowPage(form->sPanel_2_license);
  form->sLabel2->SetEnabled(false);
  const Bitmap32 shot = Capture();
  Screenshot("skin-disabled-label");
  const std::set<TColor> colours = Colours(shot, InForm(form->sLabel2));
  EXPECT_TRUE(colours.count(MixColors(kText, kFace, 0.4)));
  EXPECT_FALSE(colours.count(kText));
  EXPECT_FALSE(colours.count(static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT))));
  form->sLabel2->SetEnabled(true);
}

TEST_F(SkinnedWizard, PagePanelsShowTheColourTheFormReports) {
  const Bitmap32 shot = Capture();
  const RECT page = InForm(form->sPanel_2_license);
  // Between the inner panel and the buttons: the page itself.
  EXPECT_EQ(At(shot, page.left + 2, page.top + 290), kFace);
  EXPECT_EQ(SendMessageA(form->Handle(), SM_ALPHACMD, MakeSkinCommand(SkinCommand::GetBackgroundColor), 0), kFace);
}

TEST_F(SkinnedWizard, ABackgroundHalfTransparentOverWhiteBlendsWithTheParent) {
  form->sSkinManager1->SetCommonSections({"[HALF]", "TRANSPARENCY=50", "COLOR=0"});
  auto* parent = new TsPanel(form);
  parent->SetParent(form->sPanel4);
  parent->SkinData().SetSkinSection("NOSUCHSECTION");
  parent->SetColor(clWhite);
  auto* child = new TsPanel(form);
  child->SetParent(parent);
  child->SkinData().SetSkinSection("half");
  EXPECT_EQ(child->SkinData().SkinSection(), "HALF");
  EXPECT_EQ(SendSkinCommand(child, SkinCommand::GetBackgroundColor), 0x313131);
  parent->SkinData().SetSkinSection("");
  EXPECT_EQ(parent->SkinData().SkinSection(), "UNKNOWN");
  delete child;
  delete parent;
  form->sSkinManager1->SetCommonSections({});
}

// What another process is answered when it sends `command` ("n" or "n,lparam") to each window:
// one line per window.
std::string SkinCommandFromAnotherProcess(const std::string& command, const std::vector<HWND>& windows) {
  std::string handles;
  for (HWND w : windows) handles += " " + std::to_string(reinterpret_cast<uintptr_t>(w));
  const std::string out = std::string(KESTAMOR_BINARY_DIR) + "/skincmd.txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE file = CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "no output file";
  std::string cmd = "\"" + std::string(KESTAMOR_BINARY_DIR) + "/tests/e2e/wininfo.exe\" skincmd " + command + handles;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = file;
  si.hStdError = file;
  PROCESS_INFORMATION pi{};
  const bool started = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(file);
  if (!started) return "not started";
  // The answers need this thread's message loop.
  const bool ended = PumpUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  std::string answers = ReadWholeFile(out);
  std::remove(out.c_str());
  return ended ? answers : "no end";
}

std::string Lines(const char* line, size_t n) {
  std::string lines;
  for (size_t i = 0; i < n; ++i) lines += std::string(line) + "\r\n";
  return lines;
}

class SkinnedWindowsFromOutside : public SkinnedWizard {
 protected:
  // The three pages, three inner panels, the group box and the form.
  std::vector<HWND> SkinnedWindows() {
    std::vector<HWND> windows;
    for (int i = 0; i < form->ComponentCount(); ++i) {
      auto* c = form->Components(i);
      if (dynamic_cast<TsPanel*>(c) || dynamic_cast<TsGroupBox*>(c))
        windows.push_back(dynamic_cast<TWinControl*>(c)->Handle());
    }
    windows.push_back(form->Handle());
    return windows;
  }
};

// Every window of the wizard that the engine skins answers IsHandled, also to other processes.
TEST_F(SkinnedWindowsFromOutside, SkinnedWindowsAnswerTheSkinCommandFromAnotherProcess) {
  const std::vector<HWND> windows = SkinnedWindows();
  ASSERT_EQ(windows.size(), 8u);
  EXPECT_EQ(SkinCommandFromAnotherProcess(std::to_string(SkinCommand::IsHandled), windows), Lines("1", windows.size()));
}

// Commands whose lParam is a pointer mean nothing from another process: they are refused
// (answered 0), even when the number happens to be an address in this process.
TEST_F(SkinnedWindowsFromOutside, PointerCommandsFromAnotherProcessAreRefused) {
  static char section[] = "BUTTON";
  TacSectionInfo index;
  ParentBgQuery query;
  auto address = [](const void* p) { return std::to_string(reinterpret_cast<uintptr_t>(p)); };
  const std::vector<HWND> windows = {form->sPanel4->Handle(), form->Handle()};
  const std::string before = form->sPanel4->SkinData().SkinSection();
  EXPECT_EQ(SkinCommandFromAnotherProcess(std::to_string(SkinCommand::SetSection) + "," + address(section), windows),
            Lines("0", windows.size()));
  EXPECT_EQ(SkinCommandFromAnotherProcess(std::to_string(SkinCommand::GetSkinIndex) + "," + address(&index), windows),
            Lines("0", windows.size()));
  EXPECT_EQ(
      SkinCommandFromAnotherProcess(std::to_string(SkinCommand::GetBackgroundInfo) + "," + address(&query), windows),
      Lines("0", windows.size()));
  EXPECT_EQ(form->sPanel4->SkinData().SkinSection(), before);
  EXPECT_EQ(index.SkinIndex, -1);
  EXPECT_EQ(query.AnswerKind, akNone);
  // Inside the process the same commands are answered.
  SendMessageA(form->sPanel4->Handle(), SM_ALPHACMD, MakeSkinCommand(SkinCommand::GetSkinIndex),
               reinterpret_cast<LPARAM>(&index));
  EXPECT_GE(index.SkinIndex, 0);
  SendMessageA(form->Handle(), SM_ALPHACMD, MakeSkinCommand(SkinCommand::GetBackgroundInfo),
               reinterpret_cast<LPARAM>(&query));
  EXPECT_NE(query.AnswerKind, akNone);
}

TEST_F(SkinnedWizard, TheManagerLoadsTheInternalSkinAndFallsBackToIt) {
  TsSkinManager* m = form->sSkinManager1;
  EXPECT_EQ(m->SkinName(), "Garnet (internal)");
  EXPECT_EQ(m->SkinInfo(), "7");
  EXPECT_EQ(m->Version(), "7.30");
  m->SetVersion("1.0");
  EXPECT_EQ(m->Version(), "7.30");
  EXPECT_TRUE(m->IsDefault());
  EXPECT_TRUE(m->HookInstalled());
  EXPECT_EQ(m->GetGlobalColor(), kGlobal);

  m->SetSkinName("Unknown");
  EXPECT_EQ(m->SkinName(), "Garnet (internal)");
  EXPECT_EQ(m->SkinInfo(), "7");

  m->SetActive(false);
  EXPECT_EQ(m->SkinInfo(), "N/A");
  EXPECT_FALSE(m->HookInstalled());
  EXPECT_FALSE(form->sPanel4->SkinData().IsSkinned());
  m->SetActive(true);
  EXPECT_TRUE(form->sPanel4->SkinData().IsSkinned());
}

TEST_F(SkinnedWizard, ADamagedPackedSkinIsReportedAndTheRunningSkinStays) {
  TsSkinManager* m = form->sSkinManager1;
  const Bitmap32 before = Capture();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "kestamor-skins";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + "\\Broken.asz";
  std::ofstream(file, std::ios::binary) << "ASzf but not really an archive";
  const size_t sections = Model().Sections.size();
  m->SetSkinDirectory(folder);
  {
    MessageBoxWatcher watcher("Error");
    m->SetSkinName("Broken");
    const auto text = watcher.Text();
    ASSERT_TRUE(text.has_value());
    EXPECT_FALSE(text->empty());
  }
  EXPECT_EQ(m->SkinName(), "Garnet (internal)");
  EXPECT_EQ(m->SkinInfo(), "7");
  EXPECT_EQ(Model().Sections.size(), sections);
  const Bitmap32 after = Capture();
  EXPECT_EQ(std::memcmp(before.Row(0), after.Row(0), before.Width() * 4u), 0);
  DeleteFileA(file.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST_F(SkinnedWizard, ColourChangesOfTheManagerRepaintAndSwitchingOffAndOnChangesNothing) {
  TsSkinManager* m = form->sSkinManager1;
  auto same = [](const Bitmap32& a, const Bitmap32& b) {
    for (int y = 0; y < a.Height(); ++y)
      if (std::memcmp(a.Row(y), b.Row(y), a.Width() * 4u) != 0) return false;
    return true;
  };
  const Bitmap32 original = Capture();
  m->SetSaturation(4);
  const Bitmap32 four = Capture();
  m->SetSaturation(105);
  const Bitmap32 wrapped = Capture();
  EXPECT_TRUE(same(four, wrapped));
  m->SetSaturation(0);
  m->SetHueOffset(120);
  const Bitmap32 rotated = Capture();
  Screenshot("skin-hue-120");
  EXPECT_FALSE(same(original, rotated));
  m->SetHueOffset(0);
  EXPECT_TRUE(same(original, Capture()));

  m->SetActive(false);
  const Bitmap32 plain = Capture();
  Screenshot("skin-off");
  EXPECT_FALSE(same(original, plain));
  m->SetActive(true);
  const Bitmap32 back = Capture();
  Screenshot("skin-back-on");
  for (int y = 0; y < back.Height(); ++y)
    for (int x = 0; x < back.Width(); ++x)
      if (At(back, x, y) != At(original, x, y)) {
        ADD_FAILURE() << "first difference at " << x << "," << y << ": " << std::hex << At(original, x, y) << " -> "
                      << At(back, x, y);
        return;
      }
}

TEST_F(SkinnedWizard, RepaintsAndSkinCyclesLeakNoObjects) {
  TsSkinManager* m = form->sSkinManager1;
  // What the first skin cycles make stays (the second still adds a few); later ones add nothing.
  ExpectNoObjectsLeft(
      [&](int n) {
        for (int i = 0; i < 50 * n; ++i)
          RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        for (int i = 0; i < n; ++i) {
          m->SetActive(false);
          m->SetActive(true);
        }
        Capture();
      },
      3, 20);
}

// Each page brought to the front is the one on top, and its picture is its own.
TEST_F(SkinnedWizard, EachPageInFrontIsTheOneOnScreen) {
  const std::pair<TPanel*, const char*> pages[] = {{form->sPanel_2_license, "skin-page-1-licence"},
                                                   {form->sPanel_3_install, "skin-page-2-path"},
                                                   {form->sPanel_4_finish, "skin-page-3-progress"}};
  std::vector<Bitmap32> shots;
  for (const auto& [page, name] : pages) {
    form->ShowPage(static_cast<TsPanel*>(page));
    EXPECT_EQ(FrontPage(), page) << name;
    shots.push_back(Capture());
    Screenshot(name);
  }
  const RECT r = InForm(form->sPanel_2_license);
  auto differ = [&](const Bitmap32& a, const Bitmap32& b) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(a, x, y) != At(b, x, y);
    return n;
  };
  EXPECT_GT(differ(shots[0], shots[1]), 1000);
  EXPECT_GT(differ(shots[1], shots[2]), 1000);
  EXPECT_GT(differ(shots[0], shots[2]), 1000);
}

// The bar paints its blocks from the skin over its frame, keeps the position where outside
// readers find it, and leaves its cache alone while the visible block count stays.
TEST_F(SkinnedWizard, TheProgressBarRepaintsOnlyWhenItsBlockCountChanges) {
  form->ShowPage(form->sPanel_4_finish);
  TsProgressBar* bar = form->sProgressBar3;
  bar->SetPosition(21);
  const RECT r = InForm(bar);
  const Bitmap32 at21 = Capture();
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0), 21);
  // 7 blocks of the PROGRESSH section: inside them neither the frame nor the page shows.
  const TColor block = At(at21, r.left + 5, r.top + 8);
  EXPECT_NE(block, At(at21, r.left + 75, r.top + 8));
  EXPECT_EQ(At(at21, r.left + 65, r.top + 8), block);
  EXPECT_NE(At(at21, r.left + 69, r.top + 8), block);  // the gap after the seventh block

  // A mark in the cache survives a step that adds no block and goes with one that does.
  bar->SkinData().CacheView().At(100, 8) = Pixel32{0x10, 0x20, 0x30, 0xFF};
  bar->SetPosition(22);
  bar->Repaint();
  EXPECT_EQ(At(Capture(), r.left + 100, r.top + 8), RGB(0x30, 0x20, 0x10));
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0), 22);
  bar->SetPosition(30);
  bar->Repaint();
  EXPECT_NE(At(Capture(), r.left + 100, r.top + 8), RGB(0x30, 0x20, 0x10));
  Screenshot("skin-progress-30");
}

TEST(SkinEngineStartup, TheVersionSwitchShowsTheEngineVersion) {
  std::string text;
  std::thread answer([&] {
    for (int i = 0; i < 500 && text.empty(); ++i) {
      HWND wnd = FindWindowA("TMessageForm", nullptr);
      if (auto* dialog = wnd ? dynamic_cast<TMessageForm*>(TWinControl::FindControl(wnd)) : nullptr;
          dialog && IsWindowVisible(wnd)) {
        text = dialog->Message->Caption();
        PostMessageA(wnd, WM_CLOSE, 0, 0);
      }
      Sleep(20);
    }
  });
  acEngineStartup({"install_kestamor.exe", "/other", "/ACVER"});
  answer.join();
  EXPECT_EQ(text, "Varnethic v7.30");
}

}  // namespace
