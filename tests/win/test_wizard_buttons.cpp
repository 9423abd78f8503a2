// The wizard's skinned push buttons read back from real windows: their rounded window region,
// the face the mouse (moved from the X side) gives them, the disabled and default looks, the
// frames of their fades, and what they leave behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "WizardTest.h"
#include "image/PngWrite.h"
#include "skin/controls/sButton.h"
#include "skin/data/sColorShift.h"
#include "skin/data/sSkinModel.h"
#include "skin/render/sFade_win.h"

namespace {

Bitmap32 CopyOf(const Bitmap32& b) {
  Bitmap32 copy(b.Width(), b.Height());
  CopyRect32(copy, 0, 0, b, TsRect{0, 0, b.Width(), b.Height()});
  return copy;
}

// Every fade frame the timer hands a button, recorded from the button's own window.
struct FrameRecorder {
  std::vector<Bitmap32> frames;
  MessageSpy spy;
  explicit FrameRecorder(HWND wnd)
      : spy(wnd, [this](UINT msg, WPARAM wp, LPARAM lp) {
          if (msg == SM_ALPHACMD && HIWORD(wp) == SkinCommand::PaintFadeFrame && lp)
            frames.push_back(CopyOf(reinterpret_cast<TBitmap*>(lp)->View()));
        }) {}
};

bool SameColour(Pixel32 a, Pixel32 b) { return a.B == b.B && a.G == b.G && a.R == b.R; }

class WizardButtons : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    ASSERT_TRUE(XInput("mousemove 1000 750")) << "no input bridge from the X side";
  }
  void TearDown() override {
    XInput("mouseup 1");  // a test that stopped half-way must not leave the button held
    WizardTest::TearDown();
  }

  const TsSkinModel& Model() { return form->sSkinManager1->Model(); }
  TsGeneralData& Section() {
    TsSkinModel& m = form->sSkinManager1->Model();
    return m.Sections[static_cast<size_t>(m.FindSection("BUTTON"))];
  }
  const TsMaskData& Image() { return Model().Images[static_cast<size_t>(Section().BorderMaskIndex)]; }
  // The skin pixel behind button pixel (x, y) of a w x h button when (x, y) lies in one of the
  // four corner blocks of `cell`; nullptr elsewhere.
  const Pixel32* CornerPixel(int cell, int x, int y, int w, int h) {
    const TsMaskData& img = Image();
    const int cw = img.CellWidth(), ch = img.CellHeight();
    int sx, sy;
    if (x < img.WL) sx = x;
    else if (x >= w - img.WR) sx = cw - (w - x);
    else return nullptr;
    if (y < img.WT) sy = y;
    else if (y >= h - img.WB) sy = ch - (h - y);
    else return nullptr;
    return &Model().MasterBitmap.Row(img.R.Top + sy)[img.R.Left + cell * cw + sx];
  }
  // The cell whose corner pixels the screen shows for the button, or -1.
  int CellOnScreen(const Bitmap32& shot, TControl* b) {
    const RECT r = InForm(b);
    for (int cell = 0; cell < Image().ImageCount; ++cell) {
      bool all = true;
      for (int y = 0; y < b->Height() && all; ++y)
        for (int x = 0; x < b->Width() && all; ++x)
          if (const Pixel32* p = CornerPixel(cell, x, y, b->Width(), b->Height()); p && !IsKeyPixel(*p))
            all = SameColour(*p, shot.At(r.left + x, r.top + y));
      if (all) return cell;
    }
    return -1;
  }
  void SettleFade(TsButton* b) { ASSERT_TRUE(PumpUntil([&] { return b->Fade() == nullptr; })); }
  // Focus on a control that is no button, and the mouse far away (a mouse that jumps out of
  // the window is seen to leave a little later, as the system tracks it).
  void Calm(TWinControl* focus) {
    focus->SetFocus();
    XInput("mousemove 1000 750");
    EXPECT_TRUE(PumpUntil([&] {
      for (TsButton* b : {form->sButton_cansel2, form->sButton_next2, form->sButton_cansel3, form->sButton_next3,
                          form->sButton_prev3, form->sButton_4_finish})
        if (b->SkinData().MouseOver) return false;
      return true;
    }));
  }
};

