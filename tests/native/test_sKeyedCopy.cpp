// Laying skin images over a background: keyed and masked copies, tiled and masked frames,
// state images, the corner repair of a reused cache, the disabled look and the region runs.
#include <gtest/gtest.h>

#include "skin/render/sBorderMask.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sKeyedCopy.h"
#include "skin/render/sStateImage.h"
#include "tests/native/test_SectionSupport.h"

using namespace sectiontest;

namespace {

const Pixel32 kRed = Rgb(200, 10, 10, 255), kBlue = Rgb(10, 10, 200, 128), kOld = Rgb(50, 60, 70, 80);

// Source row: red, key, blue. Key pixels take the parent (cornerFlag, parent bitmap), stay
// (no cornerFlag, or drawing into the parent itself) or take the fill colour (no parent).
TEST(KeyedCopy, KeyPixelsFollowTheBackground) {
  Bitmap32 src(3, 1);
  src.At(0, 0) = kRed, src.At(1, 0) = kKey, src.At(2, 0) = kBlue;
  const Bitmap32 parent = Parent(20, 20);
  const TsRect all{0, 0, 2, 0};  // inclusive

  Bitmap32 d(5, 3);
  d.Fill(kOld);
  CopyKeyedRect(d, src, 1, 2, true, MakeBgInfo(&parent, 4, 5), clFuchsia, all);
  EXPECT_EQ(d.At(1, 2), kRed);
  EXPECT_EQ(d.At(2, 2), parent.At(2 + 4, 2 + 5));
  EXPECT_EQ(d.At(3, 2), Rgb(10, 10, 200, 255));  // made opaque

  d.Fill(kOld);
  CopyKeyedRect(d, src, 0, 0, false, MakeBgInfo(&parent, 4, 5), clFuchsia, all);
  EXPECT_EQ(d.At(1, 0), kOld);
  EXPECT_EQ(d.At(2, 0), kBlue);  // own alpha

  Bitmap32 self = Parent(5, 3);
  CopyKeyedRect(self, src, 0, 0, true, MakeBgInfo(&self, 0, 0), clFuchsia, all);
  EXPECT_EQ(self.At(1, 0), Parent(5, 3).At(1, 0));

  BackgroundSource plain;
  plain.FillColor = 0x00FF00;
  CopyKeyedRect(d, src, 0, 1, true, plain, clFuchsia, all);
  EXPECT_EQ(d.At(1, 1), ColorToPixel(0x00FF00));

  // Parent positions outside the parent leave the pixel alone; everything clips.
  d.Fill(kOld);
  CopyKeyedRect(d, src, 0, 0, true, MakeBgInfo(&parent, -2, 0), clFuchsia, all);
  EXPECT_EQ(d.At(1, 0), kOld);
  Guarded g(4, 4, kOld);
  CopyKeyedRect(g.view, src, -2, 3, true, MakeBgInfo(&parent, 0, 0), clFuchsia, TsRect{-5, -5, 40, 40});
  CopyKeyedRect(g.view, src, 3, -1, false, plain, clFuchsia, all);
  EXPECT_TRUE(g.GuardIntact());
  EXPECT_EQ(g.view.At(0, 3), Rgb(10, 10, 200, 255));
}

// The mask below the image says how much of the destination stays: 0 takes the source,
// 255 keeps nearly all of it; key pixels follow the background like keyed copies.
TEST(MaskedCopy, MaskMixesAndKeyPixels) {
  Bitmap32 src(2, 2);
  src.At(0, 0) = Rgb(200, 200, 200), src.At(1, 0) = kKey;
  src.At(0, 1) = Rgb(128, 0, 255), src.At(1, 1) = Rgb(255, 255, 255);  // the mask row
  TsMaskData img;
  img.R = TsRect{0, 0, 2, 2}, img.ImageCount = 1, img.MaskType = 1;
  const Bitmap32 parent = Parent(10, 10);

  Bitmap32 d(3, 1);
  d.Fill(Rgb(100, 100, 100, 9));
  CopyMaskedRect(TsRect{1, 0, 3, 1}, img.R, d, img, true, MakeBgInfo(&parent, 2, 3), src);
  EXPECT_EQ(d.At(1, 0), Rgb(150, 200, MaskMix(100, 200, 255), 255));
  EXPECT_EQ(d.At(2, 0), Rgb(0x5A, 3, 4, 255)) << "key pixel shows parent (2 + 2, 3 + 0)";
  EXPECT_EQ(d.At(0, 0), Rgb(100, 100, 100, 9));

  d.Fill(Rgb(100, 100, 100, 9));
  BackgroundSource none;
  CopyMaskedRect(TsRect{0, 0, 3, 1}, img.R, d, img, false, none, src);
  EXPECT_EQ(d.At(0, 0), Rgb(150, 200, MaskMix(100, 200, 255), 9));
  EXPECT_EQ(d.At(1, 0), Rgb(100, 100, 100, 9));

  Guarded g(2, 2, kOld);
  CopyMaskedRect(TsRect{-1, -1, 5, 5}, TsRect{-3, 0, 9, 9}, g.view, img, true, MakeBgInfo(&parent, 0, 0), src);
  img.R = TsRect{0, 2, 2, 0};  // upside down: the mask would lie above the picture
  CopyMaskedRect(TsRect{0, 0, 2, 2}, TsRect{0, 0, 2, 2}, g.view, img, false, none, src);
  EXPECT_TRUE(g.GuardIntact());
}

// Frames without stretching tile their edges from the top-left with a partial last piece;
// a zero-sized middle leaves the strip as painted before.
TEST(BorderTiling, TiledEdgesAndCentre) {
  TestSkin s(16, 16);
  // Cell 5 x 5: one-pixel border, middle 3 x 3 whose pixels count 0..8.
  s.Paint(TsRect{0, 0, 5, 5}, Rgb(1, 1, 1));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) s.Px(1 + x, 1 + y) = Rgb(static_cast<uint8_t>(10 + 3 * y + x), 0, 0);
  TsMaskData& tiled = s.Img(s.Image(TsRect{0, 0, 5, 5}, 1, 0, dmPaintCentre, 1, 1, 1, 1));
  Bitmap32 t(9, 6);
  t.Fill(kOld);
  PaintBorderMask(t, TsRect{0, 0, 9, 6}, tiled, 0, false, BackgroundSource{});
  // Centre columns 1..7 repeat source columns 0,1,2,0,1,2,0; rows 1..4 repeat 0,1,2,0.
  for (int y = 1; y < 5; ++y)
    for (int x = 1; x < 8; ++x) ASSERT_EQ(t.At(x, y).R, 10 + 3 * ((y - 1) % 3) + (x - 1) % 3) << x << "," << y;
  EXPECT_EQ(t.At(4, 0), Rgb(1, 1, 1));

