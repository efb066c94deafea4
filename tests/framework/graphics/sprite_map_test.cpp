// Sprite maps: layout (stride, bottom-up rows, frames of one sprite), damaged maps, files, palettes, painting.
#include "framework/graphics/sprite_map.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "framework/graphics/frame.h"
#include "framework/graphics/palette.h"
#include "tests/framework/graphics/gfx_test_util.h"

namespace {

using gfxtest::BuildSpriteMap;
using gfxtest::MapFrame;
using gfxtest::PatternFrame;
using gfxtest::SolidFrame;

// Three frames: a 3-wide patterned frame of sprite 7, a second frame of sprite 7, one of sprite 9.
std::vector<MapFrame> ThreeFrames() {
  return {PatternFrame(100, 7, 0, 0, 3, 2, [](int u, int v) { return 10 + u + 3 * v; }, 1, 1),
          SolidFrame(101, 7, 4, 0, 5, 4, 20, 2, 3), SolidFrame(102, 9, 0, 5, 8, 3, 30)};
}

TEST(SpriteMapTest, ReadsLayoutFromBytesWithBottomUpPaddedRows) {
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 3, ThreeFrames());
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
  EXPECT_EQ(map.GetEntryCount(), 3);
  EXPECT_EQ(map.GetWidth(), 16);
  EXPECT_EQ(map.GetHeight(), 8);
  EXPECT_EQ(map.GetTransparentIndex(), 3);
  // A 3-wide entry has stride 4; its bottom row is stored first.
  EXPECT_EQ(map.GetComponent(0)->Stride(), 4);
  EXPECT_EQ(map.GetPixel(100, 0, 0), 10);
  EXPECT_EQ(map.GetPixel(100, 2, 1), 15);
  for (auto [u, v] : {std::pair{3, 0}, {0, 2}, {-1, 0}}) EXPECT_EQ(map.GetPixel(100, u, v), -1) << u << "," << v;
  EXPECT_EQ(map.GetPixel(555, 0, 0), -1);
}

TEST(SpriteMapTest, FramesOfOneSpriteComeInMapOrder) {
  std::vector<MapFrame> frames = ThreeFrames();
  frames.push_back(SolidFrame(100, 11, 9, 0, 2, 2, 40));  // same frame id as the first entry
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 0, frames);
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
  std::vector<std::unique_ptr<ZFrame>> list;
  ASSERT_EQ(map.GetFrames(7, &list), 1);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->frameId, 100);
  EXPECT_EQ(list[1]->sourceRect, (platform::Rect{4, 0, 9, 4}));
  EXPECT_EQ(list[1]->hotY, 3);
  EXPECT_EQ(map.GetFrames(8, &list), 0);
  // A lookup by frame id finds the first entry with it.
  EXPECT_EQ(map.GetFrame(100)->sourceRect, (platform::Rect{0, 0, 3, 2}));
  EXPECT_EQ(map.GetFrame(999), nullptr);
}

TEST(SpriteMapTest, DamagedBytesAreRefusedAndKeepThePreviousMap) {
  const std::vector<uint8_t> good = BuildSpriteMap(16, 8, 3, ThreeFrames());
  struct Damage {
    const char* what;
    size_t length;       // bytes given
    size_t at;           // word to overwrite (0: none)
    uint32_t value;
  };
  const Damage cases[] = {
      {"short header", 47, 0, 0},
      {"entries past the end", 48 + 272, 0, 0},
      {"data past the end", good.size() - 1, 0, 0},
      {"absurd entry count", good.size(), 12, 0xFFFFFFFF},
      {"absurd data size", good.size(), 28, 0xFFFFFF00},
      {"absurd colour table", good.size(), 24, 0xFFFFFF00},
  };
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(good.data(), good.size()), 1);
  for (const Damage& d : cases) {
    std::vector<uint8_t> bytes = good;
    if (d.at != 0) gfxtest::Put32(&bytes, d.at, d.value);
    EXPECT_EQ(map.LoadBytes(bytes.data(), d.length), 0) << d.what;
    EXPECT_EQ(map.GetEntryCount(), 3) << d.what;
    EXPECT_EQ(map.GetPixel(100, 1, 1), 14) << d.what;
  }
  // An entry whose pixels lie outside the data answers -1 instead of reading past it.
  std::vector<uint8_t> badOffset = good;
  gfxtest::Put32(&badOffset, 48 + 244, 0x7FFFFFF0);
  ASSERT_EQ(map.LoadBytes(badOffset.data(), badOffset.size()), 1);
  EXPECT_EQ(map.GetPixel(100, 0, 0), -1);
}

TEST(SpriteMapTest, EntriesAtTheEdgeOf32BitsGiveEmptyFramesAndNoPixels) {
  // Frames 1 to 3 run past 2^31 to the right, past it downwards, and (width -2) below -2^31.
  std::vector<MapFrame> frames = ThreeFrames();
  frames.push_back(SolidFrame(1, 5, 0x7FFFFFFF, 0, 2, 1, 40, 1, 0));
  frames.push_back(SolidFrame(2, 5, 0, 0x7FFFFFF0, 1, 0x10, 41));
  frames.push_back(SolidFrame(3, 5, INT32_MIN, 0, 1, 1, 42));
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 3, frames);
  gfxtest::Put32(&bytes, 48 + 272 * 5 + 256, static_cast<uint32_t>(-2));
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
  EXPECT_EQ(map.GetFrame(1)->sourceRect, (platform::Rect{0x7FFFFFFF, 0, 0x7FFFFFFF, 0}));
  EXPECT_EQ(map.GetFrame(2)->sourceRect, (platform::Rect{0, 0x7FFFFFF0, 0, 0x7FFFFFF0}));
  EXPECT_EQ(map.GetFrame(3)->sourceRect, (platform::Rect{INT32_MIN, 0, INT32_MIN, 0}));
  EXPECT_EQ(map.GetPixel(1, 0, 0), 40);  // the pixels are there; only the place is absurd

  // A frame 2^31 - 1 wide: its stride needs 64 bits and its second row lies far past the data.
  std::vector<uint8_t> wideBytes = BuildSpriteMap(16, 8, 3, {SolidFrame(4, 6, 0, 0, 1, 2, 43)});
  gfxtest::Put32(&wideBytes, 48 + 256, 0x7FFFFFFF);
  ZSpriteMap wide;
  ASSERT_EQ(wide.LoadBytes(wideBytes.data(), wideBytes.size()), 1);
  EXPECT_EQ(wide.GetComponent(0)->Stride(), int64_t{0x80000000});
  EXPECT_EQ(wide.GetPixel(4, 0, 1), 43);
  EXPECT_EQ(wide.GetPixel(4, 0, 0), -1);
}

