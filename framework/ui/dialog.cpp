// ZDialog: composing and painting the dialog, hiding it, its keyboard, mouse and notification rules, the modal loop.
#include "framework/ui/dialog.h"

#include <algorithm>
#include <cstring>

#include "framework/graphics/graphics.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "framework/ui/button.h"
#include "framework/ui/radio_button.h"
#include "platform/surface.h"
#include "platform/window.h"

Z_IMPLEMENT_CLASS(ZDialog, ZWnd)

using platform::LPARAM;
using platform::LRESULT;
using platform::Rect;
using platform::WPARAM;

namespace {
constexpr const char* kWindowName = "ZDialog Window";
}  // namespace

ZDialog::ZDialog() = default;

ZDialog::~ZDialog() {
  // The controls belong to the subclass, which has destroyed them by now.
  controls.clear();
  focus = -1;
  viewport.reset();
  surface.reset();
  graphics = nullptr;
  background = nullptr;
  DestroyWindow();
}

int32_t ZDialog::Create(ZGraphics* g, platform::Window* parent, const Rect* rect, uint32_t id, int32_t isFramed) {
  // An empty rectangle would ask the graphics system for the front surface instead of a dialog's own.
  if (g == nullptr || parent == nullptr || rect == nullptr || rect->IsEmpty()) return 0;
  platform::WindowClass cls;
  cls.cursor = ZWnd::AppCursor();
  if (!CreateEx(0, platform::RegisterWindowClass(cls), kWindowName, platform::WS_CHILD, *rect, parent, id)) return 0;
  auto newSurface = std::make_unique<ZSurface>();
  if (newSurface->Create(g, rect->Width(), rect->Height()) == 0) {
    DestroyWindow();
    return 0;
  }
  surface = std::move(newSurface);
  viewport = std::make_unique<ZViewport>(g, surface.get(), g->GetBackSurface(), rect, 0, 0);
  graphics = g;
  framed = isFramed;
  return 1;
}

void ZDialog::SetTransparent(int32_t key) {
  transparent = 1;
  transparentKey = key;
}

void ZDialog::AddControl(platform::Window* control) {
  if (control == nullptr) return;
  controls.push_back(control);
  focus = 0;
}

int32_t ZDialog::ExchangeData(int32_t) { return 1; }

platform::Window* ZDialog::GetFocusControl() const {
  if (focus < 0 || static_cast<size_t>(focus) >= controls.size()) return nullptr;
  return controls[static_cast<size_t>(focus)];
}

int32_t ZDialog::IndexOf(const platform::Window* control) const {
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i] == control) return static_cast<int32_t>(i);
  }
  return -1;
}

void ZDialog::End(int32_t how) {
  result = how;
  running = 0;
}

// --- composing ---

int32_t ZDialog::Compose() {
  if (surface == nullptr || surface->GetSurface2() == nullptr) return 0;
  return transparent != 0 ? ComposeTransparent() : ComposeOpaque();
}

int32_t ZDialog::ComposeTransparent() {
  if (graphics == nullptr || graphics->GetFrontSurface() == nullptr) return 0;
  platform::Surface* own = surface->GetSurface2();
  platform::Surface* front = graphics->GetFrontSurface()->GetSurface2();
  if (front == nullptr) return 0;
  Rect screen = GetWindowRect();
  Rect whole{0, 0, surface->GetWidth(), surface->GetHeight()};
  if (platform::Failed(own->Blt(&whole, front, &screen, platform::DDBLT_WAIT, nullptr))) return 0;
  if (background == nullptr || background->GetSurface2() == nullptr) return 1;
  background->SetColorKey(transparentKey);
  return platform::Succeeded(
             own->Blt(nullptr, background->GetSurface2(), nullptr, platform::DDBLT_WAIT | platform::DDBLT_KEYSRC, nullptr))
             ? 1
             : 0;
}

