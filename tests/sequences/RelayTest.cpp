// The relay hands the worker's calls to a window thread in the worker's
// order, and answers its queries from its mirror of the window without
// waiting for that thread.

#include <condition_variable>
#include <deque>
#include <future>
#include <optional>
#include <thread>

#include "SequenceFixture.h"
#include "device/DefaultLights.h"
#include "device/DeviceObserverRelay.h"

namespace seqtest {
namespace {

// A window thread with a message queue: tasks run one by one, in order.
class WindowThread {
 public:
  WindowThread() : thread_([this] { Loop(); }) {}
  ~WindowThread() {
    Post(nullptr);
    thread_.join();
  }
  void Post(DeviceObserverRelay::Task task) {
    std::lock_guard<std::mutex> hold(lock_);
    tasks_.push_back(std::move(task));
    wake_.notify_one();
  }
  std::thread::id Id() const { return thread_.get_id(); }

 private:
  void Loop() {
    for (;;) {
      DeviceObserverRelay::Task task;
      {
        std::unique_lock<std::mutex> hold(lock_);
        wake_.wait(hold, [this] { return !tasks_.empty(); });
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      if (!task) return;
      task();
    }
  }
  std::mutex lock_;
  std::condition_variable wake_;
  std::deque<DeviceObserverRelay::Task> tasks_;
  std::thread thread_;
};

// Records the thread of every call besides the call.
class ThreadCheckingObserver : public RecordingObserver {
 public:
  void RefreshDPI() override {
    threads.push_back(std::this_thread::get_id());
    RecordingObserver::RefreshDPI();
  }
  void SetBatteryInfo(int level, int charging) override {
    threads.push_back(std::this_thread::get_id());
    RecordingObserver::SetBatteryInfo(level, charging);
  }
  std::vector<std::thread::id> threads;  // written on the window thread only
};

TEST(RelayTest, ConnectThroughTheRelayKeepsOrderAndRunsOnTheWindowThread) {
  testenv::FreshUserFolders home;
  testenv::TempDir databases;
  shell::SetLogSink([](const std::string&) {});
  auto clock = std::make_shared<VirtualClock>();
  auto bus = std::make_shared<SimulatedHid>(clock);
  DeviceManager manager(bus, clock);
  for (const ModeEntry& m : devicetest::CatalogModes()) {
    manager.AddModeEntry(m.vendor_id, m.product_id, m.name, m.device_type, m.mode, m.dev_id);
  }
  const int mouse = bus->AddMouse(Mouse("VC02"));
  bus->PlugCable(mouse, kVid, kCoreCable);

  // The same connection, once straight to an observer and once relayed.
  shell::CreateRegistryKey();
  std::vector<std::string> direct;
  {
    shell::WriteRegistryInt(L"DeviceType", 101);
    ProgramState program(manager, *clock, databases.Path());
    program.worker.RunJob(DeviceWorker::kJobConnect);
    direct = program.observer.Calls();
  }
  testenv::TempDir otherDatabases;
  ThreadCheckingObserver window;
  std::vector<std::string> relayed;
  std::thread::id windowId;
  {
    shell::WriteRegistryInt(L"DeviceType", 101);
    // The relay outlives the window thread: the thread's last tasks still
    // publish the window's state into it while the thread winds down.
    std::optional<DeviceObserverRelay> relayed_to;
    WindowThread windowThread;
    windowId = windowThread.Id();
    relayed_to.emplace(window, [&](DeviceObserverRelay::Task task) { windowThread.Post(std::move(task)); });
    DeviceObserverRelay& relay = *relayed_to;
    SettingsStore store;
    store.OpenDatabase(otherDatabases.Path(), L"sim");
    FixedModel model;
    DeviceSession session(manager, relay, nullptr);
    session.SetCatalogModes(devicetest::CatalogModes());
    DeviceWorker worker(manager, session, store, relay, model, *clock, [](int) { return std::wstring(L"Profile"); });
    std::thread workerThread([&] { worker.RunJob(DeviceWorker::kJobConnect); });
    workerThread.join();
    // The window thread has run every task once its queue is drained.
  }
  relayed = window.Calls();
  // The queries are answered by the relay itself, with the same answers:
  // the calls that follow them (the model shown) are the same.
  std::vector<std::string> notifications;
  for (const std::string& call : direct) {
    if (call != "GetOnlineDevCount" && call != "GetSelectDevice") notifications.push_back(call);
  }
  ASSERT_NE(notifications.size(), direct.size());
  EXPECT_EQ(relayed, notifications);
  ASSERT_FALSE(window.threads.empty());
  for (const std::thread::id& id : window.threads) EXPECT_EQ(id, windowId);
  shell::SetLogSink({});
}

// A window whose lighting page is slow: RefreshLighting holds the window
// thread until the test lets it go. Like the real page it then creates the
// light records a profile lacks, too late for anything the worker does.
class LateLightingWindow : public RecordingObserver {
 public:
  LateLightingWindow(SettingsStore& store, DeviceWorker*& worker, const LightEffects& effects)
      : store_(store), worker_(worker), effects_(effects) {}
  void RefreshLighting() override {
    {
      std::unique_lock<std::mutex> hold(gateLock_);
      gateOpen_.wait(hold, [this] { return open_; });
    }
    CreateDefaultLights(store_, worker_->Sequences().CurrentProfile(), effects_);
    RecordingObserver::RefreshLighting();
  }
  void Hold() {
    std::lock_guard<std::mutex> hold(gateLock_);
    open_ = false;
  }
  void Release() {
    std::lock_guard<std::mutex> hold(gateLock_);
    open_ = true;
    gateOpen_.notify_all();
  }

