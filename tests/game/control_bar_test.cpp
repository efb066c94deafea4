// ZControlBar built on its own from the real art: what it passes on to its owner.
#include <gtest/gtest.h>

#include "game/control_bar.h"
#include "tests/game/menu_fixture.h"

namespace {

using B = ZButton;

class ControlBarTest : public gametest::MenuFixture {
 protected:
  void SetUp() override {
    gametest::MenuFixture::SetUp();
    if (HasFatalFailure()) return;
    // The hunting screen's stand-in: a full-screen window that records what the bar passes on.
    owner = Child(90);
    owner->MoveWindow(platform::Rect{0, 0, 640, 480}, false);
    owner->ShowWindow(platform::SW_SHOW);
    bar = std::make_unique<ZControlBar>(game->graphics.get(), owner, game->controlsSurface.get(), game->sound.get());
  }
  void TearDown() override {
    bar.reset();
    gametest::MenuFixture::TearDown();
  }
  void Show() {
    bar->ShowWindow(platform::SW_SHOWNORMAL);
    bar->UpdateWindow();
  }
  int Heard(uint32_t message) const { return owner->Count(message); }

  gametest::RecordingWnd* owner = nullptr;
  std::unique_ptr<ZControlBar> bar;
};

TEST_F(ControlBarTest, ClicksKeysAndActivationGoToTheOwner) {
  Show();
  B* call = bar->callButton2.get();
  platform::SendMessage(call, platform::WM_MOUSEMOVE, 0, platform::MakeLParam(3, 3));
  platform::SendMessage(call, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::MakeLParam(3, 3));
  platform::SendMessage(call, platform::WM_LBUTTONUP, 0, platform::MakeLParam(3, 3));
  // The pointer entering the second call, the first (which had the focus) letting go, the click.
  std::vector<platform::WPARAM> notices;
  for (const auto& m : owner->messages) {
    if (m.first == platform::WM_NOTIFY) notices.push_back(m.second);
  }
  EXPECT_EQ(notices, (std::vector<platform::WPARAM>{101, 100, 101}));
  platform::SendMessage(bar.get(), platform::WM_KEYDOWN, 'A', 0);
  platform::SendMessage(bar.get(), platform::WM_CHAR, 'a', 0);
  EXPECT_EQ(Heard(platform::WM_KEYDOWN), 1);
  EXPECT_EQ(Heard(platform::WM_CHAR), 1);
  // Activation is the owner's business alone; the bar answers 0.
  EXPECT_EQ(platform::SendMessage(bar.get(), platform::WM_ACTIVATEAPP, 0, 0), 0);
  EXPECT_EQ(Heard(platform::WM_ACTIVATEAPP), 1);
  // Of the system keys only F10 is passed on.
  platform::SendMessage(bar.get(), platform::WM_SYSKEYDOWN, platform::VK_F10, 0);
  platform::SendMessage(bar.get(), platform::WM_SYSKEYDOWN, 'X', 0);
  EXPECT_EQ(Heard(platform::WM_SYSKEYDOWN), 1);
  EXPECT_EQ(owner->messages.back().second, platform::VK_F10);
}

}  // namespace
