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

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cr_ = cairo_create(surface_);
}

Canvas::Canvas(const RgbaImage& from) : Canvas(from.width, from.height) {
  cairo_surface_flush(surface_);
  uint32_t* px = Pixels();
  int stride = Stride();
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      uint32_t p = from.At(x, y);
      uint32_t a = p >> 24;
      auto pre = [a](uint32_t c) { return (c * a + 127) / 255; };
      px[y * stride + x] = (a << 24) | (pre((p >> 16) & 0xFF) << 16) | (pre((p >> 8) & 0xFF) << 8) | pre(p & 0xFF);
    }
  }
  MarkDirty();
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

uint32_t* Canvas::Pixels() {
  cairo_surface_flush(surface_);
  return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface_));
}

int Canvas::Stride() const { return cairo_image_surface_get_stride(surface_) / 4; }

void Canvas::MarkDirty() { cairo_surface_mark_dirty(surface_); }

RgbaImage Canvas::ToImage(bool crispEdges) const {
  cairo_surface_flush(surface_);
  const auto* px = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface_));
  int stride = Stride();
  RgbaImage out(width_, height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      uint32_t p = px[y * stride + x];
      uint32_t a = p >> 24;
      if (a == 0 || (crispEdges && a < 128)) {
        out.At(x, y) = 0;
        continue;
      }
      auto un = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
      uint32_t r = un((p >> 16) & 0xFF), g = un((p >> 8) & 0xFF), b = un(p & 0xFF);
      out.At(x, y) = ((crispEdges ? 255u : a) << 24) | (r << 16) | (g << 8) | b;
    }
  }
  return out;
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
