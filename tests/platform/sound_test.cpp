// Tests of the sound device and its static buffers on the headless output driven by a manual clock.
#include "platform/sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/audio_out.h"
#include "platform/clock.h"

namespace platform {
namespace {

constexpr uint32_t kAllControls = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

WaveFormatEx Pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
  WaveFormatEx f;
  f.formatTag = WAVE_FORMAT_PCM;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = bits;
  f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
  f.avgBytesPerSec = rate * f.blockAlign;
  return f;
}

class SoundDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { Open(""); }

  void Open(const std::string& capture) {
    device_.reset();
    out_ = CreateHeadlessAudioOut(&clock_, capture);
    ASSERT_EQ(SoundDevice::CreateOn(out_.get(), &device_), DS_OK);
    ASSERT_EQ(device_->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
  }

  // A filled buffer: 16-bit samples of value (i % 1000) so that positions can be read off the data,
  // or of `sample`(i) when one is given.
  std::unique_ptr<SoundBuffer> Make(uint32_t rate, uint32_t frames, uint32_t flags = kAllControls,
                                    uint16_t channels = 1, uint16_t bits = 16, int16_t (*sample)(uint32_t) = nullptr) {
    WaveFormatEx f = Pcm(channels, rate, bits);
    BufferDesc d;
    d.flags = flags;
    d.bufferBytes = frames * f.blockAlign;
    d.format = &f;
    std::unique_ptr<SoundBuffer> b;
    EXPECT_EQ(device_->CreateSoundBuffer(d, &b), DS_OK);
    void* p = nullptr;
    uint32_t n = 0;
    EXPECT_EQ(b->Lock(0, d.bufferBytes, &p, &n, nullptr, nullptr, 0), DS_OK);
    if (bits == 16) {
      auto* s = static_cast<int16_t*>(p);
      for (uint32_t i = 0; i < n / 2; ++i) s[i] = sample != nullptr ? sample(i) : static_cast<int16_t>(1000 + i % 1000);
    } else {
      std::memset(p, 200, n);
    }
    EXPECT_EQ(b->Unlock(p, n, nullptr, 0), DS_OK);
    return b;
  }

  uint32_t Position(SoundBuffer& b) {
    uint32_t play = 0, write = 0;
    EXPECT_EQ(b.GetCurrentPosition(&play, &write), DS_OK);
    return play;
  }
  uint32_t Status(SoundBuffer& b) {
    uint32_t s = 0xFFFF;
    EXPECT_EQ(b.GetStatus(&s), DS_OK);
    return s;
  }

  ManualClock clock_{1000};
  std::unique_ptr<AudioOut> out_;
  std::unique_ptr<SoundDevice> device_;
};

TEST_F(SoundDeviceTest, BufferCreationChecksTheDescription) {
  WaveFormatEx f = Pcm(1, 22050, 16);
  BufferDesc d;
  d.flags = kAllControls;
  d.bufferBytes = 1000;
  d.format = &f;
  std::unique_ptr<SoundBuffer> b;
  EXPECT_EQ(device_->CreateSoundBuffer(d, &b), DS_OK);

  // One damaged field at a time.
  struct Bad {
    const char* what;
    void (*damage)(BufferDesc*, WaveFormatEx*);
    HRESULT want;
  };
  const Bad cases[] = {
      {"format tag", [](BufferDesc*, WaveFormatEx* g) { g->formatTag = 2; }, DSERR_BADFORMAT},
      {"channels", [](BufferDesc*, WaveFormatEx* g) { g->channels = 3; }, DSERR_BADFORMAT},
      {"bits", [](BufferDesc*, WaveFormatEx* g) { g->bitsPerSample = 12; }, DSERR_BADFORMAT},
      {"block align", [](BufferDesc*, WaveFormatEx* g) { g->blockAlign = 4; }, DSERR_BADFORMAT},
      {"no bytes", [](BufferDesc* e, WaveFormatEx*) { e->bufferBytes = 0; }, DSERR_INVALIDPARAM},
  };
  for (const Bad& c : cases) {
    SCOPED_TRACE(c.what);
    BufferDesc e = d;
    WaveFormatEx g = f;
    e.format = &g;
    c.damage(&e, &g);
    std::unique_ptr<SoundBuffer> x;
    EXPECT_EQ(device_->CreateSoundBuffer(e, &x), c.want);
    EXPECT_EQ(x, nullptr);
  }
}

TEST_F(SoundDeviceTest, PlayRunsWithTheClockAndStopKeepsTheCursor) {
  auto b = Make(44100, 44100);
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  EXPECT_EQ(Status(*b), DSBSTATUS_PLAYING);
  clock_.Advance(100);
  EXPECT_EQ(Position(*b), 4410u * 2);
  ASSERT_EQ(b->Stop(), DS_OK);
  EXPECT_EQ(Status(*b), 0u);
  clock_.Advance(500);
  EXPECT_EQ(Position(*b), 4410u * 2);
  // Play again continues from the cursor; a second Play while playing does not restart it.
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  clock_.Advance(100);
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  EXPECT_EQ(Position(*b), 8820u * 2);
  // The frequency sets how fast the cursor moves.
  ASSERT_EQ(b->SetFrequency(22050), DS_OK);
  clock_.Advance(200);
  EXPECT_EQ(Position(*b), (8820u + 4410u) * 2);
}

TEST_F(SoundDeviceTest, OneShotStopsAtItsEndRewound) {
  auto b = Make(11025, 1103);  // just over 0.1 s
  b->Play(0, 0, 0);
  clock_.Advance(100);
  EXPECT_EQ(Position(*b), 1102u * 2);
  clock_.Advance(1);
  EXPECT_EQ(Status(*b), 0u);
  EXPECT_EQ(Position(*b), 0u);  // so a later play without a rewind is heard from the start
}

TEST_F(SoundDeviceTest, LoopingWrapsUntilStopped) {
  auto b = Make(22050, 2205);  // 0.1 s
  b->Play(0, 0, DSBPLAY_LOOPING);
  clock_.Advance(1030);
  EXPECT_EQ(Status(*b), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  EXPECT_EQ(Position(*b), 661u * 2);  // 30 ms into the eleventh pass
  // A one-shot request on a looping buffer lets it run out at its end.
  b->Play(0, 0, 0);
  EXPECT_EQ(Status(*b), DSBSTATUS_PLAYING);
  clock_.Advance(80);
  EXPECT_EQ(Status(*b), 0u);
}

TEST_F(SoundDeviceTest, BuffersOutlivingTheDeviceGoQuiet) {
  auto b = Make(22050, 1000);
  b->Play(0, 0, DSBPLAY_LOOPING);
  device_.reset();
  EXPECT_EQ(Status(*b), 0u);
  EXPECT_EQ(b->Play(0, 0, 0), DSERR_NODRIVER);
  b.reset();  // must not reach the device that is gone (ASan would catch it)
}

TEST_F(SoundDeviceTest, TheCursorFollowsTheClockAcrossItsWrap) {
  clock_.Set(0xFFFFFFFFu - 49);
  Open("");
  auto b = Make(44100, 44100);
  b->Play(0, 0, 0);
  clock_.Advance(100);  // wraps past zero
  EXPECT_EQ(Position(*b), 4410u * 2);
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST_F(SoundDeviceTest, CaptureHoldsTheMixedSamples) {
  const std::string path = ::testing::TempDir() + "sound_capture_test.wav";
  std::remove(path.c_str());
  Open(path);
  auto b = Make(44100, 441);       // 10 ms of 1000, 1001, ...
  auto c = Make(44100, 441, kAllControls, 1, 8);  // 8-bit 200: (200-128)/128 of full scale
  ASSERT_EQ(c->SetPan(10000), DS_OK);   // heard on the right only
  b->Play(0, 0, 0);
  clock_.Advance(5);
  c->Play(0, 0, 0);
  clock_.Advance(20);
  device_.reset();  // closes the output, which writes the capture
  const auto file = ReadFile(path);
  ASSERT_EQ(file.size(), 44u + 1102u * 4);  // 25 ms at 44.1 kHz, stereo 16-bit
  // Frames as the voices made them: the output holds them back by the limiter's look-ahead.
  auto sample = [&](size_t frame, int side) {
    const size_t at = 44 + (frame + Mixer::kLatencyFrames) * 4 + side * 2;
    return static_cast<int16_t>(file[at] | (file[at + 1] << 8));
  };
  EXPECT_EQ(sample(100, 0), 1100);
  const int16_t eight = static_cast<int16_t>(72 * 256);
  EXPECT_EQ(sample(220, 0), 1220);          // c started at frame 220 (5 ms), but only on the right
  EXPECT_EQ(sample(220, 1), 1220 + eight);
  EXPECT_EQ(sample(500, 0), 0);             // b ended at frame 441
  EXPECT_EQ(sample(500, 1), eight);
  EXPECT_EQ(sample(1000, 1), 0);            // c ended at frame 661
  std::remove(path.c_str());
}

// Two seconds of the capture as floats, left channel, and the capture's frame count.
std::vector<float> CapturedLeft(const std::string& path, size_t* frames) {
  const auto file = ReadFile(path);
  std::vector<float> left;
  for (size_t at = 44; at + 4 <= file.size(); at += 4) {
    left.push_back(static_cast<int16_t>(file[at] | (file[at + 1] << 8)) / 32768.0f);
  }
  *frames = left.size();
  return left;
}

// Level in dB of frequency f in x[from, from + n) (44.1 kHz), through a Blackman-Harris window.
double LevelDb(const std::vector<float>& x, size_t from, size_t n, double f) {
  double re = 0, im = 0, wsum = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / (n - 1);
    const double w = 0.35875 - 0.48829 * std::cos(2 * M_PI * t) + 0.14128 * std::cos(4 * M_PI * t) -
                     0.01168 * std::cos(6 * M_PI * t);
    re += w * x[from + i] * std::cos(2 * M_PI * f * i / 44100.0);
    im -= w * x[from + i] * std::sin(2 * M_PI * f * i / 44100.0);
    wsum += w;
  }
  return 20 * std::log10(std::hypot(re, im) * 2 / wsum + 1e-30);
}

TEST_F(SoundDeviceTest, AToneRecordedAt11025HzComesOutWithoutMirrorImages) {
  const std::string path = ::testing::TempDir() + "sound_image_test.wav";
  std::remove(path.c_str());
  Open(path);
  // Two seconds of 4 kHz at half scale, 16-bit, recorded at 11025 Hz.
  auto fourKilohertz = [](uint32_t i) {
    return static_cast<int16_t>(std::lround(16384 * std::sin(2 * M_PI * 4000 * i / 11025.0)));
  };
  std::unique_ptr<SoundBuffer> b = Make(11025, 22050, kAllControls, 1, 16, fourKilohertz);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->SetFrequency(0), DS_OK);  // its recorded rate
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  clock_.Advance(2100);
  device_.reset();
  size_t frames = 0;
  const std::vector<float> left = CapturedLeft(path, &frames);
  ASSERT_GE(frames, 44100u * 2);
  const size_t from = 44100 - 16384, len = 32768;  // the middle of the tone
  const double tone = LevelDb(left, from, len, 4000);
  EXPECT_NEAR(tone, -6.0, 0.2);
  // The images of 4 kHz about the recording's multiples of 11025 Hz, and everything else above its
  // Nyquist frequency, in 50 Hz steps.
  double worst = -400, at = 0;
  for (double hz = 5600; hz <= 22000; hz += 50) {
    const double l = LevelDb(left, from, len, hz) - tone;
    if (l > worst) worst = l, at = hz;
  }
  for (double hz : {7025.0, 15025.0, 18050.0}) worst = std::max(worst, LevelDb(left, from, len, hz) - tone);
  EXPECT_LT(worst, -80.0) << "at " << at << " Hz";
  std::remove(path.c_str());
}

TEST_F(SoundDeviceTest, ExtremeRatesCutsAndEveryLayoutTogetherNeverClipOrClick) {
  const std::string path = ::testing::TempDir() + "sound_extremes_test.wav";
  std::remove(path.c_str());
  Open(path);
  // Loud noise-free material in every layout: 8 and 16 bits, mono and stereo, looping and not.
  struct Layout {
    uint16_t channels, bits;
    uint32_t rate;
  };
  const Layout layouts[] = {{1, 8, 11025}, {2, 8, 11025}, {1, 16, 22050}, {2, 16, 44100}, {1, 16, 11128}, {2, 8, 100000}};
  std::vector<std::unique_ptr<SoundBuffer>> buffers;
  for (const Layout& l : layouts) {
    WaveFormatEx f = Pcm(l.channels, l.rate, l.bits);
    BufferDesc d;
    d.flags = kAllControls;
    d.bufferBytes = l.rate / 2 * f.blockAlign;  // half a second
    d.format = &f;
    std::unique_ptr<SoundBuffer> b;
    ASSERT_EQ(device_->CreateSoundBuffer(d, &b), DS_OK);
    void* p = nullptr;
    uint32_t n = 0;
    ASSERT_EQ(b->Lock(0, d.bufferBytes, &p, &n, nullptr, nullptr, 0), DS_OK);
    const uint32_t count = n / (l.bits / 8);
    for (uint32_t i = 0; i < count; ++i) {
      const double v = 0.95 * std::sin(2 * M_PI * 300.0 * (i / l.channels) / l.rate);
      if (l.bits == 8) {
        static_cast<uint8_t*>(p)[i] = static_cast<uint8_t>(std::lround(128 + 127 * v));
      } else {
        static_cast<int16_t*>(p)[i] = static_cast<int16_t>(std::lround(32767 * v));
      }
    }
    ASSERT_EQ(b->Unlock(p, n, nullptr, 0), DS_OK);
    ASSERT_EQ(b->Play(0, 0, buffers.size() % 2 ? DSBPLAY_LOOPING : 0), DS_OK);
    buffers.push_back(std::move(b));
  }
  // Every few milliseconds something happens to one of them: the extreme rates, the recorded rate,
  // a stop, a rewind, a jump, a replay.
  const uint32_t rates[] = {100, 100000, 0, 777, 44100, 0, 99999, 101};
  for (int step = 0; step < 300; ++step) {
    SoundBuffer& b = *buffers[step % buffers.size()];
    switch (step % 5) {
      case 0: ASSERT_EQ(b.SetFrequency(rates[step % 8]), DS_OK); break;
      case 1: b.Stop(); break;
      case 2: ASSERT_EQ(b.SetCurrentPosition(0), DS_OK); break;
      case 3: ASSERT_EQ(b.SetCurrentPosition((b.Size() / 3) / 4 * 4), DS_OK); break;
      default: ASSERT_EQ(b.Play(0, 0, step % 3 == 0 ? DSBPLAY_LOOPING : 0), DS_OK); break;
    }
    clock_.Advance(1 + step % 7);
  }
  device_.reset();
  size_t frames = 0;
  const std::vector<float> left = CapturedLeft(path, &frames);
  ASSERT_GT(frames, 44100u);
  const auto file = ReadFile(path);
  size_t full = 0;
  for (size_t at = 44; at + 2 <= file.size(); at += 2) {
    const int16_t x = static_cast<int16_t>(file[at] | (file[at + 1] << 8));
    full += (x >= 32767 || x <= -32767) ? 1 : 0;
  }
  EXPECT_EQ(full, 0u);
  // Six voices at up to 0.95 of full scale can swing the sum by a little over full scale in a frame
  // at the highest pitches; a click from a cut would add its whole value on top of that, a few
  // times over. What is left must stay within the signal's own steps.
  double worst = 0;
  for (size_t k = 1; k < frames; ++k) worst = std::max(worst, static_cast<double>(std::fabs(left[k] - left[k - 1])));
  EXPECT_LT(worst, 2 * OutputLimiter::kCeiling);
}

}  // namespace
}  // namespace platform
