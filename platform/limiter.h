// The output bus's limiter: a short look-ahead brings loud sums under the ceiling smoothly, never clipping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

class OutputLimiter {
 public:
  // Frames the output is held back, and so how early the gain starts to fall before a peak (1.5 ms).
  static constexpr size_t kLookAhead = 64;
  // Nothing leaves the bus louder than this: -1 dB of full scale, room for the host's own conversion.
  static constexpr float kCeiling = 0.89125094f;

  explicit OutputLimiter(int rate);
  // Limits interleaved stereo in place. The output is the input kLookAhead frames later, scaled by
  // a gain that falls ahead of every peak (over the look-ahead) and recovers over about 200 ms.
  void Process(float* stereo, size_t frames);
  // Forgets the held frames and the gain (after the output skipped ahead without sound).
  void Reset();
  float Gain() const { return gain_; }

 private:
  bool Idle() const;

  struct Need {
    uint64_t frame;
    float gain;
  };

  double release_;
  std::vector<float> delay_;       // kLookAhead stereo frames
  std::vector<Need> window_;       // ring: the smallest gain needed over the last kLookAhead + 1 frames
  size_t windowHead_ = 0;
  size_t windowSize_ = 0;
  std::vector<double> smoothing_;  // the last kLookAhead released gains, averaged
  double smoothingSum_ = 0;
  double released_ = 1.0;
  float gain_ = 1.0f;
  uint64_t frame_ = 0;
};

}  // namespace platform
