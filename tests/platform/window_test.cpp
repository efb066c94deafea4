// Windows: queue order, painting, focus, mouse and key routing, activation, destruction.
#include "platform/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/pump.h"

namespace platform {
namespace {

struct Logged {
  std::string window;
  uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
};

// A window that writes every message it gets into a shared log.
class LogWindow : public Window {
 public:
  LogWindow(std::string name, std::vector<Logged>* log) : name_(std::move(name)), log_(log) {}
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    log_->push_back(Logged{name_, message, wParam, lParam});
    return DefWindowProc(message, wParam, lParam);
  }

 private:
  std::string name_;
  std::vector<Logged>* log_;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowSystem();
    SetBackend(&backend);
    cls = RegisterWindowClass(WindowClass{});
  }
  void TearDown() override {
    ResetWindowSystem();
    SetBackend(nullptr);
  }

  std::unique_ptr<LogWindow> Make(const std::string& name, const Rect& r, Window* parent = nullptr,
                                  uint32_t style = WS_POPUP, uint32_t id = 0, uint32_t exStyle = 0) {
    auto w = std::make_unique<LogWindow>(name, &log);
    EXPECT_TRUE(w->CreateEx(exStyle, cls, name, style, r, parent, id));
    return w;
  }

  // Dispatches everything waiting (paint included), like a modal loop would, until the queue is empty.
  void Drain(int limit = 100) {
    Msg m;
    while (limit-- > 0 && PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }

  std::vector<uint32_t> MessagesOf(const std::string& name) const {
    std::vector<uint32_t> out;
    for (const auto& l : log) {
      if (l.window == name) out.push_back(l.message);
    }
    return out;
  }
  size_t Count(const std::string& name, uint32_t message) const {
    const auto m = MessagesOf(name);
    return static_cast<size_t>(std::count(m.begin(), m.end(), message));
  }

  HeadlessBackend backend;
  std::string cls;
  std::vector<Logged> log;
};

TEST_F(WindowTest, PostedMessagesKeepOrderSentOnesRunAtOnceAndQuitComesLast) {
  auto w = Make("w", Rect{0, 0, 100, 100});
  log.clear();
  PostMessage(w.get(), WM_USER + 1, 1, 0);
  PostMessage(w.get(), WM_USER + 2, 2, 0);
  EXPECT_EQ(SendMessage(w.get(), WM_USER + 3, 0, 0), 0);
  ASSERT_EQ(log.size(), 1u);  // only the sent one has arrived so far
  EXPECT_EQ(log[0].message, WM_USER + 3u);

  Msg m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 1u);
  // Quit comes after what was posted before and after it, with its exit code.
  PostQuitMessage(7);
  PostMessage(w.get(), WM_USER, 0, 0);
  ASSERT_EQ(GetMessage(&m, nullptr, 0, 0), 1);
  EXPECT_EQ(m.wParam, 2u);
  ASSERT_EQ(GetMessage(&m, nullptr, 0, 0), 1);
  EXPECT_EQ(m.message, WM_USER);
  EXPECT_EQ(GetMessage(&m, nullptr, 0, 0), 0);
  EXPECT_EQ(m.wParam, 7u);
}

TEST_F(WindowTest, PaintIsMadeOnlyForInvalidWindowsAndOnlyWhenTheQueueIsEmpty) {
  auto w = Make("w", Rect{0, 0, 100, 100}, nullptr, WS_POPUP | WS_VISIBLE);
  Drain();  // the paint that showing it asked for
  log.clear();
  Msg m;

  Rect r{10, 10, 20, 20};
  w->InvalidateRect(&r, false);
  PostMessage(w.get(), WM_USER, 0, 0);
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER);  // the posted message first
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_PAINT);
  Rect upd;
  ASSERT_TRUE(w->GetUpdateRect(&upd));
  EXPECT_EQ(upd, r);
  DispatchMessage(&m);
  EXPECT_EQ(MessagesOf("w"), (std::vector<uint32_t>{WM_PAINT}));  // no erase was asked for
}

