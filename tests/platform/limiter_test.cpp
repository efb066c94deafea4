// The output limiter: quiet sums pass untouched, loud ones come under the ceiling along smooth gain
// curves, and the gain recovers.
#include "platform/limiter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace platform {
namespace {

constexpr size_t kLag = OutputLimiter::kLookAhead;

TEST(OutputLimiter, QuietSoundPassesExactlyOnlyLater) {
  OutputLimiter lim(44100);
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> quiet(-OutputLimiter::kCeiling, OutputLimiter::kCeiling);
  std::vector<float> in(2 * 5000);
  for (float& x : in) x = quiet(rng);
  std::vector<float> out = in;
  for (size_t at = 0; at < 5000; at += 1000) lim.Process(out.data() + 2 * at, 1000);
  for (size_t k = 0; k < 2 * kLag; ++k) ASSERT_EQ(out[k], 0.0f) << k;
  for (size_t k = kLag; k < 5000; ++k) {
    ASSERT_EQ(out[2 * k], in[2 * (k - kLag)]) << k;
    ASSERT_EQ(out[2 * k + 1], in[2 * (k - kLag) + 1]) << k;
  }
}

TEST(OutputLimiter, BurstsComeUnderTheCeilingAlongASmoothGain) {
  // Random bursts up to eight times full scale, starting without warning, in blocks of odd sizes.
  OutputLimiter lim(44100);
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  const size_t n = 44100 * 3;
  std::vector<float> in(2 * n);
  float level = 0.3f;
  for (size_t k = 0; k < n; ++k) {
    if (k % 997 == 0) level = std::fabs(unit(rng)) * 8.0f;
    in[2 * k] = level * unit(rng);
    in[2 * k + 1] = level * std::sin(0.01f * k);
  }
  std::vector<float> out = in;
  std::vector<float> gains;
  for (size_t at = 0; at < n;) {
    const size_t block = std::min<size_t>(n - at, 1 + at % 613);
    for (size_t k = 0; k < block; ++k) {
      lim.Process(out.data() + 2 * (at + k), 1);
      gains.push_back(lim.Gain());
    }
    at += block;
  }
  size_t limited = 0;
  for (size_t k = kLag; k < n; ++k) {
    const float g = gains[k];
    ASSERT_LE(std::fabs(out[2 * k]), OutputLimiter::kCeiling) << k;
    ASSERT_LE(std::fabs(out[2 * k + 1]), OutputLimiter::kCeiling) << k;
    // The output is the held input times the gain: limited, never distorted.
    ASSERT_NEAR(out[2 * k], in[2 * (k - kLag)] * g, 1e-5) << k;
    // The gain slides: no jump bigger than an even ramp over the look-ahead would take.
    ASSERT_LE(std::fabs(g - gains[k - 1]), 1.0f / kLag + 1e-6f) << k;
    limited += g < 0.999f ? 1 : 0;
  }
  EXPECT_GT(limited, n / 2);
}

TEST(OutputLimiter, TheGainRecoversOverAFewHundredMillisecondsAfterAPeak) {
  OutputLimiter lim(44100);
  std::vector<float> block(2 * 441);
  auto run = [&](float level, int blocks) {
    for (int b = 0; b < blocks; ++b) {
      for (size_t k = 0; k < 441; ++k) block[2 * k] = block[2 * k + 1] = level * (k % 2 ? 1.0f : -1.0f);
      lim.Process(block.data(), 441);
    }
  };
  run(4.0f, 10);  // 100 ms at four times the ceiling's worth
  EXPECT_NEAR(lim.Gain(), OutputLimiter::kCeiling / 4.0f, 1e-4);
  run(0.1f, 10);  // 100 ms later: on its way back, not there yet (no pumping snap-back)
  EXPECT_GT(lim.Gain(), 0.3f);
  EXPECT_LT(lim.Gain(), 0.8f);
  run(0.1f, 300);  // three seconds later: back to unity, and quiet sound passes untouched
  EXPECT_EQ(lim.Gain(), 1.0f);
  EXPECT_EQ(block[2 * 440], -0.1f);
}

}  // namespace
}  // namespace platform
