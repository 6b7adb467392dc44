// The main window's notices against the simulated mice: the DPI message
// after the mouse's own DPI button (virtual clock and toolkit clock), the
// firmware check against a local HTTP server with the question, job 27 and
// the update tip, the About window's firmware, the animation timer that
// runs only while something moves, and the caption's demo word.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "LocalHttpServer.h"
#include "MainWindowFixture.h"
#include "platform/Text.h"
#include "store/SettingsStore.h"
#include "toolkit/core/MText.h"
#include "ui/DPIMsgDlg.h"
#include "ui/UpdateNotice.h"
#include "ui/UpdateTipDlg.h"

namespace ui_test {
namespace {

using namespace std::chrono_literals;
using services_test::HttpScript;
using services_test::LocalHttpServer;

class MainWindowNoticesTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // The test server is local; a proxy from the environment must not see it.
    ::setenv("no_proxy", "127.0.0.1,localhost", 1);
    ::setenv("NO_PROXY", "127.0.0.1,localhost", 1);
  }

  static void Advance(uint32_t ms) {
    platform::headless::AdvanceTime(ms);
    Pump();
  }

};

// --- DPI message -------------------------------------------------------------------------

TEST_F(MainWindowNoticesTest, TheMousesDpiButtonSelectsTheStageAndShowsTheDpiForTwoSeconds) {
  OnlyFirstCableMouse(0x0130);
  auto dlg = OpenWindow();
  RunJobs(*dlg);
  ASSERT_EQ(dlg->GetCurrentDeviceType(), cableType_);
  ASSERT_EQ(dlg->GetShowDpiTips(), 1);
  ui::DPIMsgDlg* msg = dlg->GetDpiMessage();
  ASSERT_NE(msg, nullptr);
  EXPECT_FALSE(msg->IsWindowVisible()) << "created hidden";
  SettingsStore& store = dlg->Store();
  const int profile = dlg->GetCurrentProfile();
  const int mouse = Model(cableType_).mouse;
  const int count = store.GetConfigInt(profile, L"dpi_count");
  ASSERT_GE(count, 3);

  const int first = store.GetConfigInt(profile, L"dpi_index");
  // Each press: the mouse sends 0xD2 with the new stage; the worker's poll
  // takes it. Then time passes on the toolkit clock.
  struct Step {
    int stage;         // steps on from the first stage; -1: no press
    uint32_t advance;  // after the press
    bool visible;
  } steps[] = {
      {1, 0, true},     {-1, 1500, true}, {2, 0, true},    // a second stage 1.5 s later
      {-1, 1999, true}, {-1, 1, false},                    // 2 s after the second
      {-1, 5000, false},
  };
  int lastStage = -1;
  for (const Step& s : steps) {
    if (s.stage >= 0) {
      const int stage = (first + s.stage) % count;
      bus_->PressDpiButton(mouse, stage);
      dlg->Worker().Step();  // nothing queued: the poll
      Pump();
      lastStage = stage;
      EXPECT_EQ(store.GetConfigInt(profile, L"dpi_index"), stage);
      EXPECT_EQ(bus_->Firmware(mouse).settings.dpi_index, stage);
      EXPECT_EQ(msg->GetValue(), store.GetConfigInt(profile, L"dpi_group" + std::to_wstring(stage) + L"_value"));
      EXPECT_EQ(std::wstring(msg->GetValueArea()->GetTitle()), std::to_wstring(msg->GetValue()));
    }
    Advance(s.advance);
    EXPECT_EQ(msg->IsWindowVisible() != 0, s.visible) << "stage " << s.stage << ", then " << s.advance << " ms";
  }
  EXPECT_EQ(lastStage, (first + 2) % count);
  EXPECT_GT(msg->GetValue(), 0);
  // Never the active window: the main window keeps the keyboard.
  EXPECT_NE(platform::GetActiveWindow(), msg->GetSafeHwnd());
}

