#pragma once
// CMTimer: the multimedia timer service. Each timer is a periodic thread
// (platform::PeriodicTimer) that calls OnMTimer(id) on every tick, and
// OnMTimer(id, name) too when it was started with forward set. Timer ids
// are unique in the process; GetMTimer finds the object that owns one.
//
// A derived class must stop its timers (KillTimer()) in its own destructor:
// a tick must never reach a half-destroyed object.

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/timer/PeriodicTimer.h"
#include "toolkit/core/WinTypes.h"

class CMTimer {
 public:
  CMTimer();
  virtual ~CMTimer();
  CMTimer(const CMTimer&) = delete;
  CMTimer& operator=(const CMTimer&) = delete;

  // Starts a periodic timer; returns its id (0 when it cannot start).
  DUI::UINT SetTimer(DUI::UINT interval, DUI::CString name, int forward);
  // Stop timers; return the number of timers left.
  int KillTimer(DUI::UINT id);
  int KillTimer(DUI::CString name);
  void KillTimer();
  DUI::CString GetTimerName(DUI::UINT id);
  int IsAppTimer(DUI::UINT id);
  int GetTimerIsRun(DUI::UINT id);
  int GetTimerIsRun(DUI::CString name);
  int GetTimerCount();
  // Stops every timer of this object without forgetting it, and starts them
  // again with their periods (a hidden window's timers cost no wake-ups).
  void PauseTimers();
  void ResumeTimers();

  static CMTimer* GetMTimer(DUI::UINT id);

  virtual void OnMTimer(DUI::UINT id, DUI::CString name);
  virtual void OnMTimer(DUI::UINT id);

  // The timer resolution in milliseconds, fixed on first use.
  static std::atomic<int> m_bIsTmierOK;
  static std::atomic<DUI::UINT> m_uAccuracy;

 private:
  struct Entry {
    DUI::UINT id = 0;
    DUI::CString name;
    int forward = 0;
    DUI::UINT interval = 0;
    std::atomic<bool> inTick{false};
    platform::PeriodicTimer timer;
  };
  bool StartEntry(Entry* entry);
  // Stops the entries outside the lock (a tick may be waiting for it).
  static void StopAll(std::vector<std::unique_ptr<Entry>>& entries);
  // Removes and stops the timers the predicate selects; returns how many
  // are left.
  template <typename Pred>
  int KillWhere(Pred selected);

  std::mutex m_lock;
  std::vector<std::unique_ptr<Entry>> m_timers;
};
