// 8-bit surfaces: validation, clipping, colour keys, locks, flips and lost memory around the blitters.
#include "platform/surface.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/blit.h"

namespace platform {

namespace {

constexpr int32_t kMaxSide = 1 << 15;  // keeps pitch x height well inside size_t and int arithmetic

bool Inverted(const Rect& r) { return r.right < r.left || r.bottom < r.top; }

Rect WholeOf(const Surface& s) { return Rect{0, 0, s.Width(), s.Height()}; }

Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.IsEmpty()) return Rect{};
  return r;
}

}  // namespace

// --- Palette ---

Palette::Palette(uint32_t flags, const Rgb* entries) : flags_(flags) {
  if (entries != nullptr) std::copy(entries, entries + 256, entries_.begin());
}

HRESULT Palette::GetEntries(uint32_t start, uint32_t count, Rgb* out) const {
  if (out == nullptr || start > 256 || count > 256 - start) return E_INVALIDARG;
  std::copy(entries_.begin() + start, entries_.begin() + start + count, out);
  return DD_OK;
}

HRESULT Palette::SetEntries(uint32_t start, uint32_t count, const Rgb* in) {
  if (in == nullptr || start > 256 || count > 256 - start) return E_INVALIDARG;
  std::copy(in, in + count, entries_.begin() + start);
  ++version_;
  return DD_OK;
}

// --- Clipper ---

HRESULT Clipper::SetClipList(const Rect* rects, uint32_t count, const Rect* bound) {
  if (rects == nullptr || count == 0) {
    hasClip_ = false;
    clip_ = Rect{};
    bound_ = Rect{};
    return DD_OK;
  }
  if (count > 1) return E_INVALIDARG;
  if (Inverted(rects[0])) return DDERR_INVALIDRECT;
  hasClip_ = true;
  clip_ = rects[0];
  bound_ = bound != nullptr ? *bound : rects[0];
  return DD_OK;
}

HRESULT Clipper::GetClipList(Rect* rect, Rect* bound) const {
  if (!hasClip_) return DDERR_NOCLIPLIST;
  if (rect != nullptr) *rect = clip_;
  if (bound != nullptr) *bound = bound_;
  return DD_OK;
}

// --- Surface ---

Surface::Surface(int32_t width, int32_t height, uint32_t caps)
    : width_(std::clamp(width, 1, kMaxSide)), height_(std::clamp(height, 1, kMaxSide)), caps_(caps) {
  pitch_ = (width_ + 3) & ~3;  // rows on 4-byte boundaries, as display memory has them
  bits_.assign(static_cast<size_t>(pitch_) * static_cast<size_t>(height_), 0);
}

Surface::~Surface() = default;

HRESULT Surface::GetSurfaceDesc(SurfaceDesc* out) const {
  if (out == nullptr) return E_INVALIDARG;
  out->size = 108;
  out->flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | (hasKey_ ? DDSD_CKSRCBLT : 0u) |
               (backBuffer_ != nullptr ? DDSD_BACKBUFFERCOUNT : 0u);
  out->width = width_;
  out->height = height_;
  out->pitch = pitch_;
  out->caps = caps_;
  out->backBufferCount = backBuffer_ != nullptr ? 1 : 0;
  out->surface = nullptr;
  out->srcColorKey = key_;
  return DD_OK;
}

HRESULT Surface::CheckUsable() const {
  if (lost_) return DDERR_SURFACELOST;
  if (locked_) return DDERR_SURFACEBUSY;
  return DD_OK;
}

HRESULT Surface::Lock(const Rect* rect, SurfaceDesc* desc, uint32_t /*flags*/) {
  if (desc == nullptr) return E_INVALIDARG;
  if (lost_) return DDERR_SURFACELOST;
  if (locked_) return DDERR_SURFACEBUSY;
  Rect r = WholeOf(*this);
  if (rect != nullptr) {
    if (Inverted(*rect) || rect->left < 0 || rect->top < 0 || rect->right > width_ || rect->bottom > height_) {
      return DDERR_INVALIDRECT;
    }
    r = *rect;
  }
  GetSurfaceDesc(desc);
  desc->flags |= DDSD_LPSURFACE;
  desc->surface = bits_.data() + static_cast<size_t>(r.top) * pitch_ + r.left;
  locked_ = true;
  return DD_OK;
}

HRESULT Surface::Unlock(const void* /*address*/) {
  if (!locked_) return DDERR_NOTLOCKED;
  locked_ = false;
  Touched();  // whatever was written under the lock is now content
  return DD_OK;
}

