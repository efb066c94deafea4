// File objects, the data-file base and the resource-reading contract shared by every resource reader.
#include "framework/core/data.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/file.h"
#include "platform/module.h"

Z_IMPLEMENT_CLASS(CFile, ZObject)
Z_IMPLEMENT_CLASS(CMemFile, CFile)
Z_IMPLEMENT_CLASS(ZData, CFile)

CFile::CFile() = default;

CFile::~CFile() {
  if (hFile != hFileNull && closeOnDelete) Close();
}

bool CFile::Open(const std::string& name, uint32_t openFlags) {
  if (hFile != hFileNull) Close();
  platform::FileMode mode = platform::FileMode::Read;
  switch (openFlags & 3) {
    case modeWrite: mode = platform::FileMode::Write; break;
    case modeReadWrite: mode = platform::FileMode::ReadWrite; break;
    default: break;
  }
  intptr_t fd = platform::FileOpen(name, mode, (openFlags & modeCreate) != 0);
  if (fd < 0) return false;
  hFile = fd;
  closeOnDelete = true;
  fileName = name;
  return true;
}

uint32_t CFile::Read(void* buffer, uint32_t count) {
  if (hFile == hFileNull) return 0;
  return platform::FileRead(hFile, buffer, count);
}

bool CFile::Write(const void* buffer, uint32_t count) {
  if (hFile == hFileNull) return false;
  return platform::FileWrite(hFile, buffer, count);
}

int64_t CFile::Seek(int64_t offset, int from) {
  if (hFile == hFileNull) return -1;
  platform::SeekFrom whence = from == current ? platform::SeekFrom::Current
                                              : (from == end ? platform::SeekFrom::End : platform::SeekFrom::Begin);
  return platform::FileSeek(hFile, offset, whence);
}

uint64_t CFile::GetPosition() const {
  if (hFile == hFileNull) return 0;
  int64_t r = platform::FileTell(hFile);
  return r < 0 ? 0 : static_cast<uint64_t>(r);
}

uint64_t CFile::GetLength() const {
  if (hFile == hFileNull) return 0;
  int64_t r = platform::FileSize(hFile);
  return r < 0 ? 0 : static_cast<uint64_t>(r);
}

void CFile::Close() {
  if (hFile != hFileNull) platform::FileClose(hFile);
  hFile = hFileNull;
  closeOnDelete = false;
  fileName.clear();
}

CMemFile::CMemFile(const uint8_t* data, size_t size) {
  if (data != nullptr && size > 0) bytes_.assign(data, data + size);
}

bool CMemFile::Open(const std::string&, uint32_t) { return false; }

uint32_t CMemFile::Read(void* buffer, uint32_t count) {
  if (buffer == nullptr || position_ >= bytes_.size()) return 0;
  uint64_t n = std::min<uint64_t>(count, bytes_.size() - position_);
  std::memcpy(buffer, bytes_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return static_cast<uint32_t>(n);
}

bool CMemFile::Write(const void* buffer, uint32_t count) {
  if (count == 0) return true;
  if (buffer == nullptr) return false;
  const auto* in = static_cast<const uint8_t*>(buffer);
  uint64_t endPos = position_ + count;
  if (endPos > bytes_.size()) bytes_.resize(static_cast<size_t>(endPos));
  std::memcpy(bytes_.data() + position_, in, count);
  position_ = endPos;
  return true;
}

int64_t CMemFile::Seek(int64_t offset, int from) {
  int64_t base = from == current ? static_cast<int64_t>(position_)
                                 : (from == end ? static_cast<int64_t>(bytes_.size()) : 0);
  int64_t target = base + offset;
  if (target < 0) return -1;
  position_ = static_cast<uint64_t>(target);
  return target;
}

void CMemFile::Close() {
  bytes_.clear();
  position_ = 0;
}

namespace {

int ReadResourceBlock(platform::Module* module, const platform::ResName& type, uint32_t id, ZResourceBlock* out) {
  if (out == nullptr) return 0;
  *out = ZResourceBlock{};
  platform::HRSRC found = platform::FindResource(module, platform::ResName(static_cast<uint16_t>(id & 0xFFFF)), type);
  if (found == nullptr) return 0;
  platform::HGLOBAL loaded = platform::LoadResource(module, found);
  if (loaded == nullptr) return 0;
  const void* bytes = platform::LockResource(loaded);
  if (bytes == nullptr) return 0;
  out->data = static_cast<const uint8_t*>(bytes);
  out->size = platform::SizeofResource(module, found);
  return 1;
}

}  // namespace

int ZReadResource(platform::Module* module, const char* typeName, uint32_t id, ZResourceBlock* out) {
  if (typeName == nullptr) {
    if (out != nullptr) *out = ZResourceBlock{};
    return 0;
  }
  return ReadResourceBlock(module, platform::ResName(typeName), id, out);
}

int ZReadResource(platform::Module* module, uint16_t type, uint32_t id, ZResourceBlock* out) {
  return ReadResourceBlock(module, platform::ResName(type), id, out);
}
