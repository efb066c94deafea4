// The headless backend: everything the host would do, made deterministic and inspectable.
#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/png_writer.h"

namespace platform {
namespace {

// Makes the real headless output on each Open, so the capture path in force then is the one used,
// however early the message pump first asked for the audio output.
class DeferredAudioOut final : public AudioOut {
 public:
  DeferredAudioOut(const Clock* clock, const std::string* capturePath) : clock_(clock), capturePath_(capturePath) {}
  bool Open(int rate, AudioSource* source) override {
    if (out_ != nullptr) out_->Close();
    out_ = CreateHeadlessAudioOut(clock_, *capturePath_);
    return out_ != nullptr && out_->Open(rate, source);
  }
  void Close() override {
    if (out_ != nullptr) out_->Close();
  }
  bool IsOpen() const override { return out_ != nullptr && out_->IsOpen(); }
  int Rate() const override { return out_ != nullptr ? out_->Rate() : 0; }
  void Pump() override {
    if (out_ != nullptr) out_->Pump();
  }

 private:
  const Clock* clock_;
  const std::string* capturePath_;
  std::unique_ptr<AudioOut> out_;
};

}  // namespace

HeadlessBackend::HeadlessBackend(uint32_t startMs, std::time_t calendar) : clock_(startMs, calendar) {}

HeadlessBackend::~HeadlessBackend() {
  if (audio_ != nullptr) audio_->Close();
}

bool HeadlessBackend::OpenDisplay(int32_t width, int32_t height) {
  if (displayFails_ || width <= 0 || height <= 0) return false;
  displayOpen_ = true;
  displayWidth_ = width;
  displayHeight_ = height;
  return true;
}

void HeadlessBackend::Present(const FrameView& frame) {
  if (frame.pixels == nullptr || frame.palette == nullptr || frame.width <= 0 || frame.height <= 0 ||
      frame.pitch < frame.width) {
    return;
  }
  const auto w = static_cast<size_t>(frame.width);
  const auto h = static_cast<size_t>(frame.height);
  framePixels_.resize(w * h);
  for (size_t y = 0; y < h; ++y) {
    std::memcpy(framePixels_.data() + y * w, frame.pixels + y * static_cast<size_t>(frame.pitch), w);
  }
  std::copy(frame.palette, frame.palette + 256, framePalette_.begin());
  frameWidth_ = frame.width;
  frameHeight_ = frame.height;
  ++presentCount_;
}

bool HeadlessBackend::PollEvent(InputEvent* event) {
  if (events_.empty()) return false;
  if (event != nullptr) *event = events_.front();
  events_.pop_front();
  return true;
}

void HeadlessBackend::SetCursorImage(const CursorImage* image) {
  if (image == nullptr || image->argb == nullptr || image->width <= 0 || image->height <= 0) {
    hasCursorImage_ = false;
    cursorImage_ = CursorImage{};
    cursorPixels_.clear();
    return;
  }
  cursorPixels_.assign(image->argb, image->argb + static_cast<size_t>(image->width) * static_cast<size_t>(image->height));
  cursorImage_ = *image;
  cursorImage_.argb = cursorPixels_.data();
  hasCursorImage_ = true;
}

void HeadlessBackend::WarpCursor(int32_t x, int32_t y) {
  cursorX_ = x;
  cursorY_ = y;
  ++warpCount_;
}

int HeadlessBackend::ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags) {
  messageBoxes_.push_back(MessageBoxRecord{caption, text, flags});
  // Nobody sees a headless box: the log of a replay or a test run shows it instead.
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  return IDOK;
}

void HeadlessBackend::SetTextInput(bool on) {
  if (on == textInput_) return;
  textInput_ = on;
  ++textInputSwitches_;
}

AudioOut& HeadlessBackend::Audio() {
  if (audio_ == nullptr) audio_ = std::make_unique<DeferredAudioOut>(&clock_, &capturePath_);
  return *audio_;
}

void HeadlessBackend::InjectMouseMove(int32_t x, int32_t y) {
  InputEvent e;
  e.type = InputEvent::Type::MouseMove;
  e.dx = x - cursorX_;
  e.dy = y - cursorY_;
  e.x = x;
  e.y = y;
  cursorX_ = x;
  cursorY_ = y;
  events_.push_back(e);
}

void HeadlessBackend::InjectButton(int32_t button, bool down, int32_t x, int32_t y) {
  InputEvent e;
  e.type = down ? InputEvent::Type::ButtonDown : InputEvent::Type::ButtonUp;
  e.button = button;
  e.x = x;
  e.y = y;
  cursorX_ = x;
  cursorY_ = y;
  events_.push_back(e);
}

void HeadlessBackend::InjectClick(int32_t x, int32_t y) {
  InjectButton(0, true, x, y);
  InjectButton(0, false, x, y);
}

void HeadlessBackend::InjectKey(uint32_t vk, bool down, bool system) {
  InputEvent e;
  e.type = down ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
  e.key = vk;
  e.system = system;
  events_.push_back(e);
}

void HeadlessBackend::InjectKeyPress(uint32_t vk, bool system) {
  InjectKey(vk, true, system);
  InjectKey(vk, false, system);
}

void HeadlessBackend::InjectText(const std::string& utf8) {
  size_t i = 0;
  while (i < utf8.size()) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
    len = std::min(len, utf8.size() - i);
    InputEvent e;
    e.type = InputEvent::Type::Text;
    std::memcpy(e.text, utf8.data() + i, len);
    events_.push_back(e);
    i += len;
  }
}

void HeadlessBackend::InjectActivate(bool active) {
  InputEvent e;
  e.type = active ? InputEvent::Type::Activate : InputEvent::Type::Deactivate;
  events_.push_back(e);
}

void HeadlessBackend::InjectPointerInside(bool inside) {
  InputEvent e;
  e.type = inside ? InputEvent::Type::PointerEnter : InputEvent::Type::PointerLeave;
  events_.push_back(e);
}

void HeadlessBackend::InjectQuit() {
  InputEvent e;
  e.type = InputEvent::Type::Quit;
  events_.push_back(e);
}

uint8_t HeadlessBackend::FramePixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= frameWidth_ || y >= frameHeight_) return 0;
  return framePixels_[static_cast<size_t>(y) * static_cast<size_t>(frameWidth_) + static_cast<size_t>(x)];
}

bool HeadlessBackend::WritePng(const std::string& path) const {
  if (!HasFrame()) return false;
  FrameView view;
  view.pixels = framePixels_.data();
  view.width = frameWidth_;
  view.height = frameHeight_;
  view.pitch = frameWidth_;
  view.palette = framePalette_.data();
  return WritePalettedPng(path, view);
}

}  // namespace platform
