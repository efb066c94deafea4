// ZDXSoundBuffer: creating, filling, playing, restoring and releasing one sound's device buffer.
#include "framework/sound/dx_sound_buffer.h"

Z_IMPLEMENT_CLASS(ZDXSoundBuffer, ZWave)

namespace {

// Unlocks on every path out of the fill.
class BufferLock {
 public:
  explicit BufferLock(platform::SoundBuffer* buffer) : buffer_(buffer) {}
  ~BufferLock() {
    if (locked_) buffer_->Unlock(ptr_, bytes_, nullptr, 0);
  }
  bool Lock(uint32_t bytes) {
    locked_ = platform::Succeeded(buffer_->Lock(0, bytes, &ptr_, &bytes_, nullptr, nullptr, 0));
    return locked_;
  }
  // Unlocks with the count actually written.
  bool Unlock(uint32_t written) {
    locked_ = false;
    return platform::Succeeded(buffer_->Unlock(ptr_, written, nullptr, 0));
  }
  void* Region() const { return ptr_; }
  uint32_t RegionBytes() const { return bytes_; }

 private:
  platform::SoundBuffer* buffer_;
  void* ptr_ = nullptr;
  uint32_t bytes_ = 0;
  bool locked_ = false;
};

}  // namespace

ZDXSoundBuffer::ZDXSoundBuffer(platform::SoundDevice* device_, int32_t resourceId_, uint32_t capabilityFlags_)
    : device(device_), resourceId(resourceId_), capabilityFlags(capabilityFlags_) {
  CreateBuffer();
}

ZDXSoundBuffer::~ZDXSoundBuffer() {
  ReleaseBuffer();
  FreeData();
}

int32_t ZDXSoundBuffer::CreateBuffer() {
  if (buffer) ReleaseBuffer();
  if (device == nullptr) return 0;
  LoadFromResource(resourceId, nullptr);
  const uint32_t n = GetDataSize();
  platform::WaveFormatEx format;
  if (GetFormat(&format) == 0) return 0;  // no image or no format: the sound stays silent

  platform::BufferDesc desc;
  desc.size = 20;
  desc.flags = capabilityFlags;
  desc.bufferBytes = n;
  desc.reserved = 0;
  desc.format = &format;
  std::unique_ptr<platform::SoundBuffer> made;
  if (platform::Failed(device->CreateSoundBuffer(desc, &made)) || !made) return 0;

  BufferLock lock(made.get());
  if (!lock.Lock(n)) return 0;
  const uint32_t copied = ReadData(lock.Region(), lock.RegionBytes());
  if (!lock.Unlock(copied)) return 0;
  // The image stays referenced so that a lost buffer can be rebuilt from it.
  buffer = std::move(made);
  return 1;
}

int32_t ZDXSoundBuffer::PlayBuffer(uint32_t playFlags) {
  if (!buffer) return 0;
  uint32_t status = 0;
  if (platform::Succeeded(buffer->GetStatus(&status)) && (status & platform::DSBSTATUS_BUFFERLOST) != 0) {
    RestoreBuffer();
    if (!buffer) return platform::DSERR_BUFFERLOST;  // the rebuild failed: nothing left to play
  }
  return buffer->Play(0, 0, playFlags);
}

int32_t ZDXSoundBuffer::RestoreBuffer() {
  if (!buffer) return 0;
  if (platform::Failed(buffer->Restore())) return 0;
  return CreateBuffer();
}

void ZDXSoundBuffer::ReleaseBuffer() { buffer.reset(); }
