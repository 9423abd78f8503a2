// Whole sections: the product's button frame, narrow rectangles, states, transparency
// against the parent, the one-pass texture and gradient mix, and inputs that must paint nothing.
#include <gtest/gtest.h>

#include "skin/render/sAlphaGraph.h"
#include "skin/render/sBorderMask.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sSectionBackground.h"
#include "skin/render/sStyleSimply.h"
#include "tests/native/test_SectionSupport.h"

using namespace sectiontest;

namespace {

const Pixel32 kSentinel = Rgb(9, 8, 7, 6);

bool SameColour(Pixel32 a, Pixel32 b) { return a.B == b.B && a.G == b.G && a.R == b.R; }

const TsMaskData& ImageOf(const TsSkinModel& m, int32_t i) { return m.Images[static_cast<std::size_t>(i)]; }

// The Garnet BUTTON frame (cells 80 x 26, widths 4, 11, 4, 4, stretch and centre) on a 75 x 25
// cache standing at (10, 7) of its parent: corners in their own sizes, key pixels showing
// the parent behind them, edges and centre stretched from the cell of the state.
TEST(GarnetButton, FrameAt75x25ShowsParentInKeyCorners) {
  const TsSkinModel* m = Garnet();
  ASSERT_TRUE(m) << "the build has not packed the skin";
  const TsSectionBinding b = BindSection(*m, "BUTTON");
  ASSERT_GE(b.BorderMaskIndex, 0);
  const TsMaskData& frame = ImageOf(*m, b.BorderMaskIndex);
  ASSERT_EQ(frame.DrawMode, 5);
  const Bitmap32& master = m->MasterBitmap;
  const Bitmap32 parent = Parent(120, 60);

  for (int state : {0, 1, 2}) {
    SCOPED_TRACE(state);
    Bitmap32 cache(75, 25);
    cache.Fill(kSentinel);
    PaintSection(b, MakeBgInfo(&parent, 0, 0), true, cache, TsPoint{10, 7}, TsRect{0, 0, 75, 25}, state);
    const int sx = 80 * state, sy = 91;
    // Edges and centre: the cell's middle pieces stretched between the corners.
    Bitmap32 expect(75, 25);
    const struct {
      TsRect dst, src;
    } stretched[] = {
        {{4, 0, 71, 11}, {sx + 4, sy, sx + 76, sy + 11}},          // top
        {{4, 21, 71, 25}, {sx + 4, sy + 22, sx + 76, sy + 26}},    // bottom
        {{0, 11, 4, 21}, {sx, sy + 11, sx + 4, sy + 22}},          // left
        {{71, 11, 75, 21}, {sx + 76, sy + 11, sx + 80, sy + 22}},  // right
        {{4, 11, 71, 21}, {sx + 4, sy + 11, sx + 76, sy + 22}},    // centre
    };
    for (const auto& p : stretched) StretchRect32(expect, p.dst, master, p.src);
    // Corners in their own sizes: 4 x 11 at the top, 4 x 4 at the bottom.
    int keyPixels = 0;
    for (int y = 0; y < 25; ++y)
      for (int x = 0; x < 75; ++x) {
        const bool top = y < 11, bottom = y >= 21, left = x < 4, right = x >= 71;
        if ((left || right) && (top || bottom)) {
          const Pixel32 src = master.At(sx + (left ? x : 76 + x - 71), sy + (top ? y : 22 + y - 21));
          expect.At(x, y) = IsKeyPixel(src) ? parent.At(10 + x, 7 + y) : src;
          keyPixels += IsKeyPixel(src);
        }
        ASSERT_TRUE(SameColour(cache.At(x, y), expect.At(x, y))) << x << "," << y;
      }
    EXPECT_GT(keyPixels, 0) << "the frame's corners should be rounded with key pixels";
  }

  // Without updateCorners the key pixels keep what the background painted there.
  Bitmap32 cache(75, 25);
  cache.Fill(kSentinel);
  PaintBorderMask(cache, TsRect{0, 0, 75, 25}, frame, 0, false, MakeBgInfo(&parent, 10, 7));
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 4; ++x)
      if (IsKeyPixel(master.At(x, 91 + y))) {
        EXPECT_EQ(cache.At(x, y), kSentinel) << x << "," << y;
      }
}

