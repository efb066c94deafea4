// Reads every art file the build made through the game's own readers and checks layout and colours.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/frame.h"
#include "framework/graphics/image.h"
#include "framework/graphics/sprite_map.h"
#include "game/art_files.h"
#include "platform/module.h"
#include "tools/artgen/controls.h"
#include "tools/artgen/formats.h"
#include "tools/artgen/hunt_items.h"
#include "tools/artgen/palette.h"

namespace {

using artgen::CommonPalette;
namespace ctl = artgen::ctl;

std::string RunPath(const std::string& name) { return std::string(BF_RUN_DIR) + "/" + name; }

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<platform::Module> OpenModule(const std::string& name) {
  auto m = platform::Module::FromBytes(ReadAll(RunPath(name)), name);
  EXPECT_TRUE(m && m->Valid()) << name;
  return m;
}

// The colour table of a sprite map must carry the common block unchanged.
void ExpectCommonBlock(const ZSpriteMap& map, const std::string& what) {
  ASSERT_EQ(map.GetColorTableSize(), 1024u) << what;
  ZPaletteEntry entries[256];
  map.GetColorTable(256, entries);
  for (int i = 0; i < 256; ++i) {
    if (i >= artgen::pal::kPictureFirst && i <= artgen::pal::kPictureLast) continue;
    const artgen::Rgb& c = CommonPalette()[i];
    EXPECT_EQ(entries[i], (ZPaletteEntry{c.r, c.g, c.b, 0})) << what << " entry " << i;
  }
}

struct PixelCounts {
  long transparent = 0, black = 0, picture = 0, common = 0;
};

// Every pixel of every frame, read back through the map's pixel lookup.
PixelCounts CountFramePixels(const ZSpriteMap& map, int spriteId) {
  PixelCounts n;
  std::vector<std::unique_ptr<ZFrame>> frames;
  map.GetFrames(spriteId, &frames);
  for (const auto& f : frames)
    for (int v = 0; v < f->Height(); ++v)
      for (int u = 0; u < f->Width(); ++u) {
        const int p = map.GetPixel(f->frameId, u, v);
        if (p == artgen::pal::kTransparent) ++n.transparent;
        else if (p == artgen::pal::kBlack) ++n.black;
        else if (p >= artgen::pal::kPictureFirst && p <= artgen::pal::kPictureLast) ++n.picture;
        else ++n.common;
      }
  return n;
}

size_t FrameCount(const ZSpriteMap& map, int spriteId) {
  std::vector<std::unique_ptr<ZFrame>> frames;
  map.GetFrames(spriteId, &frames);
  return frames.size();
}

std::unique_ptr<ZFrame> FirstFrame(const ZSpriteMap& map, int spriteId, size_t index = 0) {
  std::vector<std::unique_ptr<ZFrame>> frames;
  map.GetFrames(spriteId, &frames);
  if (index >= frames.size()) return nullptr;
  return std::move(frames[index]);
}

class ArtFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ReadAll(RunPath("ctrls.dll")).empty()) GTEST_SKIP() << "art not built";
    auto m = OpenModule("ctrls.dll");
    ASSERT_TRUE(m);
    ASSERT_EQ(controls.LoadResource(151, m.get()), 1);
  }
  ZSpriteMap controls;
};

TEST_F(ArtFiles, ControlsFollowTheButtonMasksAndUseOnlyCommonColours) {
  EXPECT_EQ(controls.GetTransparentIndex(), 1);
  ExpectCommonBlock(controls, "ctrls.dll");
  // Mask 6: highlighted, normal. Mask 14: highlighted, normal, pressed. Mask 10: normal, pressed.
  const size_t expected[ctl::kCount] = {2, 2, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 5, ctl::kGunFrames, 2, 5};
  for (int id = 0; id < ctl::kCount; ++id) {
    EXPECT_EQ(FrameCount(controls, id), expected[id]) << "sprite " << id;
    const PixelCounts n = CountFramePixels(controls, id);
    EXPECT_EQ(n.picture, 0) << "sprite " << id << " uses a picture colour";
    EXPECT_GT(n.common, 0) << "sprite " << id << " is empty";
  }
  // The frames of one button are the same size, and its looks differ.
  for (int id : {ctl::kHunt, ctl::kOk, ctl::kCall1, ctl::kAim, ctl::kHuntFirst}) {
    auto a = FirstFrame(controls, id, 0), b = FirstFrame(controls, id, 1);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->Width(), b->Width());
    EXPECT_EQ(a->Height(), b->Height());
    long differing = 0;
    for (int v = 0; v < a->Height(); ++v)
      for (int u = 0; u < a->Width(); ++u)
        differing += controls.GetPixel(a->frameId, u, v) != controls.GetPixel(b->frameId, u, v);
    EXPECT_GT(differing, a->Width() * a->Height() / 10) << "sprite " << id << " looks the same in two states";
  }
}

