#pragma once
// Probes an interface that has just arrived: true when it is the mice's
// vendor protocol interface (usage page 0xFF01, usage 0x0010) and can be
// opened. Usage page and usage come from the backend's enumeration, which
// reads them from the interface's report descriptor.

#include <string>

#include "device/HidBackend.h"

bool ProbeVendorInterface(HidBackend& backend, const std::string& node);
