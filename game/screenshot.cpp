// The screenshot key: the front surface as a 640 x 480 8-bit bitmap file in the current directory.
#include "game/turkey_game.h"

// The front surface cannot be read yet; as when it cannot be locked, no file is written.
void ZTurkeyGame::TakeScreenshot() {}
