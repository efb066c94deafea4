// The gobbler model: builds ellipsoids from a pose and ray-casts them with feather patterns and light.
#include "tools/artgen/turkey_model.h"

#include <algorithm>
#include <cmath>

namespace artgen::turkey {

using paint::Clamp01;
using paint::Hex;
using paint::Mix;
using paint::Rgb;
using paint::Smooth;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Rotation about the z axis (pitch of the body in bird space).
Vec3 RotZ(Vec3 v, double a) { return {v.x * std::cos(a) - v.y * std::sin(a), v.x * std::sin(a) + v.y * std::cos(a), v.z}; }
// Rotation about the x axis (roll).
Vec3 RotX(Vec3 v, double a) { return {v.x, v.y * std::cos(a) - v.z * std::sin(a), v.y * std::sin(a) + v.z * std::cos(a)}; }
// Rotation about the y axis.
Vec3 RotY(Vec3 v, double a) { return {v.x * std::cos(a) + v.z * std::sin(a), v.y, -v.x * std::sin(a) + v.z * std::cos(a)}; }

// An ellipsoid whose first axis points along `dir`, second as near `up` as it can.
Part Ell(Vec3 c, Vec3 dir, Vec3 up, double r1, double r2, double r3, Mat mat, int index = 0) {
  Part p;
  p.c = c;
  p.a[0] = Norm(dir);
  Vec3 side = Cross(p.a[0], up);
  if (Length(side) < 1e-6) side = Cross(p.a[0], Vec3{1, 0, 0});
  if (Length(side) < 1e-6) side = Cross(p.a[0], Vec3{0, 0, 1});
  p.a[2] = Norm(side);
  p.a[1] = Norm(Cross(p.a[2], p.a[0]));
  p.r[0] = r1;
  p.r[1] = r2;
  p.r[2] = r3;
  p.mat = mat;
  p.index = index;
  return p;
}

// A rod from a to b, thickness t.
Part Rod(Vec3 a, Vec3 b, double t, Mat mat, Vec3 up = {0, 1, 0}) {
  Vec3 d = b - a;
  double len = Length(d);
  return Ell((a + b) * 0.5, d, up, len * 0.5 + t * 0.35, t * 0.5, t * 0.5, mat);
}

// Applies a rigid motion (rotation then translation) to a part.
template <typename F>
void Transform(Part& p, F rotate, Vec3 pivot, Vec3 move) {
  p.c = rotate(p.c - pivot) + pivot + move;
  for (auto& a : p.a) a = rotate(a);
}

// Knee of a two-bone leg from hip to foot; the joint bends backward like a bird's hock.
Vec3 Hock(Vec3 hip, Vec3 foot, double upper, double lower) {
  Vec3 d = foot - hip;
  double dist = std::min(Length(d), upper + lower - 0.01);
  dist = std::max(dist, std::fabs(upper - lower) + 0.01);
  Vec3 dir = Norm(d);
  double along = (upper * upper - lower * lower + dist * dist) / (2 * dist);
  double h = std::sqrt(std::max(0.0, upper * upper - along * along));
  // Perpendicular in the leg's plane, pointing backward (-x).
  Vec3 perp = Norm(Cross(Vec3{0, 0, 1}, dir));
  if (perp.x > 0) perp = perp * -1;
  return hip + dir * along + perp * h;
}

void AddLeg(std::vector<Part>& out, Vec3 hip, Vec3 foot, double curl, double side) {
  Vec3 hock = Hock(hip, foot + Vec3{0, 4, 0}, 17, 22);
  Vec3 ankle = foot + Vec3{0, 3.5, 0};
  out.push_back(Rod(hip, hock, 9, Mat::Thigh));
  out.push_back(Rod(hock, ankle, 3.6, Mat::Leg));
  // Spur on the back of the shank.
  Vec3 spurAt = Lerp(hock, ankle, 0.65);
  out.push_back(Rod(spurAt, spurAt + Vec3{-3.2, -0.8, 0}, 1.6, Mat::Beak));
  // Three toes forward, one back; a lifted foot curls them down.
  for (int t = -1; t <= 1; ++t) {
    double spread = 0.42 * t;
    Vec3 dir = Norm(Vec3{std::cos(spread), -0.05 - 1.4 * curl, std::sin(spread) * side * 0 + std::sin(spread)});
    double len = t == 0 ? 10.0 : 8.0;
    out.push_back(Rod(ankle, ankle + dir * len, 2.0, Mat::Leg));
  }
  out.push_back(Rod(ankle, ankle + Norm(Vec3{-1, -0.2 - curl, 0}) * 4.5, 1.8, Mat::Leg));
}

}  // namespace

