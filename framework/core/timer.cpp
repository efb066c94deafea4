// ZTimer: frame schedule with unsigned millisecond arithmetic, so the clock's wrap does no harm.
#include "framework/core/timer.h"

#include "platform/clock.h"

Z_IMPLEMENT_CLASS(ZTimer, ZObject)

ZTimer::ZTimer() : nextTime(platform::timeGetTime()) {}

uint32_t ZTimer::Reset() {
  nextTime = platform::timeGetTime();
  return nextTime;
}

uint32_t ZTimer::Tick() {
  uint32_t t = platform::timeGetTime();
  now = t;
  // "Before nextTime" is judged by the signed distance, which stays right across the 2^32 wrap.
  if (static_cast<int32_t>(t - nextTime) < 0) {
    frameDue = 0;
    return t;
  }
  lateness = t - nextTime;
  if (lateness > interval) {
    nextTime = t;  // too late: drop the schedule and restart it from now
  } else {
    nextTime = t + (interval - lateness);  // slightly late: keep the planned schedule
  }
  uint32_t d = t - lastFrameTime;
  lastFrameTime = t;
  frameDue = 1;
  if (d == 0) {
    measuredRate = 0;
    return lateness;
  }
  measuredRate = static_cast<int32_t>(1000 / d);
  return static_cast<uint32_t>(measuredRate);
}
