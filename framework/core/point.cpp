// ZPoint's class record.
#include "framework/core/point.h"

Z_IMPLEMENT_CLASS(ZPoint, ZObject)
