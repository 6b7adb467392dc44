// Firmware version texts and the online check against a local HTTP server.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "LocalHttpServer.h"
#include "platform/Text.h"
#include "update/FirmwareUpdateCheck.h"
#include "update/FirmwareVersion.h"

namespace {

using namespace std::chrono_literals;
using services_test::HttpScript;
using services_test::LocalHttpServer;
using testing::ElementsAre;
using testing::IsEmpty;

class RecordingObserver : public update::UpdateObserver {
 public:
  void OnFirmwareVersion(const std::wstring& v) override { calls.push_back(L"version " + v); }
  void OnUpdateAvailable(const std::wstring& v) override { calls.push_back(L"available " + v); }
  void OnNoUpdate() override { calls.push_back(L"none"); }
  std::vector<std::wstring> calls;
};

class UpdateCheck : public testing::Test {
 protected:
  void SetUp() override {
    // The test server is local; a proxy from the environment must not see it.
    ::setenv("no_proxy", "127.0.0.1,localhost", 1);
    ::setenv("NO_PROXY", "127.0.0.1,localhost", 1);
  }

  // Short time-outs so that the silent cases end quickly.
  static platform::HttpOptions ShortTimeouts() {
    platform::HttpOptions options;
    options.connectTimeout = 200ms;
    options.totalTimeout = 400ms;
    return options;
  }

