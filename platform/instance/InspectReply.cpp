#include "platform/instance/InspectReply.h"

namespace platform {

void InspectReply::Answer(std::string text) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (done_) return;
    done_ = true;
    text_ = std::move(text);
  }
  answered_.notify_all();
}

bool InspectReply::WaitFor(std::chrono::milliseconds timeout, std::string& text) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!answered_.wait_for(lock, timeout, [this] { return done_; })) return false;
  text = text_;
  return true;
}

}  // namespace platform
