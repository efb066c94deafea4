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
  // Group by type, then by name; keep the order given within each level (named before ids, as Windows).
  struct NameGroup {
    const Key* name;
    std::vector<const Resource*> langs;
  };
  struct TypeGroup {
    const Key* type;
    std::vector<NameGroup> names;
  };
  auto same = [](const Key& a, const Key& b) { return a.IsName() == b.IsName() && (a.IsName() ? a.name == b.name : a.id == b.id); };
  std::vector<TypeGroup> types;
  for (const Resource& r : resources) {
    auto t = std::find_if(types.begin(), types.end(), [&](const TypeGroup& g) { return same(*g.type, r.type); });
    if (t == types.end()) {
      types.push_back(TypeGroup{&r.type, {}});
      t = types.end() - 1;
    }
    auto n = std::find_if(t->names.begin(), t->names.end(), [&](const NameGroup& g) { return same(*g.name, r.name); });
    if (n == t->names.end()) {
      t->names.push_back(NameGroup{&r.name, {}});
      n = t->names.end() - 1;
    }
    n->langs.push_back(&r);
  }
  auto namedFirst = [](auto& v, auto key) {
    std::stable_sort(v.begin(), v.end(), [&](const auto& a, const auto& b) { return key(a)->IsName() && !key(b)->IsName(); });
  };
  namedFirst(types, [](const TypeGroup& g) { return g.type; });
  for (auto& t : types) namedFirst(t.names, [](const NameGroup& g) { return g.name; });

  // Sizes of the directories.
  size_t dirBytes = 16 + 8 * types.size();
  for (auto& t : types) {
    dirBytes += 16 + 8 * t.names.size();
    for (auto& n : t.names) dirBytes += 16 + 8 * n.langs.size();
  }
  std::vector<uint8_t> tree(dirBytes, 0);
  std::vector<uint8_t> strings;
  std::vector<uint8_t> dataEntries;
  std::vector<uint8_t> data;
  std::vector<std::pair<size_t, const Resource*>> entryFixups;  // data entry offset in dataEntries -> resource
  std::vector<std::pair<size_t, size_t>> stringFixups;          // tree offset -> offset in strings
  std::vector<size_t> dataEntryFixups;                           // tree offsets pointing into dataEntries

  auto addString = [&](const std::string& s) {
    const size_t at = strings.size();
    Put16(&strings, at, static_cast<uint32_t>(s.size()));
    for (size_t i = 0; i < s.size(); ++i) Put16(&strings, at + 2 + 2 * i, static_cast<unsigned char>(s[i]));
    return at;
  };
  auto writeDir = [&](size_t at, size_t named, size_t ids) {
    Put16(&tree, at + 12, static_cast<uint32_t>(named));
    Put16(&tree, at + 14, static_cast<uint32_t>(ids));
  };
  auto countNamed = [](const auto& v, auto key) {
    return static_cast<size_t>(std::count_if(v.begin(), v.end(), [&](const auto& g) { return key(g)->IsName(); }));
  };
  auto writeKey = [&](size_t at, const Key& k) {
    if (k.IsName()) stringFixups.emplace_back(at, addString(k.name));
    else Put32(&tree, at, k.id);
  };

  size_t next = 16 + 8 * types.size();
  writeDir(0, countNamed(types, [](const TypeGroup& g) { return g.type; }), 0);
  Put16(&tree, 14, static_cast<uint32_t>(types.size() - countNamed(types, [](const TypeGroup& g) { return g.type; })));
  for (size_t ti = 0; ti < types.size(); ++ti) {
    auto& t = types[ti];
    const size_t typeEntry = 16 + 8 * ti;
    writeKey(typeEntry, *t.type);
    const size_t nameDir = next;
    Put32(&tree, typeEntry + 4, 0x80000000u | static_cast<uint32_t>(nameDir));
    const size_t named = countNamed(t.names, [](const NameGroup& g) { return g.name; });
    writeDir(nameDir, named, t.names.size() - named);
    next += 16 + 8 * t.names.size();
    for (size_t ni = 0; ni < t.names.size(); ++ni) {
      auto& n = t.names[ni];
      const size_t nameEntry = nameDir + 16 + 8 * ni;
      writeKey(nameEntry, *n.name);
      const size_t langDir = next;
      Put32(&tree, nameEntry + 4, 0x80000000u | static_cast<uint32_t>(langDir));
      writeDir(langDir, 0, n.langs.size());
      next += 16 + 8 * n.langs.size();
      for (size_t li = 0; li < n.langs.size(); ++li) {
        const size_t langEntry = langDir + 16 + 8 * li;
        Put32(&tree, langEntry, n.langs[li]->language);
        const size_t de = dataEntries.size();
        dataEntries.resize(de + 16, 0);
        entryFixups.emplace_back(de, n.langs[li]);
        Put32(&tree, langEntry + 4, static_cast<uint32_t>(de));  // fixed up below
        dataEntryFixups.push_back(langEntry + 4);
      }
    }
  }
  const size_t stringsAt = tree.size();
  size_t entriesAt = stringsAt + strings.size();
  entriesAt = (entriesAt + 3) & ~size_t{3};
  size_t dataAt = entriesAt + dataEntries.size();
  for (auto [at, s] : stringFixups) Put32(&tree, at, 0x80000000u | static_cast<uint32_t>(stringsAt + s));
  for (size_t at : dataEntryFixups) {
    uint32_t v = tree[at] | (tree[at + 1] << 8) | (tree[at + 2] << 16) | (static_cast<uint32_t>(tree[at + 3]) << 24);
    Put32(&tree, at, static_cast<uint32_t>(entriesAt + v));
  }
  for (auto [de, r] : entryFixups) {
    dataAt = (dataAt + 3) & ~size_t{3};
    const size_t offset = dataAt + data.size();
    Put32(&dataEntries, de, kSectionRva + static_cast<uint32_t>(offset));
    Put32(&dataEntries, de + 4, static_cast<uint32_t>(r->bytes.size()));
    data.insert(data.end(), r->bytes.begin(), r->bytes.end());
    while (data.size() % 4 != 0) data.push_back(0);
  }
  std::vector<uint8_t> section = tree;
  section.insert(section.end(), strings.begin(), strings.end());
  section.resize(entriesAt, 0);
  section.insert(section.end(), dataEntries.begin(), dataEntries.end());
  section.resize(dataAt, 0);
  section.insert(section.end(), data.begin(), data.end());
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
