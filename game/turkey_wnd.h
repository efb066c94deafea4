// ZTurkeyWnd: the game's full-screen main window; once linked, every message goes to the game.
#pragma once

#include "framework/ui/main_wnd.h"

class ZTurkeyGame;

class ZTurkeyWnd : public ZMainWnd {
  Z_DECLARE_CLASS(ZTurkeyWnd)

 public:
  // Registers the window class and creates the top-most pop-up over the whole screen; true on success.
  bool Create();
  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;
  bool DestroyWindow() override;

  ZTurkeyGame* game = nullptr;
};
