// SDL2 host: integer-scaled letterboxed picture, virtual-key input, relative aiming, colour cursor.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/clock.h"
#include "platform/wait.h"

namespace platform {
namespace {

constexpr uint32_t kSwallowWindowMs = 250;  // a click this soon after regaining focus brought us back
constexpr uint32_t kCursorRedrawMs = 10;     // a drawn cursor follows the pointer at most this often

bool WindowedRequested() {
  const char* v = std::getenv("BRUSHFEATHER_WINDOWED");
  return v != nullptr && std::strcmp(v, "1") == 0;
}

uint32_t VirtualKey(const SDL_Keysym& k) {
  SDL_Keycode c = k.sym;
  if (c >= SDLK_a && c <= SDLK_z) return static_cast<uint32_t>('A' + (c - SDLK_a));
  if (c >= SDLK_0 && c <= SDLK_9) return static_cast<uint32_t>('0' + (c - SDLK_0));
  if (c >= SDLK_F1 && c <= SDLK_F12) return VK_F1 + static_cast<uint32_t>(c - SDLK_F1);
  switch (c) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_KP_0: return 0x60;
    case SDLK_KP_1: return 0x61;
    case SDLK_KP_2: return 0x62;
    case SDLK_KP_3: return 0x63;
    case SDLK_KP_4: return 0x64;
    case SDLK_KP_5: return 0x65;
    case SDLK_KP_6: return 0x66;
    case SDLK_KP_7: return 0x67;
    case SDLK_KP_8: return 0x68;
    case SDLK_KP_9: return 0x69;
    case SDLK_KP_MULTIPLY: return 0x6A;
    case SDLK_KP_PLUS: return 0x6B;
    case SDLK_KP_MINUS: return 0x6D;
    case SDLK_KP_PERIOD: return 0x6E;
    case SDLK_KP_DIVIDE: return 0x6F;
    case SDLK_SEMICOLON: return 0xBA;
    case SDLK_EQUALS: return 0xBB;
    case SDLK_COMMA: return 0xBC;
    case SDLK_MINUS: return 0xBD;
    case SDLK_PERIOD: return 0xBE;
    case SDLK_SLASH: return 0xBF;
    case SDLK_BACKQUOTE: return 0xC0;
    case SDLK_LEFTBRACKET: return 0xDB;
    case SDLK_BACKSLASH: return 0xDC;
    case SDLK_RIGHTBRACKET: return 0xDD;
    case SDLK_QUOTE: return 0xDE;
    default: break;
  }
  // Layouts whose letters are not Latin: fall back to the key's position.
  SDL_Scancode s = k.scancode;
  if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return static_cast<uint32_t>('A' + (s - SDL_SCANCODE_A));
  if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return static_cast<uint32_t>('1' + (s - SDL_SCANCODE_1));
  if (s == SDL_SCANCODE_0) return '0';
  return 0;
}

// The length of the UTF-8 character starting with `lead` (1 for a stray byte).
size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead >> 5) == 0x6) return 2;
  if ((lead >> 4) == 0xE) return 3;
  if ((lead >> 3) == 0x1E) return 4;
  return 1;
}

}  // namespace

SdlBackend::SdlBackend() = default;

SdlBackend::~SdlBackend() {
  if (audio_ != nullptr) audio_->Close();
  audio_.reset();
  CloseDisplay();
}

