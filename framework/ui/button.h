// ZButton: the framework's art-drawn momentary button: display states, state sounds, notifications.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/ui/wnd.h"
#include "platform/types.h"

class ZGraphics;
class ZSprite;
class ZDXSound;

class ZButton : public ZWnd {
  Z_DECLARE_CLASS(ZButton)

 public:
  // Display states, one bit each; 0 is "no state yet" (not drawn).
  static constexpr int32_t kStateNone = 0;
  static constexpr int32_t kStateExtra = 1;  // a further look; first in the frame order
  static constexpr int32_t kStateNormal = 2;
  static constexpr int32_t kStateHighlighted = 4;
  static constexpr int32_t kStatePressed = 8;

  ZButton();
  ~ZButton() override;
  ZButton(const ZButton&) = delete;
  ZButton& operator=(const ZButton&) = delete;

  // Takes the sprite (its frames are the looks of the states in `stateMask`), makes it draw through
  // its viewport, and creates the hidden child window over the sprite's rectangle. 0 without a mask
  // or a sprite, or when the window cannot be made; the sprite is kept only on success.
  virtual int32_t Create(ZGraphics* graphics, int32_t stateMask, std::unique_ptr<ZSprite> sprite,
                         platform::Window* parent, uint32_t id, ZDXSound* sound, int32_t group = 0);
  // Shows the state (resolved against the mask), playing the requested state's sound when it changes
  // from a state the button already had. Returns the state shown.
  virtual int32_t SetState(int32_t s);
  // The sound played on entering a state (one bit); 0 for state 0, else 1.
  int32_t SetStateSound(int32_t stateBit, int32_t resourceId);
  // Draws the current look onto the back surface through the sprite's viewport and copies it to the
  // front surface, so the change is seen at once. 0 when it cannot draw or copy.
  int32_t Draw();
  // Whether window point (x, y) counts as on the button.
  int32_t HitTest(int32_t x, int32_t y);

  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;

  // The state a request shows with this mask (0 when the mask has none of the candidates), and the
  // frame that state has in the sprite (frames are stored in the order 1, 4, 2, 8).
  static int32_t ResolveState(int32_t requested, int32_t stateMask);
  static int32_t FrameIndex(int32_t resolved, int32_t stateMask);

  ZSprite* GetSprite() const { return sprite.get(); }
  const platform::NotifyHeader& GetNotifyHeader() const { return notifyHeader; }
  int32_t GetStateSound(int32_t index) const { return (index >= 0 && index < 4) ? stateSounds[index] : 0; }

  int32_t state = kStateNone;
  int32_t stateMask = 0;
  int32_t armed = 0;
  int32_t hot = 0;
  int32_t pixelHitTest = 1;

 protected:
  // Who hears this button: its owner, else its parent.
  platform::Window* NotifyTarget() const;
  void Notify(int32_t code);
  // Passes a key message on to the parent unchanged, as a posted message; consumed.
  platform::LRESULT PostToParent(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam);

  // The messages in which the latching and radio buttons differ; each returns the message's result.
  virtual platform::LRESULT OnActionKeyDown(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam);
  virtual platform::LRESULT OnActionKeyUp(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam);
  virtual void OnPointerEnter(bool leftHeld);
  virtual void OnPointerLeave(bool leftHeld);
  virtual void OnSetFocus();
  virtual void OnKillFocus();
  virtual void OnLeftDown();
  virtual void OnLeftUp();

  std::unique_ptr<ZSprite> sprite;
  ZGraphics* graphics = nullptr;
  std::unique_ptr<platform::Rect> rectangle;
  platform::NotifyHeader notifyHeader;
  ZDXSound* sound = nullptr;
  int32_t stateSounds[4] = {0, 0, 0, 0};
};
