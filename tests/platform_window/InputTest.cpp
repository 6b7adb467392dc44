// Input routing on the headless backend: mouse packing, capture, hover and
// leave tracking, double clicks, wheel, keys, activation and focus, disabled
// windows, dragging by the caption.

#include "WindowTestSupport.h"
#include "platform/window/KeyTable.h"

using namespace platform;
using namespace platform::headless;
using wintest::Received;
using wintest::Recorder;

namespace {

class InputTest : public wintest::HeadlessTest {
 protected:
  void Track(HWND h, DWORD flags = TME_HOVER | TME_LEAVE) {
    TRACKMOUSEEVENT t;
    t.dwFlags = flags;
    t.hwndTrack = h;
    t.dwHoverTime = HOVER_DEFAULT;
    ASSERT_TRUE(TrackMouseEvent(&t));
  }
};

TEST_F(InputTest, MouseMessagesPackClientPointAndButtonState) {
  Recorder rec;
  HWND h = Make(rec, RECT{100, 100, 400, 300});
  rec.Clear();
  InjectMouseMove(h, 10, 20);
  InjectKey(VK_LSHIFT, true);
  InjectButton(h, Button::Left, true, 10, 20);
  InjectMouseMove(h, 30, 40);
  InjectButton(h, Button::Left, false, 30, 40);
  InjectKey(VK_LSHIFT, false);
  InjectButton(h, Button::Right, true, 5, 6);
  PumpPendingMessages();
  const struct {
    UINT msg;
    WPARAM w;
    int x, y;
  } expected[] = {
      {WM_MOUSEMOVE, 0, 10, 20},
      {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 10, 20},
      {WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, 30, 40},
      {WM_LBUTTONUP, MK_SHIFT, 30, 40},
      {WM_MOUSEMOVE, 0, 5, 6},
      {WM_RBUTTONDOWN, MK_RBUTTON, 5, 6},
  };
  std::vector<Received> mouse;
  for (const Received& r : rec.log)
    if (r.msg >= WM_MOUSEFIRST && r.msg <= WM_MOUSELAST) mouse.push_back(r);
  ASSERT_EQ(mouse.size(), std::size(expected));
  for (size_t i = 0; i < mouse.size(); ++i) {
    EXPECT_EQ(mouse[i].msg, expected[i].msg) << i;
    EXPECT_EQ(mouse[i].wParam, expected[i].w) << i;
    EXPECT_EQ(GET_X_LPARAM(mouse[i].lParam), expected[i].x) << i;
    EXPECT_EQ(GET_Y_LPARAM(mouse[i].lParam), expected[i].y) << i;
  }
}

TEST_F(InputTest, WheelCarriesDeltaInHighWordAndScreenPoint) {
  Recorder rec;
  HWND h = Make(rec, RECT{100, 100, 400, 300});
  rec.Clear();
  const int deltas[] = {120, -120, 60, -240};
  for (int d : deltas) InjectWheel(h, d, 7, 8);
  PumpPendingMessages();
  auto wheels = rec.Of(WM_MOUSEWHEEL);
  ASSERT_EQ(wheels.size(), std::size(deltas));
  for (size_t i = 0; i < wheels.size(); ++i) {
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[i].wParam), deltas[i]);
    EXPECT_EQ(GET_X_LPARAM(wheels[i].lParam), 107);  // screen coordinates
    EXPECT_EQ(GET_Y_LPARAM(wheels[i].lParam), 108);
  }
}

TEST_F(InputTest, HoverFiresOnceAfter400MsOfRest) {
  Recorder rec;
  HWND h = Make(rec);
  InjectMouseMove(h, 50, 50);
  Track(h);
  PumpPendingMessages();
  rec.Clear();
  AdvanceTime(399);
  PumpPendingMessages();
  EXPECT_EQ(rec.Count(WM_MOUSEHOVER), 0);
  // A move within the 4-pixel box keeps the timing; a larger one restarts it.
  InjectMouseMove(h, 52, 48);
  AdvanceTime(1);
  PumpPendingMessages();
  auto hover = rec.Of(WM_MOUSEHOVER);
  ASSERT_EQ(hover.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(hover[0].lParam), 52);
  EXPECT_EQ(GET_Y_LPARAM(hover[0].lParam), 48);
  AdvanceTime(1000);
  PumpPendingMessages();
  EXPECT_EQ(rec.Count(WM_MOUSEHOVER), 1);

  rec.Clear();
  Track(h, TME_HOVER);
  AdvanceTime(300);
  InjectMouseMove(h, 60, 50);
  AdvanceTime(300);
  PumpPendingMessages();
  EXPECT_EQ(rec.Count(WM_MOUSEHOVER), 0);
  AdvanceTime(100);
  PumpPendingMessages();
  EXPECT_EQ(rec.Count(WM_MOUSEHOVER), 1);
}

