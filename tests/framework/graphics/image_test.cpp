// Images and palettes: resource loading, damaged resources, blits, surfaces and palettes.
#include "framework/graphics/image.h"

#include <gtest/gtest.h>

#include "framework/graphics/palette.h"
#include "platform/module.h"
#include "tests/framework/graphics/gfx_test_util.h"
#include "tests/platform/pe_test_builder.h"

namespace {

using gfxtest::BuildBitmapResource;

auto Diagonal = [](int x, int y) { return (x + 2 * y) & 0xFF; };

std::unique_ptr<platform::Module> BitmapModule(const std::vector<testpe::Resource>& res) {
  return platform::Module::FromBytes(testpe::Build(res), "bitmaps.dll");
}

TEST(ImageTest, LoadsEightBitResourcesAndRefusesOthers) {
  auto module = BitmapModule({{platform::RT_BITMAP, 133, 0x409, BuildBitmapResource(5, 3, Diagonal)},
                              {platform::RT_BITMAP, 134, 0x409, BuildBitmapResource(5, 3, Diagonal, 24)},
                              {platform::RT_BITMAP, 135, 0x409, BuildBitmapResource(6, 2, Diagonal, 8, true)},
                              {"PCX", 136, 0x409, BuildBitmapResource(5, 3, Diagonal)}});
  ZImage image;
  ASSERT_EQ(image.Load(133, module.get()), 1);
  EXPECT_EQ(image.GetWidth(), 5);
  EXPECT_EQ(image.GetHeight(), 3);
  EXPECT_EQ(*image.GetPixelAddress(4, 2), Diagonal(4, 2));
  ZPaletteEntry e;
  image.GetPaletteEntries(10, 1, &e);
  EXPECT_EQ(e, (ZPaletteEntry{245, 5, 10, 0}));

  // A 24-bit picture is refused, yet the image exists and stays blank 16 x 16.
  ASSERT_EQ(image.Load(134, module.get()), 1);
  EXPECT_EQ(image.GetWidth(), 16);
  EXPECT_EQ(image.GetHeight(), 16);

  // An image-size field of 0 means stride x height; rows are stored bottom-up and padded to 4.
  ASSERT_EQ(image.Load(135, module.get()), 1);
  EXPECT_EQ(image.GetWidth(), 6);
  EXPECT_EQ(*image.GetPixelAddress(5, 1), Diagonal(5, 1));

  // Not a bitmap resource (another type, or no such id): no data at all.
  EXPECT_EQ(image.Load(136, module.get()), 0);
  EXPECT_EQ(image.GetData(), nullptr);
  EXPECT_EQ(image.Load(999, module.get()), 0);
}

TEST(ImageTest, DamagedResourcesAreRefusedWithoutTouchingThePicture) {
  const std::vector<uint8_t> res = BuildBitmapResource(8, 8, Diagonal);
  std::vector<uint8_t> wide = res;
  gfxtest::Put32(&wide, 4, 0x7FFFFFFF);
  struct Damage {
    const char* what;
    const std::vector<uint8_t>& bytes;
    size_t length;
  };
  const Damage cases[] = {
      {"truncated pixels", res, res.size() - 1},
      {"partial colour table", res, 1000},
      {"absurd width", wide, wide.size()},
  };
  ZDIB dib;
  ASSERT_EQ(dib.LoadResourceBytes(res.data(), res.size()), 1);
  for (const Damage& d : cases) {
    EXPECT_EQ(dib.LoadResourceBytes(d.bytes.data(), d.length), 0) << d.what;
    EXPECT_EQ(dib.GetWidth(), 8) << d.what;
    EXPECT_EQ(*dib.GetPixelAddress(7, 7), Diagonal(7, 7)) << d.what;
  }
}

class ImageSurfaceTest : public gfxtest::GraphicsFixture {};

TEST_F(ImageSurfaceTest, BlitClipsToTheSurfaceAndSkipsLeadingColumnsForNegativePositions) {
  ZDIB dib;
  ASSERT_EQ(dib.Create(5, 4), 1);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) *dib.GetPixelAddress(x, y) = static_cast<uint8_t>(10 * y + x + 1);
  auto surface = MakeSurface(8, 6, 0);
  ASSERT_EQ(dib.Blit(surface.get(), -2, -1), 1);
  EXPECT_EQ(At(surface.get(), 0, 0), 13);  // source (2, 1)
  EXPECT_EQ(At(surface.get(), 2, 2), 35);  // source (4, 3)
  EXPECT_EQ(At(surface.get(), 3, 0), 0);
  ASSERT_EQ(dib.Blit(surface.get(), 6, 4), 1);
  EXPECT_EQ(At(surface.get(), 6, 4), 1);
  EXPECT_EQ(At(surface.get(), 7, 5), 12);
  // Entirely off the surface: nothing drawn.
  EXPECT_EQ(dib.Blit(surface.get(), -6, 0), 0);
  EXPECT_EQ(dib.Blit(surface.get(), 9, 0), 0);
}

TEST_F(ImageSurfaceTest, SurfaceFromImageAndPaletteRealisedOnTheFrontSurface) {
  auto module = BitmapModule({{platform::RT_BITMAP, 133, 0x409, BuildBitmapResource(20, 10, Diagonal)}});
  ZImage image;
  ASSERT_EQ(image.Load(133, module.get()), 1);
  image.GetData()->SetTransparentIndex(7);
  ZSurface keyed(graphics.get(), &image, 1);
  ASSERT_NE(keyed.GetSurface2(), nullptr);
  EXPECT_EQ(keyed.GetKeyValue(), 7);
  EXPECT_TRUE(keyed.GetSurface2()->HasSourceKey());
  ZSurface plain(graphics.get(), &image, 0);
  EXPECT_FALSE(plain.GetSurface2()->HasSourceKey());
  // Lost memory comes back with the picture.
  keyed.GetSurface2()->MarkLost();
  ASSERT_EQ(keyed.Restore(), 0);
  EXPECT_EQ(At(&keyed, 19, 9), Diagonal(19, 9));

  ZPalette palette;
  ASSERT_EQ(palette.CreateFromImage(&image), 1);
  ASSERT_EQ(graphics->SetPalette(&palette), 0);
  const platform::Palette* shown = graphics->GetFrontSurface()->GetSurface2()->GetPalette();
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->Entries()[10], (platform::Rgb{245, 5, 10}));
  EXPECT_EQ(graphics->GetFrontSurface()->GetKeyValue(), 7);
  EXPECT_EQ(graphics->GetScratchSurface()->GetKeyValue(), 7);

  ZImage empty;
  ZPalette none;
  EXPECT_EQ(none.CreateFromImage(&empty), 0);
  EXPECT_NE(none.Realize(graphics->GetFrontSurface()), 0);
}

}  // namespace
