// The window system shared by both backends: window records, per-thread
// message queues, input routing (capture, hit-testing, hover and leave
// tracking, double clicks, keys), activation and focus, timers, painting
// state and monitors. Backends only create native windows, present pixels
// and feed native events in through the Input* entry points.
//
// Index
//   1. State, queues and handles
//   2. Start and stop
//   3. Delivering messages: post, send, the retrieval loop
//   4. Activation, focus and capture
//   5. Input routing
//   6. Creating and destroying windows
//   7. Geometry, visibility, state
//   8. Timers, painting, presenting
//   9. Monitors
//
// Locking: one system mutex guards every record and the input state; each
// queue has its own mutex, always taken after the system mutex, never
// before it. Window procedures run with no lock held.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "platform/window/WindowBackend.h"

namespace platform {

namespace detail {

// --- 1. State, queues and handles --------------------------------------------------
struct SentItem {
  MSG msg;
  LRESULT result = 0;
  bool done = false;
  std::shared_ptr<MessageQueue> sender;
};

class MessageQueue {
 public:
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<MSG> posted;
  std::deque<std::shared_ptr<SentItem>> sent;
  bool quit = false;
  int quitCode = 0;
  uint64_t generation = 0;
  bool eventThread = false;  // the backend's events are pumped on this thread
  std::thread::id thread;
};

namespace {

struct System {
  std::mutex mutex;
  std::unique_ptr<Backend> backend;
  std::atomic<uint64_t> epoch{1};
  std::map<uintptr_t, std::shared_ptr<WindowRecord>> windows;
  uintptr_t nextId = 1;  // never reset, so handles are not reused in a run
  std::vector<HWND> zorder;  // front first
  std::map<std::thread::id, std::shared_ptr<MessageQueue>> queues;
  HWND capture = nullptr;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND pointerWindow = nullptr;  // the window under the pointer
  POINT cursor;
  uint8_t keys[256] = {};
  uint8_t toggles[256] = {};
  HWND lastClickWindow = nullptr;
  MouseButton lastClickButton = MouseButton::Left;
  uint64_t lastClickTime = 0;
  POINT lastClickPoint;
  HWND dragWindow = nullptr;
  POINT dragOffset;
  int cursorId = IDC_ARROW;
};

System& S() {
  static System* system = new System;  // outlives static destructors of users
  return *system;
}

constexpr uint64_t kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 2;  // half the 4-pixel double-click box
constexpr int kHoverSlop = 2;        // half the 4-pixel hover box

uint64_t SteadyMs() {
  using namespace std::chrono;
  static const auto start = steady_clock::now();
  return uint64_t(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

uint64_t NowLocked() { return S().backend ? S().backend->Now() : SteadyMs(); }

WindowRecord* Find(HWND hwnd) {
  auto it = S().windows.find(reinterpret_cast<uintptr_t>(hwnd));
  return it == S().windows.end() ? nullptr : it->second.get();
}

RECT ClientOf(const WindowRecord& w) {
  return RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
}

void Notify(MessageQueue& q) {
  {
    std::lock_guard lock(q.mutex);
    ++q.generation;
  }
  q.cv.notify_all();
}

// Wakes the queue's thread; for the backend's event thread that means a
// native wake-up, because it may be blocked in the backend's Wait.
void Wake(MessageQueue& q, Backend* backend) {
  Notify(q);
  if (q.eventThread && backend) backend->Wake();
}

struct TlsQueue {
  std::shared_ptr<MessageQueue> queue;
  uint64_t epoch = 0;
};
thread_local TlsQueue tls;

std::shared_ptr<MessageQueue> CurrentQueueLocked() {
  if (tls.queue && tls.epoch == S().epoch.load()) return tls.queue;
  auto q = std::make_shared<MessageQueue>();
  q->thread = std::this_thread::get_id();
  Backend* b = S().backend.get();
  q->eventThread = b && b->HasEventThread() && b->IsEventThread();
  S().queues[q->thread] = q;
  tls.queue = q;
  tls.epoch = S().epoch.load();
  return q;
}

std::shared_ptr<MessageQueue> CurrentQueue() {
  if (tls.queue && tls.epoch == S().epoch.load()) return tls.queue;
  std::lock_guard lock(S().mutex);
  return CurrentQueueLocked();
}

bool OnOwnThread(const WindowRecord& w) { return w.queue && w.queue->thread == std::this_thread::get_id(); }

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

// Queues a message for the window's thread. Caller holds the system mutex.
void PostLocked(WindowRecord& w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!w.queue) return;
  MSG m;
  m.hwnd = w.hwnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = NowLocked();
  m.pt = S().cursor;
  {
    std::lock_guard lock(w.queue->mutex);
    w.queue->posted.push_back(m);
  }
  Wake(*w.queue, S().backend.get());
}

}  // namespace

// --- 3. Delivering messages -------------------------------------------------------------
LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = nullptr;
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (!w) return 0;
    proc = w->proc;
  }
  return proc ? proc(hwnd, msg, wParam, lParam) : DefWindowProc(hwnd, msg, wParam, lParam);
}

namespace {

// Sends on the window's own thread, posts across threads: used for the
// notifications the system itself raises (activation, focus, size).
void Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (!w) return;
    if (!OnOwnThread(*w)) {
      PostLocked(*w, msg, wParam, lParam);
      return;
    }
  }
  CallProc(hwnd, msg, wParam, lParam);
}

