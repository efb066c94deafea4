// The fast 8-bit blitters: row runs, memcpy, word-at-a-time colour keys and precomputed stretch steps.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/blit.h"

namespace platform {

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;

int64_t Sample(int64_t i, int64_t n, int64_t m, bool mirrored) {
  const int64_t j = mirrored ? n - 1 - i : i;
  // 128-bit product: both extents may come close to 2^32.
  return static_cast<int64_t>((static_cast<__int128>(2 * j + 1) * m) / (2 * n));
}

// The sampled source coordinate runs monotonically with the target coordinate, so the targets whose
// sample lies inside [0, limit) form one run: find it by bisection instead of walking (rectangles may be
// far outside the surfaces).
struct Axis {
  int64_t dstStart;  // dst.left
  int64_t n;         // dst extent
  int64_t srcStart;  // src.left
  int64_t m;         // src extent
  bool mirrored;
  int64_t At(int64_t x) const { return srcStart + Sample(x - dstStart, n, m, mirrored); }
};

// First x in [lo, hi) for which pred holds, pred being false then true along the range; hi if none.
template <typename Pred>
int64_t FirstTrue(int64_t lo, int64_t hi, Pred pred) {
  while (lo < hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    if (pred(mid)) hi = mid;
    else lo = mid + 1;
  }
  return lo;
}

// Narrows [*lo, *hi) to the targets that sample inside the source's [0, limit).
void NarrowToSource(const Axis& a, int64_t limit, int64_t* lo, int64_t* hi) {
  if (*lo >= *hi) return;
  if (!a.mirrored) {
    const int64_t first = FirstTrue(*lo, *hi, [&](int64_t x) { return a.At(x) >= 0; });
    const int64_t end = FirstTrue(first, *hi, [&](int64_t x) { return a.At(x) >= limit; });
    *lo = first;
    *hi = end;
  } else {
    const int64_t first = FirstTrue(*lo, *hi, [&](int64_t x) { return a.At(x) < limit; });
    const int64_t end = FirstTrue(first, *hi, [&](int64_t x) { return a.At(x) < 0; });
    *lo = first;
    *hi = end;
  }
}

inline uint64_t Load64(const uint8_t* p) {
  uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}
inline void Store64(uint8_t* p, uint64_t w) { std::memcpy(p, &w, 8); }
inline uint64_t ZeroBytes(uint64_t x) { return (x - kOnes) & ~x & kHighs; }

// Keyed copy of n pixels with one key value, eight at a time where possible.
void CopyKeyedOne(uint8_t* d, const uint8_t* s, int64_t n, uint8_t key) {
  const uint64_t pattern = kOnes * key;
  int64_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const uint64_t w = Load64(s + i);
    const uint64_t x = w ^ pattern;
    if (ZeroBytes(x) == 0) {
      Store64(d + i, w);
    } else if (x != 0) {
      for (int k = 0; k < 8; ++k) {
        if (s[i + k] != key) d[i + k] = s[i + k];
      }
    }
  }
  for (; i < n; ++i) {
    if (s[i] != key) d[i] = s[i];
  }
}

void CopyKeyedRange(uint8_t* d, const uint8_t* s, int64_t n, uint32_t low, uint32_t span) {
  for (int64_t i = 0; i < n; ++i) {
    const uint8_t v = s[i];
    if (static_cast<uint32_t>(v) - low > span) d[i] = v;
  }
}

// Mirrored rows: d[i] = s[-i].
void CopyMirrored(uint8_t* d, const uint8_t* s, int64_t n) {
  int64_t i = 0;
  for (; i + 8 <= n; i += 8) Store64(d + i, __builtin_bswap64(Load64(s - i - 7)));
  for (; i < n; ++i) d[i] = s[-i];
}

void CopyMirroredKeyedOne(uint8_t* d, const uint8_t* s, int64_t n, uint8_t key) {
  const uint64_t pattern = kOnes * key;
  int64_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const uint64_t w = __builtin_bswap64(Load64(s - i - 7));
    const uint64_t x = w ^ pattern;
    if (ZeroBytes(x) == 0) {
      Store64(d + i, w);
    } else if (x != 0) {
      for (int k = 0; k < 8; ++k) {
        const uint8_t v = s[-(i + k)];
        if (v != key) d[i + k] = v;
      }
    }
  }
  for (; i < n; ++i) {
    if (s[-i] != key) d[i] = s[-i];
  }
}

void CopyMirroredKeyedRange(uint8_t* d, const uint8_t* s, int64_t n, uint32_t low, uint32_t span) {
  for (int64_t i = 0; i < n; ++i) {
    const uint8_t v = s[-i];
    if (static_cast<uint32_t>(v) - low > span) d[i] = v;
  }
}

// Stretched rows through a table of source offsets.
void CopyTable(uint8_t* d, const uint8_t* s, const int32_t* tab, int64_t n) {
  int64_t i = 0;
  for (; i + 4 <= n; i += 4) {
    d[i] = s[tab[i]];
    d[i + 1] = s[tab[i + 1]];
    d[i + 2] = s[tab[i + 2]];
    d[i + 3] = s[tab[i + 3]];
  }
  for (; i < n; ++i) d[i] = s[tab[i]];
}

