// Pop-ups that are dismissed (WS_POPUP | WS_EX_TOOLWINDOW: menus, drop-down
// lists) on the headless backend: what sends them WM_NCACTIVATE 0 and what
// does not, the keys they take while open, and their placement inside the
// work area.

#include <functional>

#include "WindowTestSupport.h"
#include "platform/window/PopupPlacement.h"

using namespace platform;
using namespace platform::headless;
using wintest::Recorder;

namespace {

constexpr DWORD kPopupStyle = WS_POPUP | WS_VISIBLE;

class PopupTest : public wintest::HeadlessTest {
 protected:
  // An owner dialog with an open drop-down below it and an unrelated window.
  struct Scene {
    Recorder ownerRec, popupRec, otherRec, childRec;
    HWND owner = nullptr, popup = nullptr, other = nullptr;
  };
  void Build(Scene& s) {
    s.owner = Make(s.ownerRec, RECT{100, 100, 500, 400}, WS_VISIBLE | WS_POPUP);
    s.other = Make(s.otherRec, RECT{700, 100, 900, 300}, WS_VISIBLE | WS_POPUP);
    SetActiveWindow(s.owner);
    s.popup = Make(s.popupRec, RECT{120, 200, 320, 380}, kPopupStyle, WS_EX_TOOLWINDOW, s.owner);
    PumpPendingMessages();
    s.ownerRec.Clear();
    s.popupRec.Clear();
  }
  static void Press(HWND h, int x, int y) {
    AdvanceTime(1000);
    InjectButton(h, Button::Left, true, x, y);
    InjectButton(h, Button::Left, false, x, y);
    PumpPendingMessages();
  }
  static int Dismissals(const Recorder& rec) {
    int n = 0;
    for (const auto& r : rec.Of(WM_NCACTIVATE)) n += r.wParam == 0 ? 1 : 0;
    return n;
  }
};

TEST_F(PopupTest, WhatDismissesAnOpenPopupAndWhatKeepsIt) {
  struct Case {
    const char* name;
    std::function<void(PopupTest::Scene&)> act;
    int dismissed;
  };
  const Case cases[] = {
      {"press in the owner", [](Scene& s) { Press(s.owner, 350, 50); }, 1},
      {"press in another window", [](Scene& s) { Press(s.other, 50, 50); }, 1},
      {"press outside every window", [](Scene& s) { Press(s.owner, 1500, 900); }, 1},
      {"owner deactivated", [](Scene& s) { SetActiveWindow(s.other); }, 1},
      {"owner hidden", [](Scene& s) { ShowWindow(s.owner, SW_HIDE); }, 1},
      {"owner minimised", [](Scene& s) { ShowWindow(s.owner, SW_MINIMIZE); }, 1},
      {"owner moved", [](Scene& s) { SetWindowPos(s.owner, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }, 1},
      {"owner resized", [](Scene& s) { SetWindowPos(s.owner, nullptr, 0, 0, 420, 300, SWP_NOMOVE | SWP_NOZORDER); }, 1},
      {"press in the popup", [](Scene& s) { Press(s.popup, 20, 20); }, 0},
      {"press in a window the popup owns",
       [this](Scene& s) {
         Make(s.childRec, RECT{330, 200, 430, 260}, kPopupStyle, WS_EX_TOOLWINDOW, s.popup);
         Press(s.popup, 250, 20);  // 370, 220 on the screen: the child
         EXPECT_EQ(s.childRec.Count(WM_LBUTTONDOWN), 1);
       },
       0},
      {"another window moved", [](Scene& s) { SetWindowPos(s.other, nullptr, 720, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }, 0},
      {"the popup moved and resized", [](Scene& s) { MoveWindow(s.popup, 130, 150, 180, 100, true); }, 0},
  };
  for (const Case& c : cases) {
    Scene s;
    Build(s);
    c.act(s);
    PumpPendingMessages();
    EXPECT_EQ(Dismissals(s.popupRec), c.dismissed) << c.name;
    // The popup never becomes the active window, whatever happened.
    EXPECT_NE(GetActiveWindow(), s.popup) << c.name;
    for (HWND h : {s.popup, s.other, s.owner}) DestroyWindow(h);
  }
}

TEST_F(PopupTest, ThePressThatDismissesStillReachesItsWindowAfterTheDismissal) {
  Scene s;
  Build(s);
  std::vector<std::pair<HWND, UINT>> order;
  static std::vector<std::pair<HWND, UINT>>* seen = nullptr;
  seen = &order;
  auto hook = [](Recorder&, HWND h, UINT msg, WPARAM w, LPARAM) -> LRESULT {
    if ((msg == WM_NCACTIVATE && w == 0) || msg == WM_LBUTTONDOWN) seen->push_back({h, msg});
    return 0;
  };
  s.ownerRec.hook = hook;
  s.popupRec.hook = hook;
  Press(s.owner, 350, 50);
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(order[0], std::make_pair(s.popup, UINT(WM_NCACTIVATE)));
  EXPECT_EQ(order[1], std::make_pair(s.owner, UINT(WM_LBUTTONDOWN)));
  seen = nullptr;
}

TEST_F(PopupTest, TooltipsAndOrdinaryOwnedWindowsAreNeverDismissed) {
  Recorder ownerRec, tipRec, dialogRec;
  HWND owner = Make(ownerRec, RECT{100, 100, 500, 400}, WS_VISIBLE | WS_POPUP);
  SetActiveWindow(owner);
  Make(tipRec, RECT{150, 150, 250, 170}, kPopupStyle, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, owner);
  HWND box = Make(dialogRec, RECT{600, 100, 800, 250}, WS_VISIBLE | WS_POPUP, 0, owner);
  SetActiveWindow(owner);
  tipRec.Clear();
  Press(owner, 350, 50);
  SetWindowPos(owner, nullptr, 120, 110, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PumpPendingMessages();
  EXPECT_EQ(Dismissals(tipRec), 0);
  // The owned dialog (a message box) takes the activation as usual.
  Press(box, 20, 20);
  EXPECT_EQ(GetActiveWindow(), box);
}

TEST_F(PopupTest, AnOpenPopupTakesTheKeysUntilItIsHidden) {
  Scene s;
  Build(s);
  s.ownerRec.Clear();
  InjectKeyPress(VK_ESCAPE);
  PumpPendingMessages();
  EXPECT_EQ(s.popupRec.Count(WM_KEYDOWN), 1);
  EXPECT_EQ(s.popupRec.Count(WM_CHAR), 1);
  EXPECT_EQ(s.ownerRec.Count(WM_KEYDOWN), 0);
  ShowWindow(s.popup, SW_HIDE);
  InjectKeyPress(VK_DOWN);
  PumpPendingMessages();
  EXPECT_EQ(s.ownerRec.Count(WM_KEYDOWN), 1);
  EXPECT_EQ(s.popupRec.Count(WM_KEYDOWN), 1);
}

TEST_F(PopupTest, PopupsStayInsideTheWorkArea) {
  // The default headless monitor: 1920 x 1080 with a 40-pixel panel below.
  Recorder ownerRec, popupRec;
  HWND owner = Make(ownerRec, RECT{100, 100, 500, 400}, WS_VISIBLE | WS_POPUP);
  HWND popup = Make(popupRec, RECT{1800, 1000, 2000, 1200}, kPopupStyle, WS_EX_TOOLWINDOW, owner);
  RECT r{};
  GetWindowRect(popup, &r);
  EXPECT_EQ(r.left, 1720);
  EXPECT_EQ(r.top, 840);
  EXPECT_EQ(r.right - r.left, 200);
  // Growing taller moves it up rather than past the panel.
  SetWindowPos(popup, nullptr, 0, 0, 200, 300, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(popup, &r);
  EXPECT_EQ(r.bottom, 1040);
  EXPECT_EQ(r.bottom - r.top, 300);
  // An ordinary window may lie partly off the screen.
  HWND plain = Make(ownerRec, RECT{1800, 1000, 2000, 1200}, WS_VISIBLE | WS_POPUP, 0, owner);
  GetWindowRect(plain, &r);
  EXPECT_EQ(r.left, 1800);
  EXPECT_EQ(r.top, 1000);
}

TEST_F(PopupTest, DropDownsOpenBelowTheirAnchorOrAboveWhenThereIsNoRoom) {
  const struct {
    RECT anchor;
    int height;
    RECT expected;
  } cases[] = {
      // Room below: 2 pixels under the anchor.
      {{100, 100, 300, 130}, 252, {100, 132, 300, 384}},
      // Near the panel: above the anchor, 2 pixels clear of it.
      {{100, 950, 300, 980}, 252, {100, 696, 300, 948}},
      // Just fits below.
      {{100, 700, 300, 730}, 308, {100, 732, 300, 1040}},
      // At the right edge: pulled left into the area.
      {{1800, 100, 2000, 130}, 100, {1720, 132, 1920, 232}},
      // Taller than either side: kept inside, top edge wins.
      {{100, 500, 300, 530}, 2000, {100, 0, 300, 2000}},
  };
  for (const auto& c : cases) {
    const RECT r = PlaceDropDown(c.anchor, c.anchor.right - c.anchor.left, c.height, 2);
    EXPECT_EQ(r.left, c.expected.left) << c.anchor.top;
    EXPECT_EQ(r.top, c.expected.top) << c.anchor.top;
    EXPECT_EQ(r.right, c.expected.right) << c.anchor.top;
    EXPECT_EQ(r.bottom, c.expected.bottom) << c.anchor.top;
  }
}

}  // namespace
