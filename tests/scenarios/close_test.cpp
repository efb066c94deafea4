// Closing the game's window at any moment, played through the headless backend: it ends cleanly.
#include <string>

#include "framework/graphics/graphics.h"
#include "game/hunt_setup_dialog.h"
#include "tests/scenarios/scenario.h"

namespace {

using scenario::G;
namespace fs = std::filesystem;

// What the observer saw of a run that ends with the window closed.
struct Closed {
  replay::Result result;
  bool dialogUp = false;          // the hunt setup dialog's modal loop ran
  bool releasedUnderUse = false;  // the graphics system was gone while a dialog still ran
  int cleanups = 0;               // graphicsReady going from 1 to 0
};

class CloseScenario : public scenario::Scenario {
 protected:
  Closed Play(const std::string& text) {
    Closed c;
    int32_t lastReady = 0;
    c.result = Run(text, [&](G& game, uint32_t) {
      if (lastReady == 1 && game.graphicsReady == 0) ++c.cleanups;
      lastReady = game.graphicsReady;
      if (game.setupDialog != nullptr && game.setupDialog->running == 1) c.dialogUp = true;
      if (game.setupDialog != nullptr && game.graphics == nullptr) c.releasedUnderUse = true;
    });
    return c;
  }
  bool ProfileWritten() const { return fs::exists(dir / "Brackwen Interactive"); }
};

// The shortest script the monkey soak found: the hunt button clicked, the script ends with the setup
// dialog up, and the driver's WM_DESTROY is dispatched inside the dialog's modal loop. The clean-up
// once ran right there, and the dialog then hid itself through the deleted graphics system.
TEST_F(CloseScenario, WindowDestroyedUnderTheSetupDialogReleasesNothingTheDialogStillUses) {
  Closed c = Play("seed 1\nwait 700\nmove 455 221\nwait 20\nclick left\nwait 200\n");
  EXPECT_TRUE(c.dialogUp);
  EXPECT_FALSE(c.releasedUnderUse);
  EXPECT_EQ(c.cleanups, 1);
  EXPECT_EQ(c.result.exitCode, 0);
  EXPECT_TRUE(c.result.problems.empty());
  EXPECT_FALSE(ProfileWritten());  // nothing was confirmed
}

}  // namespace