bool SdlBackend::OpenDisplay(int32_t width, int32_t height) {
  if (window_ != nullptr) return true;
  if (width <= 0 || height <= 0) return false;
  width_ = width;
  height_ = height;
  if (!videoInit_) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      std::fprintf(stderr, "brushfeather: no display: %s\n", SDL_GetError());
      return false;
    }
    videoInit_ = true;
    // SDL falls back to drivers that show nothing; unless asked for by name, that is no display.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* wanted = std::getenv("SDL_VIDEODRIVER");
    if (driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
        (wanted == nullptr || std::strcmp(wanted, driver) != 0)) {
      std::fprintf(stderr, "brushfeather: no display (only SDL's \"%s\" video driver is available)\n", driver);
      CloseDisplay();
      return false;
    }
  }
  fullscreen_ = !WindowedRequested();
  // Full screen gives the desktop back when the player switches away; a window stays where it is.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, fullscreen_ ? "1" : "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "0");

  int32_t winW = width, winH = height;
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
    const int margin = 64;
    int f = std::max(1, std::min((usable.w - margin) / width, (usable.h - margin) / height));
    winW = width * f;
    winH = height * f;
  }
  int winX = SDL_WINDOWPOS_CENTERED, winY = SDL_WINDOWPOS_CENTERED;
  SDL_Rect bounds;
  if (fullscreen_ && SDL_GetDisplayBounds(0, &bounds) == 0) {
    // Placed over the whole display already, so it covers it even where no window manager
    // honours the full-screen request.
    winX = bounds.x;
    winY = bounds.y;
    winW = bounds.w;
    winH = bounds.h;
  }
  uint32_t flags = SDL_WINDOW_RESIZABLE | (fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  window_ = SDL_CreateWindow("Brushfeather", winX, winY, winW, winH, flags);
  if (window_ == nullptr) {
    std::fprintf(stderr, "brushfeather: cannot open a window: %s\n", SDL_GetError());
    CloseDisplay();
    return false;
  }
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) {
    std::fprintf(stderr, "brushfeather: cannot draw into the window: %s\n", SDL_GetError());
    CloseDisplay();
    return false;
  }
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
  if (texture_ == nullptr) {
    std::fprintf(stderr, "brushfeather: cannot make the screen texture: %s\n", SDL_GetError());
    CloseDisplay();
    return false;
  }
  // SDL turns text input on with the video system; it stays on only while an edit field asks for it.
  if (textInput_) SDL_StartTextInput();
  else SDL_StopTextInput();
  active_ = true;
  Layout();
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderPresent(renderer_);
  RebuildCursor();
  UpdateRelativeMode();
  return true;
}

void SdlBackend::CloseDisplay() {
  if (sdlCursor_ != nullptr) {
    SDL_SetCursor(SDL_GetDefaultCursor());
    SDL_FreeCursor(sdlCursor_);
    sdlCursor_ = nullptr;
  }
  if (relative_) SDL_SetRelativeMouseMode(SDL_FALSE);
  relative_ = false;
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) {
    SDL_StopTextInput();
    SDL_DestroyWindow(window_);
  }
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
  if (videoInit_) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoInit_ = false;
  }
}

void SdlBackend::Layout() {
  if (renderer_ == nullptr) return;
  int ow = 0, oh = 0;
  if (SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0 || ow <= 0 || oh <= 0) return;
  int f = std::min(ow / width_, oh / height_);
  if (f >= 1) {
    dstW_ = width_ * f;
    dstH_ = height_ * f;
  } else {
    // Smaller than the picture: shrink it, keeping its shape.
    f = 1;
    if (ow * height_ < oh * width_) {
      dstW_ = ow;
      dstH_ = std::max(1, ow * height_ / width_);
    } else {
      dstH_ = oh;
      dstW_ = std::max(1, oh * width_ / height_);
    }
  }
  dstX_ = (ow - dstW_) / 2;
  dstY_ = (oh - dstH_) / 2;
  if (f != scale_) {
    scale_ = f;
    RebuildCursor();
  }
}

bool SdlBackend::MapToFrame(int32_t wx, int32_t wy, int32_t* fx, int32_t* fy) const {
  // Window coordinates can differ from renderer pixels on high-density screens.
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(window_, &ww, &wh);
  if (renderer_ == nullptr || SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0 || ww <= 0 || wh <= 0) {
    return false;
  }
  int64_t px = static_cast<int64_t>(wx) * ow / ww;
  int64_t py = static_cast<int64_t>(wy) * oh / wh;
  int64_t x = (px - dstX_) * width_ / std::max(1, dstW_);
  int64_t y = (py - dstY_) * height_ / std::max(1, dstH_);
  if (px < dstX_) x = -1;
  if (py < dstY_) y = -1;
  *fx = static_cast<int32_t>(std::clamp<int64_t>(x, 0, width_ - 1));
  *fy = static_cast<int32_t>(std::clamp<int64_t>(y, 0, height_ - 1));
  return true;
}

