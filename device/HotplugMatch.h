#pragma once
// The hot-plug rules: which interface arrivals and removals lead to a rescan.

#include <functional>
#include <string>
#include <vector>

#include "device/ModeEntry.h"

struct HotplugDecision {
  int job = 0;              // 2 after a matching arrival, 3 after a matching removal, else 0
  bool matched = false;     // a catalog item's ids occur in the path
  int last_event_mode = 0;  // arrival: the item's connection mode; removal: its device type
};

// Arrival: the first catalog item whose "VID_%04X&PID_%04X" occurs in the
// upper-cased path decides; the interface must pass the probe for job 2.
// Removal, only while a device is present: the first item whose
// "VID_%04X&PID_%04X&MI_02" occurs in the path gives job 3. Logs the path.
HotplugDecision MatchDeviceChange(const std::vector<ModeEntry>& items, const std::string& path, bool arrival,
                                  bool devicePresent, const std::function<bool()>& probe);
