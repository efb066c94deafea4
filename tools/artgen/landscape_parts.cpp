// Location art building blocks: sky, ridges, tree lines and ground of the panoramas, and scenery sprites.
#include "tools/artgen/landscape_parts.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace artgen::landscape {

using paint::Canvas;
using paint::Clamp01;
using paint::Fbm1;
using paint::Fbm2;
using paint::Hex;
using paint::Mix;
using paint::Rng;
using paint::SetColor;
using paint::Smooth;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kW = kPanoramaWidth;

Rgb Jitter(Rgb c, Rng& rng, double amount) {
  double k = 1 + rng.Range(-amount, amount);
  return paint::Scale(c, k);
}

void Circle(cairo_t* cr, double x, double y, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, r, 0, 2 * kPi);
}

void Ellipse(cairo_t* cr, double x, double y, double rx, double ry, double angle = 0) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
}

// A painted clump of foliage: dark mass, lit body toward the upper left, a few bright touches.
void Clump(cairo_t* cr, Rng& rng, double cx, double cy, double rx, double ry, int blobs, double blobR, Rgb dark,
           Rgb mid, Rgb light, bool needles) {
  struct Blob {
    double x, y, r;
  };
  std::vector<Blob> list;
  blobs = std::min(blobs, 400);
  for (int i = 0; i < blobs; ++i) {
    double a = rng.Range(0, 2 * kPi), d = std::sqrt(rng.Uniform());
    list.push_back({cx + std::cos(a) * d * rx, cy + std::sin(a) * d * ry, blobR * rng.Range(0.7, 1.25)});
  }
  // Lower blobs first, so upper ones overlap them like a real crown seen from below.
  std::sort(list.begin(), list.end(), [](const Blob& a, const Blob& b) { return a.y > b.y; });
  for (const auto& b : list) {
    SetColor(cr, Jitter(dark, rng, 0.08));
    if (needles) {
      for (int k = 0; k < 14; ++k) {
        double a = rng.Range(0, 2 * kPi);
        double l = b.r * rng.Range(0.8, 1.3);
        cairo_move_to(cr, b.x, b.y);
        cairo_line_to(cr, b.x + std::cos(a) * l, b.y + std::sin(a) * l * 0.8);
      }
      cairo_set_line_width(cr, std::max(1.5, b.r * 0.18));
      cairo_stroke(cr);
      Circle(cr, b.x, b.y, b.r * 0.75);
      cairo_fill(cr);
    } else {
      Circle(cr, b.x, b.y, b.r * 0.72);
      for (int k = 0; k < 10; ++k) {
        double a = rng.Range(0, 2 * kPi), d = b.r * rng.Range(0.55, 0.9);
        Ellipse(cr, b.x + std::cos(a) * d, b.y + std::sin(a) * d, b.r * 0.3, b.r * 0.2, a);
      }
      cairo_fill(cr);
    }
  }
  for (const auto& b : list) {
    double lit = Clamp01(0.55 - ((b.x - cx) / rx * 0.5 + (b.y - cy) / ry * 0.6));
    SetColor(cr, Jitter(Mix(dark, mid, 0.35 + 0.65 * lit), rng, 0.06));
    double ox = b.x - b.r * 0.22, oy = b.y - b.r * 0.28;
    if (needles) {
      for (int k = 0; k < 9; ++k) {
        double a = rng.Range(-kPi, 0.3);
        double l = b.r * rng.Range(0.5, 0.95);
        cairo_move_to(cr, ox, oy);
        cairo_line_to(cr, ox + std::cos(a) * l, oy + std::sin(a) * l * 0.8);
      }
      cairo_set_line_width(cr, std::max(1.2, b.r * 0.14));
      cairo_stroke(cr);
    } else {
      Circle(cr, ox, oy, b.r * 0.5);
      for (int k = 0; k < 7; ++k) {
        double a = rng.Range(-kPi, kPi * 0.2), d = b.r * rng.Range(0.3, 0.62);
        Ellipse(cr, ox + std::cos(a) * d, oy + std::sin(a) * d, b.r * 0.26, b.r * 0.17, a);
      }
      cairo_fill(cr);
    }
    if (lit > 0.45) {
      SetColor(cr, Jitter(light, rng, 0.06));
      if (needles) {
        for (int k = 0; k < 5; ++k) {
          double a = rng.Range(-kPi * 0.9, -0.2);
          double l = b.r * rng.Range(0.35, 0.7);
          cairo_move_to(cr, ox - b.r * 0.1, oy - b.r * 0.1);
          cairo_line_to(cr, ox - b.r * 0.1 + std::cos(a) * l, oy - b.r * 0.1 + std::sin(a) * l * 0.8);
        }
        cairo_set_line_width(cr, std::max(1.0, b.r * 0.1));
        cairo_stroke(cr);
      } else {
        for (int k = 0; k < 3; ++k) {
          Ellipse(cr, ox - b.r * rng.Range(0.1, 0.4), oy - b.r * rng.Range(0.1, 0.4), b.r * 0.22, b.r * 0.15,
                  rng.Range(0, kPi));
          cairo_fill(cr);
        }
      }
    }
  }
}

