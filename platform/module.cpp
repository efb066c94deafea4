// Resource modules: reads the resource directory of PE images, finds files, and keeps loaded modules.
#include "platform/module.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#include "platform/own_module.h"

namespace platform {

namespace {

constexpr size_t kMaxModuleBytes = size_t{512} << 20;  // larger files are not resource modules of ours
constexpr size_t kMaxEntries = 1 << 16;                // shared subdirectories must not multiply without end
constexpr uint16_t kMaxSections = 96;                   // the Windows loader's own limit
constexpr uint64_t kDirectoryEntryBytes = 8;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Bounds-checked little-endian reads over the image.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Has(uint64_t offset, uint64_t count) const { return offset <= size_ && count <= size_ - offset; }
  bool U16(uint64_t offset, uint16_t* out) const {
    if (!Has(offset, 2)) return false;
    *out = static_cast<uint16_t>(data_[offset] | (data_[offset + 1] << 8));
    return true;
  }
  bool U32(uint64_t offset, uint32_t* out) const {
    if (!Has(offset, 4)) return false;
    *out = static_cast<uint32_t>(data_[offset]) | (static_cast<uint32_t>(data_[offset + 1]) << 8) |
           (static_cast<uint32_t>(data_[offset + 2]) << 16) | (static_cast<uint32_t>(data_[offset + 3]) << 24);
    return true;
  }
  const uint8_t* At(uint64_t offset) const { return data_ + offset; }

 private:
  const uint8_t* data_;
  size_t size_;
};

struct Section {
  uint32_t virtualAddress = 0;
  uint32_t virtualSize = 0;
  uint32_t rawSize = 0;
  uint32_t rawOffset = 0;
  char name[9] = {};
};

// The resource tree, read inside the section that holds it. A sound tree stores each directory entry
// and each name once, so reading them all costs at most the bytes the tree has; a tree read from the
// wrong bytes (or one whose directories point back at each other) asks for more and is refused.
class ResourceWalker {
 public:
  ResourceWalker(const Reader& file, const std::vector<Section>& sections, uint64_t base, uint64_t limit)
      : file_(file), sections_(sections), base_(base), limit_(limit), budget_(limit) {}

  // False when the tree asked for more reading than its bytes can hold.
  bool Walk(std::vector<ResourceEntry>* out) {
    uint32_t count = 0;
    if (!Directory(0, &count)) return true;
    for (uint32_t i = 0; i < count && out->size() < kMaxEntries && !overrun_; ++i) {
      if (!ChargeEntry()) break;
      uint32_t name = 0, target = 0;
      if (!Entry(0, i, &name, &target) || (target & 0x80000000u) == 0) continue;  // types are directories
      ResourceEntry type;
      if (!ReadName(name, &type.typeIsId, &type.typeId, &type.typeName, &type.typeKey)) continue;
      WalkNames(target & 0x7FFFFFFFu, type, out);
    }
    return !overrun_;
  }
  uint64_t EntriesVisited() const { return visited_; }

 private:
  // Takes bytes from the budget; false (for good) once it is spent.
  bool Charge(uint64_t bytes) {
    if (overrun_ || bytes > budget_) {
      overrun_ = true;
      return false;
    }
    budget_ -= bytes;
    return true;
  }
  bool ChargeEntry() {
    if (!Charge(kDirectoryEntryBytes)) return false;
    ++visited_;
    return true;
  }

