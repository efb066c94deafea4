// ZGraphicsInfo's class record.
#include "framework/core/graphics_info.h"

Z_IMPLEMENT_CLASS(ZGraphicsInfo, ZObject)
