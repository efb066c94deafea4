// ZShotgun: the gun's step-by-step movements (raise, lower, recoil, pump, reload, sway) and the shot traced through the world sprites.
#include "game/shotgun.h"

#include <iterator>

#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_list.h"
#include "framework/sound/dx_sound.h"
#include "game/turkey_game.h"
#include "platform/clock.h"

Z_IMPLEMENT_CLASS(ZShotgun, ZHuntingWeapon)

using platform::Rect;

namespace {

// The sway boxes of the bead's wander: narrow while the view is still, wider while it moves.
struct SwayBox {
  int32_t left, right, top, bottom;
};
constexpr SwayBox kStillBox{318, 322, 433, 440};
constexpr SwayBox kMovingBox{317, 323, 431, 442};

// Keeps v inside lo..hi, turning the direction round at an edge.
void Bounce(int32_t* v, int32_t* dir, int32_t lo, int32_t hi) {
  if (*v <= lo) {
    *v = lo;
    *dir = 1;
  } else if (*v >= hi) {
    *v = hi;
    *dir = -1;
  }
}

}  // namespace

ZShotgun::ZShotgun(ZTurkeyGame* owner, platform::Window* mainWindow, ZDXSound* soundSystem)
    : ZHuntingWeapon(owner, mainWindow, soundSystem) {
  range = 1000;
  dropFactor = 1.0f;
  Load();
}

ZShotgun::~ZShotgun() {
  if (muzzleSprite != nullptr) {
    if (ZSpriteList* overlay = OverlayList()) overlay->Remove(muzzleSprite.get());
    muzzleSprite.reset();
  }
}

int32_t ZShotgun::Load() {
  swayDX = 1;
  swayDY = 1;
  ZSurface* controls = game != nullptr ? game->controlsSurface.get() : nullptr;
  ZSpriteMap* controlsMap = game != nullptr ? game->controlsSpriteMap.get() : nullptr;
  if (gunSprite != nullptr) {
    if (ZSpriteList* overlay = OverlayList()) overlay->Remove(gunSprite.get());
  }
  gunSprite = std::make_unique<ZSprite>(kRestX, kRestY, 0, controls, kGunSpriteId, controlsMap);
  // Without the controls art the gun has no picture, but it keeps its place so its timeline still runs.
  if (gunSprite->GetX() != kRestX || gunSprite->GetY() != kRestY) gunSprite->SetPosition(kRestX, kRestY);
  gunSprite->SetTargets(nullptr, game != nullptr ? game->secondViewport.get() : nullptr);
  gunSprite->placed = 1;
  if (muzzleSprite != nullptr) {
    if (ZSpriteList* overlay = OverlayList()) overlay->Remove(muzzleSprite.get());
  }
  muzzleSprite = std::make_unique<ZSprite>(GunX() + 20, GunY() - 80, 1, controls, kMuzzleSpriteId, controlsMap);
  muzzleSprite->kind = 1;
  muzzleSprite->SetTargets(nullptr, game != nullptr ? game->mainViewport.get() : nullptr);
  return 1;
}

void ZShotgun::Raise() {
  ZHuntingWeapon::Raise();
  pumpPhase = 1;
  MoveGunTo(GunX(), GunY() - 4);
  if (GunY() < kAimedBelowY) {
    stepCounter = 3;
    state = Aiming;
  }
}

void ZShotgun::Lower() {
  if (state != Aiming && state != Lowering) return;
  state = Lowering;
  MoveGunTo(GunX(), GunY() + 4);
  if (GunY() > kRestY) state = Down;  // the next step hides it
}

void ZShotgun::Fire() {
  state = Firing;
  if (shown != 4) {
    ZHuntingWeapon::Fire();
    ++shellsFired;
    TraceShot();
    // The flash sits above the muzzle, in the panorama, so it stays with the view it was fired into.
    Rect at{GunX() + 2, GunY() - 120, GunX() + 3, GunY() - 119};
    ScreenToPanorama(&at);
    ZSpriteList* overlay = OverlayList();
    muzzleSprite->SetPosition(at.left, at.top);
    muzzleSprite->SetFrame(0);
    ReportShown(overlay, muzzleSprite.get());
    if (overlay != nullptr && !overlay->Contains(muzzleSprite.get())) overlay->Add(muzzleSprite.get());
    if (sound != nullptr) {
      sound->Stop(kShotSound);
      sound->SetPosition(kShotSound, 0);
      sound->Play(kShotSound, 0);
    }
    stepCounter = 3;
    shown = 4;
    return;
  }
  if (--stepCounter < 0) {
    swayDY = 15;
    stepCounter = 3;
    state = Recoiling;
  }
}