// When the frame does not fit, each side gives up half the excess and the right or bottom
// side the odd pixel; sides never overlap or leave the rectangle.
TEST(BorderWidths, NarrowRectanglesShareTheWidth) {
  TsMaskData m;
  m.WL = 4, m.WR = 4, m.WT = 11, m.WB = 4;
  EXPECT_EQ(FitBorderWidths(m, 5, 25), (TsBorderWidths{3, 11, 2, 4}));
  EXPECT_EQ(FitBorderWidths(m, 6, 25), (TsBorderWidths{3, 11, 3, 4}));
  EXPECT_EQ(FitBorderWidths(m, 75, 14), (TsBorderWidths{4, 11, 4, 3}));
  EXPECT_EQ(FitBorderWidths(m, 75, 3), (TsBorderWidths{4, 3, 4, 0}));
  m.WL = 1, m.WR = 7;
  EXPECT_EQ(FitBorderWidths(m, 4, 25).L + FitBorderWidths(m, 4, 25).R, 4);

  // The right corner is cut from the cell's right end, whatever the fitted widths.
  m.WL = 4, m.WR = 4, m.R = TsRect{0, 91, 80, 117}, m.ImageCount = 1;
  std::array<TsBorderPiece, 9> pieces;
  ASSERT_TRUE(BorderPieces(m, 0, TsRect{0, 0, 5, 25}, pieces));
  EXPECT_EQ(pieces[6].Src, (TsRect{78, 91, 80, 102}));
  EXPECT_EQ(pieces[6].Dst, (TsRect{3, 0, 5, 11}));
}

// State 2 of a three-state section whose frame has two cells: the frame takes its last
// cell and the background the hot colour. A one-state section paints every state alike.
TEST(SectionStates, LastCellAndHotSet) {
  TestSkin s;
  s.Paint(TsRect{0, 0, 6, 6}, Rgb(200, 0, 0));
  s.Paint(TsRect{6, 0, 12, 6}, Rgb(0, 200, 0));
  const int32_t frame = s.Image(TsRect{0, 0, 12, 6}, 2, 0, dmStretch, 1, 1, 1, 1);
  s.At(s.Section("BTN", 3, 0x112233, 0, 0x445566)).BorderMaskIndex = frame;
  s.At(s.Section("ONE", 1, 0x112233, 0)).BorderMaskIndex = frame;
  const TsSectionBinding b = BindSection(s.model, "BTN");

  Bitmap32 cache(10, 8);
  PaintSection(b, BackgroundSource{}, false, cache, TsPoint{}, TsRect{0, 0, 10, 8}, 2);
  EXPECT_EQ(cache.At(0, 0), Rgb(0, 200, 0));
  EXPECT_EQ(cache.At(9, 7), Rgb(0, 200, 0));
  EXPECT_EQ(cache.At(5, 4), ColorToPixel(0x445566));  // no centre: the background shows

  s.Img(frame).DrawMode = dmStretch | dmNotNormal;
  const TsSectionBinding ob = BindSection(s.model, "ONE");
  Bitmap32 normal(10, 8), hot(10, 8);
  PaintSection(ob, BackgroundSource{}, false, normal, TsPoint{}, TsRect{0, 0, 10, 8}, 0);
  PaintSection(ob, BackgroundSource{}, false, hot, TsPoint{}, TsRect{0, 0, 10, 8}, 2);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(hot.At(x, y), normal.At(x, y));
  EXPECT_EQ(normal.At(0, 0), ColorToPixel(0x112233));
}

