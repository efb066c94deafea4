// ZViewport: a scrolling, optionally wrapping view of a large source surface on a target surface.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/object.h"
#include "platform/types.h"

namespace platform {
class Clipper;
}

class ZGraphics;
class ZSpriteListNotifier;
class ZSurface;

// The one-rectangle clip list a viewport gives its clipper.
struct ZClipList {
  platform::Rect bound;  // 0, 0, target width, target height
  platform::Rect rect;   // the view rectangle, or a narrower one
};

class ZViewport : public ZObject {
  Z_DECLARE_CLASS(ZViewport)

 public:
  explicit ZViewport(ZGraphics* graphics);
  ZViewport(ZGraphics* graphics, ZSurface* source, ZSurface* target, const platform::Rect* view, int32_t scrollX,
            int32_t scrollY);
  ~ZViewport() override;
  ZViewport(const ZViewport&) = delete;
  ZViewport& operator=(const ZViewport&) = delete;

  int CreateClipper(ZGraphics* graphics);
  void Setup(ZSurface* newSource, ZSurface* newTarget, const platform::Rect* view, int32_t newScrollX,
             int32_t newScrollY);
  platform::HRESULT SetViewRect(const platform::Rect* rect);
  void SetTarget(ZSurface* surface);
  void GetViewRect(platform::Rect* out) const;
  void GetVisibleSourceRect(platform::Rect* out) const;
  // In place: source -> screen and screen -> source coordinates.
  void ToScreen(platform::Rect* r) const;
  void ToSource(platform::Rect* r) const;
  void Draw();
  void DrawPart(const platform::Rect* sourceRect);
  void Scroll(int32_t dx, int32_t dy);
  void NarrowClip(const platform::Rect* rect);
  void RestoreClip();
  void AttachClipper();
  void DetachClipper();
  virtual void SetNotifier(ZSpriteListNotifier* newNotifier);
  void Normalize();
  void ComputePieces();

  ZSurface* GetSource() const { return source; }
  // Forgets the source when it is `surface`, which its owner is about to delete; the view then draws
  // nothing until it is set up again.
  void ForgetSource(const ZSurface* surface);
  ZSurface* GetTarget() const { return target; }
  int32_t GetScrollX() const { return scrollX; }
  int32_t GetScrollY() const { return scrollY; }
  int32_t GetPieceCount() const { return pieceCount; }
  const platform::Rect& GetPiece(int i) const { return pieces[i]; }
  const ZClipList& GetClipList() const { return clipList; }
  platform::Clipper* GetClipper() const { return clipper.get(); }
  ZSpriteListNotifier* GetNotifier() const { return notifier; }

  int32_t wrapHorizontally = 0;
  int32_t wrapVertically = 0;

 private:
  platform::HRESULT ApplyClipList();
  void BlitPiece(const platform::Rect& piece, int32_t x, int32_t y);

  ZGraphics* graphics = nullptr;
  ZSurface* source = nullptr;
  ZSurface* target = nullptr;
  std::unique_ptr<platform::Rect> viewRect;
  platform::Rect savedClip;
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  platform::Rect pieces[4];
  int32_t pieceCount = 0;
  uint32_t fastBlitFlags = 16;        // wait
  uint32_t blitFlags = 0x1000000;     // wait
  ZSpriteListNotifier* notifier = nullptr;
  std::shared_ptr<platform::Clipper> clipper;
  ZClipList clipList;
};
