// Controls set-up: the controls' sprite map and surface, and the three main-menu buttons.
#include <iterator>
#include <memory>

#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "framework/ui/button.h"
#include "game/art_files.h"
#include "game/art_report.h"
#include "game/control_art.h"
#include "game/turkey_game.h"
#include "game/turkey_wnd.h"
#include "platform/module.h"

namespace {
constexpr const char* kControlsUnreadable = "the game cannot start without the controls' art";
}  // namespace

int32_t ZTurkeyGame::InitControls() {
  platform::HMODULE library = platform::LoadLibrary(art::kControlsLibrary);
  if (library == nullptr) return 0;
  controlsSpriteMap = std::make_unique<ZSpriteMap>();
  if (controlsSpriteMap->LoadResource(art::kSpriteMapId, library) == 0) {
    art::ReportUnreadableResource(art::kControlsLibrary, *library, art::kSpriteMapType, art::kSpriteMapType,
                                  art::kSpriteMapId, "sprite map", kControlsUnreadable);
    controlsSpriteMap.reset();
    platform::FreeLibrary(library);
    return 0;
  }
  const std::string foundAs = library->Name();
  platform::FreeLibrary(library);
  if (controlsSurface == nullptr) controlsSurface = std::make_unique<ZSurface>();
  if (controlsSurface->CreateFromSpriteMap(graphics.get(), controlsSpriteMap.get()) == 0) {
    art::ReportNoSurface(art::kControlsLibrary, foundAs, *controlsSpriteMap, kControlsUnreadable);
    controlsSpriteMap.reset();
    controlsSurface.reset();
    return 0;
  }
  // Frames outside the map are left out as designed; the menu then lacks their buttons, so say why.
  art::ReportSkippedFrames(art::kControlsLibrary, foundAs, *controlsSpriteMap);
  CreateMenuButtons();
  return 1;
}

// The three buttons on the title's sign, drawn through the main viewport (the title is its source
// while the menu is up). Their art has all three looks: normal, highlighted, pressed.
int32_t ZTurkeyGame::CreateMenuButtons() {
  static constexpr ZControlLayout kMenuLayouts[] = {
      {330, 195, 14, 14, 14, true},  // hunt
      {330, 265, 12, 12, 14, true},  // trophy room
      {330, 335, 4, 4, 14, true},    // exit
  };
  ZButton** fields[] = {&huntButton, &trophyButton, &exitButton};
  for (size_t i = 0; i < std::size(kMenuLayouts); ++i) {
    auto button = std::make_unique<ZButton>();
    // A button whose art or window cannot be made is left out; the others still work.
    if (!MakeControlButton(button.get(), kMenuLayouts[i], graphics.get(), controlsSurface.get(), mainViewport.get(),
                           mainWindow, sound.get())) {
      continue;
    }
    *fields[i] = button.get();
    menuButtons.push_back(std::move(button));
  }
  return 1;
}
