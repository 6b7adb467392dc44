// The worker's jobs and the mouse's own reports: the queue, the step, each
// job code, the notification poll with its link and DPI-change handling,
// and the thread itself.

#include <thread>

#include "SequenceFixture.h"

namespace seqtest {
namespace {

using ::testing::ElementsAre;

class JobsTest : public SequenceFixture {
 protected:
  void ConnectAirCable() {
    mouse = bus->AddMouse(Mouse("VA01"));
    plug = bus->PlugCable(mouse, kVid, kAirCable);
    Worker().RunJob(DeviceWorker::kJobConnect);
    ASSERT_TRUE(state->session.Linked());
  }
  void ConnectAirReceiver() {
    mouse = bus->AddMouse(Mouse("VA01"));
    plug = bus->PlugReceiver(mouse, kVid, kAirReceiver);
    Worker().RunJob(DeviceWorker::kJobConnect);
    ASSERT_TRUE(state->session.Linked());
  }

  int mouse = -1;
  int plug = -1;
};

TEST_F(JobsTest, SingleGroupJobsSendTheirCommand) {
  ConnectAirCable();
  struct Case {
    int job;
    int command;
    size_t length;
  } cases[] = {
      {8, 0x05, 65}, {9, 0x03, 33}, {10, 0x04, 33}, {11, 0x02, 33}, {12, 0x06, 65}, {13, 0x07, 65},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.job);
    Forget();
    Worker().RunJob(c.job);
    const auto requests = bus->Requests(plug);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0][1], c.command);
    EXPECT_EQ(requests[0].size(), c.length);
    EXPECT_EQ(clock->Pauses(), std::vector<int>{66});
  }
}

TEST_F(JobsTest, CodesWithoutWorkAreTakenAndDropped) {
  ConnectAirCable();
  Forget();
  for (int code : {0, 7, 14, 23, 24, 99, -5}) Worker().AppendJob(code);
  for (int i = 0; i < 7; ++i) Worker().Step();
  EXPECT_TRUE(Worker().Jobs().Empty());
  EXPECT_TRUE(bus->Requests(plug).empty());
  EXPECT_TRUE(Observer().Calls().empty());
}

TEST_F(JobsTest, StepRunsJobsInOrderBeforeAnyPoll) {
  ConnectAirCable();
  Forget();
  Worker().AppendJob(11);
  Worker().AppendJob(9);
  Worker().AppendJob(10);
  EXPECT_EQ(Worker().Jobs().Codes(), (std::vector<int>{11, 9, 10}));
  for (int i = 0; i < 3; ++i) Worker().Step();
  EXPECT_EQ(Commands(plug), (std::vector<int>{0x02, 0x03, 0x04}));
  EXPECT_EQ(bus->ReadCalls(plug), 0);  // the writes wait for nothing, no poll ran
  Worker().Step();                      // empty queue, device present: one poll
  EXPECT_EQ(bus->ReadCalls(plug), 1);
}

TEST_F(JobsTest, WithoutADeviceTheStepNeverReads) {
  Worker().Step();
  Worker().Step();
  EXPECT_FALSE(state->session.DevicePresent());
  EXPECT_TRUE(clock->Pauses().empty());
  EXPECT_EQ(clock->WaitedMs(), 0);
}

TEST_F(JobsTest, UpdateTipJobClosesTheTipBetweenItsPauses) {
  Worker().RunJob(27);
  EXPECT_EQ(clock->Pauses(), (std::vector<int>{100, 100}));
  EXPECT_THAT(Observer().Calls(), ElementsAre("CloseUpdateTip"));
}

TEST_F(JobsTest, ReconnectWaitsThenReadsNothingNewAndSkipsTheOnlineCheck) {
  ConnectAirCable();
  Forget();
  Worker().RunJob(DeviceWorker::kJobReconnect);
  ASSERT_FALSE(clock->Pauses().empty());
  EXPECT_EQ(clock->Pauses().front(), 500);
  EXPECT_TRUE(Observer().Called("ShowFirmwareVersion 256"));
  EXPECT_FALSE(Observer().Called("CheckOnlineVersion"));
  EXPECT_FALSE(Observer().Called("ShowProfile 1"));  // no ensure-profiles
}

// --- Notifications -------------------------------------------------------------------

struct DpiCase {
  const char* name;
  int stage;
  int count;
  bool tips;
  std::vector<std::string> calls;  // after the log line
  int storedIndex;
  int storedCount;
};

