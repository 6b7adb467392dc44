// The performance page in the main window against the simulated mice
// (virtual clock): the controls after a connect, the report rates a mouse
// offers, each option stored, queued once and held by the mouse, the
// report-rate default, and the desktop's mouse settings button.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <fstream>

#include "MainWindowFixture.h"
#include "TestEnv.h"
#include "device/simulator/MouseState.h"
#include "shell/Localisation.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/ReporteCtrl.h"
#include "toolkit/core/CCheckButton.h"
#include "toolkit/core/CRadioButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/Notify.h"
#include "toolkit/core/NumberEdit.h"
#include "ui/PerformancePage.h"
#include "ui/SaveWaitDlg.h"

namespace ui_test {
namespace {

using ui::PerformancePage;

constexpr int kPerformanceTabIndex = 5;

class PerformancePageTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    SettingsStore::GetInstance().SetDatabaseFolder(databases_.Path());
  }
  void TearDown() override { SettingsStore::GetInstance().CloseDatabase(); }

  // The window with the mouse of the type picked through its receiver (every
  // cable unplugged, so the pick reads it) and the performance tab shown.
  std::unique_ptr<DeviceMainDlg> OpenOnPerformanceTab(int type) {
    for (const SimulatedModel& m : mice_) {
      if (m.cable_plug >= 0) bus_->Unplug(m.cable_plug);
    }
    auto dlg = Open(1);
    RunJobs(*dlg);
    Pick(*dlg, type);
    RunJobs(*dlg);
    EXPECT_EQ(dlg->GetCurrentDeviceType(), type);
    dlg->GetTabs()->SetSelectItem(kPerformanceTabIndex);
    Pump();
    EXPECT_TRUE(dlg->GetPage(DeviceMainDlg::kPerformancePage)->IsVisible());
    return dlg;
  }

  static PerformancePage& Page(DeviceMainDlg& dlg) {
    return *dynamic_cast<PerformancePage*>(dlg.GetDevicePage(DeviceMainDlg::kPerformancePage));
  }
  template <typename T>
  static T* Get(DeviceMainDlg& dlg, DUI::UINT id) {
    return dynamic_cast<T*>(Page(dlg).Control(id));
  }
  static int Stored(DeviceMainDlg& dlg, const std::wstring& key) {
    return dlg.Store().GetConfigInt(dlg.GetCurrentProfile(), key);
  }
  mouseproto::MouseSettings Mouse(int type) const { return bus_->Firmware(Model(type).mouse).settings; }

  // A click after the saving notice of the change before has gone.
  static void Click(DeviceMainDlg& dlg, DUI::CPoint p) {
    const HWND hwnd = dlg.GetSafeHwnd();
    platform::headless::AdvanceTime(ui::SaveWaitDlg::kShowMs + 500);
    Pump();
    platform::headless::InjectMouseMove(hwnd, p.x, p.y);
    Pump();
    platform::headless::InjectButton(hwnd, platform::headless::Button::Left, true, p.x, p.y);
    Pump();
    platform::headless::InjectButton(hwnd, platform::headless::Button::Left, false, p.x, p.y);
    Pump();
  }
  static void ClickControl(DeviceMainDlg& dlg, DUI::UINT id) {
    const DUI::CRect r = Page(dlg).Control(id)->GetRect();
    Click(dlg, {r.left + 8, r.top + r.Height() / 2});
  }
  static void ClickRate(DeviceMainDlg& dlg, int index) {
    DUI::ReporteCtrl* rates = Page(dlg).Rates();
    const DUI::CRect r = rates->GetRect();
    Click(dlg, {r.left + DUI::ReporteCtrl::kFirstLeft + DUI::ReporteCtrl::kStride * index + 50, r.top + r.Height() / 2});
  }
  static std::vector<std::wstring> RateTitles(DeviceMainDlg& dlg) {
    std::vector<std::wstring> titles;
    DUI::ReporteCtrl* rates = Page(dlg).Rates();
    for (int i = 0; i < rates->GetItemCount(); ++i) titles.push_back(rates->GetItemKeyName(i));
    return titles;
  }

  testenv::TempDir databases_;
};

