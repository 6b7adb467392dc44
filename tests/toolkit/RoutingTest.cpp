// Input routing at the window level (hover, press, capture, drag, focus and
// Tab order, wheel notches, deactivation) and inside the control tree.

#include "ToolkitFixture.h"
#include "toolkit/core/TooltipWnd.h"

namespace toolkit_test {
namespace {

class RoutingTest : public ToolkitTest {};

TEST_F(RoutingTest, PressOnFreeSpaceDragsTheWindowAndPressOnAControlDoesNot) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* button = dlg.AddProbe(3, CRect(10, 10, 110, 60));
  Probe* deaf = dlg.AddProbe(4, CRect(200, 10, 300, 60), 0xFF0000FF, /*mouseResponse=*/0);

  // On the control: it takes the press, the window stays.
  Move(dlg, 50, 30);
  Button(dlg, true, 50, 30);
  EXPECT_EQ(button->downs.size(), 1u);
  EXPECT_EQ(dlg.captionPresses, 0);
  Button(dlg, false, 50, 30);

  // On a control without mouse response and on free space: the caption
  // press goes to the window, and the next pointer move drags it.
  for (CPoint pt : {CPoint(250, 30), CPoint(150, 200)}) {
    const CRect before = dlg.GetWindowRect();
    Move(dlg, pt.x, pt.y);
    Button(dlg, true, pt.x, pt.y);
    Move(dlg, pt.x + 30, pt.y + 20);
    const CRect after = dlg.GetWindowRect();
    Button(dlg, false, pt.x + 30, pt.y + 20);
    EXPECT_EQ(after.left - before.left, 30) << pt.x;
    EXPECT_EQ(after.top - before.top, 20) << pt.x;
  }
  EXPECT_EQ(dlg.captionPresses, 2);
  EXPECT_TRUE(deaf->downs.empty());
}

TEST_F(RoutingTest, ReleaseOutsideGoesToThePressedControlAndClearsHover) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* button = dlg.AddProbe(3, CRect(10, 10, 110, 60));
  Move(dlg, 50, 30);
  ASSERT_EQ(dlg.GetPaintManager()->GetHoverControl(), button);
  Button(dlg, true, 50, 30);
  Move(dlg, 300, 250);
  Button(dlg, false, 300, 250);

  ASSERT_EQ(button->ups.size(), 1u);
  EXPECT_EQ(button->ups[0], CPoint(300, 250));
  EXPECT_EQ(dlg.GetPaintManager()->GetHoverControl(), nullptr);
  EXPECT_FALSE(dlg.GetPaintManager()->IsCaptured());
  // A press, but no completed click.
  ASSERT_EQ(dlg.notices.size(), 1u);
  EXPECT_EQ(dlg.notices[0].code, CN_PRESS);
}

// A page hidden under the pointer for another one in the same place (a tab
// change) must not keep the hover: the first press goes to what is shown.
TEST_F(RoutingTest, AHoverControlHiddenSinceGivesThePressToTheControlShownThere) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* before = dlg.AddProbe(3, CRect(10, 10, 210, 110));
  Probe* after = dlg.AddProbe(4, CRect(60, 30, 160, 90));
  // The pointer rests on the first; then it is hidden and the second shown.
  const auto swapUnderThePointer = [&] {
    after->SetVisible(0);
    before->SetVisible(1);
    Move(dlg, 100, 50);
    ASSERT_EQ(dlg.GetPaintManager()->GetHoverControl(), before);
    before->SetVisible(0);
    after->SetVisible(1);
  };
  for (bool moveFirst : {true, false}) {
    SCOPED_TRACE(moveFirst);
    swapUnderThePointer();
    if (moveFirst) Move(dlg, 101, 51);
    dlg.notices.clear();
    Button(dlg, true, 101, 51);
    Button(dlg, false, 101, 51);
    ASSERT_EQ(dlg.notices.size(), 2u);
    EXPECT_EQ(dlg.notices[1].id, 4u);
    EXPECT_EQ(dlg.notices[1].code, CN_CLICK);
  }
  EXPECT_TRUE(before->downs.empty());
}

TEST_F(RoutingTest, ClickInsideNotifiesPressThenClickWithTheControlId) {
  RecordingDialog dlg;
  Open(dlg);
  dlg.AddProbe(7, CRect(10, 10, 110, 60));
  Move(dlg, 40, 40);
  Button(dlg, true, 40, 40);
  Button(dlg, false, 42, 41);
  ASSERT_EQ(dlg.notices.size(), 2u);
  EXPECT_EQ(dlg.notices[0].id, 7u);
  EXPECT_EQ(dlg.notices[0].code, CN_PRESS);
  EXPECT_EQ(dlg.notices[1].id, 7u);
  EXPECT_EQ(dlg.notices[1].code, CN_CLICK);
}

