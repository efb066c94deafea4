// ZHuntingWnd: starting and stopping a hunt, the player's input while it runs, and the per-frame step.
#include "game/hunting_wnd.h"

#include <cstdio>
#include <cstdlib>

#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/graphics/palette.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "framework/sound/dx_sound.h"
#include "framework/ui/push_button.h"
#include "game/art_files.h"
#include "game/control_bar.h"
#include "game/gobble_placement.h"
#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/scene.h"
#include "game/shotgun.h"
#include "game/turkey.h"
#include "game/turkey_game.h"
#include "platform/clock.h"
#include "platform/cursor_resource.h"
#include "platform/module.h"
#include "platform/rand.h"
#include "platform/sound.h"
#include "platform/window.h"

using platform::LPARAM;
using platform::LRESULT;
using platform::WPARAM;

namespace {

constexpr const char* kCaption = "Hunting";
// The sprite lists' notice for a rectangle that appeared or changed.
constexpr int kNoticeShown = 4;

// The cursor is shown while the display count is 0 or more. These leave the count at exactly 0 or
// -1, so hunts entered and left any number of times never let it drift.
void ShowTheCursor() {
  int count = platform::ShowCursor(true);
  while (count < 0) count = platform::ShowCursor(true);
  while (count > 0) count = platform::ShowCursor(false);
}

void HideTheCursor() {
  int count = platform::ShowCursor(false);
  while (count >= 0) count = platform::ShowCursor(false);
  while (count < -1) count = platform::ShowCursor(true);
}

}  // namespace

ZHuntingWnd::ZHuntingWnd() : lastGobbleCheck(platform::GetTickCount()) {}

ZHuntingWnd::~ZHuntingWnd() {
  controlBar.reset();
  // The graphics system must not be left pointing at a palette or surfaces that are going.
  if (game != nullptr && game->graphics != nullptr) {
    if (palette != nullptr && game->graphics->GetPalette() == palette.get()) game->graphics->SetPalette(nullptr);
    if (game->mainViewport != nullptr && backgroundSurface != nullptr &&
        game->mainViewport->GetSource() == backgroundSurface.get()) {
      game->mainViewport->Setup(nullptr, nullptr, nullptr, 0, 0);
    }
  }
  backgroundImage.reset();
  backgroundSurface.reset();
}

int32_t ZHuntingWnd::Create(platform::Window* parent, ZTurkeyGame* owner) {
  game = owner;
  mainWindow = parent;
  platform::WindowClass cls;
  cls.style = platform::CS_HREDRAW | platform::CS_VREDRAW;
  cls.cursor = platform::LoadCursor(nullptr, art::kGameCursorId);
  cls.blackBackground = true;
  const platform::Rect rect{0, 0, platform::GetSystemMetrics(platform::SM_CXSCREEN),
                            platform::GetSystemMetrics(platform::SM_CYSCREEN)};
  return CreateEx(0, platform::RegisterWindowClass(cls), kCaption, platform::WS_POPUP, rect, parent, 0) ? 1 : 0;
}

int32_t ZHuntingWnd::AimPressed() const {
  return (controlBar != nullptr && controlBar->aimButton != nullptr && controlBar->aimButton->down != 0) ? 1 : 0;
}

// --- start and stop ---

int32_t ZHuntingWnd::Start() {
  if (game == nullptr || game->hunter == nullptr || game->graphics == nullptr) return 0;
  ZHunter* hunter = game->hunter.get();
  hunter->EquipShotgun();
  if (ZShotgun* gun = hunter->GetWeapon()) gun->ClearResult();
  lastGobbleCheck = platform::GetTickCount();
  shotPending = 0;
  if (LoadView() == 0) {
    // Nothing of a hunt that never began stays behind.
    hunter->DropWeapon();
    return 0;
  }
  if (controlBar == nullptr) {
    controlBar = std::make_unique<ZControlBar>(game->graphics.get(), this, game->controlsSurface.get(),
                                               game->sound.get());
    if (controlBar->IsBuilt() == 0) {
      // A hunt without its calls, gun and way back cannot be played.
      std::fprintf(stderr, "brushfeather: the hunt's control bar cannot be built; back to the menu\n");
      controlBar.reset();
      hunter->DropWeapon();
      return 0;
    }
  }
  active = 1;
  ShowWindow(platform::SW_SHOWNORMAL);
  controlBar->ShowWindow(platform::SW_SHOWNORMAL);
  controlBar->UpdateWindow();
  SetFocus();
  return 1;
}

