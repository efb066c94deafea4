// ZTurkey: the bird's behaviour, every random draw in its fixed order, and its distance-scaled picture.
#include "game/turkey.h"

#include <cmath>

#include "framework/graphics/scaled_sprite.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/sprite_map.h"
#include "framework/sound/dx_sound.h"
#include "game/gobble_placement.h"
#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/shotgun.h"
#include "game/scene.h"
#include "game/turkey_game.h"
#include "platform/clock.h"
#include "platform/rand.h"

Z_IMPLEMENT_CLASS(ZTurkey, ZUnit)

namespace {

int r() { return platform::rand(); }

// Times are plain unsigned millisecond counts of the clock the hunt started on.
bool Before(uint32_t a, uint32_t b) { return a < b; }

double Distance(const ZPoint& a, const ZPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

ZPoint HunterPosition(const ZHuntingMap* map) {
  if (map != nullptr && map->hunter != nullptr) return map->hunter->position;
  return ZPoint();
}

bool GameHunting() { return theGame != nullptr && theGame->state == ZTurkeyGame::Hunting; }

// One band of the wanted-facing table: below `nearFrom`/`farFrom` (near or far column) k falls to the
// next band; `hold` lists the facings whose hysteresis `nearHold`/`farHold` applies.
struct FacingBand {
  double nearFrom, farFrom;
  int32_t sideFacing, otherFacing;
  int32_t hold1, hold2;  // -1: none
  double nearHold, farHold;
};
constexpr FacingBand kBands[5] = {
    {0.924, 0.9, 6, 6, -1, -1, 0.0, 0.0},
    {0.383, 0.3, 5, 7, 6, -1, 0.72, 0.85},
    {-0.383, -0.25, 4, 0, 5, 7, 0.26, 0.1},
    {-0.91, -0.82, 3, 1, 0, 4, -0.44, -0.36},
    {-INFINITY, -INFINITY, 2, 2, 1, 3, -0.985, -0.88},
};

// Animation by state and facing: the sprite id, and whether it is mirrored left-right.
struct Pose {
  int32_t id;
  int32_t mirrored;
};
constexpr Pose kPoses[5][8] = {
    // Standing
    {{1, 0}, {5, 0}, {5, 0}, {5, 1}, {1, 1}, {4, 1}, {4, 0}, {4, 0}},
    // Idling
    {{1, 0}, {1, 0}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 0}, {1, 0}},
    // Walking
    {{3, 0}, {5, 0}, {5, 0}, {5, 1}, {3, 1}, {4, 1}, {4, 0}, {4, 0}},
    // Fleeing (facing 6 is mirrored only while the bird wants to face 5)
    {{2, 0}, {2, 0}, {2, 0}, {2, 1}, {2, 1}, {2, 1}, {2, 0}, {2, 0}},
    // Dying
    {{0, 0}, {0, 0}, {0, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 0}, {0, 0}},
};

}  // namespace

ZTurkey::ZTurkey(ZHuntingMap* owner) : map(owner) {}

ZTurkey::~ZTurkey() {
  Unlist();
  sprite.reset();
}

ZHuntingWeapon* ZTurkey::Weapon() const {
  return (map != nullptr && map->hunter != nullptr) ? map->hunter->GetWeapon() : nullptr;
}

// The shot's result names the picture it struck; a picture about to be deleted must not stay named
// there, or the result would point at freed memory (or at a later picture at the same address).
bool ZTurkey::ForgetShotAt(const ZSprite* picture) {
  ZHuntingWeapon* weapon = Weapon();
  if (weapon == nullptr || picture == nullptr || weapon->struckSprite != picture) return false;
  weapon->struckSprite = nullptr;
  return true;
}

void ZTurkey::Unlist() {
  if (sprite == nullptr) return;
  ZSpriteListNotifier* notifier = sprite->GetNotifier();
  if (notifier != nullptr && notifier->list != nullptr) notifier->list->Remove(sprite.get());
}

void ZTurkey::PlaceRandomly() {
  position.y = 1000 + r() % 8000;
  position.x = 1000 + r() % 8000;
  target = position;
  nextState = Walking;
}

double ZTurkey::DistanceToHunter() const { return Distance(position, HunterPosition(map)); }

