// The window-creation hook and the control adapter, seen from the windows they skin: the
// wizard and the directory-failure message get their providers without asking, the message's
// OK button is painted from the skin by the push-button handler, the skin manager's rules
// and the engine's own windows are respected, and skin removal hands everything back.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <iterator>
#include <memory>
#include <set>
#include <vector>

#include "WizardTest.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "installer/InstallMessages.h"
#include "installer/ResourceData.h"
#include "resources/installer/installer_resources.h"
#include "skin/data/acPreviewRecord.h"
#include "skin/data/acSkinPack.h"
#include "skin/controls/acBtnWnd.h"
#include "skin/frame/acDials.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sStyleSimply_win.h"

namespace {

int ProvidersOn(TForm* f) {
  int n = 0;
  for (int i = 0; i < f->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TsSkinProvider*>(f->Components(i)); p && !p->Inert()) ++n;
  return n;
}

class HookedWizard : public WizardTest {
 protected:
  // The directory-failure message as the wizard shows it, but not modal, so that the test
  // can look at it.
  std::unique_ptr<TMessageForm> ShowFailureMessage() {
    std::unique_ptr<TMessageForm> dialog(
        CreateMessageDialog(install_message::kDirectoryFailure, TMsgDlgType::mtCustom, mbOK));
    dialog->Show();
    Pump();
    return dialog;
  }
  TButton* OkOf(TMessageForm* dialog) { return dynamic_cast<TButton*>(dialog->FindComponent("OK")); }
};

TEST_F(HookedWizard, TheWizardGetsOneProviderFromTheHookAndASecondStaysInert) {
  TsSkinProvider* p = FindSkinProvider(form);
  ASSERT_NE(p, nullptr);
  EXPECT_FALSE(p->Inert());
  EXPECT_NE(acFindProvider(form->Handle()), nullptr);
  EXPECT_TRUE(HandlesSkinCommands(form->Handle()));
  auto* second = new TsSkinProvider(form, true);  // owned by the form
  EXPECT_TRUE(second->Inert());
  EXPECT_EQ(FindSkinProvider(form), p);
  // Activating again attaches nothing more.
  SetForegroundWindow(GetDesktopWindow());
  form->SetFocus();
  Pump();
  EXPECT_EQ(ProvidersOn(form), 1);
  EXPECT_EQ(acProviderCount(), 1);
}

TEST_F(HookedWizard, TheFailureMessageIsSkinnedAndItsOkButtonPaintedFromTheButtonSection) {
  auto dialog = ShowFailureMessage();
  TButton* ok = OkOf(dialog.get());
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(FindSkinProvider(dialog.get()), nullptr);
  EXPECT_EQ(ProvidersOn(dialog.get()), 1);
  EXPECT_EQ(acProviderCount(), 2);
  EXPECT_FALSE(GetWindowLongPtrA(dialog->Handle(), GWL_STYLE) & WS_SYSMENU);
  auto* handler = dynamic_cast<TacBtnWnd*>(TacMainWnd::Of(ok->Handle()));
  ASSERT_NE(handler, nullptr);
  EXPECT_TRUE(HandlesSkinCommands(ok->Handle()));
  // The label takes the skin's text colour on the skinned form.
  EXPECT_EQ(dialog->Message->Font().Color(), form->sSkinManager1->GetGlobalFontColor());

  // OK has the focus: the hot face. What the screen shows equals the section painted over
  // what the form reports behind the button, apart from the caption.
  RedrawWindow(ok->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  ASSERT_EQ(handler->ButtonState(), 1);
  RECT wr;
  GetWindowRect(ok->Handle(), &wr);
  const Bitmap32 shot = CaptureScreen(wr);
  SaveWindowScreenshot(dialog->Handle(), "hook-failure-message");
  const int w = ok->Width(), h = ok->Height();
  ParentBgQuery q;
  GetParentBg(q, dialog->Handle(), false);
  Bitmap32 expected(w, h);
  PaintSection(BindSection(form->sSkinManager1->Model(), "BUTTON"), BgInfoFromQueryWin(q), true, expected,
               TsPoint{ok->Left(), ok->Top()}, TsRect{0, 0, w, h}, 1);
  HDC measure = GetDC(ok->Handle());
  SelectObject(measure, ok->Font().Handle());
  RECT text = handler->CaptionRect(measure, 1);
  ReleaseDC(ok->Handle(), measure);
  InflateRect(&text, 1, 1);
  int differing = 0, inText = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool caption = x >= text.left && x < text.right && y >= text.top && y < text.bottom;
      if (At(shot, x, y) == At(expected, x, y)) continue;
      (caption ? inText : differing)++;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(inText, 10);  // "OK" is written
  // Not from the painters: the top-left corner is the hot cell's (BUTTON: three cells of
  // 80 x 26 at 0,91, corner 4 x 11) in the archive's master bitmap.
  const MasterMatch corner = MatchMaster(shot, POINT{0, 0}, RECT{80, 91, 84, 102});
  EXPECT_GT(corner.Compared, 22);
  EXPECT_EQ(corner.Differing, 0);
}

TEST_F(HookedWizard, WithoutTheThirdPartyRuleTheOkButtonKeepsThePlatformsLook) {
  form->sSkinManager1->SkinningRules &= static_cast<uint8_t>(~srThirdParty);
  auto dialog = ShowFailureMessage();
  EXPECT_NE(FindSkinProvider(dialog.get()), nullptr);
  EXPECT_EQ(TacMainWnd::Of(OkOf(dialog.get())->Handle()), nullptr);
  EXPECT_FALSE(HandlesSkinCommands(OkOf(dialog.get())->Handle()));
  form->sSkinManager1->SkinningRules |= srThirdParty;
}

TEST_F(HookedWizard, TheEnginesOwnWindowsAndTimersAreLeftAlone) {
  auto utilityWindows = [] {
    std::set<HWND> found;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "TPUtilWindow", nullptr));) found.insert(w);
    return found;
  };
  const std::set<HWND> before = utilityWindows();
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetInterval(10);
  timer.SetEnabled(true);
  std::vector<HWND> made;
  std::ranges::set_difference(utilityWindows(), before, std::back_inserter(made));
  ASSERT_EQ(made.size(), 1u);  // the timer's window
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  EXPECT_EQ(TacMainWnd::Of(made[0]), nullptr);
  EXPECT_EQ(acFindProvider(made[0]), nullptr);
  EXPECT_FALSE(HandlesSkinCommands(made[0]));
  std::unique_ptr<TForm> helper(NewForm<TForm>(nullptr));
  helper->SetTag(-98);
  helper->Show();
  std::unique_ptr<TForm> minusOne(NewForm<TForm>(nullptr));
  minusOne->SetTag(-1);
  minusOne->Show();
  Pump();
  EXPECT_EQ(FindSkinProvider(helper.get()), nullptr);
  EXPECT_EQ(FindSkinProvider(minusOne.get()), nullptr);
  EXPECT_EQ(acProviderCount(), 1);
  // A plain form of the application is skinned like the wizard.
  std::unique_ptr<TForm> plain(NewForm<TForm>(nullptr));
  plain->Show();
  Pump();
  EXPECT_NE(FindSkinProvider(plain.get()), nullptr);
  EXPECT_EQ(acProviderCount(), 2);
  // Maximized, its skinned frame lies just outside the work area.
  plain->SetBorderStyle(TFormBorderStyle::bsSizeable);
  MINMAXINFO info{};
  SendMessageA(plain->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int b = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(info.ptMaxPosition.x, -b);
  EXPECT_EQ(info.ptMaxPosition.y, -b);
  EXPECT_EQ(info.ptMaxSize.x, work.right - work.left + 2 * b);
  EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top + 2 * b);
}

