// ZDXSound: the sound system over the platform's sound device; every sound addressed by its resource id.
#include "framework/sound/dx_sound.h"

#include <new>

#include "framework/sound/dx_sound_buffer.h"
#include "platform/backend.h"
#include "platform/sound.h"

Z_IMPLEMENT_CLASS(ZDXSound, ZSound)

namespace {

// On this platform sound runs wherever there is a host to play it; whether the host really has an
// audio device shows when the device is created.
bool PlatformGate() { return platform::GetBackend() != nullptr; }

}  // namespace

ZDXSound::ZDXSound() = default;

ZDXSound::~ZDXSound() {
  Shutdown();
  ids.clear();
}

int32_t ZDXSound::Init(const int32_t* ids_, int32_t count_, const void* module, uint32_t flags, const void* deviceId) {
  (void)module;  // recordings always come from the program's own module
  (void)flags;   // every buffer gets kBufferFlags
  if (!PlatformGate()) {
    available = 0;
    return 0;
  }
  available = 1;
  ids.clear();
  if (ids_ != nullptr && count_ > 0) ids.assign(ids_, ids_ + count_);
  count = static_cast<int32_t>(ids.size());
  deviceIdentifier = deviceId;
  return CreateDevice();
}

int32_t ZDXSound::CreateDevice() {
  if (!PlatformGate()) {
    available = 0;
    return 0;
  }
  available = 1;
  if (device) Shutdown();
  if (platform::Failed(platform::SoundDevice::Create(deviceIdentifier, &device)) || !device) {
    Shutdown();
    available = 0;
    return 0;
  }
  if (platform::Failed(device->SetCooperativeLevel(nullptr, platform::DSSCL_NORMAL))) {
    Shutdown();
    available = 0;
    return 0;
  }
  CreateBuffers();
  return 1;
}

int32_t ZDXSound::CreateBuffers() {
  buffers.clear();
  buffers.resize(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    ZDXSoundBuffer* b = new (std::nothrow) ZDXSoundBuffer(device.get(), ids[static_cast<size_t>(i)], kBufferFlags);
    if (b == nullptr) return 0;  // the ids left without an object stay silent
    buffers[static_cast<size_t>(i)].reset(b);
  }
  return 1;
}

void ZDXSound::Shutdown() {
  // Buffers first: each gives its device buffer back to the device before the device goes.
  buffers.clear();
  device.reset();
}

ZDXSoundBuffer* ZDXSound::FindBuffer(int32_t id) const {
  for (size_t i = 0; i < ids.size() && i < buffers.size(); ++i) {
    if (ids[i] == id) return buffers[i].get();
  }
  return nullptr;
}

int32_t ZDXSound::Enable(int32_t on) {
  if (!available) return 0;
  enabled = on;
  if (on == 0) {
    for (auto& b : buffers) {
      if (b && b->buffer) b->buffer->Stop();  // cursors stay where they are
    }
  }
  return 1;
}

int32_t ZDXSound::Play(int32_t id, uint32_t playFlags) {
  if (!available || !enabled) return 0;
  ZDXSoundBuffer* b = FindBuffer(id);
  if (b == nullptr) return 0;
  return b->PlayBuffer(playFlags);
}

int32_t ZDXSound::PlayAdjusted(int32_t id, int32_t kind, int32_t value, uint32_t playFlags) {
  if (!available || !enabled) return 0;
  int32_t result = 0;
  switch (kind) {
    case kAdjustFrequency: result = SetFrequency(id, value); break;
    case kAdjustVolume: result = SetVolume(id, value); break;
    case kAdjustPan: result = SetPan(id, value); break;
    default: return 0;
  }
  // A setting the device refused (a volume below silence, say) means the sound is not heard.
  if (result == 0) Play(id, playFlags);
  return 0;
}

namespace {

platform::SoundBuffer* DeviceBuffer(const ZDXSound& s, int32_t id) {
  if (!s.available) return nullptr;
  ZDXSoundBuffer* b = s.FindBuffer(id);
  return b != nullptr ? b->buffer.get() : nullptr;
}

}  // namespace

int32_t ZDXSound::Stop(int32_t id) {
  platform::SoundBuffer* b = DeviceBuffer(*this, id);
  return b != nullptr ? b->Stop() : 0;
}

int32_t ZDXSound::SetFrequency(int32_t id, int32_t value) {
  platform::SoundBuffer* b = DeviceBuffer(*this, id);
  // A negative rate becomes a huge one, which the device refuses.
  return b != nullptr ? b->SetFrequency(static_cast<uint32_t>(value)) : 0;
}

int32_t ZDXSound::SetPan(int32_t id, int32_t value) {
  platform::SoundBuffer* b = DeviceBuffer(*this, id);
  return b != nullptr ? b->SetPan(value) : 0;
}

int32_t ZDXSound::SetVolume(int32_t id, int32_t value) {
  platform::SoundBuffer* b = DeviceBuffer(*this, id);
  return b != nullptr ? b->SetVolume(value) : 0;
}

int32_t ZDXSound::SetPosition(int32_t id, int32_t value) {
  platform::SoundBuffer* b = DeviceBuffer(*this, id);
  return b != nullptr ? b->SetCurrentPosition(static_cast<uint32_t>(value)) : 0;
}

int32_t ZDXSound::GetFrequency(int32_t id, uint32_t* out) {
  platform::SoundBuffer* b = DeviceBuffer(*this, id);
  return b != nullptr ? b->GetFrequency(out) : 0;
}

int32_t ZDXSound::GetVolume(int32_t id, int32_t* out) {
  platform::SoundBuffer* b = DeviceBuffer(*this, id);
  return b != nullptr ? b->GetVolume(out) : 0;
}

int32_t ZDXSound::GetStatus(int32_t id, uint32_t* out) {
  platform::SoundBuffer* b = DeviceBuffer(*this, id);
  return b != nullptr ? b->GetStatus(out) : 0;
}
