// ZScene: projection values, and scenery placed by distance and painted into the panorama.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "tests/game/hunt_fixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(SceneProjection, BearingsWrapAroundThePanoramaAndDistanceSetsScaleAndRow) {
  ZScene scene(nullptr, nullptr);
  scene.horizonY = 400;
  double s = 0;
  int32_t x = 0, y = 0;
  struct Case {
    double bearing;
    int32_t x;
  };
  // Bearing 0 gives 2560, the same column as 0 on the wrapping panorama; x falls as the bearing turns
  // toward +y. Negative bearings come back through a turn of 6.283185307, a hair short of 2 pi, and so
  // land one column to the right of their positive twins.
  for (const Case& c : {Case{0, 2560}, Case{kPi / 2, 1920}, Case{kPi, 1280}, Case{-kPi / 2, 641},
                        Case{3 * kPi / 2, 640}, Case{-kPi, 1281}, Case{2 * kPi + kPi / 2, 1920}}) {
    scene.Project(c.bearing, 500, &s, &x, &y);
    EXPECT_EQ(x, c.x) << c.bearing;
  }
  scene.Project(0, 110, &s, &x, &y);
  EXPECT_EQ(s, 1.0);
  EXPECT_EQ(y, 780);
  scene.Project(0, 50, &s, &x, &y);
  EXPECT_EQ(s, 1.0);
  EXPECT_EQ(y, 780);
  scene.Project(0, 1100, &s, &x, &y);
  EXPECT_DOUBLE_EQ(s, 0.1);
  EXPECT_EQ(y, 438);
  scene.horizonY = 430;
  scene.Project(0, 220, &s, &x, &y);
  EXPECT_EQ(y, 430 + 175);
  // Values no bird or item produces still give an answer at once.
  scene.Project(std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(), &s, &x, &y);
  EXPECT_EQ(s, 1.0);
  EXPECT_EQ(x, 2560);
  scene.Project(1e300, 0.0, &s, &x, &y);
  EXPECT_GE(x, 0);
  EXPECT_LE(x, 2560);
  EXPECT_EQ(s, 1.0);
}

class SceneryTest : public hunttest::HuntFixture {
 protected:
  int32_t FirstFrameId(int32_t spriteId) {
    std::vector<std::unique_ptr<ZFrame>> frames;
    game->areaSpriteMap->GetFrames(spriteId, &frames);
    return frames.empty() ? -1 : frames[0]->frameId;
  }
};

TEST_F(SceneryTest, TheSceneryWithin1000IsPaintedIntoThePanorama) {
  ToMenu();
  EnterHunt(2);
  EXPECT_GT(game->worldSprites.GetCount(), 30);
  for (ZSprite* sprite : game->worldSprites.Sprites()) {
    EXPECT_EQ(sprite->GetTargetSurface(), background.get());
    EXPECT_LT(sprite->GetDepth(), 100000);  // nothing from 1000 units on
  }
  // The scenery is painted into the panorama itself.
  ZSurface bare;
  ASSERT_EQ(bare.CreateFromImage(game->graphics.get(), backgroundImage.get(), 1), 1);
  ZSurfaceLock a(&bare), b(background.get());
  ASSERT_TRUE(a.Ok() && b.Ok());
  int64_t changed = 0;
  for (int32_t row = 0; row < a.Desc().height; ++row)
    for (int32_t col = 0; col < a.Desc().width; ++col)
      changed += a.Desc().bits[row * a.Desc().pitch + col] != b.Desc().bits[row * b.Desc().pitch + col];
  EXPECT_GT(changed, 20000);
}

TEST_F(SceneryTest, TheLimitsTheBorrowedPicturesAndTheNearClamp) {
  ToMenu();
  EnterHunt(0);  // the stand at (2500, 2500)
  auto& items = game->map->items;
  items.clear();
  items.push_back(std::make_unique<ZMapItem>(4, 2500, 2700));   // borrows, but nothing came before: not drawn
  items.push_back(std::make_unique<ZMapItem>(9, 2500, 3499));   // 999: drawn, sprite 3
  items.push_back(std::make_unique<ZMapItem>(12, 2500, 2800));  // borrows sprite 3
  items.push_back(std::make_unique<ZMapItem>(0, 3500, 2500));   // exactly 1000: not drawn
  items.push_back(std::make_unique<ZMapItem>(17, 2500, 2600));  // borrows sprite 3 still (the 1000 one was not placed)
  items.push_back(std::make_unique<ZMapItem>(5, 2450, 2500));   // 50: drawn full size, sorted at 5000
  game->scene->BuildScenery(game->graphics.get(), game->areaSurface.get(), background.get());
  const auto& sprites = game->worldSprites.Sprites();
  ASSERT_EQ(sprites.size(), 4u);
  std::vector<ZSprite*> list(sprites.begin(), sprites.end());
  auto scaled = [](ZSprite* s) { return static_cast<ZScaledSprite*>(s); };
  EXPECT_EQ(list[0]->GetDepth(), 5000);
  EXPECT_EQ(scaled(list[0])->GetScale(), 1.0);
  EXPECT_EQ(list[0]->GetCurrentFrame()->frameId, FirstFrameId(0));
  EXPECT_EQ(list[1]->GetDepth(), 10000);
  EXPECT_EQ(list[1]->GetCurrentFrame()->frameId, FirstFrameId(3));
  EXPECT_EQ(list[2]->GetDepth(), 30000);
  EXPECT_EQ(list[2]->GetCurrentFrame()->frameId, FirstFrameId(3));
  EXPECT_DOUBLE_EQ(scaled(list[2])->GetScale(), 110.0 / 300);
  EXPECT_EQ(list[3]->GetDepth(), 99900);
  EXPECT_EQ(game->scene->viewpoint.x, 2500);
  EXPECT_EQ(game->scene->placedDistance, 100.0);  // the last item placed was the clamped one
}

}  // namespace
