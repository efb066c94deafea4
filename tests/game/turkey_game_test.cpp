// ZTurkeyGame: the state table (every row), the loop, clean-up, and the messages the scenarios do
// not reach (Escape in every state, a repeated activation).
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/scene.h"
#include "platform/rand.h"
#include "tests/game/game_fixture.h"

namespace {

using gametest::GameFixture;
using G = ZTurkeyGame;

constexpr int32_t kStates[] = {G::Starting, G::StartupDone, G::Initializing, G::MainMenu, G::TrophyRoom,
                               G::Hunting,  G::EnteringHunt, G::Exiting,     G::Inactive};

// What each state makes of each request; anything not listed leaves the state as it is.
int32_t Expected(int32_t state, int32_t request) {
  static const std::map<std::pair<int32_t, int32_t>, int32_t> kTable = {
      {{G::Starting, G::StartupDone}, G::StartupDone},
      {{G::StartupDone, G::Initializing}, G::Initializing},
      {{G::Initializing, G::Exiting}, G::Exiting},
      {{G::MainMenu, G::TrophyRoom}, G::TrophyRoom},
      {{G::MainMenu, G::EnteringHunt}, G::EnteringHunt},
      {{G::MainMenu, G::Exiting}, G::Exiting},
      {{G::MainMenu, G::Inactive}, G::Inactive},
      {{G::TrophyRoom, G::MainMenu}, G::MainMenu},
      {{G::TrophyRoom, G::Inactive}, G::Inactive},
      {{G::Hunting, G::MainMenu}, G::MainMenu},
      {{G::Hunting, G::TrophyRoom}, G::TrophyRoom},
      {{G::Hunting, G::Inactive}, G::Inactive},
      {{G::EnteringHunt, G::MainMenu}, G::MainMenu},
      {{G::EnteringHunt, G::Hunting}, G::Hunting},
      {{G::EnteringHunt, G::Exiting}, G::Exiting},
      {{G::Inactive, G::MainMenu}, G::MainMenu},
      {{G::Inactive, G::TrophyRoom}, G::TrophyRoom},
      {{G::Inactive, G::Hunting}, G::EnteringHunt},
      {{G::Inactive, G::EnteringHunt}, G::EnteringHunt},
  };
  auto it = kTable.find({state, request});
  return it == kTable.end() ? state : it->second;
}

TEST_F(GameFixture, EveryStateAnswersEveryRequestAsItsRowSays) {
  for (int32_t from : kStates) {
    for (int32_t request : kStates) {
      Fresh();
      game->state = from;
      EXPECT_EQ(game->SetState(request), 1);
      EXPECT_EQ(game->state, Expected(from, request))
          << "from " << G::StateName(from) << " asked for " << G::StateName(request);
    }
  }
}

TEST_F(GameFixture, LeavingTheMenuReleasesItsPictureAndHidesItsButtons) {
  for (int32_t request : kStates) {
    Fresh();
    game->state = G::MainMenu;
    game->menuReady = 1;
    ZButton* a = AddMenuButton(14);
    ZButton* b = AddMenuButton(4);
    a->ShowWindow(platform::SW_SHOW);
    b->ShowWindow(platform::SW_SHOW);
    a->SetState(2);
    b->SetState(4);
    a->SetFocus();
    game->SetState(request);
    EXPECT_EQ(game->menuImage, nullptr);
    EXPECT_EQ(game->menuSurface, nullptr);
    EXPECT_EQ(game->menuReady, 0) << G::StateName(request);
    EXPECT_EQ(a->state, 0);
    EXPECT_EQ(b->state, 0);
    EXPECT_FALSE(a->IsWindowVisible());
    EXPECT_FALSE(b->IsWindowVisible());
    // Exiting hides the main window, which takes the focus with it.
    if (request != G::Exiting) { EXPECT_EQ(platform::GetFocus(), wnd) << G::StateName(request); }
  }
}

TEST_F(GameFixture, LeavingTheHuntStopsItsClocksAndScrolling) {
  for (int32_t request : kStates) {
    Fresh();
    game->state = G::Hunting;
    game->ambientLoopOn = 1;
    game->edgeScrollOn = 1;
    game->frameClockOn = 1;
    game->enteringHuntDone = 1;
    game->trophyRoomReady = 1;
    game->SetState(request);
    EXPECT_EQ(game->ambientLoopOn, 0) << G::StateName(request);
    EXPECT_EQ(game->edgeScrollOn, 0);
    EXPECT_EQ(game->frameClockOn, 0);
    bool accepted = request == G::MainMenu || request == G::TrophyRoom || request == G::Inactive;
    EXPECT_EQ(game->enteringHuntDone, accepted ? 0 : 1) << G::StateName(request);
    if (request == G::TrophyRoom) { EXPECT_EQ(game->trophyRoomReady, 0); }
    if (request == G::Inactive) { EXPECT_EQ(game->resumeState, G::EnteringHunt); }
    if (request == G::MainMenu) { EXPECT_EQ(game->menuReady, 0); }
  }
}

TEST_F(GameFixture, ExitingIgnoresEveryRequestAndPostsNothing) {
  game->state = G::Exiting;
  for (int32_t request : kStates) game->SetState(request);
  EXPECT_EQ(game->state, G::Exiting);
  EXPECT_TRUE(wnd->IsWindowVisible());
  EXPECT_FALSE(RunUntilQuit(20));  // nothing was posted, so nothing ends the loop
}

TEST_F(GameFixture, WithoutADisplayTheFrameClockIsRebasedEveryPass) {
  game->state = G::Hunting;
  game->frameClockOn = 1;
  backend->Advance(250);
  game->LoopPass();
  EXPECT_EQ(game->timer.nextTime, 1250u);
  EXPECT_EQ(game->timer.frameDue, 0);
}

TEST_F(GameFixture, CleanupReleasesTheGameObjectsOnceAndOnlyAfterDisplaySetUp) {
  game->hunter = std::make_unique<ZHunter>(game, wnd);
  game->map = std::make_unique<ZHuntingMap>(game, game->hunter.get());
  game->scene = std::make_unique<ZScene>(&game->worldSprites, game->map.get());
  AddMenuButton(14);
  game->graphicsReady = 0;
  game->Cleanup();  // nothing to do before the display was set up
  EXPECT_NE(game->hunter, nullptr);
  EXPECT_EQ(game->menuButtons.size(), 1u);

  game->graphicsReady = 1;
  Send(platform::WM_DESTROY);
  // Whoever dispatched the message may still be using the objects: they go at the end of the pass.
  EXPECT_NE(game->hunter, nullptr);
  EXPECT_EQ(game->menuButtons.size(), 1u);
  game->LoopPass();
  EXPECT_EQ(game->hunter, nullptr);
  EXPECT_EQ(game->map, nullptr);
  EXPECT_EQ(game->scene, nullptr);
  EXPECT_EQ(game->areaSpriteMap, nullptr);
  EXPECT_TRUE(game->menuButtons.empty());
  // The quit message was posted and the pass took it.
  EXPECT_EQ(game->running, 0);
  EXPECT_EQ(game->exitCode, 0);
  // A second destroy finds nothing left to release.
  game->hunter = std::make_unique<ZHunter>(game, wnd);
  Send(platform::WM_DESTROY);
  game->LoopPass();
  EXPECT_NE(game->hunter, nullptr);
}

TEST_F(GameFixture, AClosedGameTakesNoRequestsAndDoesNoStateWork) {
  ToMenu();
  Send(platform::WM_DESTROY);
  ASSERT_EQ(game->closed, 1);
  // A click on the hunt button still queued behind the close opens nothing; no request moves the game.
  platform::NotifyHeader click{game->huntButton, 14, platform::NM_CLICK};
  EXPECT_EQ(Send(platform::WM_NOTIFY, 14, reinterpret_cast<platform::LPARAM>(&click)), 0);
  EXPECT_EQ(game->setupDialogOpen, 0);
  for (int32_t request : kStates) game->SetState(request);
  EXPECT_EQ(game->state, G::MainMenu);
  // The menu is not built again over a closing window.
  game->menuReady = 0;
  game->Tick();
  EXPECT_EQ(game->menuReady, 0);
  EXPECT_TRUE(RunUntilQuit(3));
  EXPECT_EQ(game->graphics, nullptr);
}

TEST_F(GameFixture, EdgeScrollStepsFollowTheBands) {
  struct Case {
    int32_t x, y, dx, dy;
  };
  const Case cases[] = {
      {0, 240, -16, 0},  {5, 240, -16, 0},  {6, 240, -8, 0},   {17, 240, -4, 0},  {18, 240, -2, 0},
      {24, 240, -1, 0},  {25, 240, 0, 0},   {614, 240, 0, 0},  {615, 240, 1, 0},  {633, 240, 8, 0},
      {634, 240, 16, 0}, {639, 240, 16, 0}, {320, 0, 0, -8},   {320, 3, 0, -8},   {320, 4, 0, -4},
      {320, 11, 0, -2},  {320, 12, 0, -1},  {320, 13, 0, 0},   {320, 466, 0, 0},  {320, 467, 0, 1},
      {320, 475, 0, 4},  {320, 476, 0, 8},  {320, 479, 0, 8},  {0, 0, -16, -8},   {639, 479, 16, 8},
      {-50, 900, -16, 8},  // off-screen positions count as the nearest edge
  };
  for (const Case& c : cases) {
    int32_t dx = 99;
    int32_t dy = 99;
    G::EdgeScrollStep(c.x, c.y, &dx, &dy);
    EXPECT_EQ(dx, c.dx) << c.x << "," << c.y;
    EXPECT_EQ(dy, c.dy) << c.x << "," << c.y;
  }
}

TEST_F(GameFixture, ScrollViewCountsEdgeScrollingAsHunterMovementOnlyWhenOn) {
  game->hunter = std::make_unique<ZHunter>(game, wnd);
  platform::SetCursorPos(3, 470);
  game->lookDX = 5;
  game->lookDY = -2;
  game->edgeScrollOn = 0;
  game->ScrollView();
  EXPECT_EQ(game->hunter->viewMovement, 0);
  EXPECT_EQ(game->lookDX, 5);  // untouched while scrolling is off
  game->edgeScrollOn = 1;
  game->ScrollView();
  EXPECT_EQ(game->hunter->viewMovement, 16 + 2);
  EXPECT_EQ(game->lookDX, 0);
  EXPECT_EQ(game->lookDY, 0);
}

TEST_F(GameFixture, RandomSoundsNeedTheSoundSystemBeforeAnyDraw) {
  platform::srand(1);
  EXPECT_EQ(game->PlayRandomSound(141, 100), 0);
  EXPECT_EQ(platform::rand(), 41);  // no draw was taken
  // Ambient checks are at least 5 s apart, counted from construction.
  game->lastAmbientTick = 1000;
  backend->Advance(5000);
  game->PlayAmbientSounds();
  EXPECT_EQ(game->lastAmbientTick, 1000u);
  EXPECT_EQ(game->ambientLoopOn, 0);
  backend->Advance(1);
  game->PlayAmbientSounds();
  EXPECT_EQ(game->lastAmbientTick, 6001u);
  EXPECT_EQ(game->ambientLoopOn, 1);
}

TEST_F(GameFixture, LoadAreaRefusesAHuntOutsideTheFive) {
  game->areaIndex = 5;
  EXPECT_EQ(game->LoadArea(), 0);
  game->areaIndex = -1;
  EXPECT_EQ(game->LoadArea(), 0);
  EXPECT_EQ(game->areaSurface, nullptr);
}

// --- messages ---

TEST_F(GameFixture, EscapeEndsTheProgramFromTheMenuLeavesTheTrophyRoomAndIsIgnoredElsewhere) {
  for (int32_t s : {G::MainMenu, G::TrophyRoom, G::Hunting, G::EnteringHunt, G::Inactive,
                    G::Initializing, G::Exiting}) {
    Fresh();
    game->state = s;
    Send(platform::WM_KEYDOWN, platform::VK_ESCAPE);
    const int32_t want = s == G::MainMenu ? G::Exiting : s == G::TrophyRoom ? G::MainMenu : s;
    EXPECT_EQ(game->state, want) << G::StateName(s);
  }
}

TEST_F(GameFixture, ARepeatedActivationDoesNotDisturbARunningHunt) {
  game->state = G::Hunting;
  game->frameClockOn = 1;
  game->edgeScrollOn = 1;
  game->resumeState = G::EnteringHunt;  // left over from an earlier pause
  Send(platform::WM_ACTIVATEAPP, 1);
  EXPECT_EQ(game->state, G::Hunting);
  EXPECT_EQ(game->frameClockOn, 1);
  EXPECT_EQ(game->edgeScrollOn, 1);
}

}  // namespace
