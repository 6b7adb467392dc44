#pragma once
// PortalFileChooser: the open and save dialogs of the desktop portal
// (org.freedesktop.portal.FileChooser over the session D-Bus). The call
// blocks its caller until the user answers. It never hangs on a missing
// portal: the method call has a time-out, and the wait for the answer ends
// when the portal leaves the bus (or after the optional response time-out).

#include <chrono>
#include <string>

#include "platform/filechooser/FileChooser.h"

namespace platform {

struct PortalOptions {
  std::string busAddress;  // empty: the user's session bus
  std::chrono::milliseconds callTimeout{10000};
  // Longest wait for the user's answer; zero waits as long as the portal runs.
  std::chrono::milliseconds responseTimeout{0};
};

class PortalFileChooser : public FileChooser {
 public:
  explicit PortalFileChooser(PortalOptions options = {});

  FileDialogResult OpenFile(const FileDialogRequest& request) override;
  FileDialogResult SaveFile(const FileDialogRequest& request) override;

  // The local path of a "file://" URI (percent escapes decoded); empty for
  // any other URI.
  static std::filesystem::path PathFromUri(const std::string& uri);

 private:
  FileDialogResult Run(bool save, const FileDialogRequest& request);

  PortalOptions options_;
};

}  // namespace platform
