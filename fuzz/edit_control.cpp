// Fuzz target: the edit field driven by arbitrary messages (characters, keys, selections, texts, clicks).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/display.h"
#include "platform/edit_control.h"
#include "platform/headless/headless_backend.h"
#include "platform/utf8.h"
#include "platform/window.h"

namespace {

struct World {
  platform::HeadlessBackend backend{0, 0};
  std::unique_ptr<platform::Display> display;
  platform::Window parent;
  World() {
    platform::SetBackend(&backend);
    platform::Display::Create(&display);
    display->SetDisplayMode(640, 480, 8);
    platform::SurfaceDesc d;
    d.flags = platform::DDSD_CAPS | platform::DDSD_BACKBUFFERCOUNT;
    d.caps = platform::DDSCAPS_PRIMARYSURFACE | platform::DDSCAPS_FLIP | platform::DDSCAPS_COMPLEX;
    d.backBufferCount = 1;
    platform::Surface* primary = nullptr;
    display->CreatePrimarySurface(d, &primary);
    parent.CreateEx(0, platform::RegisterWindowClass(platform::WindowClass{}), "fuzz",
                    platform::WS_POPUP | platform::WS_VISIBLE, platform::Rect{0, 0, 640, 480}, nullptr, 0);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World* world = new World();
  using namespace platform;
  EditControl edit;
  const bool scroll = size > 0 && (data[0] & 1) != 0;
  edit.Create(WS_VISIBLE | (scroll ? ES_AUTOHSCROLL : 0), Rect{140, 62, 390, 79}, &world->parent, 500);
  edit.SetFocus();
  size_t i = 1;
  auto next = [&]() -> uint32_t { return i < size ? data[i++] : 0; };
  static const uint32_t kKeys[] = {VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_DELETE, VK_BACK, VK_TAB, 'A'};
  while (i < size) {
    const uint32_t op = next() % 7;
    switch (op) {
      case 0: {
        const uint32_t c = next() | (next() << 8) | ((next() & 0x1F) << 16);
        SendMessage(&edit, WM_CHAR, c, 0);
        break;
      }
      case 1: SendMessage(&edit, WM_KEYDOWN, kKeys[next() % 8], 0); break;
      case 2: {
        const auto a = static_cast<int8_t>(next()), b = static_cast<int8_t>(next());
        SendMessage(&edit, EM_SETSEL, static_cast<WPARAM>(static_cast<intptr_t>(a)), b);
        SendMessage(&edit, EM_SCROLLCARET, 0, 0);
        break;
      }
      case 3:
      case 4: {
        const size_t n = std::min<size_t>(next(), size - i);
        const std::string text(reinterpret_cast<const char*>(data + i), n);
        i += n;
        if (op == 3) edit.SetWindowText(text);
        else edit.ReplaceSel(text);
        break;
      }
      case 5: {
        const int32_t x = static_cast<int32_t>(next()) - 20;
        SendMessage(&edit, WM_LBUTTONDOWN, 0, MakeLParam(x, 5));
        SendMessage(&edit, WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(x * 3, 5));
        SendMessage(&edit, WM_LBUTTONUP, 0, MakeLParam(x * 3, 5));
        break;
      }
      default: SendMessage(&edit, EM_LIMITTEXT, next(), 0); break;
    }
    int32_t start = -1, end = -1;
    edit.GetSel(&start, &end);
    const int32_t length = edit.Field().Length();
    if (start < 0 || start > end || end > length) __builtin_trap();
    if (edit.Field().ScrollX() < 0) __builtin_trap();
    // The window text is the field's text, character for character.
    if (static_cast<int32_t>(Utf8ToCodePoints(edit.GetWindowText()).size()) != length) __builtin_trap();
  }
  edit.DestroyWindow();
  return 0;
}