int32_t ZHuntingWnd::AreaArtReady() const {
  return (game->areaSpriteMap != nullptr && game->areaSpriteMap->GetEntryCount() > 0 && game->areaSurface != nullptr)
             ? 1
             : 0;
}

int32_t ZHuntingWnd::LoadView() {
  ZGraphics* graphics = game->graphics.get();
  // An area whose library was missing, or held no sprite map, has no art to draw the hunt with.
  if (AreaArtReady() == 0) {
    std::fprintf(stderr, "brushfeather: hunt %d has no area art (its sprite map did not load); back to the menu\n",
                 game->areaIndex);
    return 0;
  }
  if (backgroundImage == nullptr) {
    const char* library = art::AreaLibrary(game->areaIndex);
    platform::HMODULE module = library != nullptr ? platform::LoadLibrary(library) : nullptr;
    if (module == nullptr) return 0;
    auto image = std::make_unique<ZImage>();
    const int loaded = image->Load(kBackgroundId, module);
    platform::FreeLibrary(module);
    if (loaded == 0) {
      std::fprintf(stderr, "brushfeather: \"%s\" holds no panorama (bitmap %u); back to the menu\n", library,
                   static_cast<unsigned>(kBackgroundId));
      return 0;
    }
    backgroundImage = std::move(image);
  }
  if (backgroundSurface == nullptr) {
    auto surface = std::make_unique<ZSurface>();
    if (surface->CreateFromImage(graphics, backgroundImage.get(), 1) == 0) return 0;
    backgroundSurface = std::move(surface);
  }
  if (ZViewport* view = game->mainViewport.get()) {
    const platform::Rect rect{0, 0, kViewWidth, kViewHeight};
    view->Setup(backgroundSurface.get(), graphics->GetBackSurface(), &rect, kStartScrollX, kStartScrollY);
    view->wrapHorizontally = 1;
  }
  auto next = std::make_unique<ZPalette>();
  next->CreateFromSpriteMap(game->areaSpriteMap.get());
  graphics->SetPalette(next.get());
  palette = std::move(next);
  if (game->scene != nullptr) {
    game->scene->BuildScenery(graphics, game->areaSurface.get(), backgroundSurface.get());
  }
  const platform::Rect whole{0, 0, kViewWidth, kViewHeight};
  game->worldSprites.GetNotifier()->Notify(nullptr, kNoticeShown, &whole, nullptr);
  return 1;
}

int32_t ZHuntingWnd::Stop() {
  ShowWindow(platform::SW_HIDE);
  active = 0;
  if (game != nullptr && game->hunter != nullptr) game->hunter->DropWeapon();
  ShowTheCursor();
  platform::ClipCursor(nullptr);
  if (AimPressed() != 0) controlBar->aimButton->SetDown(0);
  if (game != nullptr) {
    // The birds let go of their pictures before the list that holds them is emptied.
    if (game->map != nullptr) game->map->DropSprites();
    game->worldSprites.DeleteAll();
    // The view must not go on reading a panorama that is about to go.
    if (game->mainViewport != nullptr && backgroundSurface != nullptr &&
        game->mainViewport->GetSource() == backgroundSurface.get()) {
      game->mainViewport->Setup(nullptr, nullptr, nullptr, 0, 0);
    }
  }
  backgroundSurface.reset();
  backgroundImage.reset();
  if (controlBar != nullptr) controlBar->ShowWindow(platform::SW_HIDE);
  return 1;
}

