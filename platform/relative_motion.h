// Host relative mouse motion turned into picture pixels, keeping what is left over between events.
#pragma once

#include <cstdint>

namespace platform {

// One axis. `windowUnits` of motion span `rendererPixels` on the screen, on which the picture's
// `framePixels` are shown `shownPixels` wide: a unit is rendererPixels / windowUnits screen pixels
// (more than one on high-density screens), a frame pixel shownPixels / framePixels of them. Motion
// too small for a frame pixel is carried to the next event, so slow movement is never lost and the
// view turns alike at every window size and scale.
class RelativeMotion {
 public:
  int32_t Add(int32_t motion, int32_t windowUnits, int32_t rendererPixels, int32_t shownPixels, int32_t framePixels) {
    if (windowUnits <= 0 || rendererPixels <= 0 || shownPixels <= 0 || framePixels <= 0) {
      windowUnits = rendererPixels = shownPixels = framePixels = 1;
    }
    const int64_t per = static_cast<int64_t>(windowUnits) * shownPixels;
    rest_ += static_cast<int64_t>(motion) * rendererPixels * framePixels;
    const int64_t pixels = rest_ / per;
    rest_ -= pixels * per;
    return static_cast<int32_t>(pixels);
  }
  void Reset() { rest_ = 0; }

 private:
  int64_t rest_ = 0;
};

}  // namespace platform
