// ZTimer: frame schedule, lateness, restarts and the measured rate, on a manual clock.
#include <gtest/gtest.h>

#include "framework/core/timer.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

namespace {

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetBackend(&backend); }
  void TearDown() override { platform::SetBackend(nullptr); }
  void At(uint32_t ms) { backend.GetManualClock().Set(ms); }

  platform::HeadlessBackend backend{1000};
};

TEST_F(TimerTest, EarlyTicksWaitAndLateOnesKeepTheScheduleUpToOneInterval) {
  ZTimer timer;
  timer.interval = 27;
  EXPECT_EQ(timer.Tick(), 1u);  // due at once: 1000 ms since frame time 0 gives rate 1
  At(1010);
  EXPECT_EQ(timer.Tick(), 1010u);  // not due: returns the time read
  EXPECT_EQ(timer.frameDue, 0);
  EXPECT_EQ(timer.nextTime, 1027u);
  At(1032);  // 5 ms late
  EXPECT_EQ(timer.Tick(), 1000u / 32u);
  EXPECT_EQ(timer.frameDue, 1);
  EXPECT_EQ(timer.lateness, 5u);
  EXPECT_EQ(timer.nextTime, 1054u);  // 1027 + 27, not 1032 + 27
  EXPECT_EQ(timer.measuredRate, 31);
  At(1081);  // exactly one interval late still keeps the schedule
  timer.Tick();
  EXPECT_EQ(timer.lateness, 27u);
  EXPECT_EQ(timer.nextTime, 1081u);
  At(1109);  // 28 ms late: restarts from now
  timer.Tick();
  EXPECT_EQ(timer.lateness, 28u);
  EXPECT_EQ(timer.nextTime, 1109u);
  // Due again in the same millisecond: rate 0 without dividing by zero.
  EXPECT_EQ(timer.Tick(), 0u);
  EXPECT_EQ(timer.frameDue, 1);
  EXPECT_EQ(timer.measuredRate, 0);
}

TEST_F(TimerTest, AtMostOneFramePerDueTick) {
  ZTimer timer;
  timer.interval = 27;
  timer.Reset();
  int frames = 0;
  for (uint32_t t = 1000; t < 2000; ++t) {
    At(t);
    timer.Tick();
    frames += timer.frameDue;
  }
  EXPECT_EQ(frames, 38);  // 1000, 1027, ..., 1999
}

TEST_F(TimerTest, ScheduleSurvivesTheClockWrap) {
  At(0xFFFFFFF0u);
  ZTimer timer;
  timer.interval = 27;
  timer.Tick();
  EXPECT_EQ(timer.nextTime, 0x0000000Bu);
  At(0xFFFFFFFFu);
  timer.Tick();
  EXPECT_EQ(timer.frameDue, 0);  // before the wrapped due time
  At(0x0000000Bu);
  timer.Tick();
  EXPECT_EQ(timer.frameDue, 1);  // due after the wrap, not 49 days later
  EXPECT_EQ(timer.lateness, 0u);
}

}  // namespace
