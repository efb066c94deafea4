// Recipes: the birds and small sounds of the hunting areas' woods, mountains and desert.
#include <algorithm>
#include <cmath>

#include "tools/artgen/sound_recipes.h"

namespace artgen::recipes {

using namespace synth;

namespace {

// Exponential glide from a to b over u in 0..1: how a whistled slur moves.
double Glide(double a, double b, double u) { return a * std::pow(b / a, std::clamp(u, 0.0, 1.0)); }

// Birds heard across a clearing: a little room and a soft echo off the trees.
void Distance(Signal* s, double wet, uint64_t seed) {
  AddReverb(s, 0.05, 0.9, wet, seed);
  AddEchoes(s, {0.21}, {0.15}, 2000);
}

}  // namespace

Signal CrowCaws(int rate, double seconds) {
  Signal s(rate, seconds);
  Rng rng(141);
  const double starts[] = {0.15, 0.72, 1.3, 2.15};
  const double amps[] = {1.0, 0.95, 0.9, 0.55};  // the last from a second bird further off
  for (int k = 0; k < 4; ++k) {
    const double len = rng.Range(0.34, 0.4), f0 = k == 3 ? 610 : rng.Range(520, 560), a = amps[k];
    // A harsh, nasal "caw": many strong harmonics, a falling pitch, a rough throat.
    AddTone(
        &s, starts[k], len, [f0](double u) { return f0 * (1.06 - 0.16 * u + 0.1 * std::exp(-u * 20)); },
        [a](double u) { return a * Gate(u, 0, 1, 0.08, 0.35); }, {1.0, 0.9, 0.85, 0.7, 0.55, 0.4, 0.3, 0.2}, 0.5,
        1410 + k);
  }
  // The nasal colour: two formants over a little of the dry voice.
  Signal dry = s;
  Biquad f1 = Biquad::BandPass(rate, 1300, 2.0), f2 = Biquad::BandPass(rate, 2300, 3.0);
  for (size_t i = 0; i < s.Size(); ++i) s.s[i] = 0.25 * dry.s[i] + 1.4 * f1.Run(dry.s[i]) + 0.9 * f2.Run(dry.s[i]);
  HighPassInPlace(&s, 250);
  Distance(&s, 0.28, 1419);
  FadeEnds(&s, 0.003, 0.1);
  return s;
}

Signal CardinalSong(int rate, double seconds) {
  Signal s(rate, seconds);
  Rng rng(142);
  // "Cheer cheer cheer cheer cheer", then a quick "birdy birdy birdy".
  for (int k = 0; k < 5; ++k) {
    const double at = 0.1 + 0.28 * k, len = 0.21, top = rng.Range(3700, 3950);
    AddTone(
        &s, at, len, [top](double u) { return Glide(top, 1900, u); },
        [](double u) { return Gate(u, 0, 1, 0.15, 0.3) * (1.0 - 0.3 * u); }, {1.0, 0.08}, 0.0);
  }
  for (int k = 0; k < 6; ++k) {
    const double at = 1.58 + 0.135 * k, len = 0.105;
    AddTone(
        &s, at, len, [](double u) { return u < 0.5 ? Glide(2200, 3500, u * 2) : Glide(3500, 2300, u * 2 - 1); },
        [k](double u) { return (0.85 - 0.05 * k) * Gate(u, 0, 1, 0.2, 0.3); }, {1.0, 0.06}, 0.0);
  }
  Distance(&s, 0.22, 1429);
  FadeEnds(&s, 0.003, 0.1);
  return s;
}

Signal WoodpeckerDrum(int rate, double seconds) {
  Signal s(rate, seconds);
  Rng rng(144);
  // Two drum rolls on a dead limb: quick, even knocks that fade towards the end of each roll.
  const double rolls[][2] = {{0.1, 20}, {1.45, 17}};
  for (const auto& r : rolls) {
    const int knocks = static_cast<int>(r[1]);
    for (int k = 0; k < knocks; ++k) {
      const double at = r[0] + k * 0.052 + rng.Range(-0.002, 0.002);
      const double a = (1.0 - 0.45 * k / knocks) * rng.Range(0.85, 1.0);
      AddStrike(&s, at, 880 + rng.Range(-20, 20), 0.012, a);
      AddStrike(&s, at, 1650 + rng.Range(-40, 40), 0.007, 0.6 * a);
      AddStrike(&s, at, 330, 0.02, 0.5 * a);
    }
  }
  HighPassInPlace(&s, 120);
  Distance(&s, 0.3, 1449);
  FadeEnds(&s, 0.002, 0.1);
  return s;
}

Signal BarredOwl(int rate, double seconds) {
  Signal s(rate, seconds);
  // "Who cooks for you, who cooks for you-all": soft hoots, the last drawn out and falling.
  struct Hoot {
    double at, len, from, to, amp;
  };
  const Hoot hoots[] = {{0.10, 0.22, 400, 430, 0.8},  {0.38, 0.14, 470, 480, 0.9}, {0.57, 0.14, 450, 440, 0.8},
                        {0.78, 0.40, 470, 370, 1.0},  {1.55, 0.22, 400, 430, 0.8}, {1.83, 0.14, 470, 480, 0.9},
                        {2.02, 0.14, 450, 440, 0.8},  {2.23, 0.32, 460, 430, 0.9}, {2.62, 0.80, 490, 300, 1.0}};
  int n = 0;
  for (const Hoot& h : hoots) {
    AddTone(
        &s, h.at, h.len, [h](double u) { return Glide(h.from, h.to, u); },
        [h](double u) { return h.amp * Gate(u, 0, 1, 0.2, 0.35); }, {1.0, 0.22, 0.07}, 0.05, 1460 + n);
    const double at = h.at, len = h.len, amp = h.amp;
    AddBandNoise(&s, 900, 1.5, [=](double t) { return 0.12 * amp * Bump(t, at, len); }, 1470 + n);  // breath
    ++n;
  }
  Distance(&s, 0.35, 1469);
  FadeEnds(&s, 0.003, 0.15);
  return s;
}

Signal HawkScream(int rate, double seconds) {
  Signal s(rate, seconds);
  // A red-tail's "kee-eeer": a hoarse, high scream falling away, from high overhead.
  AddTone(
      &s, 0.15, 1.55, [](double u) { return u < 0.08 ? Glide(2500, 2900, u / 0.08) : Glide(2900, 1650, (u - 0.08) / 0.92); },
      [](double u) { return Gate(u, 0, 1, 0.05, 0.45) * (1.0 - 0.35 * u); }, {1.0, 0.3}, 0.9, 1480);
  AddBandNoise(&s, 2400, 2.0, [](double t) { return 0.5 * Gate(t, 0.15, 1.55, 0.08, 0.6); }, 1481);
  HighPassInPlace(&s, 400);
  AddReverb(&s, 0.06, 1.1, 0.32, 1489);
  AddEchoes(&s, {0.33}, {0.18}, 2500);
  FadeEnds(&s, 0.003, 0.15);
  return s;
}

Signal WrenSong(int rate, double seconds) {
  Signal s(rate, seconds);
  Rng rng(149);
  // "Tea-kettle tea-kettle tea-kettle ...": a loud, rolling three-note phrase.
  for (int k = 0; k < 5; ++k) {
    const double at = 0.1 + 0.44 * k, a = 1.0 - 0.08 * k;
    const double v = rng.Range(0.97, 1.03);
    AddTone(
        &s, at, 0.12, [v](double u) { return v * (u < 0.4 ? Glide(3000, 4300, u / 0.4) : Glide(4300, 2600, (u - 0.4) / 0.6)); },
        [a](double u) { return a * Gate(u, 0, 1, 0.15, 0.3); }, {1.0}, 0.0);
    AddTone(
        &s, at + 0.14, 0.08, [v](double u) { return v * Glide(2600, 3900, u); },
        [a](double u) { return 0.8 * a * Gate(u, 0, 1, 0.2, 0.3); }, {1.0}, 0.0);
    AddTone(
        &s, at + 0.24, 0.11, [v](double u) { return v * Glide(4100, 2400, u); },
        [a](double u) { return 0.9 * a * Gate(u, 0, 1, 0.15, 0.35); }, {1.0}, 0.0);
  }
  Distance(&s, 0.22, 1499);
  FadeEnds(&s, 0.003, 0.1);
  return s;
}

Signal BobwhiteCall(int rate, double seconds) {
  Signal s(rate, seconds);
  Rng rng(150);
  // "Bob-WHITE!" twice from the edge of a field, over a faint breeze.
  for (double at : {0.2, 1.55}) {
    AddTone(
        &s, at, 0.12, [](double u) { return Glide(1350, 1500, u); }, [](double u) { return 0.6 * Gate(u, 0, 1, 0.2, 0.3); },
        {1.0, 0.1}, 0.0);
    AddTone(
        &s, at + 0.27, 0.34, [](double u) { return Glide(1500, 3100, std::pow(u, 1.8)); },
        [](double u) { return Gate(u, 0, 1, 0.12, 0.15) * (0.7 + 0.3 * u); }, {1.0, 0.1}, 0.0);
  }
  Biquad wind = Biquad::LowPass(rate, 350);
  for (size_t i = 0; i < s.Size(); ++i) {
    const double t = s.Seconds(i);
    s.s[i] += 0.3 * wind.Run(rng.Noise()) * (0.6 + 0.4 * std::sin(2 * kPi * t / seconds));
  }
  Distance(&s, 0.3, 1509);
  FadeEnds(&s, 0.05, 0.3);
  return s;
}

Signal FootstepsInLeaves(int rate, double seconds) {
  Signal s(rate, seconds);
  Rng rng(147);
  // Three slow steps in dry leaves: a soft thud under a crackle of many small snaps.
  for (double at : {0.1, 0.66, 1.2}) {
    AddBandNoise(&s, 160, 0.8, [at](double t) { return 1.5 * AttackDecay(t, at, 0.02, 0.05); }, 1471 + static_cast<uint64_t>(at * 100));
    for (int k = 0; k < 90; ++k) {
      const double when = at + 0.2 * std::pow(rng.Uniform(), 1.3);
      AddStrike(&s, when, rng.Range(1800, 4800), rng.Range(0.0008, 0.0025), rng.Range(0.1, 0.45) * (1.0 - (when - at) * 3));
    }
  }
  HighPassInPlace(&s, 80);
  AddReverb(&s, 0.03, 0.4, 0.12, 1479);
  FadeEnds(&s, 0.003, 0.1);
  return s;
}

}  // namespace artgen::recipes
