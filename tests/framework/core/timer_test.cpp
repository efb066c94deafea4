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

TEST_F(TimerTest, ConstructionReadsTheClockAndUsesThirtyFrames) {
  ZTimer timer;
  EXPECT_EQ(timer.rate, 30);
  EXPECT_EQ(timer.interval, 33u);
  EXPECT_EQ(timer.nextTime, 1000u);
  EXPECT_EQ(timer.measuredRate, 0);
  EXPECT_EQ(timer.lastFrameTime, 0u);
  EXPECT_EQ(timer.frameDue, 0);
  At(1234);
  EXPECT_EQ(timer.Reset(), 1234u);
  EXPECT_EQ(timer.nextTime, 1234u);
}

TEST_F(TimerTest, TickBeforeTheDueTimeClearsTheFlag) {
  ZTimer timer;
  timer.interval = 27;
  EXPECT_EQ(timer.Tick(), 1u);  // due at once: 1000 ms since frame time 0 gives rate 1
  EXPECT_EQ(timer.frameDue, 1);
  At(1010);
  EXPECT_EQ(timer.Tick(), 1010u);  // not due: returns the time read
  EXPECT_EQ(timer.frameDue, 0);
  EXPECT_EQ(timer.now, 1010u);
  EXPECT_EQ(timer.nextTime, 1027u);
}

TEST_F(TimerTest, SlightlyLateFrameKeepsThePlannedSchedule) {
  ZTimer timer;
  timer.interval = 27;
  timer.Tick();  // at 1000: next at 1027
  At(1032);      // 5 ms late
  uint32_t rate = timer.Tick();
  EXPECT_EQ(timer.frameDue, 1);
  EXPECT_EQ(timer.lateness, 5u);
  EXPECT_EQ(timer.nextTime, 1054u);  // 1027 + 27, not 1032 + 27
  EXPECT_EQ(rate, 1000u / 32u);
  EXPECT_EQ(timer.measuredRate, 31);
  EXPECT_EQ(timer.lastFrameTime, 1032u);
  // Exactly one interval late still keeps the schedule.
  At(1081);
  timer.Tick();
  EXPECT_EQ(timer.lateness, 27u);
  EXPECT_EQ(timer.nextTime, 1081u);
}

TEST_F(TimerTest, MoreThanOneIntervalLateRestartsFromNow) {
  ZTimer timer;
  timer.interval = 27;
  timer.Tick();  // next at 1027
  At(1055);      // 28 ms late
  timer.Tick();
  EXPECT_EQ(timer.lateness, 28u);
  EXPECT_EQ(timer.nextTime, 1055u);
  EXPECT_EQ(timer.frameDue, 1);
}

TEST_F(TimerTest, TwoDueTicksInOneMillisecondGiveRateZeroWithoutDividing) {
  ZTimer timer;
  timer.interval = 27;
  timer.Tick();
  At(1200);  // far too late: the schedule restarts at 1200, so the next tick is due again
  timer.Tick();
  EXPECT_EQ(timer.nextTime, 1200u);
  uint32_t result = timer.Tick();  // same millisecond, due, d == 0
  EXPECT_EQ(timer.frameDue, 1);
  EXPECT_EQ(timer.measuredRate, 0);
  EXPECT_EQ(result, timer.lateness);
  EXPECT_EQ(result, 0u);
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
  // 1000 ms at 27 ms a frame: frames at 1000, 1027, ..., 1999 at most.
  EXPECT_EQ(frames, 38);
}

TEST_F(TimerTest, ScheduleSurvivesTheClockWrap) {
  At(0xFFFFFFF0u);
  ZTimer timer;
  timer.interval = 27;
  timer.Tick();                         // due now; next at 0xFFFFFFF0 + 27, past the wrap
  EXPECT_EQ(timer.nextTime, 0x0000000Bu);
  At(0xFFFFFFFFu);
  timer.Tick();
  EXPECT_EQ(timer.frameDue, 0);         // before the wrapped due time
  At(0x0000000Bu);
  timer.Tick();
  EXPECT_EQ(timer.frameDue, 1);         // due after the wrap, not 49 days later
  EXPECT_EQ(timer.lateness, 0u);
}

}  // namespace
