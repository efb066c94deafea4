// The one-line edit field's editing, scrolling, caret blinking and drawing onto the screen surface.
#include "platform/edit_control.h"

#include <algorithm>
#include <limits>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/pump.h"
#include "platform/surface.h"
#include "platform/text.h"
#include "platform/utf8.h"
#include "platform/wait.h"

namespace platform {

namespace {

constexpr int32_t kMaxLimit = std::numeric_limits<int32_t>::max() - 1;

bool KeyDown(uint32_t vk) { return (GetKeyState(vk) & 0x8000) != 0; }

bool IsSpace(char32_t c) { return c == U' ' || c == U'\t'; }

void SetBackendTextInput(bool on) {
  if (Backend* b = GetBackend()) b->SetTextInput(on);
}

Window* NotifyTarget(Window* w) {
  if (w->GetOwner() != nullptr && IsWindow(w->GetOwner())) return w->GetOwner();
  return w->GetParent();
}

}  // namespace

EditField::EditField(Window* window) : window_(window) {}

EditField::~EditField() {
  if (blinkHook_ > 0) RemovePumpHook(blinkHook_);
  if (focused_) SetBackendTextInput(false);
}

// --- the text ---

void EditField::SetText(std::u32string text) {
  const std::string utf8 = CodePointsToUtf8(text);
  window_->DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(utf8.c_str()));
  // Read back from the bytes: two stray bytes brought together by an edit may now be one character,
  // and the field shows what its text says.
  text_ = Utf8ToCodePoints(utf8);
  pensStale_ = true;
  caret_ = std::min(caret_, Length());
  anchor_ = std::min(anchor_, Length());
}

void EditField::Edit(int32_t from, int32_t to, std::u32string_view insert) {
  std::u32string next = text_;
  next.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), insert);
  SetText(std::move(next));
  caret_ = anchor_ = std::min(Length(), from + static_cast<int32_t>(insert.size()));
}

void EditField::Measure() const {
  if (!pensStale_) return;
  GetPenPositions(font_, text_, &pens_);
  pensStale_ = false;
}

int32_t EditField::PenBefore(int32_t index) const {
  Measure();
  if (index <= 0 || pens_.empty()) return 0;
  return pens_[static_cast<size_t>(std::min<int32_t>(index, static_cast<int32_t>(pens_.size()))) - 1];
}

int32_t EditField::TextWidthAvailable() const {
  return std::max(1, window_->GetClientRect().Width() - 2 * kEditMargin);
}

void EditField::ClampScroll() {
  if ((window_->GetStyle() & ES_AUTOHSCROLL) == 0) {
    scroll_ = 0;
    return;
  }
  // No empty space at the right while text is scrolled out at the left (the caret needs one pixel).
  const int32_t most = std::max(0, PenBefore(Length()) + 1 - TextWidthAvailable());
  scroll_ = std::clamp(scroll_, 0, most);
}

bool EditField::ScrollToCaret() {
  const int32_t before = scroll_;
  if ((window_->GetStyle() & ES_AUTOHSCROLL) != 0) {
    const int32_t width = TextWidthAvailable();
    const int32_t x = PenBefore(caret_);
    // Jump a quarter of the field at a time, as the standard field does, so typing does not scroll per key.
    if (x < scroll_) scroll_ = x - width / 4;
    else if (x > scroll_ + width - 1) scroll_ = x - width + 1 + width / 4;
  }
  ClampScroll();
  return scroll_ != before;
}

int32_t EditField::HitTest(int32_t clientX) const {
  const int32_t target = clientX - kEditMargin + scroll_;
  Measure();
  int32_t left = 0;
  for (int32_t i = 0; i < Length(); ++i) {
    const int32_t right = pens_[static_cast<size_t>(i)];
    if (target < (left + right + 1) / 2) return i;
    left = right;
  }
  return Length();
}

int32_t EditField::WordLeft(int32_t from) const {
  int32_t i = from;
  while (i > 0 && IsSpace(text_[static_cast<size_t>(i - 1)])) --i;
  while (i > 0 && !IsSpace(text_[static_cast<size_t>(i - 1)])) --i;
  return i;
}

int32_t EditField::WordRight(int32_t from) const {
  int32_t i = from;
  while (i < Length() && !IsSpace(text_[static_cast<size_t>(i)])) ++i;
  while (i < Length() && IsSpace(text_[static_cast<size_t>(i)])) ++i;
  return i;
}

