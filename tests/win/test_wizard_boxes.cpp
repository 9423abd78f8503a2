// The wizard's skinned check boxes and radio buttons: their faces read back from the screen,
// and mouse and keys from the X side, as a person uses them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "WizardTest.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sRadioButton.h"

namespace {

constexpr TColor kText = 9013657;   // CHECKBOX and RADIOBUTTON font colour
constexpr TColor kHot = 12632319;   // their hot font colour

// A radio button whose window behaves as Windows' own does (Wine's does not): an unchecked one
// that gains the focus tells its parent it was clicked.
class WindowsRadioButton : public TsRadioButton {
 public:
  using TsRadioButton::TsRadioButton;

 protected:
  void DefaultHandler(TMessage& m) override {
    TsRadioButton::DefaultHandler(m);
    if (m.Msg == WM_SETFOCUS && HandleAllocated() && !(SendMessageA(Handle(), BM_GETCHECK, 0, 0) & BST_CHECKED))
      SendMessageA(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), BN_CLICKED),
                   reinterpret_cast<LPARAM>(Handle()));
  }
};

class SkinnedBoxes : public WizardTest {
 protected:
  const TsSkinModel& Model() { return form->sSkinManager1->Model(); }

  // Pixels of the glyph at (x, y) of the form's client area that differ from cell `cell` of
  // the skin image; key-coloured (transparent) pixels of the image are not compared.
  int GlyphMismatches(const Bitmap32& shot, int x, int y, int32_t imageIndex, int cell) {
    EXPECT_GE(imageIndex, 0);
    if (imageIndex < 0) return -1;
    const TsMaskData& image = Model().Images[static_cast<size_t>(imageIndex)];
    const Bitmap32& src = Model().ImageBitmap(image);
    const TsRect c = image.CellRect(std::min(cell, image.ImageCount - 1));
    int mismatches = 0;
    for (int j = 0; j < c.Height(); ++j)
      for (int i = 0; i < c.Width(); ++i) {
        const TColor want = PixelToColor(src.At(c.Left + i, c.Top + j)) & 0xFFFFFF;
        if (want != clFuchsia && At(shot, x + i, y + j) != want) ++mismatches;
      }
    return mismatches;
  }
  // The glyph of a box as the screen shows it, against a cell of a skin image.
  int BoxGlyphMismatches(TWinControl* box, int32_t imageIndex, int cell) {
    const RECT r = InForm(box);
    return GlyphMismatches(CaptureAsIs(), r.left + 2, r.top + (box->Height() - 15) / 2, imageIndex, cell);
  }

  // The leftmost column of r that holds colour c, or -1.
  static int LeftmostColumn(const Bitmap32& shot, const RECT& r, TColor c) {
    for (int x = r.left; x < r.right; ++x)
      for (int y = r.top; y < r.bottom; ++y)
        if (At(shot, x, y) == c) return x - r.left;
    return -1;
  }

  // Waits for the box to settle (no fade running), then repaints and captures.
  template <class Box>
  Bitmap32 Settled(Box* box) {
    EXPECT_TRUE(PumpUntil([&] { return !box->Fading(); }));
    return Capture();
  }

