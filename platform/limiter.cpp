// The output bus's limiter (see limiter.h).
//
// Per frame: the gain the frame needs (ceiling / peak, or 1) goes into a sliding minimum over the
// look-ahead; that minimum falls at once and rises with the release; a moving average over the
// look-ahead turns each fall into a ramp that is complete when the held frame that needed it comes out.
// Every value averaged then lies at or below the need of the frame leaving, so the ceiling holds.
#include "platform/limiter.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
constexpr double kReleaseSeconds = 0.2;
constexpr size_t kWindow = OutputLimiter::kLookAhead + 1;
}  // namespace

OutputLimiter::OutputLimiter(int rate)
    : release_(1.0 - std::exp(-1.0 / (kReleaseSeconds * (rate > 0 ? rate : 44100)))),
      delay_(2 * kLookAhead, 0.0f),
      window_(kWindow),
      smoothing_(kLookAhead, 1.0) {
  Reset();
}

void OutputLimiter::Reset() {
  std::fill(delay_.begin(), delay_.end(), 0.0f);
  std::fill(smoothing_.begin(), smoothing_.end(), 1.0);
  smoothingSum_ = static_cast<double>(kLookAhead);
  windowHead_ = windowSize_ = 0;
  released_ = 1.0;
  gain_ = 1.0f;
  frame_ = 0;
}

bool OutputLimiter::Idle() const {
  return released_ == 1.0 && smoothingSum_ == static_cast<double>(kLookAhead) && windowSize_ == 1 &&
         window_[windowHead_].gain == 1.0f;
}

void OutputLimiter::Process(float* stereo, size_t frames) {
  if (stereo == nullptr) return;
  if (Idle()) {
    // Nothing to do while every frame held and arriving is under the ceiling: a plain delay.
    float peak = 0.0f;
    for (size_t i = 0; i < 2 * frames; ++i) peak = std::max(peak, std::fabs(stereo[i]));
    if (peak <= kCeiling) {  // also false for a frame that is not a number
      for (size_t i = 0; i < frames; ++i) {
        const size_t slot = static_cast<size_t>((frame_ + i) % kLookAhead);
        std::swap(stereo[2 * i], delay_[2 * slot]);
        std::swap(stereo[2 * i + 1], delay_[2 * slot + 1]);
      }
      if (frames > 0) window_[windowHead_].frame = frame_ + frames - 1;
      frame_ += frames;
      return;
    }
  }
  for (size_t i = 0; i < frames; ++i) {
    float* x = stereo + 2 * i;
    const float peak = std::max(std::fabs(x[0]), std::fabs(x[1]));
    // Not a number would poison the gain for good; such a frame leaves as silence.
    const bool finite = std::isfinite(peak);
    const float need = !finite ? 0.0f : peak > kCeiling ? kCeiling / peak : 1.0f;

    // Sliding minimum: gains in the ring rise from head to tail. The one that left the window goes
    // first, then every larger one behind the new need.
    if (windowSize_ > 0 && window_[windowHead_].frame + kWindow <= frame_) {
      windowHead_ = (windowHead_ + 1) % kWindow;
      --windowSize_;
    }
    while (windowSize_ > 0 && window_[(windowHead_ + windowSize_ - 1) % kWindow].gain >= need) --windowSize_;
    window_[(windowHead_ + windowSize_) % kWindow] = Need{frame_, need};
    ++windowSize_;
    const double least = window_[windowHead_].gain;
    released_ = least < released_ ? least : released_ + (least - released_) * release_;
    if (least - released_ < 1e-4) released_ = least;  // the release arrives instead of creeping for ever

    const size_t slot = static_cast<size_t>(frame_ % kLookAhead);
    smoothingSum_ += released_ - smoothing_[slot];
    smoothing_[slot] = released_;
    if (slot == 0) {  // the running sum is made afresh now and then so rounding cannot creep
      smoothingSum_ = 0;
      for (double g : smoothing_) smoothingSum_ += g;
    }
    const float gain = static_cast<float>(std::min(1.0, smoothingSum_ / static_cast<double>(kLookAhead)));
    gain_ = gain;

    const float inL = finite ? x[0] : 0.0f;
    const float inR = finite ? x[1] : 0.0f;
    const float outL = delay_[2 * slot] * gain;
    const float outR = delay_[2 * slot + 1] * gain;
    delay_[2 * slot] = inL;
    delay_[2 * slot + 1] = inR;
    // Rounding alone could leave a hair over the ceiling.
    x[0] = std::clamp(outL, -kCeiling, kCeiling);
    x[1] = std::clamp(outR, -kCeiling, kCeiling);
    ++frame_;
  }
}

}  // namespace platform
