// DeviceMainDlg on the headless window system against the simulated mice
// (virtual clock): the hidden start, closing and quitting, the public
// messages, device selection and the model load, the tab strip per model,
// the profile button without a link, routing by the owning page, and the
// text refresh after a language change. The worker thread is not started:
// each test runs the jobs itself, so the relay's tasks are pumped in order.

#include <future>
#include <chrono>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "catalog/Catalog.h"
#include "device/Clock.h"
#include "device/DeviceManager.h"
#include "device/DeviceObserverRelay.h"
#include "device/DeviceSession.h"
#include "device/DeviceWorker.h"
#include "device/simulator/SimulatedCatalog.h"
#include "device/simulator/SimulatedHid.h"
#include "shell/Environment.h"
#include "shell/Localisation.h"
#include "toolkit/controls/CDeviceList.h"
#include "toolkit/controls/CDeviceState.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MTabCtrl.h"
#include "toolkit/core/MText.h"
#include "ui/DeviceMainDlg.h"
#include "ui/SaveWaitDlg.h"

namespace ui_test {
namespace {

using ui::DeviceMainDlg;

class DeviceMainDlgTest : public MainWindowTest {};

TEST_F(DeviceMainDlgTest, HiddenStartShowsNothingUntilTheTrayIsClicked) {
  auto dlg = Open(0);
  EXPECT_FALSE(dlg->IsWindowVisible());
  EXPECT_TRUE(host_.TrayShown());
  EXPECT_EQ(host_.adds, 1);
  // Other tray events do not bring it up; a click and a double click do.
  dlg->SendMessageW(DeviceMainDlg::kTrayMessage, 0, WM_RBUTTONUP);
  EXPECT_FALSE(dlg->IsWindowVisible());
  dlg->SendMessageW(DeviceMainDlg::kTrayMessage, 0, WM_LBUTTONDOWN);
  Pump();
  EXPECT_TRUE(dlg->IsWindowVisible());
  dlg->ShowWindow(SW_HIDE);
  dlg->SendMessageW(DeviceMainDlg::kTrayMessage, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(dlg->IsWindowVisible());

  // A plain start shows the window, centred on the work area.
  auto shown = Open(1);
  EXPECT_TRUE(shown->IsWindowVisible());
  const DUI::CRect r = shown->GetWindowRect();
  EXPECT_EQ(r.Width(), DeviceMainDlg::kWidth);
  EXPECT_EQ(r.Height(), DeviceMainDlg::kHeight);
}

TEST_F(DeviceMainDlgTest, CloseHidesWithExitModeOneAndOtherwiseQuits) {
  struct Case {
    const char* name;
    const wchar_t* exitMode;
    bool viaWindowManager;
    bool quits;
  } cases[] = {
      {"exit mode 1, close button", L"1", false, false},
      {"exit mode 1, window manager", L"1", true, false},
      {"exit mode 0", L"0", false, true},
      {"exit mode empty", L"", false, true},
      {"exit mode unreadable text", L"tray", false, true},
      {"exit mode 0, window manager", L"0", true, true},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(shell::WriteRegistryText(L"exit_mode", c.exitMode));
    host_.quitCodes.clear();
    auto dlg = Open(1);
    ASSERT_TRUE(host_.TrayShown()) << c.name;
    if (c.viaWindowManager) {
      platform::headless::InjectCloseRequest(dlg->GetSafeHwnd());
    } else {
      const DUI::CPoint p = dlg->GetControl(DeviceMainDlg::kClose)->GetRect().CenterPoint();
      platform::headless::AdvanceTime(1000);
      platform::headless::InjectMouseMove(dlg->GetSafeHwnd(), p.x, p.y);
      platform::headless::InjectClick(dlg->GetSafeHwnd(), p.x, p.y);
    }
    Pump();
    if (c.quits) {
      EXPECT_EQ(host_.quitCodes, std::vector<int>{0}) << c.name;
      EXPECT_FALSE(host_.TrayShown()) << c.name << ": the tray icon outlived the quit";
    } else {
      EXPECT_TRUE(host_.quitCodes.empty()) << c.name;
      EXPECT_FALSE(dlg->IsWindowVisible()) << c.name;
      EXPECT_TRUE(host_.TrayShown()) << c.name;
    }
  }
}

TEST_F(DeviceMainDlgTest, PublicAndTrayMessagesQuitOnlyWhenAskedExactly) {
  struct Case {
    const char* name;
    DUI::UINT msg;
    DUI::WPARAM wParam;
    DUI::LPARAM lParam;
    bool quits;
    int abouts;
  } cases[] = {
      {"1691 with 610", DeviceMainDlg::kQuitMessage, 0, 610, true, 0},
      {"1691 with 609", DeviceMainDlg::kQuitMessage, 0, 609, false, 0},
      {"1691 with 0", DeviceMainDlg::kQuitMessage, 610, 0, false, 0},
      {"tray quit (100)", WM_COMMAND, 100, 0, true, 0},
      {"tray About (102)", WM_COMMAND, 102, 0, false, 1},
      {"other command", WM_COMMAND, 101, 0, false, 0},
  };
  for (const Case& c : cases) {
    host_.quitCodes.clear();
    host_.abouts = 0;
    auto dlg = Open(1);
    dlg->PostMessageW(c.msg, c.wParam, c.lParam);
    Pump();
    EXPECT_EQ(host_.quitCodes.size(), c.quits ? 1u : 0u) << c.name;
    EXPECT_EQ(host_.TrayShown(), !c.quits) << c.name;
    EXPECT_EQ(host_.abouts, c.abouts) << c.name;
  }
}

TEST_F(DeviceMainDlgTest, StartReadsTheCatalogAndTheFirstScanListsTheMice) {
  auto dlg = Open(1);
  EXPECT_EQ(shell::ReadRegistryInt(L"DeviceType"), 101);
  EXPECT_EQ(dlg->Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobStart});
  EXPECT_EQ(dlg->GetDeviceList()->GetItemCount(), int(dlg->GetCatalog().models.size()));
  RunJobs(*dlg);
  EXPECT_EQ(dlg->GetDeviceList()->GetOnlineDevCount(), int(mice_.size()));
  EXPECT_TRUE(dlg->GetDeviceList()->IsVisible());
  EXPECT_FALSE(dlg->GetControl(DeviceMainDlg::kEmptyText)->IsVisible());
  // Home: its page with the list, no tab strip, no profile button.
  EXPECT_TRUE(dlg->GetPage(DeviceMainDlg::kHomePage)->IsVisible());
  EXPECT_FALSE(dlg->GetPage(DeviceMainDlg::kKeyPage)->IsVisible());
  EXPECT_FALSE(dlg->GetTabs()->IsVisible());
  EXPECT_FALSE(dlg->GetControl(DeviceMainDlg::kProfileButton)->IsVisible());
}

TEST_F(DeviceMainDlgTest, PickingTheSameReceiverTwiceLoadsTheModelOnceAndReadsTwice) {
  // Every cable unplugged: the receiver models have connection kind 1.
  ASSERT_GE(Model(1).receiver_plug, 0);
  ASSERT_GE(Model(3).receiver_plug, 0);
  for (const SimulatedModel& m : mice_) {
    if (m.cable_plug >= 0) bus_->Unplug(m.cable_plug);
  }
  auto dlg = Open(1);
  RunJobs(*dlg);
  // Start on another mouse, so that the first pick of this one loads it.
  Pick(*dlg, 3);
  ASSERT_EQ(dlg->GetCurrentDeviceType(), 3);
  const int jobsBefore = CountJobs(*dlg, DeviceWorker::kJobReload);
  const int loadsBefore = dlg->GetModelLoadCount();

  Pick(*dlg, 1);
  EXPECT_EQ(dlg->GetCurrentDeviceType(), 1);
  EXPECT_EQ(shell::ReadRegistryInt(L"DeviceType"), 1);
  EXPECT_EQ(dlg->GetModelLoadCount(), loadsBefore + 1);
  const int loadsAfterFirst = dlg->GetModelLoadCount();
  EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobReload), jobsBefore + 1);
  EXPECT_EQ(dynamic_cast<DUI::CDeviceState*>(dlg->GetControl(DeviceMainDlg::kDeviceState))->GetTitle(),
            shell::GetText(DeviceSession::kTextReceiver));
  EXPECT_TRUE(dlg->GetTabs()->IsVisible());

