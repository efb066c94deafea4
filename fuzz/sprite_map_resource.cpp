// Fuzzes the sprite-map resource reader: the bytes as SPRITEMAP resource 151 of a module, then every lookup.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/gfx_fuzz_env.h"
#include "platform/module.h"
#include "tests/platform/pe_test_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gfxfuzz::Graphics();
  std::vector<testpe::Resource> res{{"SPRITEMAP", 151, 0x409, std::vector<uint8_t>(data, data + size)}};
  auto module = platform::Module::FromBytes(testpe::Build(res), "fuzz.dll");
  ZSpriteMap map;
  if (map.LoadResource(151, module.get()) == 1) gfxfuzz::Exercise(&map);
  // The bytes straight, too, so that every length is tried.
  ZSpriteMap direct;
  if (direct.LoadBytes(data, size) == 1) gfxfuzz::Exercise(&direct);
  return 0;
}
