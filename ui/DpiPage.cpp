#include "ui/DpiPage.h"

namespace ui {

std::unique_ptr<DevicePage> MakeDpiPage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<DpiPage>(dlg, container);
}

}  // namespace ui