void ZShotgun::RecoilStep() {
  TraceShot();
  muzzleSprite->SetPosition(muzzleSprite->GetX(), muzzleSprite->GetY() - 2);
  if (stepCounter != 0) {
    if (stepCounter == 3) gunSprite->SetFrame(gunSprite->GetFrameCount() - 1);
    --stepCounter;
    return;
  }
  int32_t y = GunY() + swayDY;
  if (y > kRecoilLowY) {
    gunSprite->SetFrame(0);
    swayDY = -5;
    y = kRecoilLowY;
  } else if (y <= kPumpY) {
    swayDY = 1;
    pumpStep = 1;
    state = Pumping;
    stepCounter = 3;
    ReportShown(WorldList(), muzzleSprite.get());
    if (ZSpriteList* overlay = OverlayList()) overlay->Remove(muzzleSprite.get());
    y = kPumpY;
  }
  MoveGunTo(GunX(), y);
}

void ZShotgun::PumpStep() {
  TraceShot();
  --stepCounter;
  pumpStarted = 1;
  if (shellsFired == kShells) {
    shellsFired = -kShells;
    pumpPhase = 3;
  }
  switch (pumpPhase) {
    case 3:  // down out of sight to reload
      MoveGunTo(GunX(), GunY() + 4);
      if (GunY() > kRestY) {
        pumpPhase = 6;
        ZSpriteList* overlay = OverlayList();
        ReportShown(overlay, gunSprite.get());
        if (overlay != nullptr) overlay->Remove(gunSprite.get());
      }
      break;
    case 6: {  // one shell a second, then up again
      const uint32_t now = platform::GetTickCount();
      if (reloadTimer == 0) reloadTimer = now;
      if (now - reloadTimer < kReloadStepMs) break;
      reloadTimer = 0;
      if (shellsFired < 0) {
        uint32_t status = 0;
        if (sound != nullptr) sound->GetStatus(kShellSound, &status);
        if (status != 1) {
          if (sound != nullptr) sound->Play(kShellSound, 0);
          ++shellsFired;
        }
      } else {
        shellsFired = 0;
        state = Raising;
        shown = 0;
        stepCounter = 3;
        swayDX = 1;
        swayDY = 1;
        pumpStarted = 0;
        pumpReversed = 0;
      }
      break;
    }
    case 1: {  // the pump: frames forward to the one before the last, then back, one every four steps
      if (stepCounter >= 0) break;
      int32_t f = gunSprite->GetCurrentFrameIndex() + pumpStep;
      if (f < 0) {
        state = Aiming;
        shown = 1;
        swayDX = 1;
        swayDY = 1;
        f = 0;
        pumpStarted = 0;
        pumpReversed = 0;
      } else if (f >= gunSprite->GetFrameCount() - 1) {
        pumpReversed = 1;
        pumpStep = -1;
        f -= 2;
      }
      gunSprite->SetFrame(f);
      stepCounter = 3;
      break;
    }
    default:
      break;
  }
}

void ZShotgun::AimStep() {
  TraceShot();
  if (--stepCounter > 0) return;
  stepCounter = 3;
  int32_t x = GunX() + swayDX;
  int32_t y = GunY() + swayDY;
  // The look is applied and cleared earlier in the frame; what that frame applied counts too.
  const bool still = game == nullptr || (game->lookDX == 0 && game->lookDY == 0 && game->frameLook == 0);
  const SwayBox& box = still ? kStillBox : kMovingBox;
  Bounce(&x, &swayDX, box.left, box.right);
  Bounce(&y, &swayDY, box.top, box.bottom);
  if (!still) {
    swayX = x;
    swayY = y;
  }
  MoveGunTo(x, y);
}

void ZShotgun::EndShot(ZSprite* struck) {
  if (struck != nullptr) {
    resultX = shotRect.left;
    resultY = shotRect.top;
    resultDistance = struck->GetDepth() / 100;
    resultKind = struck->kind;
  } else {
    resultX = 0;
    resultY = 0;
    resultDistance = 0;
    resultKind = kNoResult;
  }
  struckSprite = struck;
  inFlight = 0;
  travelled = 0;
  listIndex = 0;
  drop = 0;
}

void ZShotgun::TraceShot() {
  if (inFlight == 0) return;
  ZSpriteList* world = WorldList();
  // With nothing in the world the shot can strike nothing; it ends instead of staying in flight.
  if (world == nullptr || world->IsEmpty()) {
    EndShot(nullptr);
    return;
  }
  const int32_t d = travelled;
  if (d == 0) {
    listIndex = 0;
  } else {
    drop = static_cast<int32_t>(d * static_cast<double>(dropFactor) * 0.01);
    shotRect.top = shotTop + drop;
    shotRect.bottom = shotRect.top + 1;
  }
  travelled = d + 100;
  const int32_t limit = (d + 100) * 100;  // a sprite depth: distance x 100
  const auto& sprites = world->Sprites();
  if (travelled > range || listIndex < 0 || listIndex >= world->GetCount()) {
    EndShot(nullptr);
    return;
  }
  // Nearest first from where the last band stopped; the first solid pixel ends the shot.
  for (auto it = std::next(sprites.begin(), listIndex); it != sprites.end(); ++it) {
    ZSprite* s = *it;
    if (s->GetDepth() > limit) break;
    Rect r;
    s->GetRect(&r);
    Rect meet;
    if (platform::IntersectRect(&meet, r, shotRect) && s->HitTest(shotRect.left, shotRect.top) != 0) {
      EndShot(s);
      return;
    }
    ++listIndex;
  }
}
