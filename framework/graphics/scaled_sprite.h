// ZScaledSprite: a sprite stretched by a scale factor through the scratch surface; its hot spot scales too.
#pragma once

#include <cstdint>

#include "framework/graphics/sprite.h"

class ZScaledSprite : public ZSprite {
  Z_DECLARE_CLASS(ZScaledSprite)

 public:
  ZScaledSprite();
  ZScaledSprite(int32_t x, int32_t y, int32_t depth, ZSurface* source, int32_t spriteId, ZSpriteMap* spriteMap);
  ~ZScaledSprite() override;

  void Reset() override;
  void GetRect(platform::Rect* out) const override;
  int Draw(const platform::Rect* clip, ZSurface* scratch, int throughViewport) override;
  int HitTest(int32_t x, int32_t y) override;
  int DrawSelf() override;
  int32_t GetX() const override;
  int32_t GetY() const override;

  // Ignored for a negative scale or not a number; the hot spot stays where it was.
  void SetScale(double s);
  // Moves the hot spot to x, y; always sends the change notice.
  void SetPosition(int32_t x, int32_t y);
  double GetScale() const { return scale; }

  // round(v) = v + 0.5 truncated toward zero; the values are never negative.
  static int32_t Round(double v);

 private:
  double scale = 1.0;
};
