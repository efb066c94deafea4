// The help page played through the headless backend: F1 from the title, the setup dialog and a hunt,
// reading it mid-hunt changing nothing of the hunt, F1 at awkward moments, and the first hunt's
// introduction.
#include "game/help_page.h"
#include "platform/profile.h"
#include "tests/scenarios/hunt_scenario.h"
#include "tests/scenarios/menu_scenario.h"

namespace {

using huntscenario::G;
using huntscenario::Played;

class HelpScenario : public huntscenario::HuntScenario {
 protected:
  // Plays the script and notes, by ms, whether the page was up.
  Played PlayWatched(const std::string& text, const std::function<void(G&, uint32_t)>& poke = nullptr) {
    open.clear();
    return Play(text, [&](G& game, uint32_t ms) {
      if (poke) poke(game, ms);
      if (open.size() <= ms) open.resize(ms + 1, false);
      open[ms] = game.HelpOpen() != 0;
    });
  }
  bool OpenAt(uint32_t ms) const { return ms < open.size() && open[ms]; }
  std::vector<bool> open;
};

TEST_F(HelpScenario, F1OnTheTitleShowsThePageAndAKeyBringsTheTitleBack) {
  Played p = PlayWatched("wait 700\nkey F1\nwait 300\nkey Space\nwait 300\n");
  EXPECT_TRUE(OpenAt(720));
  EXPECT_TRUE(OpenAt(999));
  EXPECT_FALSE(OpenAt(1010));
  EXPECT_EQ(p.at[720].state, G::Inactive);
  const std::vector<std::string> tail = {"MainMenu", "Inactive", "MainMenu"};
  EXPECT_EQ(std::vector<std::string>(p.states.end() - 3, p.states.end()), tail);
  EXPECT_EQ(Starts(150, 1000), 1);  // the title is built again, as after a switch to another window
}

TEST_F(HelpScenario, OverTheSetupDialogThePageLeavesTheDialogAsThePlayerLeftIt) {
  std::string name;
  int32_t area = -1;
  bool running = false;
  int32_t dialogs = 0;
  int32_t covered = -1;  // pixels of the name field's place that do not show the page
  ZHuntSetupDialog* last = nullptr;
  // Ann typed with the name field holding the keyboard, and the page opened over it (850 to 1050,
  // closed by Enter, whose release is the dialog's OK); the third hunt picked, and the page again
  // (1260 to 1460, closed by Esc, whose release is Cancel); at 1700 the dialog is looked at, then
  // cancelled with Esc.
  Played p = PlayWatched(scenario::kOpenDialog + scenario::kOverName + "wait 20\ntype Ann\nwait 20\nkey F1\n"
                             "wait 200\nkey Enter\nwait 100\n" + scenario::kOverArea[2] + "wait 10\nclick left\n"
                             "wait 50\nkey F1\nwait 200\nkey Escape\nwait 300\nkey Escape\nwait 200\n",
                         [&](G& game, uint32_t ms) {
                           ZHuntSetupDialog* d = game.setupDialog;
                           if (d != nullptr && d != last) ++dialogs;
                           last = d;
                           if (ms == 1000 && game.HelpOpen() != 0) {
                             // The field gave up the keyboard under the page and drew nothing over it.
                             covered = 0;
                             platform::Surface* front = game.graphics->GetFrontSurface()->GetSurface2();
                             platform::Surface* page = game.helpPage->background->GetSurface2();
                             platform::Rect field = ZHuntSetupDialog::kNameRect;
                             platform::OffsetRect(&field, d->GetWindowRect().left, d->GetWindowRect().top);
                             for (int32_t y = field.top; y < field.bottom; ++y)
                               for (int32_t x = field.left; x < field.right; ++x) covered += front->Pixel(x, y) != page->Pixel(x, y);
                           }
                           if (ms != 1700 || d == nullptr) return;
                           running = d->running == 1;
                           name = d->nameEdit->GetWindowText();
                           for (int i = 0; i < 5; ++i) {
                             if (d->areaButtons[static_cast<size_t>(i)]->checked != 0) area = i;
                           }
                         });
  EXPECT_TRUE(OpenAt(1000));
  EXPECT_FALSE(OpenAt(1100));
  EXPECT_TRUE(OpenAt(1300));
  EXPECT_FALSE(OpenAt(1700));
  EXPECT_EQ(covered, 0);
  EXPECT_TRUE(running);
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(name, "Ann");
  EXPECT_EQ(area, 2);
  EXPECT_EQ(Entered("Inactive"), 0);  // the screen under a dialog is never left
  EXPECT_EQ(p.states.back(), "MainMenu");
  EXPECT_FALSE(std::filesystem::exists(dir / "Brackwen Interactive"));  // nothing confirmed, nothing saved
}

// Reading the page mid-hunt is a switch to another window and back: with the same seed and the same
// input at the same moments, the hunt bags the same bird through the same states as one where the
// application lost the focus and got it back. (The replay's clock moves with each message, so the
// two runs hand the game as many messages at the same moments: a key press is two, as the two
// top-level windows' activation messages are.)
TEST_F(HelpScenario, AHuntWithThePageReadMidCallingIsTheHuntWithASwitchAwayAtTheSameMoments) {
  const std::string hunt = ReadScript("whole_hunt.txt");
  const std::string mark = "move 400 300\nwait 2400\n";
  const size_t first = hunt.find(mark);
  ASSERT_NE(first, std::string::npos);
  const size_t second = hunt.find(mark, first + 1);
  ASSERT_NE(second, std::string::npos);
  // After the second round of calls: away half a second, then on with the hunt.
  auto around = [&](const std::string& away, const std::string& back) {
    return hunt.substr(0, second) + "move 400 300\nwait 600\n" + away + "\nwait 500\n" + back + "\nwait 1300\n" +
           hunt.substr(second + mark.size());
  };
  Played switched = PlayWatched(around("deactivate", "activate"));
  const std::vector<bool> openSwitched = open;
  Played read = PlayWatched(around("key F1", "key Space"));

  size_t dumps = 0;
  for (size_t at = hunt.find("\ndump"); at != std::string::npos; at = hunt.find("\ndump", at + 1)) ++dumps;
  ASSERT_EQ(read.result.dumps.size(), dumps);
  EXPECT_EQ(read.result.dumps, switched.result.dumps);
  EXPECT_EQ(read.result.stateLines, switched.result.stateLines);
  EXPECT_EQ(read.states.back(), "TrophyRoom");  // the bird was bagged in both
  const uint32_t away = read.First([](const huntscenario::Moment& m) { return m.state == G::Inactive; });
  ASSERT_GT(away, 0u);
  EXPECT_TRUE(OpenAt(away + 10));
  EXPECT_FALSE(openSwitched.at(away + 10));
  EXPECT_EQ(switched.at[away + 10].state, G::Inactive);
}

TEST_F(HelpScenario, F1AtEveryAwkwardMomentOfAHuntLeavesAHuntThatGoesOn) {
  // During the start-up wait (too early for a page: the key only cuts the wait short); during the
  // gun's raise; with a shot just fired; during the reload after four shots; four times running (the
  // second in the same moment as the first, when the hunt has the keys: the page is already on its
  // way); and a page that goes because the application loses the focus, the hunt coming back on
  // activation.
  const std::string fire = "click left\nwait 1500\n";
  const std::string script =
      "wait 100\nkey F1\nwait 600\n" + huntscenario::EnterHunt(1) +
      "move 325 452\nwait 10\nclick left\nwait 100\nkey F1\nwait 200\nkey F1\nwait 300\n" + huntscenario::kRaise +
      "press left\nwait 1\nkey F1\nwait 100\nrelease left\nkey Space\nwait 300\n" + huntscenario::kRaise + fire +
      fire + fire + fire + "wait 1000\nkey F1\nwait 200\nkey F1\nwait 300\n" +
      "key F1\nkey F1\nwait 10\nkey F1\nwait 10\nkey F1\nwait 100\n" +
      "deactivate\nwait 200\nactivate\nwait 800\n";
  const ZTurkey* firstBird = nullptr;
  bool sameBirds = true;
  Played p = PlayWatched(script, [&](G& game, uint32_t) {
    if (game.map == nullptr || game.map->birds.empty()) return;
    if (firstBird == nullptr) firstBird = game.map->birds[0].get();
    sameBirds = sameBirds && game.map->birds[0].get() == firstBird;
  });
  EXPECT_TRUE(p.result.problems.empty());
  EXPECT_LT(p.First([](const huntscenario::Moment& m) { return m.state == G::MainMenu; }), 200u);
  std::vector<uint32_t> opened;
  for (uint32_t ms = 1; ms < open.size(); ++ms) {
    if (open[ms] && !open[ms - 1]) opened.push_back(ms);
  }
  ASSERT_EQ(opened.size(), 5u);
  EXPECT_GT(opened[0], 900u);  // nothing during the start
  // What the gun was doing just before each page: raising, firing, reloading.
  EXPECT_EQ(p.at[opened[0] - 1].gun, ZHuntingWeapon::Raising);
  EXPECT_EQ(p.at[opened[1] - 1].shells, 1);
  EXPECT_NE(p.at[opened[1] - 1].gun, ZHuntingWeapon::Aiming);
  EXPECT_LT(p.at[opened[2] - 1].shells, 0);
  // After each page, the same hunt with the gun down; the last page went with the focus, and the
  // activation brought the hunt back.
  for (uint32_t at : opened) EXPECT_EQ(p.at[at].state, G::Inactive) << at;
  const uint32_t away = p.First([](const huntscenario::Moment& m) { return m.state == G::Hunting; }, opened[4]);
  EXPECT_GE(away, opened[4] + 300);  // the last page stayed up until the focus went
  EXPECT_TRUE(OpenAt(opened[4] + 90));
  EXPECT_FALSE(OpenAt(opened[4] + 110));
  const huntscenario::Moment& end = p.at.at(p.result.endMs - 50);  // before the window closes
  EXPECT_EQ(end.state, G::Hunting);
  EXPECT_EQ(end.gun, ZHuntingWeapon::Down);
  EXPECT_FALSE(end.aimDown);
  EXPECT_TRUE(end.cursorShown);
  EXPECT_TRUE(sameBirds);
  EXPECT_EQ(Entered("TrophyRoom"), 0);
}

// --- the first hunt's introduction ---

TEST_F(HelpScenario, ANewProfilesFirstHuntOpensWithThePageOnceAndNeverAgain) {
  introduced = false;
  const std::string twoHunts = "wait 700\n" + huntscenario::EnterHunt(2) + "wait 300\nclick left\nwait 300\n" +
                               "key Escape\nwait 200\n" + huntscenario::EnterHunt(2) + "wait 300\n";
  Played p = PlayWatched(twoHunts);
  // OK, then the page before anything of the hunt; the click that closes it starts the hunt.
  const std::vector<std::string> first = {"MainMenu", "Inactive", "EnteringHunt", "Hunting", "MainMenu",
                                          "EnteringHunt", "Hunting"};
  EXPECT_EQ(std::vector<std::string>(p.states.end() - 7, p.states.end()), first);
  std::vector<uint32_t> opened;
  for (uint32_t ms = 1; ms < open.size(); ++ms) {
    if (open[ms] && !open[ms - 1]) opened.push_back(ms);
  }
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(p.at[opened[0]].state, G::Inactive);
  EXPECT_EQ(platform::GetProfileInt("Help", "FirstHuntIntroduced", 0), 1);
  // The designed keys are as the setup dialog's OK wrote them.
  EXPECT_EQ(platform::GetProfileInt("Settings", "Map", -1), 2);
  EXPECT_EQ(platform::GetProfileString("Settings", "Name", ""), "Field Scout");

  // The program started again with the same profile: straight into the hunt.
  p = PlayWatched("wait 700\n" + huntscenario::EnterHunt(2) + "wait 300\n");
  EXPECT_EQ(Entered("Inactive"), 0);
  EXPECT_EQ(p.states.back(), "Hunting");
}

TEST_F(HelpScenario, ADamagedIntroductionEntryShowsThePageOnceMoreAndIsMadeGood) {
  introduced = false;
  platform::SetApplicationName("brushfeather");  // the profile's folder, as the game names it
  for (const char* damaged : {"yes", "", "-", "99999999999999", "1x"}) {
    SCOPED_TRACE(damaged);
    ASSERT_TRUE(platform::WriteProfileString("Help", "FirstHuntIntroduced", damaged));
    Played p = PlayWatched("wait 700\n" + huntscenario::EnterHunt(0) + "wait 200\nkey Enter\nwait 300\n");
    EXPECT_EQ(Entered("Inactive"), 1);
    EXPECT_EQ(p.states.back(), "Hunting");
    EXPECT_EQ(platform::GetProfileString("Help", "FirstHuntIntroduced", ""), "1");
  }
  // Any number that reads is an introduction had.
  ASSERT_TRUE(platform::WriteProfileString("Help", "FirstHuntIntroduced", "7"));
  Played p = PlayWatched("wait 700\n" + huntscenario::EnterHunt(0) + "wait 300\n");
  EXPECT_EQ(Entered("Inactive"), 0);
  EXPECT_EQ(p.states.back(), "Hunting");
}

}  // namespace
