// Sound set-up: the sound system with the program's eighteen recordings.
#include "game/turkey_game.h"

// The sound system is not there yet: the game runs silently (`sound` stays null, and every sound
// call of the game checks for it), as it does on a machine without a sound device.
int32_t ZTurkeyGame::InitSound() { return 1; }
