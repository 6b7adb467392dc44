// Discovery: the info request, the mode table, EnumerateDevice with its
// filters, identification, retries and log, and the list queries.

#include <array>
#include <string>
#include <vector>

#include "DeviceFixture.h"

namespace devicetest {
namespace {

using ::testing::ElementsAre;

// --- Info request ------------------------------------------------------------------

class InfoTest : public DeviceFixture {};

TEST_F(InfoTest, RequestFrameAndReplyLayout) {
  mouseproto::MouseState swift = Mouse("VS08");
  swift.identity.sensor_code = 149;
  swift.identity.max_rate = 0x40;
  swift.identity.charge_state = 1;
  swift.identity.battery_level = 57;
  const int plug = bus->PlugCable(bus->AddMouse(swift), kVid, kSwiftCable);
  HidDevice* handle = bus->Open(bus->Node(plug, SimulatedHid::kVendorInterface));
  ASSERT_NE(handle, nullptr);

  DeviceManager::InfoReply info;
  info.fill(0xEE);
  ASSERT_TRUE(manager->ReadDeviceInfo(info, handle));
  const std::vector<uint8_t> request = {
      0x00,  // report id
      0x30,  // command: read device information
      0x00,  // always 0
      0x00,  // packet field: read
      0x00,  // stated length
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0x00,  // checksum
  };
  EXPECT_EQ(bus->Requests(plug).at(0), request);
  const uint8_t expected[15] = {
      0x30,                    // command echoed
      0x00,                    // status: accepted
      0x00, 0x00,              //
      'V', 'S', '0', '8',      // device id
      0x00, 0x00,              // not used
      149,                     // sensor code
      0x40,                    // highest report rate: 8000 Hz
      0x01,                    // charging
      57,                      // battery percent
      0x01,                    // linked
  };
  for (size_t i = 0; i < sizeof expected; ++i) EXPECT_EQ(info[i], expected[i]) << "byte " << i;
  // Only 33 bytes are read; the rest of the buffer was cleared first.
  for (size_t i = 33; i < info.size(); ++i) EXPECT_EQ(info[i], 0) << "byte " << i;
  EXPECT_EQ(clock->Pauses(), (std::vector<int>{20, 20}));
  bus->Close(handle);
}

TEST_F(InfoTest, TwoReadsThenFailure) {
  const int mouse = bus->AddMouse(Mouse("VA01"));
  const int plug = bus->PlugReceiver(mouse, kVid, kAirReceiver);
  bus->SetMousePower(mouse, false);
  HidDevice* handle = bus->Open(bus->Node(plug, SimulatedHid::kVendorInterface));
  DeviceManager::InfoReply info{};
  EXPECT_FALSE(manager->ReadDeviceInfo(info, handle));
  EXPECT_EQ(clock->Pauses(), (std::vector<int>{20, 20, 20}));
  EXPECT_EQ(bus->ReadCalls(plug), 2);
  bus->Close(handle);
}

// Only a whole info reply with status 0 is taken; a notification that
// arrives first, or a reply cut short, is one failed read of the two.
TEST_F(InfoTest, NotificationsAndShortRepliesAreNotTheInfoReply) {
  struct Case {
    const char* what;
    std::vector<std::vector<uint8_t>> reportsFirst;  // sent by the mouse before the request
    size_t cutTo;                                    // 0: the reply comes whole
    bool answered;
  };
  const std::vector<uint8_t> linkLost = {
      0xD1,  // link state
      0x00,  // not linked; reads like a status of 0
      0x50,  // battery 80 %
      0x00,  // not charging
  };
  const std::vector<uint8_t> dpiChange = {
      0xD2,  // DPI change
      0x00,  // stage 0, count 0; reads like a status of 0
  };
  const Case cases[] = {
      {"a link report, then the reply", {linkLost}, 0, true},
      {"two notifications use up both reads", {linkLost, dpiChange}, 0, false},
      {"reply without the link byte", {}, 14, false},
      {"reply of the status alone", {}, 2, false},
      {"reply up to the link byte", {}, 15, true},
  };
  const int plug = bus->PlugCable(bus->AddMouse(Mouse("VS08")), kVid, kSwiftCable);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HidDevice* handle = bus->Open(bus->Node(plug, SimulatedHid::kVendorInterface));
    ASSERT_NE(handle, nullptr);
    for (const auto& report : c.reportsFirst) bus->Notify(plug, report);
    if (c.cutTo != 0) bus->CutReply(plug, 0x30, c.cutTo);
    bus->ClearRecord();
    DeviceManager::InfoReply info;
    info.fill(0xEE);
    EXPECT_EQ(manager->ReadDeviceInfo(info, handle), c.answered);
    EXPECT_EQ(bus->ReadCalls(plug), c.answered && c.reportsFirst.empty() ? 1 : 2);
    if (c.answered) {
      EXPECT_EQ(info[0], 0x30);
      EXPECT_EQ(DeviceIdFromInfo(info.data()), L"VS08");
      // Nothing of an earlier report or of the request stays behind the reply.
      for (size_t i = c.cutTo == 0 ? 33 : c.cutTo; i < info.size(); ++i) EXPECT_EQ(info[i], 0) << "byte " << i;
    }
    bus->Close(handle);
  }
}

TEST_F(InfoTest, WithoutHandleGivesTheActiveRecordsStoredReply) {
  DeviceManager::InfoReply info{};
  EXPECT_FALSE(manager->ReadDeviceInfo(info, nullptr));

  bus->PlugCable(bus->AddMouse(Mouse("VC02")), kVid, kCoreCable);
  Discover(2);
  ASSERT_TRUE(manager->ReadDeviceInfo(info, nullptr));
  EXPECT_EQ(DeviceIdFromInfo(info.data()), L"VC02");
  EXPECT_TRUE(clock->Pauses().empty());  // nothing was sent
  manager->SetSelectedType(3);
  EXPECT_FALSE(manager->ReadDeviceInfo(info, nullptr));
}

// --- Mode table ----------------------------------------------------------------------

TEST(ModeTable, TypeOfRules) {
  auto clock = std::make_shared<VirtualClock>();
  DeviceManager manager(std::make_shared<SimulatedHid>(clock), clock);
  manager.AddModeEntry(0x1111, 0x0001, L"", 1, 0, L"AB01");
  manager.AddModeEntry(0x1111, 0x0001, L"", 4, 1, L"AB02");
  manager.AddModeEntry(0x2222, 0x0002, L"", 5, 0, L"AB");  // short: hides the next one
  manager.AddModeEntry(0x2222, 0x0002, L"", 6, 0, L"CDEF");
  manager.AddModeEntry(0x3333, 0x0003, L"", 7, 1, L"WXYZ");
  manager.AddModeEntry(0x3333, 0x0003, L"", 8, 0, L"");

  struct Case {
    int vid, pid;
    const wchar_t* id;
    int type;
  } cases[] = {
      {0x1111, 0x0001, L"AB01", 1},
      {0x1111, 0x0001, L"AB02", 4},    // same ids, told apart by the device id
      {0x1111, 0x0001, L"ab01", 0},    // case-sensitive
      {0x1111, 0x0001, L"", 0},
      {0x2222, 0x0002, L"CDEF", 101},  // the short dev_id comes first
      {0x2222, 0x0002, L"????", 101},
      {0x3333, 0x0003, L"WXYZ", 7},    // an exact match before the short one
      {0x3333, 0x0003, L"QQQQ", 101},
      {0x4444, 0x0004, L"AB01", 0},    // unknown pair
  };
  for (const Case& c : cases) {
    EXPECT_EQ(manager.TypeOf(c.vid, c.pid, c.id), c.type) << std::hex << c.vid << ":" << c.pid;
  }
  EXPECT_TRUE(manager.IsSupported(0x3333, 0x0003));
  EXPECT_FALSE(manager.IsSupported(0x3333, 0x0004));
  EXPECT_EQ(manager.ModeOf(0x1111, 0x0001), 0);  // first entry's mode
  EXPECT_EQ(manager.ModeOf(0x3333, 0x0003), 1);
  EXPECT_EQ(manager.ModeOf(0x4444, 0x0004), 0);
}

// --- EnumerateDevice -------------------------------------------------------------------

class EnumerateTest : public DeviceFixture {};

TEST_F(EnumerateTest, CableAndReceiverTogether) {
  const int mouse = bus->AddMouse(Mouse("VA01"));
  const int cable = bus->PlugCable(mouse, kVid, kAirCable, 0x0102);
  const int receiver = bus->PlugReceiver(mouse, kVid, kAirReceiver, 0x0107);
  manager->Rescan(1);

  EXPECT_THAT(Log(), ElementsAre("========== EnumerateDevice Start ==========",
                                 "Step 1: Quick scan - collecting basic device info",
                                 "  Found [0]: VID=0xF0A5, PID=0x5101, Mode=USB",
                                 "  Found [1]: VID=0xF0A5, PID=0x5102, Mode=2.4G",
                                 "Step 2: USB device found, SKIP reading 2.4G details (reduce HID traffic)",
                                 "  [0] USB device - reading details...",
                                 "  [0] DeviceId: VA01, DeviceType: 1",
                                 "  [0] Final: VID=0xF0A5, PID=0x5101, Type=1, Mode=0",
                                 "  [1] 2.4G device - SKIP (USB exists)",
                                 "  [1] Final: VID=0xF0A5, PID=0x5102, Type=0, Mode=1"));
  // Both vendor interfaces are open; only the cable one was asked.
  EXPECT_EQ(bus->OpenHandles(), 2);
  EXPECT_EQ(bus->Requests(cable).size(), 1u);
  EXPECT_TRUE(bus->Requests(receiver).empty());
  EXPECT_EQ(clock->Pauses(), (std::vector<int>{20, 20}));

  std::vector<DeviceRecord> records;
  manager->SetSelectedType(0);
  ASSERT_TRUE(manager->ListRecords(records));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].device_type, 1);
  EXPECT_EQ(records[0].release_number, 0x0102);
  EXPECT_EQ(records[0].path, bus->Node(cable, SimulatedHid::kVendorInterface));
  EXPECT_EQ(records[1].device_type, 0);
  EXPECT_EQ(records[1].mode, 1);
  EXPECT_EQ(records[1].online, 1);
  EXPECT_EQ(records[0].handle, nullptr);  // copies never carry handles

  // Commands go to the cable interface.
  manager->SetSelectedType(1);
  EXPECT_EQ(manager->ConnectionKind(), 0);
  uint8_t frame[33] = {0x00, 0x11};
  EXPECT_TRUE(manager->SendReport(frame, sizeof frame, true));
  EXPECT_EQ(bus->Requests(cable).size(), 2u);
  EXPECT_TRUE(bus->Requests(receiver).empty());
  int release = 0;
  ASSERT_TRUE(manager->ReleaseOf(1, release));
  EXPECT_EQ(release, 0x0107);
}