  // Reads a directory header at dir (relative to the resource base); count = named + id entries that fit.
  bool Directory(uint64_t dir, uint32_t* count) const {
    uint16_t named = 0, ids = 0;
    if (!InTree(dir, 16) || !file_.U16(base_ + dir + 12, &named) || !file_.U16(base_ + dir + 14, &ids)) return false;
    const uint64_t fit = (limit_ - (dir + 16)) / 8;
    *count = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{named} + ids, fit));
    return true;
  }
  bool Entry(uint64_t dir, uint32_t index, uint32_t* name, uint32_t* target) const {
    const uint64_t at = dir + 16 + uint64_t{index} * 8;
    return InTree(at, 8) && file_.U32(base_ + at, name) && file_.U32(base_ + at + 4, target);
  }
  bool InTree(uint64_t offset, uint64_t count) const { return offset <= limit_ && count <= limit_ - offset; }

  bool ReadName(uint32_t raw, bool* isId, uint16_t* id, std::string* shown, std::string* key) {
    if ((raw & 0x80000000u) == 0) {
      *isId = true;
      *id = static_cast<uint16_t>(raw & 0xFFFF);
      return true;
    }
    const uint64_t at = raw & 0x7FFFFFFFu;
    uint16_t length = 0;
    if (!InTree(at, 2) || !file_.U16(base_ + at, &length) || !InTree(at + 2, uint64_t{length} * 2)) return false;
    if (!Charge(2 + uint64_t{length} * 2)) return false;
    *isId = false;
    shown->clear();
    key->clear();
    for (uint16_t i = 0; i < length; ++i) {
      uint16_t ch = 0;
      file_.U16(base_ + at + 2 + uint64_t{i} * 2, &ch);
      if (ch < 0x80) {
        shown->push_back(static_cast<char>(ch));
        key->push_back(static_cast<char>(std::toupper(ch)));
      } else {
        // Kept distinct from every ASCII query, so a non-ASCII name never matches by accident.
        shown->push_back('?');
        key->push_back('\x01');
      }
    }
    return true;
  }

  void WalkNames(uint64_t dir, const ResourceEntry& type, std::vector<ResourceEntry>* out) {
    uint32_t count = 0;
    if (!Directory(dir, &count)) return;
    for (uint32_t i = 0; i < count && out->size() < kMaxEntries; ++i) {
      if (!ChargeEntry()) return;
      uint32_t name = 0, target = 0;
      if (!Entry(dir, i, &name, &target) || (target & 0x80000000u) == 0) continue;  // names hold languages
      ResourceEntry entry = type;
      if (!ReadName(name, &entry.nameIsId, &entry.nameId, &entry.name, &entry.nameKey)) continue;
      if (FirstLanguage(target & 0x7FFFFFFFu, &entry.info)) out->push_back(std::move(entry));
    }
  }

  // The first language whose data entry is sound.
  bool FirstLanguage(uint64_t dir, ResourceInfo* info) {
    uint32_t count = 0;
    if (!Directory(dir, &count)) return false;
    for (uint32_t i = 0; i < count; ++i) {
      if (!ChargeEntry()) return false;
      uint32_t language = 0, target = 0;
      if (!Entry(dir, i, &language, &target) || (target & 0x80000000u) != 0) continue;
      uint32_t rva = 0, size = 0;
      if (!InTree(target, 16) || !file_.U32(base_ + target, &rva) || !file_.U32(base_ + target + 4, &size)) continue;
      const uint8_t* data = nullptr;
      if (!MapRva(rva, size, &data)) continue;
      info->data = data;
      info->size = size;
      info->language = language & 0xFFFF;
      return true;
    }
    return false;
  }

  // Data must lie wholly inside the raw bytes of one section.
  bool MapRva(uint32_t rva, uint32_t size, const uint8_t** data) const {
    for (const Section& s : sections_) {
      if (rva < s.virtualAddress) continue;
      const uint64_t into = uint64_t{rva} - s.virtualAddress;
      if (into > s.rawSize || size > s.rawSize - into) continue;
      const uint64_t offset = uint64_t{s.rawOffset} + into;
      if (!file_.Has(offset, size)) continue;
      *data = file_.At(offset);
      return true;
    }
    return false;
  }

  const Reader& file_;
  const std::vector<Section>& sections_;
  uint64_t base_;   // file offset of the resource tree
  uint64_t limit_;  // bytes of the tree available in the file
  uint64_t budget_;
  uint64_t visited_ = 0;
  bool overrun_ = false;
};

struct Loaded {
  std::unique_ptr<Module> module;
  int count = 0;
};

