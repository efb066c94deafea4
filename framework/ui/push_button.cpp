// ZPushButton: the latching button's keyboard, pointer and focus handling.
#include "framework/ui/push_button.h"

#include "platform/window.h"

Z_IMPLEMENT_CLASS(ZPushButton, ZButton)

using platform::LPARAM;
using platform::LRESULT;
using platform::WPARAM;

void ZPushButton::SetDown(int32_t on) {
  down = on != 0 ? 1 : 0;
  SetState(Resting(hot != 0 ? kStateHighlighted : kStateNormal));
}

LRESULT ZPushButton::OnActionKeyDown(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (armed != 0) return PostToParent(message, wParam, lParam);
  SetState(Pressing());
  armed = 1;
  return 0;
}

LRESULT ZPushButton::OnActionKeyUp(uint32_t, WPARAM, LPARAM) {
  if (armed == 0) return 0;
  // Armed stays set: the next key press goes to the parent and the release toggles again.
  SetState(Pressing());
  down = down != 0 ? 0 : 1;
  Notify(platform::NM_CLICK);
  return 0;
}

void ZPushButton::OnPointerEnter(bool leftHeld) {
  if (!leftHeld) {
    SetState(Resting(kStateHighlighted));
  } else if (armed != 0) {
    SetState(Pressing());
  }
  Notify(platform::NM_SETFOCUS);
  hot = 1;
}

void ZPushButton::OnPointerLeave(bool leftHeld) {
  hot = 0;
  Notify(platform::NM_KILLFOCUS);
  if (!leftHeld || armed != 0) SetState(Resting(kStateNormal));
}

void ZPushButton::OnSetFocus() {
  SetState(Resting(kStateHighlighted));
  Notify(platform::NM_SETFOCUS);
  hot = 1;
}

void ZPushButton::OnKillFocus() {
  hot = 0;
  Notify(platform::NM_KILLFOCUS);
  SetState(Resting(kStateNormal));
}

void ZPushButton::OnLeftDown() {
  if (hot == 0) return;
  SetState(Pressing());
  armed = 1;
}

void ZPushButton::OnLeftUp() {
  if (armed == 0 || hot == 0) return;
  armed = 0;
  SetState(Pressing());
  down = down != 0 ? 0 : 1;
  Notify(platform::NM_CLICK);
}
