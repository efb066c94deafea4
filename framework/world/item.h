// ZItem and ZMapItem: things with a fixed place on an area; a map item also carries the type read from the map file.
#pragma once

#include <cstdint>

#include "framework/core/object.h"
#include "framework/core/point.h"

class ZItem : public ZObject {
  Z_DECLARE_CLASS(ZItem)

 public:
  ZItem() = default;
  ZItem(double x, double y) : position(x, y) {}

  ZPoint position;
};

class ZMapItem : public ZItem {
  Z_DECLARE_CLASS(ZMapItem)

 public:
  // Item types with a role of their own; every other type is scenery.
  static constexpr int32_t kAttracting = 18;  // draws a walking bird toward it
  static constexpr int32_t kRepelling = 19;   // pushes a walking bird away, keeps wander targets off
  static constexpr int32_t kInert = 20;       // special, but without any effect

  ZMapItem() = default;
  ZMapItem(int32_t itemType, double x, double y) : ZItem(x, y), type(itemType) {}

  // Types 18, 19 and 20 are never drawn; they only steer the birds.
  bool IsSpecial() const { return type >= kAttracting && type <= kInert; }

  int32_t type = 0;
};
