// The real HID library on this machine, the simulated link report and the
// generated udev rules.

#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "DeviceFixture.h"
#include "TestEnv.h"
#include "device/HidapiBackend.h"

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
