// One-line reports on standard error for art that loaded damaged.
#include "game/art_report.h"

#include <cstdio>

#include "framework/graphics/sprite_map.h"
#include "platform/module.h"

namespace art {

namespace {

std::string Where(const char* fileName, const std::string& foundAs) {
  std::string where = std::string("\"") + fileName + "\"";
  if (!foundAs.empty()) where += " (found as " + foundAs + ")";
  return where;
}

}  // namespace

bool ReportSkippedFrames(const char* fileName, const std::string& foundAs, const ZSpriteMap& map) {
  const int32_t skipped = map.GetSkippedEntryCount();
  if (skipped <= 0) return false;
  std::fprintf(stderr,
               "brushfeather: %s: %d of %d frames of its sprite map do not fit its %u x %u map or its pixel data "
               "and were skipped\n",
               Where(fileName, foundAs).c_str(), skipped, map.GetEntryCount(), map.GetHeaderWord(kMapWordWidth),
               map.GetHeaderWord(kMapWordHeight));
  return true;
}

void ReportUnreadable(const char* fileName, const std::string& foundAs, const char* consequence) {
  if (foundAs.empty()) {
    std::fprintf(stderr, "brushfeather: cannot find \"%s\" (looked in %s; any letter case); %s\n", fileName,
                 platform::DescribeArtSearch().c_str(), consequence);
  } else {
    std::fprintf(stderr, "brushfeather: %s is not a sprite map that can be read; %s\n", Where(fileName, foundAs).c_str(),
                 consequence);
  }
}

void ReportUnreadableResource(const char* fileName, const platform::Module& module, const platform::ResName& type,
                              const char* typeShown, uint16_t id, const char* what, const char* consequence) {
  const std::string where = Where(fileName, module.Name());
  const platform::ResourceInfo* found = module.Find(id, type);
  if (found == nullptr && module.Size() < module.SectionsEnd()) {
    std::fprintf(stderr,
                 "brushfeather: %s is cut short: it has %zu bytes where its sections reach %llu, so its %s (%s %u) "
                 "is not all there; %s\n",
                 where.c_str(), module.Size(), static_cast<unsigned long long>(module.SectionsEnd()), what, typeShown,
                 id, consequence);
  } else if (found == nullptr) {
    std::fprintf(stderr, "brushfeather: %s holds no %s (%s %u); %s\n", where.c_str(), what, typeShown, id,
                 consequence);
  } else {
    std::fprintf(stderr, "brushfeather: %s: its %s (%s %u, %u bytes) is damaged and cannot be read; %s\n",
                 where.c_str(), what, typeShown, id, found->size, consequence);
  }
}

void ReportNoSurface(const char* fileName, const std::string& foundAs, const ZSpriteMap& map, const char* consequence) {
  std::fprintf(stderr, "brushfeather: %s: no surface could be made for its %u x %u sprite map of %d frames; %s\n",
               Where(fileName, foundAs).c_str(), map.GetHeaderWord(kMapWordWidth), map.GetHeaderWord(kMapWordHeight),
               map.GetEntryCount(), consequence);
}

}  // namespace art