  // Back home, then the same mouse again.
  dlg->GetTabs()->SetSelectItem(0);
  Pump();
  EXPECT_EQ(dlg->GetLastTabId(), 1);
  Pick(*dlg, 1);
  EXPECT_EQ(dlg->GetModelLoadCount(), loadsAfterFirst);
  EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobReload), jobsBefore + 2);
}

TEST_F(DeviceMainDlgTest, PickingACableMouseQueuesNoRead) {
  auto dlg = Open(1);
  RunJobs(*dlg);
  Pick(*dlg, 2);
  EXPECT_EQ(dlg->GetCurrentDeviceType(), 2);
  EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobReload), 0);
  EXPECT_EQ(dynamic_cast<DUI::CDeviceState*>(dlg->GetControl(DeviceMainDlg::kDeviceState))->GetTitle(),
            shell::GetText(DeviceSession::kTextCable));
  // The configuration pages open on the last configuration tab.
  EXPECT_TRUE(dlg->GetTabs()->IsVisible());
  EXPECT_EQ(dlg->GetTabs()->GetSelectItem(), dlg->GetLastTabIndex());
  EXPECT_EQ(dlg->GetLastTabId(), int(dlg->GetTabs()->GetItemID(dlg->GetLastTabIndex())));
}

TEST_F(DeviceMainDlgTest, TheLightingTabFollowsTheModel) {
  auto dlg = Open(1);
  RunJobs(*dlg);
  struct Case {
    int type;
    int tabs;
    bool lighting;
  } cases[] = {{2, 5, false}, {1, 6, true}, {2, 5, false}, {3, 6, true}};
  for (const Case& c : cases) {
    Pick(*dlg, c.type);
    EXPECT_EQ(dlg->GetCurrentDeviceType(), c.type);
    EXPECT_EQ(dlg->GetVisibleTabCount(), c.tabs) << "device type " << c.type;
    EXPECT_EQ(dlg->GetLighting(), c.lighting) << "device type " << c.type;
    EXPECT_EQ(dlg->GetTabs()->IsItemVisible(DeviceMainDlg::kLightingTabIndex), c.lighting ? 1 : 0);
    EXPECT_FALSE(dlg->GetDefaultKeys().empty()) << "device type " << c.type;
  }
}