TEST_F(InputTest, LeaveWhenPointerExitsOrAnotherWindowCoversIt) {
  Recorder a, b;
  HWND ha = Make(a, RECT{0, 0, 200, 200});
  HWND hb = Make(b, RECT{150, 0, 350, 200});  // on top, overlapping a's right edge
  InjectMouseMove(ha, 10, 10);
  Track(ha);
  PumpPendingMessages();
  a.Clear();
  InjectMouseMove(ha, 100, 10);
  PumpPendingMessages();
  EXPECT_EQ(a.Count(WM_MOUSELEAVE), 0);
  InjectMouseMove(ha, 160, 10);  // inside a's rect, but b is above
  PumpPendingMessages();
  EXPECT_EQ(a.Count(WM_MOUSELEAVE), 1);
  EXPECT_EQ(b.Count(WM_MOUSEMOVE), 1);
  // Tracking is one-shot; a request while outside answers at once.
  InjectPointerExit();
  PumpPendingMessages();
  EXPECT_EQ(a.Count(WM_MOUSELEAVE), 1);
  Track(ha, TME_LEAVE);
  PumpPendingMessages();
  EXPECT_EQ(a.Count(WM_MOUSELEAVE), 2);
  (void)hb;
}

TEST_F(InputTest, CaptureKeepsMessagesAndDefersLeaveUntilRelease) {
  Recorder a, other;
  HWND h = Make(a, RECT{100, 100, 300, 300});
  Make(other, RECT{400, 100, 600, 300});
  InjectMouseMove(h, 10, 10);
  Track(h);
  InjectButton(h, Button::Left, true, 10, 10);
  SetCapture(h);
  PumpPendingMessages();
  a.Clear();
  other.Clear();
  // Outside, even over another window: still ours, in our coordinates.
  InjectMouseMove(h, 350, 20);
  InjectButton(h, Button::Left, false, 350, 20);
  PumpPendingMessages();
  EXPECT_EQ(other.log.size(), 0u);
  auto up = a.Of(WM_LBUTTONUP);
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(up[0].lParam), 350);
  EXPECT_EQ(GET_Y_LPARAM(up[0].lParam), 20);
  EXPECT_EQ(a.Count(WM_MOUSELEAVE), 0);
  ReleaseCapture();
  PumpPendingMessages();
  EXPECT_EQ(a.Count(WM_CAPTURECHANGED), 1);
  EXPECT_EQ(a.Count(WM_MOUSELEAVE), 1);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, CaptureMovesBetweenWindowsAndHiddenWindowsGetNothing) {
  Recorder a, b;
  HWND ha = Make(a, RECT{0, 0, 100, 100});
  HWND hb = Make(b, RECT{200, 0, 300, 100});
  SetCapture(ha);
  a.Clear();
  EXPECT_EQ(SetCapture(hb), ha);
  auto changed = a.Of(WM_CAPTURECHANGED);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].lParam, LPARAM(hb));
  ReleaseCapture();
  ShowWindow(hb, SW_HIDE);
  b.Clear();
  InjectClick(hb, 10, 10);
  PumpPendingMessages();
  EXPECT_EQ(b.Count(WM_LBUTTONDOWN), 0);
  EXPECT_EQ(GetActiveWindow(), ha);  // hiding the active window activated the other
}

