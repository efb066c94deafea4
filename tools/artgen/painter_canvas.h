// Painting helpers shared by the painters: seeded randomness, periodic noise, colours, cairo canvases.
#pragma once

#include <cairo.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "tools/artgen/art_types.h"
#include "tools/artgen/draw.h"

namespace artgen::paint {

// A small seeded generator (splitmix64) so every picture comes out the same on every run.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
  int Int(int lo, int hiInclusive) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hiInclusive - lo + 1)); }

 private:
  uint64_t state_;
};

struct Rgb {
  double r = 0, g = 0, b = 0;  // 0..1
};

inline Rgb Hex(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}
inline Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
inline Rgb Scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb Add(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline double Smooth(double e0, double e1, double x) {
  double t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
uint32_t Pack(Rgb c, int alpha = 255);
Rgb Unpack(uint32_t argb);

// Value noise in 0..1. The x lattice repeats every `periodX` cells when periodX > 0, so a picture
// sampled with it wraps around seamlessly.
double Noise2(double x, double y, uint32_t seed, int periodX = 0);
// Sum of octaves (each twice as fine, half as strong), 0..1; periodX as above for the first octave.
double Fbm2(double x, double y, uint32_t seed, int octaves, int periodX = 0);
inline double Noise1(double x, uint32_t seed, int periodX = 0) { return Noise2(x, 0.5, seed, periodX); }
inline double Fbm1(double x, uint32_t seed, int octaves, int periodX = 0) { return Fbm2(x, 0.5, seed, octaves, periodX); }

// The generator's one cairo canvas, shared with the writers.
using Canvas = artgen::Canvas;

void SetColor(cairo_t* cr, Rgb c, double alpha = 1.0);

// Calls draw(dx) once for the shape itself and again shifted by +-period when it crosses an edge, so
// shapes drawn on a wrapping panorama continue across its seam.
void Wrapped(double left, double right, double period, const std::function<void(double dx)>& draw);

// Crops transparent rows and columns; keeps at least one pixel.
RgbaImage Crop(const RgbaImage& image);

}  // namespace artgen::paint
