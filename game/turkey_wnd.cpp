// ZTurkeyWnd: creation of the main window and its hand-over of messages to the game.
#include "game/turkey_wnd.h"

#include "game/art_files.h"
#include "game/turkey_game.h"
#include "platform/cursor_resource.h"

Z_IMPLEMENT_CLASS(ZTurkeyWnd, ZMainWnd)

namespace {
constexpr const char* kCaption = "Brushfeather";
}

bool ZTurkeyWnd::Create() {
  platform::WindowClass cls;
  cls.style = platform::CS_HREDRAW | platform::CS_VREDRAW;
  cls.cursor = platform::LoadCursor(nullptr, art::kGameCursorId);  // null: the standard arrow
  cls.blackBackground = true;
  std::string className = platform::RegisterWindowClass(cls);
  platform::Rect rect{0, 0, platform::GetSystemMetrics(platform::SM_CXSCREEN),
                      platform::GetSystemMetrics(platform::SM_CYSCREEN)};
  return CreateEx(platform::WS_EX_TOPMOST, className, kCaption, platform::WS_POPUP | platform::WS_VISIBLE, rect,
                  nullptr, 0, nullptr);
}

platform::LRESULT ZTurkeyWnd::WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
  if (game != nullptr) return game->HandleMessage(this, message, wParam, lParam);
  return DefWindowProc(message, wParam, lParam);
}

bool ZTurkeyWnd::DestroyWindow() { return ZMainWnd::DestroyWindow(); }
