// Distant land seen from the stand: a height field marched column by column, lit and hazed by distance.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/artgen/landscape_parts.h"

namespace artgen::landscape {

using paint::Clamp01;
using paint::Mix;
using paint::Smooth;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Gradient noise (-1..1): ridges made from it run along lines, where value noise would make blobs.
double Grad(int ix, int iy, uint32_t seed, double dx, double dy) {
  uint32_t h = static_cast<uint32_t>(ix) * 0x8DA6B343u ^ static_cast<uint32_t>(iy) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  // Sixteen directions round the circle.
  static const double kDir[16][2] = {{1, 0},       {0.924, 0.383},   {0.707, 0.707},   {0.383, 0.924},
                                     {0, 1},       {-0.383, 0.924},  {-0.707, 0.707},  {-0.924, 0.383},
                                     {-1, 0},      {-0.924, -0.383}, {-0.707, -0.707}, {-0.383, -0.924},
                                     {0, -1},      {0.383, -0.924},  {0.707, -0.707},  {0.924, -0.383}};
  const double* g = kDir[(h >> 7) & 15];
  return g[0] * dx + g[1] * dy;
}

double Perlin(double x, double y, uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const double tx = x - fx, ty = y - fy;
  auto fade = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
  const double u = fade(tx), v = fade(ty);
  const double a = Grad(ix, iy, seed, tx, ty), b = Grad(ix + 1, iy, seed, tx - 1, ty);
  const double c = Grad(ix, iy + 1, seed, tx, ty - 1), d = Grad(ix + 1, iy + 1, seed, tx - 1, ty - 1);
  return 1.41 * (a + (b - a) * u + (c - a) * v + (a - b - c + d) * u * v);
}

}  // namespace

double TerrainHeight(const TerrainStyle& s, double x, double y, uint32_t seed) {
  // Where the ranges rise: broad swells of the land, sharpened into a few massifs.
  const double swell = 0.5 + 0.5 * Perlin(x / s.rangeSpacing, y / s.rangeSpacing, seed);
  // The stand lies in open country: the ranges begin some way off.
  const double away = Smooth(s.clearRadius * 0.6, s.clearRadius * 1.4, std::sqrt(x * x + y * y));
  const double mask = std::pow(Smooth(s.rangeShare, 1.0, swell), 0.8) * away;
  // Ridged noise: each octave's creases follow the larger ones, so spurs branch off the main ridges.
  double h = 0, weight = 1, freq = 1.0 / s.ridgeSpacing, amp = 1, norm = 0;
  for (int o = 0; o < s.octaves; ++o) {
    double r = 1 - std::fabs(Perlin(x * freq, y * freq, seed + 17u * (o + 1)));
    r *= r;
    h += r * amp * weight;
    norm += amp;
    weight = Clamp01(r * 1.6);
    freq *= 2.03;
    amp *= s.roughness;
  }
  h = h / norm;
  double height = s.peak * mask * (0.35 + 0.65 * h) + s.rolling * (0.5 + 0.5 * Perlin(x / 3.1, y / 3.1, seed + 5));
  if (s.terraces > 0) {
    // Hard caprock beds: flat benches and short cliffs between them.
    const double steps = height / s.peak * s.terraces;
    const double k = std::floor(steps), f = steps - k;
    height = s.peak / s.terraces * (k + Smooth(0.72, 0.95, f));
  }
  return height;
}

