// ZTurkey's rules without pictures: senses, decisions, the transition table, turning, wanted facing,
// movement and targets, each with its random draws in their order.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/game/sim_fixture.h"

namespace {

using simtest::Draws;
using simtest::DrawsTaken;
using simtest::SeedWhere;
using T = ZTurkey;

class TurkeyTest : public simtest::SimFixture {
 protected:
  // The bird's velocity at cosine k to its line of sight from the hunter, on the given side.
  static void Moving(ZTurkey* b, double k, bool side) {
    const ZPoint h(2500, 2500);
    const double px = b->position.x - h.x, py = b->position.y - h.y, pl = std::hypot(px, py);
    const double ux = px / pl, uy = py / pl;
    // Perpendicular (uy, -ux) gives v.y p.x - v.x p.y < 0; its opposite is the side with it above 0.
    const double s = std::sqrt(1 - k * k) * (side ? -1 : 1);
    b->velocity = ZVector(k * ux + s * uy, k * uy - s * ux);
  }
};

// --- senses ---

TEST_F(TurkeyTest, NoiseSpooksBySubspeciesAndTwiceAsEasilyInTheLookDirection) {
  hunter->alarm = 750;  // loud, but not above the threshold
  const int baseThreshold[5] = {0, 0, 1125, 1125, 2250};  // (sub / 2) x 750 x 750 / 500
  int spooks = 0, calm = 0;
  for (int32_t sub = 0; sub < 5; ++sub) {
    for (int inView = 0; inView < 2; ++inView) {
      for (uint32_t i = 0; i < 300; ++i) {
        // Small seeds all begin with small draws; spread them so both outcomes occur.
        const uint32_t seed = 1 + i * 104729;
        map->birds.clear();
        // East of the hunter is across his look; north is along it.
        T* b = inView != 0 ? Bird(2500, 3000) : Bird(3000, 2500);
        b->subspecies = sub;
        const int draw = Draws(seed, 1)[0];
        platform::srand(seed);
        b->Sense();
        const bool expect = draw < baseThreshold[sub] * (inView != 0 ? 2 : 1);
        ASSERT_EQ(b->nextState == T::Fleeing, expect) << "sub " << sub << " view " << inView << " seed " << seed;
        (expect ? spooks : calm)++;
      }
    }
  }
  EXPECT_GT(spooks, 20);
  EXPECT_GT(calm, 2000);
}

TEST_F(TurkeyTest, AnAlarmAbove750SpooksEveryBirdWithin2000OnceASecond) {
  hunter->alarm = 751;
  T* b = Bird(4499, 2500);  // 1999 east, Florida birds ignore noise
  const uint32_t now = b->now;
  platform::srand(7);
  b->Sense();
  EXPECT_EQ(b->nextState, T::Fleeing);
  EXPECT_EQ(b->stateTimer, now);
  // Away from the hunter on both axes (y equal counts as not above: the bird goes south).
  EXPECT_GE(b->target.x, 4499 + 1000);
  EXPECT_LE(b->target.y, 2500 - 1000);
  EXPECT_EQ(b->lastSenseTime, now);
  // Within the second nothing is sensed; just after it the check runs again (one draw: a fleeing bird
  // is only spooked again, nothing else changes).
  const ZPoint target = b->target;
  b->state = T::Fleeing;
  b->now = now + 1000;
  EXPECT_EQ(DrawsTaken(3, [&] { b->Sense(); }), 0);
  b->now = now + 1001;
  EXPECT_EQ(DrawsTaken(3, [&] { b->Sense(); }), 1);
  EXPECT_EQ(b->target.x, target.x);
  EXPECT_EQ(b->lastSenseTime, now + 1001);

  // At 2000 units the bird senses nothing at all.
  T* far = Bird(4500, 2500);
  EXPECT_EQ(DrawsTaken(3, [&] { far->Sense(); }), 0);
  EXPECT_EQ(far->nextState, T::Standing);
  EXPECT_EQ(far->lastSenseTime, 0u);
  // At 750 a Florida bird stays calm.
  hunter->alarm = 750;
  T* calm = Bird(4000, 2500);
  platform::srand(7);
  calm->Sense();
  EXPECT_EQ(calm->nextState, T::Standing);
}

TEST_F(TurkeyTest, BirdsAnswerCallsWalkTowardTheHunterAndGiveUp) {
  hunter->alarm = 200;
  hunter->attraction = 1000;  // a 10 % chance per check
  const uint32_t answers =
      SeedWhere(3, [](const std::vector<int>& v) { return v[1] % 10000 < 1000 && v[2] % 200 != 0; });
  T* b = Bird(3700, 2500);  // 1200 east
  EXPECT_EQ(DrawsTaken(answers, [&] { b->Sense(); }), 3);  // spook, call, give-up check
  EXPECT_EQ(b->answeringCall, 1);
  EXPECT_EQ(b->nextState, T::Walking);
  EXPECT_EQ(b->target.x, 2500);
  EXPECT_EQ(b->target.y, 2500);

  // No answer above the lure: two draws, nothing changes.
  const uint32_t ignores = SeedWhere(2, [](const std::vector<int>& v) { return v[1] % 10000 >= 1000; });
  T* deaf = Bird(3700, 2500);
  EXPECT_EQ(DrawsTaken(ignores, [&] { deaf->Sense(); }), 2);
  EXPECT_EQ(deaf->answeringCall, 0);
  // A fleeing bird never answers.
  T* fleeing = Bird(3700, 2500, T::Fleeing);
  platform::srand(answers);
  fleeing->Sense();
  EXPECT_EQ(fleeing->answeringCall, 0);

  // Giving up (1 in 200): back to wandering, away from the hunter's spot.
  const uint32_t givesUp = SeedWhere(3, [](const std::vector<int>& v) { return v[2] % 200 == 0; });
  b->now += 1001;
  platform::srand(givesUp);
  b->Sense();
  EXPECT_EQ(b->answeringCall, 0);
  EXPECT_EQ(b->nextState, T::Walking);
  EXPECT_FALSE(b->target.x == 2500 && b->target.y == 2500);

  // Farther than 1500 the bird stops answering at once, without the give-up draw.
  T* strayed = Bird(4100, 2500);
  strayed->answeringCall = 1;
  EXPECT_EQ(DrawsTaken(5, [&] { strayed->Sense(); }), 2);
  EXPECT_EQ(strayed->answeringCall, 0);
  EXPECT_EQ(strayed->lastSenseTime, strayed->now);
}

// --- decisions ---

TEST_F(TurkeyTest, StandingAndIdlingBirdsDrawTheirNextStep) {
  struct Case {
    int32_t state;
    int draw;  // first draw % 100
    int32_t next;
  };
  // Standing idles below 15; idling stands again above 15 (15 itself walks).
  const Case cases[] = {{T::Standing, 14, T::Idling}, {T::Standing, 15, T::Walking},
                        {T::Idling, 16, T::Standing}, {T::Idling, 15, T::Walking}};
  for (const Case& c : cases) {
    const uint32_t seed = SeedWhere(2, [&](const std::vector<int>& v) { return v[0] % 100 == c.draw; });
    T* b = Bird(6000, 6000, c.state);
    b->velocity = ZVector(3, 4);
    const int second = Draws(seed, 2)[1];
    platform::srand(seed);
    b->Decide();
    EXPECT_EQ(b->nextState, c.next) << c.state << " " << c.draw;
    if (c.next != T::Walking) {
      EXPECT_EQ(b->stateTimer, b->now + 3000 + second % 5000);
    }
    EXPECT_EQ(b->velocity.x == 0.0, c.next == T::Idling);
  }
  // A pending change is left alone.
  T* pending = Bird(6000, 6000, T::Standing);
  pending->nextState = T::Walking;
  EXPECT_EQ(DrawsTaken(9, [&] { pending->Decide(); }), 0);
}

TEST_F(TurkeyTest, ABirdKeepsItsPersonalSpaceOf200And250) {
  // Walking to the hunter's call, it stops within 200 units and then walks away.
  T* b = Bird(2699.5, 2500, T::Walking);
  b->target = ZPoint(2500, 2500);
  b->Decide();
  EXPECT_EQ(b->nextState, T::Standing);
  EXPECT_EQ(b->tooClose, 1);
  b->state = T::Standing;
  b->Decide();
  EXPECT_EQ(b->nextState, T::Walking);
  EXPECT_EQ(b->stateTimer, b->now + 100);
  EXPECT_GE(b->target.x, 2699.5 + 1000);  // a flight point away from the hunter
  // Walking away it stays wary up to 250 units, and is at ease beyond.
  b->state = T::Walking;
  b->position = ZPoint(2740, 2500);
  b->Decide();
  EXPECT_EQ(b->tooClose, 1);
  EXPECT_EQ(b->nextState, T::Walking);
  b->position = ZPoint(2751, 2500);
  b->Decide();
  EXPECT_EQ(b->tooClose, 0);
  // Already wary, it does not stop again inside 200.
  T* wary = Bird(2600, 2500, T::Walking);
  wary->target = ZPoint(2500, 2500);
  wary->tooClose = 1;
  wary->Decide();
  EXPECT_EQ(wary->nextState, T::Walking);
  // A walking bird within the time scale (30 units in fast time) of its target has arrived.
  T* arrived = Bird(6000, 6000, T::Walking);
  arrived->target = ZPoint(6029, 6000);
  arrived->Decide();
  EXPECT_EQ(arrived->nextState, T::Standing);
  map->timeScale = 1.0;
  arrived->nextState = T::Walking;
  arrived->Decide();
  EXPECT_EQ(arrived->nextState, T::Walking);
}

TEST_F(TurkeyTest, AFleeingBirdRetargetsAtLeast04RadiansOffOrAfterTenTries) {
  // East of the hunter every flight point lies 26.6 to 63.4 degrees south of east. From an old target
  // at -45 degrees the first try is never 0.4 radians off; each later try is compared with the one
  // it replaces. The draws: the gobble chance, the retarget time, then two per try.
  auto tries = [](const std::vector<int>& v, ZPoint* last) {
    double previous = std::atan2(-1500.0, 1500.0);
    for (int i = 0; i < 10; ++i) {
      const double a = 1000 + v[2 + 2 * i] % 1000, b = 1000 + v[3 + 2 * i] % 1000;
      *last = ZPoint(3000 + a, 2500 - b);
      const double bearing = std::atan2(-b, a);
      if (std::fabs(bearing - previous) >= 0.4) return i + 1;
      previous = bearing;
    }
    return 10;
  };
  ZPoint expected;
  const uint32_t allTen = SeedWhere(22, [&](const std::vector<int>& v) { return v[0] % 100 >= 2 && tries(v, &expected) == 10; });
  const uint32_t some = SeedWhere(22, [&](const std::vector<int>& v) {
    const int n = tries(v, &expected);
    return v[0] % 100 >= 2 && n > 1 && n < 10;
  });
  for (uint32_t seed : {allTen, some}) {
    map->birds.clear();
    T* b = Bird(3000, 2500, T::Fleeing);
    b->target = ZPoint(4500, 1000);
    b->retargetTime = b->now;
    const int n = tries(Draws(seed, 22), &expected);
    EXPECT_EQ(DrawsTaken(seed, [&] { b->Decide(); }), 2 + 2 * n) << seed;
    b->target = ZPoint(4500, 1000);
    b->retargetTime = b->now;
    platform::srand(seed);
    b->Decide();
    EXPECT_EQ(b->target.x, expected.x);  // the last try stays
    EXPECT_EQ(b->target.y, expected.y);
    EXPECT_GE(b->retargetTime, b->now + 2000);
    EXPECT_LT(b->retargetTime, b->now + 4000);
  }
  // An old target on the hunter's side is far off any new one: one try.
  T* back = Bird(3000, 2500, T::Fleeing);
  back->target = ZPoint(2500, 2500);
  back->retargetTime = back->now;
  EXPECT_EQ(DrawsTaken(allTen, [&] { back->Decide(); }), 1 + 1 + 2);
  // Before the retarget time only the gobble is drawn.
  T* early = Bird(3000, 2500, T::Fleeing);
  early->target = ZPoint(4500, 1000);
  early->retargetTime = early->now + 1;
  EXPECT_EQ(DrawsTaken(allTen, [&] { early->Decide(); }), 1);
  EXPECT_EQ(early->target.x, 4500);
}

// --- the transition table ---

TEST_F(TurkeyTest, TheTransitionTableStepByStep) {
  constexpr int kSame = -1;  // speed or timer left as they were
  struct Cell {
    int32_t state, next;
    bool aligned;
    int32_t newState;
    double speed;
    int64_t timer;  // added to now, or kSame
    bool turns;
  };
  const int32_t S = T::Standing, I = T::Idling, W = T::Walking, F = T::Fleeing, D = T::Dying;
  const Cell cells[] = {
      {S, S, true, S, 0, kSame, false},     {S, S, false, S, 0, 300, true},
      {S, I, true, I, 0, 5000, false},      {S, I, false, S, kSame, 300, true},
      {S, W, true, W, 10, kSame, false},    {S, W, false, S, kSame, 500, true},
      {S, F, true, F, 50, kSame, false},    {S, F, false, S, kSame, kSame, true},
      {S, D, false, D, 0, 5000, false},

      {I, S, false, S, 0, 5000, false},     {I, I, true, I, 0, kSame, false},
      {I, I, false, I, 0, 300, true},       {I, W, true, S, 10, 100, false},
      {I, W, false, I, kSame, 500, true},   {I, F, true, F, 50, kSame, false},
      {I, F, false, I, kSame, kSame, true}, {I, D, true, D, 0, 5000, false},

      {W, S, true, S, 0, 5000, false},      {W, S, false, W, 0, 300, true},
      {W, I, true, S, 0, 100, false},       {W, I, false, W, 0, 300, true},
      {W, W, true, W, 10, kSame, false},    {W, W, false, W, 10, 500, true},
      {W, F, true, F, 50, kSame, false},    {W, F, false, W, kSame, 100, true},
      {W, D, false, D, 0, 5000, false},

      {F, S, false, W, 10, kSame, false},   {F, I, false, W, 10, kSame, false},
      {F, W, false, W, 10, kSame, false},   {F, F, true, F, 50, kSame, false},
      {F, F, false, F, 50, kSame, true},    {F, D, false, D, 0, 5000, false},

      {D, S, false, D, kSame, kSame, false}, {D, W, false, D, kSame, kSame, false},
      {D, F, false, D, kSame, kSame, false}, {D, D, false, D, 0, kSame, false},
  };
  for (const Cell& c : cells) {
    T* b = Bird(6000, 6000, c.state);
    b->nextState = c.next;
    // Standing toward Idling picks its own wanted facing: 0 from facing 0 (aligned), 4 from facing 2.
    const bool toIdle = c.state == S && c.next == I;
    b->facing = toIdle ? (c.aligned ? 0 : 2) : 2;
    b->wantedFacing = c.aligned ? b->facing : 4;
    b->speed = 7;
    b->stateTimer = b->now;
    b->ApplyTransition();
    const std::string where = std::to_string(c.state) + "->" + std::to_string(c.next) + (c.aligned ? " aligned" : "");
    EXPECT_EQ(b->state, c.newState) << where;
    EXPECT_EQ(b->speed, c.speed == kSame ? 7 : c.speed) << where;
    EXPECT_EQ(b->stateTimer, c.timer == kSame ? b->now : b->now + c.timer) << where;
    EXPECT_EQ(b->facing != (toIdle ? (c.aligned ? 0 : 2) : 2), c.turns) << where;
  }
  // Nothing happens while the timer is ahead.
  T* waiting = Bird(6000, 6000, S);
  waiting->nextState = W;
  waiting->stateTimer = waiting->now + 1;
  waiting->ApplyTransition();
  EXPECT_EQ(waiting->state, S);
  EXPECT_EQ(waiting->speed, 0);
}

// --- turning and facing ---

TEST_F(TurkeyTest, OppositeFacingsAreTurnedThroughByDecreasing) {
  T* b = Bird(6000, 6000);
  auto path = [&](int32_t from, int32_t to) {
    b->facing = from;
    b->wantedFacing = to;
    std::vector<int32_t> shown;
    for (int i = 0; i < 8 && b->facing != to; ++i) {
      b->TurnStep();
      shown.push_back(b->facing);
    }
    return shown;
  };
  EXPECT_EQ(path(6, 2), (std::vector<int32_t>{5, 4, 3, 2}));
  EXPECT_EQ(path(2, 6), (std::vector<int32_t>{1, 0, 7, 6}));
  EXPECT_EQ(path(0, 7), (std::vector<int32_t>{7}));
  EXPECT_EQ(path(7, 0), (std::vector<int32_t>{0}));
  EXPECT_EQ(path(1, 3), (std::vector<int32_t>{2, 3}));
  EXPECT_EQ(path(3, 3), (std::vector<int32_t>{}));
}

TEST_F(TurkeyTest, WantedFacingFollowsTheBandsNearAndFar) {
  struct Case {
    double distance, k;
    int32_t side, other;
  };
  const Case cases[] = {
      // 500 units or more
      {1000, 0.95, 6, 6},   {1000, 0.905, 6, 6},  {1000, 0.89, 5, 7},   {1000, 0.31, 5, 7},  {1000, 0.29, 4, 0},
      {1000, -0.24, 4, 0},  {1000, -0.26, 3, 1},  {1000, -0.81, 3, 1},  {1000, -0.83, 2, 2},
      // nearer than 500
      {400, 0.93, 6, 6},    {400, 0.92, 5, 7},    {400, 0.39, 5, 7},    {400, 0.37, 4, 0},   {400, -0.37, 4, 0},
      {400, -0.39, 3, 1},   {400, -0.90, 3, 1},   {400, -0.92, 2, 2},
  };
  for (const Case& c : cases) {
    for (bool side : {true, false}) {
      map->birds.clear();
      T* b = Bird(2500, 2500 + c.distance);
      b->facing = b->wantedFacing = 2;  // facing 2 is in no band's hysteresis
      Moving(b, c.k, side);
      b->ComputeWantedFacing();
      EXPECT_EQ(b->wantedFacing, side ? c.side : c.other) << c.distance << " k " << c.k << " side " << side;
    }
  }
}

TEST_F(TurkeyTest, WantedFacingHoldsItsBandUntilPastTheHysteresis) {
  struct Case {
    double distance, k;
    int32_t facing, wanted;  // before
    int32_t after;           // side false
  };
  const Case cases[] = {
      {1000, 0.86, 6, 6, 6}, {1000, 0.84, 6, 6, 7}, {400, 0.73, 6, 6, 6},    {400, 0.71, 6, 6, 7},
      {1000, 0.2, 2, 5, 5},  {1000, 0.2, 7, 2, 2},  {1000, 0.05, 2, 5, 0},   {400, 0.27, 2, 7, 7},
      {400, 0.25, 2, 7, 0},  {1000, -0.3, 0, 0, 0}, {1000, -0.4, 0, 0, 1},   {400, -0.43, 4, 2, 2},
      {400, -0.45, 4, 2, 1}, {1000, -0.85, 1, 1, 1}, {1000, -0.9, 1, 1, 2},  {400, -0.95, 3, 3, 3},
      {400, -0.99, 3, 3, 2},
  };
  for (const Case& c : cases) {
    map->birds.clear();
    T* b = Bird(2500, 2500 + c.distance);
    b->facing = c.facing;
    b->wantedFacing = c.wanted;
    Moving(b, c.k, false);
    b->ComputeWantedFacing();
    EXPECT_EQ(b->wantedFacing, c.after) << c.distance << " k " << c.k << " from " << c.facing << "/" << c.wanted;
  }
  // Standing still, or on the hunter's own spot, the wanted facing stays.
  T* still = Bird(2500, 3500);
  still->wantedFacing = 3;
  still->ComputeWantedFacing();
  EXPECT_EQ(still->wantedFacing, 3);
  T* onSpot = Bird(2500, 2500);
  onSpot->wantedFacing = 5;
  onSpot->velocity = ZVector(1, 0);
  onSpot->ComputeWantedFacing();
  EXPECT_EQ(onSpot->wantedFacing, 5);
}

// --- movement and targets ---

TEST_F(TurkeyTest, AWalkingBirdIsDrawnToAttractorsAndPushedFromRepellers) {
  Special(18, 5000, 9000);
  Special(18, 5000, 6000);  // the nearest attractor wins
  Special(19, 4000, 5000);
  Special(20, 5100, 5000);  // inert
  T* b = Bird(5000, 5000, T::Walking);
  b->target = ZPoint(6000, 5000);
  b->speed = T::kWalkSpeed;
  map->frameDelta = 27;
  b->Move();
  EXPECT_EQ(b->attractPoint.y, 6000);
  EXPECT_EQ(b->avoidPoint.x, 4000);
  // (1000, 0) + 1000 x 0.476 (0, 1) - 1000 x 0.370 (-1, 0), set to 27 ms x 30 x 10 / 1000 = 8.1 units.
  const double vx = 1000 + 370.37037037037035, vy = 476.19047619047616, len = std::hypot(vx, vy);
  EXPECT_NEAR(b->position.x, 5000 + 8.1 * vx / len, 1e-9);
  EXPECT_NEAR(b->position.y, 5000 + 8.1 * vy / len, 1e-9);
  // The landmarks stay known after the items are gone.
  map->specials.clear();
  b->Move();
  EXPECT_EQ(b->attractPoint.y, 6000);

  // A near bird, like a fleeing one, goes straight for its target.
  T* straight = Bird(5000, 5000, T::Walking);
  straight->near = 1;
  straight->target = ZPoint(5000, 7000);
  straight->speed = T::kWalkSpeed;
  straight->Move();
  EXPECT_EQ(straight->position.x, 5000);
  EXPECT_NEAR(straight->position.y, 5008.1, 1e-9);
  // A step covers at most 100 ms, so a minute in the background does not throw a bird.
  map->frameDelta = 60000;
  straight->Move();
  EXPECT_NEAR(straight->position.y, 5008.1 + 100 * 30 * 10 * 0.001, 1e-9);
}

}  // namespace