// --- Firmware check ---------------------------------------------------------------------------

TEST_F(MainWindowNoticesTest, ANewerServerVersionIsOfferedAndAnOlderOrEqualOneIsNot) {
  const std::wstring latest = shell::GetText(582), upToDate = shell::GetText(580);
  struct Case {
    const char* reply;
    bool offered;
    int state;
    std::wstring stateLine;
    bool buttonEnabled;
  } cases[] = {
      {"131", true, 1, latest + L": V1.31", true},
      {"130", false, 2, upToDate, false},
      {"129", false, 2, upToDate, false},
  };
  for (const Case& c : cases) {
    OnlyFirstCableMouse(0x0130);
    LocalHttpServer server(HttpScript{200, c.reply});
    auto dlg = OpenWindow(server.Address());
    std::vector<std::wstring> questions;
    dlg->SetMessageBox([&](const wchar_t* text, HWND, const wchar_t* title, int kind) {
      questions.push_back(text);
      EXPECT_EQ(std::wstring(title), shell::GetText(551));
      EXPECT_EQ(kind, 4);  // yes/no
      return 2;            // no
    });
    RunJobs(*dlg);
    EXPECT_EQ(dlg->GetUpdateLines().firmwareLine, shell::GetText(551) + L": V1.30") << c.reply;
    dlg->GetUpdateNotice().WaitForCheck();
    Pump();  // the lines, then message 1692
    Pump();
    EXPECT_EQ(dlg->GetUpdateLines().updateState, c.state) << c.reply;
    EXPECT_EQ(dlg->GetUpdateLines().stateLine, c.stateLine) << c.reply;
    EXPECT_EQ(dlg->GetUpdateLines().updateButtonEnabled, c.buttonEnabled) << c.reply;
    if (c.offered) {
      ASSERT_EQ(questions.size(), 1u) << c.reply;
      EXPECT_EQ(questions[0], latest + L":V1.31, " + shell::GetText(583));
    } else {
      EXPECT_TRUE(questions.empty()) << c.reply;
    }
    // "No" queues nothing.
    EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobCloseUpdateTip), 0) << c.reply;
    ASSERT_EQ(server.RequestLines().size(), 1u) << c.reply;
    EXPECT_EQ(server.RequestLines()[0], "GET /mouse/version HTTP/1.1");
    dlg.reset();
    // The next case plugs its own mouse again.
    PlugCatalogMice();
  }
}

TEST_F(MainWindowNoticesTest, YesQueuesJob27WhichEndsTheUpdateTip) {
  OnlyFirstCableMouse(0x0130);
  LocalHttpServer server(HttpScript{200, "131"});
  auto dlg = OpenWindow(server.Address());
  bool tipShown = false;
  std::vector<int> jobsWhileUp;
  dlg->SetMessageBox([&](const wchar_t*, HWND, const wchar_t*, int) {
    // Runs inside the tip's modal loop: the worker's turn comes while the
    // tip is up, as it does on the worker thread.
    dlg->PostTask([&] {
      tipShown = dlg->GetUpdateTip() != nullptr && dlg->GetUpdateTip()->IsOpen() &&
                 platform::FindWindow(L"UpdateTipDlg") != nullptr;
      jobsWhileUp = dlg->Worker().Jobs().Codes();
      while (!dlg->Worker().Jobs().Empty()) dlg->Worker().Step();
    });
    return 1;  // yes
  });
  RunJobs(*dlg);
  dlg->GetUpdateNotice().WaitForCheck();
  Pump();
  Pump();
  EXPECT_TRUE(tipShown);
  EXPECT_EQ(jobsWhileUp, std::vector<int>{DeviceWorker::kJobCloseUpdateTip});
  ASSERT_NE(dlg->GetUpdateTip(), nullptr);
  EXPECT_FALSE(dlg->GetUpdateTip()->IsOpen());
  // The job's two pauses went through the virtual clock.
  int pauses = 0;
  for (int ms : clock_->Pauses()) pauses += ms == DeviceWorker::kUpdateTipPauseMs ? 1 : 0;
  EXPECT_GE(pauses, 2);
}

