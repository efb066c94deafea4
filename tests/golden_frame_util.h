// Pinning a whole 640 x 480 paletted picture: its hash, and the PNG kept for people to look at.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/png_writer.h"
#include "platform/types.h"

namespace golden {

inline uint64_t Fnv1a(const uint8_t* p, size_t n, uint64_t h = 1469598103934665603ULL) {
  for (size_t i = 0; i < n; ++i) {
    h ^= p[i];
    h *= 1099511628211ULL;
  }
  return h;
}

// Hashes the pixels and the palette, writes the picture as `name` into the run folder, and with
// BF_UPDATE_GOLDEN set also to `sourcePath` (relative to the source tree) with the hash printed, so a
// deliberate change can be looked at and pinned again.
inline uint64_t Keep(const std::vector<uint8_t>& pixels, const platform::Rgb* colors, const std::string& name,
                     const std::string& sourcePath) {
  uint64_t hash = Fnv1a(pixels.data(), pixels.size());
  hash = Fnv1a(reinterpret_cast<const uint8_t*>(colors), sizeof(platform::Rgb) * 256, hash);
  platform::FrameView frame;
  frame.pixels = pixels.data();
  frame.width = 640;
  frame.height = 480;
  frame.pitch = 640;
  frame.palette = colors;
  EXPECT_TRUE(platform::WritePalettedPng(std::string(BF_RUN_DIR) + "/" + name, frame));
  if (std::getenv("BF_UPDATE_GOLDEN") != nullptr) {
    EXPECT_TRUE(platform::WritePalettedPng(std::string(BF_SOURCE_DIR) + "/" + sourcePath, frame));
    std::printf("%s hash: 0x%016llxULL\n", name.c_str(), static_cast<unsigned long long>(hash));
  }
  return hash;
}

}  // namespace golden