TEST_F(WizardButtons, CornerCellsOfTheArtDifferSoTheFaceTellsTheState) {
  // The other tests tell a state by its corner pixels; that only works when the cells differ.
  const int w = 89, h = 25;
  for (int a = 0; a < Image().ImageCount; ++a)
    for (int b = a + 1; b < Image().ImageCount; ++b) {
      bool differ = false;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          if (const Pixel32* p = CornerPixel(a, x, y, w, h); p && !(*p == *CornerPixel(b, x, y, w, h))) differ = true;
      EXPECT_TRUE(differ) << "cells " << a << " and " << b;
    }
}

TEST_F(WizardButtons, WindowRegionIsTheButtonWithoutTheKeyColouredCornerPixels) {
  TsButton* b = form->sButton_cansel2;
  Calm(form->sMemo1);
  Capture();
  const int state = b->CurrentState();
  const int cell = std::min(state, Image().ImageCount - 1);
  auto inRegion = [&](HWND wnd) {
    std::vector<std::vector<bool>> in(b->Height(), std::vector<bool>(b->Width(), false));
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(wnd, rgn) == ERROR) {
      DeleteObject(rgn);
      return in;
    }
    std::vector<char> data(GetRegionData(rgn, 0, nullptr));
    GetRegionData(rgn, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    DeleteObject(rgn);
    const auto* rd = reinterpret_cast<const RGNDATA*>(data.data());
    const auto* rects = reinterpret_cast<const RECT*>(rd->Buffer);
    for (DWORD i = 0; i < rd->rdh.nCount; ++i)
      for (int y = std::max(0L, rects[i].top); y < std::min<LONG>(b->Height(), rects[i].bottom); ++y)
        for (int x = std::max(0L, rects[i].left); x < std::min<LONG>(b->Width(), rects[i].right); ++x) in[y][x] = true;
    return in;
  };
  const auto in = inRegion(b->Handle());
  int cut = 0, wrong = 0;
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x) {
      const Pixel32* p = CornerPixel(cell, x, y, b->Width(), b->Height());
      const bool key = p && IsKeyPixel(*p);
      cut += key;
      if (in[y][x] == key) ++wrong;
    }
  EXPECT_GT(cut, 0);
  EXPECT_EQ(wrong, 0);

  // Without a skin the button is a plain rectangle again; with it, rounded again.
  form->sSkinManager1->SetActive(false);
  const Bitmap32 plain = Capture();
  SaveWindowScreenshot(form->Handle(), "button-skin-off");
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(b->Handle(), probe), ERROR);
  DeleteObject(probe);
  // ...and draws the platform's face (frame, face, caption) on the owner-draw request.
  std::set<uint32_t> colours;
  const RECT r = InForm(b);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const Pixel32 p = plain.At(x, y);
      colours.insert(p.R << 16 | p.G << 8 | p.B);
    }
  EXPECT_GE(colours.size(), 3u);
  form->sSkinManager1->SetActive(true);
  Capture();
  EXPECT_EQ(inRegion(b->Handle()), in);
}

TEST_F(WizardButtons, TheMouseFromTheXSideMakesTheFaceHotAndDraggingOffAPressDoesNotClick) {
  TsButton* b = form->sButton_cansel2;
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  int entered = 0, left = 0;
  b->OnMouseEnter = [&](TObject*) { ++entered; };
  b->OnMouseLeave = [&](TObject*) { ++left; };
  Calm(form->sMemo1);
  EXPECT_EQ(CellOnScreen(Capture(), b), 0);

  ASSERT_TRUE(XMouseToCentre(b));
  SettleFade(b);
  EXPECT_EQ(CellOnScreen(CaptureAsIs(), b), 1);
  SaveWindowScreenshot(form->Handle(), "button-hot");
  EXPECT_EQ(entered, 1);

  // Pressed while over it; dragged off, the pressed face goes; back on, it returns.
  ASSERT_TRUE(XInput("mousedown 1"));
  SettleFade(b);
  EXPECT_EQ(b->CurrentState(), 2);
  EXPECT_EQ(CellOnScreen(CaptureAsIs(), b), 2);
  SaveWindowScreenshot(form->Handle(), "button-pressed");
  ASSERT_TRUE(XInput("mousemove 1000 750"));
  SettleFade(b);
  EXPECT_NE(CellOnScreen(CaptureAsIs(), b), 2);
  EXPECT_EQ(left, 1);
  ASSERT_TRUE(XMouseToCentre(b));
  SettleFade(b);
  EXPECT_EQ(CellOnScreen(CaptureAsIs(), b), 2);
  ASSERT_TRUE(XInput("mousemove 1000 750"));
  ASSERT_TRUE(XInput("mouseup 1"));
  SettleFade(b);
  EXPECT_EQ(clicks, 0);

  // A whole click on it does click, once.
  ASSERT_TRUE(XMouseToCentre(b));
  ASSERT_TRUE(XInput("click 1"));
  SettleFade(b);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(CellOnScreen(CaptureAsIs(), b), 1);  // focused and under the mouse
}

