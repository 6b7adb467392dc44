// The DPI page's latency, on the real clock with the worker thread started:
// from a stage edit's notification on the window thread (the value editor
// closing) to the first byte of the DPI report written to the simulated
// mouse's interface. The protocol pauses 66 ms before each report, so that
// pause is the floor; the rest is the page storing the value, the job
// queue, the worker's 2 ms step and a poll read that may be under way.
// The last line is "ui change to first report ms: X" (the median; goal: at
// most 70). Usage: bench_dpipage [runs, default 20]. HOME and the XDG
// folders point at a temporary folder for the run.

#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "catalog/Catalog.h"
#include "device/Clock.h"
#include "device/DeviceManager.h"
#include "device/DeviceWorker.h"
#include "device/HidBackend.h"
#include "device/simulator/SimulatedCatalog.h"
#include "device/simulator/SimulatedHid.h"
#include "platform/window/Window.h"
#include "shell/Environment.h"
#include "shell/Localisation.h"
#include "shell/Log.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/CDeviceList.h"
#include "toolkit/controls/DPIControl.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/MTabCtrl.h"
#include "toolkit/core/Notify.h"
#include "ui/DeviceMainDlg.h"
#include "ui/DpiPage.h"

namespace {

using Steady = std::chrono::steady_clock;

// The simulated bus, with the time of the first write after Arm.
class TimedBackend : public HidBackend {
 public:
  explicit TimedBackend(std::shared_ptr<SimulatedHid> bus) : bus_(std::move(bus)) {}
  void Arm() {
    written_ = false;
    armed_ = true;
  }
  bool Written() const { return written_.load(); }
  Steady::time_point WrittenAt() const { return writtenAt_; }

  bool Enumerate(std::vector<HidInterfaceInfo>& interfaces) override { return bus_->Enumerate(interfaces); }
  HidDevice* Open(const std::string& path) override { return bus_->Open(path); }
  int Write(HidDevice* device, const uint8_t* data, size_t length) override {
    if (armed_.exchange(false)) {
      writtenAt_ = Steady::now();
      written_ = true;
    }
    return bus_->Write(device, data, length);
  }
  int ReadTimeout(HidDevice* device, uint8_t* data, size_t length, int ms) override {
    return bus_->ReadTimeout(device, data, length, ms);
  }
  void Close(HidDevice* device) override { bus_->Close(device); }
  int GetReportDescriptor(HidDevice* device, uint8_t* data, size_t length) override {
    return bus_->GetReportDescriptor(device, data, length);
  }
  std::wstring LastError(HidDevice* device) override { return bus_->LastError(device); }

