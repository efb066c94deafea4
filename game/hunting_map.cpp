// ZHuntingMap: reading the map file, starting a hunt with ten birds, the per-frame update and the shot's questions.
#include "game/hunting_map.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/core/data.h"
#include "game/art_files.h"
#include "game/hunter.h"
#include "game/turkey.h"
#include "platform/clock.h"
#include "platform/module.h"
#include "platform/rand.h"

Z_IMPLEMENT_CLASS(ZHuntingMap, ZMap)

namespace {

int32_t ReadInt32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

float ReadFloat(const uint8_t* p) {
  const uint32_t bits = static_cast<uint32_t>(ReadInt32(p));
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

}  // namespace

ZHuntingMap::ZHuntingMap(ZTurkeyGame* owner, ZHunter* player)
    : game(owner), hunter(player), mapFileName(art::kMapFile) {
  xExtent = 10000.0f;
  yExtent = 10000.0f;
}

ZHuntingMap::~ZHuntingMap() { DeleteAll(); }

void ZHuntingMap::DeleteAll() {
  birds.clear();
  items.clear();
  specials.clear();
  birdCursor = itemCursor = specialCursor = 0;
}

int32_t ZHuntingMap::StartHunt(int32_t loadMode) {
  birdNear = 0;
  DeleteAll();
  if (LoadItems(loadMode) == 0) return 0;
  frameTime = platform::timeGetTime();
  previousFrameTime = frameTime - 1;
  if (hunter != nullptr) {
    hunter->map = this;
    hunter->Reset();
  }
  for (int32_t i = 0; i < kBirdCount; ++i) {
    auto bird = std::make_unique<ZTurkey>(this);
    bird->subspecies = subspecies;
    bird->weight = 1000 / (platform::rand() % 66 + 33);  // 10 to 30 pounds, light birds far more often
    do {
      bird->PlaceRandomly();
    } while (bird->DistanceToHunter() < 2000);
    birds.push_back(std::move(bird));
  }
  watchDirection = ZVector(0.0, 1.0);
  return 1;
}

int32_t ZHuntingMap::LoadItems(int32_t /*loadMode*/) {
  DeleteAll();
  const std::string path = platform::FindFileNoCase(mapFileName);
  CFile file;
  if (path.empty()) {
    std::fprintf(stderr, "brushfeather: cannot find \"%s\" (looked in %s; any letter case); the hunt has no items and "
                 "no birds\n", mapFileName.c_str(), platform::DescribeArtSearch().c_str());
    return 0;
  }
  if (!file.Open(path, CFile::modeRead)) {
    std::fprintf(stderr, "brushfeather: cannot read \"%s\" (found as %s); the hunt has no items and no birds\n",
                 mapFileName.c_str(), path.c_str());
    return 0;
  }
  return ReadItems(&file);
}

int32_t ZHuntingMap::ReadItems(CFile* file) {
  DeleteAll();
  if (file == nullptr || !file->IsOpen()) return 0;
  const uint64_t length = file->GetLength();
  if (length <= kHeaderBytes) return 1;  // a header at most: no items
  uint64_t records = (length - kHeaderBytes) / kRecordBytes;
  if (records > kMaxItems) {
    std::fprintf(stderr, "brushfeather: \"%s\" holds %llu items; only the first %zu are used\n", art::kMapFile,
                 static_cast<unsigned long long>(records), kMaxItems);
    records = kMaxItems;
  }
  if (file->Seek(kHeaderBytes, CFile::begin) != kHeaderBytes) return 1;
  std::vector<uint8_t> bytes(static_cast<size_t>(records) * kRecordBytes);
  // A file that shrank under us gives what arrived; a cut-short last record is ignored.
  const uint32_t got = bytes.empty() ? 0 : file->Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
  const size_t complete = got / kRecordBytes;
  size_t skipped = 0;
  items.reserve(complete);
  for (size_t i = 0; i < complete; ++i) {
    const uint8_t* record = bytes.data() + i * kRecordBytes;
    const float x = ReadFloat(record + 4);
    const float y = ReadFloat(record + 8);
    // A place that is not a number has no distance or bearing: such an item cannot be in the area.
    if (!std::isfinite(x) || !std::isfinite(y)) {
      ++skipped;
      continue;
    }
    items.push_back(std::make_unique<ZMapItem>(ReadInt32(record), x, y));
  }
  if (skipped > 0) {
    std::fprintf(stderr, "brushfeather: \"%s\": %zu items without a finite place were left out\n", art::kMapFile,
                 skipped);
  }
  // The special items go to their own list, keeping their order.
  std::vector<std::unique_ptr<ZMapItem>> scenery;
  scenery.reserve(items.size());
  for (auto& item : items) {
    if (item->IsSpecial()) {
      specials.push_back(std::move(item));
    } else {
      scenery.push_back(std::move(item));
    }
  }
  items = std::move(scenery);
  return 1;
}

void ZHuntingMap::Update(int32_t walk) {
  previousFrameTime = frameTime;
  frameTime = platform::timeGetTime();
  frameDelta = frameTime - previousFrameTime;
  timeScale = kFastTimeScale;
  birdNear = 0;
  for (const auto& bird : birds) {
    if (bird->near != 0) {
      timeScale = kRealTimeScale;
      birdNear = 1;
    }
  }
  if (hunter != nullptr) hunter->Tick(walk);
  // By index: a bird's tick never adds or removes birds, but the list must not be walked by an
  // iterator that a future change could invalidate.
  for (size_t i = 0; i < birds.size(); ++i) birds[i]->Tick();
}

ZTurkey* ZHuntingMap::NearestBird() const {
  ZTurkey* nearest = nullptr;
  double best = 100000.0;
  for (const auto& bird : birds) {
    const double d = bird->DistanceToHunter();
    if (d < best) {
      best = d;
      nearest = bird.get();
    }
  }
  return nearest;
}

int32_t ZHuntingMap::HitTest(ZSprite* sprite, int32_t x, int32_t y) {
  for (const auto& bird : birds) {
    if (bird->HitTest(sprite, x, y) != 0) return 1;
  }
  return 0;
}

void ZHuntingMap::DropSprites() {
  for (const auto& bird : birds) bird->DropSprite();
}

namespace {
template <typename T>
T* At(const std::vector<std::unique_ptr<T>>& list, size_t index) {
  return index < list.size() ? list[index].get() : nullptr;
}
}  // namespace

ZTurkey* ZHuntingMap::FirstBird() { return At(birds, birdCursor = 0); }
ZTurkey* ZHuntingMap::NextBird() { return At(birds, ++birdCursor); }
ZMapItem* ZHuntingMap::FirstItem() { return At(items, itemCursor = 0); }
ZMapItem* ZHuntingMap::NextItem() { return At(items, ++itemCursor); }
ZMapItem* ZHuntingMap::FirstSpecial() { return At(specials, specialCursor = 0); }
ZMapItem* ZHuntingMap::NextSpecial() { return At(specials, ++specialCursor); }
