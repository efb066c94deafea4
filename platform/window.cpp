// The window tree, focus, z-order, the message queue and input routing, on top of the backend.
#include "platform/window.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <unordered_set>

#include "platform/audio_out.h"
#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/pump.h"
#include "platform/wait.h"

namespace platform {

struct Cursor {
  std::vector<uint32_t> argb;
  CursorImage image;
};

namespace {

constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;
// The longest the pump sleeps when nothing has asked to be woken earlier.
constexpr uint32_t kLongestSleepMs = 1000;

constexpr std::array<COLORREF, kSysColorCount> kDefaultSysColors = {
    0xC8D0D4, 0x808000, 0x800000, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x800000, 0xFFFFFF, 0xC8D0D4,
    0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
    0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xFF9933, 0xC8D0D4};

struct State {
  std::vector<Window*> topLevels;  // recency order, bottom to top (bands applied on top of it)
  std::unordered_set<const Window*> live;
  std::deque<Msg> queue;
  Window* focus = nullptr;
  Window* capture = nullptr;
  bool quitPending = false;
  int quitCode = 0;
  bool active = true;
  bool pointerInside = true;  // the host's pointer is over the game's window
  int showCount = 0;
  bool clipped = false;
  Rect clip{0, 0, kScreenWidth, kScreenHeight};
  Point cursorPos{kScreenWidth / 2, kScreenHeight / 2};
  const Cursor* cursor = nullptr;
  bool cursorSet = false;
  std::array<bool, 256> keys{};       // as the taken input messages say
  std::array<bool, 256> asyncKeys{};  // as input arrived
  uint64_t nextSerial = 1;
  std::map<std::string, WindowClass> classes;
  std::vector<std::unique_ptr<Cursor>> cursors;  // kept for the program's lifetime
  std::array<COLORREF, kSysColorCount> sysColors = kDefaultSysColors;
  std::string appName;
  bool pulling = false;
};

State& S() {
  static State state;
  return state;
}

Rect ScreenRect() { return Rect{0, 0, kScreenWidth, kScreenHeight}; }

Point ClampToRect(Point p, const Rect& r) {
  if (r.IsEmpty()) return p;
  p.x = std::clamp(p.x, r.left, r.right - 1);
  p.y = std::clamp(p.y, r.top, r.bottom - 1);
  return p;
}

bool InRange(uint32_t message, uint32_t minMsg, uint32_t maxMsg) {
  if (minMsg == 0 && maxMsg == 0) return true;
  return message >= minMsg && message <= maxMsg;
}

void RegisterBuiltInClasses(State& s) {
  for (const char* name : {"EDIT", "BUTTON", "STATIC"}) s.classes[name] = WindowClass{};
}

// Decodes one UTF-8 character; 0 when the bytes are not a well-formed character.
uint32_t DecodeUtf8(const char* text, size_t size) {
  const auto* b = reinterpret_cast<const unsigned char*>(text);
  if (size == 0 || b[0] == 0) return 0;
  if (b[0] < 0x80) return b[0];
  int extra = 0;
  uint32_t cp = 0;
  if ((b[0] & 0xE0) == 0xC0) {
    extra = 1;
    cp = b[0] & 0x1F;
  } else if ((b[0] & 0xF0) == 0xE0) {
    extra = 2;
    cp = b[0] & 0x0F;
  } else if ((b[0] & 0xF8) == 0xF0) {
    extra = 3;
    cp = b[0] & 0x07;
  } else {
    return 0;
  }
  if (static_cast<size_t>(extra) >= size) return 0;
  for (int i = 1; i <= extra; ++i) {
    if ((b[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b[i] & 0x3F);
  }
  static constexpr uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return cp;
}

}  // namespace

// Everything that touches the windows' private state lives here.
class WindowManager {
 public:
  static bool Alive(const Window* w) { return w != nullptr && S().live.count(w) != 0; }
  static bool HasUpdate(const Window* w) { return w->hasUpdate_; }
  static uint64_t SerialOf(const Window* w) { return w != nullptr ? w->serial_ : 0; }
  static bool Alive(const Window* w, uint64_t serial) {
    return Alive(w) && (serial == 0 || w->serial_ == serial);
  }

  static LRESULT Call(Window* w, uint32_t message, WPARAM wParam, LPARAM lParam) {
    if (!Alive(w)) return 0;
    if (w->detached_) return w->DefWindowProc(message, wParam, lParam);
    return w->WindowProc(message, wParam, lParam);
  }

  static Window* TopLevelOf(Window* w) {
    while (w != nullptr && w->parent_ != nullptr) w = w->parent_;
    return w;
  }

  static bool EffectivelyTopmost(const Window* w) {
    // Only live owners count: SetOwner may have been given any object.
    for (int depth = 0; w != nullptr && depth < 64; w = Alive(w->owner_) ? w->owner_ : nullptr, ++depth) {
      if (w->exStyle_ & WS_EX_TOPMOST) return true;
    }
    return false;
  }

  // Top-level windows bottom to top: topmost band above the rest, owned windows above their owners.
  static std::vector<Window*> ZOrder() {
    std::vector<Window*> order;
    for (Window* w : S().topLevels) {
      if (!EffectivelyTopmost(w)) order.push_back(w);
    }
    for (Window* w : S().topLevels) {
      if (EffectivelyTopmost(w)) order.push_back(w);
    }
    const size_t n = order.size();
    for (size_t pass = 0; pass < n * n + 1; ++pass) {
      bool moved = false;
      for (size_t i = 0; i < order.size() && !moved; ++i) {
        Window* owner = order[i]->owner_;
        if (owner == nullptr || !Alive(owner)) continue;
        auto it = std::find(order.begin() + static_cast<std::ptrdiff_t>(i) + 1, order.end(), owner);
        if (it != order.end()) {
          Window* w = order[i];
          size_t ownerIndex = static_cast<size_t>(it - order.begin());
          order.erase(order.begin() + static_cast<std::ptrdiff_t>(i));
          order.insert(order.begin() + static_cast<std::ptrdiff_t>(ownerIndex), w);  // just above it
          moved = true;
        }
      }
      if (!moved) break;
    }
    return order;
  }

  static void RaiseToTop(Window* w) {
    auto& list = w->parent_ != nullptr ? w->parent_->children_ : S().topLevels;
    auto it = std::find(list.begin(), list.end(), w);
    if (it == list.end()) return;
    list.erase(it);
    list.push_back(w);
  }

  // Shown on screen: created, this and every ancestor visible, and no ancestor minimised.
  static bool Showing(const Window* w) {
    if (!Alive(w)) return false;
    for (const Window* x = w; x != nullptr; x = x->parent_) {
      if (!x->visible_ || x->minimized_) return false;
    }
    return true;
  }

  static Point ScreenOrigin(const Window* w) {
    Point p;
    for (const Window* x = w; x != nullptr; x = x->parent_) {
      p.x += x->rect_.left;
      p.y += x->rect_.top;
    }
    return p;
  }

  static void InvalidateTree(Window* w) {
    if (w->visible_) w->InvalidateRect(nullptr, true);
    for (Window* c : w->children_) InvalidateTree(c);
  }

  // Invalidates what lies under a screen rectangle in the parent (or the top-level windows beneath).
  static void InvalidateUnder(Window* w, const Rect& screen) {
    if (w->parent_ != nullptr) {
      Rect r = screen;
      Point o = ScreenOrigin(w->parent_);
      OffsetRect(&r, -o.x, -o.y);
      w->parent_->InvalidateRect(&r, true);
      return;
    }
    for (Window* other : S().topLevels) {
      if (other == w || !other->visible_) continue;
      Rect r;
      if (!IntersectRect(&r, screen, other->GetWindowRect())) continue;
      OffsetRect(&r, -other->rect_.left, -other->rect_.top);
      other->InvalidateRect(&r, true);
    }
  }

  static Window* HitChild(Window* w, Point screen) {
    for (auto it = w->children_.rbegin(); it != w->children_.rend(); ++it) {
      Window* c = *it;
      if (!c->visible_ || c->minimized_ || !c->enabled_) continue;
      if (c->GetWindowRect().Contains(screen)) return HitChild(c, screen);
    }
    return w;
  }

  static Window* FromPoint(Point screen) {
    auto order = ZOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
      Window* w = *it;
      if (!w->visible_ || w->minimized_) continue;
      if (!w->GetWindowRect().Contains(screen)) continue;
      if (!w->enabled_) return nullptr;  // a disabled top-level window swallows the input
      return HitChild(w, screen);
    }
    return nullptr;
  }

  // The window that gets keys when no window has the focus.
  static Window* ActiveTopLevel() {
    auto order = ZOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
      if ((*it)->visible_ && !(*it)->minimized_ && (*it)->enabled_) return *it;
    }
    return nullptr;
  }

