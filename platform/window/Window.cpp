// The window system shared by both backends. This file holds the state and
// the handles, starting and stopping, and creating and destroying windows
// with their attributes; the message queues, input routing, geometry,
// timers and painting live in the files beside it (MessageQueue.cpp,
// InputRouting.cpp, WindowGeometry.cpp, WindowTimers.cpp, WindowPaint.cpp),
// which share the state through WindowSystem.h. Backends only create native
// windows, present pixels and feed native events in through the Input*
// entry points.
//
// Index
//   1. State and handles
//   2. Start and stop
//   3. Creating and destroying windows
//   4. Window attributes

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "platform/window/PopupPlacement.h"
#include "platform/window/WindowSystem.h"

namespace platform {

namespace detail {

// --- 1. State and handles ------------------------------------------------------------------------
System& S() {
  static System* system = new System;  // outlives static destructors of users
  return *system;
}

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

bool OnOwnThread(const WindowRecord& w) { return w.queue && w.queue->thread == std::this_thread::get_id(); }

HWND FindByNative(void* native) {
  std::lock_guard lock(S().mutex);
  for (auto& [id, w] : S().windows)
    if (w->native == native) return w->hwnd;
  return nullptr;
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

// --- 3. Creating and destroying windows ----------------------------------------------------------
HWND CreateWindowEx(const WindowDesc& desc) {
  std::shared_ptr<WindowRecord> w;
  // Menus and drop-downs open inside the work area.
  const RECT initial = IsDismissableStyle(desc.style, desc.exStyle) ? ClampToWorkArea(desc.rect) : desc.rect;
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
    w->rect = initial;
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
  cs.x = w->rect.left;
  cs.y = w->rect.top;
  cs.cx = w->rect.right - w->rect.left;
  cs.cy = w->rect.bottom - w->rect.top;
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

// --- 4. Window attributes ------------------------------------------------------------------------
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

}  // namespace platform
