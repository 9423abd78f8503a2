// Value syntaxes of skin options: integers, colours, image descriptors, border widths,
// state cells and gradient data.
#include <gtest/gtest.h>

#include "skin/data/acntUtils.h"
#include "skin/data/sMaskData.h"

namespace {

TEST(SkinValues, IntegersInDecimalAndBothHexForms) {
  EXPECT_EQ(ParseInt("1907997"), 1907997);
  EXPECT_EQ(ParseInt("-1"), -1);
  EXPECT_EQ(ParseInt(" 42 "), 42);
  EXPECT_EQ(ParseInt("0x1D1D1D"), 0x1D1D1D);
  EXPECT_EQ(ParseInt("$ff00ff"), 0xFF00FF);
  // An 8-digit hex value is a 32-bit pattern: the system colour COLOR_BTNFACE.
  EXPECT_EQ(ParseInt("$FF00000F"), static_cast<int32_t>(0xFF00000F));
  EXPECT_EQ(ParseInt("2147483647"), 2147483647);
  EXPECT_EQ(ParseInt("-2147483648"), INT32_MIN);
  for (const char* bad : {"", "?", "N/A", "12a", "0x", "$", "2147483648", "$100000000", "1 2", "--1"})
    EXPECT_FALSE(ParseInt(bad).has_value()) << bad;
  EXPECT_THROW(StrToInt("yes"), EConvertError);
  try {
    StrToInt("abc");
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
  }
}

TEST(SkinValues, VersionUsesDotWhateverTheLocale) {
  EXPECT_DOUBLE_EQ(ParseFloatDot("7.00").value(), 7.0);
  EXPECT_DOUBLE_EQ(ParseFloatDot("6.5").value(), 6.5);
  EXPECT_FALSE(ParseFloatDot("7,5").has_value());
  EXPECT_FALSE(ParseFloatDot("seven").has_value());
}

uint32_t TestSysColor(int index) { return index == 15 ? 0x00C0D0E0u : 0x00010203u; }

TEST(SkinValues, SystemColoursResolveThroughThePlatform) {
  EXPECT_EQ(ColorToRGB(9013657, TestSysColor), 9013657);
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF00000F), TestSysColor), 0xC0D0E0);
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF000005), TestSysColor), 0x010203);
  // Without a platform function the standard scheme answers (window colour white).
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF000005), nullptr), 0xFFFFFF);
}

TEST(ValueShapes, FirstCharacterAndContentDecide) {
  EXPECT_EQ(ValueShape("@0128@0074@0173@0089@3@0"), TsValueShape::Image);
  EXPECT_EQ(ValueShape("^0000"), TsValueShape::Border);
  EXPECT_EQ(ValueShape("~0082"), TsValueShape::Texture);
  EXPECT_EQ(ValueShape("!CLOSEG.PNG!1"), TsValueShape::File);
  EXPECT_EQ(ValueShape("huge.bmp"), TsValueShape::BitmapFile);
  EXPECT_EQ(ValueShape("a#b.bmp"), TsValueShape::Legacy);
  EXPECT_EQ(ValueShape("#"), TsValueShape::None);
  EXPECT_EQ(ValueShape("1907997"), TsValueShape::None);
  EXPECT_EQ(ValueShape(""), TsValueShape::None);
  EXPECT_EQ(ValueShape("PICTURE.JPG"), TsValueShape::None);
}

TEST(Descriptors, ImageDescriptorGivesAGlyphStrip) {
  const TsMaskData m = ParseImageDescriptor("@0128@0074@0173@0089@3@0");
  EXPECT_EQ(m.R, (TsRect{128, 74, 173, 89}));
  EXPECT_EQ(m.ImageCount, 3);
  EXPECT_EQ(m.MaskType, 0);
  EXPECT_EQ(m.ImgType, itGlyph);
  EXPECT_EQ(m.WL + m.WT + m.WR + m.WB, 0);
  EXPECT_EQ(m.CellWidth(), 15);
  EXPECT_EQ(m.CellHeight(), 15);
  EXPECT_EQ(m.CellRect(2), (TsRect{158, 74, 173, 89}));
}

