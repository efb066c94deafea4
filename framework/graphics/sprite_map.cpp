// Sprite maps: reading the packed layout from a resource or a file, painting it, frames and pixel lookup.
#include "framework/graphics/sprite_map.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "framework/core/data.h"
#include "framework/graphics/frame.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/surface.h"
#include "platform/module.h"

Z_IMPLEMENT_CLASS(ZComponent, ZObject)
Z_IMPLEMENT_CLASS(ZSpriteMap, ZObject)

namespace {

uint32_t ReadWord(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

ZComponent::ZComponent() { std::memset(record, 0, sizeof(record)); }

ZComponent::ZComponent(const uint8_t* bytes) {
  if (bytes != nullptr) {
    std::memcpy(record, bytes, sizeof(record));
  } else {
    std::memset(record, 0, sizeof(record));
  }
}

int32_t ZComponent::Word(size_t offset) const {
  if (offset + 4 > sizeof(record)) return 0;
  return static_cast<int32_t>(ReadWord(record + offset));
}

std::unique_ptr<ZFrame> ZComponent::MakeFrame() const {
  const int64_t right = int64_t{X()} + Width();
  const int64_t bottom = int64_t{Y()} + Height();
  platform::Rect r{X(), Y(), X(), Y()};
  if (right <= INT32_MAX && bottom <= INT32_MAX && right >= INT32_MIN && bottom >= INT32_MIN) {
    r.right = static_cast<int32_t>(right);
    r.bottom = static_cast<int32_t>(bottom);
  }
  return std::make_unique<ZFrame>(r, FrameId(), HotX(), HotY());
}

bool ZComponent::PixelsInside(size_t dataSize) const {
  int64_t w = Width();
  int64_t h = Height();
  if (w < 0 || h < 0) return false;
  uint64_t need = static_cast<uint64_t>(PixelOffset()) + static_cast<uint64_t>(h) * static_cast<uint64_t>(Stride());
  return need <= dataSize;
}

ZSpriteMap::ZSpriteMap() {
  std::memset(header, 0, sizeof(header));
  header[5] = 1;
}

ZSpriteMap::~ZSpriteMap() = default;

int ZSpriteMap::LoadResource(uint32_t id, platform::Module* module) {
  ZResourceBlock block;
  if (ZReadResource(module, "SPRITEMAP", id, &block) == 0) return 0;
  return LoadBytes(block.data, block.size);
}

int ZSpriteMap::LoadBytes(const uint8_t* bytes, size_t size) {
  // Everything is checked against what is there before anything is replaced, so a damaged map
  // leaves the previous one as it was.
  if (bytes == nullptr || size < kSpriteMapHeaderSize) return 0;
  uint32_t words[12];
  for (int i = 0; i < 12; ++i) words[i] = ReadWord(bytes + 4 * i);
  uint64_t count = words[kMapWordCount];
  uint64_t tableBytes = count * kSpriteMapEntrySize;
  uint64_t blockBytes = static_cast<uint64_t>(words[kMapWordColorTableSize]) + words[kMapWordDataSize];
  if (tableBytes > size - kSpriteMapHeaderSize) return 0;
  if (blockBytes > size - kSpriteMapHeaderSize - tableBytes) return 0;

  std::vector<std::unique_ptr<ZComponent>> entries;
  entries.reserve(static_cast<size_t>(count));
  const uint8_t* record = bytes + kSpriteMapHeaderSize;
  for (uint64_t i = 0; i < count; ++i, record += kSpriteMapEntrySize) {
    entries.push_back(std::make_unique<ZComponent>(record));
  }
  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[blockBytes > 0 ? blockBytes : 1]);
  if (block == nullptr) return 0;
  if (blockBytes > 0) std::memcpy(block.get(), bytes + kSpriteMapHeaderSize + tableBytes, static_cast<size_t>(blockBytes));

  std::memcpy(header, words, sizeof(header));
  components = std::move(entries);
  data = std::move(block);
  dataSize = static_cast<size_t>(blockBytes);
  return 1;
}

int ZSpriteMap::LoadFile(const std::string& fileName) {
  std::string path = platform::FindFileNoCase(fileName);
  CFile file;
  if (path.empty() || !file.Open(path, CFile::modeRead)) return 0;
  // Three sequential reads: header, table, data; each must arrive whole and fit in the file.
  uint8_t head[kSpriteMapHeaderSize];
  if (file.Read(head, sizeof(head)) != sizeof(head)) return 0;
  uint64_t length = file.GetLength();
  uint64_t count = ReadWord(head + 4 * kMapWordCount);
  uint64_t tableBytes = count * kSpriteMapEntrySize;
  uint64_t blockBytes = static_cast<uint64_t>(ReadWord(head + 4 * kMapWordColorTableSize)) +
                        ReadWord(head + 4 * kMapWordDataSize);
  if (length < kSpriteMapHeaderSize || tableBytes > length - kSpriteMapHeaderSize ||
      blockBytes > length - kSpriteMapHeaderSize - tableBytes) {
    return 0;
  }
  std::vector<uint8_t> all;
  try {
    all.resize(static_cast<size_t>(kSpriteMapHeaderSize + tableBytes + blockBytes));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  std::memcpy(all.data(), head, sizeof(head));
  if (tableBytes > 0 && file.Read(all.data() + kSpriteMapHeaderSize, static_cast<uint32_t>(tableBytes)) != tableBytes) {
    return 0;
  }
  if (blockBytes > 0 &&
      file.Read(all.data() + kSpriteMapHeaderSize + tableBytes, static_cast<uint32_t>(blockBytes)) != blockBytes) {
    return 0;
  }
  file.Close();
  return LoadBytes(all.data(), all.size());
}

const uint8_t* ZSpriteMap::PixelData() const {
  if (data == nullptr) return nullptr;
  return data.get() + GetColorTableSize();
}

int ZSpriteMap::Paint(ZSurface* surface) {
  skippedEntries = 0;
  if (components.empty() || data == nullptr || surface == nullptr) return 0;
  ZGraphics* graphics = surface->GetGraphics();
  int32_t surfaceWidth = 0;
  int32_t surfaceHeight = 0;
  {
    ZSurfaceLock probe(surface);
    if (!probe.Ok()) {
      if (graphics != nullptr) graphics->ReportError(probe.Result());
      return 0;
    }
    surfaceWidth = probe.Desc().width;
    surfaceHeight = probe.Desc().height;
  }
  if (surfaceWidth != GetWidth() || surfaceHeight != GetHeight()) return 0;
  const uint8_t* pixels = PixelData();
  size_t pixelBytes = GetPixelDataSize();
  platform::HRESULT lastUnlock = 0;
  for (const auto& entry : components) {
    int64_t x = entry->X();
    int64_t y = entry->Y();
    int64_t w = entry->Width();
    int64_t h = entry->Height();
    if (x < 0 || y < 0 || w < 0 || h < 0 || x + w > surfaceWidth || y + h > surfaceHeight ||
        !entry->PixelsInside(pixelBytes)) {
      ++skippedEntries;
      continue;
    }
    ZSurfaceLock lock(surface);
    if (!lock.Ok()) {
      if (graphics != nullptr) graphics->ReportError(lock.Result());
      continue;
    }
    const ZSurfaceDesc& desc = lock.Desc();
    const int64_t stride = entry->Stride();
    // The stored rows run bottom first: start at the last stored row and walk back.
    const uint8_t* src = pixels + entry->PixelOffset() + static_cast<size_t>(h > 0 ? h - 1 : 0) * stride;
    uint8_t* dst = desc.bits + y * desc.pitch + x;
    for (int64_t row = 0; row < h; ++row) {
      std::memcpy(dst, src, static_cast<size_t>(w));
      src -= stride;
      dst += desc.pitch;
    }
    lastUnlock = lock.Release();
  }
  if (lastUnlock != 0) {
    if (graphics != nullptr) graphics->ReportError(lastUnlock);
    return 0;
  }
  return 1;
}

int ZSpriteMap::GetFrames(int32_t spriteId, std::vector<std::unique_ptr<ZFrame>>* frameList) const {
  if (frameList == nullptr) return 0;
  int found = 0;
  for (const auto& entry : components) {
    if (entry->SpriteId() != spriteId) continue;
    frameList->push_back(entry->MakeFrame());
    found = 1;
  }
  return found;
}

const ZComponent* ZSpriteMap::FindFrame(int32_t frameId) const {
  for (const auto& entry : components) {
    if (entry->FrameId() == frameId) return entry.get();
  }
  return nullptr;
}

std::unique_ptr<ZFrame> ZSpriteMap::GetFrame(int32_t frameId) const {
  const ZComponent* entry = FindFrame(frameId);
  return entry != nullptr ? entry->MakeFrame() : nullptr;
}

int32_t ZSpriteMap::GetPixel(int32_t frameId, int32_t u, int32_t v) const {
  const ZComponent* entry = FindFrame(frameId);
  if (entry == nullptr) return -1;
  if (u < 0 || v < 0 || u >= entry->Width() || v >= entry->Height()) return -1;
  const uint8_t* pixels = PixelData();
  if (pixels == nullptr) return -1;
  uint64_t at = static_cast<uint64_t>(entry->PixelOffset()) +
                static_cast<uint64_t>(entry->Height() - v - 1) * static_cast<uint64_t>(entry->Stride()) +
                static_cast<uint64_t>(u);
  if (at >= GetPixelDataSize() || GetColorTableSize() + at >= dataSize) return -1;
  return pixels[at];
}

void ZSpriteMap::GetColorTable(int32_t count, ZPaletteEntry* out) const {
  if (out == nullptr || count <= 0) return;
  uint64_t available = data != nullptr ? GetColorTableSize() / 4 : 0;
  for (int32_t i = 0; i < count; ++i) {
    ZPaletteEntry e;
    if (static_cast<uint64_t>(i) < available) {
      const uint8_t* q = data.get() + 4 * static_cast<size_t>(i);
      e.red = q[2];
      e.green = q[1];
      e.blue = q[0];
    }
    out[i] = e;
  }
}