TEST_F(RoutingTest, DeactivationDuringAPressReleasesAtMinusOne) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* button = dlg.AddProbe(3, CRect(10, 10, 110, 60));
  Move(dlg, 50, 30);
  Button(dlg, true, 50, 30);
  ASSERT_TRUE(dlg.GetPaintManager()->IsPressInProgress());

  platform::SetActiveWindow(nullptr);
  Pump(dlg);

  ASSERT_EQ(button->ups.size(), 1u);
  EXPECT_EQ(button->ups[0], CPoint(-1, -1));
  EXPECT_FALSE(dlg.GetPaintManager()->IsPressInProgress());
  EXPECT_EQ(dlg.GetPaintManager()->GetHoverControl(), nullptr);
  EXPECT_FALSE(dlg.GetPaintManager()->IsCaptured());
}

TEST_F(RoutingTest, DeactivationWithoutAPressMovesTheHoverControlAway) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* button = dlg.AddProbe(3, CRect(10, 10, 110, 60));
  Move(dlg, 50, 30);
  platform::SetActiveWindow(nullptr);
  Pump(dlg);
  EXPECT_TRUE(button->ups.empty());
  ASSERT_FALSE(button->moves.empty());
  EXPECT_EQ(button->moves.back(), CPoint(-1, -1));
}

TEST_F(RoutingTest, PressWithoutAMoveBeforeItFindsTheControlUnderThePoint) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* button = dlg.AddProbe(3, CRect(10, 10, 110, 60));
  Move(dlg, 50, 30);
  // Deactivation and reactivation forget the hover control.
  platform::SetActiveWindow(nullptr);
  platform::SetActiveWindow(dlg.GetSafeHwnd());
  Pump(dlg);
  ASSERT_EQ(dlg.GetPaintManager()->GetHoverControl(), nullptr);
  Button(dlg, true, 50, 30);
  Button(dlg, false, 50, 30);
  EXPECT_EQ(button->downs.size(), 1u);
  EXPECT_EQ(dlg.captionPresses, 0);
  ASSERT_EQ(dlg.notices.size(), 2u);
  EXPECT_EQ(dlg.notices[1].code, CN_CLICK);
}

// A page hidden under the pointer (its click switched to another page)
// must not keep the hover: the next move and press go to what is shown
// there now, with or without a move in between.
TEST_F(RoutingTest, AHoverControlHiddenUnderThePointerLetsGoOfIt) {
  for (bool moveFirst : {true, false}) {
    RecordingDialog dlg;
    Open(dlg);
    Probe* page = dlg.AddProbe(3, CRect(10, 10, 390, 290));
    Probe* next = dlg.AddProbe(4, CRect(40, 40, 140, 90));
    next->SetVisible(0);
    Move(dlg, 60, 60);
    ASSERT_EQ(dlg.GetPaintManager()->GetHoverControl(), page);
    page->SetVisible(0);
    next->SetVisible(1);
    if (moveFirst) Move(dlg, 62, 62);
    Button(dlg, true, 62, 62);
    Button(dlg, false, 62, 62);
    EXPECT_TRUE(page->downs.empty()) << moveFirst;
    EXPECT_EQ(next->downs.size(), 1u) << moveFirst;
    ASSERT_FALSE(dlg.notices.empty()) << moveFirst;
    EXPECT_EQ(dlg.notices.back().id, 4u) << moveFirst;
    EXPECT_EQ(dlg.notices.back().code, CN_CLICK) << moveFirst;
  }
}

TEST_F(RoutingTest, TabMovesFocusOnlyWithoutModifiersOrWithShiftAlone) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* a = dlg.AddProbe(3, CRect(10, 10, 60, 40));
  Probe* skipped = dlg.AddProbe(4, CRect(70, 10, 120, 40));
  Probe* b = dlg.AddProbe(5, CRect(130, 10, 180, 40));
  Probe* c = dlg.AddProbe(6, CRect(190, 10, 240, 40));
  for (Probe* p : {a, b, c}) p->SetTabStop(1);
  skipped->SetTabStop(0);
  PaintManager* pm = dlg.GetPaintManager();

  struct Case {
    std::vector<UINT> held;
    MControl* expected;
  } cases[] = {
      {{}, a},                       // from nothing: the first
      {{}, b},                       // 4 has no tab stop
      {{}, c},
      {{}, a},                       // wraps
      {{VK_SHIFT}, c},               // back, wrapping
      {{VK_SHIFT}, b},
      {{VK_CONTROL}, b},             // Ctrl: no move
      {{VK_MENU}, b},                // Alt: no move
      {{VK_CONTROL, VK_SHIFT}, b},   // Ctrl+Shift: no move
  };
  int row = 0;
  for (const Case& k : cases) {
    for (UINT vk : k.held) Key(dlg, vk, true);
    Key(dlg, VK_TAB, true);
    Key(dlg, VK_TAB, false);
    for (UINT vk : k.held) Key(dlg, vk, false);
    EXPECT_EQ(pm->GetFocusControl(), k.expected) << "row " << row;
    ++row;
  }
  // The old focus heard about losing it, the new one about getting it.
  EXPECT_FALSE(b->focusCalls.empty());
  EXPECT_EQ(b->focusCalls.back(), 1);
  EXPECT_EQ(c->focusCalls.back(), 0);
}