RgbaImage Finish(const Canvas& canvas) { return paint::Crop(canvas.ToImage(true)); }

// A tapered limb or trunk from (x0,y0) to (x1,y1), lit from the left.
void Limb(cairo_t* cr, double x0, double y0, double w0, double x1, double y1, double w1, Rgb light, Rgb dark,
          double bend = 0) {
  double dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy);
  if (len < 1e-6) return;
  double nx = -dy / len, ny = dx / len;
  double mx = (x0 + x1) / 2 + nx * bend, my = (y0 + y1) / 2 + ny * bend;
  cairo_move_to(cr, x0 + nx * w0 / 2, y0 + ny * w0 / 2);
  cairo_curve_to(cr, mx + nx * (w0 + w1) / 4, my + ny * (w0 + w1) / 4, mx + nx * (w0 + w1) / 4,
                 my + ny * (w0 + w1) / 4, x1 + nx * w1 / 2, y1 + ny * w1 / 2);
  cairo_line_to(cr, x1 - nx * w1 / 2, y1 - ny * w1 / 2);
  cairo_curve_to(cr, mx - nx * (w0 + w1) / 4, my - ny * (w0 + w1) / 4, mx - nx * (w0 + w1) / 4,
                 my - ny * (w0 + w1) / 4, x0 - nx * w0 / 2, y0 - ny * w0 / 2);
  cairo_close_path(cr);
  // Light side is the one facing left (negative x).
  double lx = nx < 0 ? 1 : -1;
  cairo_pattern_t* g = cairo_pattern_create_linear(mx + nx * lx * w0 / 2, my + ny * lx * w0 / 2,
                                                   mx - nx * lx * w0 / 2, my - ny * lx * w0 / 2);
  cairo_pattern_add_color_stop_rgb(g, 0, light.r, light.g, light.b);
  Rgb m = Mix(light, dark, 0.5);
  cairo_pattern_add_color_stop_rgb(g, 0.45, m.r, m.g, m.b);
  cairo_pattern_add_color_stop_rgb(g, 1, dark.r, dark.g, dark.b);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Panorama layers

void PaintSky(Canvas& canvas, int horizonY, const SkyStyle& style, uint32_t seed) {
  uint32_t* px = canvas.Pixels();
  const int stride = canvas.Stride();
  const int bottom = std::min(canvas.height(), horizonY + 60);
  for (int y = 0; y < bottom; ++y) {
    double t = Clamp01(static_cast<double>(y) / horizonY);
    Rgb base = Mix(style.top, style.horizon, std::pow(t, 1.6));
    // Clouds: wide, flat masses, thinning toward the horizon.
    double up = 1.0 - t;  // 1 at the top, 0 at the horizon
    double band = Smooth(1.0 - style.cloudHeight - 0.1, 1.0 - style.cloudHeight + 0.2, up);
    for (int x = 0; x < canvas.width(); ++x) {
      Rgb c = base;
      if (band > 0) {
        double n = Fbm2(x / kW * 10, y / 70.0, seed, 5, 10);
        double t0 = 0.66 - 0.22 * style.cloudiness;
        double d = Smooth(t0, t0 + 0.12, n) * band;
        if (d > 0) {
          // Lit tops, shaded bellies: compare with the density just below.
          double below = Fbm2(x / kW * 10, (y + 8) / 70.0, seed, 5, 10);
          double shade = Clamp01((below - n) * 8 + 0.5);
          Rgb cloud = Mix(style.cloudLight, style.cloudShade, shade * 0.8);
          cloud = Mix(cloud, style.horizon, t * 0.4);
          c = Mix(base, cloud, d);
        }
      }
      px[y * stride + x] = paint::Pack(c);
    }
  }
  canvas.MarkDirty();
}

