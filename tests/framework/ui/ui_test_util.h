// Shared pieces of the window and control tests: a display, a controls sprite map, sounds and a listening parent.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/viewport.h"
#include "framework/sound/dx_sound.h"
#include "framework/ui/button.h"
#include "framework/ui/wnd.h"
#include "platform/sound.h"
#include "tests/framework/graphics/gfx_test_util.h"

namespace uitest {

// Sprites of the test art, with one solid colour per look so the screen shows which frame is up.
// Frames are stored in the order highlighted, normal, pressed (the order of bits 4, 2, 8).
constexpr int32_t kMask14Sprite = 0;  // 40 highlighted, 41 normal, 42 pressed
constexpr int32_t kMask10Sprite = 1;  // 51 normal, 52 pressed
constexpr int32_t kMask6Sprite = 2;   // 60 highlighted, 61 normal
constexpr int32_t kHoledSprite = 3;   // one frame of 70 with a transparent (index 1) left half
constexpr int32_t kSpriteW = 20;
constexpr int32_t kSpriteH = 10;
constexpr uint8_t kBackdrop = 5;  // the picture under the controls
constexpr int32_t kPressSound = 139;
constexpr int32_t kHighlightSound = 140;

// A top-level window that keeps what it is told: notifications and every other message.
class ListeningWnd : public ZWnd {
 public:
  struct Heard {
    uint32_t message;
    platform::WPARAM wParam;
    int32_t code;  // for WM_NOTIFY
  };
  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override {
    const bool note = message == platform::WM_NOTIFY && lParam != 0;
    heard.push_back({message, wParam, note ? reinterpret_cast<const platform::NotifyHeader*>(lParam)->code : 0});
    return DefWindowProc(message, wParam, lParam);
  }
  // The notification codes heard, in order.
  std::vector<int32_t> Codes() const {
    std::vector<int32_t> codes;
    for (const Heard& h : heard) {
      if (h.message == platform::WM_NOTIFY) codes.push_back(h.code);
    }
    return codes;
  }
  int Count(uint32_t message, platform::WPARAM wParam) const {
    int n = 0;
    for (const Heard& h : heard) n += (h.message == message && h.wParam == wParam) ? 1 : 0;
    return n;
  }
  std::vector<Heard> heard;
};

class UiFixture : public gfxtest::GraphicsFixture {
 protected:
  void SetUp() override {
    gfxtest::GraphicsFixture::SetUp();
    if (HasFatalFailure()) return;
    using gfxtest::SolidFrame;
    std::vector<gfxtest::MapFrame> frames = {
        SolidFrame(0, kMask14Sprite, 0, 0, kSpriteW, kSpriteH, 40),
        SolidFrame(1, kMask14Sprite, 20, 0, kSpriteW, kSpriteH, 41),
        SolidFrame(2, kMask14Sprite, 40, 0, kSpriteW, kSpriteH, 42),
        SolidFrame(3, kMask10Sprite, 0, 10, kSpriteW, kSpriteH, 51),
        SolidFrame(4, kMask10Sprite, 20, 10, kSpriteW, kSpriteH, 52),
        SolidFrame(5, kMask6Sprite, 0, 20, kSpriteW, kSpriteH, 60),
        SolidFrame(6, kMask6Sprite, 20, 20, kSpriteW, kSpriteH, 61),
        gfxtest::PatternFrame(7, kHoledSprite, 0, 30, kSpriteW, kSpriteH,
                              [](int32_t u, int32_t) { return u < kSpriteW / 2 ? 1 : 70; }),
    };
    std::vector<uint8_t> bytes = gfxtest::BuildSpriteMap(64, 40, 1, frames);
    spriteMap = std::make_unique<ZSpriteMap>();
    ASSERT_EQ(spriteMap->LoadBytes(bytes.data(), bytes.size()), 1);
    controls = std::make_unique<ZSurface>();
    ASSERT_EQ(controls->CreateFromSpriteMap(graphics.get(), spriteMap.get()), 1);
    backdrop = MakeSurface(640, 480, kBackdrop);
    const platform::Rect whole{0, 0, 640, 480};
    view = std::make_unique<ZViewport>(graphics.get(), backdrop.get(), graphics->GetBackSurface(), &whole, 0, 0);
    parent = std::make_unique<ListeningWnd>();
    ASSERT_TRUE(parent->CreateEx(0, platform::RegisterWindowClass(platform::WindowClass{}), "parent",
                                 platform::WS_POPUP | platform::WS_VISIBLE, whole, nullptr, 0));
    sound = std::make_unique<ZDXSound>();
    const int32_t ids[] = {kPressSound, kHighlightSound};
    ASSERT_EQ(sound->Init(ids, 2, nullptr, ZDXSound::kBufferFlags, nullptr), 1);
  }
  void TearDown() override {
    buttons.clear();
    parent.reset();
    view.reset();
    backdrop.reset();
    controls.reset();
    spriteMap.reset();
    sound.reset();
    gfxtest::GraphicsFixture::TearDown();
  }