TEST_F(RoutingTest, TabWithNothingFocusableGoesOnToTheControls) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* a = dlg.AddProbe(3, CRect(10, 10, 60, 40));
  Move(dlg, 20, 20);
  Key(dlg, VK_TAB, true);
  EXPECT_EQ(dlg.GetPaintManager()->GetFocusControl(), nullptr);
  ASSERT_EQ(a->keys.size(), 1u);
  EXPECT_EQ(a->keys[0].first, VK_TAB);
}

TEST_F(RoutingTest, KeyModifierCodes) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* a = dlg.AddProbe(3, CRect(10, 10, 60, 40));
  Move(dlg, 20, 20);
  struct Case {
    std::vector<UINT> held;
    UINT code;
  } cases[] = {
      {{}, 0}, {{VK_SHIFT}, 16}, {{VK_CONTROL}, 17}, {{VK_MENU}, 18},
      {{VK_CONTROL, VK_SHIFT}, 17}, {{VK_MENU, VK_CONTROL}, 19},
  };
  for (const Case& k : cases) {
    a->keys.clear();
    for (UINT vk : k.held) Key(dlg, vk, true);
    Key(dlg, 'K', true);
    Key(dlg, 'K', false);
    for (UINT vk : k.held) Key(dlg, vk, false);
    ASSERT_FALSE(a->keys.empty());
    EXPECT_EQ(a->keys.back().first, UINT('K'));
    EXPECT_EQ(a->keys.back().second, k.code);
  }
}

TEST_F(RoutingTest, WheelCountsWholeNotches) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* a = dlg.AddProbe(3, CRect(10, 10, 110, 110));
  Move(dlg, 50, 50);
  // Scroll values: 1 = a notch towards the user, 0 = away.
  struct Case {
    int delta;
    std::vector<int> scrolls;
  } cases[] = {
      {119, {}}, {-119, {}}, {60, {}}, {120, {0}}, {-120, {1}}, {-240, {1, 1}}, {359, {0, 0}},
  };
  for (const Case& k : cases) {
    a->scrolls.clear();
    platform::headless::InjectWheel(dlg.GetSafeHwnd(), k.delta, 50, 50);
    Pump(dlg);
    EXPECT_EQ(a->scrolls, k.scrolls) << k.delta;
  }
}

TEST_F(RoutingTest, WheelFallsBackToOtherControlsWhenTheHoverDeclines) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* under = dlg.AddProbe(3, CRect(10, 10, 200, 200));
  Probe* over = dlg.AddProbe(4, CRect(50, 50, 100, 100));
  over->handleScroll = 0;
  Move(dlg, 60, 60);
  ASSERT_EQ(dlg.GetPaintManager()->GetHoverControl(), over);
  platform::headless::InjectWheel(dlg.GetSafeHwnd(), -120, 60, 60);
  Pump(dlg);
  EXPECT_EQ(over->scrolls, std::vector<int>{1});
  EXPECT_EQ(under->scrolls, std::vector<int>{1});
}

TEST_F(RoutingTest, HoverIsTheLastControlUnderThePointerAndLeaveClearsIt) {
  RecordingDialog dlg;
  Open(dlg);
  dlg.AddProbe(3, CRect(10, 10, 200, 200));
  Probe* top = dlg.AddProbe(4, CRect(50, 50, 100, 100));
  Move(dlg, 60, 60);
  EXPECT_EQ(dlg.GetPaintManager()->GetHoverControl(), top);
  platform::headless::InjectPointerExit();
  Pump(dlg);
  EXPECT_EQ(dlg.GetPaintManager()->GetHoverControl(), nullptr);
  EXPECT_EQ(top->moves.back(), CPoint(-1, -1));
}

// A click that hides the control under the pointer (a page giving way to
// another when its item is clicked) must not leave it the hover control: the
// next press, still inside the hidden control's rectangle, belongs to the
// control that shows there.
class HidingProbe : public Probe {
 public:
  using Probe::Probe;
  int OnControlLButtonUp(UINT flags, CPoint pt) override {
    Probe::OnControlLButtonUp(flags, pt);
    SetVisible(0);
    return 1;
  }
};

