// Making the game's buttons from the controls' art.
#include "game/control_art.h"

#include "framework/graphics/graphics.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/surface.h"
#include "framework/ui/button.h"
#include "game/art_files.h"

std::unique_ptr<ZSprite> MakeControlSprite(ZGraphics* graphics, ZSurface* controlsSurface, ZViewport* viewport,
                                           int32_t spriteId, int32_t x, int32_t y) {
  if (controlsSurface == nullptr || controlsSurface->GetSourceSpriteMap() == nullptr) return nullptr;
  auto sprite = std::make_unique<ZSprite>();
  if (sprite->Init(x, y, 0, controlsSurface, spriteId, controlsSurface->GetSourceSpriteMap()) == 0) return nullptr;
  sprite->SetTargets(graphics != nullptr ? graphics->GetFrontSurface() : nullptr, viewport);
  return sprite;
}

bool MakeControlButton(ZButton* button, const ZControlLayout& layout, ZGraphics* graphics, ZSurface* controlsSurface,
                       ZViewport* viewport, platform::Window* parent, ZDXSound* sound) {
  if (button == nullptr) return false;
  std::unique_ptr<ZSprite> sprite = MakeControlSprite(graphics, controlsSurface, viewport, layout.spriteId, layout.x, layout.y);
  if (sprite == nullptr) return false;
  button->pixelHitTest = 0;
  if (button->Create(graphics, layout.stateMask, std::move(sprite), parent, layout.id, sound) == 0) return false;
  button->SetStateSound(ZButton::kStatePressed, art::kSoundButtonPressed);
  if (layout.highlightSound) button->SetStateSound(ZButton::kStateHighlighted, art::kSoundButtonHighlighted);
  return true;
}
