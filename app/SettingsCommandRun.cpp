#include "app/SettingsCommandRun.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/MainWindowRun.h"
#include "app/SimulatedDemo.h"
#include "app/SingleInstance.h"
#include "device/Clock.h"
#include "device/DeviceWorker.h"
#include "device/HidapiBackend.h"
#include "platform/instance/InstanceLock.h"
#include "platform/window/Window.h"
#include "shell/AppNames.h"
#include "toolkit/controls/CDeviceList.h"
#include "toolkit/core/Notify.h"
#include "ui/DeviceMainDlg.h"
#include "ui/MainWindowHost.h"
#include "ui/SettingsCommand.h"

namespace app {

namespace {

// The headless window's host: no tray, no desktop.
class CommandHost : public ui::MainWindowHost {
 public:
  bool AddTray(const ui::TrayTexts&) override { return false; }
  void SetTrayTexts(const ui::TrayTexts&) override {}
  void RemoveTray() override {}
  bool TrayShown() const override { return false; }
  void Quit(int) override {}
  void OpenAddress(const std::wstring&) override {}
  void ShowAbout(HWND) override {}
};

std::vector<std::string> Words(int argc, char** argv) {
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) words.emplace_back(argv[i] != nullptr ? argv[i] : "");
  return words;
}

// "CODE\nTEXT" as the window answers.
int Print(const std::string& answer, std::FILE* out, std::FILE* err) {
  const size_t line = answer.find('\n');
  const int code = std::atoi(answer.substr(0, line).c_str());
  const std::string text = line == std::string::npos ? std::string() : answer.substr(line + 1);
  std::fputs(text.c_str(), code == 0 ? out : err);
  return code;
}

int RunHeadless(const std::vector<std::string>& arguments, bool simulate, std::FILE* out, std::FILE* err,
                std::shared_ptr<Clock> clock) {
  if (!platform::InitWindowSystem(platform::WindowBackend::Headless)) {
    std::fprintf(err, "orvane: no window system\n");
    return 1;
  }
  if (!clock) clock = std::make_shared<RealClock>();
  std::unique_ptr<SimulatedDemo> demo;
  ui::DeviceMainOptions window;
  window.clock = clock;
  if (simulate) {
    demo = SimulatedDemo::ForProgram(clock);
    window.backend = demo->Bus();
    window.demo = true;
  } else {
    window.backend = std::make_shared<HidapiBackend>();
  }
  window.startWorker = false;
  // A command that runs and exits has no use for the update check.
  window.onlineCheck = false;
  CommandHost host;
  window.host = &host;
  ui::DeviceMainDlg dlg(window);
  if (dlg.CreateMain(0) == nullptr) {
    std::fprintf(err, "orvane: the window could not be created\n");
    return 1;
  }
  platform::PumpPendingMessages();
  RunQueuedJobs(dlg);
  // The mouse the window would show: the one picked last, else the first.
  if (dlg.GetCurrentDeviceType() == 0 && dlg.GetDeviceList()->GetOnlineDevCount() > 0) {
    dlg.OnMessage(ui::DeviceMainDlg::kDeviceList, DUI::CN_CLICK, 0, 0);
  }
  if (dlg.GetCurrentDeviceType() != 0) {
    // Makes the model's profiles and reads what the mouse holds.
    dlg.AppendJob(DeviceWorker::kJobReload);
    RunQueuedJobs(dlg);
  }
  const int code = Print(RunCommandInWindow(dlg, arguments), out, err);
  RunQueuedJobs(dlg);
  if (!dlg.Worker().Jobs().Empty()) {
    std::fprintf(err, "orvane: not every write to the mouse ran\n");
    return 1;
  }
  return code;
}

}  // namespace

bool IsSettingsCommandLine(int argc, char** argv) { return ui::IsSettingsCommand(Words(argc, argv)); }

int RunSettingsCommand(int argc, char** argv, std::FILE* out, std::FILE* err, std::shared_ptr<Clock> clock) {
  const std::vector<std::string> words = Words(argc, argv);
  ui::SettingsRequest request;
  std::string error;
  if (!ui::ParseSettingsRequest(words, request, &error)) {
    std::fprintf(err, "orvane: %s\n", error.c_str());
    return 2;
  }
  const bool simulate = std::find(words.begin(), words.end(), "--simulate") != words.end();
  // What the running window gets: the checked request with absolute paths.
  const std::vector<std::string> arguments = request.Words();
  const std::wstring name = shell::ApplicationName();
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::string answer;
    switch (platform::InstanceLock::SendCommand(name, arguments, answer)) {
      case platform::InstanceLock::Delivery::Delivered:
        return Print(answer, out, err);
      case platform::InstanceLock::Delivery::Ignored:
        std::fprintf(err, "orvane: the running instance did not take the command\n");
        return 1;
      case platform::InstanceLock::Delivery::NoInstance:
        break;
    }
    // Nobody runs: this process holds the instance while it talks to the
    // mouse, so a start meanwhile finds it.
    platform::InstanceLock lock(name);
    if (lock.TryClaim() == platform::InstanceLock::Claim::First) return RunHeadless(arguments, simulate, out, err, clock);
    // Another process started just now: hand it the command.
  }
  std::fprintf(err, "orvane: another instance is starting; try again\n");
  return 1;
}

}  // namespace app