std::map<std::string, Loaded>& LoadedModules() {
  static std::map<std::string, Loaded> modules;
  return modules;
}

std::unique_ptr<Module>& OwnModuleOverride() {
  static std::unique_ptr<Module> module;
  return module;
}

bool SameNoCase(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

// A file named `name` in `dir`, exact spelling first, then any case.
std::string FindInDirectory(const std::filesystem::path& dir, const std::string& name) {
  std::error_code ec;
  const std::filesystem::path exact = dir / name;
  if (std::filesystem::is_regular_file(exact, ec)) return exact.string();
  std::string found;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    const std::string candidate = entry.path().filename().string();
    if (!SameNoCase(candidate, name)) continue;
    std::error_code ec2;
    if (!entry.is_regular_file(ec2)) continue;
    // Several spellings of one name: take the first in name order, so the choice does not vary.
    if (found.empty() || entry.path().string() < found) found = entry.path().string();
  }
  return found;
}

std::string& ExecutableDirectoryOverride() {
  static std::string dir;
  return dir;
}

std::filesystem::path ExecutableDirectory() {
  if (!ExecutableDirectoryOverride().empty()) return ExecutableDirectoryOverride();
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path();
}

}  // namespace

// --- ResName ---

ResName::ResName(const char* name) {
  if (name == nullptr) {
    isId_ = true;
    return;
  }
  // "#123" names id 123.
  if (name[0] == '#' && name[1] != '\0') {
    char* end = nullptr;
    const unsigned long value = std::strtoul(name + 1, &end, 10);
    if (end != nullptr && *end == '\0' && value <= 0xFFFF && std::isdigit(static_cast<unsigned char>(name[1]))) {
      isId_ = true;
      id_ = static_cast<uint16_t>(value);
      return;
    }
  }
  name_ = Upper(name);
}

// --- Module ---

std::unique_ptr<Module> Module::FromBytes(std::vector<uint8_t> bytes, std::string name) {
  std::unique_ptr<Module> module(new Module());
  module->name_ = std::move(name);
  module->owned_ = std::move(bytes);
  module->data_ = module->owned_.data();
  module->size_ = module->owned_.size();
  module->Parse();
  return module;
}

std::unique_ptr<Module> Module::FromMemory(const uint8_t* data, size_t size, std::string name) {
  std::unique_ptr<Module> module(new Module());
  module->name_ = std::move(name);
  module->data_ = data;
  module->size_ = data != nullptr ? size : 0;
  module->Parse();
  return module;
}

Module::~Module() = default;

