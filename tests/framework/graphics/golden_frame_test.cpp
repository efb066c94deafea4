// A whole rendered frame pinned by its hash: a wrapping panorama and a dozen scaled, mirrored, clipped sprites.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "framework/core/graphics_info.h"
#include "framework/graphics/palette.h"
#include "framework/graphics/scaled_sprite.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/viewport.h"
#include "tests/framework/graphics/gfx_test_util.h"
#include "tests/golden_frame_util.h"

namespace {

using platform::Rect;

// The frame as this scene renders it. When a deliberate change alters the picture, run the test with
// BF_UPDATE_GOLDEN=1, look at the PNG it writes beside this file, and put the new hash here.
constexpr uint64_t kGoldenHash = 0x7de5b6b85b16902bULL;

// Palette: 0 black (transparent in the sprites), 1..63 sky, 64..127 grass, 128..191 bark and
// feathers, 192..223 reds, 224..254 greys, 255 white.
void WritePalette(std::vector<uint8_t>* map) {
  size_t at = 48 + 272 * 3;
  for (int i = 0; i < 256; ++i) {
    int r = 0, g = 0, b = 0;
    if (i >= 1 && i < 64) {
      r = 60 + i * 2;
      g = 110 + i * 2;
      b = 200 + i / 2;
    } else if (i < 128 && i >= 64) {
      r = 40 + (i - 64);
      g = 90 + (i - 64) * 2;
      b = 30;
    } else if (i < 192 && i >= 128) {
      r = 70 + (i - 128) * 2;
      g = 45 + (i - 128);
      b = 20 + (i - 128) / 2;
    } else if (i < 224 && i >= 192) {
      r = 140 + (i - 192) * 3;
      g = 20;
      b = 30;
    } else if (i >= 224) {
      r = g = b = (i - 224) * 8;
    }
    if (i == 255) r = g = b = 255;
    (*map)[at + 4 * i] = static_cast<uint8_t>(b);
    (*map)[at + 4 * i + 1] = static_cast<uint8_t>(g);
    (*map)[at + 4 * i + 2] = static_cast<uint8_t>(r);
  }
}

class GoldenFrameTest : public gfxtest::GraphicsFixture {};

TEST_F(GoldenFrameTest, SceneMatchesItsPinnedHash) {
  // Frames: a bird (an ellipse body, a red head), a tree (trunk and round crown), a diamond.
  auto bird = [](int u, int v) {
    double dx = (u - 26) / 24.0, dy = (v - 30) / 16.0;
    if (dx * dx + dy * dy <= 1.0) return 130 + (u * 3 + v) % 40;
    double hx = (u - 50) / 7.0, hy = (v - 14) / 9.0;
    if (hx * hx + hy * hy <= 1.0) return 200 + v % 20;
    if (v >= 44 && (u == 20 || u == 32)) return 140;  // legs
    return 0;
  };
  auto tree = [](int u, int v) {
    double dx = (u - 30) / 28.0, dy = (v - 28) / 26.0;
    if (dx * dx + dy * dy <= 1.0) return 70 + ((u / 4 + v / 3) % 6) * 8;
    if (u >= 25 && u < 35 && v >= 40) return 150 + v % 8;
    return 0;
  };
  auto diamond = [](int u, int v) { return std::abs(u - 15) + std::abs(v - 15) <= 14 ? 224 + (u + v) % 30 : 0; };
  std::vector<uint8_t> bytes = gfxtest::BuildSpriteMap(
      200, 100, 0,
      {gfxtest::PatternFrame(1, 1, 0, 0, 58, 50, bird, 26, 49), gfxtest::PatternFrame(2, 2, 60, 0, 60, 96, tree, 30, 95),
       gfxtest::PatternFrame(3, 3, 130, 0, 31, 31, diamond, 15, 15)});
  WritePalette(&bytes);
  ZSpriteMap map;
  ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
  ZSurface art(graphics.get(), &map);
  ASSERT_NE(art.GetSurface2(), nullptr);
  ZPalette palette;
  ASSERT_EQ(palette.CreateFromSpriteMap(&map), 1);
  graphics->SetPalette(&palette);

  // The panorama: sky rows, hills whose height follows the column, grass below, posts every 160 columns.
  auto panorama = MakeSurface(2560, 480, 1);
  for (int y = 0; y < 300; ++y) {
    Rect row{0, y, 2560, y + 1};
    panorama->Fill(&row, 1 + y / 5);
  }
  for (int x = 0; x < 2560; x += 4) {
    int top = 250 + static_cast<int>(40 * std::sin(x * 2 * M_PI / 2560.0 * 3));
    Rect hill{x, top, x + 4, 480};
    panorama->Fill(&hill, 64 + ((x / 4) % 9) + (top - 210) / 4);
    if (x % 160 == 0) {
      Rect post{x, top - 30, x + 6, top + 20};
      panorama->Fill(&post, 160);
    }
  }

  Rect view{0, 0, 640, 480};
  ZViewport viewport(graphics.get());
  viewport.wrapHorizontally = 1;
  viewport.Setup(panorama.get(), graphics->GetBackSurface(), &view, 2300, 0);
  ZSpriteList world;
  ZSpriteList overlay;
  world.SetGraphics(graphics.get());
  viewport.SetNotifier(world.GetNotifier());
  ZGraphicsInfo info;
  info.worldSprites = &world;
  info.overlaySprites = &overlay;
  info.mainViewport = &viewport;
  ASSERT_EQ(graphics->SetInfo(&info), 1);

  struct Placement {
    int sprite, x, y, depth;
    double scale;
    bool mirrorLR, mirrorUD;
    int kind;
  };
  // In panorama coordinates; the view shows 2300..2559 then 0..379.
  const Placement scene[] = {
      {2, 2350, 330, 900, 1.8, false, false, 2}, {2, 2550, 320, 800, 1.2, true, false, 2},  // across the seam
      {2, 150, 360, 700, 2.4, false, false, 2},  {1, 2400, 420, 300, 1.5, false, false, 2},
      {1, 2560 - 10, 400, 250, 0.8, true, false, 2}, {1, 60, 470, 200, 2.2, true, false, 2},  // clipped below
      {1, 300, 380, 500, 0.5, false, false, 2},  {1, 330, 385, 480, 0.35, true, false, 2},
      {3, 2320, 40, 100, 1.0, false, false, 2},  {3, 2500, 10, 90, 2.0, false, true, 2},       // clipped above
      {3, 200, 200, 80, 0.6, true, true, 2},     {1, 2310, 300, 50, 1.0, true, false, 2},      // plain scale 1
      {2, 370, 470, 40, 1.3, false, false, 2},                                                   // at the right edge
  };
  std::vector<std::unique_ptr<ZScaledSprite>> sprites;
  for (const Placement& p : scene) {
    auto s = std::make_unique<ZScaledSprite>(p.x, p.y, p.depth, &art, p.sprite, &map);
    s->SetTargets(panorama.get(), &viewport);
    s->placed = 1;
    s->kind = p.kind;
    s->mirrorLeftRight = p.mirrorLR ? 1 : 0;
    s->mirrorUpDown = p.mirrorUD ? 1 : 0;
    s->SetScale(p.scale);
    world.Add(s.get());
    sprites.push_back(std::move(s));
  }
  ASSERT_EQ(world.GetCount(), 13);
  graphics->RedrawRect(nullptr);

  ZSurface* back = graphics->GetBackSurface();
  std::vector<uint8_t> pixels(640 * 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) pixels[static_cast<size_t>(y * 640 + x)] = At(back, x, y);
  platform::Rgb colors[256];
  palette.GetColors(colors);
  const uint64_t hash = golden::Keep(pixels, colors, "golden_frame.png", "tests/framework/graphics/golden_frame.png");
  // Sanity of the scene itself, so a broken hash can be told from a broken scene.
  EXPECT_EQ(pixels[static_cast<size_t>(5 * 640 + 639)], 2);  // sky in the top row band
  EXPECT_NE(pixels[static_cast<size_t>(470 * 640 + 60)], pixels[static_cast<size_t>(470 * 640 + 630)]);
  EXPECT_EQ(hash, kGoldenHash) << std::hex << "0x" << hash;
  world.RemoveAll();
}

}  // namespace
