// Shared picture types of the art generator: drawings are made in RGBA, then quantised to palettes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace artgen {

// Straight (not premultiplied) 0xAARRGGBB pixels, rows top-down. Alpha below 128 is transparent.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  RgbaImage() = default;
  RgbaImage(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// One sprite of a sprite map: its frames in order.
using SpriteFrames = std::vector<RgbaImage>;

}  // namespace artgen
