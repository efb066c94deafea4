// ZShotgun: the pump shotgun at the bottom of the view: raise, lower, fire, recoil, pump, reload, sway, muzzle flash, shot trace.
#pragma once

#include <cstdint>
#include <memory>

#include "game/hunting_weapon.h"

class ZShotgun : public ZHuntingWeapon {
  Z_DECLARE_CLASS(ZShotgun)

 public:
  static constexpr int32_t kShells = 4;
  static constexpr int32_t kRestX = 320;
  static constexpr int32_t kRestY = 510;       // the gun's hot spot when it comes out of sight
  static constexpr int32_t kAimedBelowY = 434;  // raising ends once the gun is above this row
  static constexpr int32_t kRecoilLowY = 500;
  static constexpr int32_t kPumpY = 443;
  static constexpr uint32_t kReloadStepMs = 1000;
  static constexpr int32_t kGunSpriteId = 16;
  static constexpr int32_t kMuzzleSpriteId = 17;
  static constexpr int32_t kShotSound = 138;
  static constexpr int32_t kShellSound = 139;

  ZShotgun(ZTurkeyGame* owner, platform::Window* mainWindow, ZDXSound* soundSystem);
  ~ZShotgun() override;

  // Makes the gun and muzzle pictures from the controls art (neither is shown yet); 1.
  int32_t Load() override;
  void AimStep() override;
  void PumpStep() override;
  void RecoilStep() override;
  void Fire() override;
  void Lower() override;
  void Raise() override;
  void TraceShot() override;

  int32_t pumpStarted = 0;
  int32_t pumpReversed = 0;
  uint32_t reloadTimer = 0;
  std::unique_ptr<ZSprite> muzzleSprite;

 private:
  // Ends the trace: with the struck sprite, or with nothing struck.
  void EndShot(ZSprite* struck);
};