TEST_F(WindowTest, UpdateWindowPaintsAtOnceWithEraseFirstThenTheChildren) {
  auto w = Make("w", Rect{0, 0, 100, 100});
  auto c = Make("c", Rect{10, 10, 30, 30}, w.get(), WS_CHILD | WS_VISIBLE);
  w->ShowWindow(SW_SHOW);
  log.clear();
  w->UpdateWindow();
  EXPECT_EQ(MessagesOf("w"), (std::vector<uint32_t>{WM_ERASEBKGND, WM_PAINT}));
  EXPECT_EQ(MessagesOf("c"), (std::vector<uint32_t>{WM_ERASEBKGND, WM_PAINT}));
  EXPECT_EQ(log.front().window, "w");  // parents before children
}

TEST_F(WindowTest, FocusChangeSendsKillFocusThenSetFocusWithTheOtherWindow) {
  auto top = Make("top", Rect{0, 0, 100, 100});
  auto a = Make("a", Rect{0, 0, 10, 10}, top.get(), WS_CHILD | WS_VISIBLE);
  auto b = Make("b", Rect{20, 0, 30, 10}, top.get(), WS_CHILD | WS_VISIBLE);
  a->SetFocus();
  log.clear();
  EXPECT_EQ(b->SetFocus(), a.get());
  EXPECT_EQ(MessagesOf("a"), (std::vector<uint32_t>{WM_KILLFOCUS}));
  EXPECT_EQ(MessagesOf("b"), (std::vector<uint32_t>{WM_SETFOCUS}));
  ASSERT_EQ(log.size(), 2u);  // in that order, each naming the other window
  EXPECT_EQ(log[0].wParam, reinterpret_cast<WPARAM>(b.get()));
  EXPECT_EQ(log[1].wParam, reinterpret_cast<WPARAM>(a.get()));
}

TEST_F(WindowTest, HidingOrDestroyingTheFocusMovesItToTheParent) {
  auto top = Make("top", Rect{0, 0, 100, 100}, nullptr, WS_POPUP | WS_VISIBLE);
  auto a = Make("a", Rect{0, 0, 10, 10}, top.get(), WS_CHILD | WS_VISIBLE);
  auto b = Make("b", Rect{20, 0, 30, 10}, top.get(), WS_CHILD | WS_VISIBLE);
  a->SetFocus();
  a->ShowWindow(SW_HIDE);
  EXPECT_EQ(GetFocus(), top.get());
  b->SetFocus();
  log.clear();
  b->DestroyWindow();
  EXPECT_EQ(GetFocus(), top.get());
  // It lost the focus before it was destroyed.
  EXPECT_EQ(MessagesOf("b"), (std::vector<uint32_t>{WM_KILLFOCUS, WM_DESTROY}));
}

TEST_F(WindowTest, MouseGoesToTheTopmostVisibleChildInClientCoordinates) {
  auto top = Make("top", Rect{100, 50, 400, 350}, nullptr, WS_POPUP | WS_VISIBLE);
  auto a = Make("a", Rect{10, 10, 110, 110}, top.get(), WS_CHILD | WS_VISIBLE, 1);
  auto b = Make("b", Rect{60, 60, 160, 160}, top.get(), WS_CHILD | WS_VISIBLE, 2);  // later: on top
  auto hidden = Make("h", Rect{0, 0, 300, 300}, top.get(), WS_CHILD, 3);           // hidden: skipped
  auto inner = Make("i", Rect{80, 80, 95, 95}, b.get(), WS_CHILD | WS_VISIBLE, 4);
  Drain();
  EXPECT_EQ(WindowFromPoint(Point{100 + 70, 50 + 70}), b.get());
  EXPECT_EQ(WindowFromPoint(Point{100 + 60 + 85, 50 + 60 + 85}), inner.get());

  log.clear();
  backend.InjectButton(0, true, 100 + 20, 50 + 30);
  Drain();
  EXPECT_EQ(MessagesOf("a"), (std::vector<uint32_t>{WM_LBUTTONDOWN}));
  EXPECT_EQ(LParamX(log[0].lParam), 10);
  EXPECT_EQ(LParamY(log[0].lParam), 20);
}

