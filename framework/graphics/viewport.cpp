// ZViewport: normalising the scroll, source/screen conversion, wrapped view pieces, partial redraws, clip.
#include "framework/graphics/viewport.h"

#include <algorithm>

#include "framework/graphics/graphics.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/surface.h"
#include "platform/display.h"
#include "platform/surface.h"

Z_IMPLEMENT_CLASS(ZViewport, ZObject)

using platform::HRESULT;
using platform::Rect;

namespace {

constexpr int kLostRetries = 4;

// Brings v into [0, size) (or [0, size] when `inclusive`), as repeated adding/subtracting would.
int32_t Wrap(int32_t v, int32_t size, bool inclusive) {
  if (size <= 0) return v;
  if (v < 0) v = static_cast<int32_t>(((static_cast<int64_t>(v) % size) + size) % size);
  if (inclusive && v > size) v = static_cast<int32_t>((static_cast<int64_t>(v) - 1) % size + 1);
  if (!inclusive && v >= size) v = static_cast<int32_t>(static_cast<int64_t>(v) % size);
  return v;
}

}  // namespace

ZViewport::ZViewport(ZGraphics* g) : graphics(g) { CreateClipper(g); }

ZViewport::ZViewport(ZGraphics* g, ZSurface* newSource, ZSurface* newTarget, const Rect* view, int32_t sx,
                     int32_t sy)
    : graphics(g) {
  CreateClipper(g);
  Setup(newSource, newTarget, view, sx, sy);
}

ZViewport::~ZViewport() = default;

HRESULT ZViewport::ApplyClipList() {
  if (clipper == nullptr) return platform::E_FAIL;
  HRESULT hr = clipper->SetClipList(&clipList.rect, 1, &clipList.bound);
  if (platform::Failed(hr) && graphics != nullptr) graphics->ReportError(hr);
  return hr;
}

int ZViewport::CreateClipper(ZGraphics* g) {
  graphics = g;
  clipper.reset();
  if (g == nullptr || g->GetDirectDraw() == nullptr) return 0;
  HRESULT hr = g->GetDirectDraw()->CreateClipper(0, &clipper);
  if (platform::Succeeded(hr) && clipper != nullptr) hr = clipper->SetClipList(&clipList.rect, 1, &clipList.bound);
  if (platform::Failed(hr) || clipper == nullptr) {
    g->ReportError(platform::Failed(hr) ? hr : platform::E_FAIL);
    clipper.reset();
    return 0;
  }
  return 1;
}

void ZViewport::Setup(ZSurface* newSource, ZSurface* newTarget, const Rect* view, int32_t sx, int32_t sy) {
  source = newSource;
  target = newTarget;
  if (view != nullptr) SetViewRect(view);
  scrollX = sx;
  scrollY = sy;
  Normalize();
  clipList.bound = Rect{0, 0, target != nullptr ? target->GetWidth() : 0, target != nullptr ? target->GetHeight() : 0};
  if (viewRect != nullptr) clipList.rect = *viewRect;
  if (clipper != nullptr) ApplyClipList();
  pieceCount = 0;
  if (notifier != nullptr && viewRect != nullptr) {
    Rect v = *viewRect;
    notifier->Notify(nullptr, kNoticeShown, &v, nullptr);
  }
}

void ZViewport::ForgetSource(const ZSurface* surface) {
  if (surface == nullptr || source != surface) return;
  source = nullptr;
  pieceCount = 0;
}

HRESULT ZViewport::SetViewRect(const Rect* rect) {
  if (rect == nullptr) return platform::E_INVALIDARG;
  if (viewRect == nullptr) viewRect = std::make_unique<Rect>();
  *viewRect = *rect;
  Normalize();
  pieceCount = 0;
  if (target != nullptr) clipList.bound = Rect{0, 0, target->GetWidth(), target->GetHeight()};
  clipList.rect = *viewRect;
  return ApplyClipList();
}

void ZViewport::SetTarget(ZSurface* surface) {
  if (surface == nullptr) return;
  target = surface;
  Normalize();
}

void ZViewport::GetViewRect(Rect* out) const {
  if (out == nullptr) return;
  *out = viewRect != nullptr ? *viewRect : Rect{};
}

