// Cursors from resource modules: RT_GROUP_CURSOR + RT_CURSOR read into a colour cursor image.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/backend.h"
#include "platform/module.h"

namespace platform {

struct Cursor;

// A decoded cursor: ARGB pixels (alpha 0 or 255) and the hot spot. image.argb points into pixels.
struct CursorBitmap {
  std::vector<uint32_t> pixels;
  CursorImage image;
};

// Decodes one RT_CURSOR resource: hot spot (two 16-bit words), then a BITMAPINFOHEADER with doubled
// height, its colour table, the XOR bits and the AND mask. 1, 4 and 8 bits per pixel. False when damaged.
bool DecodeCursorResource(const uint8_t* data, uint32_t size, CursorBitmap* out);

// Reads group cursor `id` of the module (null = own module): the group's first entry names the RT_CURSOR.
bool ReadCursorResource(HMODULE module, const ResName& id, CursorBitmap* out);

// LoadCursor for a module's cursor: decoded and handed to the window layer (kept for the program's
// lifetime); null when it cannot be read.
const Cursor* LoadCursor(HMODULE module, const ResName& id);

}  // namespace platform
