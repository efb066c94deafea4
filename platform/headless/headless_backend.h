// The backend for tests, replays and benchmarks: manual clock, injected input, captured frames.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_out.h"
#include "platform/backend.h"
#include "platform/clock.h"

namespace platform {

class HeadlessBackend final : public Backend {
 public:
  struct MessageBoxRecord {
    std::string caption;
    std::string text;
    uint32_t flags = 0;
  };

  explicit HeadlessBackend(uint32_t startMs = 0, std::time_t calendar = 0);
  ~HeadlessBackend() override;

  // --- Backend ---
  Clock& GetClock() override { return clock_; }
  bool OpenDisplay(int32_t width, int32_t height) override;
  void CloseDisplay() override { displayOpen_ = false; }
  bool DisplayOpen() const override { return displayOpen_; }
  void Present(const FrameView& frame) override;
  bool PollEvent(InputEvent* event) override;
  bool WaitForInput(uint32_t) override { return false; }  // time moves only when the caller advances it
  bool IsInteractive() const override { return false; }
  void SetCursorVisible(bool visible) override { cursorVisible_ = visible; }
  void SetCursorImage(const CursorImage* image) override;
  void SetCursorConfined(bool confined) override { cursorConfined_ = confined; }
  void WarpCursor(int32_t x, int32_t y) override;
  int ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags) override;
  void SetTextInput(bool on) override;
  AudioOut& Audio() override;

  // --- the clock ---
  ManualClock& GetManualClock() { return clock_; }
  void Advance(uint32_t ms) { clock_.Advance(ms); }

  // --- the display ---
  void SetDisplayFails(bool fails) { displayFails_ = fails; }  // OpenDisplay then returns false
  int32_t DisplayWidth() const { return displayWidth_; }
  int32_t DisplayHeight() const { return displayHeight_; }

  // --- injected input, in 640 x 480 screen coordinates ---
  void Inject(const InputEvent& event) { events_.push_back(event); }
  void InjectMouseMove(int32_t x, int32_t y);
  void InjectButton(int32_t button, bool down, int32_t x, int32_t y);
  void InjectClick(int32_t x, int32_t y);  // left down and up
  void InjectKey(uint32_t vk, bool down, bool system = false);
  void InjectKeyPress(uint32_t vk, bool system = false);  // down and up
  // One Text event per character, as the host's text input delivers typed characters.
  void InjectText(const std::string& utf8);
  void InjectActivate(bool active);
  void InjectPointerInside(bool inside);  // the pointer leaves (false) or enters (true) the window
  void InjectQuit();
  size_t PendingEvents() const { return events_.size(); }

  // --- presented frames ---
  uint64_t PresentCount() const { return presentCount_; }
  bool HasFrame() const { return frameWidth_ > 0; }
  int32_t FrameWidth() const { return frameWidth_; }
  int32_t FrameHeight() const { return frameHeight_; }
  const std::vector<uint8_t>& FramePixels() const { return framePixels_; }  // tightly packed rows
  const std::array<Rgb, 256>& FramePalette() const { return framePalette_; }
  uint8_t FramePixel(int32_t x, int32_t y) const;  // 0 outside the frame
  bool WritePng(const std::string& path) const;    // false when no frame was presented or on error

  // --- message boxes (also printed on standard error), text input, the cursor ---
  const std::vector<MessageBoxRecord>& MessageBoxes() const { return messageBoxes_; }
  bool TextInputOn() const { return textInput_; }
  uint32_t TextInputSwitches() const { return textInputSwitches_; }  // calls that changed it
  bool CursorVisible() const { return cursorVisible_; }
  bool CursorConfined() const { return cursorConfined_; }
  int32_t CursorX() const { return cursorX_; }
  int32_t CursorY() const { return cursorY_; }
  uint32_t WarpCount() const { return warpCount_; }
  bool HasCursorImage() const { return hasCursorImage_; }
  const CursorImage& CursorImageInUse() const { return cursorImage_; }  // argb points at a copy

  // --- audio ---
  // Where the headless audio output writes what it mixed (as a WAV file when it closes); the path
  // in force when the game opens audio is used.
  void SetAudioCapturePath(const std::string& path) { capturePath_ = path; }

 private:
  ManualClock clock_;
  bool displayOpen_ = false;
  bool displayFails_ = false;
  int32_t displayWidth_ = 0;
  int32_t displayHeight_ = 0;
  std::deque<InputEvent> events_;
  uint64_t presentCount_ = 0;
  int32_t frameWidth_ = 0;
  int32_t frameHeight_ = 0;
  std::vector<uint8_t> framePixels_;
  std::array<Rgb, 256> framePalette_{};
  std::vector<MessageBoxRecord> messageBoxes_;
  bool textInput_ = false;
  uint32_t textInputSwitches_ = 0;
  bool cursorVisible_ = true;
  bool cursorConfined_ = false;
  int32_t cursorX_ = 320;
  int32_t cursorY_ = 240;
  uint32_t warpCount_ = 0;
  bool hasCursorImage_ = false;
  CursorImage cursorImage_;
  std::vector<uint32_t> cursorPixels_;
  std::string capturePath_;
  std::unique_ptr<AudioOut> audio_;
};

}  // namespace platform
