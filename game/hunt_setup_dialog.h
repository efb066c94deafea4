// ZHuntSetupDialog: the modal dialog in which the player picks one of the five hunts before a hunt.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/ui/dialog.h"

class ZTurkeyGame;
class ZGraphics;
class ZImage;
class ZSurface;
class ZSprite;
class ZDXSound;
class ZButton;
class ZRadioButton;
class ZEdit;

class ZHuntSetupDialog : public ZDialog {
 public:
  // Control ids.
  static constexpr uint32_t kOkId = 1;
  static constexpr uint32_t kCancelId = 2;
  static constexpr uint32_t kFirstAreaId = 7;  // 7..11 for hunts 0..4
  static constexpr int32_t kAreaCount = 5;
  static constexpr uint32_t kNameId = 500;
  // Size of the dialog (its sign, bitmap 137).
  static constexpr int32_t kWidth = 529;
  static constexpr int32_t kHeight = 395;
  // The name field, inside the dialog, on the sign's top plank row.
  static constexpr platform::Rect kNameRect{140, 62, 390, 79};

  // Builds the dialog over `parent` from the program's sign and the controls' art; whether that
  // worked is IsBuilt's answer (a dialog that is not built must not be run).
  ZHuntSetupDialog(ZTurkeyGame* game, ZGraphics* graphics, platform::Window* parent, ZSurface* controlsSurface,
                   ZDXSound* sound);
  ~ZHuntSetupDialog() override;

  // 1 when the window, the sign and every control were made.
  int32_t IsBuilt() const { return built; }
  // A hunt the dialog can show: 0..4 as they are, anything else 0.
  static int32_t ValidArea(int32_t area) { return (area >= 0 && area < kAreaCount) ? area : 0; }

  // Direction 0 fills the name field and the hunts from playerName and areaIndex; while the dialog is
  // up it does so only on the first paint after it was shown, so a repaint keeps what the player typed
  // and clicked. Direction 1 reads them back.
  int32_t ExchangeData(int32_t direction) override;
  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;

  std::unique_ptr<ZSurface> backgroundSurface;
  std::unique_ptr<ZImage> backgroundImage;
  std::unique_ptr<ZButton> okButton;
  std::unique_ptr<ZButton> cancelButton;
  std::array<std::unique_ptr<ZRadioButton>, kAreaCount> areaButtons;
  std::unique_ptr<ZEdit> nameEdit;
  std::vector<ZButton*> buttons;  // the two push buttons
  std::unique_ptr<ZSprite> preview;
  ZTurkeyGame* game = nullptr;
  std::string playerName;
  int32_t areaIndex = 0;

 private:
  // Makes the controls in their order and adds each to the focus list; false when one fails.
  bool CreateControls(ZSurface* controlsSurface, ZDXSound* sound);
  // A control's sprite: `spriteId` of the controls' art at (x, y) inside the dialog, drawn through
  // the dialog's viewport. Null when the art has no such sprite.
  std::unique_ptr<ZSprite> ControlSprite(ZSurface* controlsSurface, int32_t spriteId, int32_t x, int32_t y);
  // Draws the preview straight onto the front surface at its place on the screen.
  void DrawPreview();

  int32_t built = 0;
  int32_t filledSinceShown = 0;  // the controls took the values since the dialog was last shown
};