  static void Purge(const Window* w) {
    std::erase_if(S().queue, [w](const Msg& m) { return m.window == w; });
  }

  static bool Contains(const Window* root, const Window* w) {
    for (const Window* x = w; x != nullptr; x = x->parent_) {
      if (x == root) return true;
    }
    return false;
  }

  static Window* SetFocusTo(Window* w) {
    State& s = S();
    if (w != nullptr && !Alive(w)) return nullptr;
    Window* old = s.focus;
    if (old == w) return old;
    s.focus = w;
    if (Alive(old)) {
      Call(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(w), 0);
      if (s.focus != w) return old;  // the handler moved the focus itself
    }
    if (w != nullptr && Alive(w)) {
      Call(w, WM_SETFOCUS, reinterpret_cast<WPARAM>(Alive(old) ? old : nullptr), 0);
    }
    return old;
  }

  // Focus and capture leave a window that is being hidden or destroyed.
  static void LeaveWindow(Window* w) {
    State& s = S();
    if (s.capture != nullptr && Contains(w, s.capture)) s.capture = nullptr;
    if (s.focus != nullptr && Contains(w, s.focus)) {
      SetFocusTo(Alive(w->parent_) ? w->parent_ : nullptr);
    }
  }

  static void Unlink(Window* w) {
    State& s = S();
    for (Window* c : std::vector<Window*>(w->children_)) Unlink(c);
    if (w->parent_ != nullptr) {
      std::erase(w->parent_->children_, w);
    } else {
      std::erase(s.topLevels, w);
    }
    s.live.erase(w);
    Purge(w);
    if (s.focus == w) s.focus = nullptr;
    if (s.capture == w) s.capture = nullptr;
    for (Window* other : s.topLevels) {
      if (other->owner_ == w) other->owner_ = nullptr;
      if (other->lastFocus_ == w) other->lastFocus_ = nullptr;
    }
    w->children_.clear();
    w->parent_ = nullptr;
    w->lastFocus_ = nullptr;
    w->created_ = false;
    w->visible_ = false;
    w->hasUpdate_ = false;
    w->erase_ = false;
    w->destroying_ = false;
  }