void SdlBackend::Present(const FrameView& frame) {
  if (window_ == nullptr || frame.pixels == nullptr || frame.palette == nullptr || frame.width != width_ ||
      frame.height != height_ || frame.pitch < frame.width) {
    return;
  }
  const auto w = static_cast<size_t>(width_);
  // A flip of two equal buffers (a still hunt view, 36 times a second) shows nothing new: converting
  // and uploading it again would keep a core busy on software renderers for no visible change.
  if (haveFrame_ && lastPixels_.size() == w * static_cast<size_t>(height_) &&
      std::equal(frame.palette, frame.palette + 256, lastPalette_.begin())) {
    bool same = true;
    for (int32_t y = 0; y < height_ && same; ++y) {
      same = std::memcmp(lastPixels_.data() + static_cast<size_t>(y) * w,
                         frame.pixels + static_cast<size_t>(y) * static_cast<size_t>(frame.pitch), w) == 0;
    }
    if (same) return;
  }
  lastPixels_.resize(w * static_cast<size_t>(height_));
  for (int32_t y = 0; y < height_; ++y) {
    std::memcpy(lastPixels_.data() + static_cast<size_t>(y) * w,
                frame.pixels + static_cast<size_t>(y) * static_cast<size_t>(frame.pitch), w);
  }
  std::copy(frame.palette, frame.palette + 256, lastPalette_.begin());
  haveFrame_ = true;
  Redraw();
}

void SdlBackend::Redraw() {
  redrawDue_ = false;
  if (renderer_ == nullptr || texture_ == nullptr) return;
  lastRedraw_ = SDL_GetTicks();
  if (haveFrame_) {
    uint32_t lut[256];
    for (size_t i = 0; i < 256; ++i) {
      lut[i] = 0xFF000000u | (uint32_t{lastPalette_[i].r} << 16) | (uint32_t{lastPalette_[i].g} << 8) |
               lastPalette_[i].b;
    }
    void* raw = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &raw, &pitch) == 0) {
      const auto w = static_cast<size_t>(width_);
      for (int32_t y = 0; y < height_; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(raw) + static_cast<size_t>(y) * static_cast<size_t>(pitch));
        const uint8_t* in = lastPixels_.data() + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x) out[x] = lut[in[x]];
      }
      if (softwareCursor_ && cursorVisible_) DrawSoftwareCursor(static_cast<uint32_t*>(raw), pitch / 4);
      SDL_UnlockTexture(texture_);
    }
  }
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (haveFrame_) {
    SDL_Rect dst{dstX_, dstY_, dstW_, dstH_};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
  }
  SDL_RenderPresent(renderer_);
}

void SdlBackend::DrawSoftwareCursor(uint32_t* argb, int32_t pitchPixels) {
  if (!haveCursorImage_) {
    // The standard arrow, drawn as a small white arrow with a black edge.
    for (int32_t r = 0; r < 12; ++r) {
      for (int32_t c = 0; c <= r && c < 8; ++c) {
        int32_t x = cursorX_ + c, y = cursorY_ + r;
        if (x < 0 || y < 0 || x >= width_ || y >= height_) continue;
        bool edge = c == 0 || c == r || r == 11 || c == 7;
        argb[y * pitchPixels + x] = edge ? 0xFF000000u : 0xFFFFFFFFu;
      }
    }
    return;
  }
  for (int32_t r = 0; r < cursorImage_.height; ++r) {
    for (int32_t c = 0; c < cursorImage_.width; ++c) {
      uint32_t p = cursorArgb_[static_cast<size_t>(r) * static_cast<size_t>(cursorImage_.width) + static_cast<size_t>(c)];
      if ((p >> 24) == 0) continue;
      int32_t x = cursorX_ - cursorImage_.hotX + c, y = cursorY_ - cursorImage_.hotY + r;
      if (x < 0 || y < 0 || x >= width_ || y >= height_) continue;
      argb[y * pitchPixels + x] = p | 0xFF000000u;
    }
  }
}

void SdlBackend::SetFullscreen(bool fullscreen) {
  if (window_ == nullptr || fullscreen == fullscreen_) return;
  fullscreen_ = fullscreen;
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, fullscreen_ ? "1" : "0");
  if (fullscreen_) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window_), &bounds) == 0) {
      SDL_SetWindowPosition(window_, bounds.x, bounds.y);
      SDL_SetWindowSize(window_, bounds.w, bounds.h);
    }
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  } else {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_Rect usable;
    int f = 1;
    if (SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(window_), &usable) == 0) {
      f = std::max(1, std::min((usable.w - 64) / width_, (usable.h - 64) / height_));
    }
    SDL_SetWindowSize(window_, width_ * f, height_ * f);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  Layout();
  Redraw();
}

