// Random input scripts biased toward every screen's controls, and the verdict on one replay run.
#include "tools/soak/soak.h"

#include <algorithm>
#include <random>
#include <sstream>

namespace soak {

namespace {

// Screen points of the controls, as a player finds them.
const std::vector<Target> kTargets = {
    // The title's buttons.
    {"title: hunt", 455, 221, 10},
    {"title: trophy room", 455, 291, 4},
    {"title: exit", 455, 361, 1},
    // The hunt setup dialog.
    {"setup: OK", 225, 383, 6},
    {"setup: Cancel", 400, 383, 2},
    {"setup: name field", 300, 112, 3},
    {"setup: hunt 1", 207, 176, 1},
    {"setup: hunt 2", 317, 176, 1},
    {"setup: hunt 3", 427, 176, 1},
    {"setup: hunt 4", 260, 256, 1},
    {"setup: hunt 5", 380, 256, 1},
    // The hunt's control bar.
    {"bar: box call", 60, 452, 5},
    {"bar: slate call", 175, 452, 5},
    {"bar: aim", 325, 452, 6},
    {"bar: back to the menu", 570, 452, 2},
    // The trophy room.
    {"trophy room: reset", 40, 455, 2},
    {"trophy room: leave", 600, 455, 2},
    // The question before Reset erases the trophies.
    {"reset question: OK", 235, 284, 2},
    {"reset question: Cancel", 405, 284, 2},
};

// Keys by their replay names. Escape leaves the menu (and the program), so it is not too frequent.
const std::vector<Key> kKeys = {
    {"Escape", 2}, {"Enter", 5},     {"Tab", 4},    {"Space", 3}, {"Shift", 1}, {"F10", 1}, {"Backspace", 3},
    {"Delete", 2}, {"Left", 2},      {"Right", 2},  {"Home", 1},  {"End", 1},   {"a", 1},   {"Z", 1},
    {"7", 1}, {"F1", 2},
};

// Names typed into the name field: plain, accented, other scripts, an emoji, a '#', a long one, and
// bytes that are not UTF-8 at all.
const char* const kTexts[] = {
    "Ann", "Field Scout", "\xC3\x89lodie M\xC3\xBCller", "\xC3\x98rjan", "\xE6\x97\xA5\xE6\x9C\xAC",
    "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1", "\xF0\x9F\xA6\x83 gobbler", "a#b", " spaced ", "x",
    "0123456789012345678901234567890123456789", "\xC3(\xFF\xFE bad",
};

class Writer {
 public:
  explicit Writer(uint32_t seed) : rng_(seed) {}

  int32_t Below(int32_t n) { return n <= 1 ? 0 : static_cast<int32_t>(rng_() % static_cast<uint32_t>(n)); }
  int32_t Between(int32_t lo, int32_t hi) { return lo + Below(hi - lo + 1); }
  bool Chance(int32_t percent) { return Below(100) < percent; }

  void Comment(const std::string& text) {
    text_ += "# " + text + "\n";
    ++line_;
  }
  void Event(const std::string& command) {
    text_ += command + "\n";
    ++line_;
    eventLines_.push_back(line_);
  }
  void Wait(int32_t ms) { Event("wait " + std::to_string(ms)); }
  void Move(int32_t x, int32_t y) {
    Event("move " + std::to_string(std::clamp(x, 0, 639)) + " " + std::to_string(std::clamp(y, 0, 479)));
  }
  int Events() const { return static_cast<int>(eventLines_.size()); }

  std::string text_;
  std::vector<int> eventLines_;

