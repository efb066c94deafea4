// The synthesiser's toolkit: seeded noise, filters, envelopes, echoes and the RIFF WAVE encoder.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace artgen::synth {

constexpr double kPi = 3.14159265358979323846;

// Mono signal at a given rate, -1..1 before normalising.
struct Signal {
  int rate = 11025;
  std::vector<double> s;
  Signal() = default;
  Signal(int r, double seconds) : rate(r), s(static_cast<size_t>(std::lround(seconds * r)), 0.0) {}
  size_t Size() const { return s.size(); }
  double Seconds(size_t i) const { return static_cast<double>(i) / rate; }
  size_t At(double seconds) const { return static_cast<size_t>(std::max(0.0, seconds) * rate); }
};

// A small deterministic generator (xorshift64*), so every build makes the same recordings.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }  // [0, 1)
  double Noise() { return Uniform() * 2.0 - 1.0; }                                             // [-1, 1)
  double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

 private:
  uint64_t state_;
};

// The RBJ biquad: low-pass, high-pass, band-pass (0 dB peak) and resonator shapes.
class Biquad {
 public:
  static Biquad LowPass(double rate, double freq, double q = 0.7071);
  static Biquad HighPass(double rate, double freq, double q = 0.7071);
  static Biquad BandPass(double rate, double freq, double q);
  double Run(double x) {
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }
  // Retunes a band-pass in place (sweeps), keeping its state.
  void SetBandPass(double rate, double freq, double q);

 private:
  void Set(double b0, double b1, double b2, double a0, double a1, double a2);
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// One-pole smoothing low-pass.
class OnePole {
 public:
  OnePole(double rate, double freq) : a_(std::exp(-2.0 * kPi * freq / rate)) {}
  double Run(double x) { return y_ = x + a_ * (y_ - x); }

 private:
  double a_;
  double y_ = 0;
};

// Attack then exponential decay, zero before `start`.
inline double AttackDecay(double t, double start, double attack, double decay) {
  const double u = t - start;
  if (u < 0) return 0.0;
  if (u < attack) return u / attack;
  return std::exp(-(u - attack) / decay);
}

// A smooth bump (raised cosine) over [start, start + length).
inline double Bump(double t, double start, double length) {
  const double u = (t - start) / length;
  if (u <= 0 || u >= 1) return 0.0;
  return 0.5 - 0.5 * std::cos(2 * kPi * u);
}

// Rises over `attack`, holds, falls over `release`, inside [start, start + length).
inline double Gate(double t, double start, double length, double attack, double release) {
  const double u = t - start;
  if (u <= 0 || u >= length) return 0.0;
  double g = 1.0;
  if (u < attack) g = 0.5 - 0.5 * std::cos(kPi * u / attack);
  const double left = length - u;
  if (left < release) g = std::min(g, 0.5 - 0.5 * std::cos(kPi * left / release));
  return g;
}

// Adds `src` into `dst` delayed by `delaySeconds`, scaled by `gain`.
void AddDelayed(Signal* dst, const Signal& src, double delaySeconds, double gain);
// Outdoor echo: copies of the signal, each later one quieter and duller.
void AddEchoes(Signal* s, const std::vector<double>& delays, const std::vector<double>& gains, double cutoff);
// A short diffuse tail (a few parallel combs into all-passes) mixed in at `wet`.
void AddReverb(Signal* s, double roomSeconds, double decaySeconds, double wet, uint64_t seed);
// Removes any DC and very low rumble below `freq`.
void HighPassInPlace(Signal* s, double freq);
void LowPassInPlace(Signal* s, double freq);
// Fades the first and last `seconds` so no recording starts or ends with a click.
void FadeEnds(Signal* s, double inSeconds, double outSeconds);

// Harmonic tone whose frequency follows a function of time, summed with the given harmonic weights.
// `phase` carries the oscillator's phase between calls.
struct Harmonics {
  std::vector<double> weights;
  double Sample(double phase) const {
    double v = 0;
    for (size_t h = 0; h < weights.size(); ++h) v += weights[h] * std::sin(phase * static_cast<double>(h + 1));
    return v;
  }
};

// Encoding: scale so the loudest sample sits at `peak` of full scale, then write PCM.
double Peak(const std::vector<double>& s);
void Normalise(std::vector<double>* s, double peak);
// A complete RIFF WAVE image with a 16-byte "fmt " chunk; `channels` interleaved sample lists of one length.
std::vector<uint8_t> EncodeWave(const std::vector<std::vector<double>>& channels, int rate, int bits, uint64_t ditherSeed);

}  // namespace artgen::synth
