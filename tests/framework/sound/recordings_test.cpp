// The program's own recordings: every id of the sound table, with its channels, rate, width and length.
#include <gtest/gtest.h>

#include "framework/sound/wave.h"
#include "platform/own_module.h"

namespace {

TEST(OwnRecordings, MatchTheSoundTable) {
  if (platform::OwnModuleSize() == 0) GTEST_SKIP() << "built without the program's resources";
  struct Row {
    int id, channels, rate, bits;
    double seconds;
  };
  const Row rows[] = {{132, 1, 11025, 16, 0.97}, {138, 1, 22050, 16, 1.31}, {139, 1, 44100, 16, 0.03},
                      {140, 1, 44100, 16, 0.08}, {147, 1, 11025, 16, 1.66}, {151, 1, 11025, 8, 13.37},
                      {152, 1, 44100, 16, 0.56}, {153, 2, 11025, 8, 4.12},  {154, 2, 11025, 8, 2.90},
                      {155, 1, 11128, 8, 1.64},  {156, 1, 11025, 16, 1.52}};
  auto check = [](int id, int channels, int rate, int bits, double lo, double hi) {
    ZWave w;
    ASSERT_EQ(w.LoadFromResource(id, nullptr), 1) << id;
    platform::WaveFormatEx f;
    ASSERT_EQ(w.GetFormat(&f), 1) << id;
    EXPECT_EQ(f.formatTag, 1) << id;
    EXPECT_EQ(f.channels, channels) << id;
    EXPECT_EQ(f.samplesPerSec, static_cast<uint32_t>(rate)) << id;
    EXPECT_EQ(f.bitsPerSample, bits) << id;
    EXPECT_EQ(f.blockAlign, channels * bits / 8) << id;
    const double seconds = static_cast<double>(w.GetDataSize()) / (f.blockAlign * rate);
    EXPECT_GE(seconds, lo) << id;
    EXPECT_LE(seconds, hi) << id;
  };
  for (const Row& r : rows) check(r.id, r.channels, r.rate, r.bits, r.seconds - 0.01, r.seconds + 0.01);
  for (int id : {141, 142, 144, 146, 148, 149, 150}) check(id, 1, 11025, 16, 2.3 - 0.01, 3.8 + 0.01);
}

}  // namespace
