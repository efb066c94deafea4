// ZDXSoundBuffer: one sound, a wave image plus the static device buffer filled from it.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/sound/wave.h"

class ZDXSoundBuffer : public ZWave {
  Z_DECLARE_CLASS(ZDXSoundBuffer)

 public:
  // Stores the arguments and makes the device buffer at once; the object exists even when that fails.
  ZDXSoundBuffer(platform::SoundDevice* device, int32_t resourceId, uint32_t capabilityFlags);
  ~ZDXSoundBuffer() override;

  // (Re)loads the recording and fills a new device buffer from it; 1, or 0 when the sound stays silent.
  int32_t CreateBuffer();
  // Plays from the cursor (restoring a lost buffer first); the device's result, 0 without a buffer.
  int32_t PlayBuffer(uint32_t playFlags);
  // Gets lost memory back and rebuilds the buffer; 1, or 0 when that failed.
  int32_t RestoreBuffer();
  void ReleaseBuffer();

  platform::SoundDevice* device = nullptr;        // not owned
  std::unique_ptr<platform::SoundBuffer> buffer;  // none when creation failed
  int32_t resourceId = 0;
  uint32_t capabilityFlags = 0;
};