  // Destroys owned windows, then this window (WM_DESTROY, when notify) and its children.
  static void Destroy(Window* w, bool notify) {
    if (!Alive(w) || w->destroying_) return;
    w->destroying_ = true;
    const uint64_t serial = w->serial_;
    for (Window* owned : std::vector<Window*>(S().topLevels)) {
      if (Alive(owned) && owned->owner_ == w) Destroy(owned, true);
      if (!Alive(w, serial)) return;
    }
    if (w->visible_) {
      Rect was = w->GetWindowRect();
      w->visible_ = false;
      InvalidateUnder(w, was);
    }
    if (notify) {
      LeaveWindow(w);
      if (!Alive(w, serial)) return;
      Call(w, WM_DESTROY, 0, 0);
      if (!Alive(w, serial)) return;  // the handler deleted the object; its destructor unlinked it
    } else {
      State& s = S();
      if (s.capture != nullptr && Contains(w, s.capture)) s.capture = nullptr;
      if (s.focus != nullptr && Contains(w, s.focus)) s.focus = nullptr;
    }
    for (Window* c : std::vector<Window*>(w->children_)) {
      if (Alive(c)) Destroy(c, true);
      if (!Alive(w, serial)) return;
    }
    Unlink(w);
  }

  static void PostInput(Window* target, uint32_t message, WPARAM wParam, LPARAM lParam, bool coalesce) {
    if (!Alive(target)) return;
    State& s = S();
    Msg m;
    m.window = target;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = timeGetTime();
    m.pt = s.cursorPos;
    m.serial = target->serial_;
    m.fromInput = true;
    if (coalesce && !s.queue.empty()) {
      Msg& last = s.queue.back();
      if (last.message == message && last.window == target && last.serial == target->serial_) {
        last = m;
        return;
      }
    }
    s.queue.push_back(m);
  }

  static WPARAM MouseFlags() {
    const State& s = S();
    WPARAM f = 0;
    if (s.asyncKeys[VK_LBUTTON]) f |= MK_LBUTTON;
    if (s.asyncKeys[VK_RBUTTON]) f |= MK_RBUTTON;
    if (s.asyncKeys[VK_SHIFT]) f |= MK_SHIFT;
    if (s.asyncKeys[VK_CONTROL]) f |= MK_CONTROL;
    return f;
  }

  static void MouseMessage(uint32_t message, Point screen) {
    State& s = S();
    s.cursorPos = ClampToRect(ClampToRect(screen, ScreenRect()), s.clipped ? s.clip : ScreenRect());
    Window* target = Alive(s.capture) ? s.capture : FromPoint(s.cursorPos);
    if (target == nullptr) return;
    if (message == WM_MOUSEMOVE) SetCursor(target->GetClassCursor());
    Point client = s.cursorPos;
    target->ScreenToClient(&client);
    PostInput(target, message, MouseFlags(), MakeLParam(client.x, client.y), message == WM_MOUSEMOVE);
  }

  static Window* KeyTarget() {
    State& s = S();
    if (Alive(s.focus)) return s.focus;
    return ActiveTopLevel();
  }

  static void BroadcastActivation(bool active) {
    std::vector<Window*> tops(S().topLevels);
    std::sort(tops.begin(), tops.end(), [](Window* a, Window* b) { return a->serial_ < b->serial_; });
    for (Window* w : tops) PostInput(w, WM_ACTIVATEAPP, active ? 1 : 0, 0, false);
  }

