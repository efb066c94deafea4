// ZRadioButton: a button that becomes checked when clicked; its dialog unchecks the others.
#pragma once

#include <cstdint>

#include "framework/ui/button.h"

class ZRadioButton : public ZButton {
  Z_DECLARE_CLASS(ZRadioButton)

 public:
  // Checked shows the pressed look; unchecked the highlighted one while hot, else normal.
  void SetCheck(int32_t on);
  int32_t GetCheck() const { return checked; }
  // Forcing the normal look on a checked button that nobody is pointing at or pressing unchecks it.
  int32_t SetState(int32_t s) override;

  int32_t checked = 0;

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
  int32_t Resting(int32_t unchecked) const { return checked != 0 ? kStatePressed : unchecked; }
};
