// Recipe: the seamless background of the hunt, wind through the trees and insects.
#include <algorithm>
#include <cmath>

#include "tools/artgen/sound_recipes.h"

namespace artgen::recipes {

using namespace synth;

Signal WindAndInsectsLoop(int rate, double seconds) {
  Signal out(rate, seconds);
  const size_t n = out.Size();
  // Made a little longer than the loop; the extra tail is crossfaded over the head so the last
  // sample runs straight on into the first. Everything periodic repeats a whole number of times.
  const size_t overlap = static_cast<size_t>(0.5 * rate);
  std::vector<double> x(n + overlap, 0.0);
  Rng rng(151);
  Biquad windLo = Biquad::LowPass(rate, 420, 0.6);
  Biquad windHi = Biquad::BandPass(rate, 900, 1.2);
  const double len = static_cast<double>(n);
  // Warm the filters so the head has no start-up transient.
  for (int i = 0; i < rate; ++i) {
    windLo.Run(rng.Noise());
    windHi.Run(rng.Noise());
  }
  for (size_t i = 0; i < n + overlap; ++i) {
    const double ph = static_cast<double>(i % n) / len;  // 0..1 around the loop
    // Gusts: slow swells, two and three times around the loop, never quite still.
    const double gust = 0.55 + 0.25 * std::sin(2 * kPi * 2 * ph) + 0.15 * std::sin(2 * kPi * 3 * ph + 1.3);
    x[i] = 1.6 * windLo.Run(rng.Noise()) * gust + 0.35 * windHi.Run(rng.Noise()) * gust * gust;
  }
  for (size_t i = 0; i < n; ++i) out.s[i] = x[i];
  for (size_t i = 0; i < overlap; ++i) {
    const double g = static_cast<double>(i) / overlap;  // 0 at the seam: the head continues the tail
    out.s[i] = std::sin(0.5 * kPi * g) * x[i] + std::cos(0.5 * kPi * g) * x[n + i];
  }
  // The insects are periodic in the loop by construction, so they go on after the crossfade.
  for (size_t i = 0; i < n; ++i) {
    const double ph = static_cast<double>(i) / len;
    // Crickets: chirps of four pulses at 4.1 kHz, 26 chirps around the loop.
    const double chirpPos = std::fmod(ph * 26.0, 1.0) * (len / 26.0) / rate;  // seconds into this chirp period
    double cricket = 0;
    if (chirpPos < 0.09) {
      const double pulse = std::fmod(chirpPos, 0.0225) / 0.0225;
      cricket = std::sin(kPi * pulse) * std::sin(2 * kPi * 4100 * static_cast<double>(i) / rate);
    }
    // A second, more distant cricket, slower and lower, out of step with the first.
    const double chirp2 = std::fmod(ph * 17.0 + 0.37, 1.0) * (len / 17.0) / rate;
    double cricket2 = 0;
    if (chirp2 < 0.12) {
      const double pulse = std::fmod(chirp2, 0.03) / 0.03;
      cricket2 = std::sin(kPi * pulse) * std::sin(2 * kPi * 3600 * static_cast<double>(i) / rate);
    }
    out.s[i] += 0.16 * cricket + 0.09 * cricket2;
  }
  return out;
}

}  // namespace artgen::recipes
