// Canvas conversion, lettering, value noise, wood grain and resampling for the art generator.
#include "tools/artgen/draw.h"

#include <algorithm>
#include <cmath>

namespace artgen {

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {}

Canvas::Canvas(const RgbaImage& from) : Canvas(from.width, from.height) {
  Flush();
  for (int y = 0; y < height_; ++y) {
    uint32_t* row = Row(y);
    for (int x = 0; x < width_; ++x) {
      const uint32_t p = from.At(x, y);
      const uint32_t a = p >> 24;
      if (a == 255) {
        row[x] = p;
        continue;
      }
      auto pm = [a](uint32_t c) { return (c * a + 127) / 255; };
      row[x] = (a << 24) | (pm((p >> 16) & 255) << 16) | (pm((p >> 8) & 255) << 8) | pm(p & 255);
    }
  }
  MarkDirty();
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

uint32_t* Canvas::Row(int y) {
  return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface_) +
                                     static_cast<size_t>(y) * cairo_image_surface_get_stride(surface_));
}

RgbaImage Canvas::ToImage(bool crispEdges) const {
  cairo_surface_flush(surface_);
  const auto* px = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface_));
  const int stride = Stride();
  RgbaImage out(width_, height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const uint32_t p = px[static_cast<size_t>(y) * stride + x];
      const uint32_t a = p >> 24;
      if (a == 0 || (crispEdges && a < 128)) {
        out.At(x, y) = 0;
      } else if (a == 255) {
        out.At(x, y) = p;
      } else {
        // Un-premultiply, so edge pixels keep their true colour instead of darkening toward black.
        auto up = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
        out.At(x, y) = ((crispEdges ? 255u : a) << 24) | (up((p >> 16) & 255) << 16) | (up((p >> 8) & 255) << 8) |
                       up(p & 255);
      }
    }
  }
  return out;
}

