// ZHuntingMap's class record.
#include "game/hunting_map.h"

Z_IMPLEMENT_CLASS(ZHuntingMap, ZObject)
