// Controls set-up: the controls' sprite map and surface, and the three main-menu buttons.
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "game/art_files.h"
#include "game/art_report.h"
#include "game/turkey_game.h"
#include "platform/module.h"

int32_t ZTurkeyGame::InitControls() {
  platform::HMODULE library = platform::LoadLibrary(art::kControlsLibrary);
  if (library == nullptr) return 0;
  controlsSpriteMap = std::make_unique<ZSpriteMap>();
  if (controlsSpriteMap->LoadResource(art::kSpriteMapId, library) == 0) {
    controlsSpriteMap.reset();
    platform::FreeLibrary(library);
    return 0;
  }
  const std::string foundAs = library->Name();
  platform::FreeLibrary(library);
  if (controlsSurface == nullptr) controlsSurface = std::make_unique<ZSurface>();
  if (controlsSurface->CreateFromSpriteMap(graphics.get(), controlsSpriteMap.get()) == 0) {
    controlsSpriteMap.reset();
    controlsSurface.reset();
    return 0;
  }
  // Frames outside the map are left out as designed; the menu then lacks their buttons, so say why.
  art::ReportSkippedFrames(art::kControlsLibrary, foundAs, *controlsSpriteMap);
  CreateMenuButtons();
  return 1;
}

// The menu buttons arrive with the framework's buttons; until then the menu has none.
int32_t ZTurkeyGame::CreateMenuButtons() { return 1; }
