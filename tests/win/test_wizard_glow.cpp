// Glows around title buttons, read back from what the engine hands the layered-window function
// and from the windows it makes: a sizeable dialog's close button glows when the mouse comes
// from the X side, the wizard's small close button does not, a topmost owner gets a topmost
// glow, glow windows lie where their target is visible, mouse input passes through every glow,
// skin changes take glows away, and nothing leaks over many glows.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LayeredWindowRecorder.h"
#include "WizardTest.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/render/acGlow.h"
#include "skin/render/acGlow_win.h"

namespace {

RECT RectOf(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

constexpr LONG_PTR kGlowStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;

// The wizard moved aside and a sizeable dialog beside it, skinned as the folder dialog is: a
// form of its own with a skin provider on the DIALOG section.
class GlowTest : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    dialog = NewForm<TForm>(Application);
    dialog->SetBorderStyle(TFormBorderStyle::bsSizeable);
    dialog->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
    dialog->SetCaption("Browse for Folder");
    dialog->SetBounds(540, 80, 420, 300);
    provider = new TsSkinProvider(dialog);
    provider->SkinData().SetSkinSection("DIALOG");
    dialog->Show();
    SetForegroundWindow(dialog->Handle());
    Pump();
    ASSERT_TRUE(XMouseTo(kAway));
    recorder = std::make_unique<LayeredWindowRecorder>();
    ASSERT_TRUE(recorder->Installed());
  }
  void TearDown() override {
    recorder.reset();
    delete dialog;
    WizardTest::TearDown();
  }

  TsSkinManager* Manager() { return form->sSkinManager1; }
  const TsSkinModel& Model() { return Manager()->Model(); }
  const TsMaskData& GlobalImage(const char* key) {
    const int32_t i = Model().FindImage(Model().Cache.GlobalInfo, "GLOBALINFO", key);
    EXPECT_GE(i, 0) << key;
    return Model().Images.at(static_cast<size_t>(i));
  }
  // A title button of a form on the screen.
  static RECT ButtonOnScreen(TForm* f, TsTitleButton button) {
    const TsRect r = FindSkinProvider(f)->TitleLayout().System[button];
    const RECT wr = RectOf(f->Handle());
    return RECT{wr.left + r.Left, wr.top + r.Top, wr.left + r.Right, wr.top + r.Bottom};
  }
  // Hovers a form's close button until its animation shows the hot picture at full strength;
  // returns the animation's window.
  HWND HoverClose(TForm* f) {
    TsSkinProvider* p = FindSkinProvider(f);
    if (!XMouseTo(Centre(ButtonOnScreen(f, tbClose)))) return nullptr;
    HWND wnd = nullptr;
    const bool full = PumpUntil([&] {
      const TacSBAnimation* a = p->ButtonAnimation(tbClose);
      wnd = a ? a->Window() : nullptr;
      const LayeredShow* last = wnd ? recorder->LastShowOf(wnd) : nullptr;
      return last && last->Alpha == 255;
    });
    return full ? wnd : nullptr;
  }

  static constexpr POINT kAway{1000, 740};
  TForm* dialog = nullptr;
  TsSkinProvider* provider = nullptr;
  std::unique_ptr<LayeredWindowRecorder> recorder;
};