TEST_F(EnumerateTest, ReceiverWithoutItsMouse) {
  const int mouse = bus->AddMouse(Mouse("VA01"));
  const int receiver = bus->PlugReceiver(mouse, kVid, kAirReceiver);
  bus->SetMousePower(mouse, false);
  bus->ClearRecord();
  manager->EnumerateDevice();

  EXPECT_THAT(Log(), ElementsAre("========== EnumerateDevice Start ==========",
                                 "Step 1: Quick scan - collecting basic device info",
                                 "  Found [0]: VID=0xF0A5, PID=0x5102, Mode=2.4G",
                                 "Step 2: No USB device, will read 2.4G device details",
                                 "  [0] 2.4G state: Online", "  [0] 2.4G device - reading details...",
                                 "  [0] Final: VID=0xF0A5, PID=0x5102, Type=0, Mode=1"));
  // Two info requests, each with its pause and two reads, 500 ms apart.
  EXPECT_EQ(clock->Pauses(), (std::vector<int>{20, 20, 20, 500, 20, 20, 20}));
  EXPECT_EQ(bus->Requests(receiver).size(), 2u);
  EXPECT_EQ(manager->RecordCount(), 1u);
  EXPECT_FALSE(manager->IsPresent(0));  // no device id
}

TEST_F(EnumerateTest, ReceiverAnsweringTheSecondTime) {
  const int receiver = bus->PlugReceiver(bus->AddMouse(Mouse("VS08")), kVid, kSwiftReceiver);
  bus->InjectFault(receiver, SimulatedHid::Fault::NoReply);
  manager->EnumerateDevice();
  EXPECT_EQ(clock->Pauses(), (std::vector<int>{20, 20, 20, 500, 20, 20}));
  manager->SetOpenFlag(1);
  manager->SetSelectedType(3);
  EXPECT_EQ(manager->ConnectionKind(), 1);
  EXPECT_TRUE(manager->IsPresent(3));
}

