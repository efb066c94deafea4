// ZSpriteList and its notifier: depth order, membership notices, and change notices turned into dirty rectangles.
#include "framework/graphics/sprite_list.h"

#include <algorithm>

#include "framework/graphics/graphics.h"
#include "framework/graphics/sprite.h"

Z_IMPLEMENT_CLASS(ZSpriteList, ZObject)

using platform::Rect;

void ZSpriteListNotifier::Notify(ZSprite* sprite, int flags, const Rect* first, const Rect* second) {
  if ((flags & kNoticeDepth) != 0) {
    if (sprite != nullptr && list != nullptr) list->Resort(sprite);
    if (graphics != nullptr) {
      graphics->AddFollowingRect(first);
      graphics->AddPendingRect(first);
    }
  }
  if (graphics == nullptr) return;
  if ((flags & kNoticeMoved) != 0) {
    graphics->AddFollowingRect(first);
    graphics->AddFollowingRect(second);
    graphics->AddPendingRect(first);
    graphics->AddPendingRect(second);
  }
  if ((flags & kNoticeShown) != 0) {
    graphics->AddFollowingRect(first);
    graphics->AddPendingRect(first);
  }
}

ZSpriteList::ZSpriteList() { notifier.list = this; }

ZSpriteList::~ZSpriteList() { sprites.clear(); }

int ZSpriteList::Add(ZSprite* sprite) {
  if (sprite == nullptr) return 0;
  sprite->SetNotifier(&notifier);
  auto it = std::find_if(sprites.begin(), sprites.end(),
                         [&](const ZSprite* s) { return s->GetDepth() >= sprite->GetDepth(); });
  sprites.insert(it, sprite);
  if (sprite->GetCurrentFrame() != nullptr && sprite->GetNotifier() != nullptr) {
    Rect r;
    sprite->GetScreenRect(&r);
    sprite->Notify(kNoticeShown, &r, nullptr);
  }
  return 1;
}

ZSprite* ZSpriteList::Remove(ZSprite* sprite) {
  auto it = std::find(sprites.begin(), sprites.end(), sprite);
  if (it == sprites.end() || sprite == nullptr) return nullptr;
  sprites.erase(it);
  if (sprite->GetCurrentFrame() != nullptr && sprite->GetNotifier() != nullptr) {
    Rect r;
    sprite->GetScreenRect(&r);
    sprite->Notify(kNoticeShown, &r, nullptr);
  }
  return sprite;
}

void ZSpriteList::Resort(ZSprite* sprite) {
  if (Remove(sprite) != nullptr) Add(sprite);
}

void ZSpriteList::DeleteAll() {
  std::list<ZSprite*> doomed;
  doomed.swap(sprites);
  for (ZSprite* s : doomed) delete s;
}

void ZSpriteList::RemoveAll() { sprites.clear(); }

bool ZSpriteList::Contains(const ZSprite* sprite) const {
  return std::find(sprites.begin(), sprites.end(), sprite) != sprites.end();
}
