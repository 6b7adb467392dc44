#include "app/DesktopHost.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/Text.h"
#include "platform/draw/Color.h"
#include "platform/draw/Image.h"
#include "platform/shell/OpenAddress.h"
#include "platform/tray/TrayIcon.h"
#include "platform/window/Window.h"
#include "toolkit/core/MRender.h"
#include "ui/AboutDlg.h"
#include "ui/DeviceMainDlg.h"

namespace app {

bool LoadTrayPicture(const std::filesystem::path& file, platform::TrayOptions& options) {
  const std::unique_ptr<platform::Image> image = platform::Image::Load(file);
  if (image == nullptr || image->Width() <= 0 || image->Height() <= 0) return false;
  const platform::Bitmap& frame = image->FrameBitmap();
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(frame.Width()) * static_cast<size_t>(frame.Height()));
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) pixels.push_back(platform::Unpremultiply(frame.PixelAt(x, y)));
  options.iconWidth = frame.Width();
  options.iconHeight = frame.Height();
  options.iconPixels = std::move(pixels);
  return true;
}

DesktopHost::DesktopHost() = default;
DesktopHost::~DesktopHost() = default;

bool DesktopHost::AddTray(const ui::TrayTexts& texts) {
  if (tray_ != nullptr) return true;
  platform::TrayOptions options;
  options.toolTip = texts.toolTip;
  options.menuText = texts.quit;
  options.aboutText = texts.about;
  // The icon theme's name (the launcher's icon), and the same drawing from
  // the skin for hosts that show the picture rather than look the name up.
  options.iconName = ORVANE_APP_ID;
  LoadTrayPicture(platform::ToUtf8(DUI::MRender::GetSkinFile(L"orvane.png")), options);
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
