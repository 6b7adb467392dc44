// The DPI page in the main window against the simulated mice (virtual
// clock): the stages shown after a connect, typed values snapped to the
// sensor and sent, selection of the shown stage, the stage count, a slider
// drag, the colour dialog and the model's defaults.

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "TestEnv.h"
#include "device/DpiCodec.h"
#include "device/ProfileMapping.h"
#include "device/simulator/MouseState.h"
#include "shell/Localisation.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/DPIControl.h"
#include "toolkit/controls/DPISlider.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MControlFont.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/Notify.h"
#include "ui/DpiPage.h"
#include "ui/SaveWaitDlg.h"

namespace ui_test {
namespace {

using ui::DpiPage;

constexpr int kDpiTabIndex = 2;

class DpiPageTest : public MainWindowTest {
 protected:
  // Each case starts from databases of its own, as a first start does.
  void SetUp() override {
    MainWindowTest::SetUp();
    SettingsStore::GetInstance().SetDatabaseFolder(databases_.Path());
  }
  void TearDown() override { SettingsStore::GetInstance().CloseDatabase(); }

  // Gives the mouse of the device type another sensor, keeping its stages.
  void UseSensor(int type, int sensor) {
    bus_->UpdateFirmware(Model(type).mouse, [sensor](mouseproto::MouseState& state) {
      const std::array<int, 6> values = state.settings.DpiValues(state.identity.sensor_code);
      state.identity.sensor_code = sensor;
      state.settings.SetDpiValues(sensor, values);
    });
  }

  // The window with the mouse of the type picked and its DPI tab shown, its
  // settings read. The mice are reached through their receivers (every
  // cable unplugged), so picking one reads it.
  std::unique_ptr<DeviceMainDlg> OpenOnDpiTab(int type) {
    for (const SimulatedModel& m : mice_) {
      if (m.cable_plug >= 0) bus_->Unplug(m.cable_plug);
    }
    auto dlg = Open(1);
    RunJobs(*dlg);
    Pick(*dlg, type);
    RunJobs(*dlg);
    EXPECT_EQ(dlg->GetCurrentDeviceType(), type);
    dlg->GetTabs()->SetSelectItem(kDpiTabIndex);
    Pump();
    return dlg;
  }

  testenv::TempDir databases_;

  static DpiPage& Page(DeviceMainDlg& dlg) {
    return *dynamic_cast<DpiPage*>(dlg.GetDevicePage(DeviceMainDlg::kDpiPage));
  }
  static int Stored(DeviceMainDlg& dlg, const std::wstring& key) {
    return dlg.Store().GetConfigInt(dlg.GetCurrentProfile(), key);
  }
  std::array<int, 6> MouseStages(int type) const {
    const mouseproto::MouseState state = bus_->Firmware(Model(type).mouse);
    return state.settings.DpiValues(state.identity.sensor_code);
  }

  // Each click comes after the saving notice of the change before has gone
  // (it stands over the middle of the window for two seconds).
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
  // Points of a stage card: its colour swatch, its value, and below both.
  static DUI::CPoint OnSwatch(DpiPage& page, int stage) {
    const DUI::CRect r = page.Stages()->GetItemRect(stage);
    return {r.left + 20, r.top + 20};
  }
  static DUI::CPoint OnValue(DpiPage& page, int stage) { return page.Stages()->GetValueRect(stage).CenterPoint(); }
  static DUI::CPoint OnCard(DpiPage& page, int stage) {
    const DUI::CRect r = page.Stages()->GetItemRect(stage);
    return {r.left + 10, r.bottom - 8};
  }