// --- input ---

LRESULT ZHuntingWnd::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (active == 0 || game == nullptr) return DefWindowProc(message, wParam, lParam);
  ZHunter* hunter = game->hunter.get();
  switch (message) {
    case platform::WM_PAINT: {
      platform::Rect update;
      if (GetUpdateRect(&update)) ValidateRect(&update);
      return 0;
    }
    case platform::WM_ERASEBKGND:
      return 1;
    case platform::WM_ACTIVATEAPP:
      // The game handles activation for the whole program.
      platform::SendMessage(mainWindow, message, wParam, lParam);
      return 0;
    case platform::WM_NOTIFY: {
      const auto* header = reinterpret_cast<const platform::NotifyHeader*>(lParam);
      // With a bird down the game is on its way to the trophy room: the bar is ignored.
      if (header != nullptr && header->code == platform::NM_CLICK && game->baggedBird == nullptr) {
        if (header->idFrom == ZControlBar::kAimId) {
          OnClick(ZControlBar::kAimId);
          return 0;
        }
        OnClick(static_cast<uint32_t>(header->idFrom));
      }
      break;
    }
    case platform::WM_KEYDOWN:
      if (wParam == platform::VK_ESCAPE) {
        if (AimPressed() != 0) {
          if (hunter != nullptr && hunter->WeaponAiming() != 0) LowerGun(true);
        } else {
          game->SetState(ZTurkeyGame::MainMenu);
        }
      }
      break;
    case platform::WM_SYSKEYDOWN:
      if (wParam == platform::VK_F10) game->HandleMessage(this, message, wParam, lParam);
      break;
    case platform::WM_MOUSEMOVE:
      // The pointer is over the view, so no button of the bar is under it: one it left in a single
      // jump must not stay lit (nor the aim button light up again when the gun is lowered).
      if (controlBar != nullptr && controlBar->GetFocusControl() != nullptr) {
        platform::SendMessage(controlBar.get(), platform::WM_KILLFOCUS, reinterpret_cast<WPARAM>(this), 0);
      }
      if (AimPressed() != 0) MouseLook(platform::LParamX(lParam), platform::LParamY(lParam));
      break;
    case platform::WM_LBUTTONDOWN:
      if (AimPressed() != 0 && hunter != nullptr && hunter->WeaponAiming() != 0 && game->baggedBird == nullptr) {
        hunter->Fire();
        shotPending = 1;
      }
      break;
    case platform::WM_RBUTTONUP:
      if (AimPressed() != 0 && hunter != nullptr && hunter->WeaponAiming() != 0) LowerGun(false);
      break;
    default:
      break;
  }
  return DefWindowProc(message, wParam, lParam);
}

void ZHuntingWnd::OnClick(uint32_t id) {
  ZHunter* hunter = game->hunter.get();
  switch (id) {
    case ZControlBar::kReturnId:
      game->SetState(ZTurkeyGame::MainMenu);
      break;
    case ZControlBar::kAimId:
      if (AimPressed() == 0) break;
      HideTheCursor();
      if (game->mainViewport != nullptr) {
        platform::Rect view;
        game->mainViewport->GetViewRect(&view);
        platform::ClipCursor(&view);
      }
      platform::SetCursorPos(kAimX, kAimY);
      if (hunter != nullptr && hunter->WeaponDown() != 0) hunter->RaiseWeapon();
      break;
    case ZControlBar::kCall1Id:
      PlayCall(kSoundCall1);
      if (hunter != nullptr) hunter->UseCall1();
      break;
    case ZControlBar::kCall2Id:
      PlayCall(kSoundCall2);
      if (hunter != nullptr) hunter->UseCall2();
      break;
    default:
      break;
  }
}

