// Sleeping between loop passes: until the first input event or the earliest moment something is due.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace platform {

class Clock;

// --- what is due, and when ---
// The game's loop polls and never blocks; the pump sleeps only when its queue is empty, and never past
// the earliest moment asked for here (timeGetTime milliseconds): the next frame of a hunt, the caret's
// next blink, the end of a wait, the audio output's next refill. Each request holds until the next
// sleep takes it, so whoever has something due asks again every pass. Moments are compared by their
// signed distance, so the clock's wrap does no harm.
void WakeBy(uint32_t dueMs);
// The next sleep does not sleep at all (work is waiting for the next pass).
void WakeNow();
// The earliest moment asked for since the last call, and forgets it; empty when none was asked.
std::optional<uint32_t> TakeWakeDeadline();

// --- the sleep itself ---
// Waits for one event for at most maxMs; true as soon as one is waiting. It may return false early
// (a host event that made no input, an interrupted sleep): the caller then decides whether to go on.
using EventWait = std::function<bool(uint32_t maxMs)>;

// Sleeps through `wait` until an event arrives or `due` comes (by `clock`), whichever is first, and
// never longer than longestMs when nothing is due. A moment already past returns at once without
// waiting. True when an event arrived.
bool SleepUntilEventOrDue(const Clock& clock, const EventWait& wait, std::optional<uint32_t> due,
                          uint32_t longestMs);

}  // namespace platform