 private:
  SettingsStore& store_;
  DeviceWorker*& worker_;
  LightEffects effects_;
  std::mutex gateLock_;
  std::condition_variable gateOpen_;
  bool open_ = false;
};

// Runs a task on the window thread and waits for it to finish there.
void RunOnWindow(WindowThread& windowThread, const std::function<void()>& task) {
  std::promise<void> done;
  windowThread.Post([&] {
    task();
    done.set_value();
  });
  done.get_future().get();
}

TEST(RelayTest, TheWorkerLoadsTheModelAndMakesTheLightRecordsWithoutWaitingForTheWindow) {
  testenv::FreshUserFolders home;
  testenv::TempDir databases;
  shell::SetLogSink([](const std::string&) {});
  shell::CreateRegistryKey();
  shell::WriteRegistryInt(L"DeviceType", 101);
  auto clock = std::make_shared<VirtualClock>();
  auto bus = std::make_shared<SimulatedHid>(clock);
  DeviceManager manager(bus, clock);
  // The mouse's lighting differs from a new light record's, so a read that
  // found no record to store it in would show.
  mouseproto::MouseState core = Mouse("VC02");
  core.settings.lighting.mode = 2;
  core.settings.lighting.brightness = 3;
  core.settings.lighting.speed = 1;
  const int plug = bus->PlugCable(bus->AddMouse(core), kVid, kCoreCable);

  // The store starts closed: only the model load opens a database.
  SettingsStore store;
  FixedModel model;
  model.store = &store;
  model.databaseFolder = databases.Path();
  DeviceWorker* workerRef = nullptr;
  LateLightingWindow window(store, workerRef, model.effects);
  // The relay outlives the window thread, whose last tasks publish into it.
  std::optional<DeviceObserverRelay> relayed_to;
  WindowThread windowThread;
  relayed_to.emplace(window, [&](DeviceObserverRelay::Task task) { windowThread.Post(std::move(task)); },
                     windowThread.Id());
  DeviceObserverRelay& relay = *relayed_to;
  DeviceSession session(manager, relay, nullptr);
  session.SetCatalogModes(devicetest::CatalogModes());
  DeviceWorker worker(manager, session, store, relay, model, *clock,
                      [](int id) { return id == 61 ? std::wstring(L"Profile") : std::wstring(); });
  workerRef = &worker;

  // Job 1 on the worker thread; the window's lighting page does not run
  // before the job has ended.
  std::thread first([&] { worker.RunJob(DeviceWorker::kJobStart); });
  first.join();
  // The model last used, then the connected mouse's, both on the worker.
  EXPECT_EQ(model.loaded, (std::vector<int>{101, 2}));
  ASSERT_TRUE(store.IsOpened());
  std::vector<ProfileRecord> profiles;
  ASSERT_EQ(store.ListProfiles(profiles), 4);
  EXPECT_EQ(profiles[0].name, L"Profile 1");
  const int profile = worker.Sequences().CurrentProfile();
  EXPECT_EQ(profile, 1);
  // Modes 1, 2, 3, 6 and 0; the read of 0x15 found mode 2's record.
  EXPECT_EQ(store.CountLights(profile), 5);
  EXPECT_EQ(store.GetCurrentLightMode(profile), 2);
  LightRecord light;
  ASSERT_TRUE(store.GetLight(profile, 2, light));
  EXPECT_EQ(light.brightness, 3);
  EXPECT_EQ(light.speed, 1);
  window.Release();
  RunOnWindow(windowThread, [] {});

  // The factory restore deletes the records and sends mode 1's new one.
  window.Hold();
  bus->ClearRecord();
  std::thread restore([&] { worker.RunJob(DeviceWorker::kJobFactoryRestore); });
  restore.join();
  const auto requests = bus->Requests(plug);
  ASSERT_FALSE(requests.empty());
  const std::vector<uint8_t>& lighting = requests.back();
  ASSERT_GE(lighting.size(), 7u);
  EXPECT_EQ(lighting[1], 0x05);  // write lighting
  EXPECT_EQ(lighting[5], 0x01);  // mode 1
  EXPECT_EQ(lighting[6], 0x42);  // brightness 4, speed 2
  EXPECT_EQ(store.CountLights(profile), 5);
  window.Release();
  RunOnWindow(windowThread, [] {});
  EXPECT_TRUE(window.Called("RefreshLighting"));
  shell::SetLogSink({});
}

// A window whose thread is held until the test lets it go.
class BusyWindow : public RecordingObserver {
 public:
  void ShowModel(int type) override {
    {
      std::unique_lock<std::mutex> hold(gateLock_);
      gateOpen_.wait(hold, [this] { return open_; });
    }
    RecordingObserver::ShowModel(type);
  }
  void Release() {
    std::lock_guard<std::mutex> hold(gateLock_);
    open_ = true;
    gateOpen_.notify_all();
  }

