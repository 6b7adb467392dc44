// The profile dialog: its list of profiles under their shown names, the
// in-place rename, and the reports it posts to its owner (1705) before it
// closes.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "MainWindowFixture.h"
#include "TestEnv.h"
#include "platform/Text.h"
#include "shell/DisplayNames.h"
#include "store/SettingsStore.h"
#include "toolkit/core/DListBox.h"
#include "toolkit/core/MControlFont.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/Notify.h"
#include "toolkit/core/TextEditor.h"
#include "ui/ProfileDlg.h"

namespace ui_test {
namespace {

using ui::ProfileDlg;

// Stands in for the main window: records the dialog's reports.
class Owner : public MDialog {
 public:
  HWND Open() { return Create(nullptr, L"owner", WS_POPUP, 0, CRect(0, 0, 800, 600)); }
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == ProfileDlg::kProfileCommand) {
      reports.emplace_back(int(wParam), int(lParam));
      return 1;
    }
    return MDialog::OnWindowMessage(msg, wParam, lParam);
  }
  std::vector<std::pair<int, int>> reports;
};

class ProfileDlgTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    savedFolder_ = SettingsStore::GetInstance().DatabaseFolder();
    SettingsStore::GetInstance().CloseDatabase();
    SettingsStore::GetInstance().SetDatabaseFolder(databases_.Path());
    main_ = Open(1);
    RunJobs(*main_);
    Pick(*main_, 2);
    // The read that a receiver's pick queues makes the model's profiles.
    main_->AppendJob(DeviceWorker::kJobReload);
    RunJobs(*main_);
    ASSERT_NE(owner_.Open(), nullptr);
    std::vector<ProfileRecord> profiles;
    ASSERT_GE(Store().ListProfiles(profiles), 4);
    for (const ProfileRecord& p : profiles) ids_.push_back(p.profile);
  }
  void TearDown() override {
    dialog_.reset();
    owner_.DestroyWindow();
    main_.reset();
    // The next tests find the store as it was.
    SettingsStore::GetInstance().CloseDatabase();
    SettingsStore::GetInstance().SetDatabaseFolder(savedFolder_);
  }

  SettingsStore& Store() { return main_->Store(); }

  ProfileDlg& OpenDialog(int profile) {
    names_ = shell::DisplayNames::FromInstalledLanguages();
    dialog_ = std::make_unique<ProfileDlg>(Store(), names_);
    EXPECT_NE(dialog_->CreateProfile(owner_.GetSafeHwnd(), CRect(100, 100, 250, 305), profile), nullptr);
    Pump();
    return *dialog_;
  }

  // Clicks a control of the dialog in its middle.
  void Click(MControl* control) {
    const CPoint c = control->GetRect().CenterPoint();
    platform::headless::AdvanceTime(1000);
    platform::headless::InjectMouseMove(dialog_->GetSafeHwnd(), c.x, c.y);
    platform::headless::InjectClick(dialog_->GetSafeHwnd(), c.x, c.y);
    Pump();
  }

  // Renames a row in place: opens the editor, puts the text in, closes it.
  void EditRow(int index, const wchar_t* text) {
    DUI::DListBox* list = dialog_->GetList();
    list->SetCurSel(index);
    ASSERT_EQ(list->ShowEdit(index), 1);
    list->GetEditor()->SetText(text);
    list->CloseEdit();
    Pump();
  }

  bool Closed() { return dialog_->GetSafeHwnd() == nullptr || !platform::IsWindow(dialog_->GetSafeHwnd()); }

  testenv::TempDir databases_;
  std::filesystem::path savedFolder_;
  std::unique_ptr<DeviceMainDlg> main_;
  Owner owner_;
  shell::DisplayNames names_;
  std::unique_ptr<ProfileDlg> dialog_;
  std::vector<int> ids_;
};

TEST_F(ProfileDlgTest, ListsTheProfilesUnderTheirShownNamesWithTheCurrentOneSelected) {
  ASSERT_TRUE(Store().RenameProfile(ids_[1], L"Office"));
  ASSERT_TRUE(Store().RenameProfile(ids_[2], L"Profile 3"));
  struct Case {
    int language;
  } cases[] = {{1033}, {2052}, {1041}};
  for (const Case& c : cases) {
    shell::SetLanguage(c.language);
    ProfileDlg& dlg = OpenDialog(ids_[2]);
    DUI::DListBox* list = dlg.GetList();
    ASSERT_EQ(list->GetItemCount(), int(ids_.size()));
    EXPECT_EQ(std::wstring(list->GetItemText(1).c_str()), L"Office") << c.language;
    EXPECT_EQ(std::wstring(list->GetItemText(2).c_str()), shell::GetText(61) + L" 3") << c.language;
    EXPECT_EQ(list->GetItemData(2), ids_[2]);
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(std::wstring(dlg.GetImportButton()->GetTitle().c_str()), shell::GetText(26));
    EXPECT_EQ(std::wstring(dlg.GetExportButton()->GetTitle().c_str()), shell::GetText(27));
    dialog_->DestroyWindow();
  }
  shell::SetLanguage(1033);
}

