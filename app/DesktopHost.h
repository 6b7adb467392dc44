#pragma once
// DesktopHost: the main window's host on a desktop: the StatusNotifierItem
// tray icon, quitting with _Exit (no static destructors run, the window has
// removed the tray icon), opening addresses with the desktop's opener, and
// the requests of later starts (bring the window up, the public messages).
// Tray and instance events arrive on their own threads and are posted into
// the window's queue as the messages the window handles (1690, WM_COMMAND,
// 1691, 2022).

#include <filesystem>
#include <functional>
#include <memory>

#include "platform/instance/InstanceEvents.h"
#include "platform/tray/TrayEvents.h"
#include "ui/MainWindowHost.h"

namespace platform {
class TrayIcon;
struct TrayOptions;
}  // namespace platform

namespace app {

// The tray's picture: the program icon of the skin (the window's icon), as
// the straight-alpha pixels the notification area takes. False, and the
// options unchanged, when the file cannot be read.
bool LoadTrayPicture(const std::filesystem::path& file, platform::TrayOptions& options);

class DesktopHost : public ui::MainWindowHost, public platform::TrayEvents, public platform::InstanceEvents {
 public:
  DesktopHost();
  ~DesktopHost() override;

  // The window the events are posted to; set once it exists.
  void SetWindow(HWND window) { window_ = window; }
  // Where the About window (AboutDlg, which ShowAbout opens modally) takes
  // the cable mouse's release number from; 0 without one.
  void SetCableRelease(std::function<int()> release) { release_ = std::move(release); }

  // ui::MainWindowHost
  bool AddTray(const ui::TrayTexts& texts) override;
  void SetTrayTexts(const ui::TrayTexts& texts) override;
  void RemoveTray() override;
  bool TrayShown() const override;
  void Quit(int code) override;
  void OpenAddress(const std::wstring& address) override;
  void ShowAbout(HWND owner) override;

  // platform::TrayEvents (tray thread)
  void OnTrayActivate() override;
  void OnTrayCommand(unsigned command) override;
  // platform::InstanceEvents (listener thread)
  void OnActivate() override;
  void OnPostedMessage(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam) override;

 private:
  HWND window_ = nullptr;
  std::unique_ptr<platform::TrayIcon> tray_;
  std::function<int()> release_;
};

}  // namespace app
