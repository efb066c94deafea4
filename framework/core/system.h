// ZSystem: a description of the computer, gathered once at start-up.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/object.h"

// The three records of the description, laid out as the platform's version, system and memory
// queries fill them (148, 36 and 32 bytes).
struct ZVersionRecord {
  uint32_t size = 0;
  uint32_t majorVersion = 0;
  uint32_t minorVersion = 0;
  uint32_t buildNumber = 0;
  uint32_t platformId = 0;
  char servicePack[128] = {};
};
struct ZSystemRecord {
  uint16_t processorArchitecture = 0;
  uint16_t reserved = 0;
  uint32_t pageSize = 0;
  uint32_t minimumApplicationAddress = 0;
  uint32_t maximumApplicationAddress = 0;
  uint32_t activeProcessorMask = 0;
  uint32_t numberOfProcessors = 0;
  uint32_t processorType = 0;
  uint32_t allocationGranularity = 0;
  uint16_t processorLevel = 0;
  uint16_t processorRevision = 0;
};
struct ZMemoryRecord {
  uint32_t length = 0;
  uint32_t memoryLoad = 0;
  uint32_t totalPhysical = 0;
  uint32_t availablePhysical = 0;
  uint32_t totalPageFile = 0;
  uint32_t availablePageFile = 0;
  uint32_t totalVirtual = 0;
  uint32_t availableVirtual = 0;
};
static_assert(sizeof(ZVersionRecord) == 148);
static_assert(sizeof(ZSystemRecord) == 36);
static_assert(sizeof(ZMemoryRecord) == 32);

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
  ZVersionRecord versionInfo;
  ZSystemRecord systemInfo;
  ZMemoryRecord memoryStatus;
};
