// The common colour block, median-cut picture palettes and the nearest-colour quantiser.
#include "tools/artgen/palette.h"

#include <algorithm>
#include <cstring>

namespace artgen {

namespace ramp {
const Ramp kGreys{2, 13};
const Ramp kFlame{17, 5};
const Ramp kSkinRed{22, 2};
const Ramp kSkinBlue{27, 4};
const Ramp kBrowns{31, 12};
const Ramp kBronze{43, 8};
const Ramp kWood{51, 10};
const Ramp kWalnut{61, 6};
const Ramp kFoliage{67, 12};
const Ramp kSky{79, 8};
const Ramp kEarth{87, 8};
const Ramp kLettering{95, 5};
const Ramp kSmoke{100, 4};
const Ramp kWoodMid{104, 6};
const Ramp kGreensMid{110, 6};
const Ramp kDarkBrown{116, 4};
const Ramp kGunMetal{120, 4};
const Ramp kWarmLight{124, 4};
}  // namespace ramp

namespace {

Palette MakeCommon() {
  Palette p{};
  auto set = [&p](int i, int r, int g, int b) {
    p[i] = Rgb{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
  };
  set(0, 0, 0, 0);
  set(1, 255, 0, 255);
  // Greys: with the bevel greys below they make an even scale for steel, smoke and the dialogs.
  const int greys[13] = {20, 36, 52, 72, 88, 104, 240, 120, 144, 160, 176, 208, 224};
  for (int i = 0; i < 13; ++i) set(2 + i, greys[i], greys[i], greys[i]);
  set(pal::kYellow, 255, 255, 0);
  set(pal::kGreen, 0, 255, 0);
  const int flame[5][3] = {{255, 250, 205}, {255, 222, 96}, {255, 172, 44}, {236, 112, 22}, {190, 62, 14}};
  for (int i = 0; i < 5; ++i) set(17 + i, flame[i][0], flame[i][1], flame[i][2]);
  set(22, 196, 32, 30);
  set(23, 128, 18, 22);
  set(pal::kBevelFace, 192, 192, 192);
  set(pal::kBevelShadow, 128, 128, 128);
  set(pal::kBevelDarkShadow, 64, 64, 64);
  const int skin[4][3] = {{150, 185, 230}, {64, 104, 190}, {228, 128, 126}, {250, 84, 70}};
  for (int i = 0; i < 4; ++i) set(27 + i, skin[i][0], skin[i][1], skin[i][2]);
  const int browns[12][3] = {{28, 19, 12},   {44, 30, 18},   {60, 41, 24},   {78, 54, 31},
                             {98, 68, 39},   {120, 84, 47},  {143, 101, 57}, {166, 121, 71},
                             {188, 145, 91}, {208, 170, 116}, {227, 199, 152}, {242, 226, 192}};
  for (int i = 0; i < 12; ++i) set(31 + i, browns[i][0], browns[i][1], browns[i][2]);
  const int bronze[8][3] = {{62, 40, 20},   {98, 60, 26},  {134, 86, 36},  {168, 112, 46},
                            {196, 140, 62}, {218, 168, 86}, {66, 76, 42},   {102, 110, 58}};
  for (int i = 0; i < 8; ++i) set(43 + i, bronze[i][0], bronze[i][1], bronze[i][2]);
  const int wood[10][3] = {{40, 30, 22},   {58, 44, 32},   {78, 61, 45},   {98, 77, 57},   {118, 95, 71},
                           {138, 113, 86}, {158, 132, 102}, {178, 152, 120}, {198, 174, 142}, {220, 199, 168}};
  for (int i = 0; i < 10; ++i) set(51 + i, wood[i][0], wood[i][1], wood[i][2]);
  const int walnut[6][3] = {{50, 24, 14}, {76, 38, 21}, {102, 54, 30}, {128, 72, 40}, {154, 93, 52}, {180, 117, 70}};
  for (int i = 0; i < 6; ++i) set(61 + i, walnut[i][0], walnut[i][1], walnut[i][2]);
  const int leaves[12][3] = {{18, 34, 14},   {28, 50, 20},   {38, 66, 25},   {50, 82, 30},
                             {64, 98, 36},   {80, 114, 43},  {96, 130, 51},  {114, 146, 62},
                             {134, 162, 76}, {156, 180, 94}, {58, 78, 48},   {88, 108, 68}};
  for (int i = 0; i < 12; ++i) set(67 + i, leaves[i][0], leaves[i][1], leaves[i][2]);
  const int sky[8][3] = {{58, 88, 140},   {78, 114, 170},  {100, 140, 196}, {124, 164, 214},
                         {150, 186, 226}, {176, 205, 236}, {202, 223, 243}, {226, 238, 250}};
  for (int i = 0; i < 8; ++i) set(79 + i, sky[i][0], sky[i][1], sky[i][2]);
  const int earth[8][3] = {{108, 88, 60},   {138, 114, 80},  {168, 144, 104}, {194, 172, 130},
                           {214, 196, 156}, {234, 220, 186}, {150, 86, 56},   {186, 118, 78}};
  for (int i = 0; i < 8; ++i) set(87 + i, earth[i][0], earth[i][1], earth[i][2]);
  const int letters[5][3] = {{250, 240, 212}, {222, 182, 64}, {170, 128, 36}, {214, 190, 140}, {238, 226, 196}};
  for (int i = 0; i < 5; ++i) set(95 + i, letters[i][0], letters[i][1], letters[i][2]);
  const int smoke[4][3] = {{96, 102, 112}, {134, 140, 150}, {170, 176, 186}, {206, 210, 218}};
  for (int i = 0; i < 4; ++i) set(100 + i, smoke[i][0], smoke[i][1], smoke[i][2]);
  const int woodMid[6][3] = {{68, 52, 38}, {88, 69, 51}, {108, 86, 64}, {128, 104, 78}, {148, 122, 94}, {168, 142, 111}};
  for (int i = 0; i < 6; ++i) set(104 + i, woodMid[i][0], woodMid[i][1], woodMid[i][2]);
  const int greensMid[6][3] = {{44, 52, 30}, {70, 80, 44}, {96, 104, 60}, {122, 128, 80}, {40, 74, 50}, {70, 104, 72}};
  for (int i = 0; i < 6; ++i) set(110 + i, greensMid[i][0], greensMid[i][1], greensMid[i][2]);
  const int darkBrown[4][3] = {{22, 16, 12}, {34, 26, 20}, {48, 36, 28}, {64, 48, 36}};
  for (int i = 0; i < 4; ++i) set(116 + i, darkBrown[i][0], darkBrown[i][1], darkBrown[i][2]);
  const int metal[4][3] = {{26, 30, 38}, {44, 50, 62}, {68, 76, 92}, {100, 110, 128}};
  for (int i = 0; i < 4; ++i) set(120 + i, metal[i][0], metal[i][1], metal[i][2]);
  const int warm[4][3] = {{246, 236, 220}, {236, 222, 200}, {250, 246, 236}, {255, 250, 240}};
  for (int i = 0; i < 4; ++i) set(124 + i, warm[i][0], warm[i][1], warm[i][2]);
  set(255, 255, 255, 255);
  return p;
}

inline int Distance(int r1, int g1, int b1, const Rgb& c) {
  const int dr = r1 - c.r, dg = g1 - c.g, db = b1 - c.b;
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// 8 x 8 Bayer matrix, values 0..63.
constexpr uint8_t kBayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                  {12, 44, 4, 36, 14, 46, 6, 38},  {60, 28, 52, 20, 62, 30, 54, 22},
                                  {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
                                  {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};

}  // namespace

const Palette& CommonPalette() {
  static const Palette common = MakeCommon();
  return common;
}

uint32_t ArgbOf(const Rgb& c) { return 0xFF000000u | (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b; }
uint32_t CommonArgb(uint8_t index) { return ArgbOf(CommonPalette()[index]); }

IndexSet CommonIndices() {
  IndexSet s;
  s.set(0);
  for (int i = 2; i < pal::kPictureFirst; ++i) s.set(i);
  s.set(255);
  return s;
}

IndexSet PictureIndices() {
  IndexSet s = CommonIndices();
  for (int i = pal::kPictureFirst; i <= pal::kPictureLast; ++i) s.set(i);
  return s;
}

IndexSet WithoutBlack(IndexSet set) {
  set.reset(pal::kBlack);
  return set;
}

Palette BuildPicturePalette(const std::vector<const RgbaImage*>& pictures) {
  Palette out = CommonPalette();
  // Histogram at 5 bits a channel, with sums so each bin keeps its true mean colour.
  struct Bin {
    uint64_t count = 0, r = 0, g = 0, b = 0;
  };
  std::vector<Bin> bins(1 << 15);
  for (const RgbaImage* pic : pictures) {
    if (!pic) continue;
    for (uint32_t px : pic->pixels) {
      if ((px >> 24) < 128) continue;
      const uint32_t r = (px >> 16) & 255, g = (px >> 8) & 255, b = px & 255;
      Bin& bin = bins[((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)];
      ++bin.count;
      bin.r += r;
      bin.g += g;
      bin.b += b;
    }
  }
  struct Colour {
    int r, g, b;
    uint64_t weight;
  };
  std::vector<Colour> colours;
  const IndexSet common = CommonIndices();
  for (const Bin& bin : bins) {
    if (!bin.count) continue;
    Colour c{int(bin.r / bin.count), int(bin.g / bin.count), int(bin.b / bin.count), bin.count};
    // Colours the common block already matches closely need no slot of their own.
    int best = 1 << 30;
    for (int i = 0; i < 256; ++i)
      if (common.test(i)) best = std::min(best, Distance(c.r, c.g, c.b, out[i]));
    if (best <= 9 * 9) continue;
    colours.push_back(c);
  }
  const int slots = pal::kPictureLast - pal::kPictureFirst + 1;
  if (colours.empty()) return out;

  // Median cut: split the box with the largest weighted spread along its widest channel.
  struct Box {
    size_t begin, end;
  };
  std::vector<Box> boxes{{0, colours.size()}};
  auto channel = [](const Colour& c, int ch) { return ch == 0 ? c.r : ch == 1 ? c.g : c.b; };
  auto spread = [&](const Box& box, int* widest) {
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    uint64_t w = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
      for (int ch = 0; ch < 3; ++ch) {
        lo[ch] = std::min(lo[ch], channel(colours[i], ch));
        hi[ch] = std::max(hi[ch], channel(colours[i], ch));
      }
      w += colours[i].weight;
    }
    int ch = 0;
    for (int k = 1; k < 3; ++k)
      if (hi[k] - lo[k] > hi[ch] - lo[ch]) ch = k;
    *widest = ch;
    return static_cast<double>(hi[ch] - lo[ch]) * static_cast<double>(w);
  };
  while (static_cast<int>(boxes.size()) < slots) {
    int pick = -1, pickCh = 0;
    double pickScore = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].end - boxes[i].begin < 2) continue;
      int ch;
      const double s = spread(boxes[i], &ch);
      if (s > pickScore) pickScore = s, pick = static_cast<int>(i), pickCh = ch;
    }
    if (pick < 0) break;
    Box box = boxes[pick];
    std::sort(colours.begin() + box.begin, colours.begin() + box.end,
              [&](const Colour& a, const Colour& b) { return channel(a, pickCh) < channel(b, pickCh); });
    uint64_t total = 0, run = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += colours[i].weight;
    size_t mid = box.begin + 1;
    for (size_t i = box.begin; i < box.end - 1; ++i) {
      run += colours[i].weight;
      mid = i + 1;
      if (run * 2 >= total) break;
    }
    boxes[pick] = {box.begin, mid};
    boxes.push_back({mid, box.end});
  }
  // Each box's weighted mean becomes one entry; then a few Lloyd rounds over the full palette.
  std::vector<std::array<double, 3>> centres;
  for (const Box& box : boxes) {
    double r = 0, g = 0, b = 0, w = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
      const double cw = static_cast<double>(colours[i].weight);
      r += colours[i].r * cw, g += colours[i].g * cw, b += colours[i].b * cw, w += cw;
    }
    centres.push_back({r / w, g / w, b / w});
  }
  auto store = [&]() {
    for (size_t k = 0; k < centres.size(); ++k)
      out[pal::kPictureFirst + k] = Rgb{static_cast<uint8_t>(centres[k][0] + 0.5),
                                        static_cast<uint8_t>(centres[k][1] + 0.5),
                                        static_cast<uint8_t>(centres[k][2] + 0.5)};
  };
  store();
  const IndexSet all = PictureIndices();
  for (int round = 0; round < 3; ++round) {
    std::vector<std::array<double, 4>> sums(centres.size(), {0, 0, 0, 0});
    for (const Colour& c : colours) {
      int best = 1 << 30, bestIndex = 0;
      for (int i = 0; i < 256; ++i) {
        if (!all.test(i)) continue;
        const int d = Distance(c.r, c.g, c.b, out[i]);
        if (d < best) best = d, bestIndex = i;
      }
      if (bestIndex < pal::kPictureFirst || bestIndex > pal::kPictureLast) continue;
      auto& s = sums[bestIndex - pal::kPictureFirst];
      const double w = static_cast<double>(c.weight);
      s[0] += c.r * w, s[1] += c.g * w, s[2] += c.b * w, s[3] += w;
    }
    for (size_t k = 0; k < centres.size(); ++k)
      if (sums[k][3] > 0) centres[k] = {sums[k][0] / sums[k][3], sums[k][1] / sums[k][3], sums[k][2] / sums[k][3]};
    store();
  }
  return out;
}

Quantiser::Quantiser(const Palette& palette, const IndexSet& allowed)
    : palette_(palette), cache_(size_t(1) << 24), known_((size_t(1) << 24) / 64) {
  for (int i = 0; i < 256; ++i)
    if (allowed.test(i)) allowedList_.push_back(static_cast<uint8_t>(i));
  if (allowedList_.empty()) allowedList_.push_back(pal::kBlack);
}

uint8_t Quantiser::Search(int r, int g, int b) const {
  int best = 1 << 30;
  uint8_t bestIndex = allowedList_.front();
  for (uint8_t i : allowedList_) {
    const int d = Distance(r, g, b, palette_[i]);
    if (d < best) best = d, bestIndex = i;
  }
  return bestIndex;
}

uint8_t Quantiser::Nearest(uint8_t r, uint8_t g, uint8_t b) {
  const uint32_t key = (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
  uint64_t& word = known_[key >> 6];
  const uint64_t bit = uint64_t(1) << (key & 63);
  if (!(word & bit)) {
    cache_[key] = Search(r, g, b);
    word |= bit;
  }
  return cache_[key];
}

IndexedImage Quantiser::Quantise(const RgbaImage& image, Dither dither, uint8_t transparentIndex) {
  IndexedImage out;
  out.width = image.width;
  out.height = image.height;
  out.pixels.resize(static_cast<size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint32_t px = image.At(x, y);
      uint8_t& o = out.pixels[static_cast<size_t>(y) * image.width + x];
      if ((px >> 24) < 128) {
        o = transparentIndex;
        continue;
      }
      const int r = (px >> 16) & 255, g = (px >> 8) & 255, b = px & 255;
      const uint8_t first = Nearest(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
      o = first;
      if (dither != Dither::Ordered) continue;
      // Two-colour ordered dither: mix the nearest entry with the one on the far side of the colour,
      // in the share the colour lies between them. A colour that is in the palette is never dithered,
      // so flat areas stay flat (no speckle).
      const Rgb& p1 = palette_[first];
      const int er = r - p1.r, eg = g - p1.g, eb = b - p1.b;
      if (3 * er * er + 4 * eg * eg + 2 * eb * eb <= 9) continue;
      const uint8_t second = Nearest(static_cast<uint8_t>(std::clamp(r + er, 0, 255)),
                                     static_cast<uint8_t>(std::clamp(g + eg, 0, 255)),
                                     static_cast<uint8_t>(std::clamp(b + eb, 0, 255)));
      if (second == first) continue;
      const Rgb& p2 = palette_[second];
      const int dr = p2.r - p1.r, dg = p2.g - p1.g, db = p2.b - p1.b;
      const double len = 3.0 * dr * dr + 4.0 * dg * dg + 2.0 * db * db;
      if (len <= 0) continue;
      const double t = (3.0 * er * dr + 4.0 * eg * dg + 2.0 * eb * db) / len;
      if ((kBayer[y & 7][x & 7] + 0.5) / 64.0 < t) o = second;
    }
  }
  return out;
}

IndexedImage Quantise(const RgbaImage& image, const Palette& palette, const IndexSet& allowed, Dither dither,
                      uint8_t transparentIndex) {
  Quantiser q(palette, allowed);
  return q.Quantise(image, dither, transparentIndex);
}

}  // namespace artgen
