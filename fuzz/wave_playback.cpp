// Fuzz target: a wave image played as the game plays it: read, made into a device buffer (converted
// to the device rate), mixed at its recorded rate and at a rate from the input, once or looping.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/sound/wave.h"
#include "platform/audio_out.h"
#include "platform/clock.h"
#include "platform/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Four bytes of settings, then the image; kept small so every input is mixed in a moment.
  if (size < 4 || size > (1u << 16)) return 0;
  const uint32_t frequency = (data[0] | (data[1] << 8) | (data[2] << 16)) % 100001;
  const bool looping = (data[3] & 1) != 0;
  const uint32_t jump = data[3] >> 1;
  std::vector<uint8_t> image(data + 4, data + size);
  ZWave wave;
  wave.LoadFromMemory(image.data(), static_cast<uint32_t>(image.size()));
  platform::WaveFormatEx format;
  if (wave.GetFormat(&format) != 1) return 0;
  const uint32_t bytes = wave.GetDataSize();

  platform::ManualClock clock(0);
  std::unique_ptr<platform::AudioOut> out = platform::CreateHeadlessAudioOut(&clock, "");
  std::unique_ptr<platform::SoundDevice> device;
  if (platform::SoundDevice::CreateOn(out.get(), &device) != platform::DS_OK) return 0;
  device->SetCooperativeLevel(nullptr, platform::DSSCL_NORMAL);
  platform::BufferDesc desc;
  desc.flags = 0xE2;
  desc.bufferBytes = bytes;
  desc.format = &format;
  std::unique_ptr<platform::SoundBuffer> buffer;
  if (device->CreateSoundBuffer(desc, &buffer) != platform::DS_OK) return 0;
  void* p = nullptr;
  uint32_t n = 0;
  if (buffer->Lock(0, bytes, &p, &n, nullptr, nullptr, 0) == platform::DS_OK) {
    const uint32_t got = wave.ReadData(static_cast<uint8_t*>(p), n);
    buffer->Unlock(p, got, nullptr, 0);
  }
  std::vector<int16_t> mixed(2 * 2048);
  platform::Mixer& mixer = device->GetMixer();
  buffer->Play(0, 0, looping ? platform::DSBPLAY_LOOPING : 0);
  mixer.Mix(mixed.data(), 2048);
  buffer->SetFrequency(frequency);
  buffer->SetCurrentPosition(jump * format.blockAlign);
  mixer.Mix(mixed.data(), 2048);
  buffer->SetFrequency(0);
  mixer.Mix(mixed.data(), 2048);
  for (int16_t s : mixed) {
    if (s >= 32767 || s <= -32767) __builtin_trap();  // the limiter lets nothing reach full scale
  }
  return 0;
}
