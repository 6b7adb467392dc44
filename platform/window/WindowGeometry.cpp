// Geometry, visibility and state of windows: rectangles and coordinate
// conversion, moving and sizing, showing, hiding, minimising and
// maximising, enabling; and the monitors and work area.
//
// Index
//   1. Rectangles and coordinates
//   2. Moving and sizing
//   3. Visibility and state
//   4. Monitors

#include <algorithm>
#include <cstdint>

#include "platform/window/WindowSystem.h"

namespace platform {

using namespace detail;

// --- 1. Rectangles and coordinates ---------------------------------------------------------------
bool GetWindowRect(HWND hwnd, RECT* rect) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w || !rect) return false;
  *rect = w->rect;
  return true;
}

bool GetClientRect(HWND hwnd, RECT* rect) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w || !rect) return false;
  *rect = ClientOf(*w);
  return true;
}

bool ClientToScreen(HWND hwnd, POINT* pt) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w || !pt) return false;
  pt->x += w->rect.left;
  pt->y += w->rect.top;
  return true;
}

bool ScreenToClient(HWND hwnd, POINT* pt) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w || !pt) return false;
  pt->x -= w->rect.left;
  pt->y -= w->rect.top;
  return true;
}

// --- 2. Moving and sizing ------------------------------------------------------------------------
namespace detail {

void ApplyBounds(HWND hwnd, RECT to, WPARAM sizeKind) {
  bool moved, sized;
  to = KeepPopupOnScreen(hwnd, to);
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (!w) return;
    if (to.right < to.left) to.right = to.left;
    if (to.bottom < to.top) to.bottom = to.top;
    moved = to.left != w->rect.left || to.top != w->rect.top;
    sized = (to.right - to.left) != (w->rect.right - w->rect.left) ||
            (to.bottom - to.top) != (w->rect.bottom - w->rect.top);
    w->rect = to;
    if (sized) {
      Bitmap old = std::move(w->surface);
      w->surface.Create(to.right - to.left, to.bottom - to.top);
      if (!old.IsEmpty()) w->surface.CopyFrom(old, 0, 0, RECT{0, 0, old.Width(), old.Height()});
      w->invalid = ClientOf(*w);
      if (w->queue) Wake(*w->queue, S().backend.get());
    }
    if (moved || sized) S().backend->SetBounds(*w);
  }
  // A pop-up placed against this window would now point at the wrong place.
  if (moved || sized) DismissPopupsOwnedBy(hwnd);
  if (moved) Deliver(hwnd, WM_MOVE, 0, MAKELPARAM(to.left, to.top));
  if (sized || sizeKind != SIZE_RESTORED)
    Deliver(hwnd, WM_SIZE, sizeKind, MAKELPARAM(to.right - to.left, to.bottom - to.top));
}

}  // namespace detail

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  RECT to;
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (!w) return false;
    to = w->rect;
    if (!(flags & SWP_NOMOVE)) {
      to.right += x - to.left;
      to.bottom += y - to.top;
      to.left = x;
      to.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
      to.right = to.left + std::max(0, cx);
      to.bottom = to.top + std::max(0, cy);
    }
    if (!(flags & SWP_NOZORDER)) {
      if (insertAfter == HWND_TOPMOST) w->topmost = true;
      if (insertAfter == HWND_NOTOPMOST) w->topmost = false;
      if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        RaiseLocked(hwnd);
        if (w->visible) S().backend->Raise(*w);
      }
    }
  }
  if (!(flags & (SWP_NOMOVE)) || !(flags & SWP_NOSIZE)) {
    bool maximized;
    {
      std::lock_guard lock(S().mutex);
      WindowRecord* w = Find(hwnd);
      maximized = w && w->maximized;
      if (w && !(flags & SWP_NOSIZE)) w->maximized = false;
      if (!(flags & SWP_NOSIZE)) maximized = false;
    }
    ApplyBounds(hwnd, to, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED);
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  return true;
}

bool MoveWindow(HWND hwnd, int x, int y, int cx, int cy, bool repaint) {
  if (!SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE)) return false;
  if (repaint) InvalidateRect(hwnd, nullptr);
  return true;
}

