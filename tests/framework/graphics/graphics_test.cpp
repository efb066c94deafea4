// The display system: set-up, dirty-rectangle merging, flushing both buffers, the two-phase redraw, suspend/resume.
#include "framework/graphics/graphics.h"

#include <gtest/gtest.h>

#include "framework/core/graphics_info.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/viewport.h"
#include "platform/display.h"
#include "tests/framework/graphics/gfx_test_util.h"

namespace {

using platform::Rect;

class GraphicsTest : public gfxtest::GraphicsFixture {};

std::vector<Rect> Listed(const std::list<Rect>& l) { return std::vector<Rect>(l.begin(), l.end()); }

TEST_F(GraphicsTest, InitFailsCleanlyWithoutADisplayAndOnlyTheFrontSurfaceFlips) {
  ZGraphics other;
  EXPECT_EQ(other.Init(window.get(), 640, 480, 16), 0);
  EXPECT_EQ(other.GetFrontSurface(), nullptr);
  EXPECT_FALSE(other.IsActive());
  graphics->GetBackSurface()->Fill(nullptr, 42);
  EXPECT_EQ(graphics->GetFrontSurface()->Flip(), 0);
  EXPECT_EQ(At(graphics->GetFrontSurface(), 3, 3), 42);
  EXPECT_EQ(graphics->GetBackSurface()->Flip(), platform::E_FAIL);
  EXPECT_EQ(graphics->GetScratchSurface()->Flip(), platform::E_FAIL);
}

TEST_F(GraphicsTest, SurfaceCreationRules) {
  ZSurface s;
  EXPECT_EQ(s.Create(graphics.get(), 0, 5), 0);
  EXPECT_EQ(s.Fill(nullptr, 1), platform::E_FAIL);
  ASSERT_EQ(s.Create(graphics.get(), 5, 3), 1);
  // A fresh surface's key is 0, and -1 fills with the key.
  s.Fill(nullptr, 9);
  EXPECT_EQ(s.Fill(nullptr, -1), 0);
  EXPECT_EQ(At(&s, 4, 2), 0);
  // A surface that does not fit in video memory ends up in system memory, still recorded as 0x40.
  graphics->GetDirectDraw()->SetVideoMemoryForTest(0);
  ZSurface big;
  ASSERT_EQ(big.Create(graphics.get(), 300, 200), 1);
  EXPECT_EQ(big.GetKind(), 0x40u);
  EXPECT_NE(big.GetSurface2()->Caps() & platform::DDSCAPS_SYSTEMMEMORY, 0u);
}

TEST_F(GraphicsTest, DirtyRectanglesMergeWithTheFirstMetFromTheHeadOnly) {
  graphics->EmptyRectLists();
  Rect a{0, 0, 10, 10};
  Rect b{20, 0, 30, 10};
  graphics->AddPendingRect(&a);
  graphics->AddPendingRect(&b);
  EXPECT_EQ(Listed(graphics->PendingRects()), (std::vector<Rect>{b, a}));  // new ones at the head
  Rect c{5, 0, 25, 5};  // meets both
  graphics->AddPendingRect(&c);
  EXPECT_EQ(Listed(graphics->PendingRects()), (std::vector<Rect>{Rect{5, 0, 30, 10}, a}));
  Rect empty{3, 3, 3, 8};
  graphics->AddPendingRect(&empty);
  EXPECT_EQ(graphics->PendingRects().size(), 2u);
  graphics->AddFollowingRect(&a);
  // A flush consumes the pending list; the following list becomes the next pending one.
  graphics->Flush();
  EXPECT_EQ(Listed(graphics->PendingRects()), (std::vector<Rect>{a}));
  EXPECT_TRUE(graphics->FollowingRects().empty());
}

// A scene: a 640 x 480 background of index 1 shown by the main viewport on the back surface, and
// sprites from one sprite map (transparent 0).
class RedrawTest : public gfxtest::GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    std::vector<uint8_t> bytes = gfxtest::BuildSpriteMap(
        200, 100, 0,
        {gfxtest::SolidFrame(1, 1, 0, 0, 100, 100, 5), gfxtest::SolidFrame(2, 2, 100, 0, 30, 30, 7),
         gfxtest::SolidFrame(3, 3, 130, 0, 30, 30, 8), gfxtest::SolidFrame(4, 4, 160, 0, 20, 20, 9)});
    ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
    ASSERT_EQ(art.CreateFromSpriteMap(graphics.get(), &map), 1);
    background = MakeSurface(640, 480, 1);
    Rect view{0, 0, 640, 480};
    viewport = std::make_unique<ZViewport>(graphics.get(), background.get(), graphics->GetBackSurface(), &view, 0, 0);
    viewport->SetNotifier(world.GetNotifier());
    info.worldSprites = &world;
    info.overlaySprites = &overlay;
    info.mainViewport = viewport.get();
    ASSERT_EQ(graphics->SetInfo(&info), 1);
    graphics->GetBackSurface()->Fill(nullptr, 0);
  }
  void TearDown() override {
    world.RemoveAll();
    overlay.RemoveAll();
    sprites.clear();
    GraphicsFixture::TearDown();
  }
  ZSprite* Add(ZSpriteList* list, int spriteId, int x, int y, int depth, int kind) {
    sprites.push_back(std::make_unique<ZSprite>(x, y, depth, &art, spriteId, &map));
    ZSprite* s = sprites.back().get();
    s->kind = kind;
    s->placed = 1;
    s->SetTargets(background.get(), viewport.get());
    list->Add(s);
    return s;
  }
  uint8_t Back(int x, int y) { return At(graphics->GetBackSurface(), x, y); }

  ZSpriteMap map;
  ZSurface art;
  std::unique_ptr<ZSurface> background;
  std::unique_ptr<ZViewport> viewport;
  ZSpriteList world;
  ZSpriteList overlay;
  ZGraphicsInfo info;
  std::vector<std::unique_ptr<ZSprite>> sprites;
};

