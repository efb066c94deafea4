// Plain files over POSIX descriptors.
#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

intptr_t FileOpen(const std::string& name, FileMode mode, bool create) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case FileMode::Write: flags |= O_WRONLY; break;
    case FileMode::ReadWrite: flags |= O_RDWR; break;
    case FileMode::Read: flags |= O_RDONLY; break;
  }
  if (create) flags |= O_CREAT | O_TRUNC;
  int fd = ::open(name.c_str(), flags, 0644);
  return fd < 0 ? -1 : fd;
}

uint32_t FileRead(intptr_t file, void* buffer, uint32_t count) {
  if (file < 0 || buffer == nullptr) return 0;
  uint32_t done = 0;
  auto* out = static_cast<uint8_t*>(buffer);
  while (done < count) {
    ssize_t n = ::read(static_cast<int>(file), out + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<uint32_t>(n);
  }
  return done;
}

bool FileWrite(intptr_t file, const void* buffer, uint32_t count) {
  if (file < 0 || (buffer == nullptr && count != 0)) return false;
  uint32_t done = 0;
  const auto* in = static_cast<const uint8_t*>(buffer);
  while (done < count) {
    ssize_t n = ::write(static_cast<int>(file), in + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<uint32_t>(n);
  }
  return true;
}

int64_t FileSeek(intptr_t file, int64_t offset, SeekFrom from) {
  if (file < 0) return -1;
  int whence = from == SeekFrom::Current ? SEEK_CUR : (from == SeekFrom::End ? SEEK_END : SEEK_SET);
  off_t r = ::lseek(static_cast<int>(file), static_cast<off_t>(offset), whence);
  return r < 0 ? -1 : static_cast<int64_t>(r);
}

int64_t FileTell(intptr_t file) { return FileSeek(file, 0, SeekFrom::Current); }

int64_t FileSize(intptr_t file) {
  if (file < 0) return -1;
  struct stat st {};
  if (::fstat(static_cast<int>(file), &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

void FileClose(intptr_t file) {
  if (file >= 0) ::close(static_cast<int>(file));
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace platform