void RunSent(MessageQueue& q) {
  for (;;) {
    std::shared_ptr<SentItem> item;
    {
      std::lock_guard lock(q.mutex);
      if (q.sent.empty()) return;
      item = q.sent.front();
      q.sent.pop_front();
    }
    LRESULT r = CallProc(item->msg.hwnd, item->msg.message, item->msg.wParam, item->msg.lParam);
    {
      std::lock_guard lock(item->sender->mutex);
      item->result = r;
      item->done = true;
    }
    item->sender->cv.notify_all();
  }
}

// Paint, hover and timer messages are made when asked for, as Windows does,
// so they never pile up in the queue. Caller holds the system mutex.
bool NextGeneratedLocked(MessageQueue* q, MSG* out, int64_t* waitMs) {
  const uint64_t now = NowLocked();
  auto fill = [&](HWND h, UINT m, WPARAM w, LPARAM l) {
    out->hwnd = h;
    out->message = m;
    out->wParam = w;
    out->lParam = l;
    out->time = now;
    out->pt = S().cursor;
  };
  for (auto& [id, w] : S().windows) {
    if (w->queue.get() != q || w->destroying || !w->visible || w->minimized) continue;
    if (!IsRectEmpty(w->invalid)) {
      w->painting = UnionRect(w->painting, w->invalid);
      w->invalid = RECT{};
      fill(w->hwnd, WM_PAINT, 0, 0);
      return true;
    }
  }
  for (auto& [id, w] : S().windows) {
    if (w->queue.get() != q || !w->trackHover || w->destroying) continue;
    if (S().pointerWindow != w->hwnd) continue;
    uint64_t due = w->hoverStart + w->hoverTime;
    if (now >= due) {
      w->trackHover = false;
      fill(w->hwnd, WM_MOUSEHOVER, MouseKeyFlagsLocked(), ClientPointParam(*w, S().cursor));
      return true;
    }
    *waitMs = std::min<int64_t>(*waitMs < 0 ? INT64_MAX : *waitMs, int64_t(due - now));
  }
  WindowRecord* best = nullptr;
  UINT_PTR bestId = 0;
  for (auto& [id, w] : S().windows) {
    if (w->queue.get() != q || w->destroying) continue;
    for (auto& [tid, t] : w->timers) {
      if (!best || t.due < best->timers[bestId].due) {
        best = w.get();
        bestId = tid;
      }
    }
  }
  if (best) {
    WindowTimer& t = best->timers[bestId];
    if (now >= t.due) {
      t.due = now + t.elapse;
      fill(best->hwnd, WM_TIMER, bestId, 0);
      return true;
    }
    *waitMs = std::min<int64_t>(*waitMs < 0 ? INT64_MAX : *waitMs, int64_t(t.due - now));
  }
  return false;
}

