// Writes an 8-bit palette frame as a PNG file (for people to look at; the game's checks use BMP).
#pragma once

#include <string>

#include "platform/backend.h"

namespace platform {

// False when the frame is malformed (no pixels or palette, non-positive size, pitch < width) or the
// file cannot be written; a partly written file is removed.
bool WritePalettedPng(const std::string& path, const FrameView& frame);

}  // namespace platform
