#include "ui/LightPage.h"

namespace ui {

std::unique_ptr<DevicePage> MakeLightPage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<LightPage>(dlg, container);
}

}  // namespace ui
