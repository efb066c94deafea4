// Checks the painted art against what the game relies on: sizes, seams, feet, facing, crisp edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>

#include "tools/artgen/landscape_parts.h"
#include "tools/artgen/painter_canvas.h"
#include "tools/artgen/scenes.h"
#include "tools/artgen/turkey_model.h"

namespace {

using artgen::AreaArt;
using artgen::RgbaImage;
using artgen::SpriteFrames;

// Painting is slow enough that each location and the bird set are made once for all tests.
const AreaArt& Area(int map) {
  static std::map<int, AreaArt> cache;
  auto it = cache.find(map);
  if (it == cache.end()) it = cache.emplace(map, artgen::DrawArea(map)).first;
  return it->second;
}

const std::vector<SpriteFrames>& Birds() {
  static const std::vector<SpriteFrames> birds = artgen::DrawGobblerSprites();
  return birds;
}

bool Opaque(uint32_t p) { return (p >> 24) >= 128; }
int R(uint32_t p) { return (p >> 16) & 0xFF; }
int G(uint32_t p) { return (p >> 8) & 0xFF; }
int B(uint32_t p) { return p & 0xFF; }

bool RowHasOpaque(const RgbaImage& img, int y) {
  for (int x = 0; x < img.width; ++x)
    if (Opaque(img.At(x, y))) return true;
  return false;
}

// Every pixel fully transparent or fully opaque: the quantiser gets no half-transparent fringe.
void ExpectCrisp(const RgbaImage& img, const std::string& what) {
  int soft = 0;
  for (uint32_t p : img.pixels) {
    uint32_t a = p >> 24;
    if (a != 0 && a != 255) ++soft;
  }
  EXPECT_EQ(soft, 0) << what;
}

double ColumnDiff(const RgbaImage& img, int x0, int x1, int yFrom, int yTo) {
  double sum = 0;
  for (int y = yFrom; y < yTo; ++y) {
    uint32_t a = img.At(x0, y), b = img.At(x1, y);
    sum += std::abs(R(a) - R(b)) + std::abs(G(a) - G(b)) + std::abs(B(a) - B(b));
  }
  return sum / (yTo - yFrom);
}

// Centre of the bright red head skin, or -1 without any.
double RedCentreX(const RgbaImage& img) {
  double sum = 0;
  int n = 0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      uint32_t p = img.At(x, y);
      if (Opaque(p) && R(p) > 140 && G(p) < 70 && B(p) < 80) {
        sum += x;
        ++n;
      }
    }
  return n ? sum / n : -1;
}

TEST(PainterArea, PanoramasWrapAroundAndReachBelowTheGroundRow) {
  for (int map = 1; map <= 3; ++map) {
    const RgbaImage& pano = Area(map).panorama;
    ASSERT_EQ(pano.width, 2560) << map;
    ASSERT_GT(pano.height, 780) << map;
    for (uint32_t p : pano.pixels) ASSERT_EQ(p >> 24, 255u) << "panorama " << map << " must be opaque";
    // The seam between the last and the first column must look like any other pair of neighbours.
    double seam = ColumnDiff(pano, 2559, 0, 0, pano.height);
    double typical = 0;
    for (int x = 100; x < 2500; x += 97) typical += ColumnDiff(pano, x, x + 1, 0, pano.height);
    typical /= 25;
    EXPECT_LT(seam, typical * 2.5 + 4) << "map " << map << " shows a seam";
  }
}

TEST(PainterArea, SkyAboveAndGroundBelowTheHorizon) {
  const int horizons[] = {400, 430, 400};
  for (int map = 1; map <= 3; ++map) {
    const RgbaImage& pano = Area(map).panorama;
    auto meanBlueExcess = [&](int y0, int y1) {
      double sum = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = 0; x < pano.width; x += 7) sum += B(pano.At(x, y)) - R(pano.At(x, y));
      return sum / ((y1 - y0) * (pano.width / 7.0));
    };
    int h = horizons[map - 1];
    EXPECT_GT(meanBlueExcess(0, 60), 40) << "map " << map << ": the top should be sky";
    EXPECT_LT(meanBlueExcess(h + 60, pano.height), 0) << "map " << map << ": below the horizon should be ground";
  }
}