TEST_F(RedrawTest, SpritesAreDrawnDeepToNearAndStillOnesOnlyOverMovingOnesBeforeThem) {
  Add(&world, 2, 0, 0, 5, 2);     // moving, near: 30 x 30 of 7
  Add(&world, 3, 10, 10, 50, 2);  // moving, far: 30 x 30 of 8
  Add(&world, 1, 0, 0, 90, 0);    // still and deepest: skipped before the first moving sprite
  Add(&overlay, 4, 35, 35, 100, 0);
  Rect r{0, 0, 120, 120};
  graphics->RedrawRect(&r);
  EXPECT_EQ(Back(15, 15), 7);   // near over far
  EXPECT_EQ(Back(33, 33), 8);   // only the far one there
  EXPECT_EQ(Back(37, 37), 9);   // the overlay is drawn over everything
  EXPECT_EQ(Back(60, 60), 1);   // the deep still sprite was not repainted
  EXPECT_EQ(Back(130, 130), 0);  // outside the rectangle nothing is drawn
  // A still sprite nearer than a moving one is repainted over it; equal depths draw the later added in front.
  world.RemoveAll();
  overlay.RemoveAll();
  Add(&world, 1, 200, 200, 10, 0);
  Add(&world, 2, 250, 250, 20, 2);
  Add(&world, 2, 400, 400, 30, 2);
  Add(&world, 3, 410, 410, 30, 2);
  graphics->RedrawRect(nullptr);
  EXPECT_EQ(Back(260, 260), 5);
  EXPECT_EQ(Back(220, 220), 1);  // beside the moving ones it is left to the background
  EXPECT_EQ(Back(415, 415), 8);
}

// A moving sprite that deactivates the display while it is drawn, like a deactivation mid-flush.
class DeactivatingSprite : public ZSprite {
 public:
  using ZSprite::ZSprite;
  int Draw(const Rect* clip, ZSurface* scratch, int through) override {
    ++draws;
    if (graphics != nullptr) graphics->SetActive(false);
    return ZSprite::Draw(clip, scratch, through);
  }
  ZGraphics* graphics = nullptr;
  int draws = 0;
};

TEST_F(RedrawTest, ClearingActiveDuringAFlushLeavesTheRestPendingUntilSuspend) {
  auto s = std::make_unique<DeactivatingSprite>(0, 0, 10, &art, 2, &map);
  s->kind = 2;
  s->placed = 1;
  s->SetTargets(background.get(), viewport.get());
  s->graphics = graphics.get();
  world.Add(s.get());
  graphics->EmptyRectLists();
  for (int at : {0, 100, 200}) {
    Rect r{at, at, at + 10, at + 10};
    graphics->AddPendingRect(&r);
  }
  graphics->Flush();
  EXPECT_EQ(s->draws, 1);
  // The rectangles not yet redrawn stay in their list (now the following one).
  EXPECT_EQ(graphics->FollowingRects().size(), 2u);
  graphics->Flush();  // inactive: draws nothing
  EXPECT_EQ(s->draws, 1);
  graphics->Suspend();
  EXPECT_TRUE(graphics->PendingRects().empty());
  EXPECT_TRUE(graphics->FollowingRects().empty());
  world.RemoveAll();
}

TEST_F(RedrawTest, MovingASpriteDirtiesBothListsAndFlushRedrawsEachBuffer) {
  ZSprite* s = Add(&world, 2, 10, 10, 10, 2);
  graphics->EmptyRectLists();
  s->SetPosition(40, 10);
  EXPECT_EQ(Listed(graphics->FollowingRects()), Listed(graphics->PendingRects()));
  graphics->Flush();
  EXPECT_EQ(Back(35, 15), 1);  // old place repainted from the background
  EXPECT_EQ(Back(45, 15), 7);
  EXPECT_EQ(Back(75, 15), 0);
  graphics->GetFrontSurface()->Flip();
  graphics->GetBackSurface()->Fill(nullptr, 0);
  graphics->Flush();  // the other buffer gets the same rectangles
  EXPECT_EQ(Back(35, 15), 1);
  EXPECT_EQ(Back(45, 15), 7);
  EXPECT_TRUE(graphics->PendingRects().empty());
}

TEST_F(RedrawTest, SuspendAndResumeRepaintStillSceneryAndDirtyTheWholeView) {
  ZSprite* still = Add(&world, 4, 300, 300, 10, 1);
  graphics->Suspend();
  EXPECT_FALSE(graphics->IsActive());
  ASSERT_EQ(graphics->Resume(), 1);
  EXPECT_TRUE(graphics->IsActive());
  EXPECT_EQ(still->placed, 1);
  EXPECT_EQ(At(background.get(), 305, 305), 9);  // painted into the background itself
  EXPECT_EQ(Listed(graphics->PendingRects()), (std::vector<Rect>{Rect{0, 0, 640, 480}}));
  EXPECT_EQ(Listed(graphics->FollowingRects()), (std::vector<Rect>{Rect{0, 0, 640, 480}}));
}

}  // namespace