TEST_F(RoutingTest, ControlHiddenByItsOwnClickGivesUpTheHover) {
  for (const bool moveFirst : {true, false}) {
    SCOPED_TRACE(moveFirst ? "move, then press" : "press without a move");
    RecordingDialog dlg;
    Open(dlg);
    auto* page = new HidingProbe(&dlg, 3, CRect(10, 10, 300, 200));
    dlg.GetPaintManager()->AttachControl(page, 1);
    Probe* tab = dlg.AddProbe(4, CRect(20, 20, 60, 60));
    Move(dlg, 150, 100);
    ASSERT_EQ(dlg.GetPaintManager()->GetHoverControl(), page);
    Button(dlg, true, 150, 100);
    Button(dlg, false, 150, 100);
    ASSERT_FALSE(page->IsVisible());
    if (moveFirst) Move(dlg, 40, 40);
    Button(dlg, true, 40, 40);
    Button(dlg, false, 40, 40);
    EXPECT_EQ(tab->downs.size(), 1u);
    EXPECT_EQ(dlg.GetPaintManager()->GetHoverControl(), tab);
    // Back over the hidden page's free part, where nothing shows.
    Move(dlg, 150, 100);
    EXPECT_EQ(dlg.GetPaintManager()->GetHoverControl(), nullptr);
    EXPECT_EQ(page->downs.size(), 1u);
  }
}

TEST_F(RoutingTest, TooltipShowsOnEnterAndHidesOnFreeSpace) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* a = dlg.AddProbe(3, CRect(10, 10, 110, 60));
  a->SetTooltip(L"Reset the lighting");
  Move(dlg, 50, 30);
  EXPECT_EQ(dlg.GetPaintManager()->GetTooltipText(), L"Reset the lighting");
  EXPECT_EQ(dlg.GetPaintManager()->GetTooltipOwner(), 3u);
  // The toolkit's own popup shows it, near the pointer, without taking
  // activation from the dialog.
  TooltipWnd* tip = dlg.GetPaintManager()->GetToolTipWnd();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(platform::IsWindowVisible(tip->GetSafeHwnd()));
  EXPECT_EQ(platform::GetActiveWindow(), dlg.GetSafeHwnd());
  POINT cursor{50, 30};
  dlg.ClientToScreen(&cursor);
  const CRect tipRect = tip->GetWindowRect();
  EXPECT_GT(tipRect.left, cursor.x);
  EXPECT_GT(tipRect.top, cursor.y);
  Move(dlg, 300, 250);
  EXPECT_EQ(dlg.GetPaintManager()->GetTooltipText(), L"");
  EXPECT_FALSE(platform::IsWindowVisible(tip->GetSafeHwnd()));
}

// --- Inside the control tree -------------------------------------------------------

TEST_F(RoutingTest, PressOnADisabledChildIsTakenByTheParent) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* parent = dlg.AddProbe(10, CRect(0, 0, 300, 200));
  auto* child = new Probe(parent, 11, CRect(10, 10, 60, 60));
  auto* disabled = new Probe(parent, 12, CRect(100, 10, 150, 60));
  parent->AddChild(child, 1);
  parent->AddChild(disabled, 1);
  child->SetManager(dlg.GetPaintManager());
  disabled->SetManager(dlg.GetPaintManager());
  disabled->SetEnabled(0);

  Move(dlg, 120, 30);
  Button(dlg, true, 120, 30);
  Button(dlg, false, 120, 30);
  EXPECT_TRUE(disabled->downs.empty());
  EXPECT_EQ(parent->downs.size(), 1u);

  Move(dlg, 30, 30);
  Button(dlg, true, 30, 30);
  Button(dlg, false, 200, 150);  // released outside the child
  EXPECT_EQ(child->downs.size(), 1u);
  ASSERT_EQ(child->ups.size(), 1u);
  EXPECT_EQ(child->ups[0], CPoint(200, 150));
  EXPECT_EQ(parent->downs.size(), 1u);
}

TEST_F(RoutingTest, DoubleClickOnALeafIsASecondPress) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* a = dlg.AddProbe(3, CRect(10, 10, 110, 60));
  Move(dlg, 50, 30);
  Button(dlg, true, 50, 30);
  Button(dlg, false, 50, 30);
  // Straight after: the platform reports a double click.
  platform::headless::InjectButton(dlg.GetSafeHwnd(), platform::headless::Button::Left, true, 50, 30);
  Pump(dlg);
  Button(dlg, false, 50, 30);
  EXPECT_EQ(a->downs.size(), 2u);
  EXPECT_EQ(a->ups.size(), 2u);
}

}  // namespace
}  // namespace toolkit_test