TEST_F(PerformancePageTest, AConnectShowsTheMouseSettings) {
  bus_->UpdateFirmware(Model(1).mouse, [](mouseproto::MouseState& state) {
    state.settings.liftoff_height = 1;
    state.settings.sensor_bit2 = true;
    state.settings.sensor_bit3 = false;
    state.settings.sleep_light = 5;
    state.settings.move_closelight = 0;
    state.settings.button_respondtime = 12;
    state.settings.report_rate = 4;
  });
  auto dlg = OpenOnPerformanceTab(1);
  EXPECT_EQ(Get<DUI::CRadioButton>(*dlg, PerformancePage::kLift1)->GetCheck(), 1);
  EXPECT_EQ(Get<DUI::CRadioButton>(*dlg, PerformancePage::kLift2)->GetCheck(), 0);
  EXPECT_EQ(Get<DUI::CCheckButton>(*dlg, PerformancePage::kSensorSnap)->GetCheck(), 1);    // 0x04
  EXPECT_EQ(Get<DUI::CCheckButton>(*dlg, PerformancePage::kSensorRipple)->GetCheck(), 0);  // 0x08
  EXPECT_EQ(Get<DUI::MComboBox>(*dlg, PerformancePage::kSleep)->GetCurData(), 5);
  EXPECT_EQ(Get<DUI::MComboBox>(*dlg, PerformancePage::kSleep)->GetTitle(), L"5 " + shell::GetText(537));
  EXPECT_EQ(Get<DUI::CCheckButton>(*dlg, PerformancePage::kMoveCloseLight)->GetCheck(), 0);
  EXPECT_EQ(Get<DUI::NumberEdit>(*dlg, PerformancePage::kResponse)->GetValue(), 12);
  DUI::ReporteCtrl* rates = Page(*dlg).Rates();
  EXPECT_EQ(rates->GetItemKeyValue(rates->GetSelectItem()), 4);
}

TEST_F(PerformancePageTest, SevenRatesOnlyForAMouseThatOffersSeven) {
  const std::vector<std::wstring> four = {L"125Hz", L"250Hz", L"500Hz", L"1000Hz"};
  const std::vector<std::wstring> seven = {L"125Hz", L"250Hz", L"500Hz", L"1000Hz", L"2000Hz", L"4000Hz", L"8000Hz"};
  const struct Case {
    const char* name;
    int maxRate;  // info reply byte 11
    int choices;
    std::vector<std::wstring> titles;
  } cases[] = {
      {"1000 Hz", 0x00, 4, four},
      {"2000 Hz (five choices)", 0x10, 5, four},
      {"4000 Hz (six choices)", 0x20, 6, four},
      {"8000 Hz (seven choices)", 0x40, 7, seven},
  };
  for (const Case& c : cases) {
    bus_->UpdateFirmware(Model(1).mouse, [&](mouseproto::MouseState& state) { state.identity.max_rate = c.maxRate; });
    auto dlg = OpenOnPerformanceTab(1);
    EXPECT_EQ(Page(*dlg).ReportRateChoices(), c.choices) << c.name;
    EXPECT_EQ(RateTitles(*dlg), c.titles) << c.name;
  }
}

TEST_F(PerformancePageTest, APickedRateGoesIntoBothKeysAndToTheMouse) {
  auto dlg = OpenOnPerformanceTab(1);
  ASSERT_NE(Mouse(1).report_rate, 1);
  ClickRate(*dlg, 3);  // 1000Hz
  EXPECT_EQ(Stored(*dlg, L"report_rate"), 1);
  EXPECT_EQ(Stored(*dlg, L"report_rate_wireless"), 1);
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobReportRate});
  // Another pick before the job ran: the job sends the latest.
  ClickRate(*dlg, 0);  // 125Hz
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobReportRate});
  RunJobs(*dlg);
  EXPECT_EQ(Mouse(1).report_rate, 8);
  // The rate the profile holds again: nothing to send.
  ClickRate(*dlg, 0);
  EXPECT_TRUE(dlg->Worker().Jobs().Empty());
}

TEST_F(PerformancePageTest, TheRateResetTakesTheModelDefault) {
  auto dlg = OpenOnPerformanceTab(1);
  ClickRate(*dlg, 0);
  RunJobs(*dlg);
  ASSERT_EQ(Stored(*dlg, L"report_rate"), 8);
  ClickControl(*dlg, PerformancePage::kRateReset);
  // The model description of type 1 gives 1000 Hz.
  EXPECT_EQ(Stored(*dlg, L"report_rate"), 1);
  EXPECT_EQ(Stored(*dlg, L"report_rate_wireless"), 1);
  DUI::ReporteCtrl* rates = Page(*dlg).Rates();
  EXPECT_EQ(rates->GetItemKeyValue(rates->GetSelectItem()), 1);
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobReportRate});
  RunJobs(*dlg);
  EXPECT_EQ(Mouse(1).report_rate, 1);
}

