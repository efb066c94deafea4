// ZFrame's class record.
#include "framework/graphics/frame.h"

Z_IMPLEMENT_CLASS(ZFrame, ZObject)
