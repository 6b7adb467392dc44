// The system settings page: the options it reads when built, start with
// the desktop session (the autostart entry) and minimised, the closing
// choice, the factory restore with and without a linked mouse, the
// information boxes and links, the language switched without a restart,
// and the way back.

#include <filesystem>
#include <string>

#include "MainWindowFixture.h"
#include "TestEnv.h"
#include "platform/autostart/AutostartEntry.h"
#include "shell/AppNames.h"
#include "store/SettingsStore.h"
#include "toolkit/core/CCheckButton.h"
#include "toolkit/core/CRadioButton.h"
#include "toolkit/core/ComboWnd.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MText.h"
#include "ui/SaveWaitDlg.h"
#include "ui/SettingsPage.h"
#include "ui/UpdateNotice.h"

namespace ui_test {
namespace {

using ui::SettingsPage;
namespace fs = std::filesystem;

class SettingsPageTest : public MainWindowTest {
 protected:
  void TearDown() override {
    // Later tests start in English.
    shell::SetLanguage(shell::kLangEnglish);
    MainWindowTest::TearDown();
  }

  // The window with its settings page opened by the caption's button.
  std::unique_ptr<DeviceMainDlg> OpenSettings() {
    auto dlg = Open(1);
    platform::SetActiveWindow(dlg->GetSafeHwnd());
    dlg->SetMessageBox([this](const wchar_t* text, HWND, const wchar_t* title, int kind) {
      boxes_.push_back(std::wstring(title) + L"|" + text + L"|" + std::to_wstring(kind));
      return answer_;
    });
    ClickAt(*dlg, dlg->GetControl(DeviceMainDlg::kSettings)->GetRect().CenterPoint());
    EXPECT_TRUE(dlg->IsSettingsPageShown());
    return dlg;
  }

  template <typename T>
  static T* Control(DeviceMainDlg& dlg, UINT id) {
    return dynamic_cast<T*>(dlg.GetPage(DeviceMainDlg::kSettingsPage)->GetControl(id));
  }
  static void ClickAt(DeviceMainDlg& dlg, CPoint p) {
    using platform::headless::Button;
    platform::headless::AdvanceTime(ui::SaveWaitDlg::kShowMs + 100);
    Pump();
    platform::headless::InjectMouseMove(dlg.GetSafeHwnd(), p.x, p.y);
    Pump();
    platform::headless::InjectButton(dlg.GetSafeHwnd(), Button::Left, true, p.x, p.y);
    Pump();
    platform::headless::InjectButton(dlg.GetSafeHwnd(), Button::Left, false, p.x, p.y);
    Pump();
  }
  static void Click(DeviceMainDlg& dlg, UINT id) {
    MControl* control = dlg.GetPage(DeviceMainDlg::kSettingsPage)->GetControl(id);
    ASSERT_NE(control, nullptr) << id;
    ASSERT_TRUE(control->IsVisible()) << id;
    ClickAt(dlg, control->GetRect().CenterPoint());
  }
  static int Checked(DeviceMainDlg& dlg, UINT id) { return Control<CCheckButton>(dlg, id)->GetCheck(); }
  static std::wstring Stored(const wchar_t* name) {
    std::wstring text;
    return shell::ReadRegistryText(name, text) ? text : L"(none)";
  }
  static fs::path EntryFile() { return platform::AutostartEntry(shell::ApplicationName()).File(); }