  void MouseTo(TControl* c) {
    const POINT p = ScreenCentre(c);
    ASSERT_TRUE(XInput("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y)));
  }
  void MouseAway() { ASSERT_TRUE(XInput("mousemove 1 1")); }

  static LRESULT GetCheck(TWinControl* c) { return SendMessageA(c->Handle(), BM_GETCHECK, 0, 0); }
};

TEST_F(SkinnedBoxes, DesktopIconBoxShowsTheSkinGlyphAndCaptionInTheSkinColours) {
  form->ShowPage(form->sPanel_3_install);
  TsCheckBox* box = form->sCheckBox1;
  MouseAway();
  form->sEdit1->SetFocus();
  Pump();
  // AutoSize: the caption (13 high) and 2 x Margin, plus 2.
  EXPECT_EQ(box->Height(), 19);
  const Bitmap32 shot = Settled(box);
  SaveWindowScreenshot(form->Handle(), "boxes-path-page");
  const RECT r = InForm(box);
  EXPECT_EQ(BoxGlyphMismatches(box, Model().Cache.BoxUnchecked, 0), 0);
  EXPECT_GT(BoxGlyphMismatches(box, Model().Cache.BoxChecked, 0), 0);  // the cells differ

  // The caption starts at x 21 (Margin 2 + glyph 15 + 4): its first ink lies where the font
  // puts the first letter's ink when drawn at 21.
  TBitmap probe(40, 20, true);
  TCanvas& canvas = probe.Canvas();
  canvas.Font().Assign(box->Font());
  canvas.Font().SetColor(clBlack);
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(RECT{0, 0, 40, 20});
  canvas.TextOut(0, 0, box->Caption());
  const int ink = LeftmostColumn(probe.View(), RECT{0, 0, 40, 20}, clBlack);
  EXPECT_EQ(LeftmostColumn(shot, r, kText), 21 + ink);
  EXPECT_FALSE(Colours(shot, r).count(kHot));

  box->SetChecked(true);
  Settled(box);
  EXPECT_EQ(BoxGlyphMismatches(box, Model().Cache.BoxChecked, 0), 0);

  // The mouse over it: hot caption colour and the hot cell.
  MouseTo(box);
  ASSERT_TRUE(PumpUntil([&] { return box->SkinData().MouseOver; }));
  const Bitmap32 hot = Settled(box);
  SaveWindowScreenshot(form->Handle(), "boxes-desktop-icon-hot");
  EXPECT_TRUE(Colours(hot, r).count(kHot));
  EXPECT_FALSE(Colours(hot, r).count(kText));
  EXPECT_EQ(BoxGlyphMismatches(box, Model().Cache.BoxChecked, 1), 0);
  box->SetChecked(false);
}

TEST_F(SkinnedBoxes, LicenceRadioButtonsCheckOnReleaseOnceAndExclusively) {
  TsRadioButton* yes = form->sRadioButton1;
  TsRadioButton* no = form->sRadioButton2;
  int yesClicks = 0, noClicks = 0;
  auto yesClick = yes->OnClick, noClick = no->OnClick;
  yes->OnClick = [&, yesClick](TObject* s) { ++yesClicks; yesClick(s); };
  no->OnClick = [&, noClick](TObject* s) { ++noClicks; noClick(s); };
  TButton* next = form->sButton_next2;
  ASSERT_FALSE(next->Enabled());

  MouseTo(yes);
  ASSERT_TRUE(XInput("mousedown 1"));
  ASSERT_TRUE(PumpUntil([&] { return yes->Pressed(); }));
  // Pressed, not yet released: nothing has changed but the look.
  EXPECT_FALSE(yes->Checked());
  EXPECT_EQ(GetCheck(yes), BST_UNCHECKED);
  EXPECT_FALSE(next->Enabled());
  EXPECT_EQ(yesClicks, 0);
  Settled(yes);
  SaveWindowScreenshot(form->Handle(), "boxes-radio-pressed");
  EXPECT_EQ(BoxGlyphMismatches(yes, Model().Cache.RadioUnchecked, 2), 0);

  ASSERT_TRUE(XInput("mouseup 1"));
  ASSERT_TRUE(PumpUntil([&] { return yes->Checked(); }));
  EXPECT_EQ(GetCheck(yes), BST_CHECKED);
  EXPECT_TRUE(next->Enabled());
  EXPECT_EQ(yesClicks, 1);
  // Checked shows RADIOCHECKED's one cell, hot or pressed alike.
  Settled(yes);
  SaveWindowScreenshot(form->Handle(), "boxes-radio-checked-hot");
  EXPECT_EQ(yes->GlyphState(), 1);
  EXPECT_EQ(BoxGlyphMismatches(yes, Model().Cache.RadioChecked, 0), 0);
  ASSERT_TRUE(XInput("mousedown 1"));
  ASSERT_TRUE(PumpUntil([&] { return yes->Pressed(); }));
  Settled(yes);
  EXPECT_EQ(BoxGlyphMismatches(yes, Model().Cache.RadioChecked, 0), 0);
  ASSERT_TRUE(XInput("mouseup 1"));
  ASSERT_TRUE(PumpUntil([&] { return !yes->Pressed(); }));
  EXPECT_EQ(yesClicks, 1);  // no change, no click

  MouseTo(no);
  ASSERT_TRUE(XInput("click 1"));
  ASSERT_TRUE(PumpUntil([&] { return no->Checked(); }));
  EXPECT_FALSE(yes->Checked());
  EXPECT_EQ(GetCheck(yes), BST_UNCHECKED);
  EXPECT_EQ(GetCheck(no), BST_CHECKED);
  EXPECT_FALSE(next->Enabled());
  EXPECT_EQ(noClicks, 1);
  Settled(no);
  EXPECT_EQ(BoxGlyphMismatches(yes, Model().Cache.RadioUnchecked, 0), 0);

  // Changes by program, and BM_SETCHECK from outside, keep the pair and Windows agreeing.
  yes->SetChecked(true);
  EXPECT_EQ(GetCheck(yes), BST_CHECKED);
  EXPECT_EQ(GetCheck(no), BST_UNCHECKED);
  EXPECT_TRUE(next->Enabled());
  SendMessageA(no->Handle(), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_TRUE(no->Checked());
  EXPECT_FALSE(yes->Checked());
  EXPECT_EQ(GetCheck(yes), BST_UNCHECKED);
  EXPECT_FALSE(next->Enabled());
  EXPECT_EQ(yesClicks, 2);
  EXPECT_EQ(noClicks, 2);
}

// The wizard's boxes draw no focus frame: focused, each looks just as it does under the mouse.
TEST_F(SkinnedBoxes, FocusedBoxesLookAsUnderTheMouseWithoutAFocusFrame) {
  struct Case {
    TsPanel* page;
    TWinControl* box;
    const char* shot;
  };
  form->sCheckBox4->SetVisible(true);
  const Case cases[] = {{form->sPanel_3_install, form->sCheckBox1, "boxes-focused-desktop-icon"},
                        {form->sPanel_4_finish, form->sCheckBox4, "boxes-focused-launch"},
                        {form->sPanel_2_license, form->sRadioButton1, "boxes-focused-licence-yes"},
                        {form->sPanel_2_license, form->sRadioButton2, "boxes-focused-licence-no"}};
  // The box's look once it has stopped changing: no fade running, and two pictures in a row
  // alike (a fade may not have started yet when the mouse's arrival is first seen).
  auto settled = [&](TWinControl* box) {
    const RECT r = InForm(box);
    auto same = [&](const Bitmap32& a, const Bitmap32& b) {
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
          if (At(a, x, y) != At(b, x, y)) return false;
      return true;
    };
    Bitmap32 last = Capture();
    for (int round = 0; round < 50; ++round) {
      PumpUntil([&] {
        if (auto* c = dynamic_cast<TsCheckBox*>(box)) return !c->Fading();
        return !static_cast<TsRadioButton*>(box)->Fading();
      });
      Sleep(40);
      Bitmap32 now = Capture();
      if (same(now, last)) return now;
      last = std::move(now);
    }
    return last;
  };
  auto mouseOver = [](TWinControl* box) {
    if (auto* c = dynamic_cast<TsCheckBox*>(box)) return c->SkinData().MouseOver;
    return static_cast<TsRadioButton*>(box)->SkinData().MouseOver;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shot);
    form->ShowPage(c.page);
    ::SetFocus(form->Handle());
    MouseAway();
    const Bitmap32 plain = settled(c.box);
    MouseTo(c.box);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() != c.box->Handle() && mouseOver(c.box); }));
    const Bitmap32 hovered = settled(c.box);
    MouseAway();
    c.box->SetFocus();
    const Bitmap32 focused = settled(c.box);
    SaveWindowScreenshot(form->Handle(), c.shot);
    const RECT r = InForm(c.box);
    int differing = 0, changedByHover = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        differing += At(focused, x, y) != At(hovered, x, y);
        changedByHover += At(plain, x, y) != At(hovered, x, y);
      }
    EXPECT_GT(changedByHover, 10) << "the hot look differs from the plain one";
    EXPECT_EQ(differing, 0);
  }
  form->sCheckBox4->SetVisible(false);
}

