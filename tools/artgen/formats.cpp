// Encoders of the game's art formats, all little-endian and byte-exact, plus a PNG writer for previews.
#include "tools/artgen/formats.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace artgen {

namespace {

void Append16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Append32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
int Stride(int width) { return (width + 3) & ~3; }

void AppendInfoHeader(std::vector<uint8_t>& b, int width, int height, uint32_t imageSize) {
  Append32(b, 40);
  Append32(b, static_cast<uint32_t>(width));
  Append32(b, static_cast<uint32_t>(height));
  Append16(b, 1);    // planes
  Append16(b, 8);    // bits per pixel
  Append32(b, 0);    // BI_RGB
  Append32(b, imageSize);
  Append32(b, 2835);  // 72 dpi
  Append32(b, 2835);
  Append32(b, 256);  // colours used
  Append32(b, 0);
}

void AppendColourTable(std::vector<uint8_t>& b, const Palette& palette) {
  for (const Rgb& c : palette) {
    b.push_back(c.b);
    b.push_back(c.g);
    b.push_back(c.r);
    b.push_back(0);
  }
}

void AppendRowsBottomUp(std::vector<uint8_t>& b, const IndexedImage& image) {
  const int stride = Stride(image.width);
  for (int y = image.height - 1; y >= 0; --y) {
    const uint8_t* row = image.pixels.data() + static_cast<size_t>(y) * image.width;
    b.insert(b.end(), row, row + image.width);
    b.insert(b.end(), static_cast<size_t>(stride - image.width), 0);
  }
}

}  // namespace

std::vector<uint8_t> MakeBitmapResource(const IndexedImage& image, const Palette& palette) {
  std::vector<uint8_t> b;
  const uint32_t imageSize = static_cast<uint32_t>(Stride(image.width)) * image.height;
  b.reserve(1064 + imageSize);
  AppendInfoHeader(b, image.width, image.height, imageSize);
  AppendColourTable(b, palette);
  AppendRowsBottomUp(b, image);
  return b;
}

std::vector<uint8_t> MakeBitmapFile(const IndexedImage& image, const Palette& palette) {
  std::vector<uint8_t> dib = MakeBitmapResource(image, palette);
  std::vector<uint8_t> b;
  b.push_back('B');
  b.push_back('M');
  Append32(b, static_cast<uint32_t>(14 + dib.size()));
  Append32(b, 0);
  Append32(b, 14 + 1064);
  b.insert(b.end(), dib.begin(), dib.end());
  return b;
}

SpriteMapImage BuildSpriteMap(const std::vector<MapSprite>& sprites, const Palette& palette,
                              uint8_t transparentIndex) {
  // Shelf packing in map order: frames left to right, a new shelf when the row is full.
  int mapWidth = 1024;
  for (const MapSprite& s : sprites)
    for (const MapFrame& f : s) mapWidth = std::max(mapWidth, f.image.width);
  struct Placed {
    const MapFrame* frame;
    int sprite, x, y;
  };
  std::vector<Placed> placed;
  int x = 0, y = 0, shelf = 0;
  for (size_t s = 0; s < sprites.size(); ++s) {
    for (const MapFrame& f : sprites[s]) {
      if (x + f.image.width > mapWidth) {
        x = 0;
        y += shelf;
        shelf = 0;
      }
      placed.push_back({&f, static_cast<int>(s), x, y});
      x += f.image.width;
      shelf = std::max(shelf, f.image.height);
    }
  }
  const int mapHeight = std::max(1, y + shelf);

  SpriteMapImage out;
  out.packed.width = mapWidth;
  out.packed.height = mapHeight;
  out.packed.pixels.assign(static_cast<size_t>(mapWidth) * mapHeight, transparentIndex);

  std::vector<uint8_t> pixelData;
  std::vector<uint8_t> entries(placed.size() * 272, 0);
  for (size_t i = 0; i < placed.size(); ++i) {
    const Placed& p = placed[i];
    const IndexedImage& img = p.frame->image;
    uint8_t* e = entries.data() + i * 272;
    // The unread part names the frame, for people reading the file with a hex viewer.
    std::snprintf(reinterpret_cast<char*>(e), 228, "sprite %d frame %zu", p.sprite, i);
    std::vector<uint8_t> tmp(e, e + 272);
    Put32(tmp, 228, static_cast<uint32_t>(i));
    Put32(tmp, 232, static_cast<uint32_t>(p.sprite));
    Put32(tmp, 244, static_cast<uint32_t>(pixelData.size()));
    Put32(tmp, 248, static_cast<uint32_t>(p.x));
    Put32(tmp, 252, static_cast<uint32_t>(p.y));
    Put32(tmp, 256, static_cast<uint32_t>(img.width));
    Put32(tmp, 260, static_cast<uint32_t>(img.height));
    Put32(tmp, 264, static_cast<uint32_t>(p.frame->hotX));
    Put32(tmp, 268, static_cast<uint32_t>(p.frame->hotY));
    std::copy(tmp.begin(), tmp.end(), e);
    AppendRowsBottomUp(pixelData, img);
    for (int v = 0; v < img.height; ++v)
      std::memcpy(&out.packed.pixels[static_cast<size_t>(p.y + v) * mapWidth + p.x],
                  &img.pixels[static_cast<size_t>(v) * img.width], static_cast<size_t>(img.width));
  }

  std::vector<uint8_t>& b = out.bytes;
  b.assign(48, 0);
  Put32(b, 0, 48);    // header size
  Put32(b, 4, 272);   // entry size
  Put32(b, 8, 1);     // layout version
  Put32(b, 12, static_cast<uint32_t>(placed.size()));
  Put32(b, 16, static_cast<uint32_t>(sprites.size()));
  Put32(b, 20, 1);
  Put32(b, 24, 1024);
  Put32(b, 28, static_cast<uint32_t>(pixelData.size()));
  Put32(b, 32, static_cast<uint32_t>(mapWidth));
  Put32(b, 36, static_cast<uint32_t>(mapHeight));
  Put32(b, 40, 8);    // bits per pixel
  Put32(b, 44, transparentIndex);
  b.insert(b.end(), entries.begin(), entries.end());
  AppendColourTable(b, palette);
  b.insert(b.end(), pixelData.begin(), pixelData.end());
  return out;
}

