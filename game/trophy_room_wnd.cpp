// ZTrophyRoomWnd: ranking a bagged bird into the profile's five places, drawing the room, its buttons and keys.
#include "game/trophy_room_wnd.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>

#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/graphics/palette.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "framework/ui/button.h"
#include "game/art_files.h"
#include "game/confirm_dialog.h"
#include "game/control_art.h"
#include "game/hunting_map.h"
#include "game/turkey.h"
#include "game/turkey_game.h"
#include "platform/clock.h"
#include "platform/module.h"
#include "platform/profile.h"
#include "platform/surface.h"
#include "platform/text.h"
#include "platform/window.h"

Z_IMPLEMENT_CLASS(ZTrophyRoomWnd, ZWnd)

using platform::LPARAM;
using platform::LRESULT;
using platform::WPARAM;

namespace {

constexpr const char* kCaption = "Trophy Room";
constexpr const char* kSections[ZTrophyRoomWnd::kPlaces] = {"First", "Second", "Third", "Fourth", "Fifth"};
constexpr const char* kNameKey = "Name";
constexpr const char* kWeightKey = "Weight";
constexpr const char* kTypeKey = "Type";
constexpr const char* kTimeKey = "Time";
constexpr const char* kSubspecies[5] = {
    "Florida Wild Turkey in the Southeast location on ",
    "Gould's Wild Turkey in the Mexico location on ",
    "Merriam's Wild Turkey in the Colorado location on ",
    "Eastern Wild Turkey in the Eastern woodlands location on ",
    "Rio Grande Wild Turkey in the Southwest location on ",
};
constexpr const char* kDateFormat = "%B %d, %Y at %H:%M\n\r";
constexpr size_t kDateBytes = 128;  // at most 127 characters of date
constexpr int32_t kViewWidth = 640;
constexpr int32_t kViewHeight = 480;
// The buttons' bottom edges, the reset button's left edge and the leave button's right edge.
constexpr int32_t kButtonBottom = 475;
constexpr int32_t kResetLeft = 5;
constexpr int32_t kLeaveRight = 635;

// The name as far as it can ever show, cut before a UTF-8 continuation byte so no character is split.
std::string ShownName(const std::string& name) {
  if (name.size() <= ZTrophyRoomWnd::kMaxNameBytes) return name;
  size_t end = ZTrophyRoomWnd::kMaxNameBytes;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  return name.substr(0, end);
}

void WriteRecord(platform::ProfileBatch* batch, const char* section, const ZTrophyRecord& r) {
  batch->WriteString(section, kNameKey, r.name);
  batch->WriteInt(section, kWeightKey, r.weight);
  batch->WriteInt(section, kTypeKey, r.type);
  batch->WriteInt(section, kTimeKey, r.time);
}

// A control of the room: the sprite placed by its frame's size, in a button with the game's sounds.
std::unique_ptr<ZButton> MakeRoomButton(ZTurkeyGame* game, platform::Window* parent, int32_t spriteId, uint32_t id,
                                        bool alignRight) {
  // Placed before the view is attached: until the room sets the view up, its source may be the
  // menu's picture that the game has already let go.
  std::unique_ptr<ZSprite> sprite =
      MakeControlSprite(game->graphics.get(), game->controlsSurface.get(), nullptr, spriteId, 0, 0);
  if (sprite == nullptr || sprite->GetCurrentFrame() == nullptr) return nullptr;
  const int32_t w = sprite->GetCurrentFrame()->Width();
  const int32_t h = sprite->GetCurrentFrame()->Height();
  sprite->SetPosition(alignRight ? kLeaveRight - w : kResetLeft, kButtonBottom - h);
  sprite->SetTargets(game->graphics->GetFrontSurface(), game->mainViewport.get());
  auto button = std::make_unique<ZButton>();
  button->pixelHitTest = 0;
  if (button->Create(game->graphics.get(), ZTrophyRoomWnd::kButtonMask, std::move(sprite), parent, id,
                     game->sound.get()) == 0) {
    return nullptr;
  }
  button->SetStateSound(ZButton::kStatePressed, art::kSoundButtonPressed);
  button->SetStateSound(ZButton::kStateHighlighted, art::kSoundButtonHighlighted);
  return button;
}

}  // namespace

