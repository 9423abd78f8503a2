// The system's own message boxes while the wizard's skin is active: the window hook skins them
// as they open (frame, caption, close button, texts and buttons from the skin), a third box
// on screen stays plain, a dialog inside another window is left to its parent, and opening
// many boxes costs no objects.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "WizardTest.h"
#include "framework/Handles.h"
#include "skin/controls/acBtnWnd.h"
#include "skin/frame/acDialogWnd.h"
#include "skin/frame/acDials.h"
#include "skin/render/sStyleSimply.h"

namespace {

struct PendingBox {
  std::string title;
  std::function<void(HWND)> inside;
};
std::vector<PendingBox> gPending;

// Runs the newest pending check once its box is on screen, then closes that box.
VOID CALLBACK LookForBox(HWND, UINT, UINT_PTR id, DWORD) {
  if (gPending.empty()) return;
  const HWND box = FindWindowA("#32770", gPending.back().title.c_str());
  if (!box || !IsWindowVisible(box)) return;
  KillTimer(nullptr, id);
  const PendingBox pending = gPending.back();
  Pump();
  pending.inside(box);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

// Shows a message box owned by `owner`; `inside` looks at it while it is open.
int WithMessageBox(HWND owner, const std::string& title, std::function<void(HWND)> inside,
                   UINT buttons = MB_OK) {
  gPending.push_back({title, std::move(inside)});
  SetTimer(nullptr, 0, 50, &LookForBox);
  const int result = MessageBoxA(owner, "The skin engine shows this box.", title.c_str(), buttons | MB_ICONINFORMATION);
  gPending.pop_back();
  return result;
}

HWND ChildOfClass(HWND parent, const char* cls) { return FindWindowExA(parent, nullptr, cls, nullptr); }

INT_PTR CALLBACK NothingHandled(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The centre of a skinned box's close button on the screen.
POINT CloseButtonCentre(HWND box, const TacDialogWnd& handler) {
  RECT wr;
  GetWindowRect(box, &wr);
  const TsRect close = handler.CloseRect();
  return POINT{wr.left + (close.Left + close.Right) / 2, wr.top + (close.Top + close.Bottom) / 2};
}

using DialogBoxes = WizardTest;

TEST_F(DialogBoxes, AMessageBoxGetsTheSkinsFrameTextsAndButtons) {
  const TColor global = form->sSkinManager1->GetGlobalColor();
  const TColor text = form->sSkinManager1->GetGlobalFontColor();
  const int result = WithMessageBox(form->Handle(), "Kestamor box", [&](HWND box) {
    auto* handler = dynamic_cast<TacDialogWnd*>(TacMainWnd::Of(box));
    ASSERT_NE(handler, nullptr);
    EXPECT_TRUE(HandlesSkinCommands(box));
    EXPECT_NE(acFindProvider(box), nullptr);
    EXPECT_FALSE(GetWindowLongPtrA(box, GWL_STYLE) & WS_SYSMENU);
    const HWND ok = ChildOfClass(box, "Button");
    ASSERT_NE(ok, nullptr);
    EXPECT_NE(dynamic_cast<TacBtnWnd*>(TacMainWnd::Of(ok)), nullptr);
    EXPECT_NE(dynamic_cast<TacStaticWnd*>(TacMainWnd::Of(ChildOfClass(box, "Static"))), nullptr);
    // The dialog brush is the skin's colour.
    LOGBRUSH lb{};
    GetObjectA(reinterpret_cast<HBRUSH>(SendMessageA(box, WM_CTLCOLORDLG, 0, 0)), sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, static_cast<COLORREF>(ColorToRGB(global)));
    // A close button from the skin, and the corners cut.
    EXPECT_FALSE(IsRectEmpty(handler->CloseRect()));
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(box, region.get()), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));

    // On screen: the frame's bottom and side strips are the DIALOG section's, the text is in
    // the skin's text colour, and nothing is left of the platform's white or grey.
    RECT wr;
    GetWindowRect(box, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const Bitmap32 shot = CaptureScreen(wr);
    SaveWindowScreenshot(box, "dialogs-message-box");
    Bitmap32 expected(w, h);
    PaintSection(BindSection(form->sSkinManager1->Model(), "DIALOG"), BackgroundSource{}, true, expected,
                 TsPoint{0, 0}, TsRect{0, 0, w, h}, 1);
    const int side = handler->Metrics().SideBorder;
    int differing = 0;
    for (int y = h / 2; y < h - side; ++y)
      for (int x : {0, side - 1, w - side, w - 1}) differing += At(shot, x, y) != At(expected, x, y);
    for (int x = side; x < w - side; ++x) differing += At(shot, x, h - 1) != At(expected, x, h - 1);
    EXPECT_EQ(differing, 0);
    // Not from the painters: the title's top-left corner is the active FORMTITLE cell's (two
    // cells of 317 x 18, corner 6 x 9) in the archive's master bitmap.
    const MasterMatch corner = MatchMaster(shot, POINT{0, 0}, RECT{317, 0, 323, 9});
    EXPECT_GT(corner.Compared, 27);
    EXPECT_EQ(corner.Differing, 0);
    RECT st;
    GetWindowRect(ChildOfClass(box, "Static"), &st);
    bool textColour = false, platform = false;
    const POINT o = handler->ClientOrigin();
    RECT client;
    GetClientRect(box, &client);
    for (int y = o.y; y < o.y + client.bottom; ++y)
      for (int x = o.x; x < o.x + client.right; ++x) {
        const TColor c = At(shot, x, y);
        platform = platform || c == ColorToRGB(clBtnFace) || c == 0xFFFFFF;
        textColour = textColour || c == ColorToRGB(text);
      }
    EXPECT_TRUE(textColour);
    EXPECT_FALSE(platform);

    // The caption's right-click opens the skinned system menu.
    MenuWatcher watcher;
    const POINT caption{wr.left + w / 3, wr.top + handler->Metrics().TitleBandHeight() / 2};
    ASSERT_TRUE(XInput("mousemove " + std::to_string(caption.x) + " " + std::to_string(caption.y) + " click 3"));
    const std::vector<std::string> items = watcher.Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], "Move");
    EXPECT_EQ(items[1], "-");
    EXPECT_EQ(items[2].substr(0, 5), "Close");
  });
  EXPECT_EQ(result, IDOK);
}

