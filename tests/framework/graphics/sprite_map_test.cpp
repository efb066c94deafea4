// Sprite maps: layout (stride, bottom-up rows, frames of one sprite), loading from resources and files, painting.
#include "framework/graphics/sprite_map.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "framework/graphics/frame.h"
#include "framework/graphics/palette.h"
#include "platform/module.h"
#include "tests/framework/graphics/gfx_test_util.h"
#include "tests/platform/pe_test_builder.h"

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

std::unique_ptr<platform::Module> ModuleWith(const std::vector<uint8_t>& map, int id = 151) {
  std::vector<testpe::Resource> res{{"SPRITEMAP", id, 0x409, map}};
  return platform::Module::FromBytes(testpe::Build(res), "test.dll");
}

TEST(SpriteMapTest, ReadsLayoutFromBytes) {
  ZSpriteMap map;
  // Before a load everything is zero except word 5.
  EXPECT_EQ(map.GetHeaderWord(5), 1u);
  EXPECT_EQ(map.GetEntryCount(), 0);
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 3, ThreeFrames());
  ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
  EXPECT_EQ(map.GetEntryCount(), 3);
  EXPECT_EQ(map.GetWidth(), 16);
  EXPECT_EQ(map.GetHeight(), 8);
  EXPECT_EQ(map.GetTransparentIndex(), 3);
  EXPECT_EQ(map.GetColorTableSize(), 1024u);

  // A 3-wide entry has stride 4: its rows are 4 bytes apart, stored bottom row first.
  EXPECT_EQ(map.GetComponent(0)->Stride(), 4);
  const uint8_t* pixels = map.GetData() + 1024;
  EXPECT_EQ(pixels[0], 13);  // (0, 1): bottom row first
  EXPECT_EQ(pixels[4], 10);  // (0, 0): the second stored row starts 4 bytes on
  EXPECT_EQ(map.GetPixel(100, 0, 0), 10);
  EXPECT_EQ(map.GetPixel(100, 2, 0), 12);
  EXPECT_EQ(map.GetPixel(100, 2, 1), 15);
  EXPECT_EQ(map.GetPixel(100, 3, 0), -1);  // u equal to the width
  EXPECT_EQ(map.GetPixel(100, 0, 2), -1);
  EXPECT_EQ(map.GetPixel(100, -1, 0), -1);
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
  EXPECT_EQ(list[1]->frameId, 101);
  EXPECT_EQ(list[1]->sourceRect, (platform::Rect{4, 0, 9, 4}));
  EXPECT_EQ(list[1]->hotX, 2);
  EXPECT_EQ(list[1]->hotY, 3);
  EXPECT_EQ(map.GetFrames(8, &list), 0);
  EXPECT_EQ(list.size(), 2u);
  // A lookup by frame id finds the first entry with it.
  std::unique_ptr<ZFrame> f = map.GetFrame(100);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->sourceRect, (platform::Rect{0, 0, 3, 2}));
  EXPECT_EQ(map.GetPixel(100, 0, 0), 10);
  EXPECT_EQ(map.GetFrame(999), nullptr);
}

TEST(SpriteMapTest, DamagedBytesAreRefusedAndKeepThePreviousMap) {
  std::vector<uint8_t> good = BuildSpriteMap(16, 8, 3, ThreeFrames());
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(good.data(), good.size()), 1);
  // Short header, entries past the end, data past the end, an absurd entry count.
  EXPECT_EQ(map.LoadBytes(good.data(), 47), 0);
  EXPECT_EQ(map.LoadBytes(good.data(), 48 + 272), 0);
  EXPECT_EQ(map.LoadBytes(good.data(), good.size() - 1), 0);
  std::vector<uint8_t> huge = good;
  gfxtest::Put32(&huge, 12, 0xFFFFFFFF);
  EXPECT_EQ(map.LoadBytes(huge.data(), huge.size()), 0);
  std::vector<uint8_t> bigData = good;
  gfxtest::Put32(&bigData, 28, 0xFFFFFF00);
  gfxtest::Put32(&bigData, 24, 0xFFFFFF00);
  EXPECT_EQ(map.LoadBytes(bigData.data(), bigData.size()), 0);
  EXPECT_EQ(map.GetEntryCount(), 3);
  EXPECT_EQ(map.GetPixel(100, 1, 1), 14);

  // An entry whose pixels lie outside the data answers -1 instead of reading past it.
  std::vector<uint8_t> badOffset = good;
  gfxtest::Put32(&badOffset, 48 + 244, 0x7FFFFFF0);
  ASSERT_EQ(map.LoadBytes(badOffset.data(), badOffset.size()), 1);
  EXPECT_EQ(map.GetPixel(100, 0, 0), -1);
}

