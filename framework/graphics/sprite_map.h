// ZSpriteMap: one packed picture of many sprite frames with its table; read from a resource or a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/object.h"
#include "framework/graphics/image.h"

namespace platform {
class Module;
}

class ZFrame;
class ZSurface;

constexpr size_t kSpriteMapHeaderSize = 48;
constexpr size_t kSpriteMapEntrySize = 272;
constexpr uint32_t kSpriteMapResourceId = 151;
// Word indices of the header.
constexpr int kMapWordCount = 3;
constexpr int kMapWordColorTableSize = 6;
constexpr int kMapWordDataSize = 7;
constexpr int kMapWordWidth = 8;
constexpr int kMapWordHeight = 9;
constexpr int kMapWordTransparent = 11;

// One 272-byte entry of the table.
class ZComponent : public ZObject {
  Z_DECLARE_CLASS(ZComponent)

 public:
  ZComponent();  // zero-filled
  explicit ZComponent(const uint8_t* record);  // copies kSpriteMapEntrySize bytes

  int32_t FrameId() const { return Word(228); }
  int32_t SpriteId() const { return Word(232); }
  uint32_t PixelOffset() const { return static_cast<uint32_t>(Word(244)); }
  int32_t X() const { return Word(248); }
  int32_t Y() const { return Word(252); }
  int32_t Width() const { return Word(256); }
  int32_t Height() const { return Word(260); }
  int32_t HotX() const { return Word(264); }
  int32_t HotY() const { return Word(268); }
  int64_t Stride() const { return ZImageStride(Width()); }
  // The frame this entry describes (source rectangle x, y, x + width, y + height). A rectangle whose
  // right or bottom edge lies beyond 32 bits cannot be in any map: it becomes the empty one at x, y.
  std::unique_ptr<ZFrame> MakeFrame() const;
  // True when width x height pixels of stride lie inside a pixel block of dataSize bytes.
  bool PixelsInside(size_t dataSize) const;

  int32_t Word(size_t offset) const;
  uint8_t record[kSpriteMapEntrySize];
};

class ZSpriteMap : public ZObject {
  Z_DECLARE_CLASS(ZSpriteMap)

 public:
  ZSpriteMap();
  ~ZSpriteMap() override;
  ZSpriteMap(const ZSpriteMap&) = delete;
  ZSpriteMap& operator=(const ZSpriteMap&) = delete;

  // SPRITEMAP resource id (low 16 bits) of the module. 1 or 0.
  int LoadResource(uint32_t id, platform::Module* module);
  // A sprite-map file read as plain bytes (looked up as the art files are). 1 or 0.
  int LoadFile(const std::string& fileName);
  // The layout from bytes in memory (what both loaders read); checks every size against size.
  int LoadBytes(const uint8_t* bytes, size_t size);
  // Paints every frame into a surface of exactly the map's size. 1 or 0.
  int Paint(ZSurface* surface);
  // Entries the last Paint left out because they lie outside the map or their pixels outside the data.
  int32_t GetSkippedEntryCount() const { return skippedEntries; }
  // Appends one new frame per entry of that sprite id, in map order; 1 when at least one was found.
  int GetFrames(int32_t spriteId, std::vector<std::unique_ptr<ZFrame>>* frameList) const;
  // A new frame for the first entry with that frame id, or null.
  std::unique_ptr<ZFrame> GetFrame(int32_t frameId) const;
  // The palette index at u, v (v from the frame's top) of the first entry with that frame id; -1 when
  // there is none or u, v lie outside it.
  int32_t GetPixel(int32_t frameId, int32_t u, int32_t v) const;
  // For each of the first count colour-table entries: red, green, blue, 0. Entries past the table are black.
  void GetColorTable(int32_t count, ZPaletteEntry* out) const;

  uint32_t GetHeaderWord(int index) const { return header[index]; }
  int32_t GetEntryCount() const { return static_cast<int32_t>(components.size()); }
  int32_t GetWidth() const { return static_cast<int32_t>(header[kMapWordWidth]); }
  int32_t GetHeight() const { return static_cast<int32_t>(header[kMapWordHeight]); }
  int32_t GetTransparentIndex() const { return static_cast<int32_t>(header[kMapWordTransparent]); }
  void SetTransparentIndex(int32_t index) { header[kMapWordTransparent] = static_cast<uint32_t>(index); }
  uint32_t GetColorTableSize() const { return header[kMapWordColorTableSize]; }
  uint32_t GetPixelDataSize() const { return header[kMapWordDataSize]; }
  const ZComponent* GetComponent(int32_t index) const { return components[static_cast<size_t>(index)].get(); }
  const uint8_t* GetData() const { return data.get(); }
  size_t GetDataSize() const { return dataSize; }

 private:
  const ZComponent* FindFrame(int32_t frameId) const;
  const uint8_t* PixelData() const;

  uint32_t header[12];
  std::vector<std::unique_ptr<ZComponent>> components;
  std::unique_ptr<uint8_t[]> data;  // colour table then pixel data
  size_t dataSize = 0;
  int32_t skippedEntries = 0;
};
