#pragma once
// LightPage: the lighting page (container 54): the light modes and their colours, brightness and speed.

#include "ui/DevicePage.h"

namespace ui {

class LightPage : public DevicePage {
 public:
  using DevicePage::DevicePage;
};

}  // namespace ui
