// The set-up game with an area loaded and the main viewport on its panorama, as the hunting screen will
// show it, for tests of the scene, the birds' pictures and the gun.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/graphics/palette.h"
#include "framework/graphics/scaled_sprite.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "game/art_files.h"
#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/scene.h"
#include "game/shotgun.h"
#include "game/turkey.h"
#include "platform/display.h"
#include "platform/module.h"
#include "platform/rand.h"
#include "tests/game/game_fixture.h"

namespace hunttest {

class HuntFixture : public gametest::GameFixture {
 protected:
  void TearDown() override {
    if (game != nullptr && game->hunter != nullptr) game->hunter->DropWeapon();
    if (game != nullptr && game->map != nullptr) game->map->DropSprites();
    if (game != nullptr) game->worldSprites.DeleteAll();
    if (game != nullptr && game->mainViewport != nullptr) game->mainViewport->Setup(nullptr, nullptr, nullptr, 0, 0);
    background.reset();
    backgroundImage.reset();
    GameFixture::TearDown();
  }
  // Loads the area of hunt `index` and starts its hunt, then shows its panorama the way the hunting
  // screen does: background surface, view (0,0)-(640,425) from (1600, 188), wrapping, area palette,
  // scenery. The game is then in its Hunting state, so birds get pictures.
  void EnterHunt(int32_t index) {
    game->areaIndex = index;
    ASSERT_EQ(game->LoadArea(), 1);
    platform::HMODULE library = platform::LoadLibrary(art::AreaLibrary(index));
    ASSERT_NE(library, nullptr);
    backgroundImage = std::make_unique<ZImage>();
    ASSERT_EQ(backgroundImage->Load(art::kAreaBackgroundId, library), 1);
    platform::FreeLibrary(library);
    background = std::make_unique<ZSurface>();
    ASSERT_EQ(background->CreateFromImage(game->graphics.get(), backgroundImage.get(), 1), 1);
    const platform::Rect view{0, 0, 640, 425};
    game->mainViewport->Setup(background.get(), game->graphics->GetBackSurface(), &view, 1600, 188);
    game->mainViewport->wrapHorizontally = 1;
    // The graphics system keeps the palette in force: the old one goes only after the new one is set.
    auto next = std::make_unique<ZPalette>();
    next->CreateFromSpriteMap(game->areaSpriteMap.get());
    game->graphics->SetPalette(next.get());
    palette = std::move(next);
    game->scene->BuildScenery(game->graphics.get(), game->areaSurface.get(), background.get());
    game->state = ZTurkeyGame::Hunting;
    game->map->frameTime = platform::timeGetTime();
  }
  // A bird of the hunt at distance d and bearing (radians) from the stand, settled in `state`.
  ZTurkey* BirdAt(size_t i, double d, double bearing, int32_t state = ZTurkey::Standing) {
    ZTurkey* b = game->map->birds.at(i).get();
    const ZPoint h = game->hunter->position;
    b->position = ZPoint(h.x + d * std::cos(bearing), h.y + d * std::sin(bearing));
    b->target = b->position;
    b->state = b->nextState = state;
    b->velocity = ZVector(0, 0);
    return b;
  }

  std::unique_ptr<ZImage> backgroundImage;
  std::unique_ptr<ZSurface> background;
  std::unique_ptr<ZPalette> palette;
};

}  // namespace hunttest
