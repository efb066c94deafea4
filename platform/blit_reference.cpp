// The reference blitter: relatively slow, but never wrong; the fast paths are tested against it.
#include <algorithm>

#include "platform/blit.h"

namespace platform {

namespace {

// Source offset (within the source rectangle) sampled by destination offset i of n, over m source pixels.
int64_t Sample(int64_t i, int64_t n, int64_t m, bool mirrored) {
  const int64_t j = mirrored ? n - 1 - i : i;
  return ((2 * j + 1) * m) / (2 * n);
}

}  // namespace

void BlitReference(const BlitTarget& target, const BlitSource& source, const BlitParams& p) {
  if (target.bits == nullptr || source.bits == nullptr) return;
  const int64_t dw = p.dst.Width(), dh = p.dst.Height();
  const int64_t sw = p.src.Width(), sh = p.src.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  for (int64_t y = p.dst.top; y < p.dst.bottom; ++y) {
    if (y < p.clip.top || y >= p.clip.bottom || y < 0 || y >= target.height) continue;
    const int64_t sy = p.src.top + Sample(y - p.dst.top, dh, sh, p.mirrorUpDown);
    if (sy < 0 || sy >= source.height) continue;
    for (int64_t x = p.dst.left; x < p.dst.right; ++x) {
      if (x < p.clip.left || x >= p.clip.right || x < 0 || x >= target.width) continue;
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
  for (int64_t y = rect.top; y < rect.bottom; ++y) {
    if (y < clip.top || y >= clip.bottom || y < 0 || y >= target.height) continue;
    for (int64_t x = rect.left; x < rect.right; ++x) {
      if (x < clip.left || x >= clip.right || x < 0 || x >= target.width) continue;
      target.bits[y * target.pitch + x] = value;
    }
  }
}

}  // namespace platform
