// ZHuntSetupDialog built from the real art over the game's menu: its controls, data exchange, preview and F10.
#include <gtest/gtest.h>

#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_map.h"
#include "framework/ui/radio_button.h"
#include "game/hunt_setup_dialog.h"
#include "tests/game/menu_fixture.h"

namespace {

using B = ZButton;
using D = ZHuntSetupDialog;

class HuntSetupDialogTest : public gametest::MenuFixture {
 protected:
  std::unique_ptr<D> Dialog(platform::Window* parent = nullptr) {
    return std::make_unique<D>(game, game->graphics.get(), parent != nullptr ? parent : wnd,
                               game->controlsSurface.get(), game->sound.get());
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

TEST_F(HuntSetupDialogTest, ItIsBuiltCentredWithItsControlsInOrder) {
  game->areaIndex = 2;
  auto d = Dialog();
  ASSERT_EQ(d->IsBuilt(), 1);
  EXPECT_EQ(d->GetWindowRect(), (platform::Rect{55, 42, 584, 437}));
  EXPECT_EQ(d->GetParent(), wnd);
  EXPECT_EQ(d->areaIndex, 2);
  EXPECT_EQ(d->preview->GetCurrentFrameIndex(), 2);
  ASSERT_EQ(d->controls.size(), 7u);
  EXPECT_EQ(d->controls[0], d->okButton.get());
  EXPECT_EQ(d->controls[1], d->cancelButton.get());
  EXPECT_EQ(d->buttons, (std::vector<ZButton*>{d->okButton.get(), d->cancelButton.get()}));
  EXPECT_EQ(d->GetFocusControl(), d->okButton.get());
  struct Want {
    B* button;
    uint32_t id;
    int32_t x, y, mask, highlightSound;
  };
  const Want wants[] = {
      {d->okButton.get(), 1, 100, 320, 14, 140},      {d->cancelButton.get(), 2, 275, 320, 14, 140},
      {d->areaButtons[0].get(), 7, 100, 100, 10, 0},  {d->areaButtons[1].get(), 8, 210, 100, 10, 0},
      {d->areaButtons[2].get(), 9, 320, 100, 10, 0},  {d->areaButtons[3].get(), 10, 153, 180, 10, 0},
      {d->areaButtons[4].get(), 11, 273, 180, 10, 0},
  };
  for (size_t i = 0; i < std::size(wants); ++i) {
    const Want& w = wants[i];
    EXPECT_EQ(d->controls[i], w.button);
    EXPECT_EQ(w.button->GetDlgCtrlID(), w.id);
    EXPECT_EQ(w.button->GetParent(), d.get());
    platform::Rect r = w.button->GetWindowRect();
    EXPECT_EQ(r.left, 55 + w.x) << w.id;
    EXPECT_EQ(r.top, 42 + w.y) << w.id;
    EXPECT_EQ(w.button->stateMask, w.mask);
    EXPECT_EQ(w.button->pixelHitTest, 0);
    EXPECT_EQ(w.button->GetStateSound(3), 139);
    EXPECT_EQ(w.button->GetStateSound(2), w.highlightSound);
    EXPECT_EQ(w.button->GetSprite()->GetViewport(), d->viewport.get());
  }
}

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
  // The name passes through untouched.
  d->playerName = "Ann";
  d->ExchangeData(0);
  d->ExchangeData(1);
  EXPECT_EQ(d->playerName, "Ann");
}

TEST_F(HuntSetupDialogTest, PaintingShowsThePreviewAndAHuntClickChangesItAtOnce) {
  game->areaIndex = 1;
  auto d = Dialog();
  d->playerName = game->playerName;
  d->areaIndex = 1;
  d->SetTransparent(1);
  d->ShowWindow(platform::SW_SHOW);
  d->UpdateWindow();
  EXPECT_TRUE(PreviewShows(d.get(), 1));
  EXPECT_EQ(d->areaButtons[1]->state, B::kStatePressed);
  EXPECT_EQ(d->okButton->state, B::kStateNormal);
  ZRadioButton* eastern = d->areaButtons[3].get();
  platform::SendMessage(eastern, platform::WM_MOUSEMOVE, 0, platform::MakeLParam(5, 5));
  platform::SendMessage(eastern, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::MakeLParam(5, 5));
  platform::SendMessage(eastern, platform::WM_LBUTTONUP, 0, platform::MakeLParam(5, 5));
  EXPECT_EQ(d->preview->GetCurrentFrameIndex(), 3);
  EXPECT_TRUE(PreviewShows(d.get(), 3));
  EXPECT_EQ(d->areaButtons[1]->checked, 0);
  EXPECT_EQ(eastern->checked, 1);
  // The preview is painted where the dialog is and then put back at its place inside it.
  EXPECT_EQ(d->preview->GetX(), 75);
  EXPECT_EQ(d->preview->GetY(), 255);
  // Where the sign is magenta the title shows through; elsewhere the sign covers it.
  ZSurface* sign = d->backgroundSurface.get();
  int seenThrough = 0;
  int covered = 0;
  for (int32_t x = 0; x < D::kWidth; x += 3) {
    const uint8_t art = Pixel(sign, x, 30);
    const uint8_t shown = Front(55 + x, 72);
    if (art == 1) {
      seenThrough += shown == Pixel(game->menuSurface.get(), 55 + x, 72) ? 1 : 0;
      EXPECT_EQ(shown, Pixel(game->menuSurface.get(), 55 + x, 72)) << x;
    } else {
      covered += 1;
      EXPECT_EQ(shown, art) << x;
    }
  }
  EXPECT_GT(seenThrough, 0);
  EXPECT_GT(covered, 0);
  d->ShowWindow(platform::SW_HIDE);
  EXPECT_EQ(d->areaIndex, 3);  // read back on hiding
}

TEST_F(HuntSetupDialogTest, SystemKeysGoToTheParentSoF10WorksWhileTheDialogIsUp) {
  gametest::RecordingWnd* listener = Child(77);
  listener->MoveWindow(platform::Rect{0, 0, 640, 480}, false);
  auto d = Dialog(listener);
  ASSERT_EQ(d->IsBuilt(), 1);
  platform::SendMessage(d.get(), platform::WM_SYSKEYDOWN, platform::VK_F10, 0);
  EXPECT_EQ(listener->Count(platform::WM_SYSKEYDOWN), 1);
  EXPECT_EQ(listener->messages.back().second, platform::VK_F10);
}

TEST_F(HuntSetupDialogTest, WithoutGraphicsOrControlsArtItIsNotBuiltAndIsNeverRun) {
  D noGraphics(game, nullptr, wnd, game->controlsSurface.get(), game->sound.get());
  EXPECT_EQ(noGraphics.IsBuilt(), 0);
  D noArt(game, game->graphics.get(), wnd, nullptr, game->sound.get());
  EXPECT_EQ(noArt.IsBuilt(), 0);
  D noParent(game, game->graphics.get(), nullptr, game->controlsSurface.get(), game->sound.get());
  EXPECT_EQ(noParent.IsBuilt(), 0);
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
