// The game's sound heard end to end in the headless device's mixed output: the title sound, the worst
// pile-up, a whole hunt, and gobbles heard from where their birds stand.
#include <cmath>
#include <string>
#include <vector>

#include "framework/graphics/viewport.h"
#include "framework/sound/wave.h"
#include "game/gobble_placement.h"
#include "game/hunter.h"
#include "platform/mixer.h"
#include "platform/resampler.h"
#include "tests/scenarios/scenario.h"

namespace {

using scenario::G;

struct Stereo {
  std::vector<int16_t> left, right;
};

Stereo ReadCapture(const std::string& path) {
  const std::vector<uint8_t> f = scenario::ReadBytes(path);
  Stereo s;
  if (f.size() < 44 || (f[24] | (f[25] << 8) | (f[26] << 16)) != 44100) return s;
  for (size_t at = 44; at + 4 <= f.size(); at += 4) {
    s.left.push_back(static_cast<int16_t>(f[at] | (f[at + 1] << 8)));
    s.right.push_back(static_cast<int16_t>(f[at + 2] | (f[at + 3] << 8)));
  }
  return s;
}

// Samples at either end of the 16-bit range: clipped.
size_t FullScale(const Stereo& s) {
  size_t n = 0;
  for (const auto* side : {&s.left, &s.right}) {
    for (int16_t x : *side) n += (x >= 32767 || x <= -32767) ? 1 : 0;
  }
  return n;
}

double Energy(const std::vector<int16_t>& x, size_t from, size_t to) {
  double e = 0;
  for (size_t i = from; i < to && i < x.size(); ++i) e += static_cast<double>(x[i]) * x[i];
  return e;
}

class SoundScenario : public scenario::Scenario {
 protected:
  std::string Capture() {
    const std::string path = (dir / "capture.wav").string();
    prepare = [path](platform::HeadlessBackend& b) { b.SetAudioCapturePath(path); };
    return path;
  }
};

TEST_F(SoundScenario, TheTitleSoundIsInTheMixedOutputWhenTheMenuIsShown) {
  const std::string path = Capture();
  std::vector<int32_t> ids;
  size_t playable = 0;
  Run("wait 4000\n", [&](G& game, uint32_t) {
    if (!ids.empty() || game.sound == nullptr || game.sound->available != 1) return;
    ids = game.sound->ids;
    for (int32_t id : ids) playable += game.sound->FindBuffer(id) != nullptr && game.sound->FindBuffer(id)->buffer;
  });
  // Set up with the eighteen recordings in their order, every one of them playable.
  EXPECT_EQ(ids, (std::vector<int32_t>{132, 138, 139, 140, 148, 141, 144, 149, 146, 142, 147, 150, 151, 152, 153,
                                       154, 155, 156}));
  EXPECT_EQ(playable, 18u);
  const Stereo out = ReadCapture(path);
  ASSERT_GT(out.left.size(), 44100u * 3u);

  // What the mixer must make of the recording: its 11025 Hz samples brought to 44.1 kHz, at full
  // volume and centred, at most as loud as that where the limiter holds the peaks down.
  ZWave wave;
  ASSERT_EQ(wave.LoadFromResource(150, nullptr), 1);
  std::vector<uint8_t> bytes(wave.GetDataSize());
  ASSERT_EQ(wave.ReadData(bytes.data(), static_cast<uint32_t>(bytes.size())), bytes.size());
  std::vector<float> s(bytes.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)) / 32768.0f;
  const std::vector<float> want = platform::ResampleWhole(s.data(), static_cast<uint32_t>(s.size()), 1, 11025, 44100, false);

  // Silence until it starts (the recording fades in, so its first frames may round to nothing); from
  // there the output follows the recording, the same on both sides.
  size_t first = 0;
  while (first < out.left.size() && out.left[first] == 0) ++first;
  ASSERT_LT(first + want.size(), out.left.size());
  ASSERT_GE(first, platform::Mixer::kLatencyFrames);
  size_t start = first;
  double best = -1;
  for (size_t d = first > 200 ? first - 200 : 0; d <= first; ++d) {
    double c = 0;
    for (size_t k = 0; k < 44100; ++k) c += want[k] * out.left[d + k];
    if (c > best) {
      best = c;
      start = d;
    }
  }
  double dot = 0, ww = 0, oo = 0;
  size_t louder = 0;
  for (size_t k = 0; k < want.size(); ++k) {
    const double w = want[k] * 32768.0, o = out.left[start + k];
    dot += w * o;
    ww += w * w;
    oo += o * o;
    louder += std::fabs(o) > std::fabs(w) + 2.0 ? 1 : 0;
    ASSERT_EQ(out.left[start + k], out.right[start + k]) << k;
  }
  EXPECT_GT(dot / std::sqrt(ww * oo), 0.999);
  EXPECT_GT(oo / ww, 0.7);  // the limiter takes the peaks down by a decibel or so, not the sound
  EXPECT_EQ(louder, 0u);
}

