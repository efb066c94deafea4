// ZButton, ZPushButton and ZRadioButton: looks and frames by mask, sounds, drawing, pointer, keys and latching.
#include <gtest/gtest.h>

#include "framework/ui/push_button.h"
#include "framework/ui/radio_button.h"
#include "tests/framework/ui/ui_test_util.h"

namespace {

using uitest::kHighlightSound;
using uitest::kPressSound;
using B = ZButton;
using platform::NM_CLICK;
using platform::NM_KILLFOCUS;
using platform::NM_SETFOCUS;

class ButtonTest : public uitest::UiFixture {};

TEST(ButtonRules, StatesResolveAgainstTheMaskAndFramesFollowTheOrderOneFourTwoEight) {
  struct Row {
    int32_t mask;
    int32_t shown[4];  // for requests 1, 2, 4, 8
    int32_t frame[4];  // of states 1, 2, 4, 8 (-1: not in the mask's art)
  };
  const Row rows[] = {
      {6, {2, 2, 4, 4}, {-1, 1, 0, -1}},
      {10, {2, 2, 2, 8}, {-1, 0, -1, 1}},
      {14, {2, 2, 4, 8}, {-1, 1, 0, 2}},
      {15, {1, 2, 4, 8}, {0, 2, 1, 3}},
      {1, {1, 1, 1, 1}, {0, -1, -1, -1}},
  };
  const int32_t requests[4] = {1, 2, 4, 8};
  for (const Row& r : rows) {
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(B::ResolveState(requests[i], r.mask), r.shown[i]) << "mask " << r.mask << " request " << requests[i];
      if (r.frame[i] >= 0) { EXPECT_EQ(B::FrameIndex(requests[i], r.mask), r.frame[i]) << "mask " << r.mask; }
    }
  }
  // Requests that are not one state, and masks with no state, show nothing.
  EXPECT_EQ(B::ResolveState(3, 14), 0);
  EXPECT_EQ(B::ResolveState(2, 0), 0);
}

TEST_F(ButtonTest, EachMaskShowsItsFramesOnTheScreenAtOnce) {
  B* b14 = Make(uitest::kMask14Sprite, 14, 21, 100, 100);
  B* b10 = Make(uitest::kMask10Sprite, 10, 22, 100, 150);
  B* b6 = Make(uitest::kMask6Sprite, 6, 23, 100, 200);
  struct Step {
    B* button;
    int32_t request, state;
    uint8_t pixel;
    int32_t y;
  };
  const Step steps[] = {
      {b14, 2, 2, 41, 100}, {b14, 4, 4, 40, 100}, {b14, 8, 8, 42, 100}, {b10, 2, 2, 51, 150}, {b10, 4, 2, 51, 150},
      {b10, 8, 8, 52, 150}, {b6, 2, 2, 61, 200},  {b6, 8, 4, 60, 200},  {b6, 2, 2, 61, 200},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(s.button->SetState(s.request), s.state);
    // Front and back both hold the new look; the picture around it is untouched.
    EXPECT_EQ(Front(105, s.y + 5), s.pixel) << "request " << s.request;
    EXPECT_EQ(Back(105, s.y + 5), s.pixel);
  }
  EXPECT_EQ(Front(120, 105), 0);  // only the button's rectangle is copied
  // A hidden button keeps its state but draws nothing.
  b6->ShowWindow(platform::SW_HIDE);
  EXPECT_EQ(b6->SetState(B::kStateHighlighted), B::kStateHighlighted);
  EXPECT_EQ(Front(105, 205), 61);
}

TEST_F(ButtonTest, TheFirstStateIsSilentAndLaterChangesPlayTheRequestedStatesSound) {
  B* b = Make(uitest::kMask14Sprite, 14, 21);
  Quiet();
  b->SetState(B::kStateHighlighted);  // first state: no sound, even one with a sound
  EXPECT_FALSE(Playing(kHighlightSound));
  b->SetState(B::kStateNormal);
  b->SetState(B::kStateHighlighted);
  EXPECT_TRUE(Playing(kHighlightSound));
  Quiet();
  b->SetState(B::kStateHighlighted);  // no change, no sound
  EXPECT_FALSE(Playing(kHighlightSound));
  b->SetState(B::kStatePressed);
  EXPECT_TRUE(Playing(kPressSound));
  EXPECT_FALSE(Playing(kHighlightSound));
  // State 0 (hidden) makes the next state a first state again.
  b->SetState(B::kStateNone);
  Quiet();
  b->SetState(B::kStatePressed);
  EXPECT_FALSE(Playing(kPressSound));
}