  std::vector<std::wstring> boxes_;
  int answer_ = 1;
};

TEST_F(SettingsPageTest, TickingAndUntickingTheStartLeavesNoEntryAndNoMinimisedStart) {
  auto dlg = OpenSettings();
  ASSERT_FALSE(EntryFile().empty());
  ASSERT_FALSE(fs::exists(EntryFile()));
  EXPECT_EQ(Checked(*dlg, SettingsPage::kAutostart), 0);
  EXPECT_FALSE(Control<MControl>(*dlg, SettingsPage::kStartMinimised)->IsEnabled());

  Click(*dlg, SettingsPage::kAutostart);
  EXPECT_EQ(Checked(*dlg, SettingsPage::kAutostart), 1);
  ASSERT_TRUE(fs::exists(EntryFile()));
  const std::string entry = testenv::ReadFile(EntryFile());
  const std::string exec = "Exec=" + platform::AutostartEntry::ExecLine(
                                         platform::AutostartEntry::RunningExecutable().string());
  EXPECT_NE(entry.find(exec + "\n"), std::string::npos) << entry;
  EXPECT_NE(exec.find(" -autorun"), std::string::npos);
  EXPECT_TRUE(Control<MControl>(*dlg, SettingsPage::kStartMinimised)->IsEnabled());

  Click(*dlg, SettingsPage::kStartMinimised);
  EXPECT_EQ(Checked(*dlg, SettingsPage::kStartMinimised), 1);
  EXPECT_EQ(Stored(L"autorun_minimize"), L"1");

  Click(*dlg, SettingsPage::kAutostart);
  EXPECT_EQ(Checked(*dlg, SettingsPage::kAutostart), 0);
  EXPECT_FALSE(fs::exists(EntryFile()));
  EXPECT_EQ(Checked(*dlg, SettingsPage::kStartMinimised), 0);
  EXPECT_FALSE(Control<MControl>(*dlg, SettingsPage::kStartMinimised)->IsEnabled());
  EXPECT_EQ(Stored(L"autorun_minimize"), L"0");
}

TEST_F(SettingsPageTest, AStartThatCannotBeWrittenLeavesTheBoxUnticked) {
  // A plain file where the autostart folder belongs: no entry can be made.
  const fs::path folder = EntryFile().parent_path();
  fs::remove_all(folder);
  fs::create_directories(folder.parent_path());
  testenv::WriteFile(folder, "not a folder");
  auto dlg = OpenSettings();
  Click(*dlg, SettingsPage::kAutostart);
  EXPECT_EQ(Checked(*dlg, SettingsPage::kAutostart), 0);
  EXPECT_FALSE(Control<MControl>(*dlg, SettingsPage::kStartMinimised)->IsEnabled());
  EXPECT_TRUE(fs::is_regular_file(folder));
  fs::remove(folder);
}

TEST_F(SettingsPageTest, TheBuiltPageShowsTheStoredOptions) {
  struct Case {
    bool entry;
    const wchar_t* minimize;  // null: no value
    const wchar_t* exitMode;
    int autostart, minimised, minimisedEnabled, toTray;
  } cases[] = {
      {false, nullptr, nullptr, 0, 0, 0, 0},
      {true, L"1", L"1", 1, 1, 1, 1},
      {true, L"0", L"0", 1, 0, 1, 0},
      {true, nullptr, L"2", 1, 0, 1, 0},
      // Start minimised means nothing without the start itself.
      {false, L"1", L"1", 0, 0, 0, 1},
  };
  for (const Case& c : cases) {
    const platform::AutostartEntry entry(shell::ApplicationName());
    if (c.entry) {
      ASSERT_TRUE(entry.Create(platform::AutostartEntry::RunningExecutable()));
    } else {
      ASSERT_TRUE(entry.Remove());
    }
    shell::WriteRegistryText(L"autorun_minimize", c.minimize != nullptr ? c.minimize : L"");
    shell::WriteRegistryText(L"exit_mode", c.exitMode != nullptr ? c.exitMode : L"");
    auto dlg = Open(1);
    const std::string name = std::to_string(c.entry) + "/" + std::to_string(c.minimised) + "/" +
                             std::to_string(c.toTray);
    EXPECT_EQ(Checked(*dlg, SettingsPage::kAutostart), c.autostart) << name;
    EXPECT_EQ(Checked(*dlg, SettingsPage::kStartMinimised), c.minimised) << name;
    EXPECT_EQ(Control<MControl>(*dlg, SettingsPage::kStartMinimised)->IsEnabled(), c.minimisedEnabled) << name;
    EXPECT_EQ(Checked(*dlg, SettingsPage::kCloseToTray), c.toTray) << name;
    EXPECT_EQ(Checked(*dlg, SettingsPage::kCloseExits), 1 - c.toTray) << name;
  }
  ASSERT_TRUE(platform::AutostartEntry(shell::ApplicationName()).Remove());
}

TEST_F(SettingsPageTest, TheClosingChoiceIsStoredAndFollowed) {
  auto dlg = OpenSettings();
  struct Case {
    UINT radio;
    const wchar_t* stored;
  } cases[] = {{SettingsPage::kCloseToTray, L"1"}, {SettingsPage::kCloseExits, L"0"}, {SettingsPage::kCloseToTray, L"1"}};
  for (const Case& c : cases) {
    Click(*dlg, c.radio);
    EXPECT_EQ(Checked(*dlg, c.radio), 1);
    EXPECT_EQ(Stored(L"exit_mode"), c.stored);
  }
  // Closing now hides the window to the tray instead of quitting.
  host_.quitCodes.clear();
  ClickAt(*dlg, dlg->GetControl(DeviceMainDlg::kClose)->GetRect().CenterPoint());
  EXPECT_TRUE(host_.quitCodes.empty());
  EXPECT_FALSE(platform::IsWindowVisible(dlg->GetSafeHwnd()));
}

TEST_F(SettingsPageTest, FactoryRestoreAsksOnlyWithALinkedMouse) {
  const std::wstring notLinked = shell::GetText(576) + L"|" + shell::GetText(57) + L"|0";
  const std::wstring question = shell::GetText(570) + L"|" + shell::GetText(571) + L"|4";
  struct Case {
    const char* name;
    bool linked;
    int answer;
    UINT button;
    std::wstring box;
    int jobs;
  } cases[] = {
      {"not linked, device area", false, 1, SettingsPage::kDeviceRestore, notLinked, 0},
      {"not linked, program area", false, 1, SettingsPage::kRestore, notLinked, 0},
      {"linked, no", true, 2, SettingsPage::kDeviceRestore, question, 0},
      {"linked, yes", true, 1, SettingsPage::kRestore, question, 1},
  };
  for (const Case& c : cases) {
    auto dlg = OpenSettings();
    RunJobs(*dlg);
    dlg->Session().SetLinked(c.linked);
    boxes_.clear();
    answer_ = c.answer;
    const size_t queued = dlg->Worker().Jobs().Codes().size();
    Click(*dlg, c.button);
    ASSERT_EQ(boxes_.size(), 1u) << c.name;
    EXPECT_EQ(boxes_[0], c.box) << c.name;
    EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobFactoryRestore), c.jobs) << c.name;
    EXPECT_EQ(dlg->Worker().Jobs().Codes().size(), queued + size_t(c.jobs)) << c.name;
    EXPECT_EQ(dlg->GetSaveWait() != nullptr, c.jobs == 1) << c.name;
  }
}