TEST_F(HookedWizard, SkinRemovalHandsBackTheMessageAndANewSkinTakesItAgain) {
  auto dialog = ShowFailureMessage();
  TsSkinManager* m = form->sSkinManager1;
  const HWND okWnd = OkOf(dialog.get())->Handle();
  m->SetActive(false);
  Pump();
  EXPECT_FALSE(m->HookInstalled());
  EXPECT_EQ(acProviderCount(), 0);
  EXPECT_EQ(TacMainWnd::Of(okWnd), nullptr);
  EXPECT_TRUE(GetWindowLongPtrA(dialog->Handle(), GWL_STYLE) & WS_SYSMENU);
  EXPECT_EQ(dialog->Message->Font().Color(), clWindowText);
  SaveWindowScreenshot(dialog->Handle(), "hook-failure-message-unskinned");
  m->SetActive(true);
  dialog->SetFocus();
  Pump();
  EXPECT_TRUE(m->HookInstalled());
  EXPECT_NE(dynamic_cast<TacBtnWnd*>(TacMainWnd::Of(okWnd)), nullptr);
  EXPECT_EQ(ProvidersOn(dialog.get()), 1);
  EXPECT_FALSE(GetWindowLongPtrA(dialog->Handle(), GWL_STYLE) & WS_SYSMENU);
}

