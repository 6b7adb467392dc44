#pragma once
// CThreadBasic: the worker thread wrapper. The thread calls Step, then
// sleeps the sleep period through the Clock, for as long as the running
// flag is set (or calls Step once when the loop flag is 0), and signals its
// end event when it leaves.
//
// A class deriving from it must call Join in its own destructor, so that
// the thread has left Step before the derived part is destroyed.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "device/Clock.h"

class CThreadBasic {
 public:
  static constexpr int kDefaultSleepMs = 2;

  explicit CThreadBasic(Clock& clock);
  virtual ~CThreadBasic();
  CThreadBasic(const CThreadBasic&) = delete;
  CThreadBasic& operator=(const CThreadBasic&) = delete;

  // Starts the thread once; a second call does nothing and returns false.
  bool Start(bool loop = true, int sleepMs = kDefaultSleepMs);
  // Clears the running flag and waits up to waitMs for the end event. True
  // when the thread has ended.
  bool Stop(int waitMs = 1000);
  // Clears the running flag and waits for the thread however long it takes.
  void Join();
  bool Running() const { return running_.load() != 0; }
  // The start time in milliseconds, which the thread returns on exit.
  int64_t ExitCode() const { return exitCode_; }

 protected:
  virtual void Step() = 0;

 private:
  void ThreadProc();

  Clock& clock_;
  std::atomic<int> running_{0};
  int loop_ = 1;
  int sleepPeriod_ = kDefaultSleepMs;
  int64_t exitCode_ = 0;
  std::mutex endLock_;
  std::condition_variable endEvent_;
  bool ended_ = false;
  bool started_ = false;
  std::thread thread_;
};