TEST_F(ButtonTest, EnterOnAHighlightedButtonPressesItAndTheReleaseClicksIt) {
  B* b = Make(uitest::kMask14Sprite, 14, 21);
  b->SetState(B::kStateNormal);
  Send(b, platform::WM_KEYDOWN, platform::VK_SPACE);  // not hot: goes to the parent
  Send(b, platform::WM_SETFOCUS);
  Send(b, platform::WM_KEYDOWN, platform::VK_RETURN);
  EXPECT_EQ(b->state, B::kStatePressed);
  EXPECT_EQ(Front(105, 105), 42);
  Send(b, platform::WM_KEYUP, platform::VK_RETURN);
  EXPECT_EQ(b->state, B::kStateHighlighted);
  EXPECT_EQ(parent->Codes(), (std::vector<int32_t>{NM_SETFOCUS, NM_CLICK}));
  DrainQueue();
  EXPECT_EQ(parent->Count(platform::WM_KEYDOWN, platform::VK_SPACE), 1);
}

TEST_F(ButtonTest, AMouseClickNotifiesAndAPressReleasedElsewhereDoesNot) {
  B* b = Make(uitest::kMask14Sprite, 14, 21);
  b->pixelHitTest = 0;
  b->SetState(B::kStateNormal);
  MouseMove(b, 3, 3);
  EXPECT_EQ(b->state, B::kStateHighlighted);
  Click(b);
  EXPECT_EQ(b->state, B::kStateHighlighted);
  std::vector<int32_t> codes = {NM_SETFOCUS, NM_CLICK};
  EXPECT_EQ(parent->Codes(), codes);

  // Pressed, then the pointer leaves (its parent takes the focus away) and the release happens
  // elsewhere: no click, and the press stays armed.
  parent->heard.clear();
  Send(b, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::MakeLParam(1, 1));
  EXPECT_EQ(b->state, B::kStatePressed);
  Send(b, platform::WM_KILLFOCUS);
  EXPECT_EQ(b->state, B::kStateNormal);
  EXPECT_EQ(b->armed, 1);
  // Back over it with the button still held, it shows pressed; releasing there clicks.
  MouseMove(b, 3, 3, true);
  EXPECT_EQ(b->state, B::kStatePressed);
  Send(b, platform::WM_LBUTTONUP, 0, platform::MakeLParam(1, 1));
  codes = {NM_KILLFOCUS, NM_SETFOCUS, NM_CLICK};
  EXPECT_EQ(parent->Codes(), codes);
  EXPECT_EQ(b->armed, 0);
}

TEST_F(ButtonTest, ThePixelHitTestIgnoresTransparentPixelsUnlessSwitchedOff) {
  B* b = Make(uitest::kHoledSprite, 2, 24);
  b->SetState(B::kStateNormal);
  MouseMove(b, 15, 5);
  EXPECT_EQ(b->hot, 1);
  MouseMove(b, 2, 5);  // onto a transparent pixel: as if the pointer left
  EXPECT_EQ(b->hot, 0);
  b->pixelHitTest = 0;
  EXPECT_EQ(b->HitTest(2, 5), 1);
  // The drawn look keeps the picture under its transparent pixels.
  EXPECT_EQ(Front(102, 105), uitest::kBackdrop);
  EXPECT_EQ(Front(115, 105), 70);
}

TEST_F(ButtonTest, KeysForTheScreenArePostedToTheParentAndKeyTwoIsSwallowed) {
  B* b = Make(uitest::kMask14Sprite, 14, 21);
  for (uint32_t key : {platform::VK_TAB, platform::VK_SHIFT, platform::VK_ESCAPE}) {
    Send(b, platform::WM_KEYDOWN, key);
    Send(b, platform::WM_KEYUP, key);
  }
  Send(b, platform::WM_KEYDOWN, 2);
  DrainQueue();
  for (uint32_t key : {platform::VK_TAB, platform::VK_SHIFT, platform::VK_ESCAPE}) {
    EXPECT_EQ(parent->Count(platform::WM_KEYDOWN, key), 1) << key;
    EXPECT_EQ(parent->Count(platform::WM_KEYUP, key), 1) << key;
  }
  EXPECT_EQ(parent->Count(platform::WM_KEYDOWN, 2), 0);
}

