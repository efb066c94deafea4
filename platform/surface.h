// 8-bit surfaces in memory: fill, lock, blits (keyed, stretched, mirrored, clipped), clippers and palettes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/types.h"

namespace platform {

// --- surface capability bits (values of the originals) ---
constexpr uint32_t DDSCAPS_BACKBUFFER = 0x00000004u;
constexpr uint32_t DDSCAPS_COMPLEX = 0x00000008u;
constexpr uint32_t DDSCAPS_FLIP = 0x00000010u;
constexpr uint32_t DDSCAPS_FRONTBUFFER = 0x00000020u;
constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x00000040u;
constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x00000200u;
constexpr uint32_t DDSCAPS_SYSTEMMEMORY = 0x00000800u;
constexpr uint32_t DDSCAPS_VIDEOMEMORY = 0x00004000u;

// --- surface description fields present ---
constexpr uint32_t DDSD_CAPS = 0x00000001u;
constexpr uint32_t DDSD_HEIGHT = 0x00000002u;
constexpr uint32_t DDSD_WIDTH = 0x00000004u;
constexpr uint32_t DDSD_PITCH = 0x00000008u;
constexpr uint32_t DDSD_BACKBUFFERCOUNT = 0x00000020u;
constexpr uint32_t DDSD_LPSURFACE = 0x00000800u;
constexpr uint32_t DDSD_CKSRCBLT = 0x00010000u;

// --- Blt / BltFast flags and effects ---
constexpr uint32_t DDBLT_COLORFILL = 0x00000400u;
constexpr uint32_t DDBLT_DDFX = 0x00000800u;
constexpr uint32_t DDBLT_KEYSRC = 0x00008000u;
constexpr uint32_t DDBLT_KEYSRCOVERRIDE = 0x00010000u;
constexpr uint32_t DDBLT_WAIT = 0x01000000u;
constexpr uint32_t DDBLTFAST_NOCOLORKEY = 0x00000000u;
constexpr uint32_t DDBLTFAST_SRCCOLORKEY = 0x00000001u;
constexpr uint32_t DDBLTFAST_WAIT = 0x00000010u;
constexpr uint32_t DDBLTFX_MIRRORLEFTRIGHT = 0x00000002u;
constexpr uint32_t DDBLTFX_MIRRORUPDOWN = 0x00000004u;

// --- colour keys, locks, flips, palettes ---
constexpr uint32_t DDCKEY_SRCBLT = 0x00000008u;
constexpr uint32_t DDLOCK_WAIT = 0x00000001u;
constexpr uint32_t DDFLIP_WAIT = 0x00000001u;
constexpr uint32_t DDPCAPS_8BIT = 0x00000004u;
constexpr uint32_t DDPCAPS_ALLOW256 = 0x00000040u;

// A source colour key: pixels whose index lies in [low, high] are not copied.
struct ColorKey {
  uint32_t low = 0;
  uint32_t high = 0;
};

// The effects record of Blt (DDBLTFX): mirroring, fill value, key override.
struct BltFx {
  uint32_t size = 100;
  uint32_t ddfx = 0;        // DDBLTFX_MIRRORLEFTRIGHT | DDBLTFX_MIRRORUPDOWN
  uint32_t fillColor = 0;   // palette index for DDBLT_COLORFILL
  ColorKey srcKeyOverride;  // used with DDBLT_KEYSRCOVERRIDE
};

// Surface description (DDSURFACEDESC): what to create, and what GetSurfaceDesc/Lock report.
struct SurfaceDesc {
  uint32_t size = 108;
  uint32_t flags = 0;  // DDSD_*
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
  uint32_t backBufferCount = 0;
  uint32_t caps = 0;             // DDSCAPS_*
  uint8_t* surface = nullptr;    // first byte of the locked rectangle (Lock only)
  ColorKey srcColorKey;          // with DDSD_CKSRCBLT
};

// A 256-entry palette object; attached to surfaces by shared reference, as the originals count them.
class Palette {
 public:
  Palette(uint32_t flags, const Rgb* entries);  // entries: 256, or null for all black
  uint32_t Flags() const { return flags_; }
  HRESULT GetEntries(uint32_t start, uint32_t count, Rgb* out) const;  // E_INVALIDARG past 256
  HRESULT SetEntries(uint32_t start, uint32_t count, const Rgb* in);
  const std::array<Rgb, 256>& Entries() const { return entries_; }
  uint64_t Version() const { return version_; }  // bumped by every SetEntries

 private:
  uint32_t flags_ = 0;
  std::array<Rgb, 256> entries_{};
  uint64_t version_ = 0;
};

// A clipper holding at most one clip rectangle (all the game ever sets).
class Clipper {
 public:
  // rects: count 0 (or null) removes the clip list; count 1 sets it; more are refused (E_INVALIDARG).
  // bound is kept for GetClipList only; the clip is the rectangle itself.
  HRESULT SetClipList(const Rect* rects, uint32_t count, const Rect* bound = nullptr);
  // DDERR_NOCLIPLIST when none is set.
  HRESULT GetClipList(Rect* rect, Rect* bound = nullptr) const;
  bool HasClipList() const { return hasClip_; }
  const Rect& ClipRect() const { return clip_; }

