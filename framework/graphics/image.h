// 8-bit palette images: the abstract ZImageData, the in-memory bitmap ZDIB and the holder ZImage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "framework/core/object.h"
#include "platform/types.h"

namespace platform {
class Module;
struct DeviceContext;
}

class CFile;
class ZImage;
class ZSurface;

// One entry of a logical palette: red, green, blue, flags.
struct ZPaletteEntry {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t flags = 0;
  bool operator==(const ZPaletteEntry&) const = default;
};

// One entry of a bitmap's colour table: blue, green, red, reserved.
struct ZRgbQuad {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  uint8_t reserved = 0;
  bool operator==(const ZRgbQuad&) const = default;
};

// The 40-byte bitmap information header, little-endian on disk.
struct ZBitmapInfoHeader {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 8;
  uint32_t biCompression = 0;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};

constexpr size_t kBitmapInfoHeaderSize = 40;
constexpr size_t kDibHeaderBlockSize = 1064;  // header + 256 colours
constexpr size_t kBitmapFileHeaderSize = 14;
// Pictures larger than this on either side are refused by the loaders (no real art comes near it).
constexpr int32_t kMaxImageSide = 16384;

// Bytes per row of an 8-bit image: width rounded up to a multiple of 4. In 64 bits, because a damaged
// sprite-map entry may claim a width near 2^31.
inline int64_t ZImageStride(int64_t width) { return (width + 3) & ~int64_t{3}; }

// The abstract image. Every operation does nothing or returns 0 here.
class ZImageData : public ZObject {
  Z_DECLARE_CLASS(ZImageData)

 public:
  ZImageData() = default;
  ~ZImageData() override = default;

  virtual int CopyTo(ZImage* target, int32_t tx, int32_t ty, int32_t width, int32_t height, int32_t sx,
                     int32_t sy, int32_t key);
  virtual int DrawDC(platform::DeviceContext* dc, int32_t x, int32_t y, uint32_t rop);
  virtual int BlitRect(ZSurface* surface, const platform::Rect* rect, int32_t x, int32_t y);
  virtual int Blit(ZSurface* surface, int32_t x, int32_t y);
  virtual int32_t GetWidth() const;
  virtual int32_t GetHeight() const;
  virtual uint8_t* GetPixelAddress(int32_t x, int32_t y) const;
  virtual void GetRect(platform::Rect* out) const;  // no meaning for images; sprites give it one
  virtual int32_t GetStride() const;
  virtual int32_t GetColorCount() const;
  virtual int32_t GetKind() const;
  virtual int GetPaletteEntries(int32_t first, int32_t count, ZPaletteEntry* out) const;
  virtual int GetColorTable(int32_t first, int32_t count, ZRgbQuad* out) const;
  virtual platform::COLORREF GetTransparentColor() const;
  virtual void SetOption(int32_t value);  // forwarded by the holder; no image class gives it an effect
  virtual int32_t GetTransparentIndex() const;
  virtual void SetTransparentIndex(int32_t index);
  virtual int Create(int32_t width, int32_t height);
  virtual int LoadResource(uint32_t id, platform::Module* module);
  virtual int LoadFile(CFile* file);

 protected:
  int32_t kind = 0;
  int32_t transparentIndex = 0;
};

// A device-independent bitmap in memory: header + 256 colours, bottom-up rows padded to 4 bytes.
class ZDIB : public ZImageData {
  Z_DECLARE_CLASS(ZDIB)

 public:
  ZDIB();  // a blank 16 x 16 grey-palette image
  ~ZDIB() override;
  ZDIB(const ZDIB&) = delete;
  ZDIB& operator=(const ZDIB&) = delete;

  int CopyTo(ZImage* target, int32_t tx, int32_t ty, int32_t width, int32_t height, int32_t sx, int32_t sy,
             int32_t key) override;
  int DrawDC(platform::DeviceContext* dc, int32_t x, int32_t y, uint32_t rop) override;
  int BlitRect(ZSurface* surface, const platform::Rect* rect, int32_t x, int32_t y) override;
  int Blit(ZSurface* surface, int32_t x, int32_t y) override;
  int32_t GetWidth() const override;
  int32_t GetHeight() const override;
  uint8_t* GetPixelAddress(int32_t x, int32_t y) const override;
  int32_t GetStride() const override;
  int32_t GetColorCount() const override;
  int32_t GetKind() const override;
  int GetPaletteEntries(int32_t first, int32_t count, ZPaletteEntry* out) const override;
  int GetColorTable(int32_t first, int32_t count, ZRgbQuad* out) const override;
  platform::COLORREF GetTransparentColor() const override;
  int32_t GetTransparentIndex() const override;
  void SetTransparentIndex(int32_t index) override;
  int Create(int32_t width, int32_t height) override;
  int LoadResource(uint32_t id, platform::Module* module) override;
  int LoadFile(CFile* file) override;
  // Draws the whole image through a device context of the surface.
  virtual platform::HRESULT DrawOnSurface(ZSurface* surface, int32_t x, int32_t y, uint32_t rop);

  // Loads from the bytes of a bitmap resource (header, 256 colours, pixels); 1 or 0, all or nothing.
  int LoadResourceBytes(const uint8_t* data, size_t size);
  // The header as stored (first 40 bytes of the header block).
  ZBitmapInfoHeader GetInfoHeader() const;
  const uint8_t* GetBits() const { return bits; }
  size_t GetBitsSize() const { return bitsSize; }

 protected:
  // Replaces header and bits with new blocks (takes ownership).
  void Replace(std::unique_ptr<uint8_t[]> newHeader, std::unique_ptr<uint8_t[]> newBits, size_t newBitsSize);
  void FreeBits();

  std::unique_ptr<uint8_t[]> header;  // kDibHeaderBlockSize bytes
  uint8_t* bits = nullptr;
  size_t bitsSize = 0;  // at least stride x |height| when the header is sound
  bool ownsBits = false;
};

// Holder of one image loaded from a bitmap resource; forwards the common operations.
class ZImage : public ZObject {
  Z_DECLARE_CLASS(ZImage)

 public:
  ZImage() = default;
  ~ZImage() override;

  // Bitmap resource id of the module (null: the program's own). 1 when the resource exists (the
  // image stays blank 16 x 16 when it cannot be decoded), 0 when it does not (no data then).
  int Load(uint32_t id, platform::Module* module);

  int Blit(ZSurface* surface, int32_t x, int32_t y);
  int32_t GetWidth() const;
  int32_t GetHeight() const;
  uint8_t* GetPixelAddress(int32_t x, int32_t y) const;
  int32_t GetStride() const;
  int32_t GetColorCount() const;
  int GetPaletteEntries(int32_t first, int32_t count, ZPaletteEntry* out) const;
  void SetOption(int32_t value);
  int32_t GetTransparentIndex() const;

  ZImageData* GetData() const { return data.get(); }
  void SetData(std::unique_ptr<ZImageData> newData) { data = std::move(newData); }

 private:
  std::unique_ptr<ZImageData> data;
};
