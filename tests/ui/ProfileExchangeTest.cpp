// The main window's profile export and import through the file dialog: the
// dialog runs on its own thread while the window keeps answering, cancel
// does nothing, the save dialog adds ".xml" and asks before replacing, a
// desktop without a file dialog gets a message, and an import ends with job 5.

#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <optional>
#include <thread>

#include "MainWindowFixture.h"
#include "TestEnv.h"
#include "platform/filechooser/ScriptedFileChooser.h"
#include "store/SettingsStore.h"
#include "ui/ProfileExchange.h"

namespace ui_test {
namespace {

using platform::FileDialogRequest;
using platform::FileDialogResult;

// A dialog that stays open until the test answers it.
class HeldChooser : public platform::FileChooser {
 public:
  FileDialogResult OpenFile(const FileDialogRequest&) override { return Wait(); }
  FileDialogResult SaveFile(const FileDialogRequest&) override { return Wait(); }
  void Answer(FileDialogResult result) { answer_.set_value(std::move(result)); }
  bool Asked() const { return asked_.load(); }

 private:
  FileDialogResult Wait() {
    asked_.store(true);
    return answer_.get_future().get();
  }
  std::promise<FileDialogResult> answer_;
  std::atomic<bool> asked_{false};
};

// The desktop without a portal.
class NoPortal : public platform::FileChooser {
 public:
  FileDialogResult OpenFile(const FileDialogRequest&) override { return Missing(); }
  FileDialogResult SaveFile(const FileDialogRequest&) override { return Missing(); }

 private:
  static FileDialogResult Missing() {
    FileDialogResult r;
    r.status = FileDialogResult::Status::Unavailable;
    r.message = L"org.freedesktop.portal.Desktop is not on the bus";
    return r;
  }
};

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class ProfileExchangeTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    savedFolder_ = SettingsStore::GetInstance().DatabaseFolder();
    SettingsStore::GetInstance().CloseDatabase();
    SettingsStore::GetInstance().SetDatabaseFolder(databases_.Path());
    dlg_ = Open(1);
    RunJobs(*dlg_);
    Pick(*dlg_, 1);
    dlg_->AppendJob(DeviceWorker::kJobReload);
    RunJobs(*dlg_);
    ASSERT_TRUE(dlg_->Worker().Jobs().Empty());
    dlg_->SetMessageBox([this](const wchar_t* text, HWND, const wchar_t* title, int kind) {
      boxes_.push_back(std::wstring(title) + L"|" + text + L"|" + std::to_wstring(kind));
      return answer_;
    });
  }
  void TearDown() override {
    dlg_.reset();
    platform::FileChooser::SetCurrent(nullptr);
    // The next tests find the store as it was.
    SettingsStore::GetInstance().CloseDatabase();
    SettingsStore::GetInstance().SetDatabaseFolder(savedFolder_);
  }

  // Pumps the window until the dialog's thread has answered and the window
  // has acted on the answer.
  void WaitForDialog() {
    Pump();  // the window takes the command and opens the dialog
    for (long guard = 0; guard < 10'000'000 && dlg_->Exchange().DialogOpen(); ++guard) {
      Pump();
      std::this_thread::yield();
    }
    ASSERT_FALSE(dlg_->Exchange().DialogOpen());
    Pump();
  }

  std::wstring StoredName() {
    std::wstring name;
    dlg_->Store().GetProfileName(dlg_->GetCurrentProfile(), name);
    return name;
  }

  testenv::TempDir databases_;
  std::filesystem::path savedFolder_;
  testenv::TempDir files_;
  std::unique_ptr<DeviceMainDlg> dlg_;
  std::vector<std::wstring> boxes_;
  int answer_ = 1;
};

TEST_F(ProfileExchangeTest, CancelledDialogsDoNothing) {
  platform::ScriptedFileChooser chooser;
  platform::FileChooser::SetCurrent(&chooser);
  const std::wstring name = StoredName();
  for (DUI::WPARAM command : {DUI::WPARAM(1), DUI::WPARAM(2)}) {
    chooser.Answer(std::nullopt);
    dlg_->PostMessageW(DeviceMainDlg::kProfileCommand, command, dlg_->GetCurrentProfile());
    Pump();
    WaitForDialog();
  }
  ASSERT_EQ(chooser.Requests().size(), 2u);
  EXPECT_FALSE(chooser.Requests()[0].save);
  EXPECT_EQ(chooser.Requests()[0].request.filter.description, L"MouseKey (*.xml)");
  EXPECT_TRUE(chooser.Requests()[1].save);
  EXPECT_EQ(chooser.Requests()[1].request.filter.description, L"Profile (*.xml)");
  EXPECT_EQ(chooser.Requests()[1].request.filter.pattern, L"*.xml");
  EXPECT_TRUE(boxes_.empty());
  EXPECT_TRUE(dlg_->Worker().Jobs().Empty());
  EXPECT_EQ(StoredName(), name);
  EXPECT_TRUE(dlg_->IsWindowEnabled());
  EXPECT_TRUE(std::filesystem::is_empty(files_.Path()));
}

