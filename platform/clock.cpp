// The real monotonic clock, and the clock functions the game reads (the backend's clock).
#include "platform/clock.h"

#include <chrono>

#include "platform/backend.h"

namespace platform {
namespace {

using Steady = std::chrono::steady_clock;

Steady::time_point& Origin() {
  static Steady::time_point origin = Steady::now();
  return origin;
}

const Clock& CurrentClock() {
  Backend* backend = GetBackend();
  if (backend != nullptr) return backend->GetClock();
  static RealClock fallback;
  return fallback;
}

}  // namespace

RealClock::RealClock() { (void)Origin(); }

uint32_t RealClock::Milliseconds() const {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - Origin()).count();
  // Truncation to 32 bits is the counter's wrap-around.
  return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

std::time_t RealClock::CalendarSeconds() const { return std::time(nullptr); }

uint32_t timeGetTime() { return CurrentClock().Milliseconds(); }
uint32_t GetTickCount() { return CurrentClock().Milliseconds(); }
std::time_t CalendarTime() { return CurrentClock().CalendarSeconds(); }

}  // namespace platform
