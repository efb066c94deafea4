// ZDialog: composing its picture, painting and hiding, the focus list, its keys, notifications and modal loop.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/core/graphics_info.h"
#include "framework/graphics/sprite_list.h"
#include "framework/ui/dialog.h"
#include "framework/ui/radio_button.h"
#include "platform/pump.h"
#include "tests/framework/ui/ui_test_util.h"

namespace {

using B = ZButton;
using platform::Rect;

// A dialog that counts its data exchanges.
class CountingDialog : public ZDialog {
 public:
  int32_t ExchangeData(int32_t direction) override {
    ++exchanges[direction != 0 ? 1 : 0];
    return 1;
  }
  int exchanges[2] = {0, 0};
};

class DialogTest : public uitest::UiFixture {
 protected:
  void TearDown() override {
    dialog.reset();
    uitest::UiFixture::TearDown();
  }
  CountingDialog* MakeDialog(const Rect& rect, int32_t framed = 0) {
    dialog = std::make_unique<CountingDialog>();
    EXPECT_EQ(dialog->Create(graphics.get(), parent.get(), &rect, 0, framed), 1);
    return dialog.get();
  }
  // A button inside the dialog at (x, y) of the dialog, drawn through the dialog's viewport.
  template <typename T = ZButton>
  T* Control(int32_t spriteId, int32_t mask, uint32_t id, int32_t x, int32_t y) {
    T* b = Make<T>(spriteId, mask, id, x, y, dialog.get(), dialog->viewport.get());
    b->pixelHitTest = 0;
    b->ShowWindow(platform::SW_HIDE);  // the dialog shows its controls when it paints
    dialog->AddControl(b);
    return b;
  }
  // Runs the dialog's modal loop; each pump pass takes the next step, until the loop ends.
  int32_t RunModal(std::vector<std::function<void()>> steps) {
    size_t next = 0;
    int passes = 0;
    int hook = platform::AddPumpHook([&] {
      if (++passes > 500) {
        ADD_FAILURE() << "the modal loop did not end";
        dialog->running = 0;
        return;
      }
      if (next < steps.size()) steps[next++]();
    });
    int32_t result = dialog->DoModal();
    platform::RemovePumpHook(hook);
    return result;
  }
  uint8_t Own(int32_t x, int32_t y) { return At(dialog->surface.get(), x, y); }
  // A w x h background picture with pixel(x, y) at each place.
  template <typename F>
  std::unique_ptr<ZSurface> Pattern(int32_t w, int32_t h, F pixel) {
    auto art = MakeSurface(w, h);
    ZSurfaceLock lock(art.get());
    EXPECT_TRUE(lock.Ok());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) lock.Desc().bits[y * lock.Desc().pitch + x] = static_cast<uint8_t>(pixel(x, y));
    return art;
  }

  std::unique_ptr<CountingDialog> dialog;
};

TEST_F(DialogTest, AFramedOpaqueTenByTenDialogHasItsBevelAndAFourByFourInside) {
  MakeDialog(Rect{0, 0, 10, 10}, 1);
  auto art = Pattern(4, 4, [](int x, int y) { return 100 + 10 * y + x; });
  dialog->SetBackground(art.get());
  ASSERT_EQ(dialog->Compose(), 1);
  // F face 24, S shadow 8, L light 25, E edge 26; letters are the background's pixels.
  const char* rows[10] = {"FFFFFFFFFE", "FSSSSSSSLE", "FSFFFFFFLE", "FSFabcdFLE", "FSFefghFLE",
                          "FSFijklFLE", "FSFmnopFLE", "FSFFFFFFLE", "FLLLLLLLLL", "EEEEEEEEEE"};
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const char c = rows[y][x];
      const int frame = c == 'F' ? 24 : c == 'S' ? 8 : c == 'L' ? 25 : c == 'E' ? 26 : -1;
      const int want = frame >= 0 ? frame : 100 + 10 * ((c - 'a') / 4) + (c - 'a') % 4;
      EXPECT_EQ(Own(x, y), want) << x << "," << y;
    }
  }
}

TEST_F(DialogTest, ASmallBackgroundIsRepeatedAcrossAndDown) {
  MakeDialog(Rect{0, 0, 20, 12});
  auto art = Pattern(3, 5, [](int x, int y) { return 10 * y + x; });
  dialog->SetBackground(art.get());
  ASSERT_EQ(dialog->Compose(), 1);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_EQ(Own(x, y), 10 * (y % 5) + x % 3) << x << "," << y;
}

