// ZGraphicsInfo: the sprite lists and viewports the game hands to the graphics system; owns nothing.
#pragma once

#include "framework/core/object.h"

class ZSpriteList;
class ZViewport;

class ZGraphicsInfo : public ZObject {
  Z_DECLARE_CLASS(ZGraphicsInfo)

 public:
  ZSpriteList* worldSprites = nullptr;
  ZSpriteList* overlaySprites = nullptr;
  ZViewport* mainViewport = nullptr;
  ZViewport* secondViewport = nullptr;
};