TEST(PainterArea, NineSceneryFramesStandOnTheirBottomRowAndFitTheScratchSurface) {
  for (int map = 1; map <= 3; ++map) {
    const auto& scenery = Area(map).scenery;
    ASSERT_EQ(scenery.size(), 9u) << map;
    for (size_t s = 0; s < scenery.size(); ++s) {
      ASSERT_FALSE(scenery[s].empty());
      for (const RgbaImage& f : scenery[s]) {
        std::string what = "map " + std::to_string(map) + " sprite " + std::to_string(s);
        EXPECT_LE(f.width, 800) << what;
        EXPECT_LE(f.height, 1000) << what;
        EXPECT_GE(f.height, 30) << what;
        EXPECT_TRUE(RowHasOpaque(f, f.height - 1)) << what << ": base must touch the bottom row";
        EXPECT_TRUE(RowHasOpaque(f, 0)) << what << ": no empty rows above";
        ExpectCrisp(f, what);
      }
    }
    // Trees must be tall enough to read as trees next to a bird at the same distance.
    EXPECT_GT(scenery[5][0].height, 600) << map;
    EXPECT_GT(scenery[5][0].height, 2 * scenery[0][0].height) << map;
  }
}

TEST(PainterBirds, SixAnimatedSpritesOfOneSizeWithFeetOnTheBottomRow) {
  const auto& birds = Birds();
  ASSERT_EQ(birds.size(), 6u);
  for (size_t s = 0; s < birds.size(); ++s) {
    const SpriteFrames& frames = birds[s];
    ASSERT_GE(frames.size(), 4u) << "sprite " << s;
    std::set<std::vector<uint32_t>> distinct;
    bool footDown = false;
    for (const RgbaImage& f : frames) {
      EXPECT_LE(f.width, 300);
      EXPECT_LE(f.height, 300);
      EXPECT_EQ(f.width, frames[0].width) << "sprite " << s;
      EXPECT_EQ(f.height, frames[0].height) << "sprite " << s;
      footDown = footDown || RowHasOpaque(f, f.height - 1);
      distinct.insert(f.pixels);
      ExpectCrisp(f, "bird sprite " + std::to_string(s));
    }
    EXPECT_TRUE(footDown) << "sprite " << s;
    EXPECT_GE(distinct.size(), 4u) << "sprite " << s << " barely animates";
  }
  // A standing bird shows frame 0 of these: it must stand on the ground (a foot nearer the viewer in
  // a walking frame may reach a row or two lower).
  for (int s : {1, 3, 4, 5}) {
    const RgbaImage& f = birds[s][0];
    int low = f.height - 1;
    while (low > 0 && !RowHasOpaque(f, low)) --low;
    EXPECT_GE(low, f.height - 3) << "sprite " << s << " floats above its bottom row";
  }
}

TEST(PainterBirds, UnmirroredPosesFaceRightAndTheFallEndsLyingDown) {
  const auto& birds = Birds();
  // Unmirrored poses are the bird moving to the right on screen; mirrored ones are made from them.
  for (int s : {1, 2, 3, 4, 5}) {
    const RgbaImage& f = birds[s][0];
    double x = RedCentreX(f);
    ASSERT_GE(x, 0) << "sprite " << s << " has no red head";
    EXPECT_GT(x, f.width * 0.5) << "sprite " << s << " faces left";
  }
  // The last frame of the fall is held on screen: the bird lies on the ground, its top well below
  // the top of the startled bird in the first frame.
  auto topRow = [](const RgbaImage& f) {
    int y = 0;
    while (y < f.height && !RowHasOpaque(f, y)) ++y;
    return y;
  };
  const RgbaImage& last = birds[0].back();
  const RgbaImage& startled = birds[0][0];
  EXPECT_GT(topRow(last) - topRow(startled), startled.height / 5);
}

TEST(PainterTitle, OpaqueWithTheGobblerLeftOfTheSign) {
  RgbaImage title = artgen::DrawTitleLandscape();
  ASSERT_EQ(title.width, 640);
  ASSERT_EQ(title.height, 480);
  for (uint32_t p : title.pixels) ASSERT_EQ(p >> 24, 255u);
  double headX = RedCentreX(title);
  ASSERT_GE(headX, 0) << "no gobbler head on the title";
  EXPECT_LT(headX, 290) << "the gobbler should stand clear of the sign";
}

