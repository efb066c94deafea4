// The replay engine: runs the real game on the headless backend from an input script, deterministically.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

class ZTurkeyGame;
namespace platform {
class HeadlessBackend;
}

namespace replay {

// One script line, already checked. A click is three commands (press, wait 50, release).
struct Command {
  enum class Kind {
    Seed, Wait, Move, Press, Release, KeyDown, KeyUp, Type, Deactivate, Activate, Leave, Enter, Close, Capture, Dump
  };
  Kind kind = Kind::Wait;
  int line = 0;        // 1-based line of the script
  int64_t value = 0;   // seed, milliseconds, x, or the button (0 left, 1 right)
  int64_t y = 0;       // move
  uint32_t key = 0;    // virtual-key code
  std::string text;    // typed text, or the capture file name
};

struct Script {
  uint32_t seed = 1;  // the first seed line before any other command, else 1
  std::vector<Command> commands;
  // The game starts as for a profile that has had the first hunt's introduction, so a script goes
  // from the setup dialog's OK straight into the hunt; false leaves it to the profile.
  bool introduced = true;
};

// Parses a script; on a malformed line returns false with `error` naming the line ("line 3: ...").
bool ParseScript(const std::string& text, Script* script, std::string* error);
// Key names of the script: Escape Enter Tab Space Shift Alt F1 F10 Backspace Delete Left Right Home End,
// or one letter or digit (either case). False for anything else.
bool KeyCode(const std::string& name, uint32_t* vk);

struct Result {
  int exitCode = 0;
  uint32_t endMs = 0;                  // script time when the game's loop returned
  std::vector<std::string> stateLines;  // "state 4 MainMenu at 1502", also written to the log
  std::vector<std::string> problems;    // captures that could not be written, lines never reached
  std::vector<std::vector<std::string>> dumps;  // the lines of each dump, also written to the log
};

// The hunt as the dump command prints it, one line each: every bird in list order
// ("bird INDEX state S next N facing F x X y Y weight W near 0|1", positions with two decimals),
// then "hunter alarm A attraction T", "weapon state S shells N" (or "weapon none") and
// "view X Y", the main viewport's offset (or "view none").
std::vector<std::string> DumpHunt(const ZTurkeyGame& game);

// Runs the game (application, window, game object: the real start-up) on `backend`, which must be
// the platform's current backend, fresh, with its clock at the script's start. Each run of the
// message pump advances the manual clock by 1 ms and carries out the script lines that are due, so
// the loop of the game, and any modal loop inside it, sees the same input at the same time on
// every run. At the end of the script the main window gets WM_DESTROY, as when it is closed, unless
// the script closed it itself with `close` (the host's close request: WM_CLOSE, which destroys it).
// State changes are written to `log` as they happen; captures go into `outDir`.
// `observe`, when given, is called on every run of the pump with the game and the script time.
using Observer = std::function<void(ZTurkeyGame& game, uint32_t ms)>;
Result Run(const Script& script, platform::HeadlessBackend* backend, const std::string& outDir, std::ostream* log,
           const Observer& observe = nullptr);

}  // namespace replay
