// Images: the abstract image, the in-memory 8-bit bitmap with its loaders and copies, and the image holder.
#include "framework/graphics/image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "framework/core/data.h"
#include "framework/graphics/surface.h"
#include "platform/module.h"
#include "platform/surface.h"

Z_IMPLEMENT_CLASS(ZImageData, ZObject)
Z_IMPLEMENT_CLASS(ZDIB, ZImageData)
Z_IMPLEMENT_CLASS(ZImage, ZObject)

namespace {

uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void Put32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

ZBitmapInfoHeader ParseInfoHeader(const uint8_t* p) {
  ZBitmapInfoHeader h;
  h.biSize = Get32(p);
  h.biWidth = static_cast<int32_t>(Get32(p + 4));
  h.biHeight = static_cast<int32_t>(Get32(p + 8));
  h.biPlanes = Get16(p + 12);
  h.biBitCount = Get16(p + 14);
  h.biCompression = Get32(p + 16);
  h.biSizeImage = Get32(p + 20);
  h.biXPelsPerMeter = static_cast<int32_t>(Get32(p + 24));
  h.biYPelsPerMeter = static_cast<int32_t>(Get32(p + 28));
  h.biClrUsed = Get32(p + 32);
  h.biClrImportant = Get32(p + 36);
  return h;
}

void WriteInfoHeader(uint8_t* p, const ZBitmapInfoHeader& h) {
  Put32(p, h.biSize);
  Put32(p + 4, static_cast<uint32_t>(h.biWidth));
  Put32(p + 8, static_cast<uint32_t>(h.biHeight));
  Put16(p + 12, h.biPlanes);
  Put16(p + 14, h.biBitCount);
  Put32(p + 16, h.biCompression);
  Put32(p + 20, h.biSizeImage);
  Put32(p + 24, static_cast<uint32_t>(h.biXPelsPerMeter));
  Put32(p + 28, static_cast<uint32_t>(h.biYPelsPerMeter));
  Put32(p + 32, h.biClrUsed);
  Put32(p + 36, h.biClrImportant);
}

// The sides every loader accepts: at least one pixel, at most kMaxImageSide.
bool SaneSize(int64_t width, int64_t height) {
  int64_t h = height < 0 ? -height : height;
  return width >= 1 && width <= kMaxImageSide && h >= 1 && h <= kMaxImageSide;
}

std::unique_ptr<uint8_t[]> Allocate(size_t n) {
  std::unique_ptr<uint8_t[]> p(new (std::nothrow) uint8_t[n > 0 ? n : 1]);
  if (p != nullptr) std::memset(p.get(), 0, n > 0 ? n : 1);
  return p;
}

}  // namespace

