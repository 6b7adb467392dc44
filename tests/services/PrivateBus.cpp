#include "PrivateBus.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "ChildProcess.h"
#include "platform/dbus/SessionBus.h"

extern char** environ;

namespace services_test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

PrivateBus::PrivateBus() {
  const fs::path socket = dir_.Path() / "bus";
  const fs::path config = dir_.Path() / "bus.conf";
  testenv::WriteFile(config,
                     "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                     " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig>\n"
                     "  <type>session</type>\n"
                     "  <listen>unix:path=" + socket.string() + "</listen>\n"
                     "  <auth>EXTERNAL</auth>\n"
                     "  <policy context=\"default\">\n"
                     "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                     "    <allow eavesdrop=\"true\"/>\n"
                     "    <allow own=\"*\"/>\n"
                     "  </policy>\n"
                     "</busconfig>\n");
  std::vector<std::string> args = {"dbus-daemon", "--config-file=" + config.string(), "--nofork", "--nopidfile"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The daemon's own complaints (fd limits in containers) go to a file.
  const fs::path output = dir_.Path() / "daemon.log";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  const int spawned = posix_spawnp(&pid_, "dbus-daemon", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    pid_ = -1;
    problem_ = "dbus-daemon is missing: install the package dbus (bash scripts/install-deps.sh)";
    return;
  }
  address_ = "unix:path=" + socket.string();
  const bool up = WaitUntil(
      [&] {
        if (!fs::exists(socket)) return false;
        sd_bus* bus = platform::OpenSessionBus(address_, nullptr);
        if (bus == nullptr) return false;
        sd_bus_flush_close_unref(bus);
        return true;
      },
      10s);
  if (!up) problem_ = "dbus-daemon did not start listening on " + socket.string();
}

PrivateBus::~PrivateBus() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
}

BusService::BusService(const std::string& address, std::function<bool(sd_bus*)> setup) {
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  thread_ = std::thread([this, address, setup] { Run(address, setup); });
}

BusService::~BusService() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
  thread_.join();
  ::close(wakeFd_);
}

bool BusService::WaitReady() {
  WaitUntil(
      [this] {
        std::lock_guard<std::mutex> lock(mutex_);
        return ready_ != 0;
      },
      10s);
  std::lock_guard<std::mutex> lock(mutex_);
  return ready_ == 1;
}

void BusService::Post(std::function<void(sd_bus*)> fn) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back(std::move(fn));
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void BusService::Disconnect() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    disconnect_ = true;
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void BusService::Run(std::string address, std::function<bool(sd_bus*)> setup) {
  sd_bus* bus = platform::OpenSessionBus(address, nullptr);
  const bool ok = bus != nullptr && setup(bus);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ready_ = ok ? 1 : -1;
  }
  // Bounded: a test lasts seconds, the loop ends with it.
  const auto deadline = std::chrono::steady_clock::now() + 120s;
  while (ok && std::chrono::steady_clock::now() < deadline) {
    while (sd_bus_process(bus, nullptr) > 0) {
    }
    std::deque<std::function<void(sd_bus*)>> work;
    bool stop = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      work.swap(posted_);
      stop = stop_ || disconnect_;
    }
    for (auto& fn : work) fn(bus);
    sd_bus_flush(bus);
    if (stop) break;
    pollfd fds[2] = {{sd_bus_get_fd(bus), static_cast<short>(sd_bus_get_events(bus)), 0}, {wakeFd_, POLLIN, 0}};
    if (::poll(fds, 2, 200) > 0 && fds[1].revents != 0) {
      std::uint64_t count = 0;
      [[maybe_unused]] ssize_t n = ::read(wakeFd_, &count, sizeof count);
    }
  }
  sd_bus_flush_close_unref(bus);
  // After a disconnect the thread idles until the test ends.
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return;
    }
    pollfd wake{wakeFd_, POLLIN, 0};
    ::poll(&wake, 1, 200);
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t n = ::read(wakeFd_, &count, sizeof count);
  }
}

BusClient::BusClient(const std::string& address) {
  bus_ = platform::OpenSessionBus(address, nullptr);
  if (bus_ != nullptr) sd_bus_set_method_call_timeout(bus_, 5000000);
}

BusClient::~BusClient() {
  if (bus_ != nullptr) sd_bus_flush_close_unref(bus_);
}

bool BusClient::NameHasOwner(const char* name) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  int has = 0;
  if (sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "NameHasOwner", &error, &reply, "s", name) >= 0) {
    sd_bus_message_read(reply, "b", &has);
  }
  sd_bus_message_unref(reply);
  sd_bus_error_free(&error);
  return has != 0;
}

}  // namespace services_test