// --- 3. Visibility and state ---------------------------------------------------------------------
bool ShowWindow(HWND hwnd, int cmd) {
  bool wasVisible, canActivate, wasMinimized, wasMaximized;
  HWND successor = nullptr;
  bool deactivate = false;
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (!w) return false;
    wasVisible = w->visible;
    wasMinimized = w->minimized;
    wasMaximized = w->maximized;
    canActivate = !w->popup && !(w->exStyle & WS_EX_NOACTIVATE) && w->enabled;
  }
  if (cmd == SW_HIDE) {
    if (!wasVisible) return false;
    HWND lostCapture = nullptr;
    {
      std::lock_guard lock(S().mutex);
      WindowRecord* w = Find(hwnd);
      w->visible = false;
      S().backend->SetVisible(*w, false, false);
      if (S().active == hwnd) {
        deactivate = true;
        successor = SuccessorLocked(hwnd);
      }
      if (S().capture == hwnd) {
        S().capture = nullptr;
        S().backend->SetMouseCapture(false);
        lostCapture = hwnd;
      }
      if (S().pointerWindow == hwnd) {
        S().pointerWindow = nullptr;
        CheckLeaveLocked();
      }
    }
    DismissPopupsOwnedBy(hwnd);
    Deliver(hwnd, WM_SHOWWINDOW, 0, 0);
    if (lostCapture) Deliver(hwnd, WM_CAPTURECHANGED, 0, 0);
    if (deactivate) SetActiveImpl(successor, successor != nullptr);
    return true;
  }
  const bool minimize = cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE;
  const bool activate = canActivate && (cmd == SW_SHOW || cmd == SW_SHOWNORMAL || cmd == SW_RESTORE ||
                                        cmd == SW_MAXIMIZE || cmd == SW_SHOWMINIMIZED);
  if (!wasVisible) {
    {
      std::lock_guard lock(S().mutex);
      WindowRecord* w = Find(hwnd);
      w->visible = true;
      w->dismissed = false;
      RaiseLocked(hwnd);
      S().backend->SetVisible(*w, true, activate && !minimize);
      w->invalid = ClientOf(*w);
    }
    Deliver(hwnd, WM_SHOWWINDOW, 1, 0);
  }
  if (minimize) {
    if (!wasMinimized) {
      {
        std::lock_guard lock(S().mutex);
        WindowRecord* w = Find(hwnd);
        if (!w) return wasVisible;
        w->minimized = true;
        S().backend->Minimize(*w);
        if (S().active == hwnd) {
          deactivate = true;
          successor = SuccessorLocked(hwnd);
        }
      }
      DismissPopupsOwnedBy(hwnd);
      Deliver(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
      if (deactivate) SetActiveImpl(successor, false);
    }
    return wasVisible;
  }
  if (wasMinimized) {
    RECT r;
    {
      std::lock_guard lock(S().mutex);
      WindowRecord* w = Find(hwnd);
      if (!w) return wasVisible;
      w->minimized = false;
      S().backend->SetVisible(*w, true, activate);
      w->invalid = ClientOf(*w);
      r = w->rect;
    }
    if (cmd != SW_MAXIMIZE)
      Deliver(hwnd, WM_SIZE, wasMaximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
              MAKELPARAM(r.right - r.left, r.bottom - r.top));
  }
  if (cmd == SW_MAXIMIZE && !wasMaximized) {
    MINMAXINFO mmi;
    {
      std::lock_guard lock(S().mutex);
      WindowRecord* w = Find(hwnd);
      if (!w) return wasVisible;
      w->restoreRect = w->rect;
    }
    MonitorInfo mon;
    GetMonitorInfo(MonitorFromWindow(hwnd), &mon);
    mmi.ptMaxPosition = POINT{mon.workArea.left, mon.workArea.top};
    mmi.ptMaxSize = POINT{mon.workArea.right - mon.workArea.left, mon.workArea.bottom - mon.workArea.top};
    mmi.ptMaxTrackSize = mmi.ptMaxSize;
    mmi.ptMinTrackSize = POINT{1, 1};
    Deliver(hwnd, WM_GETMINMAXINFO, 0, LPARAM(&mmi));
    {
      std::lock_guard lock(S().mutex);
      WindowRecord* w = Find(hwnd);
      if (!w) return wasVisible;
      w->maximized = true;
    }
    ApplyBounds(hwnd,
                RECT{mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + mmi.ptMaxSize.x,
                     mmi.ptMaxPosition.y + mmi.ptMaxSize.y},
                SIZE_MAXIMIZED);
  } else if (cmd == SW_RESTORE && wasMaximized && !wasMinimized) {
    RECT r;
    {
      std::lock_guard lock(S().mutex);
      WindowRecord* w = Find(hwnd);
      if (!w) return wasVisible;
      w->maximized = false;
      r = w->restoreRect;
    }
    ApplyBounds(hwnd, r, SIZE_RESTORED);
  }
  if (activate) SetActiveImpl(hwnd, true);
  return wasVisible;
}

