// Pixel primitives: colours, fills, grey, hue and saturation, focus dots, blits and textures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/sSkinModel.h"
#include "skin/render/sGraphUtils.h"

namespace {

Pixel32 Px(uint8_t b, uint8_t g, uint8_t r, uint8_t a = 255) { return Pixel32{b, g, r, a}; }

// A bitmap whose every pixel is unique: blue = x, green = y, red = tag.
Bitmap32 Numbered(int w, int h, uint8_t tag = 0) {
  Bitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.At(x, y) = Px(static_cast<uint8_t>(x), static_cast<uint8_t>(y), tag, 0x80);
  return b;
}

// A bottom-up view over caller memory, as a DIB section is laid out.
struct BottomUp {
  std::vector<Pixel32> mem;
  Bitmap32 bmp;
  BottomUp(int w, int h, Pixel32 fill) : mem(static_cast<std::size_t>(w * h), fill) {
    bmp = Bitmap32::View(&mem[static_cast<std::size_t>(w * (h - 1))], w, h, -static_cast<std::ptrdiff_t>(w) * 4);
  }
};

TEST(Colours, MixingRoundsEachChannelToNearestEven) {
  EXPECT_EQ(MixColors(0xFFFFFF, 0, 0.4), 0x666666);
  // A disabled caption: 40 % font colour, 60 % the skin's global colour.
  EXPECT_EQ(MixColors(9013657, 1907997, 0.4), 0x48484F);
  EXPECT_EQ(MixColors(0x000001, 0, 0.5), 0);           // 0.5 -> 0
  EXPECT_EQ(MixColors(0x000003, 0, 0.5), 2);           // 1.5 -> 2
  EXPECT_EQ(MixColors(static_cast<TColor>(0xFF00000F), 0x000010, 0.5), static_cast<TColor>(0xFF000010));
  EXPECT_EQ(ColorToPixel(0x112233), Px(0x11, 0x22, 0x33));
  EXPECT_EQ(PixelToColor(Px(0x11, 0x22, 0x33, 7)), 0x112233);
}

TEST(Fills, FillRect32WritesExclusiveRectangleWithOpaqueAlphaAndStaysInside) {
  BottomUp b(6, 5, Px(1, 1, 1, 1));
  FillRect32(b.bmp, TsRect{1, 1, 4, 3}, 0x0000FF);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool in = x >= 1 && x < 4 && y >= 1 && y < 3;
      EXPECT_EQ(b.bmp.At(x, y), in ? Px(0, 0, 0xFF) : Px(1, 1, 1, 1)) << x << "," << y;
    }
  // The bottom row in memory is the bitmap's last row.
  FillRect32(b.bmp, TsRect{-5, 4, 100, 100}, 0x00FF00);
  EXPECT_EQ(b.mem[0], Px(0, 0xFF, 0));
  EXPECT_EQ(b.mem[5], Px(0, 0xFF, 0));
  EXPECT_EQ(b.mem[6], Px(1, 1, 1, 1));

  Bitmap32 thin(1, 10);
  FillRect32(thin, TsRect{0, 0, 1, 10}, 0xFFFFFF);
  EXPECT_EQ(thin.At(0, 5), Pixel32{});
}

TEST(Fills, FrameStripsSurroundTheInside) {
  Bitmap32 b(8, 7);
  FillFrame32(b, TsRect{1, 1, 7, 6}, 1, 2, 3, 1, 0xFFFFFF);
  const char* expect[] = {"........", ".######.", ".######.", ".#..###.", ".#..###.", ".######.", "........"};
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(b.At(x, y).A == 255, expect[y][x] == '#') << x << "," << y;
}

TEST(Colours, GrayAveragesDownAndKeepsAlpha) {
  Bitmap32 b(2, 2);
  b.Fill(Px(10, 20, 32, 9));  // 62 / 3 = 20.67 -> 20
  GrayBitmap(b);
  EXPECT_EQ(b.At(1, 1), Px(20, 20, 20, 9));
}