void PaintRidge(Canvas& canvas, const RidgeStyle& s, uint32_t seed) {
  const int w = canvas.width(), h = canvas.height();
  std::vector<double> top(w);
  for (int x = 0; x < w; ++x) {
    double n = Fbm1(x / kW * s.cycles, seed, s.octaves, s.cycles);
    n = std::pow(Smooth(0.22, 0.78, n), s.sharpness);
    top[x] = s.baseY - s.amplitude * n;
  }
  uint32_t* px = canvas.Pixels();
  const int stride = canvas.Stride();
  for (int x = 0; x < w; ++x) {
    // Slope of the crest, wrapped: faces turned to the left catch the light.
    double slope = top[(x + 1) % w] - top[(x + w - 1) % w];
    double lightK = Clamp01(0.5 + slope * 0.6);
    int y0 = std::max(0, static_cast<int>(std::floor(top[x])));
    for (int y = y0; y < h; ++y) {
      double depth = (y - top[x]) / std::max(1.0, s.amplitude + 40);
      Rgb c = Mix(s.top, s.bottom, Clamp01(depth));
      if (s.rocky) {
        // Ridges and gullies running down the faces: light where the relief turns to the left.
        int fc = s.cycles * 8;
        auto relief = [&](int xx) { return Fbm2(((xx + w) % w) / kW * fc, y / 45.0 + xx / kW * fc * 0.35, seed + 5, 4, fc); };
        double grad = (relief(x - 3) - relief(x + 3)) * 9;
        double face = Clamp01(0.5 + grad + (lightK - 0.5) * 0.6);
        Rgb rock = Mix(s.rockDark, s.rockLight, face);
        c = Mix(rock, c, Smooth(0.35, 1.0, depth));
        if (s.snowLine > 0) {
          double line = s.snowLine + 70 * (relief(x) - 0.5) * 2 + 40 * (face - 0.5);
          if (y < line) c = Mix(s.snowShade, s.snow, Clamp01(face * 1.4 - 0.1));
        }
      }
      if (s.strata > 0) {
        double band = std::sin((y + 9 * Fbm1(x / kW * 40, seed + 9, 3, 40)) * 0.45) * 0.5 + 0.5;
        c = paint::Scale(c, 1 - s.strata * 0.22 * band);
      }
      if (s.forested > 0) {
        // Crowns as small vertical lumps: dark gaps between lit tops.
        double n = paint::Noise2(x / kW * 900, y / 3.2, seed + 11, 900);
        double m = paint::Noise2(x / kW * 900, (y + 2) / 3.2, seed + 11, 900);
        c = Mix(c, paint::Scale(c, n > m ? 1.25 : 0.7), s.forested * Smooth(0.2, 0.6, std::fabs(n - m) * 4));
      }
      // Soft edge along the crest.
      double edge = Clamp01(y + 1 - top[x]);
      uint32_t old = px[y * stride + x];
      Rgb prev = paint::Unpack(old);
      px[y * stride + x] = paint::Pack(Mix(prev, c, edge));
    }
  }
  canvas.MarkDirty();
}

