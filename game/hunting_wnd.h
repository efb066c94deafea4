// ZHuntingWnd: the full-screen window of the hunt; minimal until the hunting screen lands, so a hunt
// cannot start yet and the game stays in the menu.
#pragma once

#include <cstdint>

#include "framework/ui/wnd.h"

class ZTurkeyGame;

class ZHuntingWnd : public ZWnd {
  Z_DECLARE_CLASS(ZHuntingWnd)

 public:
  int32_t Create(platform::Window* parent, ZTurkeyGame* owner) {
    (void)parent;
    game = owner;
    return 0;
  }
  int32_t Start() { return 0; }  // fails: there is no hunting screen yet
  int32_t Stop() { return 1; }
  void FrameStep() {}

  ZTurkeyGame* game = nullptr;
};