// The retrieval loop behind GetMessage and PeekMessage. Returns false when
// nothing was ready and block is false.
bool NextMessage(MSG* out, bool block) {
  std::shared_ptr<MessageQueue> q = CurrentQueue();
  for (;;) {
    uint64_t generation;
    {
      std::lock_guard lock(q->mutex);
      generation = q->generation;
    }
    RunSent(*q);
    Backend* backend = nullptr;
    {
      std::lock_guard lock(S().mutex);
      backend = S().backend.get();
      if (!(backend && q->eventThread)) backend = nullptr;
    }
    if (backend) backend->Pump();
    RunSent(*q);
    {
      std::lock_guard lock(q->mutex);
      if (!q->posted.empty()) {
        *out = q->posted.front();
        q->posted.pop_front();
        return true;
      }
      if (q->quit) {
        q->quit = false;
        *out = MSG{};
        out->message = WM_QUIT;
        out->wParam = WPARAM(q->quitCode);
        return true;
      }
    }
    int64_t waitMs = -1;
    bool virtualClock = false;
    {
      std::lock_guard lock(S().mutex);
      if (NextGeneratedLocked(q.get(), out, &waitMs)) return true;
      virtualClock = S().backend && S().backend->VirtualClock();
    }
    if (!block) return false;
    // The headless clock only moves when a test advances it, and that wakes
    // every queue, so there is nothing to time out for.
    if (virtualClock) waitMs = -1;
    if (backend) {
      backend->Wait(int(std::min<int64_t>(waitMs, 1000000)));
    } else {
      std::unique_lock lock(q->mutex);
      auto changed = [&] { return q->generation != generation; };
      if (waitMs < 0)
        q->cv.wait(lock, changed);
      else
        q->cv.wait_for(lock, std::chrono::milliseconds(waitMs), changed);
    }
  }
}

}  // namespace

// --- 4. Activation, focus and capture -------------------------------------------------------
namespace {

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

// The window to activate when the active one goes away: its owner when that
// can take activation, else the front-most such window.
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

// Moves a window to the front of its band (topmost windows and pop-ups above
// the others) and its owned windows above it.
void RaiseLocked(HWND hwnd, int depth = 0) {
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

}  // namespace

// --- 5. Input routing ------------------------------------------------------------------------
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

// Delivers WM_MOUSELEAVE to tracked windows the pointer is no longer over.
// A window holding the capture gets it when it releases the capture.
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

WindowRecord* InputTargetLocked(HWND under) {
  HWND target = S().capture ? S().capture : under;
  WindowRecord* w = Find(target);
  if (!w || !w->enabled || w->destroying) return nullptr;
  return w;
}

}  // namespace

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

void InputMouseButton(HWND hint, MouseButton button, bool down, POINT pt) {
  static const UINT kVk[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2};
  static const UINT kDown[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_XBUTTONDOWN, WM_XBUTTONDOWN};
  static const UINT kUp[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP, WM_XBUTTONUP, WM_XBUTTONUP};
  static const UINT kDbl[] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_XBUTTONDOWN, WM_XBUTTONDOWN};
  const int b = int(button);
  HWND activate = nullptr;
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
    WindowRecord* w = InputTargetLocked(S().pointerWindow);
    if (!w) return;
    if (down && w->hwnd != S().active && !w->popup && !(w->exStyle & WS_EX_NOACTIVATE))
      activate = w->hwnd;
  }
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
  PostLocked(*w, msg, wParam, ClientPointParam(*w, pt));
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

void InputKey(UINT vk, uint16_t scanCode, bool down) {
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
  WindowRecord* w = Find(S().focus ? S().focus : S().active);
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
  PostLocked(*w, msg, generic, l);
  if (!down || alt) return;
  // Characters that text input never produces: the control keys and the
  // Ctrl+letter codes edit fields use.
  WPARAM ch = 0;
  if (!ctrl && (generic == VK_BACK || generic == VK_TAB || generic == VK_RETURN || generic == VK_ESCAPE))
    ch = generic;
  else if (ctrl && generic >= 'A' && generic <= 'Z')
    ch = generic - 'A' + 1;
  if (ch) PostLocked(*w, WM_CHAR, ch, l);
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

void WakeAllQueues() {
  std::vector<std::shared_ptr<MessageQueue>> queues;
  {
    std::lock_guard lock(S().mutex);
    for (auto& [id, q] : S().queues) queues.push_back(q);
  }
  for (auto& q : queues) Notify(*q);
}

HWND FindByNative(void* native) {
  std::lock_guard lock(S().mutex);
  for (auto& [id, w] : S().windows)
    if (w->native == native) return w->hwnd;
  return nullptr;
}

bool IsDraggingWindow() {
  std::lock_guard lock(S().mutex);
  return S().dragWindow != nullptr;
}

Backend* ActiveBackendObject() { return S().backend.get(); }

}  // namespace detail

