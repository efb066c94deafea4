// ZTurkeyGame with the real display, art and sound on the headless backend: screens that fail to open,
// area loading (and refusing unusable area art without keeping half of it) and the ambient sound draws.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "framework/sound/dx_sound.h"
#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/trophy_room_wnd.h"
#include "game/turkey.h"
#include "platform/module.h"
#include "platform/rand.h"
#include "tests/framework/graphics/gfx_test_util.h"
#include "tests/game/menu_fixture.h"
#include "tests/platform/pe_test_builder.h"

namespace {

using G = ZTurkeyGame;
using SetUpGame = gametest::MenuFixture;

TEST_F(SetUpGame, LeavingTheMenuLeavesNoViewReadingTheTitlePictureItDeletes) {
  ASSERT_EQ(game->mainViewport->GetSource(), game->menuSurface.get());
  game->SetState(G::TrophyRoom);
  EXPECT_EQ(game->menuSurface, nullptr);
  EXPECT_EQ(game->mainViewport->GetSource(), nullptr);
  game->mainViewport->Draw();  // reads nothing that is gone (ASan would say)
  game->Tick();                // the room sets up its own picture
  ASSERT_EQ(game->state, G::TrophyRoom);
  EXPECT_NE(game->mainViewport->GetSource(), nullptr);
  game->SetState(G::MainMenu);  // and forgets it again as it goes
  EXPECT_EQ(game->mainViewport->GetSource(), nullptr);
}

TEST_F(SetUpGame, ATrophyRoomThatCannotBeShownReturnsToTheMenu) {
  // The program's resources without the room's frame (bitmap 136); the title stays.
  platform::HRSRC title = platform::FindResource(nullptr, 133, platform::RT_BITMAP);
  ASSERT_NE(title, nullptr);
  const auto* bytes = static_cast<const uint8_t*>(platform::LockResource(platform::LoadResource(nullptr, title)));
  testpe::Resource bitmap{platform::RT_BITMAP, 133, 0x409, {}};
  bitmap.bytes.assign(bytes, bytes + platform::SizeofResource(nullptr, title));
  platform::SetOwnModuleForTest(platform::Module::FromBytes(testpe::Build({bitmap}), "own"));
  game->SetState(G::TrophyRoom);
  EXPECT_EQ(game->menuImage, nullptr);
  EXPECT_EQ(game->menuSurface, nullptr);
  game->Tick();
  EXPECT_NE(game->trophyRoom, nullptr);  // made on first visit and kept
  EXPECT_EQ(game->state, G::MainMenu);
  EXPECT_EQ(game->trophyRoomReady, 0);
  game->Tick();  // the menu is built again
  EXPECT_EQ(game->menuReady, 1);
  EXPECT_NE(game->menuImage, nullptr);
  EXPECT_TRUE(backend->MessageBoxes().empty());  // no message for a screen that fails to open
  EXPECT_FALSE(game->trophyRoom->IsWindowVisible());
  platform::SetOwnModuleForTest(nullptr);
}

TEST_F(SetUpGame, AnAreaIsReadOnceAndKeptForTheSameHunt) {
  game->areaIndex = 0;
  ASSERT_EQ(game->LoadArea(), 1);
  ZSpriteMap* first = game->areaSpriteMap.get();
  ZSurface* surface = game->areaSurface.get();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(surface, nullptr);
  EXPECT_GT(first->GetEntryCount(), 0);
  EXPECT_EQ(first->GetTransparentIndex(), 1);  // forced, so the area's art is keyed on magenta
  // The hunt started on it: a second confirmation of the same hunt reads nothing again.
  game->loadedArea = 0;
  ASSERT_EQ(game->LoadArea(), 1);
  EXPECT_EQ(game->areaSpriteMap.get(), first);
  EXPECT_EQ(game->areaSurface.get(), surface);
  // Another hunt in another library replaces both.
  game->areaIndex = 2;
  ASSERT_EQ(game->LoadArea(), 1);
  EXPECT_NE(game->areaSpriteMap, nullptr);
  EXPECT_NE(game->areaSpriteMap->GetEntryCount(), 0);
  EXPECT_EQ(game->map->subspecies, 2);
  // A bird bagged in an earlier hunt goes with that hunt's birds.
  ZTurkey earlier;
  game->baggedBird = &earlier;
  ASSERT_EQ(game->LoadArea(), 1);
  EXPECT_EQ(game->baggedBird, nullptr);
}

TEST_F(SetUpGame, AmbientChecksDrawForEveryOneShotOfTheArea) {
  // Hunt 4 draws chance for seven one-shots in table order; each that plays takes three more draws
  // (pan, its sign, volume). Where the game leaves the generator shows how many draws it took.
  game->areaIndex = 4;
  game->lastAmbientTick = platform::GetTickCount() - 5001;
  platform::srand(3);
  game->PlayAmbientSounds();
  int afterGame = platform::rand();

  platform::srand(3);
  const int percents[] = {15, 15, 10, 15, 15, 15, 15};
  int plays = 0;
  for (int p : percents) {
    if (platform::rand() % 100 < p) {
      ++plays;
      for (int k = 0; k < 3; ++k) platform::rand();
    }
  }
  EXPECT_EQ(afterGame, platform::rand());
  EXPECT_EQ(game->ambientLoopOn, 1);
  EXPECT_EQ(game->lastAmbientTick, platform::GetTickCount());
  // Within 5 s of that check, nothing is drawn.
  platform::srand(3);
  game->PlayAmbientSounds();
  int first = platform::rand();
  platform::srand(3);
  EXPECT_EQ(first, platform::rand());
  EXPECT_EQ(plays, 1);  // seed 3 lets exactly one one-shot play, so both kinds of draw are counted
}

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
}

}  // namespace