TEST_F(PerformancePageTest, EachOptionIsStoredQueuedOnceAndHeldByTheMouse) {
  const struct Case {
    const char* name;
    DUI::UINT control;
    const wchar_t* key;
    int stored;
    int job;
    int (*onMouse)(const mouseproto::MouseSettings&);
    int mouseValue;
  } cases[] = {
      {"lift-off 1.0mm", PerformancePage::kLift1, L"liftoff_height", 1, DeviceWorker::kJobLiftOff,
       [](const mouseproto::MouseSettings& m) { return m.liftoff_height; }, 1},
      {"angle snapping on", PerformancePage::kSensorSnap, L"sensor_flag", 0x04 | 0x10, DeviceWorker::kJobLiftOff,
       [](const mouseproto::MouseSettings& m) { return int(m.sensor_bit2); }, 1},
      {"ripple control on", PerformancePage::kSensorRipple, L"sensor_flag", 0x08 | 0x10, DeviceWorker::kJobLiftOff,
       [](const mouseproto::MouseSettings& m) { return int(m.sensor_bit3); }, 1},
      {"wake on movement on", PerformancePage::kMoveWakeup, L"move_wakeup", 1, DeviceWorker::kJobPowerOptions,
       [](const mouseproto::MouseSettings& m) { return m.move_wakeup; }, 1},
      {"lights off when idle off", PerformancePage::kMoveCloseLight, L"move_closelight", 0,
       DeviceWorker::kJobPowerOptions, [](const mouseproto::MouseSettings& m) { return m.move_closelight; }, 0},
  };
  for (const Case& c : cases) {
    // The factory state: 2.0 mm, sensor options off but motion sync, no
    // wake-up, lights off when idle.
    bus_->UpdateFirmware(Model(1).mouse, [](mouseproto::MouseState& state) { state.settings = state.factory; });
    auto dlg = OpenOnPerformanceTab(1);
    // The profile as the factory state, whatever the model's defaults gave.
    for (const auto& [key, value] : {std::pair{L"liftoff_height", 2}, std::pair{L"sensor_flag", 0x10},
                                     std::pair{L"move_wakeup", 0}, std::pair{L"move_closelight", 1}}) {
      dlg->Store().SetConfigInt(dlg->GetCurrentProfile(), key, value);
    }
    Page(*dlg).RefreshDPI();
    ClickControl(*dlg, c.control);
    EXPECT_EQ(Stored(*dlg, c.key), c.stored) << c.name;
    EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{c.job}) << c.name;
    RunJobs(*dlg);
    EXPECT_EQ(c.onMouse(Mouse(1)), c.mouseValue) << c.name;
  }
}

TEST_F(PerformancePageTest, SensorBitsThePageDoesNotShowAreKept) {
  auto dlg = OpenOnPerformanceTab(1);
  dlg->Store().SetConfigInt(dlg->GetCurrentProfile(), L"sensor_flag", 0x01 | 0x10);
  Page(*dlg).RefreshDPI();
  ClickControl(*dlg, PerformancePage::kSensorSync);  // motion sync off
  EXPECT_EQ(Stored(*dlg, L"sensor_flag"), 0x01);
  ClickControl(*dlg, PerformancePage::kSensorRipple);
  EXPECT_EQ(Stored(*dlg, L"sensor_flag"), 0x01 | 0x08);
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobLiftOff});
}

