// Input routing of the window system: activation, keyboard focus and mouse
// capture; hit-testing, hover and leave tracking, double clicks and the key
// state, fed by the backends through the Input* entry points; and the
// public calls that read and change that state.
//
// Index
//   1. Activation, focus and capture
//   2. Pointer routing
//   3. Keys and other input entry points
//   4. Input state (public)

#include <algorithm>
#include <cstdlib>

#include "platform/window/WindowSystem.h"

namespace platform {

namespace detail {

// --- 1. Activation, focus and capture ------------------------------------------------------------
HWND SetFocusImpl(HWND hwnd) {
  HWND old;
  {
    std::lock_guard lock(S().mutex);
    old = S().focus;
    if (old == hwnd) return old;
    if (hwnd && !Find(hwnd)) return nullptr;
    S().focus = hwnd;
  }
  if (old) Deliver(old, WM_KILLFOCUS, WPARAM(hwnd), 0);
  if (hwnd) Deliver(hwnd, WM_SETFOCUS, WPARAM(old), 0);
  return old;
}

HWND SetActiveImpl(HWND hwnd, bool raiseNative) {
  HWND old;
  {
    std::lock_guard lock(S().mutex);
    old = S().active;
    if (old == hwnd) return old;
    WindowRecord* w = hwnd ? Find(hwnd) : nullptr;
    if (hwnd && (!w || w->popup || w->destroying)) return nullptr;
    S().active = hwnd;
    if (w && raiseNative && S().backend) S().backend->Raise(*w);
  }
  // The pop-ups over the window that loses the activation close with it.
  if (old) DismissPopupsOwnedBy(old);
  if (old) {
    Deliver(old, WM_NCACTIVATE, 0, 0);
    Deliver(old, WM_ACTIVATE, WA_INACTIVE, LPARAM(hwnd));
  }
  if (hwnd) {
    Deliver(hwnd, WM_NCACTIVATE, 1, 0);
    Deliver(hwnd, WM_ACTIVATE, WA_ACTIVE, LPARAM(old));
  }
  SetFocusImpl(hwnd);
  return old;
}

HWND SuccessorLocked(HWND leaving) {
  WindowRecord* w = Find(leaving);
  auto usable = [&](WindowRecord* c) {
    return c && c->hwnd != leaving && c->visible && !c->minimized && c->enabled && !c->popup &&
           !c->destroying;
  };
  if (w && usable(Find(w->owner))) return w->owner;
  for (HWND h : S().zorder)
    if (usable(Find(h))) return h;
  return nullptr;
}

bool Captured(HWND hwnd) { return hwnd && S().capture == hwnd; }

void RaiseLocked(HWND hwnd, int depth) {
  WindowRecord* w = Find(hwnd);
  if (!w || depth > 16) return;
  auto& z = S().zorder;
  z.erase(std::remove(z.begin(), z.end(), hwnd), z.end());
  auto isTop = [](HWND h) {
    WindowRecord* r = Find(h);
    return r && (r->topmost || r->popup);
  };
  auto pos = z.begin();
  if (!(w->topmost || w->popup))
    while (pos != z.end() && isTop(*pos)) ++pos;
  z.insert(pos, hwnd);
  std::vector<HWND> owned;
  for (auto& [id, c] : S().windows)
    if (c->owner == hwnd) owned.push_back(c->hwnd);
  for (HWND o : owned) RaiseLocked(o, depth + 1);
}

// --- 2. Pointer routing --------------------------------------------------------------------------
WPARAM MouseKeyFlagsLocked() {
  const uint8_t* k = S().keys;
  WPARAM f = 0;
  if (k[VK_LBUTTON]) f |= MK_LBUTTON;
  if (k[VK_RBUTTON]) f |= MK_RBUTTON;
  if (k[VK_MBUTTON]) f |= MK_MBUTTON;
  if (k[VK_XBUTTON1]) f |= MK_XBUTTON1;
  if (k[VK_XBUTTON2]) f |= MK_XBUTTON2;
  if (k[VK_SHIFT]) f |= MK_SHIFT;
  if (k[VK_CONTROL]) f |= MK_CONTROL;
  return f;
}

LPARAM ClientPointParam(const WindowRecord& w, POINT screen) {
  return MAKELPARAM(screen.x - w.rect.left, screen.y - w.rect.top);
}

namespace {

HWND HitTestLocked(POINT pt) {
  for (HWND h : S().zorder) {
    WindowRecord* w = Find(h);
    if (w && w->visible && !w->minimized && !w->destroying && !(w->exStyle & WS_EX_TRANSPARENT) &&
        PtInRect(w->rect, pt))
      return h;
  }
  return nullptr;
}

HWND UnderPointerLocked(HWND hint, POINT pt) {
  WindowRecord* w = hint ? Find(hint) : nullptr;
  if (w && w->visible && PtInRect(w->rect, pt)) return hint;
  return HitTestLocked(pt);
}

WindowRecord* InputTargetLocked(HWND under) {
  HWND target = S().capture ? S().capture : under;
  WindowRecord* w = Find(target);
  if (!w || !w->enabled || w->destroying) return nullptr;
  return w;
}

}  // namespace

void CheckLeaveLocked() {
  for (auto& [id, w] : S().windows) {
    if (!w->trackLeave || w->hwnd == S().pointerWindow) continue;
    if (Captured(w->hwnd)) {
      w->leavePendingOnRelease = true;
      continue;
    }
    w->trackLeave = false;
    w->trackHover = false;
    PostLocked(*w, WM_MOUSELEAVE, 0, 0);
  }
}

void InputMouseMove(HWND hint, POINT pt) {
  HWND drag = nullptr;
  POINT to;
  {
    std::lock_guard lock(S().mutex);
    S().cursor = pt;
    if (S().dragWindow && Find(S().dragWindow)) {
      drag = S().dragWindow;
      to = POINT{pt.x - S().dragOffset.x, pt.y - S().dragOffset.y};
    } else {
      S().pointerWindow = UnderPointerLocked(hint, pt);
      CheckLeaveLocked();
      WindowRecord* w = InputTargetLocked(S().pointerWindow);
      if (!w) return;
      if (w->trackHover &&
          (std::abs(pt.x - w->hoverAnchor.x) > kHoverSlop || std::abs(pt.y - w->hoverAnchor.y) > kHoverSlop)) {
        w->hoverAnchor = pt;
        w->hoverStart = NowLocked();
      }
      PostLocked(*w, WM_MOUSEMOVE, MouseKeyFlagsLocked(), ClientPointParam(*w, pt));
      return;
    }
  }
  SetWindowPos(drag, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void InputMouseButton(HWND hint, MouseButton button, bool down, POINT pt, uint64_t time) {
  static const UINT kVk[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2};
  static const UINT kDown[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_XBUTTONDOWN, WM_XBUTTONDOWN};
  static const UINT kUp[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP, WM_XBUTTONUP, WM_XBUTTONUP};
  static const UINT kDbl[] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_XBUTTONDOWN, WM_XBUTTONDOWN};
  const int b = int(button);
  HWND activate = nullptr;
  std::vector<HWND> dismiss;
  {
    std::lock_guard lock(S().mutex);
    S().cursor = pt;
    if (down) {
      if (!S().keys[kVk[b]]) S().toggles[kVk[b]] ^= 1;
      S().keys[kVk[b]] = 0x80;
    } else {
      S().keys[kVk[b]] = 0;
    }
    if (S().dragWindow) {
      if (button == MouseButton::Left && !down) S().dragWindow = nullptr;
      return;
    }
    S().pointerWindow = UnderPointerLocked(hint, pt);
    CheckLeaveLocked();
    // Open pop-ups elsewhere close at the press, whichever window takes it.
    if (down) dismiss = PopupsToDismissForPressLocked(S().pointerWindow);
    WindowRecord* w = InputTargetLocked(S().pointerWindow);
    if (w && down && w->hwnd != S().active && !w->popup && !(w->exStyle & WS_EX_NOACTIVATE))
      activate = w->hwnd;
    if (!w && dismiss.empty()) return;
  }
  for (HWND p : dismiss) Deliver(p, WM_NCACTIVATE, 0, 0);
  // Activation runs before the press is queued, as a click on an inactive
  // window activates it first.
  if (activate) SetActiveImpl(activate, true);
  std::lock_guard lock(S().mutex);
  WindowRecord* w = InputTargetLocked(UnderPointerLocked(hint, pt));
  if (!w) return;
  UINT msg = down ? kDown[b] : kUp[b];
  if (down) {
    const uint64_t now = NowLocked();
    bool dbl = S().lastClickWindow == w->hwnd && S().lastClickButton == button &&
               now - S().lastClickTime <= kDoubleClickMs &&
               std::abs(pt.x - S().lastClickPoint.x) <= kDoubleClickSlop &&
               std::abs(pt.y - S().lastClickPoint.y) <= kDoubleClickSlop;
    if (dbl) {
      msg = kDbl[b];
      S().lastClickWindow = nullptr;  // a third press starts again
    } else {
      S().lastClickWindow = w->hwnd;
      S().lastClickButton = button;
      S().lastClickTime = now;
      S().lastClickPoint = pt;
    }
  }
  WPARAM wParam = MouseKeyFlagsLocked();
  if (button == MouseButton::X1) wParam |= WPARAM(1) << 16;
  if (button == MouseButton::X2) wParam |= WPARAM(2) << 16;
  PostLocked(*w, msg, wParam, ClientPointParam(*w, pt), time == kInputNow ? NowLocked() : time);
}

void InputWheel(HWND hint, int delta, POINT pt) {
  std::lock_guard lock(S().mutex);
  S().cursor = pt;
  S().pointerWindow = UnderPointerLocked(hint, pt);
  WindowRecord* w = InputTargetLocked(S().pointerWindow);
  if (!w) return;
  // The wheel message carries screen coordinates.
  PostLocked(*w, WM_MOUSEWHEEL, MAKEWPARAM(int(MouseKeyFlagsLocked()), delta), MAKELPARAM(pt.x, pt.y));
}

void InputPointerLeft(HWND window) {
  std::lock_guard lock(S().mutex);
  if (S().pointerWindow != window) return;
  S().pointerWindow = nullptr;
  CheckLeaveLocked();
}

// --- 3. Keys and other input entry points --------------------------------------------------------
namespace {
UINT GenericKey(UINT vk) {
  switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return vk;
  }
}
}  // namespace

void InputKey(UINT vk, uint16_t scanCode, bool down, uint64_t time) {
  if (vk == 0 || vk > 0xFF) return;
  std::lock_guard lock(S().mutex);
  const UINT generic = GenericKey(vk);
  const bool wasDown = S().keys[generic] != 0;
  for (UINT k : {vk, generic}) {
    if (down && !S().keys[k]) S().toggles[k] ^= 1;
    S().keys[k] = down ? 0x80 : 0;
  }
  if (generic != vk && !down) {
    // The generic key stays down while the other side's key is held.
    UINT pair[2] = {};
    if (generic == VK_SHIFT) pair[0] = VK_LSHIFT, pair[1] = VK_RSHIFT;
    if (generic == VK_CONTROL) pair[0] = VK_LCONTROL, pair[1] = VK_RCONTROL;
    if (generic == VK_MENU) pair[0] = VK_LMENU, pair[1] = VK_RMENU;
    if (S().keys[pair[0]] || S().keys[pair[1]]) S().keys[generic] = 0x80;
  }
  WindowRecord* w = Find(KeyTargetLocked(S().focus ? S().focus : S().active));
  if (!w || !w->enabled || w->destroying) return;
  const bool alt = S().keys[VK_MENU] != 0 || (generic == VK_MENU && !down);
  const bool ctrl = S().keys[VK_CONTROL] != 0;
  const bool sys = (alt && !ctrl) || generic == VK_F10;
  LPARAM l = 1 | (LPARAM(scanCode & 0xFF) << 16);
  if (scanCode & 0xE000) l |= LPARAM(1) << 24;
  if (alt) l |= LPARAM(1) << 29;
  if (wasDown || !down) l |= LPARAM(1) << 30;
  if (!down) l |= LPARAM(uint32_t(1) << 31);
  UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  const uint64_t stamp = time == kInputNow ? NowLocked() : time;
  PostLocked(*w, msg, generic, l, stamp);
  if (!down || alt) return;
  // Characters that text input never produces: the control keys and the
  // Ctrl+letter codes edit fields use.
  WPARAM ch = 0;
  if (!ctrl && (generic == VK_BACK || generic == VK_TAB || generic == VK_RETURN || generic == VK_ESCAPE))
    ch = generic;
  else if (ctrl && generic >= 'A' && generic <= 'Z')
    ch = generic - 'A' + 1;
  if (ch) PostLocked(*w, WM_CHAR, ch, l, stamp);
}

void InputText(const std::wstring& text) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(S().focus ? S().focus : S().active);
  if (!w || !w->enabled || w->destroying) return;
  for (wchar_t c : text) PostLocked(*w, WM_CHAR, WPARAM(c), 1);
}

void InputActivate(HWND window, bool active) {
  if (active) {
    SetActiveImpl(window, false);
    return;
  }
  bool wasActive;
  {
    std::lock_guard lock(S().mutex);
    wasActive = S().active == window;
  }
  if (wasActive) SetActiveImpl(nullptr, false);
}

void InputNativeBounds(HWND window, const RECT& rect) {
  RECT old;
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(window);
    if (!w) return;
    old = w->rect;
  }
  if (old.left == rect.left && old.top == rect.top && old.right == rect.right && old.bottom == rect.bottom)
    return;
  SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void InputCloseRequest(HWND window) { PostMessage(window, WM_CLOSE, 0, 0); }

void InputExposed(HWND window) { InvalidateRect(window, nullptr); }

bool IsDraggingWindow() {
  std::lock_guard lock(S().mutex);
  return S().dragWindow != nullptr;
}

}  // namespace detail