  // Widths that use up the whole cell: no middle piece, the strip keeps its pixels.
  tiled.WL = 2, tiled.WR = 3;
  t.Fill(kOld);
  PaintBorderMask(t, TsRect{0, 0, 9, 6}, tiled, 0, false, BackgroundSource{});
  EXPECT_EQ(t.At(4, 0), kOld);
}

// State images: key-colour images mix half and half in modes other than 1; masked images
// get paler when dimmed; parts left of or above the target are cut off.
TEST(StateImage, ModesAndMasks) {
  TestSkin s(12, 4);
  s.Paint(TsRect{0, 0, 6, 2}, Rgb(200, 100, 0));
  s.Paint(TsRect{6, 0, 12, 2}, Rgb(0, 100, 200));
  s.Px(7, 0) = kKey;
  const TsMaskData& img = s.Img(s.Image(TsRect{0, 0, 12, 2}, 2, 0, 0));

  Bitmap32 t(8, 4);
  t.Fill(Rgb(100, 100, 100));
  PaintStateImage(t, TsPoint{-1, 0}, 1, MakeBgInfo(&t, 0, 0), img, 2);
  EXPECT_EQ(t.At(0, 0), Rgb(100, 100, 100));  // the key pixel landed here, cut column left of it
  EXPECT_EQ(t.At(1, 0), Rgb(50, 100, 150));

  TestSkin m(4, 4);
  m.Paint(TsRect{0, 0, 2, 2}, Rgb(200, 200, 200));
  m.Px(0, 2) = Rgb(0, 0, 0);
  m.Px(1, 2) = Rgb(255, 0, 0);  // red 255: skipped
  m.Paint(TsRect{0, 3, 2, 4}, Rgb(100, 100, 100));
  const TsMaskData& mimg = m.Img(m.Image(TsRect{0, 0, 2, 4}, 1, 1, 0));
  Bitmap32 u(2, 2);
  u.Fill(Rgb(100, 100, 100, 55));
  PaintStateImage(u, TsPoint{}, 0, BackgroundSource{}, mimg, 1);
  EXPECT_EQ(u.At(0, 0), Rgb(200, 200, 200, 255));
  EXPECT_EQ(u.At(0, 1), Rgb(160, 160, 160, 55 + 155 * 200 / 255));
  u.Fill(Rgb(100, 100, 100, 55));
  PaintStateImage(u, TsPoint{}, 0, BackgroundSource{}, mimg, 3);
  EXPECT_EQ(u.At(0, 1), Rgb(121, 121, 121, 55 + 155 * 200 / 255));  // mask 100 + 100
}