void PaintGround(Canvas& canvas, const GroundStyle& s, uint32_t seed) {
  const int w = canvas.width(), h = canvas.height();
  uint32_t* px = canvas.Pixels();
  const int stride = canvas.Stride();
  // Texture lives on the ground plane itself: a row's distance grows as 1 / (rows below the horizon)
  // and a column is a bearing, so patterns shrink and flatten toward the horizon and wrap around.
  // Each pattern fades out before it gets finer than the pixels, so the far ground stays calm.
  const double focal = kW / (2 * kPi);
  for (int y = s.horizonY; y < h; ++y) {
    const double below = y - s.horizonY + 0.5;
    const double near = Clamp01(below / (kGroundRow - s.horizonY));  // 0 far .. 1 near
    const double dist = focal / below;                                 // in eye heights
    const double across = below, deep = below * below / focal;         // pixels per ground unit
    auto shows = [&](double sizeAcross, double sizeDeep) {
      return Smooth(1.2, 3.5, std::min(sizeAcross * across, sizeDeep * deep));
    };
    const double vPatch = shows(2.0, 2.0), vSoil = shows(0.5, 0.5), vClod = shows(0.09, 0.09);
    const double vClump = shows(0.15, 0.6), vBlade = shows(0.014, 0.1);
    // Blades stand along the line of sight: a pattern fixed to the bearing, as many stripes round the
    // circle as suit this row (two sizes blended, so the step between them does not show).
    const double stripes = std::log2(2 * kPi * dist / 0.014);
    const int level = static_cast<int>(std::floor(stripes));
    const double blend = stripes - level;
    const int p0 = 1 << std::clamp(level, 4, 20), p1 = p0 * 2;
    for (int x = 0; x < w; ++x) {
      const double turn = x / kW, ang = turn * 2 * kPi;
      const double gx = std::cos(ang) * dist, gy = std::sin(ang) * dist;
      // Where grass grows and where the soil is bare, in patches a few strides across.
      const double cover = 0.5 + (paint::Fbm2(gx * 0.3 + 11, gy * 0.3 + 5, seed, 3) - 0.5) * (0.35 + 0.65 * vPatch);
      const double grassy = Smooth(1 - s.grassCover - 0.1, 1 - s.grassCover + 0.1, cover);
      // Soil: two tones, clods and their shadows.
      Rgb soil = Mix(s.a, s.b, Smooth(0.3, 0.7, 0.5 + (paint::Noise2(gx * 1.4, gy * 1.4, seed + 1) - 0.5) * vSoil));
      const double clod = (paint::Noise2(gx * 9, gy * 9, seed + 2) - 0.5) * vClod;
      soil = clod > 0 ? Mix(soil, s.speckLight, clod * 0.5) : Mix(soil, s.speckDark, -clod * 0.9);
      // Grass: darker clumps, and blades with light tips.
      const double clump = (paint::Noise2(gx * 5, gy * 5, seed + 3) - 0.5) * vClump;
      // Along the sight line the pattern repeats by ratio of distance, so a stroke is as tall on the
      // picture as a blade standing at that distance would be.
      const double tall = std::log(dist) * 9;
      const double raw = paint::Noise2(turn * p0, tall, seed + 4, p0) * (1 - blend) +
                           paint::Noise2(turn * p1, tall, seed + 4, p1) * blend;
      // Crisp strokes rather than a soft shimmer.
      const double stroke = (Smooth(0.3, 0.7, raw) - 0.5) * 1.2;
      Rgb grass = Mix(s.c, s.grassDark, Clamp01(-clump * 1.6 + 0.15));
      grass = stroke > 0 ? Mix(grass, s.grassLight, stroke * vBlade) : Mix(grass, s.grassDark, -stroke * vBlade);
      Rgb c = Mix(soil, grass, grassy);
      // Gentle swells of the ground, lit from the left like everything else.
      const double e = 0.3;
      const double hx = paint::Fbm2((gx + e) * 0.1, gy * 0.1, seed + 6, 3) - paint::Fbm2((gx - e) * 0.1, gy * 0.1, seed + 6, 3);
      const double hy = paint::Fbm2(gx * 0.1, (gy + e) * 0.1, seed + 6, 3) - paint::Fbm2(gx * 0.1, (gy - e) * 0.1, seed + 6, 3);
      const double toLight = (hx * -std::sin(ang) + hy * std::cos(ang)) / (2 * e);
      c = paint::Scale(c, std::clamp(1 + 3.5 * toLight, 0.8, 1.2));
      c = Mix(s.farColor, c, Smooth(0.0, 0.3, near) * 0.8 + 0.2);
      px[y * stride + x] = paint::Pack(c);
    }
  }
  canvas.MarkDirty();

  cairo_t* cr = canvas.cr();
  Rng rng(seed + 17);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  // Scattered detail, sized by nearness; more items near the bottom where each one is larger.
  auto scatter = [&](double density, const std::function<void(double x, double y, double k)>& draw) {
    int count = static_cast<int>(density * 2200);
    for (int i = 0; i < count; ++i) {
      double t = std::pow(rng.Uniform(), 0.8);
      double y = s.horizonY + 4 + t * (h - s.horizonY - 2);
      double k = 0.08 + 0.92 * Clamp01((y - s.horizonY) / static_cast<double>(kGroundRow - s.horizonY));
      double x = rng.Range(0, kW);
      paint::Wrapped(x - 40 * k, x + 40 * k, kW, [&](double dx) { draw(x + dx, y, k); });
    }
  };
  if (s.leaves > 0)
    scatter(s.leaves, [&](double x, double y, double k) {
      SetColor(cr, Mix(s.leafA, s.leafB, rng.Uniform()));
      Ellipse(cr, x, y, 7 * k + 0.6, 3 * k + 0.4, rng.Range(-0.6, 0.6));
      cairo_fill(cr);
    });
  if (s.leaves > 0)
    scatter(s.leaves * 0.8, [&](double x, double y, double k) {
      SetColor(cr, Mix(s.leafA, s.speckDark, rng.Range(0.1, 0.5)));
      cairo_set_line_width(cr, 0.6 + 0.8 * k);
      for (int n = 0; n < 3; ++n) {
        double a = rng.Range(-0.5, 0.5), l = (8 + rng.Range(0, 10)) * k + 1;
        cairo_move_to(cr, x, y);
        cairo_rel_line_to(cr, std::cos(a) * l, std::sin(a) * l * 0.4);
      }
      cairo_stroke(cr);
    });
  if (s.pebbles > 0)
    scatter(s.pebbles, [&](double x, double y, double k) {
      double r = rng.Range(2, 6) * k + 0.5;
      SetColor(cr, paint::Scale(s.pebble, 0.55));
      Ellipse(cr, x + r * 0.2, y + r * 0.2, r, r * 0.6);
      cairo_fill(cr);
      SetColor(cr, Jitter(s.pebble, rng, 0.1));
      Ellipse(cr, x, y, r * 0.9, r * 0.5);
      cairo_fill(cr);
    });
  if (s.tufts > 0)
    scatter(s.tufts, [&](double x, double y, double k) {
      int blades = 5 + static_cast<int>(rng.Uniform() * 5);
      double hgt = rng.Range(10, 26) * k + 1;
      for (int b = 0; b < blades; ++b) {
        double a = rng.Range(-0.7, 0.7);
        SetColor(cr, Mix(s.grassDark, s.grassLight, rng.Uniform()));
        cairo_set_line_width(cr, 0.8 + 1.6 * k);
        double bx = x + rng.Range(-4, 4) * k;
        cairo_move_to(cr, bx, y);
        cairo_curve_to(cr, bx + a * hgt * 0.3, y - hgt * 0.5, bx + a * hgt * 0.7, y - hgt * 0.8, bx + a * hgt,
                       y - hgt);
        cairo_stroke(cr);
      }
    });
}

// ---------------------------------------------------------------------------------------------
// Scenery sprites