TEST_F(ArtFiles, AreaLibrariesShareOnePaletteBetweenPanoramaAndScenery) {
  for (int m = 1; m <= 3; ++m) {
    const std::string name = "map" + std::to_string(m) + ".dll";
    auto module = OpenModule(name);
    ASSERT_TRUE(module);
    ZSpriteMap area;
    ASSERT_EQ(area.LoadResource(151, module.get()), 1) << name;
    EXPECT_EQ(area.GetTransparentIndex(), 1);
    ExpectCommonBlock(area, name);
    for (int s = 0; s <= 8; ++s) {
      EXPECT_GE(FrameCount(area, s), 1u) << name << " sprite " << s;
      std::vector<std::unique_ptr<ZFrame>> frames;
      area.GetFrames(s, &frames);
      for (const auto& f : frames) {
        // Scaled sprites are drawn through the 800 x 1000 scratch surface, feet placed by the code.
        EXPECT_LE(f->Width(), 800);
        EXPECT_LE(f->Height(), 1000);
        EXPECT_EQ(f->hotX, 0);
        EXPECT_EQ(f->hotY, 0);
      }
      const PixelCounts n = CountFramePixels(area, s);
      EXPECT_EQ(n.black, 0) << name << " sprite " << s << " would punch holes in the panorama";
      EXPECT_GT(n.common + n.picture, 0);
    }
    ZImage panorama;
    ASSERT_EQ(panorama.Load(150, module.get()), 1);
    EXPECT_EQ(panorama.GetWidth(), 2560);
    EXPECT_GE(panorama.GetHeight(), 781);
    ZPaletteEntry imagePal[256], mapPal[256];
    ASSERT_EQ(panorama.GetColorCount(), 256);
    panorama.GetPaletteEntries(0, 256, imagePal);
    area.GetColorTable(256, mapPal);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(imagePal[i], mapPal[i]) << name << " entry " << i;
    long keyed = 0;
    for (int y = 0; y < panorama.GetHeight(); ++y)
      for (int x = 0; x < panorama.GetWidth(); ++x) {
        const uint8_t p = *panorama.GetPixelAddress(x, y);
        keyed += p == 0 || p == 1;
      }
    EXPECT_EQ(keyed, 0) << name << ": the panorama holds key colours";
  }
}

TEST_F(ArtFiles, GobblerFileReadsAsASpriteMapOfCommonColours) {
  ZSpriteMap birds;
  ASSERT_EQ(birds.LoadFile(RunPath("goblers.dll")), 1);
  EXPECT_EQ(birds.GetTransparentIndex(), 1);
  ExpectCommonBlock(birds, "goblers.dll");
  for (int s = 0; s <= 5; ++s) {
    SCOPED_TRACE("bird sprite " + std::to_string(s));
    EXPECT_GE(FrameCount(birds, s), 1u);
    const PixelCounts n = CountFramePixels(birds, s);
    EXPECT_EQ(n.picture, 0);
    EXPECT_GT(n.transparent, 0);  // a transparent surround
    std::vector<std::unique_ptr<ZFrame>> frames;
    birds.GetFrames(s, &frames);
    for (const auto& f : frames) {
      EXPECT_LE(f->Width(), 300);
      EXPECT_LE(f->Height(), 300);
      EXPECT_EQ(f->hotX, 0);
      EXPECT_EQ(f->hotY, 0);
    }
  }
}