TEST_F(InputTest, DoubleClickWithinTimeAndDistance) {
  Recorder rec;
  HWND h = Make(rec);
  rec.Clear();
  InjectClick(h, 20, 20);
  AdvanceTime(200);
  InjectClick(h, 21, 21);  // second press: double click
  AdvanceTime(100);
  InjectClick(h, 21, 21);  // third press: a plain press again
  AdvanceTime(600);
  InjectClick(h, 21, 21);  // too late after the previous one
  PumpPendingMessages();
  std::vector<UINT> presses;
  for (UINT m : rec.Messages())
    if (m == WM_LBUTTONDOWN || m == WM_LBUTTONDBLCLK) presses.push_back(m);
  EXPECT_EQ(presses, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
}

TEST_F(InputTest, KeyMessagesUseGenericKeysAndWindowsBits) {
  Recorder rec;
  HWND h = Make(rec);
  ASSERT_EQ(GetFocus(), h);
  rec.Clear();
  InjectKey(VK_RCONTROL, true);
  InjectKey(VK_RCONTROL, true);  // auto-repeat
  InjectKey(VK_RCONTROL, false);
  InjectKey(VK_LMENU, true);
  InjectKey('X', true);
  InjectKey('X', false);
  InjectKey(VK_LMENU, false);
  InjectKeyPress(VK_RETURN);
  PumpPendingMessages();
  const struct {
    UINT msg;
    WPARAM vk;
    bool extended, previous, up;
  } expected[] = {
      {WM_KEYDOWN, VK_CONTROL, true, false, false},   {WM_KEYDOWN, VK_CONTROL, true, true, false},
      {WM_KEYUP, VK_CONTROL, true, true, true},       {WM_SYSKEYDOWN, VK_MENU, false, false, false},
      {WM_SYSKEYDOWN, 'X', false, false, false},      {WM_SYSKEYUP, 'X', false, true, true},
      {WM_SYSKEYUP, VK_MENU, false, true, true},      {WM_KEYDOWN, VK_RETURN, false, false, false},
      {WM_CHAR, '\r', false, false, false},           {WM_KEYUP, VK_RETURN, false, true, true},
  };
  ASSERT_EQ(rec.log.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const Received& r = rec.log[i];
    EXPECT_EQ(r.msg, expected[i].msg) << i;
    EXPECT_EQ(r.wParam, expected[i].vk) << i;
    EXPECT_EQ(LOWORD(uintptr_t(r.lParam)), 1u) << i;  // repeat count
    EXPECT_EQ(((r.lParam >> 24) & 1) != 0, expected[i].extended) << i;
    EXPECT_EQ(((r.lParam >> 30) & 1) != 0, expected[i].previous) << i;
    EXPECT_EQ(((r.lParam >> 31) & 1) != 0, expected[i].up) << i;
  }
  EXPECT_EQ((rec.log[4].lParam >> 16) & 0xFF, 0x2D);  // scan code of X
}

TEST_F(InputTest, KeyStateFollowsInjectedKeysAndButtons) {
  Recorder rec;
  HWND h = Make(rec);
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
  InjectKey(VK_LSHIFT, true);
  InjectKey(VK_RSHIFT, true);
  InjectKey(VK_LSHIFT, false);
  EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);  // the right one is still held
  EXPECT_EQ(GetKeyState(VK_LSHIFT) & 0x8000, 0);
  InjectKey(VK_RSHIFT, false);
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
  InjectKeyPress(VK_CAPITAL);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
  InjectKeyPress(VK_CAPITAL);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
  InjectButton(h, Button::Left, true, 5, 5);
  EXPECT_NE(GetKeyState(VK_LBUTTON) & 0x8000, 0);
  InjectButton(h, Button::Left, false, 5, 5);
  EXPECT_EQ(GetKeyState(VK_LBUTTON) & 0x8000, 0);
}