void ZViewport::GetVisibleSourceRect(Rect* out) const {
  if (out == nullptr) return;
  if (viewRect == nullptr) {
    *out = Rect{};
    return;
  }
  *out = Rect{0, 0, viewRect->Width(), viewRect->Height()};
  platform::OffsetRect(out, scrollX, scrollY);
}

void ZViewport::Normalize() {
  if (source == nullptr || target == nullptr) return;
  const int32_t sw = source->GetWidth();
  const int32_t sh = source->GetHeight();
  if (viewRect == nullptr) viewRect = std::make_unique<Rect>(Rect{0, 0, target->GetWidth(), target->GetHeight()});
  Rect& view = *viewRect;
  int32_t vw = view.Width();
  int32_t vh = view.Height();
  if (wrapHorizontally != 0) {
    scrollX = Wrap(scrollX, sw, false);
  } else if (scrollX < 0) {
    scrollX = 0;
  } else if (scrollX + vw > sw) {
    scrollX = sw - vw;
  }
  if (wrapVertically != 0) {
    scrollY = Wrap(scrollY, sh, false);
  } else if (scrollY < 0) {
    scrollY = 0;
  } else if (scrollY + vh > sh) {
    scrollY = sh - vh;
  }
  // The view is no larger than the source and ends inside the target.
  if (vw > sw) view.right = view.left + sw;
  if (vh > sh) view.bottom = view.top + sh;
  view.right = std::min(view.right, target->GetWidth());
  view.bottom = std::min(view.bottom, target->GetHeight());
  vw = view.Width();
  vh = view.Height();
  if (wrapHorizontally == 0) {
    int32_t over = scrollX + vw - sw;
    if (over > 0) {
      scrollX -= over;
    } else if (scrollX < 0) {
      scrollX = 0;
    }
    if (scrollX < 0) scrollX = 0;
  }
  if (wrapVertically == 0) {
    int32_t over = scrollY + vh - sh;
    if (over > 0) {
      scrollY -= over;
    } else if (scrollY < 0) {
      scrollY = 0;
    }
    if (scrollY < 0) scrollY = 0;
  }
}

void ZViewport::ToSource(Rect* r) const {
  if (r == nullptr || viewRect == nullptr) return;
  platform::OffsetRect(r, -viewRect->left + scrollX, -viewRect->top + scrollY);
}

void ZViewport::ToScreen(Rect* r) const {
  if (r == nullptr || viewRect == nullptr) return;
  const int32_t sw = source != nullptr ? source->GetWidth() : 0;
  const int32_t sh = source != nullptr ? source->GetHeight() : 0;
  const int32_t vw = viewRect->Width();
  const int32_t vh = viewRect->Height();
  const int32_t x = scrollX;
  const int32_t y = scrollY;
  if (sw - x < vw) {
    // The view runs past the source's right edge and shows its start again.
    platform::OffsetRect(r, x < r->right ? -x : sw - x, 0);
  } else if (wrapHorizontally != 0 && r->right > sw && r->right - sw > x) {
    platform::OffsetRect(r, -(sw + x), 0);
  } else {
    platform::OffsetRect(r, -x, 0);
  }
  if (sh - y < vh) {
    platform::OffsetRect(r, 0, y < r->bottom ? -y : sh - y);
  } else if (wrapVertically != 0 && r->bottom > sh && r->bottom - sh > y) {
    platform::OffsetRect(r, 0, -(sh + y));
  } else {
    platform::OffsetRect(r, 0, -y);
  }
  platform::OffsetRect(r, viewRect->left, viewRect->top);
}

void ZViewport::ComputePieces() {
  for (Rect& p : pieces) p = Rect{};
  pieceCount = 0;
  if (source == nullptr || viewRect == nullptr) return;
  const int32_t sw = source->GetWidth();
  const int32_t sh = source->GetHeight();
  const int32_t vw = viewRect->Width();
  const int32_t vh = viewRect->Height();
  const int32_t x = Wrap(scrollX, sw, true);
  const int32_t y = Wrap(scrollY, sh, true);
  const int32_t d = std::min(sw - x, vw);
  const int32_t e = std::min(sh - y, vh);
  pieces[0] = Rect{x, y, x + d, y + e};
  pieceCount = 1;
  const int32_t xr = vw - d;
  if (wrapHorizontally != 0 && xr > 0) {
    pieces[1] = Rect{0, y, xr, y + e};
    pieceCount = 2;
  }
  const int32_t yb = vh - e;
  if (wrapVertically != 0 && yb > 0) {
    pieces[2] = Rect{x, 0, x + d, yb};
    pieceCount = 3;
    if (wrapHorizontally != 0 && xr > 0) {
      pieces[3] = Rect{0, 0, xr, yb};
      pieceCount = 4;
    }
  }
}