int32_t ZDialog::ComposeOpaque() {
  const int32_t W = surface->GetWidth();
  const int32_t H = surface->GetHeight();
  const int32_t b = framed != 0 ? kFrameWidth : 0;
  surface->Fill(nullptr, kFaceIndex);
  ZSurfaceLock lock(surface.get());
  if (!lock.Ok()) return 0;
  uint8_t* bits = lock.Desc().bits;
  const int32_t pitch = lock.Desc().pitch;
  // Small dialogs put several frame lines on one pixel; the later line wins and nothing lands outside.
  auto put = [&](int32_t x, int32_t y, uint8_t v) {
    if (x >= 0 && x < W && y >= 0 && y < H) bits[static_cast<ptrdiff_t>(y) * pitch + x] = v;
  };
  if (framed != 0) {
    put(W - 1, 0, kEdgeIndex);
    for (int32_t x = 1; x <= W - 3; ++x) put(x, 1, kShadowIndex);
    put(W - 2, 1, kLightIndex);
    put(W - 1, 1, kEdgeIndex);
    for (int32_t y = 2; y <= H - 3; ++y) {
      put(1, y, kShadowIndex);
      put(W - 2, y, kLightIndex);
      put(W - 1, y, kEdgeIndex);
    }
    for (int32_t x = 1; x <= W - 1; ++x) put(x, H - 2, kLightIndex);
    for (int32_t x = 0; x <= W - 1; ++x) put(x, H - 1, kEdgeIndex);
  }
  const int32_t innerW = W - 2 * b;
  const int32_t innerH = H - 2 * b;
  if (background == nullptr || innerW <= 0 || innerH <= 0) return 1;
  ZSurfaceLock art(background);
  if (!art.Ok()) return 1;
  const int32_t bw = art.Desc().width;
  const int32_t bh = art.Desc().height;
  if (bw <= 0 || bh <= 0) return 1;
  // Every background row takes part in the vertical repeat, the last one included.
  for (int32_t row = 0; row < innerH; ++row) {
    const uint8_t* from = art.Desc().bits + static_cast<ptrdiff_t>(row % bh) * art.Desc().pitch;
    uint8_t* to = bits + static_cast<ptrdiff_t>(row + b) * pitch + b;
    for (int32_t x = 0; x < innerW; x += bw) std::memcpy(to + x, from, static_cast<size_t>(std::min(bw, innerW - x)));
  }
  return 1;
}

// --- painting and hiding ---

void ZDialog::Paint() {
  const Rect client = GetClientRect();
  const Rect screen = GetWindowRect();
  if (surface != nullptr && (surface->GetWidth() != client.Width() || surface->GetHeight() != client.Height())) {
    surface.reset();
    if (graphics != nullptr && !client.IsEmpty()) {
      auto resized = std::make_unique<ZSurface>();
      if (resized->Create(graphics, client.Width(), client.Height()) != 0) {
        surface = std::move(resized);
        if (viewport != nullptr) viewport->Setup(surface.get(), graphics->GetFrontSurface(), &screen, 0, 0);
      }
    }
  }
  if (surface == nullptr || viewport == nullptr || graphics == nullptr) {
    ValidateRect(nullptr);
    return;
  }
  Rect view;
  viewport->GetViewRect(&view);
  if (!(view == screen)) viewport->SetViewRect(&screen);
  if (surface->IsLost()) surface->Restore();
  if (background != nullptr && background->IsLost()) background->Restore();
  // When composing stops early the surface still goes out as far as it got.
  Compose();
  viewport->SetTarget(graphics->GetFrontSurface());
  viewport->Draw();
  viewport->SetTarget(graphics->GetBackSurface());
  viewport->Draw();
  ExchangeData(0);
  for (platform::Window* control : std::vector<platform::Window*>(controls)) {
    if (!platform::IsWindow(control)) continue;
    control->ShowWindow(platform::SW_SHOW);
    ZButton* button = ZWndCast<ZButton>(control);
    if (button != nullptr && button->state == ZButton::kStateNone) button->SetState(ZButton::kStateNormal);
    // The dialog's picture has just covered it: it paints itself again over it.
    control->InvalidateRect(nullptr, false);
    control->UpdateWindow();
  }
  ValidateRect(nullptr);
}

void ZDialog::OnHide() {
  if (graphics != nullptr && viewport != nullptr) {
    // The screen rectangle the dialog covered goes to both dirty lists, so the next redraw of the
    // game screen uncovers it. The lists hold screen coordinates, as every redraw reads them.
    Rect covered;
    viewport->GetViewRect(&covered);
    graphics->AddFollowingRect(&covered);
    graphics->AddPendingRect(&covered);
  }
  ExchangeData(1);
}

// --- keyboard, focus, notifications ---

void ZDialog::MoveFocus() {
  if (focus < 0 || controls.empty()) return;
  const int32_t count = static_cast<int32_t>(controls.size());
  int32_t next = shiftDown != 0 ? focus - 1 : focus + 1;
  if (next >= count) next = 0;
  if (next < 0) next = count - 1;
  platform::Window* control = controls[static_cast<size_t>(next)];
  if (platform::IsWindow(control)) control->SetFocus();
  focus = next;
}