 private:
  std::mt19937 rng_;
  int line_ = 0;
};

template <typename T>
const T& PickWeighted(Writer& w, const std::vector<T>& items) {
  int32_t total = 0;
  for (const T& item : items) total += item.weight;
  int32_t at = w.Below(total);
  for (const T& item : items) {
    if (at < item.weight) return item;
    at -= item.weight;
  }
  return items.back();
}

void ClickTarget(Writer& w) {
  const Target& t = PickWeighted(w, kTargets);
  w.Move(t.x + w.Between(-6, 6), t.y + w.Between(-6, 6));
  w.Wait(w.Between(5, 40));
  w.Event(w.Chance(90) ? "click left" : "click right");
}

// The title's hunt button, a hunt and OK: the way into a hunt, taken whole.
void EnterHunt(Writer& w) {
  static const int32_t kArea[5][2] = {{207, 176}, {317, 176}, {427, 176}, {260, 256}, {380, 256}};
  const int32_t* area = kArea[w.Below(5)];
  w.Move(455, 221);
  w.Wait(20);
  w.Event("click left");
  w.Wait(40);
  w.Move(area[0], area[1]);
  w.Wait(10);
  w.Event("click left");
  w.Wait(30);
  w.Move(225, 383);
  w.Wait(10);
  w.Event("click left");
  w.Wait(500);
}

// The aim button, then shots and aiming moves around the view's centre.
void AimAndFire(Writer& w) {
  w.Move(325, 452);
  w.Wait(10);
  w.Event("click left");
  w.Wait(w.Between(300, 1200));
  for (int shots = w.Between(1, 5); shots > 0; --shots) {
    w.Move(320 + w.Between(-160, 160), 210 + w.Between(-120, 120));
    w.Wait(w.Between(10, 300));
    if (w.Chance(80)) {
      w.Event("click left");
    } else {
      w.Event("press left");
      w.Wait(w.Between(50, 800));
      w.Event("release left");
    }
    w.Wait(w.Between(50, 1500));
  }
}

void MoveAnywhere(Writer& w) { w.Move(w.Below(640), w.Below(480)); }

// The screen's edges scroll the hunt's view.
void MoveToEdge(Writer& w) {
  if (w.Chance(60)) {
    w.Move(w.Chance(50) ? w.Below(25) : 615 + w.Below(25), w.Below(480));
  } else {
    w.Move(w.Below(640), w.Chance(50) ? w.Below(13) : 467 + w.Below(13));
  }
  w.Wait(w.Between(100, 1500));
}

void ClickAnywhere(Writer& w) {
  MoveAnywhere(w);
  w.Wait(w.Between(0, 30));
  w.Event(w.Chance(70) ? "click left" : "click right");
}

void PressKey(Writer& w) { w.Event(std::string("key ") + PickWeighted(w, kKeys).name); }

void Chord(Writer& w) {
  const bool alt = w.Chance(50);  // Alt+Enter, else Shift+Tab
  w.Event(alt ? "keydown Alt" : "keydown Shift");
  w.Event(alt ? "key Enter" : "key Tab");
  w.Event(alt ? "keyup Alt" : "keyup Shift");
}

void TypeText(Writer& w) { w.Event(std::string("type ") + kTexts[w.Below(static_cast<int32_t>(std::size(kTexts)))]); }

void LeaveAndComeBack(Writer& w) {
  w.Event("deactivate");
  w.Wait(w.Between(10, 2000));
  if (w.Chance(20)) PressKey(w);  // input while away goes nowhere
  w.Event("activate");
}

// The pointer off the window and back: edge scrolling stops while it is away.
void PointerOutAndBack(Writer& w) {
  w.Event("leave");
  w.Wait(w.Between(10, 1500));
  w.Event("enter");
}

void LongWait(Writer& w) { w.Wait(w.Between(1000, 8000)); }

void Dump(Writer& w) { w.Event("dump"); }

struct Action {
  void (*emit)(Writer&);
  int32_t weight;
};
const std::vector<Action> kActions = {
    {ClickTarget, 30}, {EnterHunt, 5}, {AimAndFire, 8}, {MoveAnywhere, 8}, {MoveToEdge, 3},
    {ClickAnywhere, 5}, {PressKey, 15}, {Chord, 2},     {TypeText, 6},     {LeaveAndComeBack, 2},
    {LongWait, 3},     {Dump, 1},         {PointerOutAndBack, 1},
};

// The last action before the window closes: half the scripts open a screen just before it, so the
// close lands on every screen, dialogs included, and not mostly where random play happens to be.
void OpenSetupDialog(Writer& w) {
  w.Move(455, 221);
  w.Wait(w.Between(5, 40));
  w.Event("click left");
  w.Wait(w.Between(20, 200));
  if (w.Chance(50)) TypeText(w);
}
void VisitTrophyRoom(Writer& w) {
  w.Move(455, 291);
  w.Wait(w.Between(5, 40));
  w.Event("click left");
}
void OpenHelp(Writer& w) {
  if (w.Chance(50)) OpenSetupDialog(w);
  w.Wait(w.Between(20, 200));
  w.Event("key F1");
}
void AskToReset(Writer& w) {
  VisitTrophyRoom(w);
  w.Wait(w.Between(200, 600));
  w.Move(70, 455);
  w.Wait(w.Between(5, 40));
  w.Event("click left");
}
void HuntAndAim(Writer& w) {
  EnterHunt(w);
  if (w.Chance(70)) AimAndFire(w);
}
const std::vector<Action> kFinales = {
    {OpenSetupDialog, 4}, {VisitTrophyRoom, 1}, {HuntAndAim, 3}, {AimAndFire, 1}, {LeaveAndComeBack, 1},
    {OpenHelp, 2},        {AskToReset, 1},
};

// The game's states in its own order, so the summary reads like the game goes.
const char* const kStateOrder[] = {"Starting", "StartupDone",  "Initializing", "MainMenu", "TrophyRoom",
                                   "Hunting",  "EnteringHunt", "Inactive",     "Exiting"};

}  // namespace

const std::vector<Target>& Targets() { return kTargets; }
const std::vector<Key>& Keys() { return kKeys; }

Script Generate(uint32_t seed, int events) {
  Writer w(seed);
  Script s;
  s.seed = seed;
  w.Comment("brushfeather-soak script " + std::to_string(seed));
  w.Event("seed " + std::to_string(seed));
  w.Wait(w.Below(900));
  while (w.Events() < events) {
    PickWeighted(w, kActions).emit(w);
    w.Wait(w.Chance(80) ? w.Below(120) : w.Between(120, 1000));
  }
  if (w.Chance(50)) {
    PickWeighted(w, kFinales).emit(w);
    w.Wait(w.Chance(50) ? w.Below(100) : w.Between(100, 3000));
  }
  s.closedByHost = w.Chance(50);
  if (s.closedByHost) w.Event("close");
  s.text = std::move(w.text_);
  s.eventLines = std::move(w.eventLines_);
  return s;
}

Verdict Judge(const Script& script, const std::string& out, const std::string& err, bool exited, int status,
              bool timedOut) {
  Verdict v;
  v.eventsRun = static_cast<int>(script.eventLines.size());
  std::istringstream outLines(out);
  for (std::string line; std::getline(outLines, line);) {
    std::istringstream words(line);
    std::string word, number, name;
    if (words >> word >> number >> name && word == "state") v.states.push_back(name);
  }
  std::istringstream errLines(err);
  std::string report;
  bool unended = false;
  for (std::string line; std::getline(errLines, line);) {
    const size_t at = line.find("line ");
    const size_t notReached = line.find(" not reached");
    if (line.rfind("brushfeather-replay: ", 0) == 0 && at != std::string::npos && notReached != std::string::npos) {
      const int stop = std::atoi(line.c_str() + at + 5);
      v.eventsRun = static_cast<int>(
          std::lower_bound(script.eventLines.begin(), script.eventLines.end(), stop) - script.eventLines.begin());
    }
    if (report.empty() && (line.find("ERROR: AddressSanitizer") != std::string::npos ||
                           line.find("ERROR: LeakSanitizer") != std::string::npos ||
                           line.find("runtime error:") != std::string::npos)) {
      report = line;
    }
    if (line.find("did not end after its window was closed") != std::string::npos) unended = true;
  }
  v.failed = true;
  if (!report.empty()) {
    v.why = "sanitizer report: " + report;
  } else if (timedOut) {
    v.why = "stopped: it ran past the time limit";
  } else if (!exited) {
    v.why = "killed by signal " + std::to_string(status);
  } else if (status != 0) {
    v.why = "exit status " + std::to_string(status);
  } else if (unended) {
    v.why = "the game did not end when its window was closed";
  } else {
    v.failed = false;
  }
  return v;
}

void Tally::Add(const Verdict& v) {
  ++scripts;
  events += v.eventsRun;
  if (v.failed) ++findings;
  std::vector<std::string> seen;
  for (const std::string& s : v.states) {
    ++entries[s];
    if (std::find(seen.begin(), seen.end(), s) == seen.end()) seen.push_back(s);
  }
  for (const std::string& s : seen) ++scriptsReaching[s];
}

std::vector<std::string> Tally::StateLines() const {
  std::vector<std::string> names(std::begin(kStateOrder), std::end(kStateOrder));
  for (const auto& [name, count] : entries) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  std::vector<std::string> lines;
  for (const std::string& name : names) {
    auto it = entries.find(name);
    if (it == entries.end()) continue;
    lines.push_back("state " + name + ": " + std::to_string(scriptsReaching.at(name)) + " scripts, " +
                    std::to_string(it->second) + " entries");
  }
  return lines;
}

}  // namespace soak
