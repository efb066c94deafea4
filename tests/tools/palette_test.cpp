// The common colour block, picture palettes and the quantiser.
#include "tools/artgen/palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

namespace {

using artgen::CommonPalette;
using artgen::Rgb;
namespace pal = artgen::pal;

TEST(CommonBlock, HoldsTheFixedColoursAndDistinctRamps) {
  const auto& p = CommonPalette();
  EXPECT_EQ(p[1], (Rgb{255, 0, 255}));  // the transparent key
  // The bevel: light edge brighter than the face, shadows darker, dark shadow darkest.
  EXPECT_GT(p[pal::kBevelLight].r, p[pal::kBevelFace].r);
  EXPECT_GT(p[pal::kBevelFace].r, p[pal::kBevelShadow].r);
  EXPECT_GT(p[pal::kBevelShadow].r, p[pal::kBevelDarkShadow].r);
  for (uint8_t i : {pal::kBevelLight, pal::kBevelFace, pal::kBevelShadow, pal::kBevelDarkShadow})
    EXPECT_TRUE(p[i].r == p[i].g && p[i].g == p[i].b) << int(i);
  // No two entries of the block are the same colour, so none is wasted; 128..254 are left free.
  std::set<std::tuple<int, int, int>> seen;
  for (int i = 0; i < 128; ++i) EXPECT_TRUE(seen.insert({p[i].r, p[i].g, p[i].b}).second) << i;
  for (int i = pal::kPictureFirst; i <= pal::kPictureLast; ++i) EXPECT_EQ(p[i], (Rgb{0, 0, 0}));
  // Ramps run dark to light.
  for (const artgen::Ramp* r : {&artgen::ramp::kBrowns, &artgen::ramp::kWood, &artgen::ramp::kSky}) {
    for (int k = 1; k < r->count; ++k) {
      const Rgb a = p[(*r)[k - 1]], b = p[(*r)[k]];
      EXPECT_LT(a.r + a.g + a.b, b.r + b.g + b.b) << int(r->first) << "+" << k;
    }
  }
  EXPECT_FALSE(artgen::CommonIndices().test(1));
  EXPECT_FALSE(artgen::WithoutBlack(artgen::CommonIndices()).test(0));
}

TEST(Quantiser, ExactColoursStayPutAndTransparencyFollowsAlpha) {
  artgen::Quantiser q(CommonPalette(), artgen::CommonIndices());
  artgen::RgbaImage img(128, 2);
  for (int i = 0; i < 128; ++i) {
    const uint8_t index = static_cast<uint8_t>(i == 1 ? 255 : i);
    img.At(i, 0) = artgen::CommonArgb(index);
    img.At(i, 1) = (artgen::CommonArgb(index) & 0x00FFFFFFu) | (i % 2 ? 0x7F000000u : 0x80000000u);
  }
  const artgen::IndexedImage out = q.Quantise(img, artgen::Dither::None, 1);
  for (int i = 0; i < 128; ++i) {
    EXPECT_EQ(CommonPalette()[out.At(i, 0)], CommonPalette()[i == 1 ? 255 : i]) << i;
    if (i % 2) EXPECT_EQ(out.At(i, 1), 1) << "alpha 127 is transparent";
    else EXPECT_NE(out.At(i, 1), 1) << "alpha 128 is opaque";
  }
}

TEST(Quantiser, NeverReturnsAnIndexOutsideTheAllowedSet) {
  artgen::IndexSet allowed;
  allowed.set(40);
  allowed.set(200);
  artgen::Palette p = CommonPalette();
  p[200] = Rgb{10, 200, 10};
  artgen::Quantiser q(p, allowed);
  // Pure green is nearer the common green 16 and the sky ramps, but only 40 and 200 may be used.
  EXPECT_EQ(q.Nearest(0, 255, 0), 200);
  EXPECT_EQ(q.Nearest(CommonPalette()[40].r, CommonPalette()[40].g, CommonPalette()[40].b), 40);
  artgen::RgbaImage noisy(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) noisy.At(x, y) = 0xFF000000u | (x * 4 << 16) | (y * 4 << 8) | ((x ^ y) * 4);
  for (auto d : {artgen::Dither::None, artgen::Dither::Ordered})
    for (uint8_t v : q.Quantise(noisy, d, 40).pixels) EXPECT_TRUE(v == 40 || v == 200);
}

TEST(Quantiser, OrderedDitherOfAFlatColourOnTheRampGivesNoSpeckle) {
  artgen::Quantiser q(CommonPalette(), artgen::CommonIndices());
  for (uint8_t index : {artgen::ramp::kWood[4], artgen::ramp::kSky[3], artgen::ramp::kGreys[5]}) {
    artgen::RgbaImage flat(16, 16, artgen::CommonArgb(index));
    const auto out = q.Quantise(flat, artgen::Dither::Ordered);
    for (uint8_t v : out.pixels) ASSERT_EQ(v, index) << int(index);
  }
}

TEST(PicturePalette, KeepsTheCommonBlockAndCoversThePicture) {
  // A picture of colours far from the common block: a purple-to-teal gradient.
  artgen::RgbaImage img(256, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 256; ++x) img.At(x, y) = 0xFF000000u | ((128 - x / 2) << 16) | ((x / 3) << 8) | (160 + x / 4);
  const artgen::Palette p = artgen::BuildPicturePalette({&img});
  for (int i = 0; i < 256; ++i) {
    if (i < pal::kPictureFirst || i > pal::kPictureLast) {
      EXPECT_EQ(p[i], CommonPalette()[i]) << i;
    }
  }
  artgen::Quantiser q(p, artgen::PictureIndices());
  const auto out = q.Quantise(img, artgen::Dither::None);
  int worst = 0;
  std::set<uint8_t> used;
  for (int x = 0; x < 256; ++x) {
    const uint32_t px = img.At(x, 0);
    const Rgb c = p[out.At(x, 0)];
    worst = std::max({worst, std::abs(int((px >> 16) & 255) - c.r), std::abs(int((px >> 8) & 255) - c.g),
                      std::abs(int(px & 255) - c.b)});
    used.insert(out.At(x, 0));
  }
  EXPECT_LE(worst, 6);
  EXPECT_GT(used.size(), 20u);
  // Without any picture the palette is the common block alone.
  EXPECT_EQ(artgen::BuildPicturePalette({}), CommonPalette());
}

}  // namespace
