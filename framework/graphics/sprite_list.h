// ZSpriteList: sprites kept in depth order, with the notifier that turns their changes into dirty rectangles.
#pragma once

#include <cstdint>
#include <list>

#include "framework/core/object.h"
#include "platform/types.h"

class ZGraphics;
class ZSprite;
class ZSpriteList;

// Receives the change notices of the sprites of one list and of viewports, and hands the rectangles
// to the display system.
class ZSpriteListNotifier : public ZObject {
 public:
  ZSpriteListNotifier() = default;
  // flags: bit 1 re-sort the sprite, bit 2 first and second rectangle dirty, bit 4 first rectangle dirty.
  virtual void Notify(ZSprite* sprite, int flags, const platform::Rect* first, const platform::Rect* second);

  ZSpriteList* list = nullptr;
  ZGraphics* graphics = nullptr;
};

// Sorted by ascending depth from the head: drawn from the tail, the deepest come first. Does not own
// its sprites unless DeleteAll is called.
class ZSpriteList : public ZObject {
  Z_DECLARE_CLASS(ZSpriteList)

 public:
  ZSpriteList();
  ~ZSpriteList() override;  // empties the list, deletes no sprite
  ZSpriteList(const ZSpriteList&) = delete;
  ZSpriteList& operator=(const ZSpriteList&) = delete;

  // Inserts before the first sprite at least as deep (the newest first among equals); 0 for no sprite.
  int Add(ZSprite* sprite);
  // Unlinks it (notice 4 with its rectangle); returns it, or null when it was not in the list.
  ZSprite* Remove(ZSprite* sprite);
  void Resort(ZSprite* sprite);
  void DeleteAll();
  void RemoveAll();  // empties without deleting

  bool Contains(const ZSprite* sprite) const;
  int32_t GetCount() const { return static_cast<int32_t>(sprites.size()); }
  bool IsEmpty() const { return sprites.empty(); }
  // Head (nearest) first.
  const std::list<ZSprite*>& Sprites() const { return sprites; }
  ZSpriteListNotifier* GetNotifier() { return &notifier; }
  void SetGraphics(ZGraphics* graphics) { notifier.graphics = graphics; }

 private:
  std::list<ZSprite*> sprites;
  ZSpriteListNotifier notifier;
};
