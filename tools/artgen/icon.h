// The game's desktop icon: a strutting turkey's fanned tail on a woodland badge, drawn at any size.
#pragma once

#include <string>
#include <vector>

namespace artgen {

// The sizes installed into the hicolor theme, in pixels.
inline const std::vector<int> kIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// Draws the icon at size x size pixels and writes it as an RGBA PNG; false when it cannot be written.
bool WriteIconPng(int size, const std::string& path);

}  // namespace artgen
