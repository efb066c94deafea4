// The game's sound heard end to end: the title sound, played when the menu is built, in the mixed output.
#include <cmath>
#include <string>
#include <vector>

#include "framework/sound/wave.h"
#include "tests/scenarios/scenario.h"

namespace {

using scenario::G;

class SoundScenario : public scenario::Scenario {};

TEST_F(SoundScenario, TheTitleSoundIsInTheMixedOutputWhenTheMenuIsShown) {
  const std::string path = (dir / "capture.wav").string();
  prepare = [&](platform::HeadlessBackend& b) { b.SetAudioCapturePath(path); };
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

  const std::vector<uint8_t> f = scenario::ReadBytes(path);
  ASSERT_GT(f.size(), 44u + 4u * 44100u * 3u);
  ASSERT_EQ(f[24] | (f[25] << 8) | (f[26] << 16), 44100);
  std::vector<int16_t> left;
  for (size_t at = 44; at + 4 <= f.size(); at += 4) left.push_back(static_cast<int16_t>(f[at] | (f[at + 1] << 8)));

  // What the mixer must make of the recording: 11025 Hz samples, each followed by three interpolated
  // ones on the way to the next, at full volume and centred.
  ZWave wave;
  ASSERT_EQ(wave.LoadFromResource(150, nullptr), 1);
  std::vector<uint8_t> bytes(wave.GetDataSize());
  ASSERT_EQ(wave.ReadData(bytes.data(), static_cast<uint32_t>(bytes.size())), bytes.size());
  std::vector<double> s(bytes.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  auto expected = [&](size_t k) {
    const size_t i = k / 4;
    const double next = i + 1 < s.size() ? s[i + 1] : s[i];
    return s[i] + (next - s[i]) * static_cast<double>(k % 4) / 4.0;
  };
  // Where it starts: the only offset at which two whole seconds match sample for sample; silence before.
  const size_t compare = 44100 * 2;
  long found = -1;
  for (size_t d = 0; d + compare < left.size() && found < 0; ++d) {
    size_t k = 0;
    while (k < compare && std::abs(left[d + k] - expected(k)) <= 1.0) ++k;
    if (k == compare) found = static_cast<long>(d);
  }
  ASSERT_GE(found, 0) << "recording 150 is not in the mixed output";
  for (long k = 0; k < found; ++k) ASSERT_EQ(left[static_cast<size_t>(k)], 0) << k;
}

}  // namespace
