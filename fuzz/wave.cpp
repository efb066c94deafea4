// Fuzz target: the wave-image walk (format, data size and data read) over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/sound/wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 24)) return 0;
  // A copy of exactly the input, so any read past the image is caught by the address sanitizer.
  std::vector<uint8_t> image(data, data + size);
  ZWave wave;
  wave.LoadFromMemory(image.data(), static_cast<uint32_t>(image.size()));
  platform::WaveFormatEx format;
  wave.GetFormat(&format);
  const uint32_t declared = wave.GetDataSize();
  // The declared size is checked against the image, so it can never exceed it.
  if (declared > image.size()) __builtin_trap();
  std::vector<uint8_t> out(declared / 2 + 1);
  const uint32_t n = wave.ReadData(out.data(), static_cast<uint32_t>(out.size()));
  if (n > out.size()) __builtin_trap();
  wave.FreeData();
  return 0;
}
