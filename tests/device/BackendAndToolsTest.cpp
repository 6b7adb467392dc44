// The real HID library on this machine, the simulated link report, the
// generated udev rules and the --list command.

#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "DeviceFixture.h"
#include "TestEnv.h"
#include "device/HidapiBackend.h"
#include "shell/ListCommand.h"

namespace devicetest {
namespace {

TEST(HidapiBackendTest, EnumeratesTheMachineAndFindsNoMouse) {
  auto backend = std::make_shared<HidapiBackend>();
  ASSERT_TRUE(backend->Initialised());
  std::vector<HidInterfaceInfo> interfaces;
  EXPECT_TRUE(backend->Enumerate(interfaces));
  EXPECT_EQ(backend->Open("/dev/hidraw-none"), nullptr);

  auto clock = std::make_shared<VirtualClock>();
  DeviceManager manager(backend, clock);
  for (const ModeEntry& m : CatalogModes()) {
    manager.AddModeEntry(m.vendor_id, m.product_id, L"", m.device_type, m.mode, m.dev_id);
  }
  std::vector<std::string> lines;
  shell::SetLogSink([&](const std::string& line) { lines.push_back(line); });
  manager.Rescan(1);
  shell::SetLogSink({});
  EXPECT_EQ(manager.RecordCount(), 0u);
  EXPECT_EQ(manager.ConnectionKind(), -1);
  EXPECT_TRUE(clock->Pauses().empty());
  EXPECT_EQ(lines.at(2), "Step 2: No USB device, will read 2.4G device details");
}

class LinkReportTest : public DeviceFixture {};

TEST_F(LinkReportTest, ReceiverReportsItsMouseComingAndGoing) {
  mouseproto::MouseState state = Mouse("VA01");
  state.identity.battery_level = 64;
  const int mouse = bus->AddMouse(state);
  const int receiver = bus->PlugReceiver(mouse, kVid, kAirReceiver);
  HidDevice* handle = bus->Open(bus->Node(receiver, 2));

  struct Step {
    bool on;
    uint8_t report[4];
  } steps[] = {
      {false, {0xD1,    // link state
               0x00,    // not linked
               64,      // battery
               0x00}},  // not charging
      {true, {0xD1, 0x01, 64, 0x00}},
  };
  for (const Step& step : steps) {
    bus->SetMousePower(mouse, step.on);
    uint8_t read[33] = {};
    ASSERT_EQ(bus->ReadTimeout(handle, read, sizeof read, 10), 33);
    EXPECT_EQ(std::vector<uint8_t>(read, read + 4), std::vector<uint8_t>(step.report, step.report + 4));
  }
  // Switching to the same state reports nothing.
  bus->SetMousePower(mouse, true);
  uint8_t read[33] = {};
  EXPECT_EQ(bus->ReadTimeout(handle, read, sizeof read, 10), 0);
  bus->Close(handle);
}

TEST(UdevRules, CoverEveryCatalogMode) {
  const std::string rules = testenv::ReadFile(testenv::BinDir().parent_path() / "packaging" / "70-orvane.rules");
  const std::string catalog = testenv::ReadFile(testenv::SourceDir() / "data" / "config.xml");
  ASSERT_FALSE(rules.empty());
  static const std::regex mode("<mode [^>]*vid=\"([0-9A-Fa-f]+)\" pid=\"([0-9A-Fa-f]+)\"");
  std::set<std::string> expected;
  for (auto it = std::sregex_iterator(catalog.begin(), catalog.end(), mode); it != std::sregex_iterator(); ++it) {
    std::string vid = (*it)[1].str(), pid = (*it)[2].str();
    for (char& c : vid) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : pid) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    expected.insert("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"" + vid + "\", ATTRS{idProduct}==\"" + pid +
                    "\", TAG+=\"uaccess\"");
  }
  ASSERT_EQ(expected.size(), 5u);
  for (const std::string& line : expected) EXPECT_NE(rules.find(line + "\n"), std::string::npos) << line;
}

TEST(ListCommand, RecognisesTheOptions) {
  struct Case {
    std::vector<std::string> args;
    bool list;
    bool simulate;
  } cases[] = {
      {{"orvane"}, false, false},
      {{"orvane", "-hide"}, false, false},
      {{"orvane", "--list"}, true, false},
      {{"orvane", "--simulate", "--list"}, true, true},
      {{"orvane", "--list", "--simulate"}, true, true},
  };
  for (Case& c : cases) {
    std::vector<char*> argv;
    for (std::string& arg : c.args) argv.push_back(arg.data());
    bool simulate = !c.simulate;
    EXPECT_EQ(shell::IsListCommand(static_cast<int>(argv.size()), argv.data(), simulate), c.list);
    if (c.list) {
      EXPECT_EQ(simulate, c.simulate);
    }
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

TEST(ListCommand, ListsTheSimulatedMiceCableBeforeReceiver) {
  shell::SetLogSink([](const std::string&) {});
  testing::internal::CaptureStdout();
  const int code = shell::RunListCommand(true);
  // The indented lines under each mouse are the settings read from it.
  std::vector<std::string> lines;
  for (const std::string& text : Lines(testing::internal::GetCapturedStdout())) {
    if (text.rfind("    ", 0) != 0) lines.push_back(text);
  }
  shell::SetLogSink({});
  EXPECT_EQ(code, 0);
  const std::regex line("^(.+?) +(cable|receiver) +device id (\\S+) +device type (\\d+) +release \\S+ +online 1$");
  const char* expected[][4] = {
      {"Veyra Air", "cable", "VA01", "1"},        {"Veyra Air", "receiver", "VA01", "1"},
      {"Veyra Core", "cable", "VC02", "2"},       {"Veyra Swift 8K", "cable", "VS08", "3"},
      {"Veyra Swift 8K", "receiver", "VS08", "3"},
  };
  ASSERT_EQ(lines.size(), 5u);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[i], m, line)) << lines[i];
    for (size_t f = 0; f < 4; ++f) EXPECT_EQ(m[f + 1].str(), expected[i][f]) << lines[i];
  }
}