std::vector<uint8_t> MakeMapFile(const std::vector<HuntItem>& items) {
  std::vector<uint8_t> b(12, 0);
  std::memcpy(b.data(), "BF HUNT MAP", 11);
  Append32(b, 1);  // layout version
  Append32(b, static_cast<uint32_t>(items.size()));
  for (const HuntItem& it : items) {
    Append32(b, static_cast<uint32_t>(it.type));
    uint32_t fx, fy;
    std::memcpy(&fx, &it.x, 4);
    std::memcpy(&fy, &it.y, 4);
    Append32(b, fx);
    Append32(b, fy);
  }
  return b;
}

CursorResources MakeCursor(const IndexedImage& image, const Palette& palette, uint8_t transparentIndex, int hotX,
                           int hotY, uint16_t cursorId) {
  constexpr int kSize = 32;
  CursorResources out;
  std::vector<uint8_t>& c = out.cursor;
  Append16(c, static_cast<uint32_t>(hotX));
  Append16(c, static_cast<uint32_t>(hotY));
  // XOR picture: 8-bit, rows bottom-up; AND mask: 1 bit a pixel, 1 = transparent, rows of 4 bytes.
  const uint32_t xorSize = kSize * kSize, andSize = kSize * 4;
  Append32(c, 40);
  Append32(c, kSize);
  Append32(c, kSize * 2);  // the picture and its mask
  Append16(c, 1);
  Append16(c, 8);
  Append32(c, 0);
  Append32(c, xorSize + andSize);
  Append32(c, 0);
  Append32(c, 0);
  Append32(c, 256);
  Append32(c, 0);
  AppendColourTable(c, palette);
  auto at = [&](int x, int y) -> int {
    if (x >= image.width || y >= image.height) return transparentIndex;
    return image.At(x, y);
  };
  for (int y = kSize - 1; y >= 0; --y)
    for (int x = 0; x < kSize; ++x) {
      const int v = at(x, y);
      c.push_back(v == transparentIndex ? 0 : static_cast<uint8_t>(v));
    }
  for (int y = kSize - 1; y >= 0; --y)
    for (int byte = 0; byte < 4; ++byte) {
      uint8_t bits = 0;
      for (int bit = 0; bit < 8; ++bit)
        if (at(byte * 8 + bit, y) == transparentIndex) bits |= static_cast<uint8_t>(0x80 >> bit);
      c.push_back(bits);
    }
  std::vector<uint8_t>& g = out.group;
  Append16(g, 0);  // reserved
  Append16(g, 2);  // cursors
  Append16(g, 1);  // one image
  Append16(g, kSize);
  Append16(g, kSize * 2);
  Append16(g, 1);  // planes
  Append16(g, 8);  // bits per pixel
  Append32(g, static_cast<uint32_t>(c.size()));
  Append16(g, cursorId);
  return out;
}

bool WritePng(const std::string& path, const IndexedImage& image, const Palette& palette) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 3);
  png_write_info(png, info);
  std::vector<uint8_t> row(static_cast<size_t>(image.width) * 3);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& c = palette[image.At(x, y)];
      row[x * 3] = c.r;
      row[x * 3 + 1] = c.g;
      row[x * 3 + 2] = c.b;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace artgen