// --- the abstract image: nothing happens here ---
int ZImageData::CopyTo(ZImage*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { return 0; }
int ZImageData::DrawDC(platform::DeviceContext*, int32_t, int32_t, uint32_t) { return 0; }
int ZImageData::BlitRect(ZSurface*, const platform::Rect*, int32_t, int32_t) { return 0; }
int ZImageData::Blit(ZSurface*, int32_t, int32_t) { return 0; }
int32_t ZImageData::GetWidth() const { return 0; }
int32_t ZImageData::GetHeight() const { return 0; }
uint8_t* ZImageData::GetPixelAddress(int32_t, int32_t) const { return nullptr; }
void ZImageData::GetRect(platform::Rect*) const {}
int32_t ZImageData::GetStride() const { return 0; }
int32_t ZImageData::GetColorCount() const { return 0; }
int32_t ZImageData::GetKind() const { return 0; }
int ZImageData::GetPaletteEntries(int32_t, int32_t, ZPaletteEntry*) const { return 0; }
int ZImageData::GetColorTable(int32_t, int32_t, ZRgbQuad*) const { return 0; }
platform::COLORREF ZImageData::GetTransparentColor() const { return 0; }
void ZImageData::SetOption(int32_t) {}
int32_t ZImageData::GetTransparentIndex() const { return 0; }
void ZImageData::SetTransparentIndex(int32_t) {}
int ZImageData::Create(int32_t, int32_t) { return 0; }
int ZImageData::LoadResource(uint32_t, platform::Module*) { return 0; }
int ZImageData::LoadFile(CFile*) { return 0; }

// --- ZDIB ---
ZDIB::ZDIB() {
  kind = 1;
  Create(16, 16);
}

ZDIB::~ZDIB() { FreeBits(); }

void ZDIB::FreeBits() {
  if (ownsBits) delete[] bits;
  bits = nullptr;
  bitsSize = 0;
  ownsBits = false;
}

void ZDIB::Replace(std::unique_ptr<uint8_t[]> newHeader, std::unique_ptr<uint8_t[]> newBits, size_t newBitsSize) {
  FreeBits();
  header = std::move(newHeader);
  bits = newBits.release();
  bitsSize = newBitsSize;
  ownsBits = true;
}

ZBitmapInfoHeader ZDIB::GetInfoHeader() const {
  if (header == nullptr) {
    ZBitmapInfoHeader empty;
    empty.biSize = 0;
    empty.biPlanes = 0;
    empty.biBitCount = 0;
    return empty;
  }
  return ParseInfoHeader(header.get());
}

int ZDIB::Create(int32_t w, int32_t h) {
  if (!SaneSize(w, h) || h < 0) return 0;
  size_t n = static_cast<size_t>(ZImageStride(w)) * static_cast<size_t>(h);
  auto newHeader = Allocate(kDibHeaderBlockSize);
  auto newBits = Allocate(n);
  if (newHeader == nullptr || newBits == nullptr) return 0;
  ZBitmapInfoHeader info;
  info.biWidth = w;
  info.biHeight = h;
  WriteInfoHeader(newHeader.get(), info);
  for (int i = 0; i < 256; ++i) {
    uint8_t* q = newHeader.get() + kBitmapInfoHeaderSize + 4 * i;
    q[0] = q[1] = q[2] = static_cast<uint8_t>(i);
    q[3] = 0;
  }
  Replace(std::move(newHeader), std::move(newBits), n);
  return 1;
}

int32_t ZDIB::GetWidth() const { return header != nullptr ? static_cast<int32_t>(Get32(header.get() + 4)) : 0; }
int32_t ZDIB::GetHeight() const { return header != nullptr ? static_cast<int32_t>(Get32(header.get() + 8)) : 0; }
// Every loader and Create keep the width within kMaxImageSide, so the stride fits.
int32_t ZDIB::GetStride() const { return static_cast<int32_t>(ZImageStride(GetWidth())); }
int32_t ZDIB::GetKind() const { return kind; }
int32_t ZDIB::GetTransparentIndex() const { return transparentIndex; }
void ZDIB::SetTransparentIndex(int32_t index) { transparentIndex = index; }

uint8_t* ZDIB::GetPixelAddress(int32_t x, int32_t y) const {
  int32_t w = GetWidth();
  int32_t h = GetHeight();
  if (bits == nullptr || x < 0 || y < 0 || x >= w || y >= h) return nullptr;
  size_t at = static_cast<size_t>(h - y - 1) * static_cast<size_t>(GetStride()) + static_cast<size_t>(x);
  if (at >= bitsSize) return nullptr;
  return bits + at;
}

int32_t ZDIB::GetColorCount() const {
  if (header == nullptr) return 0;
  ZBitmapInfoHeader info = ParseInfoHeader(header.get());
  int32_t count = 0;
  switch (info.biBitCount) {
    case 1: count = 2; break;
    case 4: count = 16; break;
    case 8: count = 256; break;
    default: count = 0; break;
  }
  if (info.biSize == kBitmapInfoHeaderSize && info.biClrUsed != 0) {
    // The header block holds 256 colours; a larger count cannot be backed by it.
    count = static_cast<int32_t>(std::min<uint32_t>(info.biClrUsed, 256));
  }
  return count;
}

int ZDIB::GetPaletteEntries(int32_t first, int32_t count, ZPaletteEntry* out) const {
  if (out == nullptr || count <= 0 || header == nullptr) return 0;
  for (int32_t i = 0; i < count; ++i) {
    int64_t index = static_cast<int64_t>(first) + i;
    ZPaletteEntry e;
    if (index >= 0 && index < 256) {
      const uint8_t* q = header.get() + kBitmapInfoHeaderSize + 4 * index;
      e.red = q[2];
      e.green = q[1];
      e.blue = q[0];
    }
    out[i] = e;
  }
  return count;
}

int ZDIB::GetColorTable(int32_t first, int32_t count, ZRgbQuad* out) const {
  if (out == nullptr || count <= 0 || header == nullptr) return 0;
  for (int32_t i = 0; i < count; ++i) {
    int64_t index = static_cast<int64_t>(first) + i;
    ZRgbQuad e;
    if (index >= 0 && index < 256) {
      const uint8_t* q = header.get() + kBitmapInfoHeaderSize + 4 * index;
      e.blue = q[0];
      e.green = q[1];
      e.red = q[2];
      e.reserved = q[3];
    }
    out[i] = e;
  }
  return count;
}

platform::COLORREF ZDIB::GetTransparentColor() const {
  ZRgbQuad q;
  GetColorTable(transparentIndex, 1, &q);
  return static_cast<platform::COLORREF>(q.red) | (static_cast<platform::COLORREF>(q.green) << 8) |
         (static_cast<platform::COLORREF>(q.blue) << 16);
}

int ZDIB::LoadResource(uint32_t id, platform::Module* module) {
  ZResourceBlock block;
  if (ZReadResource(module, kResourceTypeBitmap, id, &block) == 0) return 0;
  return LoadResourceBytes(block.data, block.size);
}

int ZDIB::LoadResourceBytes(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kBitmapInfoHeaderSize) return 0;
  ZBitmapInfoHeader info = ParseInfoHeader(data);
  if (info.biSize != kBitmapInfoHeaderSize || info.biBitCount != 8 || info.biCompression != 0) return 0;
  if (!SaneSize(info.biWidth, info.biHeight)) return 0;
  int64_t absHeight = info.biHeight < 0 ? -static_cast<int64_t>(info.biHeight) : info.biHeight;
  uint64_t rows = static_cast<uint64_t>(ZImageStride(info.biWidth)) * static_cast<uint64_t>(absHeight);
  uint64_t imageSize = info.biSizeImage != 0 ? info.biSizeImage : rows;
  // The resource must hold the header, a full 256-colour table and the pixels it claims.
  if (size < kDibHeaderBlockSize || imageSize > size - kDibHeaderBlockSize) return 0;
  // Never fewer bytes than the rows address, whatever the size field says.
  size_t keep = static_cast<size_t>(std::max(imageSize, rows));
  auto newHeader = Allocate(kDibHeaderBlockSize);
  auto newBits = Allocate(keep);
  if (newHeader == nullptr || newBits == nullptr) return 0;
  std::memcpy(newHeader.get(), data, kDibHeaderBlockSize);
  std::memcpy(newBits.get(), data + kDibHeaderBlockSize, static_cast<size_t>(imageSize));
  Replace(std::move(newHeader), std::move(newBits), keep);
  return 1;
}

