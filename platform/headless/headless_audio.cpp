// Headless audio output: placeholder until the mixer lands; it never opens, so the game runs silent.
#include <memory>

#include "platform/audio_out.h"

namespace platform {
namespace {

class SilentAudioOut final : public AudioOut {
 public:
  bool Open(int, AudioSource*) override { return false; }
  void Close() override {}
  bool IsOpen() const override { return false; }
  int Rate() const override { return 0; }
  void Pump() override {}
};

}  // namespace

std::unique_ptr<AudioOut> CreateHeadlessAudioOut(const Clock*, const std::string&) {
  return std::make_unique<SilentAudioOut>();
}

}  // namespace platform
