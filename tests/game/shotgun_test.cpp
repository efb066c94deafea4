// ZShotgun in a hunt view: the raise/lower/fire/recoil/pump/reload timeline step by step, the muzzle
// flash, and the shot traced through the world sprites band by band.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/graphics/sprite_list.h"
#include "tests/game/hunt_fixture.h"

namespace {

using W = ZHuntingWeapon;

void Put32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A one-frame sprite map (sprite id 1, hot spot at the top-left corner, index 0 transparent) whose
// pixel (u, v) is solid where `solid` says so.
std::vector<uint8_t> OneFrameMap(int w, int h, const std::function<bool(int, int)>& solid) {
  const int stride = (w + 3) & ~3;
  std::vector<uint8_t> out(48 + 272, 0);
  Put32(&out, 12, 1);
  Put32(&out, 24, 1024);
  Put32(&out, 28, static_cast<uint32_t>(stride * h));
  Put32(&out, 32, static_cast<uint32_t>(w));
  Put32(&out, 36, static_cast<uint32_t>(h));
  Put32(&out, 48 + 228, 1);
  Put32(&out, 48 + 232, 1);
  Put32(&out, 48 + 256, static_cast<uint32_t>(w));
  Put32(&out, 48 + 260, static_cast<uint32_t>(h));
  for (int i = 0; i < 256; ++i) out.insert(out.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
  for (int v = h - 1; v >= 0; --v)
    for (int u = 0; u < stride; ++u) out.push_back(u < w && solid(u, v) ? 200 : 0);
  return out;
}

class ShotgunTest : public hunttest::HuntFixture {
 protected:
  void SetUp() override {
    HuntFixture::SetUp();
    ToMenu();
    EnterHunt(0);
    game->hunter->EquipShotgun();
    gun = game->hunter->GetWeapon();
  }
  void TearDown() override {
    // Birds give up their pictures before the world list deletes what is left (the test's sprites),
    // and those go before their maps and surfaces, which go before the display.
    game->map->DropSprites();
    game->worldSprites.DeleteAll();
    maps.clear();
    surfaces.clear();
    HuntFixture::TearDown();
  }
  int32_t GunY() { return gun->gunSprite->GetY(); }
  // Raises the gun from the rest (20 steps).
  void Raise() {
    ASSERT_EQ(game->hunter->RaiseWeapon(), 1);
    for (int i = 0; i < 19; ++i) gun->Step();
    ASSERT_EQ(gun->state, W::Aiming);
  }
  // Steps until the gun reaches `state` (at most `limit` steps, each 28 ms later); the steps taken.
  int StepUntil(int32_t state, int limit = 1000) {
    for (int i = 1; i <= limit; ++i) {
      backend->Advance(28);
      gun->Step();
      if (gun->state == state) return i;
    }
    return -1;
  }
  // A world sprite of a one-frame map at panorama (x, y) with the given depth and kind.
  ZSprite* WorldSprite(int w, int h, const std::function<bool(int, int)>& solid, int32_t x, int32_t y, int32_t depth,
                       int32_t kind) {
    std::vector<uint8_t> bytes = OneFrameMap(w, h, solid);
    maps.push_back(std::make_unique<ZSpriteMap>());
    EXPECT_EQ(maps.back()->LoadBytes(bytes.data(), bytes.size()), 1);
    surfaces.push_back(std::make_unique<ZSurface>(game->graphics.get(), maps.back().get()));
    auto* s = new ZSprite(x, y, depth, surfaces.back().get(), 1, maps.back().get());
    s->SetTargets(nullptr, game->mainViewport.get());
    s->placed = 1;
    s->kind = kind;
    game->worldSprites.Add(s);
    return s;
  }
  int OverlayCount(ZSprite* s) {
    int n = 0;
    for (ZSprite* o : game->overlaySprites.Sprites()) n += o == s ? 1 : 0;
    return n;
  }

  ZShotgun* gun = nullptr;
  std::vector<std::unique_ptr<ZSpriteMap>> maps;
  std::vector<std::unique_ptr<ZSurface>> surfaces;
};

TEST_F(ShotgunTest, RaisingTakesTwentyStepsAndLoweringIsIgnoredUntilTheGunIsReady) {
  ASSERT_EQ(game->hunter->RaiseWeapon(), 1);
  EXPECT_EQ(GunY(), 506);
  EXPECT_EQ(gun->shown, 2);
  EXPECT_EQ(OverlayCount(gun->gunSprite.get()), 1);
  for (int step = 2; step <= 20; ++step) {
    EXPECT_EQ(gun->state, W::Raising) << step;
    if (step == 10) {
      game->hunter->LowerWeapon();  // ignored while raising
      EXPECT_EQ(gun->state, W::Raising);
    }
    gun->Step();
    EXPECT_EQ(GunY(), 510 - 4 * step);
  }
  EXPECT_EQ(gun->state, W::Aiming);
  EXPECT_EQ(GunY(), 430);
  EXPECT_EQ(gun->stepCounter, 3);
  // Lowering: 21 steps down past 510, then the next step hides the gun.
  game->hunter->LowerWeapon();
  EXPECT_EQ(GunY(), 434);
  EXPECT_EQ(StepUntil(W::Down), 20);
  EXPECT_EQ(GunY(), 514);
  EXPECT_EQ(OverlayCount(gun->gunSprite.get()), 1);
  gun->Step();
  EXPECT_EQ(gun->shown, 0);
  EXPECT_EQ(OverlayCount(gun->gunSprite.get()), 0);
  EXPECT_EQ(game->hunter->WeaponDown(), 1);
}

TEST_F(ShotgunTest, FireRecoilAndPumpStepByStep) {
  Raise();
  const int32_t muzzleX = 1600 + 322;
  EXPECT_EQ(game->hunter->Fire(), 1);
  EXPECT_EQ(gun->state, W::Firing);
  EXPECT_EQ(gun->shellsFired, 1);
  EXPECT_EQ(gun->shown, 4);
  EXPECT_EQ(gun->beadX, 320);
  EXPECT_EQ(gun->beadY, 206);
  // The flash stands above the muzzle in the panorama: screen (322, 310) seen from (1600, 188).
  EXPECT_EQ(gun->muzzleSprite->GetX(), muzzleX);
  EXPECT_EQ(gun->muzzleSprite->GetY(), 188 + 310);
  EXPECT_EQ(OverlayCount(gun->muzzleSprite.get()), 1);
  EXPECT_EQ(gun->muzzleSprite->GetCurrentFrameIndex(), 0);
  // Four steps after the shot the recoil starts.
  for (int i = 0; i < 3; ++i) {
    gun->Step();
    EXPECT_EQ(gun->state, W::Firing);
  }
  gun->Step();
  EXPECT_EQ(gun->state, W::Recoiling);
  EXPECT_EQ(gun->swayDY, 15);
  // The recoil frame for three steps, down 15 a step past 500, then up 5 a step to 443.
  const int32_t last = gun->gunSprite->GetFrameCount() - 1;
  const std::vector<int32_t> ys = {430, 430, 430, 445, 460, 475, 490, 500, 495, 490, 485,
                                   480, 475, 470, 465, 460, 455, 450, 445, 443};
  for (size_t i = 0; i < ys.size(); ++i) {
    gun->Step();
    EXPECT_EQ(GunY(), ys[i]) << i;
    EXPECT_EQ(gun->gunSprite->GetCurrentFrameIndex(), i < 7 ? last : 0) << i;
    EXPECT_EQ(gun->muzzleSprite->GetY(), 188 + 310 - 2 * static_cast<int32_t>(i + 1));
  }
  EXPECT_EQ(gun->state, W::Pumping);
  EXPECT_EQ(OverlayCount(gun->muzzleSprite.get()), 0);
  // The pump: one frame every four steps, forward to the one before the last, back to 0, then ready.
  std::vector<int32_t> frames;
  int steps = 0;
  while (gun->state == W::Pumping && steps < 100) {
    gun->Step();
    ++steps;
    if (steps % 4 == 0) frames.push_back(gun->gunSprite->GetCurrentFrameIndex());
  }
  std::vector<int32_t> expect;
  for (int32_t f = 1; f < last; ++f) expect.push_back(f);
  for (int32_t f = last - 2; f >= 0; --f) expect.push_back(f);
  expect.push_back(0);
  EXPECT_EQ(frames, expect);
  EXPECT_EQ(steps, 4 * static_cast<int>(expect.size()));
  EXPECT_EQ(gun->state, W::Aiming);
  EXPECT_EQ(gun->shown, 1);
  EXPECT_EQ(gun->pumpReversed, 0);
  EXPECT_EQ(GunY(), 443);
  // Lowered and raised again before the hiding step: the picture is not listed twice.
  game->hunter->LowerWeapon();
  ASSERT_GT(StepUntil(W::Down), 0);
  game->hunter->RaiseWeapon();
  EXPECT_EQ(OverlayCount(gun->gunSprite.get()), 1);
}

TEST_F(ShotgunTest, AfterTheFourthShotTheGunGoesDownAndReloadsOneShellASecond) {
  Raise();
  for (int shot = 1; shot <= 3; ++shot) {
    ASSERT_EQ(game->hunter->Fire(), 1);
    ASSERT_GT(StepUntil(W::Aiming), 0) << shot;
    EXPECT_EQ(gun->shellsFired, shot);
  }
  ASSERT_EQ(game->hunter->Fire(), 1);
  ASSERT_GT(StepUntil(W::Pumping), 0);
  // Down out of sight: 443 + 4 x 17 = 511.
  int down = 0;
  while (gun->pumpPhase != 6 && down < 50) {
    backend->Advance(28);
    gun->Step();
    ++down;
  }
  EXPECT_EQ(down, 17);
  EXPECT_EQ(gun->shellsFired, -4);
  EXPECT_EQ(OverlayCount(gun->gunSprite.get()), 0);
  const uint32_t reloadStart = platform::GetTickCount();
  std::vector<uint32_t> shellTimes;
  int32_t shells = gun->shellsFired;
  while (gun->state == W::Pumping) {
    EXPECT_EQ(game->hunter->WeaponAiming(), 0);  // no shot while reloading
    backend->Advance(28);
    gun->Step();
    if (gun->shellsFired != shells) {
      shellTimes.push_back(platform::GetTickCount() - reloadStart);
      shells = gun->shellsFired;
    }
    ASSERT_LT(platform::GetTickCount() - reloadStart, 10000u);
  }
  const uint32_t reload = platform::GetTickCount() - reloadStart;
  EXPECT_EQ(gun->state, W::Raising);
  EXPECT_EQ(gun->shown, 0);
  ASSERT_EQ(shellTimes.size(), 4u);  // four shells; a second after the last the gun comes up
  for (size_t i = 1; i < shellTimes.size(); ++i) EXPECT_GE(shellTimes[i] - shellTimes[i - 1], 1000u);
  EXPECT_GT(reload, 5000u);
  EXPECT_LT(reload, 5400u);
  EXPECT_EQ(gun->shellsFired, 0);
  ASSERT_GT(StepUntil(W::Aiming), 0);
  EXPECT_EQ(OverlayCount(gun->gunSprite.get()), 1);
  EXPECT_EQ(GunY(), 507 - 4 * 19);
}

TEST_F(ShotgunTest, AShotThatMeetsNothingTestsTenBandsAndEndsAtTheEleventh) {
  game->worldSprites.DeleteAll();
  WorldSprite(40, 40, [](int, int) { return true; }, 100, 100, 150000, 0);  // never reached
  Raise();
  game->hunter->Fire();  // the first band
  EXPECT_EQ(gun->travelled, 100);
  for (int band = 2; band <= 10; ++band) {
    gun->TraceShot();
    EXPECT_EQ(gun->inFlight, 1);
    EXPECT_EQ(gun->travelled, band * 100);
    EXPECT_EQ(gun->drop, band - 1);  // one row per 100 units covered before the band
    EXPECT_EQ(gun->shotRect.top, gun->shotTop + band - 1);
  }
  gun->TraceShot();
  EXPECT_EQ(gun->inFlight, 0);
  EXPECT_EQ(gun->resultKind, -1);
  EXPECT_EQ(gun->struckSprite, nullptr);
  EXPECT_EQ(gun->travelled, 0);
  // A shot into an empty world ends at once.
  game->worldSprites.DeleteAll();
  ASSERT_GT(StepUntil(W::Aiming), 0);
  game->hunter->Fire();
  EXPECT_EQ(gun->inFlight, 0);
  EXPECT_EQ(gun->resultKind, -1);
}

TEST_F(ShotgunTest, TheShotDropsARowPer100UnitsBeforeEachBand) {
  game->worldSprites.DeleteAll();
  Raise();
  // The bead at screen (320, 206) is panorama (1920, 394).
  const int32_t top = 394;
  ZSprite* low = WorldSprite(40, 1, [](int, int) { return true; }, 1900, top + 9, 95000, 0);
  game->hunter->Fire();
  EXPECT_EQ(gun->shotTop, top);
  EXPECT_EQ(gun->shotRect.left, 1920);
  for (int i = 0; i < 12 && gun->inFlight != 0; ++i) gun->TraceShot();
  EXPECT_EQ(gun->resultKind, 0);
  EXPECT_EQ(gun->struckSprite, low);
  EXPECT_EQ(gun->resultX, 1920);
  EXPECT_EQ(gun->resultY, top + 9);
  EXPECT_EQ(gun->resultDistance, 950);
  EXPECT_EQ(gun->drop, 0);
  // One row higher the shot has already dropped past it. (After the pump the gun stands lower, so the
  // row is taken from the new shot; the first band cannot reach 950 units.)
  gun->ClearResult();
  ASSERT_GT(StepUntil(W::Aiming), 0);
  game->hunter->Fire();
  low->SetPosition(1900, gun->shotTop + 8);
  for (int i = 0; i < 12 && gun->inFlight != 0; ++i) gun->TraceShot();
  EXPECT_EQ(gun->resultKind, -1);
}

TEST_F(ShotgunTest, ThroughATransparentPixelTheShotGoesOnTheNearestSolidSpriteWins) {
  game->worldSprites.DeleteAll();
  Raise();
  const int32_t top = 394;
  // A tree at 300 units with a clear slit down column 20, and a bird behind it at 320; the shot
  // point lies on the slit.
  ZSprite* tree = WorldSprite(40, 40, [](int u, int) { return u != 20; }, 1900, top - 10, 30000, 0);
  ZSprite* bird = WorldSprite(40, 40, [](int, int) { return true; }, 1900, top - 10, 32000, 2);
  game->hunter->Fire();
  for (int i = 0; i < 12 && gun->inFlight != 0; ++i) gun->TraceShot();
  EXPECT_EQ(gun->struckSprite, bird);
  EXPECT_EQ(gun->resultKind, 2);
  EXPECT_EQ(gun->resultDistance, 320);
  EXPECT_EQ(gun->resultY, top + 3);
  // A step to the side the tree is solid: it takes the shot.
  gun->ClearResult();
  ASSERT_GT(StepUntil(W::Aiming), 0);
  game->hunter->Fire();
  tree->SetPosition(1901, gun->shotTop - 10);
  bird->SetPosition(1900, gun->shotTop - 10);
  for (int i = 0; i < 12 && gun->inFlight != 0; ++i) gun->TraceShot();
  EXPECT_EQ(gun->struckSprite, tree);
  EXPECT_EQ(gun->resultKind, 0);
  EXPECT_EQ(gun->resultDistance, 300);
}

TEST_F(ShotgunTest, TheHunterStepsTheGunOnlyWhenAFrameIsDue) {
  game->hunter->RaiseWeapon();
  game->timer.frameDue = 0;
  game->hunter->Tick(0);
  EXPECT_EQ(GunY(), 506);
  game->timer.frameDue = 1;
  game->hunter->Tick(1);  // walking would not step it either
  EXPECT_EQ(GunY(), 506);
  game->hunter->Tick(0);
  EXPECT_EQ(GunY(), 502);
}

}  // namespace
