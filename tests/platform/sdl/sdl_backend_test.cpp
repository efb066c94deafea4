// The SDL backend on SDL's dummy video driver: the pointer leaving and entering the window reaches the
// game as input, so edge scrolling stops while it is outside; and the wait ends at once for an event.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/wait.h"
#include "platform/window.h"

namespace platform {
namespace {

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);  // asked for by name, so the backend accepts it
    setenv("BRUSHFEATHER_WINDOWED", "1", 1);
    if (!backend.OpenDisplay(640, 480)) GTEST_SKIP() << "SDL's dummy video driver is not available";
  }
  void TearDown() override {
    ResetWindowSystem();
    SetBackend(nullptr);
    backend.CloseDisplay();
    unsetenv("BRUSHFEATHER_WINDOWED");
    unsetenv("SDL_VIDEODRIVER");
  }
  static void PushWindowEvent(uint8_t what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }
  std::vector<InputEvent::Type> Drain() {
    std::vector<InputEvent::Type> types;
    InputEvent e;
    while (backend.PollEvent(&e)) types.push_back(e.type);
    return types;
  }

  SdlBackend backend;
};

using T = InputEvent::Type;

TEST_F(SdlBackendTest, ThePointerLeavingAndComingBackIsReportedOnceEach) {
  PushWindowEvent(SDL_WINDOWEVENT_LEAVE);
  PushWindowEvent(SDL_WINDOWEVENT_LEAVE);  // said twice by the host, reported once
  EXPECT_EQ(Drain(), (std::vector<T>{T::PointerLeave}));
  PushWindowEvent(SDL_WINDOWEVENT_ENTER);
  PushWindowEvent(SDL_WINDOWEVENT_ENTER);
  EXPECT_EQ(Drain(), (std::vector<T>{T::PointerEnter}));
}

TEST_F(SdlBackendTest, WhileThePointerIsOutsideGetCursorPosFailsSoNothingScrolls) {
  SetBackend(&backend);
  SetCursorPos(2, 240);  // the left edge, where the view would turn fastest
  Point p;
  EXPECT_TRUE(GetCursorPos(&p));
  PushWindowEvent(SDL_WINDOWEVENT_LEAVE);
  WakeNow();  // the pump takes the event without sleeping
  PeekMessage(nullptr, nullptr, 0, 0, PM_NOREMOVE);
  EXPECT_FALSE(GetCursorPos(&p));
  EXPECT_EQ(p.x, 2);  // where it was last seen
  PushWindowEvent(SDL_WINDOWEVENT_ENTER);
  WakeNow();
  PeekMessage(nullptr, nullptr, 0, 0, PM_NOREMOVE);
  EXPECT_TRUE(GetCursorPos(&p));
}

TEST_F(SdlBackendTest, TheWaitEndsAtOnceWhenAnEventIsWaiting) {
  Drain();
  PushWindowEvent(SDL_WINDOWEVENT_LEAVE);
  EXPECT_TRUE(backend.WaitForInput(60000));  // it would hang the test if it slept
  EXPECT_EQ(Drain(), (std::vector<T>{T::PointerLeave}));
}

}  // namespace
}  // namespace platform
