// The help page with the real art over the game's screens: its layout and colours, the screens it
// opens over and returns to, the keys and clicks that close it, the README that says the same, and
// its pinned picture.
#include "game/help_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/trophy_room_wnd.h"
#include "platform/window.h"
#include "tests/game/menu_fixture.h"
#include "tests/golden_frame_util.h"

namespace {

using G = ZTurkeyGame;
using H = ZHelpPage;
using platform::Rect;

class HelpPageTest : public gametest::MenuFixture {
 protected:
  // F1 as the main window gets it while the title is up.
  void PressF1() { Send(platform::WM_KEYDOWN, platform::VK_F1, 1); }
  H* Page() const { return game->helpPage.get(); }
  platform::LRESULT ToPage(uint32_t message, platform::WPARAM w = 0, platform::LPARAM l = 0) {
    return platform::SendMessage(Page(), message, w, l);
  }
  static bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
  }
  static bool Overlap(const Rect& a, const Rect& b) {
    Rect both;
    return platform::IntersectRect(&both, a, b);
  }
};

TEST_F(HelpPageTest, EveryBlockStaysOnItsBoardApartFromTheOthersInColoursEveryPaletteShares) {
  PressF1();
  ASSERT_NE(Page(), nullptr);
  ASSERT_EQ(game->HelpOpen(), 1);
  const std::vector<Rect>& blocks = Page()->Blocks();
  // Headings and paragraphs of both columns, the keys' heading, two rects per key, the hint.
  ASSERT_EQ(blocks.size(), 2 * (H::LeftColumn().size() + H::RightColumn().size()) + 1 + 2 * H::Keys().size() + 1);
  for (size_t i = 0; i + 1 < blocks.size(); ++i) {
    EXPECT_TRUE(Inside(blocks[i], H::kPanel)) << i;
    EXPECT_GE(blocks[i].Height(), 16) << i;  // at least a line each: nothing measured away
    for (size_t j = i + 1; j + 1 < blocks.size(); ++j) EXPECT_FALSE(Overlap(blocks[i], blocks[j])) << i << " " << j;
  }
  EXPECT_FALSE(Overlap(blocks.back(), H::kPanel));
  // The page is drawn in the colours every palette of the game shares, so it shows true over the
  // title, a hunt or the trophy room; and it is no blank board.
  int text = 0;
  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 640; ++x) {
      const uint8_t p = Front(x, y);
      ASSERT_TRUE(p == 0 || (p >= 2 && p < 128) || p == 255) << x << "," << y << " " << int(p);
    }
  }
  for (const Rect& b : blocks)
    for (int32_t y = b.top; y < b.bottom; ++y)
      for (int32_t x = b.left; x < b.right; ++x) text += Front(x, y) != Front(H::kPanel.left + 2, H::kPanel.top + 2) ? 1 : 0;
  EXPECT_GT(text, 10000);
}

TEST_F(HelpPageTest, APressClosesItOverAScreenAndOnlyAReleaseOfWhatItSawPressedOverADialog) {
  PressF1();  // over the title: the title is left as for another window
  ASSERT_EQ(game->state, G::Inactive);
  EXPECT_EQ(game->resumeState, G::MainMenu);
  EXPECT_EQ(platform::GetFocus(), Page());
  // F1 held down repeats; its release and a character change nothing.
  ToPage(platform::WM_KEYDOWN, platform::VK_F1, static_cast<platform::LPARAM>(1u | (1u << 30)));
  ToPage(platform::WM_KEYUP, platform::VK_F1, static_cast<platform::LPARAM>(0xC0000001u));
  ToPage(platform::WM_CHAR, 'x', 1);
  EXPECT_EQ(game->HelpOpen(), 1);
  ToPage(platform::WM_RBUTTONDOWN, 0, platform::MakeLParam(300, 200));
  EXPECT_EQ(game->HelpOpen(), 0);
  EXPECT_FALSE(Page()->IsWindowVisible());
  EXPECT_EQ(game->state, G::MainMenu);

  // Over a dialog: Enter pressed before the page came up is the dialog's OK on its release, which
  // must not close the page (nor reach the dialog); a release of a key never pressed here neither.
  ASSERT_EQ(Page()->Open(true), 1);
  ToPage(platform::WM_KEYUP, platform::VK_RETURN, static_cast<platform::LPARAM>(0xC0000001u));
  ToPage(platform::WM_KEYDOWN, platform::VK_RETURN, 1);
  ToPage(platform::WM_KEYUP, platform::VK_ESCAPE, static_cast<platform::LPARAM>(0xC0000001u));
  EXPECT_EQ(Page()->IsOpen(), 1);
  ToPage(platform::WM_KEYUP, platform::VK_RETURN, static_cast<platform::LPARAM>(0xC0000001u));
  EXPECT_EQ(Page()->IsOpen(), 0);
  EXPECT_EQ(game->state, G::MainMenu);  // the screen under a dialog is never left
  ASSERT_EQ(Page()->Open(true), 1);
  ToPage(platform::WM_LBUTTONDOWN);
  ToPage(platform::WM_RBUTTONUP);
  EXPECT_EQ(Page()->IsOpen(), 1);
  ToPage(platform::WM_LBUTTONUP);
  EXPECT_EQ(Page()->IsOpen(), 0);
}