TEST_F(ProfileDlgTest, AnUnchangedOrEmptyEditRenamesNothing) {
  ProfileDlg& dlg = OpenDialog(ids_[0]);
  std::wstring before;
  ASSERT_TRUE(Store().GetProfileName(ids_[1], before));
  const std::wstring shown = dlg.GetList()->GetItemText(1).c_str();
  for (const wchar_t* text : {L"", shown.c_str()}) {
    EditRow(1, text);
    std::wstring after;
    Store().GetProfileName(ids_[1], after);
    EXPECT_EQ(after, before) << "edit \"" << platform::ToUtf8(text) << "\"";
    EXPECT_EQ(std::wstring(dlg.GetList()->GetItemText(1).c_str()), shown);
    EXPECT_FALSE(dlg.NameChanged());
  }
  // Deactivation without a rename closes with no report.
  dlg.SendMessageW(WM_NCACTIVATE, 0, 0);
  Pump();
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(owner_.reports.empty());
}

TEST_F(ProfileDlgTest, AfterARenameImportAndExportReportTheRenamedProfileFirst) {
  struct Case {
    bool import;
    int command;
    const wchar_t* name;
  } cases[] = {{true, 1, L"Shooter"}, {false, 2, L"Strategy"}};
  for (const Case& c : cases) {
    owner_.reports.clear();
    ProfileDlg& dlg = OpenDialog(ids_[0]);
    EditRow(2, c.name);
    std::wstring stored;
    Store().GetProfileName(ids_[2], stored);
    EXPECT_EQ(stored, c.name);
    EXPECT_TRUE(dlg.NameChanged());
    // The selection moves to the first row before the button is pressed.
    dlg.GetList()->SetCurSel(0);
    Click(c.import ? dlg.GetImportButton() : dlg.GetExportButton());
    EXPECT_TRUE(Closed());
    const std::vector<std::pair<int, int>> expected = {{0, ids_[2]}, {c.command, ids_[0]}};
    EXPECT_EQ(owner_.reports, expected) << "command " << c.command;
  }
}

TEST_F(ProfileDlgTest, ClickingAProfileReportsItAndClosing) {
  ProfileDlg& dlg = OpenDialog(ids_[0]);
  // The row under the middle of the list, read before the click closes the
  // dialog and takes its controls with it.
  DUI::DListBox* list = dlg.GetList();
  const CPoint middle = list->GetRect().CenterPoint();
  int chosen = 0;
  for (int i = 0; i < list->GetItemCount(); ++i) {
    if (list->ContentToWindow(list->GetItemRect(i)).PtInRect(middle)) chosen = int(list->GetItemData(i));
  }
  ASSERT_GT(chosen, 0);
  ASSERT_NE(chosen, ids_[0]) << "the middle row is another profile than the current one";
  Click(list);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(owner_.reports, (std::vector<std::pair<int, int>>{{0, chosen}}));
}

TEST_F(ProfileDlgTest, RenamingThenLosingTheActivationSwitchesTheWindowToThatProfile) {
  ProfileDlg& dlg = OpenDialog(ids_[0]);
  EditRow(3, L"Racing");
  dlg.SendMessageW(WM_NCACTIVATE, 0, 0);
  Pump();
  EXPECT_TRUE(Closed());
  ASSERT_EQ(owner_.reports, (std::vector<std::pair<int, int>>{{0, ids_[3]}}));

  // The main window acts on the report: it switches, shows the name and
  // writes the profile to the mouse.
  main_->PostMessageW(ProfileDlg::kProfileCommand, 0, ids_[3]);
  Pump();
  EXPECT_EQ(main_->GetCurrentProfile(), ids_[3]);
  EXPECT_EQ(main_->ProfileLabel(), L"Racing");
  EXPECT_EQ(CountJobs(*main_, DeviceWorker::kJobWriteProfile), 1);
}

TEST_F(ProfileDlgTest, TheProfileButtonShowsADefaultNameInTheCurrentLanguage) {
  MControl* button = main_->GetControl(DeviceMainDlg::kProfileButton);
  ASSERT_NE(button, nullptr);
  const auto shown = [&] { return std::wstring(dynamic_cast<MControlFont*>(button)->GetTitle()); };
  std::wstring stored;
  ASSERT_TRUE(Store().GetProfileName(ids_[1], stored));
  main_->PostMessageW(ProfileDlg::kProfileCommand, 0, ids_[1]);
  Pump();
  ASSERT_EQ(shown(), stored);
  const std::wstring number = stored.substr(stored.rfind(L' '));

  // Another language re-forms the default name, on the refresh and on the
  // next switch alike; the stored name stays.
  shell::SetLanguage(shell::kLangChineseSimplified);
  ASSERT_NE(shell::GetText(61), stored.substr(0, stored.rfind(L' ')));
  main_->PostMessageW(DeviceMainDlg::kRefreshTexts, 0, 0);
  Pump();
  EXPECT_EQ(shown(), shell::GetText(61) + number);
  main_->PostMessageW(ProfileDlg::kProfileCommand, 0, ids_[0]);
  main_->PostMessageW(ProfileDlg::kProfileCommand, 0, ids_[1]);
  Pump();
  EXPECT_EQ(shown(), shell::GetText(61) + number);
  std::wstring after;
  ASSERT_TRUE(Store().GetProfileName(ids_[1], after));
  EXPECT_EQ(after, stored);

  // A name the user gave stays as typed.
  ASSERT_TRUE(Store().RenameProfile(ids_[1], L"Racing 2"));
  main_->PostMessageW(ProfileDlg::kProfileCommand, 0, ids_[1]);
  Pump();
  EXPECT_EQ(shown(), L"Racing 2");
  shell::SetLanguage(shell::kLangEnglish);
}

}  // namespace
}  // namespace ui_test
