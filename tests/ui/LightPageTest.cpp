// The lighting page against the simulated mice: the modes a model offers,
// what each mode shows, colours typed, picked and stored (breathing keeps
// seven, steady one), the sliders, the reset question and the records the
// handlers need. Every change is stored, then sent by job 8.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "MainWindowFixture.h"
#include "device/DefaultLights.h"
#include "TestEnv.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/CColorButton.h"
#include "toolkit/controls/LightSlider.h"
#include "toolkit/controls/MPalette.h"
#include "toolkit/core/CArea.h"
#include "toolkit/core/ComboWnd.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MText.h"
#include "ui/LightPage.h"
#include "ui/SaveWaitDlg.h"

namespace ui_test {
namespace {

using ui::LightPage;
namespace fs = std::filesystem;

constexpr int kAir = 1;    // every effect but light_4
constexpr int kSwift = 3;  // light_1, light_2, light_3 and light_8

class LightPageTest : public MainWindowTest {
 protected:
  // The window with the lighting tab of a model shown. The cables are
  // unplugged, so the pick reads the mouse through its receiver and the
  // pages show what it read.
  std::unique_ptr<DeviceMainDlg> OpenLighting(int type, const fs::path& programFolder = {}) {
    for (const SimulatedModel& m : mice_) {
      if (m.cable_plug >= 0) bus_->Unplug(m.cable_plug);
    }
    // Start-up makes the settings databases' folder.
    EXPECT_TRUE(shell::CreateFolderPath(shell::DatabaseFolder()));
    store_.SetDatabaseFolder(shell::DatabaseFolder());
    ui::DeviceMainOptions options;
    options.backend = bus_;
    options.clock = clock_;
    options.host = &host_;
    options.startWorker = false;
    options.programFolder = programFolder;
    options.store = &store_;
    auto dlg = std::make_unique<DeviceMainDlg>(options);
    EXPECT_NE(dlg->CreateMain(1), nullptr);
    // The drop-downs close when their owner is not the active window.
    platform::SetActiveWindow(dlg->GetSafeHwnd());
    Pump();
    RunJobs(*dlg);
    Pick(*dlg, type);
    RunJobs(*dlg);
    // The tab is picked as a user picks it.
    ClickAt(*dlg, dlg->GetTabs()->GetItemRect(DeviceMainDlg::kLightingTabIndex).CenterPoint());
    EXPECT_TRUE(dlg->GetPage(DeviceMainDlg::kLightPage)->IsVisible());
    // Every dialog answers yes unless a test says otherwise.
    dlg->SetMessageBox([this](const wchar_t* text, HWND, const wchar_t* title, int kind) {
      boxes_.push_back(std::wstring(title) + L"|" + text + L"|" + std::to_wstring(kind));
      return answer_;
    });
    return dlg;
  }

  static LightPage& Page(DeviceMainDlg& dlg) {
    return *dynamic_cast<LightPage*>(dlg.GetDevicePage(DeviceMainDlg::kLightPage));
  }
  template <typename T>
  static T* Control(DeviceMainDlg& dlg, UINT id) {
    return dynamic_cast<T*>(dlg.GetPage(DeviceMainDlg::kLightPage)->GetControl(id));
  }

  // A press and a release, each handled before the next event. The save
  // notice of an earlier change has gone by then (it shows for two
  // seconds over the middle of the window).
  static void ClickAt(DeviceMainDlg& dlg, CPoint p) {
    using platform::headless::Button;
    platform::headless::AdvanceTime(ui::SaveWaitDlg::kShowMs + 100);
    Pump();
    if (dlg.GetSaveWait() != nullptr) {
      ASSERT_FALSE(platform::IsWindowVisible(dlg.GetSaveWait()->GetSafeHwnd()));
    }
    platform::headless::InjectMouseMove(dlg.GetSafeHwnd(), p.x, p.y);
    Pump();
    platform::headless::InjectButton(dlg.GetSafeHwnd(), Button::Left, true, p.x, p.y);
    Pump();
    platform::headless::InjectButton(dlg.GetSafeHwnd(), Button::Left, false, p.x, p.y);
    Pump();
  }
  static void Click(DeviceMainDlg& dlg, UINT id) {
    MControl* control = dlg.GetPage(DeviceMainDlg::kLightPage)->GetControl(id);
    ASSERT_NE(control, nullptr) << id;
    ASSERT_TRUE(control->IsVisible()) << id;
    ClickAt(dlg, control->GetRect().CenterPoint());
  }

