// ZWnd: the framework's window base, a platform window with a run-time class record.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/object.h"
#include "platform/window.h"

// The platform window as the class tree sees it: gives every window a class record, so window
// classes can be told apart by record as the program's own objects are.
class CWnd : public platform::Window {
 public:
  static const ZRuntimeClass classRecord;
  virtual const ZRuntimeClass* GetRuntimeClass() const { return &CWnd::classRecord; }
  bool IsKindOf(const ZRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

  // The window object of a handle (CWnd::FromHandle): handles and objects are one here, so this
  // is a checked cast; null when the window is not one of the framework's.
  static CWnd* FromHandle(platform::Window* window) { return dynamic_cast<CWnd*>(window); }

  // Centres the window over its parent's client area (a top-level window: over its owner, else the
  // screen), kept inside that area where it fits. Moves without repainting.
  void CenterWindow();
};

// Checked down-cast of a window by class record; null when `window` is null or of another class.
template <typename T>
T* ZWndCast(platform::Window* window) {
  CWnd* wnd = CWnd::FromHandle(window);
  return (wnd != nullptr && wnd->IsKindOf(&T::classRecord)) ? static_cast<T*>(wnd) : nullptr;
}

class ZWnd : public CWnd {
 public:
  static const ZRuntimeClass classRecord;
  const ZRuntimeClass* GetRuntimeClass() const override { return &ZWnd::classRecord; }

  // Creates the window through the platform's extended creation call with exactly these values.
  bool CreateEx(uint32_t exStyle, const std::string& className, const std::string& windowName, uint32_t style,
                const platform::Rect& rect, platform::Window* parent, uint32_t id, void* param = nullptr) override;

  // The cursor the framework's own window classes (dialogs, buttons) show: the program's cursor once
  // the game has loaded it; null is the standard arrow.
  static void SetAppCursor(const platform::Cursor* cursor);
  static const platform::Cursor* AppCursor();
};
