// Gradients: band ends and interpolation of vertical and horizontal gradients, clipping, and
// the triangle fill of mode 2 against what GDI's GradientFill paints.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <utility>

#include "skin/render/sGradient.h"
#include "skin/render/sGraphUtils.h"

namespace {

Pixel32 Px(uint8_t b, uint8_t g, uint8_t r, uint8_t a = 255) { return Pixel32{b, g, r, a}; }

uint32_t Word(Pixel32 p) {
  uint32_t v;
  std::memcpy(&v, &p, 4);
  return v;
}

TEST(Gradient, WorkedExampleBandsEndAtRows8_8_23_25) {
  // The skin's text, painted as it stands: white to 0x2C2C58 over rows 0..8, then black.
  const TsGradArray g = ParseGradientData("16777215;2894936;34;0;0;2894936;0;2;0;0;0;0;61;0;0;0;0;0;0;0");
  Bitmap32 b(3, 26);
  PaintGradient(b, TsRect{0, 0, 3, 26}, g);
  EXPECT_EQ(b.At(0, 0), Px(255, 255, 255));
  EXPECT_EQ(b.At(2, 4), Px(150, 150, 172));  // 255 - 4 * 26.375 = 149.5 -> 150, 255 - 4 * 20.875 = 171.5 -> 172
  EXPECT_EQ(b.At(1, 7), Px(70, 70, 109));
  for (int y = 8; y < 26; ++y) EXPECT_EQ(b.At(0, y), Px(0, 0, 0)) << y;

  // The same percents with one plain colour per piece show where each band ends: a band
  // repaints the row where the one before it ended, and the empty second band is skipped.
  TsGradArray plain = g;
  const TColor colours[4] = {0x000011, 0x000022, 0x000033, 0x000044};
  for (int i = 0; i < 4; ++i) plain[static_cast<std::size_t>(i)].Color1 = plain[static_cast<std::size_t>(i)].Color2 = colours[i];
  PaintGradient(b, TsRect{0, 0, 3, 26}, plain);
  for (int y = 0; y < 26; ++y) {
    const uint8_t want = y < 8 ? 0x11 : y < 23 ? 0x33 : 0x44;
    EXPECT_EQ(b.At(1, y).R, want) << y;
  }
}

TEST(Gradient, LastBandReachesTheEndAndOffsetMovesTheStart) {
  // 10 % then 20 %: the second (last) piece still runs to the last row.
  TsGradArray g{{0x0000FF, 0x0000FF, 10, 0}, {0x00FF00, 0x00FF00, 20, 0}};
  Bitmap32 b(4, 20);
  PaintGradient(b, TsRect{1, 0, 3, 20}, g);
  EXPECT_EQ(b.At(1, 19), Px(0, 255, 0));
  EXPECT_EQ(b.At(0, 19), Pixel32{});  // columns outside the rectangle stay
  EXPECT_EQ(b.At(3, 19), Pixel32{});

  // An offset starts the first band lower; the rows above it are not painted.
  Bitmap32 o(2, 20);
  PaintGradient(o, TsRect{0, 0, 2, 20}, g, 5);
  EXPECT_EQ(o.At(0, 4), Pixel32{});
  EXPECT_EQ(o.At(0, 5), Px(0, 0, 255));
  EXPECT_EQ(o.At(0, 6), Px(0, 0, 255));  // ends (20 + 5) * 10 div 100 = 2 rows after the start,
  EXPECT_EQ(o.At(0, 7), Px(0, 255, 0));  // where the next band takes over
  // Offsets that push bands outside the rectangle never write outside the bitmap.
  PaintGradient(o, TsRect{0, 0, 2, 20}, g, -50);
  PaintGradient(o, TsRect{0, 0, 2, 20}, g, 1000);
}

TEST(Gradient, InterpolationRunsFromColour1ToColour2InclusiveAndClipsToTheBitmap) {
  TsGradArray g{{0x000000, 0x0000FF, 100, 0}};
  Bitmap32 b(2, 6);
  PaintGradient(b, TsRect{0, 0, 50, 6}, g);  // right beyond the bitmap
  // n = 5 rows of step 51.
  for (int y = 0; y < 6; ++y) EXPECT_EQ(b.At(1, y), Px(0, 0, static_cast<uint8_t>(51 * y))) << y;

  // Horizontal: end column = rounded(50 * (10 / 100) + 0) = 5; every row the same.
  TsGradArray h{{0xFF0000, 0x000000, 50, 1}, {0x00FF00, 0x00FF00, 50, 1}};
  Bitmap32 w(10, 3);
  PaintGradient(w, TsRect{0, 0, 10, 100}, h);
  EXPECT_EQ(w.At(0, 0), Px(255, 0, 0));
  EXPECT_EQ(w.At(4, 0), Px(51, 0, 0));
  for (int x = 5; x < 10; ++x) EXPECT_EQ(w.At(x, 2), Px(0, 255, 0)) << x;
  for (int x = 0; x < 10; ++x) EXPECT_EQ(w.At(x, 2), w.At(x, 0)) << x;
}

TEST(Gradient, NothingForEmptyInputsOrUnknownModes) {
  Bitmap32 b(4, 4);
  PaintGradient(b, TsRect{0, 0, 4, 4}, ParseGradientData("N/A"));
  PaintGradient(b, TsRect{0, 0, 4, 4}, TsGradArray{{0xFFFFFF, 0xFFFFFF, 100, 3}});
  PaintGradient(b, TsRect{2, 2, 2, 4}, TsGradArray{{0xFFFFFF, 0xFFFFFF, 100, 0}});
  PaintGradient(b, TsRect{4, 0, 8, 4}, TsGradArray{{0xFFFFFF, 0xFFFFFF, 100, 2}});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(b.At(x, y), Pixel32{});
}

// Pixels GDI's GradientFill wrote for one triangle (corners red, green, blue), as 0xAARRGGBB.
using Painted = std::map<std::pair<int, int>, uint32_t>;

Painted Fill(TsTriVertex a, TsTriVertex b, TsTriVertex c) {
  Bitmap32 bmp(12, 10);
  bmp.Fill(Px(1, 1, 1, 1));
  GradientFillTriangle(bmp, a, b, c);
  Painted out;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x)
      if (!(bmp.At(x, y) == Px(1, 1, 1, 1))) out[{x, y}] = Word(bmp.At(x, y));
  return out;
}

