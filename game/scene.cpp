// ZScene's class record.
#include "game/scene.h"

Z_IMPLEMENT_CLASS(ZScene, ZObject)
