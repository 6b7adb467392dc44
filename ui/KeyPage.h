#pragma once
// KeyPage: the key assignment page (container 50): a button of the mouse and its function.

#include "ui/DevicePage.h"

namespace ui {

class KeyPage : public DevicePage {
 public:
  using DevicePage::DevicePage;
};

}  // namespace ui
