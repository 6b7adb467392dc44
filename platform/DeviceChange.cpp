#include "platform/DeviceChange.h"

#include <cstdio>

namespace platform {

std::string DeviceChangePath(const std::string& node, int vendorId, int productId, int interfaceNumber) {
  char ids[40];
  std::snprintf(ids, sizeof ids, "?VID_%04X&PID_%04X&MI_%02X", vendorId & 0xFFFF, productId & 0xFFFF,
                interfaceNumber & 0xFF);
  return node + ids;
}

}  // namespace platform
