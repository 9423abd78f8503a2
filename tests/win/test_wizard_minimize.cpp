// Minimizing and restoring the installer's main window while its skin is active: the window
// turns invisible while its picture flies to the taskbar in thirteen 15 ms steps and back,
// then the real window is shown as it was. The pictures are read where the engine hands them
// to the layered-window function (no compositor under Xvfb); ticks are counted, not timed.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "LayeredWindowRecorder.h"
#include "WizardTest.h"
#include "framework/Handles.h"
#include "image/PngWrite.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/render/acMinFlight.h"

namespace {

class MinimizeFlight : public WizardTest {
 protected:
  // The wizard as the application's main form, which owns the taskbar button.
  void SetUp() override {
    Installer = InstallerState{};
    Application->CreateForm(form);
    form->Show();
    Pump();
    ASSERT_EQ(Application->MainForm(), form);
  }
  HWND Wnd() { return form->Handle(); }
  const TacMinTimer* Timer() { return FindSkinProvider(form)->MinimizeTimer(); }
  static std::vector<LayeredShow> ShowsOf(HWND wnd) {
    std::vector<LayeredShow> shows;
    for (const LayeredShow& s : LayeredWindowRecorder::Shows())
      if (s.Wnd == wnd) shows.push_back(s);
    return shows;
  }
  // The alpha the window is shown with, or -1 when it is not layered.
  int WindowAlpha() {
    if (!(GetWindowLongPtrA(Wnd(), GWL_EXSTYLE) & WS_EX_LAYERED)) return -1;
    BYTE alpha = 0;
    DWORD flags = 0;
    return GetLayeredWindowAttributes(Wnd(), nullptr, &alpha, &flags) ? alpha : -2;
  }
  void Minimize() { SendMessageA(Wnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }
  void Restore() { SendMessageA(Wnd(), WM_SYSCOMMAND, SC_RESTORE, 0); }
  bool WaitForTimer() {
    return PumpUntil([&] { return !Timer() || !Timer()->Running(); });
  }
  // The shown frames of the animation window against the flight the window's rectangle and
  // `target` make, from the `first`th recorded show on.
  void ExpectFlight(const std::vector<LayeredShow>& shows, size_t first, TacMinFlight& expected, size_t frames,
                    SIZE size) {
    ASSERT_GE(shows.size(), first + frames);
    for (size_t i = 0; i < frames; ++i) {
      const TacFlightFrame f = expected.Step();
      ASSERT_EQ(f.What, TacFlightFrame::Shown) << i;
      const LayeredShow& s = shows[first + i];
      EXPECT_EQ(s.Alpha, f.Alpha) << i;
      EXPECT_EQ(s.Pos.x, f.At.X) << i;
      EXPECT_EQ(s.Pos.y, f.At.Y) << i;
      EXPECT_EQ(s.Size.cx, size.cx) << i;
      EXPECT_EQ(s.Size.cy, size.cy) << i;
    }
  }
  static TsRect RectOf(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    return TsRect{r.left, r.top, r.right, r.bottom};
  }
};

TEST_F(MinimizeFlight, ThePictureFliesToTheTaskbarEdgeAndBackBeforeTheWindowReturns) {
  LayeredWindowRecorder recorder;
  ASSERT_TRUE(recorder.Installed());
  HideCaret(nullptr);  // a blinking caret is not the window's picture
  const Bitmap32 before = Capture();
  const HWND focused = GetFocus();
  const TsRect start = RectOf(Wnd());
  UniqueRegion regionBefore(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(Wnd(), regionBefore.get()), ERROR);
  // Wine's taskbar window is there, hidden and empty: the picture aims at its edge.
  const HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  ASSERT_NE(tray, nullptr);
  TacMinFlight expected;
  expected.Init(200, 255, start, [&](TsPoint c) { return acTaskbarEdgeTarget(RectOf(tray), c); });

  Minimize();
  EXPECT_TRUE(IsIconic(Wnd()));
  EXPECT_EQ(WindowAlpha(), 0);  // the window is invisible, its picture in front
  ASSERT_NE(Timer(), nullptr);
  const HWND picture = Timer()->AnimationWindow();
  ASSERT_TRUE(WaitForTimer());
  std::vector<LayeredShow> shows = ShowsOf(picture);
  const SIZE size{start.Right - start.Left, start.Bottom - start.Top};
  // First the whole picture over the window, then twelve shrinking, fading steps.
  ASSERT_EQ(shows.size(), 13u);
  EXPECT_EQ(shows[0].Alpha, 255);
  EXPECT_EQ(shows[0].Pos.x, start.Left);
  EXPECT_EQ(shows[0].Pos.y, start.Top);
  ExpectFlight(shows, 1, expected, 12, size);
  EXPECT_EQ(expected.Step().What, TacFlightFrame::Arrived);
  // A step's picture is the window drawn smaller in the middle of a clear picture.
  TacMinFlight first;
  first.Init(200, 255, start, [&](TsPoint c) { return acTaskbarEdgeTarget(RectOf(tray), c); });
  const TacFlightFrame f1 = first.Step();
  const Bitmap32& p1 = shows[1].Picture;
  EXPECT_EQ(p1.At(f1.OffsetX - 1, size.cy / 2).A, 0);
  EXPECT_EQ(p1.At(f1.OffsetX + f1.Width / 2, f1.OffsetY + f1.Height / 2).A, 255);
  EXPECT_EQ(p1.At(size.cx / 2, f1.OffsetY + f1.Height).A, 0);
  if (const char* dir = std::getenv("KESTAMOR_SCREENSHOTS"))
    SavePng(shows[6].Picture, std::string(dir) + "/minimize-flight-step6.png");
  // Arrived: the picture is gone and the minimized window is an ordinary one again.
  EXPECT_FALSE(IsWindowVisible(picture));
  EXPECT_EQ(WindowAlpha(), -1);
  EXPECT_TRUE(IsIconic(Wnd()));

  LayeredWindowRecorder::Shows().clear();
  Restore();
  EXPECT_FALSE(IsIconic(Wnd()));
  EXPECT_EQ(WindowAlpha(), 0);
  ASSERT_TRUE(WaitForTimer());
  Pump();
  shows = ShowsOf(picture);
  ASSERT_EQ(shows.size(), 13u);
  ExpectFlight(shows, 0, expected, 12, size);
  // Last, the picture whole where the window is, at full alpha; then the window itself.
  EXPECT_EQ(shows[12].Alpha, 255);
  EXPECT_EQ(shows[12].Pos.x, start.Left);
  EXPECT_EQ(shows[12].Pos.y, start.Top);
  EXPECT_FALSE(IsWindow(picture));
  EXPECT_TRUE(IsWindowVisible(Wnd()));
  EXPECT_EQ(WindowAlpha(), -1);
  EXPECT_FALSE(FindSkinProvider(form)->Animating());
  EXPECT_EQ(RectOf(Wnd()), start);
  // The frame's own outline, nothing of the minimized window's.
  UniqueRegion regionAfter(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(Wnd(), regionAfter.get()), ERROR);
  EXPECT_TRUE(EqualRgn(regionBefore.get(), regionAfter.get()));
  // Painted as before, without being asked again.
  HideCaret(nullptr);
  const Bitmap32 after = CaptureAsIs();
  EXPECT_EQ(GetFocus(), focused);
  int differing = 0;
  for (int y = 0; y < after.Height(); ++y)
    for (int x = 0; x < after.Width(); ++x) differing += At(after, x, y) != At(before, x, y);
  EXPECT_EQ(differing, 0);
  SaveWindowScreenshot(Wnd(), "minimize-restored");
}

// A topmost window turns opaque again with its returned picture still in front of it, so that
// its square corners never show before the frame's outline is back.
TEST_F(MinimizeFlight, ATopmostWindowTurnsOpaqueBehindItsReturnedPicture) {
  SetWindowPos(Wnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Minimize();
  ASSERT_TRUE(WaitForTimer());
  const HWND picture = Timer()->AnimationWindow();
  int turnedOpaque = 0;
  bool pictureInFront = false;
  {
    MessageSpy spy(Wnd(), [&](UINT msg, WPARAM wp, LPARAM lp) {
      const auto* change = reinterpret_cast<const STYLESTRUCT*>(lp);
      if (msg != WM_STYLECHANGED || wp != static_cast<WPARAM>(GWL_EXSTYLE) || !(change->styleOld & WS_EX_LAYERED) ||
          (change->styleNew & WS_EX_LAYERED))
        return;
      ++turnedOpaque;
      pictureInFront = false;
      for (HWND w = GetWindow(Wnd(), GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) pictureInFront |= w == picture;
    });
    Restore();
    ASSERT_TRUE(WaitForTimer());
    Pump();
  }
  SetWindowPos(Wnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(turnedOpaque, 1);
  EXPECT_TRUE(pictureInFront);
  EXPECT_FALSE(IsWindow(picture));
}

TEST_F(MinimizeFlight, ARestoreInFlightTurnsThePictureAround) {
  LayeredWindowRecorder recorder;
  const TsRect start = RectOf(Wnd());
  const HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  Minimize();
  const HWND picture = Timer()->AnimationWindow();
  // The cover and a few steps out, then back from there. One message at a time: on a busy
  // machine a tick outlasts the interval and one round of the queue would run the whole flight.
  const auto end = GetTickCount64() + 5000;
  MSG msg;
  while (ShowsOf(picture).size() < 5 && GetTickCount64() < end) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&msg);
    else
      Sleep(1);
  }
  const size_t outward = ShowsOf(picture).size();
  Restore();
  ASSERT_TRUE(WaitForTimer());
  Pump();
  TacMinFlight expected;
  expected.Init(200, 255, start, [&](TsPoint c) { return acTaskbarEdgeTarget(RectOf(tray), c); });
  std::vector<int> want{255};
  for (size_t i = 1; i < outward; ++i) want.push_back(expected.Step().Alpha);
  expected.Minimized = true;
  TacFlightFrame f;
  while ((f = expected.Step()).What == TacFlightFrame::Shown) want.push_back(f.Alpha);
  want.push_back(255);
  const std::vector<int> alphas = LayeredWindowRecorder::AlphasOf(picture);
  EXPECT_EQ(alphas, want);
  EXPECT_FALSE(IsWindow(picture));
  EXPECT_TRUE(IsWindowVisible(Wnd()));
  EXPECT_FALSE(IsIconic(Wnd()));
  EXPECT_EQ(WindowAlpha(), -1);
}

// A classic taskbar: window buttons in a toolbar inside a rebar, in a window "Shell_TrayWnd"
// at the bottom of the screen. Each button's data points at the handle of its window.
class ClassicTaskbar {
 public:
  explicit ClassicTaskbar(HWND app) : app_(app) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    for (const char* name : {"Shell_TrayWnd", "ReBarWindow32", "MSTaskSwWClass"}) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = name;
      RegisterClassA(&wc);
    }
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    tray_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE, 0, h - 40, w,
                            40, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND rebar = CreateWindowExA(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE, 60, 0, w - 60, 40, tray_, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    HWND tasks = CreateWindowExA(0, "MSTaskSwWClass", "", WS_CHILD | WS_VISIBLE, 20, 0, w - 80, 40, rebar, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER, 10, 4,
                               w - 100, 32, tasks, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(150, 28));
    // A separator, the application's button hidden, another window's, the application's.
    TBBUTTON buttons[4] = {};
    const BYTE states[4] = {TBSTATE_ENABLED, TBSTATE_ENABLED | TBSTATE_HIDDEN, TBSTATE_ENABLED, TBSTATE_ENABLED};
    const BYTE styles[4] = {BTNS_SEP, BTNS_BUTTON, BTNS_BUTTON, BTNS_BUTTON};
    HWND* owners[4] = {nullptr, &app_, &other_, &app_};
    for (int i = 0; i < 4; ++i) {
      buttons[i].iBitmap = I_IMAGENONE;
      buttons[i].idCommand = 100 + i;
      buttons[i].fsState = states[i];
      buttons[i].fsStyle = styles[i];
      buttons[i].dwData = reinterpret_cast<DWORD_PTR>(owners[i]);
    }
    SendMessageA(toolbar_, TB_ADDBUTTONSA, 4, reinterpret_cast<LPARAM>(buttons));
  }
  ~ClassicTaskbar() { DestroyWindow(tray_); }
  ClassicTaskbar(const ClassicTaskbar&) = delete;
  ClassicTaskbar& operator=(const ClassicTaskbar&) = delete;

  HWND Tray() const { return tray_; }
  // The application's button on the screen.
  TsRect AppButton() const {
    RECT r{}, at{};
    SendMessageA(toolbar_, TB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r));
    GetWindowRect(toolbar_, &at);
    return TsRect{r.left + at.left, r.top + at.top, r.right + at.left, r.bottom + at.top};
  }

