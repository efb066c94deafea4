// Fuzzes the bitmap resource reader: the bytes as RT_BITMAP resource 133, loaded through the image holder.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/gfx_fuzz_env.h"
#include "platform/module.h"
#include "tests/platform/pe_test_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gfxfuzz::Graphics();
  std::vector<testpe::Resource> res{{platform::RT_BITMAP, 133, 0x409, std::vector<uint8_t>(data, data + size)}};
  auto module = platform::Module::FromBytes(testpe::Build(res), "fuzz.dll");
  ZImage image;
  if (image.Load(133, module.get()) == 1) {
    gfxfuzz::Exercise(image.GetData());
    ZPalette palette;
    palette.CreateFromImage(&image);
    ZSurface surface(gfxfuzz::Graphics(), &image, 1);
    (void)surface;
  }
  ZDIB direct;
  direct.LoadResourceBytes(data, size);
  gfxfuzz::Exercise(&direct);
  return 0;
}
