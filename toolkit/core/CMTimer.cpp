#include "toolkit/core/CMTimer.h"

#include <algorithm>
#include <thread>

namespace {

std::mutex g_objectsLock;
std::vector<CMTimer*> g_objects;
std::atomic<DUI::UINT> g_nextId{1};

// Entries stopped from their own tick cannot be joined there; they wait here
// until a later call from another thread frees them.
std::mutex g_retiredLock;
std::vector<std::shared_ptr<void>> g_retired;

}  // namespace

std::atomic<int> CMTimer::m_bIsTmierOK{0};
std::atomic<DUI::UINT> CMTimer::m_uAccuracy{1};

CMTimer::CMTimer() {
  std::lock_guard guard(g_objectsLock);
  g_objects.push_back(this);
}

CMTimer::~CMTimer() {
  KillTimer();
  std::lock_guard guard(g_objectsLock);
  g_objects.erase(std::remove(g_objects.begin(), g_objects.end(), this), g_objects.end());
}

DUI::UINT CMTimer::SetTimer(DUI::UINT interval, DUI::CString name, int forward) {
  if (interval == 0) return 0;
  // The first use fixes the resolution: the smallest period of at least 1 ms.
  if (!m_bIsTmierOK.exchange(1)) m_uAccuracy = 1;
  auto entry = std::make_unique<Entry>();
  entry->id = g_nextId.fetch_add(1);
  entry->name = std::move(name);
  entry->forward = forward;
  entry->interval = interval;
  Entry* raw = entry.get();
  const DUI::UINT id = raw->id;
  {
    std::lock_guard guard(m_lock);
    m_timers.push_back(std::move(entry));
  }
  if (!StartEntry(raw)) {
    KillTimer(id);
    return 0;
  }
  return id;
}

bool CMTimer::StartEntry(Entry* raw) {
  const DUI::UINT id = raw->id;
  return raw->timer.Start(raw->interval, [this, id, raw] {
    raw->inTick = true;
    OnMTimer(id);
    if (raw->forward) OnMTimer(id, raw->name);
    raw->inTick = false;
  });
}

void CMTimer::PauseTimers() {
  // Stopped outside the lock: a tick in progress may be waiting for it.
  std::vector<Entry*> running;
  {
    std::lock_guard guard(m_lock);
    for (auto& e : m_timers) running.push_back(e.get());
  }
  for (Entry* e : running) e->timer.Stop();
}

void CMTimer::ResumeTimers() {
  std::lock_guard guard(m_lock);
  for (auto& e : m_timers) {
    if (!e->timer.IsRunning()) StartEntry(e.get());
  }
}

void CMTimer::StopAll(std::vector<std::unique_ptr<Entry>>& entries) {
  for (auto& e : entries) {
    e->timer.Stop();
    std::lock_guard guard(g_retiredLock);
    g_retired.push_back(std::shared_ptr<Entry>(std::move(e)));
  }
  entries.clear();
  // Free what was retired. Stop waits for a tick in progress unless it is
  // called from that very tick, so an entry still inside its tick belongs to
  // the calling thread: it waits for a later call.
  std::vector<std::shared_ptr<void>> done;
  {
    std::lock_guard guard(g_retiredLock);
    done.swap(g_retired);
  }
  std::vector<std::shared_ptr<void>> keep;
  for (auto& r : done) {
    auto* e = static_cast<Entry*>(r.get());
    if (e->inTick) keep.push_back(std::move(r));
  }
  done.clear();
  std::lock_guard guard(g_retiredLock);
  for (auto& r : keep) g_retired.push_back(std::move(r));
}

template <typename Pred>
int CMTimer::KillWhere(Pred selected) {
  std::vector<std::unique_ptr<Entry>> stopped;
  int left = 0;
  {
    std::lock_guard guard(m_lock);
    for (auto it = m_timers.begin(); it != m_timers.end();) {
      if (selected(**it)) {
        stopped.push_back(std::move(*it));
        it = m_timers.erase(it);
      } else {
        ++it;
      }
    }
    left = int(m_timers.size());
  }
  StopAll(stopped);
  return left;
}

int CMTimer::KillTimer(DUI::UINT id) {
  return KillWhere([id](const Entry& e) { return e.id == id; });
}

int CMTimer::KillTimer(DUI::CString name) {
  return KillWhere([&name](const Entry& e) { return e.name == name; });
}

void CMTimer::KillTimer() {
  std::vector<std::unique_ptr<Entry>> stopped;
  {
    std::lock_guard guard(m_lock);
    stopped.swap(m_timers);
  }
  StopAll(stopped);
}

DUI::CString CMTimer::GetTimerName(DUI::UINT id) {
  std::lock_guard guard(m_lock);
  for (auto& e : m_timers) {
    if (e->id == id) return e->name;
  }
  return {};
}

int CMTimer::IsAppTimer(DUI::UINT id) {
  std::lock_guard guard(m_lock);
  for (auto& e : m_timers) {
    if (e->id == id) return e->forward;
  }
  return 0;
}

int CMTimer::GetTimerIsRun(DUI::UINT id) {
  std::lock_guard guard(m_lock);
  for (auto& e : m_timers) {
    if (e->id == id) return e->timer.IsRunning() ? 1 : 0;
  }
  return 0;
}

int CMTimer::GetTimerIsRun(DUI::CString name) {
  std::lock_guard guard(m_lock);
  for (auto& e : m_timers) {
    if (e->name == name) return e->timer.IsRunning() ? 1 : 0;
  }
  return 0;
}

int CMTimer::GetTimerCount() {
  std::lock_guard guard(m_lock);
  return int(m_timers.size());
}

CMTimer* CMTimer::GetMTimer(DUI::UINT id) {
  std::lock_guard guard(g_objectsLock);
  for (CMTimer* t : g_objects) {
    std::lock_guard inner(t->m_lock);
    for (auto& e : t->m_timers) {
      if (e->id == id) return t;
    }
  }
  return nullptr;
}

void CMTimer::OnMTimer(DUI::UINT, DUI::CString) {}

void CMTimer::OnMTimer(DUI::UINT) {}
