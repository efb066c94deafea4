// The standard one-line edit field: typing, caret, selection, scrolling and mouse placement, drawn on the screen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"
#include "platform/window.h"

namespace platform {

class Font;

// --- edit messages and styles (values of the originals) ---
constexpr uint32_t EM_GETSEL = 0x00B0;       // wParam, lParam: uint32_t* for start and end (may be null);
                                             // returns MAKELONG(start, end), or -1 past 65535
constexpr uint32_t EM_SETSEL = 0x00B1;       // wParam start, lParam end; start -1 deselects, end -1 = the end
constexpr uint32_t EM_SCROLLCARET = 0x00B7;
constexpr uint32_t EM_REPLACESEL = 0x00C2;   // lParam: const char* (UTF-8)
constexpr uint32_t EM_LIMITTEXT = 0x00C5;    // wParam: characters, 0 = as many as can be held
constexpr uint32_t EM_GETLIMITTEXT = 0x00D5;
constexpr uint32_t ES_LEFT = 0x0000;
constexpr uint32_t ES_AUTOHSCROLL = 0x0080;

constexpr uint32_t kCaretBlinkMs = 530;            // on for this long, then off for as long
constexpr uint32_t kCaretBlinkTimeoutMs = 10000;  // left alone this long, the caret stays on and stops blinking
constexpr int32_t kDefaultEditLimit = 32767;       // characters a user may type before EM_LIMITTEXT
constexpr int32_t kEditMargin = 1;                 // pixels between the field's edge and its text

// The edit behaviour, held by an edit window (BasicEditControl below). Positions are characters (code
// points). The text is the window's text (UTF-8, kept byte for byte, see platform/utf8.h). The field draws
// itself straight onto the screen surface (GetScreenSurface) at its screen rectangle, clipped to its
// ancestors, in the system colours COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT and COLOR_HIGHLIGHTTEXT:
// on every paint, every change, and each caret blink while it has the focus (the caret blinks on the
// platform clock, so on the headless backend it follows the manual clock). While it has the focus the
// backend's text input is on.
class EditField {
 public:
  explicit EditField(Window* window);
  ~EditField();
  EditField(const EditField&) = delete;
  EditField& operator=(const EditField&) = delete;

  // The field's message handling; what it does not handle goes to the window's DefWindowProc. Handles
  // WM_CREATE, WM_DESTROY, WM_SETTEXT, WM_SETFONT, WM_GETFONT, WM_SETFOCUS, WM_KILLFOCUS, WM_PAINT,
  // WM_ERASEBKGND, WM_GETDLGCODE, WM_KEYDOWN (Left, Right, Home, End, Delete; Shift extends the selection,
  // Ctrl moves by words), WM_CHAR (typed characters from 32 up; Backspace; Ctrl+A selects all; other
  // control characters are dropped), WM_LBUTTONDOWN/MOUSEMOVE/LBUTTONUP (place the caret, Shift+click and
  // dragging select), the EM_ messages above; system keys go on to the parent (so F10 works with the
  // field focused).
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam);

  void SetSel(int32_t start, int32_t end, bool noScroll = false);  // EM_SETSEL, then EM_SCROLLCARET
  void GetSel(int32_t* start, int32_t* end) const;                 // start <= end
  void ReplaceSel(std::string_view utf8);
  void LimitText(int32_t chars);  // 0 = as many as can be held
  int32_t GetLimitText() const { return limit_; }

  // State, for drawing and for tests.
  int32_t Length() const { return static_cast<int32_t>(text_.size()); }
  int32_t CaretIndex() const { return caret_; }
  int32_t ScrollX() const { return scroll_; }   // pixels of text scrolled out at the left
  bool Focused() const { return focused_; }
  bool CaretDrawn() const { return caretDrawn_; }  // the caret is in the picture last drawn
  uint64_t DrawCount() const { return draws_; }
  Font* GetFont() const { return font_; }  // null: the system font

 private:
  void SetText(std::u32string text);  // also the window's text
  void Edit(int32_t from, int32_t to, std::u32string_view insert);  // replace [from, to), caret after
  bool ScrollToCaret();
  void ClampScroll();
  void ResetBlink();
  void Blink();
  // The caret is shown: focused, and in an "on" half of its blink or settled after a spell untouched.
  bool CaretOn() const;
  void Draw();
  void OnKeyDown(uint32_t vk);
  void OnChar(char32_t c);
  int32_t HitTest(int32_t clientX) const;
  int32_t PenBefore(int32_t index) const;  // pixels from the text's start to the boundary before index
  int32_t WordLeft(int32_t from) const;
  int32_t WordRight(int32_t from) const;
  void Measure() const;
  int32_t TextWidthAvailable() const;

  Window* window_;
  std::u32string text_;
  int32_t caret_ = 0;   // the selection's moving end
  int32_t anchor_ = 0;  // its fixed end
  int32_t scroll_ = 0;
  int32_t limit_ = kDefaultEditLimit;
  Font* font_ = nullptr;
  bool focused_ = false;
  bool dragging_ = false;
  bool caretDrawn_ = false;
  uint32_t blinkSince_ = 0;
  int blinkHook_ = 0;
  uint64_t draws_ = 0;
  mutable std::vector<int32_t> pens_;  // pen positions of text_, recomputed when stale
  mutable bool pensStale_ = true;
};

// The edit field as a window of class "EDIT" on any window base (Window here, CWnd in the framework).
template <class Base>
class BasicEditControl : public Base {
 public:
  BasicEditControl() : edit_(this) {}

  // Creates the field as a child window (WS_CHILD is added; pass WS_VISIBLE, ES_AUTOHSCROLL as wanted).
  bool Create(uint32_t style, const Rect& rect, Window* parent, uint32_t id) {
    return this->CreateEx(0, "EDIT", "", style | WS_CHILD, rect, parent, id);
  }
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    return edit_.WindowProc(message, wParam, lParam);
  }

  void SetSel(int32_t start, int32_t end, bool noScroll = false) { edit_.SetSel(start, end, noScroll); }
  void GetSel(int32_t* start, int32_t* end) const { edit_.GetSel(start, end); }
  void ReplaceSel(std::string_view utf8) { edit_.ReplaceSel(utf8); }
  void LimitText(int32_t chars) { edit_.LimitText(chars); }
  int32_t GetLimitText() const { return edit_.GetLimitText(); }
  const EditField& Field() const { return edit_; }

 private:
  EditField edit_;
};

using EditControl = BasicEditControl<Window>;

}  // namespace platform
