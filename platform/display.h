// The display object: display mode, the flipping primary surface, palettes, clippers and presentation.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/backend.h"
#include "platform/surface.h"
#include "platform/types.h"

namespace platform {

// --- cooperative levels ---
constexpr uint32_t DDSCL_FULLSCREEN = 0x00000001u;
constexpr uint32_t DDSCL_ALLOWREBOOT = 0x00000002u;
constexpr uint32_t DDSCL_NORMAL = 0x00000008u;
constexpr uint32_t DDSCL_EXCLUSIVE = 0x00000010u;

// The capability record (DDCAPS). The game fills and keeps it without reading it.
struct DisplayCaps {
  uint32_t size = 364;
  uint32_t caps = 0;
  uint32_t caps2 = 0;
  uint32_t colorKeyCaps = 0;
  uint32_t fxCaps = 0;
  uint32_t paletteCaps = 0;
  uint32_t videoMemoryTotal = 0;
  uint32_t videoMemoryFree = 0;
};

class Display;

// The surface the window system draws on (where GDI drew over the flipped-to-GDI primary): the primary
// of the newest display that has one; null when no display has a primary.
Surface* GetScreenSurface();

class Display {
 public:
  // DirectDrawCreate: needs a backend (GetBackend()); DDERR_NODIRECTDRAWHW without one.
  static HRESULT Create(std::unique_ptr<Display>* out);
  ~Display();  // releases the primary chain, unregisters presentation, closes the host display
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  HRESULT SetCooperativeLevel(Window* window, uint32_t flags);
  // Fills each given record (either may be null); E_INVALIDARG when a record's size is not 364.
  HRESULT GetCaps(DisplayCaps* driver, DisplayCaps* emulation) const;

  // Opens the host display at width x height (Backend::OpenDisplay) the first time; only depth 8.
  // DDERR_UNSUPPORTEDMODE for another depth or a bad size, DDERR_NODIRECTDRAWHW when the host refuses.
  HRESULT SetDisplayMode(int32_t width, int32_t height, int32_t depth, uint32_t refreshRate = 0,
                         uint32_t flags = 0);
  // Gives the screen back (the host window stays open; a later SetDisplayMode takes it again).
  HRESULT RestoreDisplayMode();
  bool ModeSet() const { return modeSet_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t Depth() const { return depth_; }

  // Off-screen surface owned by the caller: DDSD_WIDTH | DDSD_HEIGHT (both >= 1) and DDSCAPS_OFFSCREENPLAIN
  // with DDSCAPS_VIDEOMEMORY or DDSCAPS_SYSTEMMEMORY (neither = video first, then system).
  // DDERR_OUTOFVIDEOMEMORY when a video-memory surface does not fit the (test-settable) budget;
  // E_INVALIDARG for a bad description, DDERR_OUTOFMEMORY beyond 16384 a side or 64 M pixels.
  HRESULT CreateSurface(const SurfaceDesc& desc, std::unique_ptr<Surface>* out);
  // The primary surface (DDSCAPS_PRIMARYSURFACE, with DDSCAPS_FLIP | DDSCAPS_COMPLEX and
  // backBufferCount 1 for a flipping chain), at the display mode's size; owned by the display.
  // Needs the mode set (E_FAIL before); one per display (DDERR_PRIMARYSURFACEALREADYEXISTS).
  HRESULT CreatePrimarySurface(const SurfaceDesc& desc, Surface** out);
  Surface* Primary() const { return primary_.get(); }

  // entries: 256 (null = all black); flags must hold DDPCAPS_8BIT.
  HRESULT CreatePalette(uint32_t flags, const Rgb* entries, std::shared_ptr<Palette>* out);
  HRESULT CreateClipper(uint32_t flags, std::shared_ptr<Clipper>* out);

  // Shows the buffer the window system draws to: the front buffer is already it, so this presents it.
  HRESULT FlipToGDISurface();

  // Presentation. The display registers a pump hook that presents whenever the front surface or its
  // palette changed since the last present (at most once per pump pass). PresentNow shows it at once.
  bool PresentIfChanged();
  void PresentNow();
  uint64_t PresentCount() const { return presents_; }

  // The front surface's pixels and the palette it is shown with (screenshots, headless capture).
  // pixels.size() == width * height, rows top first, no padding. False without a primary.
  bool ReadFront(std::vector<uint8_t>* pixels, std::array<Rgb, 256>* palette) const;
  // The same as a view into the live surface (valid until the next change of the front surface);
  // its palette is null while none is attached.
  bool FrontFrame(FrameView* frame) const;

  // Test hook: bytes of "video memory" left for video-memory surfaces (default: unlimited).
  void SetVideoMemoryForTest(uint64_t bytes) { videoMemoryFree_ = bytes; }
  uint64_t VideoMemoryFree() const { return videoMemoryFree_; }

 private:
  Display() = default;
  std::array<Rgb, 256> ShownPalette() const;

  Backend* backend_ = nullptr;
  Window* window_ = nullptr;
  uint32_t cooperativeFlags_ = 0;
  bool hostOpen_ = false;
  bool modeSet_ = false;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t depth_ = 0;
  std::unique_ptr<Surface> primary_;
  std::unique_ptr<Surface> backBuffer_;
  uint64_t videoMemoryFree_ = ~0ull;  // unlimited unless a test sets it
  int pumpHook_ = -1;
  uint64_t presents_ = 0;
  uint64_t shownChanges_ = ~0ull;
  const Palette* shownPalette_ = nullptr;
  uint64_t shownPaletteVersion_ = ~0ull;
  const Surface* shownPrimary_ = nullptr;
};

}  // namespace platform
