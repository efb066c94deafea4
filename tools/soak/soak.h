// The soak's two halves that need no process: random input scripts biased toward every screen's
// controls, and the verdict on one run of the replay driver (events run, states reached, failure).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace soak {

// A point the scripts aim at: a control of some screen. Adding a screen's control is one line in
// kTargets (soak.cpp); `weight` is how often it is picked among the targets.
struct Target {
  const char* what;
  int32_t x;
  int32_t y;
  int32_t weight;
};
// A key the scripts press, by its replay name; adding a key is one line in kKeys (soak.cpp).
struct Key {
  const char* name;
  int32_t weight;
};
const std::vector<Target>& Targets();
const std::vector<Key>& Keys();

// One generated script. Every command line is one event; a click or a key is one event though the
// replay holds the button or key down for a moment.
struct Script {
  uint32_t seed = 0;
  std::string text;
  std::vector<int> eventLines;  // 1-based line of each event, in order
  bool closedByHost = false;    // it ends with `close` rather than the driver's WM_DESTROY
};

// A script of about `events` events (the last action may add a few) for the game seeded with `seed`;
// the same seed gives the same script.
Script Generate(uint32_t seed, int events);

// How one run of brushfeather-replay went.
struct Verdict {
  int eventsRun = 0;                // events before the line the game never reached
  std::vector<std::string> states;  // names of the states entered, in order
  bool failed = false;
  std::string why;                  // for a failure: what gave it away
};

// Reads the replay's output. `exited` and `status` are as waitpid tells them (exit code, or the
// signal when it did not exit); `timedOut` when the soak had to stop it. A run fails on a sanitizer
// report, a crash or a signal, an exit status other than 0, a stop for time, or a game that did not
// end when its window was closed.
Verdict Judge(const Script& script, const std::string& out, const std::string& err, bool exited, int status,
              bool timedOut);

// Totals over many runs.
struct Tally {
  int scripts = 0;
  long long events = 0;
  int findings = 0;
  std::map<std::string, int> scriptsReaching;  // state -> scripts that entered it
  std::map<std::string, long long> entries;    // state -> times entered, over all scripts
  void Add(const Verdict& v);
  // "state NAME: S scripts, E entries" for every state seen, in the game's own order.
  std::vector<std::string> StateLines() const;
};

}  // namespace soak
