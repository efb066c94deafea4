// The painted scenes: entry points that hand the locations, the birds, the title and the trophies to the writers.
#include "tools/artgen/scenes.h"

#include "tools/artgen/turkey.h"

namespace artgen {

AreaArt DrawArea(int mapNumber) {
  AreaArt art;
  art.panorama = RgbaImage(2560, 800, 0xFF000000u | (0x40u * mapNumber) << 8);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 2560; ++x) art.panorama.At(x, y) = 0xFF6090D0u;
  for (int s = 0; s < 9; ++s) art.scenery.push_back({RgbaImage(40 + s * 10, 80 + s * 10, 0xFF305020u)});
  return art;
}

std::vector<SpriteFrames> DrawGobblerSprites() { return turkey::PaintGobblerSprites(); }

RgbaImage DrawTitleLandscape() { return RgbaImage(640, 480, 0xFF406030u); }

RgbaImage DrawTrophyPicture(int subspecies, int width, int height) {
  RgbaImage out(width, height);
  if (width <= 0 || height <= 0) return out;
  RgbaImage bird = turkey::PaintStrutter(turkey::LookForSubspecies(subspecies), 0.75, 0.2, width, height);
  // Centred, standing on the bottom row.
  int ox = (width - bird.width) / 2, oy = height - bird.height;
  for (int y = 0; y < bird.height; ++y)
    for (int x = 0; x < bird.width; ++x)
      if (ox + x >= 0 && ox + x < width && oy + y >= 0) out.At(ox + x, oy + y) = bird.At(x, y);
  return out;
}

}  // namespace artgen
