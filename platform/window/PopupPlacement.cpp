#include "platform/window/PopupPlacement.h"

#include <algorithm>

#include "platform/window/Window.h"

namespace platform {

namespace {

RECT WorkAreaFor(const RECT& r) {
  MonitorInfo info;
  if (GetMonitorInfo(MonitorFromRect(r), &info)) return info.workArea;
  RECT work;
  GetWorkArea(&work);
  return work;
}

RECT MoveInside(RECT r, const RECT& area) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  int x = r.left, y = r.top;
  if (x + w > area.right) x = area.right - w;
  if (y + h > area.bottom) y = area.bottom - h;
  x = std::max(x, int(area.left));
  y = std::max(y, int(area.top));
  return RECT{x, y, x + w, y + h};
}

}  // namespace

RECT PlaceDropDown(const RECT& anchor, int cx, int cy, int gap) {
  const RECT area = WorkAreaFor(anchor);
  RECT r{anchor.left, anchor.bottom + gap, anchor.left + cx, anchor.bottom + gap + cy};
  const int roomBelow = area.bottom - (anchor.bottom + gap);
  const int roomAbove = (anchor.top - gap) - area.top;
  if (r.bottom > area.bottom && roomAbove > roomBelow) {
    r.bottom = anchor.top - gap;
    r.top = r.bottom - cy;
  }
  return MoveInside(r, area);
}

RECT ClampToWorkArea(const RECT& r) { return MoveInside(r, WorkAreaFor(r)); }

}  // namespace platform