  // Types text into the stage's value and closes the editor with Enter.
  static void TypeValue(DeviceMainDlg& dlg, int stage, const std::wstring& text) {
    DpiPage& page = Page(dlg);
    Click(dlg, OnValue(page, stage));
    ASSERT_TRUE(page.Stages()->IsEditing());
    platform::headless::InjectText(text);
    platform::headless::InjectKeyPress(VK_RETURN);
    Pump();
    ASSERT_FALSE(page.Stages()->IsEditing());
  }
};

TEST_F(DpiPageTest, AConnectShowsTheMouseStagesAndPlacesTheSlider) {
  auto dlg = OpenOnDpiTab(1);
  DpiPage& page = Page(*dlg);
  const mouseproto::MouseState mouse = bus_->Firmware(Model(1).mouse);
  ASSERT_EQ(page.Row().sensor_code, mouse.identity.sensor_code);
  ASSERT_EQ(page.Stages()->GetItemCount(), mouse.settings.dpi_count);
  const std::array<int, 6> values = MouseStages(1);
  for (int stage = 0; stage < mouse.settings.dpi_count; ++stage) {
    EXPECT_EQ(page.Stages()->GetDPIValue(stage), values[size_t(stage)]) << "stage " << stage;
    EXPECT_EQ(page.Stages()->GetDPIColorValue(stage), mouse.settings.dpi_rgb[size_t(stage)]) << "stage " << stage;
  }
  const int selected = mouse.settings.dpi_index;
  EXPECT_EQ(page.Stages()->GetSelectItem(), selected);
  EXPECT_EQ(page.Slider()->GetProgress(), mouseproto::SliderProgressForDpi(page.Row(), values[size_t(selected)]));
  EXPECT_EQ(page.StageCount()->GetCurData(), mouse.settings.dpi_count);
}

TEST_F(DpiPageTest, ATypedValueIsSnappedStoredAndSentOnce) {
  const struct Case {
    const char* name;
    int sensor;  // 99 is no sensor of the table: the default row
    const wchar_t* typed;
    int shown;
  } cases[] = {
      {"default sensor, above the range", 99, L"26049", 26000},
      {"default sensor, below the range", 99, L"30", 50},
      {"default sensor, off the grid", 99, L"1234", 1200},
      {"sensor 37, coarse grid above 5000", 37, L"7500", 7000},
      {"sensor 37, fine grid below 5000", 37, L"4321", 4300},
      {"sensor 17, its own upper limit", 17, L"25000", 22000},
  };
  constexpr int kStage = 2;
  for (const Case& c : cases) {
    UseSensor(1, c.sensor);
    auto dlg = OpenOnDpiTab(1);
    DpiPage& page = Page(*dlg);
    ASSERT_EQ(page.Row().sensor_code, c.sensor) << c.name;
    TypeValue(*dlg, kStage, c.typed);
    EXPECT_EQ(page.Stages()->GetDPIValue(kStage), c.shown) << c.name;
    EXPECT_EQ(page.Stages()->GetEditText(), std::to_wstring(c.shown)) << c.name;
    EXPECT_EQ(Stored(*dlg, ProfileMapping::StageValueKey(kStage)), c.shown) << c.name;
    EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobDpiStages), 1) << c.name;
    EXPECT_EQ(page.Slider()->GetProgress(), mouseproto::SliderProgressForDpi(page.Row(), c.shown)) << c.name;
    RunJobs(*dlg);
    EXPECT_EQ(MouseStages(1)[kStage], c.shown) << c.name;
    // The editor opened on another stage than the shown one: that stage is
    // shown and stored as the selected one, and the mouse selects it too.
    EXPECT_EQ(Stored(*dlg, L"dpi_index"), kStage) << c.name;
    EXPECT_EQ(bus_->Firmware(Model(1).mouse).settings.dpi_index, kStage) << c.name;
  }
}

TEST_F(DpiPageTest, AnEmptiedOrUnchangedValueKeepsTheStageAndSendsNothing) {
  auto dlg = OpenOnDpiTab(1);
  DpiPage& page = Page(*dlg);
  const int shown = page.Stages()->GetSelectItem();
  const int before = page.Stages()->GetDPIValue(shown);
  for (const std::wstring& typed : {std::wstring(), std::to_wstring(before)}) {
    Click(*dlg, OnValue(page, shown));
    ASSERT_TRUE(page.Stages()->IsEditing());
    platform::headless::InjectKeyPress(VK_BACK);
    platform::headless::InjectText(typed);
    platform::headless::InjectKeyPress(VK_RETURN);
    Pump();
    EXPECT_EQ(page.Stages()->GetDPIValue(shown), before) << "typed \"" << std::string(typed.begin(), typed.end()) << "\"";
    EXPECT_EQ(Stored(*dlg, ProfileMapping::StageValueKey(shown)), before);
    EXPECT_TRUE(dlg->Worker().Jobs().Empty());
  }
}

