// The software mixer: brings every playing voice to the output rate, sums them and limits the sum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio_out.h"
#include "platform/limiter.h"

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

  // The samples brought once to `preparedRate` by PrepareVoice, used while the voice plays at
  // `recordedRate`: as a one-shot hears them (silence beyond the ends), plus the first and last
  // frames as a loop hears them (the end running on into the start).
  uint32_t recordedRate = 0;
  uint32_t preparedRate = 0;
  std::vector<float> prepared;
  std::vector<float> loopHead;
  std::vector<float> loopTail;

  uint32_t Frame() const { return static_cast<uint32_t>(position >> 32); }
  void SetFrame(uint32_t frame) { position = static_cast<uint64_t>(frame) << 32; }
};

// Converts the voice's samples, recorded at `recordedRate`, to `outputRate` once (band-limited), so
// that playing at the recorded rate costs a copy. Call again whenever the samples change.
void PrepareVoice(MixerVoice* voice, uint32_t recordedRate, int outputRate);

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
  // Frames between a voice's sample and its place in the output: the limiter's look-ahead.
  static constexpr size_t kLatencyFrames = OutputLimiter::kLookAhead;
  // Frames over which a cut voice fades to nothing, a voice resumed mid-way fades in, and a changed
  // gain slides to its new value (about 3 ms): no clicks.
  static constexpr size_t kRampFrames = 128;

  explicit Mixer(int outputRate);
  ~Mixer() override;
  int Rate() const { return rate_; }

  // The mixer does not own voices; the owner removes one before it goes away.
  void AddVoice(MixerVoice* voice);
  void RemoveVoice(MixerVoice* voice);
  size_t VoiceCount() const { return slots_.size(); }

  // Mixes `frames` stereo frames, advancing every playing voice. A one-shot voice that runs off its
  // end stops with its cursor back at 0; a looping voice wraps and runs on across the seam. The sum
  // leaves through the limiter, kLatencyFrames later, never reaching full scale.
  void Mix(int16_t* stereo, size_t frames) override;
  // Advances every voice exactly as Mix would, without producing samples.
  void Advance(size_t frames);

 private:
  struct Slot;
  void MixSlot(Slot& slot, size_t frames);
  size_t Render(Slot& slot, float* out, size_t frames);
  void RenderRun(Slot& slot, float* out, size_t frames);

  int rate_;
  std::vector<std::unique_ptr<Slot>> slots_;
  std::vector<float> accum_;
  std::vector<float> scratch_;
  OutputLimiter limiter_;
};

}  // namespace platform
