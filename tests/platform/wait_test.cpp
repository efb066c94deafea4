// The pump's sleep on its own: a fake clock and a scripted event source show that it ends at the moment
// it was given or at the first event, never later; and the earliest of several wake-up requests wins.
#include "platform/wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/clock.h"

namespace {

// Host time moves only while the sleep waits; an event comes at a set moment, and some waits end
// early without one, as a host sleep interrupted by an event that makes no input does.
class FakeHost {
 public:
  explicit FakeHost(uint32_t startMs) : clock(startMs) {}

  bool Wait(uint32_t maxMs) {
    asked.push_back(maxMs);
    uint32_t step = maxMs;
    if (spuriousAfter && *spuriousAfter < step) {
      step = *spuriousAfter;
      spuriousAfter.reset();
      clock.Advance(step);
      return false;
    }
    if (eventAt) {
      const int32_t until = static_cast<int32_t>(*eventAt - clock.Milliseconds());
      if (until <= static_cast<int32_t>(maxMs)) {
        clock.Advance(static_cast<uint32_t>(std::max(until, 0)));
        return true;
      }
    }
    clock.Advance(step);
    return false;
  }
  platform::EventWait Fn() {
    return [this](uint32_t ms) { return Wait(ms); };
  }

  platform::ManualClock clock;
  std::optional<uint32_t> eventAt;
  std::optional<uint32_t> spuriousAfter;
  std::vector<uint32_t> asked;
};

TEST(WaitTest, EndsAtTheMomentGivenOrAtTheFirstEventNeverLater) {
  {  // Nothing happens: back exactly at the moment asked for.
    FakeHost host(1000);
    EXPECT_FALSE(platform::SleepUntilEventOrDue(host.clock, host.Fn(), 1027u, 1000));
    EXPECT_EQ(host.clock.Milliseconds(), 1027u);
  }
  {  // An event before the moment: back at the event.
    FakeHost host(1000);
    host.eventAt = 1010;
    EXPECT_TRUE(platform::SleepUntilEventOrDue(host.clock, host.Fn(), 1027u, 1000));
    EXPECT_EQ(host.clock.Milliseconds(), 1010u);
  }
  {  // An event after the moment does not hold the sleep past it.
    FakeHost host(1000);
    host.eventAt = 1500;
    EXPECT_FALSE(platform::SleepUntilEventOrDue(host.clock, host.Fn(), 1027u, 1000));
    EXPECT_EQ(host.clock.Milliseconds(), 1027u);
  }
  {  // A wait that ends early without an event sleeps again for what is left, no more.
    FakeHost host(1000);
    host.spuriousAfter = 5;
    EXPECT_FALSE(platform::SleepUntilEventOrDue(host.clock, host.Fn(), 1027u, 1000));
    EXPECT_EQ(host.clock.Milliseconds(), 1027u);
    EXPECT_EQ(host.asked, (std::vector<uint32_t>{27, 22}));
  }
  {  // Nothing due: the sleep still ends after the longest wait, or at the first event.
    FakeHost host(1000);
    EXPECT_FALSE(platform::SleepUntilEventOrDue(host.clock, host.Fn(), std::nullopt, 1000));
    EXPECT_EQ(host.clock.Milliseconds(), 2000u);
    host.eventAt = 2300;
    EXPECT_TRUE(platform::SleepUntilEventOrDue(host.clock, host.Fn(), std::nullopt, 1000));
    EXPECT_EQ(host.clock.Milliseconds(), 2300u);
  }
}

TEST(WaitTest, AMomentDueOrPastDoesNotWaitAndTheClockWrapDoesNoHarm) {
  FakeHost host(5000);
  EXPECT_FALSE(platform::SleepUntilEventOrDue(host.clock, host.Fn(), 5000u, 1000));
  EXPECT_FALSE(platform::SleepUntilEventOrDue(host.clock, host.Fn(), 4990u, 1000));
  EXPECT_TRUE(host.asked.empty());
  EXPECT_EQ(host.clock.Milliseconds(), 5000u);
  // A moment just past the 32-bit wrap lies 20 ms ahead, not 49 days behind or ahead.
  FakeHost wrap(0xFFFFFFF6u);
  EXPECT_FALSE(platform::SleepUntilEventOrDue(wrap.clock, wrap.Fn(), 10u, 1000));
  EXPECT_EQ(wrap.clock.Milliseconds(), 10u);
  EXPECT_EQ(wrap.asked, (std::vector<uint32_t>{20}));
}

TEST(WaitTest, TheEarliestRequestWinsAndIsTakenOnce) {
  EXPECT_FALSE(platform::TakeWakeDeadline().has_value());
  platform::WakeBy(1200);
  platform::WakeBy(1100);
  platform::WakeBy(1300);
  EXPECT_EQ(platform::TakeWakeDeadline(), std::optional<uint32_t>(1100));
  EXPECT_FALSE(platform::TakeWakeDeadline().has_value());
  // Across the wrap, the moment before it is the earlier one.
  platform::WakeBy(5);
  platform::WakeBy(0xFFFFFFF0u);
  EXPECT_EQ(platform::TakeWakeDeadline(), std::optional<uint32_t>(0xFFFFFFF0u));
}

}  // namespace
