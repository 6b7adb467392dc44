// Window timers. Their WM_TIMER messages are made by the retrieval loop in
// MessageQueue.cpp when a timer falls due, so they never pile up.

#include <algorithm>

#include "platform/window/WindowSystem.h"

namespace platform {

using namespace detail;

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

}  // namespace platform
