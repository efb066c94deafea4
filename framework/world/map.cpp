// ZMap's class record.
#include "framework/world/map.h"

Z_IMPLEMENT_CLASS(ZMap, ZData)