 private:
  std::shared_ptr<SimulatedHid> bus_;
  std::atomic<bool> armed_{false};
  std::atomic<bool> written_{false};
  Steady::time_point writtenAt_;
};

class QuietHost : public ui::MainWindowHost {
 public:
  bool AddTray(const ui::TrayTexts&) override { return false; }
  void SetTrayTexts(const ui::TrayTexts&) override {}
  void RemoveTray() override {}
  bool TrayShown() const override { return false; }
  void Quit(int) override {}
  void OpenAddress(const std::wstring&) override {}
  void ShowAbout(HWND) override {}
};

// Pumps the window thread until done() holds or the time is up.
template <typename F>
bool PumpUntil(F done, int timeoutMs) {
  const auto until = Steady::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (Steady::now() > until) return false;
    platform::PumpPendingMessages();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 20;
  char pattern[] = "/tmp/orvane-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::filesystem::path root = pattern;
  setenv("HOME", root.c_str(), 1);
  setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  shell::SetLogSink([](const std::string&) {});
  shell::CreateRegistryKey();
  shell::SetLanguage(1033);
  std::filesystem::create_directories(root / "databases");
  SettingsStore::GetInstance().SetDatabaseFolder(root / "databases");
  if (!platform::InitWindowSystem(platform::WindowBackend::Headless)) return 1;
  DUI::Manager::SetPaintPause(0);

  // The catalog's mice, reached through their receivers so that picking one
  // reads it.
  auto clock = std::make_shared<RealClock>();
  auto bus = std::make_shared<SimulatedHid>(clock);
  NullCatalogSink sink;
  const Catalog catalog = ReadDeviceList(shell::ProgramFolder(), shell::ProgramFolder(), sink, nullptr);
  std::vector<ModeEntry> modes;
  for (const CatalogEntry& mode : catalog.modes) {
    ModeEntry entry;
    entry.vendor_id = mode.vid;
    entry.product_id = mode.pid;
    entry.device_type = mode.device_type;
    entry.mode = mode.mode;
    entry.dev_id = mode.dev_id;
    modes.push_back(entry);
  }
  for (const SimulatedModel& m : PlugCatalogMice(*bus, modes)) {
    if (m.cable_plug >= 0) bus->Unplug(m.cable_plug);
  }
  auto timed = std::make_shared<TimedBackend>(bus);

  QuietHost host;
  ui::DeviceMainOptions options;
  options.backend = timed;
  options.clock = clock;
  options.host = &host;
  options.startWorker = true;
  ui::DeviceMainDlg dlg(options);
  if (dlg.CreateMain(1) == nullptr) return 1;
  auto* page = dynamic_cast<ui::DpiPage*>(dlg.GetDevicePage(ui::DeviceMainDlg::kDpiPage));
  if (page == nullptr) return 1;
  const auto idle = [&dlg] { return dlg.Worker().Jobs().Empty(); };
  if (!PumpUntil([&] { return idle() && dlg.GetDeviceList()->GetOnlineDevCount() > 0; }, 10000)) {
    std::fprintf(stderr, "bench_dpipage: no mouse listed\n");
    return 1;
  }
  dlg.OnMessage(ui::DeviceMainDlg::kDeviceList, DUI::CN_CLICK, 0, 0);
  if (!PumpUntil([&] { return idle() && page->Row().sensor_code != 0; }, 20000)) {
    std::fprintf(stderr, "bench_dpipage: the mouse was not read\n");
    return 1;
  }
  dlg.GetTabs()->SetSelectItem(2);
  platform::PumpPendingMessages();
  // Let the job of the read finish and the worker fall back to polling.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  DUI::DPIControl* stages = page->Stages();
  const int stage = stages->GetSelectItem();
  ui::MainPage* container = dlg.GetPage(ui::DeviceMainDlg::kDpiPage);
  std::vector<double> latencies;
  for (int run = 0; run < runs; ++run) {
    // Values on the sensor's grid that differ from run to run.
    const int dpi = 1000 + 100 * (run % 20);
    stages->SetEditText(std::to_wstring(dpi).c_str());
    timed->Arm();
    const auto start = Steady::now();
    container->OnMessage(ui::DpiPage::kStages, DUI::CN_EDITEND, 0, LPARAM(stage));
    if (!PumpUntil([&] { return timed->Written(); }, 2000)) {
      std::fprintf(stderr, "bench_dpipage: run %d sent nothing\n", run);
      return 1;
    }
    latencies.push_back(std::chrono::duration<double, std::milli>(timed->WrittenAt() - start).count());
    // The colours follow the stages; then the worker polls again.
    PumpUntil(idle, 2000);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    platform::PumpPendingMessages();
  }
  std::vector<double> sorted = latencies;
  std::sort(sorted.begin(), sorted.end());
  const double median = sorted[sorted.size() / 2];
  std::printf("runs: %d\n", runs);
  std::printf("protocol pause before each report: %d ms\n", DeviceManager::kReportPauseMs);
  std::printf("ui change to first report: min %.1f ms, max %.1f ms\n", sorted.front(), sorted.back());
  std::printf("ui change to first report ms: %.1f\n", median);
  dlg.Worker().Stop();
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
  return 0;
}
