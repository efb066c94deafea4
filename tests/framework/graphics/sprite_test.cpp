// Sprites and sprite lists: depth order, change notices, frames, wrap-around pieces, mirroring, hit tests.
#include "framework/graphics/sprite.h"

#include <gtest/gtest.h>

#include "framework/core/graphics_info.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/viewport.h"
#include "tests/framework/graphics/gfx_test_util.h"

namespace {

using platform::Rect;

class SpriteTest : public gfxtest::GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    // Sprite 1: 30 x 4, pixel = column + 1. Sprite 2: two frames, 10 x 10 and 20 x 6 (hot spots differ).
    // Sprite 3: 4 x 4 with a transparent (0) left half.
    std::vector<uint8_t> bytes = gfxtest::BuildSpriteMap(
        64, 32, 0,
        {gfxtest::PatternFrame(10, 1, 0, 0, 30, 4, [](int u, int) { return u + 1; }),
         gfxtest::SolidFrame(20, 2, 0, 10, 10, 10, 50, 5, 5), gfxtest::SolidFrame(21, 2, 10, 10, 20, 6, 51, 2, 1),
         gfxtest::PatternFrame(30, 3, 40, 0, 4, 4, [](int u, int) { return u < 2 ? 0 : 60; })});
    ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
    ASSERT_EQ(art.CreateFromSpriteMap(graphics.get(), &map), 1);
    list.SetGraphics(graphics.get());
    graphics->EmptyRectLists();
  }
  void TearDown() override {
    list.RemoveAll();
    GraphicsFixture::TearDown();
  }
  ZSpriteMap map;
  ZSurface art;
  ZSpriteList list;
};

TEST_F(SpriteTest, ListKeepsDepthOrderWithTheNewestFirstAmongEquals) {
  ZSprite a(0, 0, 5, &art, 1, &map);
  ZSprite b(0, 0, 5, &art, 1, &map);
  ZSprite deep(0, 0, 9, &art, 1, &map);
  ZSprite nearSprite(0, 0, 1, &art, 1, &map);
  EXPECT_EQ(list.Add(&a), 1);
  list.Add(&deep);
  list.Add(&b);
  list.Add(&nearSprite);
  std::vector<ZSprite*> order(list.Sprites().begin(), list.Sprites().end());
  EXPECT_EQ(order, (std::vector<ZSprite*>{&nearSprite, &b, &a, &deep}));
  // A depth change re-sorts the sprite.
  nearSprite.SetDepth(20);
  EXPECT_EQ(list.Sprites().back(), &nearSprite);
  EXPECT_EQ(list.Remove(&a), &a);
  EXPECT_EQ(list.Remove(&a), nullptr);
}

TEST_F(SpriteTest, ChangeNoticesBecomeDirtyRectangles) {
  ZSprite s(20, 20, 5, &art, 2, &map);
  list.Add(&s);
  EXPECT_EQ(graphics->PendingRects().front(), (Rect{15, 15, 25, 25}));  // appearing, placed by the hot spot
  graphics->EmptyRectLists();
  s.SetPosition(20, 20);  // the same position: no notice
  EXPECT_TRUE(graphics->PendingRects().empty());
  EXPECT_EQ(s.SetFrame(0), 1);  // the current index: no notice
  EXPECT_TRUE(graphics->PendingRects().empty());
  EXPECT_EQ(s.SetFrame(2), 0);
  ASSERT_EQ(s.SetFrame(1), 1);  // 20 x 6, hot spot (2, 1); left and top stay
  EXPECT_EQ(s.GetX(), 17);
  EXPECT_EQ(s.GetY(), 16);
  EXPECT_EQ(graphics->PendingRects().front(), (Rect{15, 15, 35, 25}));  // old 10 x 10 merged with new 20 x 6
  graphics->EmptyRectLists();
  list.Remove(&s);
  EXPECT_EQ(graphics->PendingRects().front(), (Rect{15, 15, 35, 21}));
  // Through a viewport the notices are in screen coordinates.
  auto source = MakeSurface(400, 100, 1);
  Rect view{100, 50, 300, 150};
  ZViewport viewport(graphics.get(), source.get(), graphics->GetBackSurface(), &view, 30, 0);
  s.SetTargets(source.get(), &viewport);
  s.SetPosition(60, 20);
  graphics->EmptyRectLists();
  list.Add(&s);
  EXPECT_EQ(graphics->PendingRects().front(), (Rect{128, 69, 148, 75}));
  list.Remove(&s);
}

