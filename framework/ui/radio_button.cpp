// ZRadioButton: checking, and the radio button's keyboard, pointer and focus handling.
#include "framework/ui/radio_button.h"

#include "platform/window.h"

Z_IMPLEMENT_CLASS(ZRadioButton, ZButton)

using platform::LPARAM;
using platform::LRESULT;
using platform::WPARAM;

void ZRadioButton::SetCheck(int32_t on) {
  if (on != 0) {
    checked = 1;
    SetState(kStatePressed);
  } else {
    checked = 0;
    SetState(hot != 0 ? kStateHighlighted : kStateNormal);
  }
}

int32_t ZRadioButton::SetState(int32_t s) {
  if (checked != 0 && armed == 0 && hot == 0 && s == kStateNormal) checked = 0;
  return ZButton::SetState(s);
}

LRESULT ZRadioButton::OnActionKeyDown(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (armed != 0) return PostToParent(message, wParam, lParam);
  if (checked == 0) SetState(kStatePressed);
  armed = 1;
  return 0;
}

LRESULT ZRadioButton::OnActionKeyUp(uint32_t, WPARAM, LPARAM) {
  if (armed == 0) return 0;
  if (checked == 0) {
    SetState(kStatePressed);
    checked = 1;
  }
  // Also when it was checked already: the dialog hears every click.
  Notify(platform::NM_CLICK);
  return 0;
}

void ZRadioButton::OnPointerEnter(bool leftHeld) {
  if (!leftHeld) {
    SetState(Resting(kStateHighlighted));
  } else if (armed != 0 && checked == 0) {
    SetState(kStatePressed);
  }
  Notify(platform::NM_SETFOCUS);
  hot = 1;
}

void ZRadioButton::OnPointerLeave(bool leftHeld) {
  hot = 0;
  Notify(platform::NM_KILLFOCUS);
  if (!leftHeld || armed != 0) SetState(Resting(kStateNormal));
}

void ZRadioButton::OnSetFocus() {
  SetState(Resting(kStateHighlighted));
  Notify(platform::NM_SETFOCUS);
  hot = 1;
}

void ZRadioButton::OnKillFocus() {
  hot = 0;
  Notify(platform::NM_KILLFOCUS);
  SetState(Resting(kStateNormal));
}

void ZRadioButton::OnLeftDown() {
  if (hot == 0) return;
  if (checked == 0) SetState(kStatePressed);
  armed = 1;
}

void ZRadioButton::OnLeftUp() {
  if (armed == 0 || hot == 0) return;
  armed = 0;
  if (checked == 0) {
    SetState(kStatePressed);
    checked = 1;
  }
  Notify(platform::NM_CLICK);
}
