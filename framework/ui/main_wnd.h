// ZMainWnd: the framework's main-window base; creation is ZWnd's, unchanged.
#pragma once

#include "framework/ui/wnd.h"

class ZMainWnd : public ZWnd {
  Z_DECLARE_CLASS(ZMainWnd)

 public:
  bool CreateEx(uint32_t exStyle, const std::string& className, const std::string& windowName, uint32_t style,
                const platform::Rect& rect, platform::Window* parent, uint32_t id, void* param = nullptr) override;
};
