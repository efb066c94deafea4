// Display set-up and the birds' art: the game's graphics services.
#include "framework/core/graphics_info.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/sprite_map.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "framework/ui/wnd.h"
#include "game/art_files.h"
#include "game/art_report.h"
#include "game/turkey_game.h"
#include "game/turkey_wnd.h"
#include "platform/cursor_resource.h"
#include "platform/module.h"

int32_t ZTurkeyGame::InitGraphics() {
  if (graphics == nullptr) return 0;
  if (graphics->Init(mainWindow, 640, 480, 8) == 0) return 0;
  gameCursor = platform::LoadCursor(platform::GetOwnModule(), platform::ResName(art::kGameCursorId));
  ZWnd::SetAppCursor(gameCursor);  // the dialogs and buttons show it too

  // The main viewport covers the whole display; its source is set by whoever shows a picture.
  const platform::Rect whole{0, 0, graphics->GetWidth(), graphics->GetHeight()};
  mainViewport = std::make_unique<ZViewport>(graphics.get(), nullptr, graphics->GetBackSurface(), &whole, 0, 0);
  const platform::Rect upper{0, 0, 640, 425};
  secondViewport = std::make_unique<ZViewport>(graphics.get(), graphics->GetFrontSurface(), graphics->GetBackSurface(),
                                               &upper, 0, 0);

  worldSprites.SetGraphics(graphics.get());
  overlaySprites.SetGraphics(graphics.get());
  mainViewport->SetNotifier(worldSprites.GetNotifier());
  secondViewport->SetNotifier(overlaySprites.GetNotifier());

  if (graphicsInfo == nullptr) graphicsInfo = std::make_unique<ZGraphicsInfo>();
  graphicsInfo->worldSprites = &worldSprites;
  graphicsInfo->overlaySprites = &overlaySprites;
  graphicsInfo->mainViewport = mainViewport.get();
  graphicsInfo->secondViewport = secondViewport.get();
  graphics->SetInfo(graphicsInfo.get());

  LoadBirdArt(this);
  graphicsReady = 1;
  return 1;
}

int32_t LoadBirdArt(ZTurkeyGame* game) {
  theGame = game;
  birdSurface.reset();
  birdSpriteMap = std::make_unique<ZSpriteMap>();
  const std::string foundAs = platform::FindFileNoCase(art::kBirdSpriteFile);
  if (birdSpriteMap->LoadFile(art::kBirdSpriteFile) == 0) {
    // The birds go without art; nothing is shown to the player, the log says why.
    art::ReportUnreadable(art::kBirdSpriteFile, foundAs, "the birds go without art");
    birdSpriteMap.reset();
    return 0;
  }
  birdSurface = std::make_unique<ZSurface>();
  if (birdSurface->CreateFromSpriteMap(game != nullptr ? game->graphics.get() : nullptr, birdSpriteMap.get()) == 0) {
    // A map without its surface cannot draw a bird: drop both, as for a failed read.
    art::ReportNoSurface(art::kBirdSpriteFile, foundAs, *birdSpriteMap, "the birds go without art");
    birdSurface.reset();
    birdSpriteMap.reset();
    return 0;
  }
  art::ReportSkippedFrames(art::kBirdSpriteFile, foundAs, *birdSpriteMap);
  return 1;
}

void FreeBirdArt() {
  birdSurface.reset();
  birdSpriteMap.reset();
}
