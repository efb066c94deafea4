// ZSprite: frames from a sprite map, change notices, clipped/mirrored/wrapped drawing and pixel hit tests.
#include "framework/graphics/sprite.h"

#include <algorithm>

#include "framework/graphics/graphics.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "platform/surface.h"

Z_IMPLEMENT_CLASS(ZSprite, ZDIB)

using platform::HRESULT;
using platform::Rect;

namespace {

// A source that keeps coming back lost while its restore succeeds (its target is the lost one)
// would loop for ever; a few rounds are plenty for a real loss.
constexpr int kLostRetries = 4;

}  // namespace

ZSprite::ZSprite() { Reset(); }

ZSprite::ZSprite(int32_t x, int32_t y, int32_t d, ZSurface* source, int32_t spriteId, ZSpriteMap* spriteMap) {
  Reset();
  Init(x, y, d, source, spriteId, spriteMap);
}

ZSprite::~ZSprite() = default;

void ZSprite::Reset() {
  images.clear();
  images.push_back(std::make_unique<ZDIB>());
  currentImage = images.front().get();
  currentImageIndex = 0;
  notifier = nullptr;
  left = top = depth = 0;
  hotX = hotY = 0;
  currentFrame = nullptr;
  currentFrameIndex = 0;
  mirrorLeftRight = mirrorUpDown = 0;
  sourceSurface = targetSurface = nullptr;
  viewport = nullptr;
  kind = 0;
  placed = 0;
  wrapHorizontally = wrapVertically = 0;
  for (bool& b : pieceDrawn) b = false;
}

int ZSprite::Init(int32_t x, int32_t y, int32_t d, ZSurface* source, int32_t spriteId, ZSpriteMap* spriteMap) {
  if (source == nullptr) return 0;
  if (LoadFrames(spriteId, spriteMap) == 0) return 0;
  left = x - hotX;
  top = y - hotY;
  sourceSurface = source;
  depth = d;
  return 1;
}

int ZSprite::LoadFrames(int32_t spriteId, ZSpriteMap* spriteMap) {
  frames.clear();
  currentFrame = nullptr;
  if (spriteMap == nullptr) return 0;
  if (spriteMap->GetFrames(spriteId, &frames) == 0 || frames.empty()) return 0;
  currentFrame = frames.front().get();
  hotX = currentFrame->hotX;
  hotY = currentFrame->hotY;
  return 1;
}

int ZSprite::LoadFrame(int32_t frameId, ZSpriteMap* spriteMap) {
  frames.clear();
  currentFrame = nullptr;
  if (spriteMap == nullptr) return 0;
  std::unique_ptr<ZFrame> frame = spriteMap->GetFrame(frameId);
  if (frame == nullptr) return 0;
  frames.push_back(std::move(frame));
  currentFrame = frames.front().get();
  hotX = currentFrame->hotX;
  hotY = currentFrame->hotY;
  return 1;
}

int ZSprite::LoadImage(uint32_t id, int32_t index, platform::Module* module) {
  // The image array is not drawn by anything; loading keeps it a complete, usable array.
  if (index < 0 || index > 1024) return 0;
  auto image = std::make_unique<ZDIB>();
  if (image->LoadResource(id, module) == 0) return 0;
  if (static_cast<size_t>(index) >= images.size()) {
    while (images.size() <= static_cast<size_t>(index)) images.push_back(std::make_unique<ZDIB>());
  }
  images[static_cast<size_t>(index)] = std::move(image);
  currentImage = images[static_cast<size_t>(currentImageIndex)].get();
  return 1;
}

void ZSprite::SetNotifier(ZSpriteListNotifier* newNotifier) { notifier = newNotifier; }

int32_t ZSprite::GetLeft() const { return left; }
int32_t ZSprite::GetTop() const { return top; }
int32_t ZSprite::GetDepth() const { return depth; }
int32_t ZSprite::GetX() const { return left + hotX; }
int32_t ZSprite::GetY() const { return top + hotY; }

void ZSprite::GetHotSpot(platform::Point* out) const {
  if (out == nullptr) return;
  out->x = hotX;
  out->y = hotY;
}

void ZSprite::GetRect(Rect* out) const {
  if (out == nullptr || currentFrame == nullptr) return;
  *out = Rect{left, top, left + currentFrame->Width(), top + currentFrame->Height()};
}

void ZSprite::GetScreenRect(Rect* out) const {
  if (out == nullptr) return;
  *out = Rect{};
  if (currentFrame == nullptr) return;
  GetRect(out);
  if (viewport != nullptr) viewport->ToScreen(out);
}

void ZSprite::Notify(int flags, const Rect* first, const Rect* second) {
  if (notifier != nullptr) notifier->Notify(this, flags, first, second);
}

