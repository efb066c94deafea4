// The sound device and its static buffers, played through the software mixer.
#include "platform/sound.h"

#include <algorithm>
#include <cstring>

#include "platform/audio_out.h"
#include "platform/backend.h"

namespace platform {

// --- device ---

HRESULT SoundDevice::Create(const void* guid, std::unique_ptr<SoundDevice>* out) {
  (void)guid;  // one device only
  if (out == nullptr) return DSERR_INVALIDPARAM;
  out->reset();
  Backend* backend = GetBackend();
  if (backend == nullptr) return DSERR_NODRIVER;
  return CreateOn(&backend->Audio(), out);
}

HRESULT SoundDevice::CreateOn(AudioOut* output, std::unique_ptr<SoundDevice>* out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  out->reset();
  if (output == nullptr) return DSERR_NODRIVER;
  // One device owns the output at a time.
  if (output->IsOpen()) return DSERR_ALLOCATED;
  std::unique_ptr<SoundDevice> device(new SoundDevice(output));
  if (!output->Open(kDeviceRate, &device->mixer_)) {
    device->output_ = nullptr;
    return DSERR_NODRIVER;
  }
  *out = std::move(device);
  return DS_OK;
}

SoundDevice::SoundDevice(AudioOut* output) : output_(output), mixer_(kDeviceRate) {}

SoundDevice::~SoundDevice() {
  Sync();  // what was due up to now is still heard (and captured)
  // Buffers that outlive the device go quiet instead of reaching into a mixer that is gone.
  for (SoundBuffer* b : buffers_) {
    mixer_.RemoveVoice(&b->voice_);
    b->voice_.playing = false;
    b->device_ = nullptr;
  }
  buffers_.clear();
  if (output_ != nullptr) output_->Close();
}

HRESULT SoundDevice::SetCooperativeLevel(const Window* window, uint32_t level) {
  (void)window;  // the mixer shares the output with nobody, so the window does not matter
  if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
  level_ = level;
  return DS_OK;
}

HRESULT SoundDevice::CreateSoundBuffer(const BufferDesc& desc, std::unique_ptr<SoundBuffer>* out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  out->reset();
  if (level_ == 0) return DSERR_INVALIDCALL;  // cooperative level first, as the real device wants
  if (desc.size != 20 && desc.size != 36) return DSERR_INVALIDPARAM;
  if ((desc.flags & DSBCAPS_PRIMARYBUFFER) != 0) return DSERR_INVALIDPARAM;
  const WaveFormatEx* f = desc.format;
  if (f == nullptr) return DSERR_INVALIDPARAM;
  if (f->formatTag != WAVE_FORMAT_PCM) return DSERR_BADFORMAT;
  if (f->channels != 1 && f->channels != 2) return DSERR_BADFORMAT;
  if (f->bitsPerSample != 8 && f->bitsPerSample != 16) return DSERR_BADFORMAT;
  if (f->samplesPerSec < DSBFREQUENCY_MIN || f->samplesPerSec > DSBFREQUENCY_MAX) return DSERR_BADFORMAT;
  if (f->blockAlign != f->channels * f->bitsPerSample / 8) return DSERR_BADFORMAT;
  if (desc.bufferBytes < DSBSIZE_MIN || desc.bufferBytes > DSBSIZE_MAX || desc.bufferBytes < f->blockAlign) {
    return DSERR_INVALIDPARAM;
  }
  std::unique_ptr<SoundBuffer> buffer(new SoundBuffer(this, desc));
  buffers_.push_back(buffer.get());
  mixer_.AddVoice(&buffer->voice_);
  *out = std::move(buffer);
  return DS_OK;
}

void SoundDevice::Sync() {
  if (output_ == nullptr || syncing_) return;
  syncing_ = true;
  output_->Pump();
  syncing_ = false;
}

void SoundDevice::Detach(SoundBuffer* buffer) {
  mixer_.RemoveVoice(&buffer->voice_);
  buffers_.erase(std::remove(buffers_.begin(), buffers_.end(), buffer), buffers_.end());
}

// --- buffer ---

SoundBuffer::SoundBuffer(SoundDevice* device, const BufferDesc& desc)
    : device_(device), flags_(desc.flags), format_(*desc.format), bytes_(desc.bufferBytes, 0) {
  // Silence in the sample's own encoding: 8-bit PCM is unsigned around 128.
  if (format_.bitsPerSample == 8) std::fill(bytes_.begin(), bytes_.end(), uint8_t{128});
  voice_.channels = format_.channels;
  voice_.frequency = format_.samplesPerSec;
  Decode();
  ApplyGains();
}

SoundBuffer::~SoundBuffer() {
  if (device_ != nullptr) device_->Detach(this);
}

void SoundBuffer::Sync() const {
  if (device_ != nullptr) device_->Sync();
}

void SoundBuffer::Decode() {
  const uint32_t frames = static_cast<uint32_t>(bytes_.size() / format_.blockAlign);
  const size_t count = static_cast<size_t>(frames) * format_.channels;
  voice_.samples.resize(count);
  if (format_.bitsPerSample == 8) {
    for (size_t i = 0; i < count; ++i) voice_.samples[i] = (static_cast<float>(bytes_[i]) - 128.0f) / 128.0f;
  } else {
    for (size_t i = 0; i < count; ++i) {
      const int16_t v = static_cast<int16_t>(bytes_[2 * i] | (bytes_[2 * i + 1] << 8));
      voice_.samples[i] = static_cast<float>(v) / 32768.0f;
    }
  }
  voice_.frames = frames;
  // Converted to the device rate once here, so that playing at the recorded rate costs a copy.
  PrepareVoice(&voice_, format_.samplesPerSec, kDeviceRate);
}

void SoundBuffer::ApplyGains() { GainsFromVolumePan(volume_, pan_, &voice_.gainLeft, &voice_.gainRight); }

HRESULT SoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1, void** ptr2,
                          uint32_t* bytes2, uint32_t flags) {
  if (ptr1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
  *ptr1 = nullptr;
  *bytes1 = 0;
  if (ptr2 != nullptr) *ptr2 = nullptr;
  if (bytes2 != nullptr) *bytes2 = 0;
  if (lost_) return DSERR_BUFFERLOST;
  if (locked_) return DSERR_INVALIDCALL;
  const uint32_t size = Size();
  if ((flags & DSBLOCK_FROMWRITECURSOR) != 0) {
    Sync();
    offset = voice_.Frame() * format_.blockAlign;
  }
  if ((flags & DSBLOCK_ENTIREBUFFER) != 0) bytes = size;
  if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
  const uint32_t first = std::min(bytes, size - offset);
  const uint32_t second = bytes - first;
  if (second != 0 && (ptr2 == nullptr || bytes2 == nullptr)) return DSERR_INVALIDPARAM;
  *ptr1 = bytes_.data() + offset;
  *bytes1 = first;
  if (second != 0) {
    *ptr2 = bytes_.data();
    *bytes2 = second;
  }
  locked_ = true;
  return DS_OK;
}

HRESULT SoundBuffer::Unlock(void* ptr1, uint32_t bytes1, void* ptr2, uint32_t bytes2) {
  if (!locked_) return DSERR_INVALIDCALL;
  const uint8_t* begin = bytes_.data();
  const uint8_t* endp = begin + bytes_.size();
  auto inside = [&](const void* p, uint32_t n) {
    if (n == 0) return true;
    const uint8_t* q = static_cast<const uint8_t*>(p);
    return q >= begin && q <= endp && n <= static_cast<size_t>(endp - q);
  };
  if (!inside(ptr1, bytes1) || !inside(ptr2, bytes2)) return DSERR_INVALIDPARAM;
  locked_ = false;
  Decode();
  return DS_OK;
}

HRESULT SoundBuffer::Play(uint32_t reserved, uint32_t priority, uint32_t flags) {
  (void)priority;  // only meaningful for hardware voices
  if (reserved != 0) return DSERR_INVALIDPARAM;
  if (device_ == nullptr) return DSERR_NODRIVER;
  Sync();
  if (lost_) return DSERR_BUFFERLOST;
  voice_.looping = (flags & DSBPLAY_LOOPING) != 0;
  voice_.playing = true;
  return DS_OK;
}

HRESULT SoundBuffer::Stop() {
  Sync();
  voice_.playing = false;
  return DS_OK;
}

HRESULT SoundBuffer::GetStatus(uint32_t* status) const {
  if (status == nullptr) return DSERR_INVALIDPARAM;
  Sync();
  uint32_t s = 0;
  if (voice_.playing) s |= DSBSTATUS_PLAYING | (voice_.looping ? DSBSTATUS_LOOPING : 0);
  if (lost_) s |= DSBSTATUS_BUFFERLOST;
  *status = s;
  return DS_OK;
}

HRESULT SoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write) const {
  if (play == nullptr && write == nullptr) return DSERR_INVALIDPARAM;
  Sync();
  const uint32_t pos = voice_.Frame() * format_.blockAlign;
  if (play != nullptr) *play = pos;
  if (write != nullptr) *write = pos;
  return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(uint32_t bytes) {
  if (bytes >= Size()) return DSERR_INVALIDPARAM;
  Sync();
  voice_.SetFrame(bytes / format_.blockAlign);
  return DS_OK;
}

HRESULT SoundBuffer::SetVolume(int32_t volume) {
  if ((flags_ & DSBCAPS_CTRLVOLUME) == 0) return DSERR_CONTROLUNAVAIL;
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  Sync();
  volume_ = volume;
  ApplyGains();
  return DS_OK;
}

HRESULT SoundBuffer::GetVolume(int32_t* volume) const {
  if (volume == nullptr) return DSERR_INVALIDPARAM;
  if ((flags_ & DSBCAPS_CTRLVOLUME) == 0) return DSERR_CONTROLUNAVAIL;
  *volume = volume_;
  return DS_OK;
}

HRESULT SoundBuffer::SetPan(int32_t pan) {
  if ((flags_ & DSBCAPS_CTRLPAN) == 0) return DSERR_CONTROLUNAVAIL;
  if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
  Sync();
  pan_ = pan;
  ApplyGains();
  return DS_OK;
}

HRESULT SoundBuffer::GetPan(int32_t* pan) const {
  if (pan == nullptr) return DSERR_INVALIDPARAM;
  if ((flags_ & DSBCAPS_CTRLPAN) == 0) return DSERR_CONTROLUNAVAIL;
  *pan = pan_;
  return DS_OK;
}

HRESULT SoundBuffer::SetFrequency(uint32_t frequency) {
  if ((flags_ & DSBCAPS_CTRLFREQUENCY) == 0) return DSERR_CONTROLUNAVAIL;
  if (frequency == DSBFREQUENCY_ORIGINAL) frequency = format_.samplesPerSec;
  if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX) return DSERR_INVALIDPARAM;
  Sync();
  voice_.frequency = frequency;
  return DS_OK;
}

HRESULT SoundBuffer::GetFrequency(uint32_t* frequency) const {
  if (frequency == nullptr) return DSERR_INVALIDPARAM;
  if ((flags_ & DSBCAPS_CTRLFREQUENCY) == 0) return DSERR_CONTROLUNAVAIL;
  *frequency = voice_.frequency;
  return DS_OK;
}

HRESULT SoundBuffer::GetFormat(WaveFormatEx* format) const {
  if (format == nullptr) return DSERR_INVALIDPARAM;
  *format = format_;
  return DS_OK;
}

HRESULT SoundBuffer::Restore() {
  if (device_ == nullptr) return DSERR_NODRIVER;
  lost_ = false;
  return DS_OK;
}

void SoundBuffer::MarkLost() {
  Sync();
  lost_ = true;
  locked_ = false;
  voice_.playing = false;
  voice_.position = 0;
  std::fill(bytes_.begin(), bytes_.end(), format_.bitsPerSample == 8 ? uint8_t{128} : uint8_t{0});
  Decode();
}

}  // namespace platform
