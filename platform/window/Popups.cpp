// Pop-ups that behave like pop-ups. A pop-up that can be dismissed is a
// WS_POPUP window with WS_EX_TOOLWINDOW and without WS_EX_NOACTIVATE: a
// menu or a drop-down list. It never takes the activation from the window
// that owns it; instead it receives WM_NCACTIVATE 0, the message a window
// gets when it loses the activation, when
//   - the user presses a mouse button in any other window of the program
//     (or outside all of them), except in a window it owns itself;
//   - a window in its chain of owners loses the activation, is hidden or
//     minimised, or is moved or resized.
// Each pop-up is told once per showing. While one is open over the focus
// window it receives the keys (Escape closes menus), and wherever it is
// placed it is kept inside the work area of its monitor.
// WS_EX_NOACTIVATE pop-ups (tooltips, on-screen messages) are never
// dismissed and never take keys; windows without WS_POPUP |
// WS_EX_TOOLWINDOW (dialogs, the message box) are activatable as usual.
//
// Index
//   1. Which windows
//   2. Dismissal
//   3. Keys and placement

#include <algorithm>

#include "platform/window/PopupPlacement.h"
#include "platform/window/WindowSystem.h"

namespace platform::detail {

// --- 1. Which windows ----------------------------------------------------------------------------
bool IsDismissableStyle(DWORD style, DWORD exStyle) {
  return (style & WS_POPUP) && (exStyle & WS_EX_TOOLWINDOW) && !(exStyle & WS_EX_NOACTIVATE);
}

namespace {

bool IsOpenPopupLocked(const WindowRecord& w) {
  return w.popup && w.visible && !w.minimized && !w.destroying && IsDismissableStyle(w.style, w.exStyle);
}

bool IsUndismissedLocked(const WindowRecord& w) { return IsOpenPopupLocked(w) && !w.dismissed;
}

// Whether `ancestor` is hwnd itself or one of its owners, owner of owner...
bool InOwnerChainLocked(HWND hwnd, HWND ancestor) {
  for (int depth = 0; hwnd != nullptr && depth < 32; ++depth) {
    if (hwnd == ancestor) return true;
    WindowRecord* w = Find(hwnd);
    hwnd = w != nullptr ? w->owner : nullptr;
  }
  return false;
}

void Dismiss(const std::vector<HWND>& popups) {
  for (HWND p : popups) Deliver(p, WM_NCACTIVATE, 0, 0);
}

}  // namespace

// --- 2. Dismissal ----------------------------------------------------------------------------------
std::vector<HWND> PopupsToDismissForPressLocked(HWND pressed) {
  std::vector<HWND> out;
  // Front first, so that a pop-up over another closes first.
  for (HWND h : S().zorder) {
    WindowRecord* w = Find(h);
    if (w == nullptr || !IsUndismissedLocked(*w)) continue;
    // A press in the pop-up itself, or in a window it owns, keeps it.
    if (pressed != nullptr && InOwnerChainLocked(pressed, h)) continue;
    // Told once: the hide and the deactivation that follow do not repeat it.
    w->dismissed = true;
    out.push_back(h);
  }
  return out;
}

void DismissPopupsForPress(HWND pressed) {
  std::vector<HWND> popups;
  {
    std::lock_guard lock(S().mutex);
    popups = PopupsToDismissForPressLocked(pressed);
  }
  Dismiss(popups);
}

void DismissPopupsOwnedBy(HWND owner) {
  if (owner == nullptr) return;
  std::vector<HWND> popups;
  {
    std::lock_guard lock(S().mutex);
    for (HWND h : S().zorder) {
      WindowRecord* w = Find(h);
      if (w == nullptr || h == owner || !IsUndismissedLocked(*w)) continue;
      if (!InOwnerChainLocked(w->owner, owner)) continue;
      w->dismissed = true;
      popups.push_back(h);
    }
  }
  Dismiss(popups);
}

// --- 3. Keys and placement -------------------------------------------------------------------------
HWND KeyTargetLocked(HWND focus) {
  if (focus == nullptr) return nullptr;
  for (HWND h : S().zorder) {
    WindowRecord* w = Find(h);
    if (w != nullptr && IsOpenPopupLocked(*w) && w->enabled && InOwnerChainLocked(w->owner, focus)) return h;
  }
  return focus;
}

RECT KeepPopupOnScreen(HWND hwnd, const RECT& to) {
  bool popup;
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    popup = w != nullptr && w->popup && IsDismissableStyle(w->style, w->exStyle);
  }
  return popup ? ClampToWorkArea(to) : to;
}

}  // namespace platform::detail