TEST_F(EnumerateTest, OnlyTheVendorInterfaceWithTheRightUsageIsOpened) {
  const int plug = bus->PlugCable(bus->AddMouse(Mouse("VC02")), kVid, kCoreCable);
  // Interfaces 0, 1 (pointer, keyboard) and 3 (usage page 0xFF01, usage
  // 0x0001) carry the same ids and are passed over.
  manager->EnumerateDevice();
  EXPECT_EQ(bus->OpenHandles(), 1);
  manager->SetOpenFlag(1);
  std::vector<DeviceRecord> records;
  ASSERT_TRUE(manager->ListRecords(records));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].path, bus->Node(plug, 2));
}

TEST_F(EnumerateTest, InterfacesThatCannotBeOpenedOrAreUnknownAreSkipped) {
  const int denied = bus->PlugCable(bus->AddMouse(Mouse("VA01")), kVid, kAirCable);
  bus->DenyOpen(denied, true);
  bus->PlugCable(bus->AddMouse(Mouse("ZZ99")), 0x1234, 0x5678);
  manager->EnumerateDevice();
  EXPECT_EQ(manager->RecordCount(), 0u);
  EXPECT_EQ(bus->OpenHandles(), 0);

  // Without any mode entries nothing is opened at all.
  bus->DenyOpen(denied, false);
  manager->ClearModeEntries();
  manager->EnumerateDevice();
  EXPECT_EQ(bus->OpenHandles(), 0);
}

