// ZPushButton: a latching button that toggles between up and down on each click.
#pragma once

#include <cstdint>

#include "framework/ui/button.h"

class ZPushButton : public ZButton {
  Z_DECLARE_CLASS(ZPushButton)

 public:
  // Latches it down (pressed look) or lets it up (highlighted while the pointer is on it, else
  // normal) from outside, as when the gun is lowered without a click on the button.
  void SetDown(int32_t on);

  int32_t down = 0;

 protected:
  platform::LRESULT OnActionKeyDown(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;
  platform::LRESULT OnActionKeyUp(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;
  void OnPointerEnter(bool leftHeld) override;
  void OnPointerLeave(bool leftHeld) override;
  void OnSetFocus() override;
  void OnKillFocus() override;
  void OnLeftDown() override;
  void OnLeftUp() override;

 private:
  // The look of a resting button: pressed while down, else `up`.
  int32_t Resting(int32_t up) const { return down != 0 ? kStatePressed : up; }
  // The look while a press is under way: the opposite of where it rests.
  int32_t Pressing() const { return down != 0 ? kStateHighlighted : kStatePressed; }
};
