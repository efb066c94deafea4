// Surfaces: colour keys, clippers, clipped and overlapping blits, locks, lost memory.
#include "platform/surface.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

constexpr uint32_t kOffscreen = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;

void Paint(Surface* s, uint8_t base) {
  SurfaceLock lock(s);
  ASSERT_TRUE(lock.Ok());
  for (int y = 0; y < s->Height(); ++y)
    for (int x = 0; x < s->Width(); ++x) lock.Bits()[y * lock.Pitch() + x] = static_cast<uint8_t>(base + 10 * y + x);
}

int CountOf(const Surface& s, uint8_t v) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) n += s.Pixel(x, y) == v;
  return n;
}

TEST(SurfaceTest, KeyedBltSkipsTheKeyAndNeedsOne) {
  Surface src(4, 1, kOffscreen), dst(4, 1, kOffscreen);
  {
    SurfaceLock lock(&src);
    const uint8_t row[4] = {1, 7, 1, 8};
    std::copy(row, row + 4, lock.Bits());
  }
  dst.Fill(nullptr, 3);
  EXPECT_EQ(dst.BltFast(0, 0, &src, nullptr, DDBLTFAST_SRCCOLORKEY), DDERR_NOCOLORKEY);
  const ColorKey key{1, 1};
  ASSERT_EQ(src.SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  ASSERT_EQ(dst.BltFast(0, 0, &src, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
  EXPECT_EQ(dst.Pixel(0, 0), 3);
  EXPECT_EQ(dst.Pixel(1, 0), 7);
  dst.Fill(nullptr, 3);  // Blt honours the key the same way
  ASSERT_EQ(dst.Blt(nullptr, &src, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(dst.Pixel(2, 0), 3);
}

TEST(SurfaceTest, ClipperLimitsBltAndFillButNotBltFast) {
  Surface src(8, 8, kOffscreen), dst(8, 8, kOffscreen);
  src.Fill(nullptr, 4);
  auto clipper = std::make_shared<Clipper>();
  ASSERT_EQ(dst.SetClipper(clipper), DD_OK);
  EXPECT_EQ(dst.Blt(nullptr, &src, nullptr, DDBLT_WAIT, nullptr), DDERR_NOCLIPLIST);
  const Rect clip{2, 3, 5, 4};
  const Rect bound{0, 0, 8, 8};
  ASSERT_EQ(clipper->SetClipList(&clip, 1, &bound), DD_OK);
  ASSERT_EQ(dst.Blt(nullptr, &src, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(CountOf(dst, 4), 3);
  ASSERT_EQ(dst.Fill(nullptr, 6), DD_OK);
  EXPECT_EQ(CountOf(dst, 6), 3);
  // BltFast cannot clip: the caller falls back to Blt.
  EXPECT_EQ(dst.BltFast(0, 0, &src, nullptr, DDBLTFAST_WAIT), DDERR_BLTFASTCANTCLIP);
}

TEST(SurfaceTest, BltFastClipsAtTheEdges) {
  Surface src(4, 4, kOffscreen), dst(6, 6, kOffscreen);
  Paint(&src, 1);
  ASSERT_EQ(dst.BltFast(-2, 4, &src, nullptr, DDBLTFAST_WAIT), DD_OK);
  EXPECT_EQ(dst.Pixel(0, 4), 3);   // source column 2, row 0
  EXPECT_EQ(dst.Pixel(1, 5), 14);  // source column 3, row 1
  EXPECT_EQ(CountOf(dst, 0), 36 - 4);
  ASSERT_EQ(dst.BltFast(2147483646, 0, &src, nullptr, 0), DDERR_INVALIDRECT);  // would overflow
}

TEST(SurfaceTest, BltWithinOneSurfaceReadsBeforeWriting) {
  Surface s(5, 1, kOffscreen);
  Paint(&s, 1);  // 1 2 3 4 5
  const Rect from{0, 0, 4, 1};
  ASSERT_EQ(s.BltFast(1, 0, &s, &from, 0), DD_OK);
  const uint8_t want[5] = {1, 1, 2, 3, 4};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(s.Pixel(x, 0), want[x]);
}

TEST(SurfaceTest, LockIsExclusiveAndScoped) {
  Surface s(6, 5, kOffscreen);
  SurfaceDesc d;
  const Rect r{2, 3, 4, 5};
  ASSERT_EQ(s.Lock(&r, &d), DD_OK);
  d.surface[0] = 42;  // the rectangle's first pixel
  SurfaceDesc again;
  EXPECT_EQ(s.Lock(nullptr, &again), DDERR_SURFACEBUSY);
  const uint64_t before = s.ChangeCount();
  ASSERT_EQ(s.Unlock(d.surface), DD_OK);
  EXPECT_GT(s.ChangeCount(), before);
  EXPECT_EQ(s.Pixel(2, 3), 42);
}

TEST(SurfaceTest, LostSurfaceRefusesWorkUntilRestored) {
  Surface s(4, 4, kOffscreen), other(4, 4, kOffscreen);
  s.Fill(nullptr, 9);
  other.Fill(nullptr, 2);
  s.MarkLost();
  EXPECT_EQ(s.IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(s.Fill(nullptr, 1), DDERR_SURFACELOST);
  EXPECT_EQ(other.Blt(nullptr, &s, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACELOST);
  ASSERT_EQ(s.Restore(), DD_OK);
  EXPECT_EQ(CountOf(s, 0), 16);  // the memory came back empty: the owner repaints it
}

}  // namespace
}  // namespace platform