int ZDIB::LoadFile(CFile* file) {
  if (file == nullptr) return 0;
  int64_t p = static_cast<int64_t>(file->GetPosition());
  uint64_t length = file->GetLength();
  uint8_t fileHeader[kBitmapFileHeaderSize];
  if (file->Read(fileHeader, sizeof(fileHeader)) != sizeof(fileHeader)) return 0;
  if (Get16(fileHeader) != 0x4D42) return 0;
  uint32_t fileSize = Get32(fileHeader + 2);
  uint32_t bitsOffset = Get32(fileHeader + 10);

  uint8_t raw[kBitmapInfoHeaderSize];
  if (file->Read(raw, sizeof(raw)) != sizeof(raw)) return 0;
  ZBitmapInfoHeader info = ParseInfoHeader(raw);
  bool core = info.biSize != kBitmapInfoHeaderSize;
  if (core) {
    // A 12-byte core header: 16-bit unsigned sides, planes and bit count; the rest stays 0.
    if (file->Seek(p + static_cast<int64_t>(kBitmapFileHeaderSize), CFile::begin) < 0) return 0;
    uint8_t coreHeader[12];
    if (file->Read(coreHeader, sizeof(coreHeader)) != sizeof(coreHeader)) return 0;
    info = ZBitmapInfoHeader{};
    info.biWidth = Get16(coreHeader + 4);
    info.biHeight = Get16(coreHeader + 6);
    info.biPlanes = Get16(coreHeader + 8);
    info.biBitCount = Get16(coreHeader + 10);
  }
  if (!SaneSize(info.biWidth, info.biHeight)) return 0;

  auto newHeader = Allocate(kDibHeaderBlockSize);
  if (newHeader == nullptr) return 0;
  WriteInfoHeader(newHeader.get(), info);
  ZDIB counter;  // counts the colours of the new header with the same rule as every image
  std::memcpy(counter.header.get(), newHeader.get(), kBitmapInfoHeaderSize);
  int32_t colors = counter.GetColorCount();
  if (core) {
    for (int32_t i = 0; i < colors; ++i) {
      uint8_t bgr[3];
      if (file->Read(bgr, 3) != 3) return 0;
      uint8_t* q = newHeader.get() + kBitmapInfoHeaderSize + 4 * i;
      q[0] = bgr[0];
      q[1] = bgr[1];
      q[2] = bgr[2];
      q[3] = 0;
    }
  } else {
    // The whole table is read; a file whose table is shorter gives the start of its pixels here.
    file->Read(newHeader.get() + kBitmapInfoHeaderSize, 1024);
  }

  if (fileSize < bitsOffset) return 0;
  uint64_t count = fileSize - bitsOffset;
  uint64_t start = static_cast<uint64_t>(p) + bitsOffset;
  if (start > length || count > length - start) return 0;
  int64_t absHeight = info.biHeight < 0 ? -static_cast<int64_t>(info.biHeight) : info.biHeight;
  uint64_t rows = static_cast<uint64_t>(ZImageStride(info.biWidth)) * static_cast<uint64_t>(absHeight);
  size_t keep = static_cast<size_t>(std::max(count, rows));
  auto newBits = Allocate(keep);
  if (newBits == nullptr) return 0;
  if (file->Seek(static_cast<int64_t>(start), CFile::begin) < 0) return 0;
  if (count > 0 && file->Read(newBits.get(), static_cast<uint32_t>(count)) != count) return 0;
  Replace(std::move(newHeader), std::move(newBits), keep);
  return 1;
}