TEST(PainterTrophy, SizedAsAskedTransparentAroundAndTailTipsDifferBySubspecies) {
  auto whiteCount = [](const RgbaImage& img) {
    int n = 0;
    for (uint32_t p : img.pixels)
      if (Opaque(p) && R(p) > 200 && G(p) > 195 && B(p) > 180) ++n;
    return n;
  };
  std::vector<RgbaImage> pics;
  for (int s = 0; s < 5; ++s) {
    RgbaImage pic = artgen::DrawTrophyPicture(s, 58, 46);
    ASSERT_EQ(pic.width, 58);
    ASSERT_EQ(pic.height, 46);
    EXPECT_FALSE(Opaque(pic.At(0, 0)));
    EXPECT_FALSE(Opaque(pic.At(57, 0)));
    EXPECT_TRUE(RowHasOpaque(pic, 45)) << "the bird stands on the bottom row";
    ExpectCrisp(pic, "trophy " + std::to_string(s));
    pics.push_back(pic);
  }
  // Gould's and Merriam's have white tail tips, the Eastern bird chestnut, the Osceola dark ones.
  EXPECT_GT(whiteCount(pics[1]), whiteCount(pics[3]) + 5);
  EXPECT_GT(whiteCount(pics[2]), whiteCount(pics[0]) + 5);
  EXPECT_NE(pics[3].pixels, pics[4].pixels);
  // Same request, same picture.
  EXPECT_EQ(artgen::DrawTrophyPicture(4, 58, 46).pixels, pics[4].pixels);
  // Degenerate sizes give empty or tiny pictures, not a crash.
  EXPECT_TRUE(artgen::DrawTrophyPicture(2, 0, 0).pixels.empty());
  EXPECT_EQ(artgen::DrawTrophyPicture(2, 1, 1).pixels.size(), 1u);
  EXPECT_EQ(artgen::DrawTrophyPicture(9, 40, 30).width, 40);
}

TEST(PainterCanvas, PeriodicNoiseRepeatsAndCropTrimsToTheShape) {
  namespace paint = artgen::paint;
  for (double x : {0.0, 3.3, 17.9})
    for (double y : {0.0, 1.7})
      EXPECT_DOUBLE_EQ(paint::Noise2(x, y, 7, 24), paint::Noise2(x + 24, y, 7, 24));
  EXPECT_NE(paint::Noise2(0.5, 0.5, 7), paint::Noise2(0.5, 0.5, 8));
  RgbaImage img(10, 8);
  img.At(3, 2) = 0xFF112233u;
  img.At(6, 5) = 0xFF445566u;
  img.At(8, 7) = 0x40000000u;  // below half alpha: not part of the shape
  RgbaImage c = paint::Crop(img);
  EXPECT_EQ(c.width, 4);
  EXPECT_EQ(c.height, 4);
  EXPECT_EQ(c.At(0, 0), 0xFF112233u);
  EXPECT_EQ(c.At(3, 3), 0xFF445566u);
  EXPECT_EQ(paint::Crop(RgbaImage(5, 5)).width, 1);
}

TEST(PainterModel, ASphereRendersAsACrispDiscLitFromTheUpperLeft) {
  using namespace artgen::turkey;
  Part sphere;
  sphere.c = {0, 0, 0};
  sphere.a[0] = {1, 0, 0};
  sphere.a[1] = {0, 1, 0};
  sphere.a[2] = {0, 0, 1};
  sphere.r[0] = sphere.r[1] = sphere.r[2] = 10;
  sphere.mat = Mat::Eye;  // a plain colour, so brightness is the light alone
  View flat{0, 0};
  Look look;
  RgbaImage img = Render({sphere}, flat, look, 60, 60, -15, 15, 2.0);
  int covered = 0;
  double upperLeft = 0, lowerRight = 0;
  int nUL = 0, nLR = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      uint32_t p = img.At(x, y);
      if (!Opaque(p)) continue;
      ++covered;
      int v = R(p) + G(p) + B(p);
      if (x < 30 && y < 30) upperLeft += v, ++nUL;
      if (x >= 30 && y >= 30) lowerRight += v, ++nLR;
    }
  ExpectCrisp(img, "sphere");
  const double expected = 3.14159265 * 20 * 20;  // radius 10 units at 2 pixels a unit
  EXPECT_NEAR(covered, expected, expected * 0.04);
  ASSERT_GT(nUL, 0);
  ASSERT_GT(nLR, 0);
  EXPECT_GT(upperLeft / nUL, lowerRight / nLR);
  // Its bounds are the sphere's.
  Bounds b = Measure({sphere}, flat);
  EXPECT_NEAR(b.Width(), 20, 1e-9);
  EXPECT_NEAR(b.Height(), 20, 1e-9);
}