using namespace detail;

// --- 2. Start and stop ---------------------------------------------------------------------------
bool InitWindowSystem(WindowBackend kind) {
  std::lock_guard lock(S().mutex);
  if (S().backend) return true;
  if (kind == WindowBackend::Auto) {
    const char* env = std::getenv("ORVANE_HEADLESS");
    kind = (env && std::string(env) == "1") ? WindowBackend::Headless : WindowBackend::Sdl;
    if (kind == WindowBackend::Sdl) {
      auto sdl = MakeSdlBackend();
      if (sdl->Start()) {
        S().backend = std::move(sdl);
      } else {
        kind = WindowBackend::Headless;
      }
    }
  }
  if (!S().backend) {
    auto b = kind == WindowBackend::Sdl ? MakeSdlBackend() : MakeHeadlessBackend();
    if (!b->Start()) return false;
    S().backend = std::move(b);
  }
  // The starting thread's queue is rebuilt so that it knows it pumps events.
  S().epoch.fetch_add(1);
  S().queues.clear();
  CurrentQueueLocked();
  return true;
}

void ShutdownWindowSystem() {
  std::vector<HWND> own;
  {
    std::lock_guard lock(S().mutex);
    if (!S().backend) return;
    for (HWND h : S().zorder) {
      WindowRecord* w = Find(h);
      if (w && OnOwnThread(*w) && !w->owner) own.push_back(h);
    }
  }
  for (HWND h : own) DestroyWindow(h);
  std::vector<std::shared_ptr<MessageQueue>> queues;
  {
    std::lock_guard lock(S().mutex);
    for (auto& [id, w] : S().windows)
      if (S().backend) S().backend->DestroyNative(*w);
    S().windows.clear();
    S().zorder.clear();
    S().backend->Stop();
    S().backend.reset();
    for (auto& [id, q] : S().queues) queues.push_back(q);
    S().queues.clear();
    S().epoch.fetch_add(1);
    S().capture = S().focus = S().active = S().pointerWindow = S().dragWindow = nullptr;
    S().lastClickWindow = nullptr;
    std::fill(std::begin(S().keys), std::end(S().keys), 0);
    std::fill(std::begin(S().toggles), std::end(S().toggles), 0);
    S().cursor = POINT{};
    S().cursorId = IDC_ARROW;
  }
  // Senders still waiting on a queue that is gone get 0.
  for (auto& q : queues) {
    std::deque<std::shared_ptr<SentItem>> pending;
    {
      std::lock_guard lock(q->mutex);
      pending.swap(q->sent);
    }
    for (auto& item : pending) {
      {
        std::lock_guard lock(item->sender->mutex);
        item->done = true;
      }
      item->sender->cv.notify_all();
    }
    Notify(*q);
  }
}

WindowBackend ActiveBackend() {
  std::lock_guard lock(S().mutex);
  return S().backend ? S().backend->Kind() : WindowBackend::Auto;
}

// --- 3. Messages and the loop (public) ------------------------------------------------------------
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return false;
  PostLocked(*w, msg, wParam, lParam);
  return true;
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<MessageQueue> target;
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (!w) return 0;
    if (!OnOwnThread(*w)) target = w->queue;
  }
  if (!target) return CallProc(hwnd, msg, wParam, lParam);
  auto self = CurrentQueue();
  auto item = std::make_shared<SentItem>();
  item->msg.hwnd = hwnd;
  item->msg.message = msg;
  item->msg.wParam = wParam;
  item->msg.lParam = lParam;
  item->sender = self;
  {
    std::lock_guard lock(target->mutex);
    target->sent.push_back(item);
  }
  {
    std::lock_guard lock(S().mutex);
    Wake(*target, S().backend.get());
  }
  // While waiting, messages sent to this thread are still answered, so two
  // threads sending to each other do not deadlock.
  for (;;) {
    RunSent(*self);
    std::unique_lock lock(self->mutex);
    self->cv.wait(lock, [&] { return item->done || !self->sent.empty(); });
    if (item->done) return item->result;
  }
}

