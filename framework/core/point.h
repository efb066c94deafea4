// ZPoint: a point of the ground plane in world units (double precision).
#pragma once

#include "framework/core/object.h"

class ZPoint : public ZObject {
  Z_DECLARE_CLASS(ZPoint)

 public:
  ZPoint() = default;
  ZPoint(double px, double py) : x(px), y(py) {}
  ZPoint(const ZPoint& other) : ZObject(), x(other.x), y(other.y) {}
  // Copies x and y; returns a copy of the new value, as the owners expect.
  ZPoint operator=(const ZPoint& other) {
    x = other.x;
    y = other.y;
    return *this;
  }

  double x = 0.0;
  double y = 0.0;
};
