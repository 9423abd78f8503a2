// The wizard's skinned frame read back from the screen: the border, title bar and close button
// the skin's painters make, active and inactive, after a caption change; the window region;
// the system-menu style; the close button driven by the mouse from the X side; the skinned
// system menu; and no handles lost over many frame repaints and skin switches.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "LayeredWindowRecorder.h"
#include "WizardTest.h"
#include "framework/Handles.h"
#include "skin/frame/acTitleAnimation.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sStateImage.h"
#include "skin/render/sStyleSimply.h"

namespace {

bool Contains(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

class FramedWizard : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    // Away from the title bar, wherever an earlier test left the mouse.
    ASSERT_TRUE(MouseTo(Width() / 2, Height() / 2));
  }
  TsSkinProvider* Provider() { return FindSkinProvider(form); }
  const TsSkinModel& Model() { return form->sSkinManager1->Model(); }
  HWND Wnd() { return form->Handle(); }
  RECT WindowRect() {
    RECT r;
    GetWindowRect(Wnd(), &r);
    return r;
  }
  int Width() { return WindowRect().right - WindowRect().left; }
  int Height() { return WindowRect().bottom - WindowRect().top; }
  // The wizard is a tool window with a fixed frame.
  static int Side() { return GetSystemMetrics(SM_CXDLGFRAME); }
  static int Band() { return Side() + GetSystemMetrics(SM_CYSMCAPTION); }
  const TsMaskData& CloseImage() {
    const int32_t i = Model().FindImage(Model().Cache.GlobalInfo, "GLOBALINFO", "SICONCLOSE");
    return Model().Images.at(static_cast<size_t>(i));
  }
  // The close button: its right edge one pixel and the frame from the window's right edge,
  // centred in the title band.
  RECT CloseRect() {
    const TsMaskData& close = CloseImage();
    const int right = Width() - 1 - Side();
    const int top = (Band() - close.CellHeight()) / 2;
    return RECT{right - close.CellWidth(), top, right, top + close.CellHeight()};
  }
  POINT ScreenPoint(int x, int y) { return POINT{WindowRect().left + x, WindowRect().top + y}; }
  // Where the caption's text may stand; its pixels are checked on their own.
  RECT CaptionArea() { return RECT{Side() + 4, 2, Width() - 1 - CloseImage().CellWidth() - 12, Band()}; }
  RECT ClientInWindow() {
    POINT o{0, 0};
    ClientToScreen(Wnd(), &o);
    RECT c;
    GetClientRect(Wnd(), &c);
    OffsetRect(&c, o.x - WindowRect().left, o.y - WindowRect().top);
    return c;
  }

  // The frame the section painters make for FORM, FORMTITLE and the close image.
  Bitmap32 ExpectedFrame(bool active, int closeState = 0) {
    const int w = Width(), h = Height(), state = active ? 1 : 0;
    Bitmap32 bmp(w, h);
    PaintSection(BindSection(Model(), "FORM"), BackgroundSource{}, true, bmp, TsPoint{0, 0}, TsRect{0, 0, w, h},
                 state);
    PaintSection(BindSection(Model(), "FORMTITLE"), MakeBgInfo(&bmp, 0, 0), true, bmp, TsPoint{0, 0},
                 TsRect{0, 0, w, Band()}, state);
    const RECT c = CloseRect();
    PaintStateImage(bmp, TsPoint{c.left, c.top}, closeState, MakeBgInfo(&bmp, 0, 0), CloseImage(),
                    closeState == 0 && !active ? 2 : 1);
    return bmp;
  }

  Bitmap32 Shot() {
    Pump();
    return CaptureScreen(WindowRect());
  }