  static void HandleEvent(const InputEvent& e) {
    State& s = S();
    using T = InputEvent::Type;
    switch (e.type) {
      case T::Activate:
        if (!s.active) {
          s.active = true;
          BroadcastActivation(true);
        }
        return;
      case T::Deactivate:
        if (s.active) {
          s.active = false;
          s.capture = nullptr;
          s.keys.fill(false);
          s.asyncKeys.fill(false);
          BroadcastActivation(false);
        }
        return;
      case T::PointerLeave:
      case T::PointerEnter:
        s.pointerInside = e.type == T::PointerEnter;
        return;
      case T::Quit: {
        Window* main = nullptr;
        for (Window* w : s.topLevels) {
          if (!Alive(w->owner_) && (main == nullptr || w->serial_ < main->serial_)) main = w;
        }
        if (main != nullptr) PostInput(main, WM_CLOSE, 0, 0, false);
        return;
      }
      default:
        break;
    }
    if (!s.active) return;  // input of an inactive application goes nowhere
    switch (e.type) {
      case T::MouseMove:
        MouseMessage(WM_MOUSEMOVE, Point{e.x, e.y});
        break;
      case T::ButtonDown:
      case T::ButtonUp: {
        bool down = e.type == T::ButtonDown;
        bool right = e.button == 1;
        if (e.button != 0 && e.button != 1) break;
        s.asyncKeys[right ? VK_RBUTTON : VK_LBUTTON] = down;
        uint32_t message = right ? (down ? WM_RBUTTONDOWN : WM_RBUTTONUP) : (down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
        MouseMessage(message, Point{e.x, e.y});
        break;
      }
      case T::KeyDown:
      case T::KeyUp: {
        bool down = e.type == T::KeyDown;
        if (e.key < s.asyncKeys.size()) s.asyncKeys[e.key] = down;
        Window* target = KeyTarget();
        if (target == nullptr) break;
        uint32_t message = e.system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
        uint32_t flags = 1;  // repeat count
        if (s.asyncKeys[VK_MENU]) flags |= 1u << 29;
        if (down && e.repeat) flags |= 1u << 30;
        if (!down) flags |= (1u << 30) | (1u << 31);
        PostInput(target, message, e.key, static_cast<LPARAM>(static_cast<int32_t>(flags)), false);
        break;
      }
      case T::Text: {
        uint32_t cp = DecodeUtf8(e.text, sizeof(e.text));
        if (cp < 0x20 || cp == 0x7F) break;  // control characters come from TranslateMessage
        Window* target = KeyTarget();
        if (target != nullptr) PostInput(target, WM_CHAR, cp, 1, false);
        break;
      }
      default:
        break;
    }
  }

  static void PullInput() {
    State& s = S();
    Backend* backend = GetBackend();
    if (backend == nullptr || s.pulling) return;
    s.pulling = true;
    InputEvent e;
    int budget = 4096;  // a flood of host events cannot stall the loop for ever
    while (budget-- > 0 && backend->PollEvent(&e)) HandleEvent(e);
    s.pulling = false;
  }

  static void TakeKeyState(const Msg& m) {
    auto& keys = S().keys;
    switch (m.message) {
      case WM_KEYDOWN: case WM_SYSKEYDOWN:
        if (m.wParam < keys.size()) keys[m.wParam] = true;
        break;
      case WM_KEYUP: case WM_SYSKEYUP:
        if (m.wParam < keys.size()) keys[m.wParam] = false;
        break;
      case WM_LBUTTONDOWN: keys[VK_LBUTTON] = true; break;
      case WM_LBUTTONUP: keys[VK_LBUTTON] = false; break;
      case WM_RBUTTONDOWN: keys[VK_RBUTTON] = true; break;
      case WM_RBUTTONUP: keys[VK_RBUTTON] = false; break;
      default: break;
    }
  }

  static bool FilterMatches(const Msg& m, Window* filter, uint32_t minMsg, uint32_t maxMsg) {
    if (!InRange(m.message, minMsg, maxMsg)) return false;
    if (filter == nullptr) return true;
    return m.window != nullptr && Contains(filter, m.window);
  }

  static Window* FindPaint(Window* w, Window* filter) {
    if (!w->visible_ || w->minimized_) return nullptr;
    if (w->hasUpdate_ && (filter == nullptr || Contains(filter, w))) return w;
    for (Window* c : w->children_) {
      if (Window* p = FindPaint(c, filter)) return p;
    }
    return nullptr;
  }

  static Window* NextPaint(Window* filter) {
    for (Window* w : ZOrder()) {
      if (Window* p = FindPaint(w, filter)) return p;
    }
    return nullptr;
  }

  static void Paint(Window* w) {
    if (!Showing(w) || !w->hasUpdate_) return;
    const uint64_t serial = w->serial_;
    if (w->erase_) {
      w->erase_ = false;
      Call(w, WM_ERASEBKGND, 0, 0);
      if (!Alive(w, serial)) return;
    }
    Call(w, WM_PAINT, 0, 0);
  }

  static void UpdateTree(Window* w) {
    const uint64_t serial = w->serial_;
    if (!Showing(w)) return;
    if (w->hasUpdate_) Paint(w);
    if (!Alive(w, serial)) return;
    for (Window* c : std::vector<Window*>(w->children_)) {
      if (Alive(c)) UpdateTree(c);
      if (!Alive(w, serial)) return;
    }
  }

  static bool Peek(Msg* msg, Window* filter, uint32_t minMsg, uint32_t maxMsg, uint32_t remove) {
    State& s = S();
    RunPumpHooks();
    Backend* backend = GetBackend();
    if (backend != nullptr) backend->Audio().Pump();
    PullInput();
    for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
      if (!FilterMatches(*it, filter, minMsg, maxMsg)) continue;
      if (msg != nullptr) *msg = *it;
      if (remove & PM_REMOVE) {
        if (it->fromInput) TakeKeyState(*it);
        s.queue.erase(it);
      }
      return true;
    }
    if (s.quitPending && InRange(WM_QUIT, minMsg, maxMsg)) {
      if (msg != nullptr) {
        *msg = Msg{};
        msg->message = WM_QUIT;
        msg->wParam = static_cast<WPARAM>(static_cast<intptr_t>(s.quitCode));
        msg->time = timeGetTime();
        msg->pt = s.cursorPos;
      }
      if (remove & PM_REMOVE) s.quitPending = false;
      return true;
    }
    if (InRange(WM_PAINT, minMsg, maxMsg)) {
      if (Window* w = NextPaint(filter)) {
        if (msg != nullptr) {
          *msg = Msg{};
          msg->window = w;
          msg->message = WM_PAINT;
          msg->time = timeGetTime();
          msg->pt = s.cursorPos;
          msg->serial = w->serial_;
        }
        return true;  // stays until the window validates itself
      }
    }
    // Nothing to hand out: sleep until the host has input or something asked to be woken is due.
    const std::optional<uint32_t> due = TakeWakeDeadline();
    if (backend != nullptr && backend->IsInteractive()) {
      SleepUntilEventOrDue(backend->GetClock(), [backend](uint32_t ms) { return backend->WaitForInput(ms); }, due,
                           kLongestSleepMs);
    }
    return false;
  }

