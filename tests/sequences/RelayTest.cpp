// The relay hands the worker's calls to a window thread in the worker's
// order, and answers its queries there.

#include <condition_variable>
#include <deque>
#include <thread>

#include "SequenceFixture.h"
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
  int GetSelectDevice() override {
    threads.push_back(std::this_thread::get_id());
    return RecordingObserver::GetSelectDevice();
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
    WindowThread windowThread;
    windowId = windowThread.Id();
    DeviceObserverRelay relay(window, [&](DeviceObserverRelay::Task task) { windowThread.Post(std::move(task)); });
    SettingsStore store;
    store.OpenDatabase(otherDatabases.Path(), L"sim");
    FixedModel model;
    DeviceSession session(manager, relay, nullptr);
    session.SetCatalogModes(devicetest::CatalogModes());
    DeviceWorker worker(manager, session, store, relay, model, *clock);
    std::thread workerThread([&] { worker.RunJob(DeviceWorker::kJobConnect); });
    workerThread.join();
    // The window thread has run every task once its queue is drained.
  }
  relayed = window.Calls();
  EXPECT_EQ(relayed, direct);
  ASSERT_FALSE(window.threads.empty());
  for (const std::thread::id& id : window.threads) EXPECT_EQ(id, windowId);
  shell::SetLogSink({});
}

}  // namespace
}  // namespace seqtest
