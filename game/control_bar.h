// ZControlBar: the strip along the bottom of the hunting screen with the two calls, the aim button and return.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/ui/dialog.h"

class ZGraphics;
class ZImage;
class ZSurface;
class ZDXSound;
class ZButton;
class ZPushButton;

class ZControlBar : public ZDialog {
 public:
  // Control ids; the owner (the hunting screen) hears their clicks.
  static constexpr uint32_t kReturnId = 5;
  static constexpr uint32_t kAimId = 6;
  static constexpr uint32_t kCall1Id = 100;
  static constexpr uint32_t kCall2Id = 101;
  // The bar's place on the screen: the bottom 55 rows.
  static constexpr int32_t kTop = 425;

  // Builds the bar as a hidden child of `parent` from the program's panel (bitmap 135) and the
  // controls' art; IsBuilt says whether everything was made.
  ZControlBar(ZGraphics* graphics, platform::Window* parent, ZSurface* controlsSurface, ZDXSound* sound);
  ~ZControlBar() override;

  int32_t IsBuilt() const { return built; }
  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;

  std::unique_ptr<ZSurface> backgroundSurface;
  std::unique_ptr<ZImage> backgroundImage;
  std::unique_ptr<ZButton> returnButton;
  std::unique_ptr<ZButton> callButton1;
  std::unique_ptr<ZButton> callButton2;
  std::unique_ptr<ZPushButton> aimButton;

 private:
  // The owner window, else the parent: where the bar's clicks and keys go.
  platform::Window* Owner() const;

  int32_t built = 0;
};
