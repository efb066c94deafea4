// ZTurkeyGame::HandleMessage: keys, menu notifications, focus, activation and the window's hand-over.
#include <gtest/gtest.h>

#include "game/hunt_setup_dialog.h"
#include "tests/game/game_fixture.h"

namespace {

using gametest::GameFixture;
using gametest::RecordingWnd;
using G = ZTurkeyGame;

TEST_F(GameFixture, EscapeEndsTheProgramFromTheMenuAndLeavesTheTrophyRoom) {
  game->state = G::MainMenu;
  Send(platform::WM_KEYDOWN, platform::VK_ESCAPE);
  EXPECT_EQ(game->state, G::Exiting);
  EXPECT_TRUE(RunUntilQuit(10));

  Fresh();
  game->state = G::TrophyRoom;
  Send(platform::WM_KEYDOWN, platform::VK_ESCAPE);
  EXPECT_EQ(game->state, G::MainMenu);

  for (int32_t s : {G::Hunting, G::EnteringHunt, G::Inactive, G::Initializing, G::Exiting}) {
    Fresh();
    game->state = s;
    Send(platform::WM_KEYDOWN, platform::VK_ESCAPE);
    EXPECT_EQ(game->state, s) << G::StateName(s);
  }
}

TEST_F(GameFixture, AnyKeyCutsTheStartShort) {
  game->state = G::Starting;
  game->startingDone = 1;
  Send(platform::WM_KEYDOWN, 'A');
  EXPECT_EQ(game->state, G::StartupDone);
  Send(platform::WM_KEYDOWN, platform::VK_ESCAPE);
  EXPECT_EQ(game->state, G::Initializing);
  // Keys in the menu do nothing but Escape's work.
  Fresh();
  game->state = G::MainMenu;
  Send(platform::WM_KEYDOWN, platform::VK_SPACE);
  EXPECT_EQ(game->state, G::MainMenu);
}

TEST_F(GameFixture, EscapeInTheTrophyRoomIsNotAlsoTakenAsAStartKey) {
  // The start keys are judged on the state after Escape's own work, which is the menu here.
  game->state = G::TrophyRoom;
  Send(platform::WM_KEYDOWN, platform::VK_ESCAPE);
  EXPECT_EQ(game->state, G::MainMenu);
  EXPECT_TRUE(wnd->IsWindowVisible());
}

TEST_F(GameFixture, PlainReturnValuesOfTheTable) {
  EXPECT_EQ(Send(platform::WM_ERASEBKGND), 1);
  EXPECT_EQ(Send(platform::WM_RBUTTONDOWN), 0);
  EXPECT_EQ(Send(platform::WM_RBUTTONUP), 0);
  EXPECT_EQ(Send(platform::WM_ACTIVATEAPP, 0), 0);
  EXPECT_EQ(Notify(nullptr, platform::NM_CLICK), 0);
  game->state = G::MainMenu;
  EXPECT_EQ(Send(platform::WM_KILLFOCUS), 0);
  EXPECT_EQ(Send(platform::WM_SETFOCUS), 0);
}

TEST_F(GameFixture, PaintValidatesWithoutDrawing) {
  wnd->InvalidateRect(nullptr);
  platform::Rect r;
  ASSERT_TRUE(wnd->GetUpdateRect(&r));
  EXPECT_EQ(Send(platform::WM_PAINT), 0);
  EXPECT_FALSE(wnd->GetUpdateRect(&r));
}

TEST_F(GameFixture, MenuButtonClicksByControlId) {
  game->state = G::MainMenu;
  RecordingWnd* other = Child(99);
  Notify(other, platform::NM_CLICK);  // unknown id: nothing
  EXPECT_EQ(game->state, G::MainMenu);

  RecordingWnd* trophy = Child(12);
  Notify(trophy, platform::NM_CLICK);
  EXPECT_EQ(game->state, G::TrophyRoom);

  Fresh();
  game->state = G::MainMenu;
  RecordingWnd* exit = Child(4);
  Notify(exit, platform::NM_CLICK);
  EXPECT_EQ(game->state, G::Exiting);
  EXPECT_TRUE(RunUntilQuit(10));

  // Clicks count only in the menu.
  Fresh();
  game->state = G::TrophyRoom;
  Notify(Child(4), platform::NM_CLICK);
  EXPECT_EQ(game->state, G::TrophyRoom);
}

TEST_F(GameFixture, CancelledHuntSetupBringsTheMenuBack) {
  game->state = G::MainMenu;
  game->menuReady = 1;
  ZButton* hunt = AddMenuButton(14);
  hunt->ShowWindow(platform::SW_SHOW);
  hunt->SetState(8);
  Notify(hunt, platform::NM_CLICK);
  EXPECT_EQ(game->state, G::MainMenu);
  EXPECT_EQ(game->setupDialogOpen, 0);
  EXPECT_EQ(game->setupDialog, nullptr);
  EXPECT_EQ(game->menuReady, 0);  // rebuilt by the next Tick
  EXPECT_EQ(hunt->state, 0);
  EXPECT_FALSE(hunt->IsWindowVisible());
  EXPECT_EQ(platform::GetFocus(), wnd);
}

TEST_F(GameFixture, OnlyOneMenuButtonIsHighlighted) {
  game->state = G::MainMenu;
  RecordingWnd* a = Child(14);
  RecordingWnd* b = Child(12);
  Notify(a, platform::NM_SETFOCUS);
  EXPECT_EQ(game->focusedButton, a);
  EXPECT_EQ(a->Count(platform::WM_KILLFOCUS), 0);
  Notify(b, platform::NM_SETFOCUS);
  EXPECT_EQ(game->focusedButton, b);
  ASSERT_EQ(a->Count(platform::WM_KILLFOCUS), 1);
  EXPECT_EQ(a->messages.back().second, reinterpret_cast<platform::WPARAM>(wnd));

  // Over the bare window the highlight goes, unless the setup dialog runs.
  game->setupDialogOpen = 1;
  Send(platform::WM_MOUSEMOVE, 0, platform::MakeLParam(10, 10));
  EXPECT_EQ(game->focusedButton, b);
  game->setupDialogOpen = 0;
  Send(platform::WM_MOUSEMOVE, 0, platform::MakeLParam(10, 10));
  EXPECT_EQ(game->focusedButton, nullptr);
  EXPECT_EQ(b->Count(platform::WM_KILLFOCUS), 1);

  // Outside the menu the notifications are ignored.
  game->state = G::TrophyRoom;
  Notify(a, platform::NM_SETFOCUS);
  EXPECT_EQ(game->focusedButton, nullptr);
}

TEST_F(GameFixture, FocusComingBackInTheMenuClearsTheButtonThatHadIt) {
  game->state = G::MainMenu;
  RecordingWnd* button = Child(14);
  Send(platform::WM_SETFOCUS, reinterpret_cast<platform::WPARAM>(button));
  ASSERT_EQ(button->Count(platform::WM_KILLFOCUS), 1);
  EXPECT_EQ(button->messages.back().second, reinterpret_cast<platform::WPARAM>(wnd));
  // Outside the menu the default handling applies and nothing is sent.
  game->state = G::Hunting;
  Send(platform::WM_SETFOCUS, reinterpret_cast<platform::WPARAM>(button));
  EXPECT_EQ(button->Count(platform::WM_KILLFOCUS), 1);
}

TEST_F(GameFixture, DeactivationMinimisesAndReactivationResumesTheMenu) {
  game->state = G::MainMenu;
  game->menuReady = 1;
  Send(platform::WM_ACTIVATEAPP, 0);
  EXPECT_EQ(game->state, G::Inactive);
  EXPECT_EQ(game->resumeState, G::MainMenu);
  EXPECT_TRUE(wnd->IsMinimized());
  // A second deactivation changes nothing.
  Send(platform::WM_ACTIVATEAPP, 0);
  EXPECT_EQ(game->resumeState, G::MainMenu);
  Send(platform::WM_ACTIVATEAPP, 1);
  EXPECT_EQ(game->state, G::MainMenu);
  EXPECT_EQ(game->menuReady, 0);
  EXPECT_FALSE(wnd->IsMinimized());
  EXPECT_TRUE(wnd->IsWindowVisible());
}

TEST_F(GameFixture, AHuntInterruptedByDeactivationResumesThroughEnteringHunt) {
  game->state = G::Hunting;
  game->frameClockOn = 1;
  game->edgeScrollOn = 1;
  game->enteringHuntDone = 1;
  Send(platform::WM_ACTIVATEAPP, 0);
  EXPECT_EQ(game->state, G::Inactive);
  EXPECT_EQ(game->resumeState, G::EnteringHunt);
  EXPECT_EQ(game->frameClockOn, 0);
  Send(platform::WM_ACTIVATEAPP, 1);
  EXPECT_EQ(game->state, G::EnteringHunt);
  EXPECT_EQ(game->enteringHuntDone, 0);
  EXPECT_EQ(game->frameClockOn, 1);
  EXPECT_EQ(game->edgeScrollOn, 1);
}

TEST_F(GameFixture, TheTrophyRoomComesBackAfterDeactivation) {
  game->state = G::TrophyRoom;
  game->trophyRoomReady = 1;
  Send(platform::WM_ACTIVATEAPP, 0);
  EXPECT_EQ(game->resumeState, G::TrophyRoom);
  Send(platform::WM_ACTIVATEAPP, 1);
  EXPECT_EQ(game->state, G::TrophyRoom);
  EXPECT_EQ(game->trophyRoomReady, 0);
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

// A setup dialog stand-in that records the activation message the game forwards.
class RecordingSetupDialog : public ZHuntSetupDialog {
 public:
  RecordingSetupDialog() : ZHuntSetupDialog(nullptr, nullptr, nullptr, nullptr, nullptr) {}
  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override {
    if (message == platform::WM_ACTIVATEAPP) activations.push_back(wParam);
    return DefWindowProc(message, wParam, lParam);
  }
  std::vector<platform::WPARAM> activations;
};

TEST_F(GameFixture, DeactivationTellsARunningSetupDialog) {
  RecordingSetupDialog dialog;
  platform::WindowClass cls;
  ASSERT_TRUE(dialog.CreateEx(0, platform::RegisterWindowClass(cls), "ZDialog Window", platform::WS_CHILD,
                              platform::Rect{0, 0, 50, 50}, wnd, 0));
  game->state = G::MainMenu;
  game->setupDialog = &dialog;
  Send(platform::WM_ACTIVATEAPP, 0);
  ASSERT_EQ(dialog.activations.size(), 1u);
  EXPECT_EQ(dialog.activations[0], 0u);
  EXPECT_EQ(game->state, G::Inactive);
  game->setupDialog = nullptr;
}

TEST_F(GameFixture, TheWindowHandsMessagesToTheGameOnlyOnceLinked) {
  game->state = G::MainMenu;
  wnd->game = nullptr;
  Send(platform::WM_KEYDOWN, platform::VK_ESCAPE);
  EXPECT_EQ(game->state, G::MainMenu);
  wnd->game = game;
  Send(platform::WM_KEYDOWN, platform::VK_ESCAPE);
  EXPECT_EQ(game->state, G::Exiting);
}

TEST_F(GameFixture, MainWindowCoversTheScreenOnTop) {
  EXPECT_TRUE(wnd->IsCreated());
  platform::Rect r = wnd->GetWindowRect();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, platform::GetSystemMetrics(platform::SM_CXSCREEN));
  EXPECT_EQ(r.bottom, platform::GetSystemMetrics(platform::SM_CYSCREEN));
  EXPECT_EQ(wnd->GetExStyle() & platform::WS_EX_TOPMOST, platform::WS_EX_TOPMOST);
  EXPECT_EQ(wnd->GetStyle() & platform::WS_POPUP, platform::WS_POPUP);
  EXPECT_EQ(wnd->GetWindowText(), "Brushfeather");
  EXPECT_TRUE(wnd->IsKindOf(&ZMainWnd::classRecord));
  EXPECT_TRUE(wnd->IsKindOf(&CWnd::classRecord));
  EXPECT_STREQ(wnd->GetRuntimeClass()->className, "ZTurkeyWnd");
  EXPECT_EQ(ZWndCast<ZTurkeyWnd>(wnd), wnd);
  EXPECT_EQ(ZWndCast<ZButton>(wnd), nullptr);
}

}  // namespace
