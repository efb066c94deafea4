// Fuzzes the map file reader and what a hunt does with its items: the bytes as "map1.map", a hunt started
// on them, the scenery projected, and some frames of birds steering by them.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "framework/core/data.h"
#include "framework/graphics/sprite_list.h"
#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/scene.h"
#include "game/turkey.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/rand.h"

namespace {

platform::HeadlessBackend* Backend() {
  static platform::HeadlessBackend* backend = nullptr;
  if (backend == nullptr) {
    backend = new platform::HeadlessBackend(1000, 0);
    platform::SetBackend(backend);
  }
  return backend;
}

bool Finite(const ZPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::HeadlessBackend* backend = Backend();
  static const std::string dir = "/tmp/bf_fuzz_map_items_" + std::to_string(::getpid());
  static const bool made = std::filesystem::create_directories(dir) || std::filesystem::is_directory(dir);
  if (!made) return 0;
  const std::string path = dir + "/map1.map";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);

  ZHunter hunter(nullptr, nullptr);
  ZHuntingMap map(nullptr, &hunter);
  ZSpriteList world;
  ZScene scene(&world, &map);
  map.mapFileName = path;
  scene.SetArea(1 + static_cast<int32_t>(size % 5));
  platform::srand(static_cast<uint32_t>(size));
  if (map.StartHunt(1) != 1) __builtin_trap();  // the file exists, so it is read
  const size_t records = size > 20 ? (size - 20) / 12 : 0;
  const size_t kept = map.items.size() + map.specials.size();
  if (kept > records || kept > ZHuntingMap::kMaxItems || map.birds.size() != 10) __builtin_trap();
  for (const auto& item : map.items) {
    if (!Finite(item->position) || item->IsSpecial()) __builtin_trap();
  }
  for (const auto& item : map.specials) {
    if (!Finite(item->position) || !item->IsSpecial()) __builtin_trap();
  }
  // The same bytes through a file object in memory give the same items.
  {
    ZHuntingMap again(nullptr, nullptr);
    CMemFile memory(data, size);
    if (again.ReadItems(&memory) != 1 || again.items.size() != map.items.size() ||
        again.specials.size() != map.specials.size()) {
      __builtin_trap();
    }
  }
  scene.BuildScenery(nullptr, nullptr, nullptr);
  world.DeleteAll();
  // Frames of the hunt, loud and enticing now and then, so birds walk, answer, flee and steer.
  hunter.attraction = static_cast<uint32_t>(size * 7 % 1000);
  for (int frame = 0; frame < 40; ++frame) {
    backend->Advance(frame == 20 ? 5000 : 28);
    if (frame == 10) hunter.alarm = 900;
    map.Update(0);
  }
  for (const auto& bird : map.birds) {
    if (!Finite(bird->position) || !Finite(bird->target)) __builtin_trap();
  }
  return 0;
}
