// ZTimer: paces the hunt's frames from the millisecond clock (timeGetTime).
#pragma once

#include <cstdint>

#include "framework/core/object.h"

class ZTimer : public ZObject {
  Z_DECLARE_CLASS(ZTimer)

 public:
  ZTimer();

  // Re-bases the schedule: nextTime = now. Returns it.
  uint32_t Reset();
  // Decides whether a frame is due. Returns the measured rate when one is due (or the lateness
  // when two due ticks fall in the same millisecond), otherwise the time read.
  uint32_t Tick();

  int32_t rate = 30;
  int32_t measuredRate = 0;
  uint32_t interval = 33;
  uint32_t nextTime = 0;
  uint32_t lateness = 0;
  uint32_t now = 0;
  uint32_t lastFrameTime = 0;
  int32_t frameDue = 0;
};
