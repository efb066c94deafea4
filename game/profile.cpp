// The player's settings in the application profile: the hunter's name and the chosen hunt.
#include "game/turkey_game.h"
#include "platform/profile.h"

namespace {
constexpr const char* kSection = "Settings";
constexpr const char* kNameEntry = "Name";
constexpr const char* kMapEntry = "Map";
constexpr const char* kDefaultName = "Field Scout";
constexpr int32_t kDefaultMap = 1;
}  // namespace

// No range check here: the setup dialog puts a hunt outside 0 to 4 back to 0.
void ZTurkeyGame::LoadProfile() {
  playerName = platform::GetProfileString(kSection, kNameEntry, kDefaultName);
  areaIndex = platform::GetProfileInt(kSection, kMapEntry, kDefaultMap);
}

// One save for the pair (the hunt first, then the name, as ever): a program stopped in the middle
// leaves both as they were or both new, never the new hunt under the old name. A save that fails has
// said so on standard error; the game goes on with the values it holds.
void ZTurkeyGame::SaveProfile() {
  platform::ProfileBatch batch;
  batch.WriteInt(kSection, kMapEntry, areaIndex);
  batch.WriteString(kSection, kNameEntry, playerName);
  batch.Commit();
}