int ZDIB::CopyTo(ZImage* target, int32_t tx, int32_t ty, int32_t w, int32_t h, int32_t sx, int32_t sy, int32_t key) {
  if (w == 0 || h == 0 || target == nullptr) return 0;
  if (w < 0 || h < 0) return 0;
  // No clipping: every corner must be a pixel of its image.
  if (GetPixelAddress(sx, sy) == nullptr || GetPixelAddress(sx + w - 1, sy + h - 1) == nullptr) return 0;
  if (target->GetPixelAddress(tx, ty) == nullptr || target->GetPixelAddress(tx + w - 1, ty + h - 1) == nullptr) {
    return 0;
  }
  const uint8_t* src = GetPixelAddress(sx, sy + h - 1);
  uint8_t* dst = target->GetPixelAddress(tx, ty + h - 1);
  int32_t srcStride = GetStride();
  int32_t dstStride = target->GetStride();
  uint8_t keyByte = static_cast<uint8_t>(key & 0xFF);
  for (int32_t row = 0; row < h; ++row) {
    if (key == -1) {
      std::memmove(dst, src, static_cast<size_t>(w));
    } else {
      for (int32_t i = 0; i < w; ++i) {
        if (src[i] != keyByte) dst[i] = src[i];
      }
    }
    src += srcStride;
    dst += dstStride;
  }
  return 1;
}

