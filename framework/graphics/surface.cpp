// ZSurface: creating, filling, locking, flipping and restoring one display surface.
#include "framework/graphics/surface.h"

#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/graphics/sprite_map.h"
#include "platform/display.h"
#include "platform/surface.h"

Z_IMPLEMENT_CLASS(ZSurface, ZObject)

using platform::HRESULT;

namespace {

HRESULT Report(ZGraphics* graphics, HRESULT hr) { return graphics != nullptr ? graphics->ReportError(hr) : hr; }

}  // namespace

ZSurface::ZSurface() = default;

ZSurface::ZSurface(ZGraphics* g, int32_t w, int32_t h) { Create(g, w, h); }

ZSurface::ZSurface(ZGraphics* g, ZImage* image, int keyed) { CreateFromImage(g, image, keyed); }

ZSurface::ZSurface(ZGraphics* g, ZSpriteMap* spriteMap) { CreateFromSpriteMap(g, spriteMap); }

ZSurface::~ZSurface() { ReleaseSurface(); }

void ZSurface::ReleaseSurface() {
  // Front and back buffers belong to the display object; only our own surfaces go here.
  owned.reset();
  surface2 = nullptr;
  sourceImage = nullptr;
  sourceSpriteMap = nullptr;
  lockAddress = nullptr;
  kind = kKindNone;
  width = height = pitch = 0;
}

void ZSurface::ReadDescription() {
  if (surface2 == nullptr) return;
  platform::SurfaceDesc desc;
  if (platform::Failed(surface2->GetSurfaceDesc(&desc))) return;
  width = desc.width;
  height = desc.height;
  pitch = desc.pitch;
}

int ZSurface::Create(ZGraphics* g, int32_t w, int32_t h) {
  ReleaseSurface();
  graphics = g;
  if (g == nullptr || g->GetDirectDraw() == nullptr) return 0;
  platform::Display* display = g->GetDirectDraw();
  if (w == 0 && h == 0) {
    platform::SurfaceDesc desc;
    desc.flags = platform::DDSD_CAPS | platform::DDSD_BACKBUFFERCOUNT;
    desc.backBufferCount = 1;
    desc.caps = kKindFront;
    platform::Surface* primary = nullptr;
    // A failed front surface is not reported.
    if (platform::Failed(display->CreatePrimarySurface(desc, &primary)) || primary == nullptr) return 0;
    surface2 = primary;
    kind = kKindFront;
  } else {
    if (w < 1 || h < 1) return 0;
    platform::SurfaceDesc desc;
    desc.flags = platform::DDSD_CAPS | platform::DDSD_HEIGHT | platform::DDSD_WIDTH;
    desc.width = w;
    desc.height = h;
    desc.caps = platform::DDSCAPS_OFFSCREENPLAIN | platform::DDSCAPS_VIDEOMEMORY;
    HRESULT hr = display->CreateSurface(desc, &owned);
    if (hr == platform::E_INVALIDARG || hr == platform::DDERR_OUTOFVIDEOMEMORY || hr == platform::DDERR_NODIRECTDRAWHW) {
      desc.caps = platform::DDSCAPS_OFFSCREENPLAIN | platform::DDSCAPS_SYSTEMMEMORY;
      hr = display->CreateSurface(desc, &owned);
    }
    if (platform::Failed(hr) || owned == nullptr) {
      owned.reset();
      Report(g, platform::Failed(hr) ? hr : platform::E_FAIL);
      return 0;
    }
    surface2 = owned.get();
    kind = kKindOffscreen;
  }
  ReadDescription();
  Fill(nullptr, keyValue);
  return 1;
}

int ZSurface::CreateFromImage(ZGraphics* g, ZImage* image, int keyed) {
  ReleaseSurface();
  graphics = g;
  if (g == nullptr || image == nullptr || g->GetDirectDraw() == nullptr) return 0;
  platform::SurfaceDesc desc;
  desc.flags = platform::DDSD_CAPS | platform::DDSD_HEIGHT | platform::DDSD_WIDTH;
  desc.width = image->GetWidth();
  desc.height = image->GetHeight();
  // Always system memory: the picture is read back when the surface is restored.
  desc.caps = platform::DDSCAPS_OFFSCREENPLAIN | platform::DDSCAPS_SYSTEMMEMORY;
  HRESULT hr = g->GetDirectDraw()->CreateSurface(desc, &owned);
  if (platform::Failed(hr) || owned == nullptr) {
    owned.reset();
    Report(g, platform::Failed(hr) ? hr : platform::E_FAIL);
    return 0;
  }
  surface2 = owned.get();
  kind = kKindOffscreen;
  ReadDescription();
  if (keyed != 0) SetColorKey(image->GetTransparentIndex());
  image->Blit(this, 0, 0);
  sourceImage = image;
  ReadDescription();
  return 1;
}

