// ZHelpPage: what the page says, how it is laid out on its board, and the keys and clicks that close it.
#include "game/help_page.h"

#include "framework/graphics/graphics.h"
#include "framework/graphics/surface.h"
#include "game/turkey_game.h"
#include "game/turkey_wnd.h"
#include "platform/text.h"
#include "platform/window.h"

namespace {

constexpr int32_t kHeadingHeight = 18;
constexpr int32_t kTextHeight = 17;
constexpr int32_t kSectionGap = 9;
constexpr int32_t kColumnGap = 20;
constexpr int32_t kPanelMargin = 14;
constexpr int32_t kKeyWidth = 104;  // the key names' column in the table of keys
constexpr uint32_t kRepeatBit = 1u << 30;

ZBoardPicture::Lettering Heading() {
  ZBoardPicture::Lettering l;
  l.height = kHeadingHeight;
  l.bold = true;
  l.color = ZBoardPicture::kGold;
  l.shadow = true;
  return l;
}

ZBoardPicture::Lettering Body() {
  ZBoardPicture::Lettering l;
  l.height = kTextHeight;
  l.color = ZBoardPicture::kCream;
  return l;
}

}  // namespace

const std::vector<ZHelpPage::Section>& ZHelpPage::LeftColumn() {
  static const std::vector<Section> kSections = {
      {"The hunt",
       "Ten wild turkeys roam the woods around your stand. Call a gobbler in close and bag it: your "
       "five heaviest birds hang in the trophy room."},
      {"Calling",
       "Give the Box Call two to four strokes and the Slate Call one to four, then wait quietly. A bird "
       "that hears you may gobble back and walk in. Six strokes or more in a row is noise that alarms "
       "the birds."},
      {"What alarms a bird",
       "Raising the gun, every shot, calling too much, and turning the view while a bird is near. A bird "
       "facing you notices more."},
      {"Looking around", "With the gun down, hold the pointer at an edge of the screen to turn the view."},
  };
  return kSections;
}

const std::vector<ZHelpPage::Section>& ZHelpPage::RightColumn() {
  static const std::vector<Section> kSections = {
      {"Raise, aim and fire",
       "Click Aim to raise the shotgun; you cannot call while it is up. Move the mouse to swing the view "
       "onto the bird, then click to fire."},
      {"Lowering and reloading",
       "Esc or the right button lowers the gun. After four shots it drops out of sight to reload, a shell "
       "a second, and comes back up by itself."},
  };
  return kSections;
}

const std::vector<ZHelpPage::Key>& ZHelpPage::Keys() {
  static const std::vector<Key> kKeys = {
      {"F1", "this page"},
      {"Esc", "lower the gun; with it down, leave the hunt"},
      {"Right button", "lower the gun"},
      {"F10", "save a screenshot"},
      {"Alt+Enter", "window or full screen"},
  };
  return kKeys;
}

ZHelpPage::ZHelpPage(ZTurkeyGame* owner) : game(owner) {
  if (game == nullptr || game->graphics == nullptr || game->mainWindow == nullptr) return;
  const platform::Rect rect{0, 0, kWidth, kHeight};
  if (Create(game->graphics.get(), game->mainWindow, &rect, 0, 0) == 0) return;
  built = Render() ? 1 : 0;
}

ZHelpPage::~ZHelpPage() {
  // The dialog must not go on reading the board that goes with this object.
  SetBackground(nullptr);
}

// --- the picture ---

bool ZHelpPage::Render() {
  if (game == nullptr || !board.Create(game->graphics.get(), kWidth, kHeight)) return false;
  SetBackground(board.GetSurface());
  blocks.clear();
  board.Plate(kPlate, kTitle, 30);
  board.Panel(kPanel);
  const int32_t top = kPanel.top + kPanelMargin - 4;
  const int32_t middle = (kPanel.left + kPanel.right) / 2;
  Column(LeftColumn(), kPanel.left + kPanelMargin, middle - kColumnGap / 2, top);
  const int32_t rightBottom = Column(RightColumn(), middle + kColumnGap / 2, kPanel.right - kPanelMargin, top);
  KeyTable(middle + kColumnGap / 2, kPanel.right - kPanelMargin, rightBottom);
  ZBoardPicture::Lettering hint;
  hint.height = 18;
  hint.bold = true;
  hint.color = ZBoardPicture::kCream;
  hint.shadow = true;
  hint.format = platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE;
  board.Text(kHint, kHintRect, hint);
  blocks.push_back(kHintRect);
  return true;
}

