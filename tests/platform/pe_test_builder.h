// Builds small 32-bit PE resource-only images in memory for the module and cursor tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace testpe {

// A resource key: an id, or a name when name is not empty.
struct Key {
  uint16_t id = 0;
  std::string name;
  Key(int i) : id(static_cast<uint16_t>(i)) {}  // NOLINT
  Key(const char* n) : name(n) {}               // NOLINT
  bool IsName() const { return !name.empty(); }
};

struct Resource {
  Key type;
  Key name;
  uint16_t language = 0x409;
  std::vector<uint8_t> bytes;
};

inline void Put16(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  if (b->size() < at + 2) b->resize(at + 2);
  (*b)[at] = static_cast<uint8_t>(v);
  (*b)[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  if (b->size() < at + 4) b->resize(at + 4);
  for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

constexpr uint32_t kSectionRva = 0x1000;
constexpr uint32_t kSectionFileOffset = 0x200;

// Lays out: DOS header, PE header, one .rsrc section at file offset 0x200 / RVA 0x1000 holding
// the three-level tree (type, name, language), the name strings, the data entries and the data.
inline std::vector<uint8_t> Build(const std::vector<Resource>& resources) {
  // Group by type, then by name, in the order given; named keys come before ids, as in Windows.
  auto same = [](const Key& a, const Key& b) { return a.name == b.name && a.id == b.id; };
  using Names = std::vector<std::pair<const Key*, std::vector<const Resource*>>>;
  std::vector<std::pair<const Key*, Names>> types;
  auto find = [&](auto& v, const Key& k) {
    return std::find_if(v.begin(), v.end(), [&](const auto& g) { return same(*g.first, k); });
  };
  for (const Resource& r : resources) {
    auto t = find(types, r.type);
    if (t == types.end()) t = types.insert(types.end(), {&r.type, {}});
    auto n = find(t->second, r.name);
    if (n == t->second.end()) n = t->second.insert(t->second.end(), {&r.name, {}});
    n->second.push_back(&r);
  }
  auto isNamed = [](const auto& g) { return g.first->IsName(); };
  auto namedFirst = [&](auto& v) {
    auto before = [&](const auto& a, const auto& b) { return isNamed(a) && !isNamed(b); };
    std::stable_sort(v.begin(), v.end(), before);
  };
  namedFirst(types);
  for (auto& t : types) namedFirst(t.second);

  // Directories first, then the name strings, the data entries and the data, each after the last.
  auto stringBytes = [](const Key& k) { return k.IsName() ? 2 + 2 * k.name.size() : 0; };
  size_t treeBytes = 16 + 8 * types.size(), strings = 0, count = 0;
  for (auto& t : types) {
    treeBytes += 16 + 8 * t.second.size();
    strings += stringBytes(*t.first);
    for (auto& n : t.second) {
      treeBytes += 16 + 8 * n.second.size();
      strings += stringBytes(*n.first);
      count += n.second.size();
    }
  }
  size_t nextDir = 16 + 8 * types.size(), nextString = treeBytes;
  size_t nextEntry = (treeBytes + strings + 3) & ~size_t{3};
  std::vector<uint8_t> section(nextEntry + 16 * count, 0);
  auto dir = [&](size_t at, const auto& v) {
    const auto named = std::count_if(v.begin(), v.end(), isNamed);
    Put16(&section, at + 12, static_cast<uint32_t>(named));
    Put16(&section, at + 14, static_cast<uint32_t>(v.size() - named));
  };
  auto entry = [&](size_t at, const Key& k, size_t subdir) {
    if (k.IsName()) {
      Put32(&section, at, 0x80000000u | static_cast<uint32_t>(nextString));
      Put16(&section, nextString, static_cast<uint32_t>(k.name.size()));
      for (char c : k.name) Put16(&section, nextString += 2, static_cast<unsigned char>(c));
      nextString += 2;
    } else {
      Put32(&section, at, k.id);
    }
    Put32(&section, at + 4, 0x80000000u | static_cast<uint32_t>(subdir));
  };
  dir(0, types);
  for (size_t ti = 0; ti < types.size(); ++ti) {
    const size_t nameDir = nextDir;
    const Names& names = types[ti].second;
    entry(16 + 8 * ti, *types[ti].first, nameDir);
    dir(nameDir, names);
    nextDir += 16 + 8 * names.size();
    for (size_t ni = 0; ni < names.size(); ++ni) {
      const size_t langDir = nextDir;
      const auto& langs = names[ni].second;
      entry(nameDir + 16 + 8 * ni, *names[ni].first, langDir);
      Put16(&section, langDir + 14, static_cast<uint32_t>(langs.size()));
      nextDir += 16 + 8 * langs.size();
      for (size_t li = 0; li < langs.size(); ++li) {
        Put32(&section, langDir + 16 + 8 * li, langs[li]->language);
        Put32(&section, langDir + 20 + 8 * li, static_cast<uint32_t>(nextEntry));
        Put32(&section, nextEntry, kSectionRva + static_cast<uint32_t>(section.size()));
        Put32(&section, nextEntry + 4, static_cast<uint32_t>(langs[li]->bytes.size()));
        nextEntry += 16;
        section.insert(section.end(), langs[li]->bytes.begin(), langs[li]->bytes.end());
        section.resize((section.size() + 3) & ~size_t{3}, 0);
      }
    }
  }
  section.resize((section.size() + 0x1FF) & ~size_t{0x1FF}, 0);

  std::vector<uint8_t> file(kSectionFileOffset, 0);
  file[0] = 'M';
  file[1] = 'Z';
  Put32(&file, 0x3C, 0x40);
  Put32(&file, 0x40, 0x00004550);            // "PE\0\0"
  Put16(&file, 0x44, 0x14C);                 // i386
  Put16(&file, 0x46, 1);                     // one section
  Put16(&file, 0x54, 224);                   // optional header size
  Put16(&file, 0x56, 0x2102);                // DLL, 32-bit, executable image
  const size_t opt = 0x58;
  Put16(&file, opt, 0x10B);                  // PE32
  Put32(&file, opt + 28, 0x10000000);        // image base
  Put32(&file, opt + 32, 0x1000);            // section alignment
  Put32(&file, opt + 36, 0x200);             // file alignment
  Put32(&file, opt + 56, kSectionRva + static_cast<uint32_t>((section.size() + 0xFFF) & ~size_t{0xFFF}));
  Put32(&file, opt + 60, kSectionFileOffset);
  Put32(&file, opt + 92, 16);                // data directories
  Put32(&file, opt + 96 + 16, kSectionRva);  // resource directory
  Put32(&file, opt + 96 + 20, static_cast<uint32_t>(section.size()));
  const size_t sec = opt + 224;
  const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
  for (int i = 0; i < 8; ++i) file[sec + i] = static_cast<uint8_t>(name[i]);
  Put32(&file, sec + 8, static_cast<uint32_t>(section.size()));
  Put32(&file, sec + 12, kSectionRva);
  Put32(&file, sec + 16, static_cast<uint32_t>(section.size()));
  Put32(&file, sec + 20, kSectionFileOffset);
  Put32(&file, sec + 36, 0x40000040u);  // initialised data, readable
  file.resize(kSectionFileOffset, 0);
  file.insert(file.end(), section.begin(), section.end());
  return file;
}

}  // namespace testpe
