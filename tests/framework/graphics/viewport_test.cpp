// Viewports: normalising the scroll, wrapped pieces, coordinate conversions, scroll notices, partial draws, clip.
#include "framework/graphics/viewport.h"

#include <gtest/gtest.h>

#include "framework/graphics/sprite_list.h"
#include "tests/framework/graphics/gfx_test_util.h"

namespace {

using platform::Rect;

class ViewportTest : public gfxtest::GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    // A 2560 x 600 panorama whose pixel is its column / 10 (mod 256), so columns are readable back.
    panorama = MakeSurface(2560, 600, 0);
    for (int x = 0; x < 2560; ++x) {
      Rect col{x, 0, x + 1, 600};
      panorama->Fill(&col, (x / 10) & 0xFF);
    }
    list.SetGraphics(graphics.get());
  }
  void TearDown() override {
    panorama.reset();
    GraphicsFixture::TearDown();
  }
  std::unique_ptr<ZSurface> panorama;
  ZSpriteList list;
};

TEST_F(ViewportTest, WrappingScrollComesBackInsideTheSourceAndSplitsTheView) {
  Rect view{0, 0, 640, 480};
  ZViewport v(graphics.get());
  v.wrapHorizontally = 1;
  v.Setup(panorama.get(), graphics->GetBackSurface(), &view, -10, 0);
  EXPECT_EQ(v.GetScrollX(), 2550);
  v.Draw();  // two pieces: 2550..2559, then 0..629
  ZSurface* back = graphics->GetBackSurface();
  EXPECT_EQ(At(back, 9, 10), 255);   // column 2559
  EXPECT_EQ(At(back, 10, 10), 0);    // column 0
  EXPECT_EQ(At(back, 639, 479), 62); // column 629
  // Far outside either way it still lands inside.
  v.Scroll(2560 * 3 + 20, 0);
  EXPECT_EQ(v.GetScrollX(), 10);
}

TEST_F(ViewportTest, NonWrappingScrollStopsAtTheEdges) {
  Rect view{0, 0, 640, 480};
  ZViewport v(graphics.get(), panorama.get(), graphics->GetBackSurface(), &view, 2000, 0);
  EXPECT_EQ(v.GetScrollX(), 1920);
  v.Scroll(-5000, 0);
  EXPECT_EQ(v.GetScrollX(), 0);
  v.Scroll(0, 500);
  EXPECT_EQ(v.GetScrollY(), 120);
  // A view larger than the source shrinks to it.
  auto small = MakeSurface(300, 200, 4);
  ZViewport w(graphics.get(), small.get(), graphics->GetBackSurface(), &view, 0, 0);
  Rect got;
  w.GetViewRect(&got);
  EXPECT_EQ(got, (Rect{0, 0, 300, 200}));
}

TEST_F(ViewportTest, ScrollingSendsTheViewAsDirtyUnlessNothingCanMove) {
  Rect view{0, 0, 640, 480};
  ZViewport v(graphics.get(), panorama.get(), graphics->GetBackSurface(), &view, 0, 0);
  v.SetNotifier(list.GetNotifier());
  graphics->EmptyRectLists();
  v.Scroll(0, 0);  // no move, no notice
  EXPECT_TRUE(graphics->PendingRects().empty());
  v.Scroll(16, 0);
  ASSERT_EQ(graphics->PendingRects().size(), 1u);
  EXPECT_EQ(graphics->PendingRects().front(), view);
  // A non-wrapping view of exactly the source's size cannot scroll: no notice.
  auto screen = MakeSurface(640, 480, 0);
  ZViewport fixed(graphics.get(), screen.get(), graphics->GetBackSurface(), &view, 0, 0);
  fixed.SetNotifier(list.GetNotifier());
  graphics->EmptyRectLists();
  fixed.Scroll(5, 5);
  EXPECT_TRUE(graphics->PendingRects().empty());
}

TEST_F(ViewportTest, ConversionsBetweenSourceAndScreen) {
  Rect view{0, 20, 640, 420};
  ZViewport v(graphics.get());
  v.wrapHorizontally = 1;
  v.Setup(panorama.get(), graphics->GetBackSurface(), &view, 1000, 50);
  // Across the seam: with the view showing 2550..2559 then 0..629, source 100 is at screen 110 and
  // source 2555 at screen 5.
  v.Scroll(1550, 0);
  ASSERT_EQ(v.GetScrollX(), 2550);
  Rect early{100, 50, 130, 60};
  v.ToScreen(&early);
  EXPECT_EQ(early, (Rect{110, 20, 140, 30}));
  Rect late{2555, 50, 2565, 60};
  v.ToScreen(&late);
  EXPECT_EQ(late, (Rect{5, 20, 15, 30}));
  // A rectangle given past the source's width (a sprite straddling the seam) is taken modulo it.
  v.Scroll(-2540, 0);
  ASSERT_EQ(v.GetScrollX(), 10);
  Rect past{2570, 50, 2600, 60};
  v.ToScreen(&past);
  EXPECT_EQ(past, (Rect{0, 20, 30, 30}));
}

TEST_F(ViewportTest, DrawPartCopiesOnlyThatPartAndLeavesTheViewAsItWas) {
  Rect view{0, 0, 640, 480};
  ZViewport v(graphics.get());
  v.wrapHorizontally = 1;
  v.Setup(panorama.get(), graphics->GetBackSurface(), &view, 2500, 0);
  ZSurface* back = graphics->GetBackSurface();
  back->Fill(nullptr, 200);
  Rect part{2540, 10, 2600, 30};  // screen 40..100, across the seam
  v.DrawPart(&part);
  EXPECT_EQ(At(back, 39, 15), 200);
  EXPECT_EQ(At(back, 40, 15), 254);  // column 2540
  EXPECT_EQ(At(back, 99, 29), 3);    // column 39, past the seam
  EXPECT_EQ(At(back, 100, 15), 200);
  EXPECT_EQ(At(back, 50, 30), 200);
  Rect got;  // the view is left as it was
  v.GetViewRect(&got);
  EXPECT_EQ(got, view);
}

TEST_F(ViewportTest, NarrowedClipIsPutBack) {
  Rect view{0, 0, 640, 425};
  ZViewport v(graphics.get(), panorama.get(), graphics->GetBackSurface(), &view, 0, 0);
  ASSERT_NE(v.GetClipper(), nullptr);
  Rect narrow{10, 10, 20, 20};
  v.NarrowClip(&narrow);
  EXPECT_EQ(v.GetClipper()->ClipRect(), narrow);
  v.RestoreClip();
  EXPECT_EQ(v.GetClipper()->ClipRect(), view);
  v.RestoreClip();  // nothing saved: stays
  EXPECT_EQ(v.GetClipper()->ClipRect(), view);
}

}  // namespace
