// Paints the program's own bitmaps and cursor in wood, bevels and carved lettering.
#include "tools/artgen/program_art.h"

#include <cmath>

#include "tools/artgen/draw.h"
#include "tools/artgen/palette.h"

namespace artgen {

namespace {

// A horizontal plank with rough ends, dark gaps and a few nails; `tone` shifts its shade.
void Plank(Canvas& c, int x, int y, int w, int h, double tone, uint32_t seed, bool nails = true) {
  WoodGrain(c, x, y, w, h, tone, seed);
  cairo_t* cr = c.cr();
  cairo_set_line_width(cr, 2);
  SetColour(cr, ramp::kDarkBrown[0]);
  cairo_rectangle(cr, x + 1, y + 1, w - 2, h - 2);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1);
  SetColour(cr, ramp::kWood[8], 0.9);
  cairo_move_to(cr, x + 2, y + 2.5);
  cairo_line_to(cr, x + w - 2, y + 2.5);
  cairo_stroke(cr);
  SetColour(cr, ramp::kDarkBrown[2], 0.9);
  cairo_move_to(cr, x + 2, y + h - 2.5);
  cairo_line_to(cr, x + w - 2, y + h - 2.5);
  cairo_stroke(cr);
  if (!nails) return;
  for (double nx : {x + 9.0, x + w - 9.0}) {
    cairo_arc(cr, nx, y + h / 2.0, 2.4, 0, 2 * M_PI);
    SetColour(cr, ramp::kGunMetal[1]);
    cairo_fill(cr);
    cairo_arc(cr, nx - 0.6, y + h / 2.0 - 0.6, 1.0, 0, 2 * M_PI);
    SetColour(cr, pal::kBevelShadow);
    cairo_fill(cr);
  }
}

void Post(Canvas& c, int x, int y, int w, int h, uint32_t seed) {
  WoodGrain(c, x, y, w, h, -0.45, seed, true);
  cairo_t* cr = c.cr();
  cairo_set_line_width(cr, 2);
  SetColour(cr, ramp::kDarkBrown[0]);
  cairo_rectangle(cr, x + 1, y + 1, w - 2, h);
  cairo_stroke(cr);
  SetColour(cr, ramp::kWood[7], 0.8);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, x + 2.5, y + 2);
  cairo_line_to(cr, x + 2.5, y + h);
  cairo_stroke(cr);
}

// Carved heading: gold letters with a dark cut below and a light edge above.
void Heading(Canvas& c, const char* text, double cx, double baseline, double size) {
  cairo_t* cr = c.cr();
  SelectFace(cr, Face::SerifBold, size);
  CarvedText(cr, text, cx, baseline, ramp::kLettering[1], ramp::kDarkBrown[0], ramp::kWood[8]);
}

}  // namespace

RgbaImage DrawTitleScreen(const RgbaImage& landscape) {
  Canvas c(landscape);
  cairo_t* cr = c.cr();
  using namespace titlesign;
  // Two posts carry the name board and the sign; they run down into the ground.
  Post(c, kLeft + 22, 98, 18, 382, 71);
  Post(c, kRight - 40, 98, 18, 382, 73);
  // Drop shadow of the sign on the posts and ground.
  cairo_rectangle(cr, kLeft + 6, kTop + 6, kRight - kLeft, kBottom - kTop);
  SetRgb(cr, 0, 0, 0, 0.35);
  cairo_fill(cr);
  // Name board above the sign.
  Plank(c, kLeft + 6, 104, kRight - kLeft - 12, 60, 0.2, 77);
  Heading(c, "Brushfeather", (kLeft + kRight) / 2.0, 146, 40);
  // The blank sign: four planks with the menu's buttons on them.
  const int plankH = (kBottom - kTop) / 4;
  for (int i = 0; i < 4; ++i) {
    const int y = kTop + i * plankH;
    const int h = i == 3 ? kBottom - y : plankH;
    Plank(c, kLeft, y, kRight - kLeft, h, -0.1 + 0.12 * ((i * 7) % 3), 80 + i);
  }
  cairo_set_line_width(cr, 3);
  SetColour(cr, ramp::kDarkBrown[0]);
  cairo_rectangle(cr, kLeft + 1.5, kTop + 1.5, kRight - kLeft - 3, kBottom - kTop - 3);
  cairo_stroke(cr);
  return c.ToRgba();
}

RgbaImage DrawControlBarStrip() {
  Canvas c(640, 56);
  Plank(c, 0, 0, 640, 28, 0.0, 301);
  Plank(c, 0, 28, 640, 28, -0.25, 302);
  cairo_t* cr = c.cr();
  SetColour(cr, ramp::kDarkBrown[0]);
  cairo_rectangle(cr, 0, 0, 640, 2);
  cairo_fill(cr);
  return c.ToRgba();
}

