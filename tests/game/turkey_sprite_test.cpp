// ZTurkey's picture in a running hunt: placement on the ground, the animation table and mirroring,
// coming into and leaving view, the kill zone, and pictures replaced or taken back.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "framework/sound/dx_sound.h"
#include "game/hunter.h"
#include "game/shotgun.h"
#include "tests/game/hunt_fixture.h"
#include "tests/game/sim_fixture.h"

namespace {

constexpr double kNorth = 1.5707963267948966;  // the look direction
using T = ZTurkey;

class TurkeySpriteTest : public hunttest::HuntFixture {
 protected:
  void SetUp() override {
    HuntFixture::SetUp();
    ToMenu();
    EnterHunt(0);
  }
  // One sprite step at the current time.
  void Show(ZTurkey* b) {
    b->now = platform::timeGetTime();
    b->UpdateSprite();
  }
};

TEST_F(TurkeySpriteTest, ABirdStandsOnTheGroundAtNineTenthsOfItsScale) {
  T* b = BirdAt(0, 500, kNorth);
  b->facing = b->wantedFacing = 2;
  Show(b);
  ZScaledSprite* s = b->GetSprite();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(b->near, 1);
  EXPECT_EQ(s->kind, 2);
  EXPECT_EQ(s->placed, 1);
  EXPECT_EQ(s->wrapHorizontally, 1);
  EXPECT_EQ(s->GetViewport(), game->mainViewport.get());
  EXPECT_DOUBLE_EQ(s->GetScale(), 0.9 * 110 / 500);
  EXPECT_EQ(s->GetDepth(), 50000);
  EXPECT_TRUE(game->worldSprites.Contains(s));
  // Project gives column 1920 and ground row 400 + trunc(380 x 0.22) = 483 for the foot.
  platform::Rect r;
  s->GetRect(&r);
  EXPECT_LE(std::abs(r.bottom - 483), 1);
  EXPECT_LE(std::abs((r.left + r.right) / 2 - 1920), 1);
  EXPECT_EQ(r.Width(), ZScaledSprite::Round(s->GetCurrentFrame()->Width() * 0.198));
}

TEST_F(TurkeySpriteTest, TheAnimationTableChoosesSpriteAndMirrorByStateAndFacing) {
  const int32_t ids[5][8] = {{1, 5, 5, 5, 1, 4, 4, 4}, {1, 1, 1, 1, 1, 1, 1, 1}, {3, 5, 5, 5, 3, 4, 4, 4},
                             {2, 2, 2, 2, 2, 2, 2, 2}, {0, 0, 0, 0, 0, 0, 0, 0}};
  const int32_t mirrored[5][8] = {{0, 0, 0, 1, 1, 1, 0, 0}, {0, 0, 1, 1, 1, 1, 0, 0}, {0, 0, 0, 1, 1, 1, 0, 0},
                                  {0, 0, 0, 1, 1, 1, 0, 0}, {0, 0, 1, 1, 1, 1, 0, 0}};
  T* b = BirdAt(0, 500, kNorth);
  b->near = 1;
  for (int32_t state = T::Standing; state <= T::Dying; ++state) {
    for (int32_t facing = 0; facing < 8; ++facing) {
      b->DropSprite();
      b->state = state;
      b->facing = b->wantedFacing = facing;
      b->frameIndex = 3;
      b->ChooseAnimation();
      ASSERT_NE(b->GetSprite(), nullptr);
      EXPECT_EQ(b->animation, ids[state][facing]) << state << "/" << facing;
      EXPECT_EQ(b->GetSprite()->mirrorLeftRight, mirrored[state][facing]) << state << "/" << facing;
      EXPECT_EQ(b->facing, facing);
      // A new picture starts at its first frame; standing keeps it there.
      EXPECT_EQ(b->frameIndex, 0);
    }
  }
  // Fleeing straight away is mirrored only while the bird wants to face 5.
  b->state = T::Fleeing;
  b->facing = b->wantedFacing = 6;
  b->ChooseAnimation();
  ZScaledSprite* same = b->GetSprite();
  EXPECT_EQ(same->mirrorLeftRight, 0);
  b->wantedFacing = 5;
  b->ChooseAnimation();
  EXPECT_EQ(b->animation, 2);
  EXPECT_EQ(b->GetSprite(), same);
  EXPECT_EQ(b->GetSprite()->mirrorLeftRight, 1);
  b->wantedFacing = 7;
  b->ChooseAnimation();
  EXPECT_EQ(b->GetSprite()->mirrorLeftRight, 0);
  // A standing bird shows its first frame on every sprite step.
  b->state = T::Standing;
  b->frameIndex = 4;
  b->ChooseAnimation();
  EXPECT_EQ(b->frameIndex, 0);
  // Away from the hunter's sight nothing is chosen.
  b->DropSprite();
  b->near = 0;
  b->ChooseAnimation();
  EXPECT_EQ(b->GetSprite(), nullptr);
}

TEST_F(TurkeySpriteTest, ABirdComingIntoViewShowsItsPoseAtOnceAndLeavingDropsIt) {
  T* b = BirdAt(0, 1100, kNorth, T::Walking);
  b->velocity = ZVector(0, -1);  // straight toward the hunter: facing 2
  Show(b);
  EXPECT_EQ(b->near, 0);
  EXPECT_EQ(b->GetSprite(), nullptr);
  EXPECT_EQ(b->facing, 0);
  b->position.y = 2500 + 999;
  Show(b);
  EXPECT_EQ(b->near, 1);
  ASSERT_NE(b->GetSprite(), nullptr);
  EXPECT_EQ(b->facing, 2);  // no turning through 1
  EXPECT_EQ(b->wantedFacing, 2);
  // Its first picture was chosen for the facing it had; the next step brings the toward-walk.
  Show(b);
  EXPECT_EQ(b->animation, T::kAnimToward);
  EXPECT_TRUE(game->worldSprites.Contains(b->GetSprite()));
  const int32_t count = game->worldSprites.GetCount();
  b->position.y = 2500 + 1000;
  Show(b);
  EXPECT_EQ(b->near, 0);
  EXPECT_EQ(b->GetSprite(), nullptr);
  EXPECT_EQ(b->facing, 0);
  EXPECT_EQ(b->animation, -1);
  EXPECT_EQ(game->worldSprites.GetCount(), count - 1);
}

TEST_F(TurkeySpriteTest, TheKillZoneIsTheFirst300PixelsOfTheUnscaledFrameInEveryPose) {
  // At 100 units the bird is drawn at 0.9: a point k pixels right of the left edge is column
  // trunc(k / 0.9 + 0.5) of the frame.
  T* b = BirdAt(0, 100, kNorth);
  b->facing = b->wantedFacing = 0;  // profile, not mirrored
  Show(b);
  ZScaledSprite* s = b->GetSprite();
  ASSERT_NE(s, nullptr);
  ASSERT_DOUBLE_EQ(s->GetScale(), 0.9);
  platform::Rect r;
  s->GetRect(&r);
  ZSprite other;
  EXPECT_EQ(b->HitTest(&other, r.left + 10, r.top + 10), 0);  // not this bird's picture: no effect
  EXPECT_EQ(b->nextState, T::Standing);
  EXPECT_EQ(b->HitTest(s, r.left + 270, r.top + 10), 0);  // column 300: outside, the bird flees
  EXPECT_EQ(b->nextState, T::Fleeing);
  EXPECT_EQ(b->stateTimer, b->now);
  EXPECT_GE(b->target.y, b->position.y + 1000);
  EXPECT_EQ(b->HitTest(s, r.left + 10, r.top - 2), 0);  // row trunc(-2 / 0.9 + 0.5) = -1
  EXPECT_EQ(game->baggedBird, nullptr);
  EXPECT_EQ(b->HitTest(s, r.left + 269, r.top + 269), 1);  // column and row 299
  EXPECT_EQ(b->nextState, T::Dying);
  EXPECT_EQ(game->baggedBird, b);
  // A falling bird cannot be hit again.
  b->state = T::Dying;
  EXPECT_EQ(b->HitTest(s, r.left + 10, r.top + 10), 0);

  // Mirrored, the columns count from the right edge of the frame (267 wide at this pose: 240 pixels
  // drawn, which count as trunc(240 / 0.9 + 0.5) = 267 columns).
  game->baggedBird = nullptr;
  T* m = BirdAt(1, 100, kNorth);
  m->facing = m->wantedFacing = 4;
  Show(m);
  ASSERT_EQ(m->GetSprite()->mirrorLeftRight, 1);
  m->GetSprite()->GetRect(&r);
  const int32_t width = m->GetSprite()->GetCurrentFrame()->Width();
  ASSERT_EQ(width, 267);
  EXPECT_EQ(m->HitTest(m->GetSprite(), r.left - 31, r.top + 10), 0);  // column 267 - (-33) = 300
  EXPECT_EQ(m->HitTest(m->GetSprite(), r.left - 30, r.top + 10), 1);  // column 267 - (-32) = 299
  EXPECT_EQ(game->baggedBird, m);
}

TEST_F(TurkeySpriteTest, AShotThatStruckAPictureReplacedInTheSameFrameStillHitsItsBird) {
  game->hunter->EquipShotgun();
  ZShotgun* gun = game->hunter->GetWeapon();
  ASSERT_NE(gun, nullptr);
  T* b = BirdAt(0, 100, kNorth);
  b->facing = b->wantedFacing = 0;
  Show(b);
  ASSERT_EQ(b->animation, 1);
  platform::Rect r;
  b->GetSprite()->GetRect(&r);
  gun->struckSprite = b->GetSprite();
  gun->resultKind = 2;
  // The bird walks off in the same frame: a new picture replaces the one the shot struck.
  b->state = b->nextState = T::Walking;
  Show(b);
  ASSERT_EQ(b->animation, 3);
  EXPECT_EQ(gun->struckSprite, b->GetSprite());
  // The shot's point, the middle of the old picture, lies on the new one too.
  EXPECT_EQ(game->map->HitTest(gun->struckSprite, (r.left + r.right) / 2, (r.top + r.bottom) / 2), 1);
  EXPECT_EQ(game->baggedBird, b);

  // A struck picture that goes with its bird out of view leaves the result naming nothing.
  T* c = BirdAt(1, 300, kNorth);
  Show(c);
  ASSERT_NE(c->GetSprite(), nullptr);
  gun->struckSprite = c->GetSprite();
  c->DropSprite();
  EXPECT_EQ(gun->struckSprite, nullptr);
}

TEST_F(TurkeySpriteTest, BuildingTheSceneryAgainTakesTheBirdsPicturesBackFirst) {
  T* b = BirdAt(0, 400, kNorth);
  Show(b);
  ASSERT_NE(b->GetSprite(), nullptr);
  const int32_t scenery = game->worldSprites.GetCount() - 1;
  // The scenery is rebuilt (the screen started again); the world list is emptied, the bird's picture
  // must not be deleted from under it.
  game->scene->BuildScenery(game->graphics.get(), game->areaSurface.get(), background.get());
  EXPECT_EQ(b->GetSprite(), nullptr);
  EXPECT_EQ(game->worldSprites.GetCount(), scenery);
  Show(b);
  ASSERT_NE(b->GetSprite(), nullptr);
  EXPECT_EQ(game->worldSprites.GetCount(), scenery + 1);
}

}  // namespace