TEST_F(WindowTest, MouseMovesAreMergedAndFollowTheClipRectangle) {
  auto top = Make("top", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE);
  Drain();
  log.clear();
  backend.InjectMouseMove(10, 10);
  backend.InjectMouseMove(20, 30);
  Drain();
  ASSERT_EQ(Count("top", WM_MOUSEMOVE), 1u);

  Rect clip{100, 100, 200, 150};
  ASSERT_TRUE(ClipCursor(&clip));
  Point p;
  SetCursorPos(500, 10);
  GetCursorPos(&p);
  EXPECT_EQ(p, (Point{199, 100}));
  log.clear();
  backend.InjectMouseMove(0, 479);
  Drain();
  EXPECT_EQ(LParamX(log.back().lParam), 100);
  EXPECT_EQ(LParamY(log.back().lParam), 149);
}

TEST_F(WindowTest, KeysGoToTheFocusOrElseTheActiveTopLevelWindow) {
  auto main = Make("main", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE);
  auto edit = Make("edit", Rect{0, 0, 100, 20}, main.get(), WS_CHILD | WS_VISIBLE);
  Drain();
  edit->SetFocus();
  log.clear();
  backend.InjectKeyPress('A');
  backend.InjectKeyPress(VK_F10, true);
  Drain();
  EXPECT_EQ(MessagesOf("edit"), (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP}));
  EXPECT_EQ(log[1].lParam & (1 << 30), 1 << 30);  // a key-up says the key was down

  edit->DestroyWindow();
  main->ShowWindow(SW_HIDE);  // now no window has the keyboard
  main->ShowWindow(SW_SHOWNOACTIVATE);
  Drain();
  log.clear();
  backend.InjectKeyPress(VK_ESCAPE);
  Drain();
  EXPECT_EQ(MessagesOf("main"), (std::vector<uint32_t>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
}

// A window that answers help requests itself, where the default handling would pass them on.
class HelpAnsweringWindow : public Window {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_HELP) return DefWindowProc(message, wParam, lParam);
    ++answered;
    return 7;
  }
  int answered = 0;
};

TEST_F(WindowTest, AFreshF1AsksForHelpAndTheRequestClimbsToParentThenOwnerUntilAnswered) {
  auto main = Make("main", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE);
  auto popup = Make("popup", Rect{0, 0, 640, 480}, main.get(), WS_POPUP | WS_VISIBLE);  // owned by main
  auto child = Make("child", Rect{0, 0, 100, 20}, popup.get(), WS_CHILD | WS_VISIBLE);
  Drain();
  child->SetFocus();
  log.clear();
  backend.InjectKeyPress(VK_F1);
  Drain();
  EXPECT_EQ(MessagesOf("child"), (std::vector<uint32_t>{WM_KEYDOWN, WM_HELP, WM_KEYUP}));
  EXPECT_EQ(MessagesOf("popup"), std::vector<uint32_t>{WM_HELP});
  EXPECT_EQ(MessagesOf("main"), std::vector<uint32_t>{WM_HELP});

  // An auto-repeated F1, or any other key, asks for nothing.
  log.clear();
  SendMessage(child.get(), WM_KEYDOWN, VK_F1, static_cast<LPARAM>(1u | (1u << 30)));
  SendMessage(child.get(), WM_KEYDOWN, VK_F10, 1);
  EXPECT_EQ(Count("main", WM_HELP), 0u);

  // A window that answers keeps the request: nothing above it hears of it.
  HelpAnsweringWindow answering;
  ASSERT_TRUE(answering.CreateEx(0, cls, "answering", WS_CHILD | WS_VISIBLE, Rect{0, 0, 50, 50}, main.get(), 0));
  auto inner = Make("inner", Rect{0, 0, 10, 10}, &answering, WS_CHILD | WS_VISIBLE);
  log.clear();
  EXPECT_EQ(SendMessage(inner.get(), WM_HELP, 0, 0), 7);
  EXPECT_EQ(answering.answered, 1);
  EXPECT_EQ(Count("inner", WM_HELP), 1u);
  EXPECT_EQ(Count("main", WM_HELP), 0u);
}