// --- selection ---

void EditField::GetSel(int32_t* start, int32_t* end) const {
  if (start != nullptr) *start = std::min(caret_, anchor_);
  if (end != nullptr) *end = std::max(caret_, anchor_);
}

void EditField::SetSel(int32_t start, int32_t end, bool noScroll) {
  SendMessage(window_, EM_SETSEL, static_cast<WPARAM>(static_cast<intptr_t>(start)), static_cast<LPARAM>(end));
  if (!noScroll) SendMessage(window_, EM_SCROLLCARET, 0, 0);
}

void EditField::ReplaceSel(std::string_view utf8) {
  const std::string text(utf8);
  SendMessage(window_, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void EditField::LimitText(int32_t chars) {
  SendMessage(window_, EM_LIMITTEXT, static_cast<WPARAM>(std::max(0, chars)), 0);
}

// --- the caret ---

void EditField::ResetBlink() { blinkSince_ = timeGetTime(); }

bool EditField::CaretOn() const {
  const uint32_t shown = timeGetTime() - blinkSince_;
  return focused_ && (shown >= kCaretBlinkTimeoutMs || (shown / kCaretBlinkMs) % 2 == 0);
}

void EditField::Blink() {
  if (!focused_) return;
  if (CaretOn() != caretDrawn_) Draw();
  // A field nobody types in settles, as desktop fields do, so an idle dialog lets the machine sleep.
  const uint32_t shown = timeGetTime() - blinkSince_;
  if (shown >= kCaretBlinkTimeoutMs) return;
  // The pump may sleep, but not past the caret's next change.
  WakeBy(blinkSince_ + std::min(kCaretBlinkTimeoutMs, (shown / kCaretBlinkMs + 1) * kCaretBlinkMs));
}

// --- drawing ---

void EditField::Draw() {
  if (!IsWindow(window_) || !window_->IsWindowVisible()) return;
  Surface* screen = GetScreenSurface();
  if (screen == nullptr) return;
  const Rect field = window_->GetWindowRect();
  Rect visible = field;
  for (Window* w = window_->GetParent(); w != nullptr; w = w->GetParent()) {
    if (!IntersectRect(&visible, visible, w->GetWindowRect())) return;
  }
  if (!IntersectRect(&visible, visible, Rect{0, 0, screen->Width(), screen->Height()})) return;
  DeviceContext dc;
  if (Failed(screen->GetDC(&dc))) return;  // lost or locked: the next change or blink draws it

  Font* font = font_ != nullptr ? font_ : GetSystemFont();
  TextMetrics tm;
  SelectObject(&dc, font);
  GetTextMetrics(&dc, &tm);
  const COLORREF window = GetSysColor(COLOR_WINDOW), text = GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
  SetBkColor(&dc, window);
  ExtTextOut(&dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &visible, "");

  const int32_t lineHeight = tm.height > 0 ? tm.height : field.Height();  // no font: the caret still shows
  const int32_t top = field.top + std::max(0, (field.Height() - lineHeight) / 2);
  const int32_t origin = field.left + kEditMargin - scroll_;
  Rect textClip = field;
  textClip.left += kEditMargin;
  textClip.right -= kEditMargin;
  if (!IntersectRect(&textClip, textClip, visible)) textClip = Rect{};
  int32_t selStart = 0, selEnd = 0;
  GetSel(&selStart, &selEnd);
  if (!focused_) selStart = selEnd = 0;  // the selection shows only while the field has the focus

  // Only the characters that can show are drawn, so a very long text costs no more than a short one.
  Measure();
  int32_t first = 0;
  while (first < Length() && origin + pens_[static_cast<size_t>(first)] <= textClip.left) ++first;
  int32_t last = first;
  while (last < Length() && origin + PenBefore(last) < textClip.right) ++last;
  auto run = [&](int32_t from, int32_t to, COLORREF ink, bool opaque, COLORREF paper) {
    from = std::max(from, first);
    to = std::min(to, last);
    if (from >= to || textClip.IsEmpty()) return;
    const std::string utf8 = CodePointsToUtf8(std::u32string_view(text_).substr(static_cast<size_t>(from),
                                                                              static_cast<size_t>(to - from)));
    SetTextColor(&dc, ink);
    SetBkColor(&dc, paper);
    SetBkMode(&dc, opaque ? OPAQUE : TRANSPARENT);
    ExtTextOut(&dc, origin + PenBefore(from), top, ETO_CLIPPED, &textClip, utf8);
  };
  run(0, selStart, text, false, window);
  run(selStart, selEnd, highlightText, true, highlight);
  run(selEnd, Length(), text, false, window);

  const bool caretOn = CaretOn();
  if (caretOn) {
    // One pixel wide, in the colour of the text it stands against.
    const int32_t x = std::clamp(origin + PenBefore(caret_), field.left, field.right - 1);
    const bool inSelection = selStart < selEnd && caret_ == selStart;
    SetBkColor(&dc, inSelection ? highlightText : text);
    Rect caret{x, top, x + 1, std::min(top + lineHeight, field.bottom)};
    if (IntersectRect(&caret, caret, visible)) ExtTextOut(&dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &caret, "");
  }
  screen->ReleaseDC(&dc);
  caretDrawn_ = caretOn;
  ++draws_;
}

// --- keys ---

void EditField::OnKeyDown(uint32_t vk) {
  const bool shift = KeyDown(VK_SHIFT), ctrl = KeyDown(VK_CONTROL);
  int32_t start = 0, end = 0;
  GetSel(&start, &end);
  int32_t to = caret_;
  switch (vk) {
    case VK_LEFT:
      if (!shift && start != end && !ctrl) to = start;
      else to = ctrl ? WordLeft(caret_) : std::max(0, caret_ - 1);
      break;
    case VK_RIGHT:
      if (!shift && start != end && !ctrl) to = end;
      else to = ctrl ? WordRight(caret_) : std::min(Length(), caret_ + 1);
      break;
    case VK_HOME:
      to = 0;
      break;
    case VK_END:
      to = Length();
      break;
    case VK_DELETE:
      if (start != end) {
        Edit(start, end, U"");
      } else if (caret_ < Length()) {
        Edit(caret_, ctrl ? WordRight(caret_) : caret_ + 1, U"");
      }
      ResetBlink();
      ScrollToCaret();
      Draw();
      return;
    default:
      return;
  }
  caret_ = to;
  if (!shift) anchor_ = to;
  ResetBlink();
  ScrollToCaret();
  Draw();
}

void EditField::OnChar(char32_t c) {
  int32_t start = 0, end = 0;
  GetSel(&start, &end);
  if (c == 8) {  // Backspace
    if (start != end) Edit(start, end, U"");
    else if (caret_ > 0) Edit(caret_ - 1, caret_, U"");
  } else if (c == 1) {  // Ctrl+A
    anchor_ = 0;
    caret_ = Length();
  } else if (IsTypableCharacter(c)) {
    if (Length() - (end - start) + 1 > limit_) return;  // full: the character is refused
    const std::u32string one(1, c);
    if ((window_->GetStyle() & ES_AUTOHSCROLL) == 0) {
      // Without scrolling the text has to fit the field.
      std::u32string next = text_;
      next.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), one);
      if (GetTextWidth(font_, CodePointsToUtf8(next)) > TextWidthAvailable()) return;
    }
    Edit(start, end, one);
  } else {
    return;  // other control characters are not text
  }
  ResetBlink();
  ScrollToCaret();
  Draw();
}

