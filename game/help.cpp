// ZTurkeyGame's help: opening the page over a screen, returning to it, and the first hunt's introduction.
#include "framework/graphics/graphics.h"
#include "framework/graphics/viewport.h"
#include "game/help_page.h"
#include "game/hunt_setup_dialog.h"
#include "game/turkey_game.h"
#include "platform/profile.h"

namespace {
// The profile remembers that the introduction was shown; a key of its own, beside the designed ones.
constexpr const char* kHelpSection = "Help";
constexpr const char* kIntroducedEntry = "FirstHuntIntroduced";
}  // namespace

int32_t ZTurkeyGame::HelpOpen() const { return (helpPage != nullptr && helpPage->IsOpen() != 0) ? 1 : 0; }

void ZTurkeyGame::OpenHelp() {
  if (graphicsReady == 0 || graphics == nullptr || mainWindow == nullptr || HelpOpen() != 0) return;
  // The hunt setup dialog runs its own loop: it waits under the page, as it is.
  const bool overDialog = setupDialog != nullptr;
  if (!overDialog && state != MainMenu && state != TrophyRoom && state != Hunting) return;
  if (helpPage == nullptr) helpPage = std::make_unique<ZHelpPage>(this);
  if (helpPage->IsBuilt() == 0) return;
  if (overDialog) {
    helpPage->Open(true);
    return;
  }
  // As a switch to another window: the screen is left through Inactive and the page takes its place.
  resumeState = state;
  SetState(Inactive);
  if (helpPage->Open(false) == 0) SetState(resumeState);
}

void ZTurkeyGame::CloseHelp() {
  if (HelpOpen() == 0) return;
  const bool overDialog = helpPage->ClosesOnRelease();
  helpPage->Close();
  if (!overDialog) {
    // As on activation: the screen that was left comes back (a hunt through EnteringHunt).
    if (state == Inactive) SetState(resumeState);
    return;
  }
  if (setupDialog == nullptr) return;
  // The dialog is see-through: the title goes back on the screen first, then the dialog over it.
  if (mainViewport != nullptr && menuSurface != nullptr && graphics != nullptr) {
    // The menu's buttons leave the view aimed at the back surface; the title belongs on the front.
    mainViewport->SetTarget(graphics->GetFrontSurface());
    mainViewport->Draw();
  }
  setupDialog->InvalidateRect(nullptr, false);
  setupDialog->UpdateWindow();
}

bool ZTurkeyGame::IntroduceFirstHunt() {
  if (helpIntroduced != 0) return false;
  // A damaged entry reads as not introduced: the page shows once more and the entry is made good.
  if (platform::GetProfileInt(kHelpSection, kIntroducedEntry, 0) != 0) {
    helpIntroduced = 1;
    return false;
  }
  if (state != MainMenu || graphicsReady == 0 || mainWindow == nullptr) return false;
  if (helpPage == nullptr) helpPage = std::make_unique<ZHelpPage>(this);
  if (helpPage->IsBuilt() == 0) return false;
  helpIntroduced = 1;
  platform::WriteProfileInt(kHelpSection, kIntroducedEntry, 1);
  // The menu is left as for a switch to another window; closing the page enters the hunt.
  SetState(Inactive);
  resumeState = EnteringHunt;
  if (helpPage->Open(false) == 0) SetState(resumeState);
  return true;
}
