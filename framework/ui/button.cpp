// ZButton: state resolution and frame order, state sounds, drawing through the sprite's viewport, messages.
#include "framework/ui/button.h"

#include "framework/graphics/graphics.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "framework/sound/dx_sound.h"
#include "platform/surface.h"
#include "platform/window.h"

Z_IMPLEMENT_CLASS(ZButton, ZWnd)

using platform::LPARAM;
using platform::LRESULT;
using platform::WPARAM;

namespace {

constexpr const char* kWindowName = "ZButton Window";
constexpr uint32_t kKeyTwo = 2;  // swallowed whole, down and up

// Index of the highest set bit, or -1 for 0.
int32_t HighestBit(int32_t v) {
  int32_t index = -1;
  for (uint32_t u = static_cast<uint32_t>(v); u != 0; u >>= 1) ++index;
  return index;
}

bool IsActionKey(WPARAM key) { return key == platform::VK_RETURN || key == platform::VK_SPACE; }
bool IsParentKey(WPARAM key) {
  return key == platform::VK_TAB || key == platform::VK_SHIFT || key == platform::VK_ESCAPE;
}

}  // namespace

ZButton::ZButton() : rectangle(std::make_unique<platform::Rect>()) {}

ZButton::~ZButton() {
  DestroyWindow();
  rectangle.reset();
  sprite.reset();
}

int32_t ZButton::ResolveState(int32_t requested, int32_t mask) {
  static constexpr int32_t kOrder[4][4] = {
      {1, 2, 4, 8},  // 1
      {2, 4, 8, 1},  // 2
      {4, 2, 8, 1},  // 4
      {8, 4, 2, 1},  // 8
  };
  int row = -1;
  switch (requested) {
    case 1: row = 0; break;
    case 2: row = 1; break;
    case 4: row = 2; break;
    case 8: row = 3; break;
    default: return kStateNone;
  }
  for (int32_t candidate : kOrder[row]) {
    if ((mask & candidate) != 0) return candidate;
  }
  return kStateNone;
}

int32_t ZButton::FrameIndex(int32_t resolved, int32_t mask) {
  static constexpr int32_t kFrameOrder[4] = {1, 4, 2, 8};
  int32_t index = 0;
  for (int32_t s : kFrameOrder) {
    if (s == resolved) return index;
    if ((mask & s) != 0) ++index;
  }
  return -1;
}

int32_t ZButton::Create(ZGraphics* g, int32_t mask, std::unique_ptr<ZSprite> newSprite, platform::Window* parent,
                        uint32_t id, ZDXSound* soundSystem, int32_t group) {
  if (mask == 0 || newSprite == nullptr) return 0;
  stateMask = mask;
  newSprite->placed = 1;
  platform::Rect r;
  newSprite->GetRect(&r);
  *rectangle = r;
  graphics = g;
  platform::WindowClass cls;
  cls.style = platform::CS_HREDRAW | platform::CS_VREDRAW;
  cls.cursor = ZWnd::AppCursor();
  uint32_t style = platform::WS_CHILD | (group != 0 ? platform::WS_GROUP : 0u);
  if (!CreateEx(0, platform::RegisterWindowClass(cls), kWindowName, style, r, parent, id)) return 0;
  sprite = std::move(newSprite);
  if (soundSystem != nullptr) sound = soundSystem;
  state = kStateNone;
  return 1;
}

int32_t ZButton::SetStateSound(int32_t stateBit, int32_t resourceId) {
  if (stateBit == 0) return 0;
  int32_t index = HighestBit(stateBit);
  if (index >= 0 && index < 4) stateSounds[index] = resourceId;
  return 1;
}

int32_t ZButton::SetState(int32_t s) {
  if (sprite == nullptr) return 0;
  if (s == kStateNone) {
    state = kStateNone;
    return 0;
  }
  // The sound follows the request, so a press is heard even on art without a pressed look; the
  // first state a button gets is silent.
  if (s != state && state != kStateNone) {
    int32_t index = HighestBit(s);
    int32_t id = (index >= 0 && index < 4) ? stateSounds[index] : 0;
    if (sound != nullptr && id != 0) {
      sound->Stop(id);
      sound->SetPosition(id, 0);
      sound->Play(id, 0);
    }
  }
  int32_t resolved = ResolveState(s, stateMask);
  if (resolved == state || resolved == kStateNone) return state;
  sprite->SetFrame(FrameIndex(resolved, stateMask));
  state = resolved;
  Draw();
  return state;
}

int32_t ZButton::Draw() {
  if (sprite == nullptr || sprite->GetViewport() == nullptr || state == kStateNone) return 0;
  platform::Rect r;
  sprite->GetRect(&r);
  MoveWindow(r, false);
  if (!IsWindowVisible()) return 1;
  if (graphics == nullptr) return 0;
  ZSurface* back = graphics->GetBackSurface();
  ZSurface* front = graphics->GetFrontSurface();
  if (back == nullptr || front == nullptr || back->GetSurface2() == nullptr || front->GetSurface2() == nullptr) {
    return 0;
  }
  ZViewport* viewport = sprite->GetViewport();
  viewport->SetTarget(back);
  viewport->DrawPart(&r);
  sprite->DrawSelf();
  viewport->ToScreen(&r);
  platform::Surface* to = front->GetSurface2();
  platform::Surface* from = back->GetSurface2();
  if (platform::Succeeded(to->BltFast(r.left, r.top, from, &r, platform::DDBLTFAST_WAIT))) return 1;
  return platform::Succeeded(to->Blt(&r, from, &r, platform::DDBLT_WAIT, nullptr)) ? 1 : 0;
}

