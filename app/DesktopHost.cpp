#include "app/DesktopHost.h"

#include <cstdio>
#include <cstdlib>

#include "platform/shell/OpenAddress.h"
#include "platform/tray/TrayIcon.h"
#include "platform/window/Window.h"
#include "ui/AboutDlg.h"
#include "ui/DeviceMainDlg.h"

namespace app {

DesktopHost::DesktopHost() = default;
DesktopHost::~DesktopHost() = default;

bool DesktopHost::AddTray(const ui::TrayTexts& texts) {
  if (tray_ != nullptr) return true;
  platform::TrayOptions options;
  options.toolTip = texts.toolTip;
  options.menuText = texts.quit;
  options.aboutText = texts.about;
  tray_ = std::make_unique<platform::TrayIcon>(std::move(options), this);
  // Without a session bus the program runs on without a tray.
  if (!tray_->Add()) {
    tray_.reset();
    return false;
  }
  return true;
}

void DesktopHost::SetTrayTexts(const ui::TrayTexts& texts) {
  if (tray_ == nullptr) return;
  tray_->SetToolTip(texts.toolTip);
  tray_->SetMenuText(texts.quit);
  tray_->SetAboutText(texts.about);
}

void DesktopHost::RemoveTray() {
  if (tray_ == nullptr) return;
  tray_->Remove();
  tray_.reset();
}

bool DesktopHost::TrayShown() const { return tray_ != nullptr; }

void DesktopHost::Quit(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

void DesktopHost::OpenAddress(const std::wstring& address) { platform::OpenAddress(address); }

void DesktopHost::ShowAbout(HWND owner) { ui::AboutDlg::ShowAbout(owner, release_ ? release_() : 0); }

void DesktopHost::OnTrayActivate() {
  if (window_ != nullptr) platform::PostMessage(window_, ui::DeviceMainDlg::kTrayMessage, 0, WM_LBUTTONDOWN);
}

void DesktopHost::OnTrayCommand(unsigned command) {
  if (window_ != nullptr) platform::PostMessage(window_, WM_COMMAND, command, 0);
}

void DesktopHost::OnActivate() { OnTrayActivate(); }

void DesktopHost::OnPostedMessage(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam) {
  if (window_ != nullptr && platform::IsPublicMessage(message)) {
    platform::PostMessage(window_, message, WPARAM(wParam), LPARAM(lParam));
  }
}

}  // namespace app
