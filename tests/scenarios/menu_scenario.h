// The fixture of the menu and setup-dialog scenarios: plays a script and gathers what the screens showed.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/graphics/graphics.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/surface.h"
#include "framework/ui/edit.h"
#include "framework/ui/radio_button.h"
#include "game/hunt_setup_dialog.h"
#include "platform/surface.h"
#include "tests/scenarios/scenario.h"

namespace scenario {

using B = ZButton;

// Screen points of the controls: the menu's buttons, and the dialog's (centred at 55, 42).
inline constexpr const char* kOverHunt = "move 455 221\n";
inline constexpr const char* kOverTrophy = "move 455 291\n";
inline constexpr const char* kOverExit = "move 455 361\n";
inline constexpr const char* kOverOk = "move 225 383\n";
inline constexpr const char* kOverCancel = "move 400 383\n";
inline constexpr const char* kOverName = "move 300 112\n";
inline const char* const kOverArea[5] = {"move 207 176\n", "move 317 176\n", "move 427 176\n", "move 260 256\n",
                                  "move 380 256\n"};
// To the menu, then the hunt button clicked: the dialog is up from about 760 ms.
inline const std::string kOpenDialog = std::string("wait 700\n") + kOverHunt + "wait 20\nclick left\nwait 40\n";

// What one run showed, gathered by the observer on every pump pass.
struct Seen {
  replay::Result result;
  std::vector<std::string> states;  // names in order
  // By ms: the states of the menu's buttons (hunt, trophy, exit), -1 when absent.
  std::vector<std::vector<int32_t>> menu;
  // While the dialog is up.
  bool dialogSeen = false;
  int32_t dialogArea = -1;           // its areaIndex when first seen
  int32_t firstChecked = -1;         // the radio button checked when first seen
  int32_t firstPreview = -1;         // the preview's frame when first seen
  std::string firstName;             // the name field's text when first seen
  int32_t firstNameInk = 0;          // white pixels in the name field on the screen then
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

class MenuDialogScenario : public Scenario {
 protected:
  // Plays the script; `poke`, when given, may change the game at each ms before the script acts.
  Seen Play(const std::string& text, const std::function<void(G&, uint32_t)>& poke = nullptr) {
    Seen seen;
    int32_t lastPreview = -1;
    platform::Window* lastFocus = nullptr;
    seen.result = Run(text, [&](G& game, uint32_t ms) {
      if (poke) poke(game, ms);
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
          seen.firstName = d->nameEdit->GetWindowText();
          const platform::Rect field = d->nameEdit->GetWindowRect();
          for (int32_t y = field.top; y < field.bottom; ++y)
            for (int32_t x = field.left; x < field.right; ++x)
              seen.firstNameInk += game.graphics->GetFrontSurface()->GetSurface2()->Pixel(x, y) == 255 ? 1 : 0;
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
    seen.states = states;
    seen.profileWritten = fs::exists(dir / "Brackwen Interactive");
    return seen;
  }
  // The game's profile file in this test's folder, and its bytes ("" when there is none).
  fs::path ProfilePath() const { return dir / "Brackwen Interactive" / "brushfeather" / "profile.ini"; }
  static std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void PutProfile(const std::string& bytes) const {
    fs::create_directories(ProfilePath().parent_path());
    std::ofstream(ProfilePath(), std::ios::binary) << bytes;
  }
  static bool Has(const Seen& s, const std::string& state) {
    return std::find(s.states.begin(), s.states.end(), state) != s.states.end();
  }
};

}  // namespace scenario
