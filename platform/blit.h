// The 8-bit blitters: one plain reference version and the fast one the surfaces use, same rules.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace platform {

struct BlitTarget {
  uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
};

struct BlitSource {
  const uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
};

// One blit. Target pixel (x, y) is written when it lies in dst, in clip and in the target, and the source
// pixel it samples lies in the source. Column i of dst (after mirroring, i' = dst width - 1 - i) samples
// source column src.left + ((2 i' + 1) * src width) / (2 * dst width): nearest, centred; the same for
// rows. Equal sizes therefore copy pixel for pixel. With a key, source indices in [keyLow, keyHigh]
// are not written.
struct BlitParams {
  Rect dst;
  Rect src;
  Rect clip;  // target coordinates
  bool keyed = false;
  uint32_t keyLow = 0;
  uint32_t keyHigh = 0;
  bool mirrorLeftRight = false;
  bool mirrorUpDown = false;
};

// Relatively slow, but never wrong: one pixel at a time, straight from the rule above.
void BlitReference(const BlitTarget& target, const BlitSource& source, const BlitParams& params);
// The same result, with row runs, memcpy and precomputed steps.
void BlitFast(const BlitTarget& target, const BlitSource& source, const BlitParams& params);

// Fills rect, clipped to clip and the target, with value.
void FillReference(const BlitTarget& target, const Rect& rect, const Rect& clip, uint8_t value);
void FillFast(const BlitTarget& target, const Rect& rect, const Rect& clip, uint8_t value);

}  // namespace platform
