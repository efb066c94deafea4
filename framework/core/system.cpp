// ZSystem::Describe: command line, current directory, platform version, processor and memory.
#include "framework/core/system.h"


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
  commandLine = platform::GetCommandLine();
  currentDirectory = platform::GetCurrentDirectory();
  // The directory query writes into a 256-byte buffer.
  if (currentDirectory.size() > 255) currentDirectory.resize(255);

  versionInfo = platform::OSVERSIONINFO{};
  versionInfo.dwOSVersionInfoSize = sizeof(platform::OSVERSIONINFO);
  if (!platform::GetVersionEx(&versionInfo)) {
    versionInfo = platform::OSVERSIONINFO{};  // a failed query leaves nothing behind
  } else if (const char* text = PlatformText(versionInfo.dwPlatformId)) {
    platformName = text;
  }

  platform::GetSystemInfo(&systemInfo);
  if (const char* text = ProcessorText(systemInfo.wProcessorArchitecture)) processorName = text;

  memoryStatus = platform::MEMORYSTATUS{};
  memoryStatus.dwLength = sizeof(platform::MEMORYSTATUS);
  platform::GlobalMemoryStatus(&memoryStatus);
  return 0;
}
