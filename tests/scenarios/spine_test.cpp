// The game's spine played through the headless backend: start-up, keys, Escape, focus loss, the exit.
#include <cstdio>

#include "framework/graphics/graphics.h"
#include "game/turkey_wnd.h"
#include "tests/scenarios/scenario.h"

namespace {

using scenario::G;
namespace fs = std::filesystem;

struct Played {
  replay::Result result;
  // What the observer saw.
  int cleanups = 0;  // graphicsReady going from 1 to 0
  bool minimizedWhileInactive = false;
  bool visibleInMenu = false;
};

class SpineScenario : public scenario::Scenario {
 protected:
  Played Play(const std::string& text) {
    Played played;
    int32_t lastReady = 0;
    played.result = Run(
        text,
        [&](G& game, uint32_t) {
          if (lastReady == 1 && game.graphicsReady == 0) ++played.cleanups;
          lastReady = game.graphicsReady;
          if (game.state == G::Inactive && game.mainWindow != nullptr && game.mainWindow->IsMinimized()) {
            played.minimizedWhileInactive = true;
          }
          if (game.state == G::MainMenu && game.menuReady == 1) {
            played.visibleInMenu = game.mainWindow != nullptr && game.mainWindow->IsWindowVisible() &&
                                   !game.mainWindow->IsMinimized();
          }
        },
        dir.string());
    return played;
  }
  static uint32_t TimeOf(const Played& p, const std::string& name) {
    for (const std::string& line : p.result.stateLines) {
      if (line.find(" " + name + " at ") != std::string::npos) return std::stoul(line.substr(line.rfind(' ') + 1));
    }
    ADD_FAILURE() << "no state " << name;
    return 0;
  }
};

TEST_F(SpineScenario, StartWaitsMoreThan500MsThenReachesTheMenuAndClosingEndsIt) {
  Played p = Play("wait 1000\n");
  std::vector<std::string> expected = {"Starting", "StartupDone", "Initializing", "MainMenu"};
  EXPECT_EQ(states, expected);
  EXPECT_EQ(TimeOf(p, "Starting"), 0u);
  uint32_t done = TimeOf(p, "StartupDone");
  EXPECT_GT(done, 500u);
  EXPECT_LT(done, 520u);
  EXPECT_GE(TimeOf(p, "MainMenu"), done);
  EXPECT_TRUE(p.visibleInMenu);
  EXPECT_TRUE(backend->MessageBoxes().empty());
  // Closing the window at the end of the script ran the clean-up exactly once and ended the loop.
  EXPECT_EQ(p.cleanups, 1);
  EXPECT_EQ(p.result.exitCode, 0);
  EXPECT_GE(p.result.endMs, 1000u);
  EXPECT_TRUE(p.result.problems.empty());
}

TEST_F(SpineScenario, AKeyCutsTheStartShort) {
  // The key ends Starting and the same pass goes on through StartupDone to Initializing; the log
  // still has the StartupDone it passed through, at the same moment.
  const std::vector<std::string> expected = {"Starting", "StartupDone", "Initializing", "MainMenu"};
  Played p = Play("key Space\nwait 200\n");
  EXPECT_EQ(states, expected);
  EXPECT_EQ(TimeOf(p, "StartupDone"), TimeOf(p, "Initializing"));
  EXPECT_LE(TimeOf(p, "Initializing"), 5u);
  // Escape during the start is only "a key" there: the game goes on to the menu.
  Played q = Play("wait 100\nkey Escape\nwait 200\n");
  EXPECT_EQ(states, expected);
  EXPECT_GE(TimeOf(q, "Initializing"), 100u);
  EXPECT_LE(TimeOf(q, "Initializing"), 105u);
}

TEST_F(SpineScenario, EscapeInTheMenuEndsTheProgramThroughItsOwnExit) {
  Played p = Play("wait 700\nkey Escape\nwait 500\nmove 10 10\n");
  std::vector<std::string> expected = {"Starting", "StartupDone", "Initializing", "MainMenu", "Exiting"};
  EXPECT_EQ(states, expected);
  EXPECT_GE(TimeOf(p, "Exiting"), 700u);
  EXPECT_LE(TimeOf(p, "Exiting"), 705u);
  EXPECT_EQ(p.cleanups, 1);
  EXPECT_EQ(p.result.exitCode, 0);
  EXPECT_LT(p.result.endMs, 720u);
  // The wait was cut short by the exit and the line after it never reached; the driver says so.
  ASSERT_EQ(p.result.problems.size(), 1u);
  EXPECT_NE(p.result.problems[0].find("line 4 not reached"), std::string::npos);
}

TEST_F(SpineScenario, FocusLossMinimisesAndTheMenuComesBack) {
  Played p = Play("wait 700\ndeactivate\nwait 300\ndeactivate\nwait 10\nactivate\nwait 300\n");
  std::vector<std::string> expected = {"Starting", "StartupDone", "Initializing", "MainMenu", "Inactive",
                                       "MainMenu"};
  EXPECT_EQ(states, expected);
  EXPECT_TRUE(p.minimizedWhileInactive);
  EXPECT_TRUE(p.visibleInMenu);  // shown again, not minimised, with the menu rebuilt
  uint32_t back = TimeOf(p, "Inactive");
  EXPECT_GE(back, 700u);
  EXPECT_LE(back, 705u);
  EXPECT_EQ(p.cleanups, 1);
  EXPECT_EQ(p.result.exitCode, 0);
}

TEST_F(SpineScenario, WithoutADisplayTheGraphicsMessageEndsTheProgramWithCodeZero) {
  prepare = [](platform::HeadlessBackend& b) { b.SetDisplayFails(true); };
  Played p = Play("wait 1500\n");
  const std::vector<std::string> expected = {"Starting", "StartupDone", "Initializing", "Exiting"};
  EXPECT_EQ(states, expected);
  ASSERT_EQ(backend->MessageBoxes().size(), 1u);
  EXPECT_EQ(backend->MessageBoxes()[0].text, "ERROR: Graphics initialization failed.");
  EXPECT_EQ(p.cleanups, 0);  // nothing was set up, so nothing is released
  EXPECT_EQ(p.result.exitCode, 0);
  EXPECT_LT(p.result.endMs, 600u);
}

TEST_F(SpineScenario, F10ArrivesAsASystemKeyAndTakesNumberedScreenshots) {
  // Screenshots go to the current directory; the art is still found beside the program.
  Played p = Play("wait 700\ncapture shown.bmp\nkey F10\nwait 5\nkey F10\nwait 5\nkey F10\nwait 5\n");
  EXPECT_TRUE(p.result.problems.empty());
  for (const char* name : {"scnshot.bmp", "scnshot1.bmp", "scnshot2.bmp"}) {
    ASSERT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_EQ(fs::file_size(dir / name), 308278u);
  }
  EXPECT_FALSE(fs::exists(dir / "scnshot3.bmp"));
  // The menu, as the driver saw it.
  EXPECT_EQ(scenario::ReadBytes(dir / "scnshot.bmp"), scenario::ReadBytes(dir / "shown.bmp"));
}

TEST_F(SpineScenario, TheReplayToolPrintsStateLinesAndWritesCapturesWhereAsked) {
  auto run = [&](const std::string& script, const std::string& args, int* status) {
    std::ofstream(dir / "script.txt") << script;
    const std::string command = std::string(BF_RUN_DIR) + "/brushfeather-replay script.txt" + args + " 2>&1";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buf[256];
    while (fgets(buf, sizeof buf, pipe) != nullptr) out += buf;
    *status = pclose(pipe);
    return out;
  };
  int status = -1;
  std::string out = run("# start and leave\nwait 600\nkey Escape\nwait 10\n", "", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out.rfind("state 0 Starting at 0\n", 0), 0u) << out;
  EXPECT_NE(out.find("state 4 MainMenu at "), std::string::npos) << out;
  EXPECT_NE(out.find("state 13 Exiting at 60"), std::string::npos) << out;

  // Captures land in the folder given, made when it does not exist yet; one asked for before anything
  // was shown is reported, not faked.
  out = run("wait 300\ncapture early.png\nwait 900\ncapture title.png\n", " --out new/shots", &status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("line 2: capture early.png"), std::string::npos) << out;
  EXPECT_FALSE(fs::exists(dir / "new/shots/early.png"));
  EXPECT_GT(fs::file_size(dir / "new/shots/title.png"), 0u);
}

}  // namespace
