#include "skin/render/sFormLife.h"

#include <gtest/gtest.h>

using S = TsFormState;
using E = TsFormEvent;

TEST(FormLife, MinimizeFlightOutAndBack) {
  TsFormLife life;
  EXPECT_FALSE(life.InFlightLife());
  ASSERT_TRUE(life.Apply(E::MinimizeBegin));
  EXPECT_EQ(life.State(), S::Minimizing);
  EXPECT_FALSE(life.TitleAnimationsAllowed());
  EXPECT_FALSE(life.Apply(E::MinimizeBegin));  // one flight out at a time
  ASSERT_TRUE(life.Apply(E::FlightArrived));
  EXPECT_EQ(life.State(), S::Minimized);
  EXPECT_TRUE(life.InFlightLife());  // until the form is back
  EXPECT_TRUE(life.TitleAnimationsAllowed());
  ASSERT_TRUE(life.Apply(E::RestoreBegin));
  EXPECT_EQ(life.State(), S::Restoring);
  EXPECT_FALSE(life.Apply(E::RestoreBegin));
  EXPECT_FALSE(life.TitleAnimationsAllowed());
  ASSERT_TRUE(life.Apply(E::RestoreEnd));
  EXPECT_EQ(life.State(), S::Skinned);
  EXPECT_FALSE(life.InFlightLife());
}

TEST(FormLife, OnlyAPictureThatFlewOutFliesBackAndAMinimizeTurnsARestoreAround) {
  TsFormLife life;
  EXPECT_FALSE(life.Apply(E::RestoreBegin));
  EXPECT_FALSE(life.Apply(E::FlightArrived));
  EXPECT_FALSE(life.Apply(E::RestoreEnd));
  ASSERT_TRUE(life.Apply(E::MinimizeBegin));
  ASSERT_TRUE(life.Apply(E::RestoreBegin));  // restored while still flying out
  ASSERT_TRUE(life.Apply(E::MinimizeBegin));
  EXPECT_EQ(life.State(), S::Minimizing);
  ASSERT_TRUE(life.Apply(E::FlightDropped));
  EXPECT_EQ(life.State(), S::Skinned);
  EXPECT_FALSE(life.Apply(E::FlightDropped));
}

TEST(FormLife, EffectsCoverTheStateTheyInterrupt) {
  TsFormLife life;
  ASSERT_TRUE(life.Apply(E::MinimizeBegin));
  ASSERT_TRUE(life.Apply(E::FlightArrived));
  ASSERT_TRUE(life.Apply(E::HideBegin));
  EXPECT_EQ(life.State(), S::Hiding);
  EXPECT_EQ(life.Base(), S::Minimized);
  EXPECT_TRUE(life.InFlightLife());
  EXPECT_FALSE(life.TitleAnimationsAllowed());
  EXPECT_FALSE(life.Apply(E::HideBegin));
  ASSERT_TRUE(life.Apply(E::HideEnd));
  EXPECT_EQ(life.State(), S::Minimized);

  // Showing again ends a close that was prepared; the show effect then covers the form.
  TsFormLife shown;
  ASSERT_TRUE(shown.Apply(E::HideBegin));
  ASSERT_TRUE(shown.Apply(E::ShowNotice));
  ASSERT_TRUE(shown.Apply(E::ShowBegin));
  EXPECT_EQ(shown.State(), S::Showing);
  EXPECT_TRUE(shown.TitleAnimationsAllowed());
  EXPECT_FALSE(shown.Apply(E::HideEnd));
  ASSERT_TRUE(shown.Apply(E::ShowEnd));
  EXPECT_EQ(shown.State(), S::Skinned);
  EXPECT_FALSE(shown.Apply(E::ShowEnd));
}

TEST(FormLife, TheWindowShownEndsACloseAndAFlightOutButNotARestore) {
  TsFormLife out;
  ASSERT_TRUE(out.Apply(E::MinimizeBegin));
  ASSERT_TRUE(out.Apply(E::HideBegin));
  out.Apply(E::WindowShown);
  EXPECT_EQ(out.State(), S::Minimized);
  EXPECT_FALSE(out.Apply(E::FlightArrived));  // already over

  TsFormLife back;
  ASSERT_TRUE(back.Apply(E::MinimizeBegin));
  ASSERT_TRUE(back.Apply(E::RestoreBegin));
  back.Apply(E::WindowShown);
  EXPECT_EQ(back.State(), S::Restoring);
}

TEST(FormLife, AHookMadeFormIsPreparedOnceAndStaysUnpreparedUnderAnEffect) {
  TsFormLife life(S::Unprepared);
  ASSERT_TRUE(life.Apply(E::ShowBegin));
  EXPECT_TRUE(life.Unprepared());
  ASSERT_TRUE(life.Apply(E::Prepare));
  EXPECT_FALSE(life.Unprepared());
  EXPECT_EQ(life.State(), S::Showing);
  ASSERT_TRUE(life.Apply(E::ShowEnd));
  EXPECT_EQ(life.State(), S::Skinned);
  EXPECT_FALSE(life.Apply(E::Prepare));
}