// Windows reports a click when an unchecked radio button gains the focus. Taking the focus,
// by program or by a press, must not check it: only Space or a released click does.
TEST_F(SkinnedBoxes, ARadioButtonGainingTheFocusIsNotCheckedByIt) {
  auto* radio = new WindowsRadioButton(form);
  radio->SetParent(form->sGroupBox1);
  radio->SetBounds(130, 16, 90, 19);
  radio->SkinData().SetSkinSection("RADIOBUTTON");
  radio->SetCaption("Perhaps.");
  int clicks = 0;
  radio->OnClick = [&](TObject*) { ++clicks; };
  Pump();
  ASSERT_TRUE(radio->SkinData().IsSkinned());
  form->sRadioButton1->SetFocus();
  Pump();
  radio->SetFocus();
  Pump();
  EXPECT_EQ(GetFocus(), radio->Handle());
  EXPECT_FALSE(radio->Checked());
  EXPECT_EQ(clicks, 0);
  // Space still checks it, once.
  ASSERT_TRUE(XInput("key space"));
  ASSERT_TRUE(PumpUntil([&] { return radio->Checked(); }));
  EXPECT_EQ(clicks, 1);
  // A press from elsewhere takes the focus; the release checks.
  radio->SetChecked(false);
  form->sRadioButton1->SetFocus();
  Pump();
  clicks = 0;
  MouseTo(radio);
  ASSERT_TRUE(XInput("mousedown 1"));
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == radio->Handle(); }));
  EXPECT_FALSE(radio->Checked()) << "pressed, not released";
  ASSERT_TRUE(XInput("mouseup 1"));
  ASSERT_TRUE(PumpUntil([&] { return radio->Checked(); }));
  EXPECT_EQ(clicks, 1);
  MouseAway();
  delete radio;
}

