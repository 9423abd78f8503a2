// Glow geometry and pictures: where a glow window goes around a target and how much of the
// picture survives a clipped target, the whole-picture glows of the product's skin, the
// windowless clip and the animation's offset.
#include <gtest/gtest.h>

#include "skin/data/sSkinModel.h"
#include "skin/render/acGlow.h"
#include "skin/render/sGraphUtils.h"
#include "tests/native/BuiltGarnet.h"

namespace {

// A 30 x 30 glow image with 12-pixel borders (its own widths), every pixel different.
struct BorderGlow {
  TsSkinModel model;
  TsMaskData image;
  BorderGlow() {
    image.Bmp = Bitmap32(30, 30);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x)
        image.Bmp.At(x, y) = Pixel32{static_cast<uint8_t>(x * 8), static_cast<uint8_t>(y * 8), 90,
                                     static_cast<uint8_t>(x + 30 * y < 255 ? x + 30 * y : 255)};
    image.R = TsRect{0, 0, 30, 30};
    image.ImageCount = 1;
    image.WL = image.WT = image.WR = image.WB = 12;
    image.DrawMode = 5;  // stretched, with the centre
    image.Manager = &model;
  }
};

bool SamePixels(const Bitmap32& a, const Bitmap32& b, int bx, int by) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (!(a.At(x, y) == b.At(bx + x, by + y))) return false;
  return true;
}

// A 75 x 25 control at (100, 200) with margin 4: the picture reaches 12 - 4 = 8 pixels beyond
// each side. Where the control is cut the picture is cut with it; elsewhere the glow stays.
TEST(Glow, AClippedTargetCutsThePictureOnlyOnItsCutSides) {
  BorderGlow g;
  const TsRect target{100, 200, 175, 225};
  const TsGlowSides sides = GlowSides(g.image, 75, 25, 4);
  EXPECT_EQ(sides, (TsGlowSides{12, 12, 12, 12, false}));

  const TsGlowPlacement whole = PlaceGlow(target, TsRect{0, 0, 75, 25}, 4, sides);
  EXPECT_EQ(whole.FullWidth, 91);
  EXPECT_EQ(whole.FullHeight, 41);
  EXPECT_EQ(whole.Kept, (TsRect{0, 0, 91, 41}));
  EXPECT_EQ(whole.Window, (TsRect{92, 192, 183, 233}));

  // Left and top cut: the window starts where the visible part does and keeps the glow
  // beyond the right and bottom edges.
  const TsGlowPlacement leftTop = PlaceGlow(target, TsRect{5, 3, 75, 25}, 4, sides);
  EXPECT_EQ(leftTop.Kept, (TsRect{13, 11, 91, 41}));
  EXPECT_EQ(leftTop.Window, (TsRect{105, 203, 183, 233}));
  // Right and bottom cut.
  EXPECT_EQ(PlaceGlow(target, TsRect{0, 0, 60, 20}, 4, sides).Window, (TsRect{92, 192, 160, 220}));
  // Cut on every side: exactly the visible part.
  EXPECT_EQ(PlaceGlow(target, TsRect{5, 3, 60, 20}, 4, sides).Window, (TsRect{105, 203, 160, 220}));
  // A clip as large as the target cuts nothing, wherever the caller's coordinates put it.
  EXPECT_EQ(PlaceGlow(target, TsRect{300, 40, 375, 65}, 4, sides).Window, whole.Window);

  // The cut picture is that part of the whole one.
  const Bitmap32 full = GlowWindowPicture(g.image, sides, whole);
  const Bitmap32 cut = GlowWindowPicture(g.image, sides, leftTop);
  ASSERT_EQ(full.Width(), 91);
  ASSERT_EQ(cut.Width(), 78);
  ASSERT_EQ(cut.Height(), 30);
  EXPECT_TRUE(SamePixels(cut, full, 13, 11));
  // Corners in their own size, colours premultiplied: source (3, 0) has alpha 3.
  EXPECT_EQ(full.At(3, 0), (Pixel32{0, 0, 1, 3}));
  EXPECT_EQ(full.At(90, 40), (Pixel32{232, 232, 90, 255}));
}

TEST(Glow, SidesComeFromTheImagesWidthsThenItsBorderMode) {
  BorderGlow g;
  g.image.WL = 0;
  g.image.BorderMode = 6;
  EXPECT_EQ(GlowSides(g.image, 75, 25, 4), (TsGlowSides{6, 12, 12, 12, false}));
  // A margin wider than a side cuts nothing on that side instead of a negative amount.
  g.image.WL = 2;
  const TsGlowSides sides = GlowSides(g.image, 75, 25, 4);
  const TsGlowPlacement p = PlaceGlow(TsRect{100, 200, 175, 225}, TsRect{1, 0, 75, 25}, 4, sides);
  EXPECT_EQ(p.Kept.Left, 0);
  EXPECT_EQ(p.Kept.Right, p.FullWidth);
}

// The skin's title-button glows give no border widths: each is shown whole, 10 pixels beyond
// its button on every side, as the animation shows it.
TEST(Glow, TheSkinsCloseGlowIsShownWholeAroundTheButton) {
  const TsSkinModel* garnet = Garnet();
  ASSERT_TRUE(garnet) << "the build has not packed the skin";
  const int32_t index = garnet->FindImage("GLOBALINFO", "BICONCLOSEGLOW0");
  ASSERT_GE(index, 0);
  const TsMaskData& image = garnet->Images[static_cast<size_t>(index)];
  const int32_t margin = garnet->SkinData.BICloseGlowMargin;
  ASSERT_EQ(margin, 10);

  const TsGlowSides sides = GlowSides(image, 27, 17, margin);
  EXPECT_TRUE(sides.Whole);
  const TsGlowPlacement p = PlaceGlow(TsRect{300, 40, 327, 57}, TsRect{0, 0, 27, 17}, margin, sides);
  EXPECT_EQ(p.Window, (TsRect{290, 30, 337, 67}));
  const Bitmap32 picture = GlowWindowPicture(image, sides, p);
  const Bitmap32 animation = GlowImagePicture(image);
  ASSERT_EQ(animation.Width(), 47);
  ASSERT_EQ(animation.Height(), 37);
  EXPECT_TRUE(SamePixels(picture, animation, 0, 0));
  EXPECT_EQ(GlowPictureOffset(margin, 47, 37, 27, 17), (TsPoint{-10, -10}));
  // Without a margin the picture is centred on the button.
  EXPECT_EQ(GlowPictureOffset(0, 45, 30, 27, 17), (TsPoint{-9, -6}));
}

// A windowless control half past its parent's left edge and below the parent's clip box.
TEST(Glow, AWindowlessControlsClipIsItsVisiblePart) {
  EXPECT_EQ(WindowlessGlowClip(TsRect{0, 0, 200, 30}, TsRect{-5, 10, 45, 40}), (TsRect{5, 0, 50, 20}));
  EXPECT_EQ(WindowlessGlowClip(TsRect{0, 0, 200, 100}, TsRect{10, 10, 60, 40}), (TsRect{0, 0, 50, 30}));
}

}  // namespace