TEST_F(DpiPageTest, SelectingAStageQueuesOnlyWhenItIsNotTheShownOne) {
  auto dlg = OpenOnDpiTab(1);
  DpiPage& page = Page(*dlg);
  const int shown = page.Stages()->GetSelectItem();
  ASSERT_TRUE(dlg->Worker().Jobs().Empty());

  // The shown stage again: the index is stored (also over another value) and
  // nothing is sent.
  dlg->Store().SetConfigInt(dlg->GetCurrentProfile(), L"dpi_index", 5);
  Click(*dlg, OnCard(page, shown));
  EXPECT_EQ(Stored(*dlg, L"dpi_index"), shown);
  EXPECT_TRUE(dlg->Worker().Jobs().Empty());

  // Another stage: stored, shown, and its jobs queued once each.
  const int other = (shown + 3) % page.Stages()->GetItemCount();
  Click(*dlg, OnCard(page, other));
  int reported = -1;
  ASSERT_TRUE(page.ShownStage(reported));
  EXPECT_EQ(reported, other);
  EXPECT_EQ(Stored(*dlg, L"dpi_index"), other);
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), (std::vector<int>{DeviceWorker::kJobDpiStages, DeviceWorker::kJobDpiColours}));
  EXPECT_EQ(page.Slider()->GetProgress(),
            mouseproto::SliderProgressForDpi(page.Row(), page.Stages()->GetDPIValue(other)));
  // A second change while those wait adds nothing: they send what the
  // profile holds when they run.
  Click(*dlg, OnCard(page, shown));
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), (std::vector<int>{DeviceWorker::kJobDpiStages, DeviceWorker::kJobDpiColours}));
  RunJobs(*dlg);
  EXPECT_EQ(bus_->Firmware(Model(1).mouse).settings.dpi_index, shown);
}

TEST_F(DpiPageTest, AStageCountBelowTheSelectedStageSelectsStageZero) {
  const struct Case {
    int selected;
    int count;
    int expected;
  } cases[] = {{4, 3, 0}, {3, 3, 0}, {1, 3, 1}, {5, 1, 0}};
  for (const Case& c : cases) {
    bus_->UpdateFirmware(Model(1).mouse, [](mouseproto::MouseState& state) { state.settings.dpi_count = 6; });
    auto dlg = OpenOnDpiTab(1);
    DpiPage& page = Page(*dlg);
    Click(*dlg, OnCard(page, c.selected));
    RunJobs(*dlg);
    ASSERT_EQ(Stored(*dlg, L"dpi_index"), c.selected);

    DUI::MComboBox* combo = page.StageCount();
    combo->SetCurSel(combo->FindData(c.count));
    dlg->GetPage(DeviceMainDlg::kDpiPage)->OnMessage(DpiPage::kCount, DUI::CN_CLICK, WPARAM(combo->GetCurSel()), 0);
    Pump();
    EXPECT_EQ(Stored(*dlg, L"dpi_count"), c.count) << c.selected << " of " << c.count;
    EXPECT_EQ(page.Stages()->GetItemCount(), c.count);
    EXPECT_EQ(page.Stages()->GetSelectItem(), c.expected);
    EXPECT_EQ(Stored(*dlg, L"dpi_index"), c.expected);
    EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobDpiStages});
    RunJobs(*dlg);
    const mouseproto::MouseSettings mouse = bus_->Firmware(Model(1).mouse).settings;
    EXPECT_EQ(mouse.dpi_count, c.count);
    EXPECT_EQ(mouse.dpi_index, c.expected);
  }
}

