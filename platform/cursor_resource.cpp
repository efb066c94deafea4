// Cursors from resource modules: the group directory, the hot spot, and the XOR/AND bitmaps to ARGB.
#include "platform/cursor_resource.h"

#include <deque>

#include "platform/window.h"

namespace platform {

namespace {

constexpr int32_t kMaxCursorSide = 256;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

uint32_t BitsAt(const uint8_t* row, int32_t x, int32_t bpp) {
  switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
    case 8: return row[x];
    default: return 0;
  }
}

}  // namespace

bool DecodeCursorResource(const uint8_t* data, uint32_t size, CursorBitmap* out) {
  if (data == nullptr || out == nullptr || size < 4 + 40) return false;
  const int32_t hotX = U16(data);
  const int32_t hotY = U16(data + 2);
  const uint8_t* bih = data + 4;
  const uint32_t headerSize = U32(bih);
  const int32_t width = static_cast<int32_t>(U32(bih + 4));
  const int32_t doubled = static_cast<int32_t>(U32(bih + 8));
  const uint16_t bpp = U16(bih + 14);
  const uint32_t compression = U32(bih + 16);
  const uint32_t used = U32(bih + 32);
  if (headerSize < 40 || headerSize > size - 4 || compression != 0) return false;
  // The height covers the XOR and the AND bitmap together; only bottom-up cursors are drawn.
  if (width < 1 || width > kMaxCursorSide || doubled < 2 || doubled > 2 * kMaxCursorSide || doubled % 2 != 0) {
    return false;
  }
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return false;
  const int32_t height = doubled / 2;
  uint64_t colours = 0;
  if (bpp <= 8) colours = used != 0 ? used : (1u << bpp);
  if (colours > 256) return false;
  const uint64_t xorStride = ((uint64_t{static_cast<uint32_t>(width)} * bpp + 31) / 32) * 4;
  const uint64_t andStride = ((uint64_t{static_cast<uint32_t>(width)} + 31) / 32) * 4;
  const uint64_t tableAt = 4 + uint64_t{headerSize};
  const uint64_t xorAt = tableAt + colours * 4;
  const uint64_t andAt = xorAt + xorStride * height;
  const uint64_t end = andAt + andStride * height;
  if (end > size) return false;
  if (hotX >= width || hotY >= height) return false;

  const uint8_t* table = data + tableAt;
  bool hasAlpha = false;
  if (bpp == 32) {
    for (int32_t y = 0; y < height && !hasAlpha; ++y) {
      const uint8_t* row = data + xorAt + xorStride * y;
      for (int32_t x = 0; x < width; ++x) {
        if (row[x * 4 + 3] != 0) {
          hasAlpha = true;
          break;
        }
      }
    }
  }
  out->pixels.assign(static_cast<size_t>(width) * height, 0);
  for (int32_t y = 0; y < height; ++y) {
    const int32_t stored = height - 1 - y;  // rows bottom-up
    const uint8_t* xorRow = data + xorAt + xorStride * stored;
    const uint8_t* andRow = data + andAt + andStride * stored;
    for (int32_t x = 0; x < width; ++x) {
      const bool masked = ((andRow[x >> 3] >> (7 - (x & 7))) & 1u) != 0;
      uint32_t r = 0, g = 0, b = 0, a = 255;
      if (bpp <= 8) {
        const uint32_t index = BitsAt(xorRow, x, bpp);
        if (index < colours) {
          b = table[index * 4];
          g = table[index * 4 + 1];
          r = table[index * 4 + 2];
        }
        if (masked) {
          // AND set: the screen shows through; a set XOR there inverts it, which we show as black.
          if (index == 0) a = 0;
          else r = g = b = 0;
        }
      } else {
        const uint8_t* p = xorRow + x * (bpp / 8);
        b = p[0];
        g = p[1];
        r = p[2];
        if (hasAlpha) a = p[3] >= 128 ? 255 : 0;
        else if (masked) a = 0;
      }
      out->pixels[static_cast<size_t>(y) * width + x] = a == 0 ? 0u : (0xFF000000u | (r << 16) | (g << 8) | b);
    }
  }
  out->image.width = width;
  out->image.height = height;
  out->image.hotX = hotX;
  out->image.hotY = hotY;
  out->image.argb = out->pixels.data();
  return true;
}

bool ReadCursorResource(HMODULE module, const ResName& id, CursorBitmap* out) {
  if (out == nullptr) return false;
  HRSRC group = FindResource(module, id, ResName(RT_GROUP_CURSOR));
  const uint8_t* g = static_cast<const uint8_t*>(LockResource(LoadResource(module, group)));
  const uint32_t size = SizeofResource(module, group);
  // Header: reserved 0, type 2 (cursor), count; then 14-byte entries whose last word is the RT_CURSOR id.
  if (g == nullptr || size < 6 + 14 || U16(g) != 0 || U16(g + 2) != 2 || U16(g + 4) == 0) return false;
  const uint16_t cursorId = U16(g + 6 + 12);
  HRSRC cursor = FindResource(module, ResName(cursorId), ResName(RT_CURSOR));
  const uint8_t* c = static_cast<const uint8_t*>(LockResource(LoadResource(module, cursor)));
  return DecodeCursorResource(c, SizeofResource(module, cursor), out);
}

const Cursor* LoadCursor(HMODULE module, const ResName& id) {
  // Decoded images stay for the program's lifetime, like the cursors made from them.
  static std::deque<CursorBitmap> kept;
  CursorBitmap bitmap;
  if (!ReadCursorResource(module, id, &bitmap)) return nullptr;
  kept.push_back(std::move(bitmap));
  kept.back().image.argb = kept.back().pixels.data();
  return LoadCursorFromImage(kept.back().image);
}

}  // namespace platform
