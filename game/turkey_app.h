// ZTurkeyApp: the application: makes the main window and the game, links them and runs the game's loop.
#pragma once

#include <cstdint>
#include <memory>

class ZTurkeyWnd;
class ZTurkeyGame;

class ZTurkeyApp {
 public:
  // The profile lives under this company key and the application name.
  static constexpr const char* kRegistryKey = "Brackwen Interactive";

  ZTurkeyApp();
  ~ZTurkeyApp();
  ZTurkeyApp(const ZTurkeyApp&) = delete;
  ZTurkeyApp& operator=(const ZTurkeyApp&) = delete;

  // Start-up: window, game, link, show. Always true; set-up failures show later, from the game.
  bool InitInstance();
  // The game's loop; its exit code.
  int32_t Run();

  std::unique_ptr<ZTurkeyWnd> window;
  std::unique_ptr<ZTurkeyGame> game;
};
