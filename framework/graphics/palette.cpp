// ZPalette: building the palette from an image or a sprite map and attaching it to a surface.
#include "framework/graphics/palette.h"

#include <algorithm>

#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "platform/display.h"
#include "platform/surface.h"

Z_IMPLEMENT_CLASS(ZPalette, ZObject)

int ZPalette::CreateFromImage(ZImage* image) {
  if (image == nullptr) return 0;
  int32_t count = image->GetColorCount();
  if (count <= 0) return 0;
  transparentIndex = image->GetTransparentIndex();
  ZLogPalette pal;
  pal.count = static_cast<uint16_t>(count);
  pal.entries.resize(static_cast<size_t>(count));
  image->GetPaletteEntries(0, count, pal.entries.data());
  for (auto& e : pal.entries) e.flags = 0;
  logPalette = std::move(pal);
  created = true;
  return 1;
}

int ZPalette::CreateFromSpriteMap(ZSpriteMap* spriteMap) {
  if (spriteMap == nullptr) return 0;
  uint32_t tableSize = spriteMap->GetColorTableSize();
  if (tableSize <= 3) return 0;
  transparentIndex = spriteMap->GetTransparentIndex();
  // A table larger than 256 entries cannot be shown; the first 256 are taken.
  int32_t count = static_cast<int32_t>(std::min<uint32_t>(tableSize / 4, 256));
  ZLogPalette pal;
  pal.count = static_cast<uint16_t>(count);
  pal.entries.resize(static_cast<size_t>(count));
  spriteMap->GetColorTable(count, pal.entries.data());
  logPalette = std::move(pal);
  created = true;
  return 1;
}

void ZPalette::GetColors(platform::Rgb out[256]) const {
  for (int i = 0; i < 256; ++i) {
    platform::Rgb c;
    if (static_cast<size_t>(i) < logPalette.entries.size()) {
      const ZPaletteEntry& e = logPalette.entries[static_cast<size_t>(i)];
      c.r = e.red;
      c.g = e.green;
      c.b = e.blue;
    }
    out[i] = c;
  }
}

platform::HRESULT ZPalette::Realize(ZSurface* surface) {
  if (surface == nullptr || !created) return platform::E_FAIL;
  ZGraphics* graphics = surface->GetGraphics();
  if (graphics == nullptr || graphics->GetDirectDraw() == nullptr || surface->GetSurface2() == nullptr) {
    return platform::E_FAIL;
  }
  platform::Rgb colors[256];
  GetColors(colors);
  std::shared_ptr<platform::Palette> palette;
  platform::HRESULT hr = graphics->GetDirectDraw()->CreatePalette(platform::DDPCAPS_8BIT, colors, &palette);
  if (platform::Failed(hr)) return graphics->ReportError(hr);
  hr = surface->GetSurface2()->SetPalette(palette);
  if (hr == platform::DDERR_SURFACELOST) {
    surface->Restore();
    hr = surface->GetSurface2()->SetPalette(palette);
  }
  if (platform::Failed(hr)) return graphics->ReportError(hr);
  surface->SetColorKey(transparentIndex);
  return 0;
}
