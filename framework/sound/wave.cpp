// ZWave: the RIFF walk over a wave image, with every size checked against the image.
#include "framework/sound/wave.h"

#include <cstring>

Z_IMPLEMENT_CLASS(ZWave, ZData)

namespace {

int DefaultReader(platform::Module* module, uint32_t id, ZResourceBlock* out) {
  return ZReadResource(module, "WAVE", id, out);
}

ZWave::ResourceReader g_reader = &DefaultReader;

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Walks the chunks in [begin, end) for `id` (and, for "RIFF", the form type `form`). Sizes are
// checked in 64 bits so that a huge declared size cannot wrap.
bool Walk(const uint8_t* base, uint64_t begin, uint64_t end, const char id[4], const char* form, uint64_t* bodyAt,
          uint64_t* bodyEnd) {
  uint64_t at = begin;
  while (at + 8 <= end) {
    const uint8_t* header = base + at;
    const uint64_t chunkSize = Le32(header + 4);
    const uint64_t body = at + 8;
    if (std::memcmp(header, id, 4) == 0) {
      if (form == nullptr) {
        if (body + chunkSize <= end) {
          *bodyAt = body;
          *bodyEnd = body + chunkSize;
          return true;
        }
        return false;  // declared past the end of what we have: damaged
      }
      if (chunkSize >= 4 && body + 4 <= end && std::memcmp(base + body, form, 4) == 0) {
        // A RIFF form that claims more than the image holds is read as far as the image goes.
        *bodyAt = body + 4;
        *bodyEnd = body + chunkSize < end ? body + chunkSize : end;
        return true;
      }
    }
    at = body + chunkSize + (chunkSize & 1);  // chunks are padded to even length
  }
  return false;
}

}  // namespace

ZWave::ResourceReader ZWave::SetResourceReader(ResourceReader reader) {
  ResourceReader old = g_reader;
  g_reader = reader != nullptr ? reader : &DefaultReader;
  return old;
}

ZWave::~ZWave() { FreeData(); }

int32_t ZWave::LoadFromResource(int32_t id, platform::Module* module) {
  FreeData();
  fromResource = 1;
  ZResourceBlock block;
  if (g_reader(module, static_cast<uint32_t>(id) & 0xFFFFu, &block) == 0 || block.data == nullptr) return 0;
  data = block.data;
  size = block.size;
  return 1;
}

int32_t ZWave::LoadFromMemory(const uint8_t* image, uint32_t imageSize) {
  FreeData();
  fromResource = 0;
  if (image == nullptr) return 0;
  data = image;
  size = imageSize;
  return 1;
}

bool ZWave::FindChunk(const char id[4], const uint8_t** body, uint32_t* bodySize) const {
  if (data == nullptr) return false;
  uint64_t formAt = 0, formEnd = 0;
  if (!Walk(data, 0, size, "RIFF", "WAVE", &formAt, &formEnd)) return false;
  uint64_t at = 0, end = 0;
  if (!Walk(data, formAt, formEnd, id, nullptr, &at, &end)) return false;
  *body = data + at;
  *bodySize = static_cast<uint32_t>(end - at);
  return true;
}

int32_t ZWave::GetFormat(platform::WaveFormatEx* out) const {
  if (out == nullptr) return 0;
  const uint8_t* p = nullptr;
  uint32_t n = 0;
  if (!FindChunk("fmt ", &p, &n) || n < 16) return 0;
  out->formatTag = Le16(p);
  out->channels = Le16(p + 2);
  out->samplesPerSec = Le32(p + 4);
  out->avgBytesPerSec = Le32(p + 8);
  out->blockAlign = Le16(p + 12);
  out->bitsPerSample = Le16(p + 14);
  // Plain PCM has no extra-size field; the bytes after a 16-byte chunk belong to the next chunk.
  out->extraSize = n >= 18 ? Le16(p + 16) : 0;
  return 1;
}

uint32_t ZWave::GetDataSize() const {
  const uint8_t* p = nullptr;
  uint32_t n = 0;
  return FindChunk("data", &p, &n) ? n : 0;
}

uint32_t ZWave::ReadData(void* destination, uint32_t capacity) const {
  if (destination == nullptr) return 0;
  const uint8_t* p = nullptr;
  uint32_t n = 0;
  if (!FindChunk("data", &p, &n)) return 0;
  if (capacity < n) n = capacity;
  if (n != 0) std::memcpy(destination, p, n);
  return n;
}

int32_t ZWave::FreeData() {
  if (data == nullptr) return 0;
  // Resource bytes belong to their module and memory images to their caller: only forget them.
  data = nullptr;
  size = 0;
  return 1;
}
