// Where the progress bar's blocks go: the installer's own bar, smooth, marquee and degenerate bars.
#include <gtest/gtest.h>

#include "skin/render/sProgressLayout.h"

namespace {

ProgressBarState WizardBar(int position) {
  ProgressBarState bar;
  bar.Width = 320;
  bar.Height = 17;
  bar.Position = position;
  return bar;
}

TEST(ProgressLayout, TheInstallersBarFillsBlocksOfEightEveryTenPixels) {
  const ProgressLayout at20 = LayoutProgressBar(WizardBar(20));
  EXPECT_EQ(at20.BlockWidth, 8);
  EXPECT_EQ(at20.BlockHeight, 15);
  EXPECT_EQ(at20.Count, 31);
  EXPECT_EQ(at20.Gap, 2);
  ASSERT_EQ(at20.Blocks.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(at20.Blocks[i], (TsRect{1 + 10 * i, 1, 9 + 10 * i, 16})) << i;
  // 6.51 and 6.82 blocks are both 7; 15.5 blocks round to even.
  EXPECT_EQ(FilledProgressBlocks(WizardBar(21)), 7);
  EXPECT_EQ(FilledProgressBlocks(WizardBar(22)), 7);
  EXPECT_EQ(FilledProgressBlocks(WizardBar(50)), 16);
  EXPECT_EQ(FilledProgressBlocks(WizardBar(0)), 0);
  // At the end the space after the 31st block takes one more block.
  const ProgressLayout full = LayoutProgressBar(WizardBar(100));
  ASSERT_EQ(full.Blocks.size(), 32u);
  EXPECT_EQ(full.Blocks[30], (TsRect{301, 1, 309, 16}));
  EXPECT_EQ(full.Blocks[31], (TsRect{311, 1, 319, 16}));
}

TEST(ProgressLayout, SmoothMarqueeAndVerticalBars) {
  ProgressBarState smooth = WizardBar(50);
  smooth.Smooth = true;
  const ProgressLayout s = LayoutProgressBar(smooth);
  ASSERT_EQ(s.Blocks.size(), 1u);
  EXPECT_EQ(s.Blocks[0], (TsRect{1, 1, 160, 16}));

  ProgressBarState marquee = WizardBar(0);
  marquee.Marquee = true;
  marquee.MarqueeOffset = 16;
  const ProgressLayout m = LayoutProgressBar(marquee);
  ASSERT_EQ(m.Blocks.size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m.Blocks[i].Left, 17 + 10 * i);
  EXPECT_EQ(m.Blocks[0].Width(), 9);

  ProgressBarState vertical;
  vertical.Width = 17;
  vertical.Height = 120;
  vertical.Vertical = true;
  vertical.Position = 50;
  const ProgressLayout v = LayoutProgressBar(vertical);
  ASSERT_FALSE(v.Blocks.empty());
  // Vertical blocks grow from the bottom.
  EXPECT_EQ(v.Blocks[0].Bottom, 119);
  EXPECT_GT(v.Blocks[0].Top, v.Blocks[1].Top);
}

TEST(ProgressLayout, EmptyRangesAndTinyBarsPaintNoBlocks) {
  ProgressBarState empty = WizardBar(0);
  empty.Max = 0;
  EXPECT_TRUE(LayoutProgressBar(empty).Blocks.empty());
  // Room for one block only: no gap to divide among blocks.
  ProgressBarState tiny = WizardBar(100);
  tiny.Width = 14;
  EXPECT_EQ(LayoutProgressBar(tiny).Count, 1);
  EXPECT_TRUE(LayoutProgressBar(tiny).Blocks.empty());
  ProgressBarState flat = WizardBar(40);
  flat.Height = 2;
  EXPECT_TRUE(LayoutProgressBar(flat).Blocks.empty());
}

}  // namespace
