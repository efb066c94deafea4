// Writes genuine 32-bit PE resource-only DLLs: one .rsrc section holding the given resources.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

// Standard resource type numbers used by the game's files.
constexpr uint16_t kRtCursor = 1;
constexpr uint16_t kRtBitmap = 2;
constexpr uint16_t kRtGroupCursor = 12;
constexpr uint16_t kLangEnglishUs = 0x409;

class ResourceModuleWriter {
 public:
  // A resource whose type is a standard number (RT_BITMAP...).
  void Add(uint16_t type, uint16_t id, std::vector<uint8_t> data);
  // A resource whose type is a name ("SPRITEMAP", "WAVE"); stored as an upper-case UTF-16 name.
  void Add(const std::string& typeName, uint16_t id, std::vector<uint8_t> data);
  // The whole DLL image. Deterministic: no time stamps, the same bytes for the same resources.
  std::vector<uint8_t> Build() const;
  size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    std::string typeName;  // empty: numbered type
    uint16_t typeId = 0;
    uint16_t id = 0;
    std::vector<uint8_t> data;
  };
  std::vector<Entry> entries_;
};

}  // namespace artgen
