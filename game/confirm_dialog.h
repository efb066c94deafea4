// ZConfirmDialog: a small sign that asks one question, answered with the controls' OK and Cancel buttons.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/ui/dialog.h"
#include "game/board_picture.h"

class ZTurkeyGame;
class ZButton;

class ZConfirmDialog : public ZDialog {
 public:
  static constexpr int32_t kWidth = 380;
  static constexpr int32_t kHeight = 168;  // three of the planks
  static constexpr uint32_t kOkId = 1;      // the dialog's OK and Cancel ids close its loop
  static constexpr uint32_t kCancelId = 2;
  static constexpr int32_t kOkSprite = 13;  // the controls' OK and Cancel, as on the hunt setup sign
  static constexpr int32_t kCancelSprite = 2;
  // Where the question is written, and the buttons' top edge, inside the sign.
  static constexpr platform::Rect kQuestionRect{18, 20, kWidth - 18, 88};
  static constexpr int32_t kButtonTop = 108;

  // Builds the sign centred over `parent`, with the game's art and sounds; IsBuilt says whether the
  // window, its picture and both buttons were made (a sign that is not built must not be run).
  ZConfirmDialog(ZTurkeyGame* game, platform::Window* parent, const std::string& question);
  ~ZConfirmDialog() override;
  ZConfirmDialog(const ZConfirmDialog&) = delete;
  ZConfirmDialog& operator=(const ZConfirmDialog&) = delete;

  int32_t IsBuilt() const { return built; }
  ZButton* GetOkButton() const { return okButton.get(); }
  ZButton* GetCancelButton() const { return cancelButton.get(); }

  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;

 private:
  std::unique_ptr<ZButton> MakeButton(int32_t spriteId, uint32_t id, int32_t centreX);

  ZTurkeyGame* game = nullptr;
  ZBoardPicture board;
  std::unique_ptr<ZButton> okButton;
  std::unique_ptr<ZButton> cancelButton;
  int32_t built = 0;
};
