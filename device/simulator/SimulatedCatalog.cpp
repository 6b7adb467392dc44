#include "device/simulator/SimulatedCatalog.h"

#include <algorithm>

#include "platform/Text.h"

namespace {

// Every simulated model reports the sensor with the 50..24000 DPI range.
constexpr int kSimulatedSensor = 17;

}  // namespace

std::vector<SimulatedModel> PlugCatalogMice(SimulatedHid& bus, const std::vector<ModeEntry>& modes) {
  std::vector<SimulatedModel> models;
  for (const ModeEntry& entry : modes) {
    auto known = std::find_if(models.begin(), models.end(),
                              [&](const SimulatedModel& model) { return model.device_type == entry.device_type; });
    if (known != models.end()) continue;
    mouseproto::MouseState state = mouseproto::MouseState::WithSensor(kSimulatedSensor, platform::ToUtf8(entry.dev_id));
    state.identity.battery_level = 80;
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
