#pragma once
// PeriodicTimer: the multimedia timer. A thread of its own calls the tick
// function at a steady period measured from the start (late ticks do not
// drift the schedule; ticks missed by more than a period are dropped).

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {

class PeriodicTimer {
 public:
  PeriodicTimer() = default;
  ~PeriodicTimer();  // stops
  PeriodicTimer(const PeriodicTimer&) = delete;
  PeriodicTimer& operator=(const PeriodicTimer&) = delete;

  // Starts ticking every periodMs (at least 1) on the timer thread. False when
  // already running or the period is 0.
  bool Start(unsigned periodMs, std::function<void()> tick);
  // Stops and waits for a tick in progress, unless called from the tick
  // itself, in which case the thread ends after that tick (and Start may be
  // called again from the tick or elsewhere).
  void Stop();
  bool IsRunning() const { return running_.load(); }
  unsigned Period() const { return period_; }

 private:
  void Run();

  std::function<void()> tick_;
  unsigned period_ = 0;
  std::atomic<bool> running_{false};
  bool stopRequested_ = false;
  std::mutex mutex_;
  std::condition_variable cv_;
  std::thread thread_;
};

}  // namespace platform