int32_t ZHelpPage::Column(const std::vector<Section>& sections, int32_t left, int32_t right, int32_t top) {
  int32_t y = top;
  for (const Section& s : sections) {
    const platform::Rect head{left, y, right, y + kHeadingHeight + 2};
    board.Text(s.heading, head, Heading());
    blocks.push_back(head);
    y = head.bottom;
    const platform::Rect measure{left, y, right, kPanel.bottom};
    const int32_t h = board.Measure(s.text, measure, Body());
    const platform::Rect text{left, y, right, y + h};
    board.Text(s.text, text, Body());
    blocks.push_back(text);
    y = text.bottom + kSectionGap;
  }
  return y;
}

int32_t ZHelpPage::KeyTable(int32_t left, int32_t right, int32_t top) {
  const platform::Rect head{left, top, right, top + kHeadingHeight + 2};
  board.Text(kKeysHeading, head, Heading());
  blocks.push_back(head);
  int32_t y = head.bottom;
  ZBoardPicture::Lettering name = Body();
  name.bold = true;
  name.color = ZBoardPicture::kGold;
  for (const Key& k : Keys()) {
    const platform::Rect keyRect{left, y, left + kKeyWidth, y + kTextHeight + 1};
    board.Text(k.key, keyRect, name);
    const platform::Rect measure{left + kKeyWidth, y, right, kPanel.bottom};
    const int32_t h = board.Measure(k.action, measure, Body());
    const platform::Rect action{left + kKeyWidth, y, right, y + std::max(h, kTextHeight + 1)};
    board.Text(k.action, action, Body());
    blocks.push_back(keyRect);
    blocks.push_back(action);
    y = action.bottom;
  }
  return y;
}

// --- showing and closing ---

int32_t ZHelpPage::Open(bool onRelease) {
  if (built == 0) return 0;
  if (open != 0) return 1;
  // Drawn afresh when its memory was lost, so the page never shows blank.
  if (board.IsLost() && !Render()) return 0;
  closeOnRelease = onRelease;
  armedKey = 0;
  armedButton = 0;
  previousFocus = platform::GetFocus();
  open = 1;
  // The keyboard first: a field that loses it draws itself once more (without its caret), and that
  // must happen under the page, not over it.
  SetFocus();
  ShowWindow(platform::SW_SHOW);
  UpdateWindow();
  return 1;
}

void ZHelpPage::Close() {
  if (open == 0) return;
  open = 0;
  ShowWindow(platform::SW_HIDE);
  platform::Window* back = previousFocus;
  previousFocus = nullptr;
  if (platform::IsWindow(back) && back->IsWindowVisible()) back->SetFocus();
}

void ZHelpPage::Dismiss() {
  if (game != nullptr) {
    game->CloseHelp();
  } else {
    Close();
  }
}

// --- messages ---

platform::LRESULT ZHelpPage::WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
  if (open == 0) return ZDialog::WindowProc(message, wParam, lParam);
  switch (message) {
    case platform::WM_KEYDOWN:
      // A key held down since before the page came up repeats; only a fresh press counts.
      if ((static_cast<uint32_t>(lParam) & kRepeatBit) != 0) return 0;
      if (closeOnRelease) {
        armedKey = static_cast<uint32_t>(wParam);
      } else {
        Dismiss();
      }
      return 0;
    case platform::WM_KEYUP:
      if (closeOnRelease && armedKey != 0 && armedKey == wParam) Dismiss();
      return 0;
    case platform::WM_CHAR:
    case platform::WM_HELP:
      return 0;
    case platform::WM_LBUTTONDOWN:
    case platform::WM_RBUTTONDOWN:
      if (closeOnRelease) {
        armedButton = message;
      } else {
        Dismiss();
      }
      return 0;
    case platform::WM_LBUTTONUP:
    case platform::WM_RBUTTONUP:
      // Each button's release follows its press by one message number.
      if (closeOnRelease && armedButton != 0 && armedButton + 1 == message) Dismiss();
      return 0;
    case platform::WM_SYSKEYDOWN:
      // F10 still takes its screenshot of the page.
      if (wParam == platform::VK_F10 && game != nullptr) game->HandleMessage(this, message, wParam, lParam);
      break;
    default:
      break;
  }
  return ZDialog::WindowProc(message, wParam, lParam);
}
