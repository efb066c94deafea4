// ZWnd and CWnd class records; ZWnd's creation passes straight to the platform window.
#include "framework/ui/wnd.h"

const ZRuntimeClass CWnd::classRecord = {"CWnd", static_cast<int32_t>(sizeof(CWnd)), 0xFFFF, nullptr, nullptr};
Z_IMPLEMENT_CLASS(ZWnd, CWnd)

bool ZWnd::CreateEx(uint32_t exStyle, const std::string& className, const std::string& windowName, uint32_t style,
                    const platform::Rect& rect, platform::Window* parent, uint32_t id, void* param) {
  return platform::Window::CreateEx(exStyle, className, windowName, style, rect, parent, id, param);
}