void Module::Parse() {
  valid_ = false;
  treeOverrun_ = false;
  entriesVisited_ = 0;
  sectionsEnd_ = 0;
  entries_.clear();
  if (data_ == nullptr) return;
  const Reader file(data_, size_);
  uint16_t magic = 0;
  uint32_t peOffset = 0, signature = 0;
  if (!file.U16(0, &magic) || magic != 0x5A4D) return;  // "MZ"
  if (!file.U32(0x3C, &peOffset) || !file.U32(peOffset, &signature) || signature != 0x00004550) return;
  const uint64_t coff = uint64_t{peOffset} + 4;
  uint16_t sectionCount = 0, optionalSize = 0, optionalMagic = 0;
  if (!file.U16(coff + 2, &sectionCount) || !file.U16(coff + 16, &optionalSize)) return;
  if (sectionCount > kMaxSections) return;  // every data lookup scans the table, so it stays short
  const uint64_t optional = coff + 20;
  if (!file.Has(optional, optionalSize) || !file.U16(optional, &optionalMagic)) return;

  // Data directory 2 is the resource tree; PE32 (0x10B) and PE32+ (0x20B) place it differently.
  uint64_t dirCountAt = 0, dirsAt = 0;
  if (optionalMagic == 0x10B) {
    dirCountAt = 92;
    dirsAt = 96;
  } else if (optionalMagic == 0x20B) {
    dirCountAt = 108;
    dirsAt = 112;
  } else {
    return;
  }
  uint32_t resourceRva = 0, resourceSize = 0, dirCount = 0;
  if (optionalSize >= dirsAt + 24 && file.U32(optional + dirCountAt, &dirCount) && dirCount > 2) {
    file.U32(optional + dirsAt + 16, &resourceRva);
    file.U32(optional + dirsAt + 20, &resourceSize);
  }

  std::vector<Section> sections;
  const uint64_t table = optional + optionalSize;
  for (uint16_t i = 0; i < sectionCount; ++i) {
    const uint64_t at = table + uint64_t{i} * 40;
    Section s;
    if (!file.Has(at, 40)) break;
    std::memcpy(s.name, file.At(at), 8);
    file.U32(at + 8, &s.virtualSize);
    file.U32(at + 12, &s.virtualAddress);
    file.U32(at + 16, &s.rawSize);
    file.U32(at + 20, &s.rawOffset);
    sectionsEnd_ = std::max(sectionsEnd_, uint64_t{s.rawOffset} + s.rawSize);
    sections.push_back(s);
  }
  // Without a directory entry, the section named .rsrc holds the tree.
  if (resourceRva == 0) {
    for (const Section& s : sections) {
      if (std::strcmp(s.name, ".rsrc") == 0) {
        resourceRva = s.virtualAddress;
        resourceSize = s.rawSize;
        break;
      }
    }
  }
  if (resourceRva == 0) return;

  for (const Section& s : sections) {
    if (resourceRva < s.virtualAddress) continue;
    const uint64_t into = uint64_t{resourceRva} - s.virtualAddress;
    if (into >= s.rawSize) continue;
    const uint64_t base = uint64_t{s.rawOffset} + into;
    if (!file.Has(base, 16)) continue;
    // The tree may not reach past its section's raw bytes or the file's end.
    uint64_t limit = std::min<uint64_t>(s.rawSize - into, size_ - base);
    (void)resourceSize;
    ResourceWalker walker(file, sections, base, limit);
    const bool sound = walker.Walk(&entries_);
    entriesVisited_ = walker.EntriesVisited();
    if (!sound) {
      treeOverrun_ = true;
      entries_.clear();
      return;
    }
    valid_ = true;
    return;
  }
}

HRSRC Module::Find(const ResName& name, const ResName& type) const {
  for (const ResourceEntry& e : entries_) {
    if (type.IsId() != e.typeIsId) continue;
    if (type.IsId() ? e.typeId != type.Id() : e.typeKey != type.Name()) continue;
    if (name.IsId() != e.nameIsId) continue;
    if (name.IsId() ? e.nameId != name.Id() : e.nameKey != name.Name()) continue;
    return &e.info;
  }
  return nullptr;
}

// --- files and loaded modules ---

std::vector<std::string> ArtSearchFolders(const std::string& cwd, const std::string& exeDir, const char* xdgDataDirs) {
  std::vector<std::string> folders;
  auto add = [&folders](const std::filesystem::path& dir) {
    const std::string normal = dir.lexically_normal().string();
    if (std::find(folders.begin(), folders.end(), normal) == folders.end()) folders.push_back(normal);
  };
  if (!cwd.empty()) add(cwd);
  if (!exeDir.empty()) {
    add(exeDir);
    add(std::filesystem::path(exeDir) / ".." / "share" / "brushfeather");
  }
  // The XDG base-directory rule: unset or empty means the two standard folders.
  const bool given = xdgDataDirs != nullptr && xdgDataDirs[0] != '\0';
  const std::string dirs = given ? xdgDataDirs : "/usr/local/share/:/usr/share/";
  size_t start = 0;
  while (start <= dirs.size()) {
    const size_t colon = std::min(dirs.find(':', start), dirs.size());
    const std::filesystem::path dir(dirs.substr(start, colon - start));
    if (dir.is_absolute()) add(dir / "brushfeather");
    start = colon + 1;
  }
  return folders;
}

std::vector<std::string> ArtSearchFolders() {
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);
  return ArtSearchFolders(ec ? std::string() : cwd.string(), ExecutableDirectory().string(),
                          std::getenv("XDG_DATA_DIRS"));
}

