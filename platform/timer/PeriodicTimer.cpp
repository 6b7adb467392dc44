#include "platform/timer/PeriodicTimer.h"

#include <chrono>

#include "platform/ThreadName.h"

namespace platform {

PeriodicTimer::~PeriodicTimer() {
  Stop();
  if (thread_.joinable()) {
    // Stopped from its own tick: the thread is ending by itself. Only a
    // timer destroyed from inside its tick cannot wait for that.
    if (thread_.get_id() == std::this_thread::get_id())
      thread_.detach();
    else
      thread_.join();
  }
}

bool PeriodicTimer::Start(unsigned periodMs, std::function<void()> tick) {
  if (periodMs == 0 || !tick) return false;
  std::thread previous;
  {
    std::lock_guard lock(mutex_);
    if (running_.load()) return false;
    previous = std::move(thread_);
  }
  // A thread left by a Stop from inside its tick has ended or is ending.
  if (previous.joinable()) previous.join();
  std::lock_guard lock(mutex_);
  if (running_.load() || thread_.joinable()) return false;
  tick_ = std::move(tick);
  period_ = periodMs;
  stopRequested_ = false;
  running_ = true;
  thread_ = std::thread([this] {
    NameThisThread("timer");
    Run();
  });
  return true;
}

void PeriodicTimer::Stop() {
  std::thread worker;
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
    cv_.notify_all();
    // From inside the tick the thread cannot join itself; it ends after
    // this tick and is joined by the next Start or the destructor.
    if (!thread_.joinable() || thread_.get_id() == std::this_thread::get_id()) return;
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
