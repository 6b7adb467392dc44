// The decoding of the window's key and button messages into raw key events,
// and the window's key capture that hands them to a listener.

#include <gtest/gtest.h>

#include <vector>

#include "MainWindowFixture.h"
#include "platform/window/TextInput.h"
#include "ui/RawKeyDecoder.h"

namespace ui_test {
namespace {

using ui::RawKeyDecoder;
using ui::RawKeyEvent;

// lParam of a key message: scan code, extended flag, previous state, release.
LPARAM KeyParam(UINT scan, bool extended, bool wasDown, bool up) {
  uint64_t l = 1 | (uint64_t(scan & 0xFF) << 16);
  if (extended) l |= uint64_t(1) << 24;
  if (wasDown || up) l |= uint64_t(1) << 30;
  if (up) l |= uint64_t(1) << 31;
  return LPARAM(l);
}

struct Case {
  const char* what;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  int kind, up, code, repeat;
  const wchar_t* name;
};

TEST(RawKeyDecoderTest, DecodesKeysAndButtonsAsTheCapturesNeedThem) {
  const Case cases[] = {
      {"left Shift", WM_KEYDOWN, 16, KeyParam(0x2A, false, false, false), 2, 0, 160, 0, L"Shift"},
      {"right Shift", WM_KEYDOWN, 16, KeyParam(0x36, false, false, false), 2, 0, 161, 0, L"RShift"},
      {"right Shift up", WM_KEYUP, 16, KeyParam(0x36, false, false, true), 2, 1, 161, 0, L"RShift"},
      {"left Ctrl", WM_KEYDOWN, 17, KeyParam(0x1D, false, false, false), 2, 0, 162, 0, L"Ctrl"},
      {"right Ctrl", WM_KEYDOWN, 17, KeyParam(0x1D, true, false, false), 2, 0, 163, 0, L"RCtrl"},
      {"left Alt", WM_SYSKEYDOWN, 18, KeyParam(0x38, false, false, false), 2, 0, 164, 0, L"Alt"},
      {"right Alt up", WM_SYSKEYUP, 18, KeyParam(0x38, true, false, true), 2, 1, 165, 0, L"RAlt"},
      {"left Win", WM_KEYDOWN, 91, KeyParam(0x5B, true, false, false), 2, 0, 91, 0, L"Windows"},
      {"right Win", WM_KEYDOWN, 92, KeyParam(0x5C, true, false, false), 2, 0, 92, 0, L"RWindows"},
      {"keypad 7, NumLock off", WM_KEYDOWN, 36, KeyParam(0x47, false, false, false), 2, 0, 103, 0, L"Num 7"},
      {"keypad 7, NumLock on", WM_KEYDOWN, 103, KeyParam(0x47, false, false, false), 2, 0, 103, 0, L"Num 7"},
      {"Home", WM_KEYDOWN, 36, KeyParam(0x47, true, false, false), 2, 0, 36, 0, L"Home"},
      {"keypad Del, NumLock off", WM_KEYDOWN, 46, KeyParam(0x53, false, false, false), 2, 0, 110, 0, nullptr},
      {"Enter", WM_KEYDOWN, 13, KeyParam(0x1C, false, false, false), 2, 0, 13, 0, L"Enter"},
      {"keypad Enter", WM_KEYDOWN, 13, KeyParam(0x1C, true, false, false), 2, 0, 108, 0, L"Num Enter"},
      {"Yen", WM_KEYDOWN, 255, KeyParam(0x7D, false, false, false), 2, 0, 137, 0, L"\uFFE5"},
      {"A", WM_KEYDOWN, 'A', KeyParam(0x1E, false, false, false), 2, 0, 'A', 0, L"A"},
      {"A held", WM_KEYDOWN, 'A', KeyParam(0x1E, false, true, false), 2, 0, 'A', 1, L"A"},
      {"A up", WM_KEYUP, 'A', KeyParam(0x1E, false, false, true), 2, 1, 'A', 0, L"A"},
      {"Pause", WM_KEYDOWN, 19, KeyParam(0x45, false, false, false), 2, 0, 19, 0, L"Pause"},
      {"F10", WM_SYSKEYDOWN, 121, KeyParam(0x44, false, false, false), 2, 0, 121, 0, L"F10"},
      {"left press", WM_LBUTTONDOWN, MK_LBUTTON, 0, 1, 0, 1, 0, L"LB"},
      {"left double", WM_LBUTTONDBLCLK, MK_LBUTTON, 0, 1, 0, 1, 0, L"LB"},
      {"right release", WM_RBUTTONUP, 0, 0, 1, 1, 2, 0, L"RB"},
      {"middle press", WM_MBUTTONDOWN, 0, 0, 1, 0, 4, 0, L"MB"},
      {"side button 1", WM_XBUTTONDOWN, WPARAM(1) << 16, 0, 1, 0, 8, 0, L"Backward"},
      {"side button 2 up", WM_XBUTTONUP, WPARAM(2) << 16, 0, 1, 1, 16, 0, L"Forward"},
      {"unknown side button", WM_XBUTTONDOWN, WPARAM(3) << 16, 0, 1, 0, 0, 0, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RawKeyEvent e;
    ASSERT_TRUE(RawKeyDecoder::Decode(c.msg, c.wParam, c.lParam, 4321, e));
    EXPECT_EQ(e.kind, c.kind);
    EXPECT_EQ(e.up, c.up);
    EXPECT_EQ(e.code, c.code);
    EXPECT_EQ(e.repeat, c.repeat);
    if (c.name != nullptr) {
      EXPECT_EQ(e.name, c.name);
    } else {
      EXPECT_FALSE(e.name.empty());
    }
    EXPECT_EQ(e.time, 4321u);
  }
}

TEST(RawKeyDecoderTest, OtherMessagesAreNotInput) {
  RawKeyEvent e;
  for (UINT msg : {WM_MOUSEMOVE, WM_MOUSEWHEEL, WM_CHAR, WM_TIMER, WM_PAINT}) {
    SCOPED_TRACE(msg);
    EXPECT_FALSE(RawKeyDecoder::Decode(msg, 'A', 0, 0, e));
  }
  // Characters are still taken from the window while a capture runs.
  EXPECT_TRUE(RawKeyDecoder::IsKeyMessage(WM_CHAR));
  EXPECT_TRUE(RawKeyDecoder::IsKeyMessage(WM_SYSKEYDOWN));
  EXPECT_FALSE(RawKeyDecoder::IsKeyMessage(WM_LBUTTONDOWN));
  EXPECT_TRUE(RawKeyDecoder::IsButtonMessage(WM_XBUTTONUP));
}

class KeyCaptureTest : public MainWindowTest {};

// The window hands every key to the listener and keeps it from the toolkit:
// Esc does not close, Tab does not move the focus, F10 and Alt open nothing.
TEST_F(KeyCaptureTest, TheListenerTakesKeysBeforeTheWindowActsOnThem) {
  auto dlg = Open(1);
  RunJobs(*dlg);
  std::vector<RawKeyEvent> events;
  dlg->SetRawInputListener(ui::kRawInputRecord, [&](const RawKeyEvent& e) { events.push_back(e); });
  EXPECT_EQ(dlg->GetRawInputMode(), ui::kRawInputRecord);
  EXPECT_FALSE(platform::IsTextInputActive());

  struct Key {
    UINT vk;
    int code;
    const wchar_t* name;
  };
  const Key keys[] = {{VK_TAB, 9, L"Tab"}, {VK_BACK, 8, nullptr}, {VK_ESCAPE, 27, nullptr},
                      {VK_F10, 121, L"F10"}, {VK_LMENU, 164, L"Alt"}, {VK_RCONTROL, 163, L"RCtrl"}};
  for (const Key& k : keys) {
    SCOPED_TRACE(k.code);
    events.clear();
    platform::headless::InjectKeyPress(k.vk);
    Pump();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].code, k.code);
    EXPECT_EQ(events[0].up, 0);
    EXPECT_EQ(events[1].code, k.code);
    EXPECT_EQ(events[1].up, 1);
    if (k.name != nullptr) {
      EXPECT_EQ(events[0].name, k.name);
    }
    EXPECT_TRUE(platform::IsWindow(dlg->GetSafeHwnd()));
    EXPECT_TRUE(platform::IsWindowVisible(dlg->GetSafeHwnd()));
  }
  EXPECT_TRUE(host_.quitCodes.empty());

