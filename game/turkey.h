// ZTurkey: one wild turkey of the hunt; minimal until the birds' behaviour lands.
#pragma once

#include <cstdint>

#include "framework/core/object.h"

class ZTurkey : public ZObject {
  Z_DECLARE_CLASS(ZTurkey)

 public:
  // 1 once the bird's fall has been shown; no bird falls yet.
  int32_t IsDown() const { return 0; }
};
