// Sprite maps, bitmaps and cursors as artgen writes them, read back by the game's readers.
#include "tools/artgen/formats.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/graphics/frame.h"
#include "framework/graphics/image.h"
#include "framework/graphics/sprite_map.h"
#include "platform/cursor_resource.h"

namespace {

using artgen::IndexedImage;

IndexedImage Pattern(int w, int h, int seed) {
  IndexedImage img;
  img.width = w;
  img.height = h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.pixels.push_back(static_cast<uint8_t>((x * 3 + y * 11 + seed) % 250 + 2));
  return img;
}

TEST(SpriteMapWriter, FramesReadBackPixelForPixelWithHotSpotsAndSprites) {
  // Odd widths exercise the row padding; the tall frame forces a second shelf.
  std::vector<artgen::MapSprite> sprites(3);
  sprites[0].push_back({Pattern(3, 5, 1), 0, 0});
  sprites[0].push_back({Pattern(7, 2, 2), 1, 2});
  sprites[1].push_back({Pattern(1000, 4, 3), 500, 3});
  sprites[2].push_back({Pattern(50, 61, 4), 68, 227});
  const artgen::SpriteMapImage out = artgen::BuildSpriteMap(sprites, artgen::CommonPalette(), 1);
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(out.bytes.data(), out.bytes.size()), 1);
  EXPECT_EQ(map.GetEntryCount(), 4);
  EXPECT_EQ(map.GetTransparentIndex(), 1);
  EXPECT_EQ(map.GetWidth(), out.packed.width);
  EXPECT_EQ(map.GetHeight(), out.packed.height);
  int checked = 0;
  for (int s = 0; s < 3; ++s) {
    std::vector<std::unique_ptr<ZFrame>> frames;
    ASSERT_EQ(map.GetFrames(s, &frames), 1);
    ASSERT_EQ(frames.size(), sprites[s].size());
    for (size_t f = 0; f < frames.size(); ++f) {
      const artgen::MapFrame& src = sprites[s][f];
      EXPECT_EQ(frames[f]->Width(), src.image.width);
      EXPECT_EQ(frames[f]->Height(), src.image.height);
      EXPECT_EQ(frames[f]->hotX, src.hotX);
      EXPECT_EQ(frames[f]->hotY, src.hotY);
      const auto& r = frames[f]->sourceRect;
      EXPECT_LE(r.right, map.GetWidth());
      EXPECT_LE(r.bottom, map.GetHeight());
      for (int v = 0; v < src.image.height; ++v)
        for (int u = 0; u < src.image.width; ++u) {
          ASSERT_EQ(map.GetPixel(frames[f]->frameId, u, v), src.image.At(u, v)) << s << "/" << f << " " << u << "," << v;
          // The packed picture holds the same pixel at the frame's place in the map.
          ASSERT_EQ(out.packed.At(r.left + u, r.top + v), src.image.At(u, v));
          ++checked;
        }
      EXPECT_EQ(map.GetPixel(frames[f]->frameId, src.image.width, 0), -1);
    }
  }
  EXPECT_EQ(checked, 15 + 14 + 4000 + 50 * 61);
  // Frames never overlap in the map.
  for (int a = 0; a < 4; ++a)
    for (int b = a + 1; b < 4; ++b) {
      const ZComponent* p = map.GetComponent(a);
      const ZComponent* q = map.GetComponent(b);
      const bool apart = p->X() + p->Width() <= q->X() || q->X() + q->Width() <= p->X() ||
                         p->Y() + p->Height() <= q->Y() || q->Y() + q->Height() <= p->Y();
      EXPECT_TRUE(apart) << a << " and " << b;
      EXPECT_NE(p->FrameId(), q->FrameId());
    }
}

TEST(BitmapWriter, ResourceLoadsWithItsPaletteAndPaddedRows) {
  const IndexedImage img = Pattern(3, 4, 7);
  const std::vector<uint8_t> bytes = artgen::MakeBitmapResource(img, artgen::CommonPalette());
  EXPECT_EQ(bytes.size(), 1064u + 4 * 4);
  ZDIB dib;
  ASSERT_EQ(dib.LoadResourceBytes(bytes.data(), bytes.size()), 1);
  EXPECT_EQ(dib.GetWidth(), 3);
  EXPECT_EQ(dib.GetHeight(), 4);
  EXPECT_EQ(dib.GetStride(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(*dib.GetPixelAddress(x, y), img.At(x, y));
  ZPaletteEntry pal[256];
  dib.GetPaletteEntries(0, 256, pal);
  EXPECT_EQ(pal[1], (ZPaletteEntry{255, 0, 255, 0}));
  // The file form is the same with a 14-byte header whose offset points at the pixels.
  const std::vector<uint8_t> file = artgen::MakeBitmapFile(img, artgen::CommonPalette());
  ASSERT_EQ(file.size(), bytes.size() + 14);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[10] | file[11] << 8, 14 + 1064);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), file.begin() + 14));
}

TEST(CursorWriter, DecodesWithHotSpotAndTransparentSurround) {
  IndexedImage img;
  img.width = img.height = 32;
  img.pixels.assign(32 * 32, 1);
  for (int i = 0; i < 10; ++i) img.pixels[i * 32 + i] = artgen::pal::kYellow;
  const auto res = artgen::MakeCursor(img, artgen::CommonPalette(), 1, 2, 3, 1);
  platform::CursorBitmap bmp;
  ASSERT_TRUE(platform::DecodeCursorResource(res.cursor.data(), static_cast<uint32_t>(res.cursor.size()), &bmp));
  EXPECT_EQ(bmp.image.width, 32);
  EXPECT_EQ(bmp.image.height, 32);
  EXPECT_EQ(bmp.image.hotX, 2);
  EXPECT_EQ(bmp.image.hotY, 3);
  EXPECT_EQ(bmp.pixels[5 * 32 + 5], 0xFFFFFF00u);
  EXPECT_EQ(bmp.pixels[5 * 32 + 6] >> 24, 0u);
  // The group names the cursor by id and gives its byte count.
  ASSERT_EQ(res.group.size(), 20u);
  EXPECT_EQ(res.group[14] | res.group[15] << 8, static_cast<int>(res.cursor.size()));
  EXPECT_EQ(res.group[18], 1);
}

}  // namespace
