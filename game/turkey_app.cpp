// ZTurkeyApp: start-up order of the program and its end.
#include "game/turkey_app.h"

#include "game/turkey_game.h"
#include "game/turkey_wnd.h"
#include "platform/profile.h"

ZTurkeyApp::ZTurkeyApp() = default;

ZTurkeyApp::~ZTurkeyApp() {
  // The window object forgets its handle first, so deleting it sends nothing to a game being torn down.
  if (window != nullptr) {
    window->game = nullptr;
    window->Detach();
  }
  if (game != nullptr) game->mainWindow = nullptr;
  window.reset();
  game.reset();
}

bool ZTurkeyApp::InitInstance() {
  // First: the game's constructor below reads the profile kept under this key and the application name.
  platform::SetRegistryKey(kRegistryKey);
  window = std::make_unique<ZTurkeyWnd>();
  window->Create();  // not checked: a display failure is reported by the game
  game = std::make_unique<ZTurkeyGame>();
  game->mainWindow = window.get();
  window->game = game.get();
  window->ShowWindow(platform::SW_SHOWNORMAL);
  return true;
}

int32_t ZTurkeyApp::Run() { return game != nullptr ? game->Run() : 0; }
