// The player's settings in the application profile: the hunter's name and the chosen hunt.
#include "game/turkey_game.h"

namespace {
constexpr const char* kDefaultName = "Field Scout";
constexpr int32_t kDefaultMap = 1;
}  // namespace

// The profile store is not there yet: a missing profile gives the defaults.
void ZTurkeyGame::LoadProfile() {
  playerName = kDefaultName;
  areaIndex = kDefaultMap;
}

// Nothing can be kept yet; the settings start from the defaults next time.
void ZTurkeyGame::SaveProfile() {}