  RecordingObserver observer;
  update::FirmwareUpdateCheck check{observer};
};

TEST(FirmwareVersion, CompareVersionsFollowsTheParts) {
  struct Case {
    const wchar_t* local;
    const wchar_t* server;
    int result;
  };
  const Case cases[] = {
      {L"130", L"131", 1},        {L"130", L"130", 0},      {L"130", L"1.31", 2},
      {L"130", L"129", -1},       {L"1.30", L"1.4", -1},    {L"1.2.3", L"1.2.10", 1},
      {L"130", L"131.", 2},       {L"130", L"abc", -1},     {L"0130", L"130", 0},
      {L"1.31", L"130", 2},       {L"2.0", L"1.9", -1},     {L"", L"", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(update::CompareVersions(c.local, c.server), c.result) << c.local << " vs " << c.server;
  }
}

TEST(FirmwareVersion, DisplayTextTakesFirstAndLastTwoCharacters) {
  struct Case {
    const wchar_t* version;
    const wchar_t* shown;
  };
  const Case cases[] = {
      {L"130", L"V1.30"}, {L"1.31", L"V1.31"}, {L"A01", L"VA.01"},
      {L"12", L"V1.12"},  {L"5", L"V5.5"},     {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(update::VersionDisplayText(c.version), c.shown) << c.version;

  EXPECT_EQ(update::ReleaseVersionText(0x0130), L"130");
  EXPECT_EQ(update::ReleaseVersionText(0x01A2), L"1A2");
  EXPECT_EQ(update::ReleaseVersionText(0), L"0");
}

TEST_F(UpdateCheck, ServerVersionDecidesTheOffer) {
  struct Case {
    HttpScript script;
    std::vector<std::wstring> calls;  // after "version 130"
    int state;
    const wchar_t* serverVersion;
  };
  const Case cases[] = {
      {{200, "131"}, {L"available 131"}, 1, L"131"},
      {{200, "130"}, {L"none"}, 2, L"130"},
      {{200, "1.31"}, {L"available 1.31"}, 1, L"1.31"},
      {{200, "129"}, {L"none"}, 2, L"129"},
      {{200, " 131\r\n"}, {L"available 131"}, 1, L"131"},
      // The check ends silently: the state stays as it was.
      {{404, "131"}, {}, 0, L""},
      {{200, "1234567890"}, {}, 0, L""},
      {{200, ""}, {}, 0, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script.body);
    LocalHttpServer server(c.script);
    ASSERT_FALSE(server.Address().empty());
    RecordingObserver obs;
    update::FirmwareUpdateCheck one(obs);
    one.SetHttpOptions(ShortTimeouts());
    EXPECT_EQ(one.ServerVersion(), L"130");  // before the first check
    one.SetFirmwareAddress(platform::FromUtf8(server.Address()));
    one.ShowFirmwareVersion(0x0130);
    one.CheckOnlineVersion();

    std::vector<std::wstring> expected{L"version 130"};
    expected.insert(expected.end(), c.calls.begin(), c.calls.end());
    EXPECT_EQ(obs.calls, expected);
    EXPECT_EQ(one.UpdateState(), c.state);
    EXPECT_EQ(one.ServerVersion(), c.serverVersion);
    EXPECT_THAT(server.RequestLines(), ElementsAre("GET /mouse/version HTTP/1.1"));
  }
}

TEST_F(UpdateCheck, SilentServerEndsWithinTheTimeout) {
  LocalHttpServer server({200, "", true, true});
  check.SetHttpOptions(ShortTimeouts());
  check.SetFirmwareAddress(platform::FromUtf8(server.Address()));
  check.ShowFirmwareVersion(0x0130);
  const auto start = std::chrono::steady_clock::now();
  check.CheckOnlineVersion();
  // A generous bound: the configured 400 ms, not the default 10 s, applied.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_TRUE(server.Requested());
  EXPECT_THAT(observer.calls, ElementsAre(L"version 130"));
  EXPECT_EQ(check.ServerVersion(), L"");
  EXPECT_EQ(check.UpdateState(), 0);

  std::wstring text = L"untouched";
  EXPECT_EQ(check.HttpGetText(platform::FromUtf8(server.Address()) + L"/x", text), -1);
  EXPECT_EQ(text, L"untouched");
}

TEST_F(UpdateCheck, OversizedReplyIsCappedAndLeavesNoServerVersion) {
  const std::string megabyte(1 << 20, '7');
  for (bool sendLength : {true, false}) {
    SCOPED_TRACE(sendLength);
    LocalHttpServer server({200, megabyte, sendLength, false});
    RecordingObserver obs;
    update::FirmwareUpdateCheck one(obs);
    one.SetHttpOptions(ShortTimeouts());
    one.SetFirmwareAddress(platform::FromUtf8(server.Address()));
    one.ShowFirmwareVersion(0x0130);
    std::wstring text;
    EXPECT_EQ(one.HttpGetText(platform::FromUtf8(server.Address()) + L"/mouse/version", text), -1);
    EXPECT_EQ(text, L"");
    one.CheckOnlineVersion();
    EXPECT_EQ(one.ServerVersion(), L"");
    EXPECT_THAT(obs.calls, ElementsAre(L"version 130"));
  }
  // Just under the cap is still a reply (too long for a version, though).
  LocalHttpServer server({200, std::string(64 * 1024, '7'), true, false});
  check.SetHttpOptions(ShortTimeouts());
  std::wstring text;
  EXPECT_EQ(check.HttpGetText(platform::FromUtf8(server.Address()), text), 1);
  EXPECT_EQ(text.size(), 64u * 1024u);
}

TEST_F(UpdateCheck, CancelStopsATransferWithMinusTwo) {
  LocalHttpServer server({200, "", true, true});
  platform::HttpOptions options;
  options.totalTimeout = 20s;
  check.SetHttpOptions(options);
  std::thread canceller([&] {
    services_test::WaitUntil([&] { return server.Requested(); }, 10s);
    check.CancelTransfer();
  });
  std::wstring text;
  EXPECT_EQ(check.HttpGetText(platform::FromUtf8(server.Address()), text), -2);
  canceller.join();
}

TEST_F(UpdateCheck, AddressesThatCannotBeFetched) {
  check.SetHttpOptions(ShortTimeouts());
  const std::wstring addresses[] = {
      L"/mouse/version",                    // an empty firmware address
      L"file:///etc/hostname",              // not http: never read local files
      L"http://127.0.0.1:1/mouse/version",  // nothing listens
      L"http://[::1/x",                     // malformed
  };
  for (const std::wstring& url : addresses) {
    std::wstring text;
    EXPECT_EQ(check.HttpGetText(url, text), -1) << url;
    EXPECT_EQ(text, L"");
  }
  check.ShowFirmwareVersion(0x0130);
  check.CheckOnlineVersion();  // firmware address empty
  EXPECT_THAT(observer.calls, ElementsAre(L"version 130"));
  EXPECT_EQ(check.ServerVersion(), L"");
}

TEST_F(UpdateCheck, SlowDefaultTimeoutsEndASilentCheck) {
  LocalHttpServer server({200, "", true, true});
  check.SetFirmwareAddress(platform::FromUtf8(server.Address()));
  check.ShowFirmwareVersion(0x0130);
  const auto start = std::chrono::steady_clock::now();
  check.CheckOnlineVersion();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, 9s);
  EXPECT_LT(elapsed, 15s);
  EXPECT_EQ(check.ServerVersion(), L"");
}

}  // namespace
