// Our 8-bit blits against SDL2's software blitter on the same work: keyed, stretched and mirrored.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "platform/surface.h"

namespace {

constexpr uint8_t kKey = 1;
constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

// A sprite-like picture: an irregular blob of noisy colours on the transparent index.
std::vector<uint8_t> SpritePixels(int w, int h) {
  std::mt19937 rng(static_cast<uint32_t>(w * 7919 + h));
  std::uniform_int_distribution<int> colour(2, 127);
  std::vector<uint8_t> p(static_cast<size_t>(w) * h, kKey);
  const double cx = w / 2.0, cy = h / 2.0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double dx = (x - cx) / (w * 0.45), dy = (y - cy) / (h * 0.45);
      const double wobble = 0.15 * ((x * 13 + y * 7) % 11) / 11.0;
      if (dx * dx + dy * dy < 1.0 - wobble) p[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(colour(rng));
    }
  }
  return p;
}

struct Palette {
  SDL_Palette* sdl = nullptr;
  Palette() {
    sdl = SDL_AllocPalette(256);
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) colours[i] = SDL_Color{static_cast<Uint8>(i), static_cast<Uint8>(255 - i), static_cast<Uint8>(i * 3), 255};
    SDL_SetPaletteColors(sdl, colours, 0, 256);
  }
  ~Palette() { SDL_FreePalette(sdl); }
};
Palette& SharedPalette() {
  static Palette palette;
  return palette;
}

SDL_Surface* SdlSurface(int w, int h, const std::vector<uint8_t>* pixels) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 8, SDL_PIXELFORMAT_INDEX8);
  SDL_SetSurfacePalette(s, SharedPalette().sdl);  // same palette on both sides: indices copied
  if (pixels != nullptr) {
    for (int y = 0; y < h; ++y) std::copy_n(pixels->data() + static_cast<size_t>(y) * w, w, static_cast<uint8_t*>(s->pixels) + y * s->pitch);
  } else {
    SDL_FillRect(s, nullptr, 40);
  }
  return s;
}

std::unique_ptr<platform::Surface> OurSurface(int w, int h, const std::vector<uint8_t>* pixels) {
  auto s = std::make_unique<platform::Surface>(w, h, platform::DDSCAPS_OFFSCREENPLAIN | platform::DDSCAPS_SYSTEMMEMORY);
  if (pixels != nullptr) {
    platform::SurfaceLock lock(s.get());
    for (int y = 0; y < h; ++y) std::copy_n(pixels->data() + static_cast<size_t>(y) * w, w, lock.Bits() + y * lock.Pitch());
  } else {
    s->Fill(nullptr, 40);
  }
  const platform::ColorKey key{kKey, kKey};
  s->SetColorKey(platform::DDCKEY_SRCBLT, &key);
  return s;
}

// --- colour-keyed blit of a sprite onto the 640 x 480 back buffer ---

void BM_Keyed_Ours(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto pixels = SpritePixels(n, n);
  auto src = OurSurface(n, n, &pixels);
  auto dst = OurSurface(kScreenW, kScreenH, nullptr);
  const platform::Rect d{100, 50, 100 + n, 50 + n};
  for (auto _ : state) {
    dst->Blt(&d, src.get(), nullptr, platform::DDBLT_KEYSRC | platform::DDBLT_WAIT, nullptr);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_Keyed_Sdl(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto pixels = SpritePixels(n, n);
  SDL_Surface* src = SdlSurface(n, n, &pixels);
  SDL_Surface* dst = SdlSurface(kScreenW, kScreenH, nullptr);
  SDL_SetColorKey(src, SDL_TRUE, kKey);
  for (auto _ : state) {
    SDL_Rect d{100, 50, n, n};
    SDL_BlitSurface(src, nullptr, dst, &d);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n * n);
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
}

// --- stretch of a frame into the 800 x 1000 scratch surface (no key, as scaled sprites do) ---

void BM_Stretch_Ours(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0)), m = static_cast<int>(state.range(1));
  const auto pixels = SpritePixels(n, n);
  auto src = OurSurface(n, n, &pixels);
  auto dst = OurSurface(800, 1000, nullptr);
  const platform::Rect d{0, 0, m, m};
  for (auto _ : state) {
    dst->Blt(&d, src.get(), nullptr, platform::DDBLT_WAIT, nullptr);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * m * m);
}

void BM_Stretch_Sdl(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0)), m = static_cast<int>(state.range(1));
  const auto pixels = SpritePixels(n, n);
  SDL_Surface* src = SdlSurface(n, n, &pixels);
  SDL_Surface* dst = SdlSurface(800, 1000, nullptr);
  for (auto _ : state) {
    SDL_Rect s{0, 0, n, n};
    SDL_Rect d{0, 0, m, m};
    SDL_SoftStretch(src, &s, dst, &d);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * m * m);
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
}

// --- mirrored keyed blit (ours) against SDL's plain keyed blit of the same size ---

void BM_Mirrored_Ours(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto pixels = SpritePixels(n, n);
  auto src = OurSurface(n, n, &pixels);
  auto dst = OurSurface(kScreenW, kScreenH, nullptr);
  const platform::Rect d{100, 50, 100 + n, 50 + n};
  platform::BltFx fx;
  fx.ddfx = platform::DDBLTFX_MIRRORLEFTRIGHT;
  for (auto _ : state) {
    dst->Blt(&d, src.get(), nullptr, platform::DDBLT_KEYSRC | platform::DDBLT_DDFX | platform::DDBLT_WAIT, &fx);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_Mirrored_SdlPlainKeyed(benchmark::State& state) { BM_Keyed_Sdl(state); }

}  // namespace

BENCHMARK(BM_Keyed_Ours)->Arg(100)->Arg(200)->Arg(300);
BENCHMARK(BM_Keyed_Sdl)->Arg(100)->Arg(200)->Arg(300);
BENCHMARK(BM_Stretch_Ours)->Args({100, 200})->Args({150, 450})->Args({300, 600})->Args({300, 200});
BENCHMARK(BM_Stretch_Sdl)->Args({100, 200})->Args({150, 450})->Args({300, 600})->Args({300, 200});
BENCHMARK(BM_Mirrored_Ours)->Arg(100)->Arg(200)->Arg(300);
BENCHMARK(BM_Mirrored_SdlPlainKeyed)->Arg(100)->Arg(200)->Arg(300);

BENCHMARK_MAIN();
