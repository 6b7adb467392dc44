#pragma once
// Puts one simulated mouse per catalog model on a simulated bus, plugged in
// by every connection mode the catalog gives it: cable first, then receiver.
// The demonstration mode and the tests start from this set.

#include <vector>

#include "device/ModeEntry.h"
#include "device/simulator/SimulatedHid.h"

struct SimulatedModel {
  int device_type = 0;
  int mouse = -1;         // id on the bus
  int cable_plug = -1;    // -1 when the model has no cable mode
  int receiver_plug = -1; // -1 when the model has no receiver mode
};

// The mice are identified by the dev_id of their model's first mode, each
// model with its own sensor and highest report rate, and hold their factory
// settings; the release number is 0x0100 plus the device type,
// so each model differs.
std::vector<SimulatedModel> PlugCatalogMice(SimulatedHid& bus, const std::vector<ModeEntry>& modes);
