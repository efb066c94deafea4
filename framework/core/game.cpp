// ZGame's class record.
#include "framework/core/game.h"

Z_IMPLEMENT_CLASS(ZGame, ZObject)
