// Damaged art played through the headless backend: the designed path is taken and one line on stderr says why.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "game/replay.h"
#include "game/turkey_game.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/module.h"
#include "platform/window.h"

namespace {

std::vector<uint8_t> ReadArt(const std::string& name) {
  std::ifstream in(std::filesystem::path(BF_RUN_DIR) / name, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
void Put32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Lines of `text` that mention `what`.
std::vector<std::string> LinesWith(const std::string& text, const std::string& what) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.find(what) != std::string::npos) lines.push_back(line);
  }
  return lines;
}

struct Seen {
  bool menu = false;              // the main menu was built and shown
  bool controlsInMenu = false;    // the controls' surface was there in the menu
  size_t buttonsInMenu = 0;
  bool birdArtInMenu = false;     // bird sprite map or surface held in the menu
  std::vector<std::string> boxes;
  std::string stderrText;
};

// Each test plays in a fresh current directory of its own, where damaged copies shadow the good art
// beside the program (the current directory is searched first).
class DamagedArt : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("bf-damaged-art-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
  }
  void TearDown() override {
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
    platform::ResetWindowSystem();
    platform::SetBackend(nullptr);
  }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  Seen Play(const std::string& text) {
    Seen seen;
    replay::Script script;
    std::string error;
    EXPECT_TRUE(replay::ParseScript(text, &script, &error)) << error;
    platform::ResetWindowSystem();
    backend = std::make_unique<platform::HeadlessBackend>(0, static_cast<std::time_t>(script.seed));
    platform::SetBackend(backend.get());
    platform::SetApplicationName("brushfeather");
    std::ostringstream log;
    ::testing::internal::CaptureStderr();
    replay::Run(script, backend.get(), "", &log, [&](ZTurkeyGame& game, uint32_t) {
      // The first pass in the shown menu (the clean-up at the end leaves the state as it was).
      if (seen.menu || game.state != ZTurkeyGame::MainMenu || game.menuReady != 1) return;
      seen.menu = true;
      seen.controlsInMenu = game.controlsSurface != nullptr && game.controlsSurface->GetSurface2() != nullptr;
      seen.buttonsInMenu = game.menuButtons.size();
      seen.birdArtInMenu = birdSpriteMap != nullptr || birdSurface != nullptr;
    });
    seen.stderrText = ::testing::internal::GetCapturedStderr();
    for (const auto& box : backend->MessageBoxes()) seen.boxes.push_back(box.text);
    return seen;
  }

  std::filesystem::path dir, old;
  std::unique_ptr<platform::HeadlessBackend> backend;
};

TEST_F(DamagedArt, SoundArtReachesTheMenuWithoutAWord) {
  Seen seen = Play("wait 1000\n");
  EXPECT_TRUE(seen.menu);
  EXPECT_TRUE(seen.controlsInMenu);
  EXPECT_TRUE(seen.birdArtInMenu);
  EXPECT_TRUE(seen.boxes.empty());
  EXPECT_TRUE(LinesWith(seen.stderrText, "brushfeather:").empty()) << seen.stderrText;
}

TEST_F(DamagedArt, ControlsMapOnePixelHighSkipsEveryFrameAndSaysSo) {
  std::vector<uint8_t> bytes = ReadArt("ctrls.dll");
  auto module = platform::Module::FromMemory(bytes.data(), bytes.size());
  platform::HRSRC map = module->Find(151, "SPRITEMAP");
  ASSERT_NE(map, nullptr);
  const size_t at = static_cast<size_t>(map->data - bytes.data());
  const uint32_t frames = Get32(bytes, at + 12);
  ASSERT_GT(frames, 0u);
  Put32(&bytes, at + 36, 1);  // map height
  Write("ctrls.dll", bytes);

  Seen seen = Play("wait 1000\n");
  EXPECT_TRUE(seen.menu);
  EXPECT_TRUE(seen.controlsInMenu);  // the map loads and its surface is made, one pixel high
  // The buttons are made from the map's table; with every frame skipped they have nothing painted to show.
  EXPECT_EQ(seen.buttonsInMenu, 3u);
  EXPECT_TRUE(seen.boxes.empty());
  const std::vector<std::string> lines = LinesWith(seen.stderrText, "brushfeather:");
  ASSERT_EQ(lines.size(), 1u) << seen.stderrText;
  EXPECT_NE(lines[0].find("\"ctrls.dll\" (found as " + (dir / "ctrls.dll").string() + ")"), std::string::npos)
      << lines[0];
  const std::string count = std::to_string(frames) + " of " + std::to_string(frames) + " frames";
  EXPECT_NE(lines[0].find(count), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find(" x 1 map"), std::string::npos) << lines[0];
}

TEST_F(DamagedArt, BirdMapTooTallForASurfaceIsDroppedAndTheGameGoesOnWithoutBirdArt) {
  std::vector<uint8_t> bytes = ReadArt("goblers.dll");
  ASSERT_GT(bytes.size(), 48u);
  Put32(&bytes, 36, 0x40000000);  // map height
  Write("goblers.dll", bytes);

  Seen seen = Play("wait 1000\n");
  EXPECT_TRUE(seen.menu);
  EXPECT_TRUE(seen.controlsInMenu);
  EXPECT_FALSE(seen.birdArtInMenu);  // neither the map nor a surface is kept
  EXPECT_TRUE(seen.boxes.empty());
  const std::vector<std::string> lines = LinesWith(seen.stderrText, "brushfeather:");
  ASSERT_EQ(lines.size(), 1u) << seen.stderrText;
  EXPECT_NE(lines[0].find("\"goblers.dll\" (found as " + (dir / "goblers.dll").string() + ")"), std::string::npos)
      << lines[0];
  EXPECT_NE(lines[0].find("no surface could be made"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find(" x 1073741824 sprite map"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("the birds go without art"), std::string::npos) << lines[0];
}

TEST_F(DamagedArt, AnUnreadableBirdFileIsNamedToo) {
  std::vector<uint8_t> bytes = ReadArt("goblers.dll");
  bytes.resize(40);  // shorter than the header
  Write("GOBLERS.DLL", bytes);

  Seen seen = Play("wait 1000\n");
  EXPECT_TRUE(seen.menu);
  EXPECT_FALSE(seen.birdArtInMenu);
  EXPECT_TRUE(seen.boxes.empty());
  const std::vector<std::string> lines = LinesWith(seen.stderrText, "brushfeather:");
  ASSERT_EQ(lines.size(), 1u) << seen.stderrText;
  EXPECT_NE(lines[0].find("(found as " + (dir / "GOBLERS.DLL").string() + ")"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("not a sprite map that can be read"), std::string::npos) << lines[0];
}

}  // namespace
