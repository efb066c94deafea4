// File objects (CFile, CMemFile), the data-file base ZData, and reading a block out of a module's resources.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/object.h"

namespace platform {
class Module;
}

// The framework's file object: an operating-system file handle, whether the object closes it when it
// is destroyed, and the file name. Read/Seek are virtual so that a memory file can stand in for a disk
// file wherever a reader takes a file object.
class CFile : public ZObject {
  Z_DECLARE_CLASS(CFile)

 public:
  // Open flags, as the framework spells them.
  static constexpr uint32_t modeRead = 0x0000;
  static constexpr uint32_t modeWrite = 0x0001;
  static constexpr uint32_t modeReadWrite = 0x0002;
  static constexpr uint32_t modeCreate = 0x1000;
  // Seek origins.
  static constexpr int begin = 0;
  static constexpr int current = 1;
  static constexpr int end = 2;
  static constexpr intptr_t hFileNull = -1;

  CFile();
  ~CFile() override;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens a disk file; false (and still closed) when it cannot be opened.
  virtual bool Open(const std::string& fileName, uint32_t openFlags);
  // Reads up to count bytes at the current position; returns how many arrived (0 at the end or on error).
  virtual uint32_t Read(void* buffer, uint32_t count);
  // Writes count bytes; false when not all of them could be written.
  virtual bool Write(const void* buffer, uint32_t count);
  // Moves the position; returns the new position, or -1 when the seek is refused (position unchanged).
  virtual int64_t Seek(int64_t offset, int from);
  virtual uint64_t GetPosition() const;
  virtual uint64_t GetLength() const;
  virtual void Close();
  virtual bool IsOpen() const { return hFile != hFileNull; }

  const std::string& GetFileName() const { return fileName; }

 protected:
  intptr_t hFile = hFileNull;  // POSIX descriptor
  bool closeOnDelete = false;
  std::string fileName;
};

// A file object over bytes in memory (a copy), for readers that take a file object.
class CMemFile : public CFile {
  Z_DECLARE_CLASS(CMemFile)

 public:
  CMemFile() = default;
  CMemFile(const uint8_t* data, size_t size);

  bool Open(const std::string& fileName, uint32_t openFlags) override;  // always false: not a disk file
  uint32_t Read(void* buffer, uint32_t count) override;
  bool Write(const void* buffer, uint32_t count) override;
  int64_t Seek(int64_t offset, int from) override;
  uint64_t GetPosition() const override { return position_; }
  uint64_t GetLength() const override { return bytes_.size(); }
  void Close() override;
  bool IsOpen() const override { return true; }

  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  uint64_t position_ = 0;
};

// The common root of every object that carries a body of data read from outside the program: a file
// object with no state or behaviour of its own. It is never opened by its subclasses, so it stays
// closed for its whole life and its destruction touches no file.
class ZData : public CFile {
  Z_DECLARE_CLASS(ZData)

 public:
  ZData() = default;
  ~ZData() override = default;
};

// A resource's bytes inside a loaded module. They belong to the module: valid while it is loaded,
// never written, never freed by a reader.
struct ZResourceBlock {
  const uint8_t* data = nullptr;
  uint32_t size = 0;
};

// Standard resource type numbers (the integer types of RT_xxx).
constexpr uint16_t kResourceTypeCursor = 1;
constexpr uint16_t kResourceTypeBitmap = 2;
constexpr uint16_t kResourceTypeGroupCursor = 12;

// Find, load and lock a resource of a module by type name ("WAVE", "SPRITEMAP") and 16-bit id (only
// the low 16 bits of id count). A null module is the program's own. Returns 1 with the block filled,
// or 0 with an empty block when the resource is not there or cannot be loaded.
int ZReadResource(platform::Module* module, const char* typeName, uint32_t id, ZResourceBlock* out);
// The same for an integer resource type (kResourceTypeBitmap ...).
int ZReadResource(platform::Module* module, uint16_t type, uint32_t id, ZResourceBlock* out);
