// ZSystem::Describe: command line, current directory, platform version, processor and memory.
#include "framework/core/system.h"

#include <cstring>
#include <filesystem>
#include <system_error>

Z_IMPLEMENT_CLASS(ZSystem, ZObject)

const char* ZSystem::PlatformText(uint32_t platformId) {
  switch (platformId) {
    case 0: return "Win32s on Windows 3.1";
    case 1: return "Win32 on Windows 95";
    case 2: return "Win32 on Windows NT";
    default: return nullptr;
  }
}

const char* ZSystem::ProcessorText(uint16_t architecture) {
  switch (architecture) {
    case 0: return "Intel";
    case 1: return "MIPS";
    case 2: return "Alpha";
    case 3: return "PowerPC";
    case 0xFFFF: return "Unknown";
    default: return nullptr;
  }
}

int32_t ZSystem::Describe() {
  std::error_code error;
  std::filesystem::path cwd = std::filesystem::current_path(error);
  currentDirectory = error ? std::string() : cwd.string();
  // Kept to the 256-byte buffer the directory query writes into.
  if (currentDirectory.size() > 255) currentDirectory.resize(255);

  versionInfo = ZVersionRecord{};
  versionInfo.size = sizeof(ZVersionRecord);
  // No version query on this platform: as a failed query, the record is zeroed.
  std::memset(&versionInfo, 0, sizeof(versionInfo));

  systemInfo = ZSystemRecord{};
  systemInfo.processorArchitecture = 0xFFFF;
  if (const char* text = ProcessorText(systemInfo.processorArchitecture)) processorName = text;

  memoryStatus = ZMemoryRecord{};
  memoryStatus.length = sizeof(ZMemoryRecord);
  return 0;
}