ZTrophyRoomWnd::ZTrophyRoomWnd() = default;

ZTrophyRoomWnd::~ZTrophyRoomWnd() {
  ReleaseBackground();
  leaveButton.reset();
  resetButton.reset();
  // The graphics system must not be left holding a palette that is going.
  if (game != nullptr && game->graphics != nullptr && palette != nullptr &&
      game->graphics->GetPalette() == palette.get()) {
    game->graphics->SetPalette(nullptr);
  }
  palette.reset();
  DestroyWindow();
}

// --- the records ---

const char* ZTrophyRoomWnd::SectionName(int32_t rank) {
  return (rank >= 0 && rank < kPlaces) ? kSections[rank] : nullptr;
}

const char* ZTrophyRoomWnd::SubspeciesText(int32_t type) { return (type >= 0 && type <= 4) ? kSubspecies[type] : ""; }

ZTrophyRecord ZTrophyRoomWnd::ReadTrophy(int32_t rank) {
  ZTrophyRecord r;
  const char* section = SectionName(rank);
  if (section == nullptr) return r;
  r.name = platform::GetProfileString(section, kNameKey, "");
  r.weight = platform::GetProfileInt(section, kWeightKey, 0);
  r.type = platform::GetProfileInt(section, kTypeKey, 0);
  r.time = platform::GetProfileInt(section, kTimeKey, 0);
  return r;
}

bool ZTrophyRoomWnd::FormatTrophyDate(int64_t seconds, std::string* out) {
  out->clear();
  if (seconds < std::numeric_limits<std::time_t>::min() || seconds > std::numeric_limits<std::time_t>::max()) {
    return false;
  }
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) return false;
  char buffer[kDateBytes];
  const size_t n = std::strftime(buffer, sizeof(buffer), kDateFormat, &local);
  if (n == 0) return false;
  out->assign(buffer, n);
  return true;
}

std::string ZTrophyRoomWnd::TrophyLine(const ZTrophyRecord& record) {
  char weight[48];
  std::snprintf(weight, sizeof(weight), " shot a %d lb. ", record.weight);
  std::string date;
  // The stored time is a 32-bit count that the game writes as it is; read as unsigned it keeps
  // records made after January 2038 in their right year rather than before 1970.
  FormatTrophyDate(static_cast<int64_t>(static_cast<uint32_t>(record.time)), &date);
  return ShownName(record.name) + weight + SubspeciesText(record.type) + date;
}

int32_t ZTrophyRoomWnd::RecordTrophy() {
  if (game == nullptr || game->baggedBird == nullptr) return 0;
  const int64_t calendar = platform::CalendarTime();
  // Time 0 marks an empty place, so a clock at (or before) 1970 must not make the bird vanish.
  const uint32_t now = static_cast<uint32_t>(std::clamp<int64_t>(calendar, 1, std::numeric_limits<uint32_t>::max()));
  ZTrophyRecord bird;
  bird.name = game->playerName;
  bird.weight = game->baggedBird->weight;
  bird.type = game->baggedBird->subspecies;
  bird.time = static_cast<int32_t>(now);

  ZTrophyRecord places[kPlaces];
  for (int32_t i = 0; i < kPlaces; ++i) places[i] = ReadTrophy(i);
  // The first place the bird is at least as heavy as; a tie puts it above the older bird. An empty
  // place takes any bird, whatever weight a damaged profile left in it.
  int32_t k = 0;
  while (k < kPlaces && !places[k].Empty() && places[k].weight > bird.weight) ++k;
  if (k == kPlaces) return 0;

  // The new bird and every place it pushes down go in one save: a crash or a full disk leaves the
  // old list or the new one, never a bird in two places or one lost between them.
  platform::ProfileBatch batch;
  WriteRecord(&batch, kSections[k], bird);
  for (int32_t i = k; i < kPlaces - 1; ++i) WriteRecord(&batch, kSections[i + 1], places[i]);
  if (!batch.Commit()) return 0;
  highlightedRank = k + 1;
  if (IsCreated()) UpdateWindow();
  return 1;
}

int32_t ZTrophyRoomWnd::ResetTrophies() {
  platform::ProfileBatch batch;
  for (const char* section : kSections) WriteRecord(&batch, section, ZTrophyRecord{});
  return batch.Commit() ? 1 : 0;
}

