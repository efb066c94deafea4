// Damaged art played through the headless backend: the designed path is taken and one line on stderr says why.
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "platform/module.h"
#include "tests/platform/pe_test_builder.h"
#include "tests/scenarios/scenario.h"

namespace {

using scenario::G;

void Put32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

struct Seen {
  bool menu = false;            // the main menu was built and shown
  bool controlsInMenu = false;  // the controls' surface was there in the menu
  size_t buttonsInMenu = 0;
  bool birdArtInMenu = false;   // bird sprite map or surface held in the menu
};

class DamagedArt : public scenario::Scenario {
 protected:
  Seen Play() {
    Seen seen;
    Run("wait 1000\n", [&](G& game, uint32_t) {
      // The first pass in the shown menu (the clean-up at the end leaves the state as it was).
      if (seen.menu || game.state != G::MainMenu || game.menuReady != 1) return;
      seen.menu = true;
      seen.controlsInMenu = game.controlsSurface != nullptr && game.controlsSurface->GetSurface2() != nullptr;
      seen.buttonsInMenu = game.menuButtons.size();
      seen.birdArtInMenu = birdSpriteMap != nullptr || birdSurface != nullptr;
    });
    EXPECT_TRUE(backend->MessageBoxes().empty());
    return seen;
  }
  // The one line the game wrote, naming the file where it was found.
  std::string OneLineAbout(const std::string& file) {
    const std::vector<std::string> lines = Complaints();
    EXPECT_EQ(lines.size(), 1u) << said;
    if (lines.empty()) return "";
    EXPECT_NE(lines[0].find("(found as " + (dir / file).string() + ")"), std::string::npos) << lines[0];
    return lines[0];
  }
};

TEST_F(DamagedArt, SoundArtReachesTheMenuWithoutAWord) {
  Seen seen = Play();
  EXPECT_TRUE(seen.menu);
  EXPECT_TRUE(seen.controlsInMenu);
  EXPECT_TRUE(seen.birdArtInMenu);
  EXPECT_TRUE(Complaints().empty()) << said;
}

TEST_F(DamagedArt, ControlsMapOnePixelHighSkipsEveryFrameAndSaysSo) {
  std::vector<uint8_t> bytes = scenario::ReadArt("ctrls.dll");
  auto module = platform::Module::FromMemory(bytes.data(), bytes.size());
  platform::HRSRC map = module->Find(151, "SPRITEMAP");
  ASSERT_NE(map, nullptr);
  const size_t at = static_cast<size_t>(map->data - bytes.data());
  const uint32_t frames = map->data[12] | map->data[13] << 8 | map->data[14] << 16 | map->data[15] << 24;
  ASSERT_GT(frames, 0u);
  Put32(&bytes, at + 36, 1);  // map height
  Write("ctrls.dll", bytes);

  Seen seen = Play();
  EXPECT_TRUE(seen.menu);
  EXPECT_TRUE(seen.controlsInMenu);  // the map loads and its surface is made, one pixel high
  // The buttons are made from the map's table; with every frame skipped they have nothing painted to show.
  EXPECT_EQ(seen.buttonsInMenu, 3u);
  const std::string line = OneLineAbout("ctrls.dll");
  EXPECT_NE(line.find("\"ctrls.dll\""), std::string::npos) << line;
  EXPECT_NE(line.find(std::to_string(frames) + " of " + std::to_string(frames) + " frames"), std::string::npos)
      << line;
  EXPECT_NE(line.find(" x 1 map"), std::string::npos) << line;
}

TEST_F(DamagedArt, BirdFilesTooTallOrUnreadableAreDroppedAndTheGameGoesOnWithoutBirdArt) {
  std::vector<uint8_t> tall = scenario::ReadArt("goblers.dll");
  ASSERT_GT(tall.size(), 48u);
  Put32(&tall, 36, 0x40000000);  // map height
  const std::vector<uint8_t> cut(tall.begin(), tall.begin() + 40);  // shorter than the header
  struct Case {
    const char* file;
    std::vector<uint8_t> bytes;
    std::vector<std::string> says;
  } cases[] = {
      {"goblers.dll", tall,
       {"\"goblers.dll\"", "no surface could be made", " x 1073741824 sprite map", "the birds go without art"}},
      {"GOBLERS.DLL", cut, {"not a sprite map that can be read"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Write(c.file, c.bytes);
    Seen seen = Play();
    scenario::fs::remove(dir / c.file);
    EXPECT_TRUE(seen.menu);
    EXPECT_TRUE(seen.controlsInMenu);
    EXPECT_FALSE(seen.birdArtInMenu);  // neither the map nor a surface is kept
    const std::string line = OneLineAbout(c.file);
    for (const std::string& part : c.says) EXPECT_NE(line.find(part), std::string::npos) << line;
  }
}

// A library cut short (a copy that stopped half way), one without the resource and one whose resource
// is damaged: the designed path is taken, and one line before it says what is wrong with the file.
TEST_F(DamagedArt, UnreadableLibrariesNameTheirCause) {
  const std::vector<uint8_t> controls = scenario::ReadArt("ctrls.dll");
  const std::vector<uint8_t> area = scenario::ReadArt("map3.dll");  // hunt 1's
  const auto cut = [](const std::vector<uint8_t>& b, size_t n) { return std::vector<uint8_t>(b.begin(), b.begin() + n); };
  const std::vector<uint8_t> withoutMap = testpe::Build({{"WAVE", 151, 0x409, {1, 2, 3}}});
  const std::vector<uint8_t> damagedMap = testpe::Build({{"SPRITEMAP", 151, 0x409, std::vector<uint8_t>(20, 7)}});
  const std::string enterHunt = "wait 700\nmove 455 221\nwait 20\nclick left\nwait 40\nmove 317 176\nwait 10\n"
                                "click left\nwait 30\nmove 225 383\nwait 10\nclick left\nwait 300\n";
  struct Case {
    const char* file;
    std::vector<uint8_t> bytes;
    bool controls;  // the game cannot start; else the hunt goes back to the menu
    std::vector<std::string> says;
  } cases[] = {
      {"ctrls.dll", cut(controls, controls.size() / 2), true,
       {"is cut short: it has " + std::to_string(controls.size() / 2) + " bytes where its sections reach " +
            std::to_string(controls.size()),
        "its sprite map (SPRITEMAP 151) is not all there", "the game cannot start"}},
      {"ctrls.dll", withoutMap, true, {"holds no sprite map (SPRITEMAP 151)", "the game cannot start"}},
      {"ctrls.dll", damagedMap, true, {"its sprite map (SPRITEMAP 151, 20 bytes) is damaged", "the game cannot start"}},
      {"map3.dll", cut(area, area.size() / 5), false,
       {"is cut short", "its sprite map (SPRITEMAP 151) is not all there", "the hunt has no area art"}},
      {"map3.dll", cut(area, area.size() / 2), false,
       {"is cut short", "its panorama (bitmap 150) is not all there", "back to the menu"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + ", " + c.says[0]);
    Write(c.file, c.bytes);
    replay::Result r = Run(c.controls ? "wait 1000\n" : enterHunt);
    scenario::fs::remove(dir / c.file);
    const std::vector<std::string> lines = Complaints();
    ASSERT_FALSE(lines.empty()) << said;
    const std::string& line = lines[0];
    EXPECT_NE(line.find("\"" + std::string(c.file) + "\" (found as " + (dir / c.file).string() + ")"),
              std::string::npos)
        << line;
    for (const std::string& part : c.says) EXPECT_NE(line.find(part), std::string::npos) << line;
    if (c.controls) {
      ASSERT_EQ(backend->MessageBoxes().size(), 1u);
      EXPECT_EQ(backend->MessageBoxes()[0].text, "ERROR: Controls initialization failed.");
      EXPECT_EQ(r.exitCode, 1);
      EXPECT_EQ(lines.size(), 2u) << said;  // the cause, then the message as printed
    } else {
      EXPECT_EQ(states.back(), "MainMenu");
      EXPECT_EQ(Entered("Hunting"), 0);
      EXPECT_EQ(r.exitCode, 0);
    }
  }
}

}  // namespace