  // Without a listener the keys go to the window again and nothing is told.
  dlg->ClearRawInputListener();
  events.clear();
  platform::headless::InjectKeyPress('A');
  Pump();
  EXPECT_TRUE(events.empty());
}

TEST_F(KeyCaptureTest, EventsCarryTheTimeTheInputWasQueued) {
  auto dlg = Open(1);
  RunJobs(*dlg);
  std::vector<RawKeyEvent> events;
  dlg->SetRawInputListener(ui::kRawInputRecord, [&](const RawKeyEvent& e) { events.push_back(e); });
  const uint32_t pressed = uint32_t(platform::GetTickCount64());
  platform::headless::InjectKey('B', true);
  // The window is late to handle it; the event keeps the input's time.
  platform::headless::AdvanceTime(250);
  platform::headless::InjectKey('B', true);  // held: the keyboard repeats
  platform::headless::InjectKey('B', false);
  Pump();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].time, pressed);
  EXPECT_EQ(events[0].repeat, 0);
  EXPECT_EQ(events[1].time, pressed + 250);
  EXPECT_EQ(events[1].repeat, 1);
  EXPECT_EQ(events[2].up, 1);
}

// Buttons reach the listener and still work on the window, so a recorder's
// stop button can be clicked.
TEST_F(KeyCaptureTest, ButtonsAreToldAndStillReachTheControls) {
  auto dlg = Open(1);
  RunJobs(*dlg);
  Pick(*dlg, 1);
  RunJobs(*dlg);
  ASSERT_TRUE(dlg->GetTabs()->IsVisible());
  std::vector<RawKeyEvent> events;
  dlg->SetRawInputListener(ui::kRawInputRecord, [&](const RawKeyEvent& e) { events.push_back(e); });
  // The DPI tab, third in the strip (70-pixel items from y 75).
  platform::headless::AdvanceTime(1000);
  platform::headless::InjectMouseMove(dlg->GetSafeHwnd(), 60, 250);
  platform::headless::InjectClick(dlg->GetSafeHwnd(), 60, 250);
  Pump();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, RawKeyEvent::kMouse);
  EXPECT_EQ(events[0].name, L"LB");
  EXPECT_EQ(events[0].up, 0);
  EXPECT_EQ(events[1].up, 1);
  EXPECT_EQ(dlg->GetLastTabId(), 3);
}

}  // namespace
}  // namespace ui_test
