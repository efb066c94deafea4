// The resource-library writer's output read back by the platform's PE reader.
#include "tools/artgen/pe_writer.h"

#include <gtest/gtest.h>

#include "platform/module.h"

namespace {

std::vector<uint8_t> Bytes(size_t n, uint8_t seed) {
  std::vector<uint8_t> b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(seed + i * 7);
  return b;
}

std::vector<uint8_t> Resource(const platform::Module& m, const platform::ResName& name, const platform::ResName& type) {
  const platform::ResourceInfo* r = m.Find(name, type);
  if (!r) return {};
  return std::vector<uint8_t>(r->data, r->data + r->size);
}

TEST(PeWriter, NamedAndNumberedResourcesReadBackByteForByte) {
  artgen::ResourceModuleWriter w;
  w.Add("WAVE", 151, Bytes(1001, 1));  // odd size: the next resource must still be found intact
  w.Add(artgen::kRtBitmap, 150, Bytes(3000, 2));
  w.Add("SpriteMap", 151, Bytes(48, 3));
  w.Add("WAVE", 132, Bytes(5, 4));
  w.Add(artgen::kRtGroupCursor, 104, Bytes(20, 5));
  auto m = platform::Module::FromBytes(w.Build());
  ASSERT_TRUE(m && m->Valid());
  EXPECT_EQ(Resource(*m, 151, "WAVE"), Bytes(1001, 1));
  EXPECT_EQ(Resource(*m, 132, "wave"), Bytes(5, 4));
  EXPECT_EQ(Resource(*m, 150, platform::RT_BITMAP), Bytes(3000, 2));
  EXPECT_EQ(Resource(*m, 151, "SPRITEMAP"), Bytes(48, 3));
  EXPECT_EQ(Resource(*m, 104, platform::RT_GROUP_CURSOR), Bytes(20, 5));
  EXPECT_EQ(m->Find(152, "WAVE"), nullptr);
  EXPECT_EQ(m->Find(151, platform::RT_BITMAP), nullptr);
  EXPECT_EQ(m->Entries().size(), 5u);
  for (const auto& e : m->Entries()) EXPECT_EQ(e.info.language, artgen::kLangEnglishUs);
}

TEST(PeWriter, ImageIsADeterministic32BitDll) {
  artgen::ResourceModuleWriter a, b;
  for (auto* w : {&a, &b}) {
    w->Add("SPRITEMAP", 151, Bytes(100, 9));
    w->Add(artgen::kRtBitmap, 150, Bytes(10, 8));
  }
  const std::vector<uint8_t> image = a.Build();
  EXPECT_EQ(image, b.Build());
  ASSERT_GT(image.size(), 0x200u);
  const uint32_t pe = image[0x3C] | image[0x3D] << 8;
  ASSERT_LT(pe + 24u, image.size());
  EXPECT_EQ(image[pe + 4] | image[pe + 5] << 8, 0x14C);         // i386
  EXPECT_TRUE((image[pe + 22] | image[pe + 23] << 8) & 0x2000);  // a DLL
  EXPECT_EQ(image.size() % 0x200, 0u);
}

TEST(PeWriter, LaterResourceWithTheSameTypeAndIdReplacesTheEarlier) {
  artgen::ResourceModuleWriter w;
  w.Add("WAVE", 140, Bytes(10, 1));
  w.Add("wave", 140, Bytes(12, 2));
  auto m = platform::Module::FromBytes(w.Build());
  ASSERT_TRUE(m && m->Valid());
  EXPECT_EQ(Resource(*m, 140, "WAVE"), Bytes(12, 2));
  EXPECT_EQ(m->Entries().size(), 1u);
}

}  // namespace
