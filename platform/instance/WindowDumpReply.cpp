#include "platform/instance/WindowDumpReply.h"

namespace platform {

void WindowDumpReply::Answer(std::string text) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (done_) return;
    done_ = true;
    text_ = std::move(text);
  }
  answered_.notify_all();
}

bool WindowDumpReply::WaitFor(std::chrono::milliseconds timeout, std::string& text) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!answered_.wait_for(lock, timeout, [this] { return done_; })) return false;
  text = text_;
  return true;
}

}  // namespace platform
