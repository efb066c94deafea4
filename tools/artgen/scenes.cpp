// The painted scenes: entry points that hand the locations, the birds, the title and the trophies to the writers.
#include "tools/artgen/scenes.h"

#include "tools/artgen/landscape.h"
#include "tools/artgen/turkey.h"

namespace artgen {

AreaArt DrawArea(int mapNumber) { return landscape::PaintArea(mapNumber); }

std::vector<SpriteFrames> DrawGobblerSprites() { return turkey::PaintGobblerSprites(); }

RgbaImage DrawTitleLandscape() { return landscape::PaintTitle(); }

RgbaImage DrawTrophyPicture(int subspecies, int width, int height) {
  RgbaImage out(width, height);
  // Too small to hold a recognisable bird: leave it transparent.
  if (width < 4 || height < 4) return out;
  RgbaImage bird = turkey::PaintStrutter(turkey::LookForSubspecies(subspecies), 1.3, 0.15, width, height);
  // Centred, standing on the bottom row.
  int ox = (width - bird.width) / 2, oy = height - bird.height;
  for (int y = 0; y < bird.height; ++y)
    for (int x = 0; x < bird.width; ++x)
      if (ox + x >= 0 && ox + x < width && oy + y >= 0) out.At(ox + x, oy + y) = bird.At(x, y);
  return out;
}

}  // namespace artgen