TEST_F(WizardButtons, SpaceAndEnterOnTheFocusedButtonClickItOnceAndItLooksReleasedAfter) {
  TsButton* b = form->sButton_cansel2;
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->SetFocus();
  Pump();
  ASSERT_TRUE(XInput("key space"));
  SettleFade(b);
  EXPECT_EQ(clicks, 1);
  ASSERT_TRUE(XInput("key Return"));
  SettleFade(b);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(b->CurrentState(), 1);
  EXPECT_EQ(CellOnScreen(CaptureAsIs(), b), 1);
}

TEST_F(WizardButtons, DisabledNextIsFortyPercentFaceOverSixtyPercentBackground) {
  TsButton* b = form->sButton_next2;
  Calm(form->sMemo1);
  ASSERT_FALSE(b->Enabled());
  const Bitmap32 disabled = Capture();
  SaveWindowScreenshot(form->Handle(), "button-next-disabled");
  b->SetVisible(false);
  const Bitmap32 behind = Capture();
  b->SetVisible(true);
  b->SetEnabled(true);
  SettleFade(b);
  ASSERT_EQ(b->CurrentState(), 0);
  const Bitmap32 face = Capture();
  const RECT r = InForm(b);
  int wrong = 0, changed = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const Pixel32 p = behind.At(x, y), d = face.At(x, y), got = disabled.At(x, y);
      const auto mix = [](int p, int d) { return static_cast<int>(std::nearbyint(p - (p - d) * 0.4)); };
      if (mix(p.B, d.B) != got.B || mix(p.G, d.G) != got.G || mix(p.R, d.R) != got.R) {
        if (wrong++ == 0)
          ADD_FAILURE() << "at " << x - r.left << "," << y - r.top << ": behind " << int(p.R) << "/" << int(p.G) << "/"
                        << int(p.B) << ", face " << int(d.R) << "/" << int(d.G) << "/" << int(d.B) << ", disabled "
                        << int(got.R) << "/" << int(got.G) << "/" << int(got.B);
      }
      if (!SameColour(d, got)) ++changed;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(changed, 0);
}