// The map file as the birds need it: scenery round each stand, attracting and repelling places, and
// most of the area free ground.
TEST_F(ArtFiles, MapItemsGatherAroundEachStandAndLeaveFreeGround) {
  const std::vector<uint8_t> bytes = ReadAll(RunPath("map1.map"));
  ASSERT_GE(bytes.size(), 20u);
  ASSERT_EQ((bytes.size() - 20) % 12, 0u);
  std::vector<artgen::HuntItem> items, repellers;
  for (size_t at = 20; at + 12 <= bytes.size(); at += 12) {
    artgen::HuntItem it;
    std::memcpy(&it.type, &bytes[at], 4);
    std::memcpy(&it.x, &bytes[at + 4], 4);
    std::memcpy(&it.y, &bytes[at + 8], 4);
    items.push_back(it);
  }
  int attractors = 0;
  for (const auto& it : items) {
    EXPECT_TRUE(it.x >= 0 && it.x <= 10000 && it.y >= 0 && it.y <= 10000);  // false for NaN too
    if (it.type == 19) repellers.push_back(it);
    if (it.type == 18) ++attractors;
    if (it.type < 18) { EXPECT_GE(art::ScenerySpriteOfType(it.type), 0) << "scenery type " << it.type; }
  }
  EXPECT_GE(attractors, 5);
  EXPECT_GE(repellers.size(), 1u);
  for (const artgen::Stand& s : artgen::kStands) {
    int near = 0, core = 0;
    for (const auto& it : items) {
      if (it.type >= 18) continue;
      const double d = std::hypot(it.x - s.x, it.y - s.y);
      near += d < 1000;
      core += d >= 150 && d <= 900;
    }
    EXPECT_GE(near, 30) << "stand " << s.x << ", " << s.y;
    EXPECT_GE(core * 10, near * 7) << "scenery is not densest between 150 and 900";
    for (const auto& r : repellers) EXPECT_GE(std::hypot(r.x - s.x, r.y - s.y), 1000);
  }
  int free = 0, total = 0;
  for (int y = 50; y < 10000; y += 100) {
    for (int x = 50; x < 10000; x += 100) {
      bool clear = true;
      for (const auto& r : repellers) clear = clear && std::hypot(r.x - x, r.y - y) >= 1000;
      free += clear;
      ++total;
    }
  }
  EXPECT_GT(free * 2, total);
}

TEST(ArtFilesProgram, OwnBitmapsHaveTheirSizesAndKeepThePaletteRule) {
  if (ReadAll(RunPath("ctrls.dll")).empty()) GTEST_SKIP() << "art not built";
  struct Expect {
    uint32_t id;
    int w, h;
    bool pictureColours, keyed;
  };
  for (const Expect& e : {Expect{133, 640, 480, true, true}, Expect{135, 640, 56, false, false},
                          Expect{136, 640, 480, false, true}, Expect{137, 529, 395, false, false}}) {
    ZImage img;
    ASSERT_EQ(img.Load(e.id, nullptr), 1) << "bitmap " << e.id;
    ASSERT_EQ(img.GetWidth(), e.w) << e.id;
    ASSERT_EQ(img.GetHeight(), e.h) << e.id;
    ZPaletteEntry pal[256];
    img.GetPaletteEntries(0, 256, pal);
    for (int i = 0; i < 256; ++i) {
      if (i >= 128 && i <= 254) continue;
      const artgen::Rgb& c = CommonPalette()[i];
      EXPECT_EQ(pal[i], (ZPaletteEntry{c.r, c.g, c.b, 0})) << "bitmap " << e.id << " entry " << i;
    }
    long picture = 0, black = 0, magenta = 0;
    for (int y = 0; y < e.h; ++y)
      for (int x = 0; x < e.w; ++x) {
        const uint8_t p = *img.GetPixelAddress(x, y);
        picture += p >= 128 && p <= 254;
        black += p == 0;
        magenta += p == 1;
      }
    if (!e.pictureColours) { EXPECT_EQ(picture, 0) << "bitmap " << e.id; }
    if (e.keyed) { EXPECT_EQ(black, 0) << "bitmap " << e.id << " would show holes where it is black"; }
    if (e.id == 137) {
      EXPECT_EQ(*img.GetPixelAddress(0, 0), 1);
      EXPECT_EQ(*img.GetPixelAddress(528, 394), 1);
      EXPECT_NE(*img.GetPixelAddress(264, 200), 1);
    } else {
      EXPECT_EQ(magenta, 0) << "bitmap " << e.id;
    }
  }
  // The cursor and the group naming it.
  EXPECT_NE(platform::FindResource(nullptr, 104, platform::RT_GROUP_CURSOR), nullptr);
}

}  // namespace