TEST_F(InputTest, ActivationMessagesAndFocusFollowClicks) {
  Recorder a, b;
  HWND ha = Make(a, RECT{0, 0, 100, 100});
  HWND hb = Make(b, RECT{200, 0, 300, 100});
  EXPECT_EQ(GetActiveWindow(), hb);  // shown last
  a.Clear();
  b.Clear();
  InjectClick(ha, 10, 10);
  // Activation is sent at the press, before the press itself is handled.
  ASSERT_GE(b.log.size(), 3u);
  EXPECT_EQ(b.log[0].msg, WM_NCACTIVATE);
  EXPECT_EQ(b.log[0].wParam, 0u);
  EXPECT_EQ(b.log[1].msg, WM_ACTIVATE);
  EXPECT_EQ(LOWORD(b.log[1].wParam), WA_INACTIVE);
  EXPECT_EQ(b.log[2].msg, WM_KILLFOCUS);
  EXPECT_EQ(a.Messages()[0], WM_NCACTIVATE);
  EXPECT_EQ(a.log[0].wParam, 1u);
  EXPECT_EQ(a.Count(WM_SETFOCUS), 1);
  EXPECT_EQ(a.Count(WM_LBUTTONDOWN), 0);
  PumpPendingMessages();
  EXPECT_EQ(a.Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(GetActiveWindow(), ha);
  EXPECT_EQ(GetFocus(), ha);
}

TEST_F(InputTest, PopupNeitherActivatesNorTakesFocus) {
  Recorder main, menu;
  HWND hm = Make(main, RECT{0, 0, 300, 300});
  HWND hp = Make(menu, RECT{50, 50, 150, 150}, WS_VISIBLE | WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, hm);
  EXPECT_EQ(GetActiveWindow(), hm);
  InjectClick(hp, 10, 10);
  PumpPendingMessages();
  EXPECT_EQ(GetActiveWindow(), hm);
  EXPECT_EQ(menu.Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(menu.Count(WM_NCACTIVATE), 0);
  EXPECT_EQ(main.Count(WM_LBUTTONDOWN), 0);  // the pop-up lies above its owner
}

TEST_F(InputTest, DisabledWindowGetsNoInput) {
  Recorder owner, dialog;
  HWND ho = Make(owner, RECT{0, 0, 300, 300});
  HWND hd = Make(dialog, RECT{400, 0, 500, 100});
  EnableWindow(ho, false);  // as a modal loop does with the owner
  owner.Clear();
  InjectClick(ho, 10, 10);
  InjectWheel(ho, 120, 10, 10);
  PumpPendingMessages();
  EXPECT_EQ(owner.Count(WM_LBUTTONDOWN), 0);
  EXPECT_EQ(owner.Count(WM_MOUSEWHEEL), 0);
  EXPECT_EQ(GetActiveWindow(), hd);
  EnableWindow(ho, true);
  InjectClick(ho, 10, 10);
  PumpPendingMessages();
  EXPECT_EQ(owner.Count(WM_LBUTTONDOWN), 1);
}

TEST_F(InputTest, PressOnCaptionDragsWindowUntilRelease) {
  Recorder rec;
  rec.hook = [](Recorder&, HWND h, UINT msg, WPARAM, LPARAM l) -> LRESULT {
    if (msg == WM_LBUTTONDOWN) SendMessage(h, WM_NCLBUTTONDOWN, HTCAPTION, l);
    return 0;
  };
  HWND h = Make(rec, RECT{100, 100, 300, 200});
  InjectButton(h, Button::Left, true, 10, 10);
  PumpPendingMessages();
  InjectMouseMove(nullptr, 160, 130);  // screen point; grabbed at (110, 110)
  InjectMouseMove(nullptr, 170, 150);
  InjectButton(nullptr, Button::Left, false, 170, 150);
  InjectMouseMove(nullptr, 400, 400);
  PumpPendingMessages();
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 160);
  EXPECT_EQ(r.top, 140);
  EXPECT_EQ(r.right - r.left, 200);
  auto moves = rec.Of(WM_MOVE);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back().lParam, MAKELPARAM(160, 140));
  EXPECT_EQ(rec.Count(WM_LBUTTONUP), 0);  // the drag eats the release
}

TEST_F(InputTest, MaximiseFillsWorkAreaOfTheWindowsMonitor) {
  SetMonitors({MonitorInfo{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96, true},
               MonitorInfo{RECT{1920, 0, 3200, 1024}, RECT{1920, 30, 3200, 1024}, 96, false}});
  Recorder rec;
  HWND h = Make(rec, RECT{2000, 100, 2400, 400});
  ShowWindow(h, SW_MAXIMIZE);
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 1920);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right, 3200);
  EXPECT_EQ(r.bottom, 1024);
  EXPECT_TRUE(IsZoomed(h));
  auto sizes = rec.Of(WM_SIZE);
  EXPECT_EQ(sizes.back().wParam, SIZE_MAXIMIZED);
  ShowWindow(h, SW_RESTORE);
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 2000);
  EXPECT_EQ(r.right, 2400);
  RECT work;
  EXPECT_TRUE(GetWorkArea(&work));
  EXPECT_EQ(work.bottom, 1040);
}

}  // namespace
