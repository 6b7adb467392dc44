// Device benchmarks on the simulated mouse, with the real clock:
//   (a) WriteProfile of a full profile with two macros, against the
//       protocol's own floor: the pauses the protocol mandates plus the
//       simulator's reply latency, both taken from the same write run on
//       the virtual clock (which advances without sleeping). The last line
//       is "writeprofile overhead ratio: X" (goal: at most 1.03).
//   (b) The worker thread idling with a mouse present and nothing arriving:
//       CPU time as a percentage of one core (goal: below 1 %), beside what
//       a thread that only sleeps in the same cadence costs on this machine.
// Usage: bench_device [idle seconds, default 10]. The run points HOME and
// the XDG folders at a temporary folder, so nothing of the user's is read
// or written.

#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "device/DeviceManager.h"
#include "device/DeviceSession.h"
#include "device/DeviceWorker.h"
#include "device/ModelDefaults.h"
#include "device/NullDeviceObserver.h"
#include "device/simulator/SimulatedHid.h"
#include "shell/Environment.h"
#include "shell/Log.h"
#include "store/SettingsStore.h"

namespace {

constexpr uint16_t kVid = 0xF0A5;
constexpr uint16_t kCable = 0x5101;
constexpr int kVkA = 65;

// The device list selects the last device that was listed on line.
class BenchWindow : public NullDeviceObserver {
 public:
  void SetDeviceState(int deviceType, int, int online) override {
    if (online == 1) listed = deviceType;
  }
  int GetSelectDevice() override { return listed; }

