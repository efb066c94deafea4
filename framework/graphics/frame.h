// ZFrame: one frame of a sprite: a rectangle of its sprite-map surface, its id and its hot spot.
#pragma once

#include <cstdint>

#include "framework/core/object.h"
#include "platform/types.h"

class ZFrame : public ZObject {
  Z_DECLARE_CLASS(ZFrame)

 public:
  ZFrame() = default;
  ZFrame(const platform::Rect& source, int32_t id, int32_t hotSpotX, int32_t hotSpotY)
      : sourceRect(source), frameId(id), hotX(hotSpotX), hotY(hotSpotY) {}

  int32_t Width() const { return sourceRect.Width(); }
  int32_t Height() const { return sourceRect.Height(); }

  platform::Rect sourceRect;  // in sprite-map surface coordinates
  int32_t frameId = 0;
  int32_t hotX = 0;  // relative to the frame's top-left corner
  int32_t hotY = 0;
};
