// The rescan as the main window runs it, hot-plug driven by the simulated
// bus, and recovery after unplugging and suspend/resume.

#include <string>
#include <vector>

#include "DeviceFixture.h"
#include "TestEnv.h"
#include "device/DeviceSession.h"
#include "device/InterfaceProbe.h"
#include "shell/Environment.h"

namespace devicetest {
namespace {

using ::testing::ElementsAre;

// Records every call as text; the device list control selects what it is
// asked to select if it lists that type, else its first listed type.
class RecordingEvents : public DeviceEvents {
 public:
  void SetAllDeviceState(int state) override { Add("SetAllDeviceState " + std::to_string(state)); }
  void SetDeviceState(int type, int mode, int online) override {
    listed.push_back(type);
    Add("SetDeviceState " + std::to_string(type) + " " + std::to_string(mode) + " " + std::to_string(online));
  }
  void SetDeviceVersion(int type, int release) override {
    Add("SetDeviceVersion " + std::to_string(type) + " " + std::to_string(release));
  }
  int GetOnlineDevCount() override {
    Add("GetOnlineDevCount");
    return static_cast<int>(listed.size());
  }
  void SetSelectDevice(int type) override {
    Add("SetSelectDevice " + std::to_string(type));
    selected = 0;
    for (int t : listed) {
      if (t == type) selected = t;
    }
    if (selected == 0 && !listed.empty()) selected = listed.front();
  }
  int GetSelectDevice() override {
    Add("GetSelectDevice");
    return selected;
  }
  void ClosePopups() override { Add("ClosePopups"); }
  void ShowModel(int type) override { Add("ShowModel " + std::to_string(type)); }
  void ShowDeviceState(int text) override { Add("ShowDeviceState " + std::to_string(text)); }
  void AppendJob(int code) override { jobs.push_back(code); }

  void Add(std::string call) { calls.push_back(std::move(call)); }
  void Clear() {
    calls.clear();
    jobs.clear();
    listed.clear();
  }

  std::vector<std::string> calls;
  std::vector<int> jobs;
  std::vector<int> listed;
  int selected = 0;
};

// The model source's load, recorded among the window's calls so that the
// order of the two shows.
class RecordingModel : public ModelDefaults {
 public:
  explicit RecordingModel(RecordingEvents& events) : events_(events) {}
  ModelTraits Traits(int) override { return {}; }
  void ApplyModelDefaults(int, int, bool) override {}
  void LoadModel(int type) override { events_.Add("LoadModel " + std::to_string(type)); }

 private:
  RecordingEvents& events_;
};

class SessionTest : public DeviceFixture {
 protected:
  SessionTest()
      : model(events),
        session(*manager, events, [this](const std::string& node) { return ProbeVendorInterface(*bus, node); }) {
    session.SetModelLoader(&model);
    session.SetCatalogModes(CatalogModes());
    bus->SetChangeListener([this](const platform::DeviceChangeEvent& event) { session.UpdateUSBDevice(event); });
  }
  ~SessionTest() override { bus->SetChangeListener({}); }

  // Sends command 0x11 in a fresh frame, waiting for the reply.
  bool Ping() {
    uint8_t frame[33] = {0x00, 0x11};
    return manager->SendReport(frame, sizeof frame, true);
  }

