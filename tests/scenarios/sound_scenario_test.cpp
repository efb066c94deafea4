// The game's sound heard end to end: the title sound, played when the menu is built, in the mixed output.
#include <cstdlib>

#include "framework/sound/dx_sound.h"
#include "framework/sound/dx_sound_buffer.h"
#include "framework/sound/wave.h"
#include "tests/scenarios/scenario.h"

namespace {

std::vector<int16_t> CapturedLeft(const scenario::fs::path& path, int* rate) {
  const std::vector<uint8_t> f = scenario::ReadBytes(path);
  std::vector<int16_t> left;
  if (f.size() < 44) return left;
  *rate = f[24] | (f[25] << 8) | (f[26] << 16) | (f[27] << 24);
  for (size_t at = 44; at + 4 <= f.size(); at += 4) left.push_back(static_cast<int16_t>(f[at] | (f[at + 1] << 8)));
  return left;
}

using SoundScenario = scenario::Scenario;

TEST_F(SoundScenario, TheTitleSoundIsInTheMixedOutputWhenTheMenuIsShown) {
  const scenario::fs::path path = dir / "title_sound_capture.wav";
  bool soundUp = false;
  std::vector<int32_t> ids;
  int32_t enabled = -1;
  size_t withBuffer = 0;
  Run(
      "wait 4000\n",
      [&](ZTurkeyGame& game, uint32_t) {
        if (soundUp || game.sound == nullptr || game.sound->available != 1) return;
        soundUp = true;
        ids = game.sound->ids;
        enabled = game.sound->enabled;
        for (int32_t id : ids) withBuffer += game.sound->FindBuffer(id) != nullptr && game.sound->FindBuffer(id)->buffer;
      },
      "", [&](platform::HeadlessBackend& b) { b.SetAudioCapturePath(path.string()); });
  platform::ResetWindowSystem();
  platform::SetBackend(nullptr);  // closes the capture
  ASSERT_TRUE(soundUp) << "the sound system never came up\n" << log;
  // Set up with the eighteen recordings in their order, every one of them playable, and enabled.
  const std::vector<int32_t> order = {132, 138, 139, 140, 148, 141, 144, 149, 146,
                                      142, 147, 150, 151, 152, 153, 154, 155, 156};
  EXPECT_EQ(ids, order);
  EXPECT_EQ(withBuffer, 18u);
  EXPECT_EQ(enabled, 1);

  int rate = 0;
  const std::vector<int16_t> left = CapturedLeft(path, &rate);
  ASSERT_EQ(rate, 44100);
  ASSERT_GT(left.size(), 44100u * 3);

  // What the mixer must have made of the recording: 11025 Hz samples, each followed by three
  // interpolated ones on the way to the next, at full volume and centred.
  ZWave wave;
  ASSERT_EQ(wave.LoadFromResource(150, nullptr), 1);
  std::vector<uint8_t> bytes(wave.GetDataSize());
  ASSERT_EQ(wave.ReadData(bytes.data(), static_cast<uint32_t>(bytes.size())), bytes.size());
  std::vector<double> s(bytes.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  const size_t compare = 44100 * 2;  // two seconds
  auto expected = [&](size_t k) {
    const size_t i = k / 4;
    const double b = i + 1 < s.size() ? s[i + 1] : s[i];
    return s[i] + (b - s[i]) * static_cast<double>(k % 4) / 4.0;
  };
  // Find where it starts: the only offset at which two whole seconds match sample for sample.
  long found = -1;
  for (size_t d = 0; d + compare < left.size() && found < 0; ++d) {
    size_t k = 0;
    while (k < compare && std::abs(left[d + k] - expected(k)) <= 1.0) ++k;
    if (k == compare) found = static_cast<long>(d);
  }
  ASSERT_GE(found, 0) << "recording 150 is not in the mixed output";
  // Before it, the menu was silent.
  for (long k = 0; k < found; ++k) ASSERT_EQ(left[static_cast<size_t>(k)], 0) << k;
}

}  // namespace
