// ZHuntingMap: the map file reader (its damaged inputs are the scenarios'), starting a hunt, the
// time scale and the nearest bird. The same hunt from the same seed is what every replay relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "framework/core/data.h"
#include "framework/graphics/sprite.h"
#include "tests/game/sim_fixture.h"

namespace {

using simtest::Draws;

struct Record {
  int32_t type;
  float x, y;
};

std::vector<uint8_t> MapBytes(const std::vector<Record>& records, size_t extra = 0) {
  std::vector<uint8_t> out(20, 0xAB);  // the header is ignored, whatever it holds
  for (const Record& r : records) {
    uint8_t b[12];
    std::memcpy(b, &r.type, 4);
    std::memcpy(b + 4, &r.x, 4);
    std::memcpy(b + 8, &r.y, 4);
    out.insert(out.end(), b, b + 12);
  }
  out.insert(out.end(), extra, 0x11);
  return out;
}

class HuntingMapTest : public simtest::SimFixture {
 protected:
  int32_t Read(const std::vector<uint8_t>& bytes) {
    CMemFile file(bytes.data(), bytes.size());
    return map->ReadItems(&file);
  }
};

TEST_F(HuntingMapTest, RecordsFollowTheHeaderToTheEndAndSpecialsGoToTheirOwnList) {
  const std::vector<Record> records = {{5, 100, 200}, {18, 1, 2}, {4, 300, 400}, {20, 3, 4},
                                       {19, 5, 6},    {-7, 7, 8}, {18, 9, 10}};
  ASSERT_EQ(Read(MapBytes(records, 5)), 1);  // a record cut short at the end is ignored
  ASSERT_EQ(map->items.size(), 3u);
  EXPECT_EQ(map->items[0]->type, 5);
  EXPECT_EQ(map->items[0]->position.x, 100.0);
  EXPECT_EQ(map->items[0]->position.y, 200.0);
  EXPECT_EQ(map->items[1]->type, 4);
  EXPECT_EQ(map->items[2]->type, -7);
  ASSERT_EQ(map->specials.size(), 4u);
  const int32_t order[] = {18, 20, 19, 18};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(map->specials[i]->type, order[i]);
  EXPECT_EQ(map->specials[3]->position.y, 10.0);
}

TEST_F(HuntingMapTest, AHuntMakesTenBirdsFarFromTheHunterWithWeightsFromTheDivisor) {
  hunter->position = ZPoint(5000, 5000);
  hunter->alarm = 640;
  map->subspecies = 3;
  map->watchDirection = ZVector(0, 0);
  // The seed's draws, replayed: each bird takes its weight, then places until 2000 units away.
  const uint32_t seed = simtest::SeedWhere(1, [](const std::vector<int>& v) { return v[0] % 66 == 0; });
  const std::vector<int> v = Draws(seed, 400);
  platform::srand(seed);
  ASSERT_EQ(map->StartHunt(1), 1);  // the map file of the run directory
  EXPECT_GT(map->items.size(), 100u);
  EXPECT_GT(map->specials.size(), 5u);
  ASSERT_EQ(map->birds.size(), 10u);
  size_t k = 0;
  for (const auto& b : map->birds) {
    EXPECT_EQ(b->weight, 1000 / (v[k++] % 66 + 33));
    double x = 0, y = 0;
    do {
      y = 1000 + v[k++] % 8000;
      x = 1000 + v[k++] % 8000;
    } while (std::hypot(x - 5000, y - 5000) < 2000);
    EXPECT_EQ(b->position.x, x);
    EXPECT_EQ(b->position.y, y);
    EXPECT_EQ(b->subspecies, 3);
    EXPECT_EQ(b->nextState, ZTurkey::Walking);
  }
  EXPECT_EQ(map->birds[0]->weight, 30);  // the seed's first draw gives the divisor's low end, 33
  EXPECT_EQ(hunter->alarm, 0u);          // reset
  EXPECT_EQ(map->watchDirection.y, 1.0);
}

TEST_F(HuntingMapTest, TheHuntRunsInRealTimeOnlyWhileABirdIsWithin1000) {
  // Dying birds stand still, which lets the distance be set exactly.
  ZTurkey* b = Bird(2500, 3499, ZTurkey::Dying);
  Bird(9000, 9000, ZTurkey::Dying);
  map->frameTime = platform::timeGetTime();
  backend->Advance(5);
  map->Update(0);
  EXPECT_EQ(map->frameDelta, 5u);
  EXPECT_EQ(map->timeScale, 30.0);  // the bird becomes near in this update's sprite step
  EXPECT_EQ(b->near, 1);
  map->Update(0);
  EXPECT_EQ(map->timeScale, 1.0);
  EXPECT_EQ(map->birdNear, 1);
  b->position.y = 3500;  // leaves the circle
  map->Update(0);
  EXPECT_EQ(map->timeScale, 1.0);
  EXPECT_EQ(b->near, 0);
  map->Update(0);
  EXPECT_EQ(map->timeScale, 30.0);
  EXPECT_EQ(map->birdNear, 0);
}

TEST_F(HuntingMapTest, TheNearestBirdIsTheFirstOfTheNearestWithin100000) {
  EXPECT_EQ(map->NearestBird(), nullptr);
  ZTurkey* far = Bird(2500, 2500 + 99999.5);
  EXPECT_EQ(map->NearestBird(), far);
  ZTurkey* a = Bird(3500, 2500);
  ZTurkey* tie = Bird(1500, 2500);
  EXPECT_EQ(map->NearestBird(), a);
  tie->position.x = 1501;
  EXPECT_EQ(map->NearestBird(), tie);
  map->birds.clear();
  Bird(2500, 2500 + 100000);
  EXPECT_EQ(map->NearestBird(), nullptr);
  // Without pictures no shot can hit a bird; dropping sprites that do not exist is harmless.
  ZSprite struck;
  EXPECT_EQ(map->HitTest(&struck, 1, 1), 0);
  map->DropSprites();
}

}  // namespace
