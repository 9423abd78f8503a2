// Blends: weighted bitmap blends, colour and keyed blends, masked mixing and masked textures.
#include <gtest/gtest.h>

#include "skin/render/sAlphaGraph.h"
#include "skin/render/sGraphUtils.h"

namespace {

Pixel32 Px(uint8_t b, uint8_t g, uint8_t r, uint8_t a = 255) { return Pixel32{b, g, r, a}; }

Bitmap32 Filled(int w, int h, Pixel32 p) {
  Bitmap32 b(w, h);
  b.Fill(p);
  return b;
}

TEST(BlendBitmap, Weight76MixesEveryByteWithTheShiftBy8) {
  // 30 % transparency: the background keeps weight 76, the section's own fill 179.
  Bitmap32 parent = Filled(4, 3, Px(255, 0, 200, 255));
  const Bitmap32 own = Filled(4, 3, Px(0, 255, 10, 0));
  BlendBitmapRect(parent, own, 76, TsPoint{0, 0}, TsRect{0, 0, 4, 3});
  // (255 * 76 + 127) >> 8 = 76; (255 * 179 + 127) >> 8 = 178; (200 * 76 + 10 * 179 + 127) >> 8 = 66.
  EXPECT_EQ(parent.At(3, 2), Px(76, 178, 66, 76));
  EXPECT_EQ(parent.At(0, 0), Px(76, 178, 66, 76));

  Bitmap32 a = Filled(2, 2, Px(9, 9, 9, 9));
  BlendBitmaps(a, Filled(2, 2, Px(200, 200, 200, 200)), 0);  // weight 0 takes the source
  EXPECT_EQ(a.At(1, 1), Px(199, 199, 199, 199));
  BlendBitmaps(a, Filled(3, 2, Px(0, 0, 0, 0)), 128);  // sizes differ: untouched
  EXPECT_EQ(a.At(1, 1), Px(199, 199, 199, 199));
}

// Rows of 37 pixels go through whole blocks and a byte-wise tail; every byte, with its
// neighbours all different, must come out as the formula says.
TEST(BlendBitmap, EveryByteOfLongRowsFollowsTheFormula) {
  uint32_t seed = 12345;
  auto next = [&] { return static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16); };
  for (int weight : {0, 1, 76, 128, 254, 255}) {
    Bitmap32 dst(37, 3), src(37, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 37; ++x) {
        dst.At(x, y) = Px(next(), next(), next(), next());
        src.At(x, y) = Px(next(), next(), next(), next());
      }
    const Bitmap32 before = dst;
    BlendBitmaps(dst, src, weight);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 37; ++x) {
        const auto* d = reinterpret_cast<const uint8_t*>(&before.At(x, y));
        const auto* s = reinterpret_cast<const uint8_t*>(&src.At(x, y));
        const auto* out = reinterpret_cast<const uint8_t*>(&dst.At(x, y));
        for (int k = 0; k < 4; ++k)
          ASSERT_EQ(out[k], (d[k] * weight + s[k] * (255 - weight) + 127) >> 8)
              << "weight " << weight << " at " << x << "," << y << " byte " << k;
      }
  }
}

TEST(BlendBitmap, ClipsBothSidesAndRefusesTinyBitmaps) {
  Bitmap32 dst = Filled(4, 4, Px(100, 100, 100, 100));
  Bitmap32 src(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) src.At(x, y) = Px(static_cast<uint8_t>(10 * x), static_cast<uint8_t>(10 * y), 0, 0);
  // A negative point shifts the source: source (1, 1) lands on (0, 0).
  BlendBitmapRect(dst, src, 0, TsPoint{-1, -1}, TsRect{0, 0, 3, 3});
  EXPECT_EQ(dst.At(0, 0), Px(10, 10, 0, 0));
  EXPECT_EQ(dst.At(1, 1), Px(20, 20, 0, 0));
  EXPECT_EQ(dst.At(2, 2), Px(100, 100, 100, 100));
  // A source rectangle beyond the source and a point near the far corner.
  BlendBitmapRect(dst, src, 0, TsPoint{3, 3}, TsRect{1, 1, 10, 10});
  EXPECT_EQ(dst.At(3, 3), Px(10, 10, 0, 0));
  EXPECT_EQ(dst.At(3, 2), Px(100, 100, 100, 100));

  Bitmap32 line = Filled(5, 1, Px(1, 1, 1, 1));
  BlendBitmapRect(line, Filled(5, 5, Px(0, 0, 0, 0)), 0, TsPoint{0, 0}, TsRect{0, 0, 5, 5});
  EXPECT_EQ(line.At(2, 0), Px(1, 1, 1, 1));
}