void SetColour(cairo_t* cr, uint8_t commonIndex, double alpha) {
  const Rgb& c = CommonPalette()[commonIndex];
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void SetRgb(cairo_t* cr, int r, int g, int b, double alpha) {
  cairo_set_source_rgba(cr, r / 255.0, g / 255.0, b / 255.0, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void SelectFace(cairo_t* cr, Face face, double size) {
  const bool serif = face == Face::Serif || face == Face::SerifBold;
  const bool bold = face == Face::SerifBold || face == Face::SansBold;
  // fontconfig resolves these to fonts-liberation's files.
  cairo_select_font_face(cr, serif ? "Liberation Serif" : "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double TextWidth(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text.c_str(), &ext);
  return ext.x_advance;
}

void CarvedText(cairo_t* cr, const std::string& text, double cx, double baseline, uint8_t fill, uint8_t shadow,
                uint8_t edge) {
  const double x = std::round(cx - TextWidth(cr, text) / 2);
  const double y = std::round(baseline);
  cairo_matrix_t fm;
  cairo_get_font_matrix(cr, &fm);
  const bool small = fm.xx < 16;  // small letters stay crisp with a one-pixel cut only
  if (!small) {
    SetColour(cr, edge);
    cairo_move_to(cr, x - 1, y - 1);
    cairo_show_text(cr, text.c_str());
  }
  SetColour(cr, shadow);
  cairo_move_to(cr, x + 1, y + 1);
  cairo_show_text(cr, text.c_str());
  if (!small) {
    cairo_move_to(cr, x + 2, y + 2);
    cairo_show_text(cr, text.c_str());
  }
  SetColour(cr, fill);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text.c_str());
}

namespace {
uint32_t Hash(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}
}  // namespace

double Noise2(double x, double y, uint32_t seed) {
  const int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
  const double fx = x - xi, fy = y - yi;
  const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  auto v = [&](int dx, int dy) { return (Hash(xi + dx, yi + dy, seed) & 0xFFFF) / 65535.0; };
  const double a = v(0, 0) + (v(1, 0) - v(0, 0)) * sx;
  const double b = v(0, 1) + (v(1, 1) - v(0, 1)) * sx;
  return a + (b - a) * sy;
}

double Fractal2(double x, double y, uint32_t seed, int octaves) {
  double sum = 0, amp = 0.5, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * Noise2(x, y, seed + o * 101);
    norm += amp;
    x *= 2;
    y *= 2;
    amp *= 0.5;
  }
  return sum / norm;
}

void WoodGrain(Canvas& canvas, int x0, int y0, int w, int h, double tone, uint32_t seed, bool vertical) {
  canvas.Flush();
  // Weathered grey-brown, warmer in the grain lines; the tone shifts the whole plank.
  const double baseR = 128 + 30 * tone, baseG = 100 + 26 * tone, baseB = 74 + 20 * tone;
  for (int y = std::max(0, y0); y < std::min(canvas.height(), y0 + h); ++y) {
    uint32_t* row = canvas.Row(y);
    for (int x = std::max(0, x0); x < std::min(canvas.width(), x0 + w); ++x) {
      double u = x - x0, v = y - y0;
      if (vertical) std::swap(u, v);
      // Grain runs along x; a slow warp bends it, fine noise roughens it.
      const double warp = Fractal2(u * 0.012, v * 0.05, seed, 3) * 9.0;
      const double grain = std::sin((v + warp) * 1.3 + Noise2(u * 0.05, v * 0.3, seed + 7) * 2.0);
      const double rough = Fractal2(u * 0.2, v * 0.6, seed + 13, 2) - 0.5;
      double k = 1.0 + 0.10 * grain + 0.18 * rough;
      // Occasional darker streak where the wood has weathered into cracks.
      if (Noise2(u * 0.03, v * 0.7, seed + 29) > 0.86) k *= 0.72;
      auto c = [k](double base) { return static_cast<uint32_t>(std::clamp(base * k, 0.0, 255.0)); };
      row[x] = 0xFF000000u | (c(baseR) << 16) | (c(baseG) << 8) | c(baseB);
    }
  }
  canvas.MarkDirty();
}

uint32_t Rng::Next() {
  state_ += 0x9E3779B97F4A7C15ull;
  uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<uint32_t>((z ^ (z >> 31)) >> 16);
}

namespace {
// Box-filtered sample of src over [x0, x1) x [y0, y1), with optional horizontal wrap; premultiplied sums.
void BoxSample(const RgbaImage& src, double x0, double y0, double x1, double y1, bool wrap, double out[4]) {
  out[0] = out[1] = out[2] = out[3] = 0;
  double area = 0;
  for (int y = static_cast<int>(std::floor(y0)); y < static_cast<int>(std::ceil(y1)); ++y) {
    if (y < 0 || y >= src.height) continue;
    const double wy = std::min<double>(y + 1, y1) - std::max<double>(y, y0);
    for (int x = static_cast<int>(std::floor(x0)); x < static_cast<int>(std::ceil(x1)); ++x) {
      int sx = x;
      if (wrap) sx = ((x % src.width) + src.width) % src.width;
      if (sx < 0 || sx >= src.width) continue;
      const double wx = std::min<double>(x + 1, x1) - std::max<double>(x, x0);
      const double wgt = wx * wy;
      const uint32_t p = src.At(sx, y);
      const double a = (p >> 24) / 255.0;
      out[0] += wgt * a * ((p >> 16) & 255);
      out[1] += wgt * a * ((p >> 8) & 255);
      out[2] += wgt * a * (p & 255);
      out[3] += wgt * a;
      area += wgt;
    }
  }
  if (area > 0)
    for (int i = 0; i < 4; ++i) out[i] /= area;
}
}  // namespace

void Composite(RgbaImage& dst, const RgbaImage& src, double x, double y, double scale) {
  if (scale <= 0 || src.width == 0) return;
  const int w = static_cast<int>(std::ceil(src.width * scale)), h = static_cast<int>(std::ceil(src.height * scale));
  const int ox = static_cast<int>(std::floor(x)), oy = static_cast<int>(std::floor(y));
  for (int v = 0; v < h; ++v) {
    const int dy = oy + v;
    if (dy < 0 || dy >= dst.height) continue;
    for (int u = 0; u < w; ++u) {
      const int dx = ((ox + u) % dst.width + dst.width) % dst.width;
      double s[4];
      if (scale >= 1.0) {
        const int sx = std::min(src.width - 1, static_cast<int>(u / scale));
        const int sy = std::min(src.height - 1, static_cast<int>(v / scale));
        const uint32_t p = src.At(sx, sy);
        const double a = (p >> 24) / 255.0;
        s[0] = a * ((p >> 16) & 255), s[1] = a * ((p >> 8) & 255), s[2] = a * (p & 255), s[3] = a;
      } else {
        BoxSample(src, u / scale, v / scale, (u + 1) / scale, (v + 1) / scale, false, s);
      }
      if (s[3] <= 0.0) continue;
      const uint32_t d = dst.At(dx, dy);
      const double da = (d >> 24) / 255.0;
      const double oa = s[3] + da * (1 - s[3]);
      auto ch = [&](int shift, int i) {
        const double dc = ((d >> shift) & 255) * da;
        return static_cast<uint32_t>(std::clamp((s[i] + dc * (1 - s[3])) / oa, 0.0, 255.0) + 0.5) & 255;
      };
      dst.At(dx, dy) = (static_cast<uint32_t>(oa * 255 + 0.5) << 24) | (ch(16, 0) << 16) | (ch(8, 1) << 8) | ch(0, 2);
    }
  }
}

RgbaImage ResampleWrapped(const RgbaImage& src, double sx, double sy, double sw, double sh, int w, int h) {
  RgbaImage out(w, h);
  const double kx = sw / w, ky = sh / h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double s[4];
      BoxSample(src, sx + x * kx, sy + y * ky, sx + (x + 1) * kx, sy + (y + 1) * ky, true, s);
      if (s[3] <= 0) continue;
      auto c = [&](int i) { return static_cast<uint32_t>(std::clamp(s[i] / s[3], 0.0, 255.0) + 0.5) & 255; };
      out.At(x, y) = (static_cast<uint32_t>(s[3] * 255 + 0.5) << 24) | (c(0) << 16) | (c(1) << 8) | c(2);
    }
  return out;
}

}  // namespace artgen
