// Fuzz target: the profile reader on arbitrary bytes, and the writer's text read back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::ProfileData read;
  const platform::ProfileReadResult r = platform::ParseProfile(text, &read);
  // Reading stops at the first unsound line, right after the sound ones.
  if (r.damagedLine != 0 && r.damagedLine != r.lines + 1) __builtin_trap();
  // Whatever was read writes out as sound text that reads back to the same entries.
  platform::ProfileData again;
  if (!platform::ParseProfile(platform::FormatProfile(read), &again).Sound()) __builtin_trap();
  if (!(again == read)) __builtin_trap();
  return 0;
}