TEST_F(ProfileExchangeTest, ExportAddsXmlAndAsksBeforeReplacingAFile) {
  platform::ScriptedFileChooser chooser;
  platform::FileChooser::SetCurrent(&chooser);
  const auto chosen = files_.Path() / "Game";
  const auto written = files_.Path() / "Game.xml";

  chooser.Answer(chosen);
  dlg_->PostMessageW(DeviceMainDlg::kProfileCommand, 2, 0);
  WaitForDialog();
  ASSERT_TRUE(std::filesystem::exists(written));
  EXPECT_FALSE(std::filesystem::exists(chosen));
  EXPECT_TRUE(boxes_.empty());
  EXPECT_NE(ReadAll(written).find("<profile>"), std::string::npos);

  // The file exists now: the user is asked, and "no" keeps it.
  std::ofstream(written, std::ios::trunc) << "keep me";
  struct Case {
    int answer;
    bool replaced;
  } cases[] = {{2, false}, {1, true}};
  for (const Case& c : cases) {
    boxes_.clear();
    answer_ = c.answer;
    chooser.Answer(chosen);
    dlg_->PostMessageW(DeviceMainDlg::kProfileCommand, 2, 0);
    WaitForDialog();
    ASSERT_EQ(boxes_.size(), 1u) << c.answer;
    EXPECT_EQ(boxes_[0], shell::GetText(576) + L"|Game.xml" + shell::GetText(591).substr(2) + L"|4");
    EXPECT_EQ(ReadAll(written) == "keep me", !c.replaced) << c.answer;
  }
}

TEST_F(ProfileExchangeTest, ImportRenamesTheProfileAfterTheFileAndEndsWithJob5) {
  platform::ScriptedFileChooser chooser;
  platform::FileChooser::SetCurrent(&chooser);
  const auto file = files_.Path() / "Office.xml";
  ASSERT_TRUE(dlg_->Exchange().ExportProfile(file, nullptr));
  ASSERT_NE(StoredName(), L"Office");

  chooser.Answer(file);
  dlg_->PostMessageW(DeviceMainDlg::kProfileCommand, 1, 0);
  WaitForDialog();
  EXPECT_EQ(StoredName(), L"Office");
  EXPECT_EQ(dlg_->ProfileLabel(), L"Office");
  EXPECT_EQ(dlg_->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobWriteProfile});
  EXPECT_TRUE(boxes_.empty());

  // A file that is not a profile is refused: nothing changes, nothing is sent.
  RunJobs(*dlg_);
  const auto bad = files_.Path() / "Broken.xml";
  std::ofstream(bad) << "<macro></macro>";
  chooser.Answer(bad);
  dlg_->PostMessageW(DeviceMainDlg::kProfileCommand, 1, 0);
  WaitForDialog();
  EXPECT_EQ(StoredName(), L"Office");
  EXPECT_TRUE(dlg_->Worker().Jobs().Empty());
}

TEST_F(ProfileExchangeTest, WithoutAPortalTheUserIsToldSo) {
  NoPortal chooser;
  platform::FileChooser::SetCurrent(&chooser);
  for (DUI::WPARAM command : {DUI::WPARAM(1), DUI::WPARAM(2)}) {
    boxes_.clear();
    dlg_->PostMessageW(DeviceMainDlg::kProfileCommand, command, 0);
    WaitForDialog();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], shell::GetText(576) + L"|" + shell::GetText(590) + L"|0");
  }
  EXPECT_TRUE(dlg_->Worker().Jobs().Empty());
}

TEST_F(ProfileExchangeTest, TheWindowKeepsAnsweringButTakesNoInputWhileTheDialogIsOpen) {
  HeldChooser chooser;
  platform::FileChooser::SetCurrent(&chooser);
  dlg_->PostMessageW(DeviceMainDlg::kProfileCommand, 2, 0);
  Pump();
  for (long guard = 0; guard < 10'000'000 && !chooser.Asked(); ++guard) std::this_thread::yield();
  ASSERT_TRUE(chooser.Asked());
  ASSERT_TRUE(dlg_->Exchange().DialogOpen());

  // The window thread is free: its queue runs and it paints.
  bool ran = false;
  dlg_->PostTask([&] { ran = true; });
  Pump();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(dlg_->IsWindowEnabled());
  // A click on the profile button reaches nothing.
  int dialogs = 0;
  dlg_->SetProfileDialog([&](DUI::CRect, int) { ++dialogs; });
  dlg_->Session().SetLinked(true);
  const DUI::CPoint p = dlg_->GetControl(DeviceMainDlg::kProfileButton)->GetRect().CenterPoint();
  platform::headless::AdvanceTime(1000);
  platform::headless::InjectMouseMove(dlg_->GetSafeHwnd(), p.x, p.y);
  platform::headless::InjectClick(dlg_->GetSafeHwnd(), p.x, p.y);
  Pump();
  EXPECT_EQ(dialogs, 0);
  // A second export while the first is open starts no second dialog.
  EXPECT_FALSE(dlg_->Exchange().StartExport());

  FileDialogResult cancelled;
  chooser.Answer(cancelled);
  WaitForDialog();
  EXPECT_TRUE(dlg_->IsWindowEnabled());
  platform::headless::AdvanceTime(1000);
  platform::headless::InjectClick(dlg_->GetSafeHwnd(), p.x, p.y);
  Pump();
  EXPECT_EQ(dialogs, 1);
}

}  // namespace
}  // namespace ui_test
