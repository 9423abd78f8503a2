// Title-bar geometry: the wizard's close button and caption, big button sets with their
// overlap, user buttons, caption alignment, and the hit codes of every part of a frame.
#include <gtest/gtest.h>

#include "skin/render/sTitleLayout.h"

namespace {

// The wizard: a tool window 482 pixels wide with a 3-pixel frame, a 17-pixel caption and
// the skin's small close image (21 x 17); BISPACE -1, BIRIGHT 1, BIVALIGN 1.
TsTitleLayoutInput Wizard() {
  TsTitleLayoutInput in;
  in.WindowWidth = 482;
  in.Metrics = TsFrameMetrics{3, 17, 0};
  in.Space = -1;
  in.Right = 1;
  in.VAlign = 1;
  in.ButtonHeight = 17;
  in.System[tbClose] = TsTitleButtonSpec{true, 21, false};
  return in;
}

// A sizeable window with close, maximize and minimize from the big set (17 high).
TsTitleLayoutInput Sizeable() {
  TsTitleLayoutInput in = Wizard();
  in.Metrics = TsFrameMetrics{4, 18, 0};
  in.BigSetSpacing = true;
  in.System[tbClose] = TsTitleButtonSpec{true, 27, true};
  in.System[tbMaximize] = TsTitleButtonSpec{true, 23, true};
  in.System[tbMinimize] = TsTitleButtonSpec{true, 24, true};
  return in;
}

// A 482 x 300 window laid out by `li`, with the buttons of `shown` counted.
TsHitTestInput HitInput(const TsTitleLayoutInput& li, const TsTitleLayout& l, std::array<bool, kSystemButtons> shown) {
  TsHitTestInput in;
  in.WindowWidth = 482;
  in.WindowHeight = 300;
  in.Metrics = li.Metrics;
  in.Layout = &l;
  in.Shown = shown;
  return in;
}

TEST(TitleLayout, TheWizardHasOnlyItsCloseButtonAndALeftCaption) {
  const TsTitleLayout l = LayOutTitleButtons(Wizard());
  // Right edge at width - BIRIGHT - frame, centred in the 20-pixel title band.
  EXPECT_EQ(l.System[tbClose], (TsRect{457, 1, 478, 18}));
  for (int b : {tbMaximize, tbMinimize, tbHelp}) EXPECT_TRUE(IsRectEmpty(l.System[b])) << b;
  EXPECT_EQ(l.BlockWidth, 22);
  const TsRect area = CaptionTextArea(482, Wizard().Metrics, 0, 0, false, l.BlockWidth, false);
  EXPECT_EQ(area, (TsRect{7, 2, 448, 20}));
  // Too narrow for any text: no caption at all.
  EXPECT_TRUE(IsRectEmpty(CaptionTextArea(40, Wizard().Metrics, 0, 0, false, l.BlockWidth, false)));
}

TEST(TitleLayout, BigSetButtonsOverlapBySpacingAndSitAtTheTop) {
  TsTitleLayoutInput in = Sizeable();
  TsTitleLayout l = LayOutTitleButtons(in);
  EXPECT_EQ(l.System[tbClose], (TsRect{450, 0, 477, 17}));
  EXPECT_EQ(l.System[tbMaximize], (TsRect{428, 0, 451, 17}));  // one pixel over the close button
  EXPECT_EQ(l.System[tbMinimize], (TsRect{405, 0, 429, 17}));
  EXPECT_EQ(l.BlockWidth, 1 + 27 + 22 + 23);
  in.Maximized = true;
  EXPECT_EQ(LayOutTitleButtons(in).System[tbClose].Top, 3);
  // Without BIVALIGN 1 they are centred; small big-frame images are moved down by two.
  in.Maximized = false;
  in.VAlign = 0;
  EXPECT_EQ(LayOutTitleButtons(in).System[tbClose].Top, (22 - 17) / 2);
  in.ButtonHeight = 15;
  EXPECT_EQ(LayOutTitleButtons(in).System[tbClose].Top, (22 - 15) / 2 + 2);
}

TEST(TitleLayout, UserButtonsFollowAGapOfEight) {
  TsTitleLayoutInput in = Wizard();
  in.UserWidths = {21, 30};
  const TsTitleLayout l = LayOutTitleButtons(in);
  ASSERT_EQ(l.User.size(), 2u);
  EXPECT_EQ(l.User[0].Right, 457 - 8);
  EXPECT_EQ(l.User[1], (TsRect{449 - 21 - 30, 1, 449 - 21, 18}));
  EXPECT_EQ(l.BlockWidth, 22 + 8 + 21 + 30);
}

TEST(TitleLayout, CaptionTextIsCentredVerticallyAndAlignedInItsArea) {
  const TsRect area{7, 2, 448, 20};
  EXPECT_EQ(PlaceCaptionText(area, 100, 0, 13, TsCaptionAlign::Left), (TsRect{7, 4, 448, 17}));
  EXPECT_EQ(PlaceCaptionText(area, 100, 0, 13, TsCaptionAlign::Right), (TsRect{344, 4, 448, 17}));
  EXPECT_EQ(PlaceCaptionText(area, 100, 0, 13, TsCaptionAlign::Centre), (TsRect{175, 4, 275, 17}));
  // Text wider than the area keeps the area's edges (the text is cut with an ellipsis).
  EXPECT_EQ(PlaceCaptionText(area, 600, 0, 13, TsCaptionAlign::Right), (TsRect{7, 4, 448, 17}));
  EXPECT_EQ(PlaceCaptionText(area, 600, 0, 13, TsCaptionAlign::Centre), (TsRect{7, 4, 448, 17}));
}

TEST(TitleLayout, HitCodesOfButtonsBordersCaptionAndClient) {
  const TsTitleLayoutInput li = Sizeable();
  const TsTitleLayout l = LayOutTitleButtons(li);
  TsHitTestInput in = HitInput(li, l, {true, true, true, false});
  in.EnabledMax = in.EnabledMin = true;
  in.SizingFrame = true;
  auto at = [&](int x, int y) {
    in.Point = TsPoint{x, y};
    return TitleHitTest(in);
  };
  EXPECT_EQ(at(460, 8), kHtClose);
  EXPECT_EQ(at(450, 8), kHtClose);  // the overlapping column belongs to the close button
  EXPECT_EQ(at(440, 8), kHtMaxButton);
  EXPECT_EQ(at(410, 8), kHtMinButton);
  in.EnabledMax = false;
  EXPECT_EQ(at(440, 8), kHtCaption);  // a disabled maximize button is caption
  in.EnabledRestore = true;
  EXPECT_EQ(at(440, 8), kHtMaxButton);
  in.EnabledMin = false;
  EXPECT_EQ(at(410, 8), kHtCaption);
  in.Minimized = true;
  EXPECT_EQ(at(410, 8), kHtMinButton);
  in.Minimized = false;

  EXPECT_EQ(at(1, 1), kHtTopLeft);
  EXPECT_EQ(at(200, 2), kHtTop);
  EXPECT_EQ(at(480, 299), kHtBottomRight);
  EXPECT_EQ(at(0, 150), kHtLeft);
  EXPECT_EQ(at(478, 150), kHtRight);
  EXPECT_EQ(at(2, 298), kHtBottomLeft);
  EXPECT_EQ(at(200, 22), kHtCaption);  // the band's last row counts
  EXPECT_EQ(at(200, 23), kHtClient);
  in.Maximized = true;
  EXPECT_EQ(at(1, 150), kHtClient);  // no sizing borders while maximized
  in.Maximized = false;
  in.SizingFrame = false;
  EXPECT_EQ(at(1, 1), kHtCaption);

  in.Icon = TsRect{6, 3, 22, 19};
  EXPECT_EQ(at(10, 10), kHtSysMenu);
  in.Grip = TsRect{470, 288, 478, 296};
  EXPECT_EQ(at(471, 289), kHtBottomRight);
  EXPECT_EQ(at(469, 289), kHtClient);
  in.Metrics.MenuHeight = 18;
  EXPECT_EQ(at(200, 30), kHtMenu);
  EXPECT_EQ(at(200, 41), kHtClient);
}

TEST(TitleLayout, DisabledUserButtonsAreNotHit) {
  TsTitleLayoutInput li = Wizard();
  li.UserWidths = {21};
  const TsTitleLayout l = LayOutTitleButtons(li);
  TsHitTestInput in = HitInput(li, l, {true, false, false, false});
  in.UserEnabled = {true};
  in.Point = TsPoint{l.User[0].Left + 2, 5};
  EXPECT_EQ(TitleHitTest(in), kHtUserButton);
  in.UserEnabled = {false};
  EXPECT_EQ(TitleHitTest(in), kHtCaption);
}

}  // namespace
