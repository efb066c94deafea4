// Images and palettes: resource and file loading (core header too), layout, copies, blits and palettes.
#include "framework/graphics/image.h"

#include <gtest/gtest.h>

#include <functional>

#include "framework/core/data.h"
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

// A bitmap file: the 14-byte file header in front of the resource layout.
std::vector<uint8_t> FileFromResource(const std::vector<uint8_t>& resource) {
  std::vector<uint8_t> file(14, 0);
  file[0] = 'B';
  file[1] = 'M';
  gfxtest::Put32(&file, 2, static_cast<uint32_t>(14 + resource.size()));
  gfxtest::Put32(&file, 10, 14 + 1064);
  file.insert(file.end(), resource.begin(), resource.end());
  return file;
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

TEST(ImageTest, DamagedResourcesAndFilesAreRefusedWithoutTouchingThePicture) {
  const std::vector<uint8_t> res = BuildBitmapResource(8, 8, Diagonal);
  const std::vector<uint8_t> file = FileFromResource(res);
  struct Damage {
    const char* what;
    bool asFile;
    size_t length;
    std::function<void(std::vector<uint8_t>*)> change;
  };
  const Damage cases[] = {
      {"truncated pixels", false, res.size() - 1, [](auto*) {}},
      {"partial colour table", false, 1000, [](auto*) {}},
      {"absurd width", false, res.size(), [](auto* b) { gfxtest::Put32(b, 4, 0x7FFFFFFF); }},
      {"not BM", true, file.size(), [](auto* b) { (*b)[0] = 'X'; }},
      {"pixels claimed past the end", true, file.size(),
       [&](auto* b) { gfxtest::Put32(b, 2, static_cast<uint32_t>(file.size() + 100)); }},
  };
  ZDIB dib;
  ASSERT_EQ(dib.LoadResourceBytes(res.data(), res.size()), 1);
  for (const Damage& d : cases) {
    std::vector<uint8_t> bytes = d.asFile ? file : res;
    d.change(&bytes);
    CMemFile mem(bytes.data(), d.length);
    EXPECT_EQ(d.asFile ? dib.LoadFile(&mem) : dib.LoadResourceBytes(bytes.data(), d.length), 0) << d.what;
    EXPECT_EQ(dib.GetWidth(), 8) << d.what;
    EXPECT_EQ(*dib.GetPixelAddress(7, 7), Diagonal(7, 7)) << d.what;
  }
}

TEST(ImageTest, LoadsBitmapFilesWithInfoAndCoreHeaders) {
  std::vector<uint8_t> file = FileFromResource(BuildBitmapResource(7, 4, Diagonal));
  // Read from the middle of a file object: the loader starts at its current position.
  std::vector<uint8_t> padded(5, 0xAB);
  padded.insert(padded.end(), file.begin(), file.end());
  CMemFile mem(padded.data(), padded.size());
  ASSERT_EQ(mem.Seek(5, CFile::begin), 5);
  ZDIB dib;
  ASSERT_EQ(dib.LoadFile(&mem), 1);
  EXPECT_EQ(dib.GetWidth(), 7);
  EXPECT_EQ(dib.GetHeight(), 4);
  EXPECT_EQ(*dib.GetPixelAddress(6, 3), Diagonal(6, 3));

  // Core header: 12 bytes, 16-bit sides, 3-byte colours.
  std::vector<uint8_t> core(14, 0);
  core[0] = 'B';
  core[1] = 'M';
  gfxtest::Put32(&core, 14, 12);
  gfxtest::Put16(&core, 18, 3);
  gfxtest::Put16(&core, 20, 2);
  gfxtest::Put16(&core, 22, 1);
  gfxtest::Put16(&core, 24, 8);
  for (int i = 0; i < 256; ++i) {
    core.push_back(static_cast<uint8_t>(i));
    core.push_back(0x11);
    core.push_back(static_cast<uint8_t>(255 - i));
  }
  size_t bitsAt = core.size();
  for (uint8_t b : {1, 2, 3, 0, 4, 5, 6, 0}) core.push_back(b);
  gfxtest::Put32(&core, 10, static_cast<uint32_t>(bitsAt));
  gfxtest::Put32(&core, 2, static_cast<uint32_t>(core.size()));
  CMemFile coreFile(core.data(), core.size());
  ZDIB fromCore;
  ASSERT_EQ(fromCore.LoadFile(&coreFile), 1);
  EXPECT_EQ(fromCore.GetWidth(), 3);
  EXPECT_EQ(fromCore.GetHeight(), 2);
  EXPECT_EQ(*fromCore.GetPixelAddress(0, 0), 4);  // the top row is stored second
  EXPECT_EQ(*fromCore.GetPixelAddress(2, 1), 3);
  ZRgbQuad q;
  fromCore.GetColorTable(3, 1, &q);
  EXPECT_EQ(q, (ZRgbQuad{3, 0x11, 252, 0}));

}

TEST(ImageTest, CopyToSkipsTheKeyAndRefusesRectanglesOutsideEitherImage) {
  auto src = std::make_unique<ZDIB>();
  ASSERT_EQ(src->Create(4, 4), 1);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) *src->GetPixelAddress(x, y) = static_cast<uint8_t>((x + y) % 2 == 0 ? 0 : 40 + x);
  ZImage target;
  auto dst = std::make_unique<ZDIB>();
  ASSERT_EQ(dst->Create(6, 6), 1);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) *dst->GetPixelAddress(x, y) = 9;
  target.SetData(std::move(dst));

  ASSERT_EQ(src->CopyTo(&target, 1, 2, 3, 2, 1, 0, 0), 1);
  EXPECT_EQ(*target.GetPixelAddress(1, 2), 41);  // source (1, 0)
  EXPECT_EQ(*target.GetPixelAddress(2, 2), 9);   // source (2, 0) holds the key 0: left alone
  EXPECT_EQ(*target.GetPixelAddress(2, 3), 42);  // source (2, 1)
  // Key -1 copies every byte.
  ASSERT_EQ(src->CopyTo(&target, 0, 0, 2, 1, 0, 0, -1), 1);
  EXPECT_EQ(*target.GetPixelAddress(0, 0), 0);
  EXPECT_EQ(*target.GetPixelAddress(1, 0), 41);
  // No clipping: a corner outside either image copies nothing.
  EXPECT_EQ(src->CopyTo(&target, 4, 4, 3, 1, 0, 0, -1), 0);
  EXPECT_EQ(src->CopyTo(&target, 0, 0, 5, 1, 0, 0, -1), 0);
  EXPECT_EQ(*target.GetPixelAddress(4, 4), 9);
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
  platform::Rect part{1, 2, 3, 4};
  ASSERT_EQ(dib.BlitRect(surface.get(), &part, 4, 0), 1);
  EXPECT_EQ(At(surface.get(), 4, 0), 22);
  EXPECT_EQ(At(surface.get(), 5, 1), 33);
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
