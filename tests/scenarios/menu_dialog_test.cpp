// The title screen's buttons and the hunt setup dialog played through the headless backend.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "framework/graphics/graphics.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/surface.h"
#include "framework/sound/dx_sound.h"
#include "framework/sound/dx_sound_buffer.h"
#include "framework/ui/radio_button.h"
#include "game/hunt_setup_dialog.h"
#include "game/replay.h"
#include "game/turkey_game.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/sound.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace {

using B = ZButton;
using G = ZTurkeyGame;

// Screen points of the controls: the menu's buttons, and the dialog's (centred at 55, 42).
constexpr const char* kOverHunt = "move 455 221\n";
constexpr const char* kOverTrophy = "move 455 291\n";
constexpr const char* kOverExit = "move 455 361\n";
constexpr const char* kOverOk = "move 225 383\n";
constexpr const char* kOverCancel = "move 400 383\n";
const char* const kOverArea[5] = {"move 207 176\n", "move 317 176\n", "move 427 176\n", "move 260 256\n",
                                  "move 380 256\n"};
// To the menu, then the hunt button clicked: the dialog is up from about 760 ms.
const std::string kOpenDialog = std::string("wait 700\n") + kOverHunt + "wait 20\nclick left\nwait 40\n";

// What one run showed, gathered by the observer on every pump pass.
struct Seen {
  replay::Result result;
  std::vector<std::string> states;  // names in order
  // Sound starts, as (id, ms).
  std::vector<std::pair<int32_t, uint32_t>> starts;
  // By ms: the states of the menu's buttons (hunt, trophy, exit), -1 when absent.
  std::vector<std::vector<int32_t>> menu;
  // While the dialog is up.
  bool dialogSeen = false;
  int32_t dialogArea = -1;           // its areaIndex when first seen
  int32_t firstChecked = -1;         // the radio button checked when first seen
  int32_t firstPreview = -1;         // the preview's frame when first seen
  bool titleAround = false;          // the title still shows outside the dialog
  bool signShown = false;            // the dialog's sign is on the screen
  std::vector<int32_t> previews;     // the preview's frame each time it changed
  std::vector<uint32_t> focusIds;    // control id of each new platform focus (0: the dialog itself)
  uint32_t dialogClosedAt = 0;
  int32_t menuButtonsAfter = 0;      // menu buttons up and normal, the last time the menu was up
  std::string nameAtEnd;
  int32_t areaAtEnd = -1;
  bool profileWritten = false;
};

