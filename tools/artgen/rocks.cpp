// Boulders and stones: a bumpy, faceted body lit from the panoramas' sun, with layers, cracks and lichen.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/artgen/landscape_parts.h"

namespace artgen::landscape {

using paint::Clamp01;
using paint::Hex;
using paint::Mix;
using paint::Rng;
using paint::Smooth;

namespace {

double Fract(double v) { return v - std::floor(v); }

uint32_t CellHash(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  return h ^ (h >> 15);
}
double CellRandom(int x, int y, uint32_t seed, int k) { return (CellHash(x, y, seed + 131u * k) & 0xFFFF) / 65535.0; }

// Broken faces: the nearest of jittered points owns a flat facet; `border` is how far the point is
// from the facet's edge (for cracks), `id` picks the facet's tilt.
struct Facet {
  double border = 1;
  int cx = 0, cy = 0;
};
Facet NearestFacet(double x, double y, uint32_t seed) {
  const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  double best = 1e9, second = 1e9;
  Facet f;
  for (int j = -1; j <= 1; ++j)
    for (int i = -1; i <= 1; ++i) {
      const int cx = ix + i, cy = iy + j;
      const double px = cx + 0.15 + 0.7 * CellRandom(cx, cy, seed, 0), py = cy + 0.15 + 0.7 * CellRandom(cx, cy, seed, 1);
      const double d = std::hypot(x - px, y - py);
      if (d < best) {
        second = best;
        best = d;
        f.cx = cx;
        f.cy = cy;
      } else if (d < second) {
        second = d;
      }
    }
  f.border = second - best;
  return f;
}

// One stone. u runs -1..1 across its width, v 0 (ground) .. 1 (crown). Returns false off the stone;
// otherwise its colour in *out.
struct Stone {
  double cx = 0, width = 1, height = 1;
  uint32_t seed = 0;
  double lean = 0;            // the crown sits off centre
  double dip = 0;             // the beds tilt across the stone
  std::vector<double> beds;   // tops of the beds, in v, rising
  std::vector<double> stand;  // how far each bed stands out
  struct Cut {
    double a, b, c;  // the surface is no higher than a + b u + c v: a flat break across a corner
  };
  std::vector<Cut> cuts;
};

Stone MakeStone(double cx, double width, double height, uint32_t seed, double strata) {
  Stone st;
  st.cx = cx;
  st.width = width;
  st.height = height;
  st.seed = seed;
  Rng rng(seed * 7 + 1);
  st.lean = rng.Range(-0.22, 0.22);
  st.dip = rng.Range(-0.12, 0.12);
  // A few breaks where pieces split off: bedded rock splits along flat tops and steep corners,
  // massive rock only loses a corner or two.
  const bool bedded = strata > 0;
  const int breaks = bedded ? rng.Int(2, 3) : 1;
  for (int i = 0; i < breaks; ++i) {
    const double ang = bedded ? rng.Range(1.2, 1.95) + (i % 2 ? 0.9 : -0.9) * (i > 0) : rng.Range(0.3, 2.84);
    const double bu = std::cos(ang), bv = std::sin(ang);
    const double at = bedded ? (i == 0 ? rng.Range(0.75, 0.95) : rng.Range(0.6, 0.85)) : rng.Range(0.75, 1.0);
    st.cuts.push_back({at, -bu * rng.Range(0.9, 1.3), -bv * rng.Range(0.9, 1.3)});
  }
  double v = -0.2;
  while (v < 1.6) {
    v += rng.Range(0.07, 0.26);
    st.beds.push_back(v);
    st.stand.push_back(rng.Range(0.25, 1.0));
  }
  return st;
}

// Height of the stone's surface toward the viewer (0 at its outline) and what it is made of there.
struct Surface {
  double z = -1;
  double layer = 0;  // fraction within the current layer, 0 at its base
  int layerIndex = 0;
};

Surface Shape(const RockStyle& s, const Stone& st, double u, double v) {
  Surface out;
  // A dome sitting on the ground, leaning to one side, flatter on top for bedded rock, its outline
  // broken by large lumps and smaller chips.
  const double uu = u - st.lean * v;
  const double lump = paint::Fbm2(uu * 0.9 + 7, v * 0.9, st.seed, 2) - 0.5;
  const double chip = paint::Fbm2(uu * 3.0 + 2, v * 3.0, st.seed + 1, 3) - 0.5;
  // Bedded rock breaks into blocks: upright sides and a flat top; massive rock weathers round.
  const double side = s.strata > 0 ? 2 + 2.5 * s.strata : 2.0, flat = s.strata > 0 ? 1.6 + 1.6 * s.strata : 1.15;
  const double r = std::pow(std::fabs(uu), side) + std::pow(std::max(v, 0.0), flat);
  double z = 1 - r + 0.8 * lump + 0.25 * chip;
  for (const Stone::Cut& c : st.cuts) z = std::min(z, c.a + c.b * uu + c.c * v + 0.1 * chip);
  if (s.strata > 0 && !st.beds.empty()) {
    // Beds of uneven thickness, dipping across the stone; hard ones stand out as rounded ledges, the
    // soft ones under them are worn back.
    const double vb = v + st.dip * u + 0.05 * (paint::Fbm2(u * 2.0, v, st.seed + 3, 2) - 0.5);
    size_t k = 0;
    while (k + 1 < st.beds.size() && st.beds[k] < vb) ++k;
    const double base = k == 0 ? -0.2 : st.beds[k - 1], top = st.beds[k];
    out.layerIndex = static_cast<int>(k);
    out.layer = Clamp01((vb - base) / (top - base));
    const double profile = std::sqrt(Smooth(0.0, 0.85, out.layer)) * Smooth(1.0, 0.85, out.layer);
    z += s.strata * 0.09 * st.stand[k] * profile;
    // A joint or two: upright cracks weathered open, notching the crown.
    const double joint = std::fabs(Fract(u * 0.9 + 0.2 * paint::Fbm2(v * 2, u, st.seed + 9, 2) + 0.37) - 0.5);
    z -= s.strata * 0.16 * Smooth(0.035, 0.0, joint) * Smooth(0.25, 0.8, v);
  }
  out.z = z;
  return out;
}

bool PaintStone(const RockStyle& s, const Stone& st, double x, double y, double groundY, uint32_t* out) {
  const double u = (x - st.cx) / (st.width / 2), v = (groundY - y) / st.height;
  if (v < 0 || std::fabs(u) > 1.4 || v > 1.4) return false;
  const Surface here = Shape(s, st, u, v);
  if (here.z <= 0) return false;
  // Normal from the surface's slope (screen y grows downward, v upward).
  const double e = 0.01;
  const double du = (Shape(s, st, u + e, v).z - Shape(s, st, u - e, v).z) / (2 * e);
  const double dv = (Shape(s, st, u, v + e).z - Shape(s, st, u, v - e).z) / (2 * e);
  const double bulk = 2.2;  // how deep the stone is for its size
  double nx = -du / bulk, ny = dv / bulk, nz = 1;
  // Broken faces tilt the light a little differently on each facet.
  const Facet f = NearestFacet(u * 3.2 + 11, v * 3.2 * st.height / st.width * 2 + 5, st.seed + 21);
  nx += s.facets * 0.45 * (CellRandom(f.cx, f.cy, st.seed, 2) - 0.5);
  ny += s.facets * 0.45 * (CellRandom(f.cx, f.cy, st.seed, 3) - 0.5);
  const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
  nx /= len, ny /= len, nz /= len;
  // The sun from the left and above, as on every panorama; light wraps a little into the shadow.
  const double lx = -0.62, ly = -s.sunHeight, lz = 0.55;
  const double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
  const double lit = (nx * lx + ny * ly + nz * lz) / ll;
  double light = 0.26 + 0.86 * Clamp01(lit);

  // Stone colour: beds alternate in tone, crystals speckle it, the crown is sun-bleached.
  paint::Rgb albedo = s.mid;
  if (s.strata > 0) {
    const double tone = CellRandom(here.layerIndex, 3, st.seed, 5);
    albedo = Mix(s.mid, s.band, tone * s.strata);
    // The worn-back soft bed under each ledge is darker and wetter-looking.
    albedo = Mix(albedo, s.dark, Smooth(0.82, 0.95, here.layer) * 0.55 * s.strata);
  }
  albedo = Mix(albedo, s.light, Smooth(0.45, 1.0, v) * 0.35);
  const double grain = paint::Noise2(x * 0.9, y * 0.9, st.seed + 31);
  albedo = Mix(albedo, grain > 0.5 ? s.light : s.dark, std::fabs(grain - 0.5) * s.speckle * 0.6);
  const double mottle = paint::Fbm2(x * 0.05, y * 0.05, st.seed + 33, 3);
  albedo = paint::Scale(albedo, 0.88 + 0.24 * mottle);
  // Dark streaks running down from the top where water drains (desert varnish, stains).
  const double streak = paint::Fbm2(x * 0.09, y * 0.006, st.seed + 35, 3);
  albedo = Mix(albedo, s.dark, Smooth(0.58, 0.78, streak) * 0.45 * Smooth(0.15, 0.6, v));
  // Lichen and moss on the faces that look up.
  if (s.lichen) {
    const double patch = paint::Fbm2(x * 0.07, y * 0.07, st.seed + 37, 4);
    const double on = Smooth(0.6, 0.66, patch) * Smooth(-0.1, -0.5, ny);
    albedo = Mix(albedo, Mix(Hex(0x9AA27A), Hex(0xC8B46A), paint::Noise2(x * 0.2, y * 0.2, st.seed + 39)), on * 0.85);
  }
  if (s.moss) albedo = Mix(albedo, Hex(0x4E5C2A), Smooth(0.18, 0.02, v) * Smooth(0.4, 0.6, mottle) * 0.8);
  // Cracks along some facet edges, and the shadowed lip of each one.
  // Facet edges catch a little light or shade; a long crack or two wanders across the stone.
  light *= 1 - 0.1 * Smooth(0.05, 0.0, f.border) * s.facets;
  const double crack = std::fabs(paint::Fbm2(u * 1.1 + 3, v * 1.4, st.seed + 41, 3) - 0.5);
  const double crackOn = Smooth(0.3, 0.55, paint::Noise2(u * 1.2, v * 1.2, st.seed + 43));
  light *= 1 - 0.45 * crackOn * Smooth(0.009, 0.003, crack);
  // The rim where the stone turns away and meets the ground is in its own shade.
  light *= 0.72 + 0.28 * Smooth(0.0, 0.18, here.z);
  light *= 0.8 + 0.2 * Smooth(0.0, 0.08, v);
  *out = paint::Pack(paint::Scale(albedo, light));
  return true;
}

}  // namespace

RgbaImage PaintRock(const RockStyle& s, uint32_t seed) {
  Rng rng(seed);
  const int w = static_cast<int>(s.width * 1.25 + 20), h = static_cast<int>(s.height + 10);
  const double groundY = h - 1;
  std::vector<Stone> stones;
  // The main stone, and for a pile smaller ones on either side, drawn behind it.
  // u reaches about 1.35 at the widest lump: the picture leaves room for it.
  stones.push_back(MakeStone(w / 2.0, s.width * 0.9, s.height * 0.88, seed, s.strata));
  for (int p = 1; p < s.pieces; ++p) {
    const double side = p % 2 ? 1 : -1;
    stones.push_back(MakeStone(w / 2.0 + side * s.width * rng.Range(0.24, 0.3), s.width * rng.Range(0.26, 0.34),
                               s.height * rng.Range(0.4, 0.62), seed + 1000u * p, s.strata));
  }
  if (s.pieces > 1) {
    stones[0].width *= 0.5;
    stones[0].height *= 0.92;
  }
  RgbaImage out(w, h);
  constexpr int kSS = 2;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int covered = 0;
      double r = 0, g = 0, b = 0;
      for (int j = 0; j < kSS; ++j)
        for (int i = 0; i < kSS; ++i) {
          const double sx = x + (i + 0.5) / kSS, sy = y + (j + 0.5) / kSS;
          uint32_t c = 0;
          bool hit = PaintStone(s, stones[0], sx, sy, groundY, &c);
          for (size_t k = 1; k < stones.size() && !hit; ++k) hit = PaintStone(s, stones[k], sx, sy, groundY, &c);
          if (!hit) continue;
          ++covered;
          r += (c >> 16) & 255, g += (c >> 8) & 255, b += c & 255;
        }
      if (covered * 2 < kSS * kSS) continue;
      out.At(x, y) = 0xFF000000u | (static_cast<uint32_t>(r / covered) << 16) | (static_cast<uint32_t>(g / covered) << 8) |
                     static_cast<uint32_t>(b / covered);
    }
  // Grass growing against the base, in front of the stone.
  Canvas canvas(out);
  cairo_t* cr = canvas.cr();
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int k = 0; k < static_cast<int>(s.width / 5); ++k) {
    const double x = w / 2.0 + rng.Range(-0.55, 0.55) * s.width;
    const double hh = rng.Range(6, 22);
    paint::SetColor(cr, Mix(paint::Scale(s.grass, 0.6), s.grass, rng.Uniform()));
    cairo_set_line_width(cr, 1.8);
    cairo_move_to(cr, x, groundY);
    cairo_line_to(cr, x + rng.Range(-6, 6), groundY - hh);
    cairo_stroke(cr);
  }
  return paint::Crop(canvas.ToImage(true));
}

}  // namespace artgen::landscape
