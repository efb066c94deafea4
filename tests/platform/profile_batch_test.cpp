// Batches of profile entries: one save for all of them, and all or none after a failed or interrupted save.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/profile.h"
#include "platform/window.h"
#include "tests/platform/profile_sandbox.h"

namespace platform {
namespace {

class ProfileBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetApplicationName("brushfeather");
    SetRegistryKey("Brackwen Interactive");
  }
  void TearDown() override { SetProfileWriteHookForTest(nullptr); }

  // Ten entries over five sections, every one carrying `tag`.
  static ProfileBatch Tagged(const std::string& tag) {
    ProfileBatch batch;
    for (int i = 0; i < 5; ++i) {
      const std::string section = "Place" + std::to_string(i);
      batch.WriteString(section, "Name", tag + std::to_string(i));
      batch.WriteInt(section, "Weight", static_cast<int32_t>(tag.size()) * 10 + i);
    }
    return batch;
  }
  // How many entries carry `tag`, and whether the integers agree with them.
  static int CountTagged(const std::string& tag) {
    int n = 0;
    for (int i = 0; i < 5; ++i) {
      const std::string section = "Place" + std::to_string(i);
      if (GetProfileString(section, "Name") == tag + std::to_string(i)) ++n;
      if (GetProfileInt(section, "Weight", -1) == static_cast<int32_t>(tag.size()) * 10 + i) ++n;
    }
    return n;
  }

  ProfileSandbox sandbox;
};

TEST_F(ProfileBatchTest, AllEntriesGoInOneSaveAndTheLastOfANameWins) {
  ASSERT_TRUE(WriteProfileString("Settings", "Name", "kept"));
  int replaces = 0;
  SetProfileWriteHookForTest([&](ProfileWriteStep s) {
    replaces += s == ProfileWriteStep::Replace ? 1 : 0;
    return StepOutcome::Proceed;
  });
  ProfileBatch batch = Tagged("old");
  batch.WriteString("Place0", "Name", "later");
  EXPECT_EQ(batch.Size(), 11u);
  ASSERT_TRUE(batch.Commit());
  EXPECT_EQ(replaces, 1);
  EXPECT_EQ(GetProfileString("Place0", "Name"), "later");
  EXPECT_EQ(GetProfileInt("Place4", "Weight", 0), 34);
  EXPECT_EQ(GetProfileString("Settings", "Name"), "kept");
  // Nothing to write is no save at all.
  EXPECT_TRUE(ProfileBatch().Commit());
  EXPECT_EQ(replaces, 1);
}

TEST_F(ProfileBatchTest, AFailedOrInterruptedSaveLeavesEveryEntryOldOrEveryOneNew) {
  const std::string path = GetProfilePath();
  for (int step = 0; step < kProfileWriteSteps; ++step) {
    for (StepOutcome outcome : {StepOutcome::Fail, StepOutcome::Crash}) {
      SCOPED_TRACE("step " + std::to_string(step) + (outcome == StepOutcome::Fail ? " fails" : " crashes"));
      std::filesystem::remove_all(std::filesystem::path(path).parent_path());
      ASSERT_TRUE(Tagged("old").Commit());
      ASSERT_TRUE(WriteProfileString("Settings", "Name", "kept"));  // a backup exists from here on
      SetProfileWriteHookForTest(
          [&](ProfileWriteStep s) { return static_cast<int>(s) == step ? outcome : StepOutcome::Proceed; });
      ::testing::internal::CaptureStderr();
      const bool saved = Tagged("newer").Commit();
      ::testing::internal::GetCapturedStderr();
      SetProfileWriteHookForTest(nullptr);
      const int oldCount = CountTagged("old");
      const int newCount = CountTagged("newer");
      EXPECT_TRUE((oldCount == 10 && newCount == 0) || (oldCount == 0 && newCount == 10)) << oldCount << " " << newCount;
      if (!saved && step != static_cast<int>(ProfileWriteStep::SyncFolder)) {
        EXPECT_EQ(oldCount, 10);
      }
      EXPECT_EQ(GetProfileString("Settings", "Name"), "kept");
    }
  }
}

}  // namespace
}  // namespace platform