TEST_F(DialogTest, ATransparentDialogShowsTheScreenBeneathThroughItsKeyColour) {
  MakeDialog(Rect{200, 100, 208, 104});
  for (int y = 100; y < 104; ++y)
    for (int x = 200; x < 208; ++x) {
      const Rect dot{x, y, x + 1, y + 1};
      graphics->GetFrontSurface()->Fill(&dot, x - 150 + y);
    }
  auto art = Pattern(8, 4, [](int x, int y) { return (x + y) % 2 == 0 ? 1 : 200; });
  dialog->SetBackground(art.get());
  dialog->SetTransparent(1);
  ASSERT_EQ(dialog->Compose(), 1);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(Own(x, y), (x + y) % 2 == 0 ? x + 150 + y : 200) << x << "," << y;
}

TEST_F(DialogTest, PaintingPutsTheDialogAndItsControlsOnBothSurfacesAndFollowsResizing) {
  MakeDialog(Rect{100, 50, 300, 150});
  B* ok = Control(uitest::kMask14Sprite, 14, 1, 10, 20);
  dialog->ShowWindow(platform::SW_SHOW);
  dialog->UpdateWindow();
  EXPECT_EQ(dialog->exchanges[0], 1);
  EXPECT_EQ(ok->state, B::kStateNormal);
  EXPECT_EQ(Back(299, 149), ZDialog::kFaceIndex);
  EXPECT_EQ(Front(300, 150), 0);
  // The control sits at its place inside the dialog, on both surfaces.
  EXPECT_EQ(ok->GetWindowRect(), (Rect{110, 70, 130, 80}));
  EXPECT_EQ(Front(115, 75), 41);
  EXPECT_EQ(Back(115, 75), 41);
  // A paint after the control changed keeps its look over the new picture.
  ok->SetState(B::kStateHighlighted);
  dialog->InvalidateRect(nullptr);
  dialog->UpdateWindow();
  EXPECT_EQ(Front(115, 75), 40);
  EXPECT_EQ(dialog->exchanges[0], 2);
  // Resizing makes the next paint rebuild the surface.
  dialog->MoveWindow(Rect{100, 50, 400, 190});
  dialog->UpdateWindow();
  EXPECT_EQ(dialog->surface->GetWidth(), 300);
  EXPECT_EQ(Front(399, 189), ZDialog::kFaceIndex);
}

TEST_F(DialogTest, HidingMarksTheCoveredScreenDirtyAndReadsTheControlsBack) {
  // A game screen scrolled away from its origin: the dirty lists still get screen rectangles.
  ZSpriteList sprites;
  auto panorama = MakeSurface(1000, 600, 9);
  const Rect whole{0, 0, 640, 480};
  ZViewport main(graphics.get(), panorama.get(), graphics->GetBackSurface(), &whole, 300, 40);
  ZGraphicsInfo info;
  info.worldSprites = &sprites;
  info.overlaySprites = &sprites;
  info.mainViewport = &main;
  info.secondViewport = &main;
  graphics->SetInfo(&info);
  graphics->EmptyRectLists();
  MakeDialog(Rect{100, 50, 300, 150});
  dialog->ShowWindow(platform::SW_SHOW);
  dialog->UpdateWindow();
  graphics->EmptyRectLists();
  dialog->ShowWindow(platform::SW_HIDE);
  EXPECT_EQ(dialog->exchanges[1], 1);
  ASSERT_EQ(graphics->PendingRects().size(), 1u);
  EXPECT_EQ(graphics->PendingRects().front(), (Rect{100, 50, 300, 150}));
  EXPECT_EQ(graphics->FollowingRects().front(), (Rect{100, 50, 300, 150}));
  ZGraphicsInfo none;
  graphics->SetInfo(&none);
}