  // Non-client pixels on screen that differ from the expected frame, leaving out the caption
  // text's area and what the window region cuts away; `where` names the first one.
  int FrameDifferences(const Bitmap32& shot, const Bitmap32& expected, std::string& where) {
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    const bool hasRegion = GetWindowRgn(Wnd(), region.get()) != ERROR;
    const RECT client = ClientInWindow(), caption = CaptionArea();
    int differences = 0;
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width(); ++x) {
        if (Contains(client, x, y) || Contains(caption, x, y)) continue;
        if (hasRegion && !PtInRegion(region.get(), x, y)) continue;
        if (At(shot, x, y) == At(expected, x, y)) continue;
        if (differences++ == 0)
          where = std::to_string(x) + "," + std::to_string(y) + ": screen " + std::to_string(At(shot, x, y)) +
                  " painter " + std::to_string(At(expected, x, y));
      }
    return differences;
  }

  std::set<TColor> CaptionColours(const Bitmap32& shot) {
    std::set<TColor> colours;
    const RECT r = CaptionArea();
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) colours.insert(At(shot, x, y));
    return colours;
  }
  TColor TitleFontColour(bool active) {
    const TsGeneralData& title = Model().Sections.at(static_cast<size_t>(Model().FindSection("FORMTITLE")));
    return title.StateProps[active ? 1 : 0].FontColor;
  }

  // What the window prints of its frame (WM_PRINT, as snapshots are taken).
  Bitmap32 Printed() {
    TBitmap printed(Width(), Height(), true);
    SendMessageA(Wnd(), WM_PRINT, reinterpret_cast<WPARAM>(printed.Canvas().Handle()), PRF_NONCLIENT);
    Bitmap32 copy(Width(), Height());
    CopyRect32(copy, 0, 0, printed.View(), TsRect{0, 0, Width(), Height()});
    return copy;
  }

  void ExpectSkinnedFrame(bool active, const char* screenshot) {
    const Bitmap32 shot = Shot();
    SaveWindowScreenshot(Wnd(), screenshot);
    std::string where;
    EXPECT_EQ(FrameDifferences(shot, ExpectedFrame(active), where), 0) << screenshot << " first at " << where;
    EXPECT_EQ(FrameDifferences(Printed(), ExpectedFrame(active), where), 0) << screenshot << " printed, first at " << where;
    EXPECT_TRUE(CaptionColours(shot).count(TitleFontColour(active))) << screenshot;
    EXPECT_EQ(Provider()->FormActive(), active) << screenshot;
    // Not from the painters: the title's top-left corner is the FORMTITLE cell of the state
    // (two cells of 317 x 18, corner 6 x 9) and the close button is SICONCLOSE's first cell
    // (21 x 17 at 240,91), as the archive's master bitmap holds them.
    const MasterMatch corner = MatchMaster(shot, POINT{0, 0}, RECT{active ? 317 : 0, 0, active ? 323 : 6, 9});
    EXPECT_GT(corner.Compared, 27) << screenshot;
    EXPECT_EQ(corner.Differing, 0) << screenshot;
    // The comparison tells the states apart: the other state's corner is not what is shown.
    EXPECT_GT(MatchMaster(shot, POINT{0, 0}, RECT{active ? 0 : 317, 0, active ? 6 : 323, 9}).Differing, 0) << screenshot;
    if (active) {
      const MasterMatch close = MatchMaster(shot, POINT{CloseRect().left, CloseRect().top}, RECT{240, 91, 261, 108});
      EXPECT_GT(close.Compared, 30) << screenshot;
      EXPECT_EQ(close.Differing, 0) << screenshot;
    }
  }

  // Moves the mouse to a point of the window (window coordinates) from the X side.
  bool MouseTo(int x, int y) {
    const POINT p = ScreenPoint(x, y);
    if (!XInput("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y))) return false;
    return PumpUntil([&] {
      POINT now;
      return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
    });
  }
};

TEST_F(FramedWizard, TheFrameIsTheSkinsActiveInactiveAndAfterACaptionChange) {
  ASSERT_NE(Provider(), nullptr);
  SetForegroundWindow(Wnd());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Wnd(); }));
  ExpectSkinnedFrame(true, "frame-active");

  // Another window in front, away from the wizard, then the wizard back again.
  auto* other = NewForm<TForm>(Application);
  other->SetCaption("Another window");
  other->SetBounds(0, 0, 220, 120);
  other->Show();
  SetForegroundWindow(other->Handle());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other->Handle(); }));
  ExpectSkinnedFrame(false, "frame-inactive");
  SetForegroundWindow(Wnd());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Wnd(); }));
  ExpectSkinnedFrame(true, "frame-active-again");
  delete other;

  // A caption too long for the title bar ends before the close button (the comparison covers
  // every column between the caption's area and the button).
  form->SetCaption("Kestamor Installer - a caption far too long for the title bar of this small wizard window");
  ExpectSkinnedFrame(true, "frame-long-caption");
  form->SetCaption("Kestamor Installer");
  ExpectSkinnedFrame(true, "frame-caption-back");

  // Disabled and enabled again: still the skin's frame.
  EnableWindow(Wnd(), FALSE);
  Pump();
  EnableWindow(Wnd(), TRUE);
  SetForegroundWindow(Wnd());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Wnd(); }));
  ExpectSkinnedFrame(true, "frame-enabled-again");
}

