// ZHuntSetupDialog built from the real art over the game's menu: its controls, data exchange, preview and F10.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_map.h"
#include "framework/ui/edit.h"
#include "framework/ui/radio_button.h"
#include "game/hunt_setup_dialog.h"
#include "platform/edit_control.h"
#include "platform/window.h"
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
  ASSERT_EQ(d->controls.size(), 8u);
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
  // The name field comes last, so Tab reaches it after the hunts and goes on to OK.
  ZEdit* name = d->nameEdit.get();
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(d->controls[7], name);
  EXPECT_EQ(name->GetDlgCtrlID(), 500u);
  EXPECT_EQ(name->GetParent(), d.get());
  EXPECT_EQ(name->GetWindowRect(), (platform::Rect{55 + 140, 42 + 62, 55 + 390, 42 + 79}));
  EXPECT_NE(name->GetStyle() & platform::ES_AUTOHSCROLL, 0u);
  EXPECT_NE(name->GetStyle() & platform::WS_VISIBLE, 0u);
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

TEST_F(HuntSetupDialogTest, TheNameGoesIntoTheFieldAndComesBackByteForByte) {
  auto d = Dialog();
  ASSERT_EQ(d->IsBuilt(), 1);
  // Long, outside ASCII, with a stray byte, a newline and the profile's own marks: nothing changes.
  const std::string names[] = {"Ann", "J\xC3\xB6rg \xE2\x80\x9CGobbler\xE2\x80\x9D \xF0\x9F\xA6\x83",
                               std::string(10000, 'x') + "\xC3\xA9", " [lead] =;# \xFF\ntrail ", ""};
  for (const std::string& name : names) {
    d->playerName = name;
    d->ExchangeData(0);
    EXPECT_EQ(d->nameEdit->GetWindowText(), name);
    d->playerName = "something else";
    d->ExchangeData(1);
    EXPECT_EQ(d->playerName, name);
  }
  // What was typed is what is read back.
  d->nameEdit->SetSel(0, -1);
  for (char32_t c : std::u32string(U"Zo\u00EB \u72E9")) platform::SendMessage(d->nameEdit.get(), platform::WM_CHAR, c, 0);
  d->ExchangeData(1);
  EXPECT_EQ(d->playerName, "Zo\xC3\xAB \xE7\x8B\xA9");
}

TEST_F(HuntSetupDialogTest, ARepaintWhileItIsUpKeepsWhatThePlayerTypedAndClicked) {
  auto d = Dialog();
  d->playerName = "Field Scout";
  d->areaIndex = 1;
  d->SetTransparent(1);
  d->ShowWindow(platform::SW_SHOW);
  d->UpdateWindow();
  ZEdit* name = d->nameEdit.get();
  EXPECT_EQ(name->GetWindowText(), "Field Scout");
  // The pointer over the field selects the name; typing replaces it.
  platform::SendMessage(name, platform::WM_MOUSEMOVE, 0, platform::MakeLParam(3, 3));
  EXPECT_EQ(platform::GetFocus(), name);
  EXPECT_EQ(d->GetFocusControl(), name);
  int32_t start = -1, end = -1;
  name->GetSel(&start, &end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 11);
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

TEST_F(HuntSetupDialogTest, TheFieldIsDrawnOverTheSignInWhiteOnBlackWithABlinkingCaret) {
  auto d = Dialog();
  d->playerName = "Field Scout";
  d->SetTransparent(1);
  d->ShowWindow(platform::SW_SHOW);
  d->UpdateWindow();
  const platform::Rect field = d->nameEdit->GetWindowRect();
  // The field's own colours, mapped into the title's palette: black paper, white letters.
  auto count = [&](uint8_t index) {
    int n = 0;
    for (int32_t y = field.top; y < field.bottom; ++y)
      for (int32_t x = field.left; x < field.right; ++x) n += Front(x, y) == index ? 1 : 0;
    return n;
  };
  const int area = field.Width() * field.Height();
  const int letters = count(255);
  EXPECT_GT(letters, 40);
  EXPECT_EQ(count(0) + letters, area);
  // The sign around it is the sign's.
  EXPECT_EQ(Front(field.left - 30, field.top + 5), Pixel(d->backgroundSurface.get(), 140 - 30, 62 + 5));

  // Focused and typed into: the caret stands after the text, then blinks off and on again.
  d->nameEdit->SetFocus();
  platform::SendMessage(d->nameEdit.get(), platform::WM_CHAR, 'J', 0);
  ASSERT_TRUE(d->nameEdit->Field().CaretDrawn());
  std::vector<uint8_t> on;
  for (int32_t y = field.top; y < field.bottom; ++y)
    for (int32_t x = field.left; x < field.right; ++x) on.push_back(Front(x, y));
  platform::Msg m;
  backend->Advance(platform::kCaretBlinkMs);
  platform::PeekMessage(&m, nullptr, 0, 0, platform::PM_NOREMOVE);  // the blink runs with the pump
  EXPECT_FALSE(d->nameEdit->Field().CaretDrawn());
  std::vector<int32_t> columns;
  int32_t rows = 0;
  size_t i = 0;
  for (int32_t y = field.top; y < field.bottom; ++y)
    for (int32_t x = field.left; x < field.right; ++x, ++i) {
      if (on[i] == Front(x, y)) continue;
      EXPECT_EQ(on[i], 255);  // a white caret on the black paper
      if (std::find(columns.begin(), columns.end(), x) == columns.end()) columns.push_back(x);
      ++rows;
    }
  ASSERT_EQ(columns.size(), 1u);
  EXPECT_GE(rows, 10);
  EXPECT_GT(columns[0], field.left + 2);  // after the "J", not at the field's edge
  EXPECT_LT(columns[0], field.left + 20);
  backend->Advance(platform::kCaretBlinkMs);
  platform::PeekMessage(&m, nullptr, 0, 0, platform::PM_NOREMOVE);
  EXPECT_TRUE(d->nameEdit->Field().CaretDrawn());
}

TEST_F(HuntSetupDialogTest, TheFieldGoesWithTheDialogAndTakesTheTextInputWithIt) {
  auto d = Dialog();
  d->ShowWindow(platform::SW_SHOW);
  d->UpdateWindow();
  platform::Window* field = d->nameEdit.get();
  field->SetFocus();
  EXPECT_TRUE(backend->TextInputOn());
  d.reset();
  EXPECT_FALSE(platform::IsWindow(field));
  EXPECT_FALSE(backend->TextInputOn());
  EXPECT_EQ(platform::GetFocus(), wnd);
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