TEST_F(SoundScenario, AllEighteenSoundsAtFullVolumeTogetherStayBelowFullScale) {
  const std::string path = Capture();
  bool started = false;
  Run("wait 6000\n", [&](G& game, uint32_t ms) {
    if (started || ms < 3000 || game.sound == nullptr) return;
    started = true;
    for (int32_t id : game.sound->ids) {
      game.sound->Stop(id);
      game.sound->SetPosition(id, 0);
      game.sound->SetVolume(id, 0);
      game.sound->SetPan(id, 0);
      game.sound->Play(id, id == 151 ? 1 : 0);
    }
  });
  ASSERT_TRUE(started);
  const Stereo out = ReadCapture(path);
  ASSERT_GT(out.left.size(), 44100u * 5u);
  EXPECT_EQ(FullScale(out), 0u);
  // And it is really loud: the limiter is at its ceiling, not the mix quiet.
  int peak = 0;
  for (int16_t x : out.left) peak = std::max(peak, std::abs(static_cast<int>(x)));
  EXPECT_GT(peak, static_cast<int>(platform::OutputLimiter::kCeiling * 32768 * 0.98));
  EXPECT_LE(peak, static_cast<int>(platform::OutputLimiter::kCeiling * 32768) + 1);
}

// Four gobbles of one bird 300 units out: straight ahead, 60 degrees right, 60 left, straight behind.
TEST_F(SoundScenario, AGobbleIsHeardFromWhereItsBirdStands) {
  const std::string path = Capture();
  const double kAngles[4] = {0, 60, -60, 180};
  const uint32_t kAt[4] = {4000, 6000, 8000, 10000};
  double measured[4] = {};
  int done = 0;
  Run("wait 12000\n", [&](G& game, uint32_t ms) {
    if (done >= 4 || ms < kAt[done] || game.hunter == nullptr || game.mainViewport == nullptr) return;
    // Where the bird must stand for that angle: the panorama column, back to a bearing.
    const double width = 2560;
    platform::Rect view{};
    game.mainViewport->GetViewRect(&view);
    const double column = game.mainViewport->GetScrollX() + view.Width() / 2.0 + kAngles[done] * width / 360.0;
    const double bearing = 2 * M_PI * (width - column) / width;
    const ZPoint at(game.hunter->position.x + 300 * std::cos(bearing), game.hunter->position.y + 300 * std::sin(bearing));
    measured[done] = DegreesFromView(game, at);
    PlayGobble(&game, at, 156, -600);
    ++done;
  });
  ASSERT_EQ(done, 4);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(std::remainder(measured[i] - kAngles[i], 360.0), 0.0, 0.01) << i;
  const Stereo out = ReadCapture(path);
  double left[4], right[4];
  for (int i = 0; i < 4; ++i) {
    const size_t from = kAt[i] * 441 / 10, to = from + 44100 * 3 / 2;
    left[i] = Energy(out.left, from, to);
    right[i] = Energy(out.right, from, to);
    ASSERT_GT(left[i] + right[i], 1e9) << "gobble " << i << " is not in the output";
  }
  EXPECT_NEAR(left[0] / right[0], 1.0, 0.01);  // ahead: centred
  EXPECT_GT(right[1], 10 * left[1]);           // right of the view: heard on the right
  EXPECT_GT(left[2], 10 * right[2]);           // left of the view: on the left
  EXPECT_LT(left[3] + right[3], 0.6 * (left[0] + right[0]));  // behind: quieter than ahead
  EXPECT_NE(left[3], right[3]);                // and to one side, never in the middle of the head
}

TEST_F(SoundScenario, AWholeHuntNeverClipsAndItsGobblesChangeNothingButWhereTheyAreHeard) {
  const std::string script = [] {
    const auto b = scenario::ReadBytes(scenario::fs::path(BF_SOURCE_DIR) / "tests" / "scenarios" / "whole_hunt.txt");
    return std::string(b.begin(), b.end());
  }();
  const std::string path = Capture();
  std::vector<int32_t> pans;  // the pan of each gobble the hunt started
  auto watchGobbles = [&](G& game, uint32_t) {
    for (int32_t id : {155, 156}) {
      ZDXSoundBuffer* b = game.sound != nullptr ? game.sound->FindBuffer(id) : nullptr;
      uint32_t status = 0, play = 0;
      if (b == nullptr || b->buffer == nullptr) continue;
      b->buffer->GetStatus(&status);
      b->buffer->GetCurrentPosition(&play, nullptr);
      int32_t pan = 0;
      b->buffer->GetPan(&pan);
      if ((status & platform::DSBSTATUS_PLAYING) != 0 && play < 500 && (pans.empty() || pans.back() != pan)) pans.push_back(pan);
    }
  };
  const replay::Result placed = Run(script, watchGobbles);
  const int gobbles = Starts(155) + Starts(156);
  const Stereo out = ReadCapture(path);
  ASSERT_GT(out.left.size(), 44100u * 60u);
  EXPECT_EQ(FullScale(out), 0u);

  gobblesFromTheirBirds = false;
  const replay::Result centred = Run(script);
  gobblesFromTheirBirds = true;
  ASSERT_GT(gobbles, 0) << "the hunt must gobble for this to show anything";
  EXPECT_EQ(Starts(155) + Starts(156), gobbles);
  ASSERT_EQ(placed.dumps.size(), 5u);
  EXPECT_EQ(placed.dumps, centred.dumps);
  EXPECT_EQ(placed.stateLines, centred.stateLines);
  bool aside = false;
  for (int32_t pan : pans) aside = aside || pan != 0;
  EXPECT_TRUE(aside) << "no gobble of the hunt was panned";
}

}  // namespace
