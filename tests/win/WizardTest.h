// A fixture for tests that drive the wizard window in this process, with what the screen
// shows of it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "WinTestSupport.h"
#include "image/BmpFile.h"
#include "installer/ResourceData.h"
#include "installer/Unit1.h"
#include "resources/installer/installer_resources.h"
#include "skin/data/acSkinPack.h"
#include "skin/render/sGraphUtils.h"

// A pixel's colour without alpha.
inline TColor At(const Bitmap32& b, int x, int y) { return PixelToColor(b.At(x, y)) & 0xFFFFFF; }

// The embedded skin's master bitmap read straight from the packed archive: an expectation for
// the screen that the engine's painters did not make.
inline const Bitmap32& GarnetMaster() {
  static const Bitmap32 master = [] {
    auto reader = std::make_unique<TacSkinConvertor>();
    TacMemoryStream source(LoadResourceBytes(IDR_GARNET));
    reader->SetSourceStream(&source);
    ReadArchive(reader);
    const TacImageItem* file = reader ? reader->FindFile("MASTER.BMP") : nullptr;
    return file ? ReadBmp(file->FileStream.Memory(), file->FileStream.Size()) : Bitmap32();
  }();
  return master;
}

// Compares `shot` from `at` on with the master bitmap's rectangle `from`, leaving out the
// pixels of the key colour (they show what lies behind).
struct MasterMatch {
  int Compared = 0, Differing = 0;
};
inline MasterMatch MatchMaster(const Bitmap32& shot, POINT at, const RECT& from) {
  constexpr TColor kKey = 0xFF00FF;
  const Bitmap32& master = GarnetMaster();
  MasterMatch m;
  if (master.Width() < from.right || master.Height() < from.bottom) return m;
  for (int y = from.top; y < from.bottom; ++y)
    for (int x = from.left; x < from.right; ++x) {
      const TColor want = At(master, x, y);
      if (want == kKey) continue;
      ++m.Compared;
      m.Differing += At(shot, at.x + x - from.left, at.y + y - from.top) != want;
    }
  return m;
}

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