TEST_F(HookedWizard, MessagesOpenedAndClosedManyTimesLeakNoObjects) {
  auto openAndClose = [&](int n) {
    for (int i = 0; i < n; ++i) {
      auto dialog = ShowFailureMessage();
      RedrawWindow(dialog->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    Pump();
  };
  ExpectNoObjectsLeft(openAndClose, 2, 50);
  EXPECT_EQ(acProviderCount(), 1);
}

// A stand-in for the skin editor: a window with the editor's title that notes what the
// previewed program tells it.
struct EditorStandIn {
  static inline std::vector<std::pair<WPARAM, LPARAM>> told;
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kMsgSkinEditor) {
      told.emplace_back(wp, lp);
      return 1;
    }
    return DefWindowProcA(w, msg, wp, lp);
  }
  EditorStandIn() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TestSkinEditor";
    RegisterClassA(&wc);
    wnd = CreateWindowExA(0, "TestSkinEditor", kSkinEditorTitle, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                          wc.hInstance, nullptr);
  }
  ~EditorStandIn() { DestroyWindow(wnd); }
  HWND wnd;
};

TEST(SkinPreview, TheShownWizardIsAnnouncedToTheEditorAndShowsTheSkinItSends) {
  EXPECT_TRUE(PreviewRequested({"install.exe", "/acpreview"}));
  EXPECT_FALSE(PreviewRequested({"install.exe", "/ACPreview"}));
  EXPECT_FALSE(PreviewRequested({"install.exe", "-x", "/acpreview"}));

  EditorStandIn editor;
  acPreview().Mode = true;
  std::unique_ptr<TForm1> wizard(NewForm<TForm1>(Application));
  wizard->Show();
  Pump();
  EXPECT_FALSE(acPreview().Mode);
  ASSERT_EQ(acPreviewWindow(), wizard->Handle());
  ASSERT_EQ(EditorStandIn::told.size(), 1u);  // answered 1 at once: asked no more
  EXPECT_EQ(EditorStandIn::told[0], std::make_pair(WPARAM{3}, reinterpret_cast<LPARAM>(wizard->Handle())));
  EXPECT_EQ(SendMessageA(wizard->Handle(), kMsgSkinEditor, 4, 0), 1);

  // The editor sends the skin as a folder of pictures and an options text of its own.
  std::unique_ptr<TacSkinConvertor> reader = std::make_unique<TacSkinConvertor>();
  TacMemoryStream source(LoadResourceBytes(IDR_GARNET));
  reader->SetSourceStream(&source);
  ReadArchive(reader);
  ASSERT_TRUE(reader && reader->Options);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kestamor-preview";
  std::filesystem::create_directories(folder / "Preview");
  for (const TacImageItem& f : reader->Files)
    std::ofstream(folder / "Preview" / f.FileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(f.FileStream.Memory()), static_cast<std::streamsize>(f.FileStream.Size()));
  std::string options(reader->Options->Bytes().begin(), reader->Options->Bytes().end());
  const size_t colour = options.find("COLOR=", options.find("[GLOBALINFO]"));
  ASSERT_NE(colour, std::string::npos);
  options.replace(colour, options.find_first_of("\r\n", colour) - colour, "COLOR=1234567");
  const auto block = MakePreviewRecord({"Preview", folder.string(), options});
  COPYDATASTRUCT copy{kPreviewCopyKind, static_cast<DWORD>(block.size()), const_cast<uint8_t*>(block.data())};
  EXPECT_EQ(SendMessageA(wizard->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy)), 1);
  TsSkinManager* m = wizard->sSkinManager1;
  EXPECT_EQ(m->SkinName(), "Preview");
  EXPECT_TRUE(m->SkinActive());
  EXPECT_EQ(m->GetGlobalColor(), 1234567);
  // An editor may mark the record by the message's wParam instead of the copy's kind.
  options.replace(colour, options.find_first_of("\r\n", colour) - colour, "COLOR=7654321");
  const auto marked = MakePreviewRecord({"Preview", folder.string(), options});
  COPYDATASTRUCT byWParam{0, static_cast<DWORD>(marked.size()), const_cast<uint8_t*>(marked.data())};
  EXPECT_EQ(SendMessageA(wizard->Handle(), WM_COPYDATA, kPreviewCopyKind, reinterpret_cast<LPARAM>(&byWParam)), 1);
  EXPECT_EQ(m->GetGlobalColor(), 7654321);
  // Something else than a preview record is not taken.
  COPYDATASTRUCT other{7, 4, const_cast<uint8_t*>(block.data() + 4)};
  EXPECT_EQ(SendMessageA(wizard->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other)), 0);
  SaveWindowScreenshot(wizard->Handle(), "hook-preview-skin");
  EXPECT_EQ(SendMessageA(wizard->Handle(), kMsgSkinEditor, 1, 0), 0);  // the editor closes it
  Pump();
  EXPECT_FALSE(IsWindowVisible(wizard->Handle()));
  std::filesystem::remove_all(folder);
}

}  // namespace