int32_t ZButton::HitTest(int32_t x, int32_t y) {
  if (sprite == nullptr) return 0;
  if (pixelHitTest == 0) return 1;
  platform::Rect r;
  sprite->GetRect(&r);
  return sprite->HitTest(x + r.left, y + r.top);
}

platform::Window* ZButton::NotifyTarget() const {
  platform::Window* owner = GetOwner();
  return platform::IsWindow(owner) ? owner : GetParent();
}

void ZButton::Notify(int32_t code) {
  notifyHeader.from = this;
  notifyHeader.idFrom = GetDlgCtrlID();
  notifyHeader.code = code;
  platform::Window* target = NotifyTarget();
  if (target == nullptr) return;
  // The receiver may end a modal loop or delete this button; nothing here is touched afterwards.
  platform::SendMessage(target, platform::WM_NOTIFY, GetDlgCtrlID(), reinterpret_cast<LPARAM>(&notifyHeader));
}

LRESULT ZButton::PostToParent(uint32_t message, WPARAM wParam, LPARAM lParam) {
  platform::PostMessage(NotifyTarget(), message, wParam, lParam);
  return 0;
}

// --- the momentary button's own handling ---

LRESULT ZButton::OnActionKeyDown(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (state == kStateHighlighted) {
    SetState(kStatePressed);
    return 0;
  }
  return PostToParent(message, wParam, lParam);
}

LRESULT ZButton::OnActionKeyUp(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (state != kStatePressed) return PostToParent(message, wParam, lParam);
  if (armed != 0) return 0;  // a mouse press owns this button; its release decides
  SetState(hot != 0 ? kStateHighlighted : kStateNormal);
  Notify(platform::NM_CLICK);
  return 0;
}

void ZButton::OnPointerEnter(bool leftHeld) {
  if (!leftHeld) {
    SetState(kStateHighlighted);
  } else if (armed != 0) {
    SetState(kStatePressed);
  }
  Notify(platform::NM_SETFOCUS);
  hot = 1;
}

void ZButton::OnPointerLeave(bool) { OnKillFocus(); }

void ZButton::OnSetFocus() {
  SetState(kStateHighlighted);
  Notify(platform::NM_SETFOCUS);
  hot = 1;
}

void ZButton::OnKillFocus() {
  hot = 0;
  Notify(platform::NM_KILLFOCUS);
  SetState(kStateNormal);
}

void ZButton::OnLeftDown() {
  if (hot == 0) return;
  SetState(kStatePressed);
  armed = 1;
}

void ZButton::OnLeftUp() {
  if (armed == 0 || hot == 0) return;
  armed = 0;
  SetState(kStateHighlighted);
  Notify(platform::NM_CLICK);
}

LRESULT ZButton::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case platform::WM_PAINT:
      Draw();
      ValidateRect(nullptr);
      return 0;
    case platform::WM_ERASEBKGND:
      return 1;
    case platform::WM_GETDLGCODE:
      return platform::DLGC_BUTTON | platform::DLGC_WANTTAB;
    case platform::WM_KEYDOWN:
      if (IsActionKey(wParam)) return OnActionKeyDown(message, wParam, lParam);
      if (IsParentKey(wParam)) return PostToParent(message, wParam, lParam);
      if (wParam == kKeyTwo) return 0;
      break;
    case platform::WM_KEYUP:
      if (IsActionKey(wParam)) return OnActionKeyUp(message, wParam, lParam);
      if (IsParentKey(wParam)) return PostToParent(message, wParam, lParam);
      if (wParam == kKeyTwo) return 0;
      break;
    case platform::WM_SYSKEYDOWN:
    case platform::WM_SYSKEYUP:
      // System keys (F10's screenshot) belong to the screen, not to a button that has the focus.
      return PostToParent(message, wParam, lParam);
    case platform::WM_RBUTTONDOWN:
      return 0;
    case platform::WM_MOUSEMOVE: {
      const bool hit = HitTest(platform::LParamX(lParam), platform::LParamY(lParam)) != 0;
      const bool leftHeld = (wParam & platform::MK_LBUTTON) != 0;
      if (hit && hot == 0) {
        OnPointerEnter(leftHeld);
      } else if (!hit && hot != 0) {
        OnPointerLeave(leftHeld);
      }
      break;
    }
    case platform::WM_SETFOCUS:
      OnSetFocus();
      break;
    case platform::WM_KILLFOCUS:
      OnKillFocus();
      break;
    case platform::WM_LBUTTONDOWN:
      OnLeftDown();
      break;
    case platform::WM_LBUTTONUP:
      OnLeftUp();
      return 0;
    default:
      break;
  }
  return DefWindowProc(message, wParam, lParam);
}
