// ZTurkeyGame: the loop, the per-state work, the state table, message handling and clean-up.
#include "game/turkey_game.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "framework/core/graphics_info.h"
#include "framework/core/system.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/graphics/palette.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "framework/sound/dx_sound.h"
#include "framework/ui/button.h"
#include "game/art_files.h"
#include "game/art_report.h"
#include "game/help_page.h"
#include "game/hunt_setup_dialog.h"
#include "game/hunter.h"
#include "game/hunting_map.h"
#include "game/hunting_wnd.h"
#include "game/scene.h"
#include "game/trophy_room_wnd.h"
#include "game/turkey.h"
#include "game/turkey_wnd.h"
#include "platform/clock.h"
#include "platform/module.h"
#include "platform/rand.h"
#include "platform/wait.h"
#include "platform/window.h"

Z_IMPLEMENT_CLASS(ZTurkeyGame, ZGame)

ZTurkeyGame* theGame = nullptr;
std::unique_ptr<ZSpriteMap> birdSpriteMap;
std::unique_ptr<ZSurface> birdSurface;
const platform::Cursor* gameCursor = nullptr;

namespace {
constexpr uint32_t kStartingMinimumMs = 500;
constexpr uint32_t kAmbientIntervalMs = 5000;
constexpr int32_t kAmbientLoopVolume = -1250;
constexpr int32_t kExitButtonId = 4;
constexpr int32_t kTrophyButtonId = 12;
constexpr int32_t kHuntButtonId = 14;
constexpr int32_t kButtonNone = 0;
constexpr int32_t kButtonNormal = 2;
constexpr const char* kAreaArtMissing = "the hunt has no area art";
}  // namespace

const char* ZTurkeyGame::StateName(int32_t value) {
  switch (value) {
    case Starting: return "Starting";
    case StartupDone: return "StartupDone";
    case Initializing: return "Initializing";
    case MainMenu: return "MainMenu";
    case TrophyRoom: return "TrophyRoom";
    case Hunting: return "Hunting";
    case EnteringHunt: return "EnteringHunt";
    case Exiting: return "Exiting";
    case Inactive: return "Inactive";
    default: return "Unknown";
  }
}

ZTurkeyGame::ZTurkeyGame() {
  platform::srand(static_cast<uint32_t>(platform::CalendarTime()));
  lastAmbientTick = platform::GetTickCount();
  areaSpriteMap = std::make_unique<ZSpriteMap>();
  LoadProfile();
}

ZTurkeyGame::~ZTurkeyGame() {
  // Cleanup has normally released everything but the sound system and the system description; after
  // a failed set-up it has not, so what remains goes here, users before what they use.
  ReleaseObjects();
  sound.reset();
  systemInfo.reset();
  if (theGame == this) {
    FreeBirdArt();
    theGame = nullptr;
  }
}

// --- the loop ---

int32_t ZTurkeyGame::Run() {
  StartLoop();
  while (running == 1) LoopPass();
  return exitCode;
}

void ZTurkeyGame::StartLoop() {
  timer.Reset();
  platform::WakeNow();  // the first pass starts the game without waiting for input
}

void ZTurkeyGame::LoopPass() {
  PumpMessage();
  Tick();
  if (cleanupDue != 0) {
    cleanupDue = 0;
    Cleanup();
  }
  if (frameClockOn == 1 && graphics != nullptr && graphics->GetMainViewport() != nullptr) {
    // The flag is the previous pass's verdict: the frame follows the tick that found it due.
    if (timer.frameDue != 0 && state == Hunting) DrawHuntFrame();
    timer.Tick();
  } else {
    timer.Reset();
  }
  AskToWake();
}

