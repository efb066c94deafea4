// The setup dialog's name field and the profile file, played through the headless backend from start to exit.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/ui/edit.h"
#include "game/hunt_setup_dialog.h"
#include "platform/edit_control.h"
#include "platform/profile.h"
#include "platform/window.h"
#include "tests/scenarios/menu_scenario.h"

namespace {

using namespace scenario;

// A profile as another run (or another program) left it: the settings among other records.
const std::string kStored =
    "; kept by hand\n[Trophies]\nCount=1\nRecord1=Ann|3|21.5|2024-04-01\n[Settings]\nName=Tom Gobbler\nMap=7\n";

// What the name field did while the dialog was up.
struct NameWatch {
  bool focused = false;           // the field took the platform focus
  int32_t selStart = -1;          // the selection right when it did
  int32_t selEnd = -1;
  int32_t length = -1;            // characters in the field then
  std::string lastText;           // the field's text the last time the dialog was seen running
  int32_t lastScroll = 0;         // pixels scrolled out at the left then
  uint32_t savedAt = 0;           // first ms at which the profile file had changed
  std::vector<std::string> saves; // the file as it was after each save (the write hook's view)
  bool textInputWhileUp = false;  // the host's text input was on while the dialog was up
  bool textInputAfter = false;    // ... and after it had gone
};

class SetupDialogProfileScenario : public MenuDialogScenario {
 protected:
  void TearDown() override {
    platform::SetProfileWriteHookForTest(nullptr);
    MenuDialogScenario::TearDown();
  }

