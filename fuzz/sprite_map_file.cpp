// Fuzzes the sprite-map file reader: the bytes written to a file and read back with three sequential reads.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/gfx_fuzz_env.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gfxfuzz::Graphics();
  static const std::string path = "/tmp/bf_fuzz_sprite_map_" + std::to_string(::getpid()) + ".dll";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  ZSpriteMap map;
  if (map.LoadFile(path) == 1) gfxfuzz::Exercise(&map);
  // A second load over the first replaces it whole.
  if (map.LoadFile(path) == 1) gfxfuzz::Exercise(&map);
  return 0;
}
