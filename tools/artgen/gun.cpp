// Draws the pump shotgun seen over the shooter's shoulder, and its muzzle flash.
#include "tools/artgen/gun.h"

#include <cmath>

#include "tools/artgen/draw.h"
#include "tools/artgen/palette.h"

namespace artgen {

namespace {

constexpr double kBeadX = 68, kBeadY = 3;
constexpr double kBottom = ctlsize::kGunH;

// The barrel runs from the bead toward the viewer, widening with perspective and drifting right.
double CentreAt(double y) { return kBeadX + (y - kBeadY) / (kBottom - kBeadY) * 34; }
double HalfWidthAt(double y) { return 3 + (y - kBeadY) / (kBottom - kBeadY) * 22; }

void Stop(cairo_pattern_t* p, double at, uint8_t idx, double alpha = 1) {
  const Rgb& k = CommonPalette()[idx];
  cairo_pattern_add_color_stop_rgba(p, at, k.r / 255.0, k.g / 255.0, k.b / 255.0, alpha);
}

// A band across the barrel between rows y0 and y1, `grow` times the barrel's half width.
void Band(cairo_t* cr, double y0, double y1, double grow, double extra) {
  cairo_move_to(cr, CentreAt(y0) - HalfWidthAt(y0) * grow - extra, y0);
  cairo_line_to(cr, CentreAt(y0) + HalfWidthAt(y0) * grow + extra, y0);
  cairo_line_to(cr, CentreAt(y1) + HalfWidthAt(y1) * grow + extra, y1);
  cairo_line_to(cr, CentreAt(y1) - HalfWidthAt(y1) * grow - extra, y1);
  cairo_close_path(cr);
}

void Walnut(cairo_t* cr, double x0, double x1) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, 0, x1, 0);
  Stop(p, 0, ramp::kWalnut[0]);
  Stop(p, 0.25, ramp::kWalnut[3]);
  Stop(p, 0.45, ramp::kWalnut[5]);
  Stop(p, 0.7, ramp::kWalnut[2]);
  Stop(p, 1, ramp::kWalnut[0]);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void Steel(cairo_t* cr, double x0, double x1) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, 0, x1, 0);
  Stop(p, 0, ramp::kGunMetal[0]);
  Stop(p, 0.28, ramp::kGunMetal[2]);
  Stop(p, 0.38, ramp::kGreys[9]);
  Stop(p, 0.5, ramp::kGunMetal[2]);
  Stop(p, 1, ramp::kGunMetal[0]);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void DrawGun(cairo_t* cr, double pump) {
  // Stock comb at the lower right, under the shooter's cheek.
  cairo_move_to(cr, CentreAt(200) + 10, 192);
  cairo_curve_to(cr, 150, 186, 205, 196, 250, 208);
  cairo_line_to(cr, 250, 232);
  cairo_line_to(cr, CentreAt(200) - 4, 232);
  cairo_close_path(cr);
  cairo_pattern_t* stock = cairo_pattern_create_linear(0, 186, 0, 232);
  Stop(stock, 0, ramp::kWalnut[4]);
  Stop(stock, 0.3, ramp::kWalnut[2]);
  Stop(stock, 1, ramp::kWalnut[0]);
  cairo_set_source(cr, stock);
  cairo_fill(cr);
  cairo_pattern_destroy(stock);
  cairo_set_line_width(cr, 1.5);
  SetColour(cr, ramp::kWalnut[5]);
  cairo_move_to(cr, CentreAt(200) + 14, 193);
  cairo_curve_to(cr, 150, 188, 205, 198, 250, 210);
  cairo_stroke(cr);

  // Receiver: a rounded block of blued steel where the barrel ends.
  const double ry = 164;
  const double rl = CentreAt(ry) - HalfWidthAt(ry) * 1.7, rr = CentreAt(ry) + HalfWidthAt(ry) * 1.7;
  cairo_move_to(cr, rl, ry + 8);
  cairo_curve_to(cr, rl, ry - 2, rr, ry - 2, rr, ry + 8);
  cairo_line_to(cr, CentreAt(kBottom) + HalfWidthAt(kBottom) * 1.7, kBottom);
  cairo_line_to(cr, CentreAt(kBottom) - HalfWidthAt(kBottom) * 1.7, kBottom);
  cairo_close_path(cr);
  Steel(cr, rl - 8, rr + 14);
  cairo_fill(cr);
  // Ejection port with the bolt's bright face.
  cairo_rectangle(cr, rr - 6, ry + 18, 9, 24);
  SetColour(cr, ramp::kGunMetal[0]);
  cairo_fill(cr);
  cairo_rectangle(cr, rr - 4, ry + 21, 5, 18);
  SetColour(cr, ramp::kGreys[10]);
  cairo_fill(cr);

  // Barrel with its highlight, tapering to the muzzle.
  Band(cr, kBeadY, ry + 4, 1.0, 0);
  Steel(cr, CentreAt(110) - 16, CentreAt(110) + 16);
  cairo_fill(cr);
  cairo_set_line_width(cr, 1);
  SetColour(cr, ramp::kGunMetal[0]);
  cairo_move_to(cr, CentreAt(kBeadY) - HalfWidthAt(kBeadY), kBeadY);
  cairo_line_to(cr, CentreAt(ry) - HalfWidthAt(ry), ry);
  cairo_move_to(cr, CentreAt(kBeadY) + HalfWidthAt(kBeadY), kBeadY);
  cairo_line_to(cr, CentreAt(ry) + HalfWidthAt(ry), ry);
  cairo_stroke(cr);
  // Ventilated rib along the top.
  cairo_set_line_width(cr, 1.6);
  SetColour(cr, ramp::kGreys[10]);
  cairo_move_to(cr, CentreAt(6), 6);
  cairo_line_to(cr, CentreAt(ry), ry);
  cairo_stroke(cr);
  for (double y = 14; y < ry - 4; y += 9 + y * 0.04) {
    SetColour(cr, ramp::kGunMetal[0]);
    cairo_rectangle(cr, CentreAt(y) - 1.2 - y * 0.01, y, 2.4 + y * 0.02, 1.5 + y * 0.012);
    cairo_fill(cr);
  }

  // Pump forend of walnut, grooved, sliding toward the shooter by `pump` pixels.
  const double f0 = 70 + pump, f1 = 150 + pump;
  const double g0 = HalfWidthAt(f0) * 1.5 + 3, g1 = HalfWidthAt(f1) * 1.5 + 3;
  cairo_move_to(cr, CentreAt(f0) - g0, f0 + 4);
  cairo_curve_to(cr, CentreAt(f0) - g0, f0 - 2, CentreAt(f0) + g0, f0 - 2, CentreAt(f0) + g0, f0 + 4);
  cairo_line_to(cr, CentreAt(f1) + g1, f1 - 4);
  cairo_curve_to(cr, CentreAt(f1) + g1, f1 + 3, CentreAt(f1) - g1, f1 + 3, CentreAt(f1) - g1, f1 - 4);
  cairo_close_path(cr);
  Walnut(cr, CentreAt(f1) - g1, CentreAt(f1) + g1);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.2);
  SetColour(cr, ramp::kWalnut[0]);
  cairo_stroke(cr);
  // Grooves: shallow arcs across the forend, dark with a light lip below.
  for (double y = f0 + 7; y < f1 - 5; y += 8) {
    const double hw = HalfWidthAt(y) * 1.5 + 1;
    cairo_set_line_width(cr, 1.6);
    SetColour(cr, ramp::kWalnut[0]);
    cairo_move_to(cr, CentreAt(y) - hw, y + 1.5);
    cairo_curve_to(cr, CentreAt(y) - hw * 0.4, y - 1.5, CentreAt(y) + hw * 0.4, y - 1.5, CentreAt(y) + hw, y + 1.5);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 0.8);
    SetColour(cr, ramp::kWalnut[5]);
    cairo_move_to(cr, CentreAt(y) - hw * 0.8, y + 2.6);
    cairo_curve_to(cr, CentreAt(y) - hw * 0.3, y + 0.4, CentreAt(y) + hw * 0.3, y + 0.4, CentreAt(y) + hw * 0.8, y + 2.6);
    cairo_stroke(cr);
  }

  // The bead: a brass dot at the muzzle.
  cairo_arc(cr, kBeadX, kBeadY + 0.5, 2.6, 0, 2 * M_PI);
  SetColour(cr, ramp::kLettering[1]);
  cairo_fill(cr);
  cairo_arc(cr, kBeadX - 0.6, kBeadY, 1.0, 0, 2 * M_PI);
  SetColour(cr, ramp::kWarmLight[3]);
  cairo_fill(cr);
}

}  // namespace

