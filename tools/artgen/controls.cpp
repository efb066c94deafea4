// Button faces in carved and painted wood, the hunt choices, area previews and trophy plaques.
#include "tools/artgen/controls.h"

#include <cmath>

#include "tools/artgen/draw.h"
#include "tools/artgen/gun.h"
#include "tools/artgen/palette.h"

namespace artgen {

const HuntName kHuntNames[5] = {{"Florida", "Southeast"},
                                {"Gould's", "Mexico"},
                                {"Merriam's", "Colorado"},
                                {"Eastern", "Woodlands"},
                                {"Rio Grande", "Southwest"}};

namespace {

// Straight edges of a bevel: light along top and left, dark along bottom and right (swapped when sunk).
void Bevel(cairo_t* cr, double x, double y, double w, double h, double width, uint8_t light, uint8_t dark,
           bool sunk) {
  cairo_set_line_width(cr, width);
  const double o = width / 2;
  SetColour(cr, sunk ? dark : light);
  cairo_move_to(cr, x + o, y + h - o);
  cairo_line_to(cr, x + o, y + o);
  cairo_line_to(cr, x + w - o, y + o);
  cairo_stroke(cr);
  SetColour(cr, sunk ? light : dark);
  cairo_move_to(cr, x + w - o, y + o);
  cairo_line_to(cr, x + w - o, y + h - o);
  cairo_line_to(cr, x + o, y + h - o);
  cairo_stroke(cr);
}

void Nail(cairo_t* cr, double x, double y) {
  cairo_arc(cr, x, y, 2.6, 0, 2 * M_PI);
  SetColour(cr, ramp::kGunMetal[1]);
  cairo_fill(cr);
  cairo_arc(cr, x - 0.7, y - 0.7, 1.1, 0, 2 * M_PI);
  SetColour(cr, pal::kBevelShadow);
  cairo_fill(cr);
}

// Cuts the canvas to a rounded plank shape: outside it becomes fully transparent.
void ClipToShape(Canvas& c, double radius) {
  cairo_t* cr = c.cr();
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
  RoundedRect(cr, 0.5, 0.5, c.width() - 1, c.height() - 1, radius);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  cairo_fill(cr);
  cairo_restore(cr);
}

void Outline(Canvas& c, double radius) {
  cairo_t* cr = c.cr();
  RoundedRect(cr, 1, 1, c.width() - 2, c.height() - 2, radius);
  cairo_set_line_width(cr, 2);
  SetColour(cr, ramp::kDarkBrown[0]);
  cairo_stroke(cr);
}

// Fits the lines to the button: shrinks the size until the widest line has a margin on both sides.
double FitSize(cairo_t* cr, Face face, const std::vector<std::string>& lines, double size, double maxWidth) {
  for (; size > 8; size -= 0.5) {
    SelectFace(cr, face, size);
    double widest = 0;
    for (const std::string& l : lines) widest = std::max(widest, TextWidth(cr, l));
    if (widest <= maxWidth) break;
  }
  return size;
}

void Lettering(Canvas& c, const std::vector<std::string>& lines, double fontSize, Look look, double lineGap) {
  cairo_t* cr = c.cr();
  const double size = FitSize(cr, Face::SerifBold, lines, fontSize, c.width() - 14);
  SelectFace(cr, Face::SerifBold, size);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  const double lineH = size * lineGap;
  const double block = lineH * (lines.size() - 1) + fe.ascent * 0.72;
  const double shift = look == Look::Pressed ? 1 : 0;
  double baseline = (c.height() - block) / 2 + fe.ascent * 0.72 + shift;
  const uint8_t fill = look == Look::Highlighted ? ramp::kFlame[1] : look == Look::Pressed ? ramp::kLettering[3]
                                                                                           : ramp::kLettering[0];
  for (const std::string& l : lines) {
    CarvedText(cr, l, c.width() / 2.0 + shift, baseline, fill, ramp::kDarkBrown[0], ramp::kWood[8]);
    baseline += lineH;
  }
}

}  // namespace

RgbaImage DrawPlankButton(int w, int h, const std::vector<std::string>& lines, double fontSize, Look look,
                          uint32_t seed) {
  Canvas c(w, h);
  const double tone = look == Look::Highlighted ? 0.55 : look == Look::Pressed ? -0.55 : 0.0;
  WoodGrain(c, 0, 0, w, h, tone, seed);
  cairo_t* cr = c.cr();
  const bool sunk = look == Look::Pressed;
  Bevel(cr, 2, 2, w - 4, h - 4, 3, look == Look::Highlighted ? ramp::kWarmLight[1] : ramp::kWood[8],
        ramp::kDarkBrown[1], sunk);
  if (look == Look::Highlighted) {
    RoundedRect(cr, 6, 6, w - 12, h - 12, 3);
    cairo_set_line_width(cr, 1.5);
    SetColour(cr, ramp::kLettering[1]);
    cairo_stroke(cr);
  }
  if (h >= 40 && w >= 120) {
    Nail(cr, 10, h / 2.0);
    Nail(cr, w - 10, h / 2.0);
  }
  Lettering(c, lines, fontSize, look, 1.1);
  Outline(c, 5);
  ClipToShape(c, 5);
  return c.ToRgba();
}

namespace {

// A hunt choice: a dark board nailed on the sign, naming the subspecies and, smaller, the location.
// The chosen board is pressed into the sign, its edge burnt dark and its name in gold leaf.
RgbaImage DrawHuntChoice(int hunt, bool chosen) {
  const int w = ctlsize::kHuntW, h = ctlsize::kHuntH;
  Canvas c(w, h);
  WoodGrain(c, 0, 0, w, h, chosen ? -1.0 : -0.45, 900 + hunt);
  cairo_t* cr = c.cr();
  if (chosen) {
    // Scorched in from the edge, as with a hot iron: darkest at the rim, fading inward.
    for (int i = 0; i < 11; ++i) {
      RoundedRect(cr, 3 + i, 3 + i, w - 6 - 2 * i, h - 6 - 2 * i, 5);
      cairo_set_line_width(cr, 1.2);
      SetColour(cr, ramp::kDarkBrown[0], 0.85 * (1 - i / 11.0));
      cairo_stroke(cr);
    }
  }
  Bevel(cr, 2, 2, w - 4, h - 4, 3, ramp::kWood[7], ramp::kDarkBrown[1], chosen);
  if (chosen) {
    // A line of gold paint just inside the scorch, laid on by hand.
    RoundedRect(cr, 7.5, 7.5, w - 15, h - 15, 4);
    cairo_set_line_width(cr, 1.6);
    SetColour(cr, ramp::kLettering[2]);
    cairo_stroke(cr);
  }
  const HuntName& n = kHuntNames[hunt];
  const double shift = chosen ? 1 : 0;
  const uint8_t name = chosen ? ramp::kLettering[1] : ramp::kLettering[0];
  const uint8_t place = chosen ? ramp::kLettering[1] : ramp::kWarmLight[1];
  double size = FitSize(cr, Face::SerifBold, {n.subspecies}, 17, w - 14);
  SelectFace(cr, Face::SerifBold, size);
  CarvedText(cr, n.subspecies, w / 2.0 + shift, 30 + shift, name, ramp::kDarkBrown[0], ramp::kWood[6]);
  size = FitSize(cr, Face::SerifBold, {n.location}, 14, w - 14);
  SelectFace(cr, Face::SerifBold, size);
  CarvedText(cr, n.location, w / 2.0 + shift, 50 + shift, place, ramp::kDarkBrown[0], ramp::kWood[6]);
  Outline(c, 5);
  ClipToShape(c, 5);
  return c.ToRgba();
}

// A walnut plaque with the trophy bird mounted on it.
RgbaImage DrawTrophyPlaque(const RgbaImage& bird, int index) {
  const int w = ctlsize::kTrophyW, h = ctlsize::kTrophyH;
  Canvas c(w, h);
  cairo_t* cr = c.cr();
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 8);
  cairo_pattern_t* grad = cairo_pattern_create_linear(0, 0, w, h);
  auto stop = [&](double at, uint8_t idx) {
    const Rgb& k = CommonPalette()[idx];
    cairo_pattern_add_color_stop_rgb(grad, at, k.r / 255.0, k.g / 255.0, k.b / 255.0);
  };
  stop(0, ramp::kWalnut[4]);
  stop(1, ramp::kWalnut[1]);
  cairo_set_source(cr, grad);
  cairo_fill(cr);
  cairo_pattern_destroy(grad);
  RoundedRect(cr, 4, 4, w - 8, h - 8, 6);
  SetColour(cr, ramp::kDarkBrown[1]);
  cairo_fill(cr);
  cairo_set_line_width(cr, 1.5);
  RoundedRect(cr, 1.5, 1.5, w - 3, h - 3, 7);
  SetColour(cr, ramp::kLettering[2]);
  cairo_stroke(cr);
  RgbaImage out = c.ToRgba();
  if (bird.width > 0) {
    const double scale = std::min((w - 10.0) / bird.width, (h - 10.0) / bird.height);
    Composite(out, bird, (w - bird.width * scale) / 2, h - 5 - bird.height * scale, scale);
  }
  (void)index;
  return out;
}

}  // namespace

