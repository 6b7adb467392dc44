// services_instance_holder NAME RECORD_FILE
//
// Starts like the program does (single-instance step for NAME) and, as the
// first instance, stands in for the main window: it writes "ready" and then
// one line per request to RECORD_FILE ("activate", "post MSG WPARAM LPARAM")
// and ends with code 0 on a quit request. A second instance ends with code 0
// at once. A first instance that hears nothing for 60 s ends with code 3.

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "app/SingleInstance.h"
#include "platform/Text.h"
#include "shell/AppNames.h"

namespace {

class Recorder : public platform::InstanceEvents {
 public:
  explicit Recorder(const char* file) : file_(file) {}

  void Write(const std::string& line) {
    const int fd = ::open(file_, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const std::string text = line + "\n";
    [[maybe_unused]] ssize_t n = ::write(fd, text.data(), text.size());
    ::close(fd);
  }

  void OnActivate() override { Write("activate"); }

  void OnPostedMessage(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam) override {
    Write("post " + std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
    if (app::IsQuitRequest(message, lParam)) {
      std::lock_guard<std::mutex> lock(mutex_);
      quit_ = true;
      cv_.notify_all();
    }
  }

  bool WaitForQuit() {
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, std::chrono::seconds(60), [this] { return quit_; });
  }

 private:
  const char* file_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool quit_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s NAME RECORD_FILE\n", argv[0]);
    return 2;
  }
  shell::SetApplicationName(platform::FromUtf8(argv[1]));
  app::SingleInstance instance;
  if (!instance.Claim()) return 0;
  Recorder recorder(argv[2]);
  recorder.Write("ready");
  instance.SetEvents(&recorder);
  const bool quit = recorder.WaitForQuit();
  instance.SetEvents(nullptr);
  return quit ? 0 : 3;
}