 private:
  HWND app_;
  HWND other_ = reinterpret_cast<HWND>(static_cast<intptr_t>(0x1234));
  HWND tray_ = nullptr, toolbar_ = nullptr;
};

TEST_F(MinimizeFlight, OnAClassicTaskbarThePictureFliesToTheApplicationsButton) {
  ClassicTaskbar taskbar(Wnd());
  ASSERT_EQ(FindWindowA("Shell_TrayWnd", nullptr), taskbar.Tray());
  const TsRect button = taskbar.AppButton();
  ASSERT_FALSE(IsRectEmpty(button));
  ASSERT_GE(button.Top, GetSystemMetrics(SM_CYSCREEN) - 40);
  LayeredWindowRecorder recorder;
  const TsRect start = RectOf(Wnd());
  TacMinFlight expected;
  expected.Init(200, 255, start, [&](TsPoint) { return button; });
  Minimize();
  const HWND picture = Timer()->AnimationWindow();
  ASSERT_TRUE(WaitForTimer());
  const std::vector<LayeredShow> shows = ShowsOf(picture);
  ExpectFlight(shows, 1, expected, 12, SIZE{start.Right - start.Left, start.Bottom - start.Top});
  Restore();
  ASSERT_TRUE(WaitForTimer());
  Pump();
  EXPECT_TRUE(IsWindowVisible(Wnd()));
  EXPECT_EQ(WindowAlpha(), -1);
}

TEST_F(MinimizeFlight, FlightsLeakNoObjects) {
  ExpectNoObjectsLeft(
      [&](int n) {
        for (int i = 0; i < n; ++i) {
          Minimize();
          ASSERT_TRUE(WaitForTimer());
          Restore();
          ASSERT_TRUE(WaitForTimer());
        }
      },
      1, 5);
}

}  // namespace