TEST_F(DialogTest, TabMovesTheFocusRoundTheControlsBothWaysAndNothingWithoutAFocus) {
  MakeDialog(Rect{100, 50, 300, 150});
  B* a = Control(uitest::kMask14Sprite, 14, 31, 10, 10);
  B* b = Control(uitest::kMask14Sprite, 14, 32, 40, 10);
  B* c = Control(uitest::kMask14Sprite, 14, 33, 70, 10);
  dialog->ShowWindow(platform::SW_SHOW);
  dialog->UpdateWindow();
  dialog->SetFocus();
  EXPECT_EQ(dialog->GetFocusControl(), a);  // the first control added
  auto tab = [&] {
    // The key reaches whichever window has the platform focus; buttons pass it to the dialog.
    Send(platform::GetFocus(), platform::WM_KEYDOWN, platform::VK_TAB);
    DrainQueue();
  };
  tab();
  EXPECT_EQ(dialog->GetFocusControl(), b);
  EXPECT_EQ(platform::GetFocus(), b);
  EXPECT_EQ(b->state, B::kStateHighlighted);
  tab();
  EXPECT_EQ(b->state, B::kStateNormal);
  EXPECT_EQ(c->state, B::kStateHighlighted);
  tab();  // past the end: the first
  EXPECT_EQ(platform::GetFocus(), a);
  // Shift reverses; past the start: the last.
  Send(platform::GetFocus(), platform::WM_KEYDOWN, platform::VK_SHIFT);
  DrainQueue();
  tab();
  EXPECT_EQ(platform::GetFocus(), c);
  tab();
  EXPECT_EQ(platform::GetFocus(), b);
  Send(platform::GetFocus(), platform::WM_KEYUP, platform::VK_SHIFT);
  DrainQueue();
  // The pointer over the dialog itself takes the focus to the dialog, where Tab does nothing.
  MouseMove(dialog.get(), 150, 80);
  EXPECT_EQ(b->state, B::kStateNormal);
  tab();
  EXPECT_EQ(dialog->GetFocusControl(), nullptr);
  EXPECT_EQ(platform::GetFocus(), dialog.get());
}

TEST_F(DialogTest, ClicksLosingTheApplicationOrItsWindowAndQuittingEndTheLoop) {
  MakeDialog(Rect{100, 50, 300, 150});
  B* ok = Control(uitest::kMask14Sprite, 14, ZDialog::kResultOk, 10, 10);
  B* cancel = Control(uitest::kMask14Sprite, 14, ZDialog::kResultCancel, 40, 10);
  EXPECT_EQ(RunModal({[&] { MouseMove(ok, 2, 2); }, [&] { Click(ok); }}), ZDialog::kResultOk);
  EXPECT_EQ(RunModal({[&] { MouseMove(cancel, 2, 2); }, [&] { Click(cancel); }}), ZDialog::kResultCancel);
  EXPECT_EQ(ok->state, B::kStateNormal);  // closing the dialog took the highlight from the first
  EXPECT_EQ(RunModal({[&] { Send(dialog.get(), platform::WM_ACTIVATEAPP, 0); }}), ZDialog::kResultCancel);
  // A quit ends the loop and is left for the program's own loop.
  EXPECT_EQ(RunModal({[] { platform::PostQuitMessage(7); }}), ZDialog::kResultQuit);
  platform::Msg msg;
  ASSERT_TRUE(platform::PeekMessage(&msg, nullptr, platform::WM_QUIT, platform::WM_QUIT, platform::PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(RunModal({[&] { parent->DestroyWindow(); }}), ZDialog::kResultCancel);
  EXPECT_EQ(dialog->DoModal(), 0);  // without a window there is nothing to run
}

TEST_F(DialogTest, AClickedRadioButtonUnchecksEveryOtherWhereverItIsInTheList) {
  MakeDialog(Rect{100, 50, 400, 150});
  auto* r1 = Control<ZRadioButton>(uitest::kMask10Sprite, 10, 7, 10, 10);
  B* plain = Control(uitest::kMask14Sprite, 14, 40, 40, 10);
  auto* r2 = Control<ZRadioButton>(uitest::kMask10Sprite, 10, 8, 70, 10);
  auto* r3 = Control<ZRadioButton>(uitest::kMask10Sprite, 10, 9, 100, 10);
  dialog->ShowWindow(platform::SW_SHOW);
  dialog->UpdateWindow();
  r1->SetCheck(1);
  r3->SetCheck(1);
  MouseMove(r2, 2, 2);
  Click(r2);
  EXPECT_EQ(r2->checked, 1);
  EXPECT_EQ(r1->checked, 0);
  EXPECT_EQ(r3->checked, 0);
  EXPECT_EQ(Front(205, 65), 51);  // r3 shows normal again
  // A click on the plain button leaves the radio buttons alone.
  MouseMove(plain, 2, 2);
  Click(plain);
  EXPECT_EQ(r2->checked, 1);
}

}  // namespace
