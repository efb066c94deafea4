// ZHunter: the player at his stand; minimal until the hunter lands.
#pragma once

#include <cstdint>

#include "framework/core/object.h"

class ZTurkeyGame;
class ZHuntingMap;
namespace platform {
class Window;
}

class ZHunter : public ZObject {
  Z_DECLARE_CLASS(ZHunter)

 public:
  ZHunter(ZTurkeyGame* owner, platform::Window* mainWindow) : game(owner), window(mainWindow) {}

  // 1 when there is no weapon or it is lowered; there is no weapon yet.
  int32_t WeaponDown() const { return 1; }

  int32_t viewMovement = 0;
  ZHuntingMap* map = nullptr;
  ZTurkeyGame* game = nullptr;
  platform::Window* window = nullptr;
};
