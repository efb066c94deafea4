// The gobbler's animations (poses frame by frame) and the strutting birds of the title and trophies.
#include "tools/artgen/turkey.h"

#include <algorithm>
#include <cmath>

namespace artgen::turkey {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxFrame = 300;

double Fract(double v) { return v - std::floor(v); }

// One foot through a step: on the ground sliding back for half the cycle, lifted and swung forward
// for the other half.
void Step(double phase, double stride, double lift, double z, Vec3& foot, double& curl) {
  double q = Fract(phase);
  if (q < 0.5) {
    foot = {stride / 2 - stride * (q / 0.5), 0, z};
    curl = 0;
  } else {
    double t = (q - 0.5) / 0.5;
    double s = t * t * (3 - 2 * t);
    foot = {-stride / 2 + stride * s, lift * std::sin(kPi * t), z};
    curl = std::sin(kPi * t);
  }
}

Pose Walk(double phase) {
  Pose p;
  Step(phase, 24, 9, -7, p.footL, p.toeCurlL);
  Step(phase + 0.5, 24, 9, 7, p.footR, p.toeCurlR);
  p.bodyY = 55 + 1.4 * std::cos(4 * kPi * phase);
  // Turkeys pump the head forward and back with every step.
  p.head = {32 + 5 * std::sin(4 * kPi * phase), 102 + 1.5 * std::cos(4 * kPi * phase), 0};
  p.headPitch = -0.05;
  return p;
}

Pose Run(double phase) {
  Pose p;
  Step(phase, 50, 17, -7, p.footL, p.toeCurlL);
  Step(phase + 0.5, 50, 17, 7, p.footR, p.toeCurlR);
  p.bodyPitch = 0.05;
  p.bodyY = 52 + 2.5 * std::cos(4 * kPi * phase);
  p.head = {54 + 2 * std::sin(4 * kPi * phase), 86 + 2 * std::cos(4 * kPi * phase), 0};
  p.headPitch = -0.12;
  p.wingOpen = 0.12 + 0.08 * std::sin(2 * kPi * phase);
  return p;
}

Pose Strut() {
  Pose p;
  p.puff = 1.22;
  p.bodyPitch = 0.32;
  p.bodyY = 52;
  p.head = {36, 99, 0};
  p.headPitch = -0.1;
  p.wingDrop = 1.0;
  p.fan = 1.0;
  p.snood = 1.7;
  return p;
}

std::vector<Pose> IdlePoses() {
  std::vector<Pose> poses;
  Pose stand;
  poses.push_back(stand);
  // Lower the head, peck twice, come back up.
  Pose down1 = stand;
  down1.head = {44, 62, 0};
  down1.headPitch = -0.6;
  down1.bodyPitch = 0.1;
  Pose peck = stand;
  peck.head = {52, 14, 0};
  peck.headPitch = -1.1;
  peck.bodyPitch = -0.08;
  Pose peck2 = peck;
  peck2.head = {53, 8, 0};
  poses.push_back(down1);
  poses.push_back(peck);
  poses.push_back(peck2);
  poses.push_back(peck);
  poses.push_back(peck2);
  poses.push_back(down1);
  poses.push_back(stand);
  // Look about: head raised and turned.
  Pose look = stand;
  look.head = {30, 108, 0};
  look.headTurn = 0.7;
  poses.push_back(look);
  poses.push_back(look);
  poses.push_back(stand);
  // A gobble: neck thrown forward, body feathers ruffled.
  Pose gobble = stand;
  gobble.head = {46, 88, 0};
  gobble.headPitch = 0.15;
  gobble.puff = 1.06;
  gobble.fan = 0.15;
  poses.push_back(gobble);
  Pose gobble2 = gobble;
  gobble2.head = {50, 84, 0};
  gobble2.headPitch = 0.3;
  poses.push_back(gobble2);
  poses.push_back(gobble);
  poses.push_back(stand);
  return poses;
}

std::vector<Pose> FallPoses() {
  std::vector<Pose> poses;
  Pose p;
  p.bodyPitch = 0.45;
  p.head = {24, 100, 0};
  p.headPitch = 0.5;
  p.wingOpen = 0.45;
  p.lift = 6;
  p.footL = {6, 0, -7};
  p.footR = {-6, 2, 7};
  poses.push_back(p);
  p.wingOpen = 0.8;
  p.roll = -0.3;
  p.lift = 9;
  p.head = {18, 92, 0};
  p.headPitch = 0.9;
  p.footL = {10, 10, -7};
  p.footR = {2, 6, 7};
  p.toeCurlL = p.toeCurlR = 1;
  poses.push_back(p);
  p.wingOpen = 0.7;
  p.roll = -0.75;
  p.lift = 4;
  p.bodyPitch = 0.15;
  p.head = {40, 62, 0};
  p.headPitch = -0.4;
  p.footL = {12, 16, -8};
  p.footR = {6, 12, 8};
  poses.push_back(p);
  p.wingOpen = 0.55;
  p.roll = -1.1;
  p.lift = 0;
  p.bodyPitch = 0.0;
  p.head = {54, 38, 0};
  p.headPitch = -0.6;
  p.footL = {16, 22, -9};
  p.footR = {10, 18, 9};
  poses.push_back(p);
  p.wingOpen = 0.35;
  p.roll = -1.3;
  p.head = {64, 26, 0};
  p.headPitch = -0.3;
  p.footL = {18, 26, -9};
  p.footR = {14, 24, 9};
  poses.push_back(p);
  p.wingOpen = 0.2;
  p.roll = -1.35;
  p.head = {68, 22, 0};
  p.footL = {20, 24, -9};
  p.footR = {12, 22, 9};
  poses.push_back(p);
  p.wingOpen = 0.12;
  p.head = {68, 20, 0};
  p.headPitch = -0.2;
  p.footL = {20, 22, -9};
  p.footR = {13, 20, 9};
  poses.push_back(p);
  return poses;
}

struct Animation {
  std::vector<Pose> poses;
  View view;
};

std::vector<Pose> Cycle(Pose (*make)(double), int frames) {
  std::vector<Pose> poses;
  for (int i = 0; i < frames; ++i) poses.push_back(make(i / static_cast<double>(frames)));
  return poses;
}

// Crops every frame to the box that holds the bird in all of them, so the frames keep one size and
// the lowest foot of the animation sits on the bottom row.
SpriteFrames CropTogether(const SpriteFrames& frames) {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
  for (const auto& f : frames)
    for (int y = 0; y < f.height; ++y)
      for (int x = 0; x < f.width; ++x)
        if ((f.At(x, y) >> 24) >= 128) {
          x0 = std::min(x0, x);
          x1 = std::max(x1, x);
          y0 = std::min(y0, y);
          y1 = std::max(y1, y);
        }
  if (x1 < 0) return frames;
  SpriteFrames out;
  for (const auto& f : frames) {
    RgbaImage c(x1 - x0 + 1, y1 - y0 + 1);
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) c.At(x - x0, y - y0) = f.At(x, y);
    out.push_back(std::move(c));
  }
  return out;
}

}  // namespace

