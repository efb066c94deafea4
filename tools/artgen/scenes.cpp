// Placeholder painters (flat shapes) so the writers can be built first; the real painters replace this.
#include "tools/artgen/scenes.h"

namespace artgen {

AreaArt DrawArea(int mapNumber) {
  AreaArt art;
  art.panorama = RgbaImage(2560, 800, 0xFF000000u | (0x40u * mapNumber) << 8);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 2560; ++x) art.panorama.At(x, y) = 0xFF6090D0u;
  for (int s = 0; s < 9; ++s) art.scenery.push_back({RgbaImage(40 + s * 10, 80 + s * 10, 0xFF305020u)});
  return art;
}

std::vector<SpriteFrames> DrawGobblerSprites() {
  std::vector<SpriteFrames> sprites;
  for (int s = 0; s < 6; ++s) sprites.push_back({RgbaImage(120, 100, 0xFF503010u), RgbaImage(120, 100, 0xFF604020u)});
  return sprites;
}

RgbaImage DrawTitleLandscape() { return RgbaImage(640, 480, 0xFF406030u); }

RgbaImage DrawTrophyPicture(int, int width, int height) { return RgbaImage(width, height, 0xFF503010u); }

}  // namespace artgen