TEST(SpriteMapTest, EntriesAtTheEdgeOf32BitsGiveEmptyFramesAndNoPixels) {
  // Frames 1 to 3 run past 2^31 to the right, past it downwards, and below -2^31; frame 4 is 2^31 - 1 wide.
  std::vector<MapFrame> frames = ThreeFrames();
  frames.push_back(SolidFrame(1, 5, 0x7FFFFFFF, 0, 2, 1, 40, 1, 0));
  frames.push_back(SolidFrame(2, 5, 0, 0x7FFFFFF0, 1, 0x10, 41));
  frames.push_back(SolidFrame(3, 5, INT32_MIN, 0, 1, 1, 42));
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 3, frames);
  gfxtest::Put32(&bytes, 48 + 272 * 5 + 256, static_cast<uint32_t>(-2));  // frame 3: width -2 after building it
  MapFrame wide = SolidFrame(4, 6, 0, 0, 1, 2, 43);
  std::vector<uint8_t> wideBytes = BuildSpriteMap(16, 8, 3, {wide});
  gfxtest::Put32(&wideBytes, 48 + 256, 0x7FFFFFFF);

  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
  const platform::Rect emptyRight{0x7FFFFFFF, 0, 0x7FFFFFFF, 0};
  EXPECT_EQ(map.GetFrame(1)->sourceRect, emptyRight);
  EXPECT_EQ(map.GetFrame(1)->hotX, 1);
  const platform::Rect emptyDown{0, 0x7FFFFFF0, 0, 0x7FFFFFF0};
  EXPECT_EQ(map.GetFrame(2)->sourceRect, emptyDown);
  const platform::Rect emptyLeft{INT32_MIN, 0, INT32_MIN, 0};
  EXPECT_EQ(map.GetFrame(3)->sourceRect, emptyLeft);
  std::vector<std::unique_ptr<ZFrame>> list;
  EXPECT_EQ(map.GetFrames(5, &list), 1);
  EXPECT_EQ(list.size(), 3u);
  // A rectangle that fits 32 bits keeps its edges, even far from the map.
  EXPECT_EQ(map.GetFrame(101)->sourceRect, (platform::Rect{4, 0, 9, 4}));
  EXPECT_EQ(map.GetPixel(1, 0, 0), 40);  // the pixels are there; only the place is absurd

  ZSpriteMap wideMap;
  ASSERT_EQ(wideMap.LoadBytes(wideBytes.data(), wideBytes.size()), 1);
  EXPECT_EQ(wideMap.GetComponent(0)->Stride(), int64_t{0x80000000});
  EXPECT_EQ(wideMap.GetFrame(4)->sourceRect, (platform::Rect{0, 0, 0x7FFFFFFF, 2}));
  EXPECT_EQ(wideMap.GetPixel(4, 0, 1), 43);  // the bottom row is stored first, at the entry's offset
  EXPECT_EQ(wideMap.GetPixel(4, 0, 0), -1);  // the next row starts 2^31 bytes on, far past the data
  EXPECT_EQ(wideMap.GetPixel(4, 0x7FFFFFFE, 1), -1);
}