void SdlBackend::UpdateRelativeMode() {
  bool want = window_ != nullptr && active_ && confined_ && !cursorVisible_;
  if (want != relative_) {
    if (SDL_SetRelativeMouseMode(want ? SDL_TRUE : SDL_FALSE) == 0 || !want) {
      relative_ = want;
    }
    motionX_.Reset();
    motionY_.Reset();
    if (!relative_ && window_ != nullptr) WarpCursor(cursorX_, cursorY_);
    // Captured for aiming, the pointer is in the window whatever the host last said of it.
    if (relative_) PointerInside(true);
  }
  if (window_ != nullptr) {
    // A visible confined cursor (the game never does this today) keeps to the window at least.
    SDL_SetWindowGrab(window_, (active_ && confined_) ? SDL_TRUE : SDL_FALSE);
  }
  bool hostCursor = cursorVisible_ && !softwareCursor_ && !relative_;
  SDL_ShowCursor(hostCursor ? SDL_ENABLE : SDL_DISABLE);
}

void SdlBackend::SetCursorVisible(bool visible) {
  cursorVisible_ = visible;
  UpdateRelativeMode();
  if (softwareCursor_) redrawDue_ = true;
}

void SdlBackend::SetCursorConfined(bool confined) {
  confined_ = confined;
  UpdateRelativeMode();
}

void SdlBackend::WarpCursor(int32_t x, int32_t y) {
  cursorX_ = std::clamp(x, 0, width_ - 1);
  cursorY_ = std::clamp(y, 0, height_ - 1);
  motionDX_ = motionDY_ = 0;
  if (window_ == nullptr || relative_) return;  // relative mode: only the virtual cursor moves
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(window_, &ww, &wh);
  if (SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0 || ow <= 0 || oh <= 0) return;
  int64_t px = dstX_ + (static_cast<int64_t>(cursorX_) * dstW_ + dstW_ / 2) / width_;
  int64_t py = dstY_ + (static_cast<int64_t>(cursorY_) * dstH_ + dstH_ / 2) / height_;
  SDL_WarpMouseInWindow(window_, static_cast<int>(px * ww / ow), static_cast<int>(py * wh / oh));
}

void SdlBackend::SetCursorImage(const CursorImage* image) {
  if (image == nullptr || image->argb == nullptr || image->width <= 0 || image->height <= 0) {
    haveCursorImage_ = false;
    cursorArgb_.clear();
  } else {
    cursorArgb_.assign(image->argb, image->argb + static_cast<size_t>(image->width) * static_cast<size_t>(image->height));
    cursorImage_ = *image;
    cursorImage_.argb = cursorArgb_.data();
    haveCursorImage_ = true;
  }
  cursorScale_ = 0;
  RebuildCursor();
}

void SdlBackend::RebuildCursor() {
  if (window_ == nullptr) return;
  if (!haveCursorImage_) {
    if (sdlCursor_ != nullptr) {
      SDL_SetCursor(SDL_GetDefaultCursor());
      SDL_FreeCursor(sdlCursor_);
      sdlCursor_ = nullptr;
    }
    softwareCursor_ = false;
    UpdateRelativeMode();
    return;
  }
  if (sdlCursor_ != nullptr && cursorScale_ == scale_) return;
  // The cursor is drawn at the picture's scale, so it looks as it would on a 640 x 480 screen.
  const int32_t f = std::max(1, scale_);
  const int32_t w = cursorImage_.width * f, h = cursorImage_.height * f;
  std::vector<uint32_t> scaled(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      scaled[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
          cursorArgb_[static_cast<size_t>(y / f) * static_cast<size_t>(cursorImage_.width) + static_cast<size_t>(x / f)];
    }
  }
  SDL_Cursor* made = nullptr;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(scaled.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_ARGB8888);
  if (surface != nullptr) {
    made = SDL_CreateColorCursor(surface, cursorImage_.hotX * f + f / 2, cursorImage_.hotY * f + f / 2);
    SDL_FreeSurface(surface);
  }
  if (made != nullptr) {
    SDL_SetCursor(made);
    if (sdlCursor_ != nullptr) SDL_FreeCursor(sdlCursor_);
    sdlCursor_ = made;
    softwareCursor_ = false;
  } else {
    // No colour cursors here: draw it into the picture instead.
    if (sdlCursor_ != nullptr) {
      SDL_SetCursor(SDL_GetDefaultCursor());
      SDL_FreeCursor(sdlCursor_);
      sdlCursor_ = nullptr;
    }
    softwareCursor_ = true;
    redrawDue_ = true;
  }
  cursorScale_ = scale_;
  UpdateRelativeMode();
}