class MenuDialogScenario : public ::testing::Test {
 protected:
  void SetUp() override {
    // The game keeps its settings under XDG_DATA_HOME; each test gets a folder of its own.
    dataHome = std::filesystem::temp_directory_path() /
               ("bf_menu_dialog_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dataHome);
    std::filesystem::create_directories(dataHome);
    setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
  }
  void TearDown() override {
    platform::ResetWindowSystem();
    platform::SetBackend(nullptr);
    std::filesystem::remove_all(dataHome);
  }

  // Plays the script; `poke`, when given, may change the game at each ms before the script acts.
  Seen Play(const std::string& text, const std::function<void(G&, uint32_t)>& poke = nullptr) {
    Seen seen;
    replay::Script script;
    std::string error;
    EXPECT_TRUE(replay::ParseScript(text, &script, &error)) << error;
    platform::ResetWindowSystem();
    backend = std::make_unique<platform::HeadlessBackend>(0, static_cast<std::time_t>(script.seed));
    platform::SetBackend(backend.get());
    platform::SetApplicationName("brushfeather");
    uint32_t lastPosition[2] = {0, 0};
    bool lastPlaying[2] = {false, false};
    int32_t lastPreview = -1;
    platform::Window* lastFocus = nullptr;
    std::ostringstream log;
    seen.result = replay::Run(script, backend.get(), "", &log, [&](G& game, uint32_t ms) {
      if (poke) poke(game, ms);
      if (game.sound != nullptr) {
        const int32_t ids[2] = {139, 140};
        for (int k = 0; k < 2; ++k) {
          ZDXSoundBuffer* b = game.sound->FindBuffer(ids[k]);
          if (b == nullptr || b->buffer == nullptr) continue;
          uint32_t status = 0;
          uint32_t play = 0;
          uint32_t write = 0;
          b->buffer->GetStatus(&status);
          b->buffer->GetCurrentPosition(&play, &write);
          const bool playing = (status & platform::DSBSTATUS_PLAYING) != 0;
          if (playing && (!lastPlaying[k] || play < lastPosition[k])) seen.starts.emplace_back(ids[k], ms);
          lastPlaying[k] = playing;
          lastPosition[k] = play;
        }
      }
      std::vector<int32_t> menu;
      for (B* b : {game.huntButton, game.trophyButton, game.exitButton}) menu.push_back(b != nullptr ? b->state : -1);
      if (seen.menu.size() <= ms) seen.menu.resize(ms + 1, menu);
      seen.menu[ms] = menu;
      ZHuntSetupDialog* d = game.setupDialog;
      if (d != nullptr && d->running == 1) {
        if (!seen.dialogSeen) {
          seen.dialogSeen = true;
          seen.dialogArea = d->areaIndex;
          for (int i = 0; i < 5; ++i) {
            if (d->areaButtons[static_cast<size_t>(i)]->checked != 0) seen.firstChecked = i;
          }
          seen.firstPreview = d->preview->GetCurrentFrameIndex();
          ZSurface* front = game.graphics->GetFrontSurface();
          ZSurface* title = game.menuSurface.get();
          seen.titleAround = title != nullptr && front->GetSurface2()->Pixel(20, 300) == title->GetSurface2()->Pixel(20, 300) &&
                             front->GetSurface2()->Pixel(620, 20) == title->GetSurface2()->Pixel(620, 20);
          // A point on the sign's heading plank.
          seen.signShown = front->GetSurface2()->Pixel(55 + 200, 42 + 30) ==
                           d->backgroundSurface->GetSurface2()->Pixel(200, 30);
        }
        const int32_t preview = d->preview->GetCurrentFrameIndex();
        if (preview != lastPreview) seen.previews.push_back(preview);
        lastPreview = preview;
        platform::Window* focus = platform::GetFocus();
        if (focus != lastFocus) seen.focusIds.push_back(focus == d ? 0 : (focus != nullptr ? focus->GetDlgCtrlID() : 999));
        lastFocus = focus;
      } else if (seen.dialogSeen && seen.dialogClosedAt == 0) {
        seen.dialogClosedAt = ms;
      }
      if (game.state == G::MainMenu && game.menuReady == 1 && !game.menuButtons.empty()) {
        int32_t visible = 0;
        for (const auto& b : game.menuButtons) visible += b->IsWindowVisible() && b->state == B::kStateNormal ? 1 : 0;
        seen.menuButtonsAfter = visible;
      }
      seen.nameAtEnd = game.playerName;
      seen.areaAtEnd = game.areaIndex;
    });
    for (const std::string& line : seen.result.stateLines) {
      std::istringstream in(line);
      std::string word, number, name;
      in >> word >> number >> name;
      seen.states.push_back(name);
    }
    seen.profileWritten = std::filesystem::exists(dataHome / "Brackwen Interactive");
    return seen;
  }
  static bool Has(const Seen& s, const std::string& state) {
    for (const std::string& n : s.states) {
      if (n == state) return true;
    }
    return false;
  }
  static int Starts(const Seen& s, int32_t id, uint32_t from, uint32_t to) {
    int n = 0;
    for (const auto& [sid, ms] : s.starts) n += (sid == id && ms >= from && ms < to) ? 1 : 0;
    return n;
  }

  std::filesystem::path dataHome;
  std::unique_ptr<platform::HeadlessBackend> backend;
};

TEST_F(MenuDialogScenario, TheTitleShowsThreeButtonsThatHighlightOneAtATimeWithTheirSounds) {
  const std::string script = std::string("wait 700\n") + kOverHunt + "wait 50\n" + kOverTrophy + "wait 50\n" +
                             "move 100 100\nwait 50\n" + kOverExit + "wait 50\npress left\nwait 50\n";
  Seen s = Play(script);
  ASSERT_GE(s.menu.size(), 900u);
  // At the menu all three are up and normal, and nothing was heard from them.
  EXPECT_EQ(s.menu[690], (std::vector<int32_t>{2, 2, 2}));
  EXPECT_EQ(Starts(s, 140, 0, 700), 0);
  EXPECT_EQ(Starts(s, 139, 0, 700), 0);
  // Over the hunt button: highlighted, with its sound.
  EXPECT_EQ(s.menu[740], (std::vector<int32_t>{4, 2, 2}));
  EXPECT_EQ(Starts(s, 140, 700, 750), 1);
  // Over the trophy room button: it alone is highlighted.
  EXPECT_EQ(s.menu[790], (std::vector<int32_t>{2, 4, 2}));
  EXPECT_EQ(Starts(s, 140, 750, 800), 1);
  // Over the bare window: none.
  EXPECT_EQ(s.menu[840], (std::vector<int32_t>{2, 2, 2}));
  // Over exit and pressed: pressed look and sound.
  EXPECT_EQ(s.menu[940], (std::vector<int32_t>{2, 2, 8}));
  EXPECT_EQ(Starts(s, 140, 850, 900), 1);
  EXPECT_EQ(Starts(s, 139, 900, 950), 1);
  EXPECT_EQ(Starts(s, 139, 0, 900), 0);
}

TEST_F(MenuDialogScenario, TheExitButtonEndsTheProgramWithCodeZero) {
  Seen s = Play(std::string("wait 700\n") + kOverExit + "wait 20\nclick left\nwait 500\n");
  EXPECT_EQ(s.states.back(), "Exiting");
  EXPECT_EQ(s.result.exitCode, 0);
  EXPECT_LT(s.result.endMs, 800u);
  EXPECT_FALSE(Has(s, "TrophyRoom"));
}

TEST_F(MenuDialogScenario, TheHuntButtonOpensTheDialogOverTheTitleWithTheGamesHunt) {
  // A stored hunt outside the five opens on the first.
  Seen s = Play(kOpenDialog + "key Escape\nwait 100\n", [](G& game, uint32_t ms) {
    if (ms == 600) game.areaIndex = 7;
  });
  ASSERT_TRUE(s.dialogSeen);
  EXPECT_EQ(s.dialogArea, 0);
  EXPECT_EQ(s.firstChecked, 0);
  EXPECT_EQ(s.firstPreview, 0);
  EXPECT_TRUE(s.titleAround);
  EXPECT_TRUE(s.signShown);
  // Escape cancels: the menu is back with its buttons and the game's hunt is as it was.
  EXPECT_GT(s.dialogClosedAt, 0u);
  EXPECT_FALSE(Has(s, "EnteringHunt"));
  EXPECT_EQ(s.states.back(), "MainMenu");
  EXPECT_EQ(s.menuButtonsAfter, 3);
  EXPECT_EQ(s.areaAtEnd, 7);
  EXPECT_FALSE(s.profileWritten);
}

TEST_F(MenuDialogScenario, AStoredHuntOutsideTheFiveIsConfirmedAsTheFirst) {
  Seen s = Play(kOpenDialog + "key Enter\nwait 100\n", [](G& game, uint32_t ms) {
    if (ms == 600) game.areaIndex = 7;
  });
  ASSERT_TRUE(s.dialogSeen);
  EXPECT_TRUE(Has(s, "EnteringHunt"));
  EXPECT_EQ(s.areaAtEnd, 0);
}

TEST_F(MenuDialogScenario, TabMovesTheFocusRoundTheControlsAndWrapsToTheFirst) {
  std::string script = kOpenDialog;
  for (int i = 0; i < 8; ++i) script += "key Tab\nwait 10\n";
  // Shift+Tab from the first goes round to the last, the name; Tab leaves the name for OK again.
  script += "keydown Shift\nkey Tab\nkeyup Shift\nwait 10\nkey Tab\nwait 10\nkey Escape\nwait 50\n";
  Seen s = Play(script);
  ASSERT_TRUE(s.dialogSeen);
  // The dialog first; then from OK (the first control) on: Cancel, the five hunts, the name, OK.
  const std::vector<uint32_t> order = {0, 2, 7, 8, 9, 10, 11, 500, 1, 500, 1};
  EXPECT_EQ(s.focusIds, order);
  EXPECT_FALSE(Has(s, "EnteringHunt"));
}

TEST_F(MenuDialogScenario, ClickingHuntsChangesThePreviewAndOkConfirmsThem) {
  const std::string script = kOpenDialog + kOverArea[2] + "wait 10\nclick left\nwait 30\n" + kOverArea[4] +
                             "wait 10\nclick left\nwait 30\n" + kOverOk + "wait 10\nclick left\nwait 100\n";
  Seen s = Play(script);
  ASSERT_TRUE(s.dialogSeen);
  EXPECT_EQ(s.previews, (std::vector<int32_t>{1, 2, 4}));
  // Confirmed: the game takes the hunt and goes for it (the hunting screen is not there yet, so it
  // comes back to the menu).
  EXPECT_TRUE(Has(s, "EnteringHunt"));
  EXPECT_EQ(s.areaAtEnd, 4);
  EXPECT_EQ(s.nameAtEnd, "Field Scout");
  EXPECT_EQ(s.states.back(), "MainMenu");
  EXPECT_EQ(s.menuButtonsAfter, 3);
}

TEST_F(MenuDialogScenario, EnterConfirmsOnlyWhenReleased) {
  const std::string script = kOpenDialog + kOverArea[3] + "wait 10\nclick left\nwait 30\nmove 300 330\nwait 10\n" +
                             "keydown Enter\nwait 100\nkeyup Enter\nwait 100\n";
  Seen s = Play(script);
  ASSERT_TRUE(s.dialogSeen);
  // Enter goes down at about 910 ms and up 100 ms later: the dialog stayed open while it was held.
  EXPECT_GE(s.dialogClosedAt, 1005u);
  EXPECT_LE(s.dialogClosedAt, 1030u);
  EXPECT_TRUE(Has(s, "EnteringHunt"));
  EXPECT_EQ(s.areaAtEnd, 3);
}

TEST_F(MenuDialogScenario, CancelLeavesTheNameAndHuntAsTheyWere) {
  const std::string script = kOpenDialog + kOverArea[0] + "wait 10\nclick left\nwait 30\n" + kOverCancel +
                             "wait 10\nclick left\nwait 100\n";
  Seen s = Play(script);
  ASSERT_TRUE(s.dialogSeen);
  EXPECT_EQ(s.previews, (std::vector<int32_t>{1, 0}));
  EXPECT_FALSE(Has(s, "EnteringHunt"));
  EXPECT_EQ(s.areaAtEnd, 1);
  EXPECT_EQ(s.nameAtEnd, "Field Scout");
  EXPECT_EQ(s.menuButtonsAfter, 3);
  EXPECT_FALSE(s.profileWritten);
}

TEST_F(MenuDialogScenario, LosingTheApplicationClosesTheDialogAsCancelled) {
  const std::string script = kOpenDialog + kOverArea[2] + "wait 10\nclick left\nwait 30\n" +
                             "deactivate\nwait 100\nactivate\nwait 100\n";
  Seen s = Play(script);
  ASSERT_TRUE(s.dialogSeen);
  // The application is left at about 900 ms; the dialog closes then, not on the return.
  EXPECT_GE(s.dialogClosedAt, 895u);
  EXPECT_LE(s.dialogClosedAt, 915u);
  const std::vector<std::string> tail = {"MainMenu", "Inactive", "MainMenu"};
  ASSERT_GE(s.states.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(s.states.end() - 3, s.states.end()), tail);
  EXPECT_FALSE(Has(s, "EnteringHunt"));
  EXPECT_EQ(s.areaAtEnd, 1);
  EXPECT_EQ(s.menuButtonsAfter, 3);
  EXPECT_FALSE(s.profileWritten);
}

TEST_F(MenuDialogScenario, F10TakesAScreenshotWhileTheDialogIsUp) {
  std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::current_path(dataHome);
  Seen s = Play(kOpenDialog + "key F10\nwait 20\nkey Escape\nwait 50\n");
  std::filesystem::current_path(old);
  ASSERT_TRUE(s.dialogSeen);
  EXPECT_TRUE(std::filesystem::exists(dataHome / "scnshot.bmp"));
  EXPECT_GT(s.dialogClosedAt, 0u);
}

TEST_F(MenuDialogScenario, UnreadableControlsArtEndsTheGameWithItsMessageAndCodeZero) {
  // A damaged "ctrls.dll" in the current folder is found before the good one beside the program.
  std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::current_path(dataHome);
  std::ofstream(dataHome / "CTRLS.DLL") << "not a resource library";
  Seen s = Play("wait 1000\n");
  std::filesystem::current_path(old);
  EXPECT_EQ(s.states, (std::vector<std::string>{"Starting", "StartupDone", "Initializing", "Exiting"}));
  ASSERT_EQ(backend->MessageBoxes().size(), 1u);
  EXPECT_EQ(backend->MessageBoxes()[0].text, "ERROR: Controls initialization failed.");
  EXPECT_EQ(s.result.exitCode, 0);
  EXPECT_LT(s.result.endMs, 700u);
  EXPECT_EQ(s.menuButtonsAfter, 0);
}

}  // namespace
