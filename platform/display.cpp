// The display object: host display mode, the flipping primary, palettes, clippers and presentation.
#include "platform/display.h"

#include <algorithm>
#include <new>

#include "platform/pump.h"

namespace platform {

namespace {

constexpr int32_t kMaxDisplaySide = 4096;
constexpr int32_t kMaxSurfaceSide = 16384;
constexpr int64_t kMaxSurfacePixels = int64_t{64} << 20;

uint64_t SurfaceBytes(int32_t width, int32_t height) {
  return static_cast<uint64_t>((width + 3) & ~3) * static_cast<uint64_t>(height);
}

Display* screenDisplay = nullptr;  // the display whose primary the window system draws on

}  // namespace

Surface* GetScreenSurface() { return screenDisplay != nullptr ? screenDisplay->Primary() : nullptr; }

HRESULT Display::Create(std::unique_ptr<Display>* out) {
  if (out == nullptr) return E_INVALIDARG;
  out->reset();
  Backend* backend = GetBackend();
  if (backend == nullptr) return DDERR_NODIRECTDRAWHW;
  std::unique_ptr<Display> display(new Display());
  display->backend_ = backend;
  *out = std::move(display);
  return DD_OK;
}

Display::~Display() {
  if (screenDisplay == this) screenDisplay = nullptr;
  if (pumpHook_ > 0) RemovePumpHook(pumpHook_);
  if (primary_ != nullptr) primary_->backBuffer_ = nullptr;
  if (backBuffer_ != nullptr) backBuffer_->front_ = nullptr;
  backBuffer_.reset();
  primary_.reset();
  if (hostOpen_ && backend_ != nullptr) backend_->CloseDisplay();
}

HRESULT Display::SetCooperativeLevel(Window* window, uint32_t flags) {
  // Full screen needs exclusive, as with the originals.
  if ((flags & DDSCL_FULLSCREEN) != 0 && (flags & DDSCL_EXCLUSIVE) == 0) return E_INVALIDARG;
  if ((flags & DDSCL_EXCLUSIVE) != 0 && window == nullptr) return E_INVALIDARG;
  window_ = window;
  cooperativeFlags_ = flags;
  return DD_OK;
}

HRESULT Display::GetCaps(DisplayCaps* driver, DisplayCaps* emulation) const {
  if (driver == nullptr && emulation == nullptr) return E_INVALIDARG;
  if ((driver != nullptr && driver->size != 364) || (emulation != nullptr && emulation->size != 364)) {
    return E_INVALIDARG;
  }
  const uint32_t memory = static_cast<uint32_t>(std::min<uint64_t>(videoMemoryFree_, 0xFFFFFFFFu));
  for (DisplayCaps* caps : {driver, emulation}) {
    if (caps == nullptr) continue;
    *caps = DisplayCaps{};
    caps->caps = 0x00000040u | 0x00000200u | 0x00000400u;  // blits, stretching, colour keys
    caps->colorKeyCaps = 0x00000200u;                      // source colour key on blits
    caps->fxCaps = 0x00000002u | 0x00000004u;              // mirroring both ways
    caps->paletteCaps = DDPCAPS_8BIT;
    caps->videoMemoryTotal = memory;
    caps->videoMemoryFree = memory;
  }
  return DD_OK;
}

HRESULT Display::SetDisplayMode(int32_t width, int32_t height, int32_t depth, uint32_t /*refreshRate*/,
                                uint32_t /*flags*/) {
  if (depth != 8 || width < 1 || height < 1 || width > kMaxDisplaySide || height > kMaxDisplaySide) {
    return DDERR_UNSUPPORTEDMODE;
  }
  if (backend_ == nullptr) return DDERR_NODIRECTDRAWHW;
  if (hostOpen_ && (width != width_ || height != height_)) {
    backend_->CloseDisplay();
    hostOpen_ = false;
    if (primary_ != nullptr) primary_->MarkLost();  // the old mode's memory is gone
  }
  if (!hostOpen_) {
    if (!backend_->OpenDisplay(width, height)) return DDERR_NODIRECTDRAWHW;
    hostOpen_ = true;
  }
  width_ = width;
  height_ = height;
  depth_ = depth;
  modeSet_ = true;
  if (pumpHook_ <= 0) pumpHook_ = AddPumpHook([this] { PresentIfChanged(); });
  return DD_OK;
}

HRESULT Display::RestoreDisplayMode() {
  modeSet_ = false;
  return DD_OK;
}

HRESULT Display::CreateSurface(const SurfaceDesc& desc, std::unique_ptr<Surface>* out) {
  if (out == nullptr) return E_INVALIDARG;
  out->reset();
  if (desc.size != 108) return E_INVALIDARG;
  if ((desc.flags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) return E_INVALIDARG;
  if (desc.width < 1 || desc.height < 1) return E_INVALIDARG;
  const uint32_t caps = (desc.flags & DDSD_CAPS) != 0 ? desc.caps : DDSCAPS_OFFSCREENPLAIN;
  if ((caps & (DDSCAPS_PRIMARYSURFACE | DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX)) != 0) {
    return E_INVALIDARG;
  }
  const bool wantVideo = (caps & DDSCAPS_VIDEOMEMORY) != 0;
  const bool wantSystem = (caps & DDSCAPS_SYSTEMMEMORY) != 0;
  if (wantVideo && wantSystem) return E_INVALIDARG;
  if (desc.width > kMaxSurfaceSide || desc.height > kMaxSurfaceSide ||
      static_cast<int64_t>(desc.width) * desc.height > kMaxSurfacePixels) {
    return DDERR_OUTOFMEMORY;
  }
  const uint64_t bytes = SurfaceBytes(desc.width, desc.height);
  uint32_t memory = DDSCAPS_SYSTEMMEMORY;
  if (!wantSystem) {
    if (bytes <= videoMemoryFree_) {
      memory = DDSCAPS_VIDEOMEMORY;
    } else if (wantVideo) {
      return DDERR_OUTOFVIDEOMEMORY;
    }
  }
  const uint32_t kept = (caps & ~(DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY)) | DDSCAPS_OFFSCREENPLAIN | memory;
  try {
    auto surface = std::make_unique<Surface>(desc.width, desc.height, kept);
    if ((desc.flags & DDSD_CKSRCBLT) != 0) surface->SetColorKey(DDCKEY_SRCBLT, &desc.srcColorKey);
    *out = std::move(surface);
  } catch (const std::bad_alloc&) {
    return DDERR_OUTOFMEMORY;
  }
  if (memory == DDSCAPS_VIDEOMEMORY) videoMemoryFree_ -= bytes;
  return DD_OK;
}

HRESULT Display::CreatePrimarySurface(const SurfaceDesc& desc, Surface** out) {
  if (out == nullptr) return E_INVALIDARG;
  *out = nullptr;
  if (desc.size != 108 || (desc.flags & DDSD_CAPS) == 0 || (desc.caps & DDSCAPS_PRIMARYSURFACE) == 0) {
    return E_INVALIDARG;
  }
  const bool flipping = (desc.caps & DDSCAPS_FLIP) != 0;
  if (flipping) {
    // One back buffer is what this display offers (and all the game asks for).
    if ((desc.flags & DDSD_BACKBUFFERCOUNT) == 0 || desc.backBufferCount == 0) return E_INVALIDARG;
    if (desc.backBufferCount != 1) return DDERR_UNSUPPORTED;
  }
  if (!modeSet_) return E_FAIL;
  if (primary_ != nullptr) return DDERR_PRIMARYSURFACEALREADYEXISTS;
  const uint32_t chain = flipping ? (DDSCAPS_FLIP | DDSCAPS_COMPLEX) : 0u;
  try {
    primary_ = std::make_unique<Surface>(width_, height_,
                                         DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER | DDSCAPS_VIDEOMEMORY | chain);
    if (flipping) {
      backBuffer_ = std::make_unique<Surface>(width_, height_, DDSCAPS_BACKBUFFER | DDSCAPS_VIDEOMEMORY | chain);
      primary_->backBuffer_ = backBuffer_.get();
      backBuffer_->front_ = primary_.get();
    }
  } catch (const std::bad_alloc&) {
    backBuffer_.reset();
    primary_.reset();
    return DDERR_OUTOFMEMORY;
  }
  *out = primary_.get();
  screenDisplay = this;
  return DD_OK;
}

HRESULT Display::CreatePalette(uint32_t flags, const Rgb* entries, std::shared_ptr<Palette>* out) {
  if (out == nullptr) return E_INVALIDARG;
  out->reset();
  if ((flags & DDPCAPS_8BIT) == 0) return E_INVALIDARG;
  *out = std::make_shared<Palette>(flags, entries);
  return DD_OK;
}

HRESULT Display::CreateClipper(uint32_t /*flags*/, std::shared_ptr<Clipper>* out) {
  if (out == nullptr) return E_INVALIDARG;
  *out = std::make_shared<Clipper>();
  return DD_OK;
}

HRESULT Display::FlipToGDISurface() {
  // Our front buffer is always the one shown; make sure what it holds is on the screen.
  PresentNow();
  return DD_OK;
}

std::array<Rgb, 256> Display::ShownPalette() const {
  std::array<Rgb, 256> colours{};
  const Palette* palette = primary_ != nullptr ? primary_->GetPalette() : nullptr;
  if (palette != nullptr) return palette->Entries();
  // No palette attached yet: a grey ramp, so that something sensible shows.
  for (int i = 0; i < 256; ++i) colours[i] = Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)};
  return colours;
}

