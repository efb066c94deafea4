// ZScene: the hunting area's scenery over the world sprite list; minimal until the scene lands.
#pragma once

#include <cstdint>

#include "framework/core/object.h"

class ZSpriteList;
class ZHuntingMap;

class ZScene : public ZObject {
  Z_DECLARE_CLASS(ZScene)

 public:
  ZScene(ZSpriteList* sprites, ZHuntingMap* huntingMap) : spriteList(sprites), map(huntingMap) {}

  void SetArea(int32_t number) { area = number; }

  int32_t area = 0;
  ZSpriteList* spriteList = nullptr;
  ZHuntingMap* map = nullptr;
};