void ZSprite::SetTargets(ZSurface* target, ZViewport* newViewport) {
  targetSurface = target;
  viewport = newViewport;
}

void ZSprite::SetPosition(int32_t x, int32_t y) {
  if (x == left + hotX && y == top + hotY) return;
  Rect before;
  GetScreenRect(&before);
  left = x - hotX;
  top = y - hotY;
  Rect after;
  GetScreenRect(&after);
  Notify(kNoticeMoved, &before, &after);
}

int ZSprite::SetFrame(int32_t index) {
  if (frames.empty() || index < 0 || static_cast<size_t>(index) >= frames.size()) return 0;
  Rect before;
  GetScreenRect(&before);
  currentFrame = frames[static_cast<size_t>(index)].get();
  if (index == currentFrameIndex) return 1;
  currentFrameIndex = index;
  hotX = currentFrame->hotX;
  hotY = currentFrame->hotY;
  Rect after;
  GetScreenRect(&after);
  Notify(kNoticeMoved, &before, &after);
  return 1;
}

void ZSprite::SetDepth(int32_t newDepth) {
  if (newDepth == depth) return;
  depth = newDepth;
  Notify(kNoticeDepth, nullptr, nullptr);
}

int ZSprite::BlitPieceFrom(ZSurface* from, int piece, int32_t x, int32_t y) {
  if (from == nullptr || targetSurface == nullptr || piece < 0 || piece > 3) return 0;
  platform::Surface* dst = targetSurface->GetSurface2();
  platform::Surface* src = from->GetSurface2();
  if (dst == nullptr || src == nullptr) return 0;
  const Rect& p = pieces[piece];
  Rect to{x, y, x + p.Width(), y + p.Height()};
  uint32_t flags = platform::DDBLT_WAIT | platform::DDBLT_KEYSRC;
  platform::BltFx fx;
  if (mirrorLeftRight != 0 || mirrorUpDown != 0) {
    flags |= platform::DDBLT_DDFX;
    if (mirrorLeftRight != 0) fx.ddfx |= platform::DDBLTFX_MIRRORLEFTRIGHT;
    if (mirrorUpDown != 0) fx.ddfx |= platform::DDBLTFX_MIRRORUPDOWN;
  }
  for (int attempt = 0; attempt < kLostRetries; ++attempt) {
    HRESULT hr = dst->Blt(&to, src, &p, flags, &fx);
    if (platform::Succeeded(hr)) return 1;
    if (hr != platform::DDERR_SURFACELOST) {
      if (from->GetGraphics() != nullptr) from->GetGraphics()->ReportError(hr);
      return 0;
    }
    if (from->Restore() != 0) return 0;
  }
  return 0;
}

void ZSprite::BlitPiece(int piece, int32_t x, int32_t y) { BlitPieceFrom(sourceSurface, piece, x, y); }

int ZSprite::Draw(const Rect* clip, ZSurface*, int throughViewport) {
  if (sourceSurface == nullptr || currentFrame == nullptr) return 0;
  if (throughViewport != 0 ? viewport == nullptr : targetSurface == nullptr) return 0;
  Rect r;
  GetRect(&r);
  Rect src = currentFrame->sourceRect;
  if (throughViewport != 0) viewport->ToScreen(&r);
  if (clip != nullptr) {
    Rect v;
    if (!platform::IntersectRect(&v, r, *clip)) return 0;
    if (!(v == r)) {
      src.left += v.left - r.left;
      src.right += v.right - r.right;
      src.top += v.top - r.top;
      src.bottom += v.bottom - r.bottom;
      r = v;
    }
  }
  ZSurface* ownTarget = targetSurface;
  if (throughViewport != 0) {
    targetSurface = viewport->GetTarget();
    viewport->AttachClipper();
  }
  const Rect& f = currentFrame->sourceRect;
  pieces[0] = src;
  // A clipped part comes from the mirrored side of the frame.
  if (mirrorLeftRight != 0) platform::OffsetRect(&pieces[0], f.left + f.right - src.right - src.left, 0);
  if (mirrorUpDown != 0) platform::OffsetRect(&pieces[0], 0, f.top + f.bottom - src.bottom - src.top);
  BlitPiece(0, r.left, r.top);
  if (throughViewport != 0) {
    viewport->DetachClipper();
    targetSurface = ownTarget;
  }
  return 1;
}

int ZSprite::DrawSelf() {
  if (sourceSurface == nullptr || currentFrame == nullptr) return 0;
  if (targetSurface == nullptr && placed == 0) return 0;
  if (placed != 0 && viewport == nullptr) return 0;
  if (placed == 0) {
    DrawWrapped(nullptr, left, top);
    return 1;
  }
  ZSurface* ownTarget = targetSurface;
  targetSurface = viewport->GetTarget();
  viewport->AttachClipper();
  pieces[0] = currentFrame->sourceRect;
  Rect r;
  GetRect(&r);
  viewport->ToScreen(&r);
  BlitPiece(0, r.left, r.top);
  viewport->DetachClipper();
  targetSurface = ownTarget;
  return 1;
}