bool Display::PresentIfChanged() {
  if (primary_ == nullptr || !hostOpen_) return false;
  const Palette* palette = primary_->GetPalette();
  const uint64_t version = palette != nullptr ? palette->Version() : 0;
  if (primary_.get() == shownPrimary_ && primary_->ChangeCount() == shownChanges_ && palette == shownPalette_ &&
      version == shownPaletteVersion_) {
    return false;
  }
  PresentNow();
  return true;
}

void Display::PresentNow() {
  if (primary_ == nullptr || !hostOpen_ || backend_ == nullptr) return;
  const std::array<Rgb, 256> colours = ShownPalette();
  FrameView frame;
  frame.pixels = primary_->Bits();
  frame.width = primary_->Width();
  frame.height = primary_->Height();
  frame.pitch = primary_->Pitch();
  frame.palette = colours.data();
  backend_->Present(frame);
  const Palette* palette = primary_->GetPalette();
  shownPrimary_ = primary_.get();
  shownChanges_ = primary_->ChangeCount();
  shownPalette_ = palette;
  shownPaletteVersion_ = palette != nullptr ? palette->Version() : 0;
  ++presents_;
}

bool Display::ReadFront(std::vector<uint8_t>* pixels, std::array<Rgb, 256>* palette) const {
  if (primary_ == nullptr) return false;
  const int32_t w = primary_->Width(), h = primary_->Height(), pitch = primary_->Pitch();
  if (pixels != nullptr) {
    pixels->resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int32_t y = 0; y < h; ++y) {
      std::copy_n(primary_->Bits() + static_cast<size_t>(y) * pitch, w, pixels->data() + static_cast<size_t>(y) * w);
    }
  }
  if (palette != nullptr) *palette = ShownPalette();
  return true;
}

bool Display::FrontFrame(FrameView* frame) const {
  if (frame == nullptr || primary_ == nullptr) return false;
  const Palette* palette = primary_->GetPalette();
  frame->pixels = primary_->Bits();
  frame->width = primary_->Width();
  frame->height = primary_->Height();
  frame->pitch = primary_->Pitch();
  frame->palette = palette != nullptr ? palette->Entries().data() : nullptr;
  return true;
}

}  // namespace platform