TEST(SpriteMapTest, LoadsFromAFileAndRefusesShortFiles) {
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 3, ThreeFrames());
  std::string path = ::testing::TempDir() + "gfx_map_test.dat";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size() - 10));
  ZSpriteMap map;
  EXPECT_EQ(map.LoadFile(path), 0);
  EXPECT_EQ(map.LoadFile(path + ".missing"), 0);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
  ASSERT_EQ(map.LoadFile(path), 1);
  EXPECT_EQ(map.GetPixel(100, 1, 0), 11);
  std::remove(path.c_str());
}

TEST(SpriteMapTest, ColourTableGivesThePalette) {
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 5, ThreeFrames(), 1024);
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
  ZPalette palette;
  ASSERT_EQ(palette.CreateFromSpriteMap(&map), 1);
  EXPECT_EQ(palette.GetTransparentIndex(), 5);
  EXPECT_EQ(palette.GetLogPalette().entries[200], (ZPaletteEntry{static_cast<uint8_t>(200 * 7), 55, 200, 0}));
  // No table, or one shorter than an entry, gives no palette.
  for (uint32_t size : {0u, 3u}) {
    std::vector<uint8_t> small = BuildSpriteMap(16, 8, 5, ThreeFrames(), size);
    ZSpriteMap m;
    ASSERT_EQ(m.LoadBytes(small.data(), small.size()), 1);
    ZPalette p;
    EXPECT_EQ(p.CreateFromSpriteMap(&m), 0) << size;
  }
}

class SpriteMapPaintTest : public gfxtest::GraphicsFixture {};

TEST_F(SpriteMapPaintTest, PaintsFramesTopRowFirstIntoASurfaceOfExactlyItsSize) {
  std::vector<MapFrame> frames = ThreeFrames();
  frames.push_back(SolidFrame(103, 9, 14, 6, 4, 4, 50));  // runs past the map: skipped
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 3, frames);
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
  auto surface = MakeSurface(16, 8, 99);
  ASSERT_EQ(map.Paint(surface.get()), 1);
  EXPECT_EQ(map.GetSkippedEntryCount(), 1);
  EXPECT_EQ(At(surface.get(), 0, 0), 10);
  EXPECT_EQ(At(surface.get(), 0, 1), 13);
  EXPECT_EQ(At(surface.get(), 3, 0), 99);  // padding is not copied
  EXPECT_EQ(At(surface.get(), 8, 3), 20);
  EXPECT_EQ(At(surface.get(), 15, 7), 99);

  auto narrow = MakeSurface(15, 8, 99);
  EXPECT_EQ(map.Paint(narrow.get()), 0);
  EXPECT_EQ(map.GetSkippedEntryCount(), 0);  // refused before any entry was looked at
  // A map with no entries loads but does not paint.
  std::vector<uint8_t> empty = BuildSpriteMap(16, 8, 3, {});
  ZSpriteMap none;
  ASSERT_EQ(none.LoadBytes(empty.data(), empty.size()), 1);
  EXPECT_EQ(none.Paint(surface.get()), 0);
}

TEST_F(SpriteMapPaintTest, AMapOnePixelHighPaintsButSkipsEveryTallerFrame) {
  std::vector<MapFrame> frames = ThreeFrames();
  frames.push_back(SolidFrame(104, 9, 10, 0, 3, 1, 60));  // the only frame one pixel high
  frames.push_back(SolidFrame(105, 9, 0x7FFFFFFF, 0, 2, 1, 61));
  frames.push_back(SolidFrame(106, 9, 0, 0, 1, 1, 62));
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 1, 3, frames);
  gfxtest::Put32(&bytes, 48 + 272 * 5 + 256, 0x7FFFFFFF);  // frame 106: absurdly wide
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
  auto surface = MakeSurface(16, 1, 99);
  ASSERT_EQ(map.Paint(surface.get()), 1);
  EXPECT_EQ(map.GetSkippedEntryCount(), 5);
  EXPECT_EQ(At(surface.get(), 10, 0), 60);
  EXPECT_EQ(At(surface.get(), 0, 0), 99);
}

TEST_F(SpriteMapPaintTest, SurfaceFromSpriteMapIsKeyedAndRepaintsAfterALoss) {
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 3, ThreeFrames());
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
  ZSurface surface(graphics.get(), &map);
  ASSERT_NE(surface.GetSurface2(), nullptr);
  platform::ColorKey key;
  ASSERT_EQ(surface.GetSurface2()->GetColorKey(platform::DDCKEY_SRCBLT, &key), 0);
  EXPECT_EQ(key.low, 3u);
  surface.GetSurface2()->MarkLost();
  ASSERT_EQ(surface.Restore(), 0);
  EXPECT_EQ(At(&surface, 1, 1), 14);
}

}  // namespace
