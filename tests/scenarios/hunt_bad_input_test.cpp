// Damaged hunt input played end to end: map files of every bad shape, birds without art, area art missing.
#include <cmath>
#include <cstring>
#include <limits>

#include "framework/graphics/scaled_sprite.h"
#include "framework/graphics/sprite_map.h"
#include "platform/module.h"
#include "tests/scenarios/hunt_scenario.h"

namespace {

using huntscenario::G;
using huntscenario::HuntScenario;
using huntscenario::Played;

class HuntBadInput : public HuntScenario {
 protected:
  // A map file of `records` items of type 0, placed by `place`.
  static std::vector<uint8_t> MapFile(size_t records, const std::function<void(size_t, float*, float*)>& place) {
    std::vector<uint8_t> bytes(20 + records * 12, 0);
    for (size_t i = 0; i < records; ++i) {
      float x = 7000.0f, y = 3000.0f;
      place(i, &x, &y);
      std::memcpy(&bytes[20 + i * 12 + 4], &x, 4);
      std::memcpy(&bytes[20 + i * 12 + 8], &y, 4);
    }
    return bytes;
  }
  // Hunt 1 (Gould's turkeys, from "map3.dll") entered, watched for three seconds and left; then hunt 2
  // ("map2.dll") entered, so the game is seen to go on. Counts what the first hunt had.
  Played HuntTwice(const std::function<void(G&, uint32_t)>& poke = nullptr, bool firstRuns = true) {
    // Escape leaves a running hunt; in the menu it would end the program.
    return Play("wait 700\n" + huntscenario::EnterHunt(1) + "wait 3000\n" + (firstRuns ? "key Escape\n" : "") + "wait 100\n" +
                    huntscenario::EnterHunt(2) + "wait 1000\n",
                [&](G& game, uint32_t ms) {
                  if (poke) poke(game, ms);
                  if (game.state != G::Hunting || game.areaIndex != 1 || game.map == nullptr) return;
                  items = game.map->items.size() + game.map->specials.size();
                  birds = game.map->birds.size();
                  for (const auto& b : game.map->birds) {
                    birdPictures += b->GetSprite() != nullptr && b->GetSprite()->GetFrameCount() > 0 ? 1 : 0;
                  }
                });
  }
  // Both hunts ran and the player is in the second one.
  void BothHuntsRan(const Played& p) const {
    EXPECT_EQ(Entered("Hunting"), 2);
    EXPECT_EQ(p.states.back(), "Hunting");
    EXPECT_TRUE(p.result.problems.empty());
  }

  size_t items = 0, birds = 0, birdPictures = 0;
};

TEST_F(HuntBadInput, MapFilesOfEveryBadShapeGiveAHuntThatRuns) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    size_t items;
  };
  std::vector<Case> cases = {
      {"empty", {}, 0},
      {"shorter than its header", std::vector<uint8_t>(10, 0), 0},
      {"cut inside its third record", MapFile(3, [](size_t, float*, float*) {}), 2},
      {"many megabytes", MapFile(700000, [](size_t i, float* x, float*) { *x = 2000.0f + static_cast<float>(i % 6000); }),
       ZHuntingMap::kMaxItems},
      {"not a number, infinite and huge",
       MapFile(6, [&](size_t i, float* x, float* y) {
         const float bad[6] = {nan, inf, -inf, 3.0e38f, -3.0e38f, 1.0e30f};
         (i % 2 == 0 ? *x : *y) = bad[i];
       }),
       3},
  };
  cases[2].bytes.resize(cases[2].bytes.size() - 7);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Write("map1.map", c.bytes);
    items = birds = birdPictures = 0;
    Played p = HuntTwice();
    BothHuntsRan(p);
    EXPECT_EQ(items, c.items);
    EXPECT_EQ(birds, 10u);
  }
}

TEST_F(HuntBadInput, AMissingMapFileGivesAHuntWithoutBirdsAndSaysSo) {
  Played p = HuntTwice([&](G& game, uint32_t ms) {
    if (ms == 600) game.map->mapFileName = (dir / "nowhere" / "map1.map").string();
  });
  BothHuntsRan(p);
  EXPECT_EQ(birds, 0u);
  EXPECT_NE(said.find("map1.map"), std::string::npos) << said;
}

TEST_F(HuntBadInput, BirdsWithoutArtStillLiveTheirHunt) {
  Write("goblers.dll", std::vector<uint8_t>(40, 0));
  bool near = false;
  Played p = HuntTwice([&](G& game, uint32_t) {
    // One bird held 300 units in front of the stand, where it would be drawn.
    if (game.state != G::Hunting || game.areaIndex != 1 || game.map == nullptr) return;
    ZTurkey* b = game.map->birds.at(0).get();
    b->position = ZPoint(game.hunter->position.x, game.hunter->position.y + 300.0);
    near = near || b->near != 0;
  });
  BothHuntsRan(p);
  EXPECT_EQ(birds, 10u);
  EXPECT_TRUE(near);
  EXPECT_EQ(birdPictures, 0u);
}

TEST_F(HuntBadInput, AHuntWhoseAreaArtIsMissingDoesNotStartAndTheGameGoesOn) {
  const std::vector<uint8_t> good = scenario::ReadArt("map3.dll");
  auto module = platform::Module::FromMemory(good.data(), good.size());
  platform::HRSRC map = module->Find(151, "SPRITEMAP");
  ASSERT_NE(map, nullptr);
  const size_t at = static_cast<size_t>(map->data - good.data());
  std::vector<uint8_t> noMap = good, tooTall = good;
  // The type's name, "SPRITEMAP" in UTF-16, made another: the library keeps its panorama only.
  const char16_t name[] = u"SPRITEMAP";
  auto found = std::search(noMap.begin(), noMap.end(), reinterpret_cast<const uint8_t*>(name),
                           reinterpret_cast<const uint8_t*>(name) + 18);
  ASSERT_NE(found, noMap.end());
  found[16] = 'Q';
  for (size_t k = 0; k < 4; ++k) tooTall[at + 36 + k] = k == 3 ? 0x40 : 0;  // no surface is that tall
  const std::pair<const char*, std::vector<uint8_t>> cases[] = {
      {"not a library", std::vector<uint8_t>(good.begin(), good.begin() + 300)},
      {"without its sprite map", noMap},
      {"with an absurd sprite map", tooTall},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    Write("map3.dll", bytes);
    Played p = HuntTwice(nullptr, false);
    // Hunt 1 goes back to the menu without a word; hunt 2 runs.
    const std::vector<std::string> expected = {"MainMenu", "EnteringHunt", "MainMenu", "EnteringHunt", "Hunting"};
    ASSERT_GE(p.states.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(p.states.end() - 5, p.states.end()), expected);
    EXPECT_TRUE(backend->MessageBoxes().empty());
    EXPECT_NE(said.find("back to the menu"), std::string::npos) << said;
    EXPECT_TRUE(p.at[1500].cursorShown);
  }
}

}  // namespace
