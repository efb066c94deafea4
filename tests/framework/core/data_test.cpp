// File objects and the resource-reading contract.
#include "framework/core/data.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/module.h"
#include "tests/platform/pe_test_builder.h"

namespace {

TEST(DataTest, FileObjectsReadSeekAndReportShortReads) {
  std::string path = ::testing::TempDir() + "gfx_data_file.bin";
  {
    CFile out;
    ASSERT_TRUE(out.Open(path, CFile::modeCreate | CFile::modeWrite));
    ASSERT_TRUE(out.Write("abcdef", 6));
  }
  CFile file;
  ASSERT_TRUE(file.Open(path, CFile::modeRead));
  EXPECT_EQ(file.GetLength(), 6u);
  char buf[8] = {};
  EXPECT_EQ(file.Seek(4, CFile::begin), 4);
  EXPECT_EQ(file.Read(buf, 8), 2u);
  EXPECT_EQ(std::string(buf, 2), "ef");
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(file.Open(path + ".missing", CFile::modeRead));
}

TEST(DataTest, ResourceReadingFindsByTypeAndLow16BitsOfTheId) {
  std::vector<uint8_t> wave = {'R', 'I', 'F', 'F', 9, 9};
  std::vector<testpe::Resource> res{{"WAVE", 132, 0x409, wave}, {2, 133, 0x409, {1, 2, 3}}};
  auto module = platform::Module::FromBytes(testpe::Build(res), "res.dll");
  ZResourceBlock block;
  ASSERT_EQ(ZReadResource(module.get(), "WAVE", 132, &block), 1);
  ASSERT_NE(block.data, nullptr);
  EXPECT_EQ(block.size, 6u);
  EXPECT_EQ(block.data[0], 'R');
  ASSERT_EQ(ZReadResource(module.get(), "wave", 132 + 0x30000, &block), 1);
  EXPECT_EQ(block.size, 6u);
  ASSERT_EQ(ZReadResource(module.get(), kResourceTypeBitmap, 133, &block), 1);
  EXPECT_EQ(block.size, 3u);
  // A missing id is a failure, not an empty block.
  EXPECT_EQ(ZReadResource(module.get(), "WAVE", 133, &block), 0);
  EXPECT_EQ(block.data, nullptr);
  EXPECT_EQ(block.size, 0u);
  EXPECT_EQ(ZReadResource(module.get(), "SPRITEMAP", 132, &block), 0);
  EXPECT_EQ(ZReadResource(module.get(), static_cast<const char*>(nullptr), 132, &block), 0);
}

}  // namespace
