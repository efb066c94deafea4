// ZSound: the class record of the sound systems' base.
#include "framework/sound/sound.h"

Z_IMPLEMENT_CLASS(ZSound, ZObject)
