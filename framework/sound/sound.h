// ZSound: the empty base of the program's sound systems.
#pragma once

#include "framework/core/object.h"

class ZSound : public ZObject {
  Z_DECLARE_CLASS(ZSound)
};
