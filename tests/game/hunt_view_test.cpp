// A hunt view composed without the hunting window, for each of the five hunts: the panorama with its
// scenery, birds near the stand in several poses and the raised gun, drawn and flipped as a frame is.
// With BF_HUNT_VIEW_DIR set, each frame is also written there as a PNG to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/game/hunt_fixture.h"

namespace {

using T = ZTurkey;

struct Placed {
  double distance, bearing;
  int32_t state, facing, wanted;
};

class HuntViewTest : public hunttest::HuntFixture, public ::testing::WithParamInterface<int32_t> {
 protected:
  std::vector<uint8_t> Frame() {
    ShowFrame();
    EXPECT_TRUE(backend->HasFrame());
    return backend->FramePixels();
  }
};

TEST_P(HuntViewTest, BirdsStandOnTheGroundAndTheGunIsRaisedAtTheBottom) {
  ToMenu();
  const int32_t hunt = GetParam();
  EnterHunt(hunt);
  const std::vector<uint8_t> bare = Frame();

  // Poses across the view (bearings 0.8 to 2.35 are on screen): walking and standing profiles both
  // ways, toward, away, a run seen from both sides, an idle bird, and one on its way down.
  const Placed placed[] = {
      {160, 1.95, T::Walking, 4, 4},  {260, 1.35, T::Walking, 0, 0}, {380, 1.62, T::Standing, 2, 2},
      {520, 1.12, T::Standing, 6, 6}, {450, 2.15, T::Fleeing, 3, 3}, {700, 1.5, T::Fleeing, 1, 1},
      {850, 1.78, T::Idling, 4, 4},   {600, 0.95, T::Walking, 7, 7}, {330, 2.3, T::Standing, 5, 5},
      {950, 1.25, T::Dying, 0, 0},
  };
  for (size_t i = 0; i < 10; ++i) {
    T* b = BirdAt(i, placed[i].distance, placed[i].bearing, placed[i].state);
    b->facing = placed[i].facing;
    b->wantedFacing = placed[i].wanted;
    b->now = platform::timeGetTime();
    b->UpdateSprite();
    ASSERT_NE(b->GetSprite(), nullptr) << i;
  }
  game->hunter->EquipShotgun();
  game->hunter->RaiseWeapon();
  for (int i = 0; i < 19; ++i) game->hunter->GetWeapon()->Step();
  const std::vector<uint8_t> shown = Frame();

  auto changedIn = [&](platform::Rect r) {
    platform::Rect view{0, 0, 640, 425};
    platform::IntersectRect(&r, r, view);
    int64_t changed = 0;
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x) changed += bare[y * 640 + x] != shown[y * 640 + x] ? 1 : 0;
    return std::pair<int64_t, int64_t>(changed, static_cast<int64_t>(std::max(0, r.Width())) * std::max(0, r.Height()));
  };
  int visible = 0, clear = 0;
  for (size_t i = 0; i < 10; ++i) {
    T* b = game->map->birds[i].get();
    ZScaledSprite* s = b->GetSprite();
    platform::Rect r;
    s->GetRect(&r);
    // The picture's foot row is the ground row of the bird's distance; standing, walking and idling
    // birds have a foot on it (running and falling frames may lift both).
    double scale = 0;
    int32_t x = 0, ground = 0;
    game->scene->Project(placed[i].bearing, placed[i].distance, &scale, &x, &ground);
    EXPECT_LE(std::abs(r.bottom - ground), 1) << "bird " << i << " of hunt " << hunt;
    if (b->state != T::Fleeing && b->state != T::Dying) {
      int32_t lowest = -1;
      for (int32_t y = r.bottom - 1; y >= r.top && lowest < 0; --y)
        for (int32_t px = r.left; px < r.right && lowest < 0; ++px) lowest = s->HitTest(px, y) != 0 ? y : -1;
      EXPECT_GE(lowest, r.bottom - 3) << "bird " << i << " of hunt " << hunt;
    }
    platform::Rect onScreen;
    s->GetScreenRect(&onScreen);
    if (onScreen.bottom <= 0 || onScreen.top >= 425 || onScreen.right <= 0 || onScreen.left >= 640) continue;
    // Drawn: scenery nearer than a bird may hide part of it, never all of it here.
    const auto [changed, area] = changedIn(onScreen);
    EXPECT_GT(changed * 20, area) << "bird " << i << " of hunt " << hunt;
    ++visible;
    clear += changed * 4 > area ? 1 : 0;
  }
  EXPECT_GE(visible, 8);
  EXPECT_GE(clear * 2, visible);
  // The gun: its barrel rises from the view's bottom edge to the centre, widening toward the shooter.
  const auto [gunChanged, gunArea] = changedIn(platform::Rect{300, 220, 340, 425});
  EXPECT_GT(gunChanged * 10, gunArea * 6);
  const auto [barrelTop, barrelArea] = changedIn(platform::Rect{316, 210, 324, 216});
  EXPECT_GT(barrelTop * 2, barrelArea);

  const char* dir = std::getenv("BF_HUNT_VIEW_DIR");
  auto write = [&](const std::string& suffix) {
    if (dir != nullptr) {
      EXPECT_TRUE(backend->WritePng(std::string(dir) + "/hunt" + std::to_string(hunt) + suffix + ".png"));
    }
  };
  write("");

  // A shot: the muzzle flash stands above the muzzle, and the gun kicks down in the steps after.
  ZShotgun* gun = game->hunter->GetWeapon();
  game->hunter->Fire();
  gun->Step();
  const std::vector<uint8_t> fired = Frame();
  platform::Rect flash;
  gun->muzzleSprite->GetScreenRect(&flash);
  EXPECT_LT(flash.bottom, 425);
  EXPECT_LE(std::abs((flash.left + flash.right) / 2 - 320), 10);
  int64_t lit = 0;
  for (int32_t y = std::max(0, flash.top); y < std::min(425, flash.bottom); ++y)
    for (int32_t x = std::max(0, flash.left); x < std::min(640, flash.right); ++x) lit += fired[y * 640 + x] != shown[y * 640 + x];
  EXPECT_GT(lit * 10, static_cast<int64_t>(flash.Width()) * flash.Height());
  write("_shot");
  for (int i = 0; i < 8; ++i) gun->Step();
  Frame();
  write("_recoil");
}

INSTANTIATE_TEST_SUITE_P(EveryHunt, HuntViewTest, ::testing::Values(0, 1, 2, 3, 4));

}  // namespace
