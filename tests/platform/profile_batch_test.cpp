// Batches of profile entries: one save for all of them, and none of them after a failed save.
#include <gtest/gtest.h>

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

  ProfileSandbox sandbox;
};

TEST_F(ProfileBatchTest, AllEntriesGoInOneSaveOrNoneOfThem) {
  ASSERT_TRUE(WriteProfileString("Settings", "Name", "kept"));
  int replaces = 0;
  SetProfileWriteHookForTest([&](ProfileWriteStep s) {
    replaces += s == ProfileWriteStep::Replace ? 1 : 0;
    return StepOutcome::Proceed;
  });
  ProfileBatch batch;
  for (int i = 0; i < 5; ++i) {
    batch.WriteString("Place" + std::to_string(i), "Name", "N" + std::to_string(i));
    batch.WriteInt("Place" + std::to_string(i), "Weight", 30 + i);
  }
  batch.WriteString("Place0", "Name", "later");
  EXPECT_EQ(batch.Size(), 11u);
  ASSERT_TRUE(batch.Commit());
  EXPECT_EQ(replaces, 1);
  EXPECT_EQ(GetProfileString("Place0", "Name"), "later");
  EXPECT_EQ(GetProfileString("Place3", "Name"), "N3");
  EXPECT_EQ(GetProfileInt("Place4", "Weight", 0), 34);
  EXPECT_TRUE(ProfileBatch().Commit());
  EXPECT_EQ(replaces, 1);  // nothing to write is no save at all
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

}  // namespace
}  // namespace platform
