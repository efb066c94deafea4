// Windows and messages: a window tree with focus, z-order and a message queue, as the game expects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

struct CursorImage;

// A queued message, as PeekMessage/GetMessage hand it out.
struct Msg {
  Window* window = nullptr;
  uint32_t message = WM_NULL;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  uint32_t time = 0;
  Point pt;
  uint64_t serial = 0;  // the window's creation serial, so a message never reaches a later window at
                        // the same address; 0 for messages made by hand (checked by address only)
  bool fromInput = false;  // made from host input: taking it updates GetKeyState
};

// A loaded cursor (the program's cursor resource, or the standard arrow when null).
struct Cursor;

// Window class attributes: what AfxRegisterWndClass takes.
struct WindowClass {
  uint32_t style = 0;
  const Cursor* cursor = nullptr;
  bool blackBackground = false;
};
// Registers (or finds) a class and returns its name, as AfxRegisterWndClass does.
std::string RegisterWindowClass(const WindowClass& cls);

// A platform window. Subclasses override WindowProc; every message of the window goes through it.
// The window object and the platform window are one: a Window* is also its handle.
class Window {
 public:
  Window();
  virtual ~Window();  // destroys the platform window if it still exists (without messages to a
                      // subclass that is already gone)
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Creates the platform window. WS_CHILD windows have `parent` as parent (coordinates relative
  // to it); top-level windows may have an owner. Sends nothing before it returns except what
  // Windows sends during creation (WM_CREATE). Returns false when refused (bad class, parent gone).
  virtual bool CreateEx(uint32_t exStyle, const std::string& className, const std::string& windowName,
                        uint32_t style, const Rect& rect, Window* parent, uint32_t id, void* param = nullptr);
  virtual bool DestroyWindow();  // sends WM_DESTROY to it and its children, removes it
  bool IsCreated() const { return created_; }

  virtual LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam);
  LRESULT DefWindowProc(uint32_t message, WPARAM wParam, LPARAM lParam);

  // Show state: SW_HIDE / SW_SHOW / SW_SHOWNORMAL / SW_MINIMIZE ... Returns the previous visibility.
  // Sends WM_SHOWWINDOW (wParam 1 show, 0 hide) when visibility changes; showing invalidates.
  bool ShowWindow(int cmd);
  bool IsWindowVisible() const;  // this and every parent visible
  bool IsMinimized() const { return minimized_; }
  void UpdateWindow();           // sends WM_PAINT now if the update region is not empty, then to the
                                 // children that need it (WM_ERASEBKGND first when an erase is due)
  void InvalidateRect(const Rect* rect, bool erase = true);  // client coordinates; null = whole window
  bool GetUpdateRect(Rect* rect) const;   // client coordinates; false when nothing is invalid
  void ValidateRect(const Rect* rect);    // null = whole window

  // Parent client coordinates (screen for top-level). With repaint, the window and the parent's
  // uncovered area are invalidated.
  void MoveWindow(const Rect& rect, bool repaint = true);
  Rect GetWindowRect() const;          // screen coordinates
  Rect GetClientRect() const;          // (0, 0, width, height)
  void ClientToScreen(Point* p) const;
  void ScreenToClient(Point* p) const;

  Window* SetFocus();  // gives this window the keyboard focus; returns the previous focus
  void EnableWindow(bool enable);
  bool IsWindowEnabled() const { return enabled_; }

  bool IsChild(const Window* other) const;  // `other` is a descendant of this window
  Window* GetParent() const { return parent_; }
  Window* GetOwner() const { return owner_; }
  void SetOwner(Window* owner) { owner_ = owner; }
  uint32_t GetDlgCtrlID() const { return id_; }
  uint32_t GetStyle() const { return style_; }
  uint32_t GetExStyle() const { return exStyle_; }
  const std::string& GetWindowText() const { return text_; }
  // Sends WM_SETTEXT to a created window (so an edit field takes the text as its own); before creation
  // it only sets the stored text (CreateEx replaces it with the window name).
  void SetWindowText(const std::string& text);
  const std::string& GetClassName() const { return className_; }
  const Cursor* GetClassCursor() const;

  // Forgets the platform window without destroying it (CWnd::Detach): from here on the window's
  // messages get default handling only, and deleting the object removes the window silently.
  void Detach();
  bool IsDetached() const { return detached_; }