RgbaImage PaintTree(const TreeStyle& style, uint32_t seed) {
  // A crown wider than the scratch surface allows is narrowed rather than cut off.
  TreeStyle s = style;
  s.crownWidth = std::min(s.crownWidth, (800.0 - 20 - 2 * s.trunkWidth) / 1.45);
  s.height = std::min(s.height, (1000.0 - 4) / 1.12);
  Rng rng(seed);
  const int w = static_cast<int>(std::min(800.0, s.crownWidth * 1.45 + s.trunkWidth * 2 + 20));
  const int h = static_cast<int>(std::min(1000.0, s.height * 1.12 + 4));
  Canvas canvas(w, h);
  cairo_t* cr = canvas.cr();
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const double baseX = w / 2.0, baseY = h - 1;
  const double topY = baseY - s.height;
  const double maxReach = w / 2.0 - s.crownWidth * 0.22 - 4;
  const double crownY = baseY - s.height * s.crownStart;
  const double leanX = s.lean * s.height;

  // Root flare and trunk.
  double trunkTopY = s.conifer ? topY + s.height * 0.08 : crownY - (crownY - topY) * 0.3;
  Limb(cr, baseX, baseY + 2, s.trunkWidth * 1.5, baseX + leanX * 0.5, baseY - s.height * 0.12, s.trunkWidth,
       s.barkLight, s.barkDark, 0);
  Limb(cr, baseX + leanX * 0.5, baseY - s.height * 0.1, s.trunkWidth, baseX + leanX, trunkTopY,
       s.trunkWidth * (s.conifer ? 0.25 : 0.55), s.barkLight, s.barkDark, s.twisted ? rng.Range(-20, 20) : 0);
  // Bark texture: plates or furrows.
  for (int i = 0; i < static_cast<int>(s.height / 6); ++i) {
    double t = rng.Uniform() * (s.conifer ? 0.9 : 0.75);
    double y = baseY - s.height * t;
    double tw = s.trunkWidth * (1 - t * 0.7);
    double x = baseX + leanX * t + rng.Range(-0.4, 0.4) * tw;
    if (s.plated && x < baseX + leanX * t) {
      // Lighter plates on the lit side.
      SetColor(cr, Mix(s.barkLight, Hex(0xE0A070), 0.25), 0.85);
      Ellipse(cr, x, y + 6, tw * 0.1, rng.Range(5, 11));
      cairo_fill(cr);
    }
    SetColor(cr, Mix(s.barkDark, Rgb{0, 0, 0}, 0.4), 0.85);
    cairo_set_line_width(cr, std::max(1.2, tw * 0.05));
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + rng.Range(-2, 2), y + rng.Range(8, 22));
    if (s.plated) cairo_rel_line_to(cr, rng.Range(-0.15, 0.15) * tw, 0);
    cairo_stroke(cr);
  }
  // Limbs and their clumps, from the bottom of the crown up.
  struct Spot {
    double x, y, rx, ry;
  };
  std::vector<Spot> spots;
  if (s.conifer) {
    for (int i = 0; i < s.clumps; ++i) {
      double t = s.clumps == 1 ? 0.5 : i / static_cast<double>(s.clumps - 1);  // 0 low .. 1 top
      double y = crownY - t * (crownY - topY) * 0.92;
      double along = (baseY - y) / s.height;
      double spreadK = 1 - t * 0.75;
      double side = (i % 2 ? 1 : -1) * rng.Range(0.35, 1.0);
      double reach = std::clamp(s.crownWidth * 0.5 * spreadK * side, -maxReach, maxReach);
      double tx = baseX + leanX * along, ty = y;
      double ex = tx + reach, ey = y - std::fabs(reach) * 0.12 + rng.Range(-10, 10);
      Limb(cr, tx, ty, s.trunkWidth * 0.22, ex, ey, s.trunkWidth * 0.1, s.barkLight, s.barkDark, rng.Range(-6, 6));
      double r = s.crownWidth * 0.15 * (0.75 + 0.5 * spreadK) * s.clumpSize;
      spots.push_back({ex, ey - r * 0.2, r, r * 0.55});
    }
  } else {
    // A broad crown: limbs fork from the top of the trunk and spread to clumps over a dome.
    double r = s.crownWidth * 0.2 * s.clumpSize;
    double crx = std::min(s.crownWidth * 0.5, maxReach + s.crownWidth * 0.1) - r * 0.6;
    double cry = (crownY - topY) * 0.5 - r * 0.35;
    double ccx = baseX + leanX, ccy = topY + r * 0.75 + cry;
    double forkX = baseX + leanX * 0.8, forkY = trunkTopY;
    for (int i = 0; i < s.clumps; ++i) {
      double a = kPi * (0.04 + 0.92 * (i + rng.Range(0.2, 0.8)) / s.clumps);
      double d = rng.Range(0.55, 1.0);
      double ex = ccx + std::cos(a) * crx * d, ey = ccy - std::sin(a) * cry * d + cry * 0.25;
      double sx = forkX + rng.Range(-0.3, 0.3) * s.trunkWidth, sy = forkY + rng.Range(0, 0.25) * (baseY - forkY);
      Limb(cr, sx, sy, s.trunkWidth * 0.45, ex, ey, s.trunkWidth * 0.1, s.barkLight, s.barkDark,
           s.twisted ? rng.Range(-30, 30) : rng.Range(-8, 8));
      spots.push_back({ex, ey, r * rng.Range(0.8, 1.1), r * 0.7});
    }
    // Fill the middle of the dome.
    for (int i = 0; i < s.clumps / 3; ++i)
      spots.push_back({ccx + rng.Range(-0.5, 0.5) * crx, ccy + rng.Range(-0.5, 0.2) * cry, r * 0.9, r * 0.6});
  }
  if (s.conifer) spots.push_back({baseX + leanX, topY + s.height * 0.06, s.crownWidth * 0.1, s.height * 0.06});
  for (const auto& sp : spots) {
    int blobs = static_cast<int>(sp.rx * sp.ry / 110) + 6;
    double br = s.conifer ? std::max(6.0, sp.rx * 0.28) : std::max(6.0, sp.rx * 0.3);
    Clump(cr, rng, sp.x, sp.y, sp.rx, sp.ry, blobs, br, s.leafDark, s.leafMid, s.leafLight, s.conifer);
  }
  // Spanish moss hangs below the limbs, in grey-green strands below the leaves.
  if (s.moss) {
    for (const auto& sp : spots) {
      for (int k = 0; k < 3; ++k) {
        double x = sp.x + rng.Range(-sp.rx, sp.rx) * 0.8;
        double y = sp.y + sp.ry * rng.Range(0.3, 0.8);
        double len = rng.Range(20, 90);
        SetColor(cr, Mix(Hex(0x4E5648), Hex(0x8A9280), rng.Uniform()));
        cairo_set_line_width(cr, rng.Range(2.5, 5));
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + rng.Range(-8, 8), y + len * 0.4, x + rng.Range(-8, 8), y + len * 0.7, x + rng.Range(-5, 5),
                       y + len);
        cairo_stroke(cr);
      }
    }
  }
  return Finish(canvas);
}

