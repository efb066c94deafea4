// The fast blitters against the reference one, pixel for pixel, and the reference against hand-made cases.
#include "platform/blit.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace platform {
namespace {

struct Image {
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
  std::vector<uint8_t> bits;
  Image(int32_t w, int32_t h, int32_t padding = 0) : width(w), height(h), pitch(w + padding), bits(static_cast<size_t>(pitch) * h) {}
  BlitTarget Target() { return BlitTarget{bits.data(), width, height, pitch}; }
  BlitSource Source() const { return BlitSource{bits.data(), width, height, pitch}; }
  uint8_t At(int32_t x, int32_t y) const { return bits[static_cast<size_t>(y) * pitch + x]; }
  std::string Row(int32_t y) const {
    std::string s;
    for (int32_t x = 0; x < width; ++x) s += std::to_string(At(x, y)) + (x + 1 < width ? " " : "");
    return s;
  }
};

Image Ramp(int32_t w, int32_t h) {
  Image img(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) img.bits[static_cast<size_t>(y) * img.pitch + x] = static_cast<uint8_t>(10 * y + x + 1);
  return img;
}

BlitParams Plain(Rect dst, Rect src) {
  BlitParams p;
  p.dst = dst;
  p.src = src;
  p.clip = Rect{-100000, -100000, 100000, 100000};
  return p;
}

// --- the rule itself, on the reference ---

TEST(BlitReferenceTest, EqualSizesCopyAndMirrorReverses) {
  const Image src = Ramp(3, 2);
  Image dst(3, 2);
  BlitReference(dst.Target(), src.Source(), Plain({0, 0, 3, 2}, {0, 0, 3, 2}));
  EXPECT_EQ(dst.Row(0), "1 2 3");
  EXPECT_EQ(dst.Row(1), "11 12 13");
  BlitParams m = Plain({0, 0, 3, 2}, {0, 0, 3, 2});
  m.mirrorLeftRight = m.mirrorUpDown = true;
  BlitReference(dst.Target(), src.Source(), m);
  EXPECT_EQ(dst.Row(0), "13 12 11");
  EXPECT_EQ(dst.Row(1), "3 2 1");
}

TEST(BlitReferenceTest, StretchSamplesNearestCentres) {
  const Image src = Ramp(5, 1);
  Image up(10, 1);
  BlitReference(up.Target(), src.Source(), Plain({0, 0, 10, 1}, {0, 0, 5, 1}));
  EXPECT_EQ(up.Row(0), "1 1 2 2 3 3 4 4 5 5");
  Image down(3, 1);
  BlitReference(down.Target(), src.Source(), Plain({0, 0, 3, 1}, {0, 0, 5, 1}));
  EXPECT_EQ(down.Row(0), "1 3 5");  // odd sizes keep both ends and the middle
}

TEST(BlitReferenceTest, KeyRangeSkipsOnlyIndicesInside) {
  Image src(6, 1);
  src.bits = {2, 3, 4, 5, 6, 9};
  Image dst(6, 1);
  std::fill(dst.bits.begin(), dst.bits.end(), 0xEE);
  BlitParams p = Plain({0, 0, 6, 1}, {0, 0, 6, 1});
  p.keyed = true;
  p.keyLow = 3;
  p.keyHigh = 5;
  BlitReference(dst.Target(), src.Source(), p);
  EXPECT_EQ(dst.Row(0), "2 238 238 238 6 9");
}

TEST(BlitReferenceTest, ClippedMirrorKeepsTheWholeImageMapping) {
  // A 5-wide row drawn mirrored at x = -2: the visible columns are the right part of the mirrored image.
  const Image src = Ramp(5, 1);
  Image dst(4, 1);
  BlitParams p = Plain({-2, 0, 3, 1}, {0, 0, 5, 1});
  p.mirrorLeftRight = true;
  BlitReference(dst.Target(), src.Source(), p);
  EXPECT_EQ(dst.Row(0), "3 2 1 0");
}

// --- fast against reference ---

void ExpectSame(const Image& dst, const Image& src, const BlitParams& p, const std::string& what) {
  Image ref = dst;
  Image fast = dst;
  BlitReference(ref.Target(), src.Source(), p);
  BlitFast(fast.Target(), src.Source(), p);
  ASSERT_EQ(ref.bits, fast.bits) << what;
}

Image Noise(std::mt19937& rng, int32_t w, int32_t h, int32_t padding) {
  Image img(w, h, padding);
  // Runs of the key colours next to noise, as sprites have them.
  std::uniform_int_distribution<int> run(1, 12), value(0, 255), pick(0, 3);
  size_t i = 0;
  while (i < img.bits.size()) {
    const int len = run(rng);
    const int kind = pick(rng);
    const uint8_t v = kind == 0 ? 1 : kind == 1 ? 200 : static_cast<uint8_t>(value(rng));
    for (int k = 0; k < len && i < img.bits.size(); ++k, ++i) img.bits[i] = kind >= 2 ? static_cast<uint8_t>(value(rng)) : v;
  }
  return img;
}

TEST(BlitFastTest, RandomCasesMatchTheReference) {
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> side(1, 70), pad(0, 5), coin(0, 1), pos(-40, 110), ext(-3, 90), keyPick(0, 4);
  for (int n = 0; n < 4000; ++n) {
    const Image target = Noise(rng, side(rng), side(rng), pad(rng));
    const Image source = Noise(rng, side(rng), side(rng), pad(rng));
    BlitParams p;
    const int sl = pos(rng) / 2, st = pos(rng) / 2;
    p.src = Rect{sl, st, sl + std::max(0, ext(rng)), st + std::max(0, ext(rng))};
    const int dl = pos(rng), dt = pos(rng);
    if (coin(rng)) {
      p.dst = Rect{dl, dt, dl + p.src.Width(), dt + p.src.Height()};  // unscaled
    } else {
      p.dst = Rect{dl, dt, dl + std::max(0, ext(rng) * 2), dt + std::max(0, ext(rng) * 2)};  // stretched
    }
    const int cl = pos(rng) / 2, ct = pos(rng) / 2;
    p.clip = coin(rng) ? Rect{-1000, -1000, 1000, 1000} : Rect{cl, ct, cl + ext(rng), ct + ext(rng)};
    switch (keyPick(rng)) {
      case 0: break;
      case 1: p.keyed = true; p.keyLow = p.keyHigh = 1; break;
      case 2: p.keyed = true; p.keyLow = p.keyHigh = 200; break;
      case 3: p.keyed = true; p.keyLow = 190; p.keyHigh = 210; break;
      default: p.keyed = true; p.keyLow = 250; p.keyHigh = 300; break;  // high beyond 255
    }
    p.mirrorLeftRight = coin(rng);
    p.mirrorUpDown = coin(rng);
    ExpectSame(target, source, p, "case " + std::to_string(n));
  }
}

TEST(BlitFastTest, EdgesMatchTheReference) {
  std::mt19937 rng(7);
  const Image src = Noise(rng, 37, 23, 3);
  const Image dst = Noise(rng, 64, 48, 0);
  const Rect big{-100000, -100000, 100000, 100000};
  struct Edge {
    const char* what;
    Rect dst, src, clip;
  };
  const Edge edges[] = {
      {"zero-size src", {5, 5, 40, 30}, {3, 3, 3, 10}, big},
      {"empty clip", {5, 5, 42, 28}, {0, 0, 37, 23}, {10, 10, 10, 10}},
      {"source wholly outside", {0, 0, 37, 23}, {40, 30, 77, 53}, big},
      {"stretch down odd", {2, 3, 15, 10}, {0, 0, 37, 23}, {4, 0, 13, 9}},
      {"one pixel to many", {0, 0, 64, 48}, {5, 5, 6, 6}, big},
      {"many to one pixel", {10, 10, 11, 11}, {0, 0, 37, 23}, big},
      {"huge rectangle", {-2000000000, -2000000000, 2000000000, 2000000000}, {0, 0, 37, 23}, big},
  };
  for (const Edge& e : edges) {
    for (int variant = 0; variant < 8; ++variant) {
      BlitParams p = Plain(e.dst, e.src);
      p.clip = e.clip;
      p.mirrorLeftRight = (variant & 1) != 0;
      p.mirrorUpDown = (variant & 2) != 0;
      p.keyed = (variant & 4) != 0;
      p.keyLow = p.keyHigh = 1;
      ExpectSame(dst, src, p, std::string(e.what) + " variant " + std::to_string(variant));
    }
  }
}

TEST(FillTest, FastMatchesReferenceAndStaysInside) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> pos(-20, 60), ext(-2, 50);
  for (int n = 0; n < 500; ++n) {
    Image base = Noise(rng, 40, 30, n % 4);
    Image a = base, b = base;
    const Rect r{pos(rng), pos(rng), 0, 0};
    const Rect rect{r.left, r.top, r.left + ext(rng), r.top + ext(rng)};
    const Rect clip{pos(rng), pos(rng), pos(rng) + 40, pos(rng) + 40};
    FillReference(a.Target(), rect, clip, 77);
    FillFast(b.Target(), rect, clip, 77);
    ASSERT_EQ(a.bits, b.bits) << n;
  }
}

}  // namespace
}  // namespace platform
