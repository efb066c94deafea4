// Tests of the wave-image walk: chunk order, plain-PCM format chunks, skipped chunks, damaged images.
#include "framework/sound/wave.h"

#include <gtest/gtest.h>

#include "tests/framework/sound/wave_images.h"

namespace {

using namespace wave_images;

struct Loaded {
  int32_t formatOk;
  platform::WaveFormatEx format;
  uint32_t dataSize;
  std::vector<uint8_t> data;
};

Loaded Load(const std::vector<uint8_t>& image) {
  ZWave w;
  static const uint8_t kNothing = 0;
  EXPECT_EQ(w.LoadFromMemory(image.empty() ? &kNothing : image.data(), static_cast<uint32_t>(image.size())), 1);
  Loaded r{};
  r.formatOk = w.GetFormat(&r.format);
  r.dataSize = w.GetDataSize();
  r.data.assign(r.dataSize + 8, 0xEE);
  const uint32_t n = w.ReadData(r.data.data(), static_cast<uint32_t>(r.data.size()));
  EXPECT_EQ(n, r.dataSize);
  r.data.resize(n);
  return r;
}

TEST(ZWaveWalk, ChunkOrderDoesNotMatterAndOtherChunksAreSkipped) {
  const std::vector<uint8_t> samples = {1, 2, 3, 4, 5, 6, 7};  // odd: padded
  const auto usual = Load(Riff({Chunk("fmt ", FmtBody(2, 11025, 8)), Chunk("data", samples)}));
  const auto dataFirst = Load(Riff({Chunk("data", samples), Chunk("fmt ", FmtBody(2, 11025, 8))}));
  const auto cluttered = Load(Riff({Chunk("LIST", {'I', 'N', 'F', 'O', 'x'}), Chunk("data", samples),
                                    Chunk("cue ", std::vector<uint8_t>(24, 7)), Chunk("fmt ", FmtBody(2, 11025, 8))}));
  for (const Loaded* r : {&usual, &dataFirst, &cluttered}) {
    ASSERT_EQ(r->formatOk, 1);
    EXPECT_EQ(r->format.channels, 2);
    EXPECT_EQ(r->format.samplesPerSec, 11025u);
    EXPECT_EQ(r->format.avgBytesPerSec, 22050u);
    EXPECT_EQ(r->format.blockAlign, 2);
    EXPECT_EQ(r->format.bitsPerSample, 8);
    EXPECT_EQ(r->data, samples);
  }
}

TEST(ZWaveWalk, OnlyAnEighteenByteFormatChunkHasAnExtraSize) {
  // fmt last with 16 bytes: the two bytes after it do not exist. In the usual order the next
  // chunk's header follows and is not taken as an extra size either.
  EXPECT_EQ(Load(Riff({Chunk("data", Samples16(4)), Chunk("fmt ", FmtBody(1, 44100, 16))})).format.extraSize, 0);
  EXPECT_EQ(Load(Recording(1, 44100, 16, Samples16(4))).format.extraSize, 0);
  EXPECT_EQ(Load(Riff({Chunk("fmt ", FmtBody(1, 8000, 8, 22)), Chunk("data", {1, 2})})).format.extraSize, 22);
}

TEST(ZWaveWalk, FindsTheWaveFormAmongOtherRiffForms) {
  std::vector<uint8_t> image = Riff({Chunk("data", {9, 9})}, "AVI ");
  const auto wave = Recording(1, 11025, 8, {1, 2, 3});
  image.insert(image.end(), wave.begin(), wave.end());
  const Loaded r = Load(image);
  ASSERT_EQ(r.formatOk, 1);
  EXPECT_EQ(r.data, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(ZWaveWalk, DamagedImagesGiveNothingAndNeverReadOutside) {
  const auto good = Recording(1, 22050, 16, Samples16(20));
  // Every truncation of a good image; ASan checks that no byte past the copy is touched.
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
    const Loaded r = Load(cut);
    EXPECT_EQ(r.dataSize, 0u) << n;  // data is the last chunk: it never fits a cut image
    if (n < 12 + 8 + 16) {
      EXPECT_EQ(r.formatOk, 0) << n;
    }
  }
  // A data chunk that claims more than there is.
  Loaded r = Load(Riff({Chunk("fmt ", FmtBody(1, 22050, 16)), Chunk("data", Samples16(4), 0x7FFFFFF0)}));
  EXPECT_EQ(r.formatOk, 1);
  EXPECT_EQ(r.dataSize, 0u);
  // A size so large the sum would wrap in 32 bits, before the chunk we look for.
  r = Load(Riff({Chunk("junk", {1, 2}, 0xFFFFFFFF), Chunk("fmt ", FmtBody(1, 22050, 16)), Chunk("data", {1, 2})}));
  EXPECT_EQ(r.formatOk, 0);
  EXPECT_EQ(r.dataSize, 0u);
  // A format chunk too short for the PCM fields.
  r = Load(Riff({Chunk("fmt ", std::vector<uint8_t>(14, 1)), Chunk("data", {1, 2})}));
  EXPECT_EQ(r.formatOk, 0);
  EXPECT_EQ(r.dataSize, 2u);
  // No RIFF, no WAVE form, no chunks.
  EXPECT_EQ(Load(Chunk("RIFX", Recording(1, 8000, 8, {1}))).formatOk, 0);
  EXPECT_EQ(Load(Riff({Chunk("fmt ", FmtBody(1, 8000, 8)), Chunk("data", {1})}, "WAVX")).dataSize, 0u);
  EXPECT_EQ(Load(Riff({})).formatOk, 0);
  // A RIFF that claims too much is read as far as the image goes.
  r = Load(Riff({Chunk("fmt ", FmtBody(1, 11025, 8)), Chunk("data", {5, 6, 7, 8})}, "WAVE", 0xFFFFFF00));
  EXPECT_EQ(r.data, (std::vector<uint8_t>{5, 6, 7, 8}));
}

TEST(ZWaveData, ReadIsCutToTheCapacityAndAFreedWaveGivesNothing) {
  const auto image = Recording(1, 11025, 8, {1, 2, 3, 4, 5, 6});
  ZWave w;
  w.LoadFromMemory(image.data(), static_cast<uint32_t>(image.size()));
  uint8_t dest[8] = {0};
  EXPECT_EQ(w.ReadData(dest, 4), 4u);
  EXPECT_EQ(dest[3], 4);
  EXPECT_EQ(dest[4], 0);
  EXPECT_EQ(w.ReadData(nullptr, 4), 0u);
  EXPECT_EQ(w.FreeData(), 1);
  EXPECT_EQ(w.FreeData(), 0);
  platform::WaveFormatEx f;
  EXPECT_EQ(w.GetFormat(&f), 0);
  EXPECT_EQ(w.GetDataSize(), 0u);
  EXPECT_EQ(w.ReadData(dest, 4), 0u);
}

}  // namespace