HRESULT Surface::Blt(const Rect* dst, Surface* src, const Rect* srcRect, uint32_t flags, const BltFx* fx) {
  if (HRESULT hr = CheckUsable(); Failed(hr)) return hr;
  const Rect whole = WholeOf(*this);
  const Rect d = dst != nullptr ? *dst : whole;
  if (Inverted(d)) return DDERR_INVALIDRECT;
  if ((flags & (DDBLT_DDFX | DDBLT_COLORFILL | DDBLT_KEYSRCOVERRIDE)) != 0 && fx == nullptr) return E_INVALIDARG;
  if (fx != nullptr && fx->size != 100) return E_INVALIDARG;

  Rect clip = whole;
  if (clipper_ != nullptr) {
    if (!clipper_->HasClipList()) return DDERR_NOCLIPLIST;
    clip = Intersect(clip, clipper_->ClipRect());
  }

  if ((flags & DDBLT_COLORFILL) != 0) {
    FillFast(BlitTarget{bits_.data(), width_, height_, pitch_}, d, clip, static_cast<uint8_t>(fx->fillColor));
    Touched();
    return DD_OK;
  }
  if (src == nullptr) return E_INVALIDARG;
  if (src != this) {
    if (HRESULT hr = src->CheckUsable(); Failed(hr)) return hr;
  }
  const Rect s = srcRect != nullptr ? *srcRect : WholeOf(*src);
  if (Inverted(s)) return DDERR_INVALIDRECT;

  BlitParams p;
  p.dst = d;
  p.src = s;
  p.clip = clip;
  if ((flags & DDBLT_KEYSRCOVERRIDE) != 0) {
    p.keyed = true;
    p.keyLow = fx->srcKeyOverride.low;
    p.keyHigh = fx->srcKeyOverride.high;
  } else if ((flags & DDBLT_KEYSRC) != 0) {
    if (!src->hasKey_) return DDERR_NOCOLORKEY;
    p.keyed = true;
    p.keyLow = src->key_.low;
    p.keyHigh = src->key_.high;
  }
  if ((flags & DDBLT_DDFX) != 0) {
    p.mirrorLeftRight = (fx->ddfx & DDBLTFX_MIRRORLEFTRIGHT) != 0;
    p.mirrorUpDown = (fx->ddfx & DDBLTFX_MIRRORUPDOWN) != 0;
  }

  const BlitTarget target{bits_.data(), width_, height_, pitch_};
  if (src == this) {
    // Overlapping copies within one surface read from a snapshot, so the result is as if read first.
    const std::vector<uint8_t> copy = bits_;
    BlitFast(target, BlitSource{copy.data(), width_, height_, pitch_}, p);
  } else {
    BlitFast(target, BlitSource{src->bits_.data(), src->width_, src->height_, src->pitch_}, p);
  }
  Touched();
  return DD_OK;
}

