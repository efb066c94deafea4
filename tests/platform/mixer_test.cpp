// The mixer: gains and pan, band-limited resampling across a loop seam, the limited sum, clickless cuts,
// advancing without mixing.
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
  MixerVoice v = MonoVoice(std::vector<float>(1000, 0.5f), kRate);
  GainsFromVolumePan(-600, 600, &v.gainLeft, &v.gainRight);
  m.AddVoice(&v);
  // The output comes through the limiter's look-ahead.
  const size_t at = Mixer::kLatencyFrames;
  auto out = MixFrames(m, at + 10);
  EXPECT_EQ(out[0], 0);
  EXPECT_NEAR(out[2 * at], 0.5 * 32768 * std::pow(10.0, -1200 / 2000.0), 1.0);
  EXPECT_NEAR(out[2 * at + 1], 0.5 * 32768 * std::pow(10.0, -600 / 2000.0), 1.0);
  GainsFromVolumePan(0, 10000, &v.gainLeft, &v.gainRight);
  out = MixFrames(m, at + Mixer::kRampFrames + 10);  // a gain change slides over kRampFrames
  EXPECT_EQ(out[2 * (at + Mixer::kRampFrames + 5)], 0);
  EXPECT_EQ(out[2 * (at + Mixer::kRampFrames + 5) + 1], 16384);
}

TEST(MixerLoop, OffItsRateALoopRunsOnAcrossTheSeamBandLimited) {
  // One period of a sine, looped at a rate that puts the output between the last and first frames:
  // the output is the sine itself, at the new pitch, with no step at the seam.
  constexpr size_t kPeriod = 100;
  std::vector<float> s(kPeriod);
  for (size_t i = 0; i < kPeriod; ++i) s[i] = static_cast<float>(0.5 * std::sin(2 * M_PI * i / kPeriod));
  Mixer m(kRate);
  MixerVoice v = MonoVoice(s, 13001);
  v.looping = true;
  m.AddVoice(&v);
  const size_t n = 4000, lag = Mixer::kLatencyFrames;
  auto out = MixFrames(m, n + lag);
  double worst = 0;
  for (size_t k = 0; k < n; ++k) {
    const double want = 0.5 * std::sin(2 * M_PI * static_cast<double>(k) * 13001.0 / kRate / kPeriod) * 32768.0;
    worst = std::max(worst, std::fabs(out[2 * (k + lag)] - want));
  }
  EXPECT_LT(worst, 0.5 * 32768 * 0.01);  // within 1 % of the sine everywhere, seam included
  EXPECT_TRUE(v.playing);
}

TEST(MixerSum, LoudSumsAreLimitedBelowFullScaleWithoutWrapping) {
  Mixer m(kRate);
  MixerVoice a = MonoVoice(std::vector<float>(20000, 0.9f), kRate);
  MixerVoice b = MonoVoice(std::vector<float>(20000, 0.9f), kRate);
  MixerVoice c = MonoVoice(std::vector<float>(20000, -0.9f), kRate);
  MixerVoice d = MonoVoice(std::vector<float>(20000, -0.9f), kRate);
  m.AddVoice(&a);
  m.AddVoice(&b);
  const int ceiling = static_cast<int>(OutputLimiter::kCeiling * 32768.0f + 0.5f);
  auto out = MixFrames(m, 4000);
  for (size_t k = 0; k < out.size(); ++k) ASSERT_TRUE(out[k] >= 0 && out[k] <= ceiling) << k;
  EXPECT_GE(out[out.size() - 2], ceiling - 1);  // held at the ceiling, not pushed further down
  a.playing = b.playing = false;
  m.AddVoice(&c);
  m.AddVoice(&d);
  out = MixFrames(m, 16000);
  for (size_t k = 0; k < out.size(); ++k) ASSERT_GE(out[k], -ceiling) << k;
  EXPECT_LE(out[out.size() - 2], -ceiling + 1);
}

// The biggest step between neighbouring output frames on the left.
int BiggestStep(const std::vector<int16_t>& out, size_t from, size_t to) {
  int worst = 0;
  for (size_t k = from + 1; k < to; ++k) worst = std::max(worst, std::abs(out[2 * k] - out[2 * k - 2]));
  return worst;
}

TEST(MixerCuts, StoppingMovingOrResumingAVoiceMidWayMakesNoClick) {
  // A 200 Hz sine heard at a quarter of full scale steps at most about 233 a frame; a hard cut at its
  // crest would step 8192. A cut may add a gentle slope of its own, no more.
  std::vector<float> s(44100);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(0.5 * std::sin(2 * M_PI * 200 * i / kRate));
  const int natural = static_cast<int>(0.25 * 32768 * 2 * M_PI * 200 / kRate) + 1;
  struct Case {
    const char* what;
    void (*act)(MixerVoice&);
  };
  const Case cases[] = {
      {"stop", [](MixerVoice& v) { v.playing = false; }},
      {"rewind", [](MixerVoice& v) { v.SetFrame(0); }},
      {"jump", [](MixerVoice& v) { v.SetFrame(20000 + 55); }},
      {"stop and resume mid-way", [](MixerVoice& v) { v.playing = false; }},
      {"louder at once", [](MixerVoice& v) { v.gainLeft = v.gainRight = 1.0f; }},
  };
  for (size_t c = 0; c < std::size(cases); ++c) {
    SCOPED_TRACE(cases[c].what);
    Mixer m(kRate);
    MixerVoice v = MonoVoice(s, kRate);
    v.gainLeft = v.gainRight = 0.5f;
    m.AddVoice(&v);
    std::vector<int16_t> out(2 * 9000);
    m.Mix(out.data(), 1103);  // the crest of a cycle is due in the next block
    cases[c].act(v);
    m.Mix(out.data() + 2 * 1103, 3000);
    if (c == 3) v.playing = true;
    m.Mix(out.data() + 2 * 4103, 4897);
    EXPECT_LE(BiggestStep(out, 0, 9000), 2 * natural);
  }
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
