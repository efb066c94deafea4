// ZSprite: a movable picture made of sprite-map frames, drawn colour-keyed, mirrored, clipped or wrapped.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/graphics/frame.h"
#include "framework/graphics/image.h"
#include "platform/types.h"

class ZSpriteListNotifier;
class ZSpriteMap;
class ZSurface;
class ZViewport;

// Change notices a sprite (or a viewport) sends to its notifier.
constexpr int kNoticeDepth = 1;   // depth changed: re-sort
constexpr int kNoticeMoved = 2;   // moved or changed: old and new rectangle dirty
constexpr int kNoticeShown = 4;   // appeared or disappeared: its rectangle dirty

class ZSprite : public ZDIB {
  Z_DECLARE_CLASS(ZSprite)

 public:
  ZSprite();
  ZSprite(int32_t x, int32_t y, int32_t depth, ZSurface* source, int32_t spriteId, ZSpriteMap* spriteMap);
  ~ZSprite() override;

  virtual void Reset();
  // Draws the current frame, clipped to clip when given, through the viewport onto its target or
  // directly onto the sprite's own target. Returns 1 when it drew.
  virtual int Draw(const platform::Rect* clip, ZSurface* scratch, int throughViewport);
  virtual int HitTest(int32_t x, int32_t y);
  virtual int LoadFrames(int32_t spriteId, ZSpriteMap* spriteMap);
  // Loads a bitmap resource of the module into image-array slot index (growing the array).
  virtual int LoadImage(uint32_t id, int32_t index, platform::Module* module);
  virtual int LoadFrame(int32_t frameId, ZSpriteMap* spriteMap);
  virtual void SetNotifier(ZSpriteListNotifier* newNotifier);
  // Paints the sprite: directly onto its target with wrap-around, or through its viewport when placed.
  virtual int DrawSelf();
  virtual int32_t GetLeft() const;
  virtual int32_t GetTop() const;
  virtual int32_t GetDepth() const;
  virtual int32_t GetX() const;
  virtual int32_t GetY() const;
  virtual void GetHotSpot(platform::Point* out) const;
  void GetRect(platform::Rect* out) const override;  // left, top, + frame size; nothing without a frame

  int Init(int32_t x, int32_t y, int32_t depth, ZSurface* source, int32_t spriteId, ZSpriteMap* spriteMap);
  void SetTargets(ZSurface* target, ZViewport* newViewport);
  void SetPosition(int32_t x, int32_t y);
  int SetFrame(int32_t index);
  void SetDepth(int32_t newDepth);

  // Blits one piece (rectangle in pieces[piece]) from the source surface at x, y on the current
  // target, colour-keyed and mirrored as set.
  void BlitPiece(int piece, int32_t x, int32_t y);
  // Direct drawing onto the target with wrap-around; src null: the current frame at left, top.
  void DrawWrapped(const platform::Rect* src, int32_t x, int32_t y);

  // The rectangle in screen coordinates (through the viewport when there is one).
  void GetScreenRect(platform::Rect* out) const;
  int32_t GetFrameCount() const { return static_cast<int32_t>(frames.size()); }
  ZFrame* GetCurrentFrame() const { return currentFrame; }
  int32_t GetCurrentFrameIndex() const { return currentFrameIndex; }
  ZSurface* GetSourceSurface() const { return sourceSurface; }
  ZSurface* GetTargetSurface() const { return targetSurface; }
  ZViewport* GetViewport() const { return viewport; }
  ZSpriteListNotifier* GetNotifier() const { return notifier; }
  // Sends a change notice to the notifier, when there is one.
  void Notify(int flags, const platform::Rect* first, const platform::Rect* second);

  // Set directly by the owners.
  int32_t mirrorLeftRight = 0;
  int32_t mirrorUpDown = 0;
  int32_t kind = 0;    // 0, 1: still; 2 and above: moving
  int32_t placed = 0;  // drawn through the viewport (set) or directly onto the target (clear)
  int32_t wrapHorizontally = 0;
  int32_t wrapVertically = 0;
  platform::Rect pieces[4];  // source rectangles of the last drawing
  bool pieceDrawn[4] = {};

 protected:
  // The plain hit test against the unscaled frame at x, y.
  int HitTestFrame(int32_t x, int32_t y);
  // Blits the pieces DrawWrapped chose, from `from` (the source surface, or the scratch for scaled sprites).
  void DrawWrappedFrom(ZSurface* from, const platform::Rect* src, int32_t x, int32_t y);
  int BlitPieceFrom(ZSurface* from, int piece, int32_t x, int32_t y);

  ZSpriteListNotifier* notifier = nullptr;
  int32_t left = 0;
  int32_t top = 0;
  int32_t depth = 0;
  int32_t hotX = 0;
  int32_t hotY = 0;
  ZDIB* currentImage = nullptr;
  std::vector<std::unique_ptr<ZDIB>> images;
  int32_t currentImageIndex = 0;
  std::vector<std::unique_ptr<ZFrame>> frames;
  ZFrame* currentFrame = nullptr;
  int32_t currentFrameIndex = 0;
  ZSurface* sourceSurface = nullptr;
  ZSurface* targetSurface = nullptr;
  ZViewport* viewport = nullptr;
};
