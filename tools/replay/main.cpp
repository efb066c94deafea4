// brushfeather-replay: runs the game on the headless backend from an input script (a developer tool).
#include <cstdio>
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
  std::fprintf(stderr, "usage: brushfeather-replay SCRIPT [--out DIR]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string scriptPath;
  std::string outDir;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--out") {
      if (i + 1 >= argc) return Usage();
      outDir = argv[++i];
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

  platform::HeadlessBackend backend(0, static_cast<std::time_t>(script.seed));
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
