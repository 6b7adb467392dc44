#include "ui/KeyPage.h"

namespace ui {

std::unique_ptr<DevicePage> MakeKeyPage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<KeyPage>(dlg, container);
}

}  // namespace ui