void ZDialog::OnNotify(const platform::NotifyHeader* header) {
  if (header == nullptr) return;
  switch (header->code) {
    case platform::NM_SETFOCUS: {
      const int32_t index = IndexOf(header->from);
      if (index < 0) return;
      platform::Window* previous = GetFocusControl();
      if (previous != nullptr && previous != header->from && ZWndCast<ZButton>(previous) != nullptr) {
        platform::SendMessage(previous, platform::WM_KILLFOCUS, reinterpret_cast<WPARAM>(this), 0);
      }
      focus = index;
      return;
    }
    case platform::NM_CLICK: {
      if (header->idFrom == static_cast<uintptr_t>(kResultOk) || header->idFrom == static_cast<uintptr_t>(kResultCancel)) {
        End(static_cast<int32_t>(header->idFrom));
        return;
      }
      ZRadioButton* clicked = ZWndCast<ZRadioButton>(header->from);
      if (clicked == nullptr || clicked->checked == 0) return;
      // All radio buttons of a dialog are one group.
      for (platform::Window* control : controls) {
        ZRadioButton* other = ZWndCast<ZRadioButton>(control);
        if (other != nullptr && other != clicked && platform::IsWindow(other)) other->SetCheck(0);
      }
      return;
    }
    default:
      return;
  }
}

LRESULT ZDialog::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case platform::WM_PAINT:
      Paint();
      return 0;
    case platform::WM_ERASEBKGND:
      return 1;
    case platform::WM_SHOWWINDOW:
      if (wParam == 0) OnHide();
      break;
    case platform::WM_KEYDOWN:
      switch (wParam) {
        case platform::VK_TAB:
          MoveFocus();
          return 0;
        case platform::VK_RETURN:
          return 0;  // OK is given on the release
        case platform::VK_SHIFT:
          shiftDown = 1;
          break;
        case platform::VK_ESCAPE:
          End(kResultCancel);
          return 0;
        default:
          break;
      }
      break;
    case platform::WM_KEYUP:
      switch (wParam) {
        case platform::VK_RETURN:
          End(kResultOk);
          return 0;
        case platform::VK_SHIFT:
          shiftDown = 0;
          break;
        case platform::VK_ESCAPE:
          End(kResultCancel);
          return 0;
        default:
          break;
      }
      break;
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONUP:
    case platform::WM_SETFOCUS:
      return 0;
    case platform::WM_MOUSEMOVE: {
      // Over the dialog itself, not over a control: a highlighted button lets go.
      platform::Window* control = GetFocusControl();
      if (control != nullptr && ZWndCast<ZButton>(control) != nullptr) {
        platform::SendMessage(control, platform::WM_KILLFOCUS, reinterpret_cast<WPARAM>(this), 0);
        SetFocus();
        focus = -1;
      }
      break;
    }
    case platform::WM_KILLFOCUS: {
      platform::Window* control = GetFocusControl();
      if (control != nullptr && ZWndCast<ZButton>(control) != nullptr) {
        platform::SendMessage(control, platform::WM_KILLFOCUS, reinterpret_cast<WPARAM>(this), 0);
      }
      focus = -1;
      return 0;
    }
    case platform::WM_ACTIVATEAPP:
      if (wParam == 0 && running != 0) {
        End(kResultCancel);
        return 0;
      }
      break;
    case platform::WM_NOTIFY:
      OnNotify(reinterpret_cast<const platform::NotifyHeader*>(lParam));
      return 0;
    case platform::WM_DESTROY:
      // A dialog whose window goes away (its parent destroyed) cannot go on running.
      if (running != 0) End(kResultCancel);
      break;
    default:
      break;
  }
  return DefWindowProc(message, wParam, lParam);
}

// --- the modal loop ---

int32_t ZDialog::DoModal() {
  result = 0;
  if (!IsCreated()) return result;  // a dialog without a window cannot be run
  running = 1;
  ShowWindow(platform::SW_SHOW);
  UpdateWindow();
  SetFocus();
  while (running != 0) {
    platform::Msg msg;
    if (!platform::PeekMessage(&msg, nullptr, 0, 0, platform::PM_NOREMOVE)) continue;
    if (platform::GetMessage(&msg, nullptr, 0, 0) == 0) {
      running = 0;
      result = kResultQuit;
      // The program's own loop must see the quit message too, or it would go on without its window.
      platform::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    platform::TranslateMessage(&msg);
    platform::DispatchMessage(&msg);
  }
  running = 0;
  ShowWindow(platform::SW_HIDE);
  platform::Window* owner = GetOwner();
  if (!platform::IsWindow(owner)) owner = GetParent();
  if (platform::IsWindow(owner)) owner->SetFocus();
  return result;
}