TEST(SpriteMapTest, LoadsFromAModuleResourceByLow16BitsOfTheId) {
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 3, ThreeFrames());
  auto module = ModuleWith(bytes);
  ASSERT_TRUE(module->Valid());
  ZSpriteMap map;
  EXPECT_EQ(map.LoadResource(150, module.get()), 0);
  EXPECT_EQ(map.GetEntryCount(), 0);
  ASSERT_EQ(map.LoadResource(151 + 0x10000, module.get()), 1);
  EXPECT_EQ(map.GetEntryCount(), 3);
  EXPECT_EQ(map.GetPixel(101, 4, 3), 20);
}

TEST(SpriteMapTest, LoadsFromAFileAndRefusesShortFiles) {
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 3, ThreeFrames());
  std::string path = ::testing::TempDir() + "gfx_map_test.dat";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  ZSpriteMap map;
  ASSERT_EQ(map.LoadFile(path), 1);
  EXPECT_EQ(map.GetEntryCount(), 3);
  EXPECT_EQ(map.GetPixel(100, 1, 0), 11);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size() - 10));
  }
  ZSpriteMap other;
  EXPECT_EQ(other.LoadFile(path), 0);
  EXPECT_EQ(other.LoadFile(path + ".missing"), 0);
  std::remove(path.c_str());
}

TEST(SpriteMapTest, ColourTableGivesThePalette) {
  std::vector<uint8_t> bytes = BuildSpriteMap(16, 8, 5, ThreeFrames(), 1024);
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
  ZPaletteEntry e[2];
  map.GetColorTable(2, e);
  EXPECT_EQ(e[1], (ZPaletteEntry{7, 254, 1, 0}));
  ZPalette palette;
  ASSERT_EQ(palette.CreateFromSpriteMap(&map), 1);
  EXPECT_EQ(palette.GetLogPalette().count, 256);
  EXPECT_EQ(palette.GetLogPalette().version, 0x300);
  EXPECT_EQ(palette.GetTransparentIndex(), 5);
  EXPECT_EQ(palette.GetLogPalette().entries[200], (ZPaletteEntry{static_cast<uint8_t>(200 * 7), 55, 200, 0}));

  // No table, or one shorter than an entry, gives no palette.
  for (uint32_t size : {0u, 3u}) {
    std::vector<uint8_t> small = BuildSpriteMap(16, 8, 5, ThreeFrames(), size);
    ZSpriteMap m;
    ASSERT_EQ(m.LoadBytes(small.data(), small.size()), 1);
    ZPalette p;
    EXPECT_EQ(p.CreateFromSpriteMap(&m), 0) << size;
    EXPECT_FALSE(p.IsCreated());
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
  EXPECT_EQ(At(surface.get(), 2, 0), 12);
  EXPECT_EQ(At(surface.get(), 0, 1), 13);
  EXPECT_EQ(At(surface.get(), 3, 0), 99);  // padding is not copied
  EXPECT_EQ(At(surface.get(), 8, 3), 20);
  EXPECT_EQ(At(surface.get(), 7, 7), 30);
  EXPECT_EQ(At(surface.get(), 15, 7), 99);

  auto narrow = MakeSurface(15, 8, 99);
  EXPECT_EQ(map.Paint(narrow.get()), 0);
  EXPECT_EQ(map.GetSkippedEntryCount(), 0);  // refused before any entry was looked at
  EXPECT_EQ(At(narrow.get(), 0, 0), 99);
  EXPECT_EQ(map.Paint(nullptr), 0);

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
  EXPECT_EQ(surface.GetKind(), ZSurface::kKindOffscreen);
  EXPECT_EQ(surface.GetKeyValue(), 3);
  EXPECT_EQ(surface.GetSourceSpriteMap(), &map);
  platform::ColorKey key;
  ASSERT_EQ(surface.GetSurface2()->GetColorKey(platform::DDCKEY_SRCBLT, &key), 0);
  EXPECT_EQ(key.low, 3u);
  EXPECT_EQ(key.high, 3u);
  surface.GetSurface2()->MarkLost();
  EXPECT_TRUE(surface.IsLost());
  ASSERT_EQ(surface.Restore(), 0);
  EXPECT_FALSE(surface.IsLost());
  EXPECT_EQ(At(&surface, 1, 1), 14);
}

}  // namespace
