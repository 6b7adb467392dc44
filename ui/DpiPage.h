#pragma once
// DpiPage: the DPI page (container 52): the stages with their values and colours and the slider.

#include "ui/DevicePage.h"

namespace ui {

class DpiPage : public DevicePage {
 public:
  using DevicePage::DevicePage;
};

}  // namespace ui