 private:
  int listed = 0;
};

class LightingModel : public ModelDefaults {
 public:
  ModelTraits Traits(int) override { return {}; }
  void ApplyModelDefaults(int, int, bool) override {}
};

// One program state over a bus: database, window side, session, worker.
struct Program {
  Program(std::shared_ptr<HidBackend> bus, std::shared_ptr<Clock> clock, const std::filesystem::path& folder)
      : manager(std::move(bus), clock),
        session(manager, window, nullptr),
        worker(manager, session, store, window, model, *clock, [](int) { return std::wstring(L"Profile"); }) {
    manager.AddModeEntry(kVid, kCable, L"", 1, 0, L"VA01");
    session.SetCatalogModes(manager.ModeEntries());
    store.OpenDatabase(folder, L"bench");
  }
  DeviceManager manager;
  SettingsStore store;
  BenchWindow window;
  LightingModel model;
  DeviceSession session;
  DeviceWorker worker;
};

MacroEvent Event(int macroId, int type, int value) {
  MacroEvent event;
  event.macro_id = macroId;
  event.type = type;
  event.value = value;
  return event;
}

KeyRecord Key(int profile, int keyCode, int type, int value, int value2 = 0) {
  KeyRecord record;
  record.profile = profile;
  record.key_code = keyCode;
  record.macro_type = type;
  record.macro_value = value;
  record.macro_value2 = value2;
  return record;
}

// Every group away from its defaults, a key combination, a one-packet macro
// and a two-packet macro, and a light record with colours.
void FillProfile(SettingsStore& store, int profile) {
  for (int i = 0; i < 6; ++i) {
    store.SetConfigInt(profile, L"dpi_group" + std::to_wstring(i) + L"_value", 400 * (i + 1));
    store.SetConfigInt(profile, L"dpi_group" + std::to_wstring(i) + L"_rgb", 0x102030 * (i + 1));
  }
  store.SetConfigInt(profile, L"report_rate", 4);
  store.SetConfigInt(profile, L"sleep_light", 60);
  const int shortMacro = store.AddMacro(L"Press A");
  store.SaveMacroEvents(shortMacro, {Event(shortMacro, 2, kVkA), Event(shortMacro, 1, 50), Event(shortMacro, 3, kVkA)});
  const int longMacro = store.AddMacro(L"Type");
  std::vector<MacroEvent> typing;
  for (int key = 0; key < 4; ++key) {
    typing.push_back(Event(longMacro, 2, kVkA + key));
    if (key < 3) typing.push_back(Event(longMacro, 3, kVkA + key));
  }
  store.SaveMacroEvents(longMacro, typing);
  store.SaveKeyRecord(Key(profile, 1, 2, 0x06, 0x01));
  store.SaveKeyRecord(Key(profile, 2, 4, shortMacro));
  store.SaveKeyRecord(Key(profile, 4, 4, longMacro));
  LightRecord light;
  light.profile = profile;
  light.mode = 6;
  light.brightness = 9;
  light.speed = 3;
  for (int i = 0; i < 7; ++i) light.color_value[i] = 0x111111 * (i + 1);
  store.AddLight(light);
  store.SetCurrentLightMode(profile, 6);
}

// A program connected to a cable mouse, with the full profile in its store.
std::unique_ptr<Program> Connected(std::shared_ptr<Clock> clock, const std::filesystem::path& folder,
                                   std::shared_ptr<SimulatedHid>& bus) {
  bus = std::make_shared<SimulatedHid>(clock);
  bus->PlugCable(bus->AddMouse(mouseproto::MouseState::WithSensor(17, "VA01")), kVid, kCable);
  auto program = std::make_unique<Program>(bus, clock, folder);
  program->worker.RunJob(DeviceWorker::kJobConnect);
  FillProfile(program->store, program->worker.Sequences().CurrentProfile());
  return program;
}

// CPU share of a thread that only sleeps in the poll's cadence (10 ms read
// time-out, 2 ms loop sleep): what the wake-ups alone cost on this machine.
double SleepCadencePercent(double seconds) {
  const double cpuStart = [] {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
  }();
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < std::chrono::duration<double>(seconds)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  const double cpu = static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9 - cpuStart;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return 100.0 * cpu / wall;
}

double ThreadCpuSeconds(clockid_t id) {
  timespec ts{};
  clock_gettime(id, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  const double idleSeconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 10.0;
  char pattern[] = "/tmp/orvane-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::filesystem::path root = pattern;
  setenv("HOME", root.c_str(), 1);
  setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  shell::SetLogSink([](const std::string&) {});
  shell::CreateRegistryKey();

  // --- (a) WriteProfile -----------------------------------------------------------------
  auto virtualClock = std::make_shared<VirtualClock>();
  std::shared_ptr<SimulatedHid> virtualBus;
  std::filesystem::create_directories(root / "virtual");
  auto floorRun = Connected(virtualClock, root / "virtual", virtualBus);
  const size_t connectRequests = virtualBus->Requests(0).size();
  virtualClock->ClearRecord();
  floorRun->worker.RunJob(DeviceWorker::kJobWriteProfile);
  int pauses = 0;
  for (int pause : virtualClock->Pauses()) pauses += pause;
  const double floorMs = pauses + static_cast<double>(virtualClock->WaitedMs());
  const size_t requests = virtualBus->Requests(0).size() - connectRequests;

  auto realClock = std::make_shared<RealClock>();
  std::shared_ptr<SimulatedHid> realBus;
  std::filesystem::create_directories(root / "real");
  auto realRun = Connected(realClock, root / "real", realBus);
  constexpr int kRuns = 3;
  std::vector<double> runs;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    realRun->worker.RunJob(DeviceWorker::kJobWriteProfile);
    runs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(runs.begin(), runs.end());
  const double median = runs[runs.size() / 2];

  // --- (b) Idle worker ----------------------------------------------------------------------
  realRun->worker.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the thread settles into its poll
  const int readsBefore = realBus->ReadCalls(0);
  const double cpuStart = ThreadCpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
  const auto wallStart = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(idleSeconds));
  const double cpu = ThreadCpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  const int polls = realBus->ReadCalls(0) - readsBefore;
  realRun->worker.Stop(1000);
  realRun.reset();
  floorRun.reset();
  const double cadence = SleepCadencePercent(3.0);

  std::printf("writeprofile requests: %zu\n", requests);
  std::printf("writeprofile floor: %.1f ms (pauses %d ms, reply latency %lld ms)\n", floorMs, pauses,
              static_cast<long long>(virtualClock->WaitedMs()));
  std::printf("writeprofile real clock: median %.1f ms of %d runs (%.1f .. %.1f)\n", median, kRuns, runs.front(),
              runs.back());
  std::printf("idle worker: %.2f %% of one core over %.1f s (%.3f s CPU, %d polls)\n", 100.0 * cpu / wall, wall, cpu,
              polls);
  std::printf("idle floor (the poll's sleep cadence alone): %.2f %% of one core\n", cadence);
  std::printf("writeprofile overhead ratio: %.4f\n", median / floorMs);
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  return 0;
}