void PaintTerrain(Canvas& canvas, const TerrainStyle& s, uint32_t seed) {
  const int w = canvas.width(), h = canvas.height();
  constexpr int kSub = 2;  // columns per pixel, for a smooth skyline
  const int sw = w * kSub;
  const double focal = w / (2 * kPi);  // pixels per radian, as the ground and the projection use
  std::vector<float> acc(static_cast<size_t>(sw) * h * 4, 0.0f);  // premultiplied colour and cover
  auto cell = [&](int x, int y) { return &acc[(static_cast<size_t>(y) * sw + x) * 4]; };
  for (int sx = 0; sx < sw; ++sx) {
    // Column sx looks along this bearing; bearings grow toward the left of the picture.
    const double bearing = 2 * kPi * (1 - (sx + 0.5) / sw);
    const double vx = std::cos(bearing), vy = std::sin(bearing);
    // The sun comes from the viewer's left, high, and a little from behind him, on every bearing,
    // as it does on the scenery.
    const double lx0 = -vy, ly0 = vx;  // the viewer's left on the ground
    double L[3] = {0.68 * lx0 - 0.3 * vx, 0.68 * ly0 - 0.3 * vy, s.sunHeight};
    const double ll = std::sqrt(L[0] * L[0] + L[1] * L[1] + L[2] * L[2]);
    for (double& c : L) c /= ll;
    double top = h;  // the highest row filled so far in this column
    Rgb last{-1, 0, 0};  // the colour there
    for (double d = s.nearDistance; d < s.farDistance; d += 0.012 + d * 0.0045) {
      const double px = vx * d, py = vy * d;
      const double height = TerrainHeight(s, px, py, seed);
      const double drop = d * d / (2 * 6371.0);  // the earth curving away
      const double row = s.horizonY - focal * (height * s.exaggeration - s.eyeHeight - drop) / d;
      if (row >= top) continue;
      // Slope and light.
      const double e = 0.02 + d * 0.002;
      const double hx = (TerrainHeight(s, px + e, py, seed) - TerrainHeight(s, px - e, py, seed)) / (2 * e);
      const double hy = (TerrainHeight(s, px, py + e, seed) - TerrainHeight(s, px, py - e, seed)) / (2 * e);
      double n[3] = {-hx * s.exaggeration, -hy * s.exaggeration, 1};
      const double nl = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      for (double& c : n) c /= nl;
      const double lit = Clamp01(n[0] * L[0] + n[1] * L[1] + n[2] * L[2]);
      const double steep = 1 - n[2];
      // What covers the land: snow high and where it can lie, forest low, rock between.
      const double tex = paint::Noise2(px * 9, py * 9, seed + 31);
      Rgb ground = Mix(s.rockDark, s.rockLight, Clamp01(0.2 + 0.9 * lit));
      if (s.beds > 0) {
        const double bed = 0.5 + 0.5 * std::sin(height / s.peak * s.beds * 2 * kPi + 2 * tex);
        ground = Mix(ground, paint::Scale(ground, 0.72), bed * 0.6);
      }
      const double forest = Smooth(s.forestLine + 0.04, s.forestLine - 0.04, height) * Smooth(0.75, 0.45, steep);
      if (forest > 0) {
        // Crowns as a texture on the land, fading before they are finer than the pixels.
        const double crowns = 0.5 + (paint::Noise2(px * 6, py * 6, seed + 37) - 0.5) * Smooth(18, 6, d);
        Rgb trees = Mix(s.forestDark, s.forestLight, Clamp01(0.1 + 0.9 * lit) * (0.55 + 0.6 * crowns));
        ground = Mix(ground, trees, forest);
      }
      if (s.snowLine > 0) {
        const double line = s.snowLine + 0.25 * s.peak * (tex - 0.5);
        const double snow = Smooth(line - 0.02, line + 0.05, height) * Smooth(0.8, 0.55, steep);
        ground = Mix(ground, Mix(s.snowShade, s.snow, Clamp01(lit * 1.25)), snow);
      }
      const double haze = 1 - std::exp(-d / s.hazeDistance);
      const Rgb here = Mix(ground, s.haze, Clamp01(haze * s.hazeStrength));
      // Fill from this sample's row up to what is already drawn, the top pixel by its share; the
      // colour runs from the last one's, so the steps between samples do not show as bands.
      const int r0 = std::max(0, static_cast<int>(std::floor(row)));
      for (int r = r0; r < static_cast<int>(std::ceil(top)) && r < h; ++r) {
        const double cover = Clamp01(std::min(r + 1.0, top) - std::max(static_cast<double>(r), row));
        const double along = top - row > 1e-6 ? Clamp01((r + 0.5 - row) / (top - row)) : 0;
        const Rgb c = last.r < 0 || top >= h ? here : Mix(here, last, along);
        float* p = cell(sx, r);
        const double k = (1 - p[3]) * cover;
        p[0] += static_cast<float>(c.r * k);
        p[1] += static_cast<float>(c.g * k);
        p[2] += static_cast<float>(c.b * k);
        p[3] += static_cast<float>(k);
      }
      top = row;
      last = here;
      if (top <= 0) break;
    }
  }
  // Over what is painted already (the sky), two columns to a pixel.
  uint32_t* px = canvas.Pixels();
  const int stride = canvas.Stride();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int k = 0; k < kSub; ++k) {
        const float* p = cell(x * kSub + k, y);
        r += p[0], g += p[1], b += p[2], a += p[3];
      }
      a /= kSub;
      if (a <= 0) continue;
      const Rgb under = paint::Unpack(px[y * stride + x]);
      const Rgb over{r / kSub + under.r * (1 - a), g / kSub + under.g * (1 - a), b / kSub + under.b * (1 - a)};
      px[y * stride + x] = paint::Pack(over);
    }
  canvas.MarkDirty();
}

}  // namespace artgen::landscape
