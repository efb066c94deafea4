// The byte formats the game reads: 8-bit bitmap resources, sprite maps, the map file, the cursor; PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/artgen/palette.h"

namespace artgen {

// A bitmap resource: 40-byte BITMAPINFOHEADER, 256 RGBQUADs, rows bottom-up padded to 4 bytes.
std::vector<uint8_t> MakeBitmapResource(const IndexedImage& image, const Palette& palette);
// The same with the 14-byte file header in front: a .bmp file.
std::vector<uint8_t> MakeBitmapFile(const IndexedImage& image, const Palette& palette);

// One frame of a sprite map: its picture and its hot spot relative to its top-left corner.
struct MapFrame {
  IndexedImage image;
  int hotX = 0;
  int hotY = 0;
};
using MapSprite = std::vector<MapFrame>;  // the frames of one sprite id, in order

struct SpriteMapImage {
  std::vector<uint8_t> bytes;  // header, entries, colour table, pixel data
  IndexedImage packed;         // the map's picture: every frame at its place, the rest transparent
};

// Packs sprites 0..n-1 (sprite id = position) into one map; frame ids run 0, 1, 2... in map order.
SpriteMapImage BuildSpriteMap(const std::vector<MapSprite>& sprites, const Palette& palette,
                              uint8_t transparentIndex);

// The map file: 20-byte header, then (type, x, y) records of 12 bytes.
struct HuntItem {
  int32_t type = 0;
  float x = 0;
  float y = 0;
};
std::vector<uint8_t> MakeMapFile(const std::vector<HuntItem>& items);

// A 32 x 32 colour cursor: the RT_CURSOR bytes (hot spot, then an 8-bit DIB with its AND mask) and the
// RT_GROUP_CURSOR directory that names it by `cursorId`. Transparent where the image holds `transparentIndex`.
struct CursorResources {
  std::vector<uint8_t> cursor;
  std::vector<uint8_t> group;
};
CursorResources MakeCursor(const IndexedImage& image, const Palette& palette, uint8_t transparentIndex, int hotX,
                           int hotY, uint16_t cursorId);

// An indexed picture as an RGB PNG (the transparent index drawn as magenta), for people to look at.
bool WritePng(const std::string& path, const IndexedImage& image, const Palette& palette);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace artgen