  // Picks the mode in the drop-down of the mode list.
  static void PickMode(DeviceMainDlg& dlg, int mode) {
    MComboBox* list = Control<MComboBox>(dlg, LightPage::kModeList);
    const int index = list->FindData(mode);
    ASSERT_GE(index, 0) << "mode " << mode;
    Click(dlg, LightPage::kModeList);
    ASSERT_TRUE(list->IsDropDownOpen());
    HWND drop = list->GetDropDown()->GetSafeHwnd();
    platform::headless::AdvanceTime(1000);
    const int y = MComboBox::kListPadding / 2 + index * MComboBox::kRowHeight + MComboBox::kRowHeight / 2;
    platform::headless::InjectMouseMove(drop, 40, y);
    Pump();
    platform::headless::InjectClick(drop, 40, y);
    Pump();
    ASSERT_FALSE(list->IsDropDownOpen());
    ASSERT_EQ(Page(dlg).GetShownMode(), mode);
  }

  // Replaces a colour component by typing it.
  static void Type(DeviceMainDlg& dlg, UINT field, const std::wstring& text) {
    Click(dlg, field);
    ASSERT_TRUE(Control<MEdit>(dlg, field)->IsEditFocused());
    platform::headless::InjectText(text);
    Pump();
  }

  // Presses and releases a slider at the place of a value.
  static void Slide(DeviceMainDlg& dlg, UINT id, int value) {
    LightSlider* slider = Control<LightSlider>(dlg, id);
    const CRect track = slider->GetTrackRect();
    int x = track.left;
    while (x < track.right && slider->PositionAt(x) != value - slider->GetMinProgress()) ++x;
    ASSERT_LT(x, track.right) << "value " << value;
    ClickAt(dlg, CPoint(x + 2, track.CenterPoint().y));
  }

  LightRecord Record(DeviceMainDlg& dlg, int mode) {
    LightRecord record;
    EXPECT_TRUE(dlg.Store().GetLight(dlg.GetCurrentProfile(), mode, record)) << "mode " << mode;
    return record;
  }

  static std::wstring Title(DeviceMainDlg& dlg, UINT id) { return Control<MText>(dlg, id)->GetTitle(); }

  testenv::FreshUserFolders home_;
  SettingsStore store_;
  std::vector<std::wstring> boxes_;
  int answer_ = 1;
};

TEST_F(LightPageTest, AModelWithTheFirstAndLastEffectOffersModesOneAndZero) {
  // A program folder whose 8K model offers light_1 and light_8 only.
  const fs::path folder = fs::path(::testing::TempDir()) / "light_one_and_eight";
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* item : {"config.xml", "device", "language"}) {
    fs::copy(shell::ProgramFolder() / item, folder / item, fs::copy_options::recursive);
  }
  const fs::path model = folder / "device" / "veyra_swift8k.xml";
  std::stringstream text;
  text << std::ifstream(model).rdbuf();
  std::string xml = text.str();
  for (const char* effect : {"light_2", "light_3"}) {
    const std::string on = std::string("<") + effect + " enable=\"1\"/>";
    const size_t at = xml.find(on);
    ASSERT_NE(at, std::string::npos) << effect;
    xml.replace(at, on.size(), std::string("<") + effect + " enable=\"0\"/>");
  }
  std::ofstream(model, std::ios::trunc) << xml;