// Transparency against the parent: 30 % keeps (parent x 76 + own x 179 + 127) >> 8, 100 %
// shows the parent (or its colour), and with nothing behind the section paints itself.
TEST(SectionBackground, TransparencyAgainstParent) {
  TestSkin s;
  const int32_t sec = s.Section("PLAIN", 2, 0x30A0F0, 30);
  const Bitmap32 parent = Parent(64, 40);
  const TsRect rect{2, 3, 22, 13};
  const TsPoint origin{5, 4};
  Bitmap32 t(30, 20);
  PaintSectionBackground(&s.model, sec, "PLAIN", MakeBgInfo(&parent, 1, 2), clFuchsia, -1, -1, t, origin, rect, 0);
  const Pixel32 own = ColorToPixel(0x30A0F0);
  for (int y = rect.Top; y < rect.Bottom; ++y)
    for (int x = rect.Left; x < rect.Right; ++x) {
      const Pixel32 p = parent.At(1 + 5 + x - rect.Left, 2 + 4 + y - rect.Top);
      const auto mix = [](int pv, int ov) { return static_cast<uint8_t>((pv * 76 + ov * 179 + 127) >> 8); };
      ASSERT_EQ(t.At(x, y), (Pixel32{mix(p.B, own.B), mix(p.G, own.G), mix(p.R, own.R), mix(p.A, own.A)}))
          << x << "," << y;
    }

  // A plain parent colour and no texture or gradient: the colours are mixed directly.
  BackgroundSource plain;
  plain.FillColor = 0x000000;
  PaintSectionBackground(&s.model, sec, "PLAIN", plain, clFuchsia, -1, -1, t, origin, rect, 0);
  EXPECT_EQ(t.At(2, 3), ColorToPixel(MixColors(0x000000, 0x30A0F0, 0.3)));

  s.At(sec).StateProps[0].Transparency = 100;
  PaintSectionBackground(&s.model, sec, "PLAIN", MakeBgInfo(&parent, 1, 2), clFuchsia, -1, -1, t, origin, rect, 0);
  EXPECT_EQ(t.At(2, 3), parent.At(6, 6));
  EXPECT_EQ(t.At(21, 12), parent.At(25, 15));
  plain.FillColor = 0x0000FF;
  PaintSectionBackground(&s.model, sec, "PLAIN", plain, clFuchsia, -1, -1, t, origin, rect, 0);
  EXPECT_EQ(t.At(10, 10), ColorToPixel(0x0000FF));
  plain.FillColor = clFuchsia;  // nothing known about the parent
  PaintSectionBackground(&s.model, sec, "PLAIN", plain, clFuchsia, -1, -1, t, origin, rect, 0);
  EXPECT_EQ(t.At(10, 10), own);
  // Painting the parent onto itself leaves it alone.
  Bitmap32 self = Parent(30, 20);
  PaintSectionBackground(&s.model, sec, "PLAIN", MakeBgInfo(&self, 3, 3), clFuchsia, -1, -1, self, origin, rect, 0);
  EXPECT_EQ(self.At(2, 3), Parent(30, 20).At(2, 3));
}

// Texture and gradient that cover the area together mix per pixel in one pass; the texture
// is tiled from the target's origin, not the rectangle's.
TEST(SectionBackground, CombinedTextureAndGradient) {
  TestSkin s;
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 2; ++y) s.model.MasterBitmap.At(40 + x, 20 + y) = Rgb(static_cast<uint8_t>(60 * x), 90, static_cast<uint8_t>(100 * y));
  const int32_t tex = s.Image(TsRect{40, 20, 43, 22}, 1, 0, 0);
  s.model.Images[static_cast<std::size_t>(tex)].ImgType = itTexture;
  const int32_t sec = s.Section("GRAD", 1, 0xFFFFFF, 0);
  TsGenState& p = s.At(sec).StateProps[0];
  p.ImagePercent = 60;
  p.GradientPercent = 40;
  p.Gradient = {GradientPiece{0x102030, 0x102030, 100, 0}};
  const Pixel32 g = ColorToPixel(0x102030);

  Bitmap32 t(20, 12);
  PaintSectionBackground(&s.model, sec, "GRAD", BackgroundSource{}, clFuchsia, -1, tex, t, TsPoint{}, TsRect{5, 3, 17, 11}, 0);
  const int f = 60 * 255 / 100;
  for (int y = 3; y < 11; ++y)
    for (int x = 5; x < 17; ++x) {
      const Pixel32 tp = s.model.MasterBitmap.At(40 + x % 3, 20 + y % 2);
      const auto mix = [&](int tv, int gv) { return static_cast<uint8_t>((f * tv + (256 - f) * gv) >> 8); };
      ASSERT_EQ(t.At(x, y), (Pixel32{mix(tp.B, g.B), mix(tp.G, g.G), mix(tp.R, g.R), 255})) << x << "," << y;
    }
}

