#include "ui/SettingsPage.h"

namespace ui {

std::unique_ptr<DevicePage> MakeSettingsPage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<SettingsPage>(dlg, container);
}

}  // namespace ui