bool ZTurkey::AtTarget() const {
  const double scale = map != nullptr ? map->timeScale : ZHuntingMap::kRealTimeScale;
  return Distance(position, target) < scale;
}

void ZTurkey::Tick() {
  now = platform::timeGetTime();
  if (state != Dying && nextState != Dying) {
    Decide();
    Sense();
  }
  ApplyTransition();
  UpdateSprite();
}

// --- senses ---

void ZTurkey::Sense() {
  const double d = DistanceToHunter();
  if (!(d < kSenseDistance) || now - lastSenseTime <= 1000) return;
  const ZHunter* hunter = map != nullptr ? map->hunter : nullptr;
  const uint32_t alarm = hunter != nullptr ? hunter->alarm : 0;
  // The product wraps as 32-bit unsigned; the quotient stays a double so a bird standing on the
  // hunter's spot (d = 0) cannot overflow anything.
  const uint32_t loud = static_cast<uint32_t>(subspecies / 2) * alarm * alarm;
  double noise = std::trunc(loud / d);
  const uint32_t lure = hunter != nullptr ? hunter->attraction : 0;
  if (InHunterView() != 0) noise = 2 * noise;

  const int spookDraw = r() % 80000;
  if (spookDraw < noise || alarm > kAlarmSpooks) {
    if (state != Fleeing) {
      PickFleeTarget();
      nextState = Fleeing;
      stateTimer = now;
      retargetTime = now + 3000 + r() % 2000;
    }
  } else if (static_cast<uint32_t>(r() % 10000) < lure && state != Fleeing && answeringCall == 0) {
    target = HunterPosition(map);
    nextState = Walking;
    stateTimer = now;
    answeringCall = 1;
  }
  if (answeringCall != 0) {
    if (DistanceToHunter() > 1500) {
      answeringCall = 0;
      lastSenseTime = now;
      return;
    }
    if (r() % 200 == 0) {  // gives up
      answeringCall = 0;
      nextState = Walking;
      stateTimer = now;
      PickWanderTarget();
    }
  }
  lastSenseTime = now;
}

int32_t ZTurkey::InHunterView() const {
  if (map == nullptr) return 0;
  const ZVector& w = map->watchDirection;
  const ZPoint h = HunterPosition(map);
  const double qx = position.x - h.x;
  const double qy = position.y - h.y;
  const double wl = w.Length();
  const double ql = std::hypot(qx, qy);
  if (wl == 0.0 || ql == 0.0) return 0;
  return (w.x * qx + w.y * qy) / (ql * wl) > 0.35 ? 1 : 0;
}

// --- decisions ---

void ZTurkey::Decide() {
  if (state != nextState || state == Dying) return;
  const double d = DistanceToHunter();
  switch (state) {
    case Standing:
      if (tooClose != 0) {
        nextState = Walking;
        stateTimer = now + 100;
        PickFleeTarget();  // walks away from the hunter
      } else if (r() % 100 < 15) {
        velocity = ZVector(0.0, 0.0);
        nextState = Idling;
        stateTimer = now + 3000 + r() % 5000;
      } else {
        nextState = Walking;
        PickWanderTarget();
      }
      break;
    case Idling:
      if (r() % 100 > 15) {
        nextState = Standing;
        stateTimer = now + 3000 + r() % 5000;
      } else {
        nextState = Walking;
        PickWanderTarget();
      }
      break;
    case Walking:
      if (AtTarget()) {
        nextState = Standing;
        stateTimer = now;
      } else if (d < 200 && tooClose == 0) {
        nextState = Standing;
        stateTimer = now;
        tooClose = 1;
        Move();
      } else {
        if (tooClose != 0 && DistanceToHunter() > 250) tooClose = 0;
        Move();
      }
      break;
    case Fleeing:
      if (d < kNearDistance) {
        Move();
        uint32_t status = 0;
        ZDXSound* sound = theGame != nullptr ? theGame->sound.get() : nullptr;
        if (sound != nullptr) sound->GetStatus(kGobbleSound1, &status);
        if (status != 1 && r() % 100 < 2) {
          const int32_t id = r() % 2 == 0 ? kGobbleSound1 : kGobbleSound2;
          if (sound != nullptr) PlayGobble(theGame, position, id, -2 * static_cast<int32_t>(d));
        }
        if (RetargetDue() != 0) {
          // A new flight line, at least 0.4 radians off the old one if ten tries find one.
          for (int i = 0; i < 10; ++i) {
            const ZPoint previous = target;
            PickFleeTarget();
            const double before = std::atan2(previous.y - position.y, previous.x - position.x);
            const double after = std::atan2(target.y - position.y, target.x - position.x);
            if (std::fabs(after - before) >= 0.4) break;
          }
        }
      } else if (d < 3000) {
        Move();
        if (AtTarget()) {
          nextState = Standing;
          stateTimer = now + 5000;
        }
      } else {
        nextState = Walking;  // walks on to its flight target
        stateTimer = now;
      }
      break;
    default:
      break;
  }
}