TEST(Colours, HueRotationFollowsHsvAndLeavesGreyKeyAndAlpha) {
  Bitmap32 b(4, 2);
  b.At(0, 0) = Px(0, 0, 255, 17);     // red
  b.At(1, 0) = Px(0, 0, 253, 0);      // red whose new t is 126.5
  b.At(2, 0) = Px(90, 90, 90, 3);     // grey
  b.At(3, 0) = Px(255, 0, 255, 0);    // key
  b.At(0, 1) = Px(0, 0, 0, 44);       // black
  b.At(1, 1) = Px(40, 200, 100, 1);   // hue 97.5
  b.At(2, 1) = Px(0, 0, 255, 17);
  b.At(3, 1) = Px(0, 0, 255, 17);
  Bitmap32 c = b;
  ShiftHue(b, 120);
  EXPECT_EQ(b.At(0, 0), Px(0, 255, 0, 17));
  EXPECT_EQ(b.At(2, 0), Px(90, 90, 90, 3));
  EXPECT_EQ(b.At(3, 0), Px(255, 0, 255, 0));
  EXPECT_EQ(b.At(0, 1), Px(0, 0, 0, 44));
  // 97.5 + 120 rounds to 218: sector 3, f = 0.633, S = 0.8, V = 200: (p, q, V) = (40, 98.7, 200).
  EXPECT_EQ(b.At(1, 1), Px(200, 99, 40, 1));

  ShiftHue(c, 30);  // sector 0, f = 0.5: t = V / 2
  EXPECT_EQ(c.At(0, 0), Px(0, 128, 255, 17));
  EXPECT_EQ(c.At(1, 0), Px(0, 126, 253, 0));  // 126.5 rounds to even

  // Negative and multi-turn rotations wrap into 0..359.
  EXPECT_EQ(ShiftHue(TColor{0x0000FF}, -120), 0xFF0000);
  EXPECT_EQ(ShiftHue(TColor{0x0000FF}, -480), 0xFF0000);
  EXPECT_EQ(ShiftHue(TColor{0x0000FF}, 720), 0x0000FF);
  EXPECT_EQ(ShiftHue(static_cast<TColor>(0x020000FF), 120), static_cast<TColor>(0x0200FF00));
  EXPECT_EQ(ShiftHue(clFuchsia, 90), clFuchsia);
  EXPECT_EQ(ShiftHue(TColor{0x808080}, 90), 0x808080);
}

TEST(Colours, SaturationMovesChannelsFromTheMeanWithClampAndEvenTies) {
  // Mean 5: red 10 -> 12.5 -> 12, green 0 -> -2.5 -> 0, blue 5 stays.
  EXPECT_EQ(ChangeSaturation(TColor{0x05000A}, 50), 0x05000C);
  EXPECT_EQ(ChangeSaturation(TColor{0x0000FF}, 100), 0x0000FF);  // red 255 + 170 clamps
  EXPECT_EQ(ChangeSaturation(TColor{0x0000FF}, -100), 0x555555);
  EXPECT_EQ(ChangeSaturation(TColor{0x123456}, 0), 0x123456);
  Bitmap32 b(2, 2);
  b.Fill(Px(0, 50, 100, 77));
  b.At(1, 1) = Px(255, 0, 255, 0);
  b.At(0, 1) = Px(7, 7, 7, 7);
  ChangeSaturation(b, 50);
  EXPECT_EQ(b.At(0, 0), Px(0, 50, 125, 77));
  EXPECT_EQ(b.At(1, 1), Px(255, 0, 255, 0));
  EXPECT_EQ(b.At(0, 1), Px(7, 7, 7, 7));
}

TEST(FocusDots, NineBySixAtAnOffsetPaintsOnlyInsideTheRectangle) {
  Bitmap32 b(13, 10);
  const Pixel32 none{};
  DrawFocusDots(b, TsRect{2, 3, 11, 9}, [](int i) -> uint32_t { return i == 15 ? 0x405060 : 0; });
  // B black, F button face; rows first, then columns, so a column's pixel wins where they meet.
  const char* expect[] = {"B.FB.FB.B", ".........", "F.......F", "B.......B", ".........", "F.FB.FB.F"};
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 13; ++x) {
      char want = '.';
      if (x >= 2 && x < 11 && y >= 3 && y < 9) want = expect[y - 3][x - 2];
      const Pixel32 p = b.At(x, y);
      const char got = p == none ? '.' : p == Px(0, 0, 0) ? 'B' : p == Px(0x40, 0x50, 0x60) ? 'F' : '?';
      EXPECT_EQ(got, want) << x << "," << y;
    }
}

