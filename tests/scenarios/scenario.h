// The base of the scenario tests: scripts played through the headless backend, each test in a folder
// of its own that is both the current directory (damaged copies there shadow the art beside the
// program) and the profile's home.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/sound/dx_sound.h"
#include "framework/sound/dx_sound_buffer.h"
#include "game/replay.h"
#include "game/turkey_game.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/sound.h"
#include "platform/window.h"

namespace scenario {

namespace fs = std::filesystem;
using G = ZTurkeyGame;
using Observer = std::function<void(G&, uint32_t)>;

inline std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
inline std::vector<uint8_t> ReadArt(const std::string& name) { return ReadBytes(fs::path(BF_RUN_DIR) / name); }

class Scenario : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("bf-scenario-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    old = fs::current_path();
    fs::current_path(dir);
  }
  void TearDown() override {
    fs::current_path(old);
    platform::ResetWindowSystem();
    platform::SetBackend(nullptr);
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  // Plays the script from the program's start; `observe` sees the game on every pump pass. What the
  // game wrote to stderr lands in `said`, the names of the states it went through in `states`, the
  // sounds it started in `starts`.
  replay::Result Run(const std::string& text, const Observer& observe = nullptr, const std::string& outDir = "") {
    replay::Script script;
    std::string error;
    EXPECT_TRUE(replay::ParseScript(text, &script, &error)) << error;
    script.introduced = introduced;
    platform::ResetWindowSystem();
    platform::SetBackend(nullptr);  // a second run in one test drops the first one's backend
    backend = std::make_unique<platform::HeadlessBackend>(0, static_cast<std::time_t>(script.seed));
    if (prepare) prepare(*backend);
    platform::SetBackend(backend.get());
    platform::SetApplicationName("brushfeather");
    starts.clear();
    std::vector<uint32_t> lastPosition(160, 0);
    std::vector<bool> lastPlaying(160, false);
    auto watch = [&](G& game, uint32_t ms) {
      if (observe) observe(game, ms);
      for (int32_t id = 132; game.sound != nullptr && id <= 156; ++id) {
        ZDXSoundBuffer* b = game.sound->FindBuffer(id);
        if (b == nullptr || b->buffer == nullptr) continue;
        uint32_t status = 0, play = 0, write = 0;
        b->buffer->GetStatus(&status);
        b->buffer->GetCurrentPosition(&play, &write);
        const bool playing = (status & platform::DSBSTATUS_PLAYING) != 0;
        if (playing && (!lastPlaying[id] || play < lastPosition[id])) starts.emplace_back(id, ms);
        lastPlaying[id] = playing;
        lastPosition[id] = play;
      }
    };
    std::ostringstream out;
    ::testing::internal::CaptureStderr();
    replay::Result result = replay::Run(script, backend.get(), outDir, &out, watch);
    said = ::testing::internal::GetCapturedStderr();
    log = out.str();
    states.clear();
    for (const std::string& line : result.stateLines) {
      std::istringstream in(line);
      std::string word, number, name;
      in >> word >> number >> name;
      states.push_back(name);
    }
    return result;
  }
  // How many times the last run entered `state`.
  int Entered(const std::string& state) const {
    int n = 0;
    for (const std::string& s : states) n += s == state ? 1 : 0;
    return n;
  }
  // How many times the last run started sound `id` in [from, to) ms.
  int Starts(int32_t id, uint32_t from = 0, uint32_t to = UINT32_MAX) const {
    int n = 0;
    for (const auto& [sid, ms] : starts) n += (sid == id && ms >= from && ms < to) ? 1 : 0;
    return n;
  }
  // Lines the game wrote to stderr about itself.
  std::vector<std::string> Complaints() const {
    std::vector<std::string> lines;
    std::istringstream in(said);
    for (std::string line; std::getline(in, line);) {
      if (line.find("brushfeather:") != std::string::npos) lines.push_back(line);
    }
    return lines;
  }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  fs::path dir, old;
  std::function<void(platform::HeadlessBackend&)> prepare;  // runs on each new backend before the game
  // The game starts as for a profile that has had the first hunt's introduction; false leaves it to
  // the profile in the test's folder.
  bool introduced = true;
  std::unique_ptr<platform::HeadlessBackend> backend;
  std::string said, log;
  std::vector<std::string> states;
  std::vector<std::pair<int32_t, uint32_t>> starts;  // (id, ms)
};

}  // namespace scenario