TEST_F(SpriteTest, WrapAroundPiecesAtTheTargetsEdges) {
  auto target = MakeSurface(100, 8, 99);
  ZSprite s(-10, 2, 0, &art, 1, &map);
  s.SetTargets(target.get(), nullptr);
  ASSERT_EQ(s.DrawSelf(), 1);
  // Without wrap: piece 1 shows source columns 10..29 at x 0; piece 0 is not drawn.
  EXPECT_FALSE(s.pieceDrawn[0]);
  EXPECT_EQ(s.pieces[1], (Rect{10, 0, 30, 4}));
  EXPECT_EQ(At(target.get(), 0, 2), 11);
  EXPECT_EQ(At(target.get(), 20, 2), 99);
  EXPECT_EQ(At(target.get(), 90, 2), 99);
  // With horizontal wrap the first 10 columns also appear at x 90.
  s.wrapHorizontally = 1;
  ASSERT_EQ(s.DrawSelf(), 1);
  EXPECT_EQ(s.pieces[0], (Rect{0, 0, 10, 4}));
  EXPECT_EQ(At(target.get(), 90, 2), 1);
  EXPECT_EQ(At(target.get(), 99, 2), 10);
  // Past the right edge it wraps to the start; mirrored, the pieces come from the other side.
  const struct {
    int mirror;
    uint8_t at85, at99, at0, at14;
  } rows[] = {{0, 1, 15, 16, 30}, {1, 30, 16, 15, 1}};
  for (const auto& r : rows) {
    target->Fill(nullptr, 99);
    s.mirrorLeftRight = r.mirror;
    s.SetPosition(85, 2);
    ASSERT_EQ(s.DrawSelf(), 1);
    EXPECT_EQ(At(target.get(), 85, 2), r.at85) << r.mirror;
    EXPECT_EQ(At(target.get(), 99, 2), r.at99) << r.mirror;
    EXPECT_EQ(At(target.get(), 0, 2), r.at0) << r.mirror;
    EXPECT_EQ(At(target.get(), 14, 2), r.at14) << r.mirror;
    EXPECT_EQ(At(target.get(), 15, 2), 99) << r.mirror;
  }
}

TEST_F(SpriteTest, VerticalWrapUsesPiecesTwoAndThree) {
  auto target = MakeSurface(100, 10, 99);
  ZSprite s(95, 8, 0, &art, 2, &map);  // 10 x 10 with hot spot (5, 5): left 90, top 3
  s.SetTargets(target.get(), nullptr);
  s.wrapHorizontally = 1;
  s.wrapVertically = 1;
  s.SetPosition(95, 12);  // top 7: 3 rows fit, 7 wrap to the top
  ASSERT_EQ(s.DrawSelf(), 1);
  EXPECT_EQ(At(target.get(), 99, 9), 50);
  EXPECT_EQ(At(target.get(), 95, 6), 50);
  EXPECT_EQ(At(target.get(), 89, 0), 99);
}

TEST_F(SpriteTest, ClippedMirroredDrawTakesThePixelsFromTheMirroredSide) {
  Rect view{0, 0, 640, 480};
  auto source = MakeSurface(640, 480, 1);
  ZViewport viewport(graphics.get(), source.get(), graphics->GetBackSurface(), &view, 0, 0);
  ZSprite s(100, 100, 0, &art, 1, &map);
  s.SetTargets(source.get(), &viewport);
  s.mirrorLeftRight = 1;
  ZSurface* back = graphics->GetBackSurface();
  back->Fill(nullptr, 99);
  Rect clip{0, 0, 110, 480};  // only the sprite's left 10 columns
  ASSERT_EQ(s.Draw(&clip, graphics->GetScratchSurface(), 1), 1);
  EXPECT_EQ(s.pieces[0], (Rect{20, 0, 30, 4}));
  EXPECT_EQ(At(back, 100, 100), 30);
  EXPECT_EQ(At(back, 109, 101), 21);
  EXPECT_EQ(At(back, 110, 100), 99);
  Rect away{0, 0, 50, 50};
  EXPECT_EQ(s.Draw(&away, graphics->GetScratchSurface(), 1), 0);
}

TEST_F(SpriteTest, HitTestLooksAtTheMapPixelAndHonoursMirroring) {
  ZSprite s(10, 10, 0, &art, 3, &map);  // 4 x 4 at 10..13, left half transparent
  EXPECT_EQ(s.HitTest(10, 10), 0);
  EXPECT_EQ(s.HitTest(12, 13), 1);
  EXPECT_EQ(s.HitTest(14, 10), 0);
  s.mirrorLeftRight = 1;
  EXPECT_EQ(s.HitTest(10, 10), 1);
  EXPECT_EQ(s.HitTest(13, 10), 0);
  // A surface not made from a sprite map gives no hits.
  auto plain = MakeSurface(64, 32, 60);
  ZSprite other(10, 10, 0, plain.get(), 3, &map);
  EXPECT_EQ(other.HitTest(12, 12), 0);
}

}  // namespace