void ZViewport::BlitPiece(const Rect& piece, int32_t x, int32_t y) {
  if (piece.IsEmpty() || source == nullptr || target == nullptr) return;
  platform::Surface* dst = target->GetSurface2();
  if (dst == nullptr) return;
  for (int attempt = 0; attempt < kLostRetries; ++attempt) {
    platform::Surface* src = source->GetSurface2();
    if (src == nullptr) return;
    HRESULT hr = dst->BltFast(x, y, src, &piece, fastBlitFlags);
    if (platform::Succeeded(hr)) return;
    if (hr != platform::DDERR_SURFACELOST) {
      Rect to{x, y, x + piece.Width(), y + piece.Height()};
      platform::BltFx fx;
      hr = dst->Blt(&to, src, &piece, blitFlags, &fx);
      if (platform::Succeeded(hr)) return;
      if (hr != platform::DDERR_SURFACELOST) {
        if (graphics != nullptr) graphics->ReportError(hr);
        return;
      }
    }
    // Lost: the source repaints itself from its picture, then the copy is tried again.
    if (source->Restore() != 0) return;
  }
}

void ZViewport::Draw() {
  if (source == nullptr || target == nullptr || viewRect == nullptr) return;
  if (pieceCount == 0) ComputePieces();
  const int32_t vx = viewRect->left;
  const int32_t vy = viewRect->top;
  const int32_t w0 = pieces[0].Width();
  const int32_t h0 = pieces[0].Height();
  BlitPiece(pieces[0], vx, vy);
  if (pieceCount == 2 || pieceCount == 4) BlitPiece(pieces[1], vx + w0, vy);
  if (pieceCount >= 3) BlitPiece(pieces[2], vx, vy + h0);
  if (pieceCount == 4) BlitPiece(pieces[3], vx + w0, vy + h0);
}

void ZViewport::DrawPart(const Rect* sourceRect) {
  if (sourceRect == nullptr || viewRect == nullptr) return;
  const int32_t savedX = scrollX;
  const int32_t savedY = scrollY;
  const Rect savedView = *viewRect;
  Rect onScreen = *sourceRect;
  ToScreen(&onScreen);
  Rect v;
  if (!platform::IntersectRect(&v, savedView, onScreen)) return;
  scrollX += v.left - savedView.left;
  scrollY += v.top - savedView.top;
  *viewRect = v;
  ComputePieces();
  Draw();
  scrollX = savedX;
  scrollY = savedY;
  *viewRect = savedView;
  pieceCount = 0;
}

void ZViewport::Scroll(int32_t dx, int32_t dy) {
  if (source == nullptr || (dx == 0 && dy == 0)) return;
  if (viewRect != nullptr && viewRect->Width() == source->GetWidth() && viewRect->Height() == source->GetHeight() &&
      wrapHorizontally == 0 && wrapVertically == 0) {
    return;
  }
  scrollX += dx;
  scrollY += dy;
  pieceCount = 0;
  Normalize();
  if (notifier != nullptr && viewRect != nullptr) {
    Rect v = *viewRect;
    notifier->Notify(nullptr, kNoticeMoved, &v, &v);
  }
}

void ZViewport::NarrowClip(const Rect* rect) {
  if (rect == nullptr) return;
  savedClip = clipList.rect;
  clipList.rect = *rect;
  if (clipper != nullptr) ApplyClipList();
}

void ZViewport::RestoreClip() {
  if (savedClip.IsEmpty()) return;
  clipList.rect = savedClip;
  if (clipper != nullptr) ApplyClipList();
  savedClip = Rect{};
}

void ZViewport::AttachClipper() {
  if (clipper == nullptr || target == nullptr || target->GetSurface2() == nullptr) return;
  target->GetSurface2()->SetClipper(clipper);
}

void ZViewport::DetachClipper() {
  if (clipper == nullptr || target == nullptr || target->GetSurface2() == nullptr) return;
  target->GetSurface2()->SetClipper(nullptr);
}

void ZViewport::SetNotifier(ZSpriteListNotifier* newNotifier) { notifier = newNotifier; }
