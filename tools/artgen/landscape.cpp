// The three hunting locations and the title landscape, composed from the landscape building blocks.
#include "tools/artgen/landscape.h"

#include <algorithm>
#include <cmath>

#include "tools/artgen/landscape_parts.h"
#include "tools/artgen/turkey.h"

namespace artgen::landscape {

using paint::Canvas;
using paint::Hex;
using paint::Mix;

namespace {

// map1: southern pine and hardwood forest (Southeast, Eastern woodlands).
AreaArt PaintForest() {
  const int horizon = 400;
  Canvas pano(kPanoramaWidth, kPanoramaHeight);
  SkyStyle sky{Hex(0x3C6CB4), Hex(0xD4E2E6), Hex(0xF6F4EC), Hex(0xA4AEBE), 0.45, 0.75};
  PaintSky(pano, horizon, sky, 101);
  RidgeStyle hills;
  hills.baseY = 398;
  hills.amplitude = 34;
  hills.cycles = 7;
  hills.top = Hex(0x7C96A0);
  hills.bottom = Hex(0x8AA0A0);
  hills.forested = 0.5;
  PaintRidge(pano, hills, 102);
  GroundStyle ground;
  ground.horizonY = horizon;
  ground.farColor = Hex(0x6E7660);
  ground.a = Hex(0x6A5232);
  ground.b = Hex(0x80643E);
  ground.c = Hex(0x56602C);
  ground.speckDark = Hex(0x34261A);
  ground.speckLight = Hex(0xA48A5A);
  ground.tufts = 0.35;
  ground.grassDark = Hex(0x3E4E1C);
  ground.grassLight = Hex(0x8A9A42);
  ground.grassCover = 0.55;
  // Fallen oak leaves and pine straw: dull browns, not autumn colour.
  ground.leaves = 1.0;
  ground.leafA = Hex(0x5E4428);
  ground.leafB = Hex(0x8A6A40);
  PaintGround(pano, ground, 103);
  // Pine and hardwood forest in three rows, each nearer one larger, darker and clearer.
  TreeLineStyle far{.baseY = 401, .minH = 12, .maxH = 24, .count = 900, .pine = 0.5, .broadleaf = 0.5,
      .dark = Hex(0x5A7268), .light = Hex(0x8AA098), .haze = sky.horizon, .hazeAmount = 0.5};
  TreeLineStyle mid{.baseY = 407, .minH = 24, .maxH = 46, .count = 600, .pine = 0.55, .broadleaf = 0.45,
      .dark = Hex(0x34482E), .light = Hex(0x6A8656), .haze = sky.horizon, .hazeAmount = 0.25};
  TreeLineStyle near{.baseY = 418, .minH = 40, .maxH = 95, .count = 250, .pine = 0.5, .broadleaf = 0.5,
      .dark = Hex(0x18261A), .light = Hex(0x4A6628), .trunk = Hex(0x5A4232), .haze = sky.horizon,
      .hazeAmount = 0.05, .gapChance = 0.2, .undergrowth = 1.2};
  PaintTreeLine(pano, far, 104);
  PaintTreeLine(pano, mid, 106);
  PaintTreeLine(pano, near, 105);

  AreaArt art;
  art.panorama = pano.ToImage(false);
  const Rgb pineBarkL = Hex(0x9A6A48), pineBarkD = Hex(0x4A2E20);
  const Rgb oakBarkL = Hex(0x7E7466), oakBarkD = Hex(0x3A342C);
  TreeStyle longleaf;
  longleaf.height = 770;
  longleaf.trunkWidth = 34;
  longleaf.crownStart = 0.62;
  longleaf.crownWidth = 300;
  longleaf.clumps = 11;
  longleaf.barkLight = pineBarkL;
  longleaf.barkDark = pineBarkD;
  longleaf.leafDark = Hex(0x1E3418);
  longleaf.leafMid = Hex(0x3E6226);
  longleaf.leafLight = Hex(0x7C9A42);
  longleaf.plated = true;
  TreeStyle liveOak;
  liveOak.height = 600;
  liveOak.trunkWidth = 60;
  liveOak.crownStart = 0.45;
  liveOak.crownWidth = 500;
  liveOak.clumps = 18;
  liveOak.clumpSize = 0.7;
  liveOak.conifer = false;
  liveOak.twisted = true;
  liveOak.moss = true;
  liveOak.barkLight = oakBarkL;
  liveOak.barkDark = oakBarkD;
  liveOak.leafDark = Hex(0x1C2E16);
  liveOak.leafMid = Hex(0x3A5626);
  liveOak.leafLight = Hex(0x6E8A3C);
  TreeStyle loblolly = longleaf;
  loblolly.height = 470;
  loblolly.trunkWidth = 20;
  loblolly.crownStart = 0.5;
  loblolly.crownWidth = 230;
  loblolly.clumps = 10;
  loblolly.leafMid = Hex(0x466A2A);
  // Weathered grey sandstone of the coastal plain, mossy at the foot under the pines.
  RockStyle rock{.width = 220, .height = 120, .light = Hex(0xB4AE9E), .mid = Hex(0x8A8476),
      .dark = Hex(0x3E3A30), .band = Hex(0x9C907A), .strata = 0.25, .speckle = 0.35, .lichen = true,
      .grass = Hex(0x56602C), .facets = 0.55, .sunHeight = 0.6, .moss = true};
  RockStyle stones = rock;
  stones.width = 110;
  stones.height = 56;
  stones.pieces = 3;
  stones.lichen = false;
  GrassStyle grass{110, 80, 70, Hex(0x3C4C1A), Hex(0x9AA44C), Hex(0xC0A870), true};
  ShrubStyle bush{200, 130, 50, 8, Hex(0x1E3216), Hex(0x3E5E24), Hex(0x86A046), Hex(0x4A3A28), false};
  art.scenery.push_back({PaintGrass(grass, 118)});
  art.scenery.push_back({PaintPalmetto(280, 170, Hex(0x2A4A22), Hex(0x7EA04A), 114)});
  art.scenery.push_back({PaintShrub(bush, 119)});
  art.scenery.push_back({PaintTree(loblolly, 113)});
  art.scenery.push_back({PaintRock(rock, 115)});
  art.scenery.push_back({PaintTree(longleaf, 111)});
  art.scenery.push_back({PaintTree(liveOak, 112)});
  art.scenery.push_back({PaintStump(70, 110, oakBarkL, oakBarkD, Hex(0xB8946A), 117)});
  art.scenery.push_back({PaintRock(stones, 116)});
  return art;
}

// map2: Colorado ponderosa pine and mountains.
AreaArt PaintMountains() {
  const int horizon = 430;
  Canvas pano(kPanoramaWidth, kPanoramaHeight);
  SkyStyle sky{Hex(0x2A5AA8), Hex(0xC4D8EC), Hex(0xFAFAFA), Hex(0x98A6BC), 0.5, 0.55};
  PaintSky(pano, horizon, sky, 201);
  RidgeStyle peaks;
  peaks.baseY = 410;
  peaks.amplitude = 240;
  peaks.cycles = 5;
  peaks.octaves = 6;
  peaks.sharpness = 1.7;
  peaks.top = Hex(0x7E8CA6);
  peaks.bottom = Hex(0x6E7C8E);
  peaks.rocky = true;
  peaks.rockLight = Hex(0x9AA4BA);
  peaks.rockDark = Hex(0x4E5A72);
  peaks.snowLine = 285;
  RidgeStyle range = peaks;
  range.baseY = 408;
  range.amplitude = 170;
  range.cycles = 9;
  range.top = Hex(0x98A4BC);
  range.bottom = Hex(0x8E9AB0);
  range.rockLight = Hex(0xB0B8CC);
  range.rockDark = Hex(0x7A869E);
  range.snowLine = 300;
  range.snowShade = Hex(0x9CA8C4);
  PaintRidge(pano, range, 207);
  PaintRidge(pano, peaks, 202);
  RidgeStyle foothills;
  foothills.baseY = 428;
  foothills.amplitude = 80;
  foothills.cycles = 8;
  foothills.sharpness = 1.2;
  foothills.top = Hex(0x3E5446);
  foothills.bottom = Hex(0x34463A);
  foothills.forested = 0.8;
  PaintRidge(pano, foothills, 203);
  GroundStyle ground;
  ground.horizonY = horizon;
  ground.farColor = Hex(0x7A8068);
  ground.a = Hex(0x7E7642);
  ground.b = Hex(0x928448);
  ground.c = Hex(0x5C6A32);
  ground.speckDark = Hex(0x3E3A22);
  ground.speckLight = Hex(0xB8A868);
  ground.tufts = 1.3;
  ground.grassDark = Hex(0x4E5A26);
  ground.grassLight = Hex(0xB8AE5E);
  ground.grassCover = 0.65;
  ground.pebbles = 0.5;
  ground.pebble = Hex(0x9A968E);
  PaintGround(pano, ground, 204);
  // Spruce, fir and ponderosa under the peaks, in rows that grow clearer toward the meadow.
  TreeLineStyle far{.baseY = 430, .minH = 14, .maxH = 28, .count = 1100, .pine = 0.05, .broadleaf = 0,
      .spire = 0.95, .dark = Hex(0x34463E), .light = Hex(0x5C7062), .haze = sky.horizon, .hazeAmount = 0.4};
  TreeLineStyle mid{.baseY = 436, .minH = 26, .maxH = 50, .count = 650, .pine = 0.08, .broadleaf = 0,
      .spire = 0.92, .dark = Hex(0x1E2E24), .light = Hex(0x465C40), .haze = sky.horizon, .hazeAmount = 0.16,
      .gapChance = 0.15};
  TreeLineStyle near{.baseY = 442, .minH = 40, .maxH = 70, .count = 330, .pine = 0.1, .broadleaf = 0,
      .spire = 0.9, .dark = Hex(0x162418), .light = Hex(0x3E5634), .trunk = Hex(0x5A3A28), .haze = sky.horizon,
      .hazeAmount = 0.04, .gapChance = 0.3, .undergrowth = 0.5};
  PaintTreeLine(pano, far, 207);
  PaintTreeLine(pano, mid, 205);
  PaintTreeLine(pano, near, 206);

  AreaArt art;
  art.panorama = pano.ToImage(false);
  const Rgb barkL = Hex(0xB8743E), barkD = Hex(0x5A3020);
  TreeStyle ponderosa;
  ponderosa.height = 780;
  ponderosa.trunkWidth = 42;
  ponderosa.crownStart = 0.58;
  ponderosa.crownWidth = 340;
  ponderosa.clumps = 13;
  ponderosa.barkLight = barkL;
  ponderosa.barkDark = barkD;
  ponderosa.leafDark = Hex(0x1A2C1A);
  ponderosa.leafMid = Hex(0x385A2E);
  ponderosa.leafLight = Hex(0x7A9A52);
  ponderosa.plated = true;
  TreeStyle old = ponderosa;
  old.height = 640;
  old.trunkWidth = 50;
  old.crownStart = 0.5;
  old.crownWidth = 400;
  old.clumps = 12;
  old.lean = 0.04;
  TreeStyle young = ponderosa;
  young.height = 400;
  young.trunkWidth = 18;
  young.crownStart = 0.78;
  young.crownWidth = 200;
  young.clumps = 9;
  ShrubStyle scrubOak{300, 200, 70, 9, Hex(0x2A3A16), Hex(0x566A28), Hex(0x9AA648), Hex(0x4A3C2C), false};
  // Pinkish-grey granite, rounded and split into broad faces, lichen on its top.
  RockStyle granite{.width = 320, .height = 190, .light = Hex(0xD8D0C6), .mid = Hex(0xA49C94),
      .dark = Hex(0x4E4A4A), .speckle = 0.8, .lichen = true, .grass = Hex(0x7A7640), .facets = 0.8,
      .sunHeight = 0.7};
  RockStyle small = granite;
  small.width = 130;
  small.height = 60;
  small.pieces = 3;
  small.lichen = false;
  GrassStyle grass{120, 90, 80, Hex(0x5A6428), Hex(0xC8BA6A), Hex(0xD8C890), true};
  ShrubStyle sage{170, 110, 40, 6, Hex(0x4A5648), Hex(0x7A8A72), Hex(0xB4C0A4), Hex(0x5A4C3C), true};
  art.scenery.push_back({PaintGrass(grass, 218)});
  art.scenery.push_back({PaintShrub(sage, 219)});
  art.scenery.push_back({PaintShrub(scrubOak, 214)});
  art.scenery.push_back({PaintTree(young, 213)});
  art.scenery.push_back({PaintRock(granite, 215)});
  art.scenery.push_back({PaintTree(ponderosa, 211)});
  art.scenery.push_back({PaintTree(old, 212)});
  art.scenery.push_back({PaintStump(80, 130, Hex(0x9A6A44), Hex(0x4A2E22), Hex(0xC8A070), 217)});
  art.scenery.push_back({PaintRock(small, 216)});
  return art;
}

// map3: Mexico and the Southwest: oak-pine sierra, mesquite, red rock and arid hills.
AreaArt PaintSierra() {
  const int horizon = 400;
  Canvas pano(kPanoramaWidth, kPanoramaHeight);
  SkyStyle sky{Hex(0x4678C0), Hex(0xE6E4D6), Hex(0xFAF6EC), Hex(0xB8B4B4), 0.3, 0.5};
  PaintSky(pano, horizon, sky, 301);
  // The sierra far off: long ridges with pine and oak up their flanks, blue-grey with distance.
  TerrainStyle sierra{.horizonY = horizon, .eyeHeight = 0.2, .exaggeration = 7, .nearDistance = 14,
      .farDistance = 110, .peak = 2.3, .rolling = 0.1, .rangeSpacing = 45, .rangeShare = 0.2, .clearRadius = 26,
      .ridgeSpacing = 12, .octaves = 6, .roughness = 0.4, .forestLine = 1.3, .sunHeight = 0.7,
      .rockLight = Hex(0xA49886), .rockDark = Hex(0x4E4E5A), .forestDark = Hex(0x3A4436),
      .forestLight = Hex(0x6E7452), .haze = Hex(0xC8D0DA), .hazeDistance = 55, .hazeStrength = 0.85};
  PaintTerrain(pano, sierra, 302);
  // Nearer, red mesas and buttes: flat caprock benches, cliffs banded by their beds, juniper dots.
  TerrainStyle mesas{.horizonY = horizon, .eyeHeight = 0.12, .exaggeration = 8, .nearDistance = 6,
      .farDistance = 40, .peak = 0.6, .rolling = 0.05, .rangeSpacing = 16, .rangeShare = 0.45,
      .clearRadius = 11, .ridgeSpacing = 7, .octaves = 5, .terraces = 4, .beds = 7, .forestLine = 0.16,
      .sunHeight = 0.8, .rockLight = Hex(0xDC9460), .rockDark = Hex(0x6E3422), .forestDark = Hex(0x4A4A2C),
      .forestLight = Hex(0x7E7A48), .haze = Hex(0xD6CEC4), .hazeDistance = 45, .hazeStrength = 0.7};
  PaintTerrain(pano, mesas, 303);
  GroundStyle ground;
  ground.horizonY = horizon;
  ground.farColor = Hex(0xB09A78);
  ground.a = Hex(0xA8865A);
  ground.b = Hex(0xBC9A68);
  ground.c = Hex(0x8C7040);
  ground.speckDark = Hex(0x6A4A30);
  ground.speckLight = Hex(0xD8BC8A);
  ground.tufts = 0.8;
  ground.grassDark = Hex(0x7A6A34);
  ground.grassLight = Hex(0xC8B066);
  ground.grassCover = 0.35;
  ground.pebbles = 0.7;
  ground.pebble = Hex(0xA8684A);
  PaintGround(pano, ground, 304);
  // Juniper, mesquite and oak brush: low, round and scattered, thinning into open country.
  TreeLineStyle far{.baseY = 402, .minH = 8, .maxH = 16, .count = 500, .broadleaf = 0.2, .scrub = 0.8,
      .dark = Hex(0x5E6448), .light = Hex(0x8A8A62), .haze = sky.horizon, .hazeAmount = 0.4, .gapChance = 0.35};
  TreeLineStyle near{.baseY = 409, .minH = 16, .maxH = 34, .count = 260, .pine = 0.1, .broadleaf = 0.15,
      .scrub = 0.75, .dark = Hex(0x3A4626), .light = Hex(0x7A7C46), .trunk = Hex(0x5A4A3A), .haze = sky.horizon,
      .hazeAmount = 0.12, .gapChance = 0.45, .undergrowth = 0.6};
  PaintTreeLine(pano, far, 306);
  PaintTreeLine(pano, near, 305);

  AreaArt art;
  art.panorama = pano.ToImage(false);
  TreeStyle pine;
  pine.height = 700;
  pine.trunkWidth = 32;
  pine.crownStart = 0.55;
  pine.crownWidth = 320;
  pine.clumps = 12;
  pine.barkLight = Hex(0x8A6A50);
  pine.barkDark = Hex(0x3E2E24);
  pine.leafDark = Hex(0x22341E);
  pine.leafMid = Hex(0x4A6232);
  pine.leafLight = Hex(0x8C9C56);
  pine.plated = true;
  TreeStyle oak;
  oak.height = 480;
  oak.trunkWidth = 44;
  oak.crownStart = 0.55;
  oak.crownWidth = 520;
  oak.clumps = 16;
  oak.clumpSize = 0.72;
  oak.conifer = false;
  oak.twisted = true;
  oak.barkLight = Hex(0x8A8070);
  oak.barkDark = Hex(0x3E362C);
  oak.leafDark = Hex(0x28361C);
  oak.leafMid = Hex(0x4E6030);
  oak.leafLight = Hex(0x8C9856);
  TreeStyle mesquite = oak;
  mesquite.height = 340;
  mesquite.trunkWidth = 22;
  mesquite.crownStart = 0.5;
  mesquite.crownWidth = 380;
  mesquite.clumps = 16;
  mesquite.clumpSize = 0.5;
  mesquite.crownStart = 0.42;
  mesquite.barkLight = Hex(0x6A5444);
  mesquite.barkDark = Hex(0x2E2420);
  mesquite.leafDark = Hex(0x3A4A22);
  mesquite.leafMid = Hex(0x6A7A3A);
  mesquite.leafLight = Hex(0xA8B06A);
  // Red sandstone weathered into ledges, pale and dark beds, varnish running down from the top.
  RockStyle redRock{.width = 300, .height = 210, .light = Hex(0xE8AE7C), .mid = Hex(0xB8643C),
      .dark = Hex(0x5A2E1C), .band = Hex(0xD49A6A), .strata = 1.0, .speckle = 0.3, .grass = Hex(0x8A7A40),
      .facets = 0.2, .sunHeight = 0.8};
  RockStyle stones = redRock;
  stones.width = 120;
  stones.height = 62;
  stones.pieces = 3;
  stones.strata = 0.5;
  GrassStyle grass{110, 70, 60, Hex(0x8A7838), Hex(0xD8C480), Hex(0xE0D0A0), true};
  ShrubStyle creosote{180, 120, 40, 6, Hex(0x3A4A24), Hex(0x667A3A), Hex(0xA4B462), Hex(0x5A4A3A), true};
  art.scenery.push_back({PaintGrass(grass, 318)});
  art.scenery.push_back({PaintPricklyPear(200, 170, Hex(0x3E5A2A), Hex(0x8EAA5A), 314)});
  art.scenery.push_back({PaintShrub(creosote, 319)});
  art.scenery.push_back({PaintTree(mesquite, 313)});
  art.scenery.push_back({PaintRock(redRock, 315)});
  art.scenery.push_back({PaintTree(pine, 311)});
  art.scenery.push_back({PaintTree(oak, 312)});
  art.scenery.push_back({PaintYucca(150, 230, Hex(0x3E5230), Hex(0x9AAE6A), 316)});
  art.scenery.push_back({PaintRock(stones, 317)});
  return art;
}

}  // namespace

AreaArt PaintArea(int mapNumber) {
  switch (mapNumber) {
    case 2:
      return PaintMountains();
    case 3:
      return PaintSierra();
    default:
      return PaintForest();
  }
}

RgbaImage PaintTitle() {
  const int w = 640, h = 480, horizon = 300;
  Canvas canvas(w, h);
  // A spring dawn over a forest clearing: warm sky, blue ridges, a meadow.
  SkyStyle sky{Hex(0x4A6AA8), Hex(0xF0C890), Hex(0xFFF0D8), Hex(0xC89890), 0.4, 0.6};
  PaintSky(canvas, horizon, sky, 401);
  RidgeStyle ridge;
  ridge.baseY = 296;
  ridge.amplitude = 60;
  ridge.cycles = 12;
  ridge.top = Hex(0x7A7C9A);
  ridge.bottom = Hex(0x8A8AA0);
  PaintRidge(canvas, ridge, 402);
  GroundStyle ground;
  ground.horizonY = horizon;
  ground.farColor = Hex(0x7A8060);
  ground.a = Hex(0x6A7434);
  ground.b = Hex(0x7E8440);
  ground.c = Hex(0x5A6A2C);
  ground.speckDark = Hex(0x3A4420);
  ground.speckLight = Hex(0xB0B060);
  ground.tufts = 0.5;
  ground.grassDark = Hex(0x3E4E1C);
  ground.grassLight = Hex(0xA8B04C);
  PaintGround(canvas, ground, 403);
  TreeLineStyle trees{.baseY = 306, .minH = 24, .maxH = 70, .count = 120, .pine = 0.6, .broadleaf = 0.4,
      .dark = Hex(0x2A3C26), .light = Hex(0x5E7448), .haze = sky.horizon, .hazeAmount = 0.05};
  PaintTreeLine(canvas, trees, 404);
  RgbaImage out = canvas.ToImage(false);
  // Framing trees on the far left and right edges.
  TreeStyle pine;
  pine.height = 470;
  pine.trunkWidth = 30;
  pine.crownStart = 0.55;
  pine.crownWidth = 240;
  pine.clumps = 10;
  pine.barkLight = Hex(0x9A6A48);
  pine.barkDark = Hex(0x4A2E20);
  pine.leafDark = Hex(0x1E3418);
  pine.leafMid = Hex(0x3E6226);
  pine.leafLight = Hex(0x7C9A42);
  pine.plated = true;
  auto stamp = [&out](const RgbaImage& img, int left, int bottom) {
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x) {
        int ox = left + x, oy = bottom - img.height + y;
        if (ox < 0 || ox >= out.width || oy < 0 || oy >= out.height) continue;
        if ((img.At(x, y) >> 24) >= 128) out.At(ox, oy) = img.At(x, y) | 0xFF000000u;
      }
  };
  RgbaImage left = PaintTree(pine, 405);
  stamp(left, -left.width / 2 + 10, 470);
  pine.height = 360;
  pine.crownWidth = 200;
  RgbaImage right = PaintTree(pine, 406);
  stamp(right, 640 - right.width / 2 + 8, 330);
  GrassStyle grass{140, 60, 70, Hex(0x3C4C1A), Hex(0x9AA44C), Hex(0xC0A870), true};
  stamp(PaintGrass(grass, 407), 30, 470);
  stamp(PaintGrass(grass, 408), 210, 478);
  // The strutting gobbler, fan spread, turned toward the viewer and facing the sign.
  RgbaImage bird = turkey::PaintStrutter(turkey::LookForSubspecies(3), 1.0, 0.12, 270, 290);
  stamp(bird, 160 - bird.width / 2, 455);
  stamp(PaintGrass(grass, 409), 90, 480);
  return out;
}

}  // namespace artgen::landscape