  // Plays with a watch on the name field, the file and each save.
  Seen PlayWatching(const std::string& text, NameWatch* watch) {
    const std::string before = Slurp(ProfilePath());
    platform::SetProfileWriteHookForTest([this, watch](platform::ProfileWriteStep step) {
      // A save begins by making the folder: the file then is what the previous save left.
      if (step == platform::ProfileWriteStep::MakeFolder) watch->saves.push_back(Slurp(ProfilePath()));
      return platform::StepOutcome::Proceed;
    });
    Seen s = Play(text, [&](G& game, uint32_t ms) {
      if (watch->savedAt == 0 && Slurp(ProfilePath()) != before) watch->savedAt = ms;
      ZHuntSetupDialog* d = game.setupDialog;
      if (d == nullptr && watch->focused && backend->TextInputOn()) watch->textInputAfter = true;
      if (d == nullptr || d->running == 0 || d->nameEdit == nullptr) return;
      if (backend->TextInputOn()) watch->textInputWhileUp = true;
      ZEdit* name = d->nameEdit.get();
      if (!watch->focused && platform::GetFocus() == name) {
        watch->focused = true;
        name->GetSel(&watch->selStart, &watch->selEnd);
        watch->length = name->Field().Length();
      }
      watch->lastText = name->GetWindowText();
      watch->lastScroll = name->Field().ScrollX();
    });
    platform::SetProfileWriteHookForTest(nullptr);
    // The save in progress when the run ended is the last one; the file now is what it left.
    watch->saves.push_back(Slurp(ProfilePath()));
    watch->saves.erase(watch->saves.begin());
    return s;
  }
};

TEST_F(SetupDialogProfileScenario, TheStoredNameAndHuntOpenTheDialogAndEscapeLeavesTheFileAsItWas) {
  PutProfile(kStored);
  NameWatch w;
  Seen s = PlayWatching(kOpenDialog + "key Escape\nwait 100\n", &w);
  ASSERT_TRUE(s.dialogSeen);
  // Hunt 7 is not one of the five: the dialog opens on the first, with the stored name in the field.
  EXPECT_EQ(s.dialogArea, 0);
  EXPECT_EQ(s.firstChecked, 0);
  EXPECT_EQ(s.firstPreview, 0);
  EXPECT_EQ(s.firstName, "Tom Gobbler");
  EXPECT_GT(s.firstNameInk, 30);  // its letters are on the screen
  EXPECT_TRUE(s.titleAround);
  EXPECT_TRUE(s.signShown);
  EXPECT_FALSE(Has(s, "EnteringHunt"));
  EXPECT_EQ(s.areaAtEnd, 7);
  EXPECT_EQ(Slurp(ProfilePath()), kStored);
  EXPECT_TRUE(w.saves.empty());  // nothing was saved
  EXPECT_FALSE(fs::exists(ProfilePath().string() + ".bak"));
}

TEST_F(SetupDialogProfileScenario, ThePointerSelectsTheNameTypingReplacesItAndOkSavesTheHuntAndTheNameAsOne) {
  PutProfile(kStored);
  NameWatch w;
  const std::string script = kOpenDialog + kOverName + "wait 20\ntype Ann Oakley\nwait 40\n" + kOverArea[3] +
                             "wait 10\nclick left\nwait 30\n" + kOverOk + "wait 10\nclick left\nwait 100\n";
  Seen s = PlayWatching(script, &w);
  ASSERT_TRUE(s.dialogSeen);
  ASSERT_TRUE(w.focused);
  EXPECT_EQ(w.selStart, 0);
  EXPECT_EQ(w.selEnd, 11);
  EXPECT_EQ(w.length, 11);
  EXPECT_EQ(w.lastText, "Ann Oakley");
  EXPECT_TRUE(w.textInputWhileUp);
  EXPECT_FALSE(w.textInputAfter);
  EXPECT_TRUE(Has(s, "EnteringHunt"));
  EXPECT_EQ(s.nameAtEnd, "Ann Oakley");
  EXPECT_EQ(s.areaAtEnd, 3);
  // One save of the hunt and the name together; the trophies stay.
  ASSERT_EQ(w.saves.size(), 1u);
  EXPECT_NE(w.saves[0].find("[Settings]\nName=Ann Oakley\nMap=3\n"), std::string::npos) << w.saves[0];
  EXPECT_NE(w.saves[0].find("[Trophies]\nCount=1\nRecord1=Ann|3|21.5|2024-04-01\n"), std::string::npos);
  EXPECT_EQ(Slurp(ProfilePath().string() + ".bak"), kStored);  // the previous file is kept
}

TEST_F(SetupDialogProfileScenario, EnterInTheNameFieldSavesOnlyWhenReleased) {
  NameWatch w;
  // Typing ends at about 860 ms; Enter goes down then and comes up 100 ms later.
  const std::string script = kOpenDialog + kOverName + "wait 20\ntype Ann\nwait 30\nkeydown Enter\nwait 100\n" +
                             "keyup Enter\nwait 100\n";
  Seen s = PlayWatching(script, &w);
  ASSERT_TRUE(s.dialogSeen);
  EXPECT_GE(s.dialogClosedAt, 960u);
  EXPECT_GE(w.savedAt, 960u);
  EXPECT_LE(w.savedAt, 990u);
  EXPECT_TRUE(Has(s, "EnteringHunt"));
  // A fresh profile gets the default hunt and the typed name, in that order, in one save.
  ASSERT_EQ(w.saves.size(), 1u);
  EXPECT_NE(w.saves[0].find("[Settings]\nMap=1\nName=Ann\n"), std::string::npos) << w.saves[0];
}

TEST_F(SetupDialogProfileScenario, CancelEscapeInTheFieldAndLeavingTheApplicationSaveNothing) {
  const std::string typed = kOpenDialog + kOverName + "wait 20\ntype Lost Name\nwait 40\n" + kOverArea[2] +
                            "wait 10\nclick left\nwait 30\n";
  const std::string closers[] = {
      std::string(kOverCancel) + "wait 10\nclick left\nwait 100\n",
      // Back in the field, so the key goes to it first and it hands Escape to the dialog.
      std::string(kOverName) + "wait 10\nkey Escape\nwait 100\n",
      "deactivate\nwait 100\nactivate\nwait 100\n",
  };
  for (const std::string& closer : closers) {
    SCOPED_TRACE(closer);
    PutProfile(kStored);
    NameWatch w;
    Seen s = PlayWatching(typed + closer, &w);
    ASSERT_TRUE(s.dialogSeen);
    EXPECT_EQ(w.lastText, "Lost Name");
    EXPECT_TRUE(w.textInputWhileUp);
    EXPECT_FALSE(w.textInputAfter);  // typing is over once the field has gone
    EXPECT_GT(s.dialogClosedAt, 0u);
    EXPECT_FALSE(Has(s, "EnteringHunt"));
    EXPECT_EQ(s.states.back(), "MainMenu");
    EXPECT_EQ(s.menuButtonsAfter, 3);
    EXPECT_EQ(s.nameAtEnd, "Tom Gobbler");
    EXPECT_EQ(s.areaAtEnd, 7);
    EXPECT_EQ(Slurp(ProfilePath()), kStored);
    EXPECT_EQ(w.savedAt, 0u);
    EXPECT_FALSE(fs::exists(ProfilePath().string() + ".bak"));
  }
}

TEST_F(SetupDialogProfileScenario, ADamagedProfileOpensWithWhatWasSoundAndIsKeptAside) {
  const std::string damaged = "[Settings]\nName=Half a Name\n\x01\x02 torn\nMap=3\n[Trophies]\nCount=2\n";
  PutProfile(damaged);
  Seen s = Play(kOpenDialog + kOverOk + "wait 10\nclick left\nwait 100\n");
  ASSERT_TRUE(s.dialogSeen);
  EXPECT_EQ(s.firstName, "Half a Name");
  EXPECT_EQ(s.dialogArea, 1);  // the hunt stood past the damage: the default
  EXPECT_EQ(Complaints().size(), 1u) << said;
  EXPECT_NE(said.find("damaged at line 3"), std::string::npos) << said;
  // The settings are saved whole; the torn file, with what could not be read, is kept as it was
  // although both saves have passed since.
  EXPECT_NE(Slurp(ProfilePath()).find("[Settings]\nName=Half a Name\nMap=1\n"), std::string::npos);
  EXPECT_EQ(Slurp(ProfilePath().string() + ".damaged"), damaged);
}

TEST_F(SetupDialogProfileScenario, AProfileFolderThatCannotBeWrittenKeepsTheOldFileAndTheGameGoesOn) {
  PutProfile(kStored);
  // Nothing can be made where a folder stands, not even by root; without root the folder is closed too.
  fs::create_directory(ProfilePath().string() + ".tmp");
  const fs::path folder = ProfilePath().parent_path();
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  Seen s = Play(kOpenDialog + kOverName + "wait 20\ntype New Name\nwait 40\n" + kOverOk +
                "wait 10\nclick left\nwait 300\nkey Escape\nwait 300\n" + kOverTrophy + "wait 20\n");
  fs::permissions(folder, fs::perms::owner_all);
  ASSERT_TRUE(s.dialogSeen);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("cannot save the profile"), std::string::npos) << said;
  EXPECT_EQ(Slurp(ProfilePath()), kStored);
  // The game holds on to what the player chose and plays on: the hunt is entered, Escape brings the menu
  // back, and the program ends normally.
  EXPECT_TRUE(Has(s, "Hunting"));
  EXPECT_EQ(s.nameAtEnd, "New Name");
  EXPECT_EQ(s.states.back(), "MainMenu");
  EXPECT_EQ(s.result.exitCode, 0);
  EXPECT_TRUE(s.result.problems.empty());
}

}  // namespace
