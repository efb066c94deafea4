// The game on a desktop: art found in an installed layout, screenshots where the player can write,
// edge scrolling that stops while the pointer is outside the window, and a loop that asks to be woken
// only when something is due.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "framework/graphics/viewport.h"
#include "game/art_files.h"
#include "platform/module.h"
#include "platform/wait.h"
#include "tests/scenarios/hunt_scenario.h"

namespace {

namespace fs = std::filesystem;
using huntscenario::HuntScenario;
using huntscenario::Played;
using scenario::G;

constexpr const char* kArtFiles[] = {"ctrls.dll", "map1.dll", "map2.dll", "map3.dll", "goblers.dll", "map1.map"};

class DesktopScenario : public HuntScenario {
 protected:
  void TearDown() override {
    platform::SetExecutableDirectoryForTest("");
    if (savedDirs) setenv("XDG_DATA_DIRS", savedDirs->c_str(), 1);
    else unsetenv("XDG_DATA_DIRS");
    HuntScenario::TearDown();
  }
  // The program's folder becomes an empty bin/ of a prefix, so the art beside the test program is
  // out of reach; the data folders are only those given.
  void HideTheProgramsArt(const std::string& dataDirs) {
    fs::create_directories(dir / "prefix" / "bin");
    platform::SetExecutableDirectoryForTest((dir / "prefix" / "bin").string());
    if (const char* v = std::getenv("XDG_DATA_DIRS")) savedDirs = v;
    setenv("XDG_DATA_DIRS", dataDirs.c_str(), 1);
  }
  void LinkArtInto(const fs::path& folder) {
    fs::create_directories(folder);
    for (const char* name : kArtFiles) fs::create_symlink(fs::path(BF_RUN_DIR) / name, folder / name);
  }
  fs::path Shots() const { return dir / "Brackwen Interactive" / "brushfeather" / "screenshots"; }

