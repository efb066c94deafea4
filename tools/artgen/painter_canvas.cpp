// Painting helpers: seeded noise, colour packing and cairo canvases that convert to straight RGBA.
#include "tools/artgen/painter_canvas.h"

#include <algorithm>
#include <cstring>

namespace artgen::paint {

uint32_t Pack(Rgb c, int alpha) {
  auto ch = [](double v) { return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0)); };
  return (static_cast<uint32_t>(alpha) << 24) | (ch(c.r) << 16) | (ch(c.g) << 8) | ch(c.b);
}

Rgb Unpack(uint32_t argb) { return Hex(argb & 0xFFFFFF); }

namespace {

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  return h;
}

double Lattice(int32_t x, int32_t y, uint32_t seed, int periodX) {
  if (periodX > 0) {
    x %= periodX;
    if (x < 0) x += periodX;
  }
  return (Hash(x, y, seed) & 0xFFFFFF) / static_cast<double>(0xFFFFFF);
}

}  // namespace

double Noise2(double x, double y, uint32_t seed, int periodX) {
  double fx = std::floor(x), fy = std::floor(y);
  auto ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  double a = Lattice(ix, iy, seed, periodX), b = Lattice(ix + 1, iy, seed, periodX);
  double c = Lattice(ix, iy + 1, seed, periodX), d = Lattice(ix + 1, iy + 1, seed, periodX);
  double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double Fbm2(double x, double y, uint32_t seed, int octaves, int periodX) {
  double sum = 0, weight = 0, amp = 1;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * Noise2(x, y, seed + 977u * i, periodX);
    weight += amp;
    amp *= 0.5;
    x *= 2;
    y *= 2;
    if (periodX > 0) periodX *= 2;
  }
  return sum / weight;
}

void SetColor(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void Wrapped(double left, double right, double period, const std::function<void(double dx)>& draw) {
  draw(0);
  if (left < 0) draw(period);
  if (right > period) draw(-period);
}

RgbaImage Crop(const RgbaImage& image) {
  int x0 = image.width, y0 = image.height, x1 = -1, y1 = -1;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if ((image.At(x, y) >> 24) >= 128) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
  if (x1 < 0) return RgbaImage(1, 1);
  RgbaImage out(x1 - x0 + 1, y1 - y0 + 1);
  for (int y = y0; y <= y1; ++y)
    std::memcpy(&out.At(0, y - y0), image.pixels.data() + static_cast<size_t>(y) * image.width + x0, static_cast<size_t>(out.width) * 4);
  return out;
}

}  // namespace artgen::paint