Look LookForSubspecies(int subspecies) {
  Look look;
  switch (subspecies) {
    case 0:  // Osceola: dark tips, little white in the wings
      look.tipBand = Hex(0x4A3020);
      look.wingWhite = 0.45;
      break;
    case 1:  // Gould's: white tips
      look.tipBand = Hex(0xF2EEE4);
      break;
    case 2:  // Merriam's: white tips
      look.tipBand = Hex(0xE8E2D2);
      break;
    case 4:  // Rio Grande: buff tips
      look.tipBand = Hex(0xC8A068);
      break;
    default:  // Eastern: chestnut tips
      look.tipBand = Hex(0x8A4A1E);
      break;
  }
  return look;
}

std::vector<Part> BuildBird(const Pose& pose, const Look&) {
  std::vector<Part> parts;
  const Vec3 bodyC{pose.bodyX, pose.bodyY, 0};
  const double pf = pose.puff;
  // Parts fixed to the body are made level, then pitched with it about its centre.
  std::vector<Part> bodyParts;
  bodyParts.push_back(Ell(bodyC, {1, 0, 0}, {0, 1, 0}, 32 * pf, 22 * pf, 20 * pf, Mat::Body));
  bodyParts.push_back(Ell(bodyC + Vec3{18, -4, 0}, {1, 0.3, 0}, {0, 1, 0}, 20 * pf, 22 * pf, 18.5 * pf, Mat::Breast));
  // Tail coverts, then the tail feathers: closed they lie back along the tail, open they stand as a fan.
  const Vec3 tailBase = bodyC + Vec3{-27 * pf, 3, 0};
  const int feathers = 18;
  for (int i = 0; i < feathers; ++i) {
    double f = (i + 0.5) / feathers * 2 - 1;  // -1..1 across the tail
    double ang = f * 1.45;
    Vec3 closed = Norm(Vec3{-1, -0.42 - 0.02 * std::fabs(f), f * 0.28});
    Vec3 open = Norm(Vec3{-0.22, std::cos(ang), std::sin(ang)});
    Vec3 dir = Norm(Lerp(closed, open, pose.fan));
    double len = (46 + 16 * pose.fan) - 5 * std::fabs(f) * std::fabs(f);
    // Feathers lie flat in the fan's plane: their width axis runs across the fan. Folded, the stack
    // shows its barred faces from the side.
    Vec3 across = Norm(Lerp(Norm(Cross(Vec3{0, 0, 1}, dir)), Norm(Cross(Vec3{-1, 0, 0}, dir)), pose.fan));
    Vec3 flatNormal = Norm(Cross(dir, across));
    Part p = Ell(tailBase + dir * (len * 0.5) + Vec3{0, 0.35 * (i - feathers / 2) * (1 - pose.fan), 0}, dir, flatNormal,
                 len * 0.5, 0.9, 5.2 + 1.5 * (1 - pose.fan), Mat::Feather, i);
    // Stagger the depth a little so neighbouring feathers overlap in order.
    p.c = p.c + flatNormal * (0.25 * i - 2.0);
    bodyParts.push_back(p);
    // Feathers are broad at the end: a rounded tip piece keeps the tip band unbroken across the fan.
    Part tip = Ell(p.c + dir * (len * 0.5 - 6.5), dir, flatNormal, 7.5, 1.0, 6.2 + 1.2 * pose.fan, Mat::FeatherTip, i);
    tip.c = tip.c + flatNormal * 0.05;
    bodyParts.push_back(tip);
  }
  const int coverts = 12;
  for (int i = 0; i < coverts; ++i) {
    double f = (i + 0.5) / coverts * 2 - 1;
    double ang = f * 1.35;
    Vec3 closed = Norm(Vec3{-1, -0.1, f * 0.45});
    Vec3 open = Norm(Vec3{-0.05, std::cos(ang), std::sin(ang)});
    Vec3 dir = Norm(Lerp(closed, open, pose.fan));
    double len = 22 + 8 * pose.fan;
    Vec3 across = Norm(Lerp(Norm(Cross(Vec3{0, 0, 1}, dir)), Norm(Cross(Vec3{-1, 0, 0}, dir)), pose.fan));
    Vec3 flatNormal = Norm(Cross(dir, across));
    Part p = Ell(tailBase + Vec3{4, 2, 0} + dir * (len * 0.5) + flatNormal * 2.5, dir, flatNormal, len * 0.5, 1.6, 6.5,
                 Mat::Covert, i);
    bodyParts.push_back(p);
  }
  // Wings, shoulder pivots on each side; folded along the body, spread out sideways, or dropped.
  for (int s = -1; s <= 1; s += 2) {
    Vec3 shoulder = bodyC + Vec3{12, 7 * pf, s * 14.0 * pf};
    Vec3 folded = Norm(Vec3{-1, -0.12, s * 0.05});
    Vec3 spread = Norm(Vec3{-0.3, 0.45, s * 1.0});
    Vec3 dropped = Norm(Vec3{-0.75, -0.75, s * 0.22});
    Vec3 dir = Norm(Lerp(Lerp(folded, dropped, pose.wingDrop), spread, pose.wingOpen));
    double len = 32 + 14 * pose.wingOpen;
    Vec3 flat = Norm(Lerp(Vec3{0, 0, static_cast<double>(s)}, Vec3{0, 1, 0}, pose.wingOpen));
    Vec3 up = Norm(Cross(flat, dir));
    if (up.y < 0) up = up * -1;
    Part w = Ell(shoulder + dir * (len * 0.78) + Vec3{0, 0, s * 3.0 * pf * (1 - pose.wingOpen)}, dir, up, len,
                 13 + 6 * pose.wingOpen, 4.5, Mat::Wing, s < 0 ? 0 : 1);
    bodyParts.push_back(w);
  }
  // Beard hangs from the breast.
  Vec3 beardTop = bodyC + Vec3{39 * pf, 5, 0};
  for (auto& p : bodyParts) Transform(p, [&](Vec3 v) { return RotZ(v, pose.bodyPitch); }, bodyC, {});
  {
    Vec3 top = RotZ(beardTop - bodyC, pose.bodyPitch) + bodyC;
    Vec3 bottom = top + Vec3{9, -31, 0};
    // Long and thick enough to show as a dark tassel on a bird far off.
    bodyParts.push_back(Ell(Lerp(top, bottom, 0.5), bottom - top, {1, 0, 0}, 16.5, 4.0, 3.2, Mat::Beard));
  }
  parts.insert(parts.end(), bodyParts.begin(), bodyParts.end());

  // Neck: a curve from the front of the body to the head, feathered low and bare skin high.
  Vec3 neckBase = RotZ(Vec3{24 * pf, 14 * pf, 0}, pose.bodyPitch) + bodyC;
  Vec3 head = pose.head;
  Vec3 ctrl = Vec3{neckBase.x + (head.x - neckBase.x) * 0.1, neckBase.y + (head.y - neckBase.y) * 0.75, 0};
  const int neckBalls = 12;
  for (int i = 0; i < neckBalls; ++i) {
    double t = i / static_cast<double>(neckBalls - 1) * 0.92;
    Vec3 p = Lerp(Lerp(neckBase, ctrl, t), Lerp(ctrl, head, t), t);
    Vec3 q = Lerp(Lerp(neckBase, ctrl, t + 0.05), Lerp(ctrl, head, t + 0.05), t + 0.05);
    double r = 10.0 * pf * (1 - t) + 4.4 * t;
    parts.push_back(Ell(p, q - p, {0, 0, 1}, r * 1.35, r, r * 0.95, t < 0.2 ? Mat::NeckFeather : Mat::NeckSkin, i * 6 / (neckBalls - 1)));
  }
  // Head, beak, eyes, snood, wattle and the caruncles on the throat.
  Vec3 fwd = RotY(RotZ(Vec3{1, 0, 0}, pose.headPitch), -pose.headTurn);
  Vec3 up = RotY(RotZ(Vec3{0, 1, 0}, pose.headPitch), -pose.headTurn);
  Vec3 right = Cross(fwd, up);
  parts.push_back(Ell(head, fwd, up, 7.0, 5.2, 4.6, Mat::Head));
  parts.push_back(Ell(head + fwd * 7.5 + up * -0.8, fwd + up * -0.35, up, 3.8, 1.7, 1.6, Mat::Beak));
  for (int s = -1; s <= 1; s += 2)
    parts.push_back(Ell(head + fwd * 2.2 + up * 1.3 + right * (s * 3.9), fwd, up, 1.2, 1.2, 0.8, Mat::Eye));
  {
    Vec3 a = head + fwd * 5.5 + up * 3.2;
    Vec3 b = a + fwd * 3.0 + up * (-9.0 * pose.snood);
    parts.push_back(Rod(a, b, 2.3, Mat::Snood, fwd));
  }
  parts.push_back(Ell(head + fwd * 1.5 + up * -7.0, up * -1 + fwd * 0.3, fwd, 5.5, 3.2, 3.0, Mat::Wattle));
  for (int i = 0; i < 4; ++i) {
    double t = 0.45 + 0.1 * i;
    Vec3 p = Lerp(Lerp(neckBase, ctrl, t), Lerp(ctrl, head, t), t);
    parts.push_back(Ell(p + Vec3{3.8 + 0.4 * i, 0, (i % 2 ? 1.5 : -1.5)}, {0, 1, 0}, {1, 0, 0}, 2.1, 2.0, 2.0, Mat::Caruncle, i));
  }

  // Legs: hips under the body, feet where the pose puts them.
  Vec3 hipL = bodyC + Vec3{-1, -17, -8}, hipR = bodyC + Vec3{-1, -17, 8};
  AddLeg(parts, hipL, pose.footL, pose.toeCurlL, -1);
  AddLeg(parts, hipR, pose.footR, pose.toeCurlR, 1);

  // Whole-bird roll (falling), about the length of the body.
  if (pose.roll != 0) {
    Vec3 pivot{0, 0, 0};
    for (auto& p : parts) Transform(p, [&](Vec3 v) { return RotX(v, pose.roll); }, pivot, {});
  }
  if (pose.keepOnGround) {
    double low = 1e9;
    for (const auto& p : parts) {
      double ext = 0;
      for (int i = 0; i < 3; ++i) ext += (p.r[i] * p.a[i].y) * (p.r[i] * p.a[i].y);
      low = std::min(low, p.c.y - std::sqrt(ext));
    }
    for (auto& p : parts) p.c.y -= low;
  }
  for (auto& p : parts) p.c.y += pose.lift;
  return parts;
}