Painted Rows(std::initializer_list<std::pair<std::pair<int, int>, std::initializer_list<uint32_t>>> rows) {
  Painted out;
  for (const auto& [start, words] : rows) {
    int x = start.first;
    for (uint32_t w : words) out[{x++, start.second}] = w;
  }
  return out;
}

TEST(GradientTriangle, MatchesGdiCoverageAndColours) {
  const TsTriVertex red{0, 0, 0xFF00, 0, 0, 0xFF00}, green{0, 0, 0, 0xFF00, 0, 0xFF00}, blue{0, 0, 0, 0, 0xFF00, 0xFF00};
  auto at = [](TsTriVertex v, int x, int y) { return v.X = x, v.Y = y, v; };

  // A slanted triangle: spans from the left edge (included) to the right edge (excluded).
  EXPECT_EQ(Fill(at(red, 1, 1), at(green, 9, 3), at(blue, 4, 9)),
            Rows({{{2, 2}, {0xffce151a, 0xffb43911, 0xff995c08}},
                  {{2, 3}, {0xffb8083d, 0xff9e2b34, 0xff834f2b, 0xff697223, 0xff4f951a, 0xff34b811, 0xff1adb08}},
                  {{3, 4}, {0xff881e57, 0xff6d414f, 0xff536546, 0xff39883d, 0xff1eab34, 0xff04ce2b}},
                  {{3, 5}, {0xff72117b, 0xff573472, 0xff3d5769, 0xff237b60, 0xff089e57}},
                  {{3, 6}, {0xff5c049e, 0xff412795, 0xff274a8c, 0xff0d6d83}},
                  {{4, 7}, {0xff2b1ab8, 0xff113daf}},
                  {{4, 8}, {0xff150ddb}}}));

  // A vertex where two left edges meet is painted; the right column (x = 10) never is.
  EXPECT_EQ(Fill(at(red, 5, 4), at(green, 10, 0), at(blue, 10, 8)),
            Rows({{{9, 1}, {0xff33c506}},
                  {{8, 2}, {0xff668c0c, 0xff33a526}},
                  {{7, 3}, {0xff995213, 0xff666c2c, 0xff338546}},
                  {{5, 4}, {0xffff0000, 0xffcc1919, 0xff993333, 0xff664c4c, 0xff336666}},
                  {{7, 5}, {0xff991352, 0xff662c6c, 0xff334685}},
                  {{8, 6}, {0xff660c8c, 0xff3326a5}},
                  {{9, 7}, {0xff3306c5}}}));

  // Winding does not matter; a degenerate triangle paints nothing; far corners are clipped.
  EXPECT_EQ(Fill(at(red, 1, 1), at(blue, 4, 9), at(green, 9, 3)), Fill(at(red, 1, 1), at(green, 9, 3), at(blue, 4, 9)));
  EXPECT_TRUE(Fill(at(red, 0, 0), at(green, 5, 5), at(blue, 10, 10)).empty());
  EXPECT_EQ(Fill(at(red, -100000, -100000), at(green, 300000, -100000), at(blue, -100000, 300000)).size(), 120u);
}

TEST(Gradient, FourTrianglesCoverTheRectangleOnce) {
  // Mode 2: corners and centre take the pieces' first colours; a missing piece repeats the last.
  const TsGradArray g{{0x0000FF, 0, 0, 2}, {0xFFFFFF, 0, 0, 0}, {0x00FF00, 0, 0, 0}};
  Bitmap32 b(14, 12);
  PaintGradient(b, TsRect{1, 1, 13, 11}, g);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 14; ++x) {
      const bool in = x >= 1 && x < 13 && y >= 1 && y < 11;
      EXPECT_EQ(b.At(x, y).A == 255, in) << x << "," << y;
    }
  EXPECT_EQ(b.At(1, 1), Px(0, 0, 255));
  EXPECT_EQ(b.At(7, 6), Px(255, 255, 255));
  // The right and bottom edges lean towards the green vertices at (13, 1), (13, 11), (1, 11).
  EXPECT_GT(b.At(12, 10).G, 200);
  EXPECT_LT(b.At(12, 10).R, 60);
}

}  // namespace