// --- transitions and turning ---

void ZTurkey::ApplyTransition() {
  ComputeWantedFacing();
  if (Before(now, stateTimer)) return;
  auto turn = [this](uint32_t hold) {
    TurnStep();
    if (hold != 0) stateTimer = now + hold;
  };
  if (nextState == Dying) {
    speed = 0.0;
    if (state != Dying) {
      state = Dying;
      stateTimer = now + 5000;
    }
    return;
  }
  switch (state) {
    case Standing:
      switch (nextState) {
        case Standing:
          speed = 0.0;
          if (!Aligned()) turn(300);
          break;
        case Idling:
          wantedFacing = (facing >= 2 && facing <= 5) ? 4 : 0;
          if (!Aligned()) {
            turn(300);
          } else {
            speed = 0.0;
            state = Idling;
            stateTimer = now + 5000;
          }
          break;
        case Walking:
          if (Aligned()) {
            speed = kWalkSpeed;
            state = Walking;
          } else {
            turn(500);
          }
          break;
        case Fleeing:
          if (!Aligned()) {
            turn(0);
          } else {
            speed = kFleeSpeed;
            state = Fleeing;
          }
          break;
        default:
          break;
      }
      break;
    case Idling:
      switch (nextState) {
        case Standing:
          speed = 0.0;
          state = Standing;
          stateTimer = now + 5000;
          break;
        case Idling:
          speed = 0.0;
          if (!Aligned()) turn(300);
          break;
        case Walking:
          if (!Aligned()) {
            turn(500);
          } else {
            speed = kWalkSpeed;
            state = Standing;  // on to Walking through Standing
            stateTimer = now + 100;
          }
          break;
        case Fleeing:
          if (!Aligned()) {
            turn(0);
          } else {
            speed = kFleeSpeed;
            state = Fleeing;
          }
          break;
        default:
          break;
      }
      break;
    case Walking:
      switch (nextState) {
        case Standing:
          speed = 0.0;
          if (Aligned()) {
            state = Standing;
            stateTimer = now + 5000;
          } else {
            turn(300);
          }
          break;
        case Idling:
          speed = 0.0;
          if (!Aligned()) {
            turn(300);
          } else {
            state = Standing;
            stateTimer = now + 100;
          }
          break;
        case Walking:
          speed = kWalkSpeed;
          if (!Aligned()) turn(500);
          break;
        case Fleeing:
          if (!Aligned()) {
            turn(100);
          } else {
            speed = kFleeSpeed;
            state = Fleeing;
          }
          break;
        default:
          break;
      }
      break;
    case Fleeing:
      if (nextState == Fleeing) {
        speed = kFleeSpeed;
        if (!Aligned()) turn(0);
      } else {
        speed = kWalkSpeed;
        state = Walking;
      }
      break;
    default:  // Dying: nothing but the stop above
      break;
  }
}

void ZTurkey::TurnStep() {
  if (Aligned()) return;
  const int32_t diff = facing - wantedFacing;
  if (diff < -3 || (diff > 0 && diff <= 4)) {
    facing = facing == 0 ? 7 : facing - 1;
  } else {
    facing = (facing + 1) % 8;
  }
}

void ZTurkey::ComputeWantedFacing() {
  const ZVector& v = velocity;
  if (v.x == 0.0 && v.y == 0.0) return;
  const ZPoint h = HunterPosition(map);
  const double px = position.x - h.x;
  const double py = position.y - h.y;
  const double pl = std::hypot(px, py);
  const double k = (v.x * px + v.y * py) / (v.Length() * pl);
  const bool side = v.y * px - v.x * py > 0;
  const bool nearHunter = pl < 500;
  for (const FacingBand& band : kBands) {
    const double from = nearHunter ? band.nearFrom : band.farFrom;
    if (!(k >= from)) continue;  // also not a number (the bird on the hunter's spot): no band at all
    const bool held = band.hold1 >= 0 && (wantedFacing == band.hold1 || facing == band.hold1 ||
                                          wantedFacing == band.hold2 || facing == band.hold2);
    if (held && k > (nearHunter ? band.nearHold : band.farHold)) return;
    wantedFacing = side ? band.sideFacing : band.otherFacing;
    return;
  }
}

