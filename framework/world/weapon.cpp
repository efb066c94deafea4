// ZWeapon's class record.
#include "framework/world/weapon.h"

Z_IMPLEMENT_CLASS(ZWeapon, ZObject)
