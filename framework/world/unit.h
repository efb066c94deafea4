// ZUnit: a thing that moves over an area: its position and its velocity per frame step.
#pragma once

#include <cstdint>

#include "framework/core/object.h"
#include "framework/core/point.h"
#include "framework/core/vector.h"

class ZUnit : public ZObject {
  Z_DECLARE_CLASS(ZUnit)

 public:
  ZUnit() = default;

  ZPoint position;
  ZVector velocity;
  // Part of every unit's layout; nothing in this program moves them off zero.
  ZVector spareVector;
  int32_t spareValue = 0;
};
