// Fuzz target: the trophy list read from an arbitrary profile file, each place's line built and laid out.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "game/trophy_room_wnd.h"
#include "platform/profile.h"
#include "platform/surface.h"
#include "platform/text.h"
#include "platform/window.h"

namespace {

struct World {
  std::string path;
  platform::Surface surface{640, 480, platform::DDSCAPS_OFFSCREENPLAIN};
  std::unique_ptr<platform::Font> font;
  World() {
    std::string dir = (std::filesystem::temp_directory_path() / "bf-fuzz-trophy-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) __builtin_trap();
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    setenv("TZ", "UTC", 1);
    platform::SetApplicationName("brushfeather");
    platform::SetRegistryKey("Brackwen Interactive");
    std::filesystem::create_directories(platform::GetProfileDirectory());
    path = platform::GetProfilePath();
    font = platform::CreateFont(14, 0, 0, 0, platform::FW_NORMAL, false, false, false, platform::DEFAULT_CHARSET, 0,
                                0, platform::PROOF_QUALITY, platform::DEFAULT_PITCH, "Times");
  }
  // A new file each time (written beside, then renamed), so the store reads it afresh.
  void Put(const uint8_t* data, size_t size) {
    const std::string next = path + ".next";
    const int fd = ::open(next.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) __builtin_trap();
    if (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)) __builtin_trap();
    ::close(fd);
    if (::rename(next.c_str(), path.c_str()) != 0) __builtin_trap();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World* world = new World();
  if (size > (1u << 16)) return 0;
  world->Put(data, size);
  platform::DeviceContext dc;
  if (platform::Failed(world->surface.GetDC(&dc))) __builtin_trap();
  platform::SetBkMode(&dc, platform::TRANSPARENT);
  platform::SelectObject(&dc, world->font.get());
  for (int32_t rank = 0; rank < ZTrophyRoomWnd::kPlaces; ++rank) {
    const ZTrophyRecord record = ZTrophyRoomWnd::ReadTrophy(rank);
    if (record.Empty()) continue;
    const std::string line = ZTrophyRoomWnd::TrophyLine(record);
    // Whatever the profile holds, the line stays small: the name is cut, the rest is bounded.
    if (line.size() > ZTrophyRoomWnd::kMaxNameBytes + 256) __builtin_trap();
    if (record.name.size() <= ZTrophyRoomWnd::kMaxNameBytes && line.rfind(record.name, 0) != 0) __builtin_trap();
    platform::Rect r{175, 120 + 60 * rank, 575, 170 + 60 * rank};
    platform::DrawText(&dc, line, &r, platform::DT_WORDBREAK);
  }
  world->surface.ReleaseDC(&dc);
  return 0;
}
