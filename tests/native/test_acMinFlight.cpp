// The minimize flight's arithmetic: where a taskbar's inner edge is, the 13 steps of the
// default flight out and back, a restore that turns a flight around, and rounding ties.
#include <gtest/gtest.h>

#include <vector>

#include "skin/render/acMinFlight.h"

namespace {

std::function<TsRect(TsPoint)> EdgeOf(TsRect taskbar) {
  return [taskbar](TsPoint c) { return acTaskbarEdgeTarget(taskbar, c); };
}

std::vector<int> AlphasUntilDone(TacMinFlight& f, int limit = 100) {
  std::vector<int> alphas;
  for (int i = 0; i < limit; ++i) {
    const TacFlightFrame fr = f.Step();
    if (fr.What != TacFlightFrame::Shown) break;
    alphas.push_back(fr.Alpha);
  }
  return alphas;
}

TEST(MinFlight, TheTargetIsTheMiddleOfTheTaskbarsInnerEdge) {
  const TsPoint centre{400, 300};
  // Bottom (left within -4..0), right, top (wider than high), left.
  EXPECT_EQ(acTaskbarEdgeTarget(TsRect{-2, 728, 1026, 770}, centre), (TsRect{400, 728, 400, 728}));
  EXPECT_EQ(acTaskbarEdgeTarget(TsRect{980, 0, 1024, 768}, centre), (TsRect{980, 300, 980, 300}));
  EXPECT_EQ(acTaskbarEdgeTarget(TsRect{980, 10, 1024, 768}, centre), (TsRect{980, 300, 980, 300}));
  EXPECT_EQ(acTaskbarEdgeTarget(TsRect{0, 0, 1024, 40}, centre), (TsRect{400, 40, 400, 40}));
  EXPECT_EQ(acTaskbarEdgeTarget(TsRect{0, 0, 60, 768}, centre), (TsRect{60, 300, 60, 300}));
  // A window of no size at the origin counts as a left taskbar.
  EXPECT_EQ(acTaskbarEdge(TsRect{0, 0, 0, 0}), TacTaskbarEdge::Left);
}

TEST(MinFlight, TheDefaultFlightTakesThirteenTicksOutAndBack) {
  TacMinFlight f;
  const TsRect window{100, 100, 400, 300};  // centre (250, 200), 300 x 200
  f.Init(200, 255, window, EdgeOf(TsRect{0, 728, 1024, 768}));
  ASSERT_EQ(f.StepCount(), 13);
  EXPECT_EQ(f.TargetRect(), (TsRect{250, 728, 250, 728}));
  // The first tick: the centre moves (0, 528/13) and each half-size shrinks by 150/13, 100/13.
  TacFlightFrame first = f.Step();
  EXPECT_EQ(first.Alpha, 234);  // 255 - 255/12, rounded
  EXPECT_EQ(first.Width, 277);  // 300 - 300/13 = 276.92
  EXPECT_EQ(first.Height, 185);  // 200 - 200/13 = 184.62
  EXPECT_EQ(first.OffsetX, 11);
  EXPECT_EQ(first.OffsetY, 7);
  EXPECT_EQ(first.At, (TsPoint{100, 141}));  // centre y 200 + 40.6 -> 241, minus 100
  std::vector<int> out{234};
  for (int a : AlphasUntilDone(f)) out.push_back(a);
  EXPECT_EQ(out, (std::vector<int>{234, 213, 192, 171, 150, 129, 108, 87, 66, 45, 24, 3}));
  EXPECT_TRUE(f.Minimized);
  // Back: the same thirteen ticks the other way, then the picture itself where it began.
  std::vector<int> back;
  TacFlightFrame fr;
  while ((fr = f.Step()).What == TacFlightFrame::Shown) back.push_back(fr.Alpha);
  EXPECT_EQ(back, (std::vector<int>{21, 42, 63, 84, 105, 126, 147, 168, 189, 210, 231, 252}));
  EXPECT_EQ(fr.What, TacFlightFrame::Returned);
  EXPECT_EQ(fr.Alpha, 255);
  EXPECT_EQ(fr.At, (TsPoint{100, 100}));
  EXPECT_EQ(fr.Width, 300);
  EXPECT_FALSE(f.Minimized);
  // A new minimize starts from the window where it is now.
  f.Init(200, 255, OffsetRect(window, 10, 0), EdgeOf(TsRect{0, 728, 1024, 768}));
  EXPECT_EQ(f.StartRect().Left, 110);
  EXPECT_EQ(f.Step().Alpha, 234);
}

TEST(MinFlight, ARestoreInFlightTurnsBackFromWhereThePictureIs) {
  TacMinFlight f;
  const TsRect window{100, 100, 400, 300};
  f.Init(200, 255, window, EdgeOf(TsRect{0, 728, 1024, 768}));
  TacFlightFrame fr;
  for (int i = 0; i < 4; ++i) fr = f.Step();
  const TsPoint fourth = fr.At;
  fr = f.Step();  // alpha 150
  f.Minimized = true;
  fr = f.Step();
  EXPECT_EQ(fr.Alpha, 171);
  EXPECT_EQ(fr.At, fourth);
  // A second start while in flight keeps the picture's place and alpha.
  f.Minimized = false;
  f.Init(200, 255, TsRect{0, 0, 10, 10}, EdgeOf(TsRect{0, 728, 1024, 768}));
  EXPECT_EQ(f.StartRect(), window);
  EXPECT_EQ(f.Step().Alpha, 150);
}

TEST(MinFlight, HalvesRoundToEven) {
  // 45 ms: three ticks, alpha step 127.5: 127.5 -> 128, then 0.5 -> 0 (arrived, not 1).
  TacMinFlight f;
  f.Init(45, 255, TsRect{0, 0, 10, 10}, nullptr);  // no taskbar: the origin
  EXPECT_EQ(f.TargetRect(), (TsRect{}));
  EXPECT_EQ(AlphasUntilDone(f), (std::vector<int>{128}));
  EXPECT_TRUE(f.Minimized);
  // A time below one tick still flies in one step.
  TacMinFlight g;
  g.Init(0, 255, TsRect{0, 0, 10, 10}, nullptr);
  EXPECT_EQ(g.StepCount(), 1);
  EXPECT_EQ(g.Step().What, TacFlightFrame::Arrived);
}

}  // namespace
