#pragma once
// SettingsPage: the system settings page (container 56): firmware, language, start-up and closing, factory restore.

#include "ui/DevicePage.h"

namespace ui {

class SettingsPage : public DevicePage {
 public:
  using DevicePage::DevicePage;
};

}  // namespace ui
