// ZButton: the framework's art-drawn button window (display state, notifications); minimal until the
// controls land.
#pragma once

#include <cstdint>

#include "framework/ui/wnd.h"

class ZButton : public ZWnd {
  Z_DECLARE_CLASS(ZButton)

 public:
  // Display states: 0 none, 1 disabled, 2 normal, 4 highlighted, 8 pressed.
  virtual void SetState(int32_t s) { state = s; }

  int32_t state = 0;
};
