// PE resource-only DLL writer: DOS and PE headers, one .rsrc section with the three-level directory.
#include "tools/artgen/pe_writer.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

namespace artgen {

namespace {

constexpr uint32_t kSectionRva = 0x1000;
constexpr uint32_t kFileAlign = 0x200;
constexpr uint32_t kSectionAlign = 0x1000;
constexpr uint32_t kPeOffset = 0x40;

uint32_t AlignUp(uint32_t v, uint32_t a) { return (v + a - 1) / a * a; }

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Key of a type in directory order: named types first, sorted by name; then numbered types ascending.
struct TypeKey {
  std::string name;
  uint16_t id = 0;
  bool operator<(const TypeKey& o) const {
    const bool named = !name.empty(), oNamed = !o.name.empty();
    if (named != oNamed) return named;
    if (named) return name < o.name;
    return id < o.id;
  }
};

// Directory header: characteristics, time stamp, versions 0; then the counts of named and id entries.
void PutDirectory(std::vector<uint8_t>& b, size_t at, uint16_t named, uint16_t ids) {
  Put16(b, at + 12, named);
  Put16(b, at + 14, ids);
}

}  // namespace

void ResourceModuleWriter::Add(uint16_t type, uint16_t id, std::vector<uint8_t> data) {
  entries_.push_back({std::string(), type, id, std::move(data)});
}

void ResourceModuleWriter::Add(const std::string& typeName, uint16_t id, std::vector<uint8_t> data) {
  std::string upper = typeName;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  entries_.push_back({upper, 0, id, std::move(data)});
}

std::vector<uint8_t> ResourceModuleWriter::Build() const {
  // Group by type, then id; a later resource with the same type and id replaces an earlier one.
  std::map<TypeKey, std::map<uint16_t, const Entry*>> types;
  for (const Entry& e : entries_) types[TypeKey{e.typeName, e.typeId}][e.id] = &e;

  // Sizes of the directory parts, laid out in this order: root, type directories, language
  // directories, data entries, type names, then the data itself.
  uint32_t leafCount = 0;
  for (auto& [key, ids] : types) leafCount += static_cast<uint32_t>(ids.size());
  const uint32_t rootSize = 16 + 8 * static_cast<uint32_t>(types.size());
  uint32_t typeDirsSize = 0;
  for (auto& [key, ids] : types) typeDirsSize += 16 + 8 * static_cast<uint32_t>(ids.size());
  const uint32_t langDirsSize = leafCount * (16 + 8);
  const uint32_t dataEntriesSize = leafCount * 16;
  uint32_t namesSize = 0;
  for (auto& [key, ids] : types)
    if (!key.name.empty()) namesSize += 2 + 2 * static_cast<uint32_t>(key.name.size());
  uint32_t dataStart = AlignUp(rootSize + typeDirsSize + langDirsSize + dataEntriesSize + namesSize, 8);
  uint32_t total = dataStart;
  for (auto& [key, ids] : types)
    for (auto& [id, e] : ids) total = AlignUp(total + static_cast<uint32_t>(e->data.size()), 8);

  std::vector<uint8_t> rsrc(total, 0);
  uint32_t typeDirAt = rootSize;
  uint32_t langDirAt = rootSize + typeDirsSize;
  uint32_t dataEntryAt = langDirAt + langDirsSize;
  uint32_t nameAt = dataEntryAt + dataEntriesSize;
  uint32_t dataAt = dataStart;

  uint16_t namedTypes = 0;
  for (auto& [key, ids] : types)
    if (!key.name.empty()) ++namedTypes;
  PutDirectory(rsrc, 0, namedTypes, static_cast<uint16_t>(types.size() - namedTypes));
  uint32_t rootEntry = 16;
  for (auto& [key, ids] : types) {
    if (key.name.empty()) {
      Put32(rsrc, rootEntry, key.id);
    } else {
      Put32(rsrc, rootEntry, 0x80000000u | nameAt);
      Put16(rsrc, nameAt, static_cast<uint32_t>(key.name.size()));
      for (size_t i = 0; i < key.name.size(); ++i)
        Put16(rsrc, nameAt + 2 + 2 * i, static_cast<unsigned char>(key.name[i]));
      nameAt += 2 + 2 * static_cast<uint32_t>(key.name.size());
    }
    Put32(rsrc, rootEntry + 4, 0x80000000u | typeDirAt);
    rootEntry += 8;

    PutDirectory(rsrc, typeDirAt, 0, static_cast<uint16_t>(ids.size()));
    uint32_t idEntry = typeDirAt + 16;
    typeDirAt += 16 + 8 * static_cast<uint32_t>(ids.size());
    for (auto& [id, e] : ids) {
      Put32(rsrc, idEntry, id);
      Put32(rsrc, idEntry + 4, 0x80000000u | langDirAt);
      idEntry += 8;
      PutDirectory(rsrc, langDirAt, 0, 1);
      Put32(rsrc, langDirAt + 16, kLangEnglishUs);
      Put32(rsrc, langDirAt + 20, dataEntryAt);  // leaf: no high bit
      langDirAt += 24;
      // Data entry: RVA of the bytes, their size, code page 0, reserved.
      Put32(rsrc, dataEntryAt, kSectionRva + dataAt);
      Put32(rsrc, dataEntryAt + 4, static_cast<uint32_t>(e->data.size()));
      dataEntryAt += 16;
      std::copy(e->data.begin(), e->data.end(), rsrc.begin() + dataAt);
      dataAt = AlignUp(dataAt + static_cast<uint32_t>(e->data.size()), 8);
    }
  }

  const uint32_t rawSize = AlignUp(total, kFileAlign);
  std::vector<uint8_t> image(kFileAlign + rawSize, 0);
  // DOS header: "MZ" and the offset of the PE header.
  image[0] = 'M';
  image[1] = 'Z';
  Put32(image, 0x3C, kPeOffset);
  size_t p = kPeOffset;
  image[p] = 'P';
  image[p + 1] = 'E';
  p += 4;
  // COFF header: i386, one section, no symbols, 224-byte optional header, executable 32-bit DLL.
  Put16(image, p + 0, 0x14C);
  Put16(image, p + 2, 1);
  Put16(image, p + 16, 224);
  Put16(image, p + 18, 0x0002 | 0x0100 | 0x2000);
  p += 20;
  // Optional header (PE32).
  const size_t opt = p;
  Put16(image, opt + 0, 0x10B);
  image[opt + 2] = 6;                                   // linker version 6.0
  Put32(image, opt + 8, rawSize);                       // size of initialised data
  Put32(image, opt + 20, kSectionRva);                  // base of code
  Put32(image, opt + 24, kSectionRva);                  // base of data
  Put32(image, opt + 28, 0x10000000);                   // image base
  Put32(image, opt + 32, kSectionAlign);
  Put32(image, opt + 36, kFileAlign);
  Put16(image, opt + 40, 4);                            // OS version 4.0
  Put16(image, opt + 48, 4);                            // subsystem version 4.0
  Put32(image, opt + 56, kSectionRva + AlignUp(total, kSectionAlign));  // size of image
  Put32(image, opt + 60, kFileAlign);                   // size of headers
  Put16(image, opt + 68, 2);                            // Windows GUI
  Put32(image, opt + 72, 0x100000);                     // stack reserve
  Put32(image, opt + 76, 0x1000);                       // stack commit
  Put32(image, opt + 80, 0x100000);                     // heap reserve
  Put32(image, opt + 84, 0x1000);                       // heap commit
  Put32(image, opt + 92, 16);                           // number of data directories
  Put32(image, opt + 96 + 2 * 8, kSectionRva);          // resource directory
  Put32(image, opt + 96 + 2 * 8 + 4, total);
  p = opt + 224;
  // Section header.
  const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
  std::copy(name, name + 8, image.begin() + p);
  Put32(image, p + 8, total);          // virtual size
  Put32(image, p + 12, kSectionRva);   // virtual address
  Put32(image, p + 16, rawSize);       // size of raw data
  Put32(image, p + 20, kFileAlign);    // pointer to raw data
  Put32(image, p + 36, 0x40000040u);   // initialised data, readable
  std::copy(rsrc.begin(), rsrc.end(), image.begin() + kFileAlign);
  return image;
}

}  // namespace artgen
