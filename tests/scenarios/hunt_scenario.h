// Playing hunts through the headless backend: scripts that enter a hunt, and what an observer saw of each ms.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/graphics/viewport.h"
#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/hunting_wnd.h"
#include "game/shotgun.h"
#include "game/turkey.h"
#include "tests/scenarios/scenario.h"

namespace huntscenario {

using scenario::G;

// The title's hunt button, the radio button of hunt `area` and OK: the hunt runs from about 960 ms.
inline std::string EnterHunt(int area) {
  static const char* const kArea[5] = {"207 176", "317 176", "427 176", "260 256", "380 256"};
  return std::string("move 455 221\nwait 20\nclick left\nwait 40\nmove ") + kArea[area] +
         "\nwait 10\nclick left\nwait 30\nmove 225 383\nwait 10\nclick left\nwait 500\n";
}
// The aim button clicked; the gun is up and ready one second later.
inline constexpr const char* kRaise = "move 325 452\nwait 10\nclick left\nwait 1000\n";

// One ms of a run, as the observer saw it at the start of that pump pass.
struct Moment {
  int32_t state = -1;
  int32_t gun = -1;     // weapon state, -1 without a gun
  int32_t shells = 0;
  bool aimDown = false;
  bool cursorShown = true;
  bool confined = false;
  int32_t scrollX = 0, scrollY = 0;
  int32_t bagged = -1;  // index of the game's bagged bird
  int32_t dying = -1;   // index of a dying bird
  bool answering = false;
};

struct Played {
  replay::Result result;
  std::vector<std::string> states;
  std::vector<Moment> at;  // by ms
  // The first ms from `from` on at which `pred` holds, or 0.
  uint32_t First(const std::function<bool(const Moment&)>& pred, uint32_t from = 0) const {
    for (uint32_t ms = from; ms < at.size(); ++ms) {
      if (pred(at[ms])) return ms;
    }
    return 0;
  }
};

class HuntScenario : public scenario::Scenario {
 protected:
  static std::string ReadScript(const std::string& name) {
    const auto bytes = scenario::ReadBytes(scenario::fs::path(BF_SOURCE_DIR) / "tests" / "scenarios" / name);
    return std::string(bytes.begin(), bytes.end());
  }

  // Plays the script; `poke`, when given, may change the game at each ms before the script acts.
  Played Play(const std::string& text, const std::function<void(G&, uint32_t)>& poke = nullptr) {
    Played p;
    p.result = Run(text, [&](G& game, uint32_t ms) {
      if (poke) poke(game, ms);
      Moment m;
      m.state = game.state;
      if (game.hunter != nullptr && game.hunter->GetWeapon() != nullptr) {
        m.gun = game.hunter->GetWeapon()->state;
        m.shells = game.hunter->GetWeapon()->shellsFired;
      }
      m.aimDown = game.huntingWindow != nullptr && game.huntingWindow->AimPressed() != 0;
      m.cursorShown = backend->CursorVisible();
      m.confined = backend->CursorConfined();
      if (game.mainViewport != nullptr) {
        m.scrollX = game.mainViewport->GetScrollX();
        m.scrollY = game.mainViewport->GetScrollY();
      }
      if (game.map != nullptr) {
        for (size_t i = 0; i < game.map->birds.size(); ++i) {
          const ZTurkey* b = game.map->birds[i].get();
          if (b == game.baggedBird) m.bagged = static_cast<int32_t>(i);
          if (b->state == ZTurkey::Dying) m.dying = static_cast<int32_t>(i);
          m.answering = m.answering || b->answeringCall != 0;
        }
      }
      if (p.at.size() <= ms) p.at.resize(ms + 1, m);
      p.at[ms] = m;
    });
    p.states = states;
    return p;
  }
};

}  // namespace huntscenario
