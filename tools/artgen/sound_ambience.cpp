// Recipe: the seamless background of the hunt, wind through the trees and crickets that keep no beat.
#include <algorithm>
#include <cmath>

#include "tools/artgen/sound_recipes.h"

namespace artgen::recipes {

using namespace synth;

namespace {

struct Cricket {
  double pitch;        // Hz
  double level;
  double pulseSeconds; // one stridulation pulse
  int fewestPulses, mostPulses;
  double shortestGap, longestGap;  // seconds from one chirp's start to the next
  double restChance;   // a chirp followed by a rest of one to three seconds
};

// Writes one cricket's chirps around the loop `s` (wrapping at its end).
void AddCrickets(std::vector<double>* s, int rate, const Cricket& c, uint64_t seed) {
  Rng rng(seed);
  const size_t n = s->size();
  const double loopSeconds = static_cast<double>(n) / rate;
  double t = rng.Range(0.0, c.longestGap);
  // The last gap, the one over the seam, must be no shorter than the others.
  while (t < loopSeconds - c.shortestGap) {
    const int pulses = c.fewestPulses + static_cast<int>(rng.Uniform() * (c.mostPulses - c.fewestPulses + 1));
    const double pitch = c.pitch * rng.Range(0.985, 1.015);
    const double level = c.level * rng.Range(0.6, 1.15);
    const double pulse = c.pulseSeconds * rng.Range(0.9, 1.12);
    const size_t from = static_cast<size_t>(t * rate);
    const size_t length = static_cast<size_t>(pulses * pulse * rate);
    for (size_t k = 0; k < length; ++k) {
      const double u = std::fmod(static_cast<double>(k) / rate, pulse) / pulse;
      const double v = level * std::sin(kPi * u) * std::sin(2 * kPi * pitch * static_cast<double>(k) / rate);
      (*s)[(from + k) % n] += v;
    }
    t += rng.Range(c.shortestGap, c.longestGap);
    if (rng.Uniform() < c.restChance) t += rng.Range(1.0, 3.0);
  }
}

}  // namespace

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
  struct Swell {
    double turns, depth, phase;
  };
  const Swell swells[] = {{2, 0.17, rng.Range(0, 2 * kPi)}, {3, 0.12, rng.Range(0, 2 * kPi)},
                          {5, 0.08, rng.Range(0, 2 * kPi)}, {7, 0.05, rng.Range(0, 2 * kPi)}};
  // Warm the filters so the head has no start-up transient.
  for (int i = 0; i < rate; ++i) {
    windLo.Run(rng.Noise());
    windHi.Run(rng.Noise());
  }
  for (size_t i = 0; i < n + overlap; ++i) {
    const double ph = static_cast<double>(i % n) / len;  // 0..1 around the loop
    // Gusts: slow swells of unrelated lengths (each a whole number of times around the loop, so the
    // seam is smooth), never quite still and never on a beat.
    double gust = 0.55;
    for (const Swell& w : swells) gust += w.depth * std::sin(2 * kPi * w.turns * ph + w.phase);
    x[i] = 1.6 * windLo.Run(rng.Noise()) * gust + 0.35 * windHi.Run(rng.Noise()) * gust * gust;
  }
  for (size_t i = 0; i < n; ++i) out.s[i] = x[i];
  for (size_t i = 0; i < overlap; ++i) {
    const double g = static_cast<double>(i) / overlap;  // 0 at the seam: the head continues the tail
    out.s[i] = std::sin(0.5 * kPi * g) * x[i] + std::cos(0.5 * kPi * g) * x[n + i];
  }
  // Insects on a ring as long as the loop, so a chirp near the end runs on over the seam into the
  // head. Each cricket keeps its own ragged time: gaps, pulse counts, pitch and loudness differ from
  // chirp to chirp, with now and then a rest.
  AddCrickets(&out.s, rate, Cricket{4100, 0.16, 0.0225, 3, 5, 0.28, 0.75, 0.12}, 4101);
  AddCrickets(&out.s, rate, Cricket{3600, 0.09, 0.03, 3, 4, 0.55, 1.3, 0.2}, 3601);
  return out;
}

}  // namespace artgen::recipes
