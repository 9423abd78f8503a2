// The wizard's group edit and licence memo painted from the embedded skin, and the memo's
// skinned scroll bar operated with the mouse and keys from the X side; pixels are read back
// from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "WizardTest.h"
#include "installer/Unit1.h"
#include "skin/controls/acEditWnd.h"
#include "skin/render/acScrollGeometry.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sStyleSimply.h"

namespace {

constexpr TColor kText = 9013657;  // EDIT's font colour

// How many pixels of b have colour c.
int Count(const Bitmap32& b, TColor c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += At(b, x, y) == c;
  return n;
}

TColor Sys(int index) { return static_cast<TColor>(GetSysColor(index)); }

RECT WindowRectOf(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  return r;
}

// Counts the bar's repeat timers as they are taken from the queue.
int* g_firstTimers = nullptr;
int* g_repeatTimers = nullptr;
HWND g_watched = nullptr;
LRESULT CALLBACK CountBarTimers(int code, WPARAM wp, LPARAM lp) {
  const MSG* msg = reinterpret_cast<const MSG*>(lp);
  if (code >= 0 && wp == PM_REMOVE && msg->message == WM_TIMER && msg->hwnd == g_watched) {
    if (msg->wParam == kFirstRepeatTimer) ++*g_firstTimers;
    if (msg->wParam == kRepeatTimer) ++*g_repeatTimers;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

class EditsWizard : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    SetForegroundWindow(form->Handle());
    memo = form->sMemo1;
    // The pointer starts, and is left, away from the wizard: hover looks depend on it.
    ASSERT_TRUE(XInput("mousemove 1000 740"));
  }
  void TearDown() override {
    XInput("mousemove 1000 740");
    WizardTest::TearDown();
  }
  HWND Memo() { return memo->Handle(); }
  TacEditWnd* Handler() { return memo->Handler(); }
  int FirstLine() { return static_cast<int>(SendMessageA(Memo(), EM_GETFIRSTVISIBLELINE, 0, 0)); }
  SCROLLINFO Info() {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(Memo(), SB_VERT, &si);
    return si;
  }
  void ScrollTo(int code) {
    SendMessageA(Memo(), WM_VSCROLL, code, 0);
    Pump();
  }
  // The vertical bar in screen coordinates, from the system's metrics: right of the client area.
  RECT Bar() {
    RECT c;
    GetClientRect(Memo(), &c);
    POINT o{0, 0};
    ClientToScreen(Memo(), &o);
    return RECT{o.x + c.right, o.y, o.x + c.right + GetSystemMetrics(SM_CXVSCROLL), o.y + c.bottom};
  }
  TacScrollLayout Expected() {
    const SCROLLINFO si = Info();
    const RECT b = Bar();
    return ScrollLayout(TacScrollNumbers{si.nMin, si.nMax, static_cast<int32_t>(si.nPage), si.nPos},
                        b.bottom - b.top, GetSystemMetrics(SM_CXHSCROLL));
  }
  bool Mouse(const std::string& what) { return XInput(what); }
  std::string Pt(POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); }
  POINT BarPoint(int along) {
    const RECT b = Bar();
    return POINT{(b.left + b.right) / 2, b.top + along};
  }

  // The screen shows exactly what the handler paints for the bar, and nothing of the
  // platform's own bar (whose faces are the system's button colour).
  void ExpectSkinnedBar(const char* shot) {
    SCOPED_TRACE(shot);
    ASSERT_NE(Handler(), nullptr);
    const RECT wr = WindowRectOf(Memo());
    const Bitmap32 screen = CaptureScreen(wr);
    TBitmap painted(wr.right - wr.left, wr.bottom - wr.top, true);
    Handler()->PaintBars(painted.Canvas().Handle());
    const Bitmap32 own = painted.View();
    const RECT b = Bar();
    int differ = 0, platform = 0;
    for (int y = b.top - wr.top; y < b.bottom - wr.top; ++y)
      for (int x = b.left - wr.left; x < b.right - wr.left; ++x) {
        differ += At(screen, x, y) != At(own, x, y);
        platform += At(screen, x, y) == Sys(COLOR_BTNFACE) || At(screen, x, y) == Sys(COLOR_SCROLLBAR);
      }
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(platform, 0);
    SaveWindowScreenshot(form->Handle(), shot);
  }