TEST_F(FramedWizard, TheRegionCutsTheKeyColouredCornersAndTheSystemMenuStyleFollowsTheSkin) {
  const int w = Width(), h = Height();
  // The cut straight from the images: key pixels in the corner columns of the title's top band
  // and of the frame's top and bottom bands; right corners at the window's right end.
  std::set<std::pair<int, int>> cut;
  auto band = [&](const char* section, bool bottom, int y0) {
    const TsGeneralData& g = Model().Sections.at(static_cast<size_t>(Model().FindSection(section)));
    const TsMaskData& img = Model().Images.at(static_cast<size_t>(g.BorderMaskIndex));
    const Bitmap32& src = Model().ImageBitmap(img);
    const TsRect cell = img.CellRect(0);
    const int rows = bottom ? img.WB : img.WT, top = bottom ? cell.Bottom - img.WB : cell.Top;
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cell.Width(); ++c) {
        if (c >= img.WL && c < cell.Width() - img.WR) continue;
        const Pixel32 p = src.At(cell.Left + c, top + r);
        if (p.R == 255 && p.G == 0 && p.B == 255) cut.insert({c < img.WL ? c : w - cell.Width() + c, y0 + r});
      }
  };
  band("FORMTITLE", false, 0);
  band("FORM", false, 0);
  const TsGeneralData& formSection = Model().Sections.at(static_cast<size_t>(Model().FindSection("FORM")));
  band("FORM", true, h - Model().Images.at(static_cast<size_t>(formSection.BorderMaskIndex)).WB);
  ASSERT_TRUE(cut.count({0, 0}));  // the skin's title bar has round top corners
  ASSERT_TRUE(cut.count({w - 1, 0}));

  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetWindowRgn(Wnd(), region.get()), COMPLEXREGION);
  int wrong = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((PtInRegion(region.get(), x, y) != 0) == (cut.count({x, y}) != 0)) ++wrong;
  EXPECT_EQ(wrong, 0);

  auto style = [&] { return GetWindowLongPtrA(Wnd(), GWL_STYLE); };
  EXPECT_FALSE(style() & WS_SYSMENU);
  TsSkinManager* m = form->sSkinManager1;
  m->SetActive(false);
  Pump();
  SaveWindowScreenshot(Wnd(), "frame-skin-off");
  EXPECT_TRUE(style() & WS_SYSMENU);
  EXPECT_EQ(GetWindowRgn(Wnd(), region.get()), ERROR);
  m->SetActive(true);
  Pump();
  EXPECT_FALSE(style() & WS_SYSMENU);
  RedrawWindow(Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(GetWindowRgn(Wnd(), region.get()), COMPLEXREGION);
  // The framework sets the style anew when the border icons change: still no system menu.
  form->SetBorderIcons(biSystemMenu | biHelp);
  EXPECT_FALSE(style() & WS_SYSMENU);
  form->SetBorderIcons(biSystemMenu);
  EXPECT_FALSE(style() & WS_SYSMENU);
  ExpectSkinnedFrame(GetForegroundWindow() == Wnd(), "frame-skin-back");
}

