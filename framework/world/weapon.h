// ZWeapon: the framework's empty weapon base.
#pragma once

#include "framework/core/object.h"

class ZWeapon : public ZObject {
  Z_DECLARE_CLASS(ZWeapon)
};
