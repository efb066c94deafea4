// Headless audio output: the mixer advanced by the manual clock, optionally captured to a WAV file.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_out.h"
#include "platform/clock.h"
#include "platform/mixer.h"

namespace platform {
namespace {

// Ten minutes of capture at most; a long replay keeps its first ten minutes rather than eating memory.
constexpr size_t kMaxCaptureSeconds = 600;
constexpr size_t kChunkFrames = 1024;

void PutLE(std::vector<uint8_t>* out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

class HeadlessAudioOut final : public AudioOut {
 public:
  HeadlessAudioOut(const Clock* clock, std::string capturePath) : clock_(clock), capturePath_(std::move(capturePath)) {}
  ~HeadlessAudioOut() override { Close(); }

  bool Open(int rate, AudioSource* source) override {
    if (open_ || clock_ == nullptr || source == nullptr || rate <= 0) return false;
    source_ = source;
    rate_ = rate;
    lastMs_ = clock_->Milliseconds();
    elapsedMs_ = 0;
    framesDone_ = 0;
    capture_.clear();
    open_ = true;
    return true;
  }

  void Close() override {
    if (!open_) return;
    Pump();
    if (!capturePath_.empty()) WriteCapture();
    open_ = false;
    source_ = nullptr;
  }

  bool IsOpen() const override { return open_; }
  int Rate() const override { return open_ ? rate_ : 0; }

  // Mixes exactly as many frames as the clock says have passed since the output opened.
  void Pump() override {
    if (!open_) return;
    const uint32_t now = clock_->Milliseconds();
    elapsedMs_ += static_cast<uint32_t>(now - lastMs_);  // unsigned difference survives the wrap
    lastMs_ = now;
    const uint64_t target = elapsedMs_ * static_cast<uint64_t>(rate_) / 1000;
    if (target <= framesDone_) return;
    uint64_t due = target - framesDone_;
    framesDone_ = target;
    Mixer* mixer = dynamic_cast<Mixer*>(source_);
    const size_t captureLimit = kMaxCaptureSeconds * static_cast<size_t>(rate_) * 2;
    while (due > 0) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(due, kChunkFrames));
      const bool capturing = !capturePath_.empty() && capture_.size() < captureLimit;
      if (!capturing && mixer != nullptr) {
        // Nobody listens: advance the voices without making samples (same positions as mixing).
        mixer->Advance(static_cast<size_t>(due));
        return;
      }
      chunk_.resize(n * 2);
      source_->Mix(chunk_.data(), n);
      if (capturing) capture_.insert(capture_.end(), chunk_.begin(), chunk_.end());
      due -= n;
    }
  }

 private:
  void WriteCapture() {
    const uint32_t dataBytes = static_cast<uint32_t>(capture_.size() * 2);
    std::vector<uint8_t> file;
    file.reserve(44 + dataBytes);
    file.insert(file.end(), {'R', 'I', 'F', 'F'});
    PutLE(&file, 36 + dataBytes, 4);
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLE(&file, 16, 4);
    PutLE(&file, 1, 2);                                  // PCM
    PutLE(&file, 2, 2);                                  // stereo
    PutLE(&file, static_cast<uint32_t>(rate_), 4);
    PutLE(&file, static_cast<uint32_t>(rate_) * 4, 4);
    PutLE(&file, 4, 2);
    PutLE(&file, 16, 2);
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    PutLE(&file, dataBytes, 4);
    for (int16_t s : capture_) PutLE(&file, static_cast<uint16_t>(s), 2);
    std::FILE* f = std::fopen(capturePath_.c_str(), "wb");
    if (f == nullptr) {
      std::fprintf(stderr, "brushfeather: cannot write the audio capture %s\n", capturePath_.c_str());
      return;
    }
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    if (std::fclose(f) != 0 || !ok) std::fprintf(stderr, "brushfeather: audio capture %s is incomplete\n", capturePath_.c_str());
  }

  const Clock* clock_;
  std::string capturePath_;
  AudioSource* source_ = nullptr;
  int rate_ = 0;
  bool open_ = false;
  uint32_t lastMs_ = 0;
  uint64_t elapsedMs_ = 0;
  uint64_t framesDone_ = 0;
  std::vector<int16_t> chunk_;
  std::vector<int16_t> capture_;
};

}  // namespace

std::unique_ptr<AudioOut> CreateHeadlessAudioOut(const Clock* clock, const std::string& capturePath) {
  return std::make_unique<HeadlessAudioOut>(clock, capturePath);
}

}  // namespace platform