TEST_F(FramedWizard, TheCloseButtonAnswersItsHitCodeAndClosesOnlyWhenPressedAndReleasedOnIt) {
  // The frame itself shows the button's states (no animation windows over it).
  form->sSkinManager1->Effects.AllowGlowing = false;
  SetForegroundWindow(Wnd());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Wnd(); }));
  const RECT close = CloseRect();
  const POINT onClose{(close.left + close.right) / 2, (close.top + close.bottom) / 2};
  const POINT onCaption{120, Band() / 2};
  auto hit = [&](POINT p) {
    const POINT s = ScreenPoint(p.x, p.y);
    return SendMessageA(Wnd(), WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y));
  };
  EXPECT_EQ(hit(onClose), HTCLOSE);
  EXPECT_EQ(hit(POINT{close.left, close.top}), HTCLOSE);
  EXPECT_EQ(hit(POINT{close.left - 1, onClose.y}), HTCAPTION);
  EXPECT_EQ(hit(onCaption), HTCAPTION);
  EXPECT_EQ(hit(POINT{Width() / 2, Height() / 2}), HTCLIENT);

  TsSkinProvider* p = Provider();
  auto pictureOfClose = [&](int state) {
    const Bitmap32 shot = Shot();
    const Bitmap32 expected = ExpectedFrame(true, state);
    int differences = 0;
    for (int y = close.top; y < close.bottom; ++y)
      for (int x = close.left; x < close.right; ++x) differences += At(shot, x, y) != At(expected, x, y);
    return differences;
  };
  ASSERT_TRUE(MouseTo(Width() / 2, Height() / 2));
  ASSERT_TRUE(MouseTo(onClose.x, onClose.y));
  ASSERT_TRUE(PumpUntil([&] { return p->HotCode() == HTCLOSE; }));
  EXPECT_EQ(p->ButtonState(tbClose), 1);
  EXPECT_EQ(pictureOfClose(1), 0);
  SaveWindowScreenshot(Wnd(), "frame-close-hot");

  // Press, drag off, back on, release: the press was forgotten when the mouse left.
  ASSERT_TRUE(XInput("mousedown 1"));
  ASSERT_TRUE(PumpUntil([&] { return p->ButtonState(tbClose) == 2; }));
  EXPECT_EQ(pictureOfClose(2), 0);
  SaveWindowScreenshot(Wnd(), "frame-close-pressed");
  ASSERT_TRUE(MouseTo(onCaption.x, onCaption.y));
  ASSERT_TRUE(PumpUntil([&] { return p->HotCode() == 0; }));
  EXPECT_EQ(p->ButtonState(tbClose), 0);
  ASSERT_TRUE(MouseTo(onClose.x, onClose.y));
  ASSERT_TRUE(PumpUntil([&] { return p->HotCode() == HTCLOSE; }));
  EXPECT_EQ(p->ButtonState(tbClose), 1);
  ASSERT_TRUE(XInput("mouseup 1"));
  Pump(20);
  EXPECT_TRUE(IsWindowVisible(Wnd()));

  // Press, drag off, release outside (after the double-click time: a second press so soon
  // would be a double click).
  Sleep(GetDoubleClickTime() + 50);
  ASSERT_TRUE(XInput("mousedown 1"));
  ASSERT_TRUE(PumpUntil([&] { return p->ButtonState(tbClose) == 2; }));
  ASSERT_TRUE(MouseTo(Width() / 2, Height() / 2));
  ASSERT_TRUE(XInput("mouseup 1"));
  // Into the client area the form's frame sees no hit test: leaving the frame clears it.
  EXPECT_TRUE(PumpUntil([&] { return p->ButtonState(tbClose) == 0; }));
  EXPECT_TRUE(IsWindowVisible(Wnd()));

  // Press and release on the button: the window closes.
  Sleep(GetDoubleClickTime() + 50);
  ASSERT_TRUE(MouseTo(onClose.x, onClose.y));
  ASSERT_TRUE(XInput("click 1"));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(Wnd()); }));
}

TEST_F(FramedWizard, ADoubleClickOnTheCaptionChangesNothing) {
  SetForegroundWindow(Wnd());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Wnd(); }));
  const RECT before = WindowRect();
  ASSERT_TRUE(MouseTo(120, Band() / 2));
  ASSERT_TRUE(XInput("click --repeat 2 --delay 60 1"));
  Pump(20);
  const RECT after = WindowRect();
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_FALSE(IsZoomed(Wnd()));
  EXPECT_TRUE(IsWindowVisible(Wnd()));
  ExpectSkinnedFrame(true, "frame-after-double-click");
}