// Scroll-bar parts paint the plain colour where texture and gradient percents add up to more
// than 100; at exactly 100 (and in a whole section's fill) texture and gradient stay.
TEST(SectionBackground, IndexedPartsOverOneHundredPercentTakeThePlainColour) {
  TestSkin s;
  s.Paint(TsRect{40, 20, 43, 22}, Rgb(10, 200, 30));
  const int32_t tex = s.Image(TsRect{40, 20, 43, 22}, 1, 0, 0);
  const int32_t sec = s.Section("BAR", 1, 0x3366CC, 0);
  TsGenState& p = s.At(sec).StateProps[0];
  p.ImagePercent = 60;
  p.GradientPercent = 50;
  p.Gradient = {GradientPiece{0x102030, 0x102030, 100, 0}};
  const TsRect r{0, 0, 12, 8};
  const Pixel32 plain = ColorToPixel(0x3366CC);

  Bitmap32 part(12, 8);
  PaintSectionWithIndexes(sec, -1, tex, -1, &s.model, part, TsPoint{}, r, 0, BackgroundSource{}, "BAR");
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(part.At(x, y), plain) << x << "," << y;

  Bitmap32 whole(12, 8);
  PaintSectionBackground(&s.model, sec, "BAR", BackgroundSource{}, clFuchsia, -1, tex, whole, TsPoint{}, r, 0);
  EXPECT_NE(whole.At(0, 0), plain);
  p.ImagePercent = 50;
  PaintSectionWithIndexes(sec, -1, tex, -1, &s.model, part, TsPoint{}, r, 0, BackgroundSource{}, "BAR");
  EXPECT_NE(part.At(0, 0), plain);
}

// Missing models, bad indexes and rectangles that are empty or leave the bitmap paint
// nothing; parents far off and frames hanging over the edges never write beside the bitmap.
TEST(SectionPainting, BadInputsPaintNothing) {
  TestSkin s;
  s.Paint(TsRect{0, 0, 9, 3}, Rgb(1, 2, 3));
  const int32_t frame = s.Image(TsRect{0, 0, 9, 3}, 3, 0, dmStretch | dmPaintCentre, 1, 1, 1, 1);
  const int32_t sec = s.Section("S", 3, 0x0000FF, 0);
  s.At(sec).BorderMaskIndex = frame;
  const TsSectionBinding b = BindSection(s.model, "S");
  const Bitmap32 parent = Parent(8, 8);
  const BackgroundSource bg = MakeBgInfo(&parent, -50, 90);

  Guarded g(12, 10, kSentinel);
  const auto paintAll = [&](int32_t index, const TsRect& r, const TsSkinModel* model) {
    TsSectionBinding wrong = b;
    wrong.SectionIndex = index;
    wrong.SkinManager = model;
    PaintSection(wrong, bg, true, g.view, TsPoint{}, r, 1);
    PaintSectionByIndex(index, "S", bg, -1, -1, model, g.view, TsPoint{}, r, 1);
    PaintSectionWithIndexes(index, frame, -1, -1, model, g.view, TsPoint{}, r, 1, bg, "S");
    PaintSectionBackground(model, index, "S", bg, clFuchsia, -1, -1, g.view, TsPoint{}, r, 1);
  };
  for (const TsRect r : {TsRect{-1, 0, 5, 5}, TsRect{0, 0, 13, 5}, TsRect{0, 0, 5, 11}, TsRect{4, 4, 4, 8}, TsRect{6, 2, 3, 5}})
    paintAll(sec, r, &s.model);
  for (int32_t bad : {-1, 1, 1000}) paintAll(bad, TsRect{0, 0, 12, 10}, &s.model);
  ASSERT_EQ(DefaultSkinModel(), nullptr);
  paintAll(sec, TsRect{0, 0, 12, 10}, nullptr);
  PaintBorderMask(g.view, TsRect{0, 0, 1, 10}, s.Img(frame), 1, true, bg);  // below 2 pixels
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(g.view.At(x, y), kSentinel) << x << "," << y;

  PaintSection(b, bg, true, g.view, TsPoint{-7, 300}, TsRect{0, 0, 12, 10}, 2);
  PaintBorderMask(g.view, TsRect{-5, -5, 20, 20}, s.Img(frame), 2, true, bg);
  EXPECT_TRUE(g.GuardIntact());
}

}  // namespace
