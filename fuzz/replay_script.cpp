// Fuzz target: the replay script parser on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "game/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  replay::Script script;
  std::string error;
  if (replay::ParseScript(text, &script, &error)) {
    // Every accepted command stays within what the runner can carry out.
    for (const replay::Command& c : script.commands) {
      if (c.kind == replay::Command::Kind::Move && (c.value < 0 || c.value > 639 || c.y < 0 || c.y > 479)) __builtin_trap();
      if (c.kind == replay::Command::Kind::Wait && c.value < 0) __builtin_trap();
      if (c.line <= 0) __builtin_trap();
    }
  } else if (error.rfind("line ", 0) != 0) {
    __builtin_trap();  // a refusal always names its line
  }
  return 0;
}
