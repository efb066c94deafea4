// Cost of showing one 640 x 480 palette frame through SDL; with --show MS, a manual look at the window.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/backend.h"
#include "platform/sdl/sdl_backend.h"

namespace {

using platform::FrameView;
using platform::Rgb;

// Colour bars over a one-pixel grid, a white frame at the picture's edge and a marker square at
// (320, 240), so scaling, letterboxing and palette lookup can be judged by eye.
struct TestPicture {
  std::vector<uint8_t> pixels = std::vector<uint8_t>(640 * 480);
  std::vector<Rgb> palette = std::vector<Rgb>(256);
  TestPicture() {
    for (int i = 0; i < 256; ++i) {
      palette[static_cast<size_t>(i)] = Rgb{static_cast<uint8_t>((i & 0xE0)), static_cast<uint8_t>((i & 0x1C) << 3),
                                            static_cast<uint8_t>((i & 0x03) << 6)};
    }
    palette[0] = Rgb{0, 0, 0};
    palette[255] = Rgb{255, 255, 255};
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        uint8_t v = static_cast<uint8_t>(1 + (x / 80) * 31);
        if (x % 40 == 0 || y % 40 == 0) v = 0;
        if (x == 0 || y == 0 || x == 639 || y == 479) v = 255;
        if (x >= 310 && x < 330 && y >= 230 && y < 250) v = 255;
        pixels[static_cast<size_t>(y * 640 + x)] = v;
      }
    }
  }
  FrameView View() const { return FrameView{pixels.data(), 640, 480, 640, palette.data()}; }
};

void BM_SdlPresent(benchmark::State& state) {
  platform::SdlBackend backend;
  if (!backend.OpenDisplay(640, 480)) {
    state.SkipWithError("no display");
    return;
  }
  TestPicture picture;
  uint8_t tick = 0;
  for (auto _ : state) {
    picture.pixels[0] = tick++;  // a changed frame each time, as the game presents only changes
    backend.Present(picture.View());
    platform::InputEvent e;
    while (backend.PollEvent(&e)) {
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SdlPresent)->Unit(benchmark::kMicrosecond);

// Opens the window, shows the test picture with a colour cursor and keeps it up for `ms`.
int Show(int ms, bool aim) {
  platform::SdlBackend backend;
  if (!backend.OpenDisplay(640, 480)) {
    std::printf("no display: skipped\n");
    return 0;
  }
  TestPicture picture;
  std::vector<uint32_t> cursor(16 * 16, 0);
  for (int i = 0; i < 16; ++i) {
    for (int j = 0; j <= i; ++j) cursor[static_cast<size_t>(i * 16 + j)] = (j == 0 || j == i || i == 15) ? 0xFF000000u : 0xFFFFD000u;
  }
  platform::CursorImage image{16, 16, 0, 0, cursor.data()};
  backend.SetCursorImage(&image);
  backend.WarpCursor(320, 240);
  backend.Present(picture.View());
  if (aim) {
    // As the game aims: cursor hidden and confined, re-centred after each report.
    backend.SetCursorVisible(false);
    backend.SetCursorConfined(true);
    backend.WarpCursor(320, 210);
  }
  std::printf("relative %d, scale %d, %s, %s cursor\n", backend.RelativeMode() ? 1 : 0, backend.ScaleFactor(), backend.IsFullscreen() ? "full screen" : "windowed",
              backend.SoftwareCursor() ? "drawn" : "colour");
  std::fflush(stdout);
  uint32_t end = SDL_GetTicks() + static_cast<uint32_t>(ms);
  int events = 0;
  while (static_cast<int32_t>(end - SDL_GetTicks()) > 0) {
    platform::InputEvent e;
    while (backend.PollEvent(&e)) {
      ++events;
      if (e.type == platform::InputEvent::Type::MouseMove) {
        std::printf("mouse at %d,%d (moved %d,%d)\n", e.x, e.y, e.dx, e.dy);
        if (aim) backend.WarpCursor(320, 210);
      } else if (e.type == platform::InputEvent::Type::KeyDown) {
        std::printf("key 0x%02X%s\n", e.key, e.system ? " (system)" : "");
      } else if (e.type == platform::InputEvent::Type::Text) {
        std::printf("text \"%s\"\n", e.text);
      }
      std::fflush(stdout);
    }
    backend.WaitForInput(10);
  }
  std::printf("%d events\n", events);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--show") == 0) {
    return Show(std::atoi(argv[2]), argc >= 4 && std::strcmp(argv[3], "--aim") == 0);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
