// ZVector: a direction, displacement or velocity on the ground plane; no conversion to or from ZPoint.
#pragma once

#include "framework/core/object.h"

class ZVector : public ZObject {
  Z_DECLARE_CLASS(ZVector)

 public:
  ZVector() = default;
  ZVector(double vx, double vy) : x(vx), y(vy) {}
  ZVector(const ZVector& other) : ZObject(), x(other.x), y(other.y) {}
  ZVector operator=(const ZVector& other) {
    x = other.x;
    y = other.y;
    return *this;
  }

  // A new vector a + b.
  static ZVector Add(const ZVector& a, const ZVector& b);
  double Length() const;
  // Unit length; a zero vector stays (0, 0) (compared with 0 exactly, no threshold).
  void Normalize();
  // Normalize, then scale to `length`; a zero vector stays (0, 0) whatever the length.
  void SetLength(double length);

  double x = 0.0;
  double y = 0.0;
};
