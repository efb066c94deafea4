// ZTurkeyGame with the real display, art and sound on the headless backend: set-up, the menu step,
// screens that fail to open, area loading, ambient draws and clean-up.
#include <gtest/gtest.h>

#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "framework/sound/dx_sound.h"
#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/hunting_wnd.h"
#include "game/trophy_room_wnd.h"
#include "game/turkey.h"
#include "platform/module.h"
#include "platform/rand.h"
#include "tests/platform/pe_test_builder.h"
#include "tests/game/game_fixture.h"

namespace {

using G = ZTurkeyGame;

class SetUpGame : public gametest::GameFixture {
 protected:
  // Runs the loop from the start until the menu is built (the art is in the run directory).
  void ToMenu() {
    game->StartLoop();
    for (int i = 0; i < 2000 && !(game->state == G::MainMenu && game->menuReady == 1); ++i) {
      game->LoopPass();
      backend->Advance(1);
    }
    ASSERT_EQ(game->state, G::MainMenu);
    ASSERT_EQ(game->menuReady, 1);
  }
  // Counts the front surface's pixels that are not palette index 0.
  int64_t LitFrontPixels() {
    ZSurface* front = game->graphics->GetFrontSurface();
    ZSurfaceLock lock(front);
    if (!lock.Ok()) return -1;
    int64_t lit = 0;
    for (int32_t y = 0; y < lock.Desc().height; ++y) {
      const uint8_t* row = lock.Desc().bits + static_cast<ptrdiff_t>(y) * lock.Desc().pitch;
      for (int32_t x = 0; x < lock.Desc().width; ++x) lit += row[x] != 0 ? 1 : 0;
    }
    return lit;
  }
};

TEST_F(SetUpGame, SetUpMakesEveryLongLivedObjectAndTheMenuShowsTheTitle) {
  ToMenu();
  EXPECT_EQ(game->graphicsReady, 1);
  ASSERT_NE(game->graphics, nullptr);
  EXPECT_NE(game->mainViewport, nullptr);
  EXPECT_NE(game->secondViewport, nullptr);
  EXPECT_NE(game->graphicsInfo, nullptr);
  EXPECT_NE(game->sound, nullptr);
  EXPECT_NE(game->controlsSpriteMap, nullptr);
  EXPECT_NE(game->controlsSurface, nullptr);
  ASSERT_NE(game->hunter, nullptr);
  ASSERT_NE(game->map, nullptr);
  EXPECT_NE(game->scene, nullptr);
  EXPECT_EQ(game->hunter->map, game->map.get());
  EXPECT_EQ(game->frameClockOn, 1);
  EXPECT_EQ(theGame, game);
  // The menu's picture lives while the menu is up, and it is on the screen.
  ASSERT_NE(game->menuImage, nullptr);
  EXPECT_EQ(game->menuImage->GetWidth(), 640);
  EXPECT_EQ(game->menuImage->GetHeight(), 480);
  EXPECT_NE(game->menuSurface, nullptr);
  EXPECT_EQ(game->mainViewport->GetSource(), game->menuSurface.get());
  EXPECT_GT(LitFrontPixels(), 640 * 480 / 2);
  EXPECT_TRUE(backend->MessageBoxes().empty());
}

TEST_F(SetUpGame, LeavingTheMenuLeavesNoViewReadingTheTitlePictureItDeletes) {
  ToMenu();
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

TEST_F(SetUpGame, ClearScreensBlanksBothSurfaces) {
  ToMenu();
  game->ClearScreens();
  EXPECT_EQ(LitFrontPixels(), 0);
  ZSurfaceLock lock(game->graphics->GetBackSurface());
  ASSERT_TRUE(lock.Ok());
  EXPECT_EQ(lock.Desc().bits[0], 0);
  EXPECT_EQ(lock.Desc().bits[static_cast<ptrdiff_t>(479) * lock.Desc().pitch + 639], 0);
}

TEST_F(SetUpGame, ATrophyRoomThatCannotBeShownReturnsToTheMenu) {
  ToMenu();
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
  // A frame that is there but cannot be read (24 bits a pixel) loads as a blank 16 x 16: refused too.
  testpe::Resource frame{platform::RT_BITMAP, 136, 0x409, std::vector<uint8_t>(1064 + 4, 0)};
  testpe::Put32(&frame.bytes, 0, 40);
  testpe::Put32(&frame.bytes, 4, 1);
  testpe::Put32(&frame.bytes, 8, 1);
  testpe::Put16(&frame.bytes, 12, 1);
  testpe::Put16(&frame.bytes, 14, 24);
  platform::SetOwnModuleForTest(platform::Module::FromBytes(testpe::Build({bitmap, frame}), "own"));
  game->SetState(G::TrophyRoom);
  game->Tick();
  EXPECT_EQ(game->state, G::MainMenu);
  platform::SetOwnModuleForTest(nullptr);
}

TEST_F(SetUpGame, AHuntThatCannotStartReturnsToTheMenuWithoutAMessage) {
  ToMenu();
  game->SetState(G::EnteringHunt);
  EXPECT_EQ(game->state, G::EnteringHunt);
  game->Tick();
  EXPECT_NE(game->huntingWindow, nullptr);
  EXPECT_EQ(game->state, G::MainMenu);
  EXPECT_EQ(game->enteringHuntDone, 0);
  EXPECT_EQ(game->loadedArea, -1);  // only a started hunt marks its area as loaded
  EXPECT_EQ(LitFrontPixels(), 0);   // the screens were cleared on the way
  EXPECT_TRUE(backend->MessageBoxes().empty());
}

TEST_F(SetUpGame, AnAreaIsReadOnceAndKeptForTheSameHunt) {
  ToMenu();
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

TEST_F(SetUpGame, RandomSoundsDrawInTheirOrderWithTheSoundSystem) {
  ToMenu();
  ASSERT_NE(game->sound, nullptr);
  // After srand(1) the draws are 41, 18467, 6334, 26500, 19169, ...
  platform::srand(1);
  EXPECT_EQ(game->PlayRandomSound(141, 41), 0);  // 41 % 100 is not below 41: one draw only
  EXPECT_EQ(platform::rand(), 18467);
  platform::srand(1);
  EXPECT_EQ(game->PlayRandomSound(141, 42), 1);  // chance, pan, its sign, volume: four draws
  EXPECT_EQ(platform::rand(), 19169);
  if (game->sound->available != 0) {
    int32_t volume = 0;
    game->sound->GetVolume(141, &volume);
    EXPECT_EQ(volume, -(26500 % 1000));
  }
}

TEST_F(SetUpGame, AmbientChecksDrawForEveryOneShotOfTheArea) {
  ToMenu();
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

TEST_F(SetUpGame, DestroyReleasesEverythingAndTheLoopReturnsZero) {
  ToMenu();
  platform::PostMessage(wnd, platform::WM_DESTROY, 0, 0);
  EXPECT_TRUE(RunUntilQuit(10));
  EXPECT_EQ(game->exitCode, 0);
  EXPECT_EQ(game->graphics, nullptr);
  EXPECT_EQ(game->mainViewport, nullptr);
  EXPECT_EQ(game->controlsSurface, nullptr);
  EXPECT_EQ(game->map, nullptr);
  EXPECT_EQ(birdSpriteMap, nullptr);
  EXPECT_EQ(birdSurface, nullptr);
  EXPECT_NE(game->sound, nullptr);       // the destructor's, not the clean-up's
  EXPECT_NE(game->systemInfo, nullptr);
}

}  // namespace