using namespace detail;

// --- 4. Input state (public) ---------------------------------------------------------------------
HWND SetActiveWindow(HWND hwnd) { return SetActiveImpl(hwnd, true); }

HWND GetActiveWindow() {
  std::lock_guard lock(S().mutex);
  return S().active;
}

bool SetForegroundWindow(HWND hwnd) {
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (!w) return false;
    RaiseLocked(hwnd);
    if (w->visible) S().backend->Raise(*w);
  }
  SetActiveImpl(hwnd, true);
  return true;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

HWND SetFocus(HWND hwnd) {
  HWND active;
  {
    std::lock_guard lock(S().mutex);
    active = S().active;
    if (hwnd && !Find(hwnd)) return nullptr;
  }
  if (hwnd && hwnd != active) {
    HWND old;
    {
      std::lock_guard lock(S().mutex);
      old = S().focus;
    }
    SetActiveImpl(hwnd, true);
    return old;
  }
  return SetFocusImpl(hwnd);
}

HWND GetFocus() {
  std::lock_guard lock(S().mutex);
  return S().focus;
}

HWND SetCapture(HWND hwnd) {
  HWND old;
  {
    std::lock_guard lock(S().mutex);
    if (!Find(hwnd)) return nullptr;
    old = S().capture;
    S().capture = hwnd;
    S().backend->SetMouseCapture(true);
  }
  if (old && old != hwnd) Deliver(old, WM_CAPTURECHANGED, 0, LPARAM(hwnd));
  return old;
}