TEST(PainterCanvas, RoundTripsStraightAlphaAndRepeatsShapesAcrossTheSeam) {
  namespace paint = artgen::paint;
  RgbaImage img(3, 2);
  img.At(0, 0) = 0xFF123456u;
  img.At(1, 0) = 0x80FF8040u;  // half transparent: premultiplied inside cairo, straight again outside
  img.At(2, 1) = 0x00FFFFFFu;
  paint::Canvas canvas(img);
  RgbaImage soft = canvas.ToImage(false);
  EXPECT_EQ(soft.At(0, 0), 0xFF123456u);
  EXPECT_EQ(soft.At(1, 0) >> 24, 0x80u);
  EXPECT_NEAR(R(soft.At(1, 0)), 0xFF, 2);
  EXPECT_NEAR(G(soft.At(1, 0)), 0x80, 2);
  EXPECT_EQ(soft.At(2, 1), 0u);
  RgbaImage crisp = canvas.ToImage(true);
  EXPECT_EQ(crisp.At(1, 0) >> 24, 0xFFu);
  EXPECT_EQ(crisp.At(0, 1), 0u);

  std::vector<double> offsets;
  paint::Wrapped(-5, 20, 2560, [&](double dx) { offsets.push_back(dx); });
  EXPECT_EQ(offsets, (std::vector<double>{0, 2560}));
  offsets.clear();
  paint::Wrapped(2550, 2570, 2560, [&](double dx) { offsets.push_back(dx); });
  EXPECT_EQ(offsets, (std::vector<double>{0, -2560}));
  offsets.clear();
  paint::Wrapped(10, 20, 2560, [&](double dx) { offsets.push_back(dx); });
  EXPECT_EQ(offsets.size(), 1u);
}

TEST(PainterScenery, TreesKeepTheirHeightStayInsideTheScratchAndStandOnTheirTrunk) {
  using namespace artgen::landscape;
  TreeStyle style;
  style.height = 700;
  style.crownWidth = 2000;  // far too wide: must still fit 800 pixels
  style.barkLight = {0.6, 0.4, 0.3};
  style.barkDark = {0.3, 0.2, 0.1};
  style.leafDark = {0.1, 0.2, 0.1};
  style.leafMid = {0.2, 0.4, 0.2};
  style.leafLight = {0.4, 0.6, 0.3};
  for (bool conifer : {true, false}) {
    style.conifer = conifer;
    RgbaImage tree = PaintTree(style, 5);
    EXPECT_LE(tree.width, 800) << conifer;
    EXPECT_GE(tree.height, 680) << conifer;
    EXPECT_LE(tree.height, 1000) << conifer;
    // The bottom row is the foot of the trunk, near the middle of the frame.
    int left = tree.width, right = -1;
    for (int x = 0; x < tree.width; ++x)
      if (Opaque(tree.At(x, tree.height - 1))) left = std::min(left, x), right = std::max(right, x);
    ASSERT_GE(right, left) << conifer;
    double foot = (left + right) / 2.0;
    EXPECT_NEAR(foot, tree.width / 2.0, tree.width * 0.15) << conifer;
    EXPECT_LT(right - left, tree.width / 3) << conifer << ": only the trunk should touch the ground";
  }
  // Same seed, same tree; another seed, another tree.
  style.conifer = true;
  style.crownWidth = 300;
  EXPECT_EQ(PaintTree(style, 9).pixels, PaintTree(style, 9).pixels);
  EXPECT_NE(PaintTree(style, 9).pixels, PaintTree(style, 10).pixels);
}

TEST(PainterModel, ModelStandsOnTheGroundAndRendersWithinItsMeasuredBounds) {
  using namespace artgen::turkey;
  Look look;
  Pose pose;
  auto lowest = [](const std::vector<Part>& parts) {
    double low = 1e9;
    for (const auto& p : parts) {
      double e = 0;
      for (int i = 0; i < 3; ++i) e += (p.r[i] * p.a[i].y) * (p.r[i] * p.a[i].y);
      low = std::min(low, p.c.y - std::sqrt(e));
    }
    return low;
  };
  EXPECT_NEAR(lowest(BuildBird(pose, look)), 0.0, 1e-9);
  pose.lift = 12;
  EXPECT_NEAR(lowest(BuildBird(pose, look)), 12.0, 1e-9);
  pose.lift = 0;
  pose.roll = -1.3;  // lying on its side, still resting on the ground
  EXPECT_NEAR(lowest(BuildBird(pose, look)), 0.0, 1e-9);

  // Rendered with the measured bounds as the picture, the bird fills it to within a pixel or two.
  View view{0.5, 0.1};
  auto parts = BuildBird(Pose{}, look);
  Bounds b = Measure(parts, view);
  const double scale = 2.0;
  int w = static_cast<int>(std::ceil(b.Width() * scale)), h = static_cast<int>(std::ceil(b.Height() * scale));
  RgbaImage img = Render(parts, view, look, w, h, b.minX, b.maxY, scale);
  int x0 = w, x1 = -1, y0 = h, y1 = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (Opaque(img.At(x, y))) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
  ASSERT_GE(x1, 0);
  EXPECT_LE(x0, 2);
  EXPECT_GE(x1, w - 3);
  EXPECT_LE(y0, 2);
  EXPECT_GE(y1, h - 3);
}

}  // namespace
