#pragma once
// CPoint: a point in window pixels.

#include "toolkit/core/WinTypes.h"

namespace DUI {

class CPoint : public POINT {
 public:
  CPoint() = default;
  CPoint(int px, int py) { x = px; y = py; }
  CPoint(const POINT& p) { x = p.x; y = p.y; }
  bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
  bool operator!=(const CPoint& o) const { return !(*this == o); }
  void Offset(int dx, int dy) { x += dx; y += dy; }
};

}  // namespace DUI