  auto dlg = OpenLighting(kSwift, folder);
  MComboBox* list = Control<MComboBox>(*dlg, LightPage::kModeList);
  ASSERT_EQ(list->GetItemCount(), 2);
  EXPECT_EQ(list->GetItemData(0), 1);
  EXPECT_EQ(list->GetItemText(0), shell::GetText(280));
  EXPECT_EQ(list->GetItemData(1), 0);
  EXPECT_EQ(list->GetItemText(1), shell::GetText(287));
  EXPECT_EQ(dlg->Store().CountLights(dlg->GetCurrentProfile()), 2);
  EXPECT_EQ(list->GetCurData(), 1);
  EXPECT_EQ(Page(*dlg).GetShownMode(), 1);
  fs::remove_all(folder);
}

TEST_F(LightPageTest, EachModeShowsTheGroupsOfItsLayoutAndIsSent) {
  auto dlg = OpenLighting(kAir);
  MComboBox* list = Control<MComboBox>(*dlg, LightPage::kModeList);
  // Every effect of the model but light_4 (mode 4), in effect order.
  ASSERT_EQ(list->GetItemCount(), 7);
  struct Case {
    int mode;
    bool brightness, speed, picker, slots;
  } cases[] = {
      {2, true, true, true, true},    // breathing 0x813
      {3, true, false, true, false},  // steady 0x11
      {5, true, true, false, false},  // marquee 3
      {6, true, false, false, false},  // steady multicolour 1
      {0, false, false, false, false},  // off 0
      {1, true, true, false, false},   // spectrum flow 3
  };
  const CRect page = dlg->GetPage(DeviceMainDlg::kLightPage)->GetRect();
  const float scale = dlg->GetScale();
  for (const Case& c : cases) {
    const int jobs = CountJobs(*dlg, DeviceWorker::kJobLighting);
    PickMode(*dlg, c.mode);
    const auto shown = [&](UINT id) { return Control<MControl>(*dlg, id)->IsVisible() != 0; };
    EXPECT_EQ(shown(LightPage::kBrightness), c.brightness) << c.mode;
    EXPECT_EQ(shown(LightPage::kBrightnessLabel), c.brightness) << c.mode;
    EXPECT_EQ(shown(LightPage::kSpeed), c.speed) << c.mode;
    EXPECT_EQ(shown(LightPage::kSpeedLabel), c.speed) << c.mode;
    for (UINT id : {UINT(LightPage::kPalette), UINT(LightPage::kPreview), UINT(LightPage::kComponents),
                    UINT(LightPage::kPresets)}) {
      EXPECT_EQ(shown(id), c.picker) << c.mode << " control " << id;
    }
    EXPECT_EQ(shown(LightPage::kSlots + 6), c.slots) << c.mode;
    const CPoint corner(page.left + int(LightPage::kColourAreaX * scale + 0.5f),
                        page.top + int(LightPage::kColourAreaY * scale + 0.5f));
    if (c.picker) {
      EXPECT_EQ(Control<MControl>(*dlg, LightPage::kPalette)->GetRect().TopLeft(), corner) << c.mode;
    } else if (c.brightness || c.speed) {
      // The sliders take the picker's place.
      EXPECT_EQ(Control<MControl>(*dlg, LightPage::kBrightnessCaption)->GetRect().TopLeft(), corner) << c.mode;
    }
    // The labels show the record (the mouse's brightness and speed were
    // read into the shown mode's record).
    const LightRecord record = Record(*dlg, c.mode);
    if (c.brightness) {
      EXPECT_EQ(Title(*dlg, LightPage::kBrightnessLabel), LightPage::BrightnessText(record.brightness)) << c.mode;
      // The slider runs from 0 to 4; a brighter mouse shows at the end.
      EXPECT_EQ(Control<LightSlider>(*dlg, LightPage::kBrightness)->GetProgress(), std::min(record.brightness, 4))
          << c.mode;
    }
    if (c.speed) {
      EXPECT_EQ(Title(*dlg, LightPage::kSpeedLabel), shell::GetText(279) + L": " + std::to_wstring(record.speed))
          << c.mode;
      EXPECT_EQ(Control<LightSlider>(*dlg, LightPage::kSpeed)->GetProgress(), std::min(record.speed, 4)) << c.mode;
    }
    EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobLighting), jobs + 1) << c.mode;
    RunJobs(*dlg);
    EXPECT_EQ(bus_->Firmware(Model(kAir).mouse).settings.lighting.mode, c.mode) << c.mode;
    EXPECT_EQ(dlg->Store().GetCurrentLightMode(dlg->GetCurrentProfile()), c.mode) << c.mode;
  }
  EXPECT_NE(dlg->GetSaveWait(), nullptr);
}