TEST_F(WizardButtons, TheDefaultButtonIsHotWithTheMouseElsewhereAndKeepsOwnerDrawing) {
  form->ShowPage(form->sPanel_3_install);
  TsButton* next = form->sButton_next3;
  next->SetDefault(true);
  Calm(form->sEdit1);
  SettleFade(next);
  EXPECT_EQ(CellOnScreen(Capture(), next), 1);
  EXPECT_EQ(CellOnScreen(CaptureAsIs(), form->sButton_prev3), 0);

  // Another button with the focus is the default button now.
  form->sButton_prev3->SetFocus();
  Pump();
  SettleFade(next);
  EXPECT_EQ(CellOnScreen(Capture(), next), 0);

  // Asked to be a plain default push button, it stays owner-drawn and shows it.
  next->SetDefault(false);
  Calm(form->sEdit1);
  SendMessageA(next->Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(GetWindowLongPtrA(next->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(CellOnScreen(Capture(), next), 1);
}

TEST_F(WizardButtons, FadesBlendTheOldFaceIntoTheNewOneFrameByFrame) {
  TsButton* b = form->sButton_cansel2;
  Calm(form->sMemo1);
  Capture();
  const Bitmap32 normal = CopyOf(b->SkinData().CacheView());
  // The pixels the window shows: the cut-away corners are never seen (and keep what the
  // last full paint left in them).
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(b->Handle(), shape), ERROR);
  // Each recorded frame is old × w + new × (255 − w), w = 255 − f × 256 ÷ n.
  auto checkFrames = [&](const std::vector<Bitmap32>& frames, const Bitmap32& from, const Bitmap32& to, int n) {
    ASSERT_EQ(static_cast<int>(frames.size()), n);
    for (int f = 1; f <= n; ++f) {
      const int w = std::clamp(255 - f * 256 / n, 0, 255);
      const Bitmap32& got = frames[static_cast<size_t>(f - 1)];
      ASSERT_EQ(got.Width(), to.Width());
      int wrong = 0;
      for (int y = 0; y < to.Height(); ++y)
        for (int x = 0; x < to.Width(); ++x) {
          if (!PtInRegion(shape, x, y)) continue;
          const Pixel32 a = from.At(x, y), c = to.At(x, y), g = got.At(x, y);
          const auto mix = [w](int o, int n) { return (o * w + n * (255 - w) + 127) >> 8; };
          if (mix(a.B, c.B) != g.B || mix(a.G, c.G) != g.G || mix(a.R, c.R) != g.R || mix(a.A, c.A) != g.A) ++wrong;
        }
      EXPECT_EQ(wrong, 0) << "frame " << f << " of " << n;
    }
  };

  std::vector<Bitmap32> hover, press;
  Bitmap32 hot;
  {
    FrameRecorder rec(b->Handle());
    ASSERT_TRUE(XMouseToCentre(b));
    SettleFade(b);
    hover = std::move(rec.frames);
  }
  hot = CopyOf(b->SkinData().CacheView());
  checkFrames(hover, normal, hot, 20);

  // A press fades in half the frames. The button has the focus first: taking it marks the
  // face for a full repaint, which does not fade.
  b->OnClick = nullptr;
  b->SetFocus();
  Capture();
  const Bitmap32 focused = CopyOf(b->SkinData().CacheView());
  {
    FrameRecorder rec(b->Handle());
    ASSERT_TRUE(XInput("mousedown 1"));
    SettleFade(b);
    press = std::move(rec.frames);
  }
  const Bitmap32 pressed = CopyOf(b->SkinData().CacheView());
  checkFrames(press, focused, pressed, 10);
  ASSERT_TRUE(XInput("mouseup 1"));
  SettleFade(b);

  // The strip of the hover fade, to look at.
  if (const char* dir = std::getenv("KESTAMOR_SCREENSHOTS")) {
    const int w = normal.Width(), h = normal.Height();
    Bitmap32 strip(w * 22, h);
    CopyRect32(strip, 0, 0, normal, TsRect{0, 0, w, h});
    for (size_t i = 0; i < hover.size(); ++i) CopyRect32(strip, w * static_cast<int>(i + 1), 0, hover[i], TsRect{0, 0, w, h});
    CopyRect32(strip, w * 21, 0, pressed, TsRect{0, 0, w, h});
    SavePng(strip, std::string(dir) + "/button-fade-strip.png", false);
  }

  // A change in the middle of a fade starts again from the face it was going to. (Told to the
  // button straight away: the X side is too slow to land in the middle of a fade.)
  Calm(form->sMemo1);
  SettleFade(b);
  Capture();
  {
    FrameRecorder rec(b->Handle());
    b->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b));
    ASSERT_TRUE(PumpUntil([&] { return rec.frames.size() >= 3 || !b->Fade(); }));
    ASSERT_NE(b->Fade(), nullptr);
    const size_t before = rec.frames.size();
    b->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(b));
    SettleFade(b);
    std::vector<Bitmap32> restarted(std::make_move_iterator(rec.frames.begin() + static_cast<long>(before)),
                                    std::make_move_iterator(rec.frames.end()));
    checkFrames(restarted, hot, normal, 20);
  }

  // A section that does not fade changes at once.
  Section().FadingEnabled = false;
  {
    FrameRecorder rec(b->Handle());
    ASSERT_TRUE(XMouseToCentre(b));
    EXPECT_EQ(b->Fade(), nullptr);
    Pump();
    EXPECT_TRUE(rec.frames.empty());
    EXPECT_EQ(CellOnScreen(CaptureAsIs(), b), 1);
  }
  Section().FadingEnabled = true;
  DeleteObject(shape);
}

