// A hidden window's control timers and multimedia timer stand still and
// start again when it is shown: a hidden window costs no wake-ups.

#include "ToolkitFixture.h"

namespace toolkit_test {
namespace {

class HiddenTimersTest : public ToolkitTest {};

TEST_F(HiddenTimersTest, ControlTimersStopWhileTheWindowIsHidden) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* probe = dlg.AddProbe(5, CRect(0, 0, 10, 10));
  PaintManager* pm = dlg.GetPaintManager();
  ASSERT_EQ(pm->SetTimer(probe, 1, 100), 1);
  platform::headless::AdvanceTime(100);
  Pump(dlg);
  EXPECT_EQ(probe->timerTicks.load(), 1);

  dlg.ShowWindow(SW_HIDE);
  Pump(dlg);
  EXPECT_TRUE(pm->AreTimersSuspended());
  platform::headless::AdvanceTime(1000);
  Pump(dlg);
  EXPECT_EQ(probe->timerTicks.load(), 1);
  // A timer started while hidden waits for the window too.
  Probe* later = dlg.AddProbe(6, CRect(0, 0, 10, 10));
  ASSERT_EQ(pm->SetTimer(later, 1, 100), 1);
  platform::headless::AdvanceTime(500);
  Pump(dlg);
  EXPECT_EQ(later->timerTicks.load(), 0);

  dlg.ShowWindow(SW_SHOW);
  Pump(dlg);
  EXPECT_FALSE(pm->AreTimersSuspended());
  platform::headless::AdvanceTime(100);
  Pump(dlg);
  EXPECT_EQ(probe->timerTicks.load(), 2);
  EXPECT_EQ(later->timerTicks.load(), 1);
  // A killed timer stays killed across hiding and showing.
  pm->KillTimer(probe, 1);
  dlg.ShowWindow(SW_HIDE);
  dlg.ShowWindow(SW_SHOW);
  platform::headless::AdvanceTime(300);
  Pump(dlg);
  EXPECT_EQ(probe->timerTicks.load(), 2);
  dlg.DestroyWindow();
}

TEST_F(HiddenTimersTest, MultimediaTimerStopsWhileTheWindowIsHidden) {
  RecordingDialog dlg;
  Open(dlg);
  PaintManager* pm = dlg.GetPaintManager();
  const UINT id = pm->SetMTimer(2);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(pm->GetTimerIsRun(id), 1);
  dlg.ShowWindow(SW_HIDE);
  EXPECT_EQ(pm->GetTimerIsRun(id), 0);
  // Its record is kept: the same id runs again once the window shows.
  EXPECT_EQ(pm->GetTimerCount(), 1);
  dlg.ShowWindow(SW_SHOW);
  EXPECT_EQ(pm->GetTimerIsRun(id), 1);
  // Started while hidden, it waits for the window.
  dlg.ShowWindow(SW_HIDE);
  const UINT second = pm->SetMTimer(5);
  EXPECT_EQ(pm->GetTimerIsRun(second), 0);
  dlg.ShowWindow(SW_SHOW);
  EXPECT_EQ(pm->GetTimerIsRun(second), 1);
  dlg.DestroyWindow();
}

}  // namespace
}  // namespace toolkit_test