TEST_F(LightPageTest, AComponentAboveAByteShowsTheLimit) {
  auto dlg = OpenLighting(kAir);
  PickMode(*dlg, 3);
  RunJobs(*dlg);
  // Steady starts with 16711920: red 0xF0, green 0x00, blue 0xFF.
  Type(*dlg, LightPage::kComponents, L"300");
  EXPECT_EQ(Control<MEdit>(*dlg, LightPage::kComponents)->GetEditText(), L"255");
  const int colour = 0xFF00FF;
  EXPECT_EQ(Record(*dlg, 3).color_value[0], colour);
  EXPECT_EQ(Control<CArea>(*dlg, LightPage::kPreview)->GetColor(), COLORREF(colour));
  RunJobs(*dlg);
  EXPECT_EQ(bus_->Firmware(Model(kAir).mouse).settings.lighting.colours[0], colour);
}

TEST_F(LightPageTest, BreathingStoresAllSevenSlotsAndSteadyTheFirstColourOnly) {
  const int kDefaults[7] = {255, 65280, 16711680, 16776960, 65535, 16711935, 16777215};
  constexpr int kPicked = 458496;  // the fifth preset
  struct Case {
    int mode;
    int slot;          // the slot ticked before the pick; -1 none
    int colours[7];    // the record's colours afterwards
  } cases[] = {
      // Breathing: the third slot takes the colour, then all seven slots are
      // stored, so the first colour is the first slot's again.
      {2, 2, {255, 65280, kPicked, 16776960, 65535, 16711935, 16777215}},
      // Steady: the first colour only.
      {3, -1, {kPicked, 65280, 16711680, 16776960, 65535, 16711935, 16777215}},
  };
  for (const Case& c : cases) {
    auto dlg = OpenLighting(kAir);
    PickMode(*dlg, c.mode);
    for (int i = 1; i < 7; ++i) ASSERT_EQ(Record(*dlg, c.mode).color_value[i], kDefaults[i]);
    if (c.slot >= 0) {
      Click(*dlg, LightPage::kSlots + UINT(c.slot));
      EXPECT_EQ(Control<CColorButton>(*dlg, LightPage::kSlots + UINT(c.slot))->GetCheck(), 1);
      EXPECT_EQ(Control<CColorButton>(*dlg, LightPage::kSlots)->GetCheck(), 0);
    }
    const int jobs = CountJobs(*dlg, DeviceWorker::kJobLighting);
    Click(*dlg, LightPage::kPresets + 4);
    EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobLighting), jobs + 1) << c.mode;
    const LightRecord record = Record(*dlg, c.mode);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(record.color_value[i], c.colours[i]) << c.mode << " colour " << i;
    // 458496 is 0x06FF00: red 0, green 255, blue 6.
    EXPECT_EQ(Control<MEdit>(*dlg, LightPage::kComponents)->GetEditText(), L"0") << c.mode;
    EXPECT_EQ(Control<MEdit>(*dlg, LightPage::kComponents + 1)->GetEditText(), L"255") << c.mode;
    EXPECT_EQ(Control<MEdit>(*dlg, LightPage::kComponents + 2)->GetEditText(), L"6") << c.mode;
    if (c.slot >= 0) {
      EXPECT_EQ(Control<CColorButton>(*dlg, LightPage::kSlots + UINT(c.slot))->GetColor(), COLORREF(kPicked));
    }
    RunJobs(*dlg);
    EXPECT_EQ(bus_->Firmware(Model(kAir).mouse).settings.lighting.mode, c.mode);
  }
}

TEST_F(LightPageTest, SlidersStoreOnReleaseAndTheSpeedLabelFollowsTheDrag) {
  auto dlg = OpenLighting(kAir);
  PickMode(*dlg, 2);
  RunJobs(*dlg);
  struct Case {
    UINT slider;
    int value;
    UINT label;
    std::wstring text;
  } cases[] = {
      {LightPage::kBrightness, 1, LightPage::kBrightnessLabel, shell::GetText(278) + L": 25%"},
      {LightPage::kBrightness, 0, LightPage::kBrightnessLabel, shell::GetText(278) + L": 0%"},
      {LightPage::kSpeed, 4, LightPage::kSpeedLabel, shell::GetText(279) + L"\uFF1A4"},
      {LightPage::kSpeed, 1, LightPage::kSpeedLabel, shell::GetText(279) + L"\uFF1A1"},
  };
  for (const Case& c : cases) {
    const int jobs = CountJobs(*dlg, DeviceWorker::kJobLighting);
    Slide(*dlg, c.slider, c.value);
    EXPECT_EQ(Title(*dlg, c.label), c.text);
    const LightRecord record = Record(*dlg, 2);
    EXPECT_EQ(c.slider == LightPage::kBrightness ? record.brightness : record.speed, c.value) << c.text;
    EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobLighting), jobs + 1) << c.text;
    RunJobs(*dlg);
    const auto& lighting = bus_->Firmware(Model(kAir).mouse).settings.lighting;
    EXPECT_EQ(c.slider == LightPage::kBrightness ? lighting.brightness : lighting.speed, c.value) << c.text;
  }
  // Shown again, the speed label has the plain colon.
  PickMode(*dlg, 1);
  PickMode(*dlg, 2);
  EXPECT_EQ(Title(*dlg, LightPage::kSpeedLabel), shell::GetText(279) + L": 1");
  EXPECT_EQ(Title(*dlg, LightPage::kBrightnessLabel), shell::GetText(278) + L": 0%");
}

