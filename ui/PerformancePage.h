#pragma once
// PerformancePage: the performance page (container 55): report rate, lift-off, sensor and power options.

#include "ui/DevicePage.h"

namespace ui {

class PerformancePage : public DevicePage {
 public:
  using DevicePage::DevicePage;
};

}  // namespace ui
