// ZScene: stands and horizons of the five areas, the panorama projection, and the scenery painted once per hunt.
#include "game/scene.h"

#include <cmath>

#include "framework/graphics/graphics.h"
#include "framework/graphics/scaled_sprite.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/surface.h"
#include "game/art_files.h"
#include "game/hunter.h"
#include "game/hunting_map.h"

Z_IMPLEMENT_CLASS(ZScene, ZMap)

namespace {

constexpr double kTwoPi = 6.283185307;
constexpr double kColumnsPerRadian = 0.15915494309644432;  // 1 / (2 pi)
constexpr double kFullSizeDistance = 110.0;

struct Stand {
  double x, y;
  int32_t horizonY;
};
constexpr Stand kStands[5] = {
    {2500, 2500, 400}, {7500, 2500, 400}, {5000, 5000, 430}, {2500, 7500, 400}, {7500, 7500, 400}};

}  // namespace

ZScene::ZScene(ZSpriteList* sprites, ZHuntingMap* huntingMap) : worldSprites(sprites), map(huntingMap) {}

void ZScene::SetArea(int32_t number) {
  area = number;
  if (number < 1 || number > 5) return;
  const Stand& stand = kStands[number - 1];
  horizonY = stand.horizonY;
  viewpoint = ZPoint(stand.x, stand.y);
  if (map != nullptr && map->hunter != nullptr) map->hunter->position = ZPoint(stand.x, stand.y);
}

void ZScene::Project(double bearing, double distance, double* scale, int32_t* x, int32_t* y) const {
  // Bearings come from atan2 and need at most one turn; anything else is folded first so the loops
  // below stay short (an infinite bearing would never leave them).
  if (!std::isfinite(bearing)) bearing = 0.0;
  if (std::fabs(bearing) > 1e6) bearing = std::fmod(bearing, kTwoPi);
  while (bearing > kTwoPi) bearing -= kTwoPi;
  while (bearing < 0.0) bearing += kTwoPi;
  int32_t px = panoramaWidth - static_cast<int32_t>(panoramaWidth * kColumnsPerRadian * bearing);
  if (px < 0) px += panoramaWidth;
  double s = kFullSizeDistance / distance;
  if (!(s <= 1.0)) s = 1.0;  // also a distance of 0 or not a number
  if (s < 0.0) s = 1.0;      // a negative distance is nothing real either
  if (scale != nullptr) *scale = s;
  if (x != nullptr) *x = px;
  if (y != nullptr) *y = horizonY + static_cast<int32_t>((groundY - horizonY) * s);
}

int32_t ZScene::SpriteIdOfType(int32_t type) { return art::ScenerySpriteOfType(type); }

void ZScene::BuildScenery(ZGraphics* graphics, ZSurface* areaSurface, ZSurface* panoramaSurface) {
  if (worldSprites == nullptr) return;
  // Birds' sprites live in the same list; they must not be deleted from under their birds.
  if (map != nullptr) map->DropSprites();
  worldSprites->DeleteAll();
  if (map != nullptr && map->hunter != nullptr) viewpoint = map->hunter->position;
  ZViewport* viewport = graphics != nullptr ? graphics->GetMainViewport() : nullptr;
  ZSpriteMap* spriteMap = areaSurface != nullptr ? areaSurface->GetSourceSpriteMap() : nullptr;
  if (map == nullptr) return;

  // An item without a picture of its own borrows the last one placed; before any, it is not drawn.
  int32_t spriteId = -1;
  for (const auto& item : map->items) {
    const double d = std::hypot(item->position.x - viewpoint.x, item->position.y - viewpoint.y);
    if (!(d < farLimit)) continue;
    placedDistance = d < nearLimit ? nearLimit : d;
    const double bearing = std::atan2(item->position.y - viewpoint.y, item->position.x - viewpoint.x);
    if (int32_t own = SpriteIdOfType(item->type); own >= 0) spriteId = own;
    if (spriteId < 0) continue;
    double scale = 1.0;
    int32_t x = 0;
    int32_t y = 0;
    Project(bearing, placedDistance, &scale, &x, &y);
    auto sprite = std::make_unique<ZScaledSprite>(0, 0, static_cast<int32_t>(d * 100), areaSurface, spriteId, spriteMap);
    int32_t w = 0;
    int32_t h = 0;
    if (const ZFrame* frame = sprite->GetCurrentFrame()) {
      w = frame->Width();
      h = frame->Height();
    }
    int32_t left = x - static_cast<int32_t>((w * scale + 1) / 2);
    if (left < 0) left += panoramaWidth;
    const int32_t top = y - static_cast<int32_t>(h * scale + 0.5);
    sprite->SetPosition(left, top);
    sprite->SetTargets(panoramaSurface, viewport);
    sprite->wrapHorizontally = 1;
    sprite->SetScale(scale);
    sprite->kind = 0;
    worldSprites->Add(sprite.release());
  }

  // Farthest first, straight onto the panorama: from now on the scenery is part of the background.
  ZSurface* scratch = graphics != nullptr ? graphics->GetScratchSurface() : nullptr;
  const auto& sprites = worldSprites->Sprites();
  for (auto it = sprites.rbegin(); it != sprites.rend(); ++it) {
    (*it)->Draw(nullptr, scratch, 0);
    (*it)->placed = 1;
  }
}
