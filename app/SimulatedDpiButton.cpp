#include "app/SimulatedDpiButton.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "device/simulator/SimulatedHid.h"
#include "platform/ThreadName.h"

namespace app {

namespace {

constexpr char kPress = 'p';
constexpr char kStop = 'q';

std::atomic<int> g_pressPipe{-1};
struct sigaction g_previous {};

void OnPressSignal(int) {
  const int saved = errno;
  const int fd = g_pressPipe.load();
  if (fd >= 0) {
    // A full pipe drops the press: the presses already queued still show.
    [[maybe_unused]] const ssize_t n = write(fd, &kPress, 1);
  }
  errno = saved;
}

}  // namespace

SimulatedDpiButton::SimulatedDpiButton(std::shared_ptr<SimulatedHid> bus, std::vector<int> mice)
    : bus_(std::move(bus)), mice_(std::move(mice)) {
  if (bus_ == nullptr || pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
  int expected = -1;
  if (!g_pressPipe.compare_exchange_strong(expected, pipe_[1])) return;
  struct sigaction action {};
  action.sa_handler = OnPressSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  if (sigaction(SIGUSR1, &action, &g_previous) != 0) {
    g_pressPipe.store(-1);
    return;
  }
  thread_ = std::thread([this] {
    platform::NameThisThread("sim-dpi-button");
    Run();
  });
  listening_ = true;
}

SimulatedDpiButton::~SimulatedDpiButton() {
  if (listening_) {
    sigaction(SIGUSR1, &g_previous, nullptr);
    g_pressPipe.store(-1);
    // The stop byte may be refused by a full pipe; the thread also stops on
    // the pipe's end, so close the writing end after trying.
    [[maybe_unused]] const ssize_t n = write(pipe_[1], &kStop, 1);
    close(pipe_[1]);
    pipe_[1] = -1;
    thread_.join();
  }
  for (int fd : pipe_) {
    if (fd >= 0) close(fd);
  }
}

void SimulatedDpiButton::Press(SimulatedHid& bus, const std::vector<int>& mice) {
  for (int mouse : mice) {
    const mouseproto::MouseSettings settings = bus.Firmware(mouse).settings;
    const int count = settings.dpi_count > 0 ? settings.dpi_count : 1;
    bus.PressDpiButton(mouse, (settings.dpi_index + 1) % count);
  }
}

void SimulatedDpiButton::Run() {
  for (;;) {
    pollfd p{pipe_[0], POLLIN, 0};
    if (poll(&p, 1, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    char bytes[16];
    const ssize_t n = read(pipe_[0], bytes, sizeof bytes);
    if (n == 0) return;
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return;
    }
    for (ssize_t i = 0; i < n; ++i) {
      if (bytes[i] == kStop) return;
      if (bytes[i] == kPress) Press(*bus_, mice_);
    }
  }
}

}  // namespace app
