// ZHunter: the player at his stand: his calls, his noise and movement as two levels the birds sense, his gun.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/world/player.h"

class ZTurkeyGame;
class ZHuntingMap;
class ZShotgun;
namespace platform {
class Window;
}

class ZHunter : public ZPlayer {
  Z_DECLARE_CLASS(ZHunter)

 public:
  static constexpr uint32_t kLevelCeiling = 1000;
  static constexpr uint32_t kCallClick = 10;      // added to a call's count per click
  static constexpr uint32_t kCallCountCap = 80;   // a count never stays above this after an update
  static constexpr uint32_t kRaiseAlarm = 50;
  static constexpr uint32_t kFireAlarm = 750;
  static constexpr uint32_t kViewMovementAlarm = 100;

  ZHunter(ZTurkeyGame* owner, platform::Window* mainWindow);
  ~ZHunter() override;
  ZHunter(const ZHunter&) = delete;
  ZHunter& operator=(const ZHunter&) = delete;

  // The levels a hunt starts from; the position stays.
  void Reset();
  // Once per frame: steps the gun when a frame is due, and updates the levels when their time has come.
  void Tick(int32_t walk);
  // The level update (calls, view movement, decay, call counts, clamps), due or not.
  void UpdateLevels(uint32_t now);
  void UseCall1();
  void UseCall2();
  // A new shotgun for a new hunt (any old one is deleted); 1.
  int32_t EquipShotgun();
  void DropWeapon();
  // 0 without a gun; otherwise the gun's operation (raising also adds 50 alarm, firing 750) and 1.
  int32_t RaiseWeapon();
  int32_t LowerWeapon();
  int32_t Fire();
  // 1 without a gun or with the gun down.
  int32_t WeaponDown() const;
  // 1 with a gun raised and ready.
  int32_t WeaponAiming() const;
  ZShotgun* GetWeapon() const { return weapon.get(); }

  int32_t viewMovement = 0;
  std::unique_ptr<ZShotgun> weapon;
  ZHuntingMap* map = nullptr;
  ZTurkeyGame* game = nullptr;
  platform::Window* window = nullptr;
  uint32_t minAttraction = 0;
  uint32_t minAlarm = 0;
  uint32_t attraction = 0;
  uint32_t alarm = 200;
  uint32_t callCount1 = 0;
  uint32_t callCount2 = 0;
  uint32_t lastLevelUpdate = 0;
};
