// Showing and hiding skinned forms while the wizard's skin is active: the show effect puts one
// finished picture of the form in front (swapped in at once by default, faded in steps when a
// time is set) and leaves nothing behind; a hide with a time fades the form's last picture out.
// The layered pictures are read where the engine hands them over (no compositor under Xvfb).
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "LayeredWindowRecorder.h"
#include "WizardTest.h"
#include "framework/Dialogs.h"
#include "framework/Handles.h"
#include "installer/InstallMessages.h"
#include "skin/frame/acFormEffects.h"
#include "skin/frame/sSkinProvider.h"

namespace {

class FormEffects : public WizardTest {
 protected:
  // A skinned form of the application, its window made (and its provider attached) but not
  // shown yet.
  std::unique_ptr<TForm> NewSkinnedForm() {
    std::unique_ptr<TForm> f(NewForm<TForm>(nullptr));
    f->SetCaption("Effects");
    f->SetBounds(40, 40, 300, 200);
    f->HandleNeeded();
    return f;
  }
  std::set<HWND> ShownWindows() {
    std::set<HWND> windows;
    for (const LayeredShow& s : LayeredWindowRecorder::Shows()) windows.insert(s.Wnd);
    return windows;
  }
  TsSkinManager& Manager() { return *form->sSkinManager1; }
};

TEST_F(FormEffects, ShowingSwapsInOneFinishedPictureAndLeavesNothingBehind) {
  auto f = NewSkinnedForm();
  TsSkinProvider* p = FindSkinProvider(f.get());
  ASSERT_NE(p, nullptr);
  int after = 0;
  p->OnAfterAnimation = [&](TsSkinProvider*, int event) { after += event == aeShowing; };
  LayeredWindowRecorder recorder;
  ASSERT_TRUE(recorder.Installed());
  f->Show();
  Pump();
  const std::set<HWND> windows = ShownWindows();
  ASSERT_EQ(windows.size(), 1u);
  const HWND effect = *windows.begin();
  EXPECT_FALSE(IsWindow(effect));
  EXPECT_EQ(LayeredWindowRecorder::AlphasOf(effect), (std::vector<int>{255, 255}));
  EXPECT_EQ(after, 1);
  // The real window is shown, not layered, and its picture is what the screen shows now.
  const HWND wnd = f->Handle();
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_FALSE(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  const LayeredShow* shown = LayeredWindowRecorder::LastShowOf(effect);
  RECT wr;
  GetWindowRect(wnd, &wr);
  EXPECT_EQ(shown->Pos.x, wr.left);
  EXPECT_EQ(shown->Size.cx, wr.right - wr.left);
  const Bitmap32 screen = CaptureScreen(wr);
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  const bool hasRegion = GetWindowRgn(wnd, region.get()) != ERROR;
  int differing = 0;
  for (int y = 0; y < screen.Height(); ++y)
    for (int x = 0; x < screen.Width(); ++x)
      if ((!hasRegion || PtInRegion(region.get(), x, y)) && At(screen, x, y) != At(shown->Picture, x, y)) ++differing;
  EXPECT_EQ(differing, 0);
  SaveWindowScreenshot(wnd, "effects-shown");
}

// The installer's messages have the wizard as their owner; they appear from a finished
// picture like every other skinned window.
TEST_F(FormEffects, AMessageOwnedByTheWizardAppearsFromAFinishedPicture) {
  std::unique_ptr<TMessageForm> dialog(
      CreateMessageDialog(install_message::kDirectoryFailure, TMsgDlgType::mtCustom, mbOK));
  const HWND owner = form->Handle();
  dialog->CreateParamsFilter = [owner](TCreateParams& p) { p.WndParent = owner; };
  LayeredWindowRecorder recorder;
  ASSERT_TRUE(recorder.Installed());
  dialog->Show();
  Pump();
  ASSERT_EQ(GetWindow(dialog->Handle(), GW_OWNER), owner);
  EXPECT_NE(FindSkinProvider(dialog.get()), nullptr);
  const std::set<HWND> windows = ShownWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(LayeredWindowRecorder::AlphasOf(*windows.begin()), (std::vector<int>{255, 255}));
  SaveWindowScreenshot(dialog->Handle(), "effects-owned-message");
}

TEST_F(FormEffects, AShowTimeFadesThePictureInStepByStep) {
  Manager().AnimEffects.FormShow.Time = 48;  // four steps of 12 ms
  Manager().AnimEffects.FormShow.Mode = atFading;
  auto f = NewSkinnedForm();
  LayeredWindowRecorder recorder;
  f->Show();
  Pump();
  const std::set<HWND> windows = ShownWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(LayeredWindowRecorder::AlphasOf(*windows.begin()), (std::vector<int>{0, 63, 126, 189, 252, 255, 255}));
  Manager().AnimEffects.FormShow.Time = 0;
  Manager().AnimEffects.FormShow.Mode = atAero;
}

TEST_F(FormEffects, AHideTimeFadesTheLastPictureOutAndFreesItsWindow) {
  auto f = NewSkinnedForm();
  f->Show();
  Pump();
  Manager().AnimEffects.FormHide.Time = 48;
  LayeredWindowRecorder recorder;
  f->Hide();
  const HWND fade = acHideFadeWindow();
  ASSERT_NE(fade, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return acHideFadeWindow() == nullptr; }));
  EXPECT_FALSE(IsWindow(fade));
  // Shown whole first, then one step per tick down to nothing.
  EXPECT_EQ(LayeredWindowRecorder::AlphasOf(fade), (std::vector<int>{255, 191, 128, 64, 0, 0}));
  Manager().AnimEffects.FormHide.Time = 0;
  // With the default time nothing is shown at all.
  f->Show();
  Pump();
  LayeredWindowRecorder::Shows().clear();
  f->Hide();
  Pump();
  EXPECT_EQ(acHideFadeWindow(), nullptr);
  EXPECT_TRUE(LayeredWindowRecorder::Shows().empty());
}

TEST_F(FormEffects, ShowsAndHidesLeakNoObjects) {
  auto f = NewSkinnedForm();
  int shows = 0;
  FindSkinProvider(f.get())->OnAfterAnimation = [&](TsSkinProvider*, int event) { shows += event == aeShowing; };
  ExpectNoObjectsLeft(
      [&](int n) {
        for (int i = 0; i < n; ++i) {
          const int before = shows;
          f->Show();
          ASSERT_TRUE(PumpUntil([&] { return shows > before; }));  // its picture was shown
          f->Hide();
        }
      },
      2, 50);
  EXPECT_EQ(shows, 52);
}

}  // namespace
