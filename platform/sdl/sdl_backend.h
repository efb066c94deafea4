// The SDL2 backend of the real game: a scaled full-screen window, input, cursor and message boxes.
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
#include "platform/relative_motion.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
union SDL_Event;

namespace platform {

class SdlBackend final : public Backend {
 public:
  SdlBackend();
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  Clock& GetClock() override { return clock_; }

  // Full screen on the desktop, or windowed with BRUSHFEATHER_WINDOWED=1; false when no display opens.
  bool OpenDisplay(int32_t width, int32_t height) override;
  void CloseDisplay() override;
  bool DisplayOpen() const override { return window_ != nullptr; }
  void Present(const FrameView& frame) override;

  bool PollEvent(InputEvent* event) override;
  bool WaitForInput(uint32_t maxMs) override;

  void SetCursorVisible(bool visible) override;
  void SetCursorImage(const CursorImage* image) override;
  void SetCursorConfined(bool confined) override;
  void WarpCursor(int32_t x, int32_t y) override;

  int ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags) override;
  void SetTextInput(bool on) override;
  AudioOut& Audio() override;

  bool IsFullscreen() const { return fullscreen_; }
  void SetFullscreen(bool fullscreen);  // Alt+Enter toggles it
  int32_t ScaleFactor() const { return scale_; }
  bool RelativeMode() const { return relative_; }
  bool SoftwareCursor() const { return softwareCursor_; }

 private:
  void Translate(const SDL_Event& e);
  void Layout();
  void UpdateRelativeMode();
  void RebuildCursor();
  void Redraw();
  void FlushMotion();
  void PointerInside(bool inside);  // reports a change of whether the pointer is over the window
  bool MapToFrame(int32_t wx, int32_t wy, int32_t* fx, int32_t* fy) const;
  void DrawSoftwareCursor(uint32_t* argb, int32_t pitchPixels);

  RealClock clock_;
  bool videoInit_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int32_t width_ = 640;
  int32_t height_ = 480;
  bool fullscreen_ = true;
  int32_t scale_ = 1;
  int32_t dstX_ = 0, dstY_ = 0, dstW_ = 640, dstH_ = 480;  // the picture inside the window

  // The last frame, kept so the window can be redrawn on expose, resize and software-cursor moves.
  std::vector<uint8_t> lastPixels_;
  std::array<Rgb, 256> lastPalette_{};
  bool haveFrame_ = false;

  std::deque<InputEvent> pending_;
  bool active_ = true;
  bool pointerOutside_ = false;  // a PointerLeave was reported and no PointerEnter since
  bool swallowClick_ = false;
  uint32_t swallowUntil_ = 0;
  bool swallowUp_ = false;
  bool swallowAltEnterUp_ = false;

  bool textInput_ = false;
  bool cursorVisible_ = true;
  bool confined_ = false;
  bool relative_ = false;
  int32_t cursorX_ = 320, cursorY_ = 240;  // the virtual cursor, frame coordinates
  int32_t motionDX_ = 0, motionDY_ = 0;   // relative motion not yet reported
  RelativeMotion motionX_, motionY_;      // relative motion not yet worth a frame pixel
  bool motionPending_ = false;

  std::vector<uint32_t> cursorArgb_;
  CursorImage cursorImage_;
  bool haveCursorImage_ = false;
  SDL_Cursor* sdlCursor_ = nullptr;
  int32_t cursorScale_ = 0;
  bool softwareCursor_ = false;
  bool redrawDue_ = false;
  uint32_t lastRedraw_ = 0;

  std::unique_ptr<AudioOut> audio_;
};

}  // namespace platform
