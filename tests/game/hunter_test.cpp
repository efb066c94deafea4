// ZHunter's levels: the update's timing, calls, view movement, decay, clamps and the gun's alarm.
#include <gtest/gtest.h>

#include "game/shotgun.h"
#include "tests/game/sim_fixture.h"

namespace {

class HunterTest : public simtest::SimFixture {
 protected:
  // One level update, a second (real time) after the last.
  void Update() {
    map->timeScale = 1.0;
    backend->Advance(1001);
    hunter->Tick(0);
  }
};

TEST_F(HunterTest, LevelsUpdateThirtyTimesASecondInFastTimeAndOnceASecondInRealTime) {
  hunter->alarm = 500;
  const uint32_t start = hunter->lastLevelUpdate;
  map->timeScale = 30.0;
  backend->Advance(33);  // not more than 1000 / 30
  hunter->Tick(0);
  EXPECT_EQ(hunter->alarm, 500u);
  backend->Advance(1);
  hunter->Tick(0);
  EXPECT_EQ(hunter->alarm, 499u);
  EXPECT_EQ(hunter->lastLevelUpdate, start + 34);
  map->timeScale = 1.0;
  backend->Advance(1000);
  hunter->Tick(0);
  EXPECT_EQ(hunter->alarm, 499u);
  backend->Advance(1);
  hunter->Tick(0);
  EXPECT_EQ(hunter->alarm, 498u);
}

TEST_F(HunterTest, CallsAttractInTheirBandsAndMakeNoiseWhenOverused) {
  Update();  // at the floors: attraction 100, alarm 200
  struct Case {
    uint32_t c1, c2;
    int attraction, alarm;  // change after one update (decay included)
    uint32_t after1, after2;
  };
  const Case cases[] = {
      {10, 0, -1, 0, 9, 0},     // the first call alone needs 20
      {20, 0, 5 - 1, 0, 19, 0},  {40, 0, 5 - 1, 0, 39, 0}, {41, 0, -1, 0, 40, 0},
      {0, 10, 5 - 1, 0, 0, 9},   // the second from 10
      {10, 10, 5 + 25 - 1, 0, 9, 9},   // together: the second's 5 and 25 more
      {20, 20, 5 + 5 + 25 - 1, 0, 19, 19},
      {60, 0, -1, 10, 59, 0},    {90, 0, -1, 10, 80, 0},  // a count above 80 is cut back
      {0, 70, -1, 10, 0, 69},    {59, 59, -1, 0, 58, 58},
  };
  for (const Case& c : cases) {
    hunter->attraction = 500;
    hunter->alarm = 500;
    hunter->callCount1 = c.c1;
    hunter->callCount2 = c.c2;
    Update();
    EXPECT_EQ(static_cast<int>(hunter->attraction), 500 + c.attraction) << c.c1 << "/" << c.c2;
    EXPECT_EQ(static_cast<int>(hunter->alarm), 500 + c.alarm - 1) << c.c1 << "/" << c.c2;
    EXPECT_EQ(hunter->callCount1, c.after1);
    EXPECT_EQ(hunter->callCount2, c.after2);
  }
  hunter->callCount1 = 5;
  hunter->callCount2 = 0;
  hunter->UseCall1();
  hunter->UseCall2();
  EXPECT_EQ(hunter->callCount1, 15u);
  EXPECT_EQ(hunter->callCount2, 10u);
}

TEST_F(HunterTest, MovingTheViewByFourPixelsAlarmsNearBirds) {
  Update();
  hunter->alarm = 300;
  hunter->viewMovement = 3;
  map->birdNear = 1;
  Update();
  EXPECT_EQ(hunter->alarm, 299u);
  hunter->viewMovement = 4;
  map->birdNear = 0;
  Update();
  EXPECT_EQ(hunter->alarm, 298u);
  map->birdNear = 1;
  Update();
  EXPECT_EQ(hunter->alarm, 298u + 100 - 1);
}

TEST_F(HunterTest, LevelsDecayAndAreClampedToTheirFloorsAndTo1000) {
  Update();
  hunter->alarm = 1200;  // additions apply at once and can pass 1000 until the next update
  hunter->attraction = 995;
  hunter->callCount1 = 20;
  hunter->callCount2 = 20;
  Update();
  EXPECT_EQ(hunter->alarm, 1000u);
  EXPECT_EQ(hunter->attraction, 1000u);
  hunter->callCount1 = hunter->callCount2 = 0;
  Update();
  EXPECT_EQ(hunter->alarm, 999u);
  EXPECT_EQ(hunter->attraction, 999u);
  hunter->alarm = 150;  // below the floor: no decay, clamped up
  hunter->attraction = 0;
  Update();
  EXPECT_EQ(hunter->alarm, 200u);
  EXPECT_EQ(hunter->attraction, 100u);
  Update();
  EXPECT_EQ(hunter->alarm, 200u);  // at the floor the decay is undone by the clamp
}

TEST_F(HunterTest, TheGunsOperationsNeedAGunAndRaiseTheAlarm) {
  Update();
  EXPECT_EQ(hunter->RaiseWeapon(), 0);
  EXPECT_EQ(hunter->Fire(), 0);
  EXPECT_EQ(hunter->alarm, 200u);

  EXPECT_EQ(hunter->EquipShotgun(), 1);
  ZShotgun* gun = hunter->GetWeapon();
  ASSERT_NE(gun, nullptr);
  EXPECT_EQ(gun->state, ZHuntingWeapon::Down);
  EXPECT_EQ(hunter->RaiseWeapon(), 1);
  EXPECT_EQ(hunter->alarm, 250u);
  EXPECT_EQ(hunter->WeaponDown(), 0);
  for (int i = 0; i < 19; ++i) gun->Step();
  EXPECT_EQ(hunter->WeaponAiming(), 1);
  EXPECT_EQ(hunter->Fire(), 1);
  EXPECT_EQ(hunter->alarm, 1000u);  // raise and shot from the floor: every bird within 2000 spooks
  EXPECT_EQ(gun->shellsFired, 1);
}

}  // namespace
