// Screenshots: the exact bitmap bytes of the front surface and the choice of the next free file name
// (F10 itself is played in the scenarios).
#include "game/screenshot.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "framework/graphics/graphics.h"
#include "framework/graphics/palette.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/sprite_map.h"
#include "tests/framework/graphics/gfx_test_util.h"
#include "tests/game/game_fixture.h"

namespace {

namespace fs = std::filesystem;

uint32_t Word(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t Half(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

std::vector<uint8_t> ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs the body in a fresh directory, then goes back.
class InTempDir {
 public:
  InTempDir() : old_(fs::current_path()) {
    dir_ = fs::temp_directory_path() / ("bf_shots_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  ~InTempDir() {
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  const fs::path& Dir() const { return dir_; }

 private:
  fs::path old_;
  fs::path dir_;
};

class ScreenshotTest : public gametest::GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    game->graphics = std::make_unique<ZGraphics>();
    ASSERT_EQ(game->graphics->Init(wnd, 640, 480, 8), 1);
    // A front surface whose pixel (x, y) is (x + 3 y) & 255, under a palette with distinct entries.
    ZSurface* front = game->graphics->GetFrontSurface();
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; x += 1) {
        platform::Rect px{x, y, x + 1, y + 1};
        front->Fill(&px, (x + 3 * y) & 0xFF);
      }
    std::vector<uint8_t> bytes = gfxtest::BuildSpriteMap(4, 4, 0, {gfxtest::SolidFrame(1, 1, 0, 0, 4, 4, 1)});
    ASSERT_EQ(map.LoadBytes(bytes.data(), bytes.size()), 1);
    ASSERT_EQ(palette.CreateFromSpriteMap(&map), 1);
    game->graphics->SetPalette(&palette);
  }
  ZSpriteMap map;
  ZPalette palette;
};

TEST_F(ScreenshotTest, BitmapHasTheExactLayoutBottomRowFirst) {
  std::vector<uint8_t> b;
  ASSERT_TRUE(BuildScreenshotBitmap(game->graphics.get(), &b));
  ASSERT_EQ(b.size(), 308278u);
  EXPECT_EQ(Half(b, 0), 0x4D42);
  EXPECT_EQ(Word(b, 2), 308278u);
  EXPECT_EQ(Word(b, 6), 0u);
  EXPECT_EQ(Word(b, 10), 1078u);
  EXPECT_EQ(Word(b, 14), 40u);
  EXPECT_EQ(Word(b, 18), 640u);
  EXPECT_EQ(Word(b, 22), 480u);
  EXPECT_EQ(Half(b, 26), 1);
  EXPECT_EQ(Half(b, 28), 8);
  for (size_t at = 30; at < 54; at += 4) EXPECT_EQ(Word(b, at), 0u) << at;
  // Colour table: blue, green, red, 0 of the palette on the front surface (entry i: red 7i, green 255-i, blue i).
  EXPECT_EQ(b[54 + 4 * 10], 10);
  EXPECT_EQ(b[54 + 4 * 10 + 1], 245);
  EXPECT_EQ(b[54 + 4 * 10 + 2], 70);
  EXPECT_EQ(b[54 + 4 * 10 + 3], 0);
  // The first row written is screen row 479.
  EXPECT_EQ(b[1078], (0 + 3 * 479) & 0xFF);
  EXPECT_EQ(b[1078 + 639], (639 + 3 * 479) & 0xFF);
  EXPECT_EQ(b[1078 + 640 * 479 + 5], 5);
  EXPECT_EQ(b.back(), 639 & 0xFF);
}

TEST_F(ScreenshotTest, TheNextNameIsThePlainOneThenTheFirstFreeNumber) {
  InTempDir tmp;
  EXPECT_EQ(NextScreenshotName(), "scnshot.bmp");
  std::ofstream(tmp.Dir() / "scnshot1.bmp") << "x";
  EXPECT_EQ(NextScreenshotName(), "scnshot.bmp");
  std::ofstream(tmp.Dir() / "scnshot.bmp") << "x";
  EXPECT_EQ(NextScreenshotName(), "scnshot2.bmp");
  EXPECT_EQ(NextScreenshotName(tmp.Dir().string()), (tmp.Dir() / "scnshot2.bmp").string());
}

TEST_F(ScreenshotTest, NothingIsWrittenWhenTheFrontSurfaceCannotBeLocked) {
  InTempDir tmp;
  game->graphics->GetFrontSurface()->GetSurface2()->MarkLost();
  game->TakeScreenshot();
  EXPECT_FALSE(fs::exists(tmp.Dir() / "scnshot.bmp"));
  EXPECT_FALSE(WriteScreenshotFile(game->graphics.get(), (tmp.Dir() / "x.bmp").string()));
  EXPECT_FALSE(fs::exists(tmp.Dir() / "x.bmp"));
  game->graphics->GetFrontSurface()->GetSurface2()->Restore();
  EXPECT_TRUE(WriteScreenshotFile(game->graphics.get(), (tmp.Dir() / "x.bmp").string()));
  std::vector<uint8_t> direct;
  ASSERT_TRUE(BuildScreenshotBitmap(game->graphics.get(), &direct));
  EXPECT_EQ(ReadAll(tmp.Dir() / "x.bmp"), direct);
  // Without graphics nothing happens at all.
  game->graphics.reset();
  game->TakeScreenshot();
  EXPECT_FALSE(fs::exists(tmp.Dir() / "scnshot.bmp"));
}

}  // namespace