void ZTurkeyGame::AskToWake() const {
  switch (state) {
    case Starting:
      if (startingDone != 0) {
        platform::WakeBy(stateStartTick + kStartingMinimumMs + 1);  // "more than 500 ms"
        return;
      }
      break;
    case MainMenu:
      if (menuReady != 0) return;
      break;
    case TrophyRoom:
      if (trophyRoomReady != 0) return;
      break;
    case Hunting:
      if (frameClockOn == 1 && graphics != nullptr && graphics->GetMainViewport() != nullptr) {
        // A frame found due is drawn in the very next pass; otherwise the timer knows when.
        if (timer.frameDue == 0) {
          platform::WakeBy(timer.nextTime);
          return;
        }
      }
      break;
    case Inactive:
    case Exiting:
      return;  // waiting for the host, or for the messages already queued
    default:
      break;
  }
  platform::WakeNow();
}

void ZTurkeyGame::PumpMessage() {
  platform::Msg msg;
  if (!platform::PeekMessage(&msg, nullptr, 0, 0, platform::PM_NOREMOVE)) return;
  if (platform::GetMessage(&msg, nullptr, 0, 0) == 0) {
    running = 0;
    exitCode = static_cast<int32_t>(msg.wParam);
  }
  platform::TranslateMessage(&msg);
  platform::DispatchMessage(&msg);
}

void ZTurkeyGame::DrawHuntFrame() {
  PlayAmbientSounds();
  ScrollView();
  graphics->Flush();
  if (huntingWindow != nullptr) huntingWindow->FrameStep();
  if (map != nullptr) map->Update(0);
  if (ZSurface* front = graphics->GetFrontSurface()) front->Flip();
}

// --- the per-state work ---

void ZTurkeyGame::Tick() {
  if (closed != 0) return;  // the window is gone: no state's work is left to do
  switch (state) {
    case Starting:
      if (startingDone == 0) {
        systemInfo = std::make_unique<ZSystem>();
        systemInfo->Describe();
        startingDone = 1;
        stateStartTick = platform::GetTickCount();
      } else if (platform::GetTickCount() - stateStartTick > kStartingMinimumMs) {
        SetState(StartupDone);
      }
      break;
    case StartupDone:
      SetState(Initializing);
      break;
    case Initializing:
      Initialize();
      break;
    case MainMenu:
      if (menuReady == 0) BuildMenu();
      break;
    case TrophyRoom:
      if (trophyRoomReady == 0) {
        if (trophyRoom == nullptr) {
          trophyRoom = std::make_unique<ZTrophyRoomWnd>();
          trophyRoom->Create(mainWindow, this);
        }
        if (baggedBird != nullptr) trophyRoom->RecordTrophy();
        // The offer is made once: the bird belongs to the hunt, which may be gone by the next visit.
        baggedBird = nullptr;
        if (trophyRoom->Show() == 0) {
          SetState(MainMenu);
          break;
        }
        trophyRoomReady = 1;
      }
      break;
    case Hunting:
      CheckBaggedBird();
      break;
    case EnteringHunt:
      if (enteringHuntDone == 0) {
        ClearScreens();
        if (huntingWindow == nullptr) {
          huntingWindow = std::make_unique<ZHuntingWnd>();
          huntingWindow->Create(mainWindow, this);
        }
        if (huntingWindow->Start() == 0) {
          SetState(MainMenu);
          break;
        }
        enteringHuntDone = 1;
        SetState(Hunting);
        loadedArea = areaIndex;
      }
      break;
    default:
      break;
  }
}

void ZTurkeyGame::BuildMenu() {
  if (graphics == nullptr) return;
  if (menuImage == nullptr) {
    menuImage = std::make_unique<ZImage>();
    menuImage->Load(art::kTitleBitmapId, platform::GetOwnModule());
  }
  if (menuSurface == nullptr) {
    menuSurface = std::make_unique<ZSurface>();
    menuSurface->CreateFromImage(graphics.get(), menuImage.get(), 1);
  }
  graphics->FlipToGDISurface();
  // The graphics system keeps a reference to the palette in force, so the game keeps the object
  // alive until the next menu palette replaces it.
  auto palette = std::make_unique<ZPalette>();
  palette->CreateFromImage(menuImage.get());
  graphics->SetPalette(palette.get());
  menuPalette = std::move(palette);
  if (mainViewport != nullptr) {
    platform::Rect view{0, 0, 640, 480};
    mainViewport->Setup(menuSurface.get(), graphics->GetFrontSurface(), &view, 0, 0);
    mainViewport->wrapHorizontally = 0;
    mainViewport->wrapVertically = 0;
    mainViewport->Draw();
  }
  menuReady = 1;
  for (auto& button : menuButtons) {
    button->ShowWindow(platform::SW_SHOW);
    button->SetState(kButtonNormal);
    button->UpdateWindow();
  }
  if (sound != nullptr) {
    sound->Stop(art::kSoundMenuShown);
    sound->SetPosition(art::kSoundMenuShown, 0);
    sound->Play(art::kSoundMenuShown, 0);
  }
}