// A reused cache gets the parent's pixels back under the frame's key-coloured corners,
// with alpha 0; frame pixels stay.
TEST(RestoreCorners, KeyPixelsTakeTheParent) {
  TestSkin s(8, 4);
  s.Paint(TsRect{0, 0, 8, 4}, Rgb(1, 2, 3));
  s.Px(4, 0) = s.Px(7, 3) = kKey;  // cell 1: top-left, bottom-right
  s.Px(0, 0) = kKey;                // cell 0 only
  const TsMaskData& img = s.Img(s.Image(TsRect{0, 0, 8, 4}, 2, 0, 0, 1, 1, 1, 1));
  const Bitmap32 parent = Parent(40, 40);
  Bitmap32 cache(10, 6);
  cache.Fill(kOld);
  RestoreCornerPixels(cache, img, 1, MakeBgInfo(&parent, 7, 9));
  const auto clear = [](Pixel32 p) { return p.A = 0, p; };
  EXPECT_EQ(cache.At(0, 0), clear(parent.At(7, 9)));
  EXPECT_EQ(cache.At(9, 5), clear(parent.At(7 + 9, 9 + 5)));
  EXPECT_EQ(cache.At(9, 0), kOld);
  Guarded g(1, 1, kOld);
  RestoreCornerPixels(g.view, img, 7, MakeBgInfo(&parent, -3, -3));
  EXPECT_TRUE(g.GuardIntact());
}

// Disabled controls: 60 % parent, 40 % control per channel (key parents skipped), or half
// and half with a plain parent colour; greyed first when asked.
TEST(DisabledLook, BlendsWithWhatLiesBehind) {
  Bitmap32 parent(4, 1);
  parent.At(2, 0) = Rgb(255, 0, 100);
  parent.At(3, 0) = kKey;
  Bitmap32 b(2, 2);
  b.Fill(Rgb(0, 255, 50));
  PaintDisabledLook(b, dkBlended, TsPoint{1, 0}, MakeBgInfo(&parent, 1, 0), clFuchsia);
  EXPECT_EQ(b.At(0, 0), Rgb(153, 102, 80));
  EXPECT_EQ(b.At(1, 0), Rgb(0, 255, 50));

  b.Fill(Rgb(0, 255, 50));
  PaintDisabledLook(b, dkBlended | dkGrayed, TsPoint{}, BackgroundSource{}, 0x00FF00);
  EXPECT_EQ(b.At(0, 0), Rgb(50, 50, 50));  // grey 101, then half with black: 50.5 to even
}

// Region runs: key pixels in the corner columns of the top band, right ones moved to the
// frame's right end.
TEST(KeyColorRects, RunsOfTheCornerColumns) {
  TestSkin s(8, 3);
  s.Paint(TsRect{0, 0, 8, 3}, Rgb(1, 1, 1));
  s.Px(0, 0) = s.Px(1, 0) = kKey;
  s.Px(3, 0) = kKey;  // right corner of cell 0
  s.Px(2, 1) = kKey;  // middle: not a corner
  const TsMaskData& img = s.Img(s.Image(TsRect{0, 0, 8, 3}, 2, 0, 0, 2, 2, 1, 1));
  std::vector<TsRect> top;
  KeyColorRects(top, 30, img, false, 5);
  EXPECT_EQ(top, (std::vector<TsRect>{{0, 5, 2, 6}, {29, 5, 30, 6}}));
}

}  // namespace
