// The title screen's buttons and the hunt setup dialog played through the headless backend.
#include "tests/scenarios/menu_scenario.h"

namespace {

using namespace scenario;

TEST_F(MenuDialogScenario, TheTitleShowsThreeButtonsThatHighlightOneAtATimeWithTheirSounds) {
  const std::string script = std::string("wait 700\n") + kOverHunt + "wait 50\n" + kOverTrophy + "wait 50\n" +
                             "move 100 100\nwait 50\n" + kOverExit + "wait 50\npress left\nwait 50\n";
  Seen s = Play(script);
  ASSERT_GE(s.menu.size(), 900u);
  // At the menu all three are up and normal, and nothing was heard from them.
  EXPECT_EQ(s.menu[690], (std::vector<int32_t>{2, 2, 2}));
  EXPECT_EQ(Starts(140, 0, 700), 0);
  EXPECT_EQ(Starts(139, 0, 700), 0);
  // Over the hunt button: highlighted, with its sound.
  EXPECT_EQ(s.menu[740], (std::vector<int32_t>{4, 2, 2}));
  EXPECT_EQ(Starts(140, 700, 750), 1);
  // Over the trophy room button: it alone is highlighted.
  EXPECT_EQ(s.menu[790], (std::vector<int32_t>{2, 4, 2}));
  EXPECT_EQ(Starts(140, 750, 800), 1);
  // Over the bare window: none.
  EXPECT_EQ(s.menu[840], (std::vector<int32_t>{2, 2, 2}));
  // Over exit and pressed: pressed look and sound.
  EXPECT_EQ(s.menu[940], (std::vector<int32_t>{2, 2, 8}));
  EXPECT_EQ(Starts(140, 850, 900), 1);
  EXPECT_EQ(Starts(139, 900, 950), 1);
  EXPECT_EQ(Starts(139, 0, 900), 0);
}

TEST_F(MenuDialogScenario, TheExitButtonEndsTheProgramWithCodeZero) {
  Seen s = Play(std::string("wait 700\n") + kOverExit + "wait 20\nclick left\nwait 500\n");
  EXPECT_EQ(s.states.back(), "Exiting");
  EXPECT_EQ(s.result.exitCode, 0);
  EXPECT_LT(s.result.endMs, 800u);
  EXPECT_FALSE(Has(s, "TrophyRoom"));
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
  // Confirmed: the game takes the hunt and goes into it.
  EXPECT_TRUE(Has(s, "EnteringHunt"));
  EXPECT_EQ(s.areaAtEnd, 4);
  EXPECT_EQ(s.nameAtEnd, "Field Scout");
  EXPECT_EQ(s.states.back(), "Hunting");
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
  // With the name field focused: it hands system keys on to the dialog, which hands them to the game.
  Seen s = Play(kOpenDialog + kOverName + "wait 20\nkey F10\nwait 20\nkey Escape\nwait 50\n");
  ASSERT_TRUE(s.dialogSeen);
  EXPECT_TRUE(std::filesystem::exists(dir / "Brackwen Interactive" / "brushfeather" / "screenshots" / "scnshot.bmp"));
  EXPECT_GT(s.dialogClosedAt, 0u);
}

TEST_F(MenuDialogScenario, UnreadableControlsArtEndsTheGameWithItsMessageAndAFailureStatus) {
  // A damaged "ctrls.dll" in the current folder is found before the good one beside the program.
  std::ofstream(dir / "CTRLS.DLL") << "not a resource library";
  Seen s = Play("wait 1000\n");
  EXPECT_EQ(s.states, (std::vector<std::string>{"Starting", "StartupDone", "Initializing", "Exiting"}));
  ASSERT_EQ(backend->MessageBoxes().size(), 1u);
  EXPECT_EQ(backend->MessageBoxes()[0].text, "ERROR: Controls initialization failed.");
  EXPECT_EQ(s.result.exitCode, 1);
  EXPECT_LT(s.result.endMs, 700u);
  EXPECT_EQ(s.menuButtonsAfter, 0);
}

}  // namespace
