// DPIMsgDlg: its place from the work area, the 2 s after the last value on
// the virtual clock, topmost without taking the activation, the value and
// bar as drawn, and the close button.

#include <cstdlib>

#include "UiFixture.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/MProgress.h"
#include "toolkit/core/MText.h"
#include "ui/DPIMsgDlg.h"

namespace ui_test {
namespace {

using ui::DPIMsgDlg;

class DPIMsgTest : public UiTest {
 protected:
  void TearDown() override { platform::headless::SetMonitors({}); }
  static void Advance(uint32_t ms) {
    platform::headless::AdvanceTime(ms);
    Pump();
  }
  static CRect ScreenRect(HWND hwnd) {
    RECT r{};
    platform::GetWindowRect(hwnd, &r);
    return CRect(r.left, r.top, r.right, r.bottom);
  }
};

TEST_F(DPIMsgTest, ShownUntilTwoSecondsAfterTheLastValue) {
  Driver owner;
  owner.Open();
  DPIMsgDlg msg;
  ASSERT_NE(msg.CreateMsg(owner.GetSafeHwnd()), nullptr);
  Pump();
  EXPECT_FALSE(msg.IsWindowVisible()) << "created hidden";

  struct Step {
    uint32_t advance;
    int value;  // 0: no new value
    bool visible;
  } steps[] = {
      {0, 800, true},    {1500, 0, true},   {0, 1600, true},  // a second value 1.5 s later
      {1999, 0, true},   {1, 0, false},                       // 2 s after the second
      {3000, 3200, true}, {500, 6400, true}, {500, 12000, true}, {1999, 0, true}, {1, 0, false},
      {10000, 0, false},
  };
  for (const Step& s : steps) {
    Advance(s.advance);
    if (s.value != 0) msg.ShowValue(s.value);
    Pump();
    EXPECT_EQ(msg.IsWindowVisible() != 0, s.visible) << "after " << s.advance << " ms, value " << s.value;
    // Never activated: the window in use keeps the keyboard.
    EXPECT_EQ(platform::GetActiveWindow(), owner.GetSafeHwnd());
  }
  EXPECT_EQ(msg.GetValue(), 12000);
  EXPECT_EQ(msg.GetValueArea()->GetTitle(), L"12000");
  msg.Close();
  owner.DestroyWindow();
}

TEST_F(DPIMsgTest, PlacedAtTheWorkAreaCornerOnEveryShow) {
  struct Case {
    const char* name;
    RECT bounds;
    RECT work;
    CRect expected;
  } cases[] = {
      {"panel at the bottom", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, CRect(1618, 908, 1918, 1038)},
      {"panel at the right", {0, 0, 1920, 1080}, {0, 0, 1860, 1080}, CRect(1558, 948, 1858, 1078)},
      {"whole screen, smaller", {0, 0, 1280, 720}, {0, 0, 1280, 720}, CRect(978, 588, 1278, 718)},
  };
  DPIMsgDlg msg;
  ASSERT_NE(msg.CreateMsg(nullptr), nullptr);
  for (const Case& c : cases) {
    platform::headless::SetMonitors({platform::MonitorInfo{c.bounds, c.work, 96.0f, true}});
    // The place is read again on each show: the work area may have changed.
    msg.ShowValue(1600);
    Pump();
    EXPECT_EQ(ScreenRect(msg.GetSafeHwnd()), c.expected) << c.name;
    EXPECT_EQ(DPIMsgDlg::CornerRect(c.work), c.expected) << c.name;
    EXPECT_TRUE(platform::GetWindowExStyle(msg.GetSafeHwnd()) & WS_EX_TOPMOST) << c.name;
  }
  msg.Close();
}

TEST_F(DPIMsgTest, RaisedAboveATopmostWindowThatCoveredIt) {
  DPIMsgDlg msg;
  ASSERT_NE(msg.CreateMsg(nullptr), nullptr);
  msg.ShowValue(800);
  Pump();
  // Another topmost window covers the corner after the first show.
  Driver cover;
  cover.Create(nullptr, L"cover", WS_POPUP, WS_EX_TOPMOST, CRect(1500, 800, 1920, 1080));
  cover.ShowWindow(SW_SHOWNOACTIVATE);
  Pump();
  // Input goes to the topmost window under the pointer: a click on the close
  // button reaches the notice only when it is on top.
  const CPoint c = msg.GetCloseButton()->GetRect().CenterPoint();
  auto clickClose = [&] {
    platform::headless::InjectMouseMove(msg.GetSafeHwnd(), c.x, c.y);
    platform::headless::InjectClick(msg.GetSafeHwnd(), c.x, c.y);
    Pump();
  };
  clickClose();
  ASSERT_TRUE(msg.IsWindowVisible()) << "the cover should have taken the click";
  msg.ShowValue(1600);
  Pump();
  platform::headless::AdvanceTime(1000);
  clickClose();
  EXPECT_FALSE(msg.IsWindowVisible()) << "raised by the show, the notice takes the click";
  cover.DestroyWindow();
  msg.Close();
}

TEST_F(DPIMsgTest, ValueBarAndCloseButton) {
  DPIMsgDlg msg;
  ASSERT_NE(msg.CreateMsg(nullptr), nullptr);
  ASSERT_NE(msg.GetBar(), nullptr);
  ASSERT_NE(msg.GetCloseButton(), nullptr);
  EXPECT_EQ(msg.GetBar()->GetMaximum(), 16000);
  EXPECT_EQ(msg.GetCloseButton()->GetRect(), CRect(264, 10, 294, 40));
  EXPECT_EQ(msg.GetUnitArea()->GetTitle(), L"DPI");
  struct Case {
    int dpi;
    const wchar_t* text;
    int bar;
  } cases[] = {{400, L"400", 400}, {16000, L"16000", 16000}, {26000, L"26000", 16000}};
  for (const Case& c : cases) {
    msg.ShowValue(c.dpi);
    EXPECT_EQ(msg.GetValueText(), c.text);
    EXPECT_EQ(msg.GetValueArea()->GetTitle(), c.text);
    EXPECT_EQ(msg.GetBar()->GetProgress(), c.bar) << c.dpi;
  }
  Pump();
  ASSERT_TRUE(msg.IsWindowVisible());
  // The close button hides it before its time, and the hide timer stops.
  const CPoint c = msg.GetCloseButton()->GetRect().CenterPoint();
  platform::headless::InjectMouseMove(msg.GetSafeHwnd(), c.x, c.y);
  platform::headless::InjectClick(msg.GetSafeHwnd(), c.x, c.y);
  Pump();
  EXPECT_FALSE(msg.IsWindowVisible());
  EXPECT_FALSE(platform::KillTimer(msg.GetSafeHwnd(), DPIMsgDlg::kHideTimer));
  msg.Close();
  EXPECT_EQ(msg.GetBar(), nullptr);
  EXPECT_EQ(msg.GetSafeHwnd(), nullptr);
}

TEST_F(DPIMsgTest, DrawsTheValueInTheSelectionColourAndTheBar) {
  DPIMsgDlg msg;
  ASSERT_NE(msg.CreateMsg(nullptr), nullptr);
  // Pixels close to the selection colour inside a rectangle of the shot.
  const uint32_t accent = Manager::m_select_color.GetValue() & 0x00FFFFFF;
  auto accentPixels = [&](const platform::Bitmap& shot, CRect r) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const uint32_t p = shot.Row(y)[x];
        int d = 0;
        for (int shift : {0, 8, 16}) d += std::abs(int((p >> shift) & 0xFF) - int((accent >> shift) & 0xFF));
        if (d < 60) ++count;
      }
    return count;
  };
  struct Case {
    int dpi;
    bool barAtRight;  // the bar's right part is filled only near the maximum
  } cases[] = {{1600, false}, {26000, true}};
  for (const Case& c : cases) {
    msg.ShowValue(c.dpi);
    Pump();
    const platform::Bitmap shot = platform::CaptureWindow(msg.GetSafeHwnd());
    ASSERT_EQ(shot.Width(), DPIMsgDlg::kWidth);
    ASSERT_EQ(shot.Height(), DPIMsgDlg::kHeight);
    EXPECT_GT(accentPixels(shot, CRect(10, 30, 170, 80)), 30) << c.dpi << ": the digits";
    const CRect bar = msg.GetBar()->GetRect();
    EXPECT_GT(accentPixels(shot, CRect(bar.left, bar.top, bar.left + 20, bar.bottom)), 0) << c.dpi;
    EXPECT_EQ(accentPixels(shot, CRect(bar.right - 20, bar.top, bar.right, bar.bottom)) > 0, c.barAtRight) << c.dpi;
  }
  msg.Close();
}

}  // namespace
}  // namespace ui_test
