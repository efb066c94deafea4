// Rand's known sequence, the rectangle helpers and the pump hooks.
#include <gtest/gtest.h>

#include <vector>

#include "platform/pump.h"
#include "platform/rand.h"
#include "platform/types.h"

namespace platform {
namespace {

TEST(RandTest, ClassicSequence) {
  srand(1);
  EXPECT_EQ(rand(), 41);
  EXPECT_EQ(rand(), 18467);
  EXPECT_EQ(rand(), 6334);
  for (int i = 0; i < 1000; ++i) {
    const int r = rand();
    ASSERT_TRUE(r >= 0 && r <= RAND_MAX_VALUE) << r;
  }
}

TEST(RectTest, IntersectUnionOffset) {
  Rect out{1, 2, 3, 4};
  EXPECT_TRUE(IntersectRect(&out, Rect{0, 0, 10, 10}, Rect{5, 5, 15, 15}));
  EXPECT_EQ(out, (Rect{5, 5, 10, 10}));
  // Touching edges do not overlap: right and bottom are exclusive.
  EXPECT_FALSE(IntersectRect(&out, Rect{0, 0, 10, 10}, Rect{10, 0, 20, 10}));
  EXPECT_EQ(out, Rect{});

  EXPECT_TRUE(UnionRect(&out, Rect{0, 0, 10, 10}, Rect{20, 5, 30, 8}));
  EXPECT_EQ(out, (Rect{0, 0, 30, 10}));
  // An empty rectangle adds nothing, even far away.
  EXPECT_TRUE(UnionRect(&out, Rect{100, 100, 100, 100}, Rect{1, 1, 2, 2}));
  EXPECT_EQ(out, (Rect{1, 1, 2, 2}));
  EXPECT_FALSE((Rect{0, 0, 2, 2}).Contains(Point{2, 1}));
}

TEST(PumpTest, HooksRunInOrderAndMayRemoveThemselves) {
  std::vector<int> order;
  int second = 0;
  int first = AddPumpHook([&] { order.push_back(1); });
  second = AddPumpHook([&] {
    order.push_back(2);
    RemovePumpHook(second);
  });
  int third = AddPumpHook([&] { order.push_back(3); });
  RunPumpHooks();
  RunPumpHooks();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 1, 3}));
  RemovePumpHook(first);
  RemovePumpHook(third);
}

}  // namespace
}  // namespace platform
