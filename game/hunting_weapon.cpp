// ZHuntingWeapon: the per-frame dispatch on the gun's state, showing and hiding the gun, and starting a shot.
#include "game/hunting_weapon.h"

#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "game/turkey_game.h"

Z_IMPLEMENT_CLASS(ZHuntingWeapon, ZWeapon)

using platform::Rect;

ZHuntingWeapon::ZHuntingWeapon(ZTurkeyGame* owner, platform::Window* mainWindow, ZDXSound* soundSystem)
    : sound(soundSystem), game(owner), window(mainWindow) {}

ZHuntingWeapon::~ZHuntingWeapon() {
  if (gunSprite != nullptr) {
    if (ZSpriteList* overlay = OverlayList()) overlay->Remove(gunSprite.get());
    gunSprite.reset();
  }
}

ZSpriteList* ZHuntingWeapon::OverlayList() const { return game != nullptr ? &game->overlaySprites : nullptr; }
ZSpriteList* ZHuntingWeapon::WorldList() const { return game != nullptr ? &game->worldSprites : nullptr; }

int32_t ZHuntingWeapon::GunX() const { return gunSprite != nullptr ? gunSprite->GetX() : 0; }
int32_t ZHuntingWeapon::GunY() const { return gunSprite != nullptr ? gunSprite->GetY() : 0; }

void ZHuntingWeapon::MoveGunTo(int32_t x, int32_t y) {
  if (gunSprite != nullptr) gunSprite->SetPosition(x, y);
}

void ZHuntingWeapon::ScreenToPanorama(Rect* r) const {
  if (game != nullptr && game->mainViewport != nullptr) game->mainViewport->ToSource(r);
}

void ZHuntingWeapon::ReportShown(ZSpriteList* list, ZSprite* sprite) {
  if (list == nullptr || sprite == nullptr) return;
  Rect r;
  sprite->GetScreenRect(&r);
  list->GetNotifier()->Notify(sprite, kNoticeShown, &r, nullptr);
}

void ZHuntingWeapon::Step() {
  switch (state) {
    case Down: HideStep(); break;
    case Aiming: AimStep(); break;
    case Raising: Raise(); break;
    case Lowering: Lower(); break;
    case Firing: Fire(); break;
    case Recoiling: RecoilStep(); break;
    case Pumping: PumpStep(); break;
    default: break;
  }
}

void ZHuntingWeapon::HideStep() {
  if (shown == 0) return;
  ZSpriteList* overlay = OverlayList();
  ReportShown(overlay, gunSprite.get());
  if (overlay != nullptr) overlay->Remove(gunSprite.get());
  shown = 0;
}

void ZHuntingWeapon::Raise() {
  state = Raising;
  if (shown == 2) return;
  // After a shot or a pump the picture may still be listed; a sprite is never listed twice.
  ZSpriteList* overlay = OverlayList();
  if (overlay != nullptr && gunSprite != nullptr && !overlay->Contains(gunSprite.get())) overlay->Add(gunSprite.get());
  shown = 2;
}

void ZHuntingWeapon::Fire() {
  travelled = 0;
  inFlight = 1;
  listIndex = 0;
  Rect gun{GunX(), GunY(), GunX(), GunY()};
  if (gunSprite != nullptr) gunSprite->GetRect(&gun);
  beadX = gun.left + beadOffsetX;
  beadY = gun.top + beadOffsetY;
  shotRect = Rect{beadX, beadY, beadX + 1, beadY + 1};
  ScreenToPanorama(&shotRect);
  shotTop = shotRect.top;
  // The view may show the panorama's start again past its right end; the shot is traced there.
  ZSurface* panorama = (game != nullptr && game->mainViewport != nullptr) ? game->mainViewport->GetSource() : nullptr;
  if (panorama != nullptr && panorama->GetWidth() > 0 && shotRect.left >= panorama->GetWidth()) {
    shotRect.left -= panorama->GetWidth();
    shotRect.right -= panorama->GetWidth();
  }
}

void ZHuntingWeapon::ClearResult() {
  resultKind = kNoResult;
  struckSprite = nullptr;
  resultX = 0;
  resultY = 0;
  resultDistance = 0;
}
