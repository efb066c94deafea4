// Playing hunts through the headless backend: scripts that enter a hunt, and what an observer saw of each ms.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/graphics/viewport.h"
#include "framework/sound/dx_sound.h"
#include "framework/sound/dx_sound_buffer.h"
#include "framework/ui/push_button.h"
#include "game/control_bar.h"
#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/hunting_wnd.h"
#include "game/replay.h"
#include "game/shotgun.h"
#include "game/turkey.h"
#include "game/turkey_game.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/sound.h"
#include "platform/window.h"

namespace huntscenario {

using G = ZTurkeyGame;

// The title's hunt button, the radio button of hunt `area` and OK: the hunt runs from about 960 ms.
inline std::string EnterHunt(int area) {
  static const char* const kArea[5] = {"207 176", "317 176", "427 176", "260 256", "380 256"};
  return std::string("move 455 221\nwait 20\nclick left\nwait 40\nmove ") + kArea[area] +
         "\nwait 10\nclick left\nwait 30\nmove 225 383\nwait 10\nclick left\nwait 500\n";
}
// The aim button clicked; the gun is up and ready one second later.
inline constexpr const char* kRaise = "move 325 452\nwait 10\nclick left\nwait 1000\n";

// One ms of a run, as the observer saw it at the start of that pump pass.
struct Moment {
  int32_t state = -1;
  int32_t gun = -1;     // weapon state, -1 without a gun
  int32_t shells = 0;
  bool aimDown = false;
  bool cursorShown = true;
  bool confined = false;
  int32_t scrollX = 0, scrollY = 0;
  int32_t bagged = -1;  // index of the game's bagged bird
  int32_t dying = -1;   // index of a dying bird
  bool answering = false;
};

struct Played {
  replay::Result result;
  std::vector<std::string> states;
  std::vector<Moment> at;                             // by ms
  std::vector<std::pair<int32_t, uint32_t>> starts;  // sounds started, as (id, ms)
  std::string stderrText;
  int Starts(int32_t id, uint32_t from = 0, uint32_t to = UINT32_MAX) const {
    int n = 0;
    for (const auto& [sid, ms] : starts) n += (sid == id && ms >= from && ms < to) ? 1 : 0;
    return n;
  }
  // The first ms from `from` on at which `pred` holds, or 0.
  uint32_t First(const std::function<bool(const Moment&)>& pred, uint32_t from = 0) const {
    for (uint32_t ms = from; ms < at.size(); ++ms) {
      if (pred(at[ms])) return ms;
    }
    return 0;
  }
};

// Each test plays in a fresh current directory (damaged copies there shadow the art beside the
// program) with a profile folder of its own.
class HuntScenario : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("bf-hunt-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
  }
  void TearDown() override {
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
    platform::ResetWindowSystem();
    platform::SetBackend(nullptr);
  }

  static std::string ReadScript(const std::string& name) {
    std::ifstream in(std::filesystem::path(BF_SOURCE_DIR) / "tests" / "scenarios" / name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // Plays the script; `poke`, when given, may change the game at each ms before the script acts.
  Played Play(const std::string& text, const std::function<void(G&, uint32_t)>& poke = nullptr,
              const std::string& outDir = "") {
    Played p;
    replay::Script script;
    std::string error;
    EXPECT_TRUE(replay::ParseScript(text, &script, &error)) << error;
    platform::ResetWindowSystem();
    backend = std::make_unique<platform::HeadlessBackend>(0, static_cast<std::time_t>(script.seed));
    platform::SetBackend(backend.get());
    platform::SetApplicationName("brushfeather");
    std::vector<uint32_t> lastPosition(200, 0);
    std::vector<bool> lastPlaying(200, false);
    std::ostringstream log;
    ::testing::internal::CaptureStderr();
    p.result = replay::Run(script, backend.get(), outDir, &log, [&](G& game, uint32_t ms) {
      if (poke) poke(game, ms);
      if (game.sound != nullptr) {
        for (int32_t id = 132; id <= 156; ++id) {
          ZDXSoundBuffer* b = game.sound->FindBuffer(id);
          if (b == nullptr || b->buffer == nullptr) continue;
          uint32_t status = 0, play = 0, write = 0;
          b->buffer->GetStatus(&status);
          b->buffer->GetCurrentPosition(&play, &write);
          const bool playing = (status & platform::DSBSTATUS_PLAYING) != 0;
          if (playing && (!lastPlaying[id] || play < lastPosition[id])) p.starts.emplace_back(id, ms);
          lastPlaying[id] = playing;
          lastPosition[id] = play;
        }
      }
      Moment m;
      m.state = game.state;
      if (game.hunter != nullptr && game.hunter->GetWeapon() != nullptr) {
        m.gun = game.hunter->GetWeapon()->state;
        m.shells = game.hunter->GetWeapon()->shellsFired;
      }
      m.aimDown = game.huntingWindow != nullptr && game.huntingWindow->AimPressed() != 0;
      m.cursorShown = backend->CursorVisible();
      m.confined = backend->CursorConfined();
      if (game.mainViewport != nullptr) {
        m.scrollX = game.mainViewport->GetScrollX();
        m.scrollY = game.mainViewport->GetScrollY();
      }
      if (game.map != nullptr) {
        for (size_t i = 0; i < game.map->birds.size(); ++i) {
          const ZTurkey* b = game.map->birds[i].get();
          if (b == game.baggedBird) m.bagged = static_cast<int32_t>(i);
          if (b->state == ZTurkey::Dying) m.dying = static_cast<int32_t>(i);
          m.answering = m.answering || b->answeringCall != 0;
        }
      }
      if (p.at.size() <= ms) p.at.resize(ms + 1, m);
      p.at[ms] = m;
    });
    p.stderrText = ::testing::internal::GetCapturedStderr();
    for (const std::string& line : p.result.stateLines) {
      std::istringstream in(line);
      std::string word, number, name;
      in >> word >> number >> name;
      p.states.push_back(name);
    }
    return p;
  }
  // How many times the run entered `state`.
  static int Entered(const Played& p, const std::string& state) {
    int n = 0;
    for (const std::string& s : p.states) n += s == state ? 1 : 0;
    return n;
  }

  std::filesystem::path dir, old;
  std::unique_ptr<platform::HeadlessBackend> backend;
};

}  // namespace huntscenario