// --- the window ---

int32_t ZTrophyRoomWnd::Create(platform::Window* parentWindow, ZTurkeyGame* owner) {
  parent = parentWindow;
  game = owner;
  platform::WindowClass cls;
  cls.style = platform::CS_HREDRAW | platform::CS_VREDRAW;
  cls.cursor = gameCursor;
  const platform::Rect rect{0, 0, platform::GetSystemMetrics(platform::SM_CXSCREEN),
                            platform::GetSystemMetrics(platform::SM_CYSCREEN)};
  if (!CreateEx(0, platform::RegisterWindowClass(cls), kCaption, platform::WS_POPUP, rect, parent, 0)) return 0;
  if (game != nullptr && game->graphics != nullptr) {
    resetButton = MakeRoomButton(game, this, kResetSprite, kResetButtonId, false);
    leaveButton = MakeRoomButton(game, this, kLeaveSprite, kLeaveButtonId, true);
  }
  if (resetButton == nullptr || leaveButton == nullptr) {
    std::fprintf(stderr, "brushfeather: the trophy room's buttons cannot be made from the controls' art; Esc leaves it\n");
  }
  return 1;
}

int32_t ZTrophyRoomWnd::Show() {
  if (!IsCreated()) return 0;
  shown = 1;
  ShowWindow(platform::SW_SHOW);
  if (LoadBackground() == 0) return 0;
  PaintTrophies();
  if (ZSurface* front = game->graphics->GetFrontSurface()) front->Flip();
  for (ZButton* button : {resetButton.get(), leaveButton.get()}) {
    if (button == nullptr) continue;
    button->ShowWindow(platform::SW_SHOW);
    if (button->state == ZButton::kStateNone) button->SetState(ZButton::kStateNormal);
    button->UpdateWindow();
  }
  SetFocus();
  return 1;
}

void ZTrophyRoomWnd::Hide() {
  // A question still up goes unanswered, as a dialog does when the application loses the focus.
  if (resetQuestion != nullptr && resetQuestion->running != 0) {
    platform::SendMessage(resetQuestion, platform::WM_ACTIVATEAPP, 0, 0);
  }
  ShowWindow(platform::SW_HIDE);
  shown = 0;
  for (ZButton* button : {resetButton.get(), leaveButton.get()}) {
    if (button == nullptr) continue;
    // The next visit starts with both buttons plain, not with the look of the click that left.
    button->SetState(ZButton::kStateNone);
    button->hot = 0;
    button->armed = 0;
    button->ShowWindow(platform::SW_HIDE);
  }
  ReleaseBackground();
}

int32_t ZTrophyRoomWnd::LoadBackground() {
  if (game == nullptr || game->graphics == nullptr) return 0;
  ZGraphics* graphics = game->graphics.get();
  if (backgroundImage == nullptr && backgroundSurface == nullptr) {
    auto image = std::make_unique<ZImage>();
    // A damaged bitmap leaves the image a blank 16 x 16; the room needs its whole frame.
    if (image->Load(art::kTrophyFrameBitmapId, platform::GetOwnModule()) == 0 || image->GetWidth() < kViewWidth ||
        image->GetHeight() < kViewHeight) {
      std::fprintf(stderr, "brushfeather: the trophy room's picture (bitmap %u) is missing or damaged\n",
                   static_cast<unsigned>(art::kTrophyFrameBitmapId));
      return 0;
    }
    backgroundImage = std::move(image);
  }
  if (backgroundSurface == nullptr) {
    auto surface = std::make_unique<ZSurface>();
    if (surface->CreateFromImage(graphics, backgroundImage.get(), 1) == 0) {
      backgroundImage.reset();
      return 0;
    }
    backgroundSurface = std::move(surface);
  }
  if (backgroundImage != nullptr) {
    auto next = std::make_unique<ZPalette>();
    next->CreateFromImage(backgroundImage.get());
    game->ClearScreens();
    graphics->SetPalette(next.get());
    palette = std::move(next);
    backgroundImage.reset();  // the surface keeps the pixels
  }
  if (ZViewport* view = game->mainViewport.get()) {
    const platform::Rect rect{0, 0, kViewWidth, kViewHeight};
    view->Setup(backgroundSurface.get(), graphics->GetBackSurface(), &rect, 0, 0);
    // A hunt leaves the view wrapping round its panorama; the room is one still picture.
    view->wrapHorizontally = 0;
    view->wrapVertically = 0;
  }
  return 1;
}

