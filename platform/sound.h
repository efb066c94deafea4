// The sound device and its static buffers, with DirectSound's units, status bits and result codes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/mixer.h"
#include "platform/types.h"

namespace platform {

class AudioOut;
class Window;

// The wave format record (the 18-byte WAVEFORMATEX, fields unpacked).
struct WaveFormatEx {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t extraSize = 0;
};
constexpr uint16_t WAVE_FORMAT_PCM = 1;

// The buffer description (DSBUFFERDESC).
struct BufferDesc {
  uint32_t size = 20;
  uint32_t flags = 0;
  uint32_t bufferBytes = 0;
  uint32_t reserved = 0;
  const WaveFormatEx* format = nullptr;
};

constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x01;
constexpr uint32_t DSBCAPS_STATIC = 0x02;
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;

constexpr uint32_t DSBPLAY_LOOPING = 0x1;
constexpr uint32_t DSBSTATUS_PLAYING = 0x1;
constexpr uint32_t DSBSTATUS_BUFFERLOST = 0x2;
constexpr uint32_t DSBSTATUS_LOOPING = 0x4;
constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 0x1;
constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x2;

constexpr int32_t DSBVOLUME_MIN = kVolumeMin;
constexpr int32_t DSBVOLUME_MAX = kVolumeMax;
constexpr int32_t DSBPAN_LEFT = kPanLeft;
constexpr int32_t DSBPAN_CENTER = 0;
constexpr int32_t DSBPAN_RIGHT = kPanRight;
constexpr uint32_t DSBFREQUENCY_ORIGINAL = 0;
constexpr uint32_t DSBFREQUENCY_MIN = 100;
constexpr uint32_t DSBFREQUENCY_MAX = 100000;

constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSSCL_PRIORITY = 2;
constexpr uint32_t DSSCL_EXCLUSIVE = 3;
constexpr uint32_t DSSCL_WRITEPRIMARY = 4;

constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000Au);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
constexpr uint32_t DSBSIZE_MIN = 4;
constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;

// The rate the device mixes at.
constexpr int kDeviceRate = 44100;

class SoundDevice;

// One static buffer: PCM bytes filled through Lock/Unlock, played by the device's mixer.
class SoundBuffer {
 public:
  ~SoundBuffer();
  SoundBuffer(const SoundBuffer&) = delete;
  SoundBuffer& operator=(const SoundBuffer&) = delete;

  // One static buffer gives one region; the second pointer and count come back null and 0 unless the
  // requested span wraps past the end.
  HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1, void** ptr2, uint32_t* bytes2,
               uint32_t flags);
  HRESULT Unlock(void* ptr1, uint32_t bytes1, void* ptr2, uint32_t bytes2);

  // Plays from the current cursor; a playing buffer goes on from where it is (the looping flag is
  // taken from this call). reserved must be 0.
  HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags);
  HRESULT Stop();  // the cursor stays
  HRESULT GetStatus(uint32_t* status) const;
  HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write) const;
  HRESULT SetCurrentPosition(uint32_t bytes);  // below the buffer's size, else refused
  HRESULT SetVolume(int32_t volume);           // DSBVOLUME_MIN..DSBVOLUME_MAX, else refused
  HRESULT GetVolume(int32_t* volume) const;
  HRESULT SetPan(int32_t pan);                 // DSBPAN_LEFT..DSBPAN_RIGHT, else refused
  HRESULT GetPan(int32_t* pan) const;
  HRESULT SetFrequency(uint32_t frequency);    // DSBFREQUENCY_MIN..MAX, or 0 for the recorded rate
  HRESULT GetFrequency(uint32_t* frequency) const;
  HRESULT GetFormat(WaveFormatEx* format) const;
  uint32_t Size() const { return static_cast<uint32_t>(bytes_.size()); }

  // Gives the memory back after a loss; the contents must then be filled again.
  HRESULT Restore();
  // What happens when another program takes the device memory: the samples are gone, status shows
  // DSBSTATUS_BUFFERLOST and play and lock fail until Restore. This device never does it by itself.
  void MarkLost();

 private:
  friend class SoundDevice;
  SoundBuffer(SoundDevice* device, const BufferDesc& desc);
  void Decode();
  void ApplyGains();
  void Sync() const;

  SoundDevice* device_;  // null once the device is gone
  uint32_t flags_;
  WaveFormatEx format_;
  std::vector<uint8_t> bytes_;
  MixerVoice voice_;
  int32_t volume_ = 0;
  int32_t pan_ = 0;
  bool locked_ = false;
  bool lost_ = false;
};

// The device: opens the backend's audio output with its mixer, makes buffers.
class SoundDevice {
 public:
  // DirectSoundCreate: `guid` null selects the default (and only) device. Fails with DSERR_NODRIVER
  // when there is no backend or its audio output cannot be opened.
  static HRESULT Create(const void* guid, std::unique_ptr<SoundDevice>* out);
  // The same on a given output (tests).
  static HRESULT CreateOn(AudioOut* output, std::unique_ptr<SoundDevice>* out);
  ~SoundDevice();
  SoundDevice(const SoundDevice&) = delete;
  SoundDevice& operator=(const SoundDevice&) = delete;

  HRESULT SetCooperativeLevel(const Window* window, uint32_t level);
  HRESULT CreateSoundBuffer(const BufferDesc& desc, std::unique_ptr<SoundBuffer>* out);

  Mixer& GetMixer() { return mixer_; }
  // Lets the output catch up with its clock, so positions and status are current.
  void Sync();

 private:
  friend class SoundBuffer;
  explicit SoundDevice(AudioOut* output);
  void Detach(SoundBuffer* buffer);

  AudioOut* output_;
  Mixer mixer_;
  std::vector<SoundBuffer*> buffers_;
  uint32_t level_ = 0;
  bool syncing_ = false;
};

}  // namespace platform
