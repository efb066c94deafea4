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

void ReportNoSurface(const char* fileName, const std::string& foundAs, const ZSpriteMap& map, const char* consequence) {
  std::fprintf(stderr, "brushfeather: %s: no surface could be made for its %u x %u sprite map of %d frames; %s\n",
               Where(fileName, foundAs).c_str(), map.GetHeaderWord(kMapWordWidth), map.GetHeaderWord(kMapWordHeight),
               map.GetEntryCount(), consequence);
}

}  // namespace art
