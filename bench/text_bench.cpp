// Benchmark: the trophy room's five lines of text, a full redraw of the name field, one profile save.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/edit_control.h"
#include "platform/headless/headless_backend.h"
#include "platform/profile.h"
#include "platform/surface.h"
#include "platform/text.h"
#include "platform/window.h"

namespace {

const std::string kLine =
    "Field Scout shot a 23 lb. Eastern Wild Turkey in the Eastern woodlands location on March 14, 2024 at 09:41\n\r";

// Each trophy line twice (the shadow, then the colour), word-wrapped in 400 x 50, as the room paints.
void BM_TrophyRoomText(benchmark::State& state) {
  platform::Surface surface(640, 480, platform::DDSCAPS_OFFSCREENPLAIN);
  auto font = platform::CreateFont(14, 0, 0, 0, platform::FW_NORMAL, false, false, false, platform::DEFAULT_CHARSET,
                                   0, 0, platform::PROOF_QUALITY, platform::DEFAULT_PITCH, "Times");
  for (auto _ : state) {
    platform::DeviceContext dc;
    surface.GetDC(&dc);
    platform::SetBkMode(&dc, platform::TRANSPARENT);
    platform::SelectObject(&dc, font.get());
    for (int rank = 0; rank < 5; ++rank) {
      platform::Rect r{175, 120 + 60 * rank, 575, 170 + 60 * rank};
      platform::SetTextColor(&dc, 0);
      platform::DrawText(&dc, kLine, &r, platform::DT_WORDBREAK);
      platform::OffsetRect(&r, 1, 1);
      platform::SetTextColor(&dc, 0x00FFFF);
      platform::DrawText(&dc, kLine, &r, platform::DT_WORDBREAK);
    }
    surface.ReleaseDC(&dc);
    benchmark::DoNotOptimize(surface.Bits());
  }
}
BENCHMARK(BM_TrophyRoomText);

// The name field redrawn with a name of the given length, scrolled to its end, on a headless screen.
void BM_NameFieldRedraw(benchmark::State& state) {
  platform::HeadlessBackend backend(0, 0);
  platform::SetBackend(&backend);
  {
    std::unique_ptr<platform::Display> display;
    platform::Display::Create(&display);
    display->SetDisplayMode(640, 480, 8);
    platform::SurfaceDesc d;
    d.flags = platform::DDSD_CAPS;
    d.caps = platform::DDSCAPS_PRIMARYSURFACE;
    platform::Surface* screen = nullptr;
    display->CreatePrimarySurface(d, &screen);
    platform::Window parent;
    parent.CreateEx(0, platform::RegisterWindowClass(platform::WindowClass{}), "p",
                    platform::WS_POPUP | platform::WS_VISIBLE, platform::Rect{0, 0, 640, 480}, nullptr, 0);
    platform::EditControl edit;
    edit.Create(platform::WS_VISIBLE | platform::ES_AUTOHSCROLL, platform::Rect{140, 62, 390, 79}, &parent, 500);
    edit.SetWindowText(std::string(static_cast<size_t>(state.range(0)), 'W'));
    edit.SetSel(-1, -1);
    for (auto _ : state) {
      platform::SendMessage(&edit, platform::EM_SETSEL, 0, -1);  // each one redraws the whole field
    }
    edit.DestroyWindow();
    parent.DestroyWindow();
  }
  platform::ResetWindowSystem();
  platform::SetBackend(nullptr);
}
BENCHMARK(BM_NameFieldRedraw)->Arg(11)->Arg(10000);

// One entry written: the whole profile saved with its temporary file, flushes and renames.
void BM_ProfileSave(benchmark::State& state) {
  std::string dir = (std::filesystem::temp_directory_path() / "bf-bench-XXXXXX").string();
  if (mkdtemp(dir.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  setenv("XDG_DATA_HOME", dir.c_str(), 1);
  platform::SetApplicationName("brushfeather");
  platform::SetRegistryKey("Brackwen Interactive");
  for (int i = 0; i < 5; ++i) platform::WriteProfileString("Trophy" + std::to_string(i), "Name", "Field Scout");
  int n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(platform::WriteProfileInt("Settings", "Map", n++ % 5));
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_ProfileSave);

}  // namespace

BENCHMARK_MAIN();