void ZHuntingWnd::PlayCall(int32_t soundId) {
  ZDXSound* sound = game->sound.get();
  if (sound == nullptr) return;
  sound->Stop(soundId);
  sound->SetPosition(soundId, 0);
  sound->SetFrequency(soundId, 0);
  sound->Play(soundId, 0);
}

void ZHuntingWnd::LowerGun(bool unpressFirst) {
  ShowTheCursor();
  platform::ClipCursor(nullptr);
  ZPushButton* aim = controlBar != nullptr ? controlBar->aimButton.get() : nullptr;
  if (unpressFirst && aim != nullptr) aim->SetDown(0);
  if (game->hunter != nullptr) game->hunter->LowerWeapon();
  if (!unpressFirst && aim != nullptr) aim->SetDown(0);
}

void ZHuntingWnd::MouseLook(int32_t x, int32_t y) {
  const int32_t dx = x - kAimX;
  const int32_t dy = y - kAimY;
  game->lookDX += dx;
  game->lookDY += dy;
  if (game->hunter != nullptr) game->hunter->viewMovement = std::abs(dy) + std::abs(dx);
  platform::SetCursorPos(kAimX, kAimY);
}

// --- the frame step ---

int32_t ZHuntingWnd::Playing(int32_t soundId) const {
  uint32_t status = 0;
  if (game->sound == nullptr) return 0;
  game->sound->GetStatus(soundId, &status);
  return (status & platform::DSBSTATUS_PLAYING) != 0 ? 1 : 0;
}

void ZHuntingWnd::Gobble(const ZTurkey* bird, int32_t coin) {
  if (game->sound == nullptr) return;
  const int32_t d = static_cast<int32_t>(bird->DistanceToHunter());
  PlayGobble(game, bird->position, coin == 0 ? kSoundGobble1 : kSoundGobble2, -2 * d);
}

void ZHuntingWnd::FrameStep() {
  if (active == 0 || game == nullptr) return;
  ZHuntingMap* map = game->map.get();
  if (map != nullptr) {
    ZTurkey* b = map->NearestBird();
    const bool nearBird = map->birdNear != 0 && b != nullptr && b->IsDown() == 0;
    // A bird answers a call while the call is heard and no gobble is: the coin, then the 1-in-200 draw.
    if (nearBird && (Playing(kSoundCall1) != 0 || Playing(kSoundCall2) != 0) && Playing(kSoundGobble1) == 0 &&
        Playing(kSoundGobble2) == 0) {
      const int32_t coin = platform::rand() % 2;
      if (platform::rand() % 1000 < 5) Gobble(b, coin);
    }
    // Now and then a near bird gobbles on its own: the 15 % draw, then the coin.
    const uint32_t now = platform::GetTickCount();
    if (nearBird && now - lastGobbleCheck > kGobbleCheckMs) {
      lastGobbleCheck = now;
      if (platform::rand() % 100 < 15 && Playing(kSoundGobble1) == 0 && Playing(kSoundGobble2) == 0) {
        Gobble(b, platform::rand() % 2);
      }
    }
  }

  if (AimPressed() == 0 || shotPending != 1 || game->hunter == nullptr) return;
  ZShotgun* gun = game->hunter->GetWeapon();
  if (gun == nullptr) return;
  if (gun->resultKind < 0) {
    if (gun->inFlight == 0) shotPending = 0;  // it struck nothing
    return;
  }
  if (gun->resultKind == 0) {
    if (ZDXSound* sound = game->sound.get()) {
      sound->Stop(kSoundImpact);
      sound->SetPosition(kSoundImpact, 0);
      sound->PlayAdjusted(kSoundImpact, ZDXSound::kAdjustVolume, -2 * gun->resultDistance, 0);
    }
  } else if (map != nullptr) {
    map->HitTest(gun->struckSprite, gun->resultX, gun->resultY);
  }
  shotPending = 0;
  gun->ClearResult();
}
