// The game's buttons made from the controls' art: one sprite of the controls sprite map in a button.
#pragma once

#include <cstdint>
#include <memory>

class ZButton;
class ZDXSound;
class ZGraphics;
class ZSprite;
class ZSurface;
class ZViewport;
namespace platform {
class Window;
}

// Where a button sits and what it shows.
struct ZControlLayout {
  int32_t x = 0;
  int32_t y = 0;
  int32_t spriteId = 0;  // sprite of the controls sprite map
  uint32_t id = 0;       // control id
  int32_t stateMask = 0;
  bool highlightSound = true;  // 140 on highlighting, besides 139 on pressing
};

// A sprite of the controls' art at (x, y) in the viewport's source coordinates, drawn through the
// viewport; null when the art has no such sprite.
std::unique_ptr<ZSprite> MakeControlSprite(ZGraphics* graphics, ZSurface* controlsSurface, ZViewport* viewport,
                                           int32_t spriteId, int32_t x, int32_t y);

// Makes `button` a child of `parent` showing the layout's sprite, with the game's sounds and a hit
// test that counts the whole rectangle. False when the art or the window cannot be made.
bool MakeControlButton(ZButton* button, const ZControlLayout& layout, ZGraphics* graphics, ZSurface* controlsSurface,
                       ZViewport* viewport, platform::Window* parent, ZDXSound* sound);
