#pragma once
// RecordItem: one row of the record list, a recorded event of a macro.

#include "toolkit/core/CRect.h"
#include "toolkit/core/WinTypes.h"

namespace DUI {

struct RecordItem {
  // What the row shows.
  CString text;
  // The event: 1 a delay; 2 and 3 a key press and its release, 4 and 5 a
  // mouse button press and release; 6 to 12 other events. It picks the
  // row's icon.
  int type = 0;
  // The key or button code; for a delay, the delay in milliseconds.
  int key = 0;
  // The row's stamp. A press and its release inserted together share one;
  // rows of one stamp are highlighted together and updated together.
  int value = 0;
  // The row's rectangle in list content coordinates, set by the layout.
  CRect rect;
};

}  // namespace DUI