void ZTurkeyGame::CheckBaggedBird() {
  if (baggedBird != nullptr && baggedBird->IsDown() != 0) SetState(TrophyRoom);
}

// --- the state table ---

void ZTurkeyGame::ShutdownSequence() {
  if (graphics != nullptr) graphics->RestoreSystemColors();
  if (mainWindow != nullptr) {
    mainWindow->ShowWindow(platform::SW_HIDE);
    platform::PostMessage(mainWindow, platform::WM_DESTROY, 0, 0);
  } else {
    // Without a window there is no WM_DESTROY to carry the exit; end the loop directly.
    platform::PostQuitMessage(QuitCode());
  }
  EnterState(Exiting);
}

void ZTurkeyGame::EnterState(int32_t next) {
  state = next;
  if (stateObserver) stateObserver(next);
}

void ZTurkeyGame::ReturnToMenu() {
  if (mainWindow != nullptr) mainWindow->SetFocus();
  menuReady = 0;
  EnterState(MainMenu);
}

int32_t ZTurkeyGame::SetState(int32_t request) {
  if (closed != 0) return 1;  // a closed game goes nowhere, as in Exiting
  switch (state) {
    case Starting:
      if (request == StartupDone) {
        stateStartTick = 0;
        startingDone = 0;
        EnterState(StartupDone);
      }
      break;
    case StartupDone:
      if (request == Initializing) {
        stateStartTick = 0;
        EnterState(Initializing);
      }
      break;
    case Initializing:
      if (request == Exiting) ShutdownSequence();
      break;
    case MainMenu:
      // The view must not go on reading the title picture once it is gone.
      if (mainViewport != nullptr) mainViewport->ForgetSource(menuSurface.get());
      menuSurface.reset();
      menuImage.reset();
      HideMenuButtons();
      if (mainWindow != nullptr) mainWindow->SetFocus();
      menuReady = 0;
      switch (request) {
        case TrophyRoom:
          trophyRoomReady = 0;
          EnterState(TrophyRoom);
          break;
        case EnteringHunt:
          EnterState(EnteringHunt);
          break;
        case Exiting:
          ClearScreens();
          ShutdownSequence();
          break;
        case Inactive:
          resumeState = MainMenu;
          EnterState(Inactive);
          break;
        default:
          break;  // stays in the menu; the next Tick rebuilds it
      }
      break;
    case TrophyRoom:
      if (trophyRoom != nullptr) trophyRoom->Hide();
      trophyRoomReady = 0;
      if (request == MainMenu) {
        ReturnToMenu();
      } else if (request == Inactive) {
        resumeState = TrophyRoom;
        EnterState(Inactive);
      }
      break;
    case Hunting:
      if (huntingWindow != nullptr) huntingWindow->Stop();
      if (sound != nullptr) {
        sound->Enable(0);  // stops every sound
        sound->Enable(1);
      }
      ambientLoopOn = 0;
      edgeScrollOn = 0;
      frameClockOn = 0;
      if (request == MainMenu) {
        ClearScreens();
        enteringHuntDone = 0;
        ReturnToMenu();
      } else if (request == TrophyRoom) {
        enteringHuntDone = 0;
        trophyRoomReady = 0;
        EnterState(TrophyRoom);
      } else if (request == Inactive) {
        enteringHuntDone = 0;
        resumeState = EnteringHunt;
        EnterState(Inactive);
      }
      break;
    case EnteringHunt:
      enteringHuntDone = 0;
      if (request == MainMenu) {
        ClearScreens();
        ReturnToMenu();
      } else if (request == Hunting) {
        frameClockOn = 1;
        edgeScrollOn = 1;
        EnterState(Hunting);
      } else if (request == Exiting) {
        ClearScreens();
        ShutdownSequence();
      }
      break;
    case Inactive:
      if (request == MainMenu) {
        menuReady = 0;
        EnterState(MainMenu);
      } else if (request == TrophyRoom) {
        trophyRoomReady = 0;
        EnterState(TrophyRoom);
      } else if (request == Hunting || request == EnteringHunt) {
        frameClockOn = 1;
        edgeScrollOn = 1;
        enteringHuntDone = 0;
        EnterState(EnteringHunt);
      }
      break;
    default:  // Exiting: every request is ignored
      break;
  }
  return 1;
}

