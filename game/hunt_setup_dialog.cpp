// ZHuntSetupDialog: building the dialog from its art, its data exchange, and its messages.
#include "game/hunt_setup_dialog.h"

#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/surface.h"
#include "framework/ui/button.h"
#include "framework/ui/edit.h"
#include "framework/ui/radio_button.h"
#include "game/art_files.h"
#include "game/control_art.h"
#include "game/turkey_game.h"
#include "platform/module.h"
#include "platform/window.h"

namespace {

constexpr int32_t kPreviewSprite = 15;
constexpr int32_t kPreviewX = 75;
constexpr int32_t kPreviewY = 255;

constexpr ZControlLayout kOkLayout{100, 320, 13, ZHuntSetupDialog::kOkId, 14, true};
constexpr ZControlLayout kCancelLayout{275, 320, 2, ZHuntSetupDialog::kCancelId, 14, true};
// The five hunts: sprites and ids 7..11, pressed look while checked, no highlight sound.
constexpr ZControlLayout kAreaLayouts[ZHuntSetupDialog::kAreaCount] = {
    {100, 100, 7, 7, 10, false}, {210, 100, 8, 8, 10, false}, {320, 100, 9, 9, 10, false},
    {153, 180, 10, 10, 10, false}, {273, 180, 11, 11, 10, false},
};

}  // namespace

ZHuntSetupDialog::ZHuntSetupDialog(ZTurkeyGame* owner, ZGraphics* g, platform::Window* parent,
                                   ZSurface* controlsSurface, ZDXSound* sound)
    : game(owner) {
  areaIndex = ValidArea(owner != nullptr ? owner->areaIndex : 0);
  backgroundImage = std::make_unique<ZImage>();
  const bool haveSign = backgroundImage->Load(art::kSetupSignBitmapId, platform::GetOwnModule()) != 0;
  backgroundSurface = std::make_unique<ZSurface>();
  const bool haveSurface = haveSign && backgroundSurface->CreateFromImage(g, backgroundImage.get(), 0) != 0;
  const platform::Rect rect{0, 0, kWidth, kHeight};
  if (Create(g, parent, &rect, 0, 0) == 0) return;
  const bool haveControls = CreateControls(controlsSurface, sound);
  CenterWindow();
  if (haveSurface) SetBackground(backgroundSurface.get());
  built = (haveSurface && haveControls) ? 1 : 0;
}

ZHuntSetupDialog::~ZHuntSetupDialog() {
  buttons.clear();
  nameEdit.reset();
  okButton.reset();
  cancelButton.reset();
  for (auto& area : areaButtons) area.reset();
  preview.reset();
  backgroundSurface.reset();
  backgroundImage.reset();
}

std::unique_ptr<ZSprite> ZHuntSetupDialog::ControlSprite(ZSurface* controlsSurface, int32_t spriteId, int32_t x,
                                                         int32_t y) {
  return MakeControlSprite(graphics, controlsSurface, viewport.get(), spriteId, x, y);
}

bool ZHuntSetupDialog::CreateControls(ZSurface* controlsSurface, ZDXSound* sound) {
  // The preview is a plain sprite painted straight onto the screen; its frames are the five hunts.
  preview = ControlSprite(controlsSurface, kPreviewSprite, kPreviewX, kPreviewY);
  bool ok = preview != nullptr && preview->SetFrame(areaIndex) != 0;
  if (preview != nullptr) preview->SetTargets(graphics != nullptr ? graphics->GetFrontSurface() : nullptr, nullptr);

  okButton = std::make_unique<ZButton>();
  ok = MakeControlButton(okButton.get(), kOkLayout, graphics, controlsSurface, viewport.get(), this, sound) && ok;
  cancelButton = std::make_unique<ZButton>();
  ok = MakeControlButton(cancelButton.get(), kCancelLayout, graphics, controlsSurface, viewport.get(), this, sound) && ok;
  buttons.push_back(okButton.get());
  buttons.push_back(cancelButton.get());
  AddControl(okButton.get());
  AddControl(cancelButton.get());
  for (int32_t i = 0; i < kAreaCount; ++i) {
    areaButtons[static_cast<size_t>(i)] = std::make_unique<ZRadioButton>();
    ZRadioButton* area = areaButtons[static_cast<size_t>(i)].get();
    ok = MakeControlButton(area, kAreaLayouts[i], graphics, controlsSurface, viewport.get(), this, sound) && ok;
    AddControl(area);
  }
  // Last in the focus list: Tab comes to the name after the hunts.
  nameEdit = std::make_unique<ZEdit>();
  ok = nameEdit->Create(this, kNameRect, kNameId) != 0 && ok;
  AddControl(nameEdit.get());
  return ok;
}

int32_t ZHuntSetupDialog::ExchangeData(int32_t direction) {
  if (direction == 0) {
    // The dialog paints itself again whenever the screen under it is redrawn; only the first paint
    // of a showing puts the values in, or a repaint would undo the player's typing and clicks.
    if (filledSinceShown != 0 && IsWindowVisible()) return 1;
    filledSinceShown = IsWindowVisible() ? 1 : 0;
    if (nameEdit != nullptr && nameEdit->IsCreated()) nameEdit->SetWindowText(playerName);
    if (areaIndex >= 0 && areaIndex < kAreaCount) {
      for (int32_t i = 0; i < kAreaCount; ++i) {
        if (areaButtons[static_cast<size_t>(i)] != nullptr) areaButtons[static_cast<size_t>(i)]->SetCheck(i == areaIndex ? 1 : 0);
      }
    }
    return 1;
  }
  if (nameEdit != nullptr && nameEdit->IsCreated()) playerName = nameEdit->GetWindowText();
  // The last checked one wins; with none checked the hunt stays as it was.
  for (int32_t i = 0; i < kAreaCount; ++i) {
    const ZRadioButton* area = areaButtons[static_cast<size_t>(i)].get();
    if (area != nullptr && area->checked != 0) areaIndex = i;
  }
  return 1;
}

void ZHuntSetupDialog::DrawPreview() {
  if (preview == nullptr) return;
  platform::Point origin;
  ClientToScreen(&origin);
  const int32_t x = preview->GetX();
  const int32_t y = preview->GetY();
  preview->SetPosition(x + origin.x, y + origin.y);
  preview->DrawSelf();
  preview->SetPosition(x, y);
}

platform::LRESULT ZHuntSetupDialog::WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
  switch (message) {
    case platform::WM_PAINT: {
      platform::LRESULT r = ZDialog::WindowProc(message, wParam, lParam);
      DrawPreview();
      return r;
    }
    case platform::WM_NOTIFY: {
      const auto* header = reinterpret_cast<const platform::NotifyHeader*>(lParam);
      if (header != nullptr && header->code == platform::NM_CLICK && header->idFrom >= kFirstAreaId &&
          header->idFrom < kFirstAreaId + kAreaCount) {
        if (preview != nullptr) preview->SetFrame(static_cast<int32_t>(header->idFrom - kFirstAreaId));
        DrawPreview();
      }
      break;
    }
    case platform::WM_SHOWWINDOW:
      filledSinceShown = 0;  // shown again (or hidden): the next paint shows the values afresh
      break;
    case platform::WM_SYSKEYDOWN:
      // F10 takes its screenshot while the dialog is up.
      platform::SendMessage(GetParent(), message, wParam, lParam);
      break;
    default:
      break;
  }
  return ZDialog::WindowProc(message, wParam, lParam);
}
