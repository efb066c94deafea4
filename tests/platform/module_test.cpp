// Resource modules: finding resources by id and name, damaged images, file lookup and loaded-module counts.
#include "platform/module.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "tests/platform/pe_test_builder.h"

namespace platform {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::string Text(HRSRC r) {
  if (r == nullptr) return "(none)";
  return std::string(reinterpret_cast<const char*>(r->data), r->size);
}

std::vector<uint8_t> Sample() {
  return testpe::Build({
      {"SPRITEMAP", 151, 0x409, Bytes("sprites")},
      {"WAVE", 1001, 0x409, Bytes("gobble")},
      {"WAVE", 1002, 0x407, Bytes("yelp-de")},
      {"WAVE", 1002, 0x409, Bytes("yelp-en")},
      {2, 150, 0x409, Bytes("panorama")},
      {2, "TITLE", 0x409, Bytes("named bitmap")},
  });
}

TEST(ModuleTest, FindsByIdAndByNameIgnoringCase) {
  auto m = Module::FromBytes(Sample(), "sample");
  ASSERT_TRUE(m->Valid());
  EXPECT_EQ(m->Entries().size(), 5u);
  EXPECT_EQ(Text(m->Find(151, "spriteMap")), "sprites");
  EXPECT_EQ(Text(m->Find("title", RT_BITMAP)), "named bitmap");
  EXPECT_EQ(Text(m->Find("#150", "#2")), "panorama");
  EXPECT_EQ(m->Find(150, "WAVE"), nullptr);
  EXPECT_EQ(m->Find("TITLE", "2"), nullptr);  // "2" is a name, not the id 2
  // The first language listed is the one taken.
  EXPECT_EQ(Text(m->Find(1002, "WAVE")), "yelp-de");
}

TEST(ModuleTest, NotAResourceModule) {
  EXPECT_FALSE(Module::FromBytes(Bytes("MZ this is no PE image at all, just text"))->Valid());
  std::vector<uint8_t> image = Sample();
  image[0x40] = 'X';  // PE signature
  EXPECT_FALSE(Module::FromBytes(image)->Valid());
  // More sections than Windows itself loads; 96 is still read.
  std::vector<uint8_t> many = Sample();
  testpe::Put16(&many, 0x46, 97);
  EXPECT_FALSE(Module::FromBytes(many)->Valid());
  testpe::Put16(&many, 0x46, 96);
  EXPECT_TRUE(Module::FromBytes(many)->Valid());
}

TEST(ModuleTest, ASoundTreeIsReadWholeVisitingEachDirectoryEntryOnce) {
  // Sample: 3 types and 5 names; of the 6 languages only the first of each name is read.
  auto small = Module::FromBytes(Sample());
  EXPECT_FALSE(small->ResourceTreeOverrun());
  EXPECT_EQ(small->ResourceEntriesVisited(), 13u);
  // A tree that is nearly all directories and names, with almost no data to spare, still loads whole.
  std::vector<testpe::Resource> many;
  for (int i = 0; i < 3000; ++i) {
    many.push_back({"WAVE", ("SOUND" + std::to_string(i)).c_str(), 0x409, Bytes("w")});
  }
  auto big = Module::FromBytes(testpe::Build(many));
  ASSERT_TRUE(big->Valid());
  EXPECT_FALSE(big->ResourceTreeOverrun());
  EXPECT_EQ(big->Entries().size(), 3000u);
  EXPECT_EQ(big->ResourceEntriesVisited(), 1u + 3000u + 3000u);
  EXPECT_EQ(Text(big->Find("sound2999", "WAVE")), "w");
}

// An image whose data directory still names RVA 0x1000 while the section header says the section
// starts at 0: the tree is read 0x1000 bytes into the section, out of resource data that happens to
// look like directories of 32768 entries pointing back at themselves.
std::vector<uint8_t> TreeReadFromTheWrongPlace(size_t* sectionBytes) {
  std::vector<uint8_t> pixels(64 * 1024);
  for (size_t i = 0; i < pixels.size(); i += 4) testpe::Put32(&pixels, i, 0x80000000u);
  std::vector<uint8_t> image = testpe::Build({{"SPRITEMAP", 151, 0x409, pixels}, {"WAVE", 1, 0x409, Bytes("w")}});
  const size_t section = 0x58 + 224;
  *sectionBytes = image[section + 16] | (image[section + 17] << 8) | (image[section + 18] << 16);
  testpe::Put32(&image, section + 12, 0);
  return image;
}

TEST(ModuleTest, ATableReadFromTheWrongPlaceIsRefusedWithinWhatItsSectionHolds) {
  size_t sectionBytes = 0;
  const std::vector<uint8_t> image = TreeReadFromTheWrongPlace(&sectionBytes);
  ASSERT_GT(sectionBytes, 0x1000u);
  auto m = Module::FromBytes(image);
  EXPECT_FALSE(m->Valid());
  EXPECT_TRUE(m->ResourceTreeOverrun());
  EXPECT_TRUE(m->Entries().empty());
  // Every directory entry costs 8 bytes of what the tree has left in its section.
  EXPECT_GT(m->ResourceEntriesVisited(), 0u);
  EXPECT_LE(m->ResourceEntriesVisited(), (sectionBytes - 0x1000) / 8);
}

// Cut at every length or damaged at random, an image never leads outside its own bytes; whatever
// survives a cut equals the original.
TEST(ModuleTest, CutOrDamagedImagesNeverLeadOutsideTheirBytes) {
  const std::vector<uint8_t> image = Sample();
  const auto whole = Module::FromBytes(image);
  std::mt19937 rng(2024);
  std::uniform_int_distribution<size_t> at(0, image.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  for (size_t n = 0; n <= image.size() + 3000; ++n) {
    const bool cut = n <= image.size();
    std::vector<uint8_t> bad = image;
    bad.resize(cut ? n : image.size());
    for (size_t k = 0; !cut && k < 1 + n % 4; ++k) bad[at(rng)] = static_cast<uint8_t>(byte(rng));
    auto m = Module::FromMemory(bad.data(), bad.size());  // borrowed, so pointers can be checked
    for (const ResourceEntry& e : m->Entries()) {
      ASSERT_GE(e.info.data, bad.data());
      ASSERT_LE(e.info.data + e.info.size, bad.data() + bad.size());
      if (!cut) continue;
      HRSRC original = whole->Find(e.nameIsId ? ResName(e.nameId) : ResName(e.name),
                                   e.typeIsId ? ResName(e.typeId) : ResName(e.typeName));
      ASSERT_NE(original, nullptr);
      ASSERT_EQ(Text(original), Text(&e.info));
    }
  }
}

class LibraryFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() / ("bf-module-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
  }
  void TearDown() override {
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
  }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::filesystem::path dir, old;
};

TEST_F(LibraryFiles, LoadsFromTheCurrentDirectoryInAnyCase) {
  Write("MAP1.DLL", Sample());
  EXPECT_EQ(FindFileNoCase("map1.dll"), (dir / "MAP1.DLL").string());
  HMODULE m = LoadLibrary("map1.dll");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(Text(FindResource(m, 150, RT_BITMAP)), "panorama");
  // Loading again counts; the module stays until the last FreeLibrary.
  EXPECT_EQ(LoadLibrary("Map1.Dll"), m);
  EXPECT_TRUE(FreeLibrary(m));
  EXPECT_TRUE(FreeLibrary(m));
  EXPECT_FALSE(FreeLibrary(m));  // already unloaded
}

TEST_F(LibraryFiles, MissingOrDamagedFilesSayWhatWasLookedFor) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(LoadLibrary("nosuchart.dll"), nullptr);
  const std::string missing = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(missing.find("nosuchart.dll"), std::string::npos);
  // The current directory comes before the program's own: a damaged copy here is the one read.
  Write("ctrls.dll", Bytes("not a module"));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(LoadLibrary("ctrls.dll"), nullptr);
  const std::string damaged = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(damaged.find("not a resource module"), std::string::npos);
  // A resource table that names more than its section holds is refused with its own line.
  size_t sectionBytes = 0;
  Write("map2.dll", TreeReadFromTheWrongPlace(&sectionBytes));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(LoadLibrary("map2.dll"), nullptr);
  const std::string overrun = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(overrun.find("\"map2.dll\""), std::string::npos) << overrun;
  EXPECT_NE(overrun.find("damaged resource table"), std::string::npos) << overrun;
  EXPECT_EQ(std::count(overrun.begin(), overrun.end(), '\n'), 1);
}

}  // namespace
}  // namespace platform
