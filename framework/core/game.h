// ZGame: the framework's empty game base.
#pragma once

#include "framework/core/object.h"

class ZGame : public ZObject {
  Z_DECLARE_CLASS(ZGame)
};
