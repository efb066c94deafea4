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

TEST_F(GraphicsTest, InitMakesFlippingSurfacesAndTheScratch) {
  EXPECT_TRUE(graphics->IsActive());
  EXPECT_EQ(graphics->GetWidth(), 640);
  EXPECT_EQ(graphics->GetFrontSurface()->GetKind(), ZSurface::kKindFront);
  EXPECT_EQ(graphics->GetBackSurface()->GetKind(), ZSurface::kKindBack);
  EXPECT_EQ(graphics->GetScratchSurface()->GetWidth(), 800);
  EXPECT_EQ(graphics->GetScratchSurface()->GetHeight(), 1000);
  EXPECT_EQ(graphics->GetBackSurface()->GetWidth(), 640);
  EXPECT_EQ(platform::GetSysColor(platform::COLOR_WINDOW), 0x000000u);
  EXPECT_EQ(platform::GetSysColor(platform::COLOR_HIGHLIGHT), 0xFFFFFFu);
  // Flip swaps the two buffers; other kinds refuse.
  graphics->GetBackSurface()->Fill(nullptr, 42);
  EXPECT_EQ(graphics->GetFrontSurface()->Flip(), 0);
  EXPECT_EQ(At(graphics->GetFrontSurface(), 3, 3), 42);
  EXPECT_EQ(graphics->GetBackSurface()->Flip(), platform::E_FAIL);
  EXPECT_EQ(graphics->GetScratchSurface()->Flip(), platform::E_FAIL);
}

TEST_F(GraphicsTest, InitFailsCleanlyWithoutADisplay) {
  ZGraphics other;
  EXPECT_EQ(other.Init(window.get(), 640, 480, 16), 0);
  EXPECT_EQ(other.GetFrontSurface(), nullptr);
  EXPECT_EQ(other.GetDirectDraw(), nullptr);
  EXPECT_FALSE(other.IsActive());
  EXPECT_GT(other.ErrorCount(), 0u);
}