bool ReleaseCapture() {
  HWND old;
  {
    std::lock_guard lock(S().mutex);
    old = S().capture;
    if (!old) return true;
    S().capture = nullptr;
    S().backend->SetMouseCapture(false);
    if (WindowRecord* w = Find(old)) {
      bool outside = S().pointerWindow != old;
      if (w->trackLeave && (w->leavePendingOnRelease || outside)) {
        w->trackLeave = false;
        w->trackHover = false;
        PostLocked(*w, WM_MOUSELEAVE, 0, 0);
      }
      w->leavePendingOnRelease = false;
    }
  }
  Deliver(old, WM_CAPTURECHANGED, 0, 0);
  return true;
}

HWND GetCapture() {
  std::lock_guard lock(S().mutex);
  return S().capture;
}

bool TrackMouseEvent(TRACKMOUSEEVENT* tme) {
  if (!tme) return false;
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(tme->hwndTrack);
  if (!w) return false;
  if (tme->dwFlags & TME_CANCEL) {
    if (tme->dwFlags & TME_LEAVE) w->trackLeave = false;
    if (tme->dwFlags & TME_HOVER) w->trackHover = false;
    return true;
  }
  if (tme->dwFlags & TME_LEAVE) {
    w->leavePendingOnRelease = false;
    if (S().pointerWindow != w->hwnd && !Captured(w->hwnd)) {
      // Asking while the pointer is already elsewhere answers at once.
      PostLocked(*w, WM_MOUSELEAVE, 0, 0);
    } else {
      w->trackLeave = true;
    }
  }
  if (tme->dwFlags & TME_HOVER) {
    w->trackHover = true;
    w->hoverTime = (tme->dwHoverTime == HOVER_DEFAULT || tme->dwHoverTime == 0) ? 400 : tme->dwHoverTime;
    w->hoverStart = NowLocked();
    w->hoverAnchor = S().cursor;
  }
  return true;
}

int16_t GetKeyState(int vk) {
  if (vk < 0 || vk > 0xFF) return 0;
  std::lock_guard lock(S().mutex);
  return int16_t((S().keys[vk] ? 0x8000 : 0) | (S().toggles[vk] & 1));
}

bool GetCursorPos(POINT* pt) {
  if (!pt) return false;
  std::lock_guard lock(S().mutex);
  *pt = S().cursor;
  return true;
}

void SetCursor(int idc) {
  std::lock_guard lock(S().mutex);
  if (S().cursorId == idc) return;
  S().cursorId = idc;
  if (S().backend) S().backend->SetCursor(idc);
}

int GetCursor() {
  std::lock_guard lock(S().mutex);
  return S().cursorId;
}

}  // namespace platform