TEST_F(DialogBoxes, TheSkinnedCloseButtonIsHotUnderTheMouseAndClosesTheBoxOnAClick) {
  const int result = WithMessageBox(
      form->Handle(), "Box to close",
      [&](HWND box) {
        auto* handler = dynamic_cast<TacDialogWnd*>(TacMainWnd::Of(box));
        ASSERT_NE(handler, nullptr);
        const POINT p = CloseButtonCentre(box, *handler);
        ASSERT_TRUE(XInput("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y)));
        EXPECT_TRUE(PumpUntil([&] { return handler->HotCode() == HTCLOSE; }));
        // The hot picture fades in over the button in a layered window of its own.
        ASSERT_NE(handler->CloseAnimation(), nullptr);
        EXPECT_NE(handler->CloseAnimation()->Window(), nullptr);
        ASSERT_TRUE(XInput("click 1"));
        // The box ends (it goes once the check returns to its message loop).
        EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(box); }));
      },
      MB_OKCANCEL);
  EXPECT_EQ(result, IDCANCEL);
}

// A press on the close button that does not end on it: released over the caption, released
// after a trip off the button and back, or cut off by a lost capture. None closes the box,
// and each lets go of the pressed picture (its window and timer go).
TEST_F(DialogBoxes, ThePressedCloseButtonLetsGoWhenThePressDoesNotEndOnIt) {
  const int result = WithMessageBox(
      form->Handle(), "Box kept open",
      [&](HWND box) {
        auto* handler = dynamic_cast<TacDialogWnd*>(TacMainWnd::Of(box));
        ASSERT_NE(handler, nullptr);
        RECT wr;
        GetWindowRect(box, &wr);
        const POINT on = CloseButtonCentre(box, *handler);
        const POINT caption{wr.left + (wr.right - wr.left) / 3, on.y};
        auto to = [](POINT p) {
          return " mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " sleep 0.2";
        };
        auto pressOnClose = [&] {
          ASSERT_TRUE(XInput(to(on)));
          ASSERT_TRUE(PumpUntil([&] { return handler->HotCode() == HTCLOSE; }));
          ASSERT_TRUE(XInput("mousedown 1 sleep 0.2"));
          ASSERT_TRUE(PumpUntil([&] { return handler->CloseAnimation() && handler->CloseAnimation()->State() == 2; }));
        };
        auto released = [&] {
          return PumpUntil([&] { return !handler->CloseAnimation() || !handler->CloseAnimation()->Window(); }, 2000);
        };

        pressOnClose();
        ASSERT_TRUE(XInput(to(caption) + " mouseup 1"));
        const bool goneOverCaption = released();
        SaveWindowScreenshot(box, "dialogs-close-released-over-caption");
        EXPECT_TRUE(goneOverCaption) << "released over the caption";
        EXPECT_TRUE(IsWindowVisible(box));

        pressOnClose();
        ASSERT_TRUE(XInput(to(caption) + to(on) + " mouseup 1"));
        Pump(20);
        EXPECT_TRUE(IsWindowVisible(box)) << "released after leaving the button";
        // Back under the mouse the button is hot again, not pressed.
        EXPECT_TRUE(PumpUntil([&] { return handler->CloseAnimation() && handler->CloseAnimation()->State() == 1; }));

        pressOnClose();
        SendMessageA(box, WM_CANCELMODE, 0, 0);
        const bool letGo =
            PumpUntil([&] { return !handler->CloseAnimation() || handler->CloseAnimation()->State() != 2; }, 2000);
        EXPECT_TRUE(letGo) << "capture lost";
        ASSERT_TRUE(XInput("mouseup 1"));
        Pump(20);
        EXPECT_TRUE(IsWindowVisible(box));
      },
      MB_OKCANCEL);
  EXPECT_EQ(result, IDOK);
}

