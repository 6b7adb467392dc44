#include "app/MainWindowRun.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "app/CommandLine.h"
#include "app/DesktopHost.h"
#include "app/SimulatedDpiButton.h"
#include "app/SimulatedDemo.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "device/DeviceSession.h"
#include "platform/HotplugMonitor.h"
#include "catalog/Catalog.h"
#include "device/Clock.h"
#include "device/DeviceWorker.h"
#include "device/HidapiBackend.h"
#include "device/simulator/SimulatedCatalog.h"
#include "device/simulator/SimulatedHid.h"
#include "platform/window/Window.h"
#include "shell/Environment.h"
#include "toolkit/controls/CDeviceList.h"
#include "toolkit/core/MTabCtrl.h"
#include "toolkit/core/Notify.h"
#include "ui/DeviceMainDlg.h"

namespace app {

namespace {

int Screenshot(ui::DeviceMainDlg& dlg, const MainRunOptions& options) {
  if (dlg.CreateMain(1) == nullptr) {
    std::fprintf(stderr, "orvane: the window could not be created\n");
    return 1;
  }
  platform::PumpPendingMessages();
  RunQueuedJobs(dlg);
  if (options.tab != 1) {
    // Opening a tab means picking the selected mouse first, as a click on
    // the home page's device does.
    if (dlg.GetDeviceList()->GetOnlineDevCount() > 0) {
      dlg.OnMessage(ui::DeviceMainDlg::kDeviceList, DUI::CN_CLICK, 0, 0);
      RunQueuedJobs(dlg);
    }
    DUI::MTabCtrl* tabs = dlg.GetTabs();
    for (int i = 0; i < tabs->GetItemCount(); ++i) {
      if (int(tabs->GetItemID(i)) == options.tab) tabs->SetSelectItem(i);
    }
  }
  platform::PumpPendingMessages();
  if (!platform::SaveWindowScreenshot(dlg.GetSafeHwnd(), options.screenshot)) {
    std::fprintf(stderr, "orvane: could not write %s\n", options.screenshot.c_str());
    return 1;
  }
  std::printf("Screenshot written to %s\n", options.screenshot.c_str());
  return 0;
}

}  // namespace

void RunQueuedJobs(ui::DeviceMainDlg& dlg) {
  for (int guard = 0; guard < 64 && !dlg.Worker().Jobs().Empty(); ++guard) {
    dlg.Worker().Step();
    platform::PumpPendingMessages();
  }
}

bool ParseMainRunOptions(int argc, char** argv, MainRunOptions& options) {
  options.hide = StartsHidden(CommandLineText(argc, argv));
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--simulate") == 0) {
      options.simulate = true;
    } else if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      options.screenshot = argv[++i];
    } else if (std::strcmp(argv[i], "--tab") == 0 && i + 1 < argc) {
      char* end = nullptr;
      const long id = std::strtol(argv[++i], &end, 10);
      if (end == argv[i] || *end != '\0' || id < 1 || id > 7 || id == 6) {
        std::fprintf(stderr, "orvane: --tab takes a tab id: 1 to 5 or 7\n");
        return false;
      }
      options.tab = int(id);
    }
  }
  return true;
}

int RunMainWindow(const MainRunOptions& options, SingleInstance* instance) {
  const bool screenshot = !options.screenshot.empty();
  // The launcher's entry matches its windows by this class.
  platform::SetWindowClass(ORVANE_APP_ID);
  if (!platform::InitWindowSystem(screenshot ? platform::WindowBackend::Headless : platform::WindowBackend::Auto)) {
    std::fprintf(stderr, "orvane: no window system\n");
    return 1;
  }
  auto clock = std::make_shared<RealClock>();
  ui::DeviceMainOptions window;
  window.clock = clock;
  std::shared_ptr<SimulatedHid> simulated;
  std::vector<int> simulatedMice;
  // Declared before the window, so the mice keep saving until it is gone.
  std::unique_ptr<SimulatedDemo> demo;
  if (options.simulate) {
    demo = SimulatedDemo::ForProgram(clock);
    simulated = demo->Bus();
    for (const SimulatedModel& model : demo->Models()) simulatedMice.push_back(model.mouse);
    window.backend = simulated;
  } else {
    window.backend = std::make_shared<HidapiBackend>();
  }
  window.demo = options.simulate;
  window.onlineCheck = !screenshot;
  window.startWorker = !screenshot;

  // The object lives on this stack for the whole run; quitting ends the
  // process from inside the loop.
  DesktopHost host;
  window.host = &host;
  ui::DeviceMainDlg dlg(window);
  if (screenshot) return Screenshot(dlg, options);
  if (dlg.CreateMain(options.hide ? 0 : 1) == nullptr) return 1;
  host.SetWindow(dlg.GetSafeHwnd());
  // The tray's About item (WM_COMMAND 102) shows the cable mouse's firmware.
  host.SetCableRelease([&dlg] { return dlg.GetCableRelease(); });
  if (instance != nullptr) {
    instance->SetEvents(&host);
    // `orvane --inspect` describes this window.
    instance->SetInspectedWindow(&dlg);
    // `orvane --set ...` and the other settings commands are done here.
    instance->SetCommandWindow(&dlg);
  }
  // A language chosen in the settings page re-texts the window.
  InstallLanguageChangedHandler([&dlg](const std::wstring&) { dlg.RefreshTexts(); });
  // Interfaces that come and go: the simulated bus reports its own, udev
  // the real ones; each change is handled on the window thread.
  platform::HotplugMonitor monitor;
  const auto deliver = [&dlg](const platform::DeviceChangeEvent& event) { dlg.PostDeviceChange(event); };
  // The demonstration's DPI button: SIGUSR1 presses it on every simulated
  // mouse, for scripts that drive the running program.
  std::unique_ptr<SimulatedDpiButton> dpiButton;
  if (simulated) {
    simulated->SetChangeListener(deliver);
    dpiButton = std::make_unique<SimulatedDpiButton>(simulated, simulatedMice);
  } else {
    DeviceSession::StartHotplug(monitor, deliver);
  }
  dlg.ShowModal(options.hide ? SW_HIDE : SW_SHOWNORMAL);
  if (instance != nullptr) {
    instance->SetInspectedWindow(nullptr);
    instance->SetCommandWindow(nullptr);
  }
  return 1;
}

}  // namespace app
