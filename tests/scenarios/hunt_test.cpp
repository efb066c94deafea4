// Hunts played through the headless backend: a whole hunt to a bagged bird, the gun's keys, a reload,
// leaving the application and coming back, and every hunt entered.
#include "tests/scenarios/hunt_scenario.h"

namespace {

using huntscenario::G;
using huntscenario::HuntScenario;
using huntscenario::kRaise;
using huntscenario::Moment;
using huntscenario::Played;

TEST_F(HuntScenario, AWholeHuntCallsABirdInAndBagsItOnceItsFallHasBeenShown) {
  Played p = Play(ReadScript("whole_hunt.txt"));
  EXPECT_TRUE(p.result.problems.empty());
  const std::vector<std::string> tail = {"MainMenu", "EnteringHunt", "Hunting", "TrophyRoom"};
  ASSERT_GE(p.states.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(p.states.begin() + 3, p.states.begin() + 7), tail);
  // Five rounds of calls: their sounds, and birds that answer by walking in.
  EXPECT_EQ(Starts(153, 0, 20000), 15);
  EXPECT_EQ(Starts(154, 0, 20000), 10);
  EXPECT_NE(p.First([](const Moment& m) { return m.answering; }), 0u);
  // The aim button raises the gun and takes the cursor: hidden, held in the view.
  const uint32_t ready = p.First([](const Moment& m) { return m.gun == ZHuntingWeapon::Aiming; });
  ASSERT_GT(ready, 0u);
  EXPECT_TRUE(p.at[ready].aimDown);
  EXPECT_FALSE(p.at[ready].cursorShown);
  EXPECT_TRUE(p.at[ready].confined);
  EXPECT_EQ(p.at[ready].scrollX, 1600);
  // One shot, with the view turned onto the bird by the mouse (139 left and 82 down of the centre).
  const uint32_t hit = p.First([](const Moment& m) { return m.bagged >= 0; });
  ASSERT_GT(hit, ready);
  EXPECT_EQ(Starts(138), 1);
  EXPECT_EQ(p.at[hit].scrollX, 1600 - 139);
  EXPECT_EQ(p.at[hit].scrollY, 188 + 82);
  EXPECT_EQ(p.at[hit].dying, p.at[hit].bagged);
  // The fall is shown for at least five seconds, and then the game goes to the trophy room.
  const uint32_t trophy = p.First([](const Moment& m) { return m.state == G::TrophyRoom; });
  ASSERT_GT(trophy, hit + 5000);
  EXPECT_EQ(p.at[trophy - 1].state, G::Hunting);
  EXPECT_EQ(p.at[trophy].bagged, p.at[hit].bagged);
  // The dumps tell the story: ten birds, the hunter, the gun, the view.
  ASSERT_EQ(p.result.dumps.size(), 5u);
  const std::vector<std::string>& shot = p.result.dumps[3];
  ASSERT_EQ(shot.size(), 13u);
  EXPECT_EQ(shot[8], "bird 8 state 4 next 4 facing 2 x 7381.17 y 2834.51 weight 13 near 1");
  EXPECT_EQ(shot[10], "hunter alarm 998 attraction 903");
  EXPECT_EQ(shot[11], "weapon state 6 shells 1");
  EXPECT_EQ(shot[12], "view 1461 270");
  EXPECT_EQ(p.result.dumps[4][11], "weapon none");  // the hunt is over
}

TEST_F(HuntScenario, EscapeLowersAReadyGunAndASecondEscapeReturnsToTheMenu) {
  // The first Escape comes while the gun is still coming up: it does nothing.
  Played p = Play("wait 700\n" + huntscenario::EnterHunt(1) + "move 325 452\nwait 10\nclick left\nwait 200\n" +
                  "key Escape\nwait 800\nkey Escape\nwait 1000\nkey Escape\nwait 300\n");
  const uint32_t aim = p.First([](const Moment& m) { return m.aimDown; });
  ASSERT_GT(aim, 0u);
  EXPECT_EQ(p.at[aim + 250].gun, ZHuntingWeapon::Raising);
  EXPECT_TRUE(p.at[aim + 250].aimDown);
  const uint32_t lowered = p.First([](const Moment& m) { return m.gun == ZHuntingWeapon::Lowering; }, aim);
  ASSERT_GT(lowered, aim + 900);
  EXPECT_FALSE(p.at[lowered].aimDown);
  EXPECT_TRUE(p.at[lowered].cursorShown);
  EXPECT_FALSE(p.at[lowered].confined);
  EXPECT_EQ(p.at[lowered + 900].gun, ZHuntingWeapon::Down);
  EXPECT_EQ(p.at[lowered + 900].state, G::Hunting);
  EXPECT_EQ(p.states.back(), "MainMenu");
  EXPECT_EQ(Entered("Hunting"), 1);
}

TEST_F(HuntScenario, FourShotsThenTheGunGoesDownAndReloadsAShellASecond) {
  std::string script = "wait 700\n" + huntscenario::EnterHunt(1) + kRaise;
  for (int i = 0; i < 5; ++i) script += "click left\nwait 1500\n";  // the fifth comes while reloading
  Played p = Play(script + "wait 6000\n");
  const uint32_t fourth = p.First([](const Moment& m) { return m.shells == 4; });
  ASSERT_GT(fourth, 0u);
  EXPECT_EQ(Starts(138), 4);
  const uint32_t reloading = p.First([](const Moment& m) { return m.shells == -4; }, fourth);
  const uint32_t loaded = p.First([](const Moment& m) { return m.shells == 0; }, reloading);
  const uint32_t ready = p.First([](const Moment& m) { return m.gun == ZHuntingWeapon::Aiming; }, loaded);
  ASSERT_GT(reloading, 0u);
  ASSERT_GT(ready, 0u);
  // A shell a second, a second more, then the raise: a little over five seconds.
  EXPECT_EQ(Starts(139, reloading, loaded + 1), 4);
  EXPECT_GE(ready - reloading, 5000u);
  EXPECT_LE(ready - reloading, 6500u);
  EXPECT_TRUE(p.at[ready].aimDown);
}

TEST_F(HuntScenario, LeavingTheApplicationMidHuntResumesTheSameHuntThroughEnteringHunt) {
  const ZTurkey* firstBird = nullptr;
  const void* areaMap = nullptr;
  bool sameArt = true, sameBirds = true, hadPanorama = false;
  Played p = Play("wait 700\n" + huntscenario::EnterHunt(3) + kRaise + "deactivate\nwait 500\nactivate\nwait 1000\n",
                  [&](G& game, uint32_t) {
                    if (game.map == nullptr || (game.state != G::Hunting && game.state != G::Inactive)) return;
                    if (firstBird == nullptr) {
                      firstBird = game.map->birds.at(0).get();
                      areaMap = game.areaSpriteMap.get();
                    }
                    sameBirds = sameBirds && game.map->birds.at(0).get() == firstBird;
                    sameArt = sameArt && game.areaSpriteMap.get() == areaMap;
                    hadPanorama = game.state == G::Hunting && game.huntingWindow->backgroundSurface != nullptr;
                  });
  const std::vector<std::string> tail = {"Hunting", "Inactive", "EnteringHunt", "Hunting"};
  ASSERT_GE(p.states.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(p.states.end() - 4, p.states.end()), tail);
  EXPECT_TRUE(sameBirds);
  EXPECT_TRUE(sameArt);
  EXPECT_TRUE(hadPanorama);  // read again from the area's library
  // While away the cursor is the system's again; back in the hunt the gun starts down.
  const uint32_t away = p.First([](const Moment& m) { return m.state == G::Inactive; });
  EXPECT_TRUE(p.at[away].cursorShown);
  EXPECT_FALSE(p.at[away].confined);
  const Moment& back = p.at.at(p.at.size() - 10);
  EXPECT_EQ(back.state, G::Hunting);
  EXPECT_EQ(back.gun, ZHuntingWeapon::Down);
  EXPECT_FALSE(back.aimDown);
}

TEST_F(HuntScenario, EveryHuntCanBeEnteredAndLeftAHundredTimes) {
  std::string script = "wait 700\n";
  for (int i = 0; i < 100; ++i) script += huntscenario::EnterHunt(i % 5) + "wait 100\nkey Escape\nwait 100\n";
  std::vector<int32_t> areas;
  std::vector<uint64_t> hashes;
  uint32_t since = 0;
  Played p = Play(script, [&](G& game, uint32_t ms) {
    if (game.state != G::Hunting) {
      since = 0;
      return;
    }
    if (since == 0) since = ms;
    // The first hunt of each kind, a few frames in.
    if (ms != since + 100 || areas.size() >= 5) return;
    areas.push_back(game.areaIndex);
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : backend->FramePixels()) h = (h ^ b) * 1099511628211ull;
    hashes.push_back(h);
  });
  EXPECT_EQ(Entered("Hunting"), 100);
  EXPECT_EQ(p.states.back(), "MainMenu");
  EXPECT_EQ(areas, (std::vector<int32_t>{0, 1, 2, 3, 4}));
  for (size_t i = 1; i < hashes.size(); ++i) EXPECT_NE(hashes[i], hashes[i - 1]);
  EXPECT_TRUE(p.at.back().cursorShown);
}

}  // namespace