  TsMemo* memo = nullptr;
};

// The ring the painters make of EDIT for a state, against the ring on the screen; the corners
// show the parent and are left out.
int RingMismatches(const TsSkinModel& model, HWND wnd, int state) {
  const RECT wr = WindowRectOf(wnd);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  const Bitmap32 screen = CaptureScreen(wr);
  Bitmap32 expected(w, h);
  PaintSection(BindSection(model, "EDIT"), BackgroundSource{}, false, expected, TsPoint{0, 0}, TsRect{0, 0, w, h},
               state);
  int differ = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool ring = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
      const bool corner = (x < 2 || x >= w - 2) && (y < 2 || y >= h - 2);
      if (ring && !corner && At(screen, x, y) != At(expected, x, y)) ++differ;
    }
  return differ;
}

TEST_F(EditsWizard, TheGroupEditFrameFollowsFocusAndMouseAndItsTextTheSkinsColours) {
  const TsSkinModel& model = form->sSkinManager1->Model();
  form->ShowPage(form->sPanel_3_install);
  TsEdit* edit = form->sEdit1;
  form->sButton_next3->SetFocus();
  Pump();
  EXPECT_EQ(RingMismatches(model, edit->Handle(), 0), 0);
  EXPECT_GT(RingMismatches(model, edit->Handle(), 1), 0);  // the two cells differ
  SaveWindowScreenshot(form->Handle(), "edits-group-edit-normal");

  edit->SetFocus();
  Pump();
  EXPECT_EQ(RingMismatches(model, edit->Handle(), 1), 0);
  SaveWindowScreenshot(form->Handle(), "edits-group-edit-focused");
  form->sButton_next3->SetFocus();
  Pump();
  EXPECT_EQ(RingMismatches(model, edit->Handle(), 0), 0);

  const RECT wr = WindowRectOf(edit->Handle());
  ASSERT_TRUE(Mouse("mousemove " + Pt(POINT{(wr.left + wr.right) / 2, (wr.top + wr.bottom) / 2})));
  EXPECT_EQ(RingMismatches(model, edit->Handle(), 1), 0);
  SaveWindowScreenshot(form->Handle(), "edits-group-edit-hot");
  // The platform tells a window that the mouse left it on a timer of its own.
  ASSERT_TRUE(Mouse("mousemove 1000 740"));
  EXPECT_TRUE(PumpUntil([&] { return RingMismatches(model, edit->Handle(), 0) == 0; }));

  // Inside the frame: the platform's text on the section's colours.
  const Bitmap32 inside = CaptureScreen(RECT{wr.left + 2, wr.top + 2, wr.right - 2, wr.bottom - 2});
  EXPECT_GT(Count(inside, 0), inside.Width() * inside.Height() / 2);
  EXPECT_GT(Count(inside, kText), 10);

  // Disabled, the whole edit comes from its cache, blended with the panel behind it: no
  // black is left inside, and the text still shows.
  edit->SetEnabled(false);
  Pump();
  const Bitmap32 disabled = CaptureScreen(RECT{wr.left + 2, wr.top + 2, wr.right - 2, wr.bottom - 2});
  std::set<TColor> colours;
  for (int y = 0; y < disabled.Height(); ++y)
    for (int x = 0; x < disabled.Width(); ++x) colours.insert(At(disabled, x, y));
  EXPECT_EQ(Count(disabled, 0), 0);
  EXPECT_GE(colours.size(), 2u);  // the text shows on the blended face
  SaveWindowScreenshot(form->Handle(), "edits-group-edit-disabled");
}