// --- messages of the main window ---

platform::LRESULT ZTurkeyGame::DefaultHandling(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
  if (mainWindow == nullptr) return 1;
  return mainWindow->DefWindowProc(message, wParam, lParam);
}

platform::LRESULT ZTurkeyGame::HandleMessage(platform::Window* window, uint32_t message, platform::WPARAM wParam,
                                             platform::LPARAM lParam) {
  (void)window;
  platform::Window* self = mainWindow;
  const platform::WPARAM selfHandle = reinterpret_cast<platform::WPARAM>(self);
  // After WM_DESTROY nothing may start again (a click or key still queued behind it).
  if (closed != 0 && message != platform::WM_DESTROY) return DefaultHandling(message, wParam, lParam);
  switch (message) {
    case platform::WM_DESTROY:
      platform::WinHelp(self, art::kHelpFile, platform::HELP_QUIT, 0);
      if (sound != nullptr) sound->Enable(0);
      // The window can be closed while a dialog's modal loop (or any handler) is dispatching this
      // message, and that caller goes on using the graphics system and its own objects once the
      // message returns. So the release waits for the loop's next pass, where nothing is running.
      closed = 1;
      cleanupDue = 1;
      platform::PostQuitMessage(QuitCode());
      return DefaultHandling(message, wParam, lParam);

    case platform::WM_SETFOCUS:
      if (state != MainMenu) break;
      if (wParam != 0) {
        platform::SendMessage(reinterpret_cast<platform::Window*>(wParam), platform::WM_KILLFOCUS, selfHandle, 0);
      }
      return 0;

    case platform::WM_KILLFOCUS:
      if (state != MainMenu) break;
      return 0;

    case platform::WM_PAINT:
      if (self != nullptr) {
        platform::Rect update;
        if (self->GetUpdateRect(&update)) self->ValidateRect(&update);
      }
      return 0;

    case platform::WM_ERASEBKGND:
      return 1;

    case platform::WM_ACTIVATEAPP:
      if (wParam != 0) {
        if (self != nullptr) self->ShowWindow(platform::SW_SHOWNORMAL);
        if (graphics != nullptr) graphics->Resume();
        // Only a real return from Inactive resumes: a repeated activation while running would
        // otherwise stop a running hunt and leave it frozen. Nor does one while the help page is up.
        if (state == Inactive && HelpOpen() == 0) SetState(resumeState);
      } else if (state != Inactive || HelpOpen() != 0) {
        // The help page goes with the focus; the screen it covered comes back on activation.
        if (HelpOpen() != 0) helpPage->Close();
        if (state != Inactive) {
          resumeState = state;
          if (setupDialog != nullptr) platform::SendMessage(setupDialog, platform::WM_ACTIVATEAPP, 0, 0);
          SetState(Inactive);
        }
        if (graphics != nullptr) graphics->Suspend();
        if (self != nullptr) self->ShowWindow(platform::SW_MINIMIZE);
      }
      return 0;

    case platform::WM_HELP:
      OpenHelp();
      return 0;

    case platform::WM_NOTIFY: {
      const auto* header = reinterpret_cast<const platform::NotifyHeader*>(lParam);
      if (header == nullptr || state != MainMenu) return 0;
      if (header->code == platform::NM_SETFOCUS) {
        if (focusedButton != nullptr) platform::SendMessage(focusedButton, platform::WM_KILLFOCUS, selfHandle, 0);
        focusedButton = header->from;
      } else if (header->code == platform::NM_CLICK) {
        switch (static_cast<int32_t>(wParam)) {
          case kExitButtonId: SetState(Exiting); break;
          case kTrophyButtonId: SetState(TrophyRoom); break;
          case kHuntButtonId: RunHuntSetupSequence(); break;
          default: break;
        }
      }
      return 0;
    }

    case platform::WM_KEYDOWN:
      if (wParam == platform::VK_ESCAPE) {
        if (state == MainMenu) {
          SetState(Exiting);
        } else if (state == TrophyRoom) {
          SetState(MainMenu);
        }
      }
      // Any key cuts the start-up short; judged on the state as it is now.
      if (state == Starting) {
        SetState(StartupDone);
      } else if (state == StartupDone) {
        SetState(Initializing);
      }
      break;

    case platform::WM_SYSKEYDOWN:
      if (wParam == platform::VK_F10) TakeScreenshot();
      break;

    case platform::WM_MOUSEMOVE:
      if (state == MainMenu && focusedButton != nullptr && setupDialogOpen == 0) {
        platform::SendMessage(focusedButton, platform::WM_KILLFOCUS, selfHandle, 0);
        focusedButton = nullptr;
      }
      break;

    case platform::WM_RBUTTONDOWN:
    case platform::WM_RBUTTONUP:
      return 0;

    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void ZTurkeyGame::RunHuntSetupSequence() {
  if (mainWindow != nullptr) mainWindow->SetFocus();
  HideMenuButtons();
  setupDialogOpen = 1;
  int32_t confirmed = RunHuntSetup();
  setupDialogOpen = 0;
  if (confirmed == 1) {
    SaveProfile();
    if (!IntroduceFirstHunt()) SetState(EnteringHunt);
  } else {
    menuReady = 0;  // the next Tick shows the menu again
  }
}

// --- set-up ---

int32_t ZTurkeyGame::QuitCode() const { return setupFailed != 0 ? kSetupFailedExitCode : 0; }

void ZTurkeyGame::FailSetup(const char* message) {
  setupFailed = 1;
  if (mainWindow != nullptr) mainWindow->ShowWindow(platform::SW_HIDE);
  platform::MessageBox(mainWindow, message, platform::GetApplicationName(),
                       platform::MB_ICONEXCLAMATION | platform::MB_OK);
  SetState(Exiting);
}

void ZTurkeyGame::Initialize() {
  graphics = std::make_unique<ZGraphics>();
  timer.rate = static_cast<int32_t>(framesPerSecond);
  timer.interval = 1000 / framesPerSecond;
  if (InitGraphics() == 0) {
    graphics.reset();
    FailSetup(kGraphicsFailedMessage);
    return;
  }
  if (InitSound() == 0) {
    sound.reset();
    FailSetup(kSoundFailedMessage);
    return;
  }
  if (InitControls() == 0) {
    sound.reset();
    FailSetup(kControlsFailedMessage);
    return;
  }
  stateStartTick = platform::GetTickCount();
  hunter = std::make_unique<ZHunter>(this, mainWindow);
  map = std::make_unique<ZHuntingMap>(this, hunter.get());
  hunter->map = map.get();
  scene = std::make_unique<ZScene>(&worldSprites, map.get());
  EnterState(MainMenu);
  frameClockOn = 1;
}

void ZTurkeyGame::HideMenuButtons() {
  for (auto& button : menuButtons) {
    button->SetState(kButtonNone);
    button->ShowWindow(platform::SW_HIDE);
  }
}

void ZTurkeyGame::ClearScreens() {
  if (graphics == nullptr) return;
  if (ZSurface* front = graphics->GetFrontSurface()) front->Fill(nullptr, 0);
  if (ZSurface* back = graphics->GetBackSurface()) back->Fill(nullptr, 0);
}

// --- hunt services ---

int32_t ZTurkeyGame::RunHuntSetup() {
  auto dialog = std::make_unique<ZHuntSetupDialog>(this, graphics.get(), mainWindow, controlsSurface.get(),
                                                   sound.get());
  setupDialog = dialog.get();
  dialog->playerName = playerName;
  // The dialog can only show one of the five hunts; a stored value outside them opens on the first.
  dialog->areaIndex = ZHuntSetupDialog::ValidArea(areaIndex);
  dialog->SetTransparent(1);
  int32_t result = 0;
  if (dialog->IsBuilt() != 0) {
    result = dialog->DoModal();
  } else {
    std::fprintf(stderr, "brushfeather: the hunt setup dialog cannot be built (its art or window is missing)\n");
  }
  if (result == 1) {
    playerName = dialog->playerName;
    areaIndex = dialog->areaIndex;
    setupDialog = nullptr;
    dialog.reset();
    LoadArea();
    return 1;
  }
  setupDialog = nullptr;
  dialog.reset();
  return 0;
}

int32_t ZTurkeyGame::LoadArea() {
  if (areaIndex != loadedArea || areaSpriteMap == nullptr) areaSpriteMap = std::make_unique<ZSpriteMap>();
  const char* library = art::AreaLibrary(areaIndex);
  if (library == nullptr) return 0;  // no such hunt
  if (scene != nullptr) scene->SetArea(art::AreaNumber(areaIndex));
  if (map != nullptr) {
    // A new hunt replaces the birds: a bird shot in the last hunt and not yet offered to the trophy
    // room would be left pointing at nothing.
    baggedBird = nullptr;
    map->subspecies = areaIndex;
    map->StartHunt(1);
  }
  if (areaIndex != loadedArea || areaSurface == nullptr) {
    // Whatever happens below, the previous area's surface must not pass for this area's art.
    areaSurface.reset();
    platform::HMODULE module = platform::LoadLibrary(library);
    if (module == nullptr) return 0;
    if (areaSpriteMap->LoadResource(art::kSpriteMapId, module) == 0) {
      art::ReportUnreadableResource(library, *module, art::kSpriteMapType, art::kSpriteMapType, art::kSpriteMapId,
                                    "sprite map", kAreaArtMissing);
      platform::FreeLibrary(module);
      areaSpriteMap.reset();
      return 0;
    }
    const std::string foundAs = module->Name();
    platform::FreeLibrary(module);
    areaSpriteMap->SetTransparentIndex(1);
    auto surface = std::make_unique<ZSurface>();
    if (surface->CreateFromSpriteMap(graphics.get(), areaSpriteMap.get()) == 0) {
      // A map too large for a surface (or one that cannot be painted) leaves the area without art.
      art::ReportNoSurface(library, foundAs, *areaSpriteMap, kAreaArtMissing);
      areaSpriteMap.reset();
      return 0;
    }
    areaSurface = std::move(surface);
  }
  return 1;
}

void ZTurkeyGame::PlayAmbientSounds() {
  uint32_t now = platform::GetTickCount();
  if (now - lastAmbientTick <= kAmbientIntervalMs) return;
  lastAmbientTick = now;
  struct Draw {
    int32_t id;
    int32_t percent;
  };
  static constexpr Draw kArea0[] = {{148, 10}, {142, 25}, {144, 25}, {149, 25}, {150, 25}};
  static constexpr Draw kArea1[] = {{141, 25}, {144, 25}};
  static constexpr Draw kArea2[] = {{141, 25}, {144, 25}};
  static constexpr Draw kArea3[] = {{141, 25}, {149, 25}, {146, 25}};
  static constexpr Draw kArea4[] = {{141, 15}, {144, 15}, {148, 10}, {142, 15}, {144, 15}, {149, 15}, {150, 15}};
  const Draw* draws = nullptr;
  size_t count = 0;
  switch (areaIndex) {
    case 0: draws = kArea0; count = std::size(kArea0); break;
    case 1: draws = kArea1; count = std::size(kArea1); break;
    case 2: draws = kArea2; count = std::size(kArea2); break;
    case 3: draws = kArea3; count = std::size(kArea3); break;
    case 4: draws = kArea4; count = std::size(kArea4); break;
    default: return;
  }
  for (size_t i = 0; i < count; ++i) PlayRandomSound(draws[i].id, draws[i].percent);
  if (ambientLoopOn == 0) {
    ambientLoopOn = 1;
    if (sound != nullptr) {
      sound->SetVolume(art::kSoundAmbientLoop, kAmbientLoopVolume);
      sound->Play(art::kSoundAmbientLoop, ZDXSound::kPlayLooping);
    }
  }
}

int32_t ZTurkeyGame::PlayRandomSound(int32_t id, int32_t percent) {
  if (sound == nullptr) return 0;
  if (platform::rand() % 100 >= percent) return 0;
  sound->Stop(id);
  sound->SetPosition(id, 0);
  int32_t pan = platform::rand() % 10000;
  if (platform::rand() % 2 != 0) pan = -pan;
  sound->SetPan(id, pan);
  sound->SetVolume(id, -(platform::rand() % 1000));
  sound->Play(id, 0);
  return 1;
}

void ZTurkeyGame::EdgeScrollStep(int32_t x, int32_t y, int32_t* dx, int32_t* dy) {
  // The cursor is confined to the screen; clamping keeps the shifts in range regardless.
  x = std::clamp(x, 0, 639);
  y = std::clamp(y, 0, 479);
  *dx = 0;
  if (x < 25) {
    *dx = -(1 << (4 - x / 6));
  } else if (x > 614) {
    *dx = 1 << (4 - (639 - x) / 6);
  }
  *dy = 0;
  if (y < 13) {
    *dy = -(1 << (3 - y / 4));
  } else if (y > 466) {
    *dy = 1 << (3 - (479 - y) / 4);
  }
}

void ZTurkeyGame::ScrollView() {
  if (edgeScrollOn != 1) return;
  platform::Point cursor;
  if (!platform::GetCursorPos(&cursor)) return;
  int32_t dx = 0;
  int32_t dy = 0;
  EdgeScrollStep(cursor.x, cursor.y, &dx, &dy);
  if (mainViewport != nullptr) mainViewport->Scroll(dx + lookDX, dy + lookDY);
  frameLook = std::abs(lookDX) + std::abs(lookDY);
  if (hunter != nullptr) {
    if (hunter->WeaponDown() != 0) {
      hunter->viewMovement = std::abs(dx) + std::abs(dy);
    } else if (frameLook == 0) {
      // Aiming, the hunting screen sets the movement as the mouse moves; a frame without any look
      // is a still view, or one quick turn would go on alarming near birds while the hunter holds still.
      hunter->viewMovement = 0;
    }
  }
  lookDX = 0;
  lookDY = 0;
}

// --- clean-up ---

void ZTurkeyGame::ReleaseObjects() {
  menuSurface.reset();
  menuImage.reset();
  controlsSpriteMap.reset();
  map.reset();
  hunter.reset();
  scene.reset();
  worldSprites.DeleteAll();
  focusedButton = nullptr;
  trophyButton = nullptr;
  huntButton = nullptr;
  exitButton = nullptr;
  menuButtons.clear();
  areaSurface.reset();
  controlsSurface.reset();
  helpPage.reset();
  huntingWindow.reset();
  trophyRoom.reset();
  graphicsInfo.reset();
  mainViewport.reset();
  secondViewport.reset();
  areaSpriteMap.reset();
  graphics.reset();
  menuPalette.reset();
}

void ZTurkeyGame::Cleanup() {
  if (graphicsReady == 0) return;
  FreeBirdArt();
  ReleaseObjects();
  graphicsReady = 0;  // released once; a second WM_DESTROY finds nothing to do
}
