// UpdateNotice: the settings page lines from the version check against a
// local HTTP server, the check off the calling thread, and the offer: the
// question's text, job 27 and the update tip on yes, nothing on no.

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "LocalHttpServer.h"
#include "UiFixture.h"
#include "platform/Text.h"
#include "shell/Localisation.h"
#include "toolkit/core/MText.h"
#include "ui/UpdateNotice.h"
#include "ui/UpdateTipDlg.h"

namespace ui_test {
namespace {

using namespace std::chrono_literals;
using services_test::HttpScript;
using services_test::LocalHttpServer;
using ui::UpdateLines;
using ui::UpdateNotice;

// Collects the tasks the notice posts, as the window's queue would, and
// runs them when the test says so.
struct TaskQueue {
  std::mutex mutex;
  std::vector<UpdateNotice::Task> tasks;
  std::vector<std::thread::id> posters;
  UpdateNotice::Post Post() {
    return [this](UpdateNotice::Task t) {
      std::lock_guard<std::mutex> lock(mutex);
      tasks.push_back(std::move(t));
      posters.push_back(std::this_thread::get_id());
    };
  }
  void RunAll() {
    std::vector<UpdateNotice::Task> run;
    {
      std::lock_guard<std::mutex> lock(mutex);
      run.swap(tasks);
    }
    for (auto& t : run) t();
  }
};

class UpdateNoticeTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    // The test server is local; a proxy from the environment must not see it.
    ::setenv("no_proxy", "127.0.0.1,localhost", 1);
    ::setenv("NO_PROXY", "127.0.0.1,localhost", 1);
  }
  static platform::HttpOptions ShortTimeouts() {
    platform::HttpOptions options;
    options.connectTimeout = 200ms;
    options.totalTimeout = 400ms;
    return options;
  }
};

TEST_F(UpdateNoticeTest, CheckAgainstALocalServerGivesTheLines) {
  const std::wstring latest = shell::GetText(582), upToDate = shell::GetText(580);
  struct Case {
    HttpScript reply;
    int state;
    std::wstring stateLine;
    bool buttonEnabled;
    bool offered;
  } cases[] = {
      {{200, "131\r\n"}, 1, latest + L": V1.31", true, true},
      {{200, "130"}, 2, upToDate, false, false},
      {{200, "129"}, 2, upToDate, false, false},
      {{200, "1.31"}, 1, latest + L": V1.31", true, true},  // other number of parts: newer
      // No usable answer: the lines stay as the firmware version left them.
      {{404, "131"}, 0, upToDate, true, false},
      {{200, "1234567890"}, 0, upToDate, true, false},
  };
  for (const Case& c : cases) {
    LocalHttpServer server(c.reply);
    ASSERT_FALSE(server.Address().empty());
    TaskQueue queue;
    std::vector<UpdateLines> reported;
    std::vector<std::wstring> offers;
    UpdateNotice notice(
        queue.Post(), [&](const UpdateLines& l) { reported.push_back(l); },
        [&](const std::wstring& v) { offers.push_back(v); });
    notice.SetHttpOptions(ShortTimeouts());
    notice.SetFirmwareAddress(platform::FromUtf8(server.Address()));
    notice.ShowFirmwareVersion(0x0130);
    queue.RunAll();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].firmwareLine, shell::GetText(551) + L": V1.30");
    EXPECT_TRUE(reported[0].updateButtonEnabled);

    const std::thread::id self = std::this_thread::get_id();
    notice.StartCheck();
    notice.WaitForCheck();
    queue.RunAll();
    const std::string body = c.reply.body;
    EXPECT_EQ(notice.Lines().updateState, c.state) << body;
    EXPECT_EQ(notice.Lines().stateLine, c.stateLine) << body;
    EXPECT_EQ(notice.Lines().updateButtonEnabled, c.buttonEnabled) << body;
    EXPECT_EQ(reported.size(), c.state == 0 ? 1u : 2u) << body;
    EXPECT_EQ(offers.size(), c.offered ? 1u : 0u) << body;
    if (c.offered && !offers.empty()) {
      EXPECT_EQ(offers[0], platform::FromUtf8(body.substr(0, body.find('\r'))));
    }
    // The check's report came from its own thread, not the caller's.
    ASSERT_FALSE(queue.posters.empty());
    if (c.state != 0) {
      EXPECT_NE(queue.posters.back(), self) << body;
    }
    ASSERT_EQ(server.RequestLines().size(), 1u);
    EXPECT_EQ(server.RequestLines()[0], "GET /mouse/version HTTP/1.1");
  }
}