TEST_F(EditsWizard, TheMemoFrameLightsWithTheFocusAndItsTextKeepsItsColour) {
  const TsSkinModel& model = form->sSkinManager1->Model();
  ASSERT_NE(Handler(), nullptr);
  const TsGeneralData& g = model.Sections[static_cast<size_t>(model.FindSection("EDIT"))];
  const RECT wr = WindowRectOf(Memo());
  const RECT inside{wr.left + 2, wr.top + 2, Bar().left, wr.bottom - 2};
  const int area = (inside.right - inside.left) * (inside.bottom - inside.top);
  TColor textColour = clNone;
  for (const bool focused : {false, true}) {
    SCOPED_TRACE(focused);
    if (focused)
      memo->SetFocus();
    else
      form->sRadioButton1->SetFocus();
    Pump();
    EXPECT_EQ(RingMismatches(model, Memo(), focused ? 1 : 0), 0);
    const Bitmap32 text = CaptureScreen(inside);
    EXPECT_GT(Count(text, 0), area / 2);
    // The text keeps the colour it was first painted in (the section's normal or hot one, as
    // the focus stood then); only the frame follows the focus.
    if (textColour == clNone) textColour = Count(text, g.FontColor) > 100 ? g.FontColor : g.HotFontColor;
    const TColor other = textColour == g.FontColor ? g.HotFontColor : g.FontColor;
    EXPECT_GT(Count(text, textColour), 100);
    EXPECT_EQ(Count(text, other), 0);
    SaveWindowScreenshot(form->Handle(), focused ? "edits-memo-focused" : "edits-memo-unfocused");
  }
}

