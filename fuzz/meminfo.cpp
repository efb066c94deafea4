// Fuzzes the /proc/meminfo parser of the system description with arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/system_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::MEMORYSTATUS status;
  platform::ParseMemInfo(std::string(reinterpret_cast<const char*>(data), size), &status);
  if (status.dwMemoryLoad > 100 || status.dwAvailPhys > status.dwTotalPhys) __builtin_trap();
  return 0;
}
