// ZSystem: a description of the computer, gathered once at start-up.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/object.h"
#include "platform/system_info.h"

class ZSystem : public ZObject {
  Z_DECLARE_CLASS(ZSystem)

 public:
  // Fills the description from the platform; returns 0.
  int32_t Describe();

  // The texts of a platform id and a processor architecture; null for values not in the lists,
  // which leave the current text unchanged.
  static const char* PlatformText(uint32_t platformId);
  static const char* ProcessorText(uint16_t architecture);

  std::string commandLine;
  std::string currentDirectory;
  std::string platformName;
  std::string processorName = "Unknown";
  platform::OSVERSIONINFO versionInfo;
  platform::SYSTEM_INFO systemInfo;
  platform::MEMORYSTATUS memoryStatus;
};