  testenv::FreshUserFolders home;  // the stored "DeviceType" starts afresh
  RecordingEvents events;
  RecordingModel model;
  DeviceSession session;
};

// A bus and device manager of their own for one row of a table.
struct CaseBus {
  CaseBus() {
    for (const ModeEntry& m : CatalogModes()) {
      manager->AddModeEntry(m.vendor_id, m.product_id, m.name, m.device_type, m.mode, m.dev_id);
    }
  }
  std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>();
  std::shared_ptr<SimulatedHid> bus = std::make_shared<SimulatedHid>(clock);
  std::unique_ptr<DeviceManager> manager = std::make_unique<DeviceManager>(bus, clock);
};

// Each row: what is plugged, the stored device type, and what the rescan
// tells the window, the pauses it makes and the state it leaves.
TEST_F(SessionTest, RescanTellsTheWindowWhatItFound) {
  enum class Bus { Nothing, CableAndReceiver, ReceiverWithMouseOff };
  struct Case {
    const char* what;
    Bus plugged;
    int storedType;  // 0: the value is not written
    std::vector<std::string> calls;
    std::vector<int> pauses;  // empty: not looked at
    int currentType;
    int selectedType;
    int storedAfter;
    bool present;
    bool linked;
  };
  const Case cases[] = {
      // The receiver was not asked, so the list control shows the cable
      // alone; the model is loaded before the window shows it.
      {"cable and receiver",
       Bus::CableAndReceiver,
       101,
       {"ClosePopups", "SetAllDeviceState 0", "SetDeviceState 1 0 1", "SetDeviceVersion 1 258", "GetOnlineDevCount",
        "SetSelectDevice 101", "GetSelectDevice", "LoadModel 1", "ShowModel 1", "ShowDeviceState 51"},
       {},
       1,
       1,
       1,
       true,
       true},
      // The info request fails twice with the 500 ms pause between; the
      // unidentified receiver still counts as a device: the poll keeps running.
      {"receiver alone with its mouse off",
       Bus::ReceiverWithMouseOff,
       1,
       {"ClosePopups", "SetAllDeviceState 0", "ShowDeviceState 50"},
       {20, 20, 20, 500, 20, 20, 20},
       0,
       1,
       1,
       true,
       false},
      {"nothing plugged", Bus::Nothing, 0, {"ClosePopups", "SetAllDeviceState 0", "ShowDeviceState 50"}, {}, 0, 0, 0,
       false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testenv::FreshUserFolders caseHome;  // the stored "DeviceType" starts afresh
    CaseBus fresh;
    RecordingEvents caseEvents;
    RecordingModel caseModel(caseEvents);
    DeviceSession caseSession(*fresh.manager, caseEvents, nullptr);
    caseSession.SetModelLoader(&caseModel);
    caseSession.SetCatalogModes(CatalogModes());
    if (c.plugged == Bus::CableAndReceiver) {
      const int mouse = fresh.bus->AddMouse(Mouse("VA01"));
      fresh.bus->PlugCable(mouse, kVid, kAirCable, 0x0102);
      fresh.bus->PlugReceiver(mouse, kVid, kAirReceiver, 0x0102);
    } else if (c.plugged == Bus::ReceiverWithMouseOff) {
      const int mouse = fresh.bus->AddMouse(Mouse("VA01"));
      fresh.bus->PlugReceiver(mouse, kVid, kAirReceiver);
      fresh.bus->SetMousePower(mouse, false);
    }
    if (c.storedType != 0) {
      shell::CreateRegistryKey();
      shell::WriteRegistryInt(L"DeviceType", c.storedType);
    }
    fresh.clock->ClearRecord();
    caseSession.Rescan();

    EXPECT_EQ(caseEvents.calls, c.calls);
    if (!c.pauses.empty()) {
      EXPECT_EQ(fresh.clock->Pauses(), c.pauses);
    }
    EXPECT_EQ(caseSession.CurrentDeviceType(), c.currentType);
    EXPECT_EQ(fresh.manager->SelectedType(), c.selectedType);
    EXPECT_EQ(shell::ReadRegistryInt(L"DeviceType"), c.storedAfter);
    EXPECT_EQ(caseSession.DevicePresent(), c.present);
    EXPECT_EQ(caseSession.Linked(), c.linked);
  }
}

TEST_F(SessionTest, ReloadRegistersTheCatalogAgainBeforeRescanning) {
  bus->PlugReceiver(bus->AddMouse(Mouse("VS08")), kVid, kSwiftReceiver);
  manager->ClearModeEntries();
  // The model last used is loaded first, whatever the session shows.
  shell::CreateRegistryKey();
  shell::WriteRegistryInt(L"DeviceType", 101);
  session.SetCurrentDeviceType(2);
  session.Reload();
  EXPECT_EQ(manager->ModeEntries().size(), CatalogModes().size());
  ASSERT_GE(events.calls.size(), 2u);
  EXPECT_EQ(events.calls[0], "LoadModel 101");
  EXPECT_EQ(events.calls[1], "ShowModel 101");
  EXPECT_EQ(events.calls.back(), "ShowDeviceState 52");
  EXPECT_EQ(session.CurrentDeviceType(), 3);
  EXPECT_EQ(manager->OpenFlag(), 1);
  EXPECT_EQ(bus->OpenHandles(), 1);  // the first enumeration's handles were closed
}

TEST_F(SessionTest, PlugAndUnplugQueueOneJobEach) {
  const int mouse = bus->AddMouse(Mouse("VA01"));
  // Four interfaces arrive; only the vendor interface passes the probe.
  const int receiver = bus->PlugReceiver(mouse, kVid, kAirReceiver);
  EXPECT_EQ(events.jobs, std::vector<int>{2});
  EXPECT_EQ(session.LastEventMode(), 1);

  // A removal before any device is known queues nothing.
  events.jobs.clear();
  bus->Unplug(receiver);
  EXPECT_TRUE(events.jobs.empty());

  bus->Replug(receiver);
  session.Rescan();
  ASSERT_TRUE(session.DevicePresent());
  events.jobs.clear();
  bus->Unplug(receiver);
  EXPECT_EQ(events.jobs, std::vector<int>{3});
  EXPECT_EQ(session.LastEventMode(), 1);  // the device type of the matching item
}

TEST_F(SessionTest, RecoversAfterUnplugDuringAnExchange) {
  const int cable = bus->PlugCable(bus->AddMouse(Mouse("VC02")), kVid, kCoreCable);
  shell::CreateRegistryKey();
  shell::WriteRegistryInt(L"DeviceType", 2);
  session.Rescan();
  events.jobs.clear();

  bus->InjectFault(cable, SimulatedHid::Fault::UnplugMidExchange);
  EXPECT_FALSE(Ping());
  EXPECT_EQ(events.jobs, std::vector<int>{3});

  events.Clear();
  session.Rescan();  // job 3
  EXPECT_EQ(events.calls.back(), "ShowDeviceState 50");
  EXPECT_FALSE(session.DevicePresent());
  EXPECT_EQ(bus->OpenHandles(), 0);

  bus->Replug(cable);
  EXPECT_EQ(events.jobs, std::vector<int>{2});
  session.Rescan();  // job 2
  EXPECT_TRUE(Ping());
}

TEST_F(SessionTest, RecoversAfterSuspendAndResume) {
  const int mouse = bus->AddMouse(Mouse("VS08"));
  const int cable = bus->PlugCable(mouse, kVid, kSwiftCable);
  const int receiver = bus->PlugReceiver(mouse, kVid, kSwiftReceiver);
  shell::CreateRegistryKey();
  shell::WriteRegistryInt(L"DeviceType", 3);
  session.Rescan();
  const std::string before = bus->Node(cable, 2);
  ASSERT_TRUE(Ping());
  events.jobs.clear();

  // Every handle goes stale at once; both vendor interfaces report removal.
  bus->Suspend();
  EXPECT_EQ(events.jobs, (std::vector<int>{3, 3}));
  bus->ClearRecord();
  EXPECT_FALSE(Ping());
  EXPECT_EQ(bus->Requests(cable).size(), 0u);

  // The devices come back under new nodes and report arrival.
  events.jobs.clear();
  bus->Resume();
  EXPECT_EQ(events.jobs, (std::vector<int>{2, 2}));
  EXPECT_NE(bus->Node(cable, 2), before);
  for (size_t i = 0; i < 4; ++i) session.Rescan();  // the queued jobs 3, 3, 2, 2
  EXPECT_EQ(bus->OpenHandles(), 2);                 // the stale handles were all closed
  bus->ClearRecord();
  EXPECT_TRUE(Ping());
  EXPECT_EQ(bus->Requests(cable).size(), 1u);
  EXPECT_TRUE(bus->Requests(receiver).empty());
  EXPECT_EQ(events.calls.back(), "ShowDeviceState 51");
}

}  // namespace
}  // namespace devicetest