TEST_F(EnumerateTest, ShortDevIdGives101) {
  manager->ClearModeEntries();
  manager->AddModeEntry(kVid, kAirCable, L"", 1, 0, L"VA");
  manager->AddModeEntry(kVid, kAirCable, L"", 9, 0, L"VA01");
  bus->PlugCable(bus->AddMouse(Mouse("VA01")), kVid, kAirCable);
  manager->Rescan(kDeviceTypeAnyId);
  EXPECT_EQ(manager->ConnectionKind(), 0);
  EXPECT_TRUE(manager->IsPresent(kDeviceTypeAnyId));
  EXPECT_FALSE(manager->IsPresent(9));
}

TEST_F(EnumerateTest, TwoModelsOnOneIdPairAreToldApartByDeviceId) {
  manager->ClearModeEntries();
  manager->AddModeEntry(kVid, kAirCable, L"", 1, 0, L"VA01");
  manager->AddModeEntry(kVid, kAirCable, L"", 4, 0, L"VA04");
  bus->PlugCable(bus->AddMouse(Mouse("VA04")), kVid, kAirCable);
  bus->PlugCable(bus->AddMouse(Mouse("VA01")), kVid, kAirCable);
  std::vector<DeviceRecord> records = manager->Rescan(0);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].device_type, 4);
  EXPECT_EQ(records[1].device_type, 1);
}

// --- Active interface and list queries -----------------------------------------------------

TEST_F(EnumerateTest, FirstReceiverOfTheTypeDecidesTheActiveInterface) {
  const int first = bus->PlugReceiver(bus->AddMouse(Mouse("VA01")), kVid, kAirReceiver);
  const int second = bus->PlugReceiver(bus->AddMouse(Mouse("VA01")), kVid, kAirReceiver);
  Discover(1);
  HidDevice* active = manager->GetActiveDevice();
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(manager->GetActiveDevice(), active);  // cached

  ASSERT_TRUE(manager->SetRecordOnline(0, 2));
  manager->ClearActiveCache();
  EXPECT_EQ(manager->GetActiveDevice(), nullptr);  // the second, online one is not looked at
  uint8_t frame[33] = {0x00, 0x11};
  EXPECT_FALSE(manager->SendReport(frame, sizeof frame, true));
  EXPECT_TRUE(bus->Requests(first).empty());
  EXPECT_TRUE(bus->Requests(second).empty());

  std::vector<DeviceRecord> online;
  ASSERT_TRUE(manager->ListOnlineRecords(online));
  ASSERT_EQ(online.size(), 1u);
  EXPECT_EQ(online[0].index, 1);
  EXPECT_TRUE(manager->IsPresent(1));  // state 2 still counts as present
  manager->SetOnline(1, 1, 0);
  EXPECT_FALSE(manager->IsPresent(1));
  EXPECT_FALSE(manager->ListOnlineRecords(online));
  EXPECT_EQ(manager->ConnectionKind(), 1);
}

TEST_F(EnumerateTest, NoSelectionMeansNoTarget) {
  bus->PlugCable(bus->AddMouse(Mouse("XXXX")), kVid, kAirCable);  // answers, but is no known model
  Discover(0);
  std::vector<DeviceRecord> records;
  ASSERT_TRUE(manager->ListRecords(records));
  EXPECT_EQ(records[0].device_type, 0);
  // Selection 0 is "none": the unidentified interface gets no commands.
  EXPECT_EQ(manager->GetActiveDevice(), nullptr);
  EXPECT_EQ(manager->ConnectionKind(), -1);
}

TEST_F(EnumerateTest, CloseAllClosesOnlyAnOpenList) {
  bus->PlugCable(bus->AddMouse(Mouse("VA01")), kVid, kAirCable);
  manager->EnumerateDevice();  // open flag still 0
  manager->CloseAll();
  EXPECT_EQ(manager->RecordCount(), 1u);
  manager->SetOpenFlag(1);
  manager->CloseAll();
  EXPECT_EQ(manager->RecordCount(), 0u);
  EXPECT_EQ(bus->OpenHandles(), 0);
  EXPECT_EQ(manager->OpenFlag(), 0);
  int release = 0;
  EXPECT_FALSE(manager->ReleaseOf(0, release));
}

}  // namespace
}  // namespace devicetest
