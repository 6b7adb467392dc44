#pragma once
// Start-up's single-instance step: the first process of an application name
// keeps running, a later one asks it to bring its window up and ends with
// exit code 0 without initialising anything else.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/instance/InstanceEvents.h"
#include "platform/instance/InstanceLock.h"

namespace DUI {
class MDialog;
}
namespace ui {
class DeviceMainDlg;
}

namespace app {

class SingleInstance {
 public:
  explicit SingleInstance(platform::InstanceOptions options = {});
  ~SingleInstance();

  // Claims the instance for the application name (shell::ApplicationName,
  // so the name must be final before this call).
  // True for the first instance, which holds the claim for the object's
  // lifetime. False when another instance runs; it has been asked to show
  // itself (whether or not it answered).
  bool Claim();

  // Where the requests of later processes go (see platform::InstanceEvents).
  void SetEvents(platform::InstanceEvents* events);

  // The window "orvane --inspect" describes: its control tree is formatted
  // on its window thread when another process of the same user asks. Null
  // stops answering; set null before the window is destroyed. Without a
  // window the answer is "unavailable".
  void SetInspectedWindow(DUI::MDialog* window);

  // The window that carries out the settings commands of later processes
  // ("orvane --set ..." while this instance runs), on its window thread.
  // Null stops taking them; set null before the window is destroyed.
  void SetCommandWindow(ui::DeviceMainDlg* window);

 private:
  platform::InstanceOptions options_;
  std::unique_ptr<platform::InstanceLock> lock_;
};

// Carries out a settings command in the window (window thread): the answer
// is the exit code on the first line, then what the command did.
std::string RunCommandInWindow(ui::DeviceMainDlg& window, const std::vector<std::string>& arguments);

// Message 1691 ends the program only with lParam 610; any other value is
// ignored.
bool IsQuitRequest(std::uint32_t message, std::int64_t lParam);

}  // namespace app
