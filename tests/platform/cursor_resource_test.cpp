// Cursor resources: group directory, hot spot, doubled-height bitmaps with AND masks, damaged data.
#include "platform/cursor_resource.h"

#include <gtest/gtest.h>

#include "tests/platform/pe_test_builder.h"

namespace platform {
namespace {

// An RT_CURSOR image: hot spot, BITMAPINFOHEADER with doubled height, colours, XOR rows, AND rows.
std::vector<uint8_t> CursorBytes(int w, int h, int bpp, int hotX, int hotY, const std::vector<uint32_t>& colours,
                                 const std::vector<std::vector<int>>& indices, const std::vector<std::vector<int>>& mask) {
  std::vector<uint8_t> b;
  testpe::Put16(&b, 0, hotX);
  testpe::Put16(&b, 2, hotY);
  testpe::Put32(&b, 4, 40);
  testpe::Put32(&b, 8, w);
  testpe::Put32(&b, 12, 2 * h);
  testpe::Put16(&b, 16, 1);
  testpe::Put16(&b, 18, bpp);
  testpe::Put32(&b, 20, 0);
  testpe::Put32(&b, 36, static_cast<uint32_t>(colours.size()));
  b.resize(44, 0);
  for (uint32_t c : colours) {
    const size_t at = b.size();
    testpe::Put32(&b, at, c);  // 0x00RRGGBB stored as blue, green, red, 0
  }
  const size_t xorStride = ((w * bpp + 31) / 32) * 4, andStride = ((w + 31) / 32) * 4;
  for (int y = h - 1; y >= 0; --y) {  // bottom-up
    std::vector<uint8_t> row(xorStride, 0);
    for (int x = 0; x < w; ++x) {
      const int v = indices[y][x];
      if (bpp == 4) row[x / 2] |= static_cast<uint8_t>(x % 2 ? v : v << 4);
      else row[x] = static_cast<uint8_t>(v);
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(andStride, 0);
    for (int x = 0; x < w; ++x) row[x / 8] |= static_cast<uint8_t>(mask[y][x] << (7 - x % 8));
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

std::vector<uint8_t> Group(uint16_t cursorId) {
  std::vector<uint8_t> g;
  testpe::Put16(&g, 0, 0);
  testpe::Put16(&g, 2, 2);  // cursors
  testpe::Put16(&g, 4, 1);
  testpe::Put16(&g, 6, 3);   // width
  testpe::Put16(&g, 8, 4);   // doubled height
  testpe::Put16(&g, 10, 1);  // planes
  testpe::Put16(&g, 12, 4);  // bit count
  testpe::Put32(&g, 14, 0);
  testpe::Put16(&g, 18, cursorId);
  return g;
}

const std::vector<std::vector<int>> kIndices = {{0, 1, 2}, {2, 0, 1}};
const std::vector<std::vector<int>> kMask = {{1, 0, 0}, {0, 1, 0}};
const std::vector<uint32_t> kColours = {0x000000, 0xFF0000, 0x00FF00};

TEST(CursorResourceTest, DecodesColoursMaskAndHotSpot) {
  for (int bpp : {4, 8}) {
    const auto bytes = CursorBytes(3, 2, bpp, 2, 1, kColours, kIndices, kMask);
    CursorBitmap c;
    ASSERT_TRUE(DecodeCursorResource(bytes.data(), static_cast<uint32_t>(bytes.size()), &c)) << bpp;
    EXPECT_EQ(c.image.hotX, 2);
    EXPECT_EQ(c.image.hotY, 1);
    EXPECT_EQ(c.pixels[0], 0u);                    // masked, index 0: transparent
    EXPECT_EQ(c.pixels[1], 0xFFFF0000u);           // red, opaque
    EXPECT_EQ(c.pixels[2], 0xFF00FF00u);           // green
    EXPECT_EQ(c.pixels[3], 0xFF00FF00u);           // second row, top-down order
  }
}

TEST(CursorResourceTest, RefusesDamagedData) {
  const auto good = CursorBytes(3, 2, 8, 2, 1, kColours, kIndices, kMask);
  CursorBitmap c;
  for (size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(DecodeCursorResource(good.data(), static_cast<uint32_t>(n), &c)) << n;
  }
  // One damaged field at a time: height not doubled, hot spot outside, colour count, width.
  const struct {
    size_t at;
    uint32_t value;
  } fields[] = {{12, 3}, {0, 3}, {36, 0x10000}, {8, 0x7FFFFFFF}};
  for (const auto& f : fields) {
    auto bad = good;
    testpe::Put32(&bad, f.at, f.value);
    EXPECT_FALSE(DecodeCursorResource(bad.data(), static_cast<uint32_t>(bad.size()), &c)) << f.at;
  }
  EXPECT_FALSE(DecodeCursorResource(nullptr, 100, &c));
}

TEST(CursorResourceTest, ReadsTheGroupsFirstCursorFromAModule) {
  const auto cursor = CursorBytes(3, 2, 4, 1, 0, kColours, kIndices, kMask);
  auto image = testpe::Build({{RT_GROUP_CURSOR, 104, 0x409, Group(1)}, {RT_CURSOR, 1, 0x409, cursor}});
  auto module = Module::FromBytes(image);
  CursorBitmap c;
  ASSERT_TRUE(ReadCursorResource(module.get(), 104, &c));
  EXPECT_EQ(c.image.hotX, 1);
  EXPECT_EQ(c.pixels[1], 0xFFFF0000u);
  // A group naming a cursor that is not there.
  auto broken = Module::FromBytes(testpe::Build({{RT_GROUP_CURSOR, 104, 0x409, Group(9)}, {RT_CURSOR, 1, 0x409, cursor}}));
  EXPECT_FALSE(ReadCursorResource(broken.get(), 104, &c));
  // A group of icons is not a group of cursors.
  auto icons = Group(1);
  testpe::Put16(&icons, 2, 1);
  auto wrong = Module::FromBytes(testpe::Build({{RT_GROUP_CURSOR, 104, 0x409, icons}, {RT_CURSOR, 1, 0x409, cursor}}));
  EXPECT_FALSE(ReadCursorResource(wrong.get(), 104, &c));
}

}  // namespace
}  // namespace platform