int ZSurface::CreateFromSpriteMap(ZGraphics* g, ZSpriteMap* spriteMap) {
  if (spriteMap == nullptr) {
    ReleaseSurface();
    graphics = g;
    return 0;
  }
  if (Create(g, spriteMap->GetWidth(), spriteMap->GetHeight()) == 0) return 0;
  if (spriteMap->Paint(this) == 0) {
    ReleaseSurface();
    return 0;
  }
  sourceSpriteMap = spriteMap;
  SetColorKey(spriteMap->GetTransparentIndex());
  return 1;
}

int ZSurface::AttachBackBuffer(ZSurface* front) {
  if (front == nullptr || front->kind != kKindFront || front->surface2 == nullptr) return 0;
  owned.reset();
  graphics = front->graphics;
  kind = kKindBack;
  platform::Surface* back = nullptr;
  HRESULT hr = front->surface2->GetAttachedSurface(platform::DDSCAPS_BACKBUFFER, &back);
  if (platform::Failed(hr) || back == nullptr) {
    Report(graphics, platform::Failed(hr) ? hr : platform::E_FAIL);
    surface2 = nullptr;
    return 0;
  }
  surface2 = back;
  ReadDescription();
  Fill(nullptr, keyValue);
  return 1;
}

HRESULT ZSurface::Fill(const platform::Rect* rect, int32_t value) {
  if (surface2 == nullptr) return platform::E_FAIL;
  platform::BltFx fx;
  fx.fillColor = static_cast<uint32_t>(value == -1 ? keyValue : value) & 0xFF;
  HRESULT hr = surface2->Blt(rect, nullptr, nullptr, platform::DDBLT_COLORFILL | platform::DDBLT_WAIT, &fx);
  if (platform::Failed(hr)) Report(graphics, hr);
  return hr;
}

HRESULT ZSurface::Flip() {
  if (kind != kKindFront || surface2 == nullptr) return platform::E_FAIL;
  HRESULT hr = surface2->Flip(nullptr, platform::DDFLIP_WAIT);
  if (platform::Failed(hr)) Report(graphics, hr);
  return hr;
}

HRESULT ZSurface::Lock(ZSurfaceDesc* desc) {
  if (surface2 == nullptr) return platform::E_FAIL;
  if (desc == nullptr) return platform::E_INVALIDARG;
  desc->size = 108;
  platform::SurfaceDesc d;
  HRESULT hr = surface2->Lock(nullptr, &d, platform::DDLOCK_WAIT);
  if (platform::Failed(hr)) return hr;
  desc->width = d.width;
  desc->height = d.height;
  desc->pitch = d.pitch;
  desc->bits = d.surface;
  lockAddress = d.surface;
  return hr;
}

HRESULT ZSurface::Unlock() {
  if (surface2 == nullptr) return platform::E_FAIL;
  HRESULT hr = surface2->Unlock(lockAddress);
  lockAddress = nullptr;
  return hr;
}

HRESULT ZSurface::GetDC(platform::DeviceContext* out) {
  if (surface2 == nullptr) return platform::E_FAIL;
  return surface2->GetDC(out);
}

HRESULT ZSurface::ReleaseDC(platform::DeviceContext* dc) {
  if (surface2 == nullptr) return platform::E_FAIL;
  return surface2->ReleaseDC(dc);
}

HRESULT ZSurface::Restore() {
  if (surface2 == nullptr) return platform::E_FAIL;
  HRESULT hr = surface2->Restore();
  if (platform::Failed(hr)) return hr;
  if (sourceImage != nullptr) {
    sourceImage->Blit(this, 0, 0);
  } else if (sourceSpriteMap != nullptr) {
    if (sourceSpriteMap->Paint(this) == 0) return platform::E_FAIL;
  } else {
    Fill(nullptr, keyValue);
  }
  return 0;
}

bool ZSurface::IsLost() const { return surface2 != nullptr && surface2->IsLost() != platform::DD_OK; }

HRESULT ZSurface::SetColorKey(int32_t index) {
  keyValue = index;
  if (surface2 == nullptr) return platform::E_FAIL;
  platform::ColorKey key;
  key.low = key.high = static_cast<uint32_t>(index);
  HRESULT hr = surface2->SetColorKey(platform::DDCKEY_SRCBLT, &key);
  if (platform::Failed(hr)) Report(graphics, hr);
  return hr;
}

ZSurfaceLock::ZSurfaceLock(ZSurface* s) : surface(s), result(platform::E_FAIL), locked(false) {
  if (surface != nullptr) {
    result = surface->Lock(&desc);
    locked = platform::Succeeded(result);
  }
}

ZSurfaceLock::~ZSurfaceLock() { Release(); }

HRESULT ZSurfaceLock::Release() {
  if (!locked) return 0;
  locked = false;
  return surface->Unlock();
}
