// A game object with its main window on a fresh headless backend, for the game's tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "framework/ui/button.h"
#include "framework/ui/wnd.h"
#include "game/turkey_app.h"
#include "game/turkey_game.h"
#include "game/turkey_wnd.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/window.h"
#include "tests/platform/profile_sandbox.h"

namespace gametest {

// A child window that records what it is sent.
class RecordingWnd : public ZWnd {
 public:
  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override {
    messages.emplace_back(message, wParam);
    return DefWindowProc(message, wParam, lParam);
  }
  int Count(uint32_t message) const {
    int n = 0;
    for (const auto& m : messages) n += m.first == message ? 1 : 0;
    return n;
  }
  std::vector<std::pair<uint32_t, platform::WPARAM>> messages;
};

class GameFixture : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }
  void TearDown() override { Drop(); }

  void Drop() {
    extra.clear();
    app.reset();
    game = nullptr;
    wnd = nullptr;
    platform::ResetWindowSystem();
    platform::SetBackend(nullptr);
    backend.reset();
  }
  // A new backend (clock at 1000 ms, calendar 1), application, window and game.
  void Fresh() {
    Drop();
    backend = std::make_unique<platform::HeadlessBackend>(1000, 1);
    platform::SetBackend(backend.get());
    platform::SetApplicationName("brushfeather");
    app = std::make_unique<ZTurkeyApp>();
    app->InitInstance();
    game = app->game.get();
    wnd = app->window.get();
  }
  // Creates a child of the main window that records its messages.
  RecordingWnd* Child(uint32_t id) {
    auto w = std::make_unique<RecordingWnd>();
    platform::WindowClass cls;
    w->CreateEx(0, platform::RegisterWindowClass(cls), "child", platform::WS_CHILD, platform::Rect{0, 0, 10, 10},
                wnd, id);
    RecordingWnd* raw = w.get();
    extra.push_back(std::move(w));
    return raw;
  }
  // A menu button owned by the game, as CreateMenuButtons appends them.
  ZButton* AddMenuButton(uint32_t id) {
    auto b = std::make_unique<ZButton>();
    platform::WindowClass cls;
    b->CreateEx(0, platform::RegisterWindowClass(cls), "ZButton Window", platform::WS_CHILD,
                platform::Rect{330, 195, 430, 245}, wnd, id);
    ZButton* raw = b.get();
    game->menuButtons.push_back(std::move(b));
    return raw;
  }
  platform::LRESULT Send(uint32_t message, platform::WPARAM wParam = 0, platform::LPARAM lParam = 0) {
    return platform::SendMessage(wnd, message, wParam, lParam);
  }
  // Runs the loop from the start until the menu is built (the art is in the run directory).
  void ToMenu() {
    game->StartLoop();
    for (int i = 0; i < 2000 && !(game->state == ZTurkeyGame::MainMenu && game->menuReady == 1); ++i) {
      game->LoopPass();
      backend->Advance(1);
    }
    ASSERT_EQ(game->state, ZTurkeyGame::MainMenu);
    ASSERT_EQ(game->menuReady, 1);
  }
  // Runs loop passes, 1 ms apart, until the loop ends or `passes` have run; true when it ended.
  bool RunUntilQuit(int passes) {
    for (int i = 0; i < passes && game->running == 1; ++i) {
      game->LoopPass();
      backend->Advance(1);
    }
    return game->running == 0;
  }

  ProfileSandbox profile;  // first in, last out: the game reads and writes only here
  std::unique_ptr<platform::HeadlessBackend> backend;
  std::unique_ptr<ZTurkeyApp> app;
  ZTurkeyGame* game = nullptr;
  ZTurkeyWnd* wnd = nullptr;
  std::vector<std::unique_ptr<platform::Window>> extra;
};

}  // namespace gametest
