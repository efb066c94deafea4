// --help and --version: the only arguments the game answers; it starts the same way with any others.
#include "game/command_line.h"

#include <cstring>

#ifndef BF_VERSION
#define BF_VERSION "unknown"
#endif

namespace {

constexpr const char* kHelp =
    "Usage: brushfeather [--help | --version]\n"
    "\n"
    "Brushfeather, a first-person wild-turkey hunting game. It takes no other options.\n"
    "\n"
    "Mouse: turn at the screen's edges, click the buttons; Aim raises the shotgun, the left button\n"
    "fires. F10 saves a screenshot, Alt+Enter switches between full screen and a window, Escape\n"
    "goes back and leaves the game from the main menu.\n"
    "\n"
    "Files: settings and trophies in $XDG_DATA_HOME/Brackwen Interactive/brushfeather/profile.ini\n"
    "(~/.local/share/... by default), screenshots in screenshots/ beside it.\n"
    "Environment: BRUSHFEATHER_WINDOWED=1 starts in a window; XDG_DATA_HOME and XDG_DATA_DIRS as\n"
    "usual. See brushfeather(6).\n";

}  // namespace

bool PrintRequestedInformation(int argc, const char* const* argv, std::FILE* out) {
  if (argv == nullptr || out == nullptr) return false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg == nullptr) continue;
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kHelp, out);
      return true;
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::fprintf(out, "brushfeather %s\n", BF_VERSION);
      return true;
    }
  }
  return false;
}
