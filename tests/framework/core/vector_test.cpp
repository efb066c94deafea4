// ZVector: lengths, normalising and step lengths.
#include <gtest/gtest.h>

#include <type_traits>

#include "framework/core/point.h"
#include "framework/core/vector.h"

namespace {

// Points and vectors must not mix silently.
static_assert(!std::is_convertible_v<ZPoint, ZVector>);
static_assert(!std::is_convertible_v<ZVector, ZPoint>);

TEST(VectorTest, LengthNormalizeAndSetLengthLeaveZeroAlone) {
  EXPECT_DOUBLE_EQ(ZVector(-3, -4).Length(), 5.0);
  ZVector v(3, 4);
  v.Normalize();
  EXPECT_DOUBLE_EQ(v.x, 0.6);
  EXPECT_DOUBLE_EQ(v.y, 0.8);
  ZVector tiny(1e-100, 0);  // no small-length threshold
  tiny.Normalize();
  EXPECT_DOUBLE_EQ(tiny.x, 1.0);
  ZVector w(3, 4);
  w.SetLength(2.5);
  EXPECT_DOUBLE_EQ(w.x, 1.5);
  EXPECT_DOUBLE_EQ(w.y, 2.0);
  ZVector back(1, 0);
  back.SetLength(-3);  // a negative length turns the step around
  EXPECT_DOUBLE_EQ(back.x, -3.0);
  ZVector zero;
  zero.Normalize();
  zero.SetLength(10);
  EXPECT_EQ(zero.x, 0.0);
  EXPECT_EQ(zero.y, 0.0);
}

}  // namespace
