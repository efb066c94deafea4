// SDL audio output: a queued SDL audio device kept about 20 ms ahead by the game thread's pump.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/audio_out.h"
#include "platform/clock.h"
#include "platform/wait.h"

namespace platform {
namespace {

constexpr int kLeadMs = 20;           // how far ahead of the device the queue is kept
constexpr Uint16 kDeviceFrames = 512; // the device's own period (about 12 ms at 44.1 kHz)

class SdlAudioOut final : public AudioOut {
 public:
  ~SdlAudioOut() override { Close(); }

  bool Open(int rate, AudioSource* source) override {
    if (device_ != 0 || source == nullptr || rate <= 0) return false;
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) {
      if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "brushfeather: no audio (%s); the game runs silently\n", SDL_GetError());
        return false;
      }
      ownsSubsystem_ = true;
    }
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kDeviceFrames;
    want.callback = nullptr;  // queued: the game thread pushes, no audio thread touches game state
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to the device itself, so the mixer's rate holds.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
      std::fprintf(stderr, "brushfeather: cannot open an audio device (%s); the game runs silently\n", SDL_GetError());
      ReleaseSubsystem();
      return false;
    }
    source_ = source;
    rate_ = rate;
    lead_ = static_cast<uint32_t>(rate * kLeadMs / 1000);
    Pump();
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  void Close() override {
    if (device_ != 0) {
      SDL_ClearQueuedAudio(device_);
      SDL_CloseAudioDevice(device_);
      device_ = 0;
    }
    source_ = nullptr;
    ReleaseSubsystem();
  }

  bool IsOpen() const override { return device_ != 0; }
  int Rate() const override { return device_ != 0 ? rate_ : 0; }

  void Pump() override {
    if (device_ == 0 || source_ == nullptr) return;
    uint32_t queued = SDL_GetQueuedAudioSize(device_) / kFrameBytes;
    if (queued < lead_) {
      const uint32_t frames = lead_ - queued;
      chunk_.resize(static_cast<size_t>(frames) * 2);
      source_->Mix(chunk_.data(), frames);
      if (SDL_QueueAudio(device_, chunk_.data(), frames * kFrameBytes) != 0) {
        if (!reported_) std::fprintf(stderr, "brushfeather: audio queue failed (%s)\n", SDL_GetError());
        reported_ = true;
      } else {
        queued = lead_;
      }
    }
    // While something sounds, come back well before the device's next period could find the queue
    // short: halfway, so a loaded machine that wakes us late still refills in time. In silence the
    // device plays its own silence once the queue runs out, and nobody needs waking.
    if (!source_->Idle()) {
      const uint32_t spare = queued > kDeviceFrames ? queued - kDeviceFrames : 0;
      WakeBy(timeGetTime() + std::max<uint32_t>(1, spare * 1000u / static_cast<uint32_t>(rate_) / 2));
    }
  }

 private:
  static constexpr uint32_t kFrameBytes = 4;  // stereo 16-bit

  void ReleaseSubsystem() {
    if (ownsSubsystem_) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      ownsSubsystem_ = false;
    }
  }

  SDL_AudioDeviceID device_ = 0;
  AudioSource* source_ = nullptr;
  int rate_ = 0;
  uint32_t lead_ = 0;
  bool ownsSubsystem_ = false;
  bool reported_ = false;
  std::vector<int16_t> chunk_;
};

}  // namespace

std::unique_ptr<AudioOut> CreateSdlAudioOut() { return std::make_unique<SdlAudioOut>(); }

}  // namespace platform
