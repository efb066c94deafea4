// ZSystem: what Describe fills on this host.
#include <gtest/gtest.h>

#include <filesystem>

#include "framework/core/system.h"

namespace {

TEST(SystemTest, DescribeFillsTheDirectoryAndTheRecordSizes) {
  ZSystem s;
  EXPECT_EQ(s.Describe(), 0);
  EXPECT_EQ(s.currentDirectory, std::filesystem::current_path().string().substr(0, 255));
  EXPECT_EQ(s.memoryStatus.dwLength, 32u);
  EXPECT_GT(s.memoryStatus.dwTotalPhys, 0u);  // /proc/meminfo is readable here
  EXPECT_EQ(s.versionInfo.dwOSVersionInfoSize, 148u);
  // This platform's id and its 64-bit processor are in neither list: the texts stay as they were.
  EXPECT_TRUE(s.platformName.empty());
  EXPECT_EQ(s.processorName, "Unknown");
  EXPECT_EQ(ZSystem::ProcessorText(9), nullptr);
  EXPECT_FALSE(s.commandLine.empty());
}

}  // namespace
