// Where check boxes and radio buttons put glyph and caption, for the placements the wizard
// does not show: glyph on the right, right-to-left reading, wrapped captions, own glyphs.
#include <gtest/gtest.h>

#include "skin/render/sBoxLayout.h"

namespace {

TsBoxLayout Box(int width, int height) {
  TsBoxLayout l;
  l.Width = width;
  l.Height = height;
  l.Glyph = TsBoxSize{15, 15};
  return l;
}

TEST(BoxLayout, GlyphAndCaptionSidesFollowAlignmentAndReading) {
  TsBoxLayout l = Box(132, 19);
  EXPECT_EQ(BoxGlyphRect(l), (TsRect{2, 2, 17, 17}));
  bool right = true;
  // Caption right of the glyph, 100 wide and 13 high: left at 21, one pixel up.
  EXPECT_EQ(BoxCaptionRect(l, TsBoxSize{100, 13}, &right), (TsRect{21, 2, 121, 15}));
  EXPECT_FALSE(right);

  l.RightToLeft = true;
  EXPECT_EQ(BoxCaptionRect(l, TsBoxSize{100, 13}, &right), (TsRect{11, 2, 111, 15}));
  EXPECT_TRUE(right);
  l.WordWrap = true;  // wrapped text centres itself, so no DT_RIGHT; one pixel left and up
  EXPECT_EQ(BoxCaptionRect(l, TsBoxSize{100, 26}, &right), (TsRect{10, 1, 110, 27}));
  EXPECT_FALSE(right);

  TsBoxLayout left = Box(132, 19);
  left.GlyphLeft = false;
  left.TextIndent = 3;
  EXPECT_EQ(BoxGlyphRect(left), (TsRect{115, 2, 130, 17}));
  // The whole caption space from the margin: 132 - 15 - 3 - 4 - 2 = 108 wide.
  EXPECT_EQ(BoxCaptionRect(left, TsBoxSize{50, 13}), (TsRect{2, 2, 110, 15}));
}

TEST(BoxLayout, TallCaptionsKeepTheMarginAndTheFocusFrameHugsTheCaption) {
  TsBoxLayout l = Box(80, 20);
  // Text taller than the control: the margin stays above it.
  EXPECT_EQ(BoxCaptionRect(l, TsBoxSize{40, 30}).Top, 2 - 1);
  const TsRect caption{21, 2, 61, 15};
  EXPECT_EQ(BoxFocusRect(l, caption), (TsRect{20, 2, 62, 15}));
  l.WordWrap = true;
  EXPECT_EQ(BoxFocusRect(l, caption), (TsRect{20, 2, 62, 16}));
}

TEST(BoxLayout, GlyphSizesAndAutoSize) {
  EXPECT_EQ(BitmapGlyphSize(48, 16), (TsBoxSize{16, 16}));  // three square cells
  EXPECT_EQ(BitmapGlyphSize(20, 16), (TsBoxSize{20, 16}));  // one picture
  EXPECT_EQ(BitmapGlyphSize(10, 16), (TsBoxSize{10, 16}));  // narrower than high
  TsMaskData strip;
  strip.R = TsRect{83, 74, 128, 89};
  strip.ImageCount = 3;
  EXPECT_EQ(SkinGlyphSize(strip), (TsBoxSize{15, 15}));
  TsMaskData own;
  own.Bmp = Bitmap32(39, 26);
  EXPECT_EQ(SkinGlyphSize(own), (TsBoxSize{13, 13}));

  EXPECT_EQ(BoxAutoSize(TsBoxSize{15, 15}, 2, 0, TsBoxSize{105, 13}, true), (TsBoxSize{132, 19}));
  EXPECT_EQ(BoxAutoSize(TsBoxSize{15, 15}, 2, 0, TsBoxSize{}, false), (TsBoxSize{19, 17}));
  EXPECT_EQ(BoxPlainAutoSize(TsBoxSize{105, 13}), (TsBoxSize{125, 20}));
}

}  // namespace