TEST_F(DialogBoxes, SkinRemovalHandsAnOpenBoxBackToTheSystem) {
  TsSkinManager* m = form->sSkinManager1;
  WithMessageBox(form->Handle(), "Box kept open", [&](HWND box) {
    const HWND ok = ChildOfClass(box, "Button");
    m->SetActive(false);
    Pump();
    EXPECT_EQ(TacMainWnd::Of(box), nullptr);
    EXPECT_EQ(TacMainWnd::Of(ok), nullptr);
    EXPECT_TRUE(GetWindowLongPtrA(box, GWL_STYLE) & WS_SYSMENU);
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(box, region.get()), ERROR);
    SaveWindowScreenshot(box, "dialogs-skin-removed");
    m->SetActive(true);
    Pump();
  });
}

TEST_F(DialogBoxes, AThirdBoxOnScreenKeepsThePlatformsLook) {
  bool second = false, third = true;
  WithMessageBox(form->Handle(), "First box", [&](HWND first) {
    WithMessageBox(first, "Second box", [&](HWND box2) {
      second = TacMainWnd::Of(box2) != nullptr;
      WithMessageBox(box2, "Third box", [&](HWND box3) {
        third = TacMainWnd::Of(box3) != nullptr;
        SaveWindowScreenshot(box3, "dialogs-third-box");
      });
    });
  });
  EXPECT_TRUE(second);
  EXPECT_FALSE(third);
}

TEST_F(DialogBoxes, ADialogInsideAnotherWindowGetsNoDialogHandler) {
  struct {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } tpl{};
  tpl.t.style = WS_CHILD | WS_VISIBLE | DS_CONTROL;
  tpl.t.cx = 50;
  tpl.t.cy = 20;
  HWND page = CreateDialogIndirectParamA(nullptr, &tpl.t, form->Handle(), &NothingHandled, 0);
  ASSERT_NE(page, nullptr);
  Pump();
  EXPECT_EQ(TacMainWnd::Of(page), nullptr);
  EXPECT_EQ(acFindProvider(page), nullptr);
  DestroyWindow(page);
}