TEST_F(GlowTest, TheDialogsCloseButtonGlowsAroundItselfWhileHovered) {
  const RECT close = ButtonOnScreen(dialog, tbClose);
  const HWND glow = HoverClose(dialog);
  ASSERT_NE(glow, nullptr);
  const LayeredShow& shown = *recorder->LastShowOf(glow);
  // The glow image at its own size, 10 pixels left of and above the button.
  EXPECT_TRUE(SameRect(RectOf(glow), RECT{close.left - 10, close.top - 10, close.left + 37, close.top + 27}));
  EXPECT_TRUE(IsWindowVisible(glow));
  EXPECT_EQ(GetWindowLongPtrA(glow, GWL_EXSTYLE) & (kGlowStyle | WS_EX_TOPMOST), kGlowStyle);
  // The picture is the skin's CloseG image, its colours premultiplied by its alpha.
  const TsMaskData& image = GlobalImage("BICONCLOSEGLOW0");
  ASSERT_EQ(shown.Picture.Width(), 47);
  ASSERT_EQ(shown.Picture.Height(), 37);
  int differences = 0;
  for (int y = 0; y < 37; ++y)
    for (int x = 0; x < 47; ++x) {
      const Pixel32 s = image.Bmp.At(x, y);
      auto pm = [&](uint8_t c) { return static_cast<uint8_t>((c * s.A + 127) / 255); };
      differences += !(shown.Picture.At(x, y) == Pixel32{pm(s.B), pm(s.G), pm(s.R), s.A});
    }
  EXPECT_EQ(differences, 0);
  // Mouse and hit tests pass through the glow: over the button the dialog is found, above
  // the dialog whatever lies beneath.
  EXPECT_EQ(WindowFromPoint(Centre(close)), dialog->Handle());
  EXPECT_NE(WindowFromPoint(POINT{close.left - 5, close.top - 5}), glow);
  EXPECT_EQ(provider->HotCode(), HTCLOSE);
  SaveWindowScreenshot(glow, "glow-close-hot");
  SaveWindowScreenshot(dialog->Handle(), "glow-dialog-close-hot");

  // Off the button it fades out and its window goes.
  ASSERT_TRUE(XMouseTo(kAway));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(glow); }));
  const LayeredShow* last = recorder->LastShowOf(glow);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->Alpha, 25);

  // Back on it, then the skin goes: the glow goes with it.
  const HWND again = HoverClose(dialog);
  ASSERT_NE(again, nullptr);
  Manager()->SetActive(false);
  Pump();
  EXPECT_FALSE(IsWindow(again));
  SaveWindowScreenshot(dialog->Handle(), "glow-dialog-skin-off");
  Manager()->SetActive(true);
  Pump();

  // A click through the glow reaches the button beneath: the dialog closes.
  ASSERT_TRUE(XMouseTo(kAway));
  ASSERT_NE(HoverClose(dialog), nullptr);
  ASSERT_TRUE(XInput("click 1"));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(dialog->Handle()); }));
}

