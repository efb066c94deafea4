// Resource modules: 32-bit Windows PE resource-only DLLs (files or the program's own image) and their resources.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace platform {

// --- standard resource types ---
constexpr uint16_t RT_CURSOR = 1;
constexpr uint16_t RT_BITMAP = 2;
constexpr uint16_t RT_ICON = 3;
constexpr uint16_t RT_MENU = 4;
constexpr uint16_t RT_DIALOG = 5;
constexpr uint16_t RT_STRING = 6;
constexpr uint16_t RT_RCDATA = 10;
constexpr uint16_t RT_GROUP_CURSOR = 12;
constexpr uint16_t RT_GROUP_ICON = 14;

// A resource type or name: a 16-bit id or a string (matched case-insensitively, as Windows does).
// A string "#123" means id 123, as with the originals.
class ResName {
 public:
  // Integer ids, as MAKEINTRESOURCE takes them: only the low 16 bits count.
  template <typename T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
  ResName(T id) : isId_(true), id_(static_cast<uint16_t>(id)) {}  // NOLINT
  ResName(const char* name);                                         // NOLINT
  ResName(const std::string& name) : ResName(name.c_str()) {}        // NOLINT
  bool IsId() const { return isId_; }
  uint16_t Id() const { return id_; }
  const std::string& Name() const { return name_; }  // upper-cased for matching

 private:
  bool isId_ = false;
  uint16_t id_ = 0;
  std::string name_;
};

// One resource found in a module: its bytes stay valid while the module is loaded.
struct ResourceInfo {
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  uint32_t language = 0;
};
using HRSRC = const ResourceInfo*;
using HGLOBAL = const ResourceInfo*;

// One entry of a module's resource directory, for walking every resource.
struct ResourceEntry {
  bool typeIsId = true;
  uint16_t typeId = 0;
  std::string typeName;  // UTF-16 name narrowed (non-ASCII as '?'), as stored (not upper-cased)
  bool nameIsId = true;
  uint16_t nameId = 0;
  std::string name;
  ResourceInfo info;
  std::string typeKey;  // upper-cased names for matching (non-ASCII kept apart from any ASCII query)
  std::string nameKey;
};

// A parsed PE image. Every offset, size and RVA is checked against the bytes at hand: a damaged image
// yields fewer (or no) resources, never a read outside the bytes.
class Module {
 public:
  // Takes a copy of the bytes (files).
  static std::unique_ptr<Module> FromBytes(std::vector<uint8_t> bytes, std::string name = {});
  // Borrows bytes that outlive the module (the program's own embedded image).
  static std::unique_ptr<Module> FromMemory(const uint8_t* data, size_t size, std::string name = {});
  ~Module();

  // False when the image is not a PE image with a readable resource directory.
  bool Valid() const { return valid_; }
  // True when the resource tree was refused because reading it asked for more directory entries and
  // names than its section can hold (a table read from the wrong bytes, or directories in a loop).
  bool ResourceTreeOverrun() const { return treeOverrun_; }
  // Directory entries (type, name and language level) the walk read, refused or not.
  uint64_t ResourceEntriesVisited() const { return entriesVisited_; }
  const std::string& Name() const { return name_; }
  // The image's bytes, and where its sections' raw data says the file ends: a file cut short (a copy or
  // download that stopped) has fewer bytes than that, and resources past its end are not listed.
  size_t Size() const { return size_; }
  uint64_t SectionsEnd() const { return sectionsEnd_; }
  // First language of (type, name); null when absent.
  HRSRC Find(const ResName& name, const ResName& type) const;
  const std::vector<ResourceEntry>& Entries() const { return entries_; }

 private:
  Module() = default;
  void Parse();

  std::string name_;
  std::vector<uint8_t> owned_;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  bool valid_ = false;
  bool treeOverrun_ = false;
  uint64_t entriesVisited_ = 0;
  uint64_t sectionsEnd_ = 0;
  std::vector<ResourceEntry> entries_;
};

using HMODULE = Module*;

// The folders the art files and the map file are looked for in, in this order: the current directory
// (as the game always did), the executable's folder, ../share/brushfeather beside it (an installed,
// relocatable prefix), then brushfeather/ in each folder of $XDG_DATA_DIRS (/usr/local/share and
// /usr/share when it is unset or empty; relative entries are skipped). Each folder once.
std::vector<std::string> ArtSearchFolders();
// The same rule from its parts; an empty cwd or exeDir is left out, a null xdgDataDirs is unset.
std::vector<std::string> ArtSearchFolders(const std::string& cwd, const std::string& exeDir, const char* xdgDataDirs);
// "A, B, C" of ArtSearchFolders(), for messages about a file that was not found.
std::string DescribeArtSearch();
// Test hook: the folder taken for the executable's (empty puts the real one back).
void SetExecutableDirectoryForTest(const std::string& dir);

// Finds a file by name in the folders of ArtSearchFolders(), each matching the name case-insensitively.
// A name with a folder part is looked for only there. Returns the path, or empty when not found.
std::string FindFileNoCase(const std::string& fileName);

// LoadLibrary: by file name (looked up as FindFileNoCase does); null when missing or not a resource
// module, after writing to stderr which file was looked for and where. Loading the same file again
// returns the same module with its count raised; FreeLibrary lowers it and unloads at zero.
HMODULE LoadLibrary(const std::string& fileName);
bool FreeLibrary(HMODULE module);
// The program's own module (the embedded image; it may hold no resources). Never unloaded.
HMODULE GetOwnModule();
// Test hook: puts another image in place of the embedded one (null puts the embedded one back).
void SetOwnModuleForTest(std::unique_ptr<Module> module);

// FindResource: module null means the program's own module.
HRSRC FindResource(HMODULE module, const ResName& name, const ResName& type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);  // null for null resource
const void* LockResource(HGLOBAL data);                // the bytes; null for null
uint32_t SizeofResource(HMODULE module, HRSRC resource);  // 0 for null

}  // namespace platform
