// Closing the game's window at any moment, played through the headless backend: it ends cleanly.
#include <functional>
#include <sstream>
#include <tuple>
#include <string>

#include "framework/graphics/graphics.h"
#include "game/confirm_dialog.h"
#include "game/hunt_setup_dialog.h"
#include "game/trophy_room_wnd.h"
#include "platform/profile.h"
#include "tests/scenarios/hunt_scenario.h"

namespace {

using huntscenario::G;
namespace fs = std::filesystem;

// What the observer saw of a run that ends with the window closed.
struct Closed {
  replay::Result result;
  bool dialogUp = false;          // the hunt setup dialog's modal loop ran
  bool releasedUnderUse = false;  // the graphics system was gone while a dialog still ran
  int cleanups = 0;               // graphicsReady going from 1 to 0
  bool atClose = false;           // the screen's condition, the last time the game was seen open
  int32_t stateAtClose = -1;
  uint32_t closedAt = 0;          // script time at which the game knew its window was gone
};

class CloseScenario : public huntscenario::HuntScenario {
 protected:
  Closed PlayClosing(const std::string& text, const std::function<bool(const G&)>& there = nullptr) {
    Closed c;
    int32_t lastReady = 0;
    c.result = Run(text, [&](G& game, uint32_t ms) {
      if (game.closed != 0 && c.closedAt == 0) c.closedAt = ms;
      if (lastReady == 1 && game.graphicsReady == 0) ++c.cleanups;
      lastReady = game.graphicsReady;
      if (game.setupDialog != nullptr && game.setupDialog->running == 1) c.dialogUp = true;
      if (game.setupDialog != nullptr && game.graphics == nullptr) c.releasedUnderUse = true;
      if (game.closed == 0 && game.state != G::Exiting) {
        c.stateAtClose = game.state;
        c.atClose = there ? there(game) : true;
      }
    });
    return c;
  }
  bool ProfileWritten() const { return fs::exists(dir / "Brackwen Interactive"); }
};

// The shortest script the monkey soak found: the hunt button clicked, the script ends with the setup
// dialog up, and the driver's WM_DESTROY is dispatched inside the dialog's modal loop. The clean-up
// once ran right there, and the dialog then hid itself through the deleted graphics system.
TEST_F(CloseScenario, WindowDestroyedUnderTheSetupDialogReleasesNothingTheDialogStillUses) {
  Closed c = PlayClosing("seed 1\nwait 700\nmove 455 221\nwait 20\nclick left\nwait 200\n");
  EXPECT_TRUE(c.dialogUp);
  EXPECT_FALSE(c.releasedUnderUse);
  EXPECT_EQ(c.cleanups, 1);
  EXPECT_EQ(c.result.exitCode, 0);
  EXPECT_TRUE(c.result.problems.empty());
  EXPECT_FALSE(ProfileWritten());  // nothing was confirmed
}

// --- every screen, closed both ways ---

// The whole hunt of the hunting screen's scenarios, without its captures, up to the line `upTo`
// (not included); it bags a bird with its last shot.
std::string WholeHuntUpTo(const std::string& upTo) {
  const auto bytes = scenario::ReadBytes(fs::path(BF_SOURCE_DIR) / "tests/scenarios/whole_hunt.txt");
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string script;
  std::string previous;
  for (std::string line; std::getline(in, line);) {
    // The shot: the click after the dump taken on the bird.
    if (line == upTo && (upTo != "click left" || previous == "dump" )) break;
    if (line.rfind("capture", 0) != 0) script += line + "\n";
    if (!line.empty() && line[0] != '#') previous = line;
  }
  return script;
}

const ZShotgun* Gun(const G& g) { return g.hunter != nullptr ? g.hunter->GetWeapon() : nullptr; }

bool Playing(const G& g, int32_t id) {
  ZDXSoundBuffer* b = g.sound != nullptr ? g.sound->FindBuffer(id) : nullptr;
  uint32_t status = 0;
  return b != nullptr && b->buffer != nullptr && b->buffer->GetStatus(&status) == 0 &&
         (status & platform::DSBSTATUS_PLAYING) != 0;
}

// The hunt of Gould's turkeys (hunt 1), entered with the name left as it was.
const std::string kInHunt = "wait 700\n" + huntscenario::EnterHunt(1);

enum class Saved { Nothing, Settings, Trophy };

struct Screen {
  const char* name;
  std::string script;
  std::function<bool(const G&)> there;  // the screen is up at the moment of the close
  Saved saved;                          // what the profile holds afterwards
};

const Screen kScreens[] = {
    {"Start", "wait 200\n", [](const G& g) { return g.state == G::Starting; }, Saved::Nothing},
    {"Menu", "wait 800\n", [](const G& g) { return g.state == G::MainMenu && g.menuReady == 1; }, Saved::Nothing},
    // A name typed but not confirmed.
    {"SetupDialog", "wait 700\nmove 455 221\nwait 20\nclick left\nwait 40\ntype Ann\nwait 20\n",
     [](const G& g) { return g.setupDialog != nullptr && g.setupDialog->running == 1; }, Saved::Nothing},
    // The box call stroked: its sound is still playing.
    {"HuntCalling", kInHunt + "move 60 452\nwait 10\nclick left\nwait 30\n",
     [](const G& g) { return g.state == G::Hunting && Playing(g, 153); }, Saved::Settings},
    {"HuntAiming", kInHunt + huntscenario::kRaise,
     [](const G& g) { return Gun(g) != nullptr && Gun(g)->state == ZHuntingWeapon::Aiming; }, Saved::Settings},
    // Fired at the sky: the shot is traced outward frame by frame.
    {"HuntShotInFlight", kInHunt + huntscenario::kRaise + "move 320 100\nwait 30\npress left\nwait 60\n",
     [](const G& g) { return Gun(g) != nullptr && Gun(g)->inFlight != 0; }, Saved::Settings},
    // Four shots empty the gun; it goes down to take a shell a second.
    {"HuntReload",
     kInHunt + huntscenario::kRaise + "click left\nwait 1500\nclick left\nwait 1500\nclick left\nwait 1500\n" +
         "click left\nwait 2500\n",
     [](const G& g) { return Gun(g) != nullptr && Gun(g)->shellsFired < 0; }, Saved::Settings},
    {"HuntBirdFalling", WholeHuntUpTo("click left") + "click left\nwait 2000\n",
     [](const G& g) { return g.state == G::Hunting && g.baggedBird != nullptr; }, Saved::Settings},
    {"HuntInactive", kInHunt + "deactivate\nwait 100\n", [](const G& g) { return g.state == G::Inactive; },
     Saved::Settings},
    {"TrophyRoom", WholeHuntUpTo("click left") + "click left\nwait 7000\n",
     [](const G& g) { return g.state == G::TrophyRoom && g.trophyRoomReady == 1; }, Saved::Trophy},
    // The help page over the title, over the setup dialog (both loops running), and over a hunt.
    {"HelpPage", "wait 700\nkey F1\nwait 100\n", [](const G& g) { return g.HelpOpen() != 0; }, Saved::Nothing},
    {"HelpOverSetupDialog", "wait 700\nmove 455 221\nwait 20\nclick left\nwait 40\ntype Ann\nwait 20\nkey F1\nwait 100\n",
     [](const G& g) { return g.HelpOpen() != 0 && g.setupDialog != nullptr && g.setupDialog->running == 1; },
     Saved::Nothing},
    {"HelpInHunt", kInHunt + "key F1\nwait 100\n", [](const G& g) { return g.HelpOpen() != 0; }, Saved::Settings},
    // The trophy room's reset question, unanswered: nothing is erased (nor written).
    {"ResetQuestion", "wait 700\nmove 455 291\nwait 20\nclick left\nwait 300\nmove 70 455\nwait 20\nclick left\nwait 200\n",
     [](const G& g) {
       return g.trophyRoom != nullptr && g.trophyRoom->GetResetQuestion() != nullptr &&
              g.trophyRoom->GetResetQuestion()->running == 1;
     },
     Saved::Nothing},
};

// How the window goes: WM_DESTROY at the script's end, or the host's close request (WM_CLOSE).
enum class Way { Destroyed, ClosedByHost };
void PrintTo(Way way, std::ostream* os) { *os << (way == Way::ClosedByHost ? "closed by the host" : "destroyed"); }

class CloseEveryScreen : public CloseScenario,
                         public ::testing::WithParamInterface<std::tuple<size_t, Way>> {};

TEST_P(CloseEveryScreen, EndsWithCodeZeroAndTheProfileAsLastConfirmed) {
  const Screen& screen = kScreens[std::get<0>(GetParam())];
  const bool byHost = std::get<1>(GetParam()) == Way::ClosedByHost;
  Closed c = PlayClosing(screen.script + (byHost ? "close\n" : ""), screen.there);
  EXPECT_TRUE(c.atClose) << "closed in state " << G::StateName(c.stateAtClose);
  EXPECT_FALSE(c.releasedUnderUse);
  EXPECT_EQ(c.cleanups, screen.name == std::string("Start") ? 0 : 1);
  EXPECT_EQ(c.result.exitCode, 0);
  EXPECT_TRUE(c.result.problems.empty()) << c.result.problems[0];
  // The program ends as soon as the window has gone.
  EXPECT_GT(c.closedAt, 0u);
  EXPECT_LE(c.result.endMs - c.closedAt, 5u);

  if (screen.saved == Saved::Nothing) {
    EXPECT_FALSE(ProfileWritten());
    return;
  }
  EXPECT_EQ(platform::GetProfileString("Settings", "Name", ""), "Field Scout");
  EXPECT_EQ(platform::GetProfileInt("Settings", "Map", -1), 1);
  const ZTrophyRecord best = ZTrophyRoomWnd::ReadTrophy(0);
  if (screen.saved == Saved::Trophy) {
    EXPECT_EQ(best.name, "Field Scout");
    EXPECT_EQ(best.type, 1);
    EXPECT_GT(best.weight, 0);
  } else {
    EXPECT_EQ(best.weight, 0);  // the falling bird is not recorded before the room shows it
  }
}

INSTANTIATE_TEST_SUITE_P(
    , CloseEveryScreen,
    ::testing::Combine(::testing::Range(size_t{0}, std::size(kScreens)),
                       ::testing::Values(Way::Destroyed, Way::ClosedByHost)),
    [](const ::testing::TestParamInfo<std::tuple<size_t, Way>>& info) {
      return std::string(kScreens[std::get<0>(info.param)].name) +
             (std::get<1>(info.param) == Way::ClosedByHost ? "ClosedByHost" : "Destroyed");
    });

}  // namespace
