#include "platform/timer/PeriodicTimer.h"

#include <chrono>

namespace platform {

PeriodicTimer::~PeriodicTimer() { Stop(); }

bool PeriodicTimer::Start(unsigned periodMs, std::function<void()> tick) {
  if (periodMs == 0 || !tick) return false;
  std::lock_guard lock(mutex_);
  if (running_.load() || thread_.joinable()) return false;
  tick_ = std::move(tick);
  period_ = periodMs;
  stopRequested_ = false;
  running_ = true;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void PeriodicTimer::Stop() {
  std::thread worker;
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
    cv_.notify_all();
    if (!thread_.joinable()) return;
    if (thread_.get_id() == std::this_thread::get_id()) {
      // Called from the tick: the thread cannot join itself, so it ends on
      // its own after this tick and is joined by the next Start or the
      // destructor of a later owner.
      thread_.detach();
      return;
    }
    worker = std::move(thread_);
  }
  worker.join();
}

void PeriodicTimer::Run() {
  using Clock = std::chrono::steady_clock;
  const auto period = std::chrono::milliseconds(period_);
  auto next = Clock::now() + period;
  std::unique_lock lock(mutex_);
  while (!stopRequested_) {
    if (cv_.wait_until(lock, next, [this] { return stopRequested_; })) break;
    lock.unlock();
    tick_();
    lock.lock();
    next += period;
    auto now = Clock::now();
    // After a stall the schedule resumes from now instead of firing a burst.
    if (next + period < now) next = now + period;
  }
  running_ = false;
}

}  // namespace platform
