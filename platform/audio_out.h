// The seam between the mixer and the host's audio output: the output pulls mixed frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class Clock;

// Whatever produces the sound: the mixer. Called on the game's thread only.
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  // Fill `frames` interleaved stereo 16-bit frames at the output rate.
  virtual void Mix(int16_t* stereo, size_t frames) = 0;
  // True while Mix would give nothing but silence: the output then needs no refills, and the game's
  // loop may sleep until something plays.
  virtual bool Idle() const { return false; }
};

// One output stream. The message pump calls Pump() every pass; the output asks its source for as
// many frames as it needs to stay about 20 ms ahead (SDL) or to catch up with the manual clock
// (headless). No audio thread touches game state.
class AudioOut {
 public:
  virtual ~AudioOut() = default;
  virtual bool Open(int rate, AudioSource* source) = 0;  // false: no sound device, game runs silent
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual int Rate() const = 0;
  virtual void Pump() = 0;
};

// SDL audio (platform/sdl/sdl_audio.cpp).
std::unique_ptr<AudioOut> CreateSdlAudioOut();
// Headless audio advanced by `clock`; when `capturePath` is not empty, the mixed output is written
// there as a WAV file on Close (platform/headless/headless_audio.cpp).
std::unique_ptr<AudioOut> CreateHeadlessAudioOut(const Clock* clock, const std::string& capturePath);

}  // namespace platform