void PostQuitMessage(int exitCode) {
  auto q = CurrentQueue();
  {
    std::lock_guard lock(q->mutex);
    q->quit = true;
    q->quitCode = exitCode;
  }
  Notify(*q);
}

bool GetMessage(MSG* msg) {
  NextMessage(msg, true);
  return msg->message != WM_QUIT;
}

bool PeekMessage(MSG* msg) { return NextMessage(msg, false); }

void TranslateMessage(const MSG*) {}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg || !msg->hwnd) return 0;
  return CallProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

int PumpPendingMessages() {
  int count = 0;
  MSG msg;
  while (PeekMessage(&msg)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    DispatchMessage(&msg);
    ++count;
  }
  return count;
}

void WakeThread(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (w && w->queue) Wake(*w->queue, S().backend.get());
}

// --- 6. Creating and destroying windows --------------------------------------------------------------
HWND CreateWindowEx(const WindowDesc& desc) {
  std::shared_ptr<WindowRecord> w;
  {
    std::lock_guard lock(S().mutex);
    if (!S().backend) return nullptr;
    // Native windows of an event-driven backend live on its event thread.
    if (S().backend->HasEventThread() && !S().backend->IsEventThread()) return nullptr;
    w = std::make_shared<WindowRecord>();
    w->hwnd = reinterpret_cast<HWND>(S().nextId++);
    w->queue = CurrentQueueLocked();
    w->proc = desc.proc;
    w->owner = Find(desc.owner) ? desc.owner : nullptr;
    w->title = desc.title;
    w->style = desc.style;
    w->exStyle = desc.exStyle;
    w->rect = desc.rect;
    if (w->rect.right < w->rect.left) w->rect.right = w->rect.left;
    if (w->rect.bottom < w->rect.top) w->rect.bottom = w->rect.top;
    w->enabled = !(desc.style & WS_DISABLED);
    w->topmost = (desc.exStyle & WS_EX_TOPMOST) != 0;
    w->popup = (desc.style & WS_POPUP) && (desc.exStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE));
    w->surface.Create(w->rect.right - w->rect.left, w->rect.bottom - w->rect.top);
    if (!S().backend->CreateNative(*w)) return nullptr;
    S().windows[reinterpret_cast<uintptr_t>(w->hwnd)] = w;
    S().zorder.push_back(w->hwnd);
  }
  HWND hwnd = w->hwnd;
  CREATESTRUCTW cs;
  cs.lpCreateParams = desc.createParam;
  cs.hwndParent = desc.owner;
  cs.style = desc.style;
  cs.dwExStyle = desc.exStyle;
  cs.x = desc.rect.left;
  cs.y = desc.rect.top;
  cs.cx = desc.rect.right - desc.rect.left;
  cs.cy = desc.rect.bottom - desc.rect.top;
  cs.lpszName = w->title.c_str();
  if (!CallProc(hwnd, WM_NCCREATE, 0, LPARAM(&cs))) {
    std::lock_guard lock(S().mutex);
    S().backend->DestroyNative(*w);
    S().windows.erase(reinterpret_cast<uintptr_t>(hwnd));
    auto& z = S().zorder;
    z.erase(std::remove(z.begin(), z.end(), hwnd), z.end());
    return nullptr;
  }
  if (CallProc(hwnd, WM_CREATE, 0, LPARAM(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  CallProc(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(cs.cx, cs.cy));
  CallProc(hwnd, WM_MOVE, 0, MAKELPARAM(cs.x, cs.y));
  if (desc.style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

bool DestroyWindow(HWND hwnd) {
  std::vector<HWND> owned;
  bool wasActive = false;
  HWND successor = nullptr;
  HWND lostCapture = nullptr;
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (!w || !OnOwnThread(*w)) return false;
    if (w->destroying) return true;
    w->destroying = true;
    for (auto& [id, c] : S().windows)
      if (c->owner == hwnd) owned.push_back(c->hwnd);
  }
  for (HWND o : owned) DestroyWindow(o);
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (w->visible) {
      w->visible = false;
      S().backend->SetVisible(*w, false, false);
    }
    wasActive = S().active == hwnd;
    if (wasActive) successor = SuccessorLocked(hwnd);
    if (S().capture == hwnd) {
      S().capture = nullptr;
      S().backend->SetMouseCapture(false);
      lostCapture = hwnd;
    }
    if (S().dragWindow == hwnd) S().dragWindow = nullptr;
  }
  if (lostCapture) CallProc(hwnd, WM_CAPTURECHANGED, 0, 0);
  if (wasActive) SetActiveImpl(successor, successor != nullptr);
  {
    std::lock_guard lock(S().mutex);
    if (S().focus == hwnd) S().focus = nullptr;
  }
  CallProc(hwnd, WM_DESTROY, 0, 0);
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    w->timers.clear();
    w->trackHover = w->trackLeave = false;
    S().backend->DestroyNative(*w);
  }
  CallProc(hwnd, WM_NCDESTROY, 0, 0);
  std::lock_guard lock(S().mutex);
  S().windows.erase(reinterpret_cast<uintptr_t>(hwnd));
  auto& z = S().zorder;
  z.erase(std::remove(z.begin(), z.end(), hwnd), z.end());
  if (S().pointerWindow == hwnd) S().pointerWindow = nullptr;
  if (S().lastClickWindow == hwnd) S().lastClickWindow = nullptr;
  if (S().focus == hwnd) S().focus = nullptr;
  if (S().active == hwnd) S().active = nullptr;
  return true;
}

bool IsWindow(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  return Find(hwnd) != nullptr;
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_NCCREATE:
      return 1;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_PAINT:
      ValidateRect(hwnd, nullptr);
      return 0;
    case WM_NCLBUTTONDOWN:
      if (wParam == HTCAPTION) {
        // Moving by the caption: later pointer moves move the window until
        // the left button is released.
        std::lock_guard lock(S().mutex);
        WindowRecord* w = Find(hwnd);
        if (w && S().keys[VK_LBUTTON]) {
          S().dragWindow = hwnd;
          S().dragOffset = POINT{S().cursor.x - w->rect.left, S().cursor.y - w->rect.top};
        }
      }
      return 0;
    default:
      return 0;
  }
}

