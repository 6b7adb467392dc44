#pragma once
// How the firmware version check reports to the window side. Called on the
// worker thread; an implementation hands each call to the window thread.

#include <string>

namespace update {

class UpdateObserver {
 public:
  virtual ~UpdateObserver() = default;

  // The connected mouse's firmware version is known (ShowFirmwareVersion):
  // the firmware line shows it (text 551 and VersionDisplayText), the update
  // state line text 580, button 248 enabled and 249 disabled.
  virtual void OnFirmwareVersion(const std::wstring& localVersion) = 0;

  // The server names a newer version (update state 1): the update state line
  // shows text 582 and VersionDisplayText(serverVersion), button 248 is
  // enabled, and message 1692 (wParam 2, lParam 1) goes to the main window.
  virtual void OnUpdateAvailable(const std::wstring& serverVersion) = 0;

  // The server's version is not newer (update state 2): the update state
  // line shows text 580 and button 248 is disabled.
  virtual void OnNoUpdate() = 0;
};

}  // namespace update
