// The game: the SDL2 backend, then the application's start-up and the game's loop.
#include <cstdio>
#include <string>

#include "game/command_line.h"
#include "game/turkey_app.h"
#include "platform/backend.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/window.h"

int main(int argc, char** argv) {
  if (PrintRequestedInformation(argc, argv, stdout)) return 0;
  // The application name is the executable's base name: captions and the profile key use it.
  std::string name = (argv != nullptr && argv[0] != nullptr) ? argv[0] : "brushfeather";
  size_t slash = name.find_last_of('/');
  if (slash != std::string::npos) name = name.substr(slash + 1);
  if (name.empty()) name = "brushfeather";
  platform::SetApplicationName(name);

  platform::SdlBackend backend;
  platform::SetBackend(&backend);
  int exitCode = 0;
  {
    ZTurkeyApp app;
    app.InitInstance();
    exitCode = app.Run();
  }
  platform::ResetWindowSystem();
  platform::SetBackend(nullptr);
  return exitCode;
}