// --- the picture ---

void ZTurkey::UpdateSprite() {
  const double d = DistanceToHunter();
  if (!(d < kNearDistance)) {
    near = 0;
    if (GameHunting() && sprite != nullptr) DropSprite();
    return;
  }
  near = 1;
  if (!GameHunting()) {
    DropSprite();
    return;
  }
  ChooseAnimation();
  if (sprite == nullptr) return;
  const ZPoint h = HunterPosition(map);
  const double angle = std::atan2(position.y - h.y, position.x - h.x);
  double s = 1.0;
  int32_t x = 0;
  int32_t y = 0;
  if (theGame->scene != nullptr) theGame->scene->Project(angle, d, &s, &x, &y);
  const double scale = 0.9 * s;
  const int32_t count = sprite->GetFrameCount();
  // The fall holds its last frame; other animations loop.
  if (frameIndex >= count) frameIndex = (state == Dying && count > 0) ? count - 1 : 0;
  sprite->SetFrame(frameIndex);
  if (now - lastFrameTime > 100) {  // at most ten frames a second
    lastFrameTime = now;
    ++frameIndex;
  }
  int32_t w = 0;
  int32_t hgt = 0;
  if (const ZFrame* frame = sprite->GetCurrentFrame()) {
    w = frame->Width();
    hgt = frame->Height();
  }
  sprite->SetPosition(x - static_cast<int32_t>((w * scale + 1) / 2), y - static_cast<int32_t>(hgt * scale));
  sprite->SetScale(scale);
  sprite->SetDepth(static_cast<int32_t>(d * 100));
}

void ZTurkey::ChooseAnimation() {
  if (state < Standing || state > Dying || facing < 0 || facing > 7) return;
  if (state == Standing) frameIndex = 0;  // a standing bird shows its animation's first frame
  Pose pose = kPoses[state][facing];
  if (state == Fleeing && facing == 6) pose.mirrored = wantedFacing == 5 ? 1 : 0;
  SetAnimation(pose.id, pose.mirrored);
}

void ZTurkey::SetAnimation(int32_t id, int32_t mirrored) {
  if (near == 0) return;
  if (id == animation && sprite != nullptr) {
    // Same picture: only the side it faces may have changed (a fleeing bird turning from 2 to 3).
    sprite->mirrorLeftRight = mirrored;
    return;
  }
  animation = id;
  int32_t x = 0;
  int32_t y = 0;
  int32_t depth = 10000;
  bool struck = false;
  if (sprite != nullptr) {
    x = sprite->GetX();
    y = sprite->GetY();
    depth = sprite->GetDepth();
    struck = ForgetShotAt(sprite.get());
    Unlist();
    sprite.reset();
  } else {
    // A bird coming into view shows its true pose at once, without turning.
    ComputeWantedFacing();
    facing = wantedFacing;
  }
  if (theGame == nullptr) return;
  // Without the birds' art the sprite has no frames: it draws nothing and cannot be struck, but the
  // bird keeps it, so the hunt runs as it would with the art.
  sprite = std::make_unique<ZScaledSprite>(x, y, depth, birdSurface.get(), id, birdSpriteMap.get());
  frameIndex = 0;
  sprite->kind = 2;
  sprite->SetTargets(nullptr, theGame->mainViewport.get());
  sprite->placed = 1;
  sprite->wrapHorizontally = 1;
  sprite->mirrorLeftRight = mirrored;
  theGame->worldSprites.Add(sprite.get());
  // A shot traced in this frame that struck the old picture struck this bird: the result follows it.
  if (struck) {
    if (ZHuntingWeapon* weapon = Weapon()) weapon->struckSprite = sprite.get();
  }
}

void ZTurkey::DropSprite() {
  if (sprite == nullptr) return;
  ForgetShotAt(sprite.get());
  Unlist();
  sprite.reset();
  animation = -1;
  facing = 0;
  frameIndex = 0;
}

