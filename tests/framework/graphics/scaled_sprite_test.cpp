// Scaled sprites: rounded sizes and hot spots, scale changes, stretched drawing through the scratch, hit tests.
#include "framework/graphics/scaled_sprite.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/graphics/palette.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/viewport.h"
#include "tests/framework/graphics/gfx_test_util.h"

namespace {

using platform::Rect;

class ScaledSpriteTest : public gfxtest::GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    // Sprite 1: 45 x 20 with hot spot (9, 19); left half 40, right half 41, a transparent (3) last row.
    auto look = [](int u, int v) { return v == 19 ? 3 : (u < 22 ? 40 : 41); };
    std::vector<uint8_t> bytes =
        gfxtest::BuildSpriteMap(320, 40, 3, {gfxtest::PatternFrame(1, 1, 0, 0, 45, 20, look, 9, 19)});
    ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
    ASSERT_EQ(art.CreateFromSpriteMap(graphics.get(), &map), 1);
    ZPalette palette;
    ASSERT_EQ(palette.CreateFromSpriteMap(&map), 1);
    graphics->SetPalette(&palette);  // the scratch is keyed on the palette's transparent index
    background = MakeSurface(640, 480, 1);
    Rect view{0, 0, 640, 480};
    viewport = std::make_unique<ZViewport>(graphics.get(), background.get(), graphics->GetBackSurface(), &view, 0, 0);
    list.SetGraphics(graphics.get());
    graphics->GetBackSurface()->Fill(nullptr, 0);
  }
  void TearDown() override {
    list.RemoveAll();
    GraphicsFixture::TearDown();
  }
  ZSpriteMap map;
  ZSurface art;
  std::unique_ptr<ZSurface> background;
  std::unique_ptr<ZViewport> viewport;
  ZSpriteList list;
};

TEST_F(ScaledSpriteTest, SizesAndHotSpotsAreRoundedHalfUpAndBadScalesChangeNothing) {
  ZScaledSprite s(100, 100, 0, &art, 1, &map);
  list.Add(&s);
  s.SetScale(0.5);
  graphics->EmptyRectLists();
  s.SetScale(-1);
  s.SetScale(std::numeric_limits<double>::quiet_NaN());
  EXPECT_TRUE(graphics->PendingRects().empty());
  Rect r;
  s.GetRect(&r);
  EXPECT_EQ(r.Width(), 23);   // 22.5 rounded up
  EXPECT_EQ(r.Height(), 10);
  // The hot spot stays where it was.
  EXPECT_EQ(s.GetLeft(), 100 - 5);  // round(4.5)
  EXPECT_EQ(s.GetTop(), 100 - 10);  // round(9.5)
  // A real change reports the old and the new rectangle (and, on the way, the new size at the old corner).
  s.SetScale(1.0);
  ASSERT_EQ(graphics->PendingRects().size(), 1u);
  EXPECT_EQ(graphics->PendingRects().front(), (Rect{91, 81, 140, 110}));
  s.SetScale(2.0);
  s.GetRect(&r);
  EXPECT_EQ(r, (Rect{82, 62, 172, 102}));
  // An infinite scale is held at a bound and the sprite is simply too large for the scratch to draw.
  s.SetScale(std::numeric_limits<double>::infinity());
  EXPECT_EQ(ZScaledSprite::Round(std::numeric_limits<double>::infinity()), 1 << 24);
  EXPECT_EQ(s.Draw(nullptr, graphics->GetScratchSurface(), 1), 0);
}

TEST_F(ScaledSpriteTest, DrawsStretchedAndKeyedThroughTheViewport) {
  ZScaledSprite s(100, 100, 0, &art, 1, &map);
  s.SetTargets(background.get(), viewport.get());
  s.SetScale(2.0);  // 90 x 40 at 82..172, 62..102
  ZSurface* back = graphics->GetBackSurface();
  ASSERT_EQ(s.Draw(nullptr, graphics->GetScratchSurface(), 1), 1);
  EXPECT_EQ(At(back, 82, 62), 40);
  EXPECT_EQ(At(back, 171, 62), 41);
  EXPECT_EQ(At(back, 100, 101), 0);  // the transparent last row, doubled, is skipped
  EXPECT_EQ(At(back, 100, 99), 40);
  EXPECT_EQ(At(back, 172, 62), 0);
  // Mirrored and clipped to the right half of the screen rectangle.
  back->Fill(nullptr, 0);
  s.mirrorLeftRight = 1;
  Rect clip{127, 0, 640, 480};
  ASSERT_EQ(s.Draw(&clip, graphics->GetScratchSurface(), 1), 1);
  EXPECT_EQ(At(back, 126, 70), 0);
  EXPECT_EQ(At(back, 171, 70), 40);  // the frame's left edge now on the right
  EXPECT_EQ(At(back, 127, 70), 41);
  // At exactly 1.0 it is the plain sprite; DrawSelf draws only then.
  EXPECT_EQ(s.DrawSelf(), 0);
  s.SetScale(1.0);
  s.placed = 1;
  EXPECT_EQ(s.DrawSelf(), 1);
}

TEST_F(ScaledSpriteTest, DrawsDirectlyWithWrapAroundWhenNotThroughTheViewport) {
  auto target = MakeSurface(100, 60, 5);
  ZScaledSprite s(0, 30, 0, &art, 1, &map);
  s.SetTargets(target.get(), nullptr);
  s.wrapHorizontally = 1;
  s.SetScale(0.5);  // 23 x 10, left = -5
  ASSERT_EQ(s.Draw(nullptr, graphics->GetScratchSurface(), 0), 1);
  EXPECT_EQ(At(target.get(), 95, 20), 40);
  EXPECT_EQ(At(target.get(), 17, 20), 41);
  EXPECT_EQ(At(target.get(), 18, 20), 5);
}

TEST_F(ScaledSpriteTest, HitTestMapsTheScaledPointBackToTheFrame) {
  ZScaledSprite s(100, 100, 0, &art, 1, &map);
  s.SetScale(2.0);  // 82..172 x 62..102; frame row 19 (screen 100, 101) transparent
  EXPECT_EQ(s.HitTest(171, 98), 1);
  EXPECT_EQ(s.HitTest(120, 100), 0);
  EXPECT_EQ(s.HitTest(172, 70), 0);
  s.SetScale(0.0);
  EXPECT_EQ(s.HitTest(100, 100), 0);
}

}  // namespace
