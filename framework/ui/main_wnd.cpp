// ZMainWnd: passes creation to ZWnd.
#include "framework/ui/main_wnd.h"

Z_IMPLEMENT_CLASS(ZMainWnd, ZWnd)

bool ZMainWnd::CreateEx(uint32_t exStyle, const std::string& className, const std::string& windowName,
                        uint32_t style, const platform::Rect& rect, platform::Window* parent, uint32_t id,
                        void* param) {
  return ZWnd::CreateEx(exStyle, className, windowName, style, rect, parent, id, param);
}
