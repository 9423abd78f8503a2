// Skinned scroll bars along their length: thumb length and place, the element under a point
// and the position a dragged thumb stands for.
#include <gtest/gtest.h>

#include "skin/render/acScrollGeometry.h"

namespace {

// 100 lines (0..99), 20 visible, on a 200-pixel bar with 17-pixel arrows.
constexpr TacScrollNumbers kLines{0, 99, 20, 0};

TEST(ScrollGeometry, ThumbLengthAndPlaceFollowPageAndPosition) {
  TacScrollLayout l = ScrollLayout(kLines, 200, 17);
  EXPECT_EQ(l.Track, 166);
  EXPECT_EQ(l.Thumb, 33);  // 20 * 166 / 100 rounded
  EXPECT_EQ(l.ThumbStart, 17);
  EXPECT_TRUE(l.HasThumb);

  // The last position the platform allows (max - page + 1) puts the thumb at the track's end.
  TacScrollNumbers end = kLines;
  end.Pos = 80;
  l = ScrollLayout(end, 200, 17);
  EXPECT_EQ(l.ThumbStart + l.Thumb, 200 - 17);
  end.Pos = 40;  // half way: 40 * 133 / 80 = 66.5 rounds up
  EXPECT_EQ(ScrollLayout(end, 200, 17).ThumbStart, 17 + 67);

  // A tiny page still gives a thumb one can grab; no page gives an arrow-long one.
  EXPECT_EQ(ScrollLayout(TacScrollNumbers{0, 9999, 1, 0}, 200, 17).Thumb, kMinThumbLength);
  EXPECT_EQ(ScrollLayout(TacScrollNumbers{0, 99, 0, 0}, 200, 17).Thumb, 17);
}

TEST(ScrollGeometry, APageCoveringTheWholeRangeLeavesNoThumbButTheArrows) {
  const TacScrollLayout l = ScrollLayout(TacScrollNumbers{0, 99, 100, 0}, 200, 17);
  EXPECT_FALSE(l.HasThumb);
  EXPECT_EQ(ScrollElementAt(l, 3), seLineUp);
  EXPECT_EQ(ScrollElementAt(l, 199), seLineDown);
  EXPECT_EQ(ScrollElementAt(l, 100), seNone);
}

TEST(ScrollGeometry, ElementsAlongTheBar) {
  TacScrollNumbers n = kLines;
  n.Pos = 40;
  const TacScrollLayout l = ScrollLayout(n, 200, 17);  // thumb 84..116
  EXPECT_EQ(ScrollElementAt(l, 16), seLineUp);
  EXPECT_EQ(ScrollElementAt(l, 17), sePageUp);
  EXPECT_EQ(ScrollElementAt(l, 83), sePageUp);
  EXPECT_EQ(ScrollElementAt(l, 84), seThumb);
  EXPECT_EQ(ScrollElementAt(l, 116), seThumb);
  EXPECT_EQ(ScrollElementAt(l, 117), sePageDown);
  EXPECT_EQ(ScrollElementAt(l, 183), seLineDown);
  EXPECT_EQ(ScrollElementAt(l, 200), seNone);
  // A bar shorter than both arrows splits into two halves.
  const TacScrollLayout shortBar = ScrollLayout(kLines, 30, 17);
  EXPECT_EQ(ScrollElementAt(shortBar, 14), seLineUp);
  EXPECT_EQ(ScrollElementAt(shortBar, 15), seLineDown);
}

TEST(ScrollGeometry, DraggedThumbGivesPositionsUpToOnePastTheMaximum) {
  const TacScrollLayout l = ScrollLayout(kLines, 200, 17);
  EXPECT_EQ(ScrollPosFromThumb(kLines, l, 0), 0);
  EXPECT_EQ(ScrollPosFromThumb(kLines, l, 66), 40);   // 66 * 81 / 133 = 40.2
  EXPECT_EQ(ScrollPosFromThumb(kLines, l, 133), 81);  // 99 - 20 + 2
  EXPECT_EQ(ScrollPosFromThumb(kLines, l, 140), 81);
  // And back: the position of a thumb placed from a position lands on it again.
  for (int pos = 0; pos <= 80; ++pos) {
    TacScrollNumbers n = kLines;
    n.Pos = pos;
    const TacScrollLayout at = ScrollLayout(n, 200, 17);
    const int back = ScrollPosFromThumb(n, at, at.ThumbStart - 17);
    EXPECT_NEAR(back, pos, 1) << pos;
  }
}

TEST(ScrollGeometry, MulDivRoundsHalvesAwayFromZeroAndRefusesZero) {
  EXPECT_EQ(MulDivRound(20, 166, 100), 33);
  EXPECT_EQ(MulDivRound(1, 1, 2), 1);
  EXPECT_EQ(MulDivRound(-1, 1, 2), -1);
  EXPECT_EQ(MulDivRound(0x7FFFFFFF, 2, 2), 0x7FFFFFFF);
  EXPECT_EQ(MulDivRound(5, 5, 0), -1);
}

}  // namespace