  static void Reset() {
    State& s = S();
    for (const Window* w : std::vector<const Window*>(s.live.begin(), s.live.end())) {
      Window* mw = const_cast<Window*>(w);
      mw->children_.clear();
      mw->parent_ = nullptr;
      mw->owner_ = nullptr;
      mw->lastFocus_ = nullptr;
      mw->created_ = false;
      mw->visible_ = false;
      mw->hasUpdate_ = false;
      mw->destroying_ = false;
    }
    s.live.clear();
    s.topLevels.clear();
    s.queue.clear();
    s.focus = nullptr;
    s.capture = nullptr;
    s.quitPending = false;
    s.quitCode = 0;
    s.active = true;
    s.pointerInside = true;
    s.showCount = 0;
    s.clipped = false;
    s.clip = ScreenRect();
    s.cursorPos = Point{kScreenWidth / 2, kScreenHeight / 2};
    s.cursor = nullptr;
    s.cursorSet = false;
    s.keys.fill(false);
    s.asyncKeys.fill(false);
    s.sysColors = kDefaultSysColors;
    s.pulling = false;
  }

  static bool Create(Window* w, uint32_t exStyle, const std::string& className, const std::string& name,
                     uint32_t style, const Rect& rect, Window* parent, uint32_t id, void* param) {
    State& s = S();
    if (w->created_) return false;
    if (s.classes.empty()) RegisterBuiltInClasses(s);
    if (!className.empty() && s.classes.count(className) == 0) return false;
    bool child = (style & WS_CHILD) != 0;
    if (child && !Alive(parent)) return false;
    if (parent != nullptr && !Alive(parent)) return false;
    w->exStyle_ = exStyle;
    w->style_ = style;
    w->id_ = id;
    w->rect_ = rect;
    w->text_ = name;
    w->className_ = className;
    w->visible_ = false;
    w->minimized_ = (style & WS_MINIMIZE) != 0;
    w->enabled_ = (style & WS_DISABLED) == 0;
    w->hasUpdate_ = false;
    w->update_ = Rect{};
    w->erase_ = false;
    w->detached_ = false;
    w->children_.clear();
    if (child) {
      w->parent_ = parent;
      parent->children_.push_back(w);
    } else {
      w->parent_ = nullptr;
      // A pop-up given a parent is owned by that parent's top-level window.
      if (parent != nullptr) w->owner_ = TopLevelOf(parent);
      s.topLevels.push_back(w);
    }
    w->serial_ = s.nextSerial++;
    w->created_ = true;
    s.live.insert(w);
    const uint64_t serial = w->serial_;
    if (Call(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(param)) == -1) {
      if (Alive(w, serial)) Destroy(w, true);
      return false;
    }
    if (!Alive(w, serial)) return false;
    if (style & WS_VISIBLE) w->ShowWindow(w->minimized_ ? SW_SHOWMINIMIZED : SW_SHOW);
    return Alive(w, serial);
  }

  static bool Show(Window* w, int cmd) {
    const bool wasVisible = w->visible_;
    if (!Alive(w)) return false;
    const uint64_t serial = w->serial_;
    State& s = S();
    switch (cmd) {
      case SW_HIDE: {
        if (!w->visible_) return false;
        Call(w, WM_SHOWWINDOW, 0, 0);
        if (!Alive(w, serial) || !w->visible_) return wasVisible;
        Rect was = w->GetWindowRect();
        w->visible_ = false;
        InvalidateUnder(w, was);
        LeaveWindow(w);
        return wasVisible;
      }
      case SW_MINIMIZE:
      case SW_SHOWMINIMIZED: {
        if (!w->visible_) {
          Call(w, WM_SHOWWINDOW, 1, 0);
          if (!Alive(w, serial)) return wasVisible;
          w->visible_ = true;
        }
        if (!w->minimized_) {
          w->minimized_ = true;
          if (s.focus != nullptr && Contains(w, s.focus)) {
            w->lastFocus_ = s.focus;
            SetFocusTo(nullptr);
          }
        }
        return wasVisible;
      }
      default: {
        const bool restore = w->minimized_ && cmd != SW_SHOW && cmd != SW_SHOWNOACTIVATE;
        if (!w->visible_) {
          Call(w, WM_SHOWWINDOW, 1, 0);
          if (!Alive(w, serial)) return wasVisible;
          if (w->visible_) return wasVisible;  // the handler showed it itself
          w->visible_ = true;
          if (restore) w->minimized_ = false;
          RaiseToTop(w);
          InvalidateTree(w);
        } else if (restore) {
          w->minimized_ = false;
          InvalidateTree(w);
        }
        if (w->parent_ == nullptr && cmd != SW_SHOWNOACTIVATE && !w->minimized_ &&
            (s.focus == nullptr || TopLevelOf(s.focus) != w)) {
          Window* target = Alive(w->lastFocus_) && Contains(w, w->lastFocus_) ? w->lastFocus_ : w;
          w->lastFocus_ = nullptr;
          SetFocusTo(target);
        }
        return wasVisible;
      }
    }
  }
};

// --- Window ---

Window::Window() = default;

Window::~Window() {
  if (!WindowManager::Alive(this)) return;
  if (detached_) {
    WindowManager::Unlink(this);
    return;
  }
  // Virtual calls no longer reach the subclass here, so this window itself gets nothing; its
  // children are other objects and are destroyed properly.
  detached_ = true;
  if (destroying_) {
    // Deleted from inside its own destruction (a WM_DESTROY handler): the children still hear of it.
    for (Window* c : std::vector<Window*>(children_)) WindowManager::Destroy(c, true);
  } else {
    WindowManager::Destroy(this, false);
  }
  if (WindowManager::Alive(this)) WindowManager::Unlink(this);
}

bool Window::CreateEx(uint32_t exStyle, const std::string& className, const std::string& windowName,
                      uint32_t style, const Rect& rect, Window* parent, uint32_t id, void* param) {
  return WindowManager::Create(this, exStyle, className, windowName, style, rect, parent, id, param);
}

bool Window::DestroyWindow() {
  if (!WindowManager::Alive(this)) return false;
  WindowManager::Destroy(this, true);
  return true;
}

LRESULT Window::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(message, wParam, lParam);
}