int SdlBackend::ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags) {
  uint32_t kind = SDL_MESSAGEBOX_INFORMATION;
  if ((flags & 0xF0u) == MB_ICONERROR) kind = SDL_MESSAGEBOX_ERROR;
  else if ((flags & 0xF0u) == MB_ICONEXCLAMATION) kind = SDL_MESSAGEBOX_WARNING;
  // The box needs a free pointer: no relative mode, no grab, a visible cursor.
  if (window_ != nullptr) {
    if (relative_) SDL_SetRelativeMouseMode(SDL_FALSE);
    relative_ = false;
    SDL_SetWindowGrab(window_, SDL_FALSE);
    SDL_ShowCursor(SDL_ENABLE);
  }
  // A full-screen window would cover the box: make way for it first.
  if (window_ != nullptr && fullscreen_) SDL_MinimizeWindow(window_);
  if (SDL_ShowSimpleMessageBox(kind, caption.c_str(), text.c_str(), nullptr) != 0) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  }
  if (window_ != nullptr) UpdateRelativeMode();
  return IDOK;
}

void SdlBackend::SetTextInput(bool on) {
  textInput_ = on;
  if (window_ == nullptr) return;  // applied when the display opens
  if (on) SDL_StartTextInput();
  else SDL_StopTextInput();
}

AudioOut& SdlBackend::Audio() {
  if (audio_ == nullptr) audio_ = CreateSdlAudioOut();
  return *audio_;
}

void SdlBackend::PointerInside(bool inside) {
  if (pointerOutside_ == !inside) return;
  FlushMotion();
  pointerOutside_ = !inside;
  InputEvent e;
  e.type = inside ? InputEvent::Type::PointerEnter : InputEvent::Type::PointerLeave;
  pending_.push_back(e);
}

void SdlBackend::FlushMotion() {
  if (!motionPending_) return;
  motionPending_ = false;
  InputEvent e;
  e.type = InputEvent::Type::MouseMove;
  e.x = cursorX_;
  e.y = cursorY_;
  e.dx = motionDX_;
  e.dy = motionDY_;
  motionDX_ = motionDY_ = 0;
  pending_.push_back(e);
}

