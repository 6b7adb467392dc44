#pragma once
// MacroPage: the macro page (container 53): the macros, their events, the recorder.

#include "ui/DevicePage.h"

namespace ui {

class MacroPage : public DevicePage {
 public:
  using DevicePage::DevicePage;
};

}  // namespace ui