LRESULT Window::DefWindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      ValidateRect(nullptr);
      return 0;
    case WM_ERASEBKGND: {
      auto it = S().classes.find(className_);
      return (it != S().classes.end() && it->second.blackBackground) ? 1 : 0;
    }
    case WM_CLOSE:
      DestroyWindow();
      return 0;
    case WM_KEYDOWN:
      // A fresh press of F1 asks for help; held down, its repeats ask nothing more.
      if (wParam == VK_F1 && (static_cast<uint32_t>(lParam) & (1u << 30)) == 0) SendMessage(this, WM_HELP, 0, 0);
      return 0;
    case WM_HELP: {
      // Up the tree until a window answers it; the depth bound keeps a looping owner chain harmless.
      static int depth = 0;
      Window* up = (style_ & WS_CHILD) != 0 ? parent_ : owner_;
      if (!WindowManager::Alive(up) || depth >= 64) return 0;
      ++depth;
      const LRESULT answer = SendMessage(up, WM_HELP, wParam, lParam);
      --depth;
      return answer;
    }
    case WM_SETTEXT:
      text_ = lParam != 0 ? std::string(reinterpret_cast<const char*>(lParam)) : std::string();
      return 1;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(text_.size());
    case WM_GETTEXT: {
      if (lParam == 0 || wParam == 0) return 0;
      size_t n = std::min(static_cast<size_t>(wParam) - 1, text_.size());
      char* out = reinterpret_cast<char*>(lParam);
      text_.copy(out, n);
      out[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    default:
      return 0;
  }
}

bool Window::ShowWindow(int cmd) { return WindowManager::Show(this, cmd); }

bool Window::IsWindowVisible() const {
  if (!WindowManager::Alive(this)) return false;
  for (const Window* w = this; w != nullptr; w = w->parent_) {
    if (!w->visible_) return false;
  }
  return true;
}

void Window::UpdateWindow() {
  if (WindowManager::Alive(this)) WindowManager::UpdateTree(this);
}

void Window::InvalidateRect(const Rect* rect, bool erase) {
  if (!WindowManager::Alive(this)) return;
  Rect r = GetClientRect();
  if (rect != nullptr && !IntersectRect(&r, *rect, r)) return;
  if (r.IsEmpty()) return;
  if (hasUpdate_) {
    UnionRect(&update_, update_, r);
  } else {
    update_ = r;
    hasUpdate_ = true;
  }
  erase_ = erase_ || erase;
}

bool Window::GetUpdateRect(Rect* rect) const {
  bool has = WindowManager::Alive(this) && hasUpdate_;
  if (rect != nullptr) *rect = has ? update_ : Rect{};
  return has;
}

void Window::ValidateRect(const Rect* rect) {
  if (!hasUpdate_) return;
  if (rect == nullptr) {
    hasUpdate_ = false;
    update_ = Rect{};
    erase_ = false;
    return;
  }
  const Rect& v = *rect;
  Rect& u = update_;
  // The update region is kept as one rectangle: it shrinks only where a whole strip is validated.
  if (v.left <= u.left && v.right >= u.right) {
    if (v.top <= u.top && v.bottom >= u.bottom) {
      ValidateRect(nullptr);
      return;
    }
    if (v.top <= u.top && v.bottom > u.top) u.top = v.bottom;
    else if (v.bottom >= u.bottom && v.top < u.bottom) u.bottom = v.top;
  } else if (v.top <= u.top && v.bottom >= u.bottom) {
    if (v.left <= u.left && v.right > u.left) u.left = v.right;
    else if (v.right >= u.right && v.left < u.right) u.right = v.left;
  }
  if (u.IsEmpty()) ValidateRect(nullptr);
}

