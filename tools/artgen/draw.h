// Drawing helpers of the art generator: a cairo canvas over RGBA pixels, lettering, wood and noise.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/artgen/art_types.h"
#include "tools/artgen/palette.h"

namespace artgen {

// A cairo ARGB32 surface; ToRgba() gives straight-alpha pixels for quantising.
class Canvas {
 public:
  Canvas(int width, int height);
  explicit Canvas(const RgbaImage& from);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  int width() const { return width_; }
  int height() const { return height_; }
  RgbaImage ToRgba() const { return ToImage(false); }
  // Straight-alpha copy. With crispEdges, alpha at or above 128 becomes fully opaque and the rest fully
  // transparent, so sprites have no half-transparent fringe for the quantiser to guess at.
  RgbaImage ToImage(bool crispEdges) const;
  // Direct pixel access (premultiplied ARGB); callers flush first and mark dirty after.
  uint32_t* Row(int y);
  uint32_t* Pixels() { Flush(); return Row(0); }  // flushed; rows are Stride() pixels apart
  int Stride() const { return cairo_image_surface_get_stride(surface_) / 4; }
  void Flush() { cairo_surface_flush(surface_); }
  void MarkDirty() { cairo_surface_mark_dirty(surface_); }

 private:
  int width_, height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

void SetColour(cairo_t* cr, uint8_t commonIndex, double alpha = 1.0);
void SetRgb(cairo_t* cr, int r, int g, int b, double alpha = 1.0);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);

enum class Face { Serif, SerifBold, Sans, SansBold };
void SelectFace(cairo_t* cr, Face face, double size);
double TextWidth(cairo_t* cr, const std::string& text);
// Lettering centred on (cx, baseline y); a carved look: dark shadow below-right, light edge above-left.
void CarvedText(cairo_t* cr, const std::string& text, double cx, double baseline, uint8_t fill, uint8_t shadow,
                uint8_t edge);

// Deterministic value noise in 0..1 and its fractal sum.
double Noise2(double x, double y, uint32_t seed);
double Fractal2(double x, double y, uint32_t seed, int octaves);

// Fills a rectangle with weathered plank wood grain, opaque; `tone` -1 darker .. +1 lighter.
void WoodGrain(Canvas& canvas, int x0, int y0, int w, int h, double tone, uint32_t seed, bool vertical = false);

// A small deterministic random generator for placement.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t Next();
  double Uniform(double lo, double hi) { return lo + (hi - lo) * (Next() / 4294967296.0); }
  int Int(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint32_t>(hi - lo + 1)); }

 private:
  uint64_t state_;
};

// Alpha-composites `src` over `dst` at (x, y), scaled by `scale` (box-filtered when shrinking).
void Composite(RgbaImage& dst, const RgbaImage& src, double x, double y, double scale);
// A box-filtered resample of a region of `src` (wrapping horizontally) to w x h.
RgbaImage ResampleWrapped(const RgbaImage& src, double sx, double sy, double sw, double sh, int w, int h);

}  // namespace artgen