TEST(Descriptors, BorderDescriptorFieldsAndCells) {
  const TsMaskData b = ParseBorderDescriptor("^0000^0091^0240^0117^0004^0011^0004^0004^3^0^5^1");
  EXPECT_EQ(b.R, (TsRect{0, 91, 240, 117}));
  EXPECT_EQ(b.WL, 4);
  EXPECT_EQ(b.WT, 11);
  EXPECT_EQ(b.WR, 4);
  EXPECT_EQ(b.WB, 4);
  EXPECT_EQ(b.ImageCount, 3);
  EXPECT_EQ(b.DrawMode, 5);
  EXPECT_EQ(b.BorderMode, 1);
  EXPECT_EQ(b.ImgType, itBorder);
  EXPECT_EQ(b.CellWidth(), 80);
  EXPECT_EQ(b.CellHeight(), 26);
  EXPECT_EQ(b.CellRect(1), (TsRect{80, 91, 160, 117}));

  // A non-zero width keeps the others at 0 (no derivation).
  const TsMaskData div = ParseBorderDescriptor("^0171^0039^0178^0040^0001^0000^0000^0000^1^0^1^1");
  EXPECT_EQ(std::vector<int>({div.WL, div.WT, div.WR, div.WB}), std::vector<int>({1, 0, 0, 0}));
  const TsMaskData divv = ParseBorderDescriptor("^0004^0061^0005^0064^0000^0001^0000^0000^1^0^0^1");
  EXPECT_EQ(std::vector<int>({divv.WL, divv.WT, divv.WR, divv.WB}), std::vector<int>({0, 1, 0, 0}));
  EXPECT_EQ(divv.DrawMode, 0);
  EXPECT_EQ(divv.BorderMode, 1);
}

TEST(Descriptors, ZeroWidthsAreDerived) {
  const TsMaskData byMode = ParseBorderDescriptor("^0000^0000^0090^0030^0000^0000^0000^0000^3^0^0^2");
  EXPECT_EQ(std::vector<int>({byMode.WL, byMode.WT, byMode.WR, byMode.WB}), std::vector<int>({2, 2, 2, 2}));
  const TsMaskData bySize = ParseBorderDescriptor("^0000^0000^0090^0030^0000^0000^0000^0000^3^0^0^0");
  EXPECT_EQ(std::vector<int>({bySize.WL, bySize.WT, bySize.WR, bySize.WB}), std::vector<int>({10, 10, 10, 10}));
  // With a mask the cell is half as high: 60 / (2 * 3).
  const TsMaskData masked = ParseBorderDescriptor("^0000^0000^0090^0060^0000^0000^0000^0000^3^1^0^0");
  EXPECT_EQ(masked.WT, 10);
  EXPECT_EQ(masked.CellHeight(), 30);
  // No cells: nothing to divide by, and no crash.
  const TsMaskData none = ParseBorderDescriptor("^0000^0000^0090^0030^0000^0000^0000^0000^0^0^0^0");
  EXPECT_EQ(none.WL, 0);
  EXPECT_EQ(none.CellWidth(), 0);
}

TEST(Descriptors, TextureDescriptorMaskTypeIsOptional) {
  const TsMaskData t = ParseTextureDescriptor("~0082~0115~0158~0116~01~0");
  EXPECT_EQ(t.R, (TsRect{82, 115, 158, 116}));
  EXPECT_EQ(t.DrawMode, 1);
  EXPECT_EQ(t.MaskType, 0);
  EXPECT_EQ(t.ImageCount, 1);
  EXPECT_EQ(t.ImgType, itTexture);
  EXPECT_EQ(ParseTextureDescriptor("~0082~0115~0158~0116~10").DrawMode, 10);
  EXPECT_EQ(ParseTextureDescriptor("~0082~0115~0158~0116~01~1").MaskType, 1);
}

TEST(Descriptors, NonNumericFieldsEndTheLoad) {
  EXPECT_THROW(ParseImageDescriptor("@01x8@0074@0173@0089@3@0"), EConvertError);
  EXPECT_THROW(ParseImageDescriptor("@0128@0074@0173@0089@3"), EConvertError);  // no mask type
  EXPECT_THROW(ParseBorderDescriptor("^0000^0091^0240^0117^0004^0011^0004^0004^3^0^5^x"), EConvertError);
  EXPECT_THROW(ParseTextureDescriptor("~"), EConvertError);
  // Any separator character will do: only positions count.
  EXPECT_EQ(ParseImageDescriptor("@0128x0074-0173 0089/3_0").R, (TsRect{128, 74, 173, 89}));
}

