// Fuzzes the bitmap file reader (info and core headers) from a file object in memory.
#include <cstddef>
#include <cstdint>

#include "framework/core/data.h"
#include "fuzz/gfx_fuzz_env.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gfxfuzz::Graphics();
  CMemFile file(data, size);
  ZDIB dib;
  dib.LoadFile(&file);
  gfxfuzz::Exercise(&dib);
  // From a later position as well: the reader starts where the file object stands.
  if (size > 3) {
    CMemFile shifted(data, size);
    shifted.Seek(3, CFile::begin);
    ZDIB other;
    other.LoadFile(&shifted);
    gfxfuzz::Exercise(&other);
  }
  return 0;
}