TEST_F(SettingsPageTest, ARestoreReadsEveryMouseAgain) {
  for (const SimulatedModel& m : mice_) {
    if (m.cable_plug >= 0) bus_->Unplug(m.cable_plug);
  }
  // A settings database, so that the pick reads the mouse.
  testenv::FreshUserFolders home;
  ASSERT_TRUE(shell::CreateFolderPath(shell::DatabaseFolder()));
  SettingsStore store;
  store.SetDatabaseFolder(shell::DatabaseFolder());
  ui::DeviceMainOptions options;
  options.backend = bus_;
  options.clock = clock_;
  options.host = &host_;
  options.startWorker = false;
  options.store = &store;
  auto dlg = std::make_unique<DeviceMainDlg>(options);
  ASSERT_NE(dlg->CreateMain(1), nullptr);
  platform::SetActiveWindow(dlg->GetSafeHwnd());
  Pump();
  RunJobs(*dlg);
  Pick(*dlg, 1);
  RunJobs(*dlg);
  ASSERT_TRUE(dlg->Worker().Sequences().WasRead(1));
  ClickAt(*dlg, dlg->GetControl(DeviceMainDlg::kSettings)->GetRect().CenterPoint());
  dlg->Session().SetLinked(true);
  dlg->SetMessageBox([](const wchar_t*, HWND, const wchar_t*, int) { return 1; });
  Click(*dlg, SettingsPage::kRestore);
  EXPECT_FALSE(dlg->Worker().Sequences().WasRead(1));
  EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobFactoryRestore), 1);
}

