// The hunt's item layout for map1.map: scenery around the five stands and the birds' special items.
#pragma once

#include <vector>

#include "tools/artgen/formats.h"

namespace artgen {

struct Stand {
  double x, y;
  int horizonY;
};
// The five areas' stands (area numbers 1..5), where the hunter stands and the scenery gathers.
extern const Stand kStands[5];

// Scenery types that have a sprite of their own, and the sprite each one shows.
int SpriteOfItemType(int type);

// Deterministic layout: per stand scenery within 1000 units (densest 150..900) with a clear line of
// sight toward the opening view; attracting (18) and repelling (19) items over the whole area with
// free ground left, every repeller well away from the stands.
std::vector<HuntItem> LayOutHuntItems();

}  // namespace artgen