namespace {

// Camera transform: yaw about the vertical, then pitch so the top of the bird leans toward the viewer.
Vec3 ToCamera(Vec3 v, const View& view) {
  // Yaw: the bird's forward (x) turns toward +z (the viewer) for positive yaw.
  Vec3 r{v.x * std::cos(view.yaw) - v.z * std::sin(view.yaw), v.y, v.x * std::sin(view.yaw) + v.z * std::cos(view.yaw)};
  return {r.x, r.y * std::cos(view.pitch) - r.z * std::sin(view.pitch), r.y * std::sin(view.pitch) + r.z * std::cos(view.pitch)};
}

Part ToCamera(const Part& p, const View& view) {
  Part q = p;
  q.c = ToCamera(p.c, view);
  for (int i = 0; i < 3; ++i) q.a[i] = ToCamera(p.a[i], view);
  return q;
}

void Extent(const Part& p, double& hx, double& hy) {
  hx = 0;
  hy = 0;
  for (int i = 0; i < 3; ++i) {
    hx += (p.r[i] * p.a[i].x) * (p.r[i] * p.a[i].x);
    hy += (p.r[i] * p.a[i].y) * (p.r[i] * p.a[i].y);
  }
  hx = std::sqrt(hx);
  hy = std::sqrt(hy);
}

double Fract(double v) { return v - std::floor(v); }

// Feather scallops: rows of overlapping feathers with a dark tip edge and a bright band inside it.
double Scallop(double along, double around, double rows, double cols, double& bright) {
  double rc = along * rows;
  double row = std::floor(rc);
  double t = rc - row;
  double c = around * cols + (static_cast<int>(row) % 2 ? 0.5 : 0.0);
  double fc = Fract(c) * 2 - 1;
  // Inside the rounded tip of this feather e < 0; the band just inside the edge is dark.
  double e = t - (1 - 0.5 * fc * fc);
  bright = Smooth(-0.36, -0.27, e) * (1 - Smooth(-0.22, -0.16, e));
  return Smooth(-0.22, -0.16, e) * (1 - Smooth(-0.01, 0.02, e));
}

struct Shade {
  Rgb albedo;
  double shine = 0;   // strength of the sheen highlight
  Rgb sheen{1, 1, 1};
};

Shade Material(const Part& p, const double l[3], Vec3 n, const Look& look) {
  // Dark bronze: a wild gobbler reads nearly black at a distance, so the body stays dark and its
  // feather pattern is a sheen on it rather than a light pattern that would break up when shrunk.
  const Rgb bronzeDark = Hex(0x100A06), bronze = Hex(0x281A0E), copper = Hex(0x7A4A20), gold = Hex(0xB08A3E),
            green = Hex(0x3C4E26);
  Shade s;
  double facing = Clamp01(n.z);
  Rgb iris = Mix(Mix(green, copper, Smooth(0.25, 0.75, facing)), gold, Smooth(0.8, 1.0, facing) * 0.5);
  switch (p.mat) {
    case Mat::Body:
    case Mat::Breast:
    case Mat::NeckFeather: {
      double around = std::atan2(l[1], l[2]) / kPi;
      double bright;
      double rows = p.mat == Mat::Body ? 8.0 : (p.mat == Mat::Breast ? 7.0 : 3.0);
      double tip = Scallop(1 - l[0], around, rows, 9.0, bright);
      Rgb base = Mix(bronze, iris, 0.28);
      if (p.mat == Mat::Breast) base = Mix(base, bronzeDark, 0.25);
      // The belly and lower flanks are duller and darker.
      base = Mix(base, Hex(0x2A1C10), Smooth(-0.2, -0.8, l[1]) * 0.7);
      s.albedo = Mix(Mix(base, copper, bright * 0.55), bronzeDark, tip * 0.7);
      s.shine = 0.35;
      s.sheen = iris;
      break;
    }
    case Mat::Thigh: {
      s.albedo = Mix(Hex(0x3A2816), Hex(0x241810), Smooth(0.0, 0.8, l[0]));
      s.shine = 0.1;
      break;
    }
    case Mat::Wing: {
      // Length coordinate: -1 at the shoulder, +1 at the wing tip.
      double u = l[0];
      double v = l[1];
      if (u < 0.2 + 0.35 * v) {
        double bright;
        double tip = Scallop(-u, std::atan2(l[1], l[2]) / kPi, 5.0, 5.0, bright);
        s.albedo = Mix(Mix(Mix(bronze, iris, 0.6), copper, bright * 0.6), bronzeDark, tip * 0.85);
        s.shine = 0.35;
        s.sheen = iris;
      } else {
        // Secondaries brown, primaries black, both crossed by white bars.
        double primary = Smooth(0.45, 0.6, u);
        Rgb dark = Mix(Hex(0x4A3420), Hex(0x16120E), primary);
        Rgb white = Mix(Hex(0x5A4632), Hex(0xECE6DA), look.wingWhite);
        double bars = Fract((u + 0.3 * v) * 7.5);
        double width = 0.5 - 0.18 * primary;
        double bar = Smooth(width - 0.08, width, bars) * (1 - Smooth(0.72, 0.8, bars));
        // Bars show on the flat faces of the wing, not on its rounded end seen from behind.
        bar *= Smooth(0.25, 0.6, std::fabs(l[2]));
        s.albedo = Mix(dark, Mix(Hex(0x9A8466), white, 0.4 + 0.6 * primary), bar * 0.85);
        // Feather edges along the wing.
        s.albedo = Mix(s.albedo, Hex(0x120E0A), Smooth(0.75, 0.95, Fract(v * 3.0 + 0.5)) * 0.5);
        s.shine = 0.1;
      }
      break;
    }
    case Mat::Feather:
    case Mat::Covert: {
      // Along the feather: base at -1, tip at +1.
      double u = l[0];
      double edge = std::fabs(l[2]);
      Rgb rust = p.mat == Mat::Feather ? Hex(0x6A4022) : Hex(0x5A3A1C);
      double fine = Fract(u * 9.0 + 0.15 * std::sin(l[2] * 3 + p.index));
      Rgb barred = Mix(rust, Hex(0x1C140C), Smooth(0.45, 0.6, fine) * 0.8);
      Rgb subterminal = Hex(0x18120C);
      double tipStart = p.mat == Mat::Feather ? 0.66 : 0.6;
      Rgb c = barred;
      c = Mix(c, subterminal, Smooth(tipStart - 0.22, tipStart - 0.16, u));
      c = Mix(c, p.mat == Mat::Feather ? look.tipBand : Mix(look.tipBand, copper, 0.4), Smooth(tipStart, tipStart + 0.05, u));
      c = Mix(c, paint::Scale(c, 0.6), Smooth(0.7, 1.0, edge));
      s.albedo = c;
      s.shine = u > tipStart - 0.22 && u < tipStart ? 0.35 : 0.08;
      s.sheen = iris;
      break;
    }
    case Mat::FeatherTip: {
      // Black subterminal band inside, the tip colour at the end.
      double u = l[0];
      Rgb c = Mix(Hex(0x18120C), look.tipBand, Smooth(-0.15, 0.0, u));
      s.albedo = Mix(c, paint::Scale(c, 0.7), Smooth(0.75, 1.0, std::fabs(l[2])));
      s.shine = u < 0 ? 0.35 : 0.08;
      s.sheen = iris;
      break;
    }
    case Mat::NeckSkin: {
      double t = p.index / 6.0;
      s.albedo = Mix(Hex(0xB8222A), Hex(0xC86878), Smooth(0.55, 1.0, t));
      s.shine = 0.25;
      break;
    }
    case Mat::Head: {
      // Forehead and crown whitish, face blue, throat red.
      Rgb blue = Hex(0x5E9AD4), white = Hex(0xE2ECF4), red = Hex(0xC02028);
      Rgb c = Mix(blue, white, Smooth(0.05, 0.5, l[1] + 0.35 * l[0]));
      c = Mix(c, red, Smooth(-0.2, -0.6, l[1]) * Smooth(0.3, -0.2, l[0]));
      s.albedo = c;
      s.shine = 0.3;
      break;
    }
    case Mat::Snood:
    case Mat::Wattle:
    case Mat::Caruncle:
      s.albedo = Mix(Hex(0xC41E26), Hex(0x8A1018), Smooth(-0.2, 0.8, -l[1]) * 0.5);
      s.shine = 0.3;
      break;
    case Mat::Beak:
      s.albedo = Mix(Hex(0xD0C4A8), Hex(0x8A7C66), Smooth(-0.5, 0.5, -l[1]));
      s.shine = 0.4;
      break;
    case Mat::Eye:
      s.albedo = Hex(0x140C08);
      s.shine = 0.9;
      break;
    case Mat::Beard:
      s.albedo = Mix(Hex(0x1A140E), Hex(0x3A2A18), Smooth(-0.6, 0.6, l[0]) * 0.6);
      s.shine = 0.05;
      break;
    case Mat::Leg:
      s.albedo = Mix(Hex(0xD8807A), Hex(0x9A5040), Smooth(-0.3, 0.6, -l[1]));
      s.shine = 0.2;
      break;
  }
  return s;
}

}  // namespace

