#include "device/CThreadBasic.h"

#include <chrono>

#include "platform/ThreadName.h"

CThreadBasic::CThreadBasic(Clock& clock) : clock_(clock) {}

CThreadBasic::~CThreadBasic() { Join(); }

bool CThreadBasic::Start(bool loop, int sleepMs) {
  if (started_) return false;
  started_ = true;
  loop_ = loop ? 1 : 0;
  sleepPeriod_ = sleepMs;
  exitCode_ = clock_.NowMs();
  {
    std::lock_guard<std::mutex> hold(endLock_);
    ended_ = false;
  }
  running_.store(1);
  thread_ = std::thread([this] {
    platform::NameThisThread("worker");
    ThreadProc();
  });
  return true;
}

void CThreadBasic::ThreadProc() {
  if (loop_ == 0) {
    Step();
  } else {
    while (running_.load() != 0) {
      Step();
      clock_.Sleep(sleepPeriod_);
    }
  }
  std::lock_guard<std::mutex> hold(endLock_);
  ended_ = true;
  endEvent_.notify_all();
}

bool CThreadBasic::Stop(int waitMs) {
  running_.store(0);
  if (!started_) return true;
  std::unique_lock<std::mutex> hold(endLock_);
  return endEvent_.wait_for(hold, std::chrono::milliseconds(waitMs), [this] { return ended_; });
}

void CThreadBasic::Join() {
  running_.store(0);
  if (thread_.joinable()) thread_.join();
}
