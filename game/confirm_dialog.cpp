// ZConfirmDialog: painting the sign, placing its two buttons, and the keys it keeps to itself.
#include "game/confirm_dialog.h"

#include "framework/graphics/frame.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/sprite.h"
#include "framework/ui/button.h"
#include "game/art_files.h"
#include "game/control_art.h"
#include "game/turkey_game.h"
#include "platform/text.h"
#include "platform/window.h"

namespace {
constexpr int32_t kButtonMask = 14;  // normal, highlighted, pressed
constexpr int32_t kBorder = 3;
constexpr int32_t kQuestionHeight = 22;
}  // namespace

ZConfirmDialog::ZConfirmDialog(ZTurkeyGame* owner, platform::Window* parent, const std::string& question)
    : game(owner) {
  if (game == nullptr || game->graphics == nullptr) return;
  const platform::Rect rect{0, 0, kWidth, kHeight};
  if (Create(game->graphics.get(), parent, &rect, 0, 0) == 0) return;
  CenterWindow();
  if (!board.Create(game->graphics.get(), kWidth, kHeight)) return;
  // The sign: planks in a dark border, the question on a sunk panel as the help page writes.
  board.Outline(platform::Rect{0, 0, kWidth, kHeight}, board.Shared(ZBoardPicture::kEdgeDark), kBorder);
  board.Panel(platform::Rect{kQuestionRect.left - 4, kQuestionRect.top - 4, kQuestionRect.right + 4,
                             kQuestionRect.bottom + 2});
  ZBoardPicture::Lettering ask;
  ask.height = kQuestionHeight;
  ask.bold = true;
  ask.color = ZBoardPicture::kCream;
  ask.shadow = true;
  ask.format = platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE;
  // A question too long for one line is wrapped and centred as a block instead.
  ZBoardPicture::Lettering wrapped = ask;
  wrapped.format = platform::DT_CENTER | platform::DT_WORDBREAK;
  if (board.Measure(question, kQuestionRect, wrapped) > kQuestionHeight + 4) ask = wrapped;
  board.Text(question, kQuestionRect, ask);
  SetBackground(board.GetSurface());
  okButton = MakeButton(kOkSprite, kOkId, kWidth / 4 + 10);
  cancelButton = MakeButton(kCancelSprite, kCancelId, kWidth * 3 / 4 - 10);
  if (okButton == nullptr || cancelButton == nullptr) return;
  AddControl(okButton.get());
  AddControl(cancelButton.get());
  built = 1;
}

ZConfirmDialog::~ZConfirmDialog() {
  okButton.reset();
  cancelButton.reset();
  SetBackground(nullptr);
}

std::unique_ptr<ZButton> ZConfirmDialog::MakeButton(int32_t spriteId, uint32_t id, int32_t centreX) {
  // Centred on its place by the width its art has.
  std::unique_ptr<ZSprite> measure = MakeControlSprite(graphics, game->controlsSurface.get(), nullptr, spriteId, 0, 0);
  if (measure == nullptr || measure->GetCurrentFrame() == nullptr) return nullptr;
  const int32_t w = measure->GetCurrentFrame()->Width();
  auto button = std::make_unique<ZButton>();
  const ZControlLayout layout{centreX - w / 2, kButtonTop, spriteId, id, kButtonMask, true};
  if (!MakeControlButton(button.get(), layout, graphics, game->controlsSurface.get(), viewport.get(), this,
                         game->sound.get())) {
    return nullptr;
  }
  return button;
}

platform::LRESULT ZConfirmDialog::WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
  switch (message) {
    case platform::WM_HELP:
      return 0;  // a question of one line needs no help page over it
    case platform::WM_SYSKEYDOWN:
      // F10 takes its screenshot while the sign is up.
      platform::SendMessage(GetParent(), message, wParam, lParam);
      break;
    default:
      break;
  }
  return ZDialog::WindowProc(message, wParam, lParam);
}