TEST_F(SettingsPageTest, UpdateButtonsAndLinks) {
  auto dlg = OpenSettings();
  const Catalog& catalog = dlg->GetCatalog();
  ASSERT_TRUE(dlg->GetFirmwareUrl().empty());
  struct Case {
    UINT button;
    std::wstring box;      // empty: none
    std::wstring address;  // empty: none
  } cases[] = {
      {SettingsPage::kCheckUpdate, shell::GetText(552) + L"|" + shell::GetText(580) + L"|0", L""},
      {SettingsPage::kSoftwareUpdate, shell::GetText(552) + L"|" + shell::GetText(580) + L"|0", L""},
      {SettingsPage::kWebsite, L"", catalog.website},
      {SettingsPage::kFeedback, L"", catalog.feedback},
      {SettingsPage::kQuestion, L"", catalog.qa},
  };
  for (const Case& c : cases) {
    boxes_.clear();
    host_.addresses.clear();
    Click(*dlg, c.button);
    const std::vector<std::wstring> box = c.box.empty() ? std::vector<std::wstring>{} : std::vector{c.box};
    const std::vector<std::wstring> address =
        c.address.empty() ? std::vector<std::wstring>{} : std::vector{c.address};
    EXPECT_EQ(boxes_, box) << c.button;
    EXPECT_EQ(host_.addresses, address) << c.button;
  }
  EXPECT_FALSE(catalog.website.empty());

  // The firmware button: enabled by the update check; without a firmware
  // address it says so, with one it opens it.
  EXPECT_FALSE(Control<MControl>(*dlg, SettingsPage::kFirmwareUpdate)->IsEnabled());
  {
    ui::UpdateLines lines;
    lines.stateLine = L"v1.07";
    lines.updateButtonEnabled = true;
    dlg->GetDevicePage(DeviceMainDlg::kSettingsPage)->ShowUpdateLines(lines);
  }
  EXPECT_TRUE(Control<MControl>(*dlg, SettingsPage::kFirmwareUpdate)->IsEnabled());
  EXPECT_EQ(Control<MText>(*dlg, SettingsPage::kUpdateState)->GetTitle(), L"v1.07");
  boxes_.clear();
  host_.addresses.clear();
  Click(*dlg, SettingsPage::kFirmwareUpdate);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], shell::GetText(551) + L"|" + shell::GetText(580) + L"|0");
  EXPECT_TRUE(host_.addresses.empty());
}

TEST_F(SettingsPageTest, TheFirmwareButtonOpensTheModelsAddress) {
  auto dlg = Open(1);
  platform::SetActiveWindow(dlg->GetSafeHwnd());
  RunJobs(*dlg);
  Pick(*dlg, 2);
  ASSERT_FALSE(dlg->GetFirmwareUrl().empty());
  ClickAt(*dlg, dlg->GetControl(DeviceMainDlg::kSettings)->GetRect().CenterPoint());
  ui::UpdateLines lines;
  lines.updateButtonEnabled = true;
  dlg->GetDevicePage(DeviceMainDlg::kSettingsPage)->ShowUpdateLines(lines);
  int boxes = 0;
  dlg->SetMessageBox([&](const wchar_t*, HWND, const wchar_t*, int) { return ++boxes; });
  const size_t queued = dlg->Worker().Jobs().Codes().size();
  Click(*dlg, SettingsPage::kFirmwareUpdate);
  EXPECT_EQ(boxes, 0);
  ASSERT_EQ(host_.addresses.size(), 1u);
  EXPECT_EQ(host_.addresses[0], dlg->GetFirmwareUrl());
  // Nothing goes to the mouse.
  EXPECT_EQ(dlg->Worker().Jobs().Codes().size(), queued);
}

TEST_F(SettingsPageTest, FirmwareLineTakesTheFirstAndLastTwoHexDigits) {
  struct Case {
    int release;
    const wchar_t* version;
  } cases[] = {{0x0105, L"v1.05"}, {0x1234, L"v1.34"}, {0x0231, L"v2.31"}, {0, L"v0.0"}};
  for (const Case& c : cases) {
    EXPECT_EQ(SettingsPage::FirmwareLine(c.release), shell::GetText(551) + L": " + c.version) << c.release;
  }
  auto dlg = Open(1);
  dlg->ShowFirmwareVersion(0x0107);
  EXPECT_EQ(Control<MText>(*dlg, SettingsPage::kFirmwareLine)->GetTitle(), SettingsPage::FirmwareLine(0x0107));
}

