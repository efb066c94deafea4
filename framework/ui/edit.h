// ZEdit: the dialogs' one-line text field: the platform's edit control with the framework's focus and keys.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/ui/wnd.h"
#include "platform/edit_control.h"

// The platform's edit control with a class record, as CWnd gives the platform window one.
class CEdit : public platform::BasicEditControl<CWnd> {
  Z_DECLARE_CLASS(CEdit)
};

class ZEdit : public CEdit {
  Z_DECLARE_CLASS(ZEdit)

 public:
  ZEdit();
  ~ZEdit() override;  // destroys the window, then the rectangle copy
  ZEdit(const ZEdit&) = delete;
  ZEdit& operator=(const ZEdit&) = delete;

  // A visible child edit field with automatic horizontal scrolling and no border, at `rect` in the
  // parent's client coordinates; keeps a copy of the rectangle. 1, or 0 when the window is refused.
  // The text is the window text: SetWindowText / GetWindowText (WM_SETTEXT / WM_GETTEXT).
  int32_t Create(platform::Window* parent, const platform::Rect& rect, uint32_t id);

  // Focus: taking it selects the whole text and notifies NM_SETFOCUS (-7); losing it removes the
  // selection and notifies NM_KILLFOCUS (-8). Tab, Enter, Shift and Esc (key down, key up and character)
  // are posted to the parent; code 2 and the right button are swallowed; the pointer moving over the
  // field gives it the focus; WM_GETDLGCODE answers DLGC_WANTTAB | DLGC_WANTALLKEYS. Everything else is
  // the edit control's.
  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;

  std::unique_ptr<platform::Rect> rect;  // the creation rectangle, null before Create
  platform::NotifyHeader notifyHeader;   // filled before each notification; its address is sent
  int32_t focused = 0;

 private:
  // The owner, or the parent when there is none: where notifications and the dialog's keys go.
  platform::Window* NotifyTarget() const;
  void Notify(int32_t code);
};