TEST(Blits, CopyIsClippedOnBothSidesAndKeepsEveryByte) {
  const Bitmap32 src = Numbered(4, 4, 9);
  BottomUp dst(5, 5, Px(0, 0, 0, 0));
  CopyRect32(dst.bmp, -1, 3, src, TsRect{0, 0, 4, 4});  // lands partly left and below
  EXPECT_EQ(dst.bmp.At(0, 3), Px(1, 0, 9, 0x80));
  EXPECT_EQ(dst.bmp.At(2, 4), Px(3, 1, 9, 0x80));
  EXPECT_EQ(dst.bmp.At(3, 4), Px(0, 0, 0, 0));
  EXPECT_EQ(dst.bmp.At(0, 2), Px(0, 0, 0, 0));
  // A source rectangle reaching outside the source copies only what exists, in place.
  Bitmap32 d2(6, 6);
  CopyRect32(d2, 1, 1, src, TsRect{-2, -2, 2, 2});
  EXPECT_EQ(d2.At(3, 3), Px(0, 0, 9, 0x80));
  EXPECT_EQ(d2.At(4, 4), Px(1, 1, 9, 0x80));
  EXPECT_EQ(d2.At(2, 2), Pixel32{});
  EXPECT_EQ(d2.At(5, 5), Pixel32{});
}

TEST(Blits, StretchMapsColumnsAndRowsLikeGdi) {
  // Measured from GDI's COLORONCOLOR StretchBlt.
  auto columns = [](int sw, int dw) {
    const Bitmap32 src = Numbered(sw, 2);
    Bitmap32 dst(dw, 2);
    StretchRect32(dst, TsRect{0, 0, dw, 1}, src, TsRect{0, 0, sw, 1});
    std::string s;
    for (int x = 0; x < dw; ++x) s += std::to_string(dst.At(x, 0).B);
    return s;
  };
  EXPECT_EQ(columns(5, 8), "00122344");
  EXPECT_EQ(columns(8, 5), "12457");
  EXPECT_EQ(columns(4, 10), "0001122233");
  EXPECT_EQ(columns(10, 4), "2479");
  EXPECT_EQ(columns(4, 3), "023");
  EXPECT_EQ(columns(6, 5), "01345");
  EXPECT_EQ(columns(5, 6), "012234");
  EXPECT_EQ(columns(7, 7), "0123456");

  // Rows use the same rule; the destination is clipped without moving the mapping.
  const Bitmap32 src = Numbered(3, 7);
  Bitmap32 dst(2, 2);
  StretchRect32(dst, TsRect{-1, -1, 2, 2}, src, TsRect{0, 0, 3, 7});  // 3 x 7 onto 3 x 3
  EXPECT_EQ(dst.At(0, 0), Px(1, 4, 0, 0x80));
  EXPECT_EQ(dst.At(1, 1), Px(2, 6, 0, 0x80));
  StretchRect32(dst, TsRect{0, 0, 2, 2}, src, TsRect{0, 0, 0, 7});  // empty source: nothing
  EXPECT_EQ(dst.At(1, 1), Px(2, 6, 0, 0x80));
}

class Texture : public ::testing::Test {
 protected:
  void SetUp() override {
    image.Bmp = Numbered(5, 3, 7);
    image.R = TsRect{1, 1, 4, 3};  // a 3 x 2 tile: (1..3, 1..2)
    dst.Allocate(8, 7);
  }
  // The tile pixel that lands at (x, y) for a grid anchored at (ox, oy).
  Pixel32 TileAt(int x, int y, int ox, int oy) const {
    auto mod = [](int a, int n) { return ((a % n) + n) % n; };
    return image.Bmp.At(1 + mod(x - ox, 3), 1 + mod(y - oy, 2));
  }
  TsRect Paint(int mode, TsRect r) {
    PaintTexture(dst, r, nullptr, mode, &image);
    return r;
  }
  TsMaskData image;
  Bitmap32 dst;
};

TEST_F(Texture, TilingModesAndTheirRemainders) {
  EXPECT_EQ(Paint(0, TsRect{1, 1, 8, 7}), kNoRemainder);
  for (int y = 1; y < 7; ++y)
    for (int x = 1; x < 8; ++x) ASSERT_EQ(dst.At(x, y), TileAt(x, y, 1, 1)) << x << "," << y;
  EXPECT_EQ(dst.At(0, 0), Pixel32{});

  dst.Fill(Pixel32{});
  EXPECT_EQ(Paint(2, TsRect{0, 0, 8, 7}), (TsRect{0, 2, 8, 7}));
  EXPECT_EQ(dst.At(7, 1), TileAt(7, 1, 0, 0));
  EXPECT_EQ(dst.At(7, 2), Pixel32{});

  dst.Fill(Pixel32{});
  EXPECT_EQ(Paint(3, TsRect{0, 0, 8, 7}), (TsRect{3, 0, 8, 7}));
  EXPECT_EQ(dst.At(2, 6), TileAt(2, 6, 0, 0));
  EXPECT_EQ(dst.At(3, 6), Pixel32{});

  // Bottom row and right column: the tiles sit on the far edge.
  dst.Fill(Pixel32{});
  EXPECT_EQ(Paint(6, TsRect{0, 0, 8, 7}), (TsRect{0, 0, 8, 5}));
  EXPECT_EQ(dst.At(0, 5), image.Bmp.At(1, 1));
  EXPECT_EQ(dst.At(0, 6), image.Bmp.At(1, 2));
  EXPECT_EQ(dst.At(0, 4), Pixel32{});
  dst.Fill(Pixel32{});
  EXPECT_EQ(Paint(7, TsRect{0, 0, 8, 7}), (TsRect{0, 0, 5, 7}));
  EXPECT_EQ(dst.At(5, 0), image.Bmp.At(1, 1));
  EXPECT_EQ(dst.At(7, 0), image.Bmp.At(3, 1));
  EXPECT_EQ(dst.At(4, 0), Pixel32{});

  // Whole rows only (7 rows hold three tiles of 2), a partial last column.
  dst.Fill(Pixel32{});
  EXPECT_EQ(Paint(10, TsRect{0, 0, 8, 7}), kNoRemainder);
  EXPECT_EQ(dst.At(7, 5), TileAt(7, 5, 0, 0));
  EXPECT_EQ(dst.At(0, 6), Pixel32{});

  // A strip that takes the whole rectangle leaves nothing over.
  EXPECT_EQ(Paint(2, TsRect{0, 0, 8, 2}), kNoRemainder);
}

