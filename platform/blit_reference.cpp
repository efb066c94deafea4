// The reference blitter: relatively slow, but never wrong; the fast paths are tested against it.
#include <algorithm>

#include "platform/blit.h"

namespace platform {

namespace {

// Source offset (within the source rectangle) sampled by destination offset i of n, over m source pixels.
int64_t Sample(int64_t i, int64_t n, int64_t m, bool mirrored) {
  const int64_t j = mirrored ? n - 1 - i : i;
  // 128-bit product: both extents may come close to 2^32.
  return static_cast<int64_t>((static_cast<__int128>(2 * j + 1) * m) / (2 * n));
}

}  // namespace

void BlitReference(const BlitTarget& target, const BlitSource& source, const BlitParams& p) {
  if (target.bits == nullptr || source.bits == nullptr) return;
  // Extents in 64 bits: rectangles may span more than an int (far-off sprites, hostile sizes).
  const int64_t dw = int64_t{p.dst.right} - p.dst.left, dh = int64_t{p.dst.bottom} - p.dst.top;
  const int64_t sw = int64_t{p.src.right} - p.src.left, sh = int64_t{p.src.bottom} - p.src.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  // Every target pixel, tested against each bound in turn.
  for (int64_t y = 0; y < target.height; ++y) {
    if (y < p.dst.top || y >= p.dst.bottom || y < p.clip.top || y >= p.clip.bottom) continue;
    const int64_t sy = p.src.top + Sample(y - p.dst.top, dh, sh, p.mirrorUpDown);
    if (sy < 0 || sy >= source.height) continue;
    for (int64_t x = 0; x < target.width; ++x) {
      if (x < p.dst.left || x >= p.dst.right || x < p.clip.left || x >= p.clip.right) continue;
      const int64_t sx = p.src.left + Sample(x - p.dst.left, dw, sw, p.mirrorLeftRight);
      if (sx < 0 || sx >= source.width) continue;
      const uint8_t v = source.bits[sy * source.pitch + sx];
      if (p.keyed && v >= p.keyLow && v <= p.keyHigh) continue;
      target.bits[y * target.pitch + x] = v;
    }
  }
}

void FillReference(const BlitTarget& target, const Rect& rect, const Rect& clip, uint8_t value) {
  if (target.bits == nullptr) return;
  for (int64_t y = 0; y < target.height; ++y) {
    if (y < rect.top || y >= rect.bottom || y < clip.top || y >= clip.bottom) continue;
    for (int64_t x = 0; x < target.width; ++x) {
      if (x < rect.left || x >= rect.right || x < clip.left || x >= clip.right) continue;
      target.bits[y * target.pitch + x] = value;
    }
  }
}

}  // namespace platform
