#pragma once
// HotplugMonitor: watches udev for hidraw interfaces that come and go and
// reports each as a DeviceChangeEvent on the monitor's own thread; the
// receiver hands it on to the window thread. Without a running udev (a
// container, a minimal system) Start fails with a reason and the program
// goes on without hot-plug.

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/DeviceChange.h"

namespace platform {

class HotplugMonitor {
 public:
  using Listener = std::function<void(const DeviceChangeEvent&)>;

  HotplugMonitor() = default;
  ~HotplugMonitor();
  HotplugMonitor(const HotplugMonitor&) = delete;
  HotplugMonitor& operator=(const HotplugMonitor&) = delete;

  // Starts the watch. False, with the reason, when udev cannot be watched.
  bool Start(Listener listener, std::string& reason);
  void Stop();
  bool Running() const { return thread_.joinable(); }

  // Reads vendor id, product id and USB interface number from a hidraw
  // device's sysfs path, e.g. ".../1-2:1.2/0003:F0A5:5101.0004/hidraw/hidraw3".
  // False when the path names no HID device; the interface number is 0 when
  // the device is not on USB.
  static bool ParseHidrawDevpath(const std::string& devpath, int& vendorId, int& productId, int& interfaceNumber);

 private:
  void Run(Listener listener);

  std::thread thread_;
  int wakeFd_ = -1;
  void* udev_ = nullptr;
  void* monitor_ = nullptr;
};

}  // namespace platform
