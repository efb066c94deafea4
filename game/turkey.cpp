// ZTurkey's class record.
#include "game/turkey.h"

Z_IMPLEMENT_CLASS(ZTurkey, ZObject)
