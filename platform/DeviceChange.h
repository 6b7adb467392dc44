#pragma once
// A HID interface that arrived or went away, as the hot-plug monitor (and the
// simulated mice) report it.

#include <string>

namespace platform {

struct DeviceChangeEvent {
  bool arrival = false;
  // Identifies the interface for matching against the catalog: the device
  // node followed by "?VID_%04X&PID_%04X&MI_%02X".
  std::string path;
  // The device node, which can be opened (or probed) while it exists.
  std::string node;
};

// Builds the matching path of an interface.
std::string DeviceChangePath(const std::string& node, int vendorId, int productId, int interfaceNumber);

}  // namespace platform
