// Caption glow (kernel, blur, laying the mask over a bitmap) and "..." shortening.
#include <gtest/gtest.h>

#include <numeric>

#include "skin/render/acTextGlow.h"

namespace {

Pixel32 Px(uint8_t b, uint8_t g, uint8_t r, uint8_t a) { return Pixel32{b, g, r, a}; }

TEST(GlowKernel, CutWhereTheTailsWeighLessThanHalfAGreyLevel) {
  for (auto [size, j] : {std::pair{1, 3}, {2, 6}, {5, 15}, {10, 31}}) {
    const std::vector<double> k = GlowKernel(size);
    ASSERT_EQ(k.size(), static_cast<std::size_t>(2 * j + 1)) << size;
    EXPECT_NEAR(std::accumulate(k.begin(), k.end(), 0.0), 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(k.front(), k.back());
    EXPECT_GT(k[static_cast<std::size_t>(j)], k[static_cast<std::size_t>(j - 1)]);
  }
  EXPECT_EQ(GlowKernel(200).size(), 201u);  // never wider than the 201 weights
}

TEST(GlowBlur, SpreadsSymmetricallyAndRepeatsTheEdges) {
  TsGlowMask m;
  m.Allocate(21, 15, 255);
  m.At(10, 7) = 0;
  BlurGlowMask(m, 2);
  EXPECT_LT(m.At(10, 7), 255);
  EXPECT_LT(m.At(10, 7), m.At(11, 7));
  EXPECT_EQ(m.At(9, 7), m.At(11, 7));
  EXPECT_EQ(m.At(10, 6), m.At(10, 8));
  EXPECT_EQ(m.At(0, 0), 255);
  // Ink along the left edge stays dark there: positions beyond the edge repeat it.
  TsGlowMask e;
  e.Allocate(12, 3, 255);
  for (int y = 0; y < 3; ++y) e.At(0, y) = e.At(1, y) = 0;
  BlurGlowMask(e, 1);
  EXPECT_LT(e.At(0, 1), e.At(1, 1));
  EXPECT_LT(e.At(0, 1), 60);
  EXPECT_EQ(e.At(0, 0), e.At(0, 2));  // uniform columns stay uniform
  EXPECT_EQ(e.At(11, 1), 255);
}

TEST(GlowApply, MixesTowardsTheGlowColourAndRaisesAlpha) {
  Bitmap32 b(6, 4);
  b.Fill(Px(0, 0, 0, 0));
  b.At(4, 2) = Px(0, 255, 100, 128);
  TsGlowMask m;
  const int size = 1;  // the mask starts 5 pixels up and left of the text
  m.Allocate(10, 8, 255);
  m.At(5, 5) = 0;
  m.At(6, 5) = 128;
  m.At(9, 7) = 255;
  m.At(0, 0) = 0;  // lands at (-2, -2): outside
  const TsRect text{3, 3, 5, 5};
  ApplyGlowMask(b, m, text, 0x0000C8, size);  // red 200
  EXPECT_EQ(b.At(3, 3), Px(0, 0, 200, 255));
  // 200 + 128 * (0 - 200) div 255: the quotient goes toward zero (-100), not down (-101).
  EXPECT_EQ(b.At(4, 3), Px(0, 0, 100, 127));
  EXPECT_EQ(b.At(4, 2), Px(0, 255, 100, 128));
  EXPECT_EQ(b.At(0, 0), Px(0, 0, 0, 0));
  // Far from the bitmap nothing is touched.
  ApplyGlowMask(b, m, TsRect{100, -100, 110, -90}, 0xFFFFFF, size);
}

TEST(CutText, DotsReplaceWhatDoesNotFit) {
  const auto width = [](std::string_view s) { return static_cast<int>(s.size()) * 7; };  // fixed pitch
  EXPECT_EQ(CutTextToWidth("Installation", 49, width), "Inst...");  // four letters and the dots
  EXPECT_EQ(CutTextToWidth("Installation", 20, width), "");         // not even "..."
  EXPECT_EQ(CutTextToWidth("Installation", 21, width), "");         // "..." alone is not a caption
  EXPECT_EQ(CutTextToWidth("Installation", 84, width), "Installation");
  EXPECT_EQ(CutTextToWidth("Installation", 0, width), "");
  EXPECT_EQ(CutTextToWidth("", 10, width), "");
}

}  // namespace
