// ZTrophyRoomWnd: the trophy room screen; minimal until the trophy room lands, so showing it fails
// and the game returns to the menu.
#pragma once

#include <cstdint>

#include "framework/ui/wnd.h"

class ZTurkeyGame;

class ZTrophyRoomWnd : public ZWnd {
  Z_DECLARE_CLASS(ZTrophyRoomWnd)

 public:
  int32_t Create(platform::Window* parent, ZTurkeyGame* owner) {
    (void)parent;
    game = owner;
    return 0;
  }
  int32_t RecordTrophy() { return 0; }
  int32_t Show() { return 0; }  // fails: there is no trophy room yet
  void Hide() {}

  ZTurkeyGame* game = nullptr;
};