TEST_F(WindowTest, EveryCharacterArrivesOnceAndControlKeysMakeTheirCharacters) {
  auto main = Make("main", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE);
  Drain();
  log.clear();
  // What the SDL backend delivers for "a", "é", Backspace, Enter, Tab, Escape, Ctrl+A.
  backend.InjectKey('A', true);
  backend.InjectText("a");
  backend.InjectKey('A', false);
  backend.InjectText("\xC3\xA9");
  for (uint32_t vk : {VK_BACK, VK_RETURN, VK_TAB, VK_ESCAPE}) backend.InjectKeyPress(vk);
  backend.InjectKey(VK_CONTROL, true);
  backend.InjectKeyPress('A');
  backend.InjectKey(VK_CONTROL, false);
  backend.InjectText("\x01");  // a control character from the host is not typed text
  Drain();
  std::vector<WPARAM> chars;
  for (const auto& l : log) {
    if (l.message == WM_CHAR) chars.push_back(l.wParam);
  }
  EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 0xE9, 8, 13, 9, 27, 1}));
}

TEST_F(WindowTest, InputIsDroppedWhileInactiveAndDeactivationReachesTopLevelWindows) {
  auto main = Make("main", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE);
  auto child = Make("child", Rect{0, 0, 50, 50}, main.get(), WS_CHILD | WS_VISIBLE);
  auto hidden = Make("hidden", Rect{0, 0, 640, 480});
  Drain();
  log.clear();
  backend.InjectActivate(false);
  backend.InjectKeyPress('X');
  backend.InjectClick(10, 10);
  backend.InjectText("x");
  Drain();
  EXPECT_FALSE(IsApplicationActive());
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].wParam, 0u);
  EXPECT_EQ(Count("hidden", WM_ACTIVATEAPP), 1u);
  EXPECT_EQ(Count("child", WM_ACTIVATEAPP), 0u);  // child windows are not told

}

TEST_F(WindowTest, DestroyedWindowsGetNothingMore) {
  auto main = Make("main", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE);
  auto child = Make("child", Rect{0, 0, 50, 50}, main.get(), WS_CHILD | WS_VISIBLE);
  auto grandchild = Make("gc", Rect{0, 0, 5, 5}, child.get(), WS_CHILD | WS_VISIBLE);
  Drain();
  PostMessage(child.get(), WM_USER, 0, 0);
  PostMessage(grandchild.get(), WM_USER, 0, 0);
  child->InvalidateRect(nullptr);
  log.clear();
  EXPECT_TRUE(child->DestroyWindow());
  // The window first, then its children.
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].window, "child");
  EXPECT_EQ(log[1].window, "gc");
  log.clear();
  EXPECT_FALSE(PostMessage(child.get(), WM_USER, 0, 0));
  EXPECT_EQ(SendMessage(child.get(), WM_USER, 0, 0), 0);
  Drain();
  EXPECT_TRUE(MessagesOf("child").empty());  // nor the messages and the paint that were waiting
  EXPECT_TRUE(MessagesOf("gc").empty());
}

TEST_F(WindowTest, DeletingWindowsIsSafeAtAnyTime) {
  auto main = Make("main", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE);
  auto child = Make("child", Rect{0, 0, 50, 50}, main.get(), WS_CHILD | WS_VISIBLE);
  Drain();
  child->SetFocus();
  SetCapture(child.get());
  PostMessage(child.get(), WM_USER, 0, 0);
  Msg held;
  ASSERT_TRUE(PeekMessage(&held, nullptr, 0, 0, PM_NOREMOVE));
  child.reset();
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(DispatchMessage(&held), 0);  // a copy held by the caller reaches nobody
  // Deleting the parent first destroys the children, which are told.
  auto c2 = Make("c2", Rect{0, 0, 10, 10}, main.get(), WS_CHILD | WS_VISIBLE);
  main.reset();
  EXPECT_EQ(MessagesOf("c2").back(), WM_DESTROY);
  c2.reset();
}