TEST_F(FramedWizard, TheHotCloseButtonFadesInAndOutInALayeredWindowOfItsOwn) {
  LayeredWindowRecorder recorder;
  ASSERT_TRUE(recorder.Installed());
  std::vector<LayeredShow>& shows = recorder.Shows();
  SetForegroundWindow(Wnd());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Wnd(); }));
  TsSkinProvider* p = Provider();
  const RECT close = CloseRect();
  auto alphas = [&](HWND wnd) { return recorder.AlphasOf(wnd); };

  ASSERT_TRUE(MouseTo(close.left + 5, close.top + 5));
  ASSERT_TRUE(PumpUntil([&] { return p->ButtonAnimation(tbClose) && !alphas(p->ButtonAnimation(tbClose)->Window()).empty() &&
                                     alphas(p->ButtonAnimation(tbClose)->Window()).back() == 255; }));
  const HWND animation = p->ButtonAnimation(tbClose)->Window();
  EXPECT_EQ(alphas(animation), (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}));
  const LayeredShow& last = shows.back();
  EXPECT_EQ(last.Pos.x, WindowRect().left + close.left);
  EXPECT_EQ(last.Pos.y, WindowRect().top + close.top);
  EXPECT_EQ(last.Size.cx, close.right - close.left);
  EXPECT_EQ(last.Size.cy, close.bottom - close.top);
  const LONG_PTR ex = GetWindowLongPtrA(animation, GWL_EXSTYLE);
  EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
            WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  EXPECT_TRUE(IsWindowVisible(animation));
  // On screen: the hot picture, fully opaque, over the frame that keeps the button at rest.
  Bitmap32 composite = ExpectedFrame(true, 0);
  PaintStateImage(composite, TsPoint{close.left, close.top}, 1, MakeBgInfo(&composite, 0, 0), CloseImage(), 1);
  std::string where;
  EXPECT_EQ(FrameDifferences(Shot(), composite, where), 0) << where;
  SaveWindowScreenshot(Wnd(), "frame-close-hot-animated");

  // Off the button: the picture fades out from where it was and its window goes.
  shows.clear();
  ASSERT_TRUE(MouseTo(Width() / 2, Height() / 2));
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(animation); }));
  EXPECT_EQ(alphas(animation), (std::vector<int>{250, 225, 200, 175, 150, 125, 100, 75, 50, 25}));
  EXPECT_EQ(p->ButtonAnimation(tbClose)->State(), -1);

  // A press shows the pressed picture at once.
  ASSERT_TRUE(MouseTo(close.left + 5, close.top + 5));
  // The hot fade runs to its end first, so that what follows the press is the press's own.
  ASSERT_TRUE(PumpUntil([&] {
    return p->ButtonAnimation(tbClose)->Window() != nullptr && !shows.empty() &&
           shows.back().Alpha == 255;
  }));
  shows.clear();
  ASSERT_TRUE(XInput("mousedown 1"));
  ASSERT_TRUE(PumpUntil([&] { return p->ButtonState(tbClose) == 2; }));
  ASSERT_TRUE(PumpUntil([&] { return !shows.empty(); }));
  EXPECT_EQ(shows.front().Alpha, 255);
  ASSERT_TRUE(MouseTo(Width() / 2, Height() / 2));
  ASSERT_TRUE(XInput("mouseup 1"));
  EXPECT_TRUE(PumpUntil([&] { return p->ButtonState(tbClose) == 0; }));
  // Moving the window ends every animation.
  SetWindowPos(Wnd(), nullptr, WindowRect().left + 1, WindowRect().top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Pump();
  EXPECT_EQ(p->ButtonAnimation(tbClose), nullptr);
}