TEST(BlendColor, PercentOfThePixelRestOfTheColourAlphaKept) {
  Bitmap32 b(3, 3);
  b.Fill(Px(1, 3, 200, 7));
  BlendColorRect(b, TsRect{1, 1, 9, 9}, 50, 0x000000);
  EXPECT_EQ(b.At(1, 1), Px(0, 2, 100, 7));  // 0.5 -> 0, 1.5 -> 2
  EXPECT_EQ(b.At(0, 0), Px(1, 3, 200, 7));
  BlendColorRect(b, TsRect{0, 0, 3, 3}, 0, 0x0A141E);
  EXPECT_EQ(b.At(2, 2), Px(10, 20, 30, 7));
  BlendColorRect(b, TsRect{0, 0, 3, 3}, 250, 0xFFFFFF);  // clamped to 100 %: the pixels stay
  EXPECT_EQ(b.At(2, 2), Px(10, 20, 30, 7));
}

TEST(BlendKeyed, InclusiveRectangleSkipsKeyPixels) {
  Bitmap32 src = Filled(3, 3, Px(10, 10, 10, 0));
  src.At(1, 0) = Px(255, 0, 255, 0);
  Bitmap32 dst = Filled(4, 4, Px(3, 3, 3, 3));
  BlendKeyedRect(dst, 2, 2, clFuchsia, 0.5, TsRect{0, 0, 1, 1}, src);  // 2 x 2 pixels, half off dst
  EXPECT_EQ(dst.At(2, 2), Px(6, 6, 6, 3));  // 10 - 7 * 0.5 = 6.5 -> 6
  EXPECT_EQ(dst.At(3, 3), Px(6, 6, 6, 3));
  EXPECT_EQ(dst.At(3, 2), Px(3, 3, 3, 3));  // key pixel
  EXPECT_EQ(dst.At(1, 1), Px(3, 3, 3, 3));
  // The disabled look: 60 % background, 40 % control. The clipped rectangle's corner lands at (x, y).
  BlendKeyedRect(dst, 0, 0, clFuchsia, 0.4, TsRect{-5, -5, 100, 100}, Filled(2, 2, Px(200, 100, 0, 0)));
  EXPECT_EQ(dst.At(0, 0), Px(121, 61, 1, 3));  // 200 - 197 * 0.4 = 121.2, 100 - 97 * 0.4 = 61.2, 0 + 1.2
}

TEST(MaskedMix, MaskChannelWeighsTheDestination) {
  Bitmap32 src(2, 4);  // rows 0..1 image, rows 2..3 mask
  src.At(0, 0) = Px(0, 0, 0, 0);
  src.At(1, 0) = Px(255, 0, 255, 0);  // key
  src.At(0, 1) = Px(100, 100, 100, 0);
  src.At(1, 1) = Px(50, 50, 50, 0);
  src.At(0, 2) = Px(255, 255, 255, 0);
  src.At(1, 2) = Px(0, 0, 0, 0);
  src.At(0, 3) = Px(0, 128, 255, 0);
  src.At(1, 3) = Px(0, 0, 0, 0);
  Bitmap32 dst = Filled(2, 2, Px(255, 255, 255, 9));
  MixMaskedRect(dst, 0, 0, src, TsRect{0, 0, 2, 2}, 2, true);
  EXPECT_EQ(dst.At(0, 0), Px(254, 254, 254, 9));  // m = 255 keeps almost all of d
  EXPECT_EQ(dst.At(1, 0), Px(255, 255, 255, 9));  // key left alone
  EXPECT_EQ(dst.At(0, 1), Px(100, 177, 254, 9));  // ((255 - 100) * 128 + 100 * 256) >> 8 = 177
  EXPECT_EQ(dst.At(1, 1), Px(50, 50, 50, 9));     // m = 0 gives the source
  MixMaskedRect(dst, 0, 0, src, TsRect{0, 0, 2, 2}, 2, false);
  EXPECT_EQ(dst.At(1, 0), Px(255, 0, 255, 9));
  // A mask below the last row reads the last row instead.
  Bitmap32 d2 = Filled(2, 2, Px(255, 255, 255, 9));
  MixMaskedRect(d2, 0, 0, src, TsRect{0, 0, 1, 1}, 10, true);
  EXPECT_EQ(d2.At(0, 0), Px(0, 127, 254, 9));
}

