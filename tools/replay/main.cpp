// brushfeather-replay: runs the game on the headless backend from an input script (a developer tool).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "game/replay.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/window.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: brushfeather-replay SCRIPT [--out DIR] [--profile DIR] [--audio FILE]\n");
  return 2;
}

// The profile of a replay: the data folder given with --profile, or a fresh empty one that goes away at
// the end, so a replay neither depends on nor changes the player's own settings and trophies.
class ReplayProfile {
 public:
  explicit ReplayProfile(const std::string& given) {
    std::string home = given;
    if (home.empty()) {
      std::string pattern = (std::filesystem::temp_directory_path() / "brushfeather-replay-XXXXXX").string();
      if (mkdtemp(pattern.data()) != nullptr) home = temporary_ = pattern;
    }
    if (!home.empty()) setenv("XDG_DATA_HOME", std::filesystem::absolute(home).c_str(), 1);
  }
  ~ReplayProfile() {
    std::error_code ec;
    if (!temporary_.empty()) std::filesystem::remove_all(temporary_, ec);
  }
  ReplayProfile(const ReplayProfile&) = delete;
  ReplayProfile& operator=(const ReplayProfile&) = delete;

 private:
  std::string temporary_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string scriptPath;
  std::string outDir;
  std::string profileDir;
  std::string audioPath;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--out") {
      if (i + 1 >= argc) return Usage();
      outDir = argv[++i];
    } else if (arg == "--profile") {
      if (i + 1 >= argc) return Usage();
      profileDir = argv[++i];
    } else if (arg == "--audio") {
      if (i + 1 >= argc) return Usage();
      audioPath = argv[++i];
    } else if (scriptPath.empty() && !arg.empty() && arg[0] != '-') {
      scriptPath = arg;
    } else {
      return Usage();
    }
  }
  if (scriptPath.empty()) return Usage();

  std::ifstream in(scriptPath, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "brushfeather-replay: cannot read %s\n", scriptPath.c_str());
    return 2;
  }
  std::ostringstream text;
  text << in.rdbuf();
  replay::Script script;
  std::string error;
  if (!replay::ParseScript(text.str(), &script, &error)) {
    std::fprintf(stderr, "brushfeather-replay: %s: %s\n", scriptPath.c_str(), error.c_str());
    return 2;
  }

  if (!outDir.empty()) {
    // Captures go into the folder as asked, made if it is not there yet.
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
      std::fprintf(stderr, "brushfeather-replay: cannot make %s: %s\n", outDir.c_str(), ec.message().c_str());
      return 2;
    }
  }
  // A replay's own fresh profile counts as one that has had the first hunt's introduction, so scripts
  // go straight into their hunts; a profile given with --profile is played as it is.
  script.introduced = profileDir.empty();
  ReplayProfile profile(profileDir);
  platform::HeadlessBackend backend(0, static_cast<std::time_t>(script.seed));
  // The mixed sound of the whole run, written as a WAV file when the game closes its audio.
  if (!audioPath.empty()) backend.SetAudioCapturePath(audioPath);
  platform::SetBackend(&backend);
  // Captions and the profile key are the game's own, as if the game itself were running.
  platform::SetApplicationName("brushfeather");
  replay::Result result = replay::Run(script, &backend, outDir, &std::cout);
  for (const std::string& problem : result.problems) {
    std::fprintf(stderr, "brushfeather-replay: %s\n", problem.c_str());
  }
  platform::ResetWindowSystem();
  platform::SetBackend(nullptr);
  return result.exitCode;
}