TEST_F(ButtonTest, ALatchingButtonTogglesOnEachClickAndRestsPressedWhileDown) {
  auto* p = Make<ZPushButton>(uitest::kMask10Sprite, 10, 6, 100, 100, nullptr, nullptr, false);
  p->pixelHitTest = 0;
  p->SetState(B::kStateNormal);
  MouseMove(p, 2, 2);
  Click(p);
  EXPECT_EQ(p->down, 1);
  EXPECT_EQ(p->state, B::kStatePressed);
  EXPECT_EQ(Front(105, 105), 52);
  // The pointer leaves: it stays pressed while down.
  Send(p, platform::WM_KILLFOCUS);
  EXPECT_EQ(p->state, B::kStatePressed);
  MouseMove(p, 2, 2);
  Click(p);
  EXPECT_EQ(p->down, 0);
  EXPECT_EQ(p->state, B::kStateNormal);  // highlighted has no look in mask 10
  const std::vector<int32_t> codes = {NM_SETFOCUS, NM_CLICK, NM_KILLFOCUS, NM_SETFOCUS, NM_CLICK};
  EXPECT_EQ(parent->Codes(), codes);
  // From outside: latched down and let up again.
  p->SetDown(1);
  EXPECT_EQ(p->state, B::kStatePressed);
  p->SetDown(0);
  EXPECT_EQ(p->state, B::kStateNormal);

  // With the keyboard every release toggles; after the first the press stays armed, so later
  // presses go to the parent and only the releases act.
  parent->heard.clear();
  Send(p, platform::WM_KEYDOWN, platform::VK_RETURN);
  EXPECT_EQ(p->state, B::kStatePressed);
  Send(p, platform::WM_KEYUP, platform::VK_RETURN);
  EXPECT_EQ(p->down, 1);
  Send(p, platform::WM_KEYDOWN, platform::VK_SPACE);
  Send(p, platform::WM_KEYUP, platform::VK_SPACE);
  EXPECT_EQ(p->down, 0);
  DrainQueue();
  EXPECT_EQ(parent->Count(platform::WM_KEYDOWN, platform::VK_SPACE), 1);
  EXPECT_EQ(parent->Codes(), (std::vector<int32_t>{NM_CLICK, NM_CLICK}));
}

TEST_F(ButtonTest, ARadioButtonIsCheckedByAClickAndStaysCheckedWhenClickedAgain) {
  auto* r = Make<ZRadioButton>(uitest::kMask10Sprite, 10, 7, 100, 100, nullptr, nullptr, false);
  r->pixelHitTest = 0;
  r->SetState(B::kStateNormal);
  MouseMove(r, 2, 2);
  Quiet();
  Click(r);
  EXPECT_EQ(r->checked, 1);
  EXPECT_EQ(r->state, B::kStatePressed);
  EXPECT_TRUE(Playing(kPressSound));
  Quiet();
  Click(r);  // again: a click is reported, the look and check stay, no sound
  EXPECT_EQ(r->checked, 1);
  EXPECT_FALSE(Playing(kPressSound));
  EXPECT_EQ(parent->Codes(), (std::vector<int32_t>{NM_SETFOCUS, NM_CLICK, NM_CLICK}));
  // Losing the pointer keeps the check; unchecking shows highlighted while hot, else normal.
  Send(r, platform::WM_KILLFOCUS);
  EXPECT_EQ(r->state, B::kStatePressed);
  r->SetCheck(0);
  EXPECT_EQ(r->state, B::kStateNormal);
  EXPECT_EQ(Front(105, 105), 51);
  // The keyboard checks it on the release and reports clicks also when already checked.
  Send(r, platform::WM_KEYDOWN, platform::VK_SPACE);
  EXPECT_EQ(r->state, B::kStatePressed);
  EXPECT_EQ(r->checked, 0);
  Send(r, platform::WM_KEYUP, platform::VK_SPACE);
  EXPECT_EQ(r->checked, 1);
  // Forcing the normal look on a checked radio button nobody points at unchecks it; while it is
  // hot the check holds.
  r->armed = 0;
  r->hot = 1;
  r->SetState(B::kStateNormal);
  EXPECT_EQ(r->checked, 1);
  r->hot = 0;
  r->SetState(B::kStateNormal);
  EXPECT_EQ(r->checked, 0);
  EXPECT_EQ(r->state, B::kStateNormal);
}

}  // namespace
