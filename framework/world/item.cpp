// ZItem's and ZMapItem's class records.
#include "framework/world/item.h"

Z_IMPLEMENT_CLASS(ZItem, ZObject)
Z_IMPLEMENT_CLASS(ZMapItem, ZItem)
