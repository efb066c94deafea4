// ZTurkeyGame: construction, the state table (every row), the loop and clean-up.
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

TEST_F(GameFixture, ConstructorSeedsFromCalendarReadsDefaultsAndTouchesNoDisplay) {
  EXPECT_EQ(game->state, G::Starting);
  EXPECT_EQ(game->resumeState, G::Inactive);
  EXPECT_EQ(game->loadedArea, -1);
  EXPECT_EQ(game->running, 1);
  EXPECT_EQ(game->frameClockOn, 0);
  EXPECT_EQ(game->graphicsReady, 0);
  EXPECT_EQ(game->graphics, nullptr);
  EXPECT_NE(game->areaSpriteMap, nullptr);
  EXPECT_EQ(game->framesPerSecond, 36u);
  EXPECT_EQ(game->lastAmbientTick, 1000u);
  EXPECT_EQ(game->playerName, "Field Scout");
  EXPECT_EQ(game->areaIndex, 1);
  EXPECT_EQ(game->mainWindow, wnd);
  EXPECT_EQ(wnd->game, game);
  EXPECT_FALSE(backend->DisplayOpen());
  // The calendar time (1) seeded the generator: its first draw after srand(1) is 41.
  EXPECT_EQ(platform::rand(), 41);
  EXPECT_STREQ(game->GetRuntimeClass()->className, "ZTurkeyGame");
  EXPECT_STREQ(game->GetRuntimeClass()->baseClass->className, "ZGame");
  EXPECT_EQ(game->GetRuntimeClass()->baseClass->baseClass, &ZObject::classRecord);
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

TEST_F(GameFixture, StartingAndStartupDoneResetTheirPhase) {
  game->state = G::Starting;
  game->startingDone = 1;
  game->stateStartTick = 777;
  game->SetState(G::StartupDone);
  EXPECT_EQ(game->startingDone, 0);
  EXPECT_EQ(game->stateStartTick, 0u);
  game->stateStartTick = 888;
  game->SetState(G::Initializing);
  EXPECT_EQ(game->state, G::Initializing);
  EXPECT_EQ(game->stateStartTick, 0u);
}

TEST_F(GameFixture, ShutdownHidesTheWindowAndEndsThroughDestroy) {
  game->state = G::Initializing;
  EXPECT_TRUE(wnd->IsWindowVisible());
  game->SetState(G::Exiting);
  EXPECT_EQ(game->state, G::Exiting);
  EXPECT_FALSE(wnd->IsWindowVisible());
  // The posted WM_DESTROY reaches the game, which posts the quit message with code 0.
  ASSERT_TRUE(RunUntilQuit(10));
  EXPECT_EQ(game->exitCode, 0);
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

TEST_F(GameFixture, MenuRequestsSetWhatTheNextScreenNeeds) {
  game->state = G::MainMenu;
  game->trophyRoomReady = 1;
  game->SetState(G::TrophyRoom);
  EXPECT_EQ(game->trophyRoomReady, 0);

  Fresh();
  game->state = G::MainMenu;
  game->resumeState = G::Hunting;
  game->SetState(G::Inactive);
  EXPECT_EQ(game->resumeState, G::MainMenu);

  Fresh();
  game->state = G::MainMenu;
  game->SetState(G::Exiting);
  EXPECT_FALSE(wnd->IsWindowVisible());
  EXPECT_TRUE(RunUntilQuit(10));
}

TEST_F(GameFixture, TrophyRoomLeavesForTheMenuOrInactive) {
  game->state = G::TrophyRoom;
  game->trophyRoomReady = 1;
  game->SetState(G::Hunting);  // not accepted, but the room is hidden and will be shown again
  EXPECT_EQ(game->state, G::TrophyRoom);
  EXPECT_EQ(game->trophyRoomReady, 0);

  game->trophyRoomReady = 1;
  game->menuReady = 1;
  game->SetState(G::MainMenu);
  EXPECT_EQ(game->state, G::MainMenu);
  EXPECT_EQ(game->menuReady, 0);
  EXPECT_EQ(platform::GetFocus(), wnd);

  Fresh();
  game->state = G::TrophyRoom;
  game->SetState(G::Inactive);
  EXPECT_EQ(game->resumeState, G::TrophyRoom);
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

TEST_F(GameFixture, EnteringHuntStartsTheClocksOnlyWhenTheHuntBegins) {
  for (int32_t request : kStates) {
    Fresh();
    game->state = G::EnteringHunt;
    game->enteringHuntDone = 1;
    game->frameClockOn = 0;
    game->edgeScrollOn = 0;
    game->SetState(request);
    EXPECT_EQ(game->enteringHuntDone, 0) << G::StateName(request);
    EXPECT_EQ(game->frameClockOn, request == G::Hunting ? 1 : 0);
    EXPECT_EQ(game->edgeScrollOn, request == G::Hunting ? 1 : 0);
  }
  Fresh();
  game->state = G::EnteringHunt;
  game->SetState(G::Exiting);
  EXPECT_TRUE(RunUntilQuit(10));
}

TEST_F(GameFixture, ReturningFromInactiveRestartsTheSavedScreen) {
  game->state = G::Inactive;
  game->menuReady = 1;
  game->SetState(G::MainMenu);
  EXPECT_EQ(game->menuReady, 0);

  Fresh();
  game->state = G::Inactive;
  game->trophyRoomReady = 1;
  game->SetState(G::TrophyRoom);
  EXPECT_EQ(game->trophyRoomReady, 0);

  for (int32_t request : {G::Hunting, G::EnteringHunt}) {
    Fresh();
    game->state = G::Inactive;
    game->enteringHuntDone = 1;
    game->SetState(request);
    EXPECT_EQ(game->state, G::EnteringHunt);
    EXPECT_EQ(game->enteringHuntDone, 0);
    EXPECT_EQ(game->frameClockOn, 1);
    EXPECT_EQ(game->edgeScrollOn, 1);
  }
}

TEST_F(GameFixture, ExitingIgnoresEveryRequestAndPostsNothing) {
  game->state = G::Exiting;
  for (int32_t request : kStates) game->SetState(request);
  EXPECT_EQ(game->state, G::Exiting);
  EXPECT_TRUE(wnd->IsWindowVisible());
  EXPECT_FALSE(RunUntilQuit(20));  // nothing was posted, so nothing ends the loop
}

TEST_F(GameFixture, StartingLastsMoreThan500MsThenSetUpFailsWithTheGraphicsMessage) {
  backend->SetDisplayFails(true);
  game->StartLoop();
  game->LoopPass();  // first pass: the system description, and the phase starts now
  ASSERT_NE(game->systemInfo, nullptr);
  EXPECT_EQ(game->startingDone, 1);
  EXPECT_EQ(game->stateStartTick, 1000u);
  backend->Advance(500);
  game->LoopPass();
  EXPECT_EQ(game->state, G::Starting);  // exactly 500 ms is not enough
  backend->Advance(1);
  game->LoopPass();
  EXPECT_EQ(game->state, G::StartupDone);
  game->LoopPass();
  EXPECT_EQ(game->state, G::Initializing);
  game->LoopPass();  // Initialize: no display system, so set-up fails
  EXPECT_EQ(game->state, G::Exiting);
  EXPECT_EQ(game->graphics, nullptr);
  EXPECT_FALSE(wnd->IsWindowVisible());
  ASSERT_EQ(backend->MessageBoxes().size(), 1u);
  EXPECT_EQ(backend->MessageBoxes()[0].text, "ERROR: Graphics initialization failed.");
  EXPECT_EQ(backend->MessageBoxes()[0].caption, "brushfeather");
  EXPECT_EQ(backend->MessageBoxes()[0].flags, platform::MB_ICONEXCLAMATION | platform::MB_OK);
  EXPECT_EQ(game->timer.rate, 36);
  EXPECT_EQ(game->timer.interval, 27u);
  ASSERT_TRUE(RunUntilQuit(10));
  EXPECT_EQ(game->exitCode, 0);
}

TEST_F(GameFixture, RunReturnsTheQuitMessagesCode) {
  platform::PostQuitMessage(7);
  EXPECT_EQ(game->Run(), 7);
  EXPECT_EQ(game->running, 0);
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
  EXPECT_EQ(game->hunter, nullptr);
  EXPECT_EQ(game->map, nullptr);
  EXPECT_EQ(game->scene, nullptr);
  EXPECT_EQ(game->areaSpriteMap, nullptr);
  EXPECT_TRUE(game->menuButtons.empty());
  // A second destroy finds nothing left to release.
  game->hunter = std::make_unique<ZHunter>(game, wnd);
  Send(platform::WM_DESTROY);
  EXPECT_NE(game->hunter, nullptr);
  // Both destroys posted the quit message; the loop ends on the first.
  EXPECT_TRUE(RunUntilQuit(5));
  EXPECT_EQ(game->exitCode, 0);
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
  // An area outside 0..4 ends the step before the loop is started.
  game->ambientLoopOn = 0;
  game->areaIndex = 7;
  backend->Advance(5001);
  game->PlayAmbientSounds();
  EXPECT_EQ(game->lastAmbientTick, 11002u);
  EXPECT_EQ(game->ambientLoopOn, 0);
}

TEST_F(GameFixture, CancelledHuntSetupKeepsTheSettings) {
  game->playerName = "Ann";
  game->areaIndex = 3;
  EXPECT_EQ(game->RunHuntSetup(), 0);
  EXPECT_EQ(game->setupDialog, nullptr);
  EXPECT_EQ(game->playerName, "Ann");
  EXPECT_EQ(game->areaIndex, 3);
}

TEST_F(GameFixture, LoadAreaRefusesAHuntOutsideTheFive) {
  game->areaIndex = 5;
  EXPECT_EQ(game->LoadArea(), 0);
  game->areaIndex = -1;
  EXPECT_EQ(game->LoadArea(), 0);
  EXPECT_EQ(game->areaSurface, nullptr);
}

}  // namespace
