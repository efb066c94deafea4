// The headless backend: the PNG of a frame and the audio capture.
#include "platform/headless/headless_backend.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/png_writer.h"
#include "platform/window.h"

namespace platform {
namespace {

TEST(HeadlessBackendTest, WritesAPalettePngThatReadsBackToTheSameColours) {
  HeadlessBackend b;
  std::string path = ::testing::TempDir() + "/bf_headless_frame.png";
  EXPECT_FALSE(b.WritePng(path));  // nothing presented yet
  std::vector<uint8_t> px(5 * 4);
  std::vector<Rgb> pal(256);
  for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint8_t>(i * 13);
  for (size_t i = 0; i < pal.size(); ++i) pal[i] = Rgb{static_cast<uint8_t>(i), 9, 7};
  b.Present(FrameView{px.data(), 5, 4, 5, pal.data()});
  ASSERT_TRUE(b.WritePng(path));

  png_image img;
  std::memset(&img, 0, sizeof(img));
  img.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_file(&img, path.c_str()), 0);
  EXPECT_NE(img.format & PNG_FORMAT_FLAG_COLORMAP, 0u);  // stored as a palette picture
  img.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(5 * 4 * 3);
  ASSERT_NE(png_image_finish_read(&img, nullptr, rgb.data(), 0, nullptr), 0);
  std::vector<uint8_t> want;
  for (uint8_t i : px) want.insert(want.end(), {pal[i].r, pal[i].g, pal[i].b});
  EXPECT_EQ(rgb, want);
  std::remove(path.c_str());
  EXPECT_FALSE(WritePalettedPng("/nonexistent-dir/x.png", FrameView{px.data(), 5, 4, 5, pal.data()}));
}

class Tone final : public AudioSource {
 public:
  void Mix(int16_t* stereo, size_t frames) override {
    for (size_t i = 0; i < frames * 2; ++i) stereo[i] = 1000;
    mixed += frames;
  }
  size_t mixed = 0;
};

TEST(HeadlessBackendTest, CapturePathSetAfterThePumpFirstTouchedAudioStillCounts) {
  HeadlessBackend b;
  SetBackend(&b);
  Msg m;
  PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);  // the pump asks for the audio output here
  std::string path = ::testing::TempDir() + "/bf_headless_capture.wav";
  std::remove(path.c_str());
  b.SetAudioCapturePath(path);
  Tone tone;
  ASSERT_TRUE(b.Audio().Open(22050, &tone));
  b.Advance(100);
  PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);
  EXPECT_GT(tone.mixed, 0u);  // the pump drives the output as the clock moves
  b.Audio().Close();
  SetBackend(nullptr);
  char riff[4] = {};
  std::ifstream(path, std::ios::binary).read(riff, 4);
  EXPECT_EQ(std::string(riff, 4), "RIFF");
  std::remove(path.c_str());
}

}  // namespace
}  // namespace platform
