// ZPoint and ZVector: construction, copying, sums, lengths, normalising and step lengths.
#include <gtest/gtest.h>

#include <type_traits>

#include "framework/core/point.h"
#include "framework/core/vector.h"

namespace {

TEST(PointTest, StartsAtOriginAndCopiesBothCoordinates) {
  ZPoint p;
  EXPECT_EQ(p.x, 0.0);
  EXPECT_EQ(p.y, 0.0);
  ZPoint q(2500.5, -3.25);
  ZPoint copy = (p = q);  // assignment returns the new value
  EXPECT_EQ(p.x, 2500.5);
  EXPECT_EQ(p.y, -3.25);
  EXPECT_EQ(copy.x, 2500.5);
  EXPECT_EQ(copy.y, -3.25);
  // The returned value is a copy, not the object itself.
  copy.x = 1.0;
  EXPECT_EQ(p.x, 2500.5);
}

TEST(PointTest, PointAndVectorAreDistinctTypesWithoutConversion) {
  static_assert(!std::is_convertible_v<ZPoint, ZVector>);
  static_assert(!std::is_convertible_v<ZVector, ZPoint>);
  static_assert(!std::is_assignable_v<ZPoint&, ZVector>);
  ZPoint p(1, 2);
  ZVector v(1, 2);
  EXPECT_STREQ(p.GetRuntimeClass()->className, "ZPoint");
  EXPECT_STREQ(v.GetRuntimeClass()->className, "ZVector");
  EXPECT_FALSE(p.IsKindOf(&ZVector::classRecord));
  EXPECT_TRUE(v.IsKindOf(&ZObject::classRecord));
  EXPECT_EQ(ZPoint::classRecord.schema, 0xFFFFu);
  EXPECT_EQ(ZPoint::classRecord.createObject, nullptr);
  EXPECT_EQ(ZVector::classRecord.baseClass, &ZObject::classRecord);
}

TEST(VectorTest, AddMakesANewVectorAndLeavesOperands) {
  ZVector a(1.5, -2.0);
  ZVector b(-0.5, 7.0);
  ZVector sum = ZVector::Add(a, b);
  EXPECT_DOUBLE_EQ(sum.x, 1.0);
  EXPECT_DOUBLE_EQ(sum.y, 5.0);
  EXPECT_DOUBLE_EQ(a.x, 1.5);
  EXPECT_DOUBLE_EQ(b.y, 7.0);
}

TEST(VectorTest, LengthIsEuclidean) {
  EXPECT_DOUBLE_EQ(ZVector(3, 4).Length(), 5.0);
  EXPECT_DOUBLE_EQ(ZVector(-3, -4).Length(), 5.0);
  EXPECT_DOUBLE_EQ(ZVector(0, 0).Length(), 0.0);
  EXPECT_DOUBLE_EQ(ZVector(0, -7.5).Length(), 7.5);
}

TEST(VectorTest, NormalizeGivesUnitLengthAndKeepsZero) {
  ZVector v(3, 4);
  v.Normalize();
  EXPECT_DOUBLE_EQ(v.x, 0.6);
  EXPECT_DOUBLE_EQ(v.y, 0.8);
  ZVector zero;
  zero.Normalize();
  EXPECT_EQ(zero.x, 0.0);
  EXPECT_EQ(zero.y, 0.0);
  // No small-length threshold: a tiny vector is still normalised.
  ZVector tiny(1e-100, 0);
  tiny.Normalize();
  EXPECT_DOUBLE_EQ(tiny.x, 1.0);
}

TEST(VectorTest, SetLengthScalesDirectionAndLeavesZeroAlone) {
  ZVector v(0, -5);
  v.SetLength(10);
  EXPECT_DOUBLE_EQ(v.x, 0.0);
  EXPECT_DOUBLE_EQ(v.y, -10.0);
  ZVector w(3, 4);
  w.SetLength(2.5);
  EXPECT_DOUBLE_EQ(w.x, 1.5);
  EXPECT_DOUBLE_EQ(w.y, 2.0);
  ZVector zero;
  zero.SetLength(10);
  EXPECT_EQ(zero.x, 0.0);
  EXPECT_EQ(zero.y, 0.0);
  // A negative length turns the step around.
  ZVector back(1, 0);
  back.SetLength(-3);
  EXPECT_DOUBLE_EQ(back.x, -3.0);
}

}  // namespace