TEST_F(DpiPageTest, ASliderDragStoresEveryStepAndQueuesOneJobOnRelease) {
  auto dlg = OpenOnDpiTab(1);
  DpiPage& page = Page(*dlg);
  const int stage = page.Stages()->GetSelectItem();
  DUI::DPISlider* slider = page.Slider();
  const DUI::CRect thumb = slider->GetThumbRect();
  const DUI::CRect track = slider->GetTrackRect();
  const int y = thumb.CenterPoint().y;
  const int right = slider->GetRect().left + track.right;
  const HWND hwnd = dlg->GetSafeHwnd();

  platform::headless::AdvanceTime(1000);
  platform::headless::InjectMouseMove(hwnd, thumb.CenterPoint().x, y);
  platform::headless::InjectButton(hwnd, platform::headless::Button::Left, true, thumb.CenterPoint().x, y);
  Pump();
  std::vector<int> seen;
  for (int x = thumb.CenterPoint().x + 40; x <= right; x += 40) {
    platform::headless::AdvanceTime(100);
    platform::headless::InjectMouseMove(hwnd, x, y);
    Pump();
    seen.push_back(Stored(*dlg, ProfileMapping::StageValueKey(stage)));
    EXPECT_EQ(page.Stages()->GetDPIValue(stage), seen.back());
    EXPECT_TRUE(dlg->Worker().Jobs().Empty()) << "queued while the thumb is held";
  }
  ASSERT_GE(seen.size(), 3u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_LT(seen.front(), seen.back());
  platform::headless::InjectButton(hwnd, platform::headless::Button::Left, false, right, y);
  Pump();
  EXPECT_EQ(page.Stages()->GetDPIValue(stage), page.Row().max_dpi);
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobDpiStages});
  RunJobs(*dlg);
  EXPECT_EQ(MouseStages(1)[size_t(stage)], page.Row().max_dpi);
}

TEST_F(DpiPageTest, TheColourDialogSetsStoresAndSendsAPickedColourOnly) {
  auto dlg = OpenOnDpiTab(1);
  DpiPage& page = Page(*dlg);
  const int stage = page.Stages()->GetSelectItem();
  const int before = page.Stages()->GetDPIColorValue(stage);
  std::optional<std::uint32_t> answer;
  std::vector<std::uint32_t> offered;
  dlg->SetColourPicker([&](HWND, std::uint32_t colour, DUI::CRect) {
    offered.push_back(colour);
    return answer;
  });

  // Cancelled: nothing changes and nothing is queued.
  Click(*dlg, OnSwatch(page, stage));
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0], DUI::MRender::ToARGB(COLORREF(before)));
  EXPECT_EQ(page.Stages()->GetDPIColorValue(stage), before);
  EXPECT_EQ(Stored(*dlg, ProfileMapping::StageColourKey(stage)), before);
  EXPECT_TRUE(dlg->Worker().Jobs().Empty());

  // Picked: pure blue is 0x00FF0000 as a stage colour.
  answer = 0xFF0000FFu;
  Click(*dlg, OnSwatch(page, stage));
  EXPECT_EQ(page.Stages()->GetDPIColorValue(stage), 0x00FF0000);
  EXPECT_EQ(Stored(*dlg, ProfileMapping::StageColourKey(stage)), 0x00FF0000);
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobDpiColours});
  RunJobs(*dlg);
  EXPECT_EQ(bus_->Firmware(Model(1).mouse).settings.dpi_rgb[size_t(stage)], 0x00FF0000);
}

TEST_F(DpiPageTest, TheDefaultsAreRestoredOnlyWhenConfirmed) {
  auto dlg = OpenOnDpiTab(1);
  DpiPage& page = Page(*dlg);
  int answer = 2;
  int asked = 0;
  dlg->SetMessageBox([&](const wchar_t*, HWND, const wchar_t*, int kind) {
    ++asked;
    EXPECT_EQ(kind, 4);
    return answer;
  });
  TypeValue(*dlg, 0, L"5000");
  RunJobs(*dlg);
  ASSERT_EQ(page.Stages()->GetDPIValue(0), 5000);

  const DUI::CPoint reset = page.ResetButton()->GetRect().CenterPoint();
  Click(*dlg, reset);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(dlg->Worker().Jobs().Empty());

  answer = 1;
  Click(*dlg, reset);
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobDpiDefaults});
  RunJobs(*dlg);
  // The model description of type 1 starts its stages with 400.
  EXPECT_EQ(page.Stages()->GetDPIValue(0), 400);
  EXPECT_EQ(Stored(*dlg, ProfileMapping::StageValueKey(0)), 400);
  EXPECT_EQ(MouseStages(1)[0], 400);
}

