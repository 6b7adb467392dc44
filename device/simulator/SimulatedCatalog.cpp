#include "device/simulator/SimulatedCatalog.h"

#include <algorithm>

#include "platform/Text.h"

namespace {

// The hardware of the simulated models, by their position in the catalog
// (the last row repeats): sensor, highest report rate, battery, and the
// report rate the mouse leaves the factory with.
struct SimulatedHardware {
  int sensor_code;
  int max_rate;
  int battery;
  int report_rate;
};
constexpr SimulatedHardware kHardware[] = {
    {17, 0x00, 80, 2},    // 50..24000 DPI, 1000 Hz
    {53, 0x10, 100, 1},   // 100..16000 DPI, 2000 Hz
    {149, 0x40, 57, 64},  // 50..30000 DPI, 8000 Hz
};

}  // namespace

std::vector<SimulatedModel> PlugCatalogMice(SimulatedHid& bus, const std::vector<ModeEntry>& modes) {
  std::vector<SimulatedModel> models;
  for (const ModeEntry& entry : modes) {
    auto known = std::find_if(models.begin(), models.end(),
                              [&](const SimulatedModel& model) { return model.device_type == entry.device_type; });
    if (known != models.end()) continue;
    const SimulatedHardware& hardware = kHardware[std::min(models.size(), std::size(kHardware) - 1)];
    mouseproto::MouseState state =
        mouseproto::MouseState::WithSensor(hardware.sensor_code, platform::ToUtf8(entry.dev_id));
    state.identity.max_rate = hardware.max_rate;
    state.identity.battery_level = hardware.battery;
    state.factory.report_rate = hardware.report_rate;
    state.settings = state.factory;
    SimulatedModel model;
    model.device_type = entry.device_type;
    model.mouse = bus.AddMouse(state);
    models.push_back(model);
  }
  const auto release = [](int deviceType) { return static_cast<uint16_t>(0x0100 + (deviceType & 0xFF)); };
  for (int wanted : {0, 1}) {
    for (SimulatedModel& model : models) {
      for (const ModeEntry& entry : modes) {
        if (entry.device_type != model.device_type || entry.mode != wanted) continue;
        const auto vid = static_cast<uint16_t>(entry.vendor_id);
        const auto pid = static_cast<uint16_t>(entry.product_id);
        if (wanted == 0 && model.cable_plug < 0) {
          model.cable_plug = bus.PlugCable(model.mouse, vid, pid, release(model.device_type));
        } else if (wanted == 1 && model.receiver_plug < 0) {
          model.receiver_plug = bus.PlugReceiver(model.mouse, vid, pid, release(model.device_type));
        }
      }
    }
  }
  return models;
}
