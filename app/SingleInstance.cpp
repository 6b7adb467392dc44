#include "app/SingleInstance.h"

#include "platform/Text.h"
#include "shell/AppNames.h"
#include "toolkit/core/ControlTreeDump.h"
#include "toolkit/core/MDialog.h"
#include "ui/DeviceMainDlg.h"
#include "ui/SettingsCommand.h"

namespace app {

SingleInstance::SingleInstance(platform::InstanceOptions options) : options_(std::move(options)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim() {
  const std::wstring name = shell::ApplicationName();
  if (lock_ == nullptr) lock_ = std::make_unique<platform::InstanceLock>(name, options_);
  if (lock_->TryClaim() == platform::InstanceLock::Claim::First) return true;
  platform::InstanceLock::SendActivate(name, options_);
  return false;
}

void SingleInstance::SetEvents(platform::InstanceEvents* events) {
  if (lock_ != nullptr) lock_->SetEvents(events);
}

void SingleInstance::SetInspectedWindow(DUI::MDialog* window) {
  if (lock_ == nullptr) return;
  if (window == nullptr) {
    lock_->SetInspector({});
    return;
  }
  // Runs on the listener thread: it only queues the work for the window
  // thread, which answers when its turn comes. A window that is not up
  // leaves the request to time out as "unavailable".
  lock_->SetInspector([window](std::shared_ptr<platform::WindowDumpReply> reply) {
    DUI::ControlTreeDump::PostDump(*window, [reply](DUI::CString text) { reply->Answer(platform::ToUtf8(text)); });
  });
}

void SingleInstance::SetCommandWindow(ui::DeviceMainDlg* window) {
  if (lock_ == nullptr) return;
  if (window == nullptr) {
    lock_->SetCommandHandler({});
    return;
  }
  lock_->SetCommandHandler([window](std::vector<std::string> arguments, std::shared_ptr<platform::WindowDumpReply> reply) {
    window->PostTask([window, arguments = std::move(arguments), reply] {
      reply->Answer(RunCommandInWindow(*window, arguments));
    });
  });
}

std::string RunCommandInWindow(ui::DeviceMainDlg& window, const std::vector<std::string>& arguments) {
  ui::SettingsRequest request;
  std::string error;
  ui::CommandOutcome outcome;
  if (!ui::ParseSettingsRequest(arguments, request, &error)) {
    outcome.exitCode = 2;
    outcome.message = error + "\n";
  } else {
    outcome = ui::ApplySettingsRequest(window, request);
  }
  return std::to_string(outcome.exitCode) + "\n" + outcome.message;
}

bool IsQuitRequest(std::uint32_t message, std::int64_t lParam) {
  return message == platform::kQuitMessage && lParam == 610;
}

}  // namespace app