// Counts the paints of a button that show its pressed face.
struct PressedPaints {
  int count = 0;
  MessageSpy spy;
  explicit PressedPaints(TsButton* b)
      : spy(b->Handle(), [this, b](UINT msg, WPARAM, LPARAM) {
          if (msg == WM_PAINT && b->CurrentState() == 2) ++count;
        }) {}
};

TEST_F(WizardButtons, AQuickClickShowsThePressedFaceBeforeThePressFadeGetsThere) {
  TsButton* b = form->sButton_cansel2;
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->SetFocus();
  ASSERT_TRUE(XMouseToCentre(b));
  SettleFade(b);
  Capture();
  PressedPaints paints(b);
  ASSERT_TRUE(XInput("click 1"));  // press and release reach the button before a fade frame could
  SettleFade(b);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(paints.count, 1);
}

// A fade that has run its course leaves no timer alive; a log-off announced while one runs is
// answered only once the fade is over, and no fade starts until the log-off is called off.
TEST_F(WizardButtons, ALogOffWaitsForRunningFadesAndFinishedOnesLeaveNoTimer) {
  TsButton* b = form->sButton_cansel2;
  Calm(form->sMemo1);
  ASSERT_TRUE(XMouseToCentre(b));
  SettleFade(b);
  EXPECT_TRUE(PumpUntil([] { return acFades().Live.size() == 0; }, 2000)) << acFades().Live.size() << " timers left";

  struct CalledOff {
    ~CalledOff() { acFades().AnimationsOff = false; }  // also when a check below stops the test
  } calledOff;
  // The fade-out is held at its third frame, then let go just as the log-off comes.
  int frames = 0;
  MessageSpy spy(b->Handle(), [&](UINT msg, WPARAM wp, LPARAM) {
    if (msg == SM_ALPHACMD && HIWORD(wp) == SkinCommand::PaintFadeFrame && ++frames == 3) b->Fade()->SetEnabled(false);
  });
  ASSERT_TRUE(XInput("mousemove 1000 750"));
  ASSERT_TRUE(PumpUntil([&] { return frames >= 3; }));
  ASSERT_NE(b->Fade(), nullptr);
  b->Fade()->SetEnabled(true);
  const LRESULT answer = SendMessageA(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  EXPECT_EQ(b->Fade(), nullptr);
  EXPECT_EQ(acFades().Live.size(), 0u);
  EXPECT_NE(answer, 0);
  // While the log-off stands, changes of look show at once, without frames.
  const int framesBefore = frames;
  ASSERT_TRUE(XMouseToCentre(b));
  ASSERT_TRUE(PumpUntil([&] { return b->SkinData().MouseOver; }));
  Pump(20);
  EXPECT_EQ(frames, framesBefore);
  SendMessageA(form->Handle(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  ASSERT_TRUE(XInput("mousemove 1000 750"));
  EXPECT_TRUE(PumpUntil([&] { return frames > 4; })) << "fades again after the log-off was called off";
  SettleFade(b);
}

TEST_F(WizardButtons, FadesAndRepaintsLeaveNoObjectsBehind) {
  TsButton* b = form->sButton_cansel2;
  Calm(form->sMemo1);
  Capture();
  int fades = 0;
  ExpectNoObjectsLeft(
      [&](int n) {
        for (int i = 0; i < n; ++i) {
          b->Perform(i % 2 ? CM_MOUSELEAVE : CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b));
          fades += b->Fade() != nullptr;
          // A few frames of each, the last ones to the end.
          ASSERT_TRUE(PumpUntil([&] { return !b->Fade() || b->Fade()->Frame > (i < n - 10 ? 3 : 100); }));
        }
        SettleFade(b);
        for (int i = 0; i < 10 * n; ++i) RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      },
      2, 100);
  EXPECT_EQ(fades, 102);
}

}  // namespace
