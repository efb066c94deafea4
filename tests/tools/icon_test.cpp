// The desktop icon: every size is drawn, a round badge on a transparent square with the bird inside.
#include "tools/artgen/icon.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

uint32_t Pixel(cairo_surface_t* s, int x, int y) {
  const auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
  return reinterpret_cast<const uint32_t*>(row)[x];
}

TEST(IconTest, EverySizeIsARoundOpaqueBadgeOnATransparentSquare) {
  const std::string path =
      std::filesystem::temp_directory_path() / ("bf-icon-" + std::to_string(::getpid()) + ".png");
  for (int size : artgen::kIconSizes) {
    ASSERT_TRUE(artgen::WriteIconPng(size, path)) << size;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS) << size;
    EXPECT_EQ(cairo_image_surface_get_width(s), size);
    EXPECT_EQ(cairo_image_surface_get_height(s), size);
    EXPECT_EQ(Pixel(s, 0, 0) >> 24, 0u) << size;                // corners stay see-through
    EXPECT_EQ(Pixel(s, size - 1, size - 1) >> 24, 0u) << size;
    EXPECT_EQ(Pixel(s, size / 2, size / 2) >> 24, 255u) << size;  // the middle is solid
    // The tail fans out above the body: the upper middle is feather brown (more red than green),
    // not the green of the badge.
    const uint32_t tail = Pixel(s, size / 2, size / 3);
    const int r = (tail >> 16) & 0xFF, g = (tail >> 8) & 0xFF;
    EXPECT_GT(r, g) << size;
    cairo_surface_destroy(s);
  }
  EXPECT_FALSE(artgen::WriteIconPng(0, path));
  EXPECT_FALSE(artgen::WriteIconPng(32, "/nonexistent-folder/icon.png"));
  std::filesystem::remove(path);
}

}  // namespace
