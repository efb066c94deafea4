// A headless display for the graphics fuzz targets, and the checks they run on whatever loaded.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/graphics/frame.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/graphics/palette.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/window.h"

namespace gfxfuzz {

// Made once per process: backend, window and an initialised display.
inline ZGraphics* Graphics() {
  static platform::HeadlessBackend* backend = nullptr;
  static platform::Window* window = nullptr;
  static ZGraphics* graphics = nullptr;
  if (graphics == nullptr) {
    backend = new platform::HeadlessBackend(0, 0);
    platform::SetBackend(backend);
    window = new platform::Window();
    window->CreateEx(0, platform::RegisterWindowClass(platform::WindowClass{}), "fuzz", platform::WS_POPUP,
                     platform::Rect{0, 0, 640, 480}, nullptr, 0);
    graphics = new ZGraphics();
    if (graphics->Init(window, 640, 480, 8) == 0) __builtin_trap();
  }
  return graphics;
}

// Reads every frame of every entry, pixel by pixel, makes the palette and paints a small map.
inline void Exercise(ZSpriteMap* map) {
  uint32_t sum = 0;
  for (int32_t i = 0; i < map->GetEntryCount() && i < 64; ++i) {
    const ZComponent* c = map->GetComponent(i);
    std::vector<std::unique_ptr<ZFrame>> frames;
    map->GetFrames(c->SpriteId(), &frames);
    std::unique_ptr<ZFrame> f = map->GetFrame(c->FrameId());
    if (f == nullptr) __builtin_trap();
    int32_t w = c->Width() > 64 ? 64 : c->Width();
    int32_t h = c->Height() > 64 ? 64 : c->Height();
    for (int32_t v = -1; v <= h; ++v)
      for (int32_t u = -1; u <= w; ++u) {
        int32_t p = map->GetPixel(c->FrameId(), u, v);
        if (p < -1 || p > 255) __builtin_trap();
        sum += static_cast<uint32_t>(p);
      }
  }
  ZPaletteEntry colors[256];
  map->GetColorTable(256, colors);
  ZPalette palette;
  palette.CreateFromSpriteMap(map);
  int64_t area = static_cast<int64_t>(map->GetWidth()) * map->GetHeight();
  if (map->GetWidth() > 0 && map->GetHeight() > 0 && area <= (1 << 20)) {
    ZSurface surface(Graphics(), map);
    (void)surface;
  }
  (void)sum;
}

inline void Exercise(ZImageData* image) {
  if (image == nullptr) return;
  int32_t w = image->GetWidth();
  int32_t h = image->GetHeight();
  uint32_t sum = 0;
  for (int32_t y = -1; y <= h && y < 300; ++y)
    for (int32_t x = -1; x <= w && x < 300; ++x)
      if (uint8_t* p = image->GetPixelAddress(x, y)) sum += *p;
  ZPaletteEntry colors[300];
  image->GetPaletteEntries(-5, 300, colors);
  image->GetTransparentColor();
  auto surface = std::make_unique<ZSurface>();
  if (surface->Create(Graphics(), 64, 48) == 1) {
    image->Blit(surface.get(), -3, -2);
    image->Blit(surface.get(), 30, 20);
  }
  (void)sum;
}

}  // namespace gfxfuzz
