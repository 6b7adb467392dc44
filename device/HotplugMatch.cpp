#include "device/HotplugMatch.h"

#include <cctype>
#include <cstdio>

#include "shell/Log.h"

HotplugDecision MatchDeviceChange(const std::vector<ModeEntry>& items, const std::string& path, bool arrival,
                                  bool devicePresent, const std::function<bool()>& probe) {
  std::string upper = path;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  shell::Log("UpdateUSBDevice path: %s", upper.c_str());

  HotplugDecision decision;
  if (!arrival && !devicePresent) return decision;
  for (const ModeEntry& item : items) {
    char ids[40];
    std::snprintf(ids, sizeof ids, arrival ? "VID_%04X&PID_%04X" : "VID_%04X&PID_%04X&MI_02",
                  static_cast<unsigned>(item.vendor_id), static_cast<unsigned>(item.product_id));
    if (upper.find(ids) == std::string::npos) continue;
    decision.matched = true;
    if (arrival) {
      decision.last_event_mode = item.mode;
      if (probe && probe()) decision.job = 2;
    } else {
      decision.last_event_mode = item.device_type;
      decision.job = 3;
    }
    break;
  }
  return decision;
}
