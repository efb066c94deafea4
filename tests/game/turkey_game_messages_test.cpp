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

}  // namespace
