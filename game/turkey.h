// ZTurkey: one wild turkey gobbler: senses, decisions, turning, movement, its picture and the shot test.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/point.h"
#include "framework/world/unit.h"

class ZHuntingMap;
class ZHuntingWeapon;
class ZScaledSprite;
class ZSprite;

class ZTurkey : public ZUnit {
  Z_DECLARE_CLASS(ZTurkey)

 public:
  enum : int32_t { Standing = 0, Idling = 1, Walking = 2, Fleeing = 3, Dying = 4 };
  // Sprite ids of the bird sprite map.
  enum : int32_t {
    kAnimFalling = 0,
    kAnimProfile = 1,
    kAnimFleeing = 2,
    kAnimWalking = 3,
    kAnimAway = 4,
    kAnimToward = 5,
  };
  static constexpr double kWalkSpeed = 10.0;  // units per simulated second
  static constexpr double kFleeSpeed = 50.0;
  static constexpr double kNearDistance = 1000.0;
  static constexpr double kSenseDistance = 2000.0;
  static constexpr uint32_t kAlarmSpooks = 750;
  static constexpr int32_t kKillZone = 300;  // the kill zone: 0..299 in both axes of the unscaled frame
  static constexpr int32_t kGobbleSound1 = 155;
  static constexpr int32_t kGobbleSound2 = 156;
  // The longest frame moved in one step. A longer one is a pause (the game was in the background, or
  // the machine stalled): moving a whole pause at once would throw birds thousands of units off.
  static constexpr uint32_t kMaxStepMs = 100;
  // Wander targets are drawn again while one lies within 1000 units of a repelling item; a map that
  // leaves no free ground would otherwise never let the draw end.
  static constexpr int32_t kMaxWanderDraws = 200;

  explicit ZTurkey(ZHuntingMap* owner = nullptr);
  ~ZTurkey() override;
  ZTurkey(const ZTurkey&) = delete;
  ZTurkey& operator=(const ZTurkey&) = delete;

  // A random place in 1000..8999 (y drawn first); the bird's target is its own place.
  void PlaceRandomly();
  // One frame: decide and sense (unless dying), the transition, the picture.
  void Tick();
  // The shot at panorama x, y struck `sprite`: 1 when that is this bird's and the point is in its kill zone.
  int32_t HitTest(ZSprite* struck, int32_t x, int32_t y);
  // Removes and deletes the bird's picture.
  void DropSprite();
  // 1 once the bird has fallen and the fall has been shown (last frame, timer passed).
  int32_t IsDown() const;
  double DistanceToHunter() const;

  // The behaviour's steps, in the order Tick runs them.
  void Decide();
  void Sense();
  void ApplyTransition();
  void UpdateSprite();
  void ComputeWantedFacing();
  void TurnStep();
  int32_t InHunterView() const;
  void ChooseAnimation();
  void SetAnimation(int32_t id, int32_t mirrored);
  void Move();
  void FindLandmarks();
  void PickFleeTarget();
  void PickWanderTarget();
  int32_t RetargetDue();
  // The target is within the map's time scale (30 units in fast time, 1 in real time).
  bool AtTarget() const;

  ZScaledSprite* GetSprite() const { return sprite.get(); }

  ZHuntingMap* map = nullptr;
  std::unique_ptr<ZScaledSprite> sprite;
  int32_t subspecies = 0;
  int32_t weight = 0;
  int32_t answeringCall = 0;
  int32_t tooClose = 0;
  int32_t frameIndex = 0;
  uint32_t lastFrameTime = 0;
  int32_t state = Standing;
  int32_t nextState = Standing;
  int32_t facing = 0;
  int32_t wantedFacing = 0;
  int32_t animation = -1;
  uint32_t stateTimer = 0;
  uint32_t retargetTime = 0;
  int32_t near = 0;
  ZPoint target;
  ZPoint attractPoint;
  ZPoint avoidPoint;
  double speed = 0.0;
  uint32_t now = 0;
  uint32_t lastSenseTime = 0;

 private:
  bool Aligned() const { return facing == wantedFacing; }
  // Takes the sprite out of the list it was added to.
  void Unlist();
  // The hunter's gun, or null.
  ZHuntingWeapon* Weapon() const;
  // Clears the gun's struck picture when it is `picture`; true when it was.
  bool ForgetShotAt(const ZSprite* picture);
};