TEST(ListCommand, SaysSoWhenThisMachineHasNoMouse) {
  shell::SetLogSink([](const std::string&) {});
  testing::internal::CaptureStdout();
  const int code = shell::RunListCommand(false);
  const std::string out = testing::internal::GetCapturedStdout();
  shell::SetLogSink({});
  EXPECT_EQ(code, 1);
  EXPECT_EQ(out.rfind("No supported mouse found.\n", 0), 0u) << out;
}

// The worker rebuilds the list while the window thread asks about it: every
// answer must describe the whole list of identified interfaces, or no list.
class ConcurrencyTest : public DeviceFixture {};

TEST_F(ConcurrencyTest, QueriesNeverSeeAHalfBuiltList) {
  bus->PlugCable(bus->AddMouse(Mouse("VA01")), kVid, kAirCable);
  bus->PlugCable(bus->AddMouse(Mouse("VC02")), kVid, kCoreCable);
  shell::SetLogSink([](const std::string&) {});
  std::thread worker([&] {
    for (int i = 0; i < 40; ++i) {
      manager->Rescan(i % 2 == 0 ? 1 : 2);
      uint8_t frame[33] = {0x00, 0x11};
      EXPECT_TRUE(manager->SendReport(frame, sizeof frame, true));
    }
  });
  for (int i = 0; i < 2000; ++i) {
    const size_t count = manager->RecordCount();
    EXPECT_TRUE(count == 0 || count == 2) << count;
    std::vector<DeviceRecord> records;
    manager->ListRecords(records);
    for (const DeviceRecord& record : records) {
      EXPECT_NE(record.device_type, 0);
      EXPECT_FALSE(record.device_id.empty());
    }
    const int kind = manager->ConnectionKind();
    EXPECT_TRUE(kind == 0 || kind == -1) << kind;
  }
  worker.join();
  shell::SetLogSink({});
  EXPECT_EQ(manager->RecordCount(), 2u);
  EXPECT_EQ(bus->OpenHandles(), 2);
}

}  // namespace
}  // namespace devicetest
