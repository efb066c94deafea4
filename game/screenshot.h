// Screenshots: the front surface as a 640 x 480 8-bit Windows bitmap, and the next free file name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ZGraphics;

constexpr uint32_t kScreenshotFileSize = 308278;
constexpr uint32_t kScreenshotBitsOffset = 1078;

// The whole bitmap file of the front surface in the palette attached to it. False (out untouched)
// when there is no front surface or it cannot be locked.
bool BuildScreenshotBitmap(ZGraphics* graphics, std::vector<uint8_t>* out);
// Writes that bitmap to path; false when nothing could be captured or the file not written.
bool WriteScreenshotFile(ZGraphics* graphics, const std::string& path);
// "scnshot.bmp" when free, else the first free "scnshot%d.bmp" from 1 up, in directory dir.
std::string NextScreenshotName(const std::string& dir = ".");
// Where F10 writes: "." (the current directory) in a development run, when it is writable and the
// art was found there; otherwise screenshots/ in the game's data folder under $XDG_DATA_HOME, made
// when missing. Empty, after a line on standard error, when that folder cannot be had.
std::string ScreenshotFolder();