void ZTrophyRoomWnd::EmptySpriteList() {
  if (game == nullptr) return;
  if (game->map != nullptr) game->map->DropSprites();
  game->worldSprites.DeleteAll();
}

void ZTrophyRoomWnd::ReleaseBackground() {
  EmptySpriteList();
  // The view must not go on reading a surface that is about to go.
  if (game != nullptr && game->mainViewport != nullptr) game->mainViewport->ForgetSource(backgroundSurface.get());
  backgroundSurface.reset();
  backgroundImage.reset();
}

// --- drawing ---

int32_t ZTrophyRoomWnd::PaintTrophies() {
  if (game == nullptr || game->graphics == nullptr) return 0;
  if (game->mainViewport != nullptr) game->mainViewport->Draw();
  ZSurface* back = game->graphics->GetBackSurface();
  if (back == nullptr) return 0;
  platform::DeviceContext dc;
  if (platform::Failed(back->GetDC(&dc))) return 0;
  platform::SetBkMode(&dc, platform::TRANSPARENT);
  std::unique_ptr<platform::Font> font =
      platform::CreateFont(14, 0, 0, 0, platform::FW_NORMAL, false, false, false, platform::DEFAULT_CHARSET,
                           platform::OUT_DEFAULT_PRECIS, platform::CLIP_DEFAULT_PRECIS, platform::PROOF_QUALITY,
                           platform::DEFAULT_PITCH, "Times");
  platform::Font* oldFont = platform::SelectObject(&dc, font.get());
  bool held = true;
  bool empty = true;
  for (int32_t rank = 0; rank < kPlaces && held; ++rank) {
    const platform::Point picture{kFirstPicture.x, kFirstPicture.y + rank * kPlaceSpacing};
    const platform::Point text{kFirstText.x, kFirstText.y + rank * kPlaceSpacing};
    empty = empty && ReadTrophy(rank).Empty();
    held = DrawTrophy(&dc, rank, picture, text);
  }
  if (held && empty) DrawEmptyLine(&dc);
  if (held) {
    platform::SelectObject(&dc, oldFont);
    back->ReleaseDC(&dc);
  }
  highlightedRank = -1;  // the new entry is green on one paint only
  return 1;
}

bool ZTrophyRoomWnd::DrawTrophy(platform::DeviceContext* dc, int32_t rank, platform::Point picture,
                                platform::Point text) {
  if (dc == nullptr || game == nullptr || game->graphics == nullptr) return false;
  const ZTrophyRecord record = ReadTrophy(rank);
  if (record.Empty()) return true;
  const std::string line = TrophyLine(record);
  ZSurface* back = game->graphics->GetBackSurface();

  // The drawing context holds the back surface, which the picture's blit needs free: let it go for
  // the picture and take it back with the same font and mode for the text.
  const platform::DeviceContext saved = *dc;
  back->ReleaseDC(dc);
  std::unique_ptr<ZSprite> sprite =
      MakeControlSprite(game->graphics.get(), game->controlsSurface.get(), nullptr, kPictureSprite, picture.x, picture.y);
  // A type without a picture of its own shows none rather than another subspecies' bird.
  if (sprite != nullptr && sprite->SetFrame(record.type) != 0) {
    sprite->SetTargets(back, nullptr);
    sprite->SetPosition(picture.x, picture.y);
    sprite->DrawSelf();
  }
  sprite.reset();
  if (platform::Failed(back->GetDC(dc))) return false;
  dc->font = saved.font;
  dc->bkMode = saved.bkMode;
  dc->bkColor = saved.bkColor;

  platform::Rect r{text.x, text.y, text.x + kTextWidth, text.y + kTextHeight};
  platform::SetTextColor(dc, kShadowColor);
  platform::DrawText(dc, line, &r, platform::DT_WORDBREAK);
  platform::OffsetRect(&r, 1, 1);
  platform::SetTextColor(dc, rank + 1 == highlightedRank ? kNewEntryColor : kEntryColor);
  platform::DrawText(dc, line, &r, platform::DT_WORDBREAK);
  return true;
}