void Window::MoveWindow(const Rect& rect, bool repaint) {
  if (!WindowManager::Alive(this)) {
    rect_ = rect;
    return;
  }
  if (rect == rect_) return;
  Rect was = GetWindowRect();
  rect_ = rect;
  if (repaint && visible_) {
    WindowManager::InvalidateUnder(this, was);
    InvalidateRect(nullptr, true);
  }
}

Rect Window::GetWindowRect() const {
  Point o = WindowManager::ScreenOrigin(this);
  return Rect{o.x, o.y, o.x + rect_.Width(), o.y + rect_.Height()};
}

Rect Window::GetClientRect() const { return Rect{0, 0, rect_.Width(), rect_.Height()}; }

void Window::ClientToScreen(Point* p) const {
  if (p == nullptr) return;
  Point o = WindowManager::ScreenOrigin(this);
  p->x += o.x;
  p->y += o.y;
}

void Window::ScreenToClient(Point* p) const {
  if (p == nullptr) return;
  Point o = WindowManager::ScreenOrigin(this);
  p->x -= o.x;
  p->y -= o.y;
}

Window* Window::SetFocus() { return WindowManager::SetFocusTo(this); }

void Window::EnableWindow(bool enable) {
  if (enabled_ == enable) return;
  enabled_ = enable;
  if (!WindowManager::Alive(this)) return;
  if (!enable) {
    // A disabled window can hold neither the mouse nor the keyboard.
    State& s = S();
    if (s.capture != nullptr && WindowManager::Contains(this, s.capture)) s.capture = nullptr;
    if (s.focus != nullptr && WindowManager::Contains(this, s.focus)) WindowManager::SetFocusTo(nullptr);
  }
  SendMessage(this, WM_ENABLE, enable ? 1 : 0, 0);
}

bool Window::IsChild(const Window* other) const {
  return other != nullptr && other != this && WindowManager::Contains(this, other);
}

const Cursor* Window::GetClassCursor() const {
  auto it = S().classes.find(className_);
  return it != S().classes.end() ? it->second.cursor : nullptr;
}

void Window::Detach() { detached_ = true; }