TEST_F(HelpPageTest, OverTheTrophyRoomAndAcrossALossOfFocus) {
  for (int32_t s : {G::EnteringHunt, G::Exiting}) {  // nothing to lay a page over in these
    game->state = s;
    PressF1();
    EXPECT_EQ(game->HelpOpen(), 0) << s;
  }
  game->state = G::MainMenu;
  game->SetState(G::TrophyRoom);
  game->Tick();
  platform::SendMessage(game->trophyRoom.get(), platform::WM_KEYDOWN, platform::VK_F1, 1);
  ASSERT_EQ(game->HelpOpen(), 1);
  EXPECT_EQ(game->trophyRoom->shown, 0);
  // An activation while the page is up keeps it; losing the focus takes it away and minimises, and
  // the activation after that brings the room back.
  Send(platform::WM_ACTIVATEAPP, 1);
  EXPECT_EQ(game->HelpOpen(), 1);
  Send(platform::WM_ACTIVATEAPP, 0);
  EXPECT_EQ(game->HelpOpen(), 0);
  EXPECT_TRUE(wnd->IsMinimized());
  EXPECT_EQ(game->state, G::Inactive);
  Send(platform::WM_ACTIVATEAPP, 1);
  game->Tick();
  EXPECT_EQ(game->trophyRoom->shown, 1);
  // Esc on the page closes the page only: the room's own Esc would leave the room.
  platform::SendMessage(game->trophyRoom.get(), platform::WM_KEYDOWN, platform::VK_F1, 1);
  ToPage(platform::WM_KEYDOWN, platform::VK_ESCAPE, 1);
  EXPECT_EQ(game->state, G::TrophyRoom);
}

// The README's "How to play" says what the page says, word for word (line breaks aside).
TEST_F(HelpPageTest, TheReadmeSaysWhatThePageSays) {
  std::ifstream in(std::string(BF_SOURCE_DIR) + "/README.md");
  std::string readme((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t from = readme.find("## How to play");
  ASSERT_NE(from, std::string::npos);
  std::string section = readme.substr(from, readme.find("\n## ", from + 1) - from);
  std::string flat;
  for (char c : section) {
    const char d = (c == '\n') ? ' ' : c;
    if (!(d == ' ' && !flat.empty() && flat.back() == ' ')) flat += d;
  }
  std::vector<std::string> said;
  for (const auto* column : {&H::LeftColumn(), &H::RightColumn()}) {
    for (const H::Section& s : *column) {
      said.emplace_back(s.heading);
      said.emplace_back(s.text);
    }
  }
  for (const H::Key& k : H::Keys()) said.push_back(std::string(k.key) + ": " + k.action);
  for (const std::string& s : said) EXPECT_NE(flat.find(s), std::string::npos) << s;
}

// The page over the title as the screen shows it. When a deliberate change alters the picture (the
// page or the art), run the test with BF_UPDATE_GOLDEN=1, look at the PNG it writes beside this
// file, and put the new hash here.
constexpr uint64_t kGoldenHash = 0x22b50c54f2b9d6ecULL;

TEST_F(HelpPageTest, ThePageMatchesItsPinnedPicture) {
  PressF1();
  ASSERT_EQ(game->HelpOpen(), 1);
  std::vector<uint8_t> pixels(640 * 480);
  for (int32_t y = 0; y < 480; ++y)
    for (int32_t x = 0; x < 640; ++x) pixels[static_cast<size_t>(y * 640 + x)] = Front(x, y);
  platform::Rgb colors[256];
  game->graphics->GetFrontSurface()->GetSurface2()->GetPalette()->GetEntries(0, 256, colors);
  const uint64_t hash = golden::Keep(pixels, colors, "help_page_golden.png", "tests/game/help_page_golden.png");
  EXPECT_EQ(hash, kGoldenHash) << std::hex << "0x" << hash;
}

}  // namespace