TEST_F(DeviceMainDlgTest, ProfileButtonWithoutALinkShowsTheMessageOnly) {
  auto dlg = Open(1);
  RunJobs(*dlg);
  Pick(*dlg, 2);
  dlg->Session().SetLinked(false);
  std::vector<std::wstring> boxes;
  int dialogs = 0;
  dlg->SetMessageBox([&](const wchar_t* text, HWND, const wchar_t* title, int kind) {
    boxes.push_back(std::wstring(title) + L"|" + text + L"|" + std::to_wstring(kind));
    return 1;
  });
  dlg->SetProfileDialog([&](DUI::CRect, int) { ++dialogs; });
  MControl* button = dlg->GetControl(DeviceMainDlg::kProfileButton);
  ASSERT_TRUE(button->IsVisible());
  const DUI::CPoint p = button->GetRect().CenterPoint();
  platform::headless::AdvanceTime(1000);
  platform::headless::InjectMouseMove(dlg->GetSafeHwnd(), p.x, p.y);
  platform::headless::InjectClick(dlg->GetSafeHwnd(), p.x, p.y);
  Pump();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], shell::GetText(576) + L"|" + shell::GetText(57) + L"|0");
  EXPECT_EQ(dialogs, 0);

  // Linked, the dialog opens just above the button and no box is shown.
  dlg->Session().SetLinked(true);
  DUI::CRect where;
  dlg->SetProfileDialog([&](DUI::CRect r, int) {
    ++dialogs;
    where = r;
  });
  platform::headless::AdvanceTime(1000);
  platform::headless::InjectClick(dlg->GetSafeHwnd(), p.x, p.y);
  Pump();
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(where.Width(), button->GetRect().Width());
  EXPECT_EQ(where.Height(), 205);
}