// A settings or style change leaves the frame to be painted afresh; the hot close button must
// still let go of its picture when the mouse leaves it.
TEST_F(FramedWizard, TheHotPictureFadesOutWhenTheMouseLeavesAfterASettingsChange) {
  LayeredWindowRecorder recorder;
  ASSERT_TRUE(recorder.Installed());
  SetForegroundWindow(Wnd());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Wnd(); }));
  TsSkinProvider* p = Provider();
  const RECT close = CloseRect();
  for (const UINT change : {UINT{WM_SETTINGCHANGE}, UINT{WM_STYLECHANGED}}) {
    SCOPED_TRACE(change);
    recorder.Shows().clear();
    ASSERT_TRUE(MouseTo(close.left + 5, close.top + 5));
    ASSERT_TRUE(PumpUntil([&] {
      const TacSBAnimation* a = p->ButtonAnimation(tbClose);
      if (!a || !a->Window()) return false;
      const std::vector<int> shown = recorder.AlphasOf(a->Window());
      return !shown.empty() && shown.back() == 255;
    }));
    const HWND animation = p->ButtonAnimation(tbClose)->Window();
    if (change == WM_SETTINGCHANGE) {
      SendMessageA(Wnd(), WM_SETTINGCHANGE, 0, 0);
    } else {
      STYLESTRUCT same{static_cast<DWORD>(GetWindowLongPtrA(Wnd(), GWL_STYLE)),
                       static_cast<DWORD>(GetWindowLongPtrA(Wnd(), GWL_STYLE))};
      SendMessageA(Wnd(), WM_STYLECHANGED, GWL_STYLE, reinterpret_cast<LPARAM>(&same));
    }
    recorder.Shows().clear();
    ASSERT_TRUE(MouseTo(Width() / 2, Height() / 2));
    PumpUntil([&] { return !IsWindow(animation); }, 2000);
    if (change == WM_SETTINGCHANGE) SaveWindowScreenshot(Wnd(), "frame-close-left-after-settings-change");
    EXPECT_FALSE(IsWindow(animation));
    EXPECT_EQ(recorder.AlphasOf(animation), (std::vector<int>{250, 225, 200, 175, 150, 125, 100, 75, 50, 25}));
    // The frame is the skin's again, the button at rest.
    std::string where;
    EXPECT_EQ(FrameDifferences(Shot(), ExpectedFrame(true, 0), where), 0) << where;
  }
}

TEST_F(FramedWizard, TheSystemMenuOpensOnTheCaptionsRightClickAndOnAltSpace) {
  SetForegroundWindow(Wnd());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Wnd(); }));
  auto expectMoveAndClose = [](const std::vector<std::string>& items) {
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], "Move");
    EXPECT_EQ(items[1], "-");
    EXPECT_EQ(items[2].substr(0, 6), "Close\t");  // with its shortcut
  };
  {
    MenuWatcher watcher;
    ASSERT_TRUE(MouseTo(150, Band() / 2));
    ASSERT_TRUE(XInput("click 3"));
    expectMoveAndClose(watcher.Items());
  }
  {
    MenuWatcher watcher;
    ASSERT_TRUE(MouseTo(Width() / 2, Height() / 2));
    ASSERT_TRUE(XInput("key alt+space"));
    expectMoveAndClose(watcher.Items());
  }
  EXPECT_TRUE(IsWindowVisible(Wnd()));
  ExpectSkinnedFrame(true, "frame-after-system-menu");
}

TEST_F(FramedWizard, FrameRepaintsAndSkinCyclesLeakNoObjects) {
  TsSkinManager* m = form->sSkinManager1;
  TsSkinProvider* p = Provider();
  const POINT close = ScreenPoint(CloseRect().left + 3, CloseRect().top + 3), caption = ScreenPoint(100, 5);
  auto repaintFrames = [&](int n) {
    for (int i = 0; i < n; ++i) {
      p->RepaintFrameNow();
      // Hot and back: the button alone is redrawn.
      const POINT at = i % 2 ? caption : close;
      SendMessageA(Wnd(), WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
      RedrawWindow(Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }
  };
  ExpectNoObjectsLeft(
      [&](int n) {
        repaintFrames(50 * n);
        for (int i = 0; i < n; ++i) {
          m->SetActive(false);
          m->SetActive(true);
        }
        repaintFrames(2);
        // The close button's fade out ends, and its picture goes.
        ASSERT_TRUE(PumpUntil([&] {
          const TacSBAnimation* a = p->ButtonAnimation(tbClose);
          return !a || a->Window() == nullptr;
        }));
      },
      3, 20);
}

}  // namespace
