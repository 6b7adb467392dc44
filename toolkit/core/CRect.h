#pragma once
// CRect: left, top, right, bottom (32-bit signed), right and bottom exclusive.
// An empty rectangle (no width or no height) intersects nothing and adds
// nothing to a union.

#include <algorithm>

#include "toolkit/core/CPoint.h"
#include "toolkit/core/CSize.h"

namespace DUI {

class CRect : public RECT {
 public:
  CRect() = default;
  CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
  CRect(CPoint origin, CSize size) {
    left = origin.x; top = origin.y; right = origin.x + size.cx; bottom = origin.y + size.cy;
  }

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

  bool IsRectEmpty() const { return right <= left || bottom <= top; }
  bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  void SetRectEmpty() { left = top = right = bottom = 0; }
  void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }

  bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

  void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
  void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
  void InflateRect(int dx, int dy) { left -= dx; top -= dy; right += dx; bottom += dy; }
  void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
  void DeflateRect(int l, int t, int r, int b) { left += l; top += t; right -= r; bottom -= b; }

  // The overlap of a and b into this rectangle; false (and empty) when none.
  bool IntersectRect(const RECT& a, const RECT& b) {
    CRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom));
    if (r.IsRectEmpty()) {
      SetRectEmpty();
      return false;
    }
    *this = r;
    return true;
  }
  // The smallest rectangle holding a and b; an empty operand is ignored.
  bool UnionRect(const RECT& a, const RECT& b) {
    const CRect ra(a), rb(b);
    if (ra.IsRectEmpty()) { *this = rb; }
    else if (rb.IsRectEmpty()) { *this = ra; }
    else {
      *this = CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom));
    }
    return !IsRectEmpty();
  }
  bool Intersects(const RECT& o) const {
    CRect r;
    return r.IntersectRect(*this, o);
  }

  bool operator==(const CRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const CRect& o) const { return !(*this == o); }
  CRect operator|(const CRect& o) const { CRect r; r.UnionRect(*this, o); return r; }
  CRect operator&(const CRect& o) const { CRect r; r.IntersectRect(*this, o); return r; }
};

}  // namespace DUI