TEST_F(PerformancePageTest, SleepTimeAndResponseTimeAreSent) {
  auto dlg = OpenOnPerformanceTab(1);
  DUI::MComboBox* sleep = Get<DUI::MComboBox>(*dlg, PerformancePage::kSleep);
  sleep->SetCurSel(sleep->FindData(10));
  dlg->GetPage(DeviceMainDlg::kPerformancePage)
      ->OnMessage(PerformancePage::kSleep, DUI::CN_CLICK, WPARAM(sleep->GetCurSel()), 0);
  EXPECT_EQ(Stored(*dlg, L"sleep_light"), 10);
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobPowerOptions});

  // Typed: limited to 20, stored, and sent with the same job.
  DUI::NumberEdit* response = Get<DUI::NumberEdit>(*dlg, PerformancePage::kResponse);
  const DUI::CRect r = response->GetRect();
  Click(*dlg, {r.left + 10, r.top + r.Height() / 2});
  ASSERT_TRUE(response->IsEditFocused());
  platform::headless::InjectKeyPress(VK_END);
  for (int i = 0; i < 3; ++i) platform::headless::InjectKeyPress(VK_BACK);
  platform::headless::InjectText(L"35");
  platform::headless::InjectKeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(response->GetValue(), 20);
  EXPECT_EQ(Stored(*dlg, L"button_respondtime"), 20);
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobPowerOptions});
  RunJobs(*dlg);
  EXPECT_EQ(Mouse(1).sleep_light, 10);
  EXPECT_EQ(Mouse(1).button_respondtime, 20);
}

TEST_F(PerformancePageTest, TheDesktopButtonStartsTheInstalledSettingsOrSaysWhyNot) {
  testenv::TempDir bin;
  const std::filesystem::path program = bin.Path() / "xfce4-mouse-settings";
  std::ofstream(program) << "#!/bin/sh\n";
  ::chmod(program.c_str(), 0755);

  auto dlg = OpenOnPerformanceTab(1);
  PerformancePage& page = Page(*dlg);
  std::vector<platform::DesktopCommand> started;
  page.SetLauncher([&](const platform::DesktopCommand& command) {
    started.push_back(command);
    return true;
  });
  DUI::MButton* button = Get<DUI::MButton>(*dlg, PerformancePage::kDesktopButton);

  page.FindDesktopSettings("XFCE", bin.Path().string());
  EXPECT_TRUE(button->IsEnabled());
  EXPECT_EQ(button->GetTooltip(), L"");
  ClickControl(*dlg, PerformancePage::kDesktopButton);
  EXPECT_EQ(started, (std::vector<platform::DesktopCommand>{{"xfce4-mouse-settings", {}}}));

  page.FindDesktopSettings("GNOME", bin.Path().string());
  EXPECT_FALSE(button->IsEnabled());
  EXPECT_EQ(button->GetTooltip(), shell::GetText(538));
  ClickControl(*dlg, PerformancePage::kDesktopButton);
  // The pointer over the disabled button tells why.
  EXPECT_EQ(dlg->GetPaintManager()->GetTooltipText(), shell::GetText(538));
  EXPECT_EQ(started.size(), 1u);
  EXPECT_TRUE(dlg->Worker().Jobs().Empty());
}

TEST_F(PerformancePageTest, TheModelFlagsShowOrLeaveOutTheLiftOffAndSensorAreas) {
  auto dlg = Open(1);
  RunJobs(*dlg);
  const struct Case {
    int type;
    bool lift;
    bool sensor;
  } cases[] = {{2, true, false}, {1, true, true}, {2, true, false}};
  for (const Case& c : cases) {
    Pick(*dlg, c.type);
    RunJobs(*dlg);
    ASSERT_EQ(dlg->GetCurrentDeviceType(), c.type);
    dlg->GetTabs()->SetSelectItem(kPerformanceTabIndex);
    Pump();
    DUI::MControl* lift = Page(*dlg).Control(PerformancePage::kLiftFrame);
    DUI::MControl* sensor = Page(*dlg).Control(PerformancePage::kSensorFrame);
    const DUI::CRect page = dlg->GetPage(DeviceMainDlg::kPerformancePage)->GetRect();
    EXPECT_EQ(lift->IsVisible() != 0, c.lift) << "type " << c.type;
    EXPECT_EQ(sensor->IsVisible() != 0, c.sensor) << "type " << c.type;
    EXPECT_EQ(Get<DUI::CRadioButton>(*dlg, PerformancePage::kLift1)->IsVisible() != 0, c.lift) << "type " << c.type;
    EXPECT_EQ(Get<DUI::CCheckButton>(*dlg, PerformancePage::kSensorSync)->IsVisible() != 0, c.sensor)
        << "type " << c.type;
    // Alone in its row, the lift-off area is as wide as the page.
    EXPECT_EQ(lift->GetRect().Width() == page.Width(), c.lift && !c.sensor) << "type " << c.type;
  }
}

}  // namespace
}  // namespace ui_test
