// The gobbler's animations, and single strutting birds for the title and the trophy pictures.
#pragma once

#include <vector>

#include "tools/artgen/art_types.h"
#include "tools/artgen/turkey_model.h"

namespace artgen::turkey {

// Sprites 0..5 of the bird sprite map: falling, standing/idle profile, fleeing, walking profile,
// going away, coming toward. All frames of one sprite share one size, the bird's feet on the bottom row.
std::vector<SpriteFrames> PaintGobblerSprites();

// A strutting gobbler, fan spread, seen at `yaw` (0 profile facing right, positive turned toward the
// viewer), scaled to fit maxWidth x maxHeight and cropped to the bird; transparent around.
RgbaImage PaintStrutter(const Look& look, double yaw, double pitch, int maxWidth, int maxHeight);

}  // namespace artgen::turkey
