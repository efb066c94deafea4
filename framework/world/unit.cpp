// ZUnit's class record.
#include "framework/world/unit.h"

Z_IMPLEMENT_CLASS(ZUnit, ZObject)