void CopyTableKeyed(uint8_t* d, const uint8_t* s, const int32_t* tab, int64_t n, uint32_t low, uint32_t span) {
  for (int64_t i = 0; i < n; ++i) {
    const uint8_t v = s[tab[i]];
    if (static_cast<uint32_t>(v) - low > span) d[i] = v;
  }
}

}  // namespace

void BlitFast(const BlitTarget& target, const BlitSource& source, const BlitParams& p) {
  if (target.bits == nullptr || source.bits == nullptr) return;
  // Extents in 64 bits: rectangles may span more than an int (far-off sprites, hostile sizes).
  const int64_t dw = int64_t{p.dst.right} - p.dst.left, dh = int64_t{p.dst.bottom} - p.dst.top;
  const int64_t sw = int64_t{p.src.right} - p.src.left, sh = int64_t{p.src.bottom} - p.src.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;

  int64_t x0 = std::max<int64_t>({p.dst.left, p.clip.left, 0});
  int64_t x1 = std::min<int64_t>({p.dst.right, p.clip.right, target.width});
  int64_t y0 = std::max<int64_t>({p.dst.top, p.clip.top, 0});
  int64_t y1 = std::min<int64_t>({p.dst.bottom, p.clip.bottom, target.height});
  const Axis ax{p.dst.left, dw, p.src.left, sw, p.mirrorLeftRight};
  const Axis ay{p.dst.top, dh, p.src.top, sh, p.mirrorUpDown};
  NarrowToSource(ax, source.width, &x0, &x1);
  NarrowToSource(ay, source.height, &y0, &y1);
  if (x0 >= x1 || y0 >= y1) return;
  const int64_t n = x1 - x0;

  bool keyed = p.keyed && p.keyLow <= p.keyHigh && p.keyLow <= 255;
  const uint32_t low = p.keyLow;
  const uint32_t span = keyed ? std::min<uint32_t>(p.keyHigh, 255) - low : 0;
  const bool oneKey = keyed && span == 0;

  const bool unscaledX = sw == dw;
  std::vector<int32_t> table;
  int64_t sxFirst = ax.At(x0);
  if (!unscaledX) {
    // Offsets relative to the leftmost sampled column, so they stay small.
    table.resize(static_cast<size_t>(n));
    const int64_t base = p.mirrorLeftRight ? ax.At(x1 - 1) : sxFirst;
    for (int64_t x = x0; x < x1; ++x) table[static_cast<size_t>(x - x0)] = static_cast<int32_t>(ax.At(x) - base);
    sxFirst = base;
  }

  const uint8_t* prevSrcRow = nullptr;
  uint8_t* prevDstRow = nullptr;
  for (int64_t y = y0; y < y1; ++y) {
    const int64_t sy = (sh == dh) ? (p.mirrorUpDown ? ay.At(y0) - (y - y0) : ay.At(y0) + (y - y0)) : ay.At(y);
    const uint8_t* srow = source.bits + sy * source.pitch;
    uint8_t* drow = target.bits + y * target.pitch + x0;
    if (!unscaledX) {
      const uint8_t* s = srow + sxFirst;
      if (keyed) {
        CopyTableKeyed(drow, s, table.data(), n, low, span);
      } else if (s == prevSrcRow) {
        std::memcpy(drow, prevDstRow, static_cast<size_t>(n));  // same source row as the row above
      } else {
        CopyTable(drow, s, table.data(), n);
        prevSrcRow = s;
        prevDstRow = drow;
      }
      continue;
    }
    const uint8_t* s = srow + sxFirst;
    if (!p.mirrorLeftRight) {
      if (!keyed) std::memmove(drow, s, static_cast<size_t>(n));
      else if (oneKey) CopyKeyedOne(drow, s, n, static_cast<uint8_t>(low));
      else CopyKeyedRange(drow, s, n, low, span);
    } else {
      if (!keyed) CopyMirrored(drow, s, n);
      else if (oneKey) CopyMirroredKeyedOne(drow, s, n, static_cast<uint8_t>(low));
      else CopyMirroredKeyedRange(drow, s, n, low, span);
    }
  }
}

void FillFast(const BlitTarget& target, const Rect& rect, const Rect& clip, uint8_t value) {
  if (target.bits == nullptr) return;
  const int64_t x0 = std::max<int64_t>({rect.left, clip.left, 0});
  const int64_t x1 = std::min<int64_t>({rect.right, clip.right, target.width});
  const int64_t y0 = std::max<int64_t>({rect.top, clip.top, 0});
  const int64_t y1 = std::min<int64_t>({rect.bottom, clip.bottom, target.height});
  if (x0 >= x1 || y0 >= y1) return;
  if (x0 == 0 && x1 == target.width && target.pitch == target.width) {
    std::memset(target.bits + y0 * target.pitch, value, static_cast<size_t>((y1 - y0) * target.pitch));
    return;
  }
  for (int64_t y = y0; y < y1; ++y) std::memset(target.bits + y * target.pitch + x0, value, static_cast<size_t>(x1 - x0));
}

}  // namespace platform
