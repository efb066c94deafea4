// ZWave: a read-only view of one RIFF WAVE image in memory, with the queries for its format and samples.
#pragma once

#include <cstdint>

#include "framework/core/data.h"
#include "platform/sound.h"

class ZWave : public ZData {
  Z_DECLARE_CLASS(ZWave)

 public:
  // Where LoadFromResource gets its bytes; the default reads the module's "WAVE" resources. Tests
  // install their own to hand in images built in memory.
  using ResourceReader = int (*)(platform::Module* module, uint32_t id, ZResourceBlock* out);
  static ResourceReader SetResourceReader(ResourceReader reader);  // null restores the default; returns the old one

  ZWave() = default;
  ~ZWave() override;

  // Finds the "WAVE" resource `id` (low 16 bits) in `module` (null = the program's own); 1 when found.
  int32_t LoadFromResource(int32_t id, platform::Module* module);
  // Views an image the caller keeps alive (never freed by this object); 1 unless it is null.
  int32_t LoadFromMemory(const uint8_t* image, uint32_t imageSize);

  // The 18-byte format record at the start of the "fmt " body: 1, or 0 with no image or no usable
  // "fmt " chunk. A 16-byte chunk (plain PCM) gives extraSize 0: nothing past the chunk is read.
  int32_t GetFormat(platform::WaveFormatEx* out) const;
  // The declared size of the "data" chunk; 0 with no image or no "data" chunk that fits the image.
  uint32_t GetDataSize() const;
  // Copies the "data" body (cut to capacity) and returns the byte count.
  uint32_t ReadData(void* destination, uint32_t capacity) const;
  // Forgets the image; 1 when there was one.
  int32_t FreeData();

  const uint8_t* data = nullptr;
  uint32_t size = 0;
  int32_t fromResource = 0;

 private:
  // The body of the sub-chunk `id` of the RIFF "WAVE" form; false when it is not there or does
  // not fit inside the image.
  bool FindChunk(const char id[4], const uint8_t** body, uint32_t* bodySize) const;
};
