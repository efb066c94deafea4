// The computer's description from POSIX: /proc/self/cmdline, getcwd, uname, sysconf, /proc/meminfo.
#include "platform/system_info.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform {
namespace {

// Reads at most `limit` bytes of a file; /proc files report no size, so it reads until the end.
std::string ReadSmallFile(const char* path, size_t limit) {
  std::string out;
  FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return out;
  char buf[4096];
  while (out.size() < limit) {
    size_t n = std::fread(buf, 1, std::min(sizeof(buf), limit - out.size()), f);
    if (n == 0) break;
    out.append(buf, n);
  }
  std::fclose(f);
  return out;
}

uint32_t Saturate(uint64_t v) { return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(v); }

}  // namespace

std::string GetCommandLine() {
  std::string raw = ReadSmallFile("/proc/self/cmdline", 32768);
  std::string out;
  size_t start = 0;
  while (start < raw.size()) {
    size_t end = raw.find('\0', start);
    if (end == std::string::npos) end = raw.size();
    std::string arg = raw.substr(start, end - start);
    if (!out.empty()) out += ' ';
    if (arg.find(' ') != std::string::npos || arg.empty()) {
      out += '"' + arg + '"';
    } else {
      out += arg;
    }
    start = end + 1;
  }
  return out;
}

std::string GetCurrentDirectory() {
  std::vector<char> buf(256);
  while (buf.size() <= 65536) {
    if (getcwd(buf.data(), buf.size()) != nullptr) return std::string(buf.data());
    if (errno != ERANGE) return std::string();
    buf.resize(buf.size() * 2);
  }
  return std::string();
}

bool GetVersionEx(OSVERSIONINFO* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFO)) return false;
  struct utsname u;
  if (uname(&u) != 0) return false;
  unsigned major = 0, minor = 0, build = 0;
  std::sscanf(u.release, "%u.%u.%u", &major, &minor, &build);
  info->dwMajorVersion = major;
  info->dwMinorVersion = minor;
  info->dwBuildNumber = build;
  info->dwPlatformId = VER_PLATFORM_POSIX;
  std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
  std::string csd = std::string(u.sysname) + " " + u.release + " " + u.machine;
  csd.copy(info->szCSDVersion, sizeof(info->szCSDVersion) - 1);
  return true;
}

uint16_t ArchitectureFromMachine(const std::string& m) {
  auto starts = [&m](const char* p) { return m.rfind(p, 0) == 0; };
  if (m == "x86_64" || m == "amd64") return PROCESSOR_ARCHITECTURE_AMD64;
  if (m.size() == 4 && m[0] == 'i' && m[2] == '8' && m[3] == '6') return PROCESSOR_ARCHITECTURE_INTEL;
  if (m == "x86") return PROCESSOR_ARCHITECTURE_INTEL;
  if (m == "aarch64" || m == "arm64") return PROCESSOR_ARCHITECTURE_ARM64;
  if (starts("arm")) return PROCESSOR_ARCHITECTURE_ARM;
  if (starts("mips")) return PROCESSOR_ARCHITECTURE_MIPS;
  if (starts("alpha")) return PROCESSOR_ARCHITECTURE_ALPHA;
  if (starts("ppc") || starts("powerpc")) return PROCESSOR_ARCHITECTURE_PPC;
  return PROCESSOR_ARCHITECTURE_UNKNOWN;
}

void GetSystemInfo(SYSTEM_INFO* info) {
  if (info == nullptr) return;
  *info = SYSTEM_INFO{};
  struct utsname u;
  info->wProcessorArchitecture = uname(&u) == 0 ? ArchitectureFromMachine(u.machine) : PROCESSOR_ARCHITECTURE_UNKNOWN;
  long page = sysconf(_SC_PAGESIZE);
  info->dwPageSize = page > 0 ? static_cast<uint32_t>(page) : 4096;
  long cpus = sysconf(_SC_NPROCESSORS_ONLN);
  info->dwNumberOfProcessors = cpus > 0 ? static_cast<uint32_t>(cpus) : 1;
  uint32_t n = std::min<uint32_t>(info->dwNumberOfProcessors, 32);
  info->dwActiveProcessorMask = n >= 32 ? 0xFFFFFFFFu : ((1u << n) - 1);
  // The address range and granularity a 32-bit process of the original platform would see.
  info->lpMinimumApplicationAddress = 0x00010000u;
  info->lpMaximumApplicationAddress = 0x7FFEFFFFu;
  info->dwAllocationGranularity = 65536;
  if (info->wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL ||
      info->wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64) {
    info->dwProcessorType = 586;
    info->wProcessorLevel = 6;
  }
}

void ParseMemInfo(const std::string& text, MEMORYSTATUS* status) {
  if (status == nullptr) return;
  uint64_t total = 0, avail = 0, freeMem = 0, swapTotal = 0, swapFree = 0;
  bool haveAvail = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string key = line.substr(0, colon);
    const char* p = line.c_str() + colon + 1;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p < '0' || *p > '9') continue;  // strtoull would accept a sign and wrap it
    char* after = nullptr;
    errno = 0;
    unsigned long long kb = std::strtoull(p, &after, 10);
    if (after == p || errno != 0) continue;
    uint64_t bytes = kb > (UINT64_MAX / 1024) ? UINT64_MAX : static_cast<uint64_t>(kb) * 1024;
    if (key == "MemTotal") total = bytes;
    else if (key == "MemAvailable") { avail = bytes; haveAvail = true; }
    else if (key == "MemFree") freeMem = bytes;
    else if (key == "SwapTotal") swapTotal = bytes;
    else if (key == "SwapFree") swapFree = bytes;
  }
  if (!haveAvail) avail = freeMem;
  avail = std::min(avail, total);
  swapFree = std::min(swapFree, swapTotal);
  status->dwMemoryLoad = total > 0 ? static_cast<uint32_t>(((total - avail) * 100) / total) : 0;
  status->dwTotalPhys = Saturate(total);
  status->dwAvailPhys = Saturate(avail);
  uint64_t pageTotal = total > UINT64_MAX - swapTotal ? UINT64_MAX : total + swapTotal;
  uint64_t pageAvail = avail > UINT64_MAX - swapFree ? UINT64_MAX : avail + swapFree;
  status->dwTotalPageFile = Saturate(pageTotal);
  status->dwAvailPageFile = Saturate(pageAvail);
}

void GlobalMemoryStatus(MEMORYSTATUS* status) {
  if (status == nullptr) return;
  *status = MEMORYSTATUS{};
  status->dwLength = sizeof(MEMORYSTATUS);
  ParseMemInfo(ReadSmallFile("/proc/meminfo", 65536), status);
  // The user address space of a 32-bit process of the original platform.
  status->dwTotalVirtual = 0x7FFE0000u;
  status->dwAvailVirtual = 0x7FFE0000u;
}

}  // namespace platform
