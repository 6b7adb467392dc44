#pragma once
// MProgress2: a progress bar that runs from the start: once registered with
// the window's multimedia timer (AddMTimer) it advances and wraps on its
// own until SetRun(0, ...) stops it.

#include "toolkit/core/MProgress.h"

namespace DUI {

class MProgress2 : public MProgress {
 public:
  MProgress2(MObject* parent, UINT id, CRect rect, int visible, int enabled);
};

}  // namespace DUI
