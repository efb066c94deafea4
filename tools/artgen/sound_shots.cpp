// Recipes: the shotgun blast, a shot striking wood and earth, the button click and the highlight tick.
#include <algorithm>
#include <cmath>

#include "tools/artgen/sound_recipes.h"

namespace artgen::recipes {

using namespace synth;

Signal ShotgunBlast(int rate, double seconds) {
  Signal s(rate, seconds);
  Rng rng(138);
  Biquad crackHp = Biquad::HighPass(rate, 1200);
  Biquad boomLp = Biquad::LowPass(rate, 260, 0.9);
  Biquad bodyBp = Biquad::BandPass(rate, 700, 0.8);
  Biquad tailLp = Biquad::LowPass(rate, 520);
  const double t0 = 0.004;
  double thumpPhase = 0;
  for (size_t i = 0; i < s.Size(); ++i) {
    const double t = s.Seconds(i);
    // The muzzle crack: a few milliseconds of very bright noise.
    const double crack = crackHp.Run(rng.Noise()) * AttackDecay(t, t0, 0.0004, 0.0045) * 1.6;
    // The boom: low noise and a falling thump from the expanding gas.
    const double boom = boomLp.Run(rng.Noise()) * AttackDecay(t, t0, 0.002, 0.11) * 4.0;
    const double f = 38 + 34 * std::exp(-(t - t0) / 0.05);
    thumpPhase += 2 * kPi * f / rate;
    const double thump = std::sin(thumpPhase) * AttackDecay(t, t0, 0.003, 0.13) * 0.9;
    const double body = bodyBp.Run(rng.Noise()) * AttackDecay(t, t0, 0.001, 0.05) * 1.8;
    // The roll of the report through the woods, slowly swelling and fading.
    const double roll = tailLp.Run(rng.Noise()) * AttackDecay(t, 0.03, 0.06, 0.33) * (0.8 + 0.4 * std::sin(2 * kPi * 2.7 * t)) * 0.9;
    s.s[i] = crack + boom + thump + body + roll;
  }
  // Echoes off the far tree line and a hillside.
  AddEchoes(&s, {0.27, 0.61}, {0.32, 0.18}, 2200);
  AddReverb(&s, 0.05, 0.9, 0.2, 1381);
  HighPassInPlace(&s, 30);
  FadeEnds(&s, 0.0005, 0.15);
  return s;
}

Signal ShotStrikesWoodAndEarth(int rate, double seconds) {
  Signal s(rate, seconds);
  Rng rng(152);
  const double t0 = 0.003;
  // The wood: a hard knock that rings in a few modes of the trunk.
  const double modes[][3] = {{430, 0.045, 1.0}, {1130, 0.03, 0.7}, {2380, 0.018, 0.5}, {3900, 0.01, 0.35}};
  for (const auto& m : modes) AddStrike(&s, t0, m[0], m[1], m[2]);
  Biquad crackHp = Biquad::HighPass(rate, 2500);
  Biquad thudLp = Biquad::LowPass(rate, 170);
  Biquad dirtBp = Biquad::BandPass(rate, 3200, 0.7);
  for (size_t i = 0; i < s.Size(); ++i) {
    const double t = s.Seconds(i);
    s.s[i] += crackHp.Run(rng.Noise()) * AttackDecay(t, t0, 0.0002, 0.005) * 1.2;  // splinters
    s.s[i] += thudLp.Run(rng.Noise()) * AttackDecay(t, t0 + 0.002, 0.003, 0.06) * 5.0;  // the earth taking it
    s.s[i] += dirtBp.Run(rng.Noise()) * AttackDecay(t, t0 + 0.01, 0.02, 0.11) * 0.45;   // dirt thrown up
  }
  // Stray pellets and soil pattering down among the leaves.
  Signal patter(rate, seconds);
  for (int k = 0; k < 28; ++k) {
    const double at = t0 + 0.02 + 0.3 * std::pow(rng.Uniform(), 1.6);
    const double amp = 0.45 * std::exp(-(at - t0) / 0.15) * rng.Range(0.4, 1.0);
    AddStrike(&patter, at, rng.Range(1800, 4200), rng.Range(0.002, 0.005), amp);
  }
  for (size_t i = 0; i < s.Size(); ++i) s.s[i] += patter.s[i];
  AddReverb(&s, 0.03, 0.4, 0.12, 1521);
  HighPassInPlace(&s, 40);
  FadeEnds(&s, 0.0005, 0.12);
  return s;
}

Signal ButtonClick(int rate, double seconds) {
  Signal s(rate, seconds);
  // A press and its release, a hair apart: two small plastic clicks.
  AddStrike(&s, 0.0015, 3300, 0.0016, 1.0);
  AddStrike(&s, 0.0015, 1250, 0.0022, 0.5);
  AddStrike(&s, 0.0135, 2100, 0.0019, 0.55);
  AddStrike(&s, 0.0135, 900, 0.0025, 0.3);
  Rng rng(139);
  for (size_t i = 0; i < s.Size(); ++i) {
    const double t = s.Seconds(i);
    s.s[i] += rng.Noise() * (AttackDecay(t, 0.0015, 0.0001, 0.0005) * 0.5 + AttackDecay(t, 0.0135, 0.0001, 0.0005) * 0.25);
  }
  HighPassInPlace(&s, 200);
  FadeEnds(&s, 0.0005, 0.004);
  return s;
}

Signal HighlightTick(int rate, double seconds) {
  Signal s(rate, seconds);
  // A soft, bell-like tick: a short sine with a faint octave, rounded at the start.
  for (size_t i = 0; i < s.Size(); ++i) {
    const double t = s.Seconds(i);
    s.s[i] = std::sin(2 * kPi * 2350 * t) * AttackDecay(t, 0.001, 0.002, 0.016) +
             0.25 * std::sin(2 * kPi * 4700 * t) * AttackDecay(t, 0.001, 0.002, 0.007);
  }
  FadeEnds(&s, 0.0005, 0.01);
  return s;
}

}  // namespace artgen::recipes