  std::optional<std::string> savedDirs;
};

TEST_F(DesktopScenario, AnInstalledPrefixOrADataFolderHoldsAllTheArtTheGameNeeds) {
  // share/brushfeather beside the program's bin/: the title, then a whole hunt from it.
  HideTheProgramsArt((dir / "no such folder").string());
  LinkArtInto(dir / "prefix" / "share" / "brushfeather");
  Played p = Play("wait 700\n" + huntscenario::EnterHunt(2) + "wait 300\n");
  EXPECT_EQ(Entered("Hunting"), 1) << said;
  EXPECT_TRUE(Complaints().empty()) << said;
  // Only in a folder of XDG_DATA_DIRS, after a missing one.
  fs::remove_all(dir / "prefix" / "share");
  setenv("XDG_DATA_DIRS", ((dir / "missing").string() + ":" + (dir / "data").string()).c_str(), 1);
  LinkArtInto(dir / "data" / "brushfeather");
  p = Play("wait 700\n" + huntscenario::EnterHunt(1) + "wait 300\n");
  EXPECT_EQ(Entered("Hunting"), 1) << said;
  EXPECT_TRUE(Complaints().empty()) << said;
}

TEST_F(DesktopScenario, ArtFoundNowhereShowsTheDesignedMessageAndNamesEveryFolder) {
  HideTheProgramsArt("");  // unset and empty alike: /usr/local/share and /usr/share
  Play("wait 1500\n");
  ASSERT_EQ(backend->MessageBoxes().size(), 1u);
  EXPECT_EQ(backend->MessageBoxes()[0].text, "ERROR: Controls initialization failed.");
  std::string controlsLine;
  for (const std::string& line : Complaints()) {
    if (line.find("\"ctrls.dll\"") != std::string::npos) controlsLine = line;
  }
  for (const fs::path& folder : {dir, dir / "prefix" / "bin", dir / "prefix" / "share" / "brushfeather",
                                 fs::path("/usr/local/share/brushfeather"), fs::path("/usr/share/brushfeather")}) {
    EXPECT_NE(controlsLine.find(folder.string()), std::string::npos) << folder << " in: " << controlsLine;
  }
}

TEST_F(DesktopScenario, ScreenshotsGoToTheDataFolderUnlessTheArtCameFromTheCurrentDirectory) {
  // The art is beside the program, not here: the data folder, and the player is told where.
  Play("wait 700\nkey F10\nwait 5\nkey F10\nwait 5\n");
  EXPECT_EQ(fs::file_size(Shots() / "scnshot.bmp"), 308278u);
  EXPECT_EQ(fs::file_size(Shots() / "scnshot1.bmp"), 308278u);
  EXPECT_FALSE(fs::exists(dir / "scnshot.bmp"));
  EXPECT_NE(said.find("screenshot saved as " + (Shots() / "scnshot1.bmp").string()), std::string::npos) << said;
  // A development run: the art is read from here, which is writable, so the shots land here, quietly.
  fs::copy_file(fs::path(BF_RUN_DIR) / art::kControlsLibrary, dir / art::kControlsLibrary);
  Play("wait 700\nkey F10\nwait 5\n");
  EXPECT_EQ(fs::file_size(dir / "scnshot.bmp"), 308278u);
  EXPECT_FALSE(fs::exists(Shots() / "scnshot2.bmp"));
  EXPECT_EQ(said.find("screenshot saved"), std::string::npos) << said;
}

TEST_F(DesktopScenario, AScreenshotsFolderThatCannotBeMadeSkipsTheShotAndTheGameGoesOn) {
  // The data home lies under a plain file: no folder can be made there.
  std::ofstream(dir / "plain") << "x";
  setenv("XDG_DATA_HOME", (dir / "plain" / "data").c_str(), 1);
  Played p = Play("wait 700\nkey F10\nwait 5\nkey F10\nwait 5\nkey Escape\nwait 100\n");
  EXPECT_EQ(p.result.exitCode, 0);
  EXPECT_EQ(states.back(), "Exiting");
  int skipped = 0;
  for (const std::string& line : Complaints()) {
    skipped += line.find("cannot make the screenshots folder") != std::string::npos &&
               line.find("screenshot is skipped") != std::string::npos;
  }
  EXPECT_EQ(skipped, 2) << said;
  EXPECT_FALSE(fs::exists(dir / "scnshot.bmp"));
}

TEST_F(DesktopScenario, EdgeScrollingStopsWhileThePointerIsOutsideTheWindow) {
  std::vector<bool> inside;
  const std::string edge = "wait 200\nmove 2 240\nwait 300\nleave\nwait 300\nenter\nwait 300\n";
  Played p = Play("wait 700\n" + huntscenario::EnterHunt(1) + edge,
                  [&](G&, uint32_t ms) {
                    platform::Point at;
                    if (inside.size() <= ms) inside.resize(ms + 1, true);
                    inside[ms] = platform::GetCursorPos(&at);
                  });
  ASSERT_EQ(Entered("Hunting"), 1);
  // The three stretches, by what GetCursorPos said.
  uint32_t left = 0, back = 0;
  for (uint32_t ms = 1; ms < inside.size(); ++ms) {
    if (!inside[ms] && inside[ms - 1]) left = ms;
    if (inside[ms] && !inside[ms - 1]) back = ms;
  }
  ASSERT_GT(left, 300u);
  ASSERT_GT(back, left + 250);
  ASSERT_LT(back + 250, p.at.size());
  // At the left edge the view turns 16 a frame; outside the window it holds still; back, it turns again.
  EXPECT_NE(p.at[left - 50].scrollX, p.at[left - 5].scrollX);
  EXPECT_EQ(p.at[left + 30].scrollX, p.at[back - 1].scrollX);
  EXPECT_NE(p.at[back + 30].scrollX, p.at[back + 200].scrollX);
}

TEST_F(DesktopScenario, TheLoopAsksToBeWokenOnlyWhenSomethingIsDue) {
  // What the game asked for since the previous pump pass, seen from the pump at every pass.
  struct Seen {
    int32_t state;
    int32_t menuReady;
    std::optional<uint32_t> due;
    uint32_t nextFrame;
    int32_t frameDue;
    uint32_t now;
    uint32_t started;
  };
  std::vector<Seen> seen;
  Play("wait 1200\n" + huntscenario::EnterHunt(1) + "wait 600\n", [&](G& game, uint32_t) {
    seen.push_back({game.state, game.menuReady, platform::TakeWakeDeadline(), game.timer.nextTime, game.timer.frameDue,
                    platform::timeGetTime(), game.stateStartTick});
  });
  int startWaits = 0, quietMenu = 0, frames = 0, taken = 0;
  for (size_t i = 1; i < seen.size(); ++i) {
    const Seen& s = seen[i];
    if (s.state != seen[i - 1].state) continue;  // a pass that changed state asks for the new one
    if (s.state == G::Starting && s.due) {
      // The start wait ends once more than 500 ms have passed.
      EXPECT_EQ(*s.due, s.started + 501) << i;
      ++startWaits;
    }
    if (s.state == G::MainMenu && s.menuReady == 1 && seen[i - 1].menuReady == 1 && s.now < 1100) {
      EXPECT_FALSE(s.due.has_value()) << "the quiet menu asked for " << *s.due << " at " << s.now;
      ++quietMenu;
    }
    if (s.state == G::Hunting) {
      // A pass that took a message runs the pump twice; the second run finds the request taken.
      if (!s.due) {
        ++taken;
        continue;
      }
      // Never after the next frame: at once when one is due, else the timer's moment.
      if (s.frameDue != 0) {
        EXPECT_LE(static_cast<int32_t>(*s.due - s.now), 0);
      } else {
        EXPECT_EQ(*s.due, s.nextFrame);
      }
      ++frames;
    }
  }
  EXPECT_GT(startWaits, 400);
  EXPECT_GT(quietMenu, 300);
  EXPECT_GT(frames, 400);
  EXPECT_LT(taken, frames / 20);
}

}  // namespace