TEST_F(UpdateNoticeTest, ResultOfADestroyedNoticeIsDropped) {
  LocalHttpServer server(HttpScript{200, "131"});
  TaskQueue queue;
  int reports = 0;
  {
    UpdateNotice notice(queue.Post(), [&](const UpdateLines&) { ++reports; }, [&](const std::wstring&) { ++reports; });
    notice.SetHttpOptions(ShortTimeouts());
    notice.SetFirmwareAddress(platform::FromUtf8(server.Address()));
    notice.ShowFirmwareVersion(0x0130);
    notice.StartCheck();
    notice.WaitForCheck();
  }
  // The window queue runs the tasks after the notice is gone: they do nothing.
  queue.RunAll();
  EXPECT_EQ(reports, 0);
}


TEST_F(UpdateNoticeTest, ANewCheckSupersedesOneStillRunning) {
  LocalHttpServer silent(HttpScript{200, "", true, true});
  LocalHttpServer answering(HttpScript{200, "131"});
  TaskQueue queue;
  std::vector<std::wstring> offers;
  UpdateNotice notice(queue.Post(), nullptr, [&](const std::wstring& v) { offers.push_back(v); });
  notice.SetHttpOptions(ShortTimeouts());
  notice.ShowFirmwareVersion(0x0130);
  notice.SetFirmwareAddress(platform::FromUtf8(silent.Address()));
  notice.StartCheck();
  // Reconnected to another mouse before the server answered.
  notice.SetFirmwareAddress(platform::FromUtf8(answering.Address()));
  notice.StartCheck();
  notice.WaitForCheck();
  queue.RunAll();
  // Only the newer check's answer reaches the window, once.
  ASSERT_EQ(offers.size(), 1u);
  EXPECT_EQ(offers[0], L"131");
  EXPECT_EQ(notice.Lines().updateState, 1);
}

HWND OpenWindow(const wchar_t* title) { return platform::FindWindow(title); }

void ClickInBox(UINT id) {
  HWND hwnd = OpenWindow(L"MessageBox");
  ASSERT_NE(hwnd, nullptr);
  auto* box = static_cast<MDialog*>(static_cast<MWindow*>(platform::GetWindowUserData(hwnd)));
  const CPoint c = box->GetControl(id)->GetRect().CenterPoint();
  platform::headless::AdvanceTime(1000);
  platform::headless::InjectMouseMove(hwnd, c.x, c.y);
  platform::headless::InjectClick(hwnd, c.x, c.y);
}

TEST_F(UpdateNoticeTest, OfferAsksAndOnYesQueuesJob27AndShowsTheTip) {
  EXPECT_EQ(UpdateNotice::OfferText(L"131"), shell::GetText(582) + L":V1.31, " + shell::GetText(583));
  struct Case {
    UINT button;
    int answer;
    bool job;
  } cases[] = {{33, 1, true}, {34, 2, false}};
  for (const Case& c : cases) {
    Driver owner;
    owner.Open();
    ui::UpdateTipDlg tip;
    std::wstring message;
    bool tipSeen = false;
    int jobs = 0;
    owner.Post([&] {
      HWND box = OpenWindow(L"MessageBox");
      ASSERT_NE(box, nullptr);
      auto* dlg = static_cast<MDialog*>(static_cast<MWindow*>(platform::GetWindowUserData(box)));
      message = static_cast<MText*>(dlg->GetControl(32))->GetTitle();
      ClickInBox(c.button);
    });
    // Job 27 ends the tip with its OK action; here it runs from the loop.
    auto job27 = [&] {
      ++jobs;
      owner.Post([&] {
        tipSeen = tip.IsOpen() && OpenWindow(L"UpdateTipDlg") != nullptr;
        if (tipSeen) {
          RECT client{};
          platform::GetClientRect(tip.GetSafeHwnd(), &client);
          EXPECT_EQ(client.right, 391);
          EXPECT_EQ(client.bottom, 130);
          EXPECT_EQ(static_cast<MText*>(tip.GetControl(ui::UpdateTipDlg::kTextId))->GetTitle(), shell::GetText(596));
        }
        tip.End();
      });
    };
    EXPECT_EQ(UpdateNotice::OfferUpdate(owner.GetSafeHwnd(), L"131", job27, tip), c.answer);
    EXPECT_EQ(message, UpdateNotice::OfferText(L"131"));
    EXPECT_EQ(jobs, c.job ? 1 : 0);
    EXPECT_EQ(tipSeen, c.job);
    EXPECT_FALSE(tip.IsOpen());
    EXPECT_EQ(OpenWindow(L"UpdateTipDlg"), nullptr);
    owner.DestroyWindow();
  }
}

}  // namespace
}  // namespace ui_test
