#pragma once
// JobQueue: the FIFO of job codes between the window thread, which appends,
// and the worker thread, which takes from the front. One lock of its own
// makes appending and taking mutually exclusive.

#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

class JobQueue {
 public:
  void Append(int code);
  // The first code, removed; nothing when the queue is empty.
  std::optional<int> TakeFirst();
  bool Empty() const;
  size_t Size() const;
  // The codes waiting, first to last.
  std::vector<int> Codes() const;

 private:
  mutable std::mutex lock_;
  std::deque<int> codes_;
};