void ZTrophyRoomWnd::DrawEmptyLine(platform::DeviceContext* dc) {
  std::unique_ptr<platform::Font> font =
      platform::CreateFont(kEmptyLineHeight, 0, 0, 0, platform::FW_NORMAL, false, false, false,
                           platform::DEFAULT_CHARSET, platform::OUT_DEFAULT_PRECIS, platform::CLIP_DEFAULT_PRECIS,
                           platform::PROOF_QUALITY, platform::DEFAULT_PITCH, "Times");
  platform::Font* old = platform::SelectObject(dc, font.get());
  // As every line of the room: a black copy, then the yellow one a pixel down and right.
  platform::Rect r = kEmptyLineRect;
  const uint32_t format = platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE;
  platform::SetTextColor(dc, kShadowColor);
  platform::DrawText(dc, kEmptyLine, &r, format);
  platform::OffsetRect(&r, 1, 1);
  platform::SetTextColor(dc, kEntryColor);
  platform::DrawText(dc, kEmptyLine, &r, format);
  platform::SelectObject(dc, old);
}

// --- messages ---

void ZTrophyRoomWnd::LeaveRoom() {
  if (game != nullptr) game->SetState(ZTurkeyGame::MainMenu);
}

void ZTrophyRoomWnd::OnResetClicked() {
  if (game == nullptr || resetQuestion != nullptr) return;
  ZConfirmDialog question(game, this, kResetQuestion);
  if (question.IsBuilt() == 0) {
    // Without the question nothing is erased: the records are worth more than the button.
    std::fprintf(stderr, "brushfeather: the reset question cannot be made from the controls' art; nothing is erased\n");
    return;
  }
  resetQuestion = &question;
  const int32_t answer = question.DoModal();
  resetQuestion = nullptr;
  // The room may have been left while it asked (the application lost the focus): nothing to draw on.
  if (shown != 1) return;
  if (answer == ZDialog::kResultOk) {
    OnReset();
  } else {
    Redraw();
  }
}

void ZTrophyRoomWnd::OnReset() {
  ResetTrophies();
  Redraw();
}

void ZTrophyRoomWnd::Redraw() {
  EmptySpriteList();
  PaintTrophies();
  if (game != nullptr && game->graphics != nullptr) {
    if (ZSurface* front = game->graphics->GetFrontSurface()) front->Flip();
  }
  if (resetButton != nullptr) resetButton->Draw();
  if (leaveButton != nullptr) leaveButton->Draw();
}

LRESULT ZTrophyRoomWnd::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (shown != 1) return DefWindowProc(message, wParam, lParam);
  switch (message) {
    case platform::WM_PAINT:
      // The room is drawn by PaintTrophies, never through paint messages.
      ValidateRect(nullptr);
      return 0;
    case platform::WM_ERASEBKGND:
      return 1;
    case platform::WM_NOTIFY: {
      const auto* header = reinterpret_cast<const platform::NotifyHeader*>(lParam);
      if (header != nullptr && header->code == platform::NM_CLICK) {
        if (wParam == kResetButtonId) {
          OnResetClicked();
        } else if (wParam == kLeaveButtonId) {
          LeaveRoom();
        }
      }
      break;
    }
    case platform::WM_KEYDOWN:
      if (wParam == platform::VK_ESCAPE) LeaveRoom();
      break;
    case platform::WM_SYSKEYDOWN:
      // F10, the screenshot key, belongs to the game.
      if (wParam == platform::VK_F10 && game != nullptr) game->HandleMessage(this, message, wParam, lParam);
      break;
    case platform::WM_MOUSEMOVE:
      // Over the bare room: neither button stays highlighted.
      for (ZButton* button : {resetButton.get(), leaveButton.get()}) {
        if (button != nullptr) {
          platform::SendMessage(button, platform::WM_KILLFOCUS, reinterpret_cast<WPARAM>(this), 0);
        }
      }
      SetFocus();
      break;
    default:
      break;
  }
  return DefWindowProc(message, wParam, lParam);
}
