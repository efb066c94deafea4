// brushfeather-soak: random input scripts through the (sanitizer-built) replay driver; keeps what fails.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/soak/soak.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int Usage() {
  std::fprintf(stderr,
               "usage: brushfeather-soak [--seed N] [--scripts N | --events N] [--length N] [--jobs N]\n"
               "                         [--timeout SECONDS] [--replay PATH] [--out DIR]\n"
               "       brushfeather-soak --print [--seed N] [--length N]\n"
               "  Plays random scripts (script i has seed N+i and about --length events) through the replay\n"
               "  driver (by default the brushfeather-replay beside this program), each with a fresh profile,\n"
               "  until --scripts have run or --events have been run. A script whose run fails (a sanitizer\n"
               "  report, a crash, an exit status other than 0, a hang) is kept in --out with its report.\n"
               "  --print writes the script of seed N to standard output instead.\n");
  return 2;
}

bool ParseCount(const char* text, long long lo, long long* out) {
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < lo) return false;
  *out = v;
  return true;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Options {
  long long seed = 1;
  long long scripts = 10;
  long long events = 0;  // when set, scripts run until this many events have been run
  long long length = 600;
  long long jobs = 1;
  long long timeout = 300;
  std::string replay;
  std::string out = "soak-findings";
  bool print = false;
};

struct Running {
  pid_t pid = -1;
  soak::Script script;
  fs::path dir;
  Clock::time_point started;
};

// Starts the replay on the script in its own folder, which is also its current directory (so F10's
// screenshots land in its profile, not beside the art) and holds its profile.
pid_t Start(const Options& o, const fs::path& dir) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (chdir(dir.c_str()) != 0) _exit(126);
  const int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
  execl(o.replay.c_str(), o.replay.c_str(), "script.txt", "--profile", "data", static_cast<char*>(nullptr));
  _exit(127);
}

void Keep(const Options& o, const Running& r, const soak::Verdict& v, const std::string& err) {
  const fs::path keep = fs::path(o.out) / ("seed-" + std::to_string(r.script.seed));
  std::error_code ec;
  fs::remove_all(keep, ec);
  fs::create_directories(keep, ec);
  fs::copy(r.dir, keep, fs::copy_options::recursive, ec);
  std::ofstream report(keep / "report.txt");
  report << "brushfeather-soak: seed " << r.script.seed << ": " << v.why << "\n"
         << "replay it: cd " << fs::path(o.replay).parent_path().string() << " && ./brushfeather-replay "
         << fs::absolute(keep / "script.txt").string() << "\n\n"
         << err;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--print") {
      o.print = true;
      continue;
    }
    if (i + 1 >= argc) return Usage();
    const char* value = argv[++i];
    bool ok = true;
    if (arg == "--seed") ok = ParseCount(value, 0, &o.seed);
    else if (arg == "--scripts") ok = ParseCount(value, 1, &o.scripts);
    else if (arg == "--events") ok = ParseCount(value, 1, &o.events);
    else if (arg == "--length") ok = ParseCount(value, 1, &o.length);
    else if (arg == "--jobs") ok = ParseCount(value, 1, &o.jobs);
    else if (arg == "--timeout") ok = ParseCount(value, 1, &o.timeout);
    else if (arg == "--replay") o.replay = value;
    else if (arg == "--out") o.out = value;
    else return Usage();
    if (!ok) return Usage();
  }
  if (o.print) {
    std::fputs(soak::Generate(static_cast<uint32_t>(o.seed), static_cast<int>(o.length)).text.c_str(), stdout);
    return 0;
  }
  if (o.replay.empty()) {
    std::error_code ec;
    o.replay = (fs::read_symlink("/proc/self/exe", ec).parent_path() / "brushfeather-replay").string();
  }
  o.replay = fs::absolute(o.replay).string();
  if (access(o.replay.c_str(), X_OK) != 0) {
    std::fprintf(stderr, "brushfeather-soak: no replay driver at %s (give one with --replay)\n", o.replay.c_str());
    return 2;
  }
  // The sanitizers' settings of CI, unless the caller chose others.
  setenv("ASAN_OPTIONS", "detect_leaks=1:abort_on_error=1", 0);
  setenv("UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1", 0);

  std::string pattern = (fs::temp_directory_path() / "brushfeather-soak-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::fprintf(stderr, "brushfeather-soak: cannot make a work folder in %s\n", fs::temp_directory_path().c_str());
    return 2;
  }
  const fs::path work = pattern;
  std::printf("brushfeather-soak: replaying with %s; findings go to %s\n", o.replay.c_str(),
              fs::absolute(o.out).c_str());
  std::fflush(stdout);

  const Clock::time_point began = Clock::now();
  soak::Tally tally;
  std::vector<Running> running;
  long long next = 0;
  auto more = [&] { return o.events > 0 ? tally.events < o.events : next < o.scripts; };
  while (more() || !running.empty()) {
    while (more() && static_cast<long long>(running.size()) < o.jobs) {
      Running r;
      r.script = soak::Generate(static_cast<uint32_t>(o.seed + next), static_cast<int>(o.length));
      r.dir = work / ("run-" + std::to_string(r.script.seed));
      ++next;
      std::error_code ec;
      fs::create_directories(r.dir / "data", ec);
      std::ofstream(r.dir / "script.txt", std::ios::binary) << r.script.text;
      r.started = Clock::now();
      r.pid = Start(o, r.dir);
      if (r.pid < 0) {
        std::fprintf(stderr, "brushfeather-soak: cannot start the replay driver\n");
        return 2;
      }
      running.push_back(std::move(r));
    }
    bool any = false;
    for (size_t i = 0; i < running.size();) {
      Running& r = running[i];
      int status = 0;
      bool timedOut = false;
      pid_t done = waitpid(r.pid, &status, WNOHANG);
      if (done == 0 && Clock::now() - r.started > std::chrono::seconds(o.timeout)) {
        kill(r.pid, SIGKILL);
        done = waitpid(r.pid, &status, 0);
        timedOut = true;
      }
      if (done == 0) {
        ++i;
        continue;
      }
      any = true;
      const bool exited = WIFEXITED(status);
      const int code = exited ? WEXITSTATUS(status) : (WIFSIGNALED(status) ? WTERMSIG(status) : -1);
      const std::string err = Slurp(r.dir / "stderr.txt");
      const soak::Verdict v = soak::Judge(r.script, Slurp(r.dir / "stdout.txt"), err, exited, code, timedOut);
      tally.Add(v);
      if (v.failed) {
        Keep(o, r, v, err);
        std::printf("FINDING seed %u: %s (kept in %s)\n", r.script.seed, v.why.c_str(),
                    (fs::path(o.out) / ("seed-" + std::to_string(r.script.seed))).c_str());
      }
      std::error_code ec;
      fs::remove_all(r.dir, ec);
      if (tally.scripts % 100 == 0) {
        std::printf("... %d scripts, %lld events, %d findings\n", tally.scripts, tally.events, tally.findings);
      }
      std::fflush(stdout);
      running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (!any) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::error_code ec;
  fs::remove_all(work, ec);

  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - began).count();
  std::printf("brushfeather-soak: %d scripts (seeds %lld to %lld), %lld events run, %d findings, %lld s\n",
              tally.scripts, o.seed, o.seed + next - 1, tally.events, tally.findings, static_cast<long long>(seconds));
  for (const std::string& line : tally.StateLines()) std::printf("  %s\n", line.c_str());
  return tally.findings == 0 ? 0 : 1;
}