void SdlBackend::Translate(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_QUIT: {
      FlushMotion();
      InputEvent e;
      e.type = InputEvent::Type::Quit;
      pending_.push_back(e);
      return;
    }
    case SDL_WINDOWEVENT:
      switch (ev.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (!active_) {
            active_ = true;
            swallowClick_ = true;
            swallowUntil_ = SDL_GetTicks() + kSwallowWindowMs;
            InputEvent e;
            e.type = InputEvent::Type::Activate;
            pending_.push_back(e);
            UpdateRelativeMode();
          }
          return;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          if (active_) {
            FlushMotion();
            active_ = false;
            InputEvent e;
            e.type = InputEvent::Type::Deactivate;
            pending_.push_back(e);
            UpdateRelativeMode();
          }
          return;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESIZED:
          Layout();
          Redraw();
          return;
        case SDL_WINDOWEVENT_EXPOSED:
          Redraw();
          return;
        case SDL_WINDOWEVENT_LEAVE:
          // A captured pointer (aiming) never really leaves; the host may still say so when it warps.
          if (!relative_) PointerInside(false);
          return;
        case SDL_WINDOWEVENT_ENTER:
          PointerInside(true);
          return;
        default:
          return;
      }
    default:
      break;
  }
  if (!active_) return;  // input while another application has the focus is not ours
  switch (ev.type) {
    case SDL_MOUSEMOTION: {
      if (relative_) {
        int ww = 0, wh = 0, ow = 0, oh = 0;
        SDL_GetWindowSize(window_, &ww, &wh);
        if (renderer_ == nullptr || SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0) ow = oh = 0;
        const int32_t dx = motionX_.Add(ev.motion.xrel, ww, ow, dstW_, width_);
        const int32_t dy = motionY_.Add(ev.motion.yrel, wh, oh, dstH_, height_);
        if (dx == 0 && dy == 0) return;
        cursorX_ = std::clamp(cursorX_ + dx, 0, width_ - 1);
        cursorY_ = std::clamp(cursorY_ + dy, 0, height_ - 1);
        motionDX_ += dx;
        motionDY_ += dy;
      } else {
        int32_t x = 0, y = 0;
        if (!MapToFrame(ev.motion.x, ev.motion.y, &x, &y)) return;
        motionDX_ += x - cursorX_;
        motionDY_ += y - cursorY_;
        cursorX_ = x;
        cursorY_ = y;
      }
      motionPending_ = true;
      if (softwareCursor_) redrawDue_ = true;
      return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      bool down = ev.type == SDL_MOUSEBUTTONDOWN;
      int32_t button = ev.button.button == SDL_BUTTON_LEFT ? 0 : ev.button.button == SDL_BUTTON_RIGHT ? 1 : -1;
      if (button < 0) return;
      if (down && swallowClick_) {
        swallowClick_ = false;
        if (SDL_GetTicks() <= swallowUntil_) {
          swallowUp_ = true;
          return;
        }
      }
      if (!down && swallowUp_) {
        swallowUp_ = false;
        return;
      }
      if (!relative_) {
        int32_t x = 0, y = 0;
        if (MapToFrame(ev.button.x, ev.button.y, &x, &y)) {
          if (x != cursorX_ || y != cursorY_) {
            motionDX_ += x - cursorX_;
            motionDY_ += y - cursorY_;
            cursorX_ = x;
            cursorY_ = y;
            motionPending_ = true;
          }
        }
      }
      FlushMotion();
      InputEvent e;
      e.type = down ? InputEvent::Type::ButtonDown : InputEvent::Type::ButtonUp;
      e.button = button;
      e.x = cursorX_;
      e.y = cursorY_;
      pending_.push_back(e);
      return;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      bool down = ev.type == SDL_KEYDOWN;
      bool alt = (ev.key.keysym.mod & KMOD_ALT) != 0;
      uint32_t vk = VirtualKey(ev.key.keysym);
      if (vk == VK_RETURN && alt && down) {
        swallowAltEnterUp_ = true;
        if (ev.key.repeat == 0) SetFullscreen(!fullscreen_);  // held down, it toggles once
        return;
      }
      if (vk == VK_RETURN && !down && swallowAltEnterUp_) {
        swallowAltEnterUp_ = false;
        return;
      }
      if (vk == 0) return;
      FlushMotion();
      InputEvent e;
      e.type = down ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
      e.key = vk;
      e.system = vk == VK_F10 || vk == VK_MENU || alt;
      e.repeat = ev.key.repeat != 0;
      pending_.push_back(e);
      return;
    }
    case SDL_TEXTINPUT: {
      SDL_Keymod mod = SDL_GetModState();
      if ((mod & KMOD_ALT) != 0 && (mod & KMOD_MODE) == 0) return;  // Alt combinations are system keys
      FlushMotion();
      const char* t = ev.text.text;
      size_t n = strnlen(t, sizeof(ev.text.text));
      size_t i = 0;
      while (i < n) {
        size_t len = std::min(Utf8Length(static_cast<unsigned char>(t[i])), n - i);
        InputEvent e;
        e.type = InputEvent::Type::Text;
        std::memcpy(e.text, t + i, std::min(len, sizeof(e.text) - 1));
        pending_.push_back(e);
        i += len;
      }
      return;
    }
    default:
      return;
  }
}

bool SdlBackend::PollEvent(InputEvent* event) {
  if (videoInit_) {
    if (pending_.empty()) {
      SDL_Event ev;
      while (pending_.empty() && SDL_PollEvent(&ev) != 0) Translate(ev);
      // Motion is summed over everything the host has queued, then reported once.
      if (pending_.empty()) FlushMotion();
    }
    if (redrawDue_) {
      const uint32_t since = SDL_GetTicks() - lastRedraw_;
      if (since >= kCursorRedrawMs) {
        Redraw();
      } else {
        WakeBy(timeGetTime() + (kCursorRedrawMs - since));  // the drawn cursor catches up then
      }
    }
  }
  if (pending_.empty()) return false;
  if (event != nullptr) *event = pending_.front();
  pending_.pop_front();
  return true;
}

bool SdlBackend::WaitForInput(uint32_t maxMs) {
  if (!pending_.empty() || motionPending_) return true;
  if (!videoInit_) {
    std::this_thread::sleep_for(std::chrono::milliseconds(maxMs));
    return false;
  }
  // SDL sleeps in the window system's own wait (no polling) and only peeks: PollEvent takes the event.
  return SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<uint32_t>(maxMs, INT32_MAX))) == 1;
}

}  // namespace platform
