// ZHuntSetupDialog built from the real art over the game's menu: data exchange, the preview,
// repaints and the name field's life.
#include <gtest/gtest.h>

#include <string>

#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_map.h"
#include "framework/ui/edit.h"
#include "framework/ui/radio_button.h"
#include "game/hunt_setup_dialog.h"
#include "platform/window.h"
#include "tests/game/menu_fixture.h"

namespace {

using B = ZButton;
using D = ZHuntSetupDialog;

class HuntSetupDialogTest : public gametest::MenuFixture {
 protected:
  std::unique_ptr<D> Dialog() {
    return std::make_unique<D>(game, game->graphics.get(), wnd, game->controlsSurface.get(), game->sound.get());
  }
  // Whether the screen at the preview's place shows frame `index` of the preview sprite.
  bool PreviewShows(D* d, int32_t index) {
    ZSpriteMap* map = game->controlsSpriteMap.get();
    ZSprite probe(0, 0, 0, game->controlsSurface.get(), 15, map);
    if (probe.SetFrame(index) == 0) return false;
    const int32_t id = probe.GetCurrentFrame()->frameId;
    const platform::Rect r = d->GetWindowRect();
    int mismatches = 0;
    for (int32_t v = 0; v < probe.GetCurrentFrame()->Height(); v += 7)
      for (int32_t u = 0; u < probe.GetCurrentFrame()->Width(); u += 5) {
        const int32_t want = map->GetPixel(id, u, v);
        if (want != map->GetTransparentIndex() && Front(r.left + 75 + u, r.top + 255 + v) != want) ++mismatches;
      }
    return mismatches == 0;
  }
};

TEST_F(HuntSetupDialogTest, DataExchangeChecksTheHuntAndReadsBackTheLastChecked) {
  auto d = Dialog();
  d->areaIndex = 3;
  d->ExchangeData(0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(d->areaButtons[static_cast<size_t>(i)]->checked, i == 3 ? 1 : 0) << i;
  // A hunt outside the five touches no radio button.
  d->areaIndex = 9;
  d->ExchangeData(0);
  EXPECT_EQ(d->areaButtons[3]->checked, 1);
  // Reading back: the last checked one wins; none checked keeps the value.
  d->areaButtons[1]->checked = 1;
  d->ExchangeData(1);
  EXPECT_EQ(d->areaIndex, 3);
  for (auto& area : d->areaButtons) area->checked = 0;
  d->areaIndex = 2;
  d->ExchangeData(1);
  EXPECT_EQ(d->areaIndex, 2);
}

TEST_F(HuntSetupDialogTest, ARepaintWhileItIsUpKeepsWhatThePlayerTypedAndClicked) {
  auto d = Dialog();
  d->playerName = "Field Scout";
  d->areaIndex = 1;
  d->SetTransparent(1);
  d->ShowWindow(platform::SW_SHOW);
  d->UpdateWindow();
  ZEdit* name = d->nameEdit.get();
  // The pointer over the field selects the name (the scenarios check how); typing replaces it.
  platform::SendMessage(name, platform::WM_MOUSEMOVE, 0, platform::MakeLParam(3, 3));
  for (char c : std::string("Ann")) platform::SendMessage(name, platform::WM_CHAR, static_cast<uint8_t>(c), 0);
  platform::SendMessage(name, platform::WM_KEYDOWN, platform::VK_LEFT, 0);
  ZRadioButton* eastern = d->areaButtons[3].get();
  platform::SendMessage(eastern, platform::WM_MOUSEMOVE, 0, platform::MakeLParam(5, 5));
  platform::SendMessage(eastern, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::MakeLParam(5, 5));
  platform::SendMessage(eastern, platform::WM_LBUTTONUP, 0, platform::MakeLParam(5, 5));
  // The screen under the dialog is redrawn and the dialog paints itself again.
  d->InvalidateRect(nullptr, true);
  d->UpdateWindow();
  EXPECT_EQ(name->GetWindowText(), "Ann");
  EXPECT_EQ(name->Field().CaretIndex(), 2);
  EXPECT_EQ(eastern->checked, 1);
  EXPECT_EQ(d->areaButtons[1]->checked, 0);
  EXPECT_TRUE(PreviewShows(d.get(), 3));
  // Where the sign is magenta the title shows through; elsewhere the sign covers it.
  ZSurface* sign = d->backgroundSurface.get();
  int seenThrough = 0;
  for (int32_t x = 0; x < D::kWidth; x += 3) {
    const uint8_t art = Pixel(sign, x, 30);
    seenThrough += art == 1 ? 1 : 0;
    EXPECT_EQ(Front(55 + x, 72), art == 1 ? Pixel(game->menuSurface.get(), 55 + x, 72) : art) << x;
  }
  EXPECT_GT(seenThrough, 0);
  EXPECT_LT(seenThrough, D::kWidth / 3);
  // Hidden, it reads them back; shown again, it opens on what it read.
  d->ShowWindow(platform::SW_HIDE);
  EXPECT_EQ(d->playerName, "Ann");
  EXPECT_EQ(d->areaIndex, 3);
  d->playerName = "Bo";
  d->areaIndex = 0;
  d->ShowWindow(platform::SW_SHOW);
  d->UpdateWindow();
  EXPECT_EQ(name->GetWindowText(), "Bo");
  EXPECT_EQ(d->areaButtons[0]->checked, 1);
  EXPECT_EQ(eastern->checked, 0);
}

TEST_F(HuntSetupDialogTest, WithoutGraphicsOrControlsArtItIsNotBuiltAndIsNeverRun) {
  D noGraphics(game, nullptr, wnd, game->controlsSurface.get(), game->sound.get());
  EXPECT_EQ(noGraphics.IsBuilt(), 0);
  // RunHuntSetup gives up on such a dialog at once, as cancelled, and the settings stay.
  auto controls = std::move(game->controlsSurface);
  game->playerName = "Ann";
  game->areaIndex = 4;
  EXPECT_EQ(game->RunHuntSetup(), 0);
  EXPECT_EQ(game->setupDialog, nullptr);
  EXPECT_EQ(game->playerName, "Ann");
  EXPECT_EQ(game->areaIndex, 4);
  game->controlsSurface = std::move(controls);
}

}  // namespace
