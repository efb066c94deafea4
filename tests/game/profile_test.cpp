// The player's settings in the profile: the setup dialog's OK is one save, whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/profile.h"
#include "tests/game/game_fixture.h"

namespace {

using gametest::GameFixture;
namespace fs = std::filesystem;

std::pair<std::string, int32_t> StoredPair() {
  return {platform::GetProfileString("Settings", "Name", "?"), platform::GetProfileInt("Settings", "Map", -1)};
}

// A program stopped (killed, out of power) at any step of saving a confirmed hunt leaves the name and
// the hunt of before or the new ones, never the new hunt with the old name.
TEST_F(GameFixture, TheConfirmedNameAndHuntAreOneSaveThatAStopAtAnyStepLeavesWholeOrUntouched) {
  const fs::path folder = platform::GetProfileDirectory();
  const auto storeOld = [&] {
    fs::remove_all(folder);
    platform::WriteProfileString("Settings", "Name", "Old Tom");
    platform::WriteProfileInt("Settings", "Map", 3);
  };
  game->playerName = "New Ann";
  game->areaIndex = 1;

  storeOld();
  int steps = 0;
  platform::SetProfileWriteHookForTest([&](platform::ProfileWriteStep) {
    ++steps;
    return platform::StepOutcome::Proceed;
  });
  game->SaveProfile();
  EXPECT_EQ(steps, platform::kProfileWriteSteps);  // one save, not one per entry
  EXPECT_EQ(StoredPair(), std::make_pair(std::string("New Ann"), 1));

  for (int stopAt = 0; stopAt < steps; ++stopAt) {
    storeOld();
    int step = 0;
    // From this step on the program is gone: nothing more of any save happens.
    platform::SetProfileWriteHookForTest([&](platform::ProfileWriteStep) {
      return step++ >= stopAt ? platform::StepOutcome::Crash : platform::StepOutcome::Proceed;
    });
    game->SaveProfile();
    platform::SetProfileWriteHookForTest(nullptr);
    const auto pair = StoredPair();
    EXPECT_TRUE(pair == std::make_pair(std::string("Old Tom"), 3) || pair == std::make_pair(std::string("New Ann"), 1))
        << "stopped before step " << stopAt << ": " << pair.first << ", " << pair.second;
  }
  platform::SetProfileWriteHookForTest(nullptr);
}

}  // namespace
