// The screenshot key: the front surface as a 640 x 480 8-bit bitmap file in the current directory.
#include "game/screenshot.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "framework/core/data.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/surface.h"
#include "game/art_files.h"
#include "game/turkey_game.h"
#include "platform/file.h"
#include "platform/module.h"
#include "platform/profile.h"
#include "platform/surface.h"

namespace {

constexpr int32_t kShotWidth = 640;
constexpr int32_t kShotHeight = 480;

void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool Exists(const std::string& path) { return platform::FileExists(path); }

}  // namespace

bool BuildScreenshotBitmap(ZGraphics* graphics, std::vector<uint8_t>* out) {
  if (graphics == nullptr || out == nullptr) return false;
  ZSurface* front = graphics->GetFrontSurface();
  if (front == nullptr || front->GetSurface2() == nullptr) return false;

  std::vector<uint8_t> file(kScreenshotFileSize, 0);
  uint8_t* p = file.data();
  Put16(p + 0, 0x4D42);
  Put32(p + 2, kScreenshotFileSize);
  Put32(p + 10, kScreenshotBitsOffset);
  Put32(p + 14, 40);
  Put32(p + 18, kShotWidth);
  Put32(p + 22, kShotHeight);
  Put16(p + 26, 1);
  Put16(p + 28, 8);
  // Compression, image size, resolutions and colour counts all stay 0.

  // The colour table is the palette the front surface is shown with (black without one).
  platform::Rgb colors[256] = {};
  if (const platform::Palette* palette = front->GetSurface2()->GetPalette()) palette->GetEntries(0, 256, colors);
  for (int i = 0; i < 256; ++i) {
    uint8_t* q = p + 54 + 4 * i;
    q[0] = colors[i].b;
    q[1] = colors[i].g;
    q[2] = colors[i].r;
    q[3] = 0;
  }

  ZSurfaceLock lock(front);
  if (!lock.Ok()) return false;
  const ZSurfaceDesc& desc = lock.Desc();
  if (desc.bits == nullptr || desc.width < kShotWidth || desc.height < kShotHeight) return false;
  // Bottom screen row first.
  uint8_t* dst = p + kScreenshotBitsOffset;
  const uint8_t* src = desc.bits + static_cast<size_t>(desc.pitch) * (kShotHeight - 1);
  for (int32_t row = 0; row < kShotHeight; ++row) {
    std::memcpy(dst, src, kShotWidth);
    dst += kShotWidth;
    src -= desc.pitch;
  }
  lock.Release();
  *out = std::move(file);
  return true;
}

bool WriteScreenshotFile(ZGraphics* graphics, const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!BuildScreenshotBitmap(graphics, &bytes)) return false;
  CFile file;
  if (!file.Open(path, CFile::modeCreate | CFile::modeWrite)) return false;
  bool ok = file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
  file.Close();
  return ok;
}

std::string NextScreenshotName(const std::string& dir) {
  auto inDir = [&](const std::string& name) { return dir.empty() || dir == "." ? name : dir + "/" + name; };
  std::string name = "scnshot.bmp";
  for (int n = 1; Exists(inDir(name)); ++n) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "scnshot%d.bmp", n);
    name = buffer;
  }
  return inDir(name);
}

std::string ScreenshotFolder() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path cwd = fs::current_path(ec);
  if (!ec && ::access(".", W_OK) == 0) {
    // The controls' library is read at every start: where it came from is where the art is.
    const std::string controls = platform::FindFileNoCase(art::kControlsLibrary);
    if (!controls.empty() && fs::equivalent(fs::path(controls).parent_path(), cwd, ec)) return ".";
  }
  const std::string data = platform::GetProfileDirectory();
  if (data.empty()) {
    std::fprintf(stderr, "brushfeather: no data folder for screenshots (no home folder); the screenshot is skipped\n");
    return {};
  }
  const fs::path folder = fs::path(data) / "screenshots";
  ec.clear();
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder) || ::access(folder.c_str(), W_OK) != 0) {
    std::fprintf(stderr, "brushfeather: cannot make the screenshots folder %s (%s); the screenshot is skipped\n",
                 folder.c_str(), ec ? ec.message().c_str() : "not a writable folder");
    return {};
  }
  return folder.string();
}

void ZTurkeyGame::TakeScreenshot() {
  if (graphics == nullptr) return;
  std::vector<uint8_t> bytes;
  // When the front surface cannot be read, no file is written.
  if (!BuildScreenshotBitmap(graphics.get(), &bytes)) return;
  const std::string folder = ScreenshotFolder();
  if (folder.empty()) return;  // said why; the game goes on
  std::string name = NextScreenshotName(folder);
  CFile file;
  if (!file.Open(name, CFile::modeCreate | CFile::modeWrite) ||
      !file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()))) {
    // The game goes on; the player learns why from the console.
    std::fprintf(stderr, "brushfeather: could not write the screenshot %s\n", name.c_str());
  } else if (folder != ".") {
    std::fprintf(stderr, "brushfeather: screenshot saved as %s\n", name.c_str());
  }
  file.Close();
}
