// The display object on the headless backend: mode, flipping primary, memory kinds and presentation.
#include "platform/display.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"
#include "platform/pump.h"

namespace platform {
namespace {

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override { SetBackend(&backend); }
  void TearDown() override {
    display.reset();
    SetBackend(nullptr);
  }
  // A display in 640 x 480 x 8 with its flipping primary.
  void Open() {
    ASSERT_EQ(Display::Create(&display), DD_OK);
    ASSERT_EQ(display->SetDisplayMode(640, 480, 8), DD_OK);
    SurfaceDesc d;
    d.flags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    d.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    d.backBufferCount = 1;
    ASSERT_EQ(display->CreatePrimarySurface(d, &front), DD_OK);
    ASSERT_EQ(front->GetAttachedSurface(DDSCAPS_BACKBUFFER, &back), DD_OK);
  }
  SurfaceDesc Offscreen(int w, int h, uint32_t memory) {
    SurfaceDesc d;
    d.flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    d.width = w;
    d.height = h;
    d.caps = DDSCAPS_OFFSCREENPLAIN | memory;
    return d;
  }

  HeadlessBackend backend;
  std::unique_ptr<Display> display;
  Surface* front = nullptr;
  Surface* back = nullptr;
};

TEST_F(DisplayTest, CreationNeedsABackendAndAHostDisplay) {
  SetBackend(nullptr);
  EXPECT_EQ(Display::Create(&display), DDERR_NODIRECTDRAWHW);
  SetBackend(&backend);
  ASSERT_EQ(Display::Create(&display), DD_OK);
  backend.SetDisplayFails(true);
  EXPECT_EQ(display->SetDisplayMode(640, 480, 8), DDERR_NODIRECTDRAWHW);
  backend.SetDisplayFails(false);
  ASSERT_EQ(display->SetDisplayMode(640, 480, 8), DD_OK);
  EXPECT_TRUE(backend.DisplayOpen());
  display.reset();
  EXPECT_FALSE(backend.DisplayOpen());
}

TEST_F(DisplayTest, PrimaryHasOneBackBufferAndFlipSwapsThem) {
  Open();
  front->Fill(nullptr, 3);
  back->Fill(nullptr, 7);
  ASSERT_EQ(front->Flip(), DD_OK);
  EXPECT_EQ(front->Pixel(100, 100), 7);
  EXPECT_EQ(back->Pixel(100, 100), 3);
}

TEST_F(DisplayTest, OffscreenSurfacesFallBackToSystemMemory) {
  ASSERT_EQ(Display::Create(&display), DD_OK);
  std::unique_ptr<Surface> s;
  EXPECT_EQ(display->CreateSurface(Offscreen(0, 5, 0), &s), E_INVALIDARG);
  EXPECT_EQ(display->CreateSurface(Offscreen(100000, 4, 0), &s), DDERR_OUTOFMEMORY);
  display->SetVideoMemoryForTest(800 * 1000);
  ASSERT_EQ(display->CreateSurface(Offscreen(800, 1000, DDSCAPS_VIDEOMEMORY), &s), DD_OK);
  EXPECT_EQ(display->CreateSurface(Offscreen(16, 16, DDSCAPS_VIDEOMEMORY), &s), DDERR_OUTOFVIDEOMEMORY);
  // Without a memory kind: video memory when it fits, else system memory.
  ASSERT_EQ(display->CreateSurface(Offscreen(16, 16, 0), &s), DD_OK);
  EXPECT_EQ(s->Caps(), DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
}

TEST_F(DisplayTest, PresentsOnlyWhenTheFrontOrItsPaletteChanged) {
  Open();
  RunPumpHooks();
  const uint64_t first = backend.PresentCount();

  back->Fill(nullptr, 9);  // drawing into the back buffer is not shown
  RunPumpHooks();
  EXPECT_EQ(backend.PresentCount(), first);

  ASSERT_EQ(front->Flip(), DD_OK);
  RunPumpHooks();
  EXPECT_EQ(backend.PresentCount(), first + 1);
  EXPECT_EQ(backend.FramePixel(10, 10), 9);

  const Rect dialog{100, 100, 200, 150};  // menus draw straight onto the front
  front->Fill(&dialog, 4);
  front->Fill(&dialog, 5);
  RunPumpHooks();  // at most once per pass
  EXPECT_EQ(backend.PresentCount(), first + 2);
  EXPECT_EQ(backend.FramePixel(150, 120), 5);

  Rgb colours[256] = {};
  std::shared_ptr<Palette> palette;
  ASSERT_EQ(display->CreatePalette(DDPCAPS_8BIT, colours, &palette), DD_OK);
  ASSERT_EQ(front->SetPalette(palette), DD_OK);
  const Rgb changed{1, 2, 3};
  palette->SetEntries(5, 1, &changed);
  RunPumpHooks();
  EXPECT_EQ(backend.FramePalette()[5], changed);

  display.reset();  // the hook goes with the display
  const uint64_t count = backend.PresentCount();
  RunPumpHooks();
  EXPECT_EQ(backend.PresentCount(), count);
}

}  // namespace
}  // namespace platform
