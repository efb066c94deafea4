// Building blocks of the location art: skies, ridges, ground, and the scenery sprites (trees, rocks...).
#pragma once

#include "tools/artgen/art_types.h"
#include "tools/artgen/painter_canvas.h"

namespace artgen::landscape {

using paint::Rgb;

constexpr int kPanoramaWidth = 2560;
constexpr int kPanoramaHeight = 800;
constexpr int kGroundRow = 780;  // where things at full size stand

// --- panorama layers (all wrap seamlessly around x) ---
struct SkyStyle {
  Rgb top, horizon, cloudLight, cloudShade;
  double cloudiness = 0.5;  // 0 clear .. 1 overcast
  double cloudHeight = 0.7; // fraction of the sky (from the horizon up) clouds reach down to
};
void PaintSky(paint::Canvas& canvas, int horizonY, const SkyStyle& style, uint32_t seed);

// A silhouette of land: heights from periodic noise around `baseY`, filled down to the bottom.
struct RidgeStyle {
  int baseY = 400;
  double amplitude = 60;
  int cycles = 6;        // large-scale bumps around the full circle
  int octaves = 5;
  double sharpness = 1;  // >1 gives peaks
  Rgb top, bottom;       // fill colours at the crest and below
  double snowLine = -1;  // rows above this get snow (-1: none)
  Rgb snow{0.93, 0.95, 0.98}, snowShade{0.62, 0.68, 0.8};
  Rgb rockLight{}, rockDark{};
  bool rocky = false;    // streaked rock faces lit from the left
  double strata = 0;     // horizontal bands (red rock)
  double forested = 0;   // stipple of tree crowns over the slopes
};
void PaintRidge(paint::Canvas& canvas, const RidgeStyle& style, uint32_t seed);

// Land beyond the tree line, as a height field seen from the stand: mountain ranges, mesas, hills.
// Distances and heights in km; heights are drawn `exaggeration` times as high, as a painter would.
struct TerrainStyle {
  int horizonY = 400;
  double eyeHeight = 0.1, exaggeration = 4;
  double nearDistance = 4, farDistance = 70;
  double peak = 2.0;          // height of the highest ridges
  double rolling = 0.1;       // gentle swell of the low land
  double rangeSpacing = 30;   // how far apart the massifs lie
  double rangeShare = 0.35;   // 0 mountains everywhere .. 1 hardly any
  double clearRadius = 15;    // open country round the stand before the ranges rise
  double ridgeSpacing = 9;    // size of the main ridges
  int octaves = 7;
  double roughness = 0.5;     // strength of each finer octave against the one before
  double terraces = 0;        // >0: flat benches and cliffs (mesas), this many steps up to the peak
  double beds = 0;            // >0: coloured beds in the rock faces, this many up to the peak
  double forestLine = -1;     // forest below this height (on slopes that can hold it)
  double snowLine = -1;       // snow above this height
  double sunHeight = 0.7;     // the sun comes from the viewer's left, as on the scenery; this high
  Rgb rockLight{}, rockDark{}, forestDark{}, forestLight{};
  Rgb snow{0.94, 0.95, 0.98}, snowShade{0.6, 0.66, 0.8};
  Rgb haze{};                 // the air's colour toward the horizon
  double hazeDistance = 40, hazeStrength = 0.85;
};
void PaintTerrain(paint::Canvas& canvas, const TerrainStyle& style, uint32_t seed);
double TerrainHeight(const TerrainStyle& style, double x, double y, uint32_t seed);

// A row of trees along the horizon, wrapping round the picture. Rows are painted far to near; a far
// row is small, hazy and blue, a near one shows its trees' shapes and their light from the left.
enum class TreeKind { Pine, Broadleaf, Spire, Scrub };
struct TreeLineStyle {
  int baseY = 410;
  double minH = 20, maxH = 60;
  int count = 400;
  // Shares of the kinds of tree: southern pine (tall bole, tufted crown), broadleaf (round crown),
  // spire (spruce and fir), scrub (juniper, mesquite, oak brush: low and wide).
  double pine = 0, broadleaf = 1, spire = 0, scrub = 0;
  Rgb dark{}, light{};    // foliage in shade and in sun
  Rgb trunk{0.3, 0.22, 0.16};
  Rgb haze{};             // the air's colour toward the horizon
  double hazeAmount = 0;  // 0 near and clear .. 1 lost in the haze
  double gapChance = 0;   // chance of leaving a stretch open
  double undergrowth = 1; // low growth along the foot
};
void PaintTreeLine(paint::Canvas& canvas, const TreeLineStyle& style, uint32_t seed);

// Ground from the horizon down: colours blended by noise, finer toward the horizon.
struct GroundStyle {
  int horizonY = 400;
  Rgb farColor;           // the ground's colour in the haze at the horizon
  Rgb a, b;               // bare soil, two tones
  Rgb c;                  // the body colour of the grass
  Rgb speckDark, speckLight;  // clods' shade and light on the soil
  double grassCover = 0.5;    // share of the ground under grass
  double tufts = 1.0;     // density of grass tufts
  Rgb grassDark, grassLight;  // grass in shade, blade tips in sun
  double leaves = 0;      // density of fallen leaves
  Rgb leafA, leafB;
  double pebbles = 0;
  Rgb pebble;
};
void PaintGround(paint::Canvas& canvas, const GroundStyle& style, uint32_t seed);

// --- scenery sprites: each returns a cropped picture standing on its bottom row ---
struct TreeStyle {
  double height = 700, trunkWidth = 36;
  double crownStart = 0.55;     // fraction of the height where branches begin
  double crownWidth = 300;
  int clumps = 14;
  bool conifer = true;          // needle tufts and a pointed top
  double lean = 0;              // crown offset per unit height
  Rgb barkLight, barkDark;
  Rgb leafDark, leafMid, leafLight;
  bool moss = false;            // Spanish moss hanging from the limbs
  bool plated = false;          // ponderosa's orange plates
  bool twisted = false;         // mesquite and oak limbs
  double clumpSize = 1.0;       // size of the leaf clumps at the limb ends
};
RgbaImage PaintTree(const TreeStyle& style, uint32_t seed);

struct ShrubStyle {
  double width = 260, height = 160;
  int blobs = 40;
  double leafSize = 9;
  Rgb dark, mid, light;
  Rgb stem;
  bool spiky = false;  // fine needle-like leaves (sage, creosote)
};
RgbaImage PaintShrub(const ShrubStyle& style, uint32_t seed);

struct RockStyle {
  double width = 300, height = 180;
  Rgb light{}, mid{}, dark{};  // sun-bleached crown, the body of the stone, its stains and crevices
  Rgb band{};                  // the other colour of alternate beds (with strata)
  double strata = 0;       // 0 massive stone .. 1 sandstone weathered into ledges
  double speckle = 0.5;    // grain of the crystals
  int pieces = 1;          // a pile of several stones
  bool lichen = false;
  Rgb grass{0.4, 0.45, 0.2};
  double facets = 0.5;     // how broken into flat faces
  double sunHeight = 0.6;  // the sun comes from the left, as on every panorama; this is how high
  bool moss = false;       // moss along the foot (damp woods)
};
RgbaImage PaintRock(const RockStyle& style, uint32_t seed);

struct GrassStyle {
  double width = 120, height = 80;
  int blades = 60;
  Rgb dark, light;
  Rgb seed{0.8, 0.7, 0.5};
  bool seedHeads = false;
};
RgbaImage PaintGrass(const GrassStyle& style, uint32_t seed);

RgbaImage PaintStump(double width, double height, Rgb barkLight, Rgb barkDark, Rgb wood, uint32_t seed);
RgbaImage PaintLog(double length, double thickness, Rgb barkLight, Rgb barkDark, Rgb wood, uint32_t seed);
RgbaImage PaintPalmetto(double width, double height, Rgb dark, Rgb light, uint32_t seed);
RgbaImage PaintYucca(double width, double height, Rgb dark, Rgb light, uint32_t seed);
RgbaImage PaintPricklyPear(double width, double height, Rgb dark, Rgb light, uint32_t seed);

}  // namespace artgen::landscape
