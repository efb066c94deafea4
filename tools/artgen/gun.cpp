// Draws the pump shotgun seen from behind the shooter (a small ray-marched model), and its muzzle blast.
#include "tools/artgen/gun.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/artgen/painter_canvas.h"
#include "tools/artgen/vec3.h"

namespace artgen {

namespace {

using paint::Clamp01;
using paint::Hex;
using paint::Mix;
using paint::Rgb;
using paint::Smooth;

constexpr double kPi = 3.14159265358979323846;

double Len2(double a, double b) { return std::sqrt(a * a + b * b); }

// --- the gun as distance fields, in inches: z along the bore toward the muzzle (0 at the back of the
// receiver), y up, x to the shooter's right ---

enum class Mat { Barrel, Rib, Bead, Magazine, Forend, ActionBar, Receiver, PortInside, Bolt, Stock, Hull, Brass };

struct Sample {
  double d;
  Mat mat;
};
void Take(Sample& s, double d, Mat m) {
  if (d < s.d) s = {d, m};
}

// A solid cylinder about the z axis through (0, cy), from z0 to z1.
double Cylinder(Vec3 p, double cy, double r, double z0, double z1) {
  const double dr = Len2(p.x, p.y - cy) - r, dz = std::max(z0 - p.z, p.z - z1);
  return std::min(std::max(dr, dz), 0.0) + Len2(std::max(dr, 0.0), std::max(dz, 0.0));
}

double Box(Vec3 p, Vec3 c, Vec3 half, double round = 0) {
  const Vec3 q{std::fabs(p.x - c.x) - half.x + round, std::fabs(p.y - c.y) - half.y + round,
             std::fabs(p.z - c.z) - half.z + round};
  const Vec3 o{std::max(q.x, 0.0), std::max(q.y, 0.0), std::max(q.z, 0.0)};
  return Length(o) + std::min(std::max(q.x, std::max(q.y, q.z)), 0.0) - round;
}

struct GunPose {
  double pump = 0;      // how far the forend has slid back, inches
  bool shell = false;   // a spent shell leaving the ejection port
};

constexpr double kMuzzleZ = 28.5, kReceiverZ = 7.2;
double BarrelRadius(double z) { return 0.43 - 0.07 * Clamp01((z - kReceiverZ) / (kMuzzleZ - kReceiverZ)); }
constexpr double kRibGap = 0.11, kRibThick = 0.07;
const Vec3 kBeadAt{0, 0.36 + kRibGap + kRibThick + 0.09, kMuzzleZ - 0.25};
constexpr double kBeadRadius = 0.12;
constexpr double kForendFront = 19.6, kForendLength = 8.8;

// A part is only worked out near its bounding box; farther away the box's distance is close enough.
bool Far(const Sample& s, double bound) { return bound > 0.3 && bound > s.d; }

Sample Gun(Vec3 p, const GunPose& pose) {
  Sample s{1e9, Mat::Barrel};
  // Barrel (tapering toward the muzzle) with its ventilated rib on posts, and the bead.
  {
    const double bound = Box(p, {0, 0.1, (kReceiverZ + kMuzzleZ) / 2}, {0.5, 0.7, (kMuzzleZ - kReceiverZ) / 2 + 0.3});
    if (Far(s, bound)) {
      s.d = std::min(s.d, bound);
    } else {
      const double r = BarrelRadius(p.z);
      const double dr = Len2(p.x, p.y) - r, dz = std::max(kReceiverZ - 0.2 - p.z, p.z - kMuzzleZ);
      Take(s, std::min(std::max(dr, dz), 0.0) + Len2(std::max(dr, 0.0), std::max(dz, 0.0)), Mat::Barrel);
      Take(s, Box(p, {0, r + kRibGap + kRibThick / 2, (kReceiverZ + kMuzzleZ) / 2 - 0.1},
                  {0.15, kRibThick / 2, (kMuzzleZ - kReceiverZ) / 2 - 0.15}), Mat::Rib);
      const double cell = 1.3;
      const double local = p.z - kReceiverZ - cell * std::floor((p.z - kReceiverZ) / cell) - cell / 2;
      if (p.z > kReceiverZ && p.z < kMuzzleZ - 0.3)
        Take(s, Box({p.x, p.y, local}, {0, r + kRibGap / 2, 0}, {0.08, kRibGap / 2 + 0.02, 0.12}), Mat::Rib);
      Take(s, Length(p - kBeadAt) - kBeadRadius, Mat::Bead);
    }
  }
  // Magazine tube under the barrel with its cap, and the barrel's ring clamped to it.
  {
    const double bound = Box(p, {0, -0.6, 14.5}, {0.45, 0.6, 7.6});
    if (Far(s, bound)) {
      s.d = std::min(s.d, bound);
    } else {
      Take(s, Cylinder(p, -0.8, 0.33, kReceiverZ - 0.2, 21.2), Mat::Magazine);
      Take(s, Cylinder(p, -0.8, 0.36, 21.1, 21.8) - 0.03, Mat::Magazine);
      Take(s, Box(p, {0, -0.42, 20.5}, {0.2, 0.36, 0.3}, 0.05), Mat::Magazine);
    }
  }
  // Forend of walnut round the magazine, fluted along its flanks, slid back by the pump; the action
  // bars run from it back into the receiver.
  {
    const double z1 = kForendFront - pose.pump, z0 = z1 - kForendLength;
    const double bound = Box(p, {0, -0.75, (kReceiverZ + z1) / 2}, {1.0, 0.75, (z1 - kReceiverZ) / 2 + 0.1});
    if (Far(s, bound)) {
      s.d = std::min(s.d, bound);
    } else {
      const double t = (p.z - z0) / (z1 - z0);
      // Flared where the hand stops, both ends rounded off.
      const double flare = 1 + 0.06 * Smooth(0.16, 0.05, t) - 0.35 * Smooth(0.05, 0.0, t) - 0.25 * Smooth(0.88, 1.0, t);
      const double a = 1.0 * flare, b = 0.62 * flare, cy = -0.64, round = 0.45 * flare;
      const double qx = std::fabs(p.x) - a + round, qy = std::fabs(p.y - cy) - b + round;
      double d = Len2(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - round;
      // Flutes: grooves running along it round the sides and the shoulders, stopping short of both ends.
      const double ang = std::atan2((p.y - cy) / b, p.x / a);
      const double along = Smooth(0.07, 0.14, t) * Smooth(0.93, 0.86, t);
      d += 0.055 * along * Smooth(0.35, 0.95, 0.5 + 0.5 * std::cos(ang * 22));
      const double dz = std::max(z0 - p.z, p.z - z1);
      Take(s, std::min(std::max(d, dz), 0.0) + Len2(std::max(d, 0.0), std::max(dz, 0.0)) - 0.02, Mat::Forend);
      for (double side : {-1.0, 1.0})
        Take(s, Box(p, {side * 0.4, -0.8, (kReceiverZ - 0.5 + z0) / 2}, {0.04, 0.12, (z0 - kReceiverZ + 0.5) / 2}),
             Mat::ActionBar);
    }
  }
  // Receiver: a steel block whose top rounds over, a matted strip along the top carrying the rib's
  // line, a collar where the barrel goes in, and the ejection port high on the flank the eye sees.
  {
    const double bound = Box(p, {-0.2, -0.45, kReceiverZ / 2 + 0.2}, {1.0, 1.1, kReceiverZ / 2 + 0.5});
    if (Far(s, bound)) {
      s.d = std::min(s.d, bound);
    } else {
      double d = Box(p, {0, -0.45, kReceiverZ / 2}, {0.64, 1.0, kReceiverZ / 2}, 0.16);
      d = std::max(d, Len2(p.x, p.y + 0.35) - 0.8);
      const double cut = Box(p, {-0.62, 0.08, 3.9}, {0.3, 0.19, 1.4}, 0.04);
      Take(s, std::max(d, -cut), Mat::Receiver);
      Take(s, Cylinder(p, 0, 0.52, kReceiverZ - 0.15, kReceiverZ + 0.45) - 0.03, Mat::Receiver);
      // Behind the port: the dark inside and the bolt, which rides back with the forend.
      Take(s, Box(p, {-0.2, 0.08, 3.9}, {0.2, 0.19, 1.45}), Mat::PortInside);
      const double boltBack = pose.pump * 0.45;
      Take(s, Box(p, {-0.3, 0.08, 3.3 - boltBack}, {0.3, 0.15, 0.9}, 0.03), Mat::Bolt);
    }
  }
  // Stock: the wrist and comb running back toward the shooter's cheek.
  {
    const double bound = Box(p, {0, -1.2, -7}, {0.8, 1.9, 7.1});
    if (Far(s, bound)) {
      s.d = std::min(s.d, bound);
    } else {
      const double t = Clamp01(-p.z / 9.0);
      const double top = 0.3 + 0.2 * t, bottom = -1.4 - 1.3 * t, half = 0.6 + 0.1 * t, round = 0.5;
      const double qx = std::fabs(p.x) - half + round, qy = std::fabs(p.y - (top + bottom) / 2) - (top - bottom) / 2 + round;
      const double d = Len2(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - round;
      const double dz = std::max(p.z - 0.05, -14.0 - p.z);
      Take(s, std::min(std::max(d, dz), 0.0) + Len2(std::max(d, 0.0), std::max(dz, 0.0)), Mat::Stock);
    }
  }
  // A spent shell on its way out of the port, tumbling away to the left.
  if (pose.shell) {
    const Vec3 c{-1.25, 0.55, 4.1};
    Vec3 q = p - c;
    const double a = -1.1, b = 0.5;  // turned in the horizontal plane, then tipped up
    q = {q.x * std::cos(a) - q.z * std::sin(a), q.y, q.x * std::sin(a) + q.z * std::cos(a)};
    q = {q.x, q.y * std::cos(b) - q.z * std::sin(b), q.y * std::sin(b) + q.z * std::cos(b)};
    const double hull = std::max(Len2(q.x, q.y) - 0.34, std::fabs(q.z) - 1.1);
    const double brass = std::max(Len2(q.x, q.y) - 0.36, std::fabs(q.z + 0.9) - 0.3);
    Take(s, hull, Mat::Hull);
    Take(s, brass, Mat::Brass);
  }
  return s;
}

// How open the surroundings of a point are (1 open, toward 0 in creases), from the field itself.
double Occlusion(Vec3 p, Vec3 n, const GunPose& pose) {
  double occ = 0, weight = 1;
  for (int i = 1; i <= 5; ++i) {
    const double h = 0.05 * i;
    occ += weight * std::max(0.0, h - Gun(p + n * h, pose).d);
    weight *= 0.6;
  }
  return Clamp01(1 - occ * 4.5);
}

Vec3 Normal(Vec3 p, const GunPose& pose) {
  const double e = 0.0015;
  return Norm({Gun({p.x + e, p.y, p.z}, pose).d - Gun({p.x - e, p.y, p.z}, pose).d,
               Gun({p.x, p.y + e, p.z}, pose).d - Gun({p.x, p.y - e, p.z}, pose).d,
               Gun({p.x, p.y, p.z + e}, pose).d - Gun({p.x, p.y, p.z - e}, pose).d});
}

// The camera: where the shooter's eye is in gun space, and its axes.
struct Camera {
  Vec3 eye, right, up, fwd;
  double focal = 560;  // pixels
  double cx = 0, cy = 0;
  Vec3 ToCamera(Vec3 p) const {
    const Vec3 d = p - eye;
    return {Dot(d, right), Dot(d, up), Dot(d, fwd)};
  }
  Vec3 ToGun(Vec3 dirCam) const { return right * dirCam.x + up * dirCam.y + fwd * dirCam.z; }
};

Camera AimedCamera() {
  Camera c;
  // Held low and a little to the right of the eye, so the whole gun shows, the bead at the top.
  c.eye = {-1.7, 4.3, -10.0};
  c.fwd = {0, 0, 1};
  c.right = Norm(Cross({0, 1, 0}, c.fwd));
  c.up = Cross(c.fwd, c.right);
  // Put the bead's centre on the middle of pixel (bead x, bead y) of the frame.
  const Vec3 b = c.ToCamera(kBeadAt);
  c.cx = kGunBeadX + 0.5 - c.focal * b.x / b.z;
  c.cy = kGunBeadY + 0.5 + c.focal * b.y / b.z;
  return c;
}

// A rigid motion of the whole gun (the recoil), applied by moving points back into the gun's own space.
struct Motion {
  Vec3 pivot{0, -2, -12};
  double pitch = 0, yaw = 0;  // muzzle up, muzzle right
  Vec3 shift;
  Vec3 Undo(Vec3 p) const {
    Vec3 q = p - shift - pivot;
    q = {q.x * std::cos(yaw) + q.z * std::sin(yaw), q.y, -q.x * std::sin(yaw) + q.z * std::cos(yaw)};
    q = {q.x, q.y * std::cos(pitch) + q.z * std::sin(pitch), -q.y * std::sin(pitch) + q.z * std::cos(pitch)};
    return q + pivot;
  }
  Vec3 UndoDir(Vec3 d) const { return Undo(d + shift + pivot) - Undo(shift + pivot); }
  Vec3 Apply(Vec3 d) const {  // directions only
    Vec3 q{d.x, d.y * std::cos(pitch) - d.z * std::sin(pitch), d.y * std::sin(pitch) + d.z * std::cos(pitch)};
    return {q.x * std::cos(yaw) - q.z * std::sin(yaw), q.y, q.x * std::sin(yaw) + q.z * std::cos(yaw)};
  }
};

// Walnut: straight grain running along the piece, a few darker streaks.
Rgb Walnut(Vec3 p, double along) {
  const double g = p.y * 5.5 + p.x * 2.0 + 1.6 * paint::Fbm2(along * 0.35, p.x * 3 + p.y * 3, 71, 3);
  const double line = Smooth(0.6, 0.95, 0.5 + 0.5 * std::sin(g * 2 * kPi));
  const double streak = Smooth(0.55, 0.75, paint::Fbm2(along * 0.12, p.y * 2 + p.x, 73, 3));
  Rgb c = Mix(Hex(0x7A4828), Hex(0x5A321C), line * 0.6);
  return Mix(c, Hex(0x3E2214), streak * 0.5);
}

// What the steel mirrors: sky above, the ground below, a bright band along the horizon.
Rgb Environment(Vec3 r) {
  if (r.y >= 0) return Mix(Hex(0xD8E2EA), Hex(0x7C9CC8), Smooth(0.0, 0.6, r.y));
  return Mix(Hex(0x8A8270), Hex(0x3A3428), Smooth(0.0, 0.35, -r.y));
}

Rgb ShadeGun(Vec3 pGun, Vec3 nGun, Vec3 viewCam, const Camera& cam, const Motion& motion, Mat mat, double ao) {
  // Light from the upper left and a little behind the shooter, as on the birds.
  const Vec3 light = Norm({-0.55, 0.7, -0.5});
  const Vec3 n = Norm(cam.ToCamera(cam.eye + motion.Apply(nGun)));
  const Vec3 v = viewCam * -1;  // toward the eye
  const double diffuse = std::max(0.0, Dot(n, light)) * (0.5 + 0.5 * ao);
  const Vec3 h = Norm(light + v);
  const double facing = Clamp01(Dot(n, v));
  const Vec3 reflected = viewCam - n * (2 * Dot(n, viewCam));
  auto lit = [&](Rgb albedo, double shine, double power) {
    Rgb c = paint::Scale(albedo, (0.3 + 0.9 * diffuse) * (0.45 + 0.55 * ao));
    const double glint = std::pow(std::max(0.0, Dot(n, h)), power) * shine;
    return Mix(c, Rgb{1, 0.97, 0.9}, Clamp01(glint));
  };
  auto steel = [&](Rgb base, double mirror) {
    const double fresnel = mirror + (1 - mirror) * std::pow(1 - facing, 3) * 0.8;
    Rgb c = paint::Scale(base, 0.45 + 0.6 * diffuse);
    c = Mix(c, paint::Scale(Environment(reflected), 0.85 * (0.35 + 0.65 * ao)), Clamp01(fresnel));
    const double glint = std::pow(std::max(0.0, Dot(n, h)), 60.0);
    return Mix(c, Rgb{1, 1, 1}, Clamp01(glint * 0.9));
  };
  const Rgb blued = Hex(0x1A1E28);
  switch (mat) {
    case Mat::Barrel:
      return steel(blued, 0.3);
    case Mat::Rib:
      // Matted on top so it does not glare; the posts show the blued steel.
      return nGun.y > 0.7 ? lit(Hex(0x2E323A), 0.15, 8) : steel(blued, 0.25);
    case Mat::Bead:
      return lit(Hex(0xF0D890), 0.9, 20);
    case Mat::Magazine:
    case Mat::ActionBar:
      return steel(Hex(0x22262E), 0.25);
    case Mat::Receiver:
      return steel(Hex(0x20242E), 0.22);
    case Mat::PortInside:
      return Hex(0x0C0C10);
    case Mat::Bolt:
      return steel(Hex(0x8A8E96), 0.55);
    case Mat::Forend:
      return lit(Walnut(pGun, pGun.z), 0.35, 24);
    case Mat::Stock:
      return lit(Walnut(pGun, pGun.z * 0.7), 0.35, 24);
    case Mat::Hull:
      return lit(Mix(Hex(0xB02A24), Hex(0x7A1A18), Smooth(-0.5, 0.5, -nGun.y)), 0.4, 16);
    case Mat::Brass:
      return steel(Hex(0xB08A3A), 0.35);
  }
  return blued;
}

RgbaImage RenderGun(const GunPose& pose, const Motion& motion) {
  const int w = ctlsize::kGunW, h = ctlsize::kGunH;
  const Camera cam = AimedCamera();
  // March in the gun's own space: the recoil moved the gun, so move the ray the other way.
  const Vec3 origin = motion.Undo(cam.eye);
  struct Ray {
    bool hit = false;
    Mat mat = Mat::Barrel;
    Rgb colour;
  };
  auto trace = [&](double sx, double sy) {
    Ray ray;
    const Vec3 dirCam = Norm({(sx - cam.cx) / cam.focal, -(sy - cam.cy) / cam.focal, 1});
    const Vec3 dir = Norm(motion.UndoDir(cam.ToGun(dirCam)));
    double t = 1.0;
    Sample smp{};
    for (int step = 0; step < 120 && t < 60; ++step) {
      smp = Gun(origin + dir * t, pose);
      if (smp.d < 0.0005 * t) {
        ray.hit = true;
        break;
      }
      t += smp.d * 0.85;
    }
    if (!ray.hit) return ray;
    const Vec3 p = origin + dir * t;
    const Vec3 n = Normal(p, pose);
    ray.mat = smp.mat;
    ray.colour = ShadeGun(p, n, dirCam, cam, motion, smp.mat, Occlusion(p, n, pose));
    return ray;
  };
  // One ray through each pixel's centre; where a neighbour meets something else (an edge), the
  // pixel is sampled 3 x 3 and is solid when at least half of it is covered.
  std::vector<Ray> centre(static_cast<size_t>(w) * h);
  for (int py = 0; py < h; ++py)
    for (int px = 0; px < w; ++px) centre[static_cast<size_t>(py) * w + px] = trace(px + 0.5, py + 0.5);
  constexpr int kSS = 3;
  RgbaImage out(w, h);
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      const Ray& c = centre[static_cast<size_t>(py) * w + px];
      bool edge = false;
      for (int dy = -1; dy <= 1 && !edge; ++dy)
        for (int dx = -1; dx <= 1 && !edge; ++dx) {
          const int x = px + dx, y = py + dy;
          if (x < 0 || y < 0 || x >= w || y >= h) continue;
          const Ray& o = centre[static_cast<size_t>(y) * w + x];
          edge = o.hit != c.hit || (c.hit && o.mat != c.mat);
        }
      if (!edge) {
        if (c.hit) out.At(px, py) = paint::Pack(c.colour);
        continue;
      }
      int covered = 0;
      Rgb sum;
      for (int j = 0; j < kSS; ++j)
        for (int i = 0; i < kSS; ++i) {
          const Ray r = trace(px + (i + 0.5) / kSS, py + (j + 0.5) / kSS);
          if (!r.hit) continue;
          sum = paint::Add(sum, r.colour);
          ++covered;
        }
      if (covered * 2 >= kSS * kSS) out.At(px, py) = paint::Pack(paint::Scale(sum, 1.0 / covered));
    }
  }
  return out;
}

}  // namespace

SpriteArt DrawGunSprite() {
  SpriteArt s;
  const Motion still;
  s.Add(RenderGun({0.0, false}, still), ctl::kGunHotX, ctl::kGunHotY);
  s.Add(RenderGun({1.8, true}, still), ctl::kGunHotX, ctl::kGunHotY);
  s.Add(RenderGun({3.6, false}, still), ctl::kGunHotX, ctl::kGunHotY);
  // Recoil: the gun comes back into the shoulder and the muzzle climbs and swings a little right.
  Motion kick;
  kick.pitch = 0.05;
  kick.yaw = 0.025;
  kick.shift = {0, 0.1, -0.9};
  s.Add(RenderGun({0.0, false}, kick), ctl::kGunHotX, ctl::kGunHotY);
  return s;
}

namespace {

double Bayer4(int x, int y) {
  static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (m[y & 3][x & 3] + 0.5) / 16.0;
}

// Burnt powder smoke: round puffs, each lit from the upper left like a ball, with frayed edges.
struct Puff {
  double x, y, r;
};

bool Smoke(const std::vector<Puff>& puffs, double x, double y, uint32_t seed, Rgb* out) {
  const Vec3 light = Norm({-0.6, -0.7, 0.5});  // screen axes: y down, z toward the viewer
  bool any = false;
  for (const Puff& p : puffs) {  // later puffs lie in front
    const double fray = 0.7 + 0.55 * paint::Fbm2(x * 0.14, y * 0.14, seed, 4);
    const double dx = (x - p.x) / (p.r * fray), dy = (y - p.y) / (p.r * fray);
    const double rr = dx * dx + dy * dy;
    if (rr >= 1) continue;
    const Vec3 n{dx, dy, std::sqrt(1 - rr)};
    const double lit = Clamp01(0.35 + 0.6 * Dot(n, light) + (paint::Fbm2(x * 0.2, y * 0.2, seed + 5, 3) - 0.5) * 0.7);
    *out = Mix(Hex(0x78746E), Hex(0xDCD8D0), lit);
    any = true;
  }
  return any;
}

RgbaImage MuzzleFrame(bool flash) {
  RgbaImage out(kMuzzleW, kMuzzleH);
  const double cx = 50, cy = 62;
  // Puffs round the muzzle as the blast throws them; a moment later they have grown and risen.
  std::vector<Puff> puffs;
  paint::Rng rng(flash ? 31 : 37);
  const int count = flash ? 8 : 11;
  for (int i = 0; i < count; ++i) {
    const double a = rng.Range(0, 2 * kPi);
    const double d = flash ? rng.Range(12, 24) : rng.Range(4, 24);
    const double r = flash ? rng.Range(6, 10) : rng.Range(9, 15);
    puffs.push_back({cx + std::cos(a) * d * 1.25, cy - (flash ? 4 : 22) + std::sin(a) * d * 0.75, r});
  }
  // Lower puffs first, so the upper ones sit in front like a rising cloud.
  std::sort(puffs.begin(), puffs.end(), [](const Puff& a, const Puff& b) { return a.y > b.y; });
  for (int y = 0; y < kMuzzleH; ++y)
    for (int x = 0; x < kMuzzleW; ++x) {
      Rgb c;
      bool any = Smoke(puffs, x + 0.5, y + 0.5, flash ? 41 : 43, &c);
      if (flash) {
        // The blast: a hot core and tongues of fire thrown out round the muzzle, most of them upward
        // and forward, fraying into sparks.
        const double dx = x + 0.5 - cx, dy = (y + 0.5 - cy) * 1.1;
        const double r = Len2(dx, dy), ang = std::atan2(dy, dx);
        const double tongues = paint::Fbm1(ang / (2 * kPi) * 9 + 0.5, 53, 3, 9);
        const double reach = 10 + 26 * std::pow(tongues, 1.6) * (0.75 + 0.35 * std::sin(ang) * -1);
        const double heat = 1 - r / reach + (paint::Fbm2(x * 0.2, y * 0.2, 57, 3) - 0.5) * 0.5;
        if (heat > 0) {
          const Rgb fire = heat > 0.72   ? Mix(Hex(0xFFE9A0), Hex(0xFFFBEA), Smooth(0.72, 0.9, heat))
                           : heat > 0.4 ? Mix(Hex(0xFFA22C), Hex(0xFFE06A), Smooth(0.4, 0.72, heat))
                                        : Mix(Hex(0xB8320E), Hex(0xFF8A1E), Smooth(0.0, 0.4, heat));
          // The fringe breaks up into the smoke instead of ending on a hard line.
          if (heat > 0.12 || Bayer4(x, y) < heat / 0.12) {
            c = fire;
            any = true;
          }
        }
      }
      if (any) out.At(x, y) = paint::Pack(c);
    }
  return out;
}

}  // namespace

SpriteArt DrawMuzzleSprite() {
  SpriteArt s;
  s.Add(MuzzleFrame(true), kMuzzleHotX, kMuzzleHotY);
  s.Add(MuzzleFrame(false), kMuzzleHotX, kMuzzleHotY);
  return s;
}

}  // namespace artgen
