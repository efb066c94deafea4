// ZSurface: one 8-bit display surface, remembering how it was made so that it can repaint itself after a loss.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/object.h"
#include "platform/types.h"

namespace platform {
class Surface;
struct DeviceContext;
}

class ZGraphics;
class ZImage;
class ZSpriteMap;

// What a whole-surface lock gives: the memory and its layout.
struct ZSurfaceDesc {
  uint32_t size = 0;  // set to 108 by ZSurface::Lock, as the description record's size field
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
  uint8_t* bits = nullptr;
};


class ZSurface : public ZObject {
  Z_DECLARE_CLASS(ZSurface)

 public:
  // The kinds a surface records (the capability bits it was created with).
  static constexpr uint32_t kKindNone = 0;
  static constexpr uint32_t kKindFront = 0x218;  // primary, flip, complex
  static constexpr uint32_t kKindBack = 0x4;     // back buffer
  static constexpr uint32_t kKindOffscreen = 0x40;

  ZSurface();
  ZSurface(ZGraphics* graphics, int32_t width, int32_t height);
  ZSurface(ZGraphics* graphics, ZImage* image, int keyed);
  ZSurface(ZGraphics* graphics, ZSpriteMap* spriteMap);
  ~ZSurface() override;
  ZSurface(const ZSurface&) = delete;
  ZSurface& operator=(const ZSurface&) = delete;

  // Width and height 0 make the front surface (with its back buffer); otherwise both must be at
  // least 1 and a sized off-screen surface is made. 1 or 0.
  int Create(ZGraphics* graphics, int32_t width, int32_t height);
  // Off-screen surface of the image's size holding the image; keyed: the image's transparent index
  // becomes the source colour key. 1 or 0.
  int CreateFromImage(ZGraphics* graphics, ZImage* image, int keyed);
  // Off-screen surface of the sprite map's size holding all its frames, keyed on its transparent index.
  int CreateFromSpriteMap(ZGraphics* graphics, ZSpriteMap* spriteMap);
  // Makes this object the back buffer of the given front surface. 1 or 0.
  int AttachBackBuffer(ZSurface* front);

  // Colour fill of rect (whole surface when null) with a palette index; -1 means the key value.
  platform::HRESULT Fill(const platform::Rect* rect, int32_t value);
  // Flips a front surface; E_FAIL for any other kind.
  platform::HRESULT Flip();
  // Whole-surface lock; E_FAIL without a surface, E_INVALIDARG without a description.
  platform::HRESULT Lock(ZSurfaceDesc* desc);
  platform::HRESULT Unlock();
  platform::HRESULT GetDC(platform::DeviceContext* out);
  platform::HRESULT ReleaseDC(platform::DeviceContext* dc);
  // Restores lost memory and repaints the content; 0 on success, else the failing code or E_FAIL.
  platform::HRESULT Restore();
  bool IsLost() const;
  // Sets the source colour key (low and high both index) and makes it the key value.
  platform::HRESULT SetColorKey(int32_t index);

  int32_t GetWidth() const { return width; }
  int32_t GetHeight() const { return height; }
  int32_t GetPitch() const { return pitch; }
  int32_t GetKeyValue() const { return keyValue; }
  uint32_t GetKind() const { return kind; }
  ZGraphics* GetGraphics() const { return graphics; }
  ZSpriteMap* GetSourceSpriteMap() const { return sourceSpriteMap; }
  ZImage* GetSourceImage() const { return sourceImage; }
  // The platform surface drawing goes through; null when the surface was never made.
  platform::Surface* GetSurface2() const { return surface2; }

 private:
  void ReleaseSurface();
  void ReadDescription();

  // Front and back surfaces belong to the display object; off-screen ones are owned here.
  std::unique_ptr<platform::Surface> owned;
  platform::Surface* surface2 = nullptr;
  ZImage* sourceImage = nullptr;
  ZSpriteMap* sourceSpriteMap = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
  int32_t keyValue = 0;
  ZGraphics* graphics = nullptr;
  uint32_t kind = kKindNone;
  uint8_t* lockAddress = nullptr;
};

// Unlocks on every path.
class ZSurfaceLock {
 public:
  explicit ZSurfaceLock(ZSurface* surface);
  ~ZSurfaceLock();
  ZSurfaceLock(const ZSurfaceLock&) = delete;
  ZSurfaceLock& operator=(const ZSurfaceLock&) = delete;
  bool Ok() const { return result == 0; }
  platform::HRESULT Result() const { return result; }
  const ZSurfaceDesc& Desc() const { return desc; }
  // Unlocks now; returns the unlock result (0 when it was not locked).
  platform::HRESULT Release();

 private:
  ZSurface* surface;
  ZSurfaceDesc desc;
  platform::HRESULT result;
  bool locked;
};