TEST_F(DpiPageTest, TheMouseDpiButtonMovesTheShownStageAndCount) {
  const struct Case {
    const char* name;
    int stage;
    int count;  // 0: the count stays
    int shownCount;
  } cases[] = {
      {"another stage", 4, 0, 6},
      {"fewer stages", 1, 3, 3},
      {"the shown stage again", 1, 0, 3},
  };
  auto dlg = OpenOnDpiTab(1);
  DpiPage& page = Page(*dlg);
  for (const Case& c : cases) {
    bus_->PressDpiButton(Model(1).mouse, c.stage, c.count);
    dlg->Worker().PollNotifications();
    Pump();
    int shown = -1, count = -1;
    ASSERT_TRUE(page.ShownStage(shown));
    ASSERT_TRUE(page.ShownStageCount(count));
    EXPECT_EQ(shown, c.stage) << c.name;
    EXPECT_EQ(count, c.shownCount) << c.name;
    EXPECT_EQ(page.Stages()->GetSelectItem(), c.stage) << c.name;
    EXPECT_EQ(page.Stages()->GetItemCount(), c.shownCount) << c.name;
    EXPECT_EQ(page.StageCount()->GetCurData(), c.shownCount) << c.name;
    EXPECT_EQ(page.Slider()->GetProgress(),
              mouseproto::SliderProgressForDpi(page.Row(), page.Stages()->GetDPIValue(c.stage)))
        << c.name;
    EXPECT_EQ(Stored(*dlg, L"dpi_index"), c.stage) << c.name;
    // The mouse made the change: nothing goes back to it.
    EXPECT_TRUE(dlg->Worker().Jobs().Empty()) << c.name;
  }
}

TEST_F(DpiPageTest, TheTextsOfBothPagesFollowTheLanguage) {
  auto dlg = OpenOnDpiTab(1);
  const struct Text {
    DUI::UINT container;
    DUI::UINT control;
    int text;
  } texts[] = {
      {DeviceMainDlg::kDpiPage, DpiPage::kCaption, 250},
      {DeviceMainDlg::kDpiPage, DpiPage::kStagesCaption, 251},
      {DeviceMainDlg::kDpiPage, DpiPage::kApply, 254},
      {DeviceMainDlg::kDpiPage, DpiPage::kCountText, 260},
      {DeviceMainDlg::kPerformancePage, 122, 255},
      {DeviceMainDlg::kPerformancePage, 127, 501},
      {DeviceMainDlg::kPerformancePage, 134, 515},
      {DeviceMainDlg::kPerformancePage, 142, 532},
      {DeviceMainDlg::kPerformancePage, 149, 536},
  };
  for (int language : {2052, 1058, 1033}) {
    shell::SetLanguage(language);
    dlg->RefreshTexts();
    for (const Text& t : texts) {
      auto* control = dynamic_cast<DUI::MControlFont*>(dlg->GetPage(t.container)->GetControl(t.control));
      ASSERT_NE(control, nullptr) << t.control;
      EXPECT_EQ(control->GetTitle(), shell::GetText(t.text)) << language << ", control " << t.control;
    }
  }
}

TEST_F(DpiPageTest, ApplySendsTheStagesAgainOncePerBurst) {
  auto dlg = OpenOnDpiTab(1);
  DpiPage& page = Page(*dlg);
  // The mouse lost its stages (another program changed them).
  bus_->UpdateFirmware(Model(1).mouse, [](mouseproto::MouseState& state) {
    state.settings.SetDpiValues(state.identity.sensor_code, {100, 200, 300, 400, 500, 600});
  });
  const DUI::CPoint apply = dlg->GetPage(DeviceMainDlg::kDpiPage)->GetControl(DpiPage::kApply)->GetRect().CenterPoint();
  Click(*dlg, apply);
  Click(*dlg, apply);
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobDpiStages});
  RunJobs(*dlg);
  for (int stage = 0; stage < page.Stages()->GetItemCount(); ++stage) {
    EXPECT_EQ(MouseStages(1)[size_t(stage)], page.Stages()->GetDPIValue(stage)) << "stage " << stage;
  }
}

}  // namespace
}  // namespace ui_test