void Bounds::Add(const Bounds& b) {
  minX = std::min(minX, b.minX);
  maxX = std::max(maxX, b.maxX);
  minY = std::min(minY, b.minY);
  maxY = std::max(maxY, b.maxY);
}

Bounds Measure(const std::vector<Part>& parts, const View& view) {
  Bounds b;
  for (const auto& p0 : parts) {
    Part p = ToCamera(p0, view);
    double hx, hy;
    Extent(p, hx, hy);
    b.minX = std::min(b.minX, p.c.x - hx);
    b.maxX = std::max(b.maxX, p.c.x + hx);
    b.minY = std::min(b.minY, p.c.y - hy);
    b.maxY = std::max(b.maxY, p.c.y + hy);
  }
  return b;
}

RgbaImage Render(const std::vector<Part>& parts, const View& view, const Look& look, int width, int height,
                 double originX, double originY, double pixelsPerUnit) {
  constexpr int kSS = 3;  // samples per pixel side
  const int sw = width * kSS, sh = height * kSS;
  const double unitsPerSample = 1.0 / (pixelsPerUnit * kSS);
  std::vector<float> depth(static_cast<size_t>(sw) * sh, -1e30f);
  std::vector<Rgb> color(static_cast<size_t>(sw) * sh);
  const Vec3 light = Norm(Vec3{-0.55, 0.7, 0.6});
  const Vec3 halfway = Norm(light + Vec3{0, 0, 1});

  // Nearest parts first, so samples hidden behind them fail the depth test before any shading.
  std::vector<Part> cam;
  cam.reserve(parts.size());
  for (const auto& p0 : parts) cam.push_back(ToCamera(p0, view));
  std::stable_sort(cam.begin(), cam.end(), [](const Part& a, const Part& b) { return a.c.z > b.c.z; });
  for (const auto& p : cam) {
    double hx, hy;
    Extent(p, hx, hy);
    int x0 = std::max(0, static_cast<int>(std::floor((p.c.x - hx - originX) / unitsPerSample)));
    int x1 = std::min(sw - 1, static_cast<int>(std::ceil((p.c.x + hx - originX) / unitsPerSample)));
    int y0 = std::max(0, static_cast<int>(std::floor((originY - (p.c.y + hy)) / unitsPerSample)));
    int y1 = std::min(sh - 1, static_cast<int>(std::ceil((originY - (p.c.y - hy)) / unitsPerSample)));
    double k[3], A = 0;
    for (int i = 0; i < 3; ++i) {
      k[i] = p.a[i].z / p.r[i];
      A += k[i] * k[i];
    }
    if (A <= 0) continue;
    for (int sy = y0; sy <= y1; ++sy) {
      double Y = originY - (sy + 0.5) * unitsPerSample;
      for (int sx = x0; sx <= x1; ++sx) {
        double X = originX + (sx + 0.5) * unitsPerSample;
        double qx = X - p.c.x, qy = Y - p.c.y;
        double pp[3], B = 0, C = -1;
        for (int i = 0; i < 3; ++i) {
          pp[i] = (qx * p.a[i].x + qy * p.a[i].y) / p.r[i];
          B += pp[i] * k[i];
          C += pp[i] * pp[i];
        }
        double D = B * B - A * C;
        if (D < 0) continue;
        double s = (-B + std::sqrt(D)) / A;
        double z = p.c.z + s;
        size_t idx = static_cast<size_t>(sy) * sw + sx;
        if (z <= depth[idx]) continue;
        double l[3];
        Vec3 n{0, 0, 0};
        for (int i = 0; i < 3; ++i) {
          l[i] = pp[i] + s * k[i];
          n = n + p.a[i] * (l[i] / p.r[i]);
        }
        n = Norm(n);
        Shade sh = Material(p, l, n, look);
        double diffuse = std::max(0.0, Dot(n, light));
        double specular = std::pow(std::max(0.0, Dot(n, halfway)), 14.0) * sh.shine;
        // Hand-painted look: a soft dark rim where the surface turns away.
        double rim = Smooth(0.0, 0.35, n.z);
        Rgb c = paint::Scale(sh.albedo, (0.38 + 0.85 * diffuse) * (0.55 + 0.45 * rim));
        c = Mix(c, sh.sheen, Clamp01(specular * 1.4));
        depth[idx] = static_cast<float>(z);
        color[idx] = c;
      }
    }
  }

  RgbaImage out(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int covered = 0;
      Rgb sum;
      for (int j = 0; j < kSS; ++j)
        for (int i = 0; i < kSS; ++i) {
          size_t idx = static_cast<size_t>(y * kSS + j) * sw + (x * kSS + i);
          if (depth[idx] > -1e29f) {
            ++covered;
            sum = paint::Add(sum, color[idx]);
          }
        }
      if (covered * 2 >= kSS * kSS) out.At(x, y) = paint::Pack(paint::Scale(sum, 1.0 / covered));
    }
  }
  return out;
}

}  // namespace artgen::turkey
