// ZWnd and CWnd class records; ZWnd's creation passes straight to the platform window.
#include "framework/ui/wnd.h"

#include <algorithm>

const ZRuntimeClass CWnd::classRecord = {"CWnd", static_cast<int32_t>(sizeof(CWnd)), 0xFFFF, nullptr, nullptr};
Z_IMPLEMENT_CLASS(ZWnd, CWnd)

bool ZWnd::CreateEx(uint32_t exStyle, const std::string& className, const std::string& windowName, uint32_t style,
                    const platform::Rect& rect, platform::Window* parent, uint32_t id, void* param) {
  return platform::Window::CreateEx(exStyle, className, windowName, style, rect, parent, id, param);
}

namespace {
const platform::Cursor* appCursor = nullptr;
}  // namespace

void ZWnd::SetAppCursor(const platform::Cursor* cursor) { appCursor = cursor; }
const platform::Cursor* ZWnd::AppCursor() { return appCursor; }

void CWnd::CenterWindow() {
  if (!IsCreated()) return;
  const platform::Rect own = GetWindowRect();
  platform::Rect area{0, 0, platform::GetSystemMetrics(platform::SM_CXSCREEN),
                      platform::GetSystemMetrics(platform::SM_CYSCREEN)};
  platform::Window* over = GetParent() != nullptr ? GetParent() : GetOwner();
  if (platform::IsWindow(over)) area = GetParent() != nullptr ? over->GetClientRect() : over->GetWindowRect();
  int32_t left = area.left + (area.Width() - own.Width()) / 2;
  int32_t top = area.top + (area.Height() - own.Height()) / 2;
  // Keep the top-left corner inside the area, so a window larger than it shows its beginning.
  left = std::max(left, area.left);
  top = std::max(top, area.top);
  MoveWindow(platform::Rect{left, top, left + own.Width(), top + own.Height()}, false);
}
