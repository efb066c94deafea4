// The three hunting locations (panorama and scenery) and the title screen's landscape.
#pragma once

#include "tools/artgen/scenes.h"

namespace artgen::landscape {

// mapNumber 1..3 as in DrawArea; any other number paints the first location.
// Scenery sprite roles, the same in every location so one item layout suits all of them:
//   0 tall tree, 1 second big tree, 2 young tree, 3 shrub or low plant, 4 big rock,
//   5 small rock or stones, 6 stump or log, 7 grass clump, 8 small bush or low plant.
AreaArt PaintArea(int mapNumber);

// 640 x 480, opaque; the strutting gobbler stands left of centre, the right part stays quiet for the sign.
RgbaImage PaintTitle();

}  // namespace artgen::landscape
