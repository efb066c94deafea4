// Controls set-up: the controls' sprite map and surface, and the three main-menu buttons.
#include "game/turkey_game.h"

// The controls' art cannot be read yet, so controls set-up fails and the game reports it.
int32_t ZTurkeyGame::InitControls() { return 0; }

// The menu buttons arrive with the framework's buttons; until then the menu has none.
int32_t ZTurkeyGame::CreateMenuButtons() { return 1; }
