// The synthesiser's toolkit: filters, echoes, normalising and the WAVE encoder.
#include "tools/artgen/sound_synth.h"

#include <algorithm>

namespace artgen::synth {

void Biquad::Set(double b0, double b1, double b2, double a0, double a1, double a2) {
  b0_ = b0 / a0;
  b1_ = b1 / a0;
  b2_ = b2 / a0;
  a1_ = a1 / a0;
  a2_ = a2 / a0;
}

Biquad Biquad::LowPass(double rate, double freq, double q) {
  Biquad f;
  const double w = 2 * kPi * std::min(freq, rate * 0.49) / rate, c = std::cos(w), a = std::sin(w) / (2 * q);
  f.Set((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + a, -2 * c, 1 - a);
  return f;
}

Biquad Biquad::HighPass(double rate, double freq, double q) {
  Biquad f;
  const double w = 2 * kPi * std::min(freq, rate * 0.49) / rate, c = std::cos(w), a = std::sin(w) / (2 * q);
  f.Set((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + a, -2 * c, 1 - a);
  return f;
}

Biquad Biquad::BandPass(double rate, double freq, double q) {
  Biquad f;
  f.SetBandPass(rate, freq, q);
  return f;
}

void Biquad::SetBandPass(double rate, double freq, double q) {
  const double w = 2 * kPi * std::clamp(freq, 10.0, rate * 0.49) / rate, c = std::cos(w), a = std::sin(w) / (2 * q);
  Set(a, 0, -a, 1 + a, -2 * c, 1 - a);
}

void AddDelayed(Signal* dst, const Signal& src, double delaySeconds, double gain) {
  const size_t d = static_cast<size_t>(delaySeconds * dst->rate);
  for (size_t i = 0; i + d < dst->Size() && i < src.Size(); ++i) dst->s[i + d] += gain * src.s[i];
}

void AddEchoes(Signal* s, const std::vector<double>& delays, const std::vector<double>& gains, double cutoff) {
  Signal dry = *s;
  for (size_t k = 0; k < delays.size() && k < gains.size(); ++k) {
    Signal echo = dry;
    // Each reflection travels further: duller by a further halving of the cut-off.
    LowPassInPlace(&echo, cutoff / static_cast<double>(1u << k));
    AddDelayed(s, echo, delays[k], gains[k]);
  }
}

void AddReverb(Signal* s, double roomSeconds, double decaySeconds, double wet, uint64_t seed) {
  Rng rng(seed);
  const size_t n = s->Size();
  std::vector<double> out(n, 0.0);
  // Four combs with spread delays, then two all-passes to smear the echoes.
  for (int c = 0; c < 4; ++c) {
    const size_t d = std::max<size_t>(1, static_cast<size_t>(roomSeconds * s->rate * rng.Range(0.6, 1.4)));
    const double g = std::exp(-6.9 * (static_cast<double>(d) / s->rate) / decaySeconds);
    std::vector<double> line(n, 0.0);
    OnePole damp(s->rate, 2500);
    for (size_t i = 0; i < n; ++i) {
      const double back = i >= d ? line[i - d] : 0.0;
      line[i] = s->s[i] + g * damp.Run(back);
      out[i] += back * 0.25;
    }
  }
  for (int a = 0; a < 2; ++a) {
    const size_t d = std::max<size_t>(1, static_cast<size_t>(s->rate * rng.Range(0.004, 0.012)));
    std::vector<double> y(n, 0.0);
    const double g = 0.6;
    for (size_t i = 0; i < n; ++i) {
      const double xd = i >= d ? out[i - d] : 0.0;
      const double yd = i >= d ? y[i - d] : 0.0;
      y[i] = -g * out[i] + xd + g * yd;
    }
    out.swap(y);
  }
  for (size_t i = 0; i < n; ++i) s->s[i] += wet * out[i];
}

void HighPassInPlace(Signal* s, double freq) {
  Biquad f = Biquad::HighPass(s->rate, freq);
  for (double& x : s->s) x = f.Run(x);
}

void LowPassInPlace(Signal* s, double freq) {
  Biquad f = Biquad::LowPass(s->rate, freq);
  for (double& x : s->s) x = f.Run(x);
}

void FadeEnds(Signal* s, double inSeconds, double outSeconds) {
  const size_t n = s->Size();
  const size_t a = std::min(n, static_cast<size_t>(inSeconds * s->rate));
  const size_t b = std::min(n, static_cast<size_t>(outSeconds * s->rate));
  for (size_t i = 0; i < a; ++i) s->s[i] *= static_cast<double>(i) / a;
  for (size_t i = 0; i < b; ++i) s->s[n - 1 - i] *= static_cast<double>(i) / b;
}

double Peak(const std::vector<double>& s) {
  double p = 0;
  for (double x : s) p = std::max(p, std::fabs(x));
  return p;
}

void Normalise(std::vector<double>* s, double peak) {
  const double p = Peak(*s);
  if (p <= 0) return;
  const double k = peak / p;
  for (double& x : *s) x *= k;
}

namespace {
void Put(std::vector<uint8_t>* out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> EncodeWave(const std::vector<std::vector<double>>& channels, int rate, int bits, uint64_t ditherSeed) {
  const size_t frames = channels.empty() ? 0 : channels[0].size();
  const uint16_t nch = static_cast<uint16_t>(channels.size());
  const uint16_t align = static_cast<uint16_t>(nch * bits / 8);
  const uint32_t dataBytes = static_cast<uint32_t>(frames * align);
  std::vector<uint8_t> w;
  w.reserve(44 + dataBytes + 1);
  w.insert(w.end(), {'R', 'I', 'F', 'F'});
  Put(&w, 36 + dataBytes + (dataBytes & 1), 4);
  w.insert(w.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put(&w, 16, 4);
  Put(&w, 1, 2);
  Put(&w, nch, 2);
  Put(&w, static_cast<uint32_t>(rate), 4);
  Put(&w, static_cast<uint32_t>(rate) * align, 4);
  Put(&w, align, 2);
  Put(&w, static_cast<uint32_t>(bits), 2);
  w.insert(w.end(), {'d', 'a', 't', 'a'});
  Put(&w, dataBytes, 4);
  Rng dither(ditherSeed);
  for (size_t i = 0; i < frames; ++i) {
    for (const auto& ch : channels) {
      const double x = std::clamp(ch[i], -1.0, 1.0);
      if (bits == 8) {
        // Triangular dither keeps quiet tails from turning into buzzing steps at 8 bits.
        const double v = x * 127.0 + (dither.Uniform() - dither.Uniform());
        w.push_back(static_cast<uint8_t>(std::clamp<long>(std::lround(v), -128, 127) + 128));
      } else {
        const long v = std::clamp<long>(std::lround(x * 32767.0), -32768, 32767);
        Put(&w, static_cast<uint16_t>(static_cast<int16_t>(v)), 2);
      }
    }
  }
  if (dataBytes & 1) w.push_back(0);  // chunks are padded to even length
  return w;
}

}  // namespace artgen::synth
