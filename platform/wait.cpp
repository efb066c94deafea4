// The earliest requested wake-up moment, and the sleep that honours it.
#include "platform/wait.h"

#include <algorithm>

#include "platform/clock.h"

namespace platform {
namespace {

std::optional<uint32_t>& Earliest() {
  static std::optional<uint32_t> earliest;
  return earliest;
}

}  // namespace

void WakeBy(uint32_t dueMs) {
  std::optional<uint32_t>& earliest = Earliest();
  if (!earliest || static_cast<int32_t>(dueMs - *earliest) < 0) earliest = dueMs;
}

void WakeNow() { WakeBy(timeGetTime()); }

std::optional<uint32_t> TakeWakeDeadline() {
  std::optional<uint32_t> taken = Earliest();
  Earliest().reset();
  return taken;
}

bool SleepUntilEventOrDue(const Clock& clock, const EventWait& wait, std::optional<uint32_t> due,
                          uint32_t longestMs) {
  if (!wait) return false;
  const uint32_t start = clock.Milliseconds();
  // Without a moment of its own, the sleep still ends after longestMs: a part that forgot to ask
  // shows as a slow reaction, not a hang.
  uint32_t end = start + longestMs;
  if (due && static_cast<int32_t>(*due - end) < 0) end = *due;
  for (;;) {
    const int32_t left = static_cast<int32_t>(end - clock.Milliseconds());
    if (left <= 0) return false;
    if (wait(static_cast<uint32_t>(left))) return true;
  }
}

}  // namespace platform
