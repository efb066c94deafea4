// ZScene: the hunter's view of the area: the stand, the panorama projection and the scenery painted into it.
#pragma once

#include <cstdint>

#include "framework/core/point.h"
#include "framework/world/map.h"

class ZSpriteList;
class ZHuntingMap;
class ZGraphics;
class ZSurface;

class ZScene : public ZMap {
  Z_DECLARE_CLASS(ZScene)

 public:
  ZScene(ZSpriteList* sprites, ZHuntingMap* huntingMap);

  // Stores the area number; areas 1 to 5 also set the horizon and put the hunter and the viewpoint
  // at the area's stand.
  void SetArea(int32_t number);
  // Makes a scaled sprite of every scenery item within farLimit of the stand, sorts it into the world
  // list and paints it once into the panorama (farthest first).
  void BuildScenery(ZGraphics* graphics, ZSurface* areaSurface, ZSurface* panoramaSurface);
  // Where a thing at `bearing` (radians) and `distance` (units) stands in the panorama: its foot
  // column and row, and its scale (1.0 within 110 units).
  void Project(double bearing, double distance, double* scale, int32_t* x, int32_t* y) const;
  // The sprite id of a scenery item type, or -1 for a type that borrows the previous item's picture.
  static int32_t SpriteIdOfType(int32_t type);

  ZSpriteList* worldSprites = nullptr;
  ZHuntingMap* map = nullptr;
  ZPoint viewpoint{1280.0, 400.0};
  int32_t panoramaWidth = 2560;
  int32_t horizonY = 310;
  int32_t area = 0;
  double nearLimit = 100.0;
  double farLimit = 1000.0;
  double placedDistance = 0.0;
  int32_t groundY = 780;
};
