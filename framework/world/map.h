// ZMap: an area of the world that can be backed by a data file; it knows only its extent.
#pragma once

#include "framework/core/data.h"

class ZMap : public ZData {
  Z_DECLARE_CLASS(ZMap)

 public:
  ZMap() = default;

  // World units the area spans in x and y; set by whoever gives the area its size.
  float xExtent = 0.0f;
  float yExtent = 0.0f;
};