TEST_F(LightPageTest, BrightnessLabelsFollowTheFiveLevels) {
  struct Case {
    int value;
    const wchar_t* percent;
  } cases[] = {{-1, L"0%"}, {0, L"0%"}, {1, L"25%"}, {2, L"50%"}, {3, L"75%"}, {4, L"100%"}, {9, L"100%"}};
  for (const Case& c : cases) {
    EXPECT_EQ(LightPage::BrightnessText(c.value), shell::GetText(278) + L": " + c.percent) << c.value;
  }
}

TEST_F(LightPageTest, ResetAsksAndOnYesRestoresTheDefaultRecords) {
  struct Case {
    int answer;
    bool reset;
  } cases[] = {{2, false}, {1, true}};
  for (const Case& c : cases) {
    auto dlg = OpenLighting(kAir);
    PickMode(*dlg, 2);
    Slide(*dlg, LightPage::kBrightness, 1);
    RunJobs(*dlg);
    ASSERT_EQ(Record(*dlg, 2).brightness, 1);
    boxes_.clear();
    answer_ = c.answer;
    const int jobs = CountJobs(*dlg, DeviceWorker::kJobLighting);
    Click(*dlg, LightPage::kReset);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], shell::GetText(276) + L"|" + shell::GetText(275) + L"|4");
    EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobLighting), jobs + (c.reset ? 1 : 0));
    EXPECT_EQ(Record(*dlg, 2).brightness, c.reset ? 4 : 1);
    EXPECT_EQ(Page(*dlg).GetShownMode(), c.reset ? 1 : 2);
    EXPECT_EQ(Control<MComboBox>(*dlg, LightPage::kModeList)->GetItemCount(), 7);
    RunJobs(*dlg);
    EXPECT_EQ(bus_->Firmware(Model(kAir).mouse).settings.lighting.mode, c.reset ? 1 : 2);
  }
}

TEST_F(LightPageTest, WithoutTheRecordTheHandlersStoreAndSendNothing) {
  auto dlg = OpenLighting(kAir);
  PickMode(*dlg, 2);
  RunJobs(*dlg);
  dlg->Store().DeleteLights(dlg->GetCurrentProfile());
  const int jobs = CountJobs(*dlg, DeviceWorker::kJobLighting);
  Slide(*dlg, LightPage::kBrightness, 2);
  Slide(*dlg, LightPage::kSpeed, 3);
  Click(*dlg, LightPage::kPresets + 2);
  Type(*dlg, LightPage::kComponents, L"12");
  EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobLighting), jobs);
  EXPECT_EQ(dlg->Store().CountLights(dlg->GetCurrentProfile()), 0);
}

TEST_F(LightPageTest, TheModeNamesFollowTheLanguage) {
  auto dlg = OpenLighting(kAir);
  MComboBox* list = Control<MComboBox>(*dlg, LightPage::kModeList);
  shell::SetLanguage(shell::kLangChineseSimplified);
  dlg->RefreshTexts();
  EXPECT_EQ(list->GetItemText(list->FindData(2)), shell::GetLanguageText(shell::kLangChineseSimplified, 281));
  EXPECT_EQ(Title(*dlg, LightPage::kCaption), shell::GetLanguageText(shell::kLangChineseSimplified, 265));
  EXPECT_NE(shell::GetLanguageText(shell::kLangChineseSimplified, 281), shell::GetLanguageText(shell::kLangEnglish, 281));
  shell::SetLanguage(shell::kLangEnglish);
}

}  // namespace
}  // namespace ui_test