void Window::SetWindowText(const std::string& text) {
  if (!WindowManager::Alive(this)) {
    text_ = text;
    return;
  }
  WindowManager::Call(this, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// --- classes ---

std::string RegisterWindowClass(const WindowClass& cls) {
  State& s = S();
  if (s.classes.empty()) RegisterBuiltInClasses(s);
  char name[96];
  std::snprintf(name, sizeof(name), "Bf:%x:%p:%d", cls.style, static_cast<const void*>(cls.cursor),
                cls.blackBackground ? 1 : 0);
  s.classes[name] = cls;
  return name;
}

// --- the queue ---

bool PeekMessage(Msg* msg, Window* filter, uint32_t minMsg, uint32_t maxMsg, uint32_t remove) {
  return WindowManager::Peek(msg, filter, minMsg, maxMsg, remove);
}

int GetMessage(Msg* msg, Window* filter, uint32_t minMsg, uint32_t maxMsg) {
  Msg local;
  Msg* out = msg != nullptr ? msg : &local;
  for (;;) {
    if (WindowManager::Peek(out, filter, minMsg, maxMsg, PM_REMOVE)) return out->message == WM_QUIT ? 0 : 1;
    Backend* backend = GetBackend();
    if (backend == nullptr || !backend->IsInteractive()) {
      *out = Msg{};
      return -1;  // nothing can arrive: report it rather than hang
    }
    backend->WaitForInput(10);
  }
}

bool TranslateMessage(const Msg* msg) {
  if (msg == nullptr || msg->message != WM_KEYDOWN) return false;
  if (!WindowManager::Alive(msg->window, msg->serial)) return false;
  uint32_t ch = 0;
  switch (msg->wParam) {
    case VK_BACK: ch = 8; break;
    case VK_TAB: ch = 9; break;
    case VK_RETURN: ch = 13; break;
    case VK_ESCAPE: ch = 27; break;
    default:
      if (S().keys[VK_CONTROL] && !S().keys[VK_MENU] && msg->wParam >= 'A' && msg->wParam <= 'Z') {
        ch = static_cast<uint32_t>(msg->wParam - 'A' + 1);
      }
      break;
  }
  if (ch == 0) return false;
  Msg m = *msg;
  m.fromInput = false;
  m.message = WM_CHAR;
  m.wParam = ch;
  m.lParam = msg->lParam;
  S().queue.push_front(m);  // the character comes next, before anything queued after the key
  return true;
}

LRESULT DispatchMessage(const Msg* msg) {
  if (msg == nullptr || msg->window == nullptr) return 0;
  if (!WindowManager::Alive(msg->window, msg->serial)) return 0;
  if (msg->message == WM_PAINT) {
    Window* w = msg->window;
    if (!WindowManager::Showing(w)) return 0;
    if (WindowManager::HasUpdate(w)) {
      WindowManager::Paint(w);  // erases first when that is due
      return 0;
    }
  }
  return WindowManager::Call(msg->window, msg->message, msg->wParam, msg->lParam);
}

bool PostMessage(Window* window, uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && !WindowManager::Alive(window)) return false;
  Msg m;
  m.window = window;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = timeGetTime();
  m.pt = S().cursorPos;
  m.serial = WindowManager::SerialOf(window);
  S().queue.push_back(m);
  return true;
}

LRESULT SendMessage(Window* window, uint32_t message, WPARAM wParam, LPARAM lParam) {
  return WindowManager::Call(window, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  S().quitPending = true;
  S().quitCode = exitCode;
}

Window* GetFocus() { return S().focus; }

Window* SetCapture(Window* window) {
  Window* old = S().capture;
  S().capture = WindowManager::Alive(window) ? window : nullptr;
  return old;
}

Window* GetCapture() { return S().capture; }

void ReleaseCapture() { S().capture = nullptr; }

bool IsWindow(const Window* window) { return WindowManager::Alive(window); }

int16_t GetKeyState(uint32_t vk) {
  return (vk < 256 && S().keys[vk]) ? static_cast<int16_t>(0x8000) : 0;
}

int16_t GetAsyncKeyState(uint32_t vk) {
  return (vk < 256 && S().asyncKeys[vk]) ? static_cast<int16_t>(0x8000) : 0;
}

bool IsApplicationActive() { return S().active; }

Window* WindowFromPoint(Point screen) { return WindowManager::FromPoint(screen); }

// --- cursor ---

int ShowCursor(bool show) {
  State& s = S();
  bool before = s.showCount >= 0;
  s.showCount += show ? 1 : -1;
  bool after = s.showCount >= 0;
  if (before != after) {
    if (Backend* b = GetBackend()) b->SetCursorVisible(after);
  }
  return s.showCount;
}

bool ClipCursor(const Rect* rect) {
  State& s = S();
  Backend* b = GetBackend();
  if (rect == nullptr) {
    s.clipped = false;
    s.clip = ScreenRect();
    if (b != nullptr) b->SetCursorConfined(false);
    return true;
  }
  Rect r;
  if (!IntersectRect(&r, *rect, ScreenRect())) return false;
  s.clipped = true;
  s.clip = r;
  Point p = ClampToRect(s.cursorPos, r);
  if (b != nullptr) b->SetCursorConfined(true);
  if (!(p == s.cursorPos)) {
    s.cursorPos = p;
    if (b != nullptr) b->WarpCursor(p.x, p.y);
  }
  return true;
}

bool GetClipCursor(Rect* rect) {
  if (rect == nullptr) return false;
  *rect = S().clipped ? S().clip : ScreenRect();
  return true;
}

bool SetCursorPos(int32_t x, int32_t y) {
  State& s = S();
  Point p = ClampToRect(ClampToRect(Point{x, y}, ScreenRect()), s.clipped ? s.clip : ScreenRect());
  s.cursorPos = p;
  if (Backend* b = GetBackend()) b->WarpCursor(p.x, p.y);
  return true;
}

bool GetCursorPos(Point* p) {
  if (p == nullptr) return false;
  *p = S().cursorPos;
  return S().pointerInside;
}

const Cursor* LoadCursorFromImage(const CursorImage& image) {
  if (image.argb == nullptr || image.width <= 0 || image.height <= 0 || image.width > 256 ||
      image.height > 256) {
    return nullptr;
  }
  auto c = std::make_unique<Cursor>();
  c->argb.assign(image.argb, image.argb + static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
  c->image = image;
  c->image.hotX = std::clamp(image.hotX, 0, image.width - 1);
  c->image.hotY = std::clamp(image.hotY, 0, image.height - 1);
  c->image.argb = c->argb.data();
  S().cursors.push_back(std::move(c));
  return S().cursors.back().get();
}

void SetCursor(const Cursor* cursor) {
  State& s = S();
  if (s.cursorSet && s.cursor == cursor) return;
  s.cursor = cursor;
  s.cursorSet = true;
  if (Backend* b = GetBackend()) b->SetCursorImage(cursor != nullptr ? &cursor->image : nullptr);
}

// --- the rest ---

int MessageBox(Window* owner, const std::string& text, const std::string& caption, uint32_t flags) {
  (void)owner;
  const std::string& title = caption.empty() ? GetApplicationName() : caption;
  if (Backend* b = GetBackend()) return b->ShowMessageBox(title, text, flags);
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  return IDOK;
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return kScreenWidth;
    case SM_CYSCREEN: return kScreenHeight;
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    default: return 0;
  }
}

COLORREF GetSysColor(int index) {
  if (index < 0 || index >= kSysColorCount) return 0;
  return S().sysColors[static_cast<size_t>(index)];
}

bool SetSysColors(int count, const int* indices, const COLORREF* colors) {
  if (count < 0 || (count > 0 && (indices == nullptr || colors == nullptr))) return false;
  for (int i = 0; i < count; ++i) {
    if (indices[i] < 0 || indices[i] >= kSysColorCount) return false;
  }
  for (int i = 0; i < count; ++i) S().sysColors[static_cast<size_t>(indices[i])] = colors[i] & 0x00FFFFFFu;
  return true;
}

bool WinHelp(Window* window, const std::string& file, uint32_t command, uintptr_t data) {
  // There is no help viewer; closing it (the only call the game makes) trivially succeeds.
  (void)window;
  (void)file;
  (void)data;
  return command == HELP_QUIT;
}

void SetApplicationName(const std::string& name) { S().appName = name; }
const std::string& GetApplicationName() { return S().appName; }

void ResetWindowSystem() { WindowManager::Reset(); }

}  // namespace platform
