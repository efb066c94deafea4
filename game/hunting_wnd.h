// ZHuntingWnd: the full-screen window of the hunt: the view, the player's input, gobble answers and shot results.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/ui/wnd.h"

class ZTurkeyGame;
class ZControlBar;
class ZImage;
class ZSurface;
class ZPalette;
class ZTurkey;

// Answers with ZWnd's class record: it has none of its own.
class ZHuntingWnd : public ZWnd {
 public:
  // Where the cursor is held while aiming: the centre of the view above the control bar.
  static constexpr int32_t kAimX = 320;
  static constexpr int32_t kAimY = 210;
  // The view's place on the screen, and the panorama point it starts from.
  static constexpr int32_t kViewWidth = 640;
  static constexpr int32_t kViewHeight = 425;
  static constexpr int32_t kStartScrollX = 1600;
  static constexpr int32_t kStartScrollY = 188;
  static constexpr uint16_t kBackgroundId = 150;
  // Sounds of the hunt screen: a shot striking scenery, the two calls, the two gobbles.
  static constexpr int32_t kSoundImpact = 152;
  static constexpr int32_t kSoundCall1 = 153;
  static constexpr int32_t kSoundCall2 = 154;
  static constexpr int32_t kSoundGobble1 = 155;
  static constexpr int32_t kSoundGobble2 = 156;
  static constexpr uint32_t kGobbleCheckMs = 5000;

  ZHuntingWnd();
  ~ZHuntingWnd() override;
  ZHuntingWnd(const ZHuntingWnd&) = delete;
  ZHuntingWnd& operator=(const ZHuntingWnd&) = delete;

  // Registers the class and creates the hidden full-screen popup owned by `parent`; the create result.
  int32_t Create(platform::Window* parent, ZTurkeyGame* owner);
  // Starts a hunt on the game's current area: a new gun, the view, the control bar; 1, or 0 when the
  // area's art is not there (nothing is left running then).
  int32_t Start();
  // Ends the hunt: hides the screen, takes the gun and the pictures away, frees the cursor; 1.
  int32_t Stop();
  // Once per drawn frame, after the flush and before the map's update: answers, gobbles, the shot's result.
  void FrameStep();
  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;

  // The aim button is latched down.
  int32_t AimPressed() const;

  std::unique_ptr<ZControlBar> controlBar;
  int32_t active = 0;
  ZTurkeyGame* game = nullptr;
  platform::Window* mainWindow = nullptr;
  std::unique_ptr<ZImage> backgroundImage;
  std::unique_ptr<ZSurface> backgroundSurface;
  int32_t shotPending = 0;
  uint32_t lastGobbleCheck = 0;

 private:
  int32_t LoadView();
  // The area's sprite map and surface are both there; without them the hunt cannot be drawn.
  int32_t AreaArtReady() const;
  void OnClick(uint32_t id);
  void PlayCall(int32_t soundId);
  // Shows the cursor and frees it, lowers the gun and lets the aim button up, in the order asked for.
  void LowerGun(bool unpressFirst);
  void MouseLook(int32_t x, int32_t y);
  void Gobble(const ZTurkey* bird, int32_t coin);
  int32_t Playing(int32_t soundId) const;

  // The graphics system refers to the palette in force, so the hunt keeps the one it set.
  std::unique_ptr<ZPalette> palette;
};
