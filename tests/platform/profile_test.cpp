// The profile store: its path, exact values, damaged files, batches, failed and interrupted saves.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/window.h"
#include "tests/platform/profile_sandbox.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetApplicationName("brushfeather");
    SetRegistryKey("Brackwen Interactive");
    path = GetProfilePath();
  }
  void TearDown() override { SetProfileWriteHookForTest(nullptr); }

  ProfileSandbox sandbox;
  std::string path;
};

TEST_F(ProfileTest, EveryStringComesBackByteForByte) {
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
  const std::vector<std::string> values = {
      "Field Scout", "", "  leading and trailing  ", "line one\nline two\r\nthree\r",
      "a=b; c [d] #e \\f \\x41 \\s", "[Settings]", "; not a comment", std::string(10000, 'W'),
      allBytes,
  };
  for (size_t i = 0; i < values.size(); ++i) {
    ASSERT_TRUE(WriteProfileString("Values", "v" + std::to_string(i), values[i]));
  }
  ASSERT_TRUE(WriteProfileInt("Settings", "Map", -7));
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(GetProfileString("values", "V" + std::to_string(i)), values[i]) << i;  // any case
  }
  EXPECT_EQ(GetProfileInt("Settings", "Map", 1), -7);
  // The file stays a readable INI file.
  EXPECT_NE(Slurp(path).find("\n[Settings]\nMap=-7\n"), std::string::npos);
}

TEST_F(ProfileTest, IntegersAndDefaults) {
  for (const char* bad : {"", "12x", "x12", "99999999999", "-", "1 2", "0x10"}) {
    ASSERT_TRUE(WriteProfileString("First", "Weight", bad));
    EXPECT_EQ(GetProfileInt("First", "Weight", 42), 42) << bad;
  }
  ASSERT_TRUE(WriteProfileString("First", "Weight", "4294967295"));  // a DWORD reads back wrapped
  EXPECT_EQ(GetProfileInt("First", "Weight", 0), -1);
}

TEST_F(ProfileTest, ADamagedFileIsReadAsFarAsItIsSound) {
  ProfileData data;
  ProfileReadResult r = ParseProfile("[A]\nx=1\ny=2\nz=3", &data);  // cut short in its last line
  EXPECT_EQ(r.damagedLine, 4u);
  EXPECT_EQ(data.EntryCount(), 2u);
  for (const char* bad :
       {"x=0\n", "[A]\nx=\\q\n", "[A]\nx=\\x4\n", "[A]\nx=a\\\n", "[A\nx=1\n", "[A] junk\n"}) {
    data = ProfileData();
    EXPECT_FALSE(ParseProfile(bad, &data).Sound()) << bad;
  }

  // On disk: the sound part is used, the backup fills in what the damage took, one line says so.
  Put(path + ".bak", "[Settings]\nName=Old Name\nMap=3\n[First]\nWeight=20\n");
  Put(path, "[Settings]\nName=New Name\n\x01garbage\n[First]\nWeight=25\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(GetProfileString("Settings", "Name"), "New Name");
  EXPECT_EQ(GetProfileInt("Settings", "Map", 1), 3);
  EXPECT_EQ(GetProfileInt("First", "Weight", 0), 20);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("damaged at line 3"), std::string::npos) << said;
  // Saving writes the whole of it back, sound; the damaged file is kept aside as it was.
  const std::string damaged = Slurp(path);
  ASSERT_TRUE(WriteProfileInt("Settings", "Map", 4));
  data = ProfileData();
  EXPECT_TRUE(ParseProfile(Slurp(path), &data).Sound());
  EXPECT_EQ(*data.Find("First", "Weight"), "20");
  EXPECT_EQ(Slurp(path + ".damaged"), damaged);

  // No main file: the backup. Garbage of every kind: never a crash.
  fs::remove(path);
  EXPECT_EQ(GetProfileString("Settings", "Name"), "New Name");
  std::mt19937 random(5);
  for (int i = 0; i < 200; ++i) {
    std::string junk(static_cast<size_t>(random() % 300), '\0');
    for (char& c : junk) c = static_cast<char>(random() % 8 == 0 ? '\n' : random() % 256);
    data = ProfileData();
    ParseProfile(junk, &data);
    ProfileData again;
    ASSERT_TRUE(ParseProfile(FormatProfile(data), &again).Sound());
    ASSERT_EQ(again, data);
  }
}

