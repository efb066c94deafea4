// ZHuntingMap: the simulated hunting area of one hunt: its items, its ten birds, the simulation clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/vector.h"
#include "framework/world/item.h"
#include "framework/world/map.h"

class ZTurkeyGame;
class ZHunter;
class ZTurkey;
class ZSprite;
class CFile;

class ZHuntingMap : public ZMap {
  Z_DECLARE_CLASS(ZHuntingMap)

 public:
  static constexpr int32_t kBirdCount = 10;
  static constexpr double kFastTimeScale = 30.0;  // while no bird is near the hunter
  static constexpr double kRealTimeScale = 1.0;   // while one is
  // The map file is read up to this many records; the layout the game ships has a few hundred. A
  // larger file is cut here so that neither loading nor the birds' scan of the special items can stall.
  static constexpr size_t kMaxItems = 16384;
  static constexpr uint32_t kHeaderBytes = 20;
  static constexpr uint32_t kRecordBytes = 12;

  ZHuntingMap(ZTurkeyGame* owner, ZHunter* player);
  ~ZHuntingMap() override;
  ZHuntingMap(const ZHuntingMap&) = delete;
  ZHuntingMap& operator=(const ZHuntingMap&) = delete;

  // Loads the items, resets the hunter and makes the ten birds; 0 (and no birds) when the map file
  // cannot be read.
  int32_t StartHunt(int32_t loadMode);
  // Reads the map file (`mapFileName`: "map1.map", looked up in the current directory, then the
  // program's); 0 when it cannot be opened.
  int32_t LoadItems(int32_t loadMode);
  // Reads the items from an open file object: a 20-byte header, then 12-byte records to the end.
  // Used by LoadItems; a file object over memory lets tests and the fuzzer feed it directly.
  int32_t ReadItems(CFile* file);
  // One frame: the clock, the time scale, the hunter, then every bird in list order.
  void Update(int32_t walk);
  // The bird nearest the hunter (nearer than 100000), the earliest among equals; null without birds.
  ZTurkey* NearestBird() const;
  // Asks each bird in turn whether the shot that struck `sprite` at panorama x, y hit it; 1 at the first.
  int32_t HitTest(ZSprite* sprite, int32_t x, int32_t y);
  // Every bird gives up its sprite (the hunt is ending).
  void DropSprites();

  // Iteration with a cursor per list; null past the end.
  ZTurkey* FirstBird();
  ZTurkey* NextBird();
  ZMapItem* FirstItem();
  ZMapItem* NextItem();
  ZMapItem* FirstSpecial();
  ZMapItem* NextSpecial();

  ZTurkeyGame* game = nullptr;
  std::vector<std::unique_ptr<ZTurkey>> birds;      // creation order
  std::vector<std::unique_ptr<ZMapItem>> items;     // scenery, file order
  std::vector<std::unique_ptr<ZMapItem>> specials;  // types 18, 19, 20, file order
  ZHunter* hunter = nullptr;
  ZVector watchDirection;
  double timeScale = kFastTimeScale;
  uint32_t frameTime = 0;
  uint32_t previousFrameTime = 0;
  uint32_t frameDelta = 0;
  int32_t subspecies = 0;
  int32_t birdNear = 0;
  // The map file's name; a path with a folder is looked up only there (tests and tools point it elsewhere).
  std::string mapFileName;

 private:
  void DeleteAll();
  size_t birdCursor = 0;
  size_t itemCursor = 0;
  size_t specialCursor = 0;
};
