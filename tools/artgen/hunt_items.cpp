// Places the scenery and the birds' attracting and repelling items of the five hunting areas.
#include "tools/artgen/hunt_items.h"

#include <cmath>

#include "game/art_files.h"
#include "tools/artgen/draw.h"

namespace artgen {

const Stand kStands[5] = {{2500, 2500, 400}, {7500, 2500, 400}, {5000, 5000, 430}, {2500, 7500, 400}, {7500, 7500, 400}};

int SpriteOfItemType(int type) { return art::ScenerySpriteOfType(type); }

std::vector<HuntItem> LayOutHuntItems() {
  std::vector<HuntItem> items;
  Rng rng(1996);
  // Scenery types with sprites of their own; small shrubs and grass (5, 6, 8) are the most common.
  const int types[] = {5, 6, 8, 5, 6, 8, 9, 10, 0, 1, 2, 3, 9, 10};
  constexpr double kPi = 3.14159265358979323846;
  for (const Stand& s : kStands) {
    constexpr int kScenery = 64;
    for (int i = 0; i < kScenery; ++i) {
      double d;
      const int band = rng.Int(0, 19);
      if (band == 0) d = rng.Uniform(105, 150);        // a few close at hand
      else if (band == 19) d = rng.Uniform(900, 990);  // a few at the edge of sight
      else d = rng.Uniform(150, 900);
      // Spread evenly around, jittered, so the whole panorama has something in it.
      double bearing = (i + rng.Uniform(0.1, 0.9)) * 2 * kPi / kScenery;
      // The opening view looks toward +y (bearing pi/2): keep its middle clear of near, large things.
      if (std::fabs(bearing - kPi / 2) < 0.22 && d < 400) d += 400;
      items.push_back({types[rng.Int(0, static_cast<int>(std::size(types)) - 1)],
                       static_cast<float>(s.x + d * std::cos(bearing)),
                       static_cast<float>(s.y + d * std::sin(bearing))});
    }
  }
  // Attracting items: some in each stand's wider neighbourhood (so birds come within sight) and some
  // spread over the area.
  for (const Stand& s : kStands)
    for (int i = 0; i < 3; ++i) {
      const double a = rng.Uniform(0, 2 * kPi), d = rng.Uniform(500, 1400);
      items.push_back({18, static_cast<float>(s.x + d * std::cos(a)), static_cast<float>(s.y + d * std::sin(a))});
    }
  for (int i = 0; i < 12; ++i)
    items.push_back({18, static_cast<float>(rng.Uniform(300, 9700)), static_cast<float>(rng.Uniform(300, 9700))});
  // Repelling items: a few, each at least 1800 units from every stand and from each other, which
  // leaves most of the area more than 1000 units from all of them.
  int placed = 0;
  std::vector<HuntItem> repellers;
  for (int attempt = 0; attempt < 2000 && placed < 8; ++attempt) {
    const double x = rng.Uniform(400, 9600), y = rng.Uniform(400, 9600);
    bool ok = true;
    for (const Stand& s : kStands) ok = ok && std::hypot(x - s.x, y - s.y) >= 1800;
    for (const HuntItem& r : repellers) ok = ok && std::hypot(x - r.x, y - r.y) >= 2200;
    if (!ok) continue;
    repellers.push_back({19, static_cast<float>(x), static_cast<float>(y)});
    ++placed;
  }
  items.insert(items.end(), repellers.begin(), repellers.end());
  return items;
}

}  // namespace artgen
