#include "ui/PerformancePage.h"

namespace ui {

std::unique_ptr<DevicePage> MakePerformancePage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<PerformancePage>(dlg, container);
}

}  // namespace ui
