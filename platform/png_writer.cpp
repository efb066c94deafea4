// PNG output through libpng's simplified writer, keeping the picture as palette indices.
#include "platform/png_writer.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace platform {

bool WritePalettedPng(const std::string& path, const FrameView& frame) {
  if (frame.pixels == nullptr || frame.palette == nullptr || frame.width <= 0 || frame.height <= 0 ||
      frame.pitch < frame.width || path.empty()) {
    return false;
  }
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(frame.width);
  image.height = static_cast<png_uint_32>(frame.height);
  image.format = PNG_FORMAT_RGB_COLORMAP;
  image.colormap_entries = 256;
  std::vector<uint8_t> colormap(256 * 3);
  for (size_t i = 0; i < 256; ++i) {
    colormap[i * 3 + 0] = frame.palette[i].r;
    colormap[i * 3 + 1] = frame.palette[i].g;
    colormap[i * 3 + 2] = frame.palette[i].b;
  }
  int ok = png_image_write_to_file(&image, path.c_str(), 0, frame.pixels, frame.pitch, colormap.data());
  png_image_free(&image);
  if (ok == 0) {
    std::remove(path.c_str());
    return false;
  }
  return true;
}

}  // namespace platform