std::string DescribeArtSearch() {
  std::string text;
  for (const std::string& folder : ArtSearchFolders()) text += (text.empty() ? "" : ", ") + folder;
  return text;
}

void SetExecutableDirectoryForTest(const std::string& dir) { ExecutableDirectoryOverride() = dir; }

std::string FindFileNoCase(const std::string& fileName) {
  if (fileName.empty()) return {};
  const std::filesystem::path path(fileName);
  if (path.has_parent_path()) {
    return FindInDirectory(path.parent_path(), path.filename().string());
  }
  for (const std::string& folder : ArtSearchFolders()) {
    if (std::string found = FindInDirectory(folder, fileName); !found.empty()) return found;
  }
  return {};
}

HMODULE LoadLibrary(const std::string& fileName) {
  const std::string path = FindFileNoCase(fileName);
  if (path.empty()) {
    std::fprintf(stderr, "brushfeather: cannot find \"%s\" (looked in %s; any letter case)\n", fileName.c_str(),
                 DescribeArtSearch().c_str());
    return nullptr;
  }
  std::error_code ec;
  std::string key = std::filesystem::weakly_canonical(path, ec).string();
  if (ec) key = path;
  auto& modules = LoadedModules();
  if (auto it = modules.find(key); it != modules.end()) {
    ++it->second.count;
    return it->second.module.get();
  }
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes;
  if (in) {
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size >= 0 && static_cast<uint64_t>(size) <= kMaxModuleBytes) {
      bytes.resize(static_cast<size_t>(size));
      in.read(reinterpret_cast<char*>(bytes.data()), size);
      if (!in) bytes.clear();
    }
  }
  if (bytes.empty()) {
    std::fprintf(stderr, "brushfeather: cannot read \"%s\" (found as %s)\n", fileName.c_str(), path.c_str());
    return nullptr;
  }
  std::unique_ptr<Module> module = Module::FromBytes(std::move(bytes), path);
  if (module->ResourceTreeOverrun()) {
    std::fprintf(stderr,
                 "brushfeather: \"%s\" (found as %s) has a damaged resource table: it names more entries than "
                 "its section can hold (gave up after %llu)\n",
                 fileName.c_str(), path.c_str(), static_cast<unsigned long long>(module->ResourceEntriesVisited()));
    return nullptr;
  }
  if (!module->Valid()) {
    std::fprintf(stderr, "brushfeather: \"%s\" (found as %s) is not a resource module\n", fileName.c_str(),
                 path.c_str());
    return nullptr;
  }
  Loaded& slot = modules[key];
  slot.module = std::move(module);
  slot.count = 1;
  return slot.module.get();
}

bool FreeLibrary(HMODULE module) {
  if (module == nullptr) return false;
  if (module == GetOwnModule()) return true;  // the program's own image stays
  auto& modules = LoadedModules();
  for (auto it = modules.begin(); it != modules.end(); ++it) {
    if (it->second.module.get() != module) continue;
    if (--it->second.count <= 0) modules.erase(it);
    return true;
  }
  return false;
}

HMODULE GetOwnModule() {
  if (OwnModuleOverride() != nullptr) return OwnModuleOverride().get();
  static std::unique_ptr<Module> own = Module::FromMemory(OwnModuleData(), OwnModuleSize(), "(own module)");
  return own.get();
}

void SetOwnModuleForTest(std::unique_ptr<Module> module) { OwnModuleOverride() = std::move(module); }

HRSRC FindResource(HMODULE module, const ResName& name, const ResName& type) {
  if (module == nullptr) module = GetOwnModule();
  if (module == nullptr) return nullptr;
  return module->Find(name, type);
}

HGLOBAL LoadResource(HMODULE /*module*/, HRSRC resource) { return resource; }

const void* LockResource(HGLOBAL data) { return data != nullptr ? data->data : nullptr; }

uint32_t SizeofResource(HMODULE /*module*/, HRSRC resource) { return resource != nullptr ? resource->size : 0; }

}  // namespace platform
