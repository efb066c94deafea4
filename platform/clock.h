// Millisecond and calendar clocks: a real monotonic one for the game, a manual one for tests.
#pragma once

#include <cstdint>
#include <ctime>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; unsigned 32-bit, wraps after 49.7 days.
  virtual uint32_t Milliseconds() const = 0;
  // Calendar time in seconds since 1970 (UTC).
  virtual std::time_t CalendarSeconds() const = 0;
};

class RealClock final : public Clock {
 public:
  RealClock();
  uint32_t Milliseconds() const override;
  std::time_t CalendarSeconds() const override;
};

// Advanced only by the test or the replay driver, so runs are reproducible.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(uint32_t startMs = 0, std::time_t calendar = 0) : ms_(startMs), calendar_(calendar) {}
  uint32_t Milliseconds() const override { return ms_; }
  std::time_t CalendarSeconds() const override { return calendar_; }
  void Advance(uint32_t ms) { ms_ += ms; }  // wraps like the real counter
  void Set(uint32_t ms) { ms_ = ms; }
  void SetCalendar(std::time_t t) { calendar_ = t; }

 private:
  uint32_t ms_;
  std::time_t calendar_;
};

// The clock the platform's timeGetTime/GetTickCount/time read: the current backend's.
uint32_t timeGetTime();
uint32_t GetTickCount();
std::time_t CalendarTime();

}  // namespace platform