RgbaImage PaintShrub(const ShrubStyle& s, uint32_t seed) {
  Rng rng(seed);
  Canvas canvas(static_cast<int>(s.width + 20), static_cast<int>(s.height + 10));
  cairo_t* cr = canvas.cr();
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  double bx = canvas.width() / 2.0, by = canvas.height() - 1;
  // Stems.
  for (int i = 0; i < 7; ++i) {
    double a = rng.Range(-0.9, 0.9);
    SetColor(cr, s.stem);
    cairo_set_line_width(cr, rng.Range(2, 4));
    cairo_move_to(cr, bx + rng.Range(-10, 10), by);
    cairo_line_to(cr, bx + std::sin(a) * s.width * 0.4, by - std::cos(a) * s.height * 0.75);
    cairo_stroke(cr);
  }
  // Several clumps making a mound wider than tall.
  int clumps = 5;
  for (int i = 0; i < clumps; ++i) {
    double t = i / static_cast<double>(clumps - 1) * 2 - 1;
    double cx = bx + t * s.width * 0.3 + rng.Range(-8, 8);
    double cy = by - s.height * (0.42 + 0.18 * (1 - t * t)) + rng.Range(-6, 6);
    Clump(cr, rng, cx, cy, s.width * 0.22, s.height * 0.32, s.blobs / clumps + 4, s.leafSize * 1.6, s.dark, s.mid,
          s.light, s.spiky);
  }
  return Finish(canvas);
}

RgbaImage PaintGrass(const GrassStyle& s, uint32_t seed) {
  Rng rng(seed);
  Canvas canvas(static_cast<int>(s.width + 30), static_cast<int>(s.height + 6));
  cairo_t* cr = canvas.cr();
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const double bx = canvas.width() / 2.0, by = canvas.height() - 1;
  for (int b = 0; b < s.blades; ++b) {
    double t = b / static_cast<double>(s.blades);
    double x = bx + rng.Range(-0.3, 0.3) * s.width;
    double a = (x - bx) / s.width * 1.6 + rng.Range(-0.35, 0.35);
    double hh = s.height * rng.Range(0.55, 1.0);
    SetColor(cr, Mix(s.dark, s.light, 0.2 + 0.8 * t * rng.Range(0.6, 1.0)));
    cairo_set_line_width(cr, rng.Range(1.6, 3.2));
    double ex = x + std::sin(a) * hh, ey = by - std::cos(a) * hh;
    cairo_move_to(cr, x, by);
    cairo_curve_to(cr, x + std::sin(a) * hh * 0.2, by - hh * 0.5, ex - std::sin(a) * hh * 0.1, ey + hh * 0.1, ex, ey);
    cairo_stroke(cr);
    if (s.seedHeads && rng.Uniform() < 0.3) {
      SetColor(cr, s.seed);
      Ellipse(cr, ex, ey, 2.2, 6, a);
      cairo_fill(cr);
    }
  }
  return Finish(canvas);
}

RgbaImage PaintStump(double width, double height, Rgb barkLight, Rgb barkDark, Rgb wood, uint32_t seed) {
  Rng rng(seed);
  Canvas canvas(static_cast<int>(width * 1.6 + 10), static_cast<int>(height + 10));
  cairo_t* cr = canvas.cr();
  const double bx = canvas.width() / 2.0, by = canvas.height() - 1;
  const double top = by - height + width * 0.15;
  // Roots spreading at the base.
  for (int i = -2; i <= 2; ++i) {
    Limb(cr, bx + i * width * 0.15, by - height * 0.25, width * 0.3, bx + i * width * 0.38, by, width * 0.12, barkLight,
         barkDark, 0);
  }
  Limb(cr, bx, by, width, bx, top, width * 0.92, barkLight, barkDark, 0);
  for (int i = 0; i < 10; ++i) {
    double x = bx + rng.Range(-0.4, 0.4) * width;
    SetColor(cr, barkDark, 0.8);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, x, top + rng.Range(5, 20));
    cairo_line_to(cr, x + rng.Range(-3, 3), by - rng.Range(2, 20));
    cairo_stroke(cr);
  }
  // The sawn or broken top with its rings.
  SetColor(cr, wood);
  Ellipse(cr, bx, top, width * 0.46, width * 0.15);
  cairo_fill(cr);
  for (int r = 1; r <= 3; ++r) {
    SetColor(cr, paint::Scale(wood, 0.75), 0.9);
    cairo_set_line_width(cr, 1.2);
    Ellipse(cr, bx + 2, top + 1, width * 0.46 * r / 4, width * 0.15 * r / 4);
    cairo_stroke(cr);
  }
  return Finish(canvas);
}

