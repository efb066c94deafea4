// Fuzzes the art search folders with arbitrary current-directory, program-folder and XDG_DATA_DIRS text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/module.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Three strings, split at the first two NUL bytes; a missing third one stands for an unset variable.
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && parts.size() < 3) parts.emplace_back();
    else parts.back() += static_cast<char>(data[i]);
  }
  parts.resize(3);
  const bool unset = size == 0 || std::count(data, data + size, 0) < 2;
  const std::vector<std::string> folders =
      platform::ArtSearchFolders(parts[0], parts[1], unset ? nullptr : parts[2].c_str());
  // Each folder once, and never an empty one.
  for (size_t i = 0; i < folders.size(); ++i) {
    if (folders[i].empty()) __builtin_trap();
    for (size_t j = i + 1; j < folders.size(); ++j) {
      if (folders[i] == folders[j]) __builtin_trap();
    }
  }
  return 0;
}
