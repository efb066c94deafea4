// The mixer: gains and pan, linear resampling across a loop seam, clipping, advancing without mixing.
#include "platform/mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace platform {
namespace {

constexpr int kRate = 44100;

MixerVoice MonoVoice(const std::vector<float>& samples, uint32_t frequency) {
  MixerVoice v;
  v.samples = samples;
  v.frames = static_cast<uint32_t>(samples.size());
  v.channels = 1;
  v.frequency = frequency;
  v.playing = true;
  return v;
}

std::vector<int16_t> MixFrames(Mixer& m, size_t frames) {
  std::vector<int16_t> out(frames * 2, 12345);
  m.Mix(out.data(), frames);
  return out;
}

std::vector<float> Ramp(size_t n) {
  std::vector<float> s(n);
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<float>(static_cast<int>(i % 200) - 100) / 128.0f;
  return s;
}

TEST(MixerGains, HundredthsOfDecibels) {
  EXPECT_NEAR(GainFromHundredthsDb(-2000), 0.1, 1e-6);
  EXPECT_EQ(GainFromHundredthsDb(-10000), 0.0f);
  float l = 0, r = 0;
  GainsFromVolumePan(-600, 1000, &l, &r);  // right pan: the left side loses another 10 dB
  EXPECT_NEAR(l, std::pow(10.0, -0.8), 1e-6);
  EXPECT_NEAR(r, std::pow(10.0, -0.3), 1e-6);
}

TEST(MixerPan, FarSideIsAttenuatedByThePan) {
  Mixer m(kRate);
  MixerVoice v = MonoVoice(std::vector<float>(100, 0.5f), kRate);
  GainsFromVolumePan(-600, 600, &v.gainLeft, &v.gainRight);
  m.AddVoice(&v);
  auto out = MixFrames(m, 10);
  EXPECT_NEAR(out[0], 0.5 * 32768 * std::pow(10.0, -1200 / 2000.0), 1.0);
  EXPECT_NEAR(out[1], 0.5 * 32768 * std::pow(10.0, -600 / 2000.0), 1.0);
  GainsFromVolumePan(0, 10000, &v.gainLeft, &v.gainRight);
  out = MixFrames(m, 10);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 16384);
}

TEST(MixerLoop, SeamInterpolatesIntoTheFirstFrameWithoutAClick) {
  // One period of a sine, looped at a rate that puts the cursor between the last and first frames.
  constexpr size_t kPeriod = 100;
  std::vector<float> s(kPeriod);
  for (size_t i = 0; i < kPeriod; ++i) s[i] = static_cast<float>(0.8 * std::sin(2 * M_PI * i / kPeriod));
  Mixer m(kRate);
  MixerVoice v = MonoVoice(s, 13001);
  v.looping = true;
  m.AddVoice(&v);
  const size_t n = 2000;
  auto out = MixFrames(m, n);
  for (size_t k = 0; k < n; ++k) {
    const double p = std::fmod(static_cast<double>(k) * 13001.0 / kRate, kPeriod);
    const size_t i = static_cast<size_t>(p);
    const double t = p - i;
    const double want = (s[i] + (s[(i + 1) % kPeriod] - s[i]) * t) * 32768.0;
    EXPECT_NEAR(out[2 * k], want, 3.0) << k;
  }
  EXPECT_TRUE(v.playing);
}

TEST(MixerSum, ClipsInsteadOfWrapping) {
  Mixer m(kRate);
  MixerVoice a = MonoVoice(std::vector<float>(4, 0.9f), kRate);
  MixerVoice b = MonoVoice(std::vector<float>(4, 0.9f), kRate);
  MixerVoice c = MonoVoice(std::vector<float>(4, -0.9f), kRate);
  MixerVoice d = MonoVoice(std::vector<float>(4, -0.9f), kRate);
  m.AddVoice(&a);
  m.AddVoice(&b);
  auto out = MixFrames(m, 4);
  EXPECT_EQ(out[0], 32767);
  a.playing = b.playing = false;
  m.AddVoice(&c);
  m.AddVoice(&d);
  out = MixFrames(m, 4);
  EXPECT_EQ(out[0], -32768);
}

TEST(MixerAdvance, MovesVoicesExactlyAsMixingDoes) {
  struct Case {
    uint32_t frequency;
    bool looping;
    uint32_t frames;
  };
  for (const Case& c : {Case{11025, false, 3000}, Case{11128, true, 1777}, Case{44100, false, 100},
                        Case{100000, true, 37}, Case{22050, true, 5000}}) {
    Mixer mixed(kRate), advanced(kRate);
    MixerVoice a = MonoVoice(Ramp(c.frames), c.frequency);
    MixerVoice b = a;
    a.looping = b.looping = c.looping;
    mixed.AddVoice(&a);
    advanced.AddVoice(&b);
    std::vector<int16_t> scratch(2 * 4096);
    for (size_t chunk : {1u, 17u, 441u, 1000u, 4096u, 3u, 2500u}) {
      mixed.Mix(scratch.data(), chunk);
      advanced.Advance(chunk);
      ASSERT_EQ(a.position, b.position) << c.frequency << " chunk " << chunk;
      ASSERT_EQ(a.playing, b.playing) << c.frequency << " chunk " << chunk;
    }
  }
}

}  // namespace
}  // namespace platform
