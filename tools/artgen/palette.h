// The shared colour block every palette carries, per-picture palettes, and RGBA -> index quantising.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

#include "tools/artgen/art_types.h"

namespace artgen {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

using Palette = std::array<Rgb, 256>;
using IndexSet = std::bitset<256>;

// Fixed indices of the common block (identical in every palette the game sets).
namespace pal {
constexpr uint8_t kBlack = 0;
constexpr uint8_t kTransparent = 1;  // magenta; never drawn
constexpr uint8_t kBevelLight = 8;
constexpr uint8_t kYellow = 15;  // 255, 255, 0: trophy text
constexpr uint8_t kGreen = 16;   // 0, 255, 0: the newly ranked trophy
constexpr uint8_t kBevelFace = 24;
constexpr uint8_t kBevelShadow = 25;
constexpr uint8_t kBevelDarkShadow = 26;
constexpr uint8_t kWhite = 255;
constexpr int kPictureFirst = 128;  // 128..254 belong to the picture whose palette is in force
constexpr int kPictureLast = 254;
}  // namespace pal

// A run of indices in the common block, darkest first, so painters can pick shades by name.
struct Ramp {
  uint8_t first = 0;
  uint8_t count = 0;
  uint8_t operator[](int i) const { return static_cast<uint8_t>(first + (i < 0 ? 0 : i >= count ? count - 1 : i)); }
};
namespace ramp {
extern const Ramp kGreys;      // 2..14 (with 24, 25, 26 and 255 the full grey scale)
extern const Ramp kFlame;      // 17..21: pale flash core to deep orange
extern const Ramp kSkinRed;    // 22, 23: red head skin and wattle, dark
extern const Ramp kSkinBlue;   // 27..30: light blue face, blue, pink, bright red
extern const Ramp kBrowns;     // 31..42: feather browns, near black to buff
extern const Ramp kBronze;     // 43..50: copper and green-bronze sheen
extern const Ramp kWood;       // 51..60: weathered grey-brown planks
extern const Ramp kWalnut;     // 61..66: red-brown gunstock and varnished wood
extern const Ramp kFoliage;    // 67..78: leaf and grass greens
extern const Ramp kSky;        // 79..86: sky blues, deep to pale
extern const Ramp kEarth;      // 87..94: ground, sand, red earth
extern const Ramp kLettering;  // 95..99: cream, gold, deep gold, buff, parchment
extern const Ramp kSmoke;      // 100..103: blue-grey smoke
extern const Ramp kWoodMid;    // 104..109: in-between plank shades
extern const Ramp kGreensMid;  // 110..115: muted and olive greens
extern const Ramp kDarkBrown;  // 116..119: shadowed bark and soil
extern const Ramp kGunMetal;   // 120..123: blued steel
extern const Ramp kWarmLight;  // 124..127: warm near-whites
}  // namespace ramp

// The palette with the common block filled and 128..254 black.
const Palette& CommonPalette();

// 0xAARRGGBB of a palette entry (opaque), convenient for painting in the common colours.
uint32_t ArgbOf(const Rgb& c);
uint32_t CommonArgb(uint8_t index);

// Index sets: the common block without the transparent index (0, 2..127, 255), and that plus 128..254.
IndexSet CommonIndices();
IndexSet PictureIndices();
// The same without index 0: pictures the game copies with a colour key of 0 (an image's transparent
// index until set: the title, the panoramas, the trophy frame) and scenery painted into the panoramas
// must not hold black, or those pixels would vanish. Near-black index 2 stands in for it.
IndexSet WithoutBlack(IndexSet set);

// Chooses colours 128..254 for the opaque pixels of the given pictures (median cut), so that together
// with the common block they represent them well. The result holds the common block unchanged.
Palette BuildPicturePalette(const std::vector<const RgbaImage*>& pictures);

enum class Dither { None, Ordered };

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // rows top-down, no padding
  uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Maps colours to the nearest allowed entry of one palette; remembers answers, so reuse one per palette.
class Quantiser {
 public:
  Quantiser(const Palette& palette, const IndexSet& allowed);
  uint8_t Nearest(uint8_t r, uint8_t g, uint8_t b);
  // Alpha < 128 becomes `transparentIndex`; other pixels their colour's nearest allowed index.
  IndexedImage Quantise(const RgbaImage& image, Dither dither, uint8_t transparentIndex = pal::kTransparent);
  const Palette& palette() const { return palette_; }

 private:
  uint8_t Search(int r, int g, int b) const;
  Palette palette_;
  std::vector<uint8_t> allowedList_;
  std::vector<uint8_t> cache_;    // nearest index of every 24-bit colour asked for so far
  std::vector<uint64_t> known_;   // one bit per 24-bit colour: cache_ holds its answer
};

// One-call form of Quantiser::Quantise.
IndexedImage Quantise(const RgbaImage& image, const Palette& palette, const IndexSet& allowed, Dither dither,
                      uint8_t transparentIndex = pal::kTransparent);

}  // namespace artgen
