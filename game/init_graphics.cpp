// Display set-up and the birds' art: the game's graphics services.
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "game/turkey_game.h"

// The display system is not there yet, so display set-up fails and the game reports it.
int32_t ZTurkeyGame::InitGraphics() { return 0; }

int32_t LoadBirdArt(ZTurkeyGame* game) {
  theGame = game;
  birdSpriteMap.reset();
  birdSurface.reset();
  return 0;  // no bird art can be read yet; the birds go without
}

void FreeBirdArt() {
  birdSurface.reset();
  birdSpriteMap.reset();
}
