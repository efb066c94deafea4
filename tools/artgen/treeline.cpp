// Forest edges along the horizon: rows of trees of each location's kinds, hazier and bluer with distance.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/artgen/landscape_parts.h"

namespace artgen::landscape {

using paint::Clamp01;
using paint::Mix;
using paint::Rng;
using paint::Smooth;

namespace {

// A crown is a few round clumps; a pixel's light comes from the clump nearest the viewer there.
struct Clump {
  double x, y, rx, ry;
};

struct Tree {
  TreeKind kind;
  double x, base, height;
  double trunkTop = 0, trunkWidth = 0;
  std::vector<Clump> clumps;
  // Spires: the outline of the cone, narrowing in tiers.
  double spireWidth = 0;
  int tiers = 0;
  double shade = 0;  // this tree a little darker or lighter than its neighbours
  uint32_t seed = 0;
  double left = 0, right = 0, top = 0;
};

Tree MakeTree(TreeKind kind, double x, double base, double height, Rng& rng) {
  Tree t;
  t.kind = kind;
  t.x = x;
  t.base = base;
  t.height = height;
  t.shade = rng.Range(-0.12, 0.12);
  t.seed = static_cast<uint32_t>(rng.Next());
  const double H = height;
  switch (kind) {
    case TreeKind::Pine: {
      // Southern pine: a tall clean bole, the crown a few tufts at the top, lopsided.
      t.trunkTop = base - H * 0.82;
      t.trunkWidth = std::max(1.0, H * 0.035);
      const int n = rng.Int(4, 7);
      for (int i = 0; i < n; ++i) {
        const double up = rng.Range(0.62, 0.92);
        const double side = rng.Range(-0.2, 0.2) * H;
        const double r = H * rng.Range(0.08, 0.13);
        t.clumps.push_back({x + side, base - H * up, r * 1.25, r * 0.85});
      }
      t.clumps.push_back({x + rng.Range(-0.04, 0.04) * H, base - H * 0.93, H * 0.07, H * 0.06});
      break;
    }
    case TreeKind::Broadleaf: {
      // Oak, gum or hickory: a short trunk under a broad dome of clumps.
      t.trunkTop = base - H * 0.45;
      t.trunkWidth = std::max(1.0, H * 0.05);
      const double cx = x + rng.Range(-0.05, 0.05) * H, cy = base - H * 0.6, rx = H * rng.Range(0.3, 0.42), ry = H * 0.34;
      t.clumps.push_back({cx, cy, rx * 0.7, ry * 0.7});
      const int n = rng.Int(8, 12);
      for (int i = 0; i < n; ++i) {
        const double a = 3.14159 * (-0.1 + 1.2 * (i + rng.Range(0.1, 0.9)) / n);
        const double d = rng.Range(0.55, 1.0);
        const double r = H * rng.Range(0.09, 0.16);
        t.clumps.push_back({cx + std::cos(a) * rx * d, cy - std::sin(a) * ry * d + ry * 0.1, r * 1.2, r});
      }
      break;
    }
    case TreeKind::Spire: {
      // Spruce and fir: a narrow cone from near the ground to a sharp top, drooping in tiers.
      t.trunkTop = base - H * 0.08;
      t.trunkWidth = std::max(1.0, H * 0.03);
      t.spireWidth = H * rng.Range(0.16, 0.22);
      t.tiers = rng.Int(5, 8);
      break;
    }
    case TreeKind::Scrub: {
      // Juniper, mesquite or oak scrub: low and wide, lumpy masses down to short stems.
      t.trunkTop = base - H * 0.18;
      t.trunkWidth = std::max(1.0, H * 0.06);
      const double wide = rng.Range(0.4, 0.8) * H;
      const int n = rng.Int(4, 7);
      for (int i = 0; i < n; ++i) {
        const double r = H * rng.Range(0.18, 0.3);
        t.clumps.push_back({x + rng.Range(-0.5, 0.5) * wide, base - H * rng.Range(0.3, 0.62), r * 1.35, r});
      }
      break;
    }
  }
  t.left = x - H * 0.1, t.right = x + H * 0.1, t.top = base - H;
  for (const Clump& c : t.clumps) {
    t.left = std::min(t.left, c.x - c.rx * 1.3);
    t.right = std::max(t.right, c.x + c.rx * 1.3);
    t.top = std::min(t.top, c.y - c.ry * 1.3);
  }
  if (kind == TreeKind::Spire) t.left = x - t.spireWidth * 1.3, t.right = x + t.spireWidth * 1.3;
  return t;
}

// The colour of the tree at (x, y), or false where it is not. Light from the left and above.
bool TreePixel(const Tree& t, const TreeLineStyle& s, double x, double y, Rgb* out) {
  const double lx = -0.62, ly = -0.55, lz = 0.56;
  double best = -1, nx = 0, ny = 0, nz = 1;
  if (t.kind == TreeKind::Spire) {
    const double up = (t.base - y) / t.height;  // 0 at the foot, 1 at the tip
    if (up >= 0.06 && up <= 1) {
      const double along = 1 - up;
      const double tier = up * t.tiers - std::floor(up * t.tiers);
      // Each tier's branches droop: widest at its bottom edge, ragged with twigs.
      const double ragged = 0.8 + 0.35 * paint::Noise2(x * 0.6, y * 0.6, t.seed);
      const double half = t.spireWidth * std::pow(along, 0.95) * (0.62 + 0.38 * (1 - tier)) * ragged;
      const double dx = (x - t.x) / std::max(half, 0.5);
      if (std::fabs(dx) <= 1) {
        best = 1;
        nx = dx * 0.8;
        ny = -0.3 + 0.5 * tier;
        nz = std::sqrt(std::max(0.05, 1 - nx * nx));
      }
    }
  } else {
    // Ragged edges with sky showing through between the outer sprays of leaves.
    const double fray = 0.7 + 0.55 * paint::Noise2(x * 0.45, y * 0.45, t.seed);
    const double spray = paint::Noise2(x * 0.9, y * 0.9, t.seed + 3);
    for (const Clump& c : t.clumps) {
      const double dx = (x - c.x) / (c.rx * fray), dy = (y - c.y) / (c.ry * fray);
      const double rr = dx * dx + dy * dy;
      if (rr >= 1 || (rr > 0.55 && spray < 0.3)) continue;
      // The clump's surface toward the viewer; the front-most one wins.
      const double depth = std::sqrt(1 - rr) * c.ry + (t.base - c.y) * 0.0;
      if (depth > best) {
        best = depth;
        nx = dx, ny = dy, nz = std::sqrt(1 - rr);
      }
    }
  }
  if (best < 0) {
    // Trunk below the crown.
    if (y > t.trunkTop && y <= t.base + 1 && std::fabs(x - t.x) <= t.trunkWidth / 2 + 0.25) {
      const double side = (x - t.x) / std::max(t.trunkWidth / 2, 0.5);
      *out = Mix(s.trunk, paint::Scale(s.trunk, 0.55), Clamp01(0.5 + 0.5 * side));
      return true;
    }
    return false;
  }
  const double lit = Clamp01((nx * lx + ny * ly + nz * lz) / 1.0);
  // Leaf masses: light catches the clumps of foliage, the hollows between them stay dark.
  const double leaves = paint::Fbm2(x * 0.35, y * 0.35, t.seed + 7, 2);
  const double k = Clamp01(0.15 + 0.85 * lit + (leaves - 0.5) * 0.9 + t.shade);
  *out = Mix(s.dark, s.light, k);
  return true;
}

}  // namespace

void PaintTreeLine(Canvas& canvas, const TreeLineStyle& s, uint32_t seed) {
  Rng rng(seed);
  const double kW = canvas.width();  // the row wraps round the picture
  std::vector<Tree> trees;
  const double kinds = s.pine + s.broadleaf + s.spire + s.scrub;
  for (int i = 0; i < s.count; ++i) {
    const double x = rng.Range(0, kW);
    // Open stretches where the row thins out.
    if (s.gapChance > 0 && paint::Fbm1(x / kW * 12, seed + 1, 2, 12) < s.gapChance && rng.Uniform() < 0.85) continue;
    double pick = rng.Range(0, kinds);
    TreeKind kind = TreeKind::Scrub;
    if ((pick -= s.pine) < 0) kind = TreeKind::Pine;
    else if ((pick -= s.broadleaf) < 0) kind = TreeKind::Broadleaf;
    else if ((pick -= s.spire) < 0) kind = TreeKind::Spire;
    const double height = rng.Range(s.minH, s.maxH) * (kind == TreeKind::Scrub ? 0.7 : 1.0);
    trees.push_back(MakeTree(kind, x, s.baseY + rng.Range(-3, 3), height, rng));
  }
  // Low growth along the foot hides where the trunks meet the ground.
  if (s.undergrowth > 0) {
    const int n = static_cast<int>(kW / std::max(2.0, s.minH * 0.3) * s.undergrowth);
    for (int i = 0; i < n; ++i)
      trees.push_back(MakeTree(TreeKind::Scrub, rng.Range(0, kW), s.baseY + rng.Range(0, 4), s.minH * rng.Range(0.3, 0.6), rng));
  }
  // Far to near within the row: trees standing lower on the picture are nearer.
  std::stable_sort(trees.begin(), trees.end(), [](const Tree& a, const Tree& b) { return a.base < b.base; });
  uint32_t* px = canvas.Pixels();
  const int stride = canvas.Stride(), h = canvas.height();
  constexpr int kSS = 2;
  for (const Tree& t : trees) {
    const int x0 = static_cast<int>(std::floor(t.left)), x1 = static_cast<int>(std::ceil(t.right));
    const int y0 = std::max(0, static_cast<int>(std::floor(t.top))), y1 = std::min(h - 1, static_cast<int>(std::ceil(t.base + 1)));
    for (int y = y0; y <= y1; ++y)
      for (int xx = x0; xx <= x1; ++xx) {
        double r = 0, g = 0, b = 0;
        int covered = 0;
        for (int j = 0; j < kSS; ++j)
          for (int i = 0; i < kSS; ++i) {
            Rgb c;
            if (!TreePixel(t, s, xx + (i + 0.5) / kSS, y + (j + 0.5) / kSS, &c)) continue;
            r += c.r, g += c.g, b += c.b;
            ++covered;
          }
        if (!covered) continue;
        // Distance: the air between lays its own colour over the trees.
        Rgb c{r / covered, g / covered, b / covered};
        c = Mix(c, s.haze, s.hazeAmount);
        const int wx = ((xx % canvas.width()) + canvas.width()) % canvas.width();
        uint32_t& dst = px[y * stride + wx];
        const double a = covered / static_cast<double>(kSS * kSS);
        dst = paint::Pack(Mix(paint::Unpack(dst), c, a));
      }
  }
  canvas.MarkDirty();
}

}  // namespace artgen::landscape
