// One-line reports on standard error for art that loaded damaged: the game goes on as designed, and says why.
#pragma once

#include <cstdint>
#include <string>

#include "platform/module.h"

class ZSpriteMap;

namespace art {

// When the last Paint of `map` skipped entries, one line naming the file (and where it was found) and how
// many of its frames were skipped; nothing otherwise. True when a line was written.
bool ReportSkippedFrames(const char* fileName, const std::string& foundAs, const ZSpriteMap& map);
// One line saying that the file is missing (foundAs empty) or not a readable sprite map, and what follows.
void ReportUnreadable(const char* fileName, const std::string& foundAs, const char* consequence);
// One line saying why resource `id` of `type` (named `typeShown`; `what` is what a player would call
// it) of a loaded library cannot be read: the file is cut short, the resource is not there, or its
// bytes are damaged; and what follows from it.
void ReportUnreadableResource(const char* fileName, const platform::Module& module, const platform::ResName& type,
                              const char* typeShown, uint16_t id, const char* what, const char* consequence);
// One line saying that no surface could be made for the sprite map of the file, and what follows from it.
void ReportNoSurface(const char* fileName, const std::string& foundAs, const ZSpriteMap& map, const char* consequence);

}  // namespace art
