// Plain files for the framework's file objects: open, read, write, seek, size, close, exists.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

enum class FileMode { Read, Write, ReadWrite };
enum class SeekFrom { Begin, Current, End };

// A descriptor, or -1 when the file cannot be opened. `create` makes (or truncates) the file.
intptr_t FileOpen(const std::string& name, FileMode mode, bool create);
// Reads up to `count` bytes (retrying short reads); returns how many arrived.
uint32_t FileRead(intptr_t file, void* buffer, uint32_t count);
// Writes all `count` bytes; false when any could not be written.
bool FileWrite(intptr_t file, const void* buffer, uint32_t count);
int64_t FileSeek(intptr_t file, int64_t offset, SeekFrom from);  // new position, or -1
int64_t FileTell(intptr_t file);                                 // -1 on failure
int64_t FileSize(intptr_t file);                                 // -1 on failure
void FileClose(intptr_t file);
bool FileExists(const std::string& path);

}  // namespace platform