class MaskedTexture : public ::testing::Test {
 protected:
  void SetUp() override {
    // Two cells of 2 x 2 with their masks below: cell 0 is opaque red, mask 0.
    image.Bmp = Filled(4, 4, Px(0, 0, 255, 0));
    image.Bmp.At(1, 1) = Px(255, 0, 255, 0);  // a key pixel inside the tile
    for (int y = 2; y < 4; ++y)
      for (int x = 0; x < 4; ++x) image.Bmp.At(x, y) = Px(0, 0, 0, 0);
    image.R = TsRect{0, 0, 4, 4};
    image.ImageCount = 2;
    image.MaskType = 1;
  }
  TsMaskData image;
};

TEST_F(MaskedTexture, Mode0TilesAndMode10FillsTheRestFromTheBackground) {
  Bitmap32 dst = Filled(7, 7, Px(9, 9, 9, 9));
  PaintMaskedTexture(dst, TsRect{1, 1, 6, 6}, nullptr, 0, 0, clFuchsia, 0, image);
  EXPECT_EQ(dst.At(5, 5), Px(0, 0, 255, 9));  // partial last tile
  EXPECT_EQ(dst.At(2, 2), Px(9, 9, 9, 9));    // key pixel with nothing behind: left alone
  EXPECT_EQ(dst.At(6, 6), Px(9, 9, 9, 9));

  // Whole tiles only: 5 x 5 takes 2 x 2 tiles; the L-shaped rest comes from the parent.
  Bitmap32 parent(20, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) parent.At(x, y) = Px(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 1, 1);
  dst = Filled(7, 7, Px(9, 9, 9, 9));
  PaintMaskedTexture(dst, TsRect{1, 1, 6, 6}, &parent, 10, 12, clFuchsia, 10, image);
  EXPECT_EQ(dst.At(3, 3), Px(0, 0, 255, 9));
  EXPECT_EQ(dst.At(4, 4), Px(255, 0, 255, 9));  // with a parent bitmap key pixels are mixed too  // with a parent bitmap key pixels are mixed too
  EXPECT_EQ(dst.At(5, 1), Px(14, 12, 1, 1));    // right column: parent at (10 + 4, 12 + 0)
  EXPECT_EQ(dst.At(1, 5), Px(10, 16, 1, 1));    // bottom strip
  EXPECT_EQ(dst.At(5, 5), Px(14, 16, 1, 1));
  EXPECT_EQ(dst.At(6, 6), Px(9, 9, 9, 9));

  dst = Filled(7, 7, Px(9, 9, 9, 9));
  PaintMaskedTexture(dst, TsRect{1, 1, 6, 6}, nullptr, 0, 0, 0x00FF00, 10, image);
  EXPECT_EQ(dst.At(5, 1), Px(0, 255, 0));
  EXPECT_EQ(dst.At(1, 5), Px(0, 255, 0));
}

TEST_F(MaskedTexture, NothingWithoutMaskCellsOrKnownMode) {
  Bitmap32 dst = Filled(4, 4, Px(9, 9, 9, 9));
  TsMaskData noMask = image;
  noMask.MaskType = 0;
  PaintMaskedTexture(dst, TsRect{0, 0, 4, 4}, nullptr, 0, 0, 0, 0, noMask);
  TsMaskData noCells = image;
  noCells.ImageCount = 0;
  PaintMaskedTexture(dst, TsRect{0, 0, 4, 4}, nullptr, 0, 0, 0, 0, noCells);
  PaintMaskedTexture(dst, TsRect{0, 0, 4, 4}, nullptr, 0, 0, 0, 1, image);
  TsMaskData noBitmap = image;
  noBitmap.Bmp = Bitmap32();
  PaintMaskedTexture(dst, TsRect{0, 0, 4, 4}, nullptr, 0, 0, 0, 0, noBitmap);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.At(x, y), Px(9, 9, 9, 9));
  // Far outside the bitmap: nothing written, nothing read out of bounds.
  PaintMaskedTexture(dst, TsRect{-1000000, -1000000, 1000000, 1000000}, nullptr, 0, 0, 0, 10, image);
}

}  // namespace