std::vector<SpriteFrames> PaintGobblerSprites() {
  const Look look;  // the field bird: one bronze gobbler for every hunt
  std::vector<Animation> anims(6);
  anims[0] = {FallPoses(), View{0.0, 0.08}};
  anims[1] = {IdlePoses(), View{0.0, 0.08}};
  anims[2] = {Cycle(Run, 6), View{0.0, 0.08}};
  anims[3] = {Cycle(Walk, 8), View{0.0, 0.08}};
  anims[4] = {Cycle(Walk, 8), View{-0.65, 0.08}};
  anims[5] = {Cycle(Walk, 8), View{0.85, 0.08}};
  // A standing bird shows the first frame of the away and toward sprites: make it a plain stance.
  anims[4].poses[0] = Pose{};
  anims[5].poses[0] = Pose{};

  // One scale for every sprite, so the bird keeps its size from pose to pose.
  std::vector<std::vector<std::vector<Part>>> models(anims.size());
  std::vector<Bounds> bounds(anims.size());
  double scale = 1e9;
  for (size_t a = 0; a < anims.size(); ++a) {
    for (const auto& pose : anims[a].poses) {
      models[a].push_back(BuildBird(pose, look));
      bounds[a].Add(Measure(models[a].back(), anims[a].view));
    }
    scale = std::min(scale, (kMaxFrame - 2) / std::max(bounds[a].Width(), bounds[a].Height()));
  }
  std::vector<SpriteFrames> sprites;
  for (size_t a = 0; a < anims.size(); ++a) {
    const Bounds& b = bounds[a];
    int w = std::min(kMaxFrame, static_cast<int>(std::ceil(b.Width() * scale)) + 2);
    int h = std::min(kMaxFrame, static_cast<int>(std::ceil(b.Height() * scale)));
    SpriteFrames frames;
    for (const auto& model : models[a])
      frames.push_back(Render(model, anims[a].view, look, w, h, b.minX - 1.0 / scale, b.maxY, scale));
    sprites.push_back(CropTogether(frames));
  }
  return sprites;
}

RgbaImage PaintStrutter(const Look& look, double yaw, double pitch, int maxWidth, int maxHeight) {
  View view{yaw, pitch};
  auto model = BuildBird(Strut(), look);
  Bounds b = Measure(model, view);
  double scale = std::min((maxWidth - 1) / b.Width(), (maxHeight - 1) / b.Height());
  if (!(scale > 0)) return RgbaImage(std::max(0, maxWidth), std::max(0, maxHeight));
  int w = std::max(1, std::min(maxWidth, static_cast<int>(std::ceil(b.Width() * scale)) + 1));
  int h = std::max(1, std::min(maxHeight, static_cast<int>(std::ceil(b.Height() * scale)) + 1));
  return CropTogether({Render(model, view, look, w, h, b.minX, b.maxY, scale)})[0];
}

}  // namespace artgen::turkey