TEST(Descriptors, FileDescriptorWords) {
  const TsFileDescriptor glow = ParseFileDescriptor("!CLOSEG.PNG!1!0!4!0000!0000!0000!0000!0");
  EXPECT_TRUE(glow.Valid);
  EXPECT_EQ(glow.FileName, "CLOSEG.PNG");
  EXPECT_EQ(glow.ImageCount, 1);
  EXPECT_EQ(glow.ImgType, 4);
  EXPECT_TRUE(glow.HasWidths);
  EXPECT_EQ(glow.DrawMode, 0);

  const TsFileDescriptor huge = ParseFileDescriptor("!HUGE.BMP!!3!0!0!0031!0031!0031!0031!4");  // "!!" is one separator
  EXPECT_EQ(huge.ImageCount, 3);
  EXPECT_EQ(huge.WL, 31);
  EXPECT_EQ(huge.DrawMode, 4);

  const TsFileDescriptor shortForm = ParseFileDescriptor("!A.PNG!2!1!9");
  EXPECT_EQ(shortForm.ImgType, 4);  // above 4 becomes 4
  EXPECT_FALSE(shortForm.HasWidths);
  EXPECT_EQ(shortForm.DrawMode, 1);
  EXPECT_FALSE(ParseFileDescriptor("!closeg.png!1!0!4").Valid);
  EXPECT_FALSE(ParseFileDescriptor("!").Valid);
}

TEST(Descriptors, LegacyDescriptor) {
  const TsMaskData m = ParseLegacyDescriptor("#IMG (10,20,70,50) (3,1,0,2)");
  EXPECT_EQ(m.R, (TsRect{10, 20, 70, 50}));
  EXPECT_EQ(m.ImageCount, 3);
  EXPECT_EQ(m.MaskType, 1);
  EXPECT_EQ(m.DrawMode, 2);
  EXPECT_EQ(m.WL, 60 / 9);
  EXPECT_EQ(m.WT, 30 / 6);
  const TsMaskData d = ParseLegacyDescriptor("#X (0,0,30,30) (0,-1,-2)");
  EXPECT_EQ(d.ImageCount, 1);
  EXPECT_EQ(d.MaskType, 0);
  EXPECT_EQ(d.BorderMode, 0);
  EXPECT_EQ(d.DrawMode, 1);
  EXPECT_THROW(ParseLegacyDescriptor("#X (0,0,30)"), EConvertError);
}

TEST(CellSize, MaskTypesAndCounts) {
  TsMaskData m;
  m.R = TsRect{0, 0, 31, 21};
  m.ImageCount = 1;
  EXPECT_EQ(m.CellWidth(), 31);
  m.ImageCount = 0;
  EXPECT_EQ(m.CellWidth(), 0);
  m.ImageCount = 2;
  EXPECT_EQ(m.CellWidth(), 15);
  m.MaskType = 1;
  EXPECT_EQ(m.CellHeight(), 10);
  m.MaskType = 2;
  EXPECT_EQ(m.CellHeight(), 7);
  m.MaskType = -1;
  EXPECT_EQ(m.CellHeight(), 0);
}

TEST(Gradients, GroupsOfFive) {
  EXPECT_TRUE(ParseGradientData("N/A").empty());
  EXPECT_TRUE(ParseGradientData("").empty());
  const TsGradArray two = ParseGradientData("41;0;97;0;0;0;0;0;0;0");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0], (GradientPiece{41, 0, 97, 0}));
  EXPECT_EQ(ParseGradientData("1;2;3;4;5;6;7").size(), 1u);  // 7 words: one group
  const TsGradArray four = ParseGradientData("16777215;2894936;34;0;0;2894936;0;2;0;0;0;0;61;0;0;0;0;0;0;0");
  ASSERT_EQ(four.size(), 4u);
  EXPECT_EQ(four[0], (GradientPiece{0xFFFFFF, 0x2C2C58, 34, 0}));
  EXPECT_EQ(four[2].Percent, 61);
}

TEST(Gradients, ClampsAndErrors) {
  const TsGradArray p = ParseGradientData("-5;7;150;1;x");  // the fifth word is never read
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].Color1, 0);
  EXPECT_EQ(p[0].Percent, 100);
  EXPECT_EQ(p[0].Mode, 1);
  EXPECT_EQ(ParseGradientData("1;2;-3;0;0")[0].Percent, 0);
  EXPECT_THROW(ParseGradientData("1;2;three;0;0"), EConvertError);
  EXPECT_THROW(ParseGradientData("1;;3;0;0"), EConvertError);
  EXPECT_NO_THROW(ParseGradientData("1;2;3;0;0;oops"));  // an incomplete group is ignored
}

}  // namespace
