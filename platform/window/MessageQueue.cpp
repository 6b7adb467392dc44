// The message queues of the window system: one per thread, posting from any
// thread, sending across threads without deadlock, the messages made when
// asked for (paint, hover, timers) and the retrieval loop.
//
// Index
//   1. Queues and waking
//   2. Delivering messages
//   3. The retrieval loop
//   4. Messages and the loop (public)

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "platform/window/WindowSystem.h"

namespace platform {

namespace detail {

// --- 1. Queues and waking ------------------------------------------------------------------------
void Notify(MessageQueue& q) {
  {
    std::lock_guard lock(q.mutex);
    ++q.generation;
  }
  q.cv.notify_all();
}

void Wake(MessageQueue& q, Backend* backend) {
  Notify(q);
  if (q.eventThread && backend) backend->Wake();
}

namespace {

struct TlsQueue {
  std::shared_ptr<MessageQueue> queue;
  uint64_t epoch = 0;
};
thread_local TlsQueue tls;

}  // namespace

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

void PostLocked(WindowRecord& w, UINT msg, WPARAM wParam, LPARAM lParam) {
  PostLocked(w, msg, wParam, lParam, NowLocked());
}

void PostLocked(WindowRecord& w, UINT msg, WPARAM wParam, LPARAM lParam, uint64_t time) {
  if (!w.queue) return;
  MSG m;
  m.hwnd = w.hwnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = time;
  m.pt = S().cursor;
  {
    std::lock_guard lock(w.queue->mutex);
    w.queue->posted.push_back(m);
  }
  Wake(*w.queue, S().backend.get());
}

void WakeAllQueues() {
  std::vector<std::shared_ptr<MessageQueue>> queues;
  {
    std::lock_guard lock(S().mutex);
    for (auto& [id, q] : S().queues) queues.push_back(q);
  }
  for (auto& q : queues) Notify(*q);
}

// --- 2. Delivering messages ----------------------------------------------------------------------
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

// --- 3. The retrieval loop -----------------------------------------------------------------------
namespace {

void FillGenerated(MSG* out, HWND h, UINT m, WPARAM w, LPARAM l, uint64_t now) {
  out->hwnd = h;
  out->message = m;
  out->wParam = w;
  out->lParam = l;
  out->time = now;
  out->pt = S().cursor;
}

// A due hover or timer message; else the time until the next one falls due
// goes into *waitMs. Caller holds the system mutex.
bool NextHoverOrTimerLocked(MessageQueue* q, MSG* out, int64_t* waitMs, uint64_t now) {
  auto fill = [&](HWND h, UINT m, WPARAM w, LPARAM l) { FillGenerated(out, h, m, w, l, now); };
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

// Paint, hover and timer messages are made when asked for, as Windows does,
// so they never pile up in the queue. Paints come first, but a due hover or
// timer gets its turn after each paint, and the invalid windows take turns:
// a window invalidated again before its paint ends (an animation on another
// thread) would else starve every timer and every other window of its
// queue. Caller holds the system mutex.
bool NextGeneratedLocked(MessageQueue* q, MSG* out, int64_t* waitMs) {
  const uint64_t now = NowLocked();
  if (q->paintedLast) {
    q->paintedLast = false;
    if (NextHoverOrTimerLocked(q, out, waitMs, now)) return true;
  }
  // The search for an invalid window starts after the one painted last, so
  // that each invalid window of the queue gets its turn.
  auto& windows = S().windows;
  auto start = windows.upper_bound(q->lastPainted);
  for (size_t n = 0, count = windows.size(); n < count; ++n, ++start) {
    if (start == windows.end()) start = windows.begin();
    WindowRecord* w = start->second.get();
    if (w->queue.get() != q || w->destroying || !w->visible || w->minimized) continue;
    if (!IsRectEmpty(w->invalid)) {
      w->painting = UnionRect(w->painting, w->invalid);
      w->invalid = RECT{};
      FillGenerated(out, w->hwnd, WM_PAINT, 0, 0, now);
      q->paintedLast = true;
      q->lastPainted = start->first;
      return true;
    }
  }
  return NextHoverOrTimerLocked(q, out, waitMs, now);
}

}  // namespace

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

}  // namespace detail

using namespace detail;

// --- 4. Messages and the loop (public) -----------------------------------------------------------
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

namespace {
thread_local uint32_t tlsMessageTime = 0;
}  // namespace

bool GetMessage(MSG* msg) {
  NextMessage(msg, true);
  tlsMessageTime = uint32_t(msg->time);
  return msg->message != WM_QUIT;
}

bool PeekMessage(MSG* msg) {
  if (!NextMessage(msg, false)) return false;
  tlsMessageTime = uint32_t(msg->time);
  return true;
}

uint32_t GetMessageTime() { return tlsMessageTime; }

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

}  // namespace platform