bool IsWindowVisible(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  return w && w->visible;
}

bool IsIconic(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  return w && w->minimized;
}

bool IsZoomed(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  return w && w->maximized;
}

bool EnableWindow(HWND hwnd, bool enable) {
  bool wasDisabled;
  bool lostFocus = false;
  HWND lostCapture = nullptr;
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (!w) return false;
    wasDisabled = !w->enabled;
    if (w->enabled == enable) return wasDisabled;
    w->enabled = enable;
    if (!enable && S().capture == hwnd) {
      S().capture = nullptr;
      S().backend->SetMouseCapture(false);
      lostCapture = hwnd;
    }
    if (!enable && S().focus == hwnd) {
      // A disabled window keeps activation but loses the keyboard focus.
      S().focus = nullptr;
      lostFocus = true;
    }
  }
  if (lostCapture) Deliver(hwnd, WM_CAPTURECHANGED, 0, 0);
  if (lostFocus) Deliver(hwnd, WM_KILLFOCUS, 0, 0);
  Deliver(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
  return wasDisabled;
}

bool IsWindowEnabled(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  return w && w->enabled;
}

// --- 4. Monitors ---------------------------------------------------------------------------------
namespace {
std::vector<MonitorInfo> Monitors() {
  std::lock_guard lock(S().mutex);
  if (!S().backend) return {};
  return S().backend->Monitors();
}

int64_t DistanceSquared(const RECT& r, POINT p) {
  int64_t dx = p.x < r.left ? r.left - p.x : (p.x >= r.right ? p.x - r.right + 1 : 0);
  int64_t dy = p.y < r.top ? r.top - p.y : (p.y >= r.bottom ? p.y - r.bottom + 1 : 0);
  return dx * dx + dy * dy;
}
}  // namespace

int GetMonitorCount() { return int(Monitors().size()); }

bool GetMonitorInfo(int index, MonitorInfo* info) {
  auto list = Monitors();
  if (!info || index < 0 || index >= int(list.size())) {
    if (info) {
      // Without a display, a 1280 x 720 area at the origin stands in.
      *info = MonitorInfo{RECT{0, 0, 1280, 720}, RECT{0, 0, 1280, 720}, 96.0f, true};
    }
    return false;
  }
  *info = list[size_t(index)];
  return true;
}

int MonitorFromPoint(POINT pt) {
  auto list = Monitors();
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (size_t i = 0; i < list.size(); ++i) {
    int64_t d = DistanceSquared(list[i].bounds, pt);
    if (d < bestDistance) {
      bestDistance = d;
      best = int(i);
    }
  }
  return best;
}

int MonitorFromRect(const RECT& r) {
  auto list = Monitors();
  int best = -1;
  int64_t bestArea = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    RECT o = IntersectRect(list[i].bounds, r);
    int64_t area = int64_t(o.right - o.left) * (o.bottom - o.top);
    if (area > bestArea) {
      bestArea = area;
      best = int(i);
    }
  }
  if (best >= 0) return best;
  return MonitorFromPoint(POINT{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2});
}

int MonitorFromWindow(HWND hwnd) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return 0;
  return MonitorFromRect(r);
}

bool GetWorkArea(RECT* rect) {
  if (!rect) return false;
  auto list = Monitors();
  for (const MonitorInfo& m : list) {
    if (m.primary) {
      *rect = m.workArea;
      return true;
    }
  }
  if (!list.empty()) {
    *rect = list[0].workArea;
    return true;
  }
  *rect = RECT{0, 0, 1280, 720};
  return false;
}

}  // namespace platform
