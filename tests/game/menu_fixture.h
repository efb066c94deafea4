// The game set up on the headless backend with the real art and run to its main menu.
#pragma once

#include <gtest/gtest.h>

#include "framework/graphics/graphics.h"
#include "framework/graphics/surface.h"
#include "platform/surface.h"
#include "tests/game/game_fixture.h"

namespace gametest {

class MenuFixture : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    ToMenu();
  }
  static uint8_t Pixel(ZSurface* s, int32_t x, int32_t y) { return s->GetSurface2()->Pixel(x, y); }
  uint8_t Front(int32_t x, int32_t y) { return Pixel(game->graphics->GetFrontSurface(), x, y); }
};

}  // namespace gametest