TEST_F(ProfileTest, AnUnwritableFolderKeepsTheOldFileAndSaysSoOnce) {
  ASSERT_TRUE(WriteProfileString("Settings", "Name", "Kept"));
  const std::string before = Slurp(path);
  // Even root cannot create a file where a folder stands.
  fs::create_directory(path + ".tmp");
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(WriteProfileInt("Settings", "Map", 2));
  EXPECT_FALSE(WriteProfileString("Settings", "Name", "Lost"));
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("cannot save the profile"), std::string::npos);
  EXPECT_EQ(Slurp(path), before);
  EXPECT_EQ(GetProfileString("Settings", "Name"), "Kept");
}

TEST_F(ProfileTest, AllEntriesGoInOneSaveOrNoneOfThem) {
  ASSERT_TRUE(WriteProfileString("Settings", "Name", "kept"));
  int replaces = 0;
  SetProfileWriteHookForTest([&](ProfileWriteStep s) {
    replaces += s == ProfileWriteStep::Replace ? 1 : 0;
    return StepOutcome::Proceed;
  });
  ProfileBatch batch;
  for (int i = 0; i < 5; ++i) {
    batch.WriteString("Place" + std::to_string(i), "Name", "N" + std::to_string(i));
  }
  batch.WriteString("Place0", "Name", "later");
  ASSERT_TRUE(batch.Commit());
  EXPECT_EQ(replaces, 1);
  EXPECT_EQ(GetProfileString("Place0", "Name"), "later");
  // A batch that cannot be saved leaves none of its entries.
  SetProfileWriteHookForTest([](ProfileWriteStep s) {
    return s == ProfileWriteStep::WriteSecondHalf ? StepOutcome::Fail : StepOutcome::Proceed;
  });
  ProfileBatch failing;
  failing.WriteString("Place1", "Name", "lost");
  failing.WriteString("Settings", "Name", "lost too");
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(failing.Commit());
  ::testing::internal::GetCapturedStderr();
  SetProfileWriteHookForTest(nullptr);
  EXPECT_EQ(GetProfileString("Place1", "Name"), "N1");
  EXPECT_EQ(GetProfileString("Settings", "Name"), "kept");
}

// A save stopped at any step (failing as a full disk would, or dying there) leaves either the old
// profile or the new one, complete.
TEST_F(ProfileTest, AnInterruptedSaveLeavesTheOldOrTheNewFileComplete) {
  const std::string trophies = std::string(3000, 'T');
  for (int step = 0; step < kProfileWriteSteps; ++step) {
    for (StepOutcome outcome : {StepOutcome::Fail, StepOutcome::Crash}) {
      SCOPED_TRACE("step " + std::to_string(step) + (outcome == StepOutcome::Fail ? " fails" : " crashes"));
      fs::remove_all(fs::path(path).parent_path());
      SetProfileWriteHookForTest(nullptr);
      ASSERT_TRUE(WriteProfileString("Settings", "Name", "Old Name"));
      ASSERT_TRUE(WriteProfileString("First", "Name", trophies));  // a second save: there is a backup now
      SetProfileWriteHookForTest([&](ProfileWriteStep s) {
        return static_cast<int>(s) == step ? outcome : StepOutcome::Proceed;
      });
      ::testing::internal::CaptureStderr();
      const bool saved = WriteProfileString("Settings", "Name", "New Name");
      const std::string said = ::testing::internal::GetCapturedStderr();
      SetProfileWriteHookForTest(nullptr);
      const bool lateStep = step == static_cast<int>(ProfileWriteStep::SyncFolder);
      const std::string name = GetProfileString("Settings", "Name");
      EXPECT_EQ(GetProfileString("First", "Name"), trophies);  // never lost with the rest
      if (outcome == StepOutcome::Fail) {
        EXPECT_EQ(saved, lateStep);  // the new file is already in place when only the flush fails
        EXPECT_EQ(name, lateStep ? "New Name" : "Old Name");
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_FALSE(fs::exists(path + ".tmp"));
      } else {
        EXPECT_FALSE(saved);
        EXPECT_EQ(name, step >= static_cast<int>(ProfileWriteStep::SyncFolder) ? "New Name" : "Old Name");
      }
      // The next save works from whatever was left.
      ASSERT_TRUE(WriteProfileString("Settings", "Map", "2"));
      EXPECT_EQ(GetProfileInt("Settings", "Map", 0), 2);
    }
  }
}

}  // namespace
}  // namespace platform
