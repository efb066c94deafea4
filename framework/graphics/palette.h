// ZPalette: the colour table of an image or sprite map, made into the display's palette on a surface.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/object.h"
#include "framework/graphics/image.h"
#include "platform/types.h"

class ZImage;
class ZSpriteMap;
class ZSurface;

// The logical palette record: version 0x300, entry count, entries.
struct ZLogPalette {
  uint16_t version = 0x300;
  uint16_t count = 0;
  std::vector<ZPaletteEntry> entries;
};

class ZPalette : public ZObject {
  Z_DECLARE_CLASS(ZPalette)

 public:
  ZPalette() = default;
  ~ZPalette() override = default;

  // From an image's colour table; 0 when it has no colours. 1 when made.
  int CreateFromImage(ZImage* image);
  // From a sprite map's colour table; 0 when the table holds less than one entry (under 4 bytes).
  int CreateFromSpriteMap(ZSpriteMap* spriteMap);
  // Attaches the palette to the surface (restoring it once if it was lost); the surface's key becomes
  // the transparent index. 0 or the failing code (E_FAIL when something is missing).
  platform::HRESULT Realize(ZSurface* surface);

  bool IsCreated() const { return created; }
  int32_t GetTransparentIndex() const { return transparentIndex; }
  const ZLogPalette& GetLogPalette() const { return logPalette; }
  // The 256 host colours (missing entries black).
  void GetColors(platform::Rgb out[256]) const;

 private:
  ZLogPalette logPalette;
  int32_t transparentIndex = 0;
  bool created = false;
};
