// A hunting map and hunter on a manual clock without a game, and helpers that read the random generator.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/turkey.h"
#include "game/turkey_game.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/rand.h"

namespace simtest {

// The first `count` draws after srand(seed).
inline std::vector<int> Draws(uint32_t seed, int count) {
  platform::srand(seed);
  std::vector<int> out;
  for (int i = 0; i < count; ++i) out.push_back(platform::rand());
  return out;
}

// A seed whose first draws satisfy `want`; fails the test when none below a million does.
inline uint32_t SeedWhere(int count, const std::function<bool(const std::vector<int>&)>& want) {
  for (uint32_t seed = 1; seed < 1000000; ++seed) {
    if (want(Draws(seed, count))) return seed;
  }
  ADD_FAILURE() << "no seed found";
  return 1;
}

// How many draws `work` took from the generator seeded with `seed` (found by where the generator
// stands afterwards: the next three draws, looked up in the seeded sequence).
inline int DrawsTaken(uint32_t seed, const std::function<void()>& work) {
  platform::srand(seed);
  work();
  const int a = platform::rand(), b = platform::rand(), c = platform::rand();
  const std::vector<int> seq = Draws(seed, 5003);
  for (int k = 0; k + 2 < static_cast<int>(seq.size()); ++k) {
    if (seq[k] == a && seq[k + 1] == b && seq[k + 2] == c) return k;
  }
  return -1;
}

class SimFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(theGame, nullptr);  // the birds here run without a game: no pictures, no sound
    backend = std::make_unique<platform::HeadlessBackend>(10000, 1);
    platform::SetBackend(backend.get());
    hunter = std::make_unique<ZHunter>(nullptr, nullptr);
    map = std::make_unique<ZHuntingMap>(nullptr, hunter.get());
    hunter->map = map.get();
    hunter->position = ZPoint(2500, 2500);
    hunter->Reset();
    map->watchDirection = ZVector(0, 1);
  }
  void TearDown() override {
    map.reset();
    hunter.reset();
    platform::SetBackend(nullptr);
    backend.reset();
  }
  // A bird of the map at (x, y), settled in `state`, its clock read.
  ZTurkey* Bird(double x, double y, int32_t state = ZTurkey::Standing) {
    map->birds.push_back(std::make_unique<ZTurkey>(map.get()));
    ZTurkey* b = map->birds.back().get();
    b->position = ZPoint(x, y);
    b->target = b->position;
    b->state = b->nextState = state;
    b->now = platform::timeGetTime();
    return b;
  }
  void Special(int32_t type, double x, double y) { map->specials.push_back(std::make_unique<ZMapItem>(type, x, y)); }

  std::unique_ptr<platform::HeadlessBackend> backend;
  std::unique_ptr<ZHunter> hunter;
  std::unique_ptr<ZHuntingMap> map;
};

}  // namespace simtest
