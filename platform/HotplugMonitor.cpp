#include "platform/HotplugMonitor.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <regex>
#include <vector>

#include "platform/ThreadName.h"

namespace platform {

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = path.find('/', start);
    const std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!part.empty()) parts.push_back(part);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

}  // namespace

bool HotplugMonitor::ParseHidrawDevpath(const std::string& devpath, int& vendorId, int& productId,
                                        int& interfaceNumber) {
  // HID devices are named bus:vendor:product.instance in hexadecimal; USB
  // interfaces are named bus-port:configuration.interface in decimal.
  static const std::regex hidName("^[0-9A-Fa-f]{4}:([0-9A-Fa-f]{4}):([0-9A-Fa-f]{4})\\.[0-9A-Fa-f]+$");
  static const std::regex usbInterface("^[0-9]+-[0-9.]+:[0-9]+\\.([0-9]+)$");
  const std::vector<std::string> parts = SplitPath(devpath);
  for (size_t i = 0; i < parts.size(); ++i) {
    std::smatch hid;
    if (!std::regex_match(parts[i], hid, hidName)) continue;
    vendorId = static_cast<int>(std::strtol(hid[1].str().c_str(), nullptr, 16));
    productId = static_cast<int>(std::strtol(hid[2].str().c_str(), nullptr, 16));
    interfaceNumber = 0;
    std::smatch usb;
    if (i > 0 && std::regex_match(parts[i - 1], usb, usbInterface)) {
      interfaceNumber = std::atoi(usb[1].str().c_str());
    }
    return true;
  }
  return false;
}

HotplugMonitor::~HotplugMonitor() { Stop(); }

bool HotplugMonitor::Start(Listener listener, std::string& reason) {
  if (Running()) return true;
  udev* context = udev_new();
  if (context == nullptr) {
    reason = "udev is not available";
    return false;
  }
  // Events reach the "udev" netlink group only through a running udevd;
  // without one the watch would wait forever for nothing.
  udev_queue* queue = udev_queue_new(context);
  const bool active = queue != nullptr && udev_queue_get_udev_is_active(queue) != 0;
  if (queue != nullptr) udev_queue_unref(queue);
  if (!active) {
    udev_unref(context);
    reason = "udev is not running, hot-plug is off";
    return false;
  }
  udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
  if (monitor == nullptr || udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor) < 0) {
    if (monitor != nullptr) udev_monitor_unref(monitor);
    udev_unref(context);
    reason = "the udev monitor could not be started";
    return false;
  }
  wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ < 0) {
    udev_monitor_unref(monitor);
    udev_unref(context);
    reason = "no event descriptor for the udev monitor";
    return false;
  }
  udev_ = context;
  monitor_ = monitor;
  thread_ = std::thread([this, listener = std::move(listener)]() mutable {
    NameThisThread("hotplug");
    Run(std::move(listener));
  });
  return true;
}

void HotplugMonitor::Stop() {
  if (!thread_.joinable()) return;
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
  thread_.join();
  close(wakeFd_);
  wakeFd_ = -1;
  udev_monitor_unref(static_cast<udev_monitor*>(monitor_));
  udev_unref(static_cast<udev*>(udev_));
  monitor_ = nullptr;
  udev_ = nullptr;
}

void HotplugMonitor::Run(Listener listener) {
  auto* monitor = static_cast<udev_monitor*>(monitor_);
  pollfd fds[2] = {{udev_monitor_get_fd(monitor), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
  for (;;) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    if ((fds[0].revents & POLLIN) == 0) continue;
    udev_device* device = udev_monitor_receive_device(monitor);
    if (device == nullptr) continue;
    const char* action = udev_device_get_action(device);
    const char* devpath = udev_device_get_devpath(device);
    const char* node = udev_device_get_devnode(device);
    const std::string what = action != nullptr ? action : "";
    int vendorId = 0, productId = 0, interfaceNumber = 0;
    if ((what == "add" || what == "remove") && devpath != nullptr && node != nullptr &&
        ParseHidrawDevpath(devpath, vendorId, productId, interfaceNumber)) {
      DeviceChangeEvent event;
      event.arrival = what == "add";
      event.node = node;
      event.path = DeviceChangePath(event.node, vendorId, productId, interfaceNumber);
      if (listener) listener(event);
    }
    udev_device_unref(device);
  }
}

}  // namespace platform