HRESULT Surface::BltFast(int32_t x, int32_t y, Surface* src, const Rect* srcRect, uint32_t flags) {
  if (HRESULT hr = CheckUsable(); Failed(hr)) return hr;
  if (src == nullptr) return E_INVALIDARG;
  if (src != this) {
    if (HRESULT hr = src->CheckUsable(); Failed(hr)) return hr;
  }
  if (clipper_ != nullptr) return DDERR_BLTFASTCANTCLIP;
  const Rect s = srcRect != nullptr ? *srcRect : WholeOf(*src);
  if (Inverted(s)) return DDERR_INVALIDRECT;
  const int64_t right = int64_t{x} + (int64_t{s.right} - s.left);
  const int64_t bottom = int64_t{y} + (int64_t{s.bottom} - s.top);
  if (right > std::numeric_limits<int32_t>::max() || bottom > std::numeric_limits<int32_t>::max()) {
    return DDERR_INVALIDRECT;
  }
  BlitParams p;
  p.dst = Rect{x, y, static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
  p.src = s;
  p.clip = WholeOf(*this);
  if ((flags & DDBLTFAST_SRCCOLORKEY) != 0) {
    if (!src->hasKey_) return DDERR_NOCOLORKEY;
    p.keyed = true;
    p.keyLow = src->key_.low;
    p.keyHigh = src->key_.high;
  }
  const BlitTarget target{bits_.data(), width_, height_, pitch_};
  if (src == this) {
    const std::vector<uint8_t> copy = bits_;
    BlitFast(target, BlitSource{copy.data(), width_, height_, pitch_}, p);
  } else {
    BlitFast(target, BlitSource{src->bits_.data(), src->width_, src->height_, src->pitch_}, p);
  }
  Touched();
  return DD_OK;
}

HRESULT Surface::Fill(const Rect* rect, uint8_t value) {
  BltFx fx;
  fx.fillColor = value;
  return Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

HRESULT Surface::SetColorKey(uint32_t flags, const ColorKey* key) {
  if ((flags & DDCKEY_SRCBLT) == 0) return DDERR_UNSUPPORTED;
  if (lost_) return DDERR_SURFACELOST;
  if (key == nullptr) {
    hasKey_ = false;
    key_ = ColorKey{};
    return DD_OK;
  }
  hasKey_ = true;
  key_ = *key;
  return DD_OK;
}

HRESULT Surface::GetColorKey(uint32_t flags, ColorKey* out) const {
  if (out == nullptr) return E_INVALIDARG;
  if ((flags & DDCKEY_SRCBLT) == 0) return DDERR_UNSUPPORTED;
  if (!hasKey_) return DDERR_NOCOLORKEY;
  *out = key_;
  return DD_OK;
}

HRESULT Surface::SetClipper(std::shared_ptr<Clipper> clipper) {
  clipper_ = std::move(clipper);
  return DD_OK;
}

HRESULT Surface::SetPalette(std::shared_ptr<Palette> palette) {
  if (lost_) return DDERR_SURFACELOST;
  palette_ = std::move(palette);
  return DD_OK;
}

HRESULT Surface::Flip(Surface* override, uint32_t /*flags*/) {
  if (backBuffer_ == nullptr) return DDERR_NOTFLIPPABLE;
  if (override != nullptr && override != backBuffer_) return E_INVALIDARG;
  if (lost_ || backBuffer_->lost_) return DDERR_SURFACELOST;
  if (locked_ || backBuffer_->locked_) return DDERR_SURFACEBUSY;
  bits_.swap(backBuffer_->bits_);
  Touched();
  backBuffer_->Touched();
  return DD_OK;
}

HRESULT Surface::GetAttachedSurface(uint32_t caps, Surface** out) {
  if (out == nullptr) return E_INVALIDARG;
  *out = nullptr;
  if ((caps & DDSCAPS_BACKBUFFER) == 0 || backBuffer_ == nullptr) return DDERR_NOTFOUND;
  *out = backBuffer_;
  return DD_OK;
}

HRESULT Surface::IsLost() const { return lost_ ? DDERR_SURFACELOST : DD_OK; }

void Surface::MarkLost() {
  lost_ = true;
  if (backBuffer_ != nullptr) backBuffer_->lost_ = true;
  if (front_ != nullptr) {
    front_->lost_ = true;
  }
}

HRESULT Surface::Restore() {
  if (locked_) return DDERR_SURFACEBUSY;
  auto restoreOne = [](Surface* s) {
    if (!s->lost_) return;
    s->lost_ = false;
    std::fill(s->bits_.begin(), s->bits_.end(), 0);
    s->Touched();
  };
  // A flipping chain comes back as one.
  Surface* front = front_ != nullptr ? front_ : this;
  restoreOne(front);
  if (front->backBuffer_ != nullptr) restoreOne(front->backBuffer_);
  restoreOne(this);
  return DD_OK;
}

HRESULT Surface::GetDC(DeviceContext* out) {
  if (out == nullptr) return E_INVALIDARG;
  if (lost_) return DDERR_SURFACELOST;
  if (locked_) return DDERR_DCALREADYCREATED;
  locked_ = true;
  *out = DeviceContext{};
  out->surface = this;
  out->bits = bits_.data();
  out->width = width_;
  out->height = height_;
  out->pitch = pitch_;
  // A back buffer shows with its front's palette, so text drawn on it is matched against that one.
  out->palette = palette_ != nullptr ? palette_.get() : (front_ != nullptr ? front_->palette_.get() : nullptr);
  return DD_OK;
}

HRESULT Surface::ReleaseDC(const DeviceContext* dc) {
  if (dc == nullptr || dc->surface != this) return E_INVALIDARG;
  if (!locked_) return DDERR_NODC;
  locked_ = false;
  Touched();
  return DD_OK;
}

// --- SurfaceLock ---

SurfaceLock::SurfaceLock(Surface* surface, const Rect* rect) {
  if (surface == nullptr) return;
  result_ = surface->Lock(rect, &desc_, DDLOCK_WAIT);
  if (Succeeded(result_)) surface_ = surface;
}

SurfaceLock::~SurfaceLock() {
  if (surface_ != nullptr) surface_->Unlock(desc_.surface);
}

}  // namespace platform
