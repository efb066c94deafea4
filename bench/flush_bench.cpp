// A full ZGraphics::Flush of the whole view against one plain 640 x 480 copy (and with ten scaled birds).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "framework/core/graphics_info.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/palette.h"
#include "framework/graphics/scaled_sprite.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/surface.h"
#include "platform/window.h"

#include "plain_copy.h"

namespace {

using platform::Rect;

void Put32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// One 200 x 150 bird frame (an ellipse on transparent 0) in a sprite map.
std::vector<uint8_t> BirdMap() {
  const int w = 200, h = 150;
  std::vector<uint8_t> out(48 + 272, 0);
  Put32(&out, 12, 1);
  Put32(&out, 24, 1024);
  Put32(&out, 28, static_cast<uint32_t>(w * h));
  Put32(&out, 32, w);
  Put32(&out, 36, h);
  Put32(&out, 48 + 228, 1);
  Put32(&out, 48 + 232, 1);
  Put32(&out, 48 + 256, w);
  Put32(&out, 48 + 260, h);
  Put32(&out, 48 + 264, w / 2);
  Put32(&out, 48 + 268, h - 1);
  for (int i = 0; i < 256; ++i) {
    out.push_back(static_cast<uint8_t>(i));
    out.push_back(static_cast<uint8_t>(i));
    out.push_back(static_cast<uint8_t>(i));
    out.push_back(0);
  }
  for (int v = h - 1; v >= 0; --v)
    for (int u = 0; u < w; ++u) {
      double dx = (u - w / 2.0) / (w / 2.0), dy = (v - h / 2.0) / (h / 2.0);
      out.push_back(dx * dx + dy * dy <= 1.0 ? static_cast<uint8_t>(130 + (u + v) % 50) : 0);
    }
  return out;
}

struct Scene {
  Scene() {
    backend = std::make_unique<platform::HeadlessBackend>(0, 0);
    platform::SetBackend(backend.get());
    window = std::make_unique<platform::Window>();
    window->CreateEx(0, platform::RegisterWindowClass(platform::WindowClass{}), "bench", platform::WS_POPUP,
                     Rect{0, 0, 640, 480}, nullptr, 0);
    graphics = std::make_unique<ZGraphics>();
    graphics->Init(window.get(), 640, 480, 8);
    panorama = std::make_unique<ZSurface>(graphics.get(), 2560, 780);
    for (int x = 0; x < 2560; x += 8) {
      Rect col{x, 0, x + 8, 780};
      panorama->Fill(&col, (x / 8) & 0xFF);
    }
    std::vector<uint8_t> bytes = BirdMap();
    map.LoadBytes(bytes.data(), bytes.size());
    art = std::make_unique<ZSurface>(graphics.get(), &map);
    palette.CreateFromSpriteMap(&map);
    graphics->SetPalette(&palette);
    Rect view{0, 0, 640, 480};
    viewport = std::make_unique<ZViewport>(graphics.get());
    viewport->wrapHorizontally = 1;
    viewport->Setup(panorama.get(), graphics->GetBackSurface(), &view, 2300, 150);
    viewport->SetNotifier(world.GetNotifier());
    world.SetGraphics(graphics.get());
    info.worldSprites = &world;
    info.overlaySprites = &overlay;
    info.mainViewport = viewport.get();
    graphics->SetInfo(&info);
  }
  ~Scene() {
    world.RemoveAll();
    birds.clear();
    viewport.reset();
    art.reset();
    panorama.reset();
    graphics.reset();
    window.reset();
    platform::ResetWindowSystem();
    platform::SetBackend(nullptr);
  }
  void AddBirds(int count) {
    for (int i = 0; i < count; ++i) {
      auto s = std::make_unique<ZScaledSprite>(2350 + i * 90 % 2560, 300 + (i % 3) * 40, 100 + i, art.get(), 1, &map);
      s->SetTargets(panorama.get(), viewport.get());
      s->placed = 1;
      s->kind = 2;
      s->mirrorLeftRight = i % 2;
      s->SetScale(0.8 + 0.15 * (i % 5));  // near birds: 160..280 wide
      world.Add(s.get());
      birds.push_back(std::move(s));
    }
  }
  void FlushWholeView() {
    Rect view{0, 0, 640, 480};
    graphics->AddPendingRect(&view);
    graphics->AddFollowingRect(&view);
    graphics->Flush();
  }

  std::unique_ptr<platform::HeadlessBackend> backend;
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<ZGraphics> graphics;
  std::unique_ptr<ZSurface> panorama;
  ZSpriteMap map;
  std::unique_ptr<ZSurface> art;
  ZPalette palette;
  std::unique_ptr<ZViewport> viewport;
  ZSpriteList world;
  ZSpriteList overlay;
  ZGraphicsInfo info;
  std::vector<std::unique_ptr<ZScaledSprite>> birds;
};

void BM_FlushWholeView(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    scene.FlushWholeView();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FlushWholeView);

void BM_FlushWholeViewTenNearBirds(benchmark::State& state) {
  Scene scene;
  scene.AddBirds(10);
  for (auto _ : state) {
    scene.FlushWholeView();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FlushWholeViewTenNearBirds);

}  // namespace

BENCHMARK_MAIN();
