#include "device/JobQueue.h"

void JobQueue::Append(int code) {
  std::lock_guard<std::mutex> hold(lock_);
  codes_.push_back(code);
}

std::optional<int> JobQueue::TakeFirst() {
  std::lock_guard<std::mutex> hold(lock_);
  if (codes_.empty()) return std::nullopt;
  const int code = codes_.front();
  codes_.pop_front();
  return code;
}

bool JobQueue::Empty() const {
  std::lock_guard<std::mutex> hold(lock_);
  return codes_.empty();
}

size_t JobQueue::Size() const {
  std::lock_guard<std::mutex> hold(lock_);
  return codes_.size();
}

std::vector<int> JobQueue::Codes() const {
  std::lock_guard<std::mutex> hold(lock_);
  return {codes_.begin(), codes_.end()};
}