TEST_F(MainWindowNoticesTest, ASilentUpdateServerHoldsNeitherTheWorkerNorTheWindow) {
  OnlyFirstCableMouse(0x0130);
  LocalHttpServer server(HttpScript{200, "", true, true});
  auto dlg = OpenWindow(server.Address());
  int questions = 0;
  dlg->SetMessageBox([&](const wchar_t*, HWND, const wchar_t*, int) { return ++questions, 2; });
  // The connect asks the server; a write queued behind it runs next, while
  // the question is still open on the notice's thread.
  dlg->AppendJob(DeviceWorker::kJobDpiStages);
  ASSERT_EQ(dlg->Worker().Jobs().Codes(), (std::vector<int>{DeviceWorker::kJobStart, DeviceWorker::kJobDpiStages}));
  dlg->Worker().Step();
  Pump();
  bus_->ClearRecord();
  dlg->Worker().Step();
  EXPECT_TRUE(dlg->Worker().Jobs().Empty());
  const auto requests = bus_->Requests(cablePlug_);
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back()[1], 0x03);  // the DPI stages went out
  EXPECT_TRUE(server.RequestLines().empty() || dlg->GetUpdateLines().updateState == 0);
  dlg->GetUpdateNotice().WaitForCheck();
  Pump();
  // No answer: nothing offered, the state line as the version left it.
  EXPECT_EQ(questions, 0);
  EXPECT_EQ(dlg->GetUpdateLines().updateState, 0);
  EXPECT_EQ(dlg->GetUpdateLines().stateLine, shell::GetText(580));
}

// --- About, animation timer, caption --------------------------------------------------------

TEST_F(MainWindowNoticesTest, TheAboutWindowGetsTheCableMousesRelease) {
  OnlyFirstCableMouse(0x0231);
  auto dlg = Open(1);
  RunJobs(*dlg);
  EXPECT_EQ(dlg->GetCableRelease(), 0x0231);
  dlg->PostMessageW(WM_COMMAND, DeviceMainDlg::kCommandAbout, 0);
  Pump();
  EXPECT_EQ(host_.abouts, 1);
}

TEST_F(MainWindowNoticesTest, TheAnimationTimerRunsOnlyWhileTheBatteryCharges) {
  auto dlg = Open(1);
  RunJobs(*dlg);
  struct Case {
    int level, charging;
    bool running;
  } cases[] = {{80, 0, false}, {80, 1, true}, {90, 1, true}, {90, 0, false}, {100, 100, true}, {100, 0, false}};
  for (const Case& c : cases) {
    dlg->SetBatteryInfo(c.level, c.charging);
    Pump();
    EXPECT_EQ(dlg->IsAnimationTimerRunning(), c.running) << c.level << " " << c.charging;
    EXPECT_EQ(dlg->GetPaintManager()->GetTimerCount() > 0, c.running) << c.level << " " << c.charging;
  }
}

TEST_F(MainWindowNoticesTest, TheDemoWordInTheCaptionFollowsTheLanguage) {
  auto demo = OpenDemo();
  auto* title = dynamic_cast<DUI::MText*>(demo->GetControl(DeviceMainDlg::kTitle));
  ASSERT_NE(title, nullptr);
  for (int language : {1033, 2052, 1041, 1058}) {
    shell::SetLanguage(language);
    demo->RefreshTexts();
    const std::wstring word = shell::GetText(614);
    ASSERT_FALSE(word.empty()) << language;
    EXPECT_EQ(std::wstring(title->GetTitle()), shell::GetText(1) + L" · " + word) << language;
  }
  shell::SetLanguage(1033);
}

}  // namespace
}  // namespace ui_test
