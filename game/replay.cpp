// The replay engine: script parsing, and a pump hook that feeds the script to the running game.
#include "game/replay.h"

#include <cctype>
#include <cstdio>
#include <functional>
#include <sstream>

#include "framework/graphics/viewport.h"
#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/screenshot.h"
#include "game/shotgun.h"
#include "game/turkey.h"
#include "game/turkey_app.h"
#include "game/turkey_game.h"
#include "game/turkey_wnd.h"
#include "platform/headless/headless_backend.h"
#include "platform/pump.h"
#include "platform/rand.h"
#include "platform/window.h"

namespace replay {
namespace {

constexpr int64_t kClickMs = 50;
// After WM_DESTROY the game normally quits within a pass or two; should something (a modal loop)
// take the quit message, it is posted again this often.
constexpr uint32_t kQuitRetryMs = 1000;
constexpr uint32_t kQuitGiveUpMs = 10000;

std::string Trim(const std::string& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// A whole decimal number in [lo, hi].
bool ParseNumber(const std::string& word, int64_t lo, int64_t hi, int64_t* out) {
  if (word.empty() || word.size() > 12) return false;
  size_t i = 0;
  bool negative = false;
  if (word[0] == '-') {
    negative = true;
    i = 1;
    if (word.size() == 1) return false;
  }
  int64_t v = 0;
  for (; i < word.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(word[i]))) return false;
    v = v * 10 + (word[i] - '0');
  }
  if (negative) v = -v;
  if (v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool ParseButton(const std::string& word, int64_t* button) {
  if (word == "left") {
    *button = 0;
    return true;
  }
  if (word == "right") {
    *button = 1;
    return true;
  }
  return false;
}

}  // namespace

bool KeyCode(const std::string& name, uint32_t* vk) {
  struct Named {
    const char* name;
    uint32_t vk;
  };
  static constexpr Named kNames[] = {
      {"Escape", platform::VK_ESCAPE}, {"Enter", platform::VK_RETURN}, {"Tab", platform::VK_TAB},
      {"Space", platform::VK_SPACE},   {"Shift", platform::VK_SHIFT},  {"Alt", platform::VK_MENU},
      {"F1", platform::VK_F1},         {"F10", platform::VK_F10},      {"Backspace", platform::VK_BACK},
      {"Delete", platform::VK_DELETE},
      {"Left", platform::VK_LEFT},     {"Right", platform::VK_RIGHT},  {"Home", platform::VK_HOME},
      {"End", platform::VK_END},
  };
  for (const Named& n : kNames) {
    if (name == n.name) {
      *vk = n.vk;
      return true;
    }
  }
  if (name.size() == 1) {
    unsigned char c = static_cast<unsigned char>(name[0]);
    if (std::isdigit(c)) {
      *vk = c;
      return true;
    }
    if (std::isalpha(c)) {
      *vk = static_cast<uint32_t>(std::toupper(c));
      return true;
    }
  }
  return false;
}

bool ParseScript(const std::string& text, Script* script, std::string* error) {
  Script result;
  bool seenCommand = false;
  std::istringstream lines(text);
  std::string raw;
  int lineNo = 0;
  auto fail = [&](const std::string& why) {
    if (error != nullptr) *error = "line " + std::to_string(lineNo) + ": " + why;
    return false;
  };
  while (std::getline(lines, raw)) {
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    // "type" keeps the rest of its line as it is, '#' included.
    std::string trimmed = Trim(raw);
    std::string word = trimmed.substr(0, trimmed.find_first_of(" \t"));
    if (word != "type") {
      size_t hash = raw.find('#');
      if (hash != std::string::npos) raw.resize(hash);
      trimmed = Trim(raw);
      word = trimmed.substr(0, trimmed.find_first_of(" \t"));
    }
    if (trimmed.empty()) continue;
    std::string rest = Trim(trimmed.substr(word.size()));
    std::istringstream args(rest);
    std::vector<std::string> words;
    for (std::string w; args >> w;) words.push_back(w);

    Command cmd;
    cmd.line = lineNo;
    if (word == "seed") {
      int64_t seed = 0;
      if (words.size() != 1 || !ParseNumber(words[0], 0, 0xFFFFFFFFLL, &seed)) {
        return fail("seed needs one number from 0 to 4294967295");
      }
      if (!seenCommand) {
        result.seed = static_cast<uint32_t>(seed);
        continue;
      }
      cmd.kind = Command::Kind::Seed;
      cmd.value = seed;
    } else if (word == "wait") {
      if (words.size() != 1 || !ParseNumber(words[0], 0, 24LL * 3600 * 1000, &cmd.value)) {
        return fail("wait needs a number of milliseconds (0 to 86400000)");
      }
      cmd.kind = Command::Kind::Wait;
    } else if (word == "move") {
      if (words.size() != 2 || !ParseNumber(words[0], 0, 639, &cmd.value) || !ParseNumber(words[1], 0, 479, &cmd.y)) {
        return fail("move needs X from 0 to 639 and Y from 0 to 479");
      }
      cmd.kind = Command::Kind::Move;
    } else if (word == "press" || word == "release" || word == "click") {
      if (words.size() != 1 || !ParseButton(words[0], &cmd.value)) return fail(word + " needs left or right");
      if (word == "click") {
        cmd.kind = Command::Kind::Press;
        result.commands.push_back(cmd);
        Command wait = cmd;
        wait.kind = Command::Kind::Wait;
        wait.value = kClickMs;
        result.commands.push_back(wait);
        cmd.kind = Command::Kind::Release;
      } else {
        cmd.kind = word == "press" ? Command::Kind::Press : Command::Kind::Release;
      }
    } else if (word == "key" || word == "keydown" || word == "keyup") {
      if (words.size() != 1 || !KeyCode(words[0], &cmd.key)) return fail("unknown key name '" + rest + "'");
      if (word == "key") {
        cmd.kind = Command::Kind::KeyDown;
        result.commands.push_back(cmd);
        cmd.kind = Command::Kind::KeyUp;
      } else {
        cmd.kind = word == "keydown" ? Command::Kind::KeyDown : Command::Kind::KeyUp;
      }
    } else if (word == "type") {
      // Everything after "type" and one separating blank.
      std::string line = raw;
      size_t at = line.find("type") + 4;
      if (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
      cmd.text = line.substr(at);
      if (cmd.text.empty()) return fail("type needs some text");
      cmd.kind = Command::Kind::Type;
    } else if (word == "deactivate" || word == "activate") {
      if (!words.empty()) return fail(word + " takes nothing");
      cmd.kind = word == "deactivate" ? Command::Kind::Deactivate : Command::Kind::Activate;
    } else if (word == "leave" || word == "enter") {
      if (!words.empty()) return fail(word + " takes nothing");
      cmd.kind = word == "leave" ? Command::Kind::Leave : Command::Kind::Enter;
    } else if (word == "close") {
      if (!words.empty()) return fail("close takes nothing");
      cmd.kind = Command::Kind::Close;
    } else if (word == "dump") {
      if (!words.empty()) return fail("dump takes nothing");
      cmd.kind = Command::Kind::Dump;
    } else if (word == "capture") {
      if (words.size() != 1) return fail("capture needs one file name");
      const std::string& file = words[0];
      auto endsWith = [&](const char* ext) {
        std::string e(ext);
        if (file.size() <= e.size()) return false;
        std::string tail = file.substr(file.size() - e.size());
        for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return tail == e;
      };
      if (!endsWith(".png") && !endsWith(".bmp")) return fail("capture writes .png or .bmp files");
      if (file.find('/') != std::string::npos) return fail("capture takes a plain file name");
      cmd.text = file;
      cmd.kind = Command::Kind::Capture;
    } else {
      return fail("unknown command '" + word + "'");
    }
    seenCommand = true;
    result.commands.push_back(cmd);
  }
  *script = std::move(result);
  return true;
}

namespace {

class Runner {
 public:
  Runner(const Script& script, platform::HeadlessBackend* backend, const std::string& outDir, std::ostream* log,
         const Observer& observe)
      : script_(script), backend_(backend), outDir_(outDir), log_(log), observe_(observe) {}

  Result Go() {
    platform::ManualClock& clock = backend_->GetManualClock();
    clock.SetCalendar(static_cast<std::time_t>(script_.seed));
    startMs_ = clock.Milliseconds();
    dueMs_ = startMs_;

    ZTurkeyApp app;
    app.InitInstance();
    game_ = app.game.get();
    window_ = app.window.get();
    if (script_.introduced && game_ != nullptr) game_->helpIntroduced = 1;
    ReportState();
    // Every state the game enters is logged as it enters it, also one a single pass goes through.
    game_->stateObserver = [this](int32_t) { ReportState(); };

    int hook = platform::AddPumpHook([this] { Pass(); });
    result_.exitCode = app.Run();
    platform::RemovePumpHook(hook);
    ReportState();
    game_->stateObserver = nullptr;
    result_.endMs = Now();
    if (next_ < script_.commands.size()) {
      result_.problems.push_back("line " + std::to_string(script_.commands[next_].line) +
                                 " not reached: the game ended at " + std::to_string(result_.endMs) + " ms");
    }
    game_ = nullptr;
    window_ = nullptr;
    return result_;
  }

 private:
  uint32_t Now() const { return backend_->GetManualClock().Milliseconds() - startMs_; }

  void ReportState() {
    if (game_ == nullptr || game_->state == lastState_) return;
    lastState_ = game_->state;
    std::string line = "state " + std::to_string(lastState_) + " " + ZTurkeyGame::StateName(lastState_) + " at " +
                       std::to_string(Now());
    result_.stateLines.push_back(line);
    if (log_ != nullptr) *log_ << line << std::endl;
  }

  // One run of the message pump: the clock moves on by 1 ms (not on the very first run, so the
  // game's start-up reads the script's start time), then whatever the script has due is done.
  // The pump runs once for each PeekMessage and once more for the GetMessage that takes a waiting
  // message, so a loop pass costs 1 ms, or 2 ms when it handles a message; either way the same
  // script gives the same times.
  void Pass() {
    if (started_) backend_->Advance(1);
    started_ = true;
    ReportState();
    if (observe_ && game_ != nullptr) observe_(*game_, Now());
    platform::ManualClock& clock = backend_->GetManualClock();
    while (next_ < script_.commands.size() && static_cast<int32_t>(clock.Milliseconds() - dueMs_) >= 0) {
      const Command& cmd = script_.commands[next_++];
      Execute(cmd);
    }
    if (next_ >= script_.commands.size() && static_cast<int32_t>(clock.Milliseconds() - dueMs_) >= 0) End();
  }

  void Execute(const Command& cmd) {
    platform::ManualClock& clock = backend_->GetManualClock();
    switch (cmd.kind) {
      case Command::Kind::Seed:
        clock.SetCalendar(static_cast<std::time_t>(cmd.value));
        platform::srand(static_cast<uint32_t>(cmd.value));
        break;
      case Command::Kind::Wait:
        dueMs_ = clock.Milliseconds() + static_cast<uint32_t>(cmd.value);
        break;
      case Command::Kind::Move:
        backend_->InjectMouseMove(static_cast<int32_t>(cmd.value), static_cast<int32_t>(cmd.y));
        break;
      case Command::Kind::Press:
      case Command::Kind::Release:
        // Where the pointer is now: the last move, or where the game put it since (while aiming the
        // game holds it at the centre of the view, as a real mouse would be).
        backend_->InjectButton(static_cast<int32_t>(cmd.value), cmd.kind == Command::Kind::Press,
                               backend_->CursorX(), backend_->CursorY());
        break;
      case Command::Kind::KeyDown:
      case Command::Kind::KeyUp: {
        bool down = cmd.kind == Command::Kind::KeyDown;
        // F10, Alt itself and every key while Alt is held arrive as system keys.
        bool system = cmd.key == platform::VK_F10 || cmd.key == platform::VK_MENU || altDown_;
        if (cmd.key == platform::VK_MENU) altDown_ = down;
        backend_->InjectKey(cmd.key, down, system);
        break;
      }
      case Command::Kind::Type:
        backend_->InjectText(cmd.text);
        break;
      case Command::Kind::Deactivate:
        backend_->InjectActivate(false);
        break;
      case Command::Kind::Activate:
        backend_->InjectActivate(true);
        break;
      case Command::Kind::Leave:
      case Command::Kind::Enter:
        backend_->InjectPointerInside(cmd.kind == Command::Kind::Enter);
        break;
      case Command::Kind::Capture:
        Capture(cmd);
        break;
      case Command::Kind::Close:
        // As the title bar's close button, Alt+F4 or a logout: the host asks, the window gets WM_CLOSE.
        backend_->InjectQuit();
        closeAsked_ = true;
        break;
      case Command::Kind::Dump:
        if (game_ != nullptr) {
          std::vector<std::string> lines = DumpHunt(*game_);
          if (log_ != nullptr) {
            for (const std::string& line : lines) *log_ << line << '\n';
            log_->flush();
          }
          result_.dumps.push_back(std::move(lines));
        }
        break;
    }
  }

  void Capture(const Command& cmd) {
    std::string path = outDir_.empty() ? cmd.text : outDir_ + "/" + cmd.text;
    std::string lower = cmd.text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    bool ok = false;
    std::string why;
    if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".png") == 0) {
      ok = backend_->WritePng(path);
      if (!ok) why = "nothing has been shown yet, or the file cannot be written";
    } else {
      ok = WriteBitmap(path, &why);
    }
    if (!ok) Problem("line " + std::to_string(cmd.line) + ": capture " + cmd.text + ": " + why);
  }

  // The game's own screenshot writer, so the file is byte for byte what F10 would write.
  bool WriteBitmap(const std::string& path, std::string* why) {
    if (game_ == nullptr || game_->graphics == nullptr) {
      *why = "the display is not set up";
      return false;
    }
    if (!WriteScreenshotFile(game_->graphics.get(), path)) {
      *why = "the screen cannot be read, or the file cannot be written";
      return false;
    }
    return true;
  }

  void Problem(const std::string& text) {
    result_.problems.push_back(text);
  }

  // The end of the script: close the main window as the host would, through WM_DESTROY.
  void End() {
    uint32_t now = backend_->GetManualClock().Milliseconds();
    if (!ended_) {
      ended_ = true;
      endedAt_ = now;
      lastQuitPost_ = now;
      if (game_ != nullptr && game_->state != ZTurkeyGame::Exiting && window_ != nullptr && !closeAsked_) {
        platform::PostMessage(window_, platform::WM_DESTROY, 0, 0);
      }
      return;
    }
    if (now - lastQuitPost_ >= kQuitRetryMs) {
      lastQuitPost_ = now;
      if (now - endedAt_ >= kQuitGiveUpMs && game_ != nullptr) {
        Problem("the game did not end after its window was closed; stopping it");
        game_->running = 0;
      }
      platform::PostQuitMessage(0);
    }
  }

  const Script& script_;
  platform::HeadlessBackend* backend_;
  std::string outDir_;
  std::ostream* log_;
  Observer observe_;
  Result result_;
  ZTurkeyGame* game_ = nullptr;
  ZTurkeyWnd* window_ = nullptr;
  int32_t lastState_ = -1;
  uint32_t startMs_ = 0;
  uint32_t dueMs_ = 0;
  size_t next_ = 0;
  bool started_ = false;
  bool ended_ = false;
  uint32_t endedAt_ = 0;
  uint32_t lastQuitPost_ = 0;
  bool altDown_ = false;
  bool closeAsked_ = false;
};

}  // namespace

std::vector<std::string> DumpHunt(const ZTurkeyGame& game) {
  std::vector<std::string> lines;
  char line[256];
  if (game.map != nullptr) {
    int index = 0;
    for (const auto& bird : game.map->birds) {
      std::snprintf(line, sizeof line, "bird %d state %d next %d facing %d x %.2f y %.2f weight %d near %d", index,
                    bird->state, bird->nextState, bird->facing, bird->position.x, bird->position.y, bird->weight,
                    bird->near != 0 ? 1 : 0);
      lines.emplace_back(line);
      ++index;
    }
  }
  if (game.hunter != nullptr) {
    std::snprintf(line, sizeof line, "hunter alarm %u attraction %u", game.hunter->alarm, game.hunter->attraction);
    lines.emplace_back(line);
    if (const ZShotgun* gun = game.hunter->GetWeapon()) {
      std::snprintf(line, sizeof line, "weapon state %d shells %d", gun->state, gun->shellsFired);
      lines.emplace_back(line);
    } else {
      lines.emplace_back("weapon none");
    }
  }
  if (game.mainViewport != nullptr) {
    std::snprintf(line, sizeof line, "view %d %d", game.mainViewport->GetScrollX(), game.mainViewport->GetScrollY());
    lines.emplace_back(line);
  } else {
    lines.emplace_back("view none");
  }
  return lines;
}

Result Run(const Script& script, platform::HeadlessBackend* backend, const std::string& outDir, std::ostream* log,
           const Observer& observe) {
  Runner runner(script, backend, outDir, log, observe);
  return runner.Go();
}

}  // namespace replay
