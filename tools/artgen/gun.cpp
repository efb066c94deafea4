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

void DrawGun(cairo_t* cr, double pump) {
  // Stock wedge at the lower right, where the cheek rests.
  cairo_move_to(cr, 96, 196);
  cairo_curve_to(cr, 150, 188, 210, 200, 250, 214);
  cairo_line_to(cr, 250, 232);
  cairo_line_to(cr, 90, 232);
  cairo_close_path(cr);
  cairo_pattern_t* stock = cairo_pattern_create_linear(0, 190, 0, 232);
  Stop(stock, 0, ramp::kWalnut[5]);
  Stop(stock, 0.5, ramp::kWalnut[3]);
  Stop(stock, 1, ramp::kWalnut[1]);
  cairo_set_source(cr, stock);
  cairo_fill(cr);
  cairo_pattern_destroy(stock);

  // Receiver: blued steel block under the barrel's end.
  Band(cr, 168, kBottom, 1.55, 2);
  cairo_pattern_t* recv = cairo_pattern_create_linear(CentreAt(200) - 40, 0, CentreAt(200) + 40, 0);
  Stop(recv, 0, ramp::kGunMetal[0]);
  Stop(recv, 0.35, ramp::kGunMetal[3]);
  Stop(recv, 0.6, ramp::kGunMetal[1]);
  Stop(recv, 1, ramp::kGunMetal[0]);
  cairo_set_source(cr, recv);
  cairo_fill(cr);
  cairo_pattern_destroy(recv);
  // Ejection port.
  cairo_rectangle(cr, CentreAt(190) + HalfWidthAt(190) * 0.9, 182, 12, 22);
  SetColour(cr, ramp::kDarkBrown[0]);
  cairo_fill(cr);

  // Barrel with a highlight along its left shoulder.
  Band(cr, kBeadY, 175, 1.0, 0);
  cairo_pattern_t* barrel = cairo_pattern_create_linear(CentreAt(120) - 20, 0, CentreAt(120) + 20, 0);
  Stop(barrel, 0, ramp::kGunMetal[0]);
  Stop(barrel, 0.3, ramp::kGreys[9]);
  Stop(barrel, 0.45, ramp::kGunMetal[2]);
  Stop(barrel, 1, ramp::kGunMetal[0]);
  cairo_set_source(cr, barrel);
  cairo_fill(cr);
  cairo_pattern_destroy(barrel);
  // Ventilated rib along the top.
  cairo_set_line_width(cr, 1.6);
  SetColour(cr, ramp::kGreys[10]);
  cairo_move_to(cr, CentreAt(6), 6);
  cairo_line_to(cr, CentreAt(175), 175);
  cairo_stroke(cr);
  for (double y = 14; y < 170; y += 9 + y * 0.04) {
    SetColour(cr, ramp::kGunMetal[0]);
    cairo_rectangle(cr, CentreAt(y) - 1.2 - y * 0.01, y, 2.4 + y * 0.02, 1.5 + y * 0.012);
    cairo_fill(cr);
  }

  // Pump forend of walnut, grooved, sliding toward the shooter by `pump` pixels.
  const double f0 = 78 + pump, f1 = 150 + pump;
  Band(cr, f0, f1, 1.75, 3);
  cairo_pattern_t* fore = cairo_pattern_create_linear(CentreAt(f1) - 45, 0, CentreAt(f1) + 45, 0);
  Stop(fore, 0, ramp::kWalnut[1]);
  Stop(fore, 0.35, ramp::kWalnut[5]);
  Stop(fore, 0.7, ramp::kWalnut[3]);
  Stop(fore, 1, ramp::kWalnut[0]);
  cairo_set_source(cr, fore);
  cairo_fill(cr);
  cairo_pattern_destroy(fore);
  cairo_set_line_width(cr, 1.4);
  for (double y = f0 + 6; y < f1 - 3; y += 7) {
    SetColour(cr, ramp::kWalnut[0]);
    cairo_move_to(cr, CentreAt(y) - HalfWidthAt(y) * 1.6, y);
    cairo_line_to(cr, CentreAt(y) + HalfWidthAt(y) * 1.6, y + 1);
    cairo_stroke(cr);
  }

  // The left hand in a leather glove, fingers curled over the forend.
  const double hy = (f0 + f1) / 2;
  const double hx = CentreAt(hy) - HalfWidthAt(hy) * 1.75 - 6;
  cairo_save(cr);
  cairo_translate(cr, hx, hy);
  cairo_move_to(cr, -14, 34);
  cairo_curve_to(cr, -22, 10, -12, -22, 6, -24);
  cairo_line_to(cr, 20, -18);
  cairo_line_to(cr, 18, 26);
  cairo_curve_to(cr, 10, 36, -4, 40, -14, 34);
  cairo_close_path(cr);
  cairo_pattern_t* glove = cairo_pattern_create_linear(-20, 0, 20, 0);
  Stop(glove, 0, ramp::kBrowns[2]);
  Stop(glove, 0.6, ramp::kBrowns[6]);
  Stop(glove, 1, ramp::kBrowns[4]);
  cairo_set_source(cr, glove);
  cairo_fill(cr);
  cairo_pattern_destroy(glove);
  for (int f = 0; f < 4; ++f) {
    const double fy = -16 + f * 10;
    cairo_save(cr);
    cairo_translate(cr, 16, fy);
    cairo_scale(cr, 12, 5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColour(cr, ramp::kBrowns[5 + (f & 1)]);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    SetColour(cr, ramp::kBrowns[1]);
    cairo_stroke(cr);
  }
  cairo_restore(cr);

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