SpriteArt DrawGunSprite() {
  SpriteArt s;
  for (double pump : {0.0, 16.0, 32.0}) {
    Canvas c(ctlsize::kGunW, ctlsize::kGunH);
    DrawGun(c.cr(), pump);
    s.Add(c.ToRgba(), ctl::kGunHotX, ctl::kGunHotY);
  }
  // Recoil: the muzzle kicks up and to the right.
  Canvas c(ctlsize::kGunW, ctlsize::kGunH);
  cairo_t* cr = c.cr();
  cairo_translate(cr, 100, 232);
  cairo_rotate(cr, 0.07);
  cairo_translate(cr, -100, -226);
  DrawGun(cr, 0);
  s.Add(c.ToRgba(), ctl::kGunHotX, ctl::kGunHotY);
  return s;
}

namespace {
void Smoke(cairo_t* cr, double cx, double cy, double spread, uint32_t seed) {
  Rng rng(seed);
  for (int i = 0; i < 9; ++i) {
    const double x = cx + rng.Uniform(-spread, spread), y = cy + rng.Uniform(-spread * 0.8, spread * 0.5);
    const double r = rng.Uniform(7, 13);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    SetColour(cr, ramp::kSmoke[1 + (i % 3)], 0.9);
    cairo_fill(cr);
  }
}
}  // namespace

