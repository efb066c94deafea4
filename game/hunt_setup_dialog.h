// ZHuntSetupDialog: the modal hunt setup dialog; minimal until the dialogs land, so it always ends
// as cancelled and the menu comes back.
#pragma once

#include <cstdint>
#include <string>

#include "framework/ui/wnd.h"

class ZTurkeyGame;
class ZGraphics;
class ZSurface;
class ZDXSound;

class ZHuntSetupDialog : public ZWnd {
 public:
  ZHuntSetupDialog(ZTurkeyGame* owner, ZGraphics* gfx, platform::Window* parent, ZSurface* controls,
                   ZDXSound* soundSystem)
      : game(owner), graphics(gfx), parentWindow(parent), controlsSurface(controls), sound(soundSystem) {}

  void SetTransparent(int32_t key) {
    transparent = 1;
    transparentKey = key;
  }
  int32_t DoModal() { return 2; }  // cancelled: no dialog to run yet

  std::string playerName;
  int32_t areaIndex = 0;
  int32_t transparent = 0;
  int32_t transparentKey = 0;
  ZTurkeyGame* game = nullptr;
  ZGraphics* graphics = nullptr;
  platform::Window* parentWindow = nullptr;
  ZSurface* controlsSurface = nullptr;
  ZDXSound* sound = nullptr;
};
