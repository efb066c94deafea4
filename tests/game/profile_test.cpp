// The game's settings in the profile: read at construction under the company key, saved Map then Name.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/profile.h"
#include "tests/game/game_fixture.h"

namespace {

using gametest::GameFixture;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(GameFixture, TheApplicationSetsTheCompanyKeyAndTheGameReadsWhatWasSaved) {
  EXPECT_EQ(platform::GetRegistryKey(), "Brackwen Interactive");
  EXPECT_EQ(platform::GetProfilePath(), profile.DataHome() + "/Brackwen Interactive/brushfeather/profile.ini");
  const std::string name = "J\xC3\xB6rg \"Gobbler\" M\xC3\xBCller = #1; [champion]\n" + std::string(10000, 'x');
  ASSERT_TRUE(platform::WriteProfileString("Settings", "Name", name));
  ASSERT_TRUE(platform::WriteProfileInt("Settings", "Map", 7));  // out of range: kept as it is here
  Fresh();
  EXPECT_EQ(game->playerName, name);
  EXPECT_EQ(game->areaIndex, 7);
}

TEST_F(GameFixture, SaveProfileWritesTheHuntThenTheName) {
  game->areaIndex = 3;
  game->playerName = "Ann Oakley";
  const std::string path = platform::GetProfilePath();
  int saves = 0;
  std::string betweenSaves;
  platform::SetProfileWriteHookForTest([&](platform::ProfileWriteStep step) {
    if (step == platform::ProfileWriteStep::MakeFolder && ++saves == 2) betweenSaves = Slurp(path);
    return platform::StepOutcome::Proceed;
  });
  game->SaveProfile();
  platform::SetProfileWriteHookForTest(nullptr);
  EXPECT_EQ(saves, 2);
  EXPECT_NE(betweenSaves.find("Map=3\n"), std::string::npos) << betweenSaves;
  EXPECT_EQ(betweenSaves.find("Name="), std::string::npos) << betweenSaves;
  const std::string text = Slurp(path);
  EXPECT_NE(text.find("[Settings]\nMap=3\nName=Ann Oakley\n"), std::string::npos) << text;
  Fresh();
  EXPECT_EQ(game->playerName, "Ann Oakley");
  EXPECT_EQ(game->areaIndex, 3);
}

TEST_F(GameFixture, ASaveThatCannotBeMadeLeavesTheFileAndTheGameGoesOn) {
  game->playerName = "Kept";
  game->SaveProfile();
  const std::string path = platform::GetProfilePath();
  const std::string before = Slurp(path);
  std::filesystem::create_directory(path + ".tmp");  // nothing can be written where a folder stands
  game->playerName = "Not Kept";
  game->areaIndex = 4;
  ::testing::internal::CaptureStderr();
  game->SaveProfile();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(Slurp(path), before);
  EXPECT_EQ(game->playerName, "Not Kept");  // the game holds on to what the player chose
  EXPECT_FALSE(RunUntilQuit(3));  // and its loop runs on
  Fresh();
  EXPECT_EQ(game->playerName, "Kept");
  EXPECT_EQ(game->areaIndex, 1);
}

TEST_F(GameFixture, ADamagedProfileGivesWhatIsSoundAndDefaultsForTheRest) {
  const std::string path = platform::GetProfilePath();
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << "[Settings]\nName=Half\n\x01\x02\x03Map=2\n";
  ::testing::internal::CaptureStderr();
  Fresh();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(game->playerName, "Half");
  EXPECT_EQ(game->areaIndex, 1);
  EXPECT_NE(said.find("damaged"), std::string::npos) << said;
}

}  // namespace