void SetWindowUserData(HWND hwnd, void* data) {
  std::lock_guard lock(S().mutex);
  if (WindowRecord* w = Find(hwnd)) w->userData = data;
}

void* GetWindowUserData(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  return w ? w->userData : nullptr;
}

HWND GetOwner(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  return w ? w->owner : nullptr;
}

DWORD GetWindowStyle(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return 0;
  DWORD s = w->style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
  if (w->visible) s |= WS_VISIBLE;
  if (!w->enabled) s |= WS_DISABLED;
  if (w->minimized) s |= WS_MINIMIZE;
  if (w->maximized) s |= WS_MAXIMIZE;
  return s;
}

DWORD GetWindowExStyle(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return 0;
  return w->topmost ? (w->exStyle | WS_EX_TOPMOST) : (w->exStyle & ~WS_EX_TOPMOST);
}

void SetWindowStyle(HWND hwnd, DWORD style) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return;
  bool bordered = (style & WS_CAPTION) == WS_CAPTION;
  bool wasBordered = (w->style & WS_CAPTION) == WS_CAPTION;
  w->style = style;
  if (bordered != wasBordered && !w->popup) S().backend->SetBordered(*w, bordered);
}

void SetWindowExStyle(HWND hwnd, DWORD exStyle) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return;
  w->exStyle = exStyle;
  w->topmost = (exStyle & WS_EX_TOPMOST) != 0;
}

bool SetWindowText(HWND hwnd, const std::wstring& text) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return false;
  w->title = text;
  S().backend->SetTitle(*w);
  return true;
}

std::wstring GetWindowText(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  return w ? w->title : std::wstring();
}

HWND FindWindow(const std::wstring& title) {
  std::lock_guard lock(S().mutex);
  for (auto& [id, w] : S().windows)
    if (!w->destroying && w->title == title) return w->hwnd;
  return nullptr;
}

void SetWindowIcon(HWND hwnd, const Bitmap& icon) {
  std::lock_guard lock(S().mutex);
  if (WindowRecord* w = Find(hwnd)) S().backend->SetIcon(*w, icon);
}

// --- 7. Geometry, visibility, state -------------------------------------------------------------------
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