void ZSprite::DrawWrapped(const Rect* src, int32_t x, int32_t y) { DrawWrappedFrom(sourceSurface, src, x, y); }

void ZSprite::DrawWrappedFrom(ZSurface* from, const Rect* src, int32_t x, int32_t y) {
  if (targetSurface == nullptr) return;
  Rect s;
  if (src == nullptr) {
    if (currentFrame == nullptr) return;
    s = currentFrame->sourceRect;
    x = left;
    y = top;
  } else {
    s = *src;
  }
  const int32_t W = targetSurface->GetWidth();
  const int32_t H = targetSurface->GetHeight();
  int32_t w = s.Width();
  int32_t h = s.Height();
  int32_t sx = s.left;
  int32_t sy = s.top;
  if (W <= 0 || H <= 0) return;
  auto nothing = [this]() {
    for (bool& b : pieceDrawn) b = false;
  };

  const bool xneg = x < 0;
  const bool xover = x + w > W;
  if (x < 0 && x + w > W) {
    w = W;
    sx = sx - x;
    x = 0;
  } else if (x < 0) {
    x += W;
    if (x < 0) {
      if (wrapHorizontally == 0) return nothing();
      while (x < 0) x += W;
    }
  } else if (x > W) {
    x -= W;
    if (x > W) {
      if (wrapHorizontally == 0) return nothing();
      while (x > W) x -= W;
    }
  }
  const bool yneg = y < 0;
  const bool yover = y + h > H;
  if (y < 0 && y + h > H) {
    h = H;
    sy = sy - y;
    y = 0;
  } else if (y < 0) {
    y += H;
    if (y < 0) {
      if (wrapVertically == 0) return nothing();
      while (y < 0) y += H;
    }
  } else if (y > H) {
    y -= H;
    if (y > H) {
      if (wrapVertically == 0) return nothing();
      while (y > H) y -= H;
    }
  }

  const bool mainColumn = !xneg || wrapHorizontally != 0;
  const bool wrappedColumn = xneg || (xover && wrapHorizontally != 0);
  const bool mainRow = !yneg || wrapVertically != 0;
  const bool wrappedRow = yneg || (yover && wrapVertically != 0);
  pieceDrawn[0] = mainColumn && mainRow;
  pieceDrawn[1] = wrappedColumn && mainRow;
  pieceDrawn[2] = mainColumn && wrappedRow;
  pieceDrawn[3] = wrappedColumn && wrappedRow;

  const int32_t gw = std::min(W - x, w);
  const int32_t gh = std::min(H - y, h);
  const int32_t xr = sx + gw;
  const int32_t yb = sy + gh;
  struct Layout {
    Rect source;
    int32_t moveX, moveY;
    int32_t atX, atY;
  };
  const Layout layout[4] = {
      {Rect{sx, sy, xr, yb}, w - gw, h - gh, x, y},
      {Rect{xr, sy, sx + w, yb}, -gw, h - gh, 0, y},
      {Rect{sx, yb, xr, sy + h}, w - gw, -gh, x, 0},
      {Rect{xr, yb, sx + w, sy + h}, -gw, -gh, 0, 0},
  };
  for (int i = 0; i < 4; ++i) {
    if (!pieceDrawn[i]) continue;
    pieces[i] = layout[i].source;
    platform::OffsetRect(&pieces[i], mirrorLeftRight != 0 ? layout[i].moveX : 0, mirrorUpDown != 0 ? layout[i].moveY : 0);
    BlitPieceFrom(from, i, layout[i].atX, layout[i].atY);
  }
}

int ZSprite::HitTestFrame(int32_t x, int32_t y) {
  if (currentFrame == nullptr) return 0;
  Rect r{left, top, left + currentFrame->Width(), top + currentFrame->Height()};
  if (!r.Contains(platform::Point{x, y})) return 0;
  int32_t u = mirrorLeftRight != 0 ? r.right - 1 - x : x - r.left;
  int32_t v = mirrorUpDown != 0 ? r.bottom - 1 - y : y - r.top;
  ZSpriteMap* map = sourceSurface != nullptr ? sourceSurface->GetSourceSpriteMap() : nullptr;
  if (map == nullptr) return 0;
  int32_t pixel = map->GetPixel(currentFrame->frameId, u, v);
  if (pixel < 0) return 1;  // no entry for the frame: counted as a hit
  return pixel != map->GetTransparentIndex() ? 1 : 0;
}

int ZSprite::HitTest(int32_t x, int32_t y) { return HitTestFrame(x, y); }