TEST_F(Texture, StretchModes) {
  EXPECT_EQ(Paint(1, TsRect{0, 0, 6, 4}), kNoRemainder);  // 3 x 2 -> 6 x 4: each pixel doubled
  EXPECT_EQ(dst.At(5, 3), image.Bmp.At(3, 2));
  EXPECT_EQ(dst.At(2, 1), image.Bmp.At(2, 1));
  dst.Fill(Pixel32{});
  EXPECT_EQ(Paint(4, TsRect{0, 1, 6, 7}), (TsRect{0, 3, 6, 7}));
  EXPECT_EQ(dst.At(5, 2), image.Bmp.At(3, 2));
  EXPECT_EQ(dst.At(5, 3), Pixel32{});
  dst.Fill(Pixel32{});
  EXPECT_EQ(Paint(5, TsRect{0, 0, 8, 4}), (TsRect{3, 0, 8, 4}));
  EXPECT_EQ(dst.At(2, 3), image.Bmp.At(3, 2));
  EXPECT_EQ(dst.At(3, 3), Pixel32{});
}

TEST_F(Texture, PatternsMasterBitmapAndNothingToPaint) {
  const Bitmap32 pattern = Numbered(3, 3, 1);
  TsRect r{2, 2, 8, 7};
  PaintTexture(dst, r, &pattern, 5, nullptr);
  EXPECT_EQ(r, kNoRemainder);
  EXPECT_EQ(dst.At(7, 6), pattern.At(2, 1));

  TsSkinModel model;
  model.MasterBitmap = Numbered(6, 6, 3);
  TsMaskData m;
  m.Manager = &model;
  m.R = TsRect{2, 2, 4, 4};
  r = TsRect{0, 0, 8, 7};
  PaintTexture(dst, r, nullptr, 0, &m);
  EXPECT_EQ(dst.At(1, 1), model.MasterBitmap.At(3, 3));

  // Unknown mode, no image, no bitmap, empty tile: the caller still has the whole rectangle.
  r = TsRect{0, 0, 8, 7};
  PaintTexture(dst, r, nullptr, 8, &image);
  EXPECT_EQ(r, (TsRect{0, 0, 8, 7}));
  PaintTexture(dst, r, nullptr, 0, nullptr);
  EXPECT_EQ(r, (TsRect{0, 0, 8, 7}));
  TsMaskData orphan;
  orphan.R = TsRect{0, 0, 2, 2};
  PaintTexture(dst, r, nullptr, 0, &orphan);
  EXPECT_EQ(r, (TsRect{0, 0, 8, 7}));
  image.R = TsRect{10, 10, 12, 12};  // outside its bitmap
  PaintTexture(dst, r, nullptr, 0, &image);
  EXPECT_EQ(r, (TsRect{0, 0, 8, 7}));
}

TEST_F(Texture, HugeRectanglesPaintOnlyTheBitmap) {
  TsRect r{-1000000, -1000000, 1000000, 1000000};
  PaintTexture(dst, r, nullptr, 0, &image);
  EXPECT_EQ(dst.At(0, 0), TileAt(0, 0, -1000000, -1000000));
  r = TsRect{-1000000, -1000000, 1000000, 1000000};
  PaintTexture(dst, r, nullptr, 1, &image);
  EXPECT_EQ(r, kNoRemainder);
}

}  // namespace
