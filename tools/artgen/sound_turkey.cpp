// Recipes: the tom's gobbles, the box call's yelps, the mouth call's clucks and purr, wings flapping.
#include <algorithm>
#include <cmath>

#include "tools/artgen/sound_recipes.h"

namespace artgen::recipes {

using namespace synth;

void AddTone(Signal* s, double start, double length, const std::function<double(double)>& freq,
             const std::function<double(double)>& amp, const std::vector<double>& harmonics, double roughness,
             uint64_t seed) {
  Rng rng(seed);
  OnePole rough(s->rate, 180);  // the roughness is slow noise on the amplitude: rasp, not hiss
  const size_t a = s->At(start);
  const size_t b = std::min(s->Size(), s->At(start + length));
  double phase = 0;
  const double nyquistish = 0.45 * s->rate;
  const double fadeBand = 0.08 * s->rate;
  for (size_t i = a; i < b; ++i) {
    const double u = (static_cast<double>(i - a) / s->rate) / length;
    const double f = freq(u);
    phase += 2 * kPi * f / s->rate;
    double v = 0;
    for (size_t h = 0; h < harmonics.size(); ++h) {
      const double hf = f * static_cast<double>(h + 1);
      if (hf >= nyquistish) break;
      // Harmonics fade out as they near the limit, so a glide never switches one on with a click.
      const double taper = std::min(1.0, (nyquistish - hf) / fadeBand);
      v += taper * harmonics[h] * std::sin(phase * static_cast<double>(h + 1));
    }
    const double r = roughness > 0 ? 1.0 + roughness * 3.0 * rough.Run(rng.Noise()) : 1.0;
    s->s[i] += amp(u) * v * r;
  }
}

void AddBandNoise(Signal* s, double freq, double q, const std::function<double(double)>& env, uint64_t seed) {
  Rng rng(seed);
  Biquad f = Biquad::BandPass(s->rate, freq, q);
  for (size_t i = 0; i < s->Size(); ++i) {
    const double e = env(s->Seconds(i));
    const double y = f.Run(rng.Noise());
    s->s[i] += e * y;
  }
}

void AddStrike(Signal* s, double at, double freq, double decay, double gain) {
  // A damped sine: what a resonator rings with after a tap.
  const size_t a = s->At(at);
  const size_t b = std::min(s->Size(), a + static_cast<size_t>(decay * 6 * s->rate));
  for (size_t i = a; i < b; ++i) {
    const double u = static_cast<double>(i - a) / s->rate;
    s->s[i] += gain * std::exp(-u / decay) * std::sin(2 * kPi * freq * u);
  }
}

Signal Gobble(int rate, double seconds, double startPitch, double rattleLength, uint64_t seed) {
  Signal s(rate, seconds);
  Rng rng(seed);
  // The gobble is a rattle of syllables that speeds up as it falls in pitch and fades: two strong
  // opening notes ("gob-ble"), then the quick "obble-obble-obble" trill.
  struct Syllable {
    double start, length, pitch, amp;
  };
  std::vector<Syllable> syl;
  const double t0 = 0.03;
  double t = t0;
  int k = 0;
  while (t < t0 + rattleLength) {
    const double p = (t - t0) / rattleLength;
    const double interval = (k < 2 ? 0.12 : 0.085 - 0.04 * std::sqrt(p)) + rng.Range(-0.004, 0.004);
    const double pitch = startPitch * (1.0 - 0.42 * p) * rng.Range(0.97, 1.03);
    double amp = k < 2 ? 1.0 : 0.95 * std::exp(-1.3 * p);
    amp *= rng.Range(0.85, 1.0);
    syl.push_back({t, interval * 0.92, pitch, amp});
    t += interval;
    ++k;
  }
  for (size_t n = 0; n < syl.size(); ++n) {
    const Syllable y = syl[n];
    // Inside a syllable the voice drops sharply and recovers a little: the "obble" of the rattle.
    AddTone(
        &s, y.start, y.length,
        [y](double u) { return y.pitch * (1.0 + 0.38 * (1 - u) * (1 - u) - 0.12 * u); },
        [y](double u) { return y.amp * std::pow(std::sin(kPi * std::min(1.0, u * 1.08)), 0.6); },
        {1.0, 0.85, 0.6, 0.4, 0.25, 0.15}, 0.45, seed * 31 + n);
    // Breathy rasp riding on each note.
    const double st = y.start, len = y.length, a = y.amp;
    AddBandNoise(&s, y.pitch * 2.2, 2.5, [st, len, a](double tt) { return 0.9 * a * Bump(tt, st, len); },
                 seed * 97 + n);
  }
  // The throat: a broad formant around 1.5 kHz over the dry voice.
  Signal shaped = s;
  Biquad formant = Biquad::BandPass(rate, 1500, 0.9);
  for (size_t i = 0; i < s.Size(); ++i) s.s[i] = 0.6 * s.s[i] + 1.2 * formant.Run(shaped.s[i]);
  HighPassInPlace(&s, 180);
  AddEchoes(&s, {0.17, 0.39}, {0.3, 0.16}, 2400);
  AddReverb(&s, 0.045, 0.7, 0.18, seed + 5);
  FadeEnds(&s, 0.002, 0.08);
  return s;
}

std::vector<Signal> BoxCallYelps(int rate, double seconds) {
  Signal dry(rate, seconds);
  Rng rng(153);
  // Two series of yelps, as a hunter runs a box call: six, a breath, then four.
  std::vector<double> starts;
  for (int k = 0; k < 6; ++k) starts.push_back(0.12 + 0.33 * k + rng.Range(-0.01, 0.01));
  for (int k = 0; k < 4; ++k) starts.push_back(2.45 + 0.31 * k + rng.Range(-0.01, 0.01));
  for (size_t n = 0; n < starts.size(); ++n) {
    const double len = rng.Range(0.16, 0.19);
    const double hi = rng.Range(1200, 1300), lo = rng.Range(740, 800);
    const double breakAt = rng.Range(0.28, 0.36);
    const double amp = n == 5 || n == 9 ? 0.8 : 1.0;
    // Each yelp starts on a clear high note and breaks over into a lower, raspy one.
    AddTone(
        &dry, starts[n], len,
        [=](double u) {
          if (u < breakAt) return hi * (0.94 + 0.06 * std::min(1.0, u / 0.1));
          const double g = std::min(1.0, (u - breakAt) / 0.08);
          return hi + (lo - hi) * g;
        },
        [=](double u) { return amp * Gate(u, 0, 1, 0.06, 0.25) * (0.75 + 0.25 * std::clamp((u - breakAt) / 0.08, 0.0, 1.0)); },
        {1.0, 0.7, 0.5, 0.35, 0.22}, 0.5, 1530 + n);
    // The friction of the lid on the box: a scratchy band riding on the low note.
    const double st = starts[n] + breakAt * len, l2 = len * (1 - breakAt);
    AddBandNoise(&dry, lo * 3, 1.5, [=](double t) { return 0.6 * amp * Bump(t, st, l2); }, 1540 + n);
  }
  HighPassInPlace(&dry, 250);
  std::vector<Signal> out;
  for (int c = 0; c < 2; ++c) {
    // Each ear hears its own reflections of the woods: the same call, a different room.
    Signal ch = dry;
    AddReverb(&ch, c == 0 ? 0.041 : 0.053, 0.45, 0.15, 1550 + c);
    FadeEnds(&ch, 0.003, 0.1);
    out.push_back(std::move(ch));
  }
  return out;
}

std::vector<Signal> MouthCallCluckPurr(int rate, double seconds) {
  Signal dry(rate, seconds);
  Rng rng(154);
  auto cluck = [&](double at, double amp, uint64_t seed) {
    // A cluck: a short, sharp note that drops an octave almost at once.
    AddTone(
        &dry, at, 0.06, [](double u) { return 1450.0 * std::pow(0.5, std::min(1.0, u * 1.6)); },
        [amp](double u) { return amp * AttackDecay(u, 0, 0.04, 0.25); }, {1.0, 0.55, 0.3, 0.15}, 0.1, seed);
    AddBandNoise(&dry, 2200, 1.2, [at, amp](double t) { return 0.5 * amp * AttackDecay(t, at, 0.001, 0.006); },
                 seed + 1);
  };
  cluck(0.10, 1.0, 1541);
  cluck(0.46, 0.95, 1543);
  // The purr: a soft rolling trill, the note wandering a little and each roll slightly uneven.
  const double ps = 0.85, pl = 1.45;
  std::vector<double> rolls;
  for (double t = ps; t < ps + pl; t += 1.0 / rng.Range(20, 25)) rolls.push_back(t);
  for (size_t n = 0; n < rolls.size(); ++n) {
    const double p = (rolls[n] - ps) / pl;
    const double pitch = 980 * (1.0 + 0.06 * std::sin(2 * kPi * p * 1.5)) * rng.Range(0.93, 1.07);
    const double amp = 0.55 * Gate(p, 0, 1, 0.12, 0.3) * rng.Range(0.75, 1.0);
    AddTone(
        &dry, rolls[n], 0.03, [pitch](double u) { return pitch * (1.08 - 0.16 * u); },
        [amp](double u) { return amp * Bump(u, 0, 1); }, {1.0, 0.5, 0.3, 0.15}, 0.5, 1560 + n);
  }
  AddBandNoise(&dry, 1900, 1.0, [ps, pl](double t) { return 0.15 * Gate(t, ps, pl, 0.1, 0.3); }, 1599);
  cluck(2.48, 0.9, 1545);
  HighPassInPlace(&dry, 250);
  std::vector<Signal> out;
  for (int c = 0; c < 2; ++c) {
    Signal ch = dry;
    AddReverb(&ch, c == 0 ? 0.037 : 0.049, 0.7, 0.2, 1570 + c);
    FadeEnds(&ch, 0.003, 0.1);
    out.push_back(std::move(ch));
  }
  return out;
}

Signal WingFlaps(int rate, double seconds) {
  Signal s(rate, seconds);
  Rng rng(132);
  // A bird flushing: heavy wingbeats, quicker and fainter as it leaves.
  double t = 0.04, interval = 0.12;
  for (int k = 0; k < 8 && t < seconds - 0.1; ++k) {
    const double amp = std::pow(0.86, k);
    AddBandNoise(&s, 420, 0.7, [t, amp](double tt) { return 2.0 * amp * AttackDecay(tt, t, 0.018, 0.035); }, 1320 + k);
    AddBandNoise(&s, 1600, 0.8, [t, amp](double tt) { return 0.5 * amp * AttackDecay(tt, t + 0.01, 0.01, 0.025); },
                 1330 + k);
    AddStrike(&s, t + 0.005, 95, 0.03, 0.5 * amp);
    t += interval;
    interval = std::max(0.085, interval * 0.94) + rng.Range(-0.004, 0.004);
  }
  AddReverb(&s, 0.04, 0.6, 0.2, 1340);
  HighPassInPlace(&s, 60);
  FadeEnds(&s, 0.002, 0.08);
  return s;
}

}  // namespace artgen::recipes
