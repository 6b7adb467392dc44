#pragma once
// The main window on the headless window system against the simulated mice
// (virtual clock), for the window's and the pages' tests. The worker thread
// is not started: a test runs the jobs itself (RunJobs), so the relay's
// tasks are pumped in order and the simulated mouse can be read afterwards.
// OpenWindow gives the window a settings store of its own in the test's
// folders (and optionally a local update server); OnlyFirstCableMouse
// leaves one mouse on the bus.

#include <memory>
#include <string>
#include <vector>

#include "UiFixture.h"
#include "catalog/Catalog.h"
#include "device/Clock.h"
#include "device/DeviceManager.h"
#include "device/DeviceSession.h"
#include "device/DeviceWorker.h"
#include "device/simulator/SimulatedCatalog.h"
#include "device/simulator/SimulatedHid.h"
#include "platform/Text.h"
#include "store/SettingsStore.h"
#include "shell/Environment.h"
#include "shell/Localisation.h"
#include "toolkit/controls/CDeviceList.h"
#include "toolkit/core/MTabCtrl.h"
#include "ui/DeviceMainDlg.h"
#include "ui/UpdateNotice.h"

namespace ui_test {

using ui::DeviceMainDlg;

// Records what the window asks of the process instead of doing it.
class RecordingHost : public ui::MainWindowHost {
 public:
  bool AddTray(const ui::TrayTexts& t) override {
    shown = true;
    ++adds;
    texts = t;
    return true;
  }
  void SetTrayTexts(const ui::TrayTexts& t) override { texts = t; }
  void RemoveTray() override { shown = false; }
  bool TrayShown() const override { return shown; }
  void Quit(int code) override { quitCodes.push_back(code); }
  void OpenAddress(const std::wstring& a) override { addresses.push_back(a); }
  void ShowAbout(HWND) override { ++abouts; }

  bool shown = false;
  int adds = 0;
  int abouts = 0;
  ui::TrayTexts texts;
  std::vector<int> quitCodes;
  std::vector<std::wstring> addresses;
};

class MainWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    shell::SetLanguage(1033);
    clock_ = std::make_shared<VirtualClock>();
    PlugCatalogMice();
    shell::CreateRegistryKey();
    shell::WriteRegistryInt(L"DeviceType", 0);
  }

  // A new bus with every catalog mouse plugged in (cable and receiver).
  void PlugCatalogMice() {
    bus_ = std::make_shared<SimulatedHid>(clock_);
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
    mice_ = ::PlugCatalogMice(*bus_, modes);
  }

  // Builds the window; show 0 is the "-hide" start.
  std::unique_ptr<DeviceMainDlg> Open(int show) {
    ui::DeviceMainOptions options;
    options.backend = bus_;
    options.clock = clock_;
    options.host = &host_;
    options.startWorker = false;
    auto dlg = std::make_unique<DeviceMainDlg>(options);
    EXPECT_NE(dlg->CreateMain(show), nullptr);
    Pump();
    return dlg;
  }

  // The demo's window, with "simulated" in its caption.
  std::unique_ptr<DeviceMainDlg> OpenDemo() {
    ui::DeviceMainOptions options;
    options.backend = bus_;
    options.clock = clock_;
    options.host = &host_;
    options.startWorker = false;
    options.demo = true;
    auto dlg = std::make_unique<DeviceMainDlg>(options);
    EXPECT_NE(dlg->CreateMain(1), nullptr);
    Pump();
    return dlg;
  }

  // Runs every queued job on this thread, with the window's tasks after each.
  static void RunJobs(DeviceMainDlg& dlg) {
    for (int guard = 0; guard < 50 && !dlg.Worker().Jobs().Empty(); ++guard) {
      dlg.Worker().Step();
      Pump();
    }
  }

  static int CountJobs(DeviceMainDlg& dlg, int code) {
    int n = 0;
    for (int c : dlg.Worker().Jobs().Codes()) n += c == code ? 1 : 0;
    return n;
  }

  // Picks a device in the home page's list by clicking it, as a user does.
  static void Pick(DeviceMainDlg& dlg, int deviceType) {
    // The list is on the home page.
    dlg.GetTabs()->SetSelectItem(0);
    Pump();
    DUI::CDeviceList* list = dlg.GetDeviceList();
    ASSERT_TRUE(list->IsVisible() && dlg.GetPage(DeviceMainDlg::kHomePage)->IsVisible());
    ASSERT_GT(list->GetOnlineDevCount(), 0);
    list->SetSelectDevice(deviceType);
    ASSERT_EQ(list->GetSelectDevice(), deviceType);
    const DUI::CPoint c = list->GetShownRect().CenterPoint();
    platform::headless::AdvanceTime(1000);
    platform::headless::InjectMouseMove(dlg.GetSafeHwnd(), c.x, c.y);
    platform::headless::InjectClick(dlg.GetSafeHwnd(), c.x, c.y);
    Pump();
  }

  // The window with a settings store of its own in this test's folders,
  // asking updateServer instead of the model's firmware address.
  std::unique_ptr<DeviceMainDlg> OpenWindow(const std::string& updateServer = "") {
    shell::CreateFolderPath(shell::DatabaseFolder());
    store_ = std::make_unique<SettingsStore>();
    store_->SetDatabaseFolder(shell::DatabaseFolder());
    ui::DeviceMainOptions options;
    options.backend = bus_;
    options.clock = clock_;
    options.host = &host_;
    options.store = store_.get();
    options.startWorker = false;
    options.firmwareAddress = platform::FromUtf8(updateServer);
    auto dlg = std::make_unique<DeviceMainDlg>(options);
    platform::HttpOptions http;
    http.connectTimeout = std::chrono::milliseconds(200);
    http.totalTimeout = std::chrono::milliseconds(400);
    dlg->GetUpdateNotice().SetHttpOptions(http);
    EXPECT_NE(dlg->CreateMain(1), nullptr);
    Pump();
    return dlg;
  }

  // Only the first catalog mouse by cable, with this release number.
  void OnlyFirstCableMouse(uint16_t release) {
    NullCatalogSink sink;
    const Catalog catalog = ReadDeviceList(shell::ProgramFolder(), shell::ProgramFolder(), sink, nullptr);
    for (const SimulatedModel& m : mice_) {
      if (m.cable_plug >= 0) bus_->Unplug(m.cable_plug);
      if (m.receiver_plug >= 0) bus_->Unplug(m.receiver_plug);
    }
    for (const CatalogEntry& mode : catalog.modes) {
      if (mode.mode != 0) continue;
      const SimulatedModel& model = Model(mode.device_type);
      ASSERT_EQ(model.device_type, mode.device_type);
      cablePlug_ = bus_->PlugCable(model.mouse, uint16_t(mode.vid), uint16_t(mode.pid), release);
      cableType_ = mode.device_type;
      return;
    }
    FAIL() << "the catalog has no cable mode";
  }

  const SimulatedModel& Model(int type) const {
    for (const SimulatedModel& m : mice_) {
      if (m.device_type == type) return m;
    }
    return mice_.front();
  }

  std::shared_ptr<VirtualClock> clock_;
  std::shared_ptr<SimulatedHid> bus_;
  std::vector<SimulatedModel> mice_;
  RecordingHost host_;
  // Set by OnlyFirstCableMouse and OpenWindow.
  int cableType_ = 0;
  int cablePlug_ = -1;
  std::unique_ptr<SettingsStore> store_;
};

}  // namespace ui_test