TEST_F(EditsWizard, TheMemoBarStaysSkinnedThroughEveryKindOfScrolling) {
  ExpectSkinnedBar("edits-memo-bar-top");
  const RECT wr = WindowRectOf(Memo());
  const POINT centre{(wr.left + Bar().left) / 2, (wr.top + wr.bottom) / 2};

  ASSERT_TRUE(Mouse("mousemove " + Pt(centre) + " click 5"));
  EXPECT_GT(FirstLine(), 0);
  ExpectSkinnedBar("edits-memo-bar-wheel");

  memo->SetFocus();
  Pump();
  const int beforeKeys = FirstLine();
  ASSERT_TRUE(Mouse("key ctrl+End"));
  EXPECT_GT(FirstLine(), beforeKeys);
  ExpectSkinnedBar("edits-memo-bar-keys");

  ScrollTo(SB_TOP);
  const TacScrollLayout l = Expected();
  const POINT thumb = BarPoint(l.ThumbStart + l.Thumb / 2);
  const int beforeDrag = FirstLine();
  ASSERT_TRUE(Mouse("mousemove " + Pt(thumb) + " mousedown 1"));
  ASSERT_TRUE(Mouse("mousemove " + Pt(POINT{thumb.x, thumb.y + 30})));
  ExpectSkinnedBar("edits-memo-bar-dragging");
  ASSERT_TRUE(Mouse("mouseup 1"));
  EXPECT_GT(FirstLine(), beforeDrag);
  ExpectSkinnedBar("edits-memo-bar-dragged");

  // Selecting text downwards from the top line scrolls once the selection passes the last
  // visible line.
  ScrollTo(SB_TOP);
  SendMessageA(Memo(), EM_SETSEL, 0, 0);
  ASSERT_TRUE(Mouse("key --repeat 25 --delay 10 shift+Down"));
  DWORD from = 0, to = 0;
  SendMessageA(Memo(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_GT(to, 0u);
  EXPECT_GT(FirstLine(), 3);
  ExpectSkinnedBar("edits-memo-bar-selection");
}

TEST_F(EditsWizard, ThumbLengthAndPlaceFollowTheFormulaWithTheSystemsMetrics) {
  const RECT b = Bar();
  const int centre = (b.left + b.right) / 2;
  for (int code : {SB_PAGEDOWN, SB_BOTTOM}) {
    ScrollTo(code);
    const TacScrollLayout l = Expected();
    ASSERT_TRUE(l.HasThumb);
    // Down the bar's middle column the thumb is the run whose colours differ from the track's.
    const Bitmap32 column = CaptureScreen(RECT{centre, b.top, centre + 1, b.bottom});
    const TColor track = At(column, 0, l.Arrow);
    int first = -1, last = -1;
    for (int y = l.Arrow; y < l.Length - l.Arrow; ++y)
      if (At(column, 0, y) != track) {
        if (first < 0) first = y;
        last = y;
      }
    if (code == SB_PAGEDOWN) {
      EXPECT_EQ(first, l.ThumbStart);
      EXPECT_EQ(last + 1 - first, l.Thumb);
    } else {
      EXPECT_EQ(first, l.ThumbStart);
      EXPECT_EQ(l.ThumbStart + l.Thumb, l.Length - l.Arrow);  // the end of the track
    }
  }
}

TEST_F(EditsWizard, HitTestingFindsTheBarOnlyWhileItIsEnabled) {
  const RECT b = Bar();
  const POINT inBar{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
  EXPECT_EQ(SendMessageA(Memo(), WM_NCHITTEST, 0, MAKELPARAM(inBar.x, inBar.y)), HTVSCROLL);
  EXPECT_EQ(SendMessageA(Memo(), WM_NCHITTEST, 0, MAKELPARAM(b.left - 20, inBar.y)), HTCLIENT);
  // A short text fits: the platform disables the bar, which keeps its arrows and loses its thumb.
  memo->SetText("Short.");
  Pump();
  EXPECT_EQ(SendMessageA(Memo(), WM_NCHITTEST, 0, MAKELPARAM(inBar.x, inBar.y)), HTNOWHERE);
  ExpectSkinnedBar("edits-memo-bar-disabled");
  ASSERT_TRUE(Mouse("mousemove " + Pt(BarPoint(b.bottom - b.top - 3)) + " click 1"));
  EXPECT_EQ(FirstLine(), 0);
}

TEST_F(EditsWizard, TheMouseOperatesTheBarFromTheXSide) {
  const RECT b = Bar();
  const int length = b.bottom - b.top;
  const POINT down = BarPoint(length - 3);
  ASSERT_TRUE(Mouse("mousemove " + Pt(down) + " click 1"));
  EXPECT_EQ(FirstLine(), 1);

  // Holding the arrow: one scroll at once, the next only after the first-delay timer and
  // then the repeat timer have come.
  ScrollTo(SB_TOP);
  int firstTimers = 0, repeatTimers = 0;
  std::vector<std::pair<int, int>> seen;  // timers counted at each scroll
  memo->OnVScroll = [&](TObject*) { seen.emplace_back(firstTimers, repeatTimers); };
  g_firstTimers = &firstTimers;
  g_repeatTimers = &repeatTimers;
  g_watched = Memo();
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, CountBarTimers, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(Mouse("mousemove " + Pt(down) + " mousedown 1"));
  EXPECT_TRUE(PumpUntil([&] { return seen.size() >= 4; }));
  // Off the arrow the repeats pause while the button stays down.
  ASSERT_TRUE(Mouse("mousemove " + Pt(POINT{b.left - 40, down.y})));
  const size_t paused = seen.size();
  const int ticks = repeatTimers;
  EXPECT_TRUE(PumpUntil([&] { return repeatTimers >= ticks + 3; }));
  EXPECT_EQ(seen.size(), paused);
  EXPECT_EQ(GetCapture(), Memo());
  ASSERT_TRUE(Mouse("mouseup 1"));
  UnhookWindowsHookEx(hook);
  memo->OnVScroll = nullptr;
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen[0], std::make_pair(0, 0));
  EXPECT_EQ(seen[1].first, 1);
  EXPECT_GE(seen[1].second, 1);
  EXPECT_GE(FirstLine(), 3);

  // A page click scrolls as far as the platform's own page scroll.
  ScrollTo(SB_TOP);
  ScrollTo(SB_PAGEDOWN);
  const int page = FirstLine();
  ScrollTo(SB_TOP);
  TacScrollLayout l = Expected();
  ASSERT_TRUE(Mouse("mousemove " + Pt(BarPoint(l.ThumbStart + l.Thumb + 5)) + " click 1"));
  EXPECT_GT(page, 1);
  EXPECT_EQ(FirstLine(), page);

  // Dragging the thumb to the end shows the licence's last line.
  l = Expected();
  const POINT thumb = BarPoint(l.ThumbStart + l.Thumb / 2);
  ASSERT_TRUE(Mouse("mousemove " + Pt(thumb) + " mousedown 1"));
  ASSERT_TRUE(Mouse("mousemove " + Pt(POINT{thumb.x, b.bottom + 40})));
  ASSERT_TRUE(Mouse("mouseup 1"));
  const int lines = static_cast<int>(SendMessageA(Memo(), EM_GETLINECOUNT, 0, 0));
  EXPECT_EQ(FirstLine() + static_cast<int>(Info().nPage), lines);
  ExpectSkinnedBar("edits-memo-bar-end");
}

TEST_F(EditsWizard, RemovingTheSkinBringsBackThePlatformFrameAndBarsAndANewSkinTakesThemAgain) {
  TsSkinManager* m = form->sSkinManager1;
  m->SetActive(false);
  Pump();
  EXPECT_EQ(Handler(), nullptr);
  EXPECT_EQ(TacMainWnd::Of(Memo()), nullptr);
  EXPECT_TRUE(GetWindowLongPtrA(Memo(), GWL_STYLE) & WS_VSCROLL);
  const RECT b = Bar();
  EXPECT_GT(Count(CaptureScreen(b), Sys(COLOR_BTNFACE)), 0);
  SaveWindowScreenshot(form->Handle(), "edits-memo-unskinned");
  // The platform's bar works: its down arrow scrolls a line.
  ASSERT_TRUE(Mouse("mousemove " + Pt(BarPoint(b.bottom - b.top - 3)) + " click 1"));
  EXPECT_EQ(FirstLine(), 1);

  m->SetActive(true);
  Pump();
  ASSERT_NE(Handler(), nullptr);
  EXPECT_EQ(TacMainWnd::Of(Memo()), Handler());
  ExpectSkinnedBar("edits-memo-skinned-again");
}

// Switching the skin off and on (which drops and attaches the memo's handler) is counted with
// the whole wizard's skin cycles in test_wizard_skin; here the bar's own work.
TEST_F(EditsWizard, ScrollingLeaksNoObjects) {
  int scrolled = 0;
  ExpectNoObjectsLeft(
      [&](int n) {
        for (int i = 0; i < n; ++i) {
          SendMessageA(Memo(), WM_MOUSEWHEEL, MAKEWPARAM(0, i % 2 ? WHEEL_DELTA : -WHEEL_DELTA), 0);
          scrolled += FirstLine() > 0;
        }
      },
      2, 1000);
  EXPECT_EQ(scrolled, 501);  // every step down really moved the text
}

TEST_F(EditsWizard, TabReachesTheMemoAndTheGroupEdit) {
  form->sRadioButton1->SetFocus();
  Pump();
  for (int i = 0; i < 8 && GetFocus() != Memo(); ++i) ASSERT_TRUE(Mouse("key Tab"));
  EXPECT_EQ(GetFocus(), Memo());

  form->ShowPage(form->sPanel_3_install);
  form->sDirectoryEdit1->SetFocus();
  Pump();
  for (int i = 0; i < 4 && GetFocus() != form->sEdit1->Handle(); ++i) ASSERT_TRUE(Mouse("key Tab"));
  EXPECT_EQ(GetFocus(), form->sEdit1->Handle());
}

}  // namespace
