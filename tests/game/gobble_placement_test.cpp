// Where a gobble is heard from: pan by the bird's angle from the view, quieter behind, the designed
// volume's acceptance untouched.
#include "game/gobble_placement.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(GobblePlacement, PanFollowsTheAngleInFrontAndHoldsItsSideBehind) {
  EXPECT_EQ(PlaceGobble(0, -600).pan, 0);
  EXPECT_EQ(PlaceGobble(90, -600).pan, kGobbleSidePan);
  EXPECT_EQ(PlaceGobble(-90, -600).pan, -kGobbleSidePan);
  EXPECT_EQ(PlaceGobble(60, -600).pan, std::lround(kGobbleSidePan * std::sqrt(3.0) / 2));
  EXPECT_EQ(PlaceGobble(150, -600).pan, kGobbleSidePan);
  EXPECT_EQ(PlaceGobble(-150, -600).pan, -kGobbleSidePan);
  EXPECT_EQ(PlaceGobble(-300, -600).pan, PlaceGobble(60, -600).pan);  // angles fold into -180..180
  int32_t last = -1;
  for (int d = 0; d <= 80; ++d) {  // turning a bird toward the side moves it steadily outward
    const int32_t pan = PlaceGobble(d, -600).pan;
    EXPECT_GT(pan, last) << d;
    last = pan;
  }
  EXPECT_EQ(PlaceGobble(std::nan(""), -600).pan, 0);
}

TEST(GobblePlacement, BehindIsQuieterUpToTheFullStepStraightBack) {
  EXPECT_EQ(PlaceGobble(45, -600).volume, -600);
  EXPECT_EQ(PlaceGobble(90, -600).volume, -600);
  EXPECT_EQ(PlaceGobble(135, -600).volume, -600 - kGobbleBehindQuieter / 2);
  EXPECT_EQ(PlaceGobble(180, -600).volume, -600 - kGobbleBehindQuieter);
  EXPECT_EQ(PlaceGobble(-180, -600).volume, -600 - kGobbleBehindQuieter);
}

TEST(GobblePlacement, AVolumeTheSoundSystemTakesStaysOneItTakesAndARefusedOneStaysRefused) {
  // Whether a gobble plays decides later draws of the hunt, so this must never change.
  for (int32_t designed = -12000; designed <= 0; designed += 37) {
    for (double d = -180; d <= 180; d += 7.5) {
      const GobblePlacement p = PlaceGobble(d, designed);
      EXPECT_EQ(p.volume >= -10000, designed >= -10000) << designed << " at " << d;
      EXPECT_LE(p.volume, designed);
      EXPECT_TRUE(p.pan >= -10000 && p.pan <= 10000);
    }
  }
}

}  // namespace
