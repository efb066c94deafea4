// Reads every art file the build made through the game's own readers and checks layout and colours.
#include <gtest/gtest.h>

#include <algorithm>
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
#include "platform/blit.h"
#include "platform/module.h"
#include "tools/artgen/controls.h"
#include "tools/artgen/gun.h"
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

double Luminance(const artgen::Rgb& c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }

// Relative luminance of a colour, for the contrast ratio of lettering against its ground.
double Relative(const artgen::Rgb& c) {
  auto lin = [](double v) {
    v /= 255;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

// One frame of a sprite map as the game shows it `tall` pixels high: stretched by the game's own
// blitter into a picture of the transparent index.
struct Scaled {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
};
Scaled ShrinkFrame(const ZSpriteMap& map, const ZFrame& f, int tall) {
  std::vector<uint8_t> src(static_cast<size_t>(f.Width()) * f.Height());
  for (int v = 0; v < f.Height(); ++v)
    for (int u = 0; u < f.Width(); ++u)
      src[static_cast<size_t>(v) * f.Width() + u] = static_cast<uint8_t>(map.GetPixel(f.frameId, u, v));
  Scaled out;
  const double scale = static_cast<double>(tall) / f.Height();
  out.width = std::max(1, static_cast<int>(f.Width() * scale + 0.5));
  out.height = tall;
  out.pixels.assign(static_cast<size_t>(out.width) * out.height, artgen::pal::kTransparent);
  platform::BlitParams p;
  p.dst = {0, 0, out.width, out.height};
  p.src = {0, 0, f.Width(), f.Height()};
  p.clip = p.dst;
  p.keyed = true;
  p.keyLow = p.keyHigh = artgen::pal::kTransparent;
  platform::BlitReference({out.pixels.data(), out.width, out.height, out.width},
                          {src.data(), f.Width(), f.Height(), f.Width()}, p);
  return out;
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

// The shot leaves from where the bead is in the gun's picture: the bead must be drawn there, on top of
// the barrel, in every frame the gun aims or pumps with; the frames keep the size and hot spot the
// raised gun is placed by.
TEST_F(ArtFiles, GunFramesKeepTheirPlaceAndShowTheBeadWhereTheShotLeaves) {
  for (int i = 0; i < ctl::kGunFrames; ++i) {
    auto f = FirstFrame(controls, ctl::kGun, i);
    ASSERT_TRUE(f) << "gun frame " << i;
    EXPECT_EQ(f->Width(), artgen::ctlsize::kGunW);
    EXPECT_EQ(f->Height(), artgen::ctlsize::kGunH);
    EXPECT_EQ(f->hotX, ctl::kGunHotX);
    EXPECT_EQ(f->hotY, ctl::kGunHotY);
    if (i == ctl::kGunFrames - 1) continue;  // the recoil frame kicks the muzzle off the mark
    const int beadIndex = controls.GetPixel(f->frameId, artgen::kGunBeadX, artgen::kGunBeadY);
    ASSERT_GE(beadIndex, 0);
    const artgen::Rgb bead = CommonPalette()[beadIndex];
    EXPECT_GT(Luminance(bead), 150) << "frame " << i << ": no bright bead at the shot's point";
    EXPECT_GT(bead.r, bead.b + 30) << "frame " << i << ": the bead is brass, not sky or steel";
    // Nothing of the gun rises above the bead.
    int above = 0;
    for (int v = 0; v < artgen::kGunBeadY; ++v)
      for (int u = 0; u < f->Width(); ++u)
        above += controls.GetPixel(f->frameId, u, v) != artgen::pal::kTransparent && std::abs(u - artgen::kGunBeadX) > 3;
    EXPECT_EQ(above, 0) << "frame " << i;
  }
}

// The blast burns just above the bead (the muzzle picture hangs from gun x + 2, gun y - 120); the
// smoke that follows has no fire left in it.
TEST_F(ArtFiles, MuzzleBlastBurnsAtTheMuzzleAndItsSmokeHasNoFire) {
  auto flame = [](int index) { return index >= artgen::ramp::kFlame[0] && index <= artgen::ramp::kFlame[4]; };
  auto blast = FirstFrame(controls, ctl::kMuzzle, 0), smoke = FirstFrame(controls, ctl::kMuzzle, 1);
  ASSERT_TRUE(blast && smoke);
  // Where the bead is in the blast's picture.
  const int beadX = ctl::kGunHotX - 2 + blast->hotX - ctl::kGunHotX, beadY = blast->hotY - (ctl::kGunHotY - 120 - artgen::kGunBeadY);
  double sx = 0, sy = 0;
  int fire = 0, smoky = 0, fireInSmoke = 0;
  for (int v = 0; v < blast->Height(); ++v)
    for (int u = 0; u < blast->Width(); ++u) {
      const int p = controls.GetPixel(blast->frameId, u, v);
      if (flame(p)) sx += u, sy += v, ++fire;
      const int q = controls.GetPixel(smoke->frameId, u, v);
      smoky += q != artgen::pal::kTransparent;
      fireInSmoke += flame(q);
    }
  EXPECT_EQ(fireInSmoke, 0);
  ASSERT_GT(fire, 200);
  EXPECT_GT(smoky, 800);
  EXPECT_NEAR(sx / fire, beadX, 6);
  EXPECT_LT(sy / fire, beadY);
  EXPECT_GT(sy / fire, beadY - 30);
}

// The hunts on the setup sign: the chosen one is marked in the sign's own colours (no raw yellow),
// and the location under each name reads clearly against its board.
TEST_F(ArtFiles, HuntChoicesMarkTheChoiceInTheSignsColoursAndReadClearly) {
  for (int id = ctl::kHuntFirst; id < ctl::kHuntFirst + 5; ++id)
    for (int i = 0; i < 2; ++i) {
      SCOPED_TRACE("sprite " + std::to_string(id) + " frame " + std::to_string(i));
      auto f = FirstFrame(controls, id, i);
      ASSERT_TRUE(f);
      std::vector<double> board, band;
      int yellow = 0;
      for (int v = 0; v < f->Height(); ++v)
        for (int u = 0; u < f->Width(); ++u) {
          const int p = controls.GetPixel(f->frameId, u, v);
          yellow += p == artgen::pal::kYellow;
          if (p == artgen::pal::kTransparent) continue;
          const double y = Relative(CommonPalette()[p]);
          board.push_back(y);
          if (v >= 38 && v <= 54 && u >= 8 && u < f->Width() - 8) band.push_back(y);
        }
      EXPECT_EQ(yellow, 0);
      ASSERT_FALSE(band.empty());
      std::sort(board.begin(), board.end());
      std::sort(band.begin(), band.end());
      // The lettering (the lightest few pixels of the location's line) against the board's middle tone.
      const double letters = band[band.size() * 97 / 100], ground = board[board.size() / 2];
      EXPECT_GE((letters + 0.05) / (ground + 0.05), 4.5);
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

// Far off a bird is shrunk to a few pixels by the game's nearest-pixel stretch: what is left must
// still be a turkey, a dark body under a bright head (the red of the neck, the pale crown).
TEST_F(ArtFiles, FarBirdsKeepADarkBodyUnderABrightHead) {
  ZSpriteMap birds;
  ASSERT_EQ(birds.LoadFile(RunPath("goblers.dll")), 1);
  for (int s : {1, 3, 4, 5})
    for (int tall : {15, 20, 30}) {
      SCOPED_TRACE("bird sprite " + std::to_string(s) + " at " + std::to_string(tall) + " px");
      auto f = FirstFrame(birds, s);
      ASSERT_TRUE(f);
      const Scaled b = ShrinkFrame(birds, *f, tall);
      int headRow = -1;
      double body = 0;
      int bodyCount = 0, opaque = 0;
      for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
          const uint8_t p = b.pixels[static_cast<size_t>(y) * b.width + x];
          if (p == artgen::pal::kTransparent) continue;
          ++opaque;
          const artgen::Rgb& c = CommonPalette()[p];
          const bool red = c.r > 150 && c.g < 90 && c.b < 100, pale = std::min({c.r, c.g, c.b}) > 170;
          if ((red || pale) && headRow < 0) headRow = y;
          // The body: the middle band of the bird, under the head and above the legs.
          if (y >= b.height * 2 / 5 && y < b.height * 3 / 4) body += Luminance(c), ++bodyCount;
        }
      ASSERT_GT(opaque, tall * 2);
      ASSERT_GE(headRow, 0) << "no head left";
      EXPECT_LT(headRow, b.height * 2 / 5) << "the head is not at the top";
      ASSERT_GT(bodyCount, 0);
      EXPECT_LT(body / bodyCount, 75) << "the body is not dark";
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