std::vector<SpriteArt> DrawControlSprites(const std::vector<RgbaImage>& previews,
                                          const std::vector<RgbaImage>& trophies) {
  std::vector<SpriteArt> s(ctl::kCount);
  using namespace ctlsize;
  // Mask 14: highlighted, normal, pressed.
  auto mask14 = [&](int id, int w, int h, std::vector<std::string> lines, double size) {
    for (Look look : {Look::Highlighted, Look::Normal, Look::Pressed})
      s[id].Add(DrawPlankButton(w, h, lines, size, look, 100 + id));
  };
  // Mask 6: highlighted, normal.
  auto mask6 = [&](int id, int w, int h, std::vector<std::string> lines, double size) {
    for (Look look : {Look::Highlighted, Look::Normal}) s[id].Add(DrawPlankButton(w, h, lines, size, look, 100 + id));
  };
  mask6(ctl::kCall1, kCallW, kCallH, {"Box Call"}, 18);
  mask6(ctl::kCall2, kCallW, kCallH, {"Slate Call"}, 18);
  mask14(ctl::kCancel, kDialogW, kDialogH, {"Cancel"}, 21);
  mask14(ctl::kReset, kDialogW, kDialogH, {"Reset"}, 21);
  mask14(ctl::kExit, kMenuW, kMenuH, {"Exit"}, 28);
  mask6(ctl::kReturn, kReturnW, kReturnH, {"Return"}, 18);
  // Mask 10: normal, pressed; the aim button stays pressed while the gun is up.
  s[ctl::kAim].Add(DrawPlankButton(kAimW, kAimH, {"Aim"}, 22, Look::Normal, 106));
  s[ctl::kAim].Add(DrawPlankButton(kAimW, kAimH, {"Aiming"}, 22, Look::Pressed, 106));
  for (int hunt = 0; hunt < 5; ++hunt) {
    s[ctl::kHuntFirst + hunt].Add(DrawHuntChoice(hunt, false));
    s[ctl::kHuntFirst + hunt].Add(DrawHuntChoice(hunt, true));
  }
  mask14(ctl::kTrophyRoom, kMenuW, kMenuH, {"Trophy Room"}, 28);
  mask14(ctl::kOk, kDialogW, kDialogH, {"OK"}, 22);
  mask14(ctl::kHunt, kMenuW, kMenuH, {"Hunt"}, 28);
  for (int i = 0; i < 5; ++i)
    s[ctl::kPreview].Add(i < static_cast<int>(previews.size()) ? previews[i] : RgbaImage(kPreviewW, kPreviewH, 0xFF000000u));
  s[ctl::kGun] = DrawGunSprite();
  s[ctl::kMuzzle] = DrawMuzzleSprite();
  for (int i = 0; i < 5; ++i)
    s[ctl::kTrophy].Add(DrawTrophyPlaque(i < static_cast<int>(trophies.size()) ? trophies[i] : RgbaImage(), i));
  return s;
}

}  // namespace artgen