int ZDIB::BlitRect(ZSurface* surface, const platform::Rect* rect, int32_t x, int32_t y) {
  if (surface == nullptr || rect == nullptr || surface->GetSurface2() == nullptr) return 0;
  ZSurfaceLock lock(surface);
  if (!lock.Ok()) return 0;
  const ZSurfaceDesc& desc = lock.Desc();
  int32_t w = GetWidth();
  int32_t h = GetHeight();
  if (rect->left < 0 || rect->top < 0 || rect->left > w || rect->top > h) return 0;
  if (x > desc.width || y > desc.height) return 0;
  // The source part is kept inside the image, whatever the rectangle says.
  int64_t cols = std::min<int64_t>(rect->right, w) - rect->left;
  int64_t rowsToCopy = std::min<int64_t>(rect->bottom, h) - rect->top;
  if (static_cast<int64_t>(x) + rect->Width() < 0 || static_cast<int64_t>(y) + rect->Height() < 0) return 0;
  int64_t skipX = x < 0 ? -static_cast<int64_t>(x) : 0;
  int64_t skipY = y < 0 ? -static_cast<int64_t>(y) : 0;
  int64_t dx = std::max(x, 0);
  int64_t dy = std::max(y, 0);
  cols = std::min<int64_t>(cols - skipX, desc.width - dx);
  rowsToCopy = std::min<int64_t>(rowsToCopy - skipY, desc.height - dy);
  if (cols <= 0 || rowsToCopy <= 0) return 1;
  int32_t stride = GetStride();
  const uint8_t* src = GetPixelAddress(static_cast<int32_t>(rect->left + skipX), static_cast<int32_t>(rect->top + skipY));
  if (src == nullptr) return 0;
  uint8_t* dst = desc.bits + dy * desc.pitch + dx;
  for (int64_t row = 0; row < rowsToCopy; ++row) {
    std::memcpy(dst, src, static_cast<size_t>(cols));
    src -= stride;
    dst += desc.pitch;
  }
  return 1;
}

int ZDIB::Blit(ZSurface* surface, int32_t x, int32_t y) {
  platform::Rect r{0, 0, GetWidth(), GetHeight()};
  return BlitRect(surface, &r, x, y);
}

int ZDIB::DrawDC(platform::DeviceContext* dc, int32_t x, int32_t y, uint32_t) {
  // The display is 8-bit with the image's palette in force, so the indices go across as they are.
  if (dc == nullptr || dc->bits == nullptr) return 0;
  int32_t w = GetWidth();
  int32_t h = GetHeight();
  for (int32_t row = 0; row < h; ++row) {
    int64_t ty = static_cast<int64_t>(y) + row;
    if (ty < 0 || ty >= dc->height) continue;
    for (int32_t col = 0; col < w; ++col) {
      int64_t tx = static_cast<int64_t>(x) + col;
      if (tx < 0 || tx >= dc->width) continue;
      const uint8_t* s = GetPixelAddress(col, row);
      if (s != nullptr) dc->bits[ty * dc->pitch + tx] = *s;
    }
  }
  return 1;
}

platform::HRESULT ZDIB::DrawOnSurface(ZSurface* surface, int32_t x, int32_t y, uint32_t rop) {
  if (surface == nullptr) return platform::E_FAIL;
  platform::DeviceContext dc;
  platform::HRESULT hr = surface->GetDC(&dc);
  if (platform::Failed(hr)) return hr;
  DrawDC(&dc, x, y, rop);
  return surface->ReleaseDC(&dc);
}

// --- ZImage ---
ZImage::~ZImage() = default;

int ZImage::Load(uint32_t id, platform::Module* module) {
  data.reset();
  ZResourceBlock block;
  if (ZReadResource(module, kResourceTypeBitmap, id, &block) == 0) return 0;
  auto dib = std::make_unique<ZDIB>();
  dib->LoadResourceBytes(block.data, block.size);  // a picture it cannot decode leaves it blank
  data = std::move(dib);
  return 1;
}

int ZImage::Blit(ZSurface* surface, int32_t x, int32_t y) { return data ? data->Blit(surface, x, y) : 0; }
int32_t ZImage::GetWidth() const { return data ? data->GetWidth() : 0; }
int32_t ZImage::GetHeight() const { return data ? data->GetHeight() : 0; }
uint8_t* ZImage::GetPixelAddress(int32_t x, int32_t y) const { return data ? data->GetPixelAddress(x, y) : nullptr; }
int32_t ZImage::GetStride() const { return data ? data->GetStride() : 0; }
int32_t ZImage::GetColorCount() const { return data ? data->GetColorCount() : 0; }
int ZImage::GetPaletteEntries(int32_t first, int32_t count, ZPaletteEntry* out) const {
  return data ? data->GetPaletteEntries(first, count, out) : 0;
}
void ZImage::SetOption(int32_t value) {
  if (data) data->SetOption(value);
}
int32_t ZImage::GetTransparentIndex() const { return data ? data->GetTransparentIndex() : 0; }