// A hue change while a box is open reaches the box too: its frame and background take the
// new colours at once.
TEST_F(DialogBoxes, AnOpenBoxFollowsAHueChange) {
  TsSkinManager& manager = *form->sSkinManager1;
  WithMessageBox(form->Handle(), "Box through a hue change", [&](HWND box) {
    auto* handler = dynamic_cast<TacDialogWnd*>(TacMainWnd::Of(box));
    ASSERT_NE(handler, nullptr);
    RECT wr;
    GetWindowRect(box, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top, side = handler->Metrics().SideBorder;
    auto painted = [&] {
      Bitmap32 expected(w, h);
      PaintSection(BindSection(manager.Model(), "DIALOG"), BackgroundSource{}, true, expected, TsPoint{0, 0},
                   TsRect{0, 0, w, h}, 1);
      return expected;
    };
    // Pixels of the frame's sides and bottom where a and b differ.
    auto frameDifferences = [&](const Bitmap32& a, const Bitmap32& b) {
      int n = 0;
      for (int y = h / 2; y < h - side; ++y)
        for (int x : {0, side - 1, w - side, w - 1}) n += At(a, x, y) != At(b, x, y);
      for (int x = side; x < w - side; ++x) n += At(a, x, h - 1) != At(b, x, h - 1);
      return n;
    };
    Pump();
    const Bitmap32 before = painted();
    ASSERT_EQ(frameDifferences(CaptureScreen(wr), before), 0);
    manager.SetHueOffset(120);
    Pump();
    const Bitmap32 shot = CaptureScreen(wr);
    SaveWindowScreenshot(box, "dialogs-box-after-hue-change");
    const Bitmap32 after = painted();
    EXPECT_GT(frameDifferences(before, after), 0) << "the hue change shows in the frame";
    EXPECT_EQ(frameDifferences(shot, after), 0);
    manager.SetHueOffset(0);
    Pump();
    EXPECT_EQ(frameDifferences(CaptureScreen(wr), before), 0);
  });
}

// A dialog whose one control is a picture (a bitmap static), checked on screen from inside it.
struct PictureDialog {
  HBITMAP picture = nullptr;
  bool skinned = false;
  int red = -1, pixels = 0;

  static INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrA(dlg, DWLP_USER, lParam);
      SendDlgItemMessageA(dlg, 100, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(reinterpret_cast<PictureDialog*>(lParam)->picture));
      SetTimer(dlg, 1, 300, nullptr);
      return TRUE;
    }
    if (msg != WM_TIMER) return FALSE;
    KillTimer(dlg, 1);
    auto* self = reinterpret_cast<PictureDialog*>(GetWindowLongPtrA(dlg, DWLP_USER));
    const HWND picture = GetDlgItem(dlg, 100);
    self->skinned = TacMainWnd::Of(dlg) != nullptr && TacMainWnd::Of(picture) != nullptr;
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r;
    GetWindowRect(picture, &r);
    const Bitmap32 shot = CaptureScreen(r);
    self->red = 0;
    self->pixels = shot.Width() * shot.Height();
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width(); ++x) self->red += At(shot, x, y) == 0x0000FF;
    SaveWindowScreenshot(dlg, "dialogs-picture-static");
    EndDialog(dlg, IDOK);
    return TRUE;
  }

  void Run(HWND owner) {
    // A dialog template: the box, then one static control (class atom 0x82) of style SS_BITMAP.
    std::vector<WORD> t(64, 0);
    auto dword = [&](size_t at, DWORD v) { std::memcpy(&t[at], &v, sizeof v); };
    dword(0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE);
    t[4] = 1;                                  // one control
    t[5] = 10, t[6] = 10, t[7] = 120, t[8] = 60;  // x, y, cx, cy in dialog units
    // menu, class and title are empty (t[9..11]); the item starts on a DWORD boundary.
    dword(12, WS_CHILD | WS_VISIBLE | SS_BITMAP);
    t[16] = 10, t[17] = 10, t[18] = 40, t[19] = 30;
    t[20] = 100;                               // id
    t[21] = 0xFFFF, t[22] = 0x0082;            // the static class
    // title and creation data are empty (t[23], t[24]).
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(t.data()), owner, &Proc,
                            reinterpret_cast<LPARAM>(this));
  }
};

// The box's texts are the skin's to draw; a picture in it is left to the system.
TEST_F(DialogBoxes, APictureInASkinnedDialogStaysOnScreen) {
  HDC screen = GetDC(nullptr);
  PictureDialog d;
  d.picture = CreateCompatibleBitmap(screen, 30, 20);
  ReleaseDC(nullptr, screen);
  {
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, d.picture);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all{0, 0, 30, 20};
    FillRect(mem, &all, red);
    DeleteObject(red);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  d.Run(form->Handle());
  DeleteObject(d.picture);
  EXPECT_TRUE(d.skinned);
  EXPECT_GT(d.pixels, 100);
  EXPECT_EQ(d.red, d.pixels);
}

TEST_F(DialogBoxes, OpeningFiftyBoxesLeaksNoObjects) {
  ExpectNoObjectsLeft(
      [&](int n) {
        for (int i = 0; i < n; ++i) WithMessageBox(form->Handle(), "Box " + std::to_string(i), [](HWND) {});
      },
      1, 50);
  EXPECT_LE(acProviderCount(), 2);  // the wizard, and at most the last box until the next window goes
}

}  // namespace
