// The painted scenes of the game: locations, scenery, the birds and the title landscape (RGBA).
#pragma once

#include <cstddef>
#include <vector>

#include "tools/artgen/art_types.h"

namespace artgen {

// One location's art. mapNumber: 1 southern pine and hardwood forest (map1.dll), 2 Colorado
// ponderosa pine and mountains (map2.dll), 3 Mexico and the Southwest oak-pine sierra, mesquite and
// arid hills (map3.dll).
struct AreaArt {
  RgbaImage panorama;                 // 2560 wide, wraps seamlessly; opaque
  std::vector<SpriteFrames> scenery;  // sprites 0..8; transparent around the shapes
};
AreaArt DrawArea(int mapNumber);

// The gobbler: sprites 0..5 (falling, standing/idle profile, fleeing, walking profile, going away,
// coming toward), each several frames up to 300 x 300, feet on the bottom row, transparent around.
std::vector<SpriteFrames> DrawGobblerSprites();

// The title screen's picture without its sign: a landscape with a turkey in the foreground, 640 x 480.
RgbaImage DrawTitleLandscape();

// A trophy picture of a bagged gobbler of hunt `subspecies` (0..4, the hunts' order), width x height,
// transparent around the bird.
RgbaImage DrawTrophyPicture(int subspecies, int width, int height);

}  // namespace artgen