TEST_F(GlowTest, TheWizardsSmallCloseButtonHasNoGlowAndTopmostFormsGetTopmostGlows) {
  // The wizard stays on top; its close button draws "SICONCLOSE", which has no glow image:
  // the animation shows the hot button picture in the button's own place.
  const RECT close = ButtonOnScreen(form, tbClose);
  const HWND hot = HoverClose(form);
  ASSERT_NE(hot, nullptr);
  EXPECT_TRUE(SameRect(RectOf(hot), close));
  EXPECT_EQ(recorder->LastShowOf(hot)->Picture.Width(), close.right - close.left);
  EXPECT_TRUE(GetWindowLongPtrA(hot, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SaveWindowScreenshot(form->Handle(), "glow-wizard-close-hot");
  ASSERT_TRUE(XMouseTo(kAway));
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hot); }));

  dialog->SetFormStyle(TFormStyle::fsStayOnTop);
  const HWND glow = HoverClose(dialog);
  ASSERT_NE(glow, nullptr);
  EXPECT_EQ(recorder->LastShowOf(glow)->Picture.Width(), 47);
  EXPECT_EQ(GetWindowLongPtrA(glow, GWL_EXSTYLE) & (kGlowStyle | WS_EX_TOPMOST), kGlowStyle | WS_EX_TOPMOST);

  // A glow window shown for a topmost owner is topmost as well.
  const int32_t h = ShowGlow(ButtonOnScreen(dialog, tbMinimize), RECT{0, 0, 24, 17}, "GLOBALINFO", Manager(),
                             dialog->Handle(), 10, "BICONMINGLOW");
  ASSERT_NE(GlowEffect(h), nullptr);
  EXPECT_TRUE(GetWindowLongPtrA(GlowEffect(h)->Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  HideAllGlows();
}

// The glow-window path (dialogs that draw button states without the animation): a glow around
// a target whose left and top are cut lies from the visible part on, reaching past the
// target's uncut sides, directly above its owner.
TEST_F(GlowTest, AGlowWindowLiesAroundTheVisiblePartOfItsTargetUntilHidden) {
  const RECT target = ButtonOnScreen(dialog, tbClose);
  const RECT clip{5, 3, 27, 17};
  const HWND foreground = GetForegroundWindow();
  const int32_t h = ShowGlow(target, clip, "GLOBALINFO", Manager(), dialog->Handle(), 10, "BICONCLOSEGLOW");
  ASSERT_GE(h, 0);
  const HWND wnd = GlowEffect(h)->Window();
  ASSERT_NE(wnd, nullptr);
  const TsMaskData& image = GlobalImage("BICONCLOSEGLOW0");
  const TsRect t{target.left, target.top, target.right, target.bottom};
  const TsGlowSides sides = GlowSides(image, t.Width(), t.Height(), 10);
  const TsRect expected = PlaceGlow(t, TsRect{clip.left, clip.top, clip.right, clip.bottom}, 10, sides).Window;
  EXPECT_TRUE(SameRect(RectOf(wnd), RECT{expected.Left, expected.Top, expected.Right, expected.Bottom}));
  const LayeredShow* shown = recorder->LastShowOf(wnd);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->Alpha, 255);
  EXPECT_EQ(shown->Picture.Width(), expected.Width());
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_EQ(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & (kGlowStyle | WS_EX_TOPMOST), kGlowStyle);
  EXPECT_EQ(GetWindow(wnd, GW_HWNDNEXT), dialog->Handle());
  EXPECT_EQ(WindowFromPoint(Centre(target)), dialog->Handle());
  EXPECT_EQ(GetForegroundWindow(), foreground);
  SaveWindowScreenshot(wnd, "glow-window-cut");

  HideGlow(h);
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(GlowEffect(h), nullptr);
  // A handle already hidden, or one never given, leaves a live glow alone.
  const int32_t live = ShowGlow(target, clip, "GLOBALINFO", Manager(), dialog->Handle(), 10, "BICONCLOSEGLOW");
  ASSERT_NE(GlowEffect(live), nullptr);
  for (const int32_t stale : {h, -1, live + 1}) HideGlow(stale);
  EXPECT_NE(GlowEffect(live), nullptr);
  EXPECT_TRUE(IsWindowVisible(GlowEffect(live)->Window()));
  HideGlow(live);

  // A section without a glow image shows none.
  EXPECT_EQ(ShowGlow(target, clip, "BUTTON", Manager(), dialog->Handle(), 0, "GLOW"), -1);

  // All at once, and with the skin.
  const int32_t a = ShowGlow(target, clip, "GLOBALINFO", Manager(), dialog->Handle(), 10, "BICONCLOSEGLOW");
  const int32_t b = ShowGlow(target, clip, "GLOBALINFO", Manager(), dialog->Handle(), 10, "BICONCLOSEGLOW");
  ASSERT_NE(a, b);
  const HWND wa = GlowEffect(a)->Window(), wb = GlowEffect(b)->Window();
  HideAllGlows();
  EXPECT_FALSE(IsWindow(wa));
  EXPECT_FALSE(IsWindow(wb));
  const int32_t c = ShowGlow(target, clip, "GLOBALINFO", Manager(), dialog->Handle(), 10, "BICONCLOSEGLOW");
  const HWND wc = GlowEffect(c)->Window();
  // Handles kept from before do not reach a later glow.
  HideGlow(a);
  HideGlow(b);
  EXPECT_TRUE(IsWindowVisible(wc));
  Manager()->SetActive(false);
  EXPECT_FALSE(IsWindow(wc));
  EXPECT_EQ(GlowEffect(c), nullptr);
  Manager()->SetActive(true);
  Pump();
}

