// The edit field: editing keys, selection messages, scrolling, the mouse, the caret's blink and its picture.
#include "platform/edit_control.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/headless/headless_backend.h"
#include "platform/pump.h"
#include "platform/text.h"
#include "platform/wait.h"

namespace platform {
namespace {

constexpr uint8_t kScreen = 77;  // what the screen holds before the field draws
const Rect kField{140, 62, 390, 79};  // the setup dialog's name field

// A top-level window that keeps what reaches it.
class Parent : public Window {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    got.emplace_back(message, wParam);
    return DefWindowProc(message, wParam, lParam);
  }
  std::vector<std::pair<uint32_t, WPARAM>> got;
};

class EditControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowSystem();
    SetBackend(&backend);
    ASSERT_EQ(Display::Create(&display), DD_OK);
    ASSERT_EQ(display->SetDisplayMode(640, 480, 8), DD_OK);
    SurfaceDesc d;
    d.flags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    d.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    d.backBufferCount = 1;
    ASSERT_EQ(display->CreatePrimarySurface(d, &screen), DD_OK);
    screen->Fill(nullptr, kScreen);
    // The game's colours: white text on black, selections black on white.
    const int indices[4] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
    const COLORREF colours[4] = {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000};
    SetSysColors(4, indices, colours);
    ASSERT_TRUE(parent.CreateEx(0, RegisterWindowClass(WindowClass{}), "parent", WS_POPUP | WS_VISIBLE,
                                Rect{0, 0, 640, 480}, nullptr, 0));
    ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, kField, &parent, 500));
    Pump();
  }
  void TearDown() override {
    edit.DestroyWindow();
    parent.DestroyWindow();
    display.reset();
    ResetWindowSystem();
    SetBackend(nullptr);
  }
  // Takes and dispatches everything waiting, as a modal loop would.
  void Pump() {
    Msg m;
    for (int guard = 0; guard < 1000 && PeekMessage(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }
  void Keys(std::initializer_list<uint32_t> vks) {
    for (uint32_t vk : vks) backend.InjectKeyPress(vk);
    Pump();
  }
  void WithShift(std::initializer_list<uint32_t> vks) {
    backend.InjectKey(VK_SHIFT, true);
    for (uint32_t vk : vks) backend.InjectKeyPress(vk);
    backend.InjectKey(VK_SHIFT, false);
    Pump();
  }
  void Type(const std::string& utf8) {
    backend.InjectText(utf8);
    Pump();
  }
  std::pair<int32_t, int32_t> Sel() const {
    int32_t s = -1, e = -1;
    edit.GetSel(&s, &e);
    return {s, e};
  }
  uint8_t At(int x, int y) const { return screen->Pixel(x, y); }

  HeadlessBackend backend{1000, 1};
  std::unique_ptr<Display> display;
  Surface* screen = nullptr;
  Parent parent;
  EditControl edit;
};

using P = std::pair<int32_t, int32_t>;

TEST_F(EditControlTest, TypingAndTheEditingKeys) {
  edit.SetFocus();
  EXPECT_TRUE(backend.TextInputOn());
  Type("Field Scout");
  EXPECT_EQ(edit.GetWindowText(), "Field Scout");
  Keys({VK_HOME, VK_RIGHT, VK_RIGHT});
  Type("J\xC3\xB6");  // typed in the middle, any keyboard layout's characters
  EXPECT_EQ(edit.GetWindowText(), "FiJ\xC3\xB6""eld Scout");
  Keys({VK_BACK, VK_BACK, VK_DELETE});
  EXPECT_EQ(edit.GetWindowText(), "Fild Scout");
  Keys({VK_END, VK_LEFT});
  WithShift({VK_LEFT, VK_LEFT, VK_LEFT});
  EXPECT_EQ(Sel(), P(6, 9));
  EXPECT_EQ(edit.Field().CaretIndex(), 6);  // the moving end
  Type("h");  // replaces the selection
  EXPECT_EQ(edit.GetWindowText(), "Fild Sht");
  WithShift({VK_HOME});
  EXPECT_EQ(Sel(), P(0, 7));
  Keys({VK_DELETE});
  EXPECT_EQ(edit.GetWindowText(), "t");
  // Left with a selection goes to its start; Ctrl+A takes everything.
  edit.SetWindowText("one two three");
  edit.SetSel(4, 7);
  Keys({VK_LEFT});
  EXPECT_EQ(Sel(), P(4, 4));
  backend.InjectKey(VK_CONTROL, true);
  backend.InjectKeyPress('A');
  backend.InjectKey(VK_CONTROL, false);
  Pump();
  EXPECT_EQ(Sel(), P(0, 13));
  // Control characters other than Backspace are not text.
  for (WPARAM c : {WPARAM{9}, WPARAM{13}, WPARAM{27}, WPARAM{0x7F}, WPARAM{0xD800}}) {
    SendMessage(&edit, WM_CHAR, c, 0);
  }
  EXPECT_EQ(edit.GetWindowText(), "one two three");
}

TEST_F(EditControlTest, SelectionMessagesKeepTheirMeanings) {
  edit.SetWindowText("Field Scout");
  EXPECT_EQ(Sel(), P(0, 0));  // new text: caret at the start
  SendMessage(&edit, EM_SETSEL, 0, -1);  // how the dialog selects the whole name
  EXPECT_EQ(Sel(), P(0, 11));
  SendMessage(&edit, EM_SETSEL, 9, 2);  // reversed: the caret goes to the second
  EXPECT_EQ(Sel(), P(2, 9));
  SendMessage(&edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);  // deselect, the caret stays
  EXPECT_EQ(Sel(), P(2, 2));
  SendMessage(&edit, EM_SETSEL, 50, 80);
  edit.ReplaceSel(" Jr.");
  EXPECT_EQ(edit.GetWindowText(), "Field Scout Jr.");
}

TEST_F(EditControlTest, TextComesBackByteForByte) {
  const std::string odd = "caf\xC3\xA9 \xFF\xFE tail";  // UTF-8 and two stray bytes
  edit.SetWindowText(odd);
  EXPECT_EQ(edit.GetWindowText(), odd);
}

TEST_F(EditControlTest, ScrollingKeepsTheCaretInTheField) {
  edit.SetFocus();
  Type(std::string(60, 'W'));
  const int32_t width = GetTextWidth(nullptr, std::string(60, 'W'));
  ASSERT_GT(width, kField.Width());
  EXPECT_LE(width - edit.Field().ScrollX(), kField.Width());  // the end and the caret show
  Keys({VK_HOME});
  EXPECT_EQ(edit.Field().ScrollX(), 0);
}

TEST_F(EditControlTest, ClicksPlaceTheCaretAndDragsSelect) {
  edit.SetWindowText("Field Scout");
  std::vector<int32_t> pens;
  GetPenPositions(nullptr, U"Field Scout", &pens);
  const int32_t afterField = kField.left + kEditMargin + pens[4];  // the boundary after "Field"
  backend.InjectClick(afterField + 1, 70);
  Pump();
  EXPECT_EQ(GetFocus(), &edit);
  EXPECT_EQ(Sel(), P(5, 5));
  // Press, drag past the end, release: the whole text from the press (the field holds the mouse).
  backend.InjectButton(0, true, afterField, 70);
  Pump();
  backend.InjectMouseMove(kField.right + 30, 70);
  Pump();
  backend.InjectButton(0, false, kField.right + 30, 70);
  Pump();
  EXPECT_EQ(Sel(), P(5, 11));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(EditControlTest, DrawsInTheSystemColoursWithASelectionAndABlinkingCaret) {
  edit.SetWindowText("Field Scout");
  Pump();
  // Unfocused: a black field, nothing drawn outside it.
  EXPECT_EQ(At(kField.left, kField.top), 0);
  EXPECT_EQ(At(kField.left - 1, kField.top), kScreen);

  // Focused with everything selected: a white highlight over the text's width.
  edit.SetFocus();
  edit.SetSel(0, -1);
  const int32_t width = GetTextWidth(nullptr, "Field Scout");
  const int32_t top = kField.top + (kField.Height() - 16) / 2;
  for (int x = kField.left + kEditMargin; x < kField.left + kEditMargin + width; ++x) {
    EXPECT_EQ(At(x, top), 255);
  }

  // The caret: solid after a change, gone after 530 ms, on the manual clock.
  edit.SetSel(11, 11);
  const int32_t caretX = kField.left + kEditMargin + width;
  backend.Advance(529);
  Pump();
  EXPECT_EQ(At(caretX, top + 8), 255);
  backend.Advance(1);
  Pump();
  EXPECT_EQ(At(caretX, top + 8), 0);
  // Left alone, it settles on after ten seconds and asks the pump for no more wake-ups.
  backend.Advance(17 * kCaretBlinkMs - 530);  // an "off" half shortly before
  Pump();
  EXPECT_EQ(At(caretX, top + 8), 0);
  RunPumpHooks();  // still blinking: the field asks to be woken for its next change
  EXPECT_TRUE(TakeWakeDeadline().has_value());
  backend.Advance(kCaretBlinkTimeoutMs + 5 * kCaretBlinkMs - 17 * kCaretBlinkMs);  // would be "off" again
  Pump();
  EXPECT_EQ(At(caretX, top + 8), 255);
  RunPumpHooks();
  EXPECT_FALSE(TakeWakeDeadline().has_value());
  // A key brings the blink back.
  backend.InjectKeyPress(VK_END);
  Pump();
  RunPumpHooks();
  EXPECT_TRUE(TakeWakeDeadline().has_value());

  // Losing the focus hides the caret and the selection and turns text input off.
  edit.SetSel(0, -1);
  parent.SetFocus();
  EXPECT_FALSE(backend.TextInputOn());
  EXPECT_EQ(At(kField.left + kEditMargin, top), 0);
}

TEST_F(EditControlTest, SystemKeysAndHelpGoToTheParentAndDestroyingTheFocusedFieldStopsTextInput) {
  edit.SetFocus();
  edit.SetWindowText("Ann");
  parent.got.clear();
  backend.InjectKey(VK_F10, true, true);
  backend.InjectKeyPress(VK_F1);
  Pump();
  bool f10 = false;
  int help = 0;
  for (const auto& [m, w] : parent.got) {
    f10 = f10 || (m == WM_SYSKEYDOWN && w == VK_F10);
    help += m == WM_HELP ? 1 : 0;
  }
  EXPECT_TRUE(f10);
  EXPECT_EQ(help, 1);  // F1 is no editing key: the field's parent is asked for help
  EXPECT_EQ(edit.GetWindowText(), "Ann");
  edit.DestroyWindow();
  EXPECT_FALSE(backend.TextInputOn());
}

}  // namespace
}  // namespace platform
