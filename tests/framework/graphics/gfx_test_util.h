// Shared pieces of the graphics tests: a headless display, and sprite maps and bitmaps built in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/graphics.h"
#include "framework/graphics/surface.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace gfxtest {

inline void Put32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  if (b->size() < at + 4) b->resize(at + 4);
  for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void Put16(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  if (b->size() < at + 2) b->resize(at + 2);
  (*b)[at] = static_cast<uint8_t>(v);
  (*b)[at + 1] = static_cast<uint8_t>(v >> 8);
}

// One frame of a sprite map; pixels are given top row first, width x height, no padding.
struct MapFrame {
  int32_t frameId = 0;
  int32_t spriteId = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t hotX = 0;
  int32_t hotY = 0;
  std::vector<uint8_t> pixels;
};

// A frame filled with one value, or with a pattern pixel(u, v).
inline MapFrame SolidFrame(int32_t frameId, int32_t spriteId, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t value,
                           int32_t hotX = 0, int32_t hotY = 0) {
  MapFrame f{frameId, spriteId, x, y, w, h, hotX, hotY, std::vector<uint8_t>(static_cast<size_t>(w * h), value)};
  return f;
}
template <typename F>
MapFrame PatternFrame(int32_t frameId, int32_t spriteId, int32_t x, int32_t y, int32_t w, int32_t h, F pixel,
                      int32_t hotX = 0, int32_t hotY = 0) {
  MapFrame f{frameId, spriteId, x, y, w, h, hotX, hotY, {}};
  for (int32_t v = 0; v < h; ++v)
    for (int32_t u = 0; u < w; ++u) f.pixels.push_back(static_cast<uint8_t>(pixel(u, v)));
  return f;
}

// The sprite-map layout: 48-byte header, 272-byte entries, colour table, bottom-up padded pixel rows.
inline std::vector<uint8_t> BuildSpriteMap(int32_t mapWidth, int32_t mapHeight, int32_t transparent,
                                           const std::vector<MapFrame>& frames, uint32_t colorTableBytes = 1024) {
  std::vector<uint8_t> pixels;
  std::vector<uint32_t> offsets;
  for (const MapFrame& f : frames) {
    offsets.push_back(static_cast<uint32_t>(pixels.size()));
    int32_t stride = (f.width + 3) & ~3;
    for (int32_t v = f.height - 1; v >= 0; --v) {
      for (int32_t u = 0; u < stride; ++u) {
        pixels.push_back(u < f.width ? f.pixels[static_cast<size_t>(v * f.width + u)] : 0xEE);
      }
    }
  }
  std::vector<uint8_t> out(48 + 272 * frames.size(), 0);
  Put32(&out, 0, 0x50534D42);  // not read by the system
  Put32(&out, 12, static_cast<uint32_t>(frames.size()));
  Put32(&out, 20, 1);
  Put32(&out, 24, colorTableBytes);
  Put32(&out, 28, static_cast<uint32_t>(pixels.size()));
  Put32(&out, 32, static_cast<uint32_t>(mapWidth));
  Put32(&out, 36, static_cast<uint32_t>(mapHeight));
  Put32(&out, 44, static_cast<uint32_t>(transparent));
  for (size_t i = 0; i < frames.size(); ++i) {
    size_t e = 48 + 272 * i;
    const MapFrame& f = frames[i];
    for (size_t k = 0; k < 228; ++k) out[e + k] = static_cast<uint8_t>(0xA0 + k);  // unread bytes are noise
    Put32(&out, e + 228, static_cast<uint32_t>(f.frameId));
    Put32(&out, e + 232, static_cast<uint32_t>(f.spriteId));
    Put32(&out, e + 244, offsets[i]);
    Put32(&out, e + 248, static_cast<uint32_t>(f.x));
    Put32(&out, e + 252, static_cast<uint32_t>(f.y));
    Put32(&out, e + 256, static_cast<uint32_t>(f.width));
    Put32(&out, e + 260, static_cast<uint32_t>(f.height));
    Put32(&out, e + 264, static_cast<uint32_t>(f.hotX));
    Put32(&out, e + 268, static_cast<uint32_t>(f.hotY));
  }
  // Colour table: entry i is blue i, green 255 - i, red (i * 7) & 255.
  for (uint32_t i = 0; i < colorTableBytes / 4; ++i) {
    out.push_back(static_cast<uint8_t>(i));
    out.push_back(static_cast<uint8_t>(255 - i));
    out.push_back(static_cast<uint8_t>(i * 7));
    out.push_back(0);
  }
  for (uint32_t i = 0; i < colorTableBytes % 4; ++i) out.push_back(0);
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

// A bitmap resource: BITMAPINFOHEADER, 256 colours, bottom-up padded rows; pixel(x, y) with y from the top.
template <typename F>
std::vector<uint8_t> BuildBitmapResource(int32_t width, int32_t height, F pixel, uint16_t bitCount = 8,
                                         bool zeroImageSize = false) {
  int32_t stride = (width + 3) & ~3;
  std::vector<uint8_t> out(1064, 0);
  Put32(&out, 0, 40);
  Put32(&out, 4, static_cast<uint32_t>(width));
  Put32(&out, 8, static_cast<uint32_t>(height));
  Put16(&out, 12, 1);
  Put16(&out, 14, bitCount);
  Put32(&out, 20, zeroImageSize ? 0 : static_cast<uint32_t>(stride * height));
  for (int i = 0; i < 256; ++i) {
    out[40 + 4 * i] = static_cast<uint8_t>(i);            // blue
    out[40 + 4 * i + 1] = static_cast<uint8_t>(i / 2);    // green
    out[40 + 4 * i + 2] = static_cast<uint8_t>(255 - i);  // red
  }
  for (int32_t y = height - 1; y >= 0; --y)
    for (int32_t x = 0; x < stride; ++x) out.push_back(x < width ? static_cast<uint8_t>(pixel(x, y)) : 0);
  return out;
}

// A headless display with a window and an initialised ZGraphics.
class GraphicsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    backend = std::make_unique<platform::HeadlessBackend>(1000, 1);
    platform::SetBackend(backend.get());
    window = std::make_unique<platform::Window>();
    std::string cls = platform::RegisterWindowClass(platform::WindowClass{});
    ASSERT_TRUE(window->CreateEx(0, cls, "test", platform::WS_POPUP, platform::Rect{0, 0, 640, 480}, nullptr, 0));
    graphics = std::make_unique<ZGraphics>();
    ASSERT_EQ(graphics->Init(window.get(), 640, 480, 8), 1);
  }
  void TearDown() override {
    graphics.reset();
    window.reset();
    platform::ResetWindowSystem();
    platform::SetBackend(nullptr);
    backend.reset();
  }
  // An off-screen surface of this size, filled with value.
  std::unique_ptr<ZSurface> MakeSurface(int32_t w, int32_t h, uint8_t value = 0) {
    auto s = std::make_unique<ZSurface>();
    EXPECT_EQ(s->Create(graphics.get(), w, h), 1);
    s->Fill(nullptr, value);
    return s;
  }
  static uint8_t At(ZSurface* s, int32_t x, int32_t y) { return s->GetSurface2()->Pixel(x, y); }

  std::unique_ptr<platform::HeadlessBackend> backend;
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<ZGraphics> graphics;
};

}  // namespace gfxtest