// The embedded skin lets no section glow; here BUTTON is given GLOW, a margin of 4 and a glow
// image with 14-pixel borders (the close glow's picture), so that a button shows a glow 10
// pixels beyond each of its sides while the mouse is over it.
TEST_F(GlowTest, AButtonWhoseSectionGlowsShowsItWhileTheMouseIsOverIt) {
  TsButton* button = form->sButton_cansel2;
  TsCommonData& sd = button->SkinData();
  ASSERT_TRUE(XMouseToCentre(button));
  ASSERT_TRUE(PumpUntil([&] { return sd.MouseOver; }));
  Pump();
  EXPECT_EQ(sd.GlowHandle, -1);  // the skin as it is: no glow
  ASSERT_TRUE(XMouseTo(kAway));
  ASSERT_TRUE(PumpUntil([&] { return !sd.MouseOver; }));

  TsSkinModel& model = Manager()->Model();
  TsGeneralData& section = model.Sections.at(static_cast<size_t>(model.FindSection("BUTTON")));
  section.Glow = 1;
  section.GlowMargin = 4;
  TsMaskData glow = GlobalImage("BICONCLOSEGLOW0");
  glow.Section = "BUTTON";
  glow.PropertyName = "GLOW0";
  glow.WL = glow.WT = glow.WR = glow.WB = 14;
  model.Images.push_back(glow);

  ASSERT_TRUE(XMouseToCentre(button));
  ASSERT_TRUE(PumpUntil([&] { return GlowEffect(sd.GlowHandle) != nullptr; }));
  const HWND wnd = GlowEffect(sd.GlowHandle)->Window();
  RECT around;
  GetWindowRect(button->Handle(), &around);
  InflateRect(&around, 10, 10);
  EXPECT_TRUE(SameRect(RectOf(wnd), around));
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_EQ(WindowFromPoint(ScreenCentre(button)), button->Handle());
  SaveWindowScreenshot(wnd, "glow-button");
  SaveWindowScreenshot(form->Handle(), "glow-button-wizard");

  ASSERT_TRUE(XMouseTo(kAway));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(wnd); }));
  EXPECT_EQ(sd.GlowHandle, -1);
}

TEST_F(GlowTest, ManyGlowsLeakNoObjects) {
  const RECT close = ButtonOnScreen(dialog, tbClose);
  const POINT onClose = Centre(close), onCaption{close.left - 120, close.top + 5};
  auto cycles = [&](int n) {
    for (int i = 0; i < n; ++i) {
      // Hot (the glow picture and window are made) and at once not hot: the mouse is away.
      SendMessageA(dialog->Handle(), WM_NCHITTEST, 0, MAKELPARAM(onClose.x, onClose.y));
      SendMessageA(dialog->Handle(), WM_NCHITTEST, 0, MAKELPARAM(onCaption.x, onCaption.y));
      ASSERT_TRUE(PumpUntil([&] {
        const TacSBAnimation* a = provider->ButtonAnimation(tbClose);
        return !a || a->Window() == nullptr;
      }));
      const int32_t h = ShowGlow(close, RECT{0, 0, 27, 17}, "GLOBALINFO", Manager(), dialog->Handle(), 10,
                                 "BICONCLOSEGLOW");
      ASSERT_NE(GlowEffect(h), nullptr);
      HideGlow(h);
    }
  };
  recorder->Shows().clear();
  ExpectNoObjectsLeft(cycles, 2, 100);
  // The animation really showed its glow on every cycle.
  int glows = 0;
  for (const LayeredShow& s : recorder->Shows()) glows += s.Picture.Width() == 47;
  EXPECT_GE(glows, 204);
  recorder->Shows().clear();
}

}  // namespace
