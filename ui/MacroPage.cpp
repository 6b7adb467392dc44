#include "ui/MacroPage.h"

namespace ui {

std::unique_ptr<DevicePage> MakeMacroPage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<MacroPage>(dlg, container);
}

}  // namespace ui
