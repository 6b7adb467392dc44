#pragma once
// CSize: an extent in window pixels.

#include "toolkit/core/WinTypes.h"

namespace DUI {

class CSize : public SIZE {
 public:
  CSize() = default;
  CSize(int w, int h) { cx = w; cy = h; }
  bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
  bool operator!=(const CSize& o) const { return !(*this == o); }
};

}  // namespace DUI
