// The menu's three buttons on the title's sign, and area loading that fails cleanly on unusable art.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/viewport.h"
#include "tests/framework/graphics/gfx_test_util.h"
#include "tests/game/menu_fixture.h"
#include "tests/platform/pe_test_builder.h"

namespace {

using B = ZButton;

class MenuButtonsTest : public gametest::MenuFixture {};

class AreaLoadingTest : public gametest::MenuFixture {
 protected:
  void TearDown() override {
    if (!old.empty()) std::filesystem::current_path(old);
    if (!dir.empty()) std::filesystem::remove_all(dir);
    gametest::MenuFixture::TearDown();
  }
  // Runs from a folder whose "map2.dll" holds the given sprite map.
  void AreaLibraryWith(const std::vector<uint8_t>& spriteMap) {
    dir = std::filesystem::temp_directory_path() / ("bf_area_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    testpe::Resource r{"SPRITEMAP", 151, 0x409, spriteMap};
    std::vector<uint8_t> image = testpe::Build({r});
    std::ofstream(dir / "map2.dll", std::ios::binary).write(reinterpret_cast<const char*>(image.data()),
                                                          static_cast<std::streamsize>(image.size()));
    old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
  }
  std::filesystem::path dir;
  std::filesystem::path old;
};

TEST_F(AreaLoadingTest, AnAreaWhoseSurfaceCannotBeMadeFailsAndKeepsNoHalfLoadedArt) {
  game->areaIndex = 0;
  ASSERT_EQ(game->LoadArea(), 1);
  game->loadedArea = 0;
  ASSERT_NE(game->areaSurface, nullptr);
  // A sprite map that claims a picture far larger than any surface.
  AreaLibraryWith(gfxtest::BuildSpriteMap(200000, 200000, 1, {gfxtest::SolidFrame(1, 0, 0, 0, 4, 4, 9)}));
  game->areaIndex = 2;
  EXPECT_EQ(game->LoadArea(), 0);
  EXPECT_EQ(game->areaSurface, nullptr);
  EXPECT_EQ(game->areaSpriteMap, nullptr);
  // A reasonable map in the same place loads.
  std::filesystem::current_path(old);
  AreaLibraryWith(gfxtest::BuildSpriteMap(8, 8, 1, {gfxtest::SolidFrame(1, 0, 0, 0, 4, 4, 9)}));
  EXPECT_EQ(game->LoadArea(), 1);
  ASSERT_NE(game->areaSurface, nullptr);
  EXPECT_EQ(game->areaSurface->GetWidth(), 8);
}

TEST_F(AreaLoadingTest, AnAreaLibraryThatCannotBeReadLeavesNoEarlierAreasArt) {
  game->areaIndex = 0;
  ASSERT_EQ(game->LoadArea(), 1);
  game->loadedArea = 0;
  AreaLibraryWith({1, 2, 3});  // too short to be a sprite map
  game->areaIndex = 2;
  EXPECT_EQ(game->LoadArea(), 0);
  EXPECT_EQ(game->areaSurface, nullptr);
  EXPECT_EQ(game->areaSpriteMap, nullptr);
}

}  // namespace
