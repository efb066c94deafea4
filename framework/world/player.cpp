// ZPlayer's class record.
#include "framework/world/player.h"

Z_IMPLEMENT_CLASS(ZPlayer, ZObject)