RgbaImage DrawTrophyFrame() {
  Canvas c(640, 480);
  cairo_t* cr = c.cr();
  // Frame boards: a deep top board for the name, narrower sides, a bottom board for the buttons.
  for (int i = 0; i < 3; ++i) Plank(c, 0, i * 28, 640, 28, 0.1 - 0.1 * i, 400 + i);
  for (int i = 0; i < 2; ++i) Plank(c, 0, 428 + i * 26, 640, 26, -0.15 * i, 410 + i);
  Post(c, 0, 84, 28, 344, 420);
  Post(c, 612, 84, 28, 344, 520);
  // The dark inner panel, sunk behind a bevelled moulding.
  cairo_rectangle(cr, 28, 84, 584, 344);
  cairo_pattern_t* panel = cairo_pattern_create_linear(0, 84, 0, 428);
  auto stop = [&](double at, uint8_t idx) {
    const Rgb& k = CommonPalette()[idx];
    cairo_pattern_add_color_stop_rgb(panel, at, k.r / 255.0, k.g / 255.0, k.b / 255.0);
  };
  stop(0, ramp::kDarkBrown[1]);
  stop(1, ramp::kDarkBrown[1]);
  cairo_set_source(cr, panel);
  cairo_fill(cr);
  cairo_pattern_destroy(panel);
  cairo_set_line_width(cr, 4);
  SetColour(cr, ramp::kDarkBrown[0]);
  cairo_move_to(cr, 26, 430);
  cairo_line_to(cr, 26, 82);
  cairo_line_to(cr, 614, 82);
  cairo_stroke(cr);
  SetColour(cr, ramp::kWood[7]);
  cairo_move_to(cr, 614, 82);
  cairo_line_to(cr, 614, 430);
  cairo_line_to(cr, 26, 430);
  cairo_stroke(cr);
  // Brass name plate on the top board.
  RoundedRect(cr, 200, 14, 240, 56, 8);
  cairo_pattern_t* brass = cairo_pattern_create_linear(0, 14, 0, 70);
  const Rgb& a = CommonPalette()[ramp::kLettering[1]];
  const Rgb& b = CommonPalette()[ramp::kLettering[2]];
  cairo_pattern_add_color_stop_rgb(brass, 0, a.r / 255.0, a.g / 255.0, a.b / 255.0);
  cairo_pattern_add_color_stop_rgb(brass, 1, b.r / 255.0, b.g / 255.0, b.b / 255.0);
  cairo_set_source(cr, brass);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(brass);
  cairo_set_line_width(cr, 2);
  SetColour(cr, ramp::kDarkBrown[0]);
  cairo_stroke(cr);
  SelectFace(cr, Face::SerifBold, 32);
  CarvedText(cr, "Trophy Room", 320, 53, ramp::kDarkBrown[1], ramp::kLettering[2], ramp::kWarmLight[0]);
  return c.ToRgba();
}

RgbaImage DrawSetupSign() {
  constexpr int W = 529, H = 395;
  Canvas c(W, H);
  cairo_t* cr = c.cr();
  // Six planks: heading, three dark rows (name, first and second row of hunts), and the lower plank
  // with the preview box and the two buttons.
  struct Row {
    int y, h;
    double tone;
  };
  const Row rows[] = {{4, 50, 0.25}, {54, 38, -1.25}, {92, 84, -1.25}, {176, 76, -1.25}, {252, 70, 0.1}, {322, 68, 0.0}};
  for (int i = 0; i < 6; ++i) Plank(c, 8, rows[i].y, W - 16, rows[i].h, rows[i].tone, 600 + i, i != 4);
  cairo_set_line_width(cr, 3);
  SetColour(cr, ramp::kDarkBrown[0]);
  cairo_rectangle(cr, 9.5, 5.5, W - 19, H - 15);
  cairo_stroke(cr);
  Heading(c, "Choose Hunting Location", W / 2.0, 38, 27);
  // The name row: a carved label left of the edit field, and a sunk frame around the field.
  SelectFace(cr, Face::SerifBold, 15);
  CarvedText(cr, "Hunter:", 100, 76, ramp::kLettering[0], ramp::kDarkBrown[0], ramp::kWood[5]);
  cairo_set_line_width(cr, 2);
  SetColour(cr, pal::kBevelDarkShadow);
  cairo_move_to(cr, 137, 82);
  cairo_line_to(cr, 137, 59);
  cairo_line_to(cr, 393, 59);
  cairo_stroke(cr);
  SetColour(cr, pal::kBevelLight);
  cairo_move_to(cr, 393, 59);
  cairo_line_to(cr, 393, 82);
  cairo_line_to(cr, 137, 82);
  cairo_stroke(cr);
  cairo_rectangle(cr, 138, 60, 254, 21);
  SetColour(cr, pal::kWhite);
  cairo_fill(cr);
  // Grey box for the preview (inside 75..455 x 255..311).
  cairo_rectangle(cr, 68, 248, 394, 70);
  SetColour(cr, pal::kBevelFace);
  cairo_fill(cr);
  cairo_set_line_width(cr, 2);
  SetColour(cr, pal::kBevelLight);
  cairo_move_to(cr, 69, 317);
  cairo_line_to(cr, 69, 249);
  cairo_line_to(cr, 461, 249);
  cairo_stroke(cr);
  SetColour(cr, pal::kBevelDarkShadow);
  cairo_move_to(cr, 461, 249);
  cairo_line_to(cr, 461, 317);
  cairo_line_to(cr, 69, 317);
  cairo_stroke(cr);
  SetColour(cr, pal::kBevelShadow);
  cairo_rectangle(cr, 73, 253, 384, 60);
  cairo_fill(cr);
  // Rope ends at the top corners, as if the sign hangs from a branch.
  for (double rx : {40.0, W - 40.0}) {
    cairo_arc(cr, rx, 14, 5, 0, 2 * M_PI);
    SetColour(cr, ramp::kEarth[4]);
    cairo_fill(cr);
  }
  return c.ToRgba();
}

RgbaImage DrawCursor() {
  Canvas c(32, 32);
  cairo_t* cr = c.cr();
  cairo_move_to(cr, 1, 1);
  cairo_line_to(cr, 1, 22);
  cairo_line_to(cr, 6.5, 17);
  cairo_line_to(cr, 10.5, 26);
  cairo_line_to(cr, 14, 24.5);
  cairo_line_to(cr, 10, 15.5);
  cairo_line_to(cr, 17, 15.5);
  cairo_close_path(cr);
  SetColour(cr, ramp::kLettering[1]);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.5);
  SetColour(cr, ramp::kDarkBrown[0]);
  cairo_stroke(cr);
  return c.ToRgba();
}

}  // namespace artgen
