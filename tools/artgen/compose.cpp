// Places scenery as the hunt does, cuts previews, and lays out whole screens for the contact sheet.
#include "tools/artgen/compose.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/blit.h"
#include "tools/artgen/controls.h"
#include "tools/artgen/draw.h"

namespace artgen {

RgbaImage PlaceScenery(const AreaArt& area, const Stand& stand, const std::vector<HuntItem>& items) {
  RgbaImage out = area.panorama;
  if (out.width == 0) return out;
  struct Placed {
    double d;
    int sprite;
    double bearing;
  };
  std::vector<Placed> near;
  int lastSprite = 0;
  for (const HuntItem& it : items) {
    if (it.type >= 18 && it.type <= 20) continue;
    const int own = SpriteOfItemType(it.type);
    const int sprite = own >= 0 ? own : lastSprite;
    const double dx = it.x - stand.x, dy = it.y - stand.y, d = std::hypot(dx, dy);
    if (d >= 1000) continue;
    lastSprite = sprite;
    near.push_back({d, sprite, std::atan2(dy, dx)});
  }
  std::stable_sort(near.begin(), near.end(), [](const Placed& a, const Placed& b) { return a.d > b.d; });
  for (const Placed& p : near) {
    if (p.sprite >= static_cast<int>(area.scenery.size()) || area.scenery[p.sprite].empty()) continue;
    const RgbaImage& frame = area.scenery[p.sprite][0];
    double bearing = p.bearing;
    while (bearing > 6.283185307) bearing -= 6.283185307;
    while (bearing < 0) bearing += 6.283185307;
    int x = 2560 - static_cast<int>(2560 * 0.15915494309644432 * bearing);
    if (x < 0) x += 2560;
    const double dist = std::max(p.d, 100.0);
    const double scale = std::min(1.0, 110.0 / dist);
    const int y = stand.horizonY + static_cast<int>((780 - stand.horizonY) * scale);
    int left = x - static_cast<int>((frame.width * scale + 1) / 2);
    if (left < 0) left += 2560;
    const int top = y - static_cast<int>(frame.height * scale + 0.5);
    Composite(out, frame, left, top, scale);
  }
  return out;
}

RgbaImage PreviewOf(const RgbaImage& scene, const Stand& stand) {
  using namespace ctlsize;
  const double sw = kPreviewW * 4.0, sh = kPreviewH * 4.0;
  RgbaImage p = ResampleWrapped(scene, 1920 - sw / 2, stand.horizonY - sh * 0.62, sw, sh, kPreviewW, kPreviewH);
  for (uint32_t& px : p.pixels) px |= 0xFF000000u;  // the preview is a solid picture
  return p;
}

void Paste(IndexedImage& dst, const IndexedImage& src, int x, int y, int key, int clipBottom) {
  for (int v = 0; v < src.height; ++v) {
    const int dy = y + v;
    if (dy < 0 || dy >= dst.height || dy >= clipBottom) continue;
    for (int u = 0; u < src.width; ++u) {
      const int dx = x + u;
      if (dx < 0 || dx >= dst.width) continue;
      const uint8_t c = src.At(u, v);
      if (c != key) dst.pixels[static_cast<size_t>(dy) * dst.width + dx] = c;
    }
  }
}

namespace {
const IndexedImage& FrameOf(const std::vector<MapSprite>& controls, int sprite, int frame) {
  static const IndexedImage empty;
  if (sprite >= static_cast<int>(controls.size()) || frame >= static_cast<int>(controls[sprite].size())) return empty;
  return controls[sprite][frame].image;
}
void PasteSprite(IndexedImage& dst, const std::vector<MapSprite>& controls, int sprite, int frame, int x, int y,
                 int clipBottom = 1 << 30) {
  if (sprite >= static_cast<int>(controls.size()) || frame >= static_cast<int>(controls[sprite].size())) return;
  const MapFrame& f = controls[sprite][frame];
  Paste(dst, f.image, x - f.hotX, y - f.hotY, pal::kTransparent, clipBottom);
}
}  // namespace

IndexedImage ComposeTitle(const IndexedImage& title, const std::vector<MapSprite>& controls) {
  IndexedImage out = title;
  PasteSprite(out, controls, ctl::kHunt, 0, 330, 195);  // highlighted, as under the pointer
  PasteSprite(out, controls, ctl::kTrophyRoom, 1, 330, 265);
  PasteSprite(out, controls, ctl::kExit, 1, 330, 335);
  return out;
}

IndexedImage ComposeSetup(const IndexedImage& title, const IndexedImage& sign, const std::vector<MapSprite>& controls,
                          int chosenHunt) {
  IndexedImage out = title;
  const int ox = (640 - sign.width) / 2, oy = (480 - sign.height) / 2;
  Paste(out, sign, ox, oy, pal::kTransparent);
  PasteSprite(out, controls, ctl::kPreview, chosenHunt, ox + 75, oy + 255);
  PasteSprite(out, controls, ctl::kOk, 1, ox + 100, oy + 320);
  PasteSprite(out, controls, ctl::kCancel, 0, ox + 275, oy + 320);
  const int pos[5][2] = {{100, 100}, {210, 100}, {320, 100}, {153, 180}, {273, 180}};
  for (int h = 0; h < 5; ++h)
    PasteSprite(out, controls, ctl::kHuntFirst + h, h == chosenHunt ? 1 : 0, ox + pos[h][0], oy + pos[h][1]);
  (void)FrameOf;
  return out;
}

IndexedImage ComposeHunt(const IndexedImage& view, const IndexedImage& bar, const std::vector<MapSprite>& controls,
                         bool firing) {
  IndexedImage out;
  out.width = 640;
  out.height = 480;
  out.pixels.assign(640 * 480, pal::kBlack);
  // The opening view of the panorama, then the bar in the bottom 55 rows.
  for (int y = 0; y < 425; ++y)
    for (int x = 0; x < 640; ++x)
      out.pixels[y * 640 + x] = view.At((1600 + x) % view.width, std::min(view.height - 1, 188 + y));
  Paste(out, bar, 0, 425, -1);
  PasteSprite(out, controls, ctl::kGun, 0, 320, 436, 425);
  if (firing) PasteSprite(out, controls, ctl::kMuzzle, 0, 322, 316, 425);
  PasteSprite(out, controls, ctl::kCall1, 1, 6, 430);
  PasteSprite(out, controls, ctl::kCall2, 0, 120, 430);
  PasteSprite(out, controls, ctl::kAim, 1, 250, 430);
  PasteSprite(out, controls, ctl::kReturn, 1, 520, 435);
  return out;
}

IndexedImage ComposeTrophyRoom(const IndexedImage& frame, const std::vector<MapSprite>& controls) {
  // Sample lines in the room's font, shadow first, to judge the text against the panel.
  RgbaImage rgba(frame.width, frame.height);
  for (int y = 0; y < frame.height; ++y)
    for (int x = 0; x < frame.width; ++x) rgba.At(x, y) = CommonArgb(frame.At(x, y));
  Canvas c(rgba);
  cairo_t* cr = c.cr();
  SelectFace(cr, Face::Serif, 14);
  const char* lines[3] = {"Hunter shot a 24 lb. Florida Wild Turkey in the Southeast location on",
                          "Hunter shot a 21 lb. Merriam's Wild Turkey in the Colorado location on",
                          "Hunter shot a 19 lb. Gould's Wild Turkey in the Mexico location on"};
  for (int i = 0; i < 3; ++i) {
    for (int pass = 0; pass < 2; ++pass) {
      SetColour(cr, pass == 0 ? pal::kBlack : (i == 1 ? pal::kGreen : pal::kYellow));
      cairo_move_to(cr, 175 + pass, 120 + 60 * i + 13 + pass);
      cairo_show_text(cr, lines[i]);
      cairo_move_to(cr, 175 + pass, 120 + 60 * i + 29 + pass);
      cairo_show_text(cr, "December 06, 2026 at 21:30");
    }
  }
  Quantiser q(CommonPalette(), CommonIndices());
  IndexedImage out = q.Quantise(c.ToRgba(), Dither::None);
  const int kinds[3] = {0, 2, 1};
  for (int i = 0; i < 3; ++i) PasteSprite(out, controls, ctl::kTrophy, kinds[i], 100, 100 + 60 * i);
  const IndexedImage& reset = FrameOf(controls, ctl::kReset, 1);
  const IndexedImage& leave = FrameOf(controls, ctl::kOk, 1);
  PasteSprite(out, controls, ctl::kReset, 1, 5, 475 - reset.height);
  PasteSprite(out, controls, ctl::kOk, 1, 635 - leave.width, 475 - leave.height);
  return out;
}

namespace {

IndexedImage CropWrapped(const IndexedImage& src, int x0, int y0, int w, int h) {
  IndexedImage out;
  out.width = w;
  out.height = h;
  out.pixels.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      out.pixels[static_cast<size_t>(y) * w + x] =
          src.At(((x0 + x) % src.width + src.width) % src.width, std::clamp(y0 + y, 0, src.height - 1));
  return out;
}

// A frame shrunk or grown the way the game draws a scaled sprite: its feet centred on (x, feetY), the
// picture stretched by the game's blitter (nearest pixel, transparent index keyed).
void PasteScaled(IndexedImage& dst, const MapFrame& f, double scale, int x, int feetY) {
  const int w = static_cast<int>(f.image.width * scale + 0.5), h = static_cast<int>(f.image.height * scale + 0.5);
  if (w <= 0 || h <= 0) return;
  const int left = x - static_cast<int>((f.image.width * scale + 1) / 2), top = feetY - static_cast<int>(f.image.height * scale);
  platform::BlitTarget target{dst.pixels.data(), dst.width, dst.height, dst.width};
  platform::BlitSource source{f.image.pixels.data(), f.image.width, f.image.height, f.image.width};
  platform::BlitParams p;
  p.dst = platform::Rect{left, top, left + w, top + h};
  p.src = platform::Rect{0, 0, f.image.width, f.image.height};
  p.clip = platform::Rect{0, 0, dst.width, dst.height};
  p.keyed = true;
  p.keyLow = p.keyHigh = pal::kTransparent;
  platform::BlitReference(target, source, p);
}

void Stack(IndexedImage& top, const IndexedImage& below) {
  top.pixels.insert(top.pixels.end(), below.pixels.begin(), below.pixels.end());
  top.height += below.height;
}

}  // namespace

IndexedImage BirdsAtSizes(const std::vector<MapSprite>& birds, const IndexedImage& panorama, int horizonY) {
  constexpr int kGroundRow = 780, kWidth = 1000;
  // Far and middle birds on the band around the horizon, where the hunt shows them.
  IndexedImage out = CropWrapped(panorama, 1500, horizonY - 50, kWidth, 200);
  const int order[5] = {1, 3, 5, 4, 2};  // standing, walking, coming, going, fleeing
  int x = 40;
  for (int tall : {15, 30, 60}) {
    for (int i = 0; i < (tall == 60 ? 3 : 5); ++i) {
      const int id = order[i];
      if (id >= static_cast<int>(birds.size()) || birds[id].empty()) continue;
      const MapFrame& f = birds[id][0];
      const double scale = static_cast<double>(tall) / f.image.height;
      // The game draws a bird at 0.9 of its place's scale: find the distance this size belongs to.
      const double place = scale / 0.9;
      const int feet = horizonY + static_cast<int>((kGroundRow - horizonY) * place) - (horizonY - 50);
      PasteScaled(out, f, scale, x + static_cast<int>(f.image.width * scale / 2), feet);
      x += static_cast<int>(f.image.width * scale) + (tall == 60 ? 30 : 18);
    }
    x += 40;
  }
  // Full size, close by on the ground near the bottom of the panorama.
  IndexedImage near = CropWrapped(panorama, 1500, kGroundRow - 300, kWidth, 310);
  x = 20;
  for (int id : {1, 5, 2}) {
    if (id >= static_cast<int>(birds.size()) || birds[id].empty()) continue;
    const MapFrame& f = birds[id][0];
    PasteScaled(near, f, 1.0, x + f.image.width / 2, 300);
    x += f.image.width + 20;
  }
  Stack(out, near);
  return out;
}

IndexedImage RocksOnGround(const std::vector<MapSprite>& scenery, const IndexedImage& panorama, int horizonY) {
  constexpr int kGroundRow = 780, kWidth = 900;
  IndexedImage out = CropWrapped(panorama, 1500, std::max(0, horizonY - 60), kWidth, kGroundRow + 10 - (horizonY - 60));
  int x = 20;
  for (double scale : {1.0, 0.5}) {
    for (int id : {4, 8}) {
      if (id >= static_cast<int>(scenery.size()) || scenery[id].empty()) continue;
      const MapFrame& f = scenery[id][0];
      const int feet = horizonY + static_cast<int>((kGroundRow - horizonY) * scale) - (horizonY - 60);
      PasteScaled(out, f, scale, x + static_cast<int>(f.image.width * scale / 2), feet);
      x += static_cast<int>(f.image.width * scale) + 20;
    }
  }
  return out;
}

IndexedImage SpriteStrip(const MapSprite& sprite, int scale, uint8_t background) {
  IndexedImage out;
  for (const MapFrame& f : sprite) {
    out.width += (f.image.width + 4) * scale;
    out.height = std::max(out.height, (f.image.height + 8) * scale);
  }
  out.pixels.assign(static_cast<size_t>(out.width) * std::max(1, out.height), background);
  int x0 = 0;
  for (const MapFrame& f : sprite) {
    for (int y = 0; y < f.image.height * scale; ++y)
      for (int x = 0; x < f.image.width * scale; ++x) {
        const uint8_t c = f.image.At(x / scale, y / scale);
        if (c != pal::kTransparent) out.pixels[static_cast<size_t>(y + 4 * scale) * out.width + x0 + x] = c;
      }
    x0 += (f.image.width + 4) * scale;
  }
  return out;
}

void ContactSheet::Add(const std::string& name, const IndexedImage& image, const Palette& palette) {
  const std::string path = dir_ + "/" + name + ".png";
  if (!WritePng(path, image, palette)) {
    std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
    ok_ = false;
  }
}

}  // namespace artgen
