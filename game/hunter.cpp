// ZHunter's class record.
#include "game/hunter.h"

Z_IMPLEMENT_CLASS(ZHunter, ZObject)
