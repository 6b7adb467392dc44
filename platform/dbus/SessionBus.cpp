#include "platform/dbus/SessionBus.h"

#include <systemd/sd-bus.h>

#include <cstring>

namespace platform {

sd_bus* OpenSessionBus(const std::string& address, std::string* error) {
  sd_bus* bus = nullptr;
  int r = 0;
  if (address.empty()) {
    r = sd_bus_open_user(&bus);
  } else {
    r = sd_bus_new(&bus);
    if (r >= 0) r = sd_bus_set_address(bus, address.c_str());
    if (r >= 0) r = sd_bus_set_bus_client(bus, 1);
    if (r >= 0) r = sd_bus_start(bus);
  }
  if (r < 0) {
    if (error != nullptr) *error = std::strerror(-r);
    sd_bus_unref(bus);
    return nullptr;
  }
  return bus;
}

}  // namespace platform