TEST_F(GraphicsTest, SurfaceCreationRules) {
  ZSurface s;
  EXPECT_EQ(s.Create(graphics.get(), 0, 5), 0);
  EXPECT_EQ(s.GetSurface2(), nullptr);
  EXPECT_EQ(s.Create(graphics.get(), 5, 0), 0);
  EXPECT_EQ(s.Fill(nullptr, 1), platform::E_FAIL);
  ZSurfaceDesc desc;
  EXPECT_EQ(s.Lock(&desc), platform::E_FAIL);
  ASSERT_EQ(s.Create(graphics.get(), 5, 3), 1);
  EXPECT_EQ(s.Lock(nullptr), platform::E_INVALIDARG);
  // A fresh surface's key is 0, and -1 fills with the key.
  s.Fill(nullptr, 9);
  EXPECT_EQ(s.Fill(nullptr, -1), 0);
  EXPECT_EQ(At(&s, 4, 2), 0);
  Rect part{1, 1, 3, 2};
  s.Fill(&part, 6);
  EXPECT_EQ(At(&s, 2, 1), 6);
  EXPECT_EQ(At(&s, 3, 1), 0);
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
  graphics->AddPendingRect(nullptr);
  EXPECT_EQ(graphics->PendingRects().size(), 2u);
  EXPECT_TRUE(graphics->FollowingRects().empty());
  graphics->AddFollowingRect(&a);
  EXPECT_EQ(Listed(graphics->FollowingRects()), (std::vector<Rect>{a}));
  // A flush consumes the pending list; the following list becomes the next pending one.
  graphics->Flush();
  EXPECT_EQ(Listed(graphics->PendingRects()), (std::vector<Rect>{a}));
  EXPECT_TRUE(graphics->FollowingRects().empty());
  EXPECT_FALSE(graphics->IsBusy());
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

TEST_F(RedrawTest, StillSceneryIsRepaintedOnlyOverMovingSpritesDrawnBeforeIt) {
  Add(&world, 1, 0, 0, 10, 0);    // still, near: 100 x 100 of 5
  Add(&world, 2, 50, 50, 20, 2);  // moving, deeper: 30 x 30 of 7 at 50..80
  Rect r{0, 0, 120, 120};
  graphics->RedrawRect(&r);
  EXPECT_EQ(Back(60, 60), 5);   // the still sprite lies over the moving one
  EXPECT_EQ(Back(90, 90), 1);   // elsewhere it is left to the background
  EXPECT_EQ(Back(10, 10), 1);
  EXPECT_EQ(Back(110, 110), 1);
  EXPECT_EQ(Back(130, 130), 0);  // outside the rectangle nothing is drawn
}

TEST_F(RedrawTest, SpritesAreDrawnDeepToNearAndOverlaysLast) {
  Add(&world, 2, 0, 0, 5, 2);    // near
  Add(&world, 3, 10, 10, 50, 2); // far
  Add(&world, 1, 0, 0, 90, 0);   // still and deepest: skipped before the first moving sprite
  Add(&overlay, 4, 35, 35, 100, 0);
  graphics->RedrawRect(nullptr);
  EXPECT_EQ(Back(15, 15), 7);   // near over far
  EXPECT_EQ(Back(33, 33), 8);   // only the far one there
  EXPECT_EQ(Back(37, 37), 9);   // the overlay is drawn over everything
  EXPECT_EQ(Back(60, 60), 1);   // the deep still sprite was not repainted
  EXPECT_EQ(Back(300, 300), 1);

  // Equal depth: the one added later is drawn after, in front.
  world.RemoveAll();
  overlay.RemoveAll();
  Add(&world, 2, 200, 200, 30, 2);
  Add(&world, 3, 210, 210, 30, 2);
  graphics->RedrawRect(nullptr);
  EXPECT_EQ(Back(215, 215), 8);
}

TEST_F(RedrawTest, ARectangleOutsideTheViewRedrawsNothing) {
  Rect view{0, 0, 320, 240};
  viewport->SetViewRect(&view);
  Add(&world, 2, 400, 300, 10, 2);
  Rect outside{400, 300, 430, 330};
  graphics->RedrawRect(&outside);
  EXPECT_EQ(Back(410, 310), 0);
  EXPECT_EQ(Back(10, 10), 0);
  // The part inside the view is redrawn, clipped to the rectangle; the clip is put back afterwards.
  Rect inside{300, 200, 330, 250};
  graphics->RedrawRect(&inside);
  EXPECT_EQ(Back(305, 205), 1);
  EXPECT_EQ(Back(299, 205), 0);
  EXPECT_EQ(Back(325, 205), 0);
  EXPECT_EQ(viewport->GetClipList().rect, view);
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
  Rect a{0, 0, 10, 10};
  Rect b{100, 100, 110, 110};
  Rect c{200, 200, 210, 210};
  graphics->AddPendingRect(&a);
  graphics->AddPendingRect(&b);
  graphics->AddPendingRect(&c);
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
  s->SetPosition(40, 10);  // old and new only touch: two rectangles, the newest at the head
  EXPECT_EQ(Listed(graphics->PendingRects()), (std::vector<Rect>{Rect{40, 10, 70, 40}, Rect{10, 10, 40, 40}}));
  EXPECT_EQ(Listed(graphics->FollowingRects()), Listed(graphics->PendingRects()));
  graphics->EmptyRectLists();
  s->SetPosition(50, 10);  // overlapping: one merged rectangle
  EXPECT_EQ(Listed(graphics->PendingRects()), (std::vector<Rect>{Rect{40, 10, 80, 40}}));
  graphics->GetBackSurface()->Fill(nullptr, 0);
  graphics->Flush();
  EXPECT_EQ(Back(45, 15), 1);  // old place repainted from the background
  EXPECT_EQ(Back(55, 15), 7);
  EXPECT_EQ(Back(85, 15), 0);
  graphics->GetFrontSurface()->Flip();
  graphics->GetBackSurface()->Fill(nullptr, 0);
  graphics->Flush();  // the other buffer gets the same rectangle
  EXPECT_EQ(Back(45, 15), 1);
  EXPECT_EQ(Back(55, 15), 7);
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
  EXPECT_EQ(At(graphics->GetFrontSurface(), 5, 5), 0);
  EXPECT_EQ(Listed(graphics->PendingRects()), (std::vector<Rect>{Rect{0, 0, 640, 480}}));
  EXPECT_EQ(Listed(graphics->FollowingRects()), (std::vector<Rect>{Rect{0, 0, 640, 480}}));
  EXPECT_EQ(platform::GetSysColor(platform::COLOR_WINDOWTEXT), 0xFFFFFFu);
}

}  // namespace
