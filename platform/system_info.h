// The computer's description: command line, directory, OS, processor and memory, in the records the
// game's system description keeps (laid out as the 32-bit originals, 148, 36 and 32 bytes).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct OSVERSIONINFO {
  uint32_t dwOSVersionInfoSize = 0;
  uint32_t dwMajorVersion = 0;
  uint32_t dwMinorVersion = 0;
  uint32_t dwBuildNumber = 0;
  uint32_t dwPlatformId = 0;
  char szCSDVersion[128] = {};
};
static_assert(sizeof(OSVERSIONINFO) == 148);

struct SYSTEM_INFO {
  uint16_t wProcessorArchitecture = 0;
  uint16_t wReserved = 0;
  uint32_t dwPageSize = 0;
  uint32_t lpMinimumApplicationAddress = 0;
  uint32_t lpMaximumApplicationAddress = 0;
  uint32_t dwActiveProcessorMask = 0;
  uint32_t dwNumberOfProcessors = 0;
  uint32_t dwProcessorType = 0;
  uint32_t dwAllocationGranularity = 0;
  uint16_t wProcessorLevel = 0;
  uint16_t wProcessorRevision = 0;
};
static_assert(sizeof(SYSTEM_INFO) == 36);

struct MEMORYSTATUS {
  uint32_t dwLength = 0;
  uint32_t dwMemoryLoad = 0;  // percent in use
  uint32_t dwTotalPhys = 0;   // bytes; values above 4 GiB saturate at 0xFFFFFFFF
  uint32_t dwAvailPhys = 0;
  uint32_t dwTotalPageFile = 0;
  uint32_t dwAvailPageFile = 0;
  uint32_t dwTotalVirtual = 0;
  uint32_t dwAvailVirtual = 0;
};
static_assert(sizeof(MEMORYSTATUS) == 32);

constexpr uint32_t VER_PLATFORM_WIN32s = 0;
constexpr uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr uint32_t VER_PLATFORM_WIN32_NT = 2;
constexpr uint32_t VER_PLATFORM_POSIX = 0x100;  // what this program reports: none of the above

constexpr uint16_t PROCESSOR_ARCHITECTURE_INTEL = 0;
constexpr uint16_t PROCESSOR_ARCHITECTURE_MIPS = 1;
constexpr uint16_t PROCESSOR_ARCHITECTURE_ALPHA = 2;
constexpr uint16_t PROCESSOR_ARCHITECTURE_PPC = 3;
constexpr uint16_t PROCESSOR_ARCHITECTURE_ARM = 5;
constexpr uint16_t PROCESSOR_ARCHITECTURE_AMD64 = 9;
constexpr uint16_t PROCESSOR_ARCHITECTURE_ARM64 = 12;
constexpr uint16_t PROCESSOR_ARCHITECTURE_UNKNOWN = 0xFFFF;

// The process command line: its arguments joined by spaces, those with spaces quoted.
std::string GetCommandLine();
// The current directory; empty when it cannot be read.
std::string GetCurrentDirectory();
// Fills the record from uname; false (record untouched) unless dwOSVersionInfoSize is 148.
// The kernel's name, release and machine go into szCSDVersion.
bool GetVersionEx(OSVERSIONINFO* info);
void GetSystemInfo(SYSTEM_INFO* info);
// Sets dwLength to 32 and fills the rest from /proc/meminfo (zeros where it cannot be read).
void GlobalMemoryStatus(MEMORYSTATUS* status);

// The processor architecture code for a uname machine name ("x86_64", "i686", "aarch64", ...).
uint16_t ArchitectureFromMachine(const std::string& machine);
// Parses /proc/meminfo text into the record (exposed for tests); unknown lines are skipped.
void ParseMemInfo(const std::string& text, MEMORYSTATUS* status);

}  // namespace platform
