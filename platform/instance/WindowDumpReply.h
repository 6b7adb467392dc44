#pragma once
// WindowDumpReply: the answer to one "inspect" request of another process. The
// instance's listener thread hands it to the registered inspector and waits
// a bounded time; the window thread answers whenever its turn comes, and an
// answer after the wait has ended is simply dropped.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace platform {

class WindowDumpReply {
 public:
  // Any thread; the first answer counts.
  void Answer(std::string text);
  // True with the text once answered within the time-out.
  bool WaitFor(std::chrono::milliseconds timeout, std::string& text);

 private:
  std::mutex mutex_;
  std::condition_variable answered_;
  bool done_ = false;
  std::string text_;
};

// Called on the listener thread for each request: it must hand the reply to
// the window thread and return at once.
using InstanceInspector = std::function<void(std::shared_ptr<WindowDumpReply>)>;

}  // namespace platform