TEST_F(DeviceMainDlgTest, ANotificationGoesToThePageThatOwnsTheControl) {
  host_.quitCodes.clear();
  shell::WriteRegistryText(L"exit_mode", L"0");
  auto dlg = Open(1);
  ui::MainPage* keys = dlg->GetPage(DeviceMainDlg::kKeyPage);
  ASSERT_NE(keys, nullptr);
  std::vector<DUI::UINT> seen;
  keys->SetHandler([&](DUI::UINT id, DUI::UINT, DUI::WPARAM, DUI::LPARAM) {
    seen.push_back(id);
    return true;
  });
  // A control of the key page that repeats the close button's id.
  auto* own = new DUI::MButton(keys, DeviceMainDlg::kClose, DUI::CRect(10, 10, 50, 50), L"", 1, 1);
  keys->AttachControl(own, 1);
  own->PostNotify(CN_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(seen, std::vector<DUI::UINT>{DeviceMainDlg::kClose});
  EXPECT_TRUE(host_.quitCodes.empty()) << "the window's close button reacted to the page's control";
}

TEST_F(DeviceMainDlgTest, TheSaveNoticeFollowsTheModelsFlag) {
  auto dlg = Open(1);
  RunJobs(*dlg);
  // The cable-only model's description turns the notice off.
  Pick(*dlg, 2);
  ASSERT_EQ(dlg->GetShowSaveTips(), 0);
  dlg->ShowSaveWait();
  EXPECT_EQ(dlg->GetSaveWait(), nullptr);

  Pick(*dlg, 1);
  ASSERT_EQ(dlg->GetShowSaveTips(), 1);
  dlg->ShowSaveWait();
  ASSERT_NE(dlg->GetSaveWait(), nullptr);
  Pump();
  EXPECT_TRUE(dlg->GetSaveWait()->IsWindowVisible());
  // A second change 1.5 s later keeps it up until 2 s after that one.
  ui::SaveWaitDlg* first = dlg->GetSaveWait();
  platform::headless::AdvanceTime(1500);
  Pump();
  dlg->ShowSaveWait();
  EXPECT_EQ(dlg->GetSaveWait(), first) << "the notice is created once and reused";
  platform::headless::AdvanceTime(1500);
  Pump();
  EXPECT_TRUE(first->IsWindowVisible());
  platform::headless::AdvanceTime(500);
  Pump();
  EXPECT_FALSE(first->IsWindowVisible());
}

TEST_F(DeviceMainDlgTest, TheWorkerThreadReachesTheWindowThroughItsQueue) {
  ui::DeviceMainOptions options;
  options.backend = bus_;
  options.clock = clock_;
  options.host = &host_;
  auto dlg = std::make_unique<DeviceMainDlg>(options);
  ASSERT_NE(dlg->CreateMain(1), nullptr);
  // The first scan runs on the worker; its updates of the list arrive as
  // window tasks, so the list fills only while this thread pumps.
  // An empty queue does not mean the last job has finished, so the wait
  // lasts until its last update (the selection) has arrived too; the bound
  // is generous, for a loaded machine, and only ends a failing run.
  const auto settled = [&] {
    return dlg->GetDeviceList()->GetOnlineDevCount() == int(mice_.size()) && dlg->Worker().Jobs().Empty() &&
           dlg->GetDeviceList()->GetSelectDevice() == dlg->Session().CurrentDeviceType();
  };
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  bool listed = false;
  while (!listed && std::chrono::steady_clock::now() < giveUp) {
    Pump();
    listed = settled();
    if (!listed) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(listed);
  EXPECT_EQ(dlg->GetDeviceList()->GetSelectDevice(), dlg->Session().CurrentDeviceType());
  // Destroying the window stops the worker first, answering what it still asks.
  dlg->AppendJob(DeviceWorker::kJobReload);
  dlg.reset();
}

TEST_F(DeviceMainDlgTest, TheWorkersQueriesAnswerWhileTheWindowThreadWaits) {
  auto dlg = Open(1);
  RunJobs(*dlg);
  ASSERT_GE(dlg->GetDeviceList()->GetOnlineDevCount(), 2);
  for (int type : {3, 1}) {
    // A click on the home page changes the selection on this thread ...
    Pick(*dlg, type);
    // ... and a query from another thread answers while this thread does
    // nothing but wait for it: nothing is asked of the window's queue.
    auto answer = std::async(std::launch::async, [&] {
      return std::make_pair(dlg->Relay().GetSelectDevice(), dlg->Relay().GetOnlineDevCount());
    });
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(20)), std::future_status::ready) << "the query waited";
    const auto [selected, online] = answer.get();
    EXPECT_EQ(selected, type);
    EXPECT_EQ(online, dlg->GetDeviceList()->GetOnlineDevCount());
  }
}

TEST_F(DeviceMainDlgTest, TheDemoSaysSimulatedInItsCaption) {
  auto plain = Open(1);
  auto demo = OpenDemo();
  const auto title = [](DeviceMainDlg& d) {
    return std::wstring(dynamic_cast<DUI::MText*>(d.GetControl(DeviceMainDlg::kTitle))->GetTitle());
  };
  EXPECT_EQ(title(*plain).find(L"simulated"), std::wstring::npos);
  EXPECT_NE(title(*demo).find(L"simulated"), std::wstring::npos);
  EXPECT_NE(std::wstring(demo->GetWindowTextW()).find(L"simulated"), std::wstring::npos);
}

TEST_F(DeviceMainDlgTest, RefreshTextsMessageReTextsTheWindowAndTheTray) {
  auto dlg = Open(1);
  auto* title = dynamic_cast<DUI::MText*>(dlg->GetControl(DeviceMainDlg::kTitle));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->GetTitle(), shell::GetText(1));
  const std::wstring englishTab = dlg->GetTabs()->GetItemText(1);
  const std::wstring englishQuit = host_.texts.quit;
  EXPECT_EQ(englishQuit, shell::GetText(12));

  shell::SetLanguage(2052);
  ASSERT_NE(shell::GetText(72), englishTab);
  dlg->PostMessageW(DeviceMainDlg::kRefreshTexts, 0, 0);
  Pump();
  EXPECT_EQ(title->GetTitle(), shell::GetText(1));
  EXPECT_EQ(dlg->GetTabs()->GetItemText(1), shell::GetText(72));
  EXPECT_EQ(host_.texts.quit, shell::GetText(12));
  EXPECT_NE(host_.texts.quit, englishQuit);
  shell::SetLanguage(1033);
}

}  // namespace
}  // namespace ui_test
