// The root class record.
#include "framework/core/object.h"

const ZRuntimeClass ZObject::classRecord = {"ZObject", static_cast<int32_t>(sizeof(ZObject)), 0xFFFF, nullptr, nullptr};
