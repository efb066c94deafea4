// ZControlBar: building the bar from its art and passing its clicks and keys to the hunting screen.
#include "game/control_bar.h"

#include "framework/graphics/image.h"
#include "framework/graphics/surface.h"
#include "framework/ui/button.h"
#include "framework/ui/push_button.h"
#include "game/art_files.h"
#include "game/control_art.h"
#include "platform/module.h"
#include "platform/window.h"

namespace {

constexpr ZControlLayout kCall1Layout{6, 5, 0, ZControlBar::kCall1Id, 6, true};
constexpr ZControlLayout kCall2Layout{120, 5, 1, ZControlBar::kCall2Id, 6, true};
constexpr ZControlLayout kAimLayout{250, 5, 6, ZControlBar::kAimId, 10, false};
constexpr ZControlLayout kReturnLayout{520, 10, 5, ZControlBar::kReturnId, 6, true};

}  // namespace

ZControlBar::ZControlBar(ZGraphics* g, platform::Window* parent, ZSurface* controlsSurface, ZDXSound* sound) {
  backgroundImage = std::make_unique<ZImage>();
  const bool havePanel = backgroundImage->Load(art::kControlBarBitmapId, platform::GetOwnModule()) != 0;
  backgroundSurface = std::make_unique<ZSurface>();
  const bool haveSurface = havePanel && backgroundSurface->CreateFromImage(g, backgroundImage.get(), 0) != 0;
  const platform::Rect rect{0, kTop, 640, 480};
  if (Create(g, parent, &rect, 0, 0) == 0) return;
  callButton1 = std::make_unique<ZButton>();
  callButton2 = std::make_unique<ZButton>();
  aimButton = std::make_unique<ZPushButton>();
  returnButton = std::make_unique<ZButton>();
  bool ok = true;
  ok = MakeControlButton(callButton1.get(), kCall1Layout, g, controlsSurface, viewport.get(), this, sound) && ok;
  ok = MakeControlButton(callButton2.get(), kCall2Layout, g, controlsSurface, viewport.get(), this, sound) && ok;
  ok = MakeControlButton(aimButton.get(), kAimLayout, g, controlsSurface, viewport.get(), this, sound) && ok;
  ok = MakeControlButton(returnButton.get(), kReturnLayout, g, controlsSurface, viewport.get(), this, sound) && ok;
  AddControl(callButton1.get());
  AddControl(callButton2.get());
  AddControl(aimButton.get());
  AddControl(returnButton.get());
  if (haveSurface) SetBackground(backgroundSurface.get());
  built = (haveSurface && ok) ? 1 : 0;
}

ZControlBar::~ZControlBar() {
  returnButton.reset();
  callButton1.reset();
  callButton2.reset();
  aimButton.reset();
  backgroundSurface.reset();
  backgroundImage.reset();
}

platform::Window* ZControlBar::Owner() const {
  platform::Window* owner = GetOwner();
  return platform::IsWindow(owner) ? owner : GetParent();
}

platform::LRESULT ZControlBar::WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
  switch (message) {
    case platform::WM_SHOWWINDOW:
      if (wParam == 0) {
        // Hidden with the hunt: the plain buttons lose any highlight; the aim button keeps its state.
        for (ZButton* button : {callButton1.get(), callButton2.get(), returnButton.get()}) {
          if (button != nullptr) button->SetState(ZButton::kStateNormal);
        }
      }
      break;
    case platform::WM_ACTIVATEAPP:
      platform::SendMessage(Owner(), message, wParam, lParam);
      return 0;
    case platform::WM_NOTIFY:
    case platform::WM_KEYDOWN:
    case platform::WM_CHAR:
      platform::SendMessage(Owner(), message, wParam, lParam);
      break;
    case platform::WM_SYSKEYDOWN:
      if (wParam == platform::VK_F10) platform::SendMessage(Owner(), message, wParam, lParam);
      break;
    default:
      break;
  }
  return ZDialog::WindowProc(message, wParam, lParam);
}