TEST_F(SkinnedBoxes, CheckBoxTogglesOncePerSpaceOrClickCyclesGrayedAndReadOnlyIgnoresBoth) {
  form->ShowPage(form->sPanel_3_install);
  TsCheckBox* box = form->sCheckBox1;
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  box->SetFocus();
  Pump();
  ASSERT_TRUE(XInput("key space"));
  ASSERT_TRUE(PumpUntil([&] { return box->Checked(); }));
  Pump(10);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(GetCheck(box), BST_CHECKED);
  EXPECT_EQ(clicks, 1);

  box->SetChecked(false);
  EXPECT_EQ(GetCheck(box), BST_UNCHECKED);
  box->SetAllowGrayed(true);
  MouseTo(box);
  ASSERT_TRUE(XInput("click 1"));
  ASSERT_TRUE(PumpUntil([&] { return box->State() == TCheckBoxState::cbGrayed; }));
  EXPECT_EQ(GetCheck(box), BST_INDETERMINATE);
  Settled(box);
  SaveWindowScreenshot(form->Handle(), "boxes-grayed");
  EXPECT_EQ(BoxGlyphMismatches(box, Model().Cache.BoxGrayed, box->GlyphState()), 0);
  ASSERT_TRUE(XInput("click 1"));
  ASSERT_TRUE(PumpUntil([&] { return box->State() == TCheckBoxState::cbChecked; }));
  ASSERT_TRUE(XInput("click 1"));
  ASSERT_TRUE(PumpUntil([&] { return box->State() == TCheckBoxState::cbUnchecked; }));
  EXPECT_EQ(clicks, 5);

  // A state set from outside is the box's state.
  SendMessageA(box->Handle(), BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(box->State(), TCheckBoxState::cbGrayed);
  EXPECT_EQ(GetCheck(box), BST_INDETERMINATE);
  box->SetState(TCheckBoxState::cbUnchecked);

  // Read-only: the mouse over it and focused, clicked and spaced, it neither changes nor looks hot.
  box->SetReadOnly(true);
  ASSERT_TRUE(XInput("click 1"));
  ASSERT_TRUE(XInput("key space"));
  Pump(20);
  EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
  EXPECT_EQ(GetCheck(box), BST_UNCHECKED);
  EXPECT_TRUE(box->SkinData().MouseOver);
  EXPECT_EQ(box->GlyphState(), 0);
  const Bitmap32 shot = Settled(box);
  SaveWindowScreenshot(form->Handle(), "boxes-readonly");
  const std::set<TColor> colours = Colours(shot, InForm(box));
  EXPECT_TRUE(colours.count(kText));
  EXPECT_FALSE(colours.count(kHot));
  EXPECT_EQ(BoxGlyphMismatches(box, Model().Cache.BoxUnchecked, 0), 0);
}

TEST_F(SkinnedBoxes, DisabledBoxIsFortyPercentFaceOverSixtyPercentBackground) {
  form->ShowPage(form->sPanel_3_install);
  TsCheckBox* box = form->sCheckBox1;
  MouseAway();
  form->sEdit1->SetFocus();
  box->SetChecked(true);
  const Bitmap32 face = Settled(box);
  box->SetVisible(false);
  const Bitmap32 behind = Capture();
  box->SetVisible(true);
  box->SetEnabled(false);
  const Bitmap32 disabled = Settled(box);
  SaveWindowScreenshot(form->Handle(), "boxes-disabled");
  const RECT r = InForm(box);
  int differs = 0, wrong = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const Pixel32 f = face.At(x, y), b = behind.At(x, y), d = disabled.At(x, y);
      auto mix = [](uint8_t p, uint8_t c) { return static_cast<uint8_t>((6 * p + 4 * c + 5) / 10); };
      if (d.R != mix(b.R, f.R) || d.G != mix(b.G, f.G) || d.B != mix(b.B, f.B)) ++wrong;
      if (At(face, x, y) != At(behind, x, y)) ++differs;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(differs, 50);  // glyph and caption were there to blend
  box->SetEnabled(true);
  box->SetChecked(false);
}

}  // namespace
