// SaveWaitDlg: shown for 2000 ms after creation and after each restart, on
// the window system's (virtual) clock; a restart within that time extends
// it; hidden, its timers stand still.

#include "UiFixture.h"
#include "shell/Localisation.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MProgress2.h"
#include "toolkit/core/MText.h"
#include "ui/SaveWaitDlg.h"

namespace ui_test {
namespace {

using ui::SaveWaitDlg;

class SaveWaitTest : public UiTest {
 protected:
  static void Advance(uint32_t ms) {
    platform::headless::AdvanceTime(ms);
    Pump();
  }
};

TEST_F(SaveWaitTest, ShownForTwoSecondsAfterEachRestart) {
  Driver owner;
  owner.Open();
  SaveWaitDlg wait;
  ASSERT_NE(wait.CreateWait(owner.GetSafeHwnd()), nullptr);
  Pump();
  // Shown at creation, without taking the activation from the owner.
  EXPECT_TRUE(wait.IsWindowVisible());
  EXPECT_EQ(platform::GetActiveWindow(), owner.GetSafeHwnd());
  Advance(1999);
  EXPECT_TRUE(wait.IsWindowVisible());
  Advance(1);
  EXPECT_FALSE(wait.IsWindowVisible());

  // Two saves 1.5 s apart: visible until 2 s after the second.
  struct Step {
    uint32_t advance;
    bool restart;
    bool visible;
  } steps[] = {
      {0, true, true}, {1500, false, true}, {0, true, true}, {1999, false, true}, {1, false, false},
      {5000, false, false},
  };
  for (const Step& s : steps) {
    Advance(s.advance);
    if (s.restart) wait.Restart();
    Pump();
    EXPECT_EQ(wait.IsWindowVisible() != 0, s.visible) << "after " << s.advance << " ms";
  }
  wait.DestroyWindow();
  owner.DestroyWindow();
}

TEST_F(SaveWaitTest, HiddenItCostsNoWakeUps) {
  Driver owner;
  owner.Open();
  SaveWaitDlg wait;
  ASSERT_NE(wait.CreateWait(owner.GetSafeHwnd()), nullptr);
  PaintManager* pm = wait.GetPaintManager();
  ASSERT_EQ(pm->GetTimerCount(), 1);
  const UINT progressTimer = wait.GetProgressTimer();
  ASSERT_NE(progressTimer, 0u);
  // The progress runs on the multimedia timer while the notice shows.
  EXPECT_EQ(pm->GetTimerIsRun(progressTimer), 1);
  Advance(2000);
  ASSERT_FALSE(wait.IsWindowVisible());
  // Hidden, neither the multimedia timer nor the hide timer runs.
  EXPECT_EQ(pm->GetTimerIsRun(progressTimer), 0);
  EXPECT_FALSE(platform::KillTimer(wait.GetSafeHwnd(), SaveWaitDlg::kHideTimer));
  wait.Restart();
  Pump();
  EXPECT_EQ(pm->GetTimerIsRun(progressTimer), 1);
  wait.DestroyWindow();
  owner.DestroyWindow();
}

TEST_F(SaveWaitTest, LayoutAndRestartOfTheProgress) {
  Driver owner;
  owner.Open();
  SaveWaitDlg wait;
  ASSERT_NE(wait.CreateWait(owner.GetSafeHwnd()), nullptr);
  ASSERT_NE(wait.GetLogo(), nullptr);
  ASSERT_NE(wait.GetText(), nullptr);
  ASSERT_NE(wait.GetProgress(), nullptr);
  // The logo at (10, 10) in its natural size.
  const CSize logo = wait.GetLogo()->GetImageSize();
  EXPECT_GT(logo.cx, 0);
  EXPECT_EQ(wait.GetLogo()->GetRect(), CRect(10, 10, 10 + logo.cx, 10 + logo.cy));
  EXPECT_EQ(wait.GetText()->GetRect(), CRect(10, 100, SaveWaitDlg::kWidth - 10, 130));
  EXPECT_EQ(wait.GetText()->GetTitle(), shell::GetText(SaveWaitDlg::kLanguageTextId));
  EXPECT_FALSE(wait.GetText()->GetTitle().empty());
  EXPECT_EQ(wait.GetProgress()->GetRect(), CRect(10, 130, SaveWaitDlg::kWidth - 10, 150));
  wait.GetProgress()->SetProgress(60);
  wait.Restart();
  EXPECT_EQ(wait.GetProgress()->GetProgress(), 0);
  EXPECT_EQ(wait.GetProgress()->IsRun(), 1);
  EXPECT_EQ(wait.GetRestartCount(), 0);
  wait.DestroyWindow();
  owner.DestroyWindow();
}

}  // namespace
}  // namespace ui_test
