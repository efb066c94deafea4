// ZHuntingMap: the hunting area with its birds; minimal until the simulation lands.
#pragma once

#include <cstdint>

#include "framework/core/object.h"

class ZTurkeyGame;
class ZHunter;

class ZHuntingMap : public ZObject {
  Z_DECLARE_CLASS(ZHuntingMap)

 public:
  ZHuntingMap(ZTurkeyGame* owner, ZHunter* player) : game(owner), hunter(player) {}

  // Starts a hunt; 0 while there is no simulation to start.
  int32_t StartHunt(int32_t /*loadMode*/) { return 0; }
  // One frame of the simulation; nothing moves yet.
  void Update(int32_t /*walk*/) {}

  int32_t subspecies = 0;
  ZTurkeyGame* game = nullptr;
  ZHunter* hunter = nullptr;
};
