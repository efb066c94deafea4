// ZVector's arithmetic: sum, length, normalising and step lengths.
#include "framework/core/vector.h"

#include <cmath>

Z_IMPLEMENT_CLASS(ZVector, ZObject)

ZVector ZVector::Add(const ZVector& a, const ZVector& b) { return ZVector(a.x + b.x, a.y + b.y); }

double ZVector::Length() const { return std::sqrt(x * x + y * y); }

void ZVector::Normalize() {
  double length = Length();
  if (length != 0.0) {
    x /= length;
    y /= length;
  } else {
    x = 0.0;
    y = 0.0;
  }
}

void ZVector::SetLength(double length) {
  Normalize();
  x *= length;
  y *= length;
}
