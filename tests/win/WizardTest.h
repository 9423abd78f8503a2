// A fixture for tests that drive the wizard window in this process, with what the screen
// shows of it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "WinTestSupport.h"
#include "installer/Unit1.h"
#include "skin/render/sGraphUtils.h"

// A pixel's colour without alpha.
inline TColor At(const Bitmap32& b, int x, int y) { return PixelToColor(b.At(x, y)) & 0xFFFFFF; }

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Installer = InstallerState{};
    form = NewForm<TForm1>(Application);
    form->Show();
    Pump();
  }
  void TearDown() override { delete form; }

  // The page panel whose window is on top at the pages' centre.
  TPanel* FrontPage() {
    POINT p{122 + 356 / 2, 101 + 322 / 2};
    HWND hit = ChildWindowFromPointEx(form->Handle(), p, CWP_SKIPINVISIBLE);
    for (TPanel* page : {form->sPanel_2_license, form->sPanel_3_install, form->sPanel_4_finish})
      if (page->Handle() == hit) return page;
    return nullptr;
  }

  // What the screen shows of the form's client area, after everything has repainted.
  Bitmap32 Capture() {
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    return CaptureAsIs();
  }
  // What the screen shows now, without asking for a repaint.
  Bitmap32 CaptureAsIs() {
    RECT r;
    GetClientRect(form->Handle(), &r);
    TBitmap shot(r.right, r.bottom, true);
    HDC screen = GetDC(form->Handle());
    BitBlt(shot.Canvas().Handle(), 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
    ReleaseDC(form->Handle(), screen);
    Bitmap32 view = shot.View();
    Bitmap32 copy(view.Width(), view.Height());
    CopyRect32(copy, 0, 0, view, TsRect{0, 0, view.Width(), view.Height()});
    return copy;
  }
  // A control's rectangle in the form's client coordinates.
  RECT InForm(TControl* c) {
    POINT p = c->Parent()->ClientToScreen(POINT{c->Left(), c->Top()});
    ScreenToClient(form->Handle(), &p);
    return RECT{p.x, p.y, p.x + c->Width(), p.y + c->Height()};
  }
  std::set<TColor> Colours(const Bitmap32& b, const RECT& r) {
    std::set<TColor> s;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) s.insert(At(b, x, y));
    return s;
  }

  TForm1* form = nullptr;
};