class DpiNotificationTest : public JobsTest, public ::testing::WithParamInterface<DpiCase> {};

TEST_P(DpiNotificationTest, UpdatesWhatChanged) {
  const DpiCase& c = GetParam();
  ConnectAirCable();
  state->model.traits.show_dpitips = c.tips;
  Store().SetConfigInt(Profile(), L"dpi_index", 1);
  Store().SetConfigInt(Profile(), L"dpi_count", 6);
  // The controls show count 6 with stage 1 selected.
  Forget();
  if (c.count > 0) {
    bus->PressDpiButton(mouse, c.stage, c.count);
  } else {
    bus->Notify(plug, {0xD2, static_cast<uint8_t>((c.stage << 4) | c.count)});  // no mouse sends this
  }
  Worker().PollNotifications();
  EXPECT_EQ(Observer().Calls(), c.calls);
  EXPECT_EQ(Store().GetConfigInt(Profile(), L"dpi_index"), c.storedIndex);
  EXPECT_EQ(Store().GetConfigInt(Profile(), L"dpi_count"), c.storedCount);
  char line[64];
  std::snprintf(line, sizeof line, "mouse notify data: D2 %02X 00 00 00 00", (c.stage << 4) | c.count);
  ASSERT_FALSE(Log().empty());
  EXPECT_EQ(Log().front(), line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DpiNotificationTest,
    ::testing::Values(
        DpiCase{"same stage and count", 1, 6, true, {}, 1, 6},
        DpiCase{"new stage", 3, 6, true, {"SelectStage 3", "MoveSliderToDpi 3200", "ShowDpiMessage 3200"}, 3, 6},
        DpiCase{"new stage without tips", 0, 6, false, {"SelectStage 0", "MoveSliderToDpi 800"}, 0, 6},
        DpiCase{"new count", 1, 4, true, {"SelectStageCount 4"}, 1, 4},
        DpiCase{"stage beyond the count", 5, 3, true, {}, 1, 6},
        DpiCase{"no stages", 0, 0, true, {}, 1, 6},
        DpiCase{"both", 2, 3, true, {"SelectStageCount 3", "SelectStage 2", "MoveSliderToDpi 2400", "ShowDpiMessage 2400"},
                2, 3}),
    [](const auto& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

TEST_F(JobsTest, MouseGoingOffThenTwoLinkReportsQueueOneConnect) {
  ConnectAirReceiver();
  bus->UpdateFirmware(mouse, [](mouseproto::MouseState& s) { s.identity.battery_level = 0; });
  Forget();
  bus->SetMousePower(mouse, false);
  Worker().PollNotifications();

  EXPECT_FALSE(state->session.Linked());
  EXPECT_THAT(Log(), ElementsAre("mouse notify data: D1 00 00 00 00 00", "上报dongle和设备的连接状态: 0"));
  // Battery byte 0: the indicator is left alone. The list control still
  // counts one device on line, so the list stays.
  EXPECT_THAT(Observer().Calls(),
              ElementsAre("ClosePopups", "ShowDeviceState 50", "SetDeviceState 1 1 0", "StopMacroRecording",
                          "GetOnlineDevCount", "ShowDeviceList 1"));
  EXPECT_TRUE(Worker().Jobs().Empty());

  bus->UpdateFirmware(mouse, [](mouseproto::MouseState& s) { s.identity.battery_level = 64; });
  bus->SetMousePower(mouse, true);
  bus->Notify(plug, {0xD1, 0x01, 64, 0x00});
  Observer().Clear();
  Worker().PollNotifications();
  Worker().PollNotifications();
  EXPECT_TRUE(state->session.Linked());
  EXPECT_EQ(Worker().Jobs().Codes(), std::vector<int>{DeviceWorker::kJobConnect});
  EXPECT_THAT(Observer().Calls(),
              ElementsAre("ClosePopups", "SetBatteryInfo 64 0", "ClosePopups", "SetBatteryInfo 64 0"));
}

// A report cut after its first byte carries no state: neither a link
// report nor a DPI report changes anything, through the active interface
// or through a receiver that is only listened to.
TEST_F(JobsTest, NotificationsCutAfterTheirFirstByteAreDropped) {
  ConnectAirReceiver();
  for (const uint8_t kind : {uint8_t{0xD1}, uint8_t{0xD2}}) {
    SCOPED_TRACE(static_cast<int>(kind));
    manager->SetSelectedType(1);  // the receiver takes commands
    Forget();
    bus->Notify(plug, {kind});
    Worker().PollNotifications();
    EXPECT_TRUE(state->session.Linked());
    EXPECT_TRUE(Observer().Calls().empty());
    EXPECT_TRUE(Log().empty());
    // The receiver's own record keeps its online state when the report
    // comes while no interface takes commands.
    manager->SetSelectedType(0);
    bus->Notify(plug, {kind});
    DeviceManager::InfoReply report{};
    int type = -1;
    EXPECT_FALSE(manager->PollInput(report, type));
    EXPECT_EQ(report[0], 0);
    std::vector<DeviceRecord> records;
    ASSERT_TRUE(manager->ListRecords(records));
    EXPECT_EQ(records[0].online, 1);
  }
}

// The poll of a mouse that has gone logs the backend's text once, not at
// every step.
TEST_F(JobsTest, APollThatKeepsFailingIsLoggedOnce) {
  ConnectAirCable();
  Forget();
  bus->InjectFault(plug, SimulatedHid::Fault::UnplugMidExchange);
  uint8_t frame[33] = {0x00, 0x11};
  manager->SendReport(frame, sizeof frame, true);  // the handle goes stale
  Log().clear();
  for (int i = 0; i < 3; ++i) Worker().PollNotifications();
  EXPECT_THAT(Log(), ElementsAre("HID read failed: Device disconnected"));
}

TEST_F(JobsTest, ReceiverWithoutActiveInterfaceIsStillHeardWhenItsMouseReturns) {
  ConnectAirReceiver();
  // The receiver reports its mouse gone: no interface takes commands now.
  bus->SetMousePower(mouse, false);
  Worker().PollNotifications();
  manager->ClearActiveCache();
  ASSERT_EQ(manager->GetActiveDevice(), nullptr);

  Forget();
  bus->SetMousePower(mouse, true);
  DeviceManager::InfoReply report{};
  int type = 0;
  EXPECT_FALSE(manager->PollInput(report, type));  // read from a receiver: reported, not returned
  EXPECT_EQ(report[0], 0xD1);
  EXPECT_EQ(type, 1);
  // The receiver asked its mouse who it is and is on line again.
  EXPECT_THAT(Commands(plug), ElementsAre(0x30));
  std::vector<DeviceRecord> online;
  EXPECT_TRUE(manager->ListOnlineRecords(online));
  EXPECT_NE(manager->GetActiveDevice(), nullptr);
}

TEST_F(JobsTest, CheckWirelessMarksAReceiverWithoutItsMouse) {
  ConnectAirReceiver();
  bus->Notify(plug, {0xD1, 0x00, 50, 0x00});
  manager->CheckWireless();
  std::vector<DeviceRecord> records;
  ASSERT_TRUE(manager->ListRecords(records));
  EXPECT_EQ(records[0].online, 2);
  bus->Notify(plug, {0xD2, 0x16});
  manager->CheckWireless();  // only on-line receivers are read, and other reports are dropped
  ASSERT_TRUE(manager->ListRecords(records));
  EXPECT_EQ(records[0].online, 2);
}

// --- The thread -------------------------------------------------------------------------

TEST(WorkerThreadTest, RunsQueuedJobsAndStopsWithinItsWait) {
  testenv::FreshUserFolders home;
  testenv::TempDir databases;
  auto clock = std::make_shared<RealClock>();
  auto bus = std::make_shared<SimulatedHid>(clock);
  bus->SetLatency(0);
  DeviceManager manager(bus, clock);
  for (const ModeEntry& m : devicetest::CatalogModes()) {
    manager.AddModeEntry(m.vendor_id, m.product_id, m.name, m.device_type, m.mode, m.dev_id);
  }
  const int plug = bus->PlugCable(bus->AddMouse(Mouse("VC02")), kVid, kCoreCable);
  ProgramState program(manager, *clock, databases.Path());
  program.worker.AppendJob(DeviceWorker::kJobConnect);
  program.worker.AppendJob(DeviceWorker::kJobReportRate);
  ASSERT_TRUE(program.worker.Start());
  EXPECT_FALSE(program.worker.Start());
  // Jobs are appended from this thread while the worker runs.
  for (int i = 0; i < 200 && bus->Requests(plug).size() < 9; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(program.worker.Stop(1000));
  EXPECT_FALSE(program.worker.Running());
  std::vector<int> commands;
  for (const auto& request : bus->Requests(plug)) commands.push_back(request[1]);
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.back(), 0x02);
  EXPECT_TRUE(program.worker.Jobs().Empty());
}

}  // namespace
}  // namespace seqtest
