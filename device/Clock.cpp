#include "device/Clock.h"

#include <chrono>
#include <thread>

void RealClock::Sleep(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void RealClock::Wait(int milliseconds) { Sleep(milliseconds); }

int64_t RealClock::NowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void VirtualClock::Sleep(int milliseconds) {
  std::lock_guard<std::mutex> hold(lock_);
  pauses_.push_back(milliseconds);
  if (milliseconds > 0) now_ += milliseconds;
}

void VirtualClock::Wait(int milliseconds) {
  std::lock_guard<std::mutex> hold(lock_);
  if (milliseconds <= 0) return;
  now_ += milliseconds;
  waited_ += milliseconds;
}

int64_t VirtualClock::NowMs() const {
  std::lock_guard<std::mutex> hold(lock_);
  return now_;
}

std::vector<int> VirtualClock::Pauses() const {
  std::lock_guard<std::mutex> hold(lock_);
  return pauses_;
}

int64_t VirtualClock::WaitedMs() const {
  std::lock_guard<std::mutex> hold(lock_);
  return waited_;
}

void VirtualClock::ClearRecord() {
  std::lock_guard<std::mutex> hold(lock_);
  pauses_.clear();
  waited_ = 0;
}
