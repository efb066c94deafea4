// The software mixer: resamples every playing voice to the output rate and sums them into stereo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio_out.h"

namespace platform {

// One sound the mixer can play: decoded samples plus the play state the buffer calls change. The
// mixer only reads the samples and advances position/playing; everything else is set by its owner.
struct MixerVoice {
  std::vector<float> samples;  // frames * channels, interleaved, -1..1
  uint32_t frames = 0;
  int channels = 1;            // 1 or 2
  uint32_t frequency = 0;      // samples per second it is played at
  uint64_t position = 0;       // 32.32 fixed-point frame index of the play cursor
  bool playing = false;
  bool looping = false;
  float gainLeft = 1.0f;
  float gainRight = 1.0f;

  uint32_t Frame() const { return static_cast<uint32_t>(position >> 32); }
  void SetFrame(uint32_t frame) { position = static_cast<uint64_t>(frame) << 32; }
};

// Volume and pan in hundredths of a decibel, as the buffer calls take them.
constexpr int32_t kVolumeMin = -10000;
constexpr int32_t kVolumeMax = 0;
constexpr int32_t kPanLeft = -10000;
constexpr int32_t kPanRight = 10000;

// Linear gain of an attenuation in hundredths of a dB (0 = 1.0); -10000 and below are silence.
float GainFromHundredthsDb(int32_t attenuation);
// Left and right gains of a volume and a pan: the far side is attenuated by |pan| on top of volume.
void GainsFromVolumePan(int32_t volume, int32_t pan, float* left, float* right);

class Mixer final : public AudioSource {
 public:
  explicit Mixer(int outputRate);
  int Rate() const { return rate_; }

  // The mixer does not own voices; the owner removes one before it goes away.
  void AddVoice(MixerVoice* voice);
  void RemoveVoice(MixerVoice* voice);
  size_t VoiceCount() const { return voices_.size(); }

  // Mixes `frames` stereo frames, advancing every playing voice. A one-shot voice that runs off its
  // end stops with its cursor back at 0; a looping voice wraps and interpolates across the seam.
  void Mix(int16_t* stereo, size_t frames) override;
  bool Idle() const override;  // no voice is playing
  // Advances every voice exactly as Mix would, without producing samples.
  void Advance(size_t frames);

 private:
  int rate_;
  std::vector<MixerVoice*> voices_;
  std::vector<float> accum_;
};

}  // namespace platform
