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

double Luma(uint32_t p) { return 0.299 * R(p) + 0.587 * G(p) + 0.114 * B(p); }

// Rocks are lit from the left like the rest of each location, and are stones, not blocks: their
// outline leaves a good part of their box empty.
TEST(PainterArea, RocksAreLitFromTheLeftAndIrregular) {
  for (int map = 1; map <= 3; ++map) {
    const RgbaImage& rock = Area(map).scenery[4][0];
    SCOPED_TRACE("map " + std::to_string(map));
    double left = 0, right = 0;
    int nl = 0, nr = 0, filled = 0;
    // Above the grass at its foot: each row's stone split into thirds.
    for (int y = 0; y < rock.height * 8 / 10; ++y) {
      int x0 = rock.width, x1 = -1;
      for (int x = 0; x < rock.width; ++x)
        if (Opaque(rock.At(x, y))) x0 = std::min(x0, x), x1 = std::max(x1, x), ++filled;
      if (x1 - x0 < 9) continue;
      const int third = (x1 - x0) / 3;
      for (int x = x0; x < x0 + third; ++x)
        if (Opaque(rock.At(x, y))) left += Luma(rock.At(x, y)), ++nl;
      for (int x = x1 - third; x <= x1; ++x)
        if (Opaque(rock.At(x, y))) right += Luma(rock.At(x, y)), ++nr;
    }
    ASSERT_GT(nl, 100);
    ASSERT_GT(nr, 100);
    EXPECT_GT(left / nl, right / nr + 12);
    EXPECT_LT(filled, rock.width * (rock.height * 8 / 10) * 85 / 100);
  }
}

// The ground recedes: its pattern is fine and calm at the horizon and coarse near the bottom, not the
// same noise all the way down.
TEST(PainterArea, GroundDetailShrinksTowardTheHorizon) {
  const int horizons[3] = {400, 430, 400};
  for (int map = 1; map <= 3; ++map) {
    const RgbaImage& pano = Area(map).panorama;
    auto busy = [&](int y0, int y1) {
      double sum = 0;
      int n = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = 0; x + 1 < pano.width; x += 3) sum += std::fabs(Luma(pano.At(x, y)) - Luma(pano.At(x + 1, y))), ++n;
      return sum / n;
    };
    const int h = horizons[map - 1];
    EXPECT_GT(busy(700, 780), 2 * busy(h + 25, h + 40)) << "map " << map;
  }
}

// Farther rows of trees lose their contrast and take on the colour of the air.
TEST(PainterTreeLine, HazeFadesAFarRowTowardTheAirsColour) {
  using namespace artgen::landscape;
  namespace paint = artgen::paint;
  const paint::Rgb sky = paint::Hex(0xC8D8E8);
  TreeLineStyle row;
  row.baseY = 120;
  row.minH = 30;
  row.maxH = 60;
  row.count = 40;
  row.pine = row.broadleaf = 1;
  row.dark = paint::Hex(0x1E3018);
  row.light = paint::Hex(0x6A8A40);
  row.haze = sky;
  struct Stats {
    double distance = 0, spread = 0;
    int n = 0, below = 0;
  };
  auto paintRow = [&](double haze) {
    row.hazeAmount = haze;
    artgen::Canvas canvas(640, 160);
    cairo_set_source_rgb(canvas.cr(), sky.r, sky.g, sky.b);
    cairo_paint(canvas.cr());
    PaintTreeLine(canvas, row, 9);
    const RgbaImage img = canvas.ToRgba();
    const uint32_t plain = paint::Pack(sky);
    Stats s;
    double sum = 0, sum2 = 0;
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x) {
        const uint32_t p = img.At(x, y) | 0xFF000000u;
        if (p == plain) continue;
        if (y > row.baseY + 6) ++s.below;
        s.distance += std::fabs(R(p) - R(plain)) + std::fabs(G(p) - G(plain)) + std::fabs(B(p) - B(plain));
        sum += Luma(p), sum2 += Luma(p) * Luma(p), ++s.n;
      }
    s.distance /= s.n;
    s.spread = std::sqrt(sum2 / s.n - (sum / s.n) * (sum / s.n));
    return s;
  };
  const Stats near = paintRow(0.0), far = paintRow(0.6);
  ASSERT_GT(near.n, 2000);
  EXPECT_EQ(near.below, 0) << "trees stand on their row's line";
  EXPECT_LT(far.distance, near.distance * 0.6);
  EXPECT_LT(far.spread, near.spread * 0.6);
}

// Mesas: with caprock terraces most of the high land lies flat on a few bench levels; without them
// the heights spread smoothly.
TEST(PainterTerrain, TerracesMakeFlatBenches) {
  using namespace artgen::landscape;
  TerrainStyle style;
  style.peak = 0.6;
  style.clearRadius = 0;
  style.rangeShare = 0.3;
  style.ridgeSpacing = 7;
  auto onBench = [&](int terraces) {
    style.terraces = terraces;
    int high = 0, flat = 0;
    for (int i = 0; i < 60; ++i)
      for (int j = 0; j < 60; ++j) {
        const double h = TerrainHeight(style, i * 0.7, j * 0.7, 303);
        if (h < style.peak * 0.1) continue;
        ++high;
        const double step = h / style.peak * 4;
        flat += std::fabs(step - std::round(step)) < 0.01;
      }
    EXPECT_GT(high, 300);
    return static_cast<double>(flat) / high;
  };
  EXPECT_GT(onBench(4), 0.6);
  EXPECT_LT(onBench(0), 0.15);
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
  // Degenerate sizes and types give empty or plain pictures, not a crash.
  EXPECT_TRUE(artgen::DrawTrophyPicture(2, 0, 0).pixels.empty());
  EXPECT_EQ(artgen::DrawTrophyPicture(9, 40, 30).width, 40);
}

}  // namespace
