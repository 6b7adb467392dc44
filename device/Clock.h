#pragma once
// Clock: every pause of the device protocol goes through this seam, so tests
// can run the protocol without sleeping and still check each pause.
//
// Sleep is a pause the protocol asks for (66 ms before a report, ...).
// Wait is time that passes while something else happens, such as a read
// that waits for its time-out; the simulated mouse uses it, and it is kept
// apart from the pauses so that tests can assert the pauses alone.

#include <cstdint>
#include <mutex>
#include <vector>

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(int milliseconds) = 0;
  virtual void Wait(int milliseconds) = 0;
  // Milliseconds since an arbitrary start.
  virtual int64_t NowMs() const = 0;
};

class RealClock : public Clock {
 public:
  void Sleep(int milliseconds) override;
  void Wait(int milliseconds) override;
  int64_t NowMs() const override;
};

// Advances at once and records every pause. Safe to share between threads.
class VirtualClock : public Clock {
 public:
  void Sleep(int milliseconds) override;
  void Wait(int milliseconds) override;
  int64_t NowMs() const override;

  // The pauses requested through Sleep, in order.
  std::vector<int> Pauses() const;
  // Sum of the time given to Wait.
  int64_t WaitedMs() const;
  void ClearRecord();

 private:
  mutable std::mutex lock_;
  int64_t now_ = 0;
  int64_t waited_ = 0;
  std::vector<int> pauses_;
};
