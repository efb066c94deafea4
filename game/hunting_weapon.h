// ZHuntingWeapon: the base of hunting guns: the gun picture, the state machine, and the traced shot's result.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/world/weapon.h"
#include "platform/types.h"

class ZSprite;
class ZSpriteList;
class ZDXSound;
class ZTurkeyGame;
namespace platform {
class Window;
}

class ZHuntingWeapon : public ZWeapon {
  Z_DECLARE_CLASS(ZHuntingWeapon)

 public:
  enum : int32_t { Down = 0, Aiming = 1, Raising = 2, Lowering = 3, Firing = 4, Recoiling = 5, Pumping = 6 };
  // What the result fields hold when no shot has struck anything.
  static constexpr int32_t kNoResult = -1;

  ZHuntingWeapon(ZTurkeyGame* owner, platform::Window* mainWindow, ZDXSound* soundSystem);
  ~ZHuntingWeapon() override;
  ZHuntingWeapon(const ZHuntingWeapon&) = delete;
  ZHuntingWeapon& operator=(const ZHuntingWeapon&) = delete;

  virtual int32_t Load() { return 1; }
  virtual void AimStep() {}
  virtual void PumpStep() {}
  virtual void RecoilStep() {}
  // Starts a shot from the bead's point on the screen.
  virtual void Fire();
  virtual void Lower() { state = Lowering; }
  // Shows the gun (once) in the overlay list.
  virtual void Raise();
  virtual void TraceShot() {}

  // One frame step, by state; the hunter calls it once per frame.
  void Step();
  // Hides the gun (the Down state's step).
  void HideStep();
  // Clears the result fields after the hunting screen has handled them.
  void ClearResult();

  std::unique_ptr<ZSprite> gunSprite;
  ZSprite* struckSprite = nullptr;
  int32_t stepCounter = 0;
  int32_t pumpStep = 0;
  int32_t swayX = 0;
  int32_t swayY = 0;
  int32_t swayDX = 0;
  int32_t swayDY = 0;
  int32_t state = Down;
  int32_t shown = 0;
  int32_t pumpPhase = 1;
  ZDXSound* sound = nullptr;
  ZTurkeyGame* game = nullptr;
  platform::Window* window = nullptr;
  int32_t beadOffsetX = 68;
  int32_t beadOffsetY = 3;
  int32_t shellsFired = 0;
  int32_t beadX = 0;
  int32_t beadY = 0;
  int32_t shotTop = 0;
  platform::Rect shotRect;
  int32_t range = 0;
  float dropFactor = 0.0f;
  int32_t drop = 0;
  int32_t travelled = 0;
  int32_t inFlight = 0;
  int32_t listIndex = 0;
  int32_t resultKind = kNoResult;
  int32_t resultX = 0;
  int32_t resultY = 0;
  int32_t resultDistance = 0;

 protected:
  // The gun picture's hot spot (0, 0 before Load), and moving it.
  int32_t GunX() const;
  int32_t GunY() const;
  void MoveGunTo(int32_t x, int32_t y);
  // A screen rectangle in panorama coordinates, through the game's main viewport.
  void ScreenToPanorama(platform::Rect* r) const;
  // Reports the sprite's screen rectangle as appeared or disappeared (notice 4) to a list's notifier.
  static void ReportShown(ZSpriteList* list, ZSprite* sprite);
  // The game's lists, or null without a game.
  ZSpriteList* OverlayList() const;
  ZSpriteList* WorldList() const;
};