int32_t ZTurkey::IsDown() const {
  if (state != Dying || sprite == nullptr) return 0;
  if (sprite->GetCurrentFrameIndex() != sprite->GetFrameCount() - 1) return 0;
  return Before(stateTimer, now) ? 1 : 0;
}

// --- the shot ---

int32_t ZTurkey::HitTest(ZSprite* struck, int32_t x, int32_t y) {
  if (struck == nullptr || sprite == nullptr || struck != sprite.get() || state == Dying) return 0;
  platform::Rect r;
  sprite->GetRect(&r);
  const double scale = sprite->GetScale();
  bool inside = false;
  if (scale > 0.0) {
    // Into the unscaled frame, rounded; the kill zone is the same in every pose.
    const double lx0 = std::trunc((x - r.left) / scale + 0.5);
    const double ly = std::trunc((y - r.top) / scale + 0.5);
    const double lx = sprite->mirrorLeftRight != 0 ? std::trunc((r.right - r.left) / scale + 0.5) - lx0 : lx0;
    inside = lx >= 0 && lx < kKillZone && ly >= 0 && ly < kKillZone;
  }
  if (inside) {
    nextState = Dying;
    stateTimer = now;
    if (theGame != nullptr) theGame->baggedBird = this;
    return 1;
  }
  PickFleeTarget();
  nextState = Fleeing;
  stateTimer = now;
  return 0;
}

// --- movement and targets ---

void ZTurkey::FindLandmarks() {
  if (map == nullptr) return;
  for (const auto& item : map->specials) {
    if (item->type == ZMapItem::kAttracting) {
      if (Distance(position, item->position) < Distance(position, attractPoint)) attractPoint = item->position;
    } else if (item->type == ZMapItem::kRepelling) {
      if (Distance(position, item->position) < Distance(position, avoidPoint)) avoidPoint = item->position;
    }
  }
}

void ZTurkey::Move() {
  FindLandmarks();
  const ZVector toTarget(target.x - position.x, target.y - position.y);
  if (state == Fleeing || near != 0) {
    velocity = toTarget;
  } else {
    // Drawn toward the nearest attracting item and pushed from the nearest repelling one, both in
    // proportion to the way still to go.
    ZVector toward(attractPoint.x - position.x, attractPoint.y - position.y);
    ZVector away(avoidPoint.x - position.x, avoidPoint.y - position.y);
    toward.Normalize();
    away.Normalize();
    const double rest = toTarget.Length();
    const double pull = rest * 0.47619047619047616;
    const double push = rest * -0.37037037037037035;
    velocity = ZVector(toTarget.x + pull * toward.x + push * away.x, toTarget.y + pull * toward.y + push * away.y);
  }
  const uint32_t elapsed = map != nullptr ? (map->frameDelta < kMaxStepMs ? map->frameDelta : kMaxStepMs) : 0;
  const double scale = map != nullptr ? map->timeScale : ZHuntingMap::kRealTimeScale;
  velocity.SetLength(elapsed * scale * speed * 0.001);
  position.x += velocity.x;
  position.y += velocity.y;
}

void ZTurkey::PickFleeTarget() {
  const ZPoint h = HunterPosition(map);
  const int a = 1000 + r() % 1000;
  const int b = 1000 + r() % 1000;
  target.x = position.x > h.x ? position.x + a : position.x - a;
  target.y = position.y > h.y ? position.y + b : position.y - b;
}

void ZTurkey::PickWanderTarget() {
  for (int32_t draw = 0; draw < kMaxWanderDraws; ++draw) {
    if (r() % 5 == 0) {
      target.y = 1000 + r() % 8000;
      target.x = 1000 + r() % 8000;
    } else {
      target.y += r() % 500 - 250;
      target.x += r() % 500 - 250;
    }
    bool free = true;
    if (map != nullptr) {
      for (const auto& item : map->specials) {
        if (item->type == ZMapItem::kRepelling && Distance(target, item->position) < 1000) {
          free = false;
          break;
        }
      }
    }
    if (free) return;
  }
}

int32_t ZTurkey::RetargetDue() {
  if (Before(now, retargetTime)) return 0;
  retargetTime = now + 2000 + r() % 2000;
  return 1;
}
