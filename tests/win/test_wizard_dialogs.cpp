// The system's own message boxes while the wizard's skin is active: the window hook skins them
// as they open (frame, caption, close button, texts and buttons from the skin), a third box
// on screen stays plain, a dialog inside another window is left to its parent, and opening
// many boxes costs no objects.
#include <windows.h>

#include <gtest/gtest.h>

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
        RECT wr;
        GetWindowRect(box, &wr);
        const TsRect close = handler->CloseRect();
        const POINT p{wr.left + (close.Left + close.Right) / 2, wr.top + (close.Top + close.Bottom) / 2};
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

TEST_F(DialogBoxes, OpeningFiftyBoxesLeaksNoObjects) {
  ExpectNoObjectsLeft(
      [&](int n) {
        for (int i = 0; i < n; ++i) WithMessageBox(form->Handle(), "Box " + std::to_string(i), [](HWND) {});
      },
      1, 50);
  EXPECT_LE(acProviderCount(), 2);  // the wizard, and at most the last box until the next window goes
}

}  // namespace
