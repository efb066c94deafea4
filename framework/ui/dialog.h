// ZDialog: a dialog drawn by the framework: its own surface and viewport, a focus list of controls, a modal loop.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/ui/wnd.h"
#include "platform/types.h"

class ZGraphics;
class ZSurface;
class ZViewport;

class ZDialog : public ZWnd {
  Z_DECLARE_CLASS(ZDialog)

 public:
  // How the modal loop ended.
  static constexpr int32_t kResultOk = 1;
  static constexpr int32_t kResultCancel = 2;
  static constexpr int32_t kResultQuit = 3;
  // Palette indices of the opaque look: the face, the frame's shadow, light and outer edge.
  static constexpr uint8_t kFaceIndex = 24;
  static constexpr uint8_t kShadowIndex = 8;
  static constexpr uint8_t kLightIndex = 25;
  static constexpr uint8_t kEdgeIndex = 26;
  static constexpr int32_t kFrameWidth = 3;

  ZDialog();
  ~ZDialog() override;
  ZDialog(const ZDialog&) = delete;
  ZDialog& operator=(const ZDialog&) = delete;

  // Creates the hidden child window (rectangle in parent coordinates), its surface of that size and
  // the viewport that copies the surface to the screen at the dialog's place. 1, or 0 without a
  // graphics system, parent or (non-empty) rectangle, or when the window or surface cannot be made.
  int32_t Create(ZGraphics* graphics, platform::Window* parent, const platform::Rect* rect, uint32_t id,
                 int32_t framed);
  // See-through: background pixels of index `key` show what the screen had under the dialog.
  void SetTransparent(int32_t key);
  // Appends a control to the focus list and puts the focus on the list's first control.
  void AddControl(platform::Window* control);
  // The dialog's artwork (not owned); null for none.
  void SetBackground(ZSurface* surface) { background = surface; }

  // Direction 0 copies the subclass's values into its controls (every paint), 1 copies them back
  // (when the dialog is hidden). The base has nothing to copy.
  virtual int32_t ExchangeData(int32_t direction);
  // Shows the dialog and runs its own message loop until OK, Cancel, a quit message or the loss of
  // the application's activation ends it; hides it again and returns how it ended.
  virtual int32_t DoModal();

  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;

  // Builds the dialog's picture in its surface: the screen beneath with the background keyed over it
  // (transparent), or the face colour with the frame and the tiled background (opaque). 1 or 0.
  int32_t Compose();
  // The control that has the framework focus, or null.
  platform::Window* GetFocusControl() const;

  int32_t transparentKey = 0;
  int32_t transparent = 0;
  ZGraphics* graphics = nullptr;
  std::unique_ptr<ZSurface> surface;
  ZSurface* background = nullptr;
  std::unique_ptr<ZViewport> viewport;
  std::vector<platform::Window*> controls;
  int32_t focus = -1;  // index into controls; -1 none
  int32_t shiftDown = 0;
  int32_t running = 0;
  int32_t framed = 0;
  int32_t result = 0;

 protected:
  void Paint();
  void OnHide();
  void MoveFocus();
  void OnNotify(const platform::NotifyHeader* header);
  int32_t ComposeTransparent();
  int32_t ComposeOpaque();
  int32_t IndexOf(const platform::Window* control) const;
  // Ends the modal loop with this result.
  void End(int32_t how);
};
