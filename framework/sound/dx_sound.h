// ZDXSound: the sound system; one static device buffer per recording, addressed by resource id.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/sound/sound.h"

namespace platform {
class SoundDevice;
}
class ZDXSoundBuffer;

class ZDXSound : public ZSound {
  Z_DECLARE_CLASS(ZDXSound)

 public:
  // PlayAdjusted kinds.
  static constexpr int32_t kAdjustFrequency = 0;
  static constexpr int32_t kAdjustVolume = 1;
  static constexpr int32_t kAdjustPan = 2;
  // Play flags.
  static constexpr uint32_t kPlayLooping = 1;
  // Capability flags every buffer gets: static, frequency, pan and volume control.
  static constexpr uint32_t kBufferFlags = 0xE2;

  ZDXSound();
  ~ZDXSound() override;
  ZDXSound(const ZDXSound&) = delete;
  ZDXSound& operator=(const ZDXSound&) = delete;

  // Keeps a copy of the ids and makes the device and one buffer per id; 1 on success, 0 when sound
  // is unavailable. `module` and `flags` are accepted and not used: recordings always come from the
  // program's own module and every buffer gets kBufferFlags. `deviceId` null selects the default.
  int32_t Init(const int32_t* ids, int32_t count, const void* module, uint32_t flags, const void* deviceId);
  int32_t CreateDevice();
  int32_t CreateBuffers();
  void Shutdown();

  // 0 stops every buffer (cursors stay) and blocks play requests; 1 allows them again.
  int32_t Enable(int32_t on);
  // Results are the device's (0 = success), or 0 when nothing was done.
  int32_t Play(int32_t id, uint32_t playFlags);
  int32_t PlayAdjusted(int32_t id, int32_t kind, int32_t value, uint32_t playFlags);  // always 0

  // The per-sound family: work while disabled; 0 when unavailable, unknown id or no buffer.
  int32_t Stop(int32_t id);
  int32_t SetFrequency(int32_t id, int32_t value);  // 0 = the recording's own rate
  int32_t SetPan(int32_t id, int32_t value);        // -10000..10000
  int32_t SetVolume(int32_t id, int32_t value);     // -10000..0, hundredths of a decibel
  int32_t SetPosition(int32_t id, int32_t value);   // byte offset of the play cursor
  int32_t GetFrequency(int32_t id, uint32_t* out);
  int32_t GetVolume(int32_t id, int32_t* out);
  int32_t GetStatus(int32_t id, uint32_t* out);      // bits: 1 playing, 2 lost, 4 looping

  // The buffer object of an id, or null (unknown id, or its object could not be made).
  ZDXSoundBuffer* FindBuffer(int32_t id) const;

  std::unique_ptr<platform::SoundDevice> device;
  std::vector<int32_t> ids;
  const void* deviceIdentifier = nullptr;
  std::vector<std::unique_ptr<ZDXSoundBuffer>> buffers;
  int32_t count = 0;
  int32_t enabled = 1;
  int32_t available = 1;
};
