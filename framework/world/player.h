// ZPlayer: the framework's player base: where the player stands, how he moves and faces, and his name.
#pragma once

#include <string>

#include "framework/core/object.h"
#include "framework/core/point.h"
#include "framework/core/vector.h"

class ZPlayer : public ZObject {
  Z_DECLARE_CLASS(ZPlayer)

 public:
  ZPlayer() = default;

  ZPoint position;
  ZVector velocity;
  ZVector heading;
  std::string name = "Player";
};
