// The one seam to the host: display, input, cursor, message boxes, clock and audio output.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace platform {

class Clock;
class AudioOut;

// One 8-bit frame to show: palette indices plus the palette in force.
struct FrameView {
  const uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;           // bytes from one row to the next
  const Rgb* palette = nullptr;  // 256 entries
};

// A colour cursor image (for the SDL cursor, or drawn by the backend where the host cannot).
struct CursorImage {
  int32_t width = 0;
  int32_t height = 0;
  int32_t hotX = 0;
  int32_t hotY = 0;
  const uint32_t* argb = nullptr;  // width * height pixels, 0xAARRGGBB, alpha 0 or 255
};

// Host input, in 640 x 480 screen coordinates.
struct InputEvent {
  enum class Type {
    None,
    MouseMove,     // x, y absolute; dx, dy relative motion (summed in relative mode)
    ButtonDown,    // button 0 left, 1 right; x, y
    ButtonUp,
    KeyDown,       // key: virtual-key code; system: arrives as WM_SYSKEYDOWN (F10, Alt held)
    KeyUp,
    Text,          // text: one typed character, UTF-8 (keyboard layout applied)
    Activate,      // the application gains the focus
    Deactivate,    // the application loses the focus
    PointerLeave,  // the pointer left the game's window (a window on the desktop, not full screen)
    PointerEnter,  // the pointer is over the game's window again
    Quit,          // the host asks to close the window
  };
  Type type = Type::None;
  int32_t x = 0;
  int32_t y = 0;
  int32_t dx = 0;
  int32_t dy = 0;
  int32_t button = 0;
  uint32_t key = 0;
  bool system = false;
  bool repeat = false;
  char text[8] = {};
};

class Backend {
 public:
  virtual ~Backend() = default;

  virtual Clock& GetClock() = 0;

  // Display: the game's picture is always 640 x 480 palette indices.
  virtual bool OpenDisplay(int32_t width, int32_t height) = 0;
  virtual void CloseDisplay() = 0;
  virtual bool DisplayOpen() const = 0;
  // Show a frame now (the caller limits this to changed frames, at most once per refresh).
  virtual void Present(const FrameView& frame) = 0;

  // Input: non-blocking poll; WaitForInput sleeps at most maxMs or until the next event arrives, and
  // says whether one did (it may also return early without one).
  virtual bool PollEvent(InputEvent* event) = 0;
  virtual bool WaitForInput(uint32_t maxMs) = 0;
  // False when no input can arrive while the program waits (the headless backend's input is all
  // injected up front): GetMessage then reports an empty queue instead of waiting for ever.
  virtual bool IsInteractive() const { return true; }

  // Cursor: visibility of the host cursor, its image, confinement and warping. While the cursor is
  // hidden and confined, the SDL backend drives a virtual cursor from relative motion.
  virtual void SetCursorVisible(bool visible) = 0;
  virtual void SetCursorImage(const CursorImage* image) = 0;
  virtual void SetCursorConfined(bool confined) = 0;
  virtual void WarpCursor(int32_t x, int32_t y) = 0;

  // Typed characters (InputEvent::Text) arrive only while text input is on: an edit field turns it on
  // while it has the focus, so keys elsewhere never open an input method.
  virtual void SetTextInput(bool on) { (void)on; }

  // A modal message box; returns IDOK.
  virtual int ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags) = 0;

  // Audio output, owned by the backend; never null (it may fail to open).
  virtual AudioOut& Audio() = 0;
};

// The backend the platform layer uses; set once at start (the game, the replay driver, each test).
void SetBackend(Backend* backend);
Backend* GetBackend();

}  // namespace platform
