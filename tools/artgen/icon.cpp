// The desktop icon, drawn with cairo: small sizes drop the fine bands so the shape stays clear.
#include "tools/artgen/icon.h"

#include <cairo.h>

#include <cmath>

namespace artgen {
namespace {

constexpr double kPi = 3.14159265358979323846;

void Rgb(cairo_t* cr, int r, int g, int b) { cairo_set_source_rgb(cr, r / 255.0, g / 255.0, b / 255.0); }

// One tail feather from the pivot outwards along `angle` (0 = straight up), `length` long.
void Feather(cairo_t* cr, double angle, double length, double width, bool detailed) {
  cairo_save(cr);
  cairo_rotate(cr, angle);
  cairo_scale(cr, width, length);
  cairo_new_path(cr);
  cairo_arc(cr, 0, -0.5, 0.5, 0, 2 * kPi);
  cairo_restore(cr);
  Rgb(cr, 96, 62, 34);
  cairo_fill_preserve(cr);
  cairo_save(cr);
  cairo_clip(cr);
  cairo_rotate(cr, angle);
  // The tip: a dark band, then the pale chestnut edge a wild turkey's tail shows.
  Rgb(cr, 40, 26, 16);
  cairo_rectangle(cr, -width, -length * 0.86, 2 * width, length * 0.09);
  cairo_fill(cr);
  Rgb(cr, 214, 180, 124);
  cairo_rectangle(cr, -width, -length * 1.01, 2 * width, length * 0.15);
  cairo_fill(cr);
  if (detailed) {
    Rgb(cr, 70, 44, 24);
    for (double t = 0.35; t < 0.75; t += 0.12) {
      cairo_rectangle(cr, -width, -length * t, 2 * width, length * 0.03);
      cairo_fill(cr);
    }
  }
  cairo_restore(cr);
}

void Draw(cairo_t* cr, int size) {
  const bool detailed = size >= 48;
  cairo_scale(cr, size, size);
  // The badge: a disc of evening woodland green with a lighter glow behind the bird.
  cairo_pattern_t* glow = cairo_pattern_create_radial(0.5, 0.45, 0.05, 0.5, 0.5, 0.5);
  cairo_pattern_add_color_stop_rgb(glow, 0, 0.55, 0.62, 0.36);
  cairo_pattern_add_color_stop_rgb(glow, 1, 0.13, 0.25, 0.14);
  cairo_arc(cr, 0.5, 0.5, 0.48, 0, 2 * kPi);
  cairo_set_source(cr, glow);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(glow);
  Rgb(cr, 30, 22, 14);
  cairo_set_line_width(cr, size >= 32 ? 0.025 : 0.05);
  cairo_stroke(cr);

  // The fanned tail: feathers from the bird's rump.
  cairo_save(cr);
  cairo_translate(cr, 0.5, 0.74);
  const int feathers = detailed ? 11 : 7;
  for (int i = 0; i < feathers; ++i) {
    const double a = (-0.42 + 0.84 * i / (feathers - 1)) * kPi;
    Feather(cr, a, 0.46, detailed ? 0.11 : 0.16, detailed);
  }
  cairo_restore(cr);

  // The body, dark bronze, and the head with its red wattle turned to the right.
  cairo_save(cr);
  cairo_translate(cr, 0.5, 0.72);
  cairo_scale(cr, 0.17, 0.15);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  Rgb(cr, 52, 40, 30);
  cairo_fill(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, detailed ? 0.06 : 0.09);
  cairo_move_to(cr, 0.55, 0.66);
  cairo_curve_to(cr, 0.58, 0.58, 0.60, 0.54, 0.62, 0.50);
  Rgb(cr, 150, 40, 36);
  cairo_stroke(cr);
  cairo_arc(cr, 0.625, 0.485, detailed ? 0.045 : 0.065, 0, 2 * kPi);
  Rgb(cr, 176, 196, 222);
  cairo_fill(cr);
  if (detailed) {
    cairo_arc(cr, 0.635, 0.475, 0.01, 0, 2 * kPi);
    Rgb(cr, 20, 20, 20);
    cairo_fill(cr);
    cairo_move_to(cr, 0.665, 0.48);
    cairo_line_to(cr, 0.70, 0.49);
    cairo_line_to(cr, 0.665, 0.50);
    cairo_close_path(cr);
    Rgb(cr, 226, 200, 140);
    cairo_fill(cr);
  }
}

}  // namespace

bool WriteIconPng(int size, const std::string& path) {
  if (size <= 0) return false;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  Draw(cr, size);
  cairo_destroy(cr);
  const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace artgen
