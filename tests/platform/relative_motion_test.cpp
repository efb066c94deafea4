// RelativeMotion: host mouse motion into picture pixels at any scale, slow motion carried, not lost.
#include <gtest/gtest.h>

#include "platform/relative_motion.h"

namespace {

TEST(RelativeMotionTest, TurnsAlikeAtEveryScaleAndKeepsWhatIsLeftOver) {
  platform::RelativeMotion m;
  // A 1280-wide window showing the picture twice as wide: two units a pixel.
  EXPECT_EQ(m.Add(30, 1280, 1280, 1280, 640), 15);
  EXPECT_EQ(m.Add(-11, 1280, 1280, 1280, 640), -5);  // half a pixel left over, to the left
  // Slow motion, one unit at a time, adds up exactly.
  int32_t sum = 0;
  for (int i = 0; i < 7; ++i) sum += m.Add(1, 1280, 1280, 1280, 640);
  EXPECT_EQ(sum, 3);
  // A window smaller than the picture (320 shown for 640): a unit is two pixels.
  m.Reset();
  EXPECT_EQ(m.Add(-7, 320, 320, 320, 640), -14);
  // Sizes not known (a window being made): one unit, one pixel, rather than a division by zero.
  m.Reset();
  EXPECT_EQ(m.Add(5, 0, 0, 0, 640), 5);
}

}  // namespace
