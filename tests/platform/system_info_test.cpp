// Reading /proc/meminfo: totals, saturation at 32 bits, damaged and negative figures.
#include "platform/system_info.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(SystemInfoTest, MemInfoParsingSaturatesAndSurvivesDamage) {
  MEMORYSTATUS m;
  ParseMemInfo("MemTotal:  1000 kB\nMemFree: 100 kB\nMemAvailable: 250 kB\nSwapTotal: 10 kB\nSwapFree: 20 kB\n", &m);
  EXPECT_EQ(m.dwTotalPhys, 1024000u);
  EXPECT_EQ(m.dwAvailPhys, 256000u);
  EXPECT_EQ(m.dwMemoryLoad, 75u);
  MEMORYSTATUS big;
  ParseMemInfo("MemTotal: 16000000 kB\nMemAvailable: 99999999999999999999999 kB\n", &big);
  EXPECT_EQ(big.dwTotalPhys, 0xFFFFFFFFu);
  EXPECT_EQ(big.dwAvailPhys, 0u);  // unparseable: treated as missing, and there is no MemFree
  MEMORYSTATUS junk;
  static const char kJunk[] = "MemTotal\n:\n\0\0garbage: x kB\nMemTotal: -";
  ParseMemInfo(std::string(kJunk, sizeof(kJunk) - 1), &junk);
  EXPECT_EQ(junk.dwMemoryLoad, 0u);
  MEMORYSTATUS negative;
  ParseMemInfo("MemTotal: -5 kB\nMemFree: 1 kB\n", &negative);
  EXPECT_EQ(negative.dwTotalPhys, 0u);  // not a wrapped 2^64 - 5
  EXPECT_EQ(negative.dwAvailPhys, 0u);  // nor more available than there is
}

}  // namespace
}  // namespace platform