SpriteArt DrawMuzzleSprite() {
  SpriteArt s;
  const double cx = 50, cy = 60;
  {
    Canvas c(kMuzzleW, kMuzzleH);
    cairo_t* cr = c.cr();
    Smoke(cr, cx, cy - 26, 16, 5);
    // A star of flame tongues with a pale core.
    Rng rng(11);
    for (int i = 0; i < 12; ++i) {
      const double a = i * M_PI / 6 + rng.Uniform(-0.15, 0.15);
      const double len = (i % 2 ? 20 : 34) + rng.Uniform(-4, 4);
      cairo_move_to(cr, cx + std::cos(a - 0.22) * 7, cy + std::sin(a - 0.22) * 7);
      cairo_line_to(cr, cx + std::cos(a) * len, cy + std::sin(a) * len);
      cairo_line_to(cr, cx + std::cos(a + 0.22) * 7, cy + std::sin(a + 0.22) * 7);
      cairo_close_path(cr);
      SetColour(cr, ramp::kFlame[2 + (i % 2)]);
      cairo_fill(cr);
    }
    cairo_pattern_t* core = cairo_pattern_create_radial(cx, cy, 0, cx, cy, 17);
    Stop(core, 0, ramp::kFlame[0]);
    Stop(core, 0.55, ramp::kFlame[1]);
    Stop(core, 1, ramp::kFlame[2], 0.0);
    cairo_set_source(cr, core);
    cairo_arc(cr, cx, cy, 17, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(core);
    s.Add(c.ToRgba(), kMuzzleHotX, kMuzzleHotY);
  }
  {
    Canvas c(kMuzzleW, kMuzzleH);
    Smoke(c.cr(), cx, cy - 12, 22, 9);
    s.Add(c.ToRgba(), kMuzzleHotX, kMuzzleHotY);
  }
  return s;
}

}  // namespace artgen
