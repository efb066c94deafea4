// ZSystem: the texts of platform ids and processor architectures, and what Describe fills.
#include <gtest/gtest.h>

#include <filesystem>

#include "framework/core/system.h"

namespace {

TEST(SystemTest, StartsEmptyWithAnUnknownProcessor) {
  ZSystem s;
  EXPECT_TRUE(s.commandLine.empty());
  EXPECT_TRUE(s.currentDirectory.empty());
  EXPECT_TRUE(s.platformName.empty());
  EXPECT_EQ(s.processorName, "Unknown");
  EXPECT_EQ(s.versionInfo.dwOSVersionInfoSize, 0u);
  EXPECT_EQ(s.memoryStatus.dwLength, 0u);
  EXPECT_STREQ(s.GetRuntimeClass()->className, "ZSystem");
}

TEST(SystemTest, PlatformAndProcessorTexts) {
  EXPECT_STREQ(ZSystem::PlatformText(0), "Win32s on Windows 3.1");
  EXPECT_STREQ(ZSystem::PlatformText(1), "Win32 on Windows 95");
  EXPECT_STREQ(ZSystem::PlatformText(2), "Win32 on Windows NT");
  EXPECT_EQ(ZSystem::PlatformText(3), nullptr);
  EXPECT_STREQ(ZSystem::ProcessorText(0), "Intel");
  EXPECT_STREQ(ZSystem::ProcessorText(1), "MIPS");
  EXPECT_STREQ(ZSystem::ProcessorText(2), "Alpha");
  EXPECT_STREQ(ZSystem::ProcessorText(3), "PowerPC");
  EXPECT_STREQ(ZSystem::ProcessorText(0xFFFF), "Unknown");
  EXPECT_EQ(ZSystem::ProcessorText(9), nullptr);  // not in the list: the text stays as it is
}

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
  EXPECT_FALSE(s.commandLine.empty());
}

}  // namespace