// --- messages ---

LRESULT EditField::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      text_ = Utf8ToCodePoints(window_->GetWindowText());
      pensStale_ = true;
      caret_ = anchor_ = 0;
      scroll_ = 0;
      return window_->DefWindowProc(message, wParam, lParam);
    case WM_DESTROY:
      if (focused_) SetBackendTextInput(false);
      focused_ = false;
      dragging_ = false;
      if (blinkHook_ > 0) RemovePumpHook(blinkHook_);
      blinkHook_ = 0;
      return window_->DefWindowProc(message, wParam, lParam);
    case WM_SETTEXT:
      SetText(lParam != 0 ? Utf8ToCodePoints(reinterpret_cast<const char*>(lParam)) : std::u32string());
      caret_ = anchor_ = 0;
      scroll_ = 0;
      ResetBlink();
      Draw();
      return 1;
    case WM_SETFONT:
      font_ = reinterpret_cast<Font*>(wParam);
      pensStale_ = true;
      ClampScroll();
      if (lParam != 0) Draw();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETFOCUS:
      focused_ = true;
      SetBackendTextInput(true);
      if (blinkHook_ <= 0) blinkHook_ = AddPumpHook([this] { Blink(); });
      ResetBlink();
      Draw();
      return 0;
    case WM_KILLFOCUS:
      focused_ = false;
      SetBackendTextInput(false);
      if (blinkHook_ > 0) RemovePumpHook(blinkHook_);
      blinkHook_ = 0;
      if (dragging_ && GetCapture() == window_) ReleaseCapture();
      dragging_ = false;
      Draw();
      return 0;
    case WM_PAINT:
      Draw();
      window_->ValidateRect(nullptr);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole field
    case WM_GETDLGCODE:
      return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_KEYDOWN:
      // F1 is no editing key: default handling turns it into a help request for the field's dialog.
      if (wParam == VK_F1) return window_->DefWindowProc(message, wParam, lParam);
      OnKeyDown(static_cast<uint32_t>(wParam));
      return 0;
    case WM_CHAR:
      if (wParam <= 0x10FFFF) OnChar(static_cast<char32_t>(wParam));
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      // System keys are the dialog's and the game's business (F10 takes a screenshot).
      if (Window* target = NotifyTarget(window_); target != nullptr) return SendMessage(target, message, wParam, lParam);
      return window_->DefWindowProc(message, wParam, lParam);
    case WM_LBUTTONDOWN: {
      if (GetFocus() != window_) window_->SetFocus();
      if (!IsWindow(window_)) return 0;
      caret_ = HitTest(LParamX(lParam));
      if ((wParam & MK_SHIFT) == 0) anchor_ = caret_;
      dragging_ = true;
      SetCapture(window_);
      ResetBlink();
      ScrollToCaret();
      Draw();
      return 0;
    }
    case WM_MOUSEMOVE:
      if (dragging_ && (wParam & MK_LBUTTON) != 0 && GetCapture() == window_) {
        const int32_t to = HitTest(LParamX(lParam));
        if (to != caret_) {
          caret_ = to;
          ResetBlink();
          ScrollToCaret();
          Draw();
        }
      }
      return window_->DefWindowProc(message, wParam, lParam);
    case WM_LBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        if (GetCapture() == window_) ReleaseCapture();
      }
      return 0;
    case EM_GETSEL: {
      int32_t start = 0, end = 0;
      GetSel(&start, &end);
      if (wParam != 0) *reinterpret_cast<uint32_t*>(wParam) = static_cast<uint32_t>(start);
      if (lParam != 0) *reinterpret_cast<uint32_t*>(lParam) = static_cast<uint32_t>(end);
      if (start > 0xFFFF || end > 0xFFFF) return -1;
      return static_cast<LRESULT>((static_cast<uint32_t>(end) << 16) | static_cast<uint32_t>(start));
    }
    case EM_SETSEL: {
      const auto start = static_cast<int32_t>(static_cast<intptr_t>(wParam));
      const auto end = static_cast<int32_t>(lParam);
      if (start == -1) {
        anchor_ = caret_;  // deselect; the caret stays
      } else {
        anchor_ = std::clamp(start, 0, Length());
        caret_ = end < 0 ? Length() : std::clamp(end, 0, Length());
      }
      ResetBlink();
      Draw();
      return 0;
    }
    case EM_SCROLLCARET:
      if (ScrollToCaret()) Draw();
      return 1;
    case EM_REPLACESEL: {
      std::u32string insert =
          lParam != 0 ? Utf8ToCodePoints(reinterpret_cast<const char*>(lParam)) : std::u32string();
      int32_t start = 0, end = 0;
      GetSel(&start, &end);
      const int32_t room = std::max(0, limit_ - (Length() - (end - start)));
      if (static_cast<int32_t>(insert.size()) > room) insert.resize(static_cast<size_t>(room));
      Edit(start, end, insert);
      ResetBlink();
      ScrollToCaret();
      Draw();
      return 0;
    }
    case EM_LIMITTEXT:
      limit_ = wParam == 0 ? kMaxLimit : static_cast<int32_t>(std::min<WPARAM>(wParam, kMaxLimit));
      return 0;
    case EM_GETLIMITTEXT:
      return limit_;
    default:
      return window_->DefWindowProc(message, wParam, lParam);
  }
}

}  // namespace platform