  // A sprite of the test art at (x, y), drawn through `through` (the full-screen view by default).
  std::unique_ptr<ZSprite> Sprite(int32_t spriteId, int32_t x, int32_t y, ZViewport* through = nullptr) {
    auto s = std::make_unique<ZSprite>(x, y, 0, controls.get(), spriteId, spriteMap.get());
    s->SetTargets(graphics->GetFrontSurface(), through != nullptr ? through : view.get());
    return s;
  }
  // A shown button of type T made with the test art, sounds 139 on pressing and 140 on highlighting.
  template <typename T = ZButton>
  T* Make(int32_t spriteId, int32_t mask, uint32_t id, int32_t x = 100, int32_t y = 100,
          platform::Window* under = nullptr, ZViewport* through = nullptr, bool highlightSound = true) {
    auto b = std::make_unique<T>();
    EXPECT_EQ(b->Create(graphics.get(), mask, Sprite(spriteId, x, y, through), under != nullptr ? under : parent.get(),
                        id, sound.get()),
              1);
    b->SetStateSound(ZButton::kStatePressed, kPressSound);
    if (highlightSound) b->SetStateSound(ZButton::kStateHighlighted, kHighlightSound);
    b->ShowWindow(platform::SW_SHOW);
    T* raw = b.get();
    buttons.push_back(std::move(b));
    return raw;
  }

  // Whether a sound is playing now; Quiet stops both so the next check sees only what follows.
  bool Playing(int32_t id) {
    uint32_t status = 0;
    sound->GetStatus(id, &status);
    return (status & platform::DSBSTATUS_PLAYING) != 0;
  }
  void Quiet() {
    sound->Stop(kPressSound);
    sound->Stop(kHighlightSound);
  }
  uint8_t Front(int32_t x, int32_t y) { return At(graphics->GetFrontSurface(), x, y); }
  uint8_t Back(int32_t x, int32_t y) { return At(graphics->GetBackSurface(), x, y); }

  void Send(platform::Window* w, uint32_t message, platform::WPARAM wParam = 0, platform::LPARAM lParam = 0) {
    platform::SendMessage(w, message, wParam, lParam);
  }
  // Mouse messages in the button's own coordinates.
  void MouseMove(platform::Window* w, int32_t x, int32_t y, bool leftHeld = false) {
    Send(w, platform::WM_MOUSEMOVE, leftHeld ? platform::MK_LBUTTON : 0, platform::MakeLParam(x, y));
  }
  void Click(platform::Window* w) {
    Send(w, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::MakeLParam(1, 1));
    Send(w, platform::WM_LBUTTONUP, 0, platform::MakeLParam(1, 1));
  }
  // Delivers whatever has been posted (keys passed on to parents).
  void DrainQueue() {
    platform::Msg msg;
    for (int i = 0; i < 100 && platform::PeekMessage(&msg, nullptr, 0, 0, platform::PM_REMOVE); ++i) {
      platform::DispatchMessage(&msg);
    }
  }

  std::unique_ptr<ZSpriteMap> spriteMap;
  std::unique_ptr<ZSurface> controls;
  std::unique_ptr<ZSurface> backdrop;
  std::unique_ptr<ZViewport> view;
  std::unique_ptr<ListeningWnd> parent;
  std::unique_ptr<ZDXSound> sound;
  std::vector<std::unique_ptr<ZButton>> buttons;
};

}  // namespace uitest
