// ZEdit: creation, focus with select-all, notifications and the keys it leaves to its dialog.
#include "framework/ui/edit.h"

using platform::LPARAM;
using platform::LRESULT;
using platform::WPARAM;

Z_IMPLEMENT_CLASS(CEdit, CWnd)
Z_IMPLEMENT_CLASS(ZEdit, CEdit)

ZEdit::ZEdit() = default;

ZEdit::~ZEdit() {
  DestroyWindow();  // while this object is whole, so the field hears of it
  rect.reset();
}

int32_t ZEdit::Create(platform::Window* parent, const platform::Rect& r, uint32_t id) {
  rect = std::make_unique<platform::Rect>(r);
  if (parent == nullptr) return 0;
  return CEdit::Create(platform::WS_VISIBLE | platform::ES_AUTOHSCROLL, r, parent, id) ? 1 : 0;
}

platform::Window* ZEdit::NotifyTarget() const {
  platform::Window* owner = GetOwner();
  return (owner != nullptr && platform::IsWindow(owner)) ? owner : GetParent();
}

void ZEdit::Notify(int32_t code) {
  platform::Window* target = NotifyTarget();
  if (target == nullptr) return;
  notifyHeader.from = this;
  notifyHeader.idFrom = GetDlgCtrlID();
  notifyHeader.code = code;
  platform::SendMessage(target, platform::WM_NOTIFY, GetDlgCtrlID(), reinterpret_cast<LPARAM>(&notifyHeader));
}

LRESULT ZEdit::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case platform::WM_SETFOCUS:
      focused = 1;
      SetSel(0, -1, true);
      platform::SendMessage(this, platform::EM_SCROLLCARET, 0, 0);
      // Once more after everything the focus change set off has run.
      platform::PostMessage(this, platform::EM_SCROLLCARET, 0, 0);
      Notify(platform::NM_SETFOCUS);
      break;
    case platform::WM_KILLFOCUS:
      focused = 0;
      SetSel(-1, 0, true);
      platform::SendMessage(this, platform::EM_SCROLLCARET, 0, 0);
      Notify(platform::NM_KILLFOCUS);
      break;
    case platform::WM_GETDLGCODE:
      return platform::DLGC_WANTTAB | platform::DLGC_WANTALLKEYS;
    case platform::WM_KEYDOWN:
    case platform::WM_KEYUP:
    case platform::WM_CHAR:
      if (wParam == platform::VK_TAB || wParam == platform::VK_RETURN || wParam == platform::VK_SHIFT ||
          wParam == platform::VK_ESCAPE) {
        // The dialog moves the focus, closes, or tracks Shift; the field never sees these.
        if (platform::Window* target = NotifyTarget()) platform::PostMessage(target, message, wParam, lParam);
        return 0;
      }
      if (wParam == 2) return 0;
      break;
    case platform::WM_RBUTTONDOWN:
      return 0;  // no context menu
    case platform::WM_MOUSEMOVE:
      if (focused == 0 || platform::GetFocus() != this) SetFocus();
      if (!platform::IsWindow(this)) return 0;
      break;
    default:
      break;
  }
  return CEdit::WindowProc(message, wParam, lParam);
}