 private:
  std::mutex gateLock_;
  std::condition_variable gateOpen_;
  bool open_ = false;
};

TEST(RelayTest, QueriesAnswerWhileTheWindowThreadIsBusyWithTheUpdatesPostedBefore) {
  BusyWindow window;
  window.shownCount = 4;
  window.shownStage = 0;
  // The relay outlives the window thread, whose last tasks publish into it.
  std::optional<DeviceObserverRelay> relayed_to;
  WindowThread windowThread;
  relayed_to.emplace(window, [&](DeviceObserverRelay::Task task) { windowThread.Post(std::move(task)); },
                     windowThread.Id());
  DeviceObserverRelay& relay = *relayed_to;
  // The window publishes what it shows before the worker starts.
  RunOnWindow(windowThread, [&] { relay.Publish(); });
  EXPECT_EQ(relay.ShownStageCount(), 4);

  // The window thread is held by the first task; every answer below comes
  // while it is, and reflects the calls posted before the query.
  std::promise<std::vector<int>> answers;
  std::thread worker([&] {
    std::vector<int> a;
    relay.ShowModel(2);  // holds the window
    relay.SetAllDeviceState(0);
    relay.SetDeviceState(3, 0, 1);
    relay.SetDeviceState(1, 1, 1);
    a.push_back(relay.GetOnlineDevCount());  // 3 and 1
    relay.SetSelectDevice(1);
    a.push_back(relay.GetSelectDevice());  // 1
    relay.SetSelectDevice(7);              // not online: the first
    a.push_back(relay.GetSelectDevice());  // 3
    relay.SetDeviceState(3, 0, 0);
    a.push_back(relay.GetOnlineDevCount());  // 1 only
    a.push_back(relay.GetSelectDevice());    // 1
    a.push_back(relay.ShownStageCount());    // 4, as published
    relay.SelectStageCount(5);
    relay.SelectStage(3);
    relay.SetStage(3, 6400, 0xFF0000);
    a.push_back(relay.ShownStageCount());
    a.push_back(relay.ShownStage());
    a.push_back(relay.StageDpi(3));
    a.push_back(relay.StageDpi(9));  // no such stage
    answers.set_value(a);
  });
  std::future<std::vector<int>> result = answers.get_future();
  ASSERT_EQ(result.wait_for(std::chrono::seconds(20)), std::future_status::ready) << "a query waited for the window";
  EXPECT_EQ(result.get(), (std::vector<int>{2, 1, 3, 1, 1, 4, 5, 3, 6400, 0}));
  worker.join();
  EXPECT_TRUE(window.Calls().empty());

  // Once the window has run the tasks, its own state is what the answers
  // give: the recording window keeps the stage it was told.
  window.Release();
  RunOnWindow(windowThread, [] {});
  EXPECT_EQ(window.Calls().front(), "ShowModel 2");
  EXPECT_EQ(relay.ShownStage(), 3);
  EXPECT_EQ(relay.StageDpi(3), 6400);
  EXPECT_EQ(relay.GetSelectDevice(), 1);
}

TEST(RelayTest, AQueryFromTheWindowThreadIsAnsweredThere) {
  RecordingObserver window;
  window.shownCount = 4;
  // The relay outlives the window thread, whose last tasks publish into it.
  std::optional<DeviceObserverRelay> relayed_to;
  WindowThread windowThread;
  relayed_to.emplace(window, [&](DeviceObserverRelay::Task task) { windowThread.Post(std::move(task)); },
                     windowThread.Id());
  DeviceObserverRelay& relay = *relayed_to;
  int count = 0;
  int stage = -1;
  RunOnWindow(windowThread, [&] {
    count = relay.ShownStageCount();
    stage = relay.ShownStage();
  });
  EXPECT_EQ(count, 4);
  EXPECT_EQ(stage, 1);
  // From another thread the query still goes through the window's queue.
  EXPECT_EQ(relay.ShownStageCount(), 4);
}

}  // namespace
}  // namespace seqtest