TEST_F(WindowTest, TopLevelOrderKeepsTopmostAndOwnedWindowsAbove) {
  auto main = Make("main", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE, 0, WS_EX_TOPMOST);
  auto other = Make("other", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE);  // later, not topmost
  EXPECT_EQ(WindowFromPoint(Point{5, 5}), main.get());
  // A pop-up created with a parent is owned by it and stays above it.
  auto hunt = Make("hunt", Rect{0, 0, 640, 480}, main.get(), WS_POPUP);
  EXPECT_EQ(hunt->GetParent(), nullptr);
  EXPECT_EQ(hunt->GetOwner(), main.get());
  hunt->ShowWindow(SW_SHOW);
  EXPECT_EQ(WindowFromPoint(Point{5, 5}), hunt.get());
  main->ShowWindow(SW_HIDE);
  main->ShowWindow(SW_SHOW);  // raised, but its owned window stays above
  EXPECT_EQ(WindowFromPoint(Point{5, 5}), hunt.get());
}

// The framework pattern of a window that deletes itself when it is destroyed.
class SelfDeletingWindow : public Window {
 public:
  explicit SelfDeletingWindow(int* deleted) : deleted_(deleted) {}
  ~SelfDeletingWindow() override { ++*deleted_; }
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DESTROY) {
      delete this;
      return 0;
    }
    return DefWindowProc(message, wParam, lParam);
  }

 private:
  int* deleted_;
};

TEST_F(WindowTest, AWindowMayDeleteItselfWhileBeingDestroyed) {
  auto main = Make("main", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE);
  int deleted = 0;
  auto* child = new SelfDeletingWindow(&deleted);
  ASSERT_TRUE(child->CreateEx(0, cls, "child", WS_CHILD | WS_VISIBLE, Rect{0, 0, 50, 50}, main.get(), 1));
  auto grandchild = Make("gc", Rect{0, 0, 5, 5}, child, WS_CHILD | WS_VISIBLE);
  PostMessage(child, WM_USER, 0, 0);
  child->DestroyWindow();
  EXPECT_EQ(deleted, 1);
  EXPECT_FALSE(IsWindow(grandchild.get()));  // taken down with its parent, without a dangling parent
  EXPECT_EQ(grandchild->GetParent(), nullptr);
  EXPECT_EQ(Count("gc", WM_DESTROY), 1u);
  EXPECT_EQ(WindowFromPoint(Point{2, 2}), main.get());
  log.clear();
  Drain();
  EXPECT_TRUE(MessagesOf("gc").empty());
}

TEST_F(WindowTest, DestroyingAnOwnerDestroysItsOwnedWindowsFirst) {
  auto main = Make("main", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE);
  auto owned = Make("owned", Rect{0, 0, 640, 480}, main.get(), WS_POPUP | WS_VISIBLE);
  auto button = Make("button", Rect{0, 0, 10, 10}, owned.get(), WS_CHILD | WS_VISIBLE);
  Drain();
  log.clear();
  main->DestroyWindow();
  std::vector<std::string> order;
  for (const auto& l : log) {
    if (l.message == WM_DESTROY) order.push_back(l.window);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"owned", "button", "main"}));
  EXPECT_FALSE(IsWindow(owned.get()));
  EXPECT_EQ(owned->GetOwner(), main.get());  // the object keeps what it knew; the window is gone
}

TEST_F(WindowTest, HostQuitAsksTheMainWindowToClose) {
  auto main = Make("main", Rect{0, 0, 640, 480}, nullptr, WS_POPUP | WS_VISIBLE);
  Drain();
  log.clear();
  backend.InjectQuit();
  Drain();
  // By default closing destroys it; it loses the focus first.
  EXPECT_EQ(MessagesOf("main"), (std::vector<uint32_t>{WM_CLOSE, WM_KILLFOCUS, WM_DESTROY}));
}

}  // namespace
}  // namespace platform