TEST_F(SettingsPageTest, PickingEnglishSwitchesEveryTextWithoutARestart) {
  shell::SetLanguage(shell::kLangChineseSimplified);
  auto dlg = OpenSettings();
  const auto text = [](int language, int id) { return shell::GetLanguageText(language, id); };
  constexpr int zh = shell::kLangChineseSimplified, en = shell::kLangEnglish;
  MComboBox* languages = Control<MComboBox>(*dlg, SettingsPage::kLanguage);
  EXPECT_EQ(languages->GetCurData(), zh);
  EXPECT_EQ(Control<MText>(*dlg, SettingsPage::kCaption)->GetTitle(), text(zh, 76));
  EXPECT_EQ(host_.texts.quit, text(zh, 12));

  // Picked in the drop-down, as a user does.
  const int index = languages->FindData(en);
  ASSERT_GE(index, 0);
  Click(*dlg, SettingsPage::kLanguage);
  ASSERT_TRUE(languages->IsDropDownOpen());
  HWND drop = languages->GetDropDown()->GetSafeHwnd();
  const int y = MComboBox::kListPadding / 2 + index * MComboBox::kRowHeight + MComboBox::kRowHeight / 2;
  platform::headless::AdvanceTime(1000);
  platform::headless::InjectMouseMove(drop, 40, y);
  Pump();
  platform::headless::InjectClick(drop, 40, y);
  Pump();

  EXPECT_EQ(shell::CurrentLanguage(), en);
  EXPECT_EQ(shell::ReadRegistryInt(L"LCID"), en);
  EXPECT_EQ(shell::FontName(), L"Open Sans Semibold");
  EXPECT_EQ(Manager::GetFontName(), L"Open Sans Semibold");
  // This page, the window, the other pages and the tray menu.
  struct Shown {
    MControlFont* control;
    int id;
  } shown[] = {
      {Control<MControlFont>(*dlg, SettingsPage::kCaption), 76},
      {Control<MControlFont>(*dlg, SettingsPage::kLanguageLabel), 600},
      {Control<MControlFont>(*dlg, SettingsPage::kAutostart), 604},
      {Control<MControlFont>(*dlg, SettingsPage::kCloseExits), 609},
      {Control<MControlFont>(*dlg, SettingsPage::kWebsite), 3},
      {dynamic_cast<MControlFont*>(dlg->GetControl(DeviceMainDlg::kTitle)), 1},
      {dynamic_cast<MControlFont*>(dlg->GetPage(DeviceMainDlg::kLightPage)->GetControl(194)), 265},
  };
  for (const Shown& s : shown) {
    ASSERT_NE(s.control, nullptr) << s.id;
    EXPECT_EQ(s.control->GetTitle(), text(en, s.id)) << s.id;
    EXPECT_NE(text(en, s.id), text(zh, s.id)) << s.id;
    EXPECT_EQ(s.control->GetTextFont(), L"Open Sans Semibold") << s.id;
  }
  EXPECT_EQ(dlg->GetTabs()->GetItemText(0), text(en, 71));
  EXPECT_EQ(host_.texts.quit, text(en, 12));
  EXPECT_EQ(languages->GetCurData(), en);
}

TEST_F(SettingsPageTest, BackShowsThePageShownBefore) {
  auto dlg = Open(1);
  platform::SetActiveWindow(dlg->GetSafeHwnd());
  RunJobs(*dlg);
  Pick(*dlg, 2);
  const int tab = dlg->GetTabs()->GetSelectItem();
  ClickAt(*dlg, dlg->GetControl(DeviceMainDlg::kSettings)->GetRect().CenterPoint());
  ASSERT_TRUE(dlg->IsSettingsPageShown());
  EXPECT_FALSE(dlg->GetTabs()->IsVisible());
  Click(*dlg, SettingsPage::kBack);
  EXPECT_FALSE(dlg->IsSettingsPageShown());
  EXPECT_TRUE(dlg->GetTabs()->IsVisible());
  EXPECT_EQ(dlg->GetTabs()->GetSelectItem(), tab);
  EXPECT_TRUE(dlg->GetControl(DeviceMainDlg::kSettings)->IsVisible());
  // The tab's page shows again, the settings page's place is free.
  const std::pair<int, UINT> containers[] = {{2, DeviceMainDlg::kKeyPage}, {3, DeviceMainDlg::kDpiPage},
                                             {4, DeviceMainDlg::kMacroPage}, {5, DeviceMainDlg::kLightPage},
                                             {7, DeviceMainDlg::kPerformancePage}};
  int found = 0;
  for (const auto& [id, container] : containers) {
    if (int(dlg->GetTabs()->GetItemID(tab)) != id) continue;
    ++found;
    EXPECT_TRUE(dlg->GetPage(container)->IsVisible()) << id;
  }
  EXPECT_EQ(found, 1);
}

}  // namespace
}  // namespace ui_test