namespace {

// Moves and sizes a window and tells it what changed.
void ApplyBounds(HWND hwnd, RECT to, WPARAM sizeKind) {
  bool moved, sized;
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
  if (moved) Deliver(hwnd, WM_MOVE, 0, MAKELPARAM(to.left, to.top));
  if (sized || sizeKind != SIZE_RESTORED)
    Deliver(hwnd, WM_SIZE, sizeKind, MAKELPARAM(to.right - to.left, to.bottom - to.top));
}

}  // namespace

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

// --- 5. Input state (public) -------------------------------------------------------------------------
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

// --- 8. Timers, painting, presenting ----------------------------------------------------------------------
bool SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w || w->destroying) return false;
  elapseMs = std::max<UINT>(elapseMs, 1);
  w->timers[id] = WindowTimer{elapseMs, NowLocked() + elapseMs};
  if (w->queue) Wake(*w->queue, S().backend.get());
  return true;
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  return w && w->timers.erase(id) > 0;
}

uint64_t GetTickCount64() {
  std::lock_guard lock(S().mutex);
  return NowLocked();
}

bool InvalidateRect(HWND hwnd, const RECT* rect) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return false;
  RECT r = rect ? IntersectRect(*rect, ClientOf(*w)) : ClientOf(*w);
  if (IsRectEmpty(r)) return true;
  w->invalid = UnionRect(w->invalid, r);
  if (w->queue) Wake(*w->queue, S().backend.get());
  return true;
}

bool ValidateRect(HWND hwnd, const RECT* rect) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return false;
  if (!rect) {
    w->invalid = RECT{};
    w->painting = RECT{};
    return true;
  }
  // The region is one rectangle, so only covering it entirely validates it.
  RECT both = UnionRect(w->invalid, *rect);
  if (both.left == rect->left && both.top == rect->top && both.right == rect->right &&
      both.bottom == rect->bottom)
    w->invalid = RECT{};
  return true;
}

RECT BeginPaint(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return RECT{};
  RECT r = IntersectRect(UnionRect(w->painting, w->invalid), ClientOf(*w));
  w->painting = RECT{};
  w->invalid = RECT{};
  return r;
}

void EndPaint(HWND) {}

bool PresentBitmap(HWND hwnd, const Bitmap& backBuffer, const RECT& area) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w || backBuffer.IsEmpty()) return false;
  RECT r = IntersectRect(area, IntersectRect(ClientOf(*w), RECT{0, 0, backBuffer.Width(), backBuffer.Height()}));
  if (IsRectEmpty(r)) return true;
  S().backend->Present(*w, backBuffer, r, false);
  return true;
}

bool SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return false;
  w->exStyle |= WS_EX_LAYERED;
  w->colorKey = key;
  w->alpha = alpha;
  w->layeredFlags = flags;
  S().backend->SetOpacity(*w, (flags & LWA_ALPHA) ? alpha / 255.0f : 1.0f);
  return true;
}

bool UpdateLayeredWindow(HWND hwnd, const Bitmap& pixels) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w || pixels.IsEmpty()) return false;
  w->exStyle |= WS_EX_LAYERED;
  RECT r = IntersectRect(ClientOf(*w), RECT{0, 0, pixels.Width(), pixels.Height()});
  S().backend->Present(*w, pixels, r, !S().backend->PerPixelAlpha());
  return true;
}

bool SupportsPerPixelAlpha() {
  std::lock_guard lock(S().mutex);
  return S().backend && S().backend->PerPixelAlpha();
}

Bitmap CaptureWindow(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return Bitmap();
  return S().backend->Capture(*w);
}

bool SaveWindowScreenshot(HWND hwnd, const std::filesystem::path& file) {
  bool layered;
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (!w) return false;
    layered = (w->exStyle & WS_EX_LAYERED) && S().backend->PerPixelAlpha();
  }
  Bitmap shot = CaptureWindow(hwnd);
  if (shot.IsEmpty()) return false;
  if (!layered) {
    // An ordinary window is opaque on screen whatever alpha its back buffer
    // held: premultiplied colour over black.
    for (int y = 0; y < shot.Height(); ++y) {
      uint32_t* row = shot.Row(y);
      for (int x = 0; x < shot.Width(); ++x) row[x] |= 0xFF000000u;
    }
  }
  return shot.SavePng(file);
}

// --- 9. Monitors -----------------------------------------------------------------------------------------------
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
