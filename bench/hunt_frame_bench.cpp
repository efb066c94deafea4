// One whole hunt frame of the real game with ten near birds in view, against one plain 640 x 480 copy.
// Run from build/bin, where the art is. The frame is a pass of the game's loop on the headless
// backend with a frame due (ambient sounds, scrolling, flush, the hunting screen's step, the map's
// update, flip, presentation), plus the SDL backend's palette conversion and upload of that frame
// (on SDL's dummy video driver, so no window is needed).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "framework/graphics/graphics.h"
#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/turkey.h"
#include "game/turkey_app.h"
#include "game/turkey_game.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/window.h"

#include "plain_copy.h"

namespace {

constexpr uint32_t kFrameMs = 28;  // a little over the game's 27 ms, so every pass draws a frame

struct HuntGame {
  HuntGame() {
    backend = std::make_unique<platform::HeadlessBackend>(0, 26);
    platform::SetBackend(backend.get());
    platform::SetApplicationName("brushfeather");
    app = std::make_unique<ZTurkeyApp>();
    app->InitInstance();
    game = app->game.get();
    game->StartLoop();
    for (int i = 0; i < 3000 && !(game->state == ZTurkeyGame::MainMenu && game->menuReady == 1); ++i) Pass(1);
    game->areaIndex = 1;
    game->LoadArea();
    game->SetState(ZTurkeyGame::EnteringHunt);
    for (int i = 0; i < 100 && game->state != ZTurkeyGame::Hunting; ++i) Pass(1);
    ok = game->state == ZTurkeyGame::Hunting && game->map->birds.size() == 10;
  }
  ~HuntGame() {
    app.reset();
    platform::ResetWindowSystem();
    platform::SetBackend(nullptr);
  }
  void Pass(uint32_t ms) {
    backend->Advance(ms);
    game->LoopPass();
  }
  // Ten birds 150 to 960 units out across the middle of the view, stepping a pixel or two to and fro
  // so that every frame has something new to show, as when birds walk.
  void HoldBirdsInView() {
    const ZPoint stand = game->hunter->position;
    step = 1 - step;
    for (size_t i = 0; i < 10; ++i) {
      ZTurkey* b = game->map->birds[i].get();
      const double d = 150.0 + 90.0 * static_cast<double>(i);
      const double bearing = 1.25 + 0.06 * static_cast<double>(i) + 0.004 * step;  // x 1600..2240 of the panorama
      b->position = ZPoint(stand.x + d * std::cos(bearing), stand.y + d * std::sin(bearing));
      b->target = b->position;
    }
  }

  std::unique_ptr<platform::HeadlessBackend> backend;
  std::unique_ptr<ZTurkeyApp> app;
  ZTurkeyGame* game = nullptr;
  bool ok = false;
  int step = 0;
};

// Argument 1: with the SDL backend's conversion and upload; 0: the game's own part alone.
void BM_HuntFrameTenNearBirds(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  platform::SdlBackend screen;
  const bool convert = state.range(0) != 0 && screen.OpenDisplay(640, 480);
  HuntGame hunt;
  if (!hunt.ok) {
    state.SkipWithError("the hunt did not start (run from build/bin, where the art is)");
    return;
  }
  hunt.HoldBirdsInView();
  for (int i = 0; i < 10; ++i) hunt.Pass(kFrameMs);  // the birds come into view and get their pictures
  const uint64_t presentsBefore = hunt.backend->PresentCount();
  int64_t near = 0;
  for (auto _ : state) {
    hunt.HoldBirdsInView();
    hunt.Pass(kFrameMs);
    if (convert) {
      const platform::FrameView frame{hunt.backend->FramePixels().data(), 640, 480, 640,
                                      hunt.backend->FramePalette().data()};
      screen.Present(frame);
    }
    for (const auto& b : hunt.game->map->birds) near += b->near;
  }
  state.counters["presents_per_frame"] =
      static_cast<double>(hunt.backend->PresentCount() - presentsBefore) / static_cast<double>(state.iterations());
  state.counters["near_birds"] = static_cast<double>(near) / static_cast<double>(state.iterations());
  state.counters["sdl_conversion"] = convert ? 1 : 0;
}
BENCHMARK(BM_HuntFrameTenNearBirds)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
