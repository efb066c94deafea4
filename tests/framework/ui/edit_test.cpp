// ZEdit: focus with select-all and notifications, the keys it leaves to its dialog, and editing keys.
#include "framework/ui/edit.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/display.h"
#include "platform/headless/headless_backend.h"

namespace {

using namespace platform;

using Keys = std::vector<std::pair<uint32_t, WPARAM>>;

// Stands in for the dialog: records notifications and the keys posted to it.
class FakeDialog : public ZWnd {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NOTIFY && lParam != 0) notes.push_back(*reinterpret_cast<const NotifyHeader*>(lParam));
    if (message == WM_KEYDOWN || message == WM_KEYUP) keys.emplace_back(message, wParam);
    return DefWindowProc(message, wParam, lParam);
  }
  std::vector<NotifyHeader> notes;
  Keys keys;
};

class ZEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowSystem();
    SetBackend(&backend);
    ASSERT_TRUE(dialog.CreateEx(0, RegisterWindowClass(WindowClass{}), "ZDialog Window", WS_POPUP | WS_VISIBLE,
                                Rect{55, 42, 584, 437}, nullptr, 0));
    ASSERT_EQ(edit.Create(&dialog, Rect{140, 62, 390, 79}, 500), 1);
    edit.SetWindowText("Field Scout");
    Pump();
  }
  void TearDown() override {
    edit.DestroyWindow();
    dialog.DestroyWindow();
    ResetWindowSystem();
    SetBackend(nullptr);
  }
  void Pump() {
    Msg m;
    for (int guard = 0; guard < 1000 && PeekMessage(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }
  std::pair<int32_t, int32_t> Sel() const {
    int32_t s = -1, e = -1;
    edit.GetSel(&s, &e);
    return {s, e};
  }

  HeadlessBackend backend{1000, 1};
  FakeDialog dialog;
  ZEdit edit;
};

using P = std::pair<int32_t, int32_t>;

TEST_F(ZEditTest, FocusSelectsEverythingAndNotifiesBothWays) {
  edit.SetFocus();
  EXPECT_EQ(Sel(), P(0, 11));
  EXPECT_TRUE(backend.TextInputOn());
  Pump();
  dialog.SetFocus();
  EXPECT_EQ(Sel().first, Sel().second);  // the selection is gone
  EXPECT_FALSE(backend.TextInputOn());
  const auto& notes = dialog.notes;
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].from, &edit);
  EXPECT_EQ(notes[0].idFrom, 500u);
  EXPECT_EQ(notes[0].code, NM_SETFOCUS);
  EXPECT_EQ(notes[1].code, NM_KILLFOCUS);
}

TEST_F(ZEditTest, TabEnterShiftAndEscapeArePostedToTheDialogAndOtherKeysEdit) {
  edit.SetFocus();
  edit.SetSel(11, 11);
  Pump();
  for (uint32_t vk : {VK_TAB, VK_RETURN, VK_SHIFT, VK_ESCAPE}) backend.InjectKeyPress(vk);
  Pump();
  EXPECT_EQ(edit.GetWindowText(), "Field Scout");
  const Keys expected = {{WM_KEYDOWN, VK_TAB},   {WM_KEYUP, VK_TAB},   {WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN},
                         {WM_KEYDOWN, VK_SHIFT}, {WM_KEYUP, VK_SHIFT}, {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}};
  EXPECT_EQ(dialog.keys, expected);
  // Code 2 is swallowed; everything else edits.
  dialog.keys.clear();
  EXPECT_EQ(SendMessage(&edit, WM_KEYDOWN, 2, 0), 0);
  Pump();
  EXPECT_TRUE(dialog.keys.empty());
  backend.InjectText("!");
  backend.InjectKeyPress(VK_HOME);
  backend.InjectKeyPress(VK_DELETE);
  Pump();
  EXPECT_EQ(edit.GetWindowText(), "ield Scout!");
}

}  // namespace
