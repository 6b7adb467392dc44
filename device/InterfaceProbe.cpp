#include "device/InterfaceProbe.h"

#include <vector>

bool ProbeVendorInterface(HidBackend& backend, const std::string& node) {
  std::vector<HidInterfaceInfo> interfaces;
  if (!backend.Enumerate(interfaces)) return false;
  for (const HidInterfaceInfo& info : interfaces) {
    if (info.path != node) continue;
    if (info.usage_page != 0xFF01 || info.usage != 0x0010) return false;
    HidDevice* device = backend.Open(node);
    if (device == nullptr) return false;
    backend.Close(device);
    return true;
  }
  return false;
}