RgbaImage PaintLog(double length, double thickness, Rgb barkLight, Rgb barkDark, Rgb wood, uint32_t seed) {
  Rng rng(seed);
  Canvas canvas(static_cast<int>(length + 20), static_cast<int>(thickness * 1.3 + 10));
  cairo_t* cr = canvas.cr();
  const double by = canvas.height() - 1;
  const double cy = by - thickness * 0.5;
  const double x0 = 10 + thickness * 0.2, x1 = 10 + length - thickness * 0.2;
  cairo_rectangle(cr, x0, cy - thickness * 0.5, x1 - x0, thickness);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, cy - thickness * 0.5, 0, cy + thickness * 0.5);
  cairo_pattern_add_color_stop_rgb(g, 0, barkLight.r, barkLight.g, barkLight.b);
  cairo_pattern_add_color_stop_rgb(g, 1, barkDark.r, barkDark.g, barkDark.b);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  for (int i = 0; i < static_cast<int>(length / 8); ++i) {
    double x = rng.Range(x0, x1), y = cy + rng.Range(-0.4, 0.4) * thickness;
    SetColor(cr, paint::Scale(barkDark, 0.6), 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + rng.Range(8, 20), y + rng.Range(-2, 2));
    cairo_stroke(cr);
  }
  // Broken stub of a branch and the sawn end facing left.
  Limb(cr, x0 + length * 0.55, cy - thickness * 0.3, thickness * 0.3, x0 + length * 0.62, cy - thickness * 1.1,
       thickness * 0.15, barkLight, barkDark, 0);
  SetColor(cr, paint::Scale(barkDark, 0.8));
  Ellipse(cr, x1, cy, thickness * 0.2, thickness * 0.5);
  cairo_fill(cr);
  SetColor(cr, wood);
  Ellipse(cr, x0, cy, thickness * 0.22, thickness * 0.5);
  cairo_fill(cr);
  SetColor(cr, paint::Scale(wood, 0.7));
  cairo_set_line_width(cr, 1.2);
  Ellipse(cr, x0, cy, thickness * 0.11, thickness * 0.25);
  cairo_stroke(cr);
  // Moss and litter along the bottom.
  for (int i = 0; i < static_cast<int>(length / 4); ++i) {
    SetColor(cr, Mix(Hex(0x3A4A1C), Hex(0x6A6A2A), rng.Uniform()));
    Circle(cr, rng.Range(x0, x1), by - rng.Range(0, thickness * 0.25), rng.Range(2, 4));
    cairo_fill(cr);
  }
  return Finish(canvas);
}

RgbaImage PaintPalmetto(double width, double height, Rgb dark, Rgb light, uint32_t seed) {
  Rng rng(seed);
  Canvas canvas(static_cast<int>(width + 20), static_cast<int>(height + 10));
  cairo_t* cr = canvas.cr();
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const double bx = canvas.width() / 2.0, by = canvas.height() - 1;
  int fronds = 9;
  // Back fronds darker, front fronds lighter: each a fan of spiky leaflets on a stalk.
  for (int f = 0; f < fronds; ++f) {
    double t = f / static_cast<double>(fronds - 1);
    double a = -1.2 + 2.4 * rng.Uniform();
    double len = height * rng.Range(0.55, 0.8);
    double sx = bx + std::sin(a) * len * 0.6, sy = by - std::cos(a) * len * 0.75;
    SetColor(cr, Mix(dark, light, 0.3));
    cairo_set_line_width(cr, 2.5);
    cairo_move_to(cr, bx + rng.Range(-8, 8), by);
    cairo_line_to(cr, sx, sy);
    cairo_stroke(cr);
    double fanR = height * rng.Range(0.3, 0.45);
    double dir = a * 1.1;
    int leaflets = 18;
    for (int l = 0; l < leaflets; ++l) {
      double la = dir - 1.3 + 2.6 * l / (leaflets - 1);
      double lr = fanR * rng.Range(0.8, 1.05);
      Rgb c = Mix(dark, light, Clamp01(0.2 + 0.6 * t + 0.3 * (-std::sin(la)) * 0.5 + rng.Range(-0.1, 0.1)));
      SetColor(cr, c);
      cairo_move_to(cr, sx, sy);
      double ex = sx + std::sin(la) * lr, ey = sy - std::cos(la) * lr;
      double px = -std::cos(la) * 3.2, py = -std::sin(la) * 3.2;
      cairo_line_to(cr, (sx + ex) / 2 + px, (sy + ey) / 2 + py);
      cairo_line_to(cr, ex, ey);
      cairo_line_to(cr, (sx + ex) / 2 - px, (sy + ey) / 2 - py);
      cairo_close_path(cr);
      cairo_fill(cr);
    }
  }
  return Finish(canvas);
}

