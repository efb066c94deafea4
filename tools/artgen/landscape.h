// The three hunting locations (panorama and scenery) and the title screen's landscape.
#pragma once

#include "tools/artgen/scenes.h"

namespace artgen::landscape {

// mapNumber 1..3 as in DrawArea; any other number paints the first location.
// Scenery sprite roles, the same in every location so one item layout suits all of them (the layout
// uses sprites 0..4 twice as often as 5..8):
//   0 grass clump, 1 low plant, 2 shrub, 3 young tree, 4 big rock,
//   5 tall tree, 6 second big tree, 7 stump (yucca in the desert), 8 small stones.
AreaArt PaintArea(int mapNumber);

// 640 x 480, opaque; the strutting gobbler stands left of centre, the right part stays quiet for the sign.
RgbaImage PaintTitle();

}  // namespace artgen::landscape