 private:
  bool hasClip_ = false;
  Rect clip_;
  Rect bound_;
};

class Surface;
class Font;

// What GetDC hands out: the surface's memory while the context is held (text and DIB drawing), and the
// text state that platform/text.h sets (a fresh context: system font, black text, opaque white background).
struct DeviceContext {
  Surface* surface = nullptr;
  uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
  const Palette* palette = nullptr;  // the surface's palette (a back buffer's is its front's), may be null
  Font* font = nullptr;              // null: the system font
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = 2;  // OPAQUE
};

// One 8-bit surface. Off-screen surfaces are made by Display::CreateSurface (or directly, in tests);
// the primary with its back buffer is made and owned by the Display.
class Surface {
 public:
  // width, height >= 1; caps as created (DDSCAPS_OFFSCREENPLAIN plus the memory kind, or primary caps).
  Surface(int32_t width, int32_t height, uint32_t caps);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t Pitch() const { return pitch_; }
  uint32_t Caps() const { return caps_; }
  HRESULT GetSurfaceDesc(SurfaceDesc* out) const;  // E_INVALIDARG for null

  // Lock: rect null = whole surface; desc gets size, width, height, pitch, caps and the address of the
  // rectangle's first pixel. One lock at a time (DDERR_SURFACEBUSY for a second). Unlock's address is
  // informational; DDERR_NOTLOCKED when not locked.
  HRESULT Lock(const Rect* rect, SurfaceDesc* desc, uint32_t flags = DDLOCK_WAIT);
  HRESULT Unlock(const void* address = nullptr);
  bool IsLocked() const { return locked_; }

  // Blt: dst null = whole surface; src null only with DDBLT_COLORFILL; srcRect null = whole source.
  // Different sizes stretch (nearest, indices copied). DDBLT_KEYSRC skips the source's colour key range,
  // DDBLT_KEYSRCOVERRIDE the one in fx; DDBLT_DDFX mirrors as fx->ddfx says. The target's clipper (if
  // any) and the target's bounds clip in target space; source pixels outside the source are skipped.
  // Inverted rectangles give DDERR_INVALIDRECT; empty ones draw nothing and succeed.
  HRESULT Blt(const Rect* dst, Surface* src, const Rect* srcRect, uint32_t flags, const BltFx* fx);
  // BltFast: unscaled copy to x, y; DDBLTFAST_SRCCOLORKEY uses the source's key. Clipped to the target's
  // bounds (not to its clipper, as the originals).
  HRESULT BltFast(int32_t x, int32_t y, Surface* src, const Rect* srcRect, uint32_t flags);
  // Colour fill of rect (null = whole surface), clipped by the clipper like Blt.
  HRESULT Fill(const Rect* rect, uint8_t value);

  // Colour key: only DDCKEY_SRCBLT; key null removes it. GetColorKey gives DDERR_NOCOLORKEY without one.
  HRESULT SetColorKey(uint32_t flags, const ColorKey* key);
  HRESULT GetColorKey(uint32_t flags, ColorKey* out) const;
  bool HasSourceKey() const { return hasKey_; }

  HRESULT SetClipper(std::shared_ptr<Clipper> clipper);  // null detaches
  Clipper* GetClipper() const { return clipper_.get(); }
  HRESULT SetPalette(std::shared_ptr<Palette> palette);  // null detaches
  Palette* GetPalette() const { return palette_.get(); }

  // Flip: only a primary with a back buffer (DDERR_NOTFLIPPABLE otherwise); the two buffers swap contents.
  // override must be null or the back buffer.
  HRESULT Flip(Surface* override = nullptr, uint32_t flags = DDFLIP_WAIT);
  // The back buffer of a flipping primary, for caps DDSCAPS_BACKBUFFER; DDERR_NOTFOUND otherwise.
  HRESULT GetAttachedSurface(uint32_t caps, Surface** out);

  // Lost memory. The host never takes our memory, so only tests mark a surface lost; then every blit,
  // fill, lock, flip and GetDC on it (or from it) gives DDERR_SURFACELOST until Restore, which clears the
  // content to 0 (the memory came back empty). A flipping primary and its back buffer are lost together.
  HRESULT IsLost() const;  // DD_OK or DDERR_SURFACELOST
  HRESULT Restore();
  void MarkLost();

  HRESULT GetDC(DeviceContext* out);  // locks the surface while the context is held
  HRESULT ReleaseDC(const DeviceContext* dc);

  // Direct reads for presentation, screenshots and tests (no lock, no change).
  const uint8_t* Bits() const { return bits_.data(); }
  uint8_t Pixel(int32_t x, int32_t y) const { return bits_[static_cast<size_t>(y) * pitch_ + x]; }
  // Counts every change of the content (blit or fill onto it, unlock, flip, restore); presentation uses it.
  uint64_t ChangeCount() const { return changes_; }

 private:
  friend class Display;
  HRESULT CheckUsable() const;
  void Touched() { ++changes_; }

  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t pitch_ = 0;
  uint32_t caps_ = 0;
  std::vector<uint8_t> bits_;
  bool locked_ = false;
  bool lost_ = false;
  bool hasKey_ = false;
  ColorKey key_;
  std::shared_ptr<Clipper> clipper_;
  std::shared_ptr<Palette> palette_;
  Surface* backBuffer_ = nullptr;  // for a flipping primary: owned by the display
  Surface* front_ = nullptr;       // for a back buffer: its primary
  uint64_t changes_ = 0;
};

// Locks a surface for the scope of the guard; unlocks on every path.
class SurfaceLock {
 public:
  explicit SurfaceLock(Surface* surface, const Rect* rect = nullptr);
  ~SurfaceLock();
  SurfaceLock(const SurfaceLock&) = delete;
  SurfaceLock& operator=(const SurfaceLock&) = delete;
  HRESULT Result() const { return result_; }
  bool Ok() const { return Succeeded(result_); }
  const SurfaceDesc& Desc() const { return desc_; }
  uint8_t* Bits() const { return desc_.surface; }
  int32_t Pitch() const { return desc_.pitch; }

 private:
  Surface* surface_ = nullptr;
  SurfaceDesc desc_;
  HRESULT result_ = E_FAIL;
};

}  // namespace platform