RgbaImage PaintYucca(double width, double height, Rgb dark, Rgb light, uint32_t seed) {
  Rng rng(seed);
  Canvas canvas(static_cast<int>(width + 20), static_cast<int>(height + 10));
  cairo_t* cr = canvas.cr();
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const double bx = canvas.width() / 2.0, by = canvas.height() - 1;
  const double rosetteH = height * 0.45;
  // A flower stalk with cream bells rising from the rosette.
  SetColor(cr, Hex(0x6A5A30));
  cairo_set_line_width(cr, 4);
  cairo_move_to(cr, bx, by - rosetteH * 0.3);
  cairo_line_to(cr, bx + 6, by - height);
  cairo_stroke(cr);
  for (int k = 0; k < 22; ++k) {
    double t = 0.65 + 0.35 * rng.Uniform();
    double y = by - height * t;
    double x = bx + 6 * t + rng.Range(-10, 10);
    SetColor(cr, Mix(Hex(0xC8C0A0), Hex(0xF4F0DC), rng.Uniform()));
    Ellipse(cr, x, y, 5, 6.5);
    cairo_fill(cr);
  }
  int leaves = 40;
  for (int l = 0; l < leaves; ++l) {
    double a = rng.Range(-1.35, 1.35);
    double len = rosetteH * rng.Range(0.6, 1.1) * (1 - 0.3 * std::fabs(a));
    double ex = bx + std::sin(a) * len * (width / height * 1.3), ey = by - std::cos(a) * len;
    Rgb c = Mix(dark, light, Clamp01(0.5 - a * 0.3 + rng.Range(-0.25, 0.25)));
    SetColor(cr, c);
    double pw = 4.5;
    double nx = std::cos(a) * pw, ny = std::sin(a) * pw;
    cairo_move_to(cr, bx - nx, by - ny * 0.3);
    cairo_line_to(cr, ex, ey);
    cairo_line_to(cr, bx + nx, by + ny * 0.3);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
  return Finish(canvas);
}

RgbaImage PaintPricklyPear(double width, double height, Rgb dark, Rgb light, uint32_t seed) {
  Rng rng(seed);
  Canvas canvas(static_cast<int>(width + 20), static_cast<int>(height + 10));
  cairo_t* cr = canvas.cr();
  const double bx = canvas.width() / 2.0, by = canvas.height() - 1;
  struct Pad {
    double x, y, r, a;
  };
  std::vector<Pad> pads;
  double pr = height * 0.2;
  // Grow pads from the ground pads upward, each one on the rim of its parent.
  pads.push_back({bx - pr * 0.6, by - pr * 0.95, pr, -0.3});
  pads.push_back({bx + pr * 0.7, by - pr * 0.9, pr * 0.95, 0.35});
  for (int i = 0; pads.size() < 9 && i < 40; ++i) {
    const Pad& parent = pads[rng.Int(0, static_cast<int>(pads.size()) - 1)];
    double a = parent.a + rng.Range(-0.8, 0.8);
    double r = parent.r * rng.Range(0.75, 0.92);
    Pad p{parent.x + std::sin(a) * (parent.r * 1.2 + r * 0.6), parent.y - std::cos(a) * (parent.r * 1.2 + r * 0.6), r, a};
    if (p.y - r * 1.3 < by - height || std::fabs(p.x - bx) > width * 0.5 - r) continue;
    pads.push_back(p);
  }
  for (const auto& p : pads) {
    cairo_save(cr);
    cairo_translate(cr, p.x, p.y);
    cairo_rotate(cr, p.a);
    cairo_scale(cr, p.r * 0.78, p.r * 1.2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(p.x - p.r * 0.4, p.y - p.r * 0.5, p.r * 0.1, p.x, p.y, p.r * 1.3);
    cairo_pattern_add_color_stop_rgb(g, 0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(g, 1, dark.r, dark.g, dark.b);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Areoles with their spines, and a few red fruits on the rim.
    for (int k = 0; k < 10; ++k) {
      double u = rng.Range(-0.7, 0.7), v = rng.Range(-1.0, 1.0);
      double x = p.x + (u * std::cos(p.a) - v * std::sin(p.a)) * p.r * 0.75;
      double y = p.y + (u * std::sin(p.a) + v * std::cos(p.a)) * p.r * 1.1;
      SetColor(cr, Hex(0xE8E0B0));
      Circle(cr, x, y, 1.6);
      cairo_fill(cr);
    }
    if (rng.Uniform() < 0.45) {
      SetColor(cr, Hex(0xA01848));
      Ellipse(cr, p.x + std::sin(p.a) * p.r * 1.15, p.y - std::cos(p.a) * p.r * 1.2, p.r * 0.18, p.r * 0.24, p.a);
      cairo_fill(cr);
    }
  }
  return Finish(canvas);
}

}  // namespace artgen::landscape