 private:
  friend class WindowManager;
  bool detached_ = false;
  bool destroying_ = false;
  bool erase_ = false;  // WM_ERASEBKGND is due before the next WM_PAINT
  uint64_t serial_ = 0;
  std::vector<Window*> children_;  // bottom to top
  Window* lastFocus_ = nullptr;    // the focus inside this top-level window when it was minimised
  bool created_ = false;
  bool visible_ = false;
  bool minimized_ = false;
  bool enabled_ = true;
  uint32_t style_ = 0;
  uint32_t exStyle_ = 0;
  uint32_t id_ = 0;
  Window* parent_ = nullptr;
  Window* owner_ = nullptr;
  Rect rect_;  // in parent client coordinates (screen for top-level)
  std::string text_;
  std::string className_;
  bool hasUpdate_ = false;
  Rect update_;  // client coordinates
};

// --- the message queue ---
// PeekMessage also pulls the backend's input (routing mouse messages to the topmost visible window
// under the pointer, or to the capture; keys to the focus window; activation to every top-level
// window as WM_ACTIVATEAPP), pumps audio and presentation, and makes WM_PAINT for invalid windows
// when nothing else waits. It never blocks on the caller's side: with nothing to hand out it sleeps
// until the host has input or until the earliest moment asked for with WakeBy (platform/wait.h), so an
// idle loop does not spin a core (the headless backend never sleeps: its time moves only when advanced).
bool PeekMessage(Msg* msg, Window* filter, uint32_t minMsg, uint32_t maxMsg, uint32_t remove);
// Takes the next message (waiting for one); returns 0 for WM_QUIT, else nonzero.
int GetMessage(Msg* msg, Window* filter, uint32_t minMsg, uint32_t maxMsg);
// Character messages for key downs that the host's text input does not deliver: Backspace (8),
// Tab (9), Enter (13), Escape (27) and Ctrl+letter (1..26). Typed characters arrive from the backend
// as WM_CHAR already (wParam = Unicode code point), so each reaches the focus window once.
bool TranslateMessage(const Msg* msg);
LRESULT DispatchMessage(const Msg* msg);
bool PostMessage(Window* window, uint32_t message, WPARAM wParam, LPARAM lParam);  // false if gone
LRESULT SendMessage(Window* window, uint32_t message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

Window* GetFocus();
Window* SetCapture(Window* window);
Window* GetCapture();
void ReleaseCapture();
bool IsWindow(const Window* window);  // a created, not yet destroyed window
// Key state as of the input messages taken from the queue so far (bit 0x8000 set while down), so
// a handler sees the state that went with its message; GetAsyncKeyState is the state as input arrived.
int16_t GetKeyState(uint32_t vk);
int16_t GetAsyncKeyState(uint32_t vk);
bool IsApplicationActive();  // false after the host took the focus away, until it comes back
Window* WindowFromPoint(Point screen);  // topmost visible, enabled window under the point

// --- cursor ---
int ShowCursor(bool show);  // display count; the cursor shows while the count is >= 0
bool ClipCursor(const Rect* rect);  // null frees it
bool GetClipCursor(Rect* rect);
bool SetCursorPos(int32_t x, int32_t y);
// The pointer's screen position. False while the host's pointer is outside the game's window (a
// window on the desktop): *p is then where it was last seen on the screen, and nothing should act on it.
bool GetCursorPos(Point* p);
const Cursor* LoadCursorFromImage(const CursorImage& image);  // kept for the program's lifetime
void SetCursor(const Cursor* cursor);

// --- the rest of the user-interface services the game calls ---
int MessageBox(Window* owner, const std::string& text, const std::string& caption, uint32_t flags);
int GetSystemMetrics(int index);
COLORREF GetSysColor(int index);
bool SetSysColors(int count, const int* indices, const COLORREF* colors);
bool WinHelp(Window* window, const std::string& file, uint32_t command, uintptr_t data);
// The application name: the executable's base name (set at start; the profile key and captions).
void SetApplicationName(const std::string& name);
const std::string& GetApplicationName();

// Tears the window tree and queue down (between tests).
void ResetWindowSystem();

}  // namespace platform
