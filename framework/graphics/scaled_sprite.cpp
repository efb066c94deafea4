// ZScaledSprite: scaled rectangle and hot spot, stretching through the scratch surface, scaled hit tests.
#include "framework/graphics/scaled_sprite.h"

#include <cmath>

#include "framework/graphics/graphics.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "platform/surface.h"

Z_IMPLEMENT_CLASS(ZScaledSprite, ZSprite)

using platform::Rect;

ZScaledSprite::ZScaledSprite() { Reset(); }

ZScaledSprite::ZScaledSprite(int32_t x, int32_t y, int32_t d, ZSurface* source, int32_t spriteId,
                             ZSpriteMap* spriteMap) {
  Reset();
  Init(x, y, d, source, spriteId, spriteMap);
}

ZScaledSprite::~ZScaledSprite() = default;

int32_t ZScaledSprite::Round(double v) {
  // Sizes far beyond any surface (a huge or infinite scale) are held at a bound instead of overflowing.
  constexpr double kLimit = 1 << 24;
  if (!(v + 0.5 < kLimit)) return static_cast<int32_t>(kLimit);
  return static_cast<int32_t>(v + 0.5);
}

void ZScaledSprite::Reset() {
  ZSprite::Reset();
  scale = 1.0;
}

void ZScaledSprite::GetRect(Rect* out) const {
  if (out == nullptr || currentFrame == nullptr) return;
  *out = Rect{left, top, left + Round(currentFrame->Width() * scale), top + Round(currentFrame->Height() * scale)};
}

int32_t ZScaledSprite::GetX() const { return left + Round(hotX * scale); }
int32_t ZScaledSprite::GetY() const { return top + Round(hotY * scale); }

void ZScaledSprite::SetPosition(int32_t x, int32_t y) {
  Rect before;
  GetScreenRect(&before);
  left = x - Round(hotX * scale);
  top = y - Round(hotY * scale);
  Rect after;
  GetScreenRect(&after);
  Notify(kNoticeMoved, &before, &after);
}

void ZScaledSprite::SetScale(double s) {
  if (std::isnan(s) || s < 0) return;
  Rect before;
  GetScreenRect(&before);
  int32_t x = GetX();
  int32_t y = GetY();
  scale = s;
  SetPosition(x, y);
  Rect after;
  GetScreenRect(&after);
  Notify(kNoticeMoved, &before, &after);
}

int ZScaledSprite::Draw(const Rect* clip, ZSurface* scratch, int throughViewport) {
  if (scale == 1.0) return ZSprite::Draw(clip, scratch, throughViewport);
  if (sourceSurface == nullptr || currentFrame == nullptr) return 0;
  if (throughViewport != 0 ? viewport == nullptr : targetSurface == nullptr) return 0;
  Rect r;
  GetRect(&r);
  Rect src = currentFrame->sourceRect;
  if (throughViewport != 0) viewport->ToScreen(&r);
  if (r.IsEmpty()) return 0;
  Rect v = r;
  if (clip != nullptr && !platform::IntersectRect(&v, r, *clip)) return 0;
  if (scratch == nullptr || scratch->GetSurface2() == nullptr) return 0;
  if (scratch->GetWidth() < r.Width() || scratch->GetHeight() < r.Height()) return 0;
  if (sourceSurface->IsLost() && sourceSurface->Restore() != 0) return 0;
  platform::Surface* scratch2 = scratch->GetSurface2();
  platform::Surface* source2 = sourceSurface->GetSurface2();
  if (source2 == nullptr) return 0;

  // Stretch the whole frame into the scratch's corner, every pixel copied.
  Rect stretched{0, 0, r.Width(), r.Height()};
  if (platform::Failed(scratch2->Blt(&stretched, source2, &src, platform::DDBLT_WAIT, nullptr))) return 0;
  Rect s{v.left - r.left, v.top - r.top, r.Width() - (r.right - v.right), r.Height() - (r.bottom - v.bottom)};

  if (throughViewport == 0) {
    DrawWrappedFrom(scratch, &s, v.left, v.top);
    return 1;
  }
  ZSurface* target = viewport->GetTarget();
  if (target == nullptr || target->GetSurface2() == nullptr) return 0;
  platform::Surface* target2 = target->GetSurface2();
  viewport->AttachClipper();
  int result = 1;
  if (mirrorLeftRight != 0 || mirrorUpDown != 0) {
    platform::BltFx fx;
    if (mirrorLeftRight != 0) {
      platform::OffsetRect(&s, r.Width() - s.left - s.right, 0);
      fx.ddfx |= platform::DDBLTFX_MIRRORLEFTRIGHT;
    }
    if (mirrorUpDown != 0) {
      platform::OffsetRect(&s, 0, r.Height() - s.top - s.bottom);
      fx.ddfx |= platform::DDBLTFX_MIRRORUPDOWN;
    }
    platform::HRESULT hr = target2->Blt(&v, scratch2, &s,
                                        platform::DDBLT_WAIT | platform::DDBLT_KEYSRC | platform::DDBLT_DDFX, &fx);
    if (platform::Failed(hr) && sourceSurface->GetGraphics() != nullptr) sourceSurface->GetGraphics()->ReportError(hr);
  } else {
    platform::HRESULT hr =
        target2->BltFast(v.left, v.top, scratch2, &s, platform::DDBLTFAST_SRCCOLORKEY | platform::DDBLTFAST_WAIT);
    if (platform::Failed(hr)) {
      platform::BltFx fx;
      hr = target2->Blt(&v, scratch2, &s, platform::DDBLT_WAIT | platform::DDBLT_KEYSRC, &fx);
      if (platform::Failed(hr)) result = 0;
    }
  }
  viewport->DetachClipper();
  return result;
}

int ZScaledSprite::DrawSelf() { return scale == 1.0 ? ZSprite::DrawSelf() : 0; }

int ZScaledSprite::HitTest(int32_t x, int32_t y) {
  Rect r;
  if (currentFrame == nullptr) return 0;
  GetRect(&r);
  if (!r.Contains(platform::Point{x, y})) return 0;
  return HitTestFrame(left + static_cast<int32_t>((x - left) / scale), top + static_cast<int32_t>((y - top) / scale));
}
